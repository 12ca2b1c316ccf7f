#include "sync/core/gerente/Gravacao.h"

#include "store/core/Text.h"

namespace qav::sync {

std::optional<bool> existeNoGerente(const ContextoIntegracao& c, const QString& tabela,
                                    const QString& colunaId, long long id, ErroSql& erro) {
    const auto linhas = c.conexao.consultar(QStringLiteral("SELECT ") + colunaId + QStringLiteral(" FROM ") +
                                                tabela + QStringLiteral(" WHERE ") + colunaId +
                                                QLatin1Char('=') + Conexao::inteiro(id) + QLatin1Char(';'),
                                            &erro);
    if (!linhas)
        return std::nullopt;
    return !linhas->empty();
}

bool gravarNoGerente(const ContextoIntegracao& c, const QString& tabela, const QString& colunaId,
                     const QString& sequencia, long long id, const ValoresColunas& valores, bool& novo,
                     ErroSql& erro) {
    novo = false;
    const auto existe = existeNoGerente(c, tabela, colunaId, id, erro);
    if (!existe)
        return false;
    novo = !*existe;
    const QString condicao = colunaId + QLatin1Char('=') + Conexao::inteiro(id);
    if (!novo)
        return c.conexao.executar(comandoAlteracao(tabela, valores, condicao), &erro);
    ValoresColunas comId = valores;
    if (sequencia.isEmpty()) {
        comId.insert(comId.begin(), {colunaId, Conexao::inteiro(id)});
    } else if (!c.conexao.executar(QStringLiteral("SELECT setval('") + sequencia + QStringLiteral("',") +
                                       Conexao::inteiro(id) + QStringLiteral(", false);"),
                                   &erro)) {
        return false;
    }
    return c.conexao.executar(comandoInsercao(tabela, comId), &erro);
}

QString literalDoCampo(const ContextoIntegracao& c, const Record& r, const char* campo) {
    const int indice = r.field(campo);
    const FieldDef& def = r.def().fields[static_cast<size_t>(indice)];
    switch (def.type) {
    case FieldType::Int32:
    case FieldType::Int16:
    case FieldType::UInt8:
        return Conexao::inteiro(r.integer(indice));
    case FieldType::Real64:
        return Conexao::numero(Decimal::fromDouble(r.real(indice), 4));
    case FieldType::Decimal:
        return Conexao::numero(r.decimal(indice));
    case FieldType::Date:
        return Conexao::data(r.date(indice));
    case FieldType::Text:
    case FieldType::ZText:
    case FieldType::Memo:
        return c.conexao.texto(text::rtrim(r.text(indice)));
    }
    return QStringLiteral("Null");
}

} // namespace qav::sync
