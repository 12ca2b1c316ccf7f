#include "sync/core/download/Receber.h"

#include "store/core/Table.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <utility>
#include <vector>

namespace qav::sync {

namespace {

// The local fields in the order of the statement's columns after the title number.
const char* const kCampos[] = {"DOCTO",         "DEVED",       "EMISS",    "VECTO",   "VALOR", "JUROS",
                               "DESP_COBRANCA", "DATA_RECBTO", "RECBT",    "DESCO",   "SALDO", "JUDIA",
                               "BCOMIS",        "COMIS",       "PORTADOR", "CARTEIRA"};

QString erroGravacao(const Table& t, const char* oQue) {
    return QStringLiteral("Erro (") + QString::number(t.error().number()) + QLatin1String(oQue);
}

// The open titles (no receipt date) of every company of the folder go; a title that cannot be deleted
// is shown and the pass goes on.
bool excluirAbertos(ContextoComunicacao& c, Table& ctr) {
    std::vector<std::pair<QString, long long>> abertos;
    ctr.clearFilter();
    Status s = ctr.seekPhysical();
    while (s == Status::Ok && (s = ctr.next()) == Status::Ok)
        if (ctr.rec().date("DATA_RECBTO").isNull())
            abertos.emplace_back(ctr.rec().text("NUMER"), ctr.rec().integer("ID_EMPRESA"));
    if (s == Status::Error) {
        c.erro(erroGravacao(ctr, ") ao excluir contas a receber!"));
        return false;
    }
    for (const auto& [numero, empresa] : abertos) {
        c.linhaProgresso(QStringLiteral("Atualizando CTR # ") + numero);
        ctr.clear();
        ctr.rec().setText("NUMER", numero);
        ctr.rec().setInteger("ID_EMPRESA", empresa);
        if (ctr.get("KEYNUMERO") != Status::Ok || ctr.remove() != Status::Ok)
            c.erro(erroGravacao(ctr, ") ao excluir contas a receber!"));
    }
    return true;
}

bool baixar(ContextoComunicacao& c, const QString& comando) {
    Table ctr(c.store, "ctr");
    PassoDownload passo(c, QStringLiteral(" Contas a Receber..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Contas a Receber..."), {&ctr}))
        return false;
    if (!excluirAbertos(c, ctr))
        return false;
    const bool ok = passo.percorrer(
        comando,
        [&](const Linha& l) {
            const QString numero = l.texto(0);
            passo.progresso([&] { return QStringLiteral("Atualizando CTR # ") + numero; });
            ctr.clearFilter();
            ctr.clear();
            ctr.rec().setText("NUMER", numero);
            ctr.rec().setInteger("ID_EMPRESA", c.idEmpresa);
            const Status achou = ctr.get("KEYNUMERO");
            if (achou == Status::Error) {
                c.erro(erroGravacao(ctr, ") ao gravar CTR!"));
                return false;
            }
            if (achou != Status::Ok) {
                ctr.clear();
                ctr.rec().setText("NUMER", numero);
                ctr.rec().setInteger("ID_EMPRESA", c.idEmpresa);
            }
            for (size_t i = 0; i < std::size(kCampos); ++i)
                atribuirOuRegistrar(c, ctr.rec(), kCampos[i], l.texto(i + 1),
                                    QStringLiteral("CTR # ") + numero);
            if ((achou == Status::Ok ? ctr.put() : ctr.add()) != Status::Ok) {
                c.erro(erroGravacao(ctr, ") ao gravar CTR!"));
                return false;
            }
            passo.contar();
            return true;
        },
        PassoDownload::ErroComando::ComComando);
    return ok && passo.concluir();
}

} // namespace

bool baixarReceberZor(ContextoComunicacao& c) {
    if (!passoRoda(c, "zor"))
        return true;
    const Date desde = c.tipo == TipoComunicacao::Parcial ? c.corte : inicioHistorico(c);
    return baixar(
        c, QStringLiteral("SELECT numero,docto,deved,emiss,vecto,valor,juros,desp_cobranca,data_baixa,"
                          "recbt,desco,saldo,judia,bcomis,comis,porta,id_tpcobr   FROM zor.ctr A   "
                          "WHERE a.id_empresa=") +
               Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND a.cod_vendedor=") +
               Conexao::inteiro(representante(c)) + QStringLiteral(" AND (a.situacao='A' OR data_baixa>=") +
               Conexao::data(desde) + QStringLiteral(") ORDER BY a.numero,a.vecto;"));
}

bool baixarReceberGerente(ContextoComunicacao& c) {
    if (!passoRoda(c, "gerente"))
        return true;
    QString comando =
        QStringLiteral("SELECT numero,docto,deved,emiss,vecto,valor,juros,despcart,dt_baixa,recbt,desco,"
                       "saldo,judia,base_comissao,taxa_comissao,porta,cod_carteira   FROM gerente.ctr A   "
                       "WHERE a.id_empresa=") +
        Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND a.cod_vendedor=") +
        Conexao::inteiro(representante(c));
    if (c.tipo == TipoComunicacao::Parcial)
        comando +=
            QStringLiteral(" AND (a.situacao='A' OR dt_baixa>=") + Conexao::data(c.corte) + QLatin1Char(')');
    return baixar(c, comando + QStringLiteral(" ORDER BY a.numero,a.vecto;"));
}

} // namespace qav::sync
