// The municipality step of the manager database's update: every local municipality goes to the
// office under its local id, with its IBGE code.
#include "store/core/Table.h"
#include "sync/core/gerente/Gravacao.h"
#include "sync/core/gerente/Integracao.h"

#include <QStringList>
#include <set>

namespace qav::sync {

namespace {

QString codigoOuNulo(long long codigo) {
    return codigo == 0 ? QStringLiteral("Null") : Conexao::inteiro(codigo);
}

ValoresColunas valoresMunicipio(const ContextoIntegracao& c, const Record& m) {
    return {{QStringLiteral("nome"), literalDoCampo(c, m, "NOME")},
            {QStringLiteral("estado"), literalDoCampo(c, m, "ESTADO")},
            {QStringLiteral("codigo_ibge"), codigoOuNulo(m.integer("COD_RAIS"))},
            {QStringLiteral("codigo_federal"), codigoOuNulo(m.integer("CODIGO"))}};
}

// One municipality on the office under its local id, each statement on its own; false when the office
// refused it (said why).
bool gravarMunicipio(const ContextoIntegracao& c, const Record& m) {
    const long long id = m.integer("ID");
    ValoresColunas valores = valoresMunicipio(c, m);
    ErroSql erro;
    const auto existe =
        existeNoGerente(c, QStringLiteral("gestao.municipio"), QStringLiteral("id_municipio"), id, erro);
    // A new municipality is dated today; a changed one keeps the date the office gave it.
    if (existe && !*existe)
        valores.push_back({QStringLiteral("dt_atual"), Conexao::data(c.hoje)});
    bool novo = false;
    if (!existe ||
        !gravarNoGerente(c, QStringLiteral("gestao.municipio"), QStringLiteral("id_municipio"),
                         QStringLiteral("gestao.municipio_id_municipio_seq"), id, valores, novo, erro)) {
        c.erroGravacao(erro, "municipio", novo, id,
                       QStringLiteral("|Código IBGE: ") + QString::number(m.integer("COD_RAIS")));
        return false;
    }
    return true;
}

// The municipalities of a batch under their local ids; a new one dated today, a changed one keeping
// its date.
QString comandoMunicipios(const ContextoIntegracao& c, const std::vector<Record>& lote) {
    const LinhasLote l = linhasLote(c, QStringLiteral("id_municipio"), lote, valoresMunicipio);
    return comandoLote(QStringLiteral("gestao.municipio"), l.colunas, l.linhas,
                       QStringLiteral("id_municipio"), l.atualizadas);
}

} // namespace

bool atualizarMunicipiosGerente(ContextoIntegracao& c) {
    c.registrar(QStringLiteral("Atualizando Municípios..."));
    Table municipios(c.store, "municip");
    if (!municipios.open()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir municip.tps!").arg(municipios.error().number()));
        return false;
    }
    long long contagem = 0;
    EtapaGerente etapa(c);
    ErroSql erro;
    bool reportado = false;
    bool ok = etapa.iniciar(erro);
    std::vector<Record> lote;
    const auto enviarLote = [&] {
        if (lote.empty())
            return true;
        QStringList ids;
        for (const Record& m : lote)
            ids << Conexao::inteiro(m.integer("ID"));
        const auto existentes = c.conexao.consultar(
            QStringLiteral("SELECT id_municipio FROM gestao.municipio WHERE id_municipio IN (") +
                ids.join(QStringLiteral(", ")) + QStringLiteral(");"),
            &erro);
        if (!existentes)
            return false;
        std::set<long long> jaNoGerente;
        for (const Linha& l : *existentes)
            jaNoGerente.insert(l.inteiro(0));
        long long ultimoNovo = 0;
        for (const Record& m : lote)
            if (!jaNoGerente.contains(m.integer("ID")))
                ultimoNovo = m.integer("ID");
        QString comando = comandoMunicipios(c, lote);
        // The id sequence stands where adding the new ones one after the other would have left it.
        if (ultimoNovo != 0)
            comando += QStringLiteral(" SELECT setval('gestao.municipio_id_municipio_seq',") +
                       Conexao::inteiro(ultimoNovo) + QStringLiteral(", true);");
        const bool enviado = etapa.enviar(
            comando,
            [&] {
                for (const Record& m : lote)
                    if (!gravarMunicipio(c, m))
                        return false;
                return true;
            },
            erro, reportado);
        if (!enviado && !reportado) {
            c.erroGravacao(erro, "municipio", false, lote.front().integer("ID"),
                           QStringLiteral("|Código IBGE: ") +
                               QString::number(lote.front().integer("COD_RAIS")));
            reportado = true;
        }
        contagem += static_cast<long long>(lote.size());
        lote.clear();
        return enviado;
    };
    Status s = ok ? primeiro(municipios, "KEYID") : Status::EndOfFile;
    for (; ok && s == Status::Ok; s = municipios.next()) {
        const Record& m = municipios.rec();
        c.linhaProgresso(QStringLiteral("Atualizando Município: ") + QString::number(m.integer("ID")) +
                         QLatin1Char(' ') + m.text("NOME").trimmed());
        lote.push_back(m);
        if (lote.size() >= static_cast<size_t>(kLinhasPorLote))
            ok = enviarLote();
    }
    if (ok)
        ok = enviarLote() && etapa.concluir(erro);
    if (!ok && !reportado)
        c.erroSql(erro);
    if (!ok)
        return false;
    c.registrar(QStringLiteral("Atualizados ") + QString::number(contagem) +
                QStringLiteral(" Municípios..."));
    return true;
}

} // namespace qav::sync
