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

LinhasLote
linhasLote(const ContextoIntegracao& c, const QString& colunaId, const std::vector<Record>& lote,
           const std::function<ValoresColunas(const ContextoIntegracao&, const Record&)>& valores) {
    LinhasLote l;
    l.colunas << colunaId;
    for (const ValorColuna& v : valores(c, lote.front())) {
        l.colunas << v.coluna;
        l.atualizadas << v.coluna;
    }
    l.colunas << QStringLiteral("dt_atual");
    for (const Record& r : lote) {
        QStringList literais{Conexao::inteiro(r.integer("ID"))};
        for (const ValorColuna& v : valores(c, r))
            literais << v.literal;
        literais << Conexao::data(c.hoje);
        l.linhas << QLatin1Char('(') + literais.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return l;
}

QString comandoLote(const QString& tabela, const QStringList& colunas, const QStringList& linhas,
                    const QString& chave, const QStringList& atualizadas,
                    const std::vector<std::pair<QString, QString>>& extras) {
    QStringList atribuicoes;
    for (const QString& coluna : atualizadas)
        atribuicoes << coluna + QStringLiteral("=EXCLUDED.") + coluna;
    for (const auto& [coluna, expressao] : extras)
        atribuicoes << coluna + QLatin1Char('=') + expressao;
    return QStringLiteral("INSERT INTO ") + tabela + QLatin1Char('(') + colunas.join(QStringLiteral(", ")) +
           QStringLiteral(") VALUES ") + linhas.join(QLatin1Char(',')) + QStringLiteral(" ON CONFLICT (") +
           chave + QStringLiteral(") DO UPDATE SET ") + atribuicoes.join(QStringLiteral(", ")) +
           QLatin1Char(';');
}

namespace {
// The mark each batch that went leaves behind, for the next refused one to go back to.
const QString kMarca = QStringLiteral("SAVEPOINT lote;");
} // namespace

EtapaGerente::~EtapaGerente() {
    if (m_aberta && m_c.conexao.emTransacao())
        m_c.conexao.executar(QStringLiteral("rollback;"));
}

bool EtapaGerente::iniciar(ErroSql& erro) {
    if (!m_c.conexao.executar(QStringLiteral("begin;"), &erro))
        return false;
    m_aberta = true;
    return m_c.conexao.executar(kMarca, &erro);
}

bool EtapaGerente::enviar(const QString& comando, const std::function<bool()>& umaAUma, ErroSql& erro,
                          bool& reportada) {
    reportada = false;
    // The batch and the new mark go in one round trip.
    if (m_c.conexao.executar(comando + QLatin1Char(' ') + kMarca, &erro))
        return true;
    if (!m_c.conexao.conectada() || m_c.conexao.falha() != Conexao::Falha::Nenhuma ||
        !m_c.conexao.executar(QStringLiteral("ROLLBACK TO SAVEPOINT lote;"), &erro))
        return false;
    if (!umaAUma()) {
        reportada = true;
        return false;
    }
    return m_c.conexao.executar(kMarca, &erro);
}

bool EtapaGerente::concluir(ErroSql& erro) {
    m_aberta = false;
    return m_c.conexao.confirmar(QStringLiteral("commit;"), erro);
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
