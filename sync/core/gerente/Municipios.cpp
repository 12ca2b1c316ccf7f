// The municipality step of the manager database's update: every local municipality goes to the
// office under its local id, with its IBGE code.
#include "store/core/Table.h"
#include "sync/core/gerente/Gravacao.h"
#include "sync/core/gerente/Integracao.h"

namespace qav::sync {

namespace {
QString codigoOuNulo(long long codigo) {
    return codigo == 0 ? QStringLiteral("Null") : Conexao::inteiro(codigo);
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
    for (Status s = primeiro(municipios, "KEYID"); s == Status::Ok; s = municipios.next()) {
        const Record& m = municipios.rec();
        const long long id = m.integer("ID");
        const QString nome = m.text("NOME").trimmed();
        c.linhaProgresso(QStringLiteral("Atualizando Município: ") + QString::number(id) + QLatin1Char(' ') +
                         nome);
        ValoresColunas valores{{QStringLiteral("nome"), literalDoCampo(c, m, "NOME")},
                               {QStringLiteral("estado"), literalDoCampo(c, m, "ESTADO")},
                               {QStringLiteral("codigo_ibge"), codigoOuNulo(m.integer("COD_RAIS"))},
                               {QStringLiteral("codigo_federal"), codigoOuNulo(m.integer("CODIGO"))}};
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
        ++contagem;
    }
    c.registrar(QStringLiteral("Atualizados ") + QString::number(contagem) +
                QStringLiteral(" Municípios..."));
    return true;
}

} // namespace qav::sync
