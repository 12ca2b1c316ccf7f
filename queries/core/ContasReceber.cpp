#include "queries/core/ContasReceber.h"

#include "store/core/Table.h"
#include "store/core/Text.h"

namespace qav::ctr {

namespace {
const Decimal kPaga = *Decimal::parse("0.01");
const Decimal kAberta = *Decimal::parse("0.09");
const Decimal kAtrasoVisivel = Decimal(1);

// The same limits as naSituacao(), for the store to apply while it reads.
std::string condicaoSituacao(Situacao situacao) {
    switch (situacao) {
    case Situacao::Pagas:
        return "SALDO < '0.01'";
    case Situacao::EmAberto:
        return "SALDO > '0.09'";
    case Situacao::Todas:
        break;
    }
    return {};
}
} // namespace

std::optional<Situacao> situacaoDoCodigo(int codigo) {
    if (codigo < 1 || codigo > 3)
        return std::nullopt;
    return static_cast<Situacao>(codigo);
}

bool naSituacao(Situacao situacao, const Decimal& saldo) {
    switch (situacao) {
    case Situacao::Pagas:
        return saldo < kPaga;
    case Situacao::EmAberto:
        return saldo > kAberta;
    case Situacao::Todas:
        return true;
    }
    return true;
}

int dias(Date vencimento, Date recebimento, Date hoje) {
    if (vencimento.isNull())
        return 0;
    return (recebimento.isNull() ? hoje : recebimento) - vencimento;
}

bool vencimentoAtrasado(Date vencimento, const Decimal& saldo, Date hoje) {
    return !vencimento.isNull() && vencimento < hoje && saldo > kAtrasoVisivel;
}

Totais totalizar(const std::vector<Titulo>& titulos) {
    Totais t;
    for (const Titulo& titulo : titulos) {
        t.valor += titulo.valor;
        t.juros += titulo.juros;
        t.recebido += titulo.recebido;
        t.saldo += titulo.saldo;
        t.comissao += (titulo.baseComissao * titulo.comissao / Decimal(100)).rounded(2);
    }
    return t;
}

Leitura lerTitulos(Store& store, const Consulta& consulta) {
    Leitura leitura;
    Table ctr(store, "ctr.tps");
    if (!ctr.open()) {
        leitura.ok = false;
        leitura.erro = ctr.error();
        return leitura;
    }
    std::string condicao = "ID_EMPRESA = ?";
    std::vector<QVariant> parametros{consulta.idEmpresa};
    if (consulta.devedor != 0) {
        condicao += " AND DEVED = ?";
        parametros.emplace_back(static_cast<qlonglong>(consulta.devedor));
    }
    if (const std::string s = condicaoSituacao(consulta.situacao); !s.empty())
        condicao += " AND " + s;
    if (consulta.vencimentoDe.isValid()) {
        condicao += " AND VECTO >= ?";
        parametros.emplace_back(consulta.vencimentoDe.dayNumber());
    }
    if (consulta.vencimentoAte.isValid()) {
        condicao += " AND VECTO <= ?";
        parametros.emplace_back(consulta.vencimentoAte.dayNumber());
    }
    ctr.setFilter(condicao, parametros);
    Status status = ctr.seekFirst("KEYDEVED");
    while (status == Status::Ok && (status = ctr.next()) == Status::Ok) {
        const Record& r = ctr.rec();
        Titulo t;
        t.numero = text::rtrim(r.text("NUMER"));
        t.documento = text::rtrim(r.text("DOCTO"));
        t.devedor = r.integer("DEVED");
        t.idEmpresa = static_cast<int>(r.integer("ID_EMPRESA"));
        t.emissao = r.date("EMISS");
        t.vencimento = r.date("VECTO");
        t.valor = r.decimal("VALOR");
        t.juros = r.decimal("JUROS");
        t.recebimento = r.date("DATA_RECBTO");
        t.recebido = r.decimal("RECBT");
        t.saldo = r.decimal("SALDO");
        t.baseComissao = r.decimal("BCOMIS");
        t.comissao = r.decimal("COMIS");
        t.portador = text::rtrim(r.text("PORTADOR"));
        t.carteira = text::rtrim(r.text("CARTEIRA"));
        t.dias = dias(t.vencimento, t.recebimento, consulta.hoje);
        t.vencimentoVencido = vencimentoAtrasado(t.vencimento, t.saldo, consulta.hoje);
        t.posicao = r.rowId();
        leitura.titulos.push_back(std::move(t));
    }
    if (status == Status::Error) {
        leitura.ok = false;
        leitura.erro = ctr.error();
    }
    ctr.close();
    return leitura;
}

} // namespace qav::ctr
