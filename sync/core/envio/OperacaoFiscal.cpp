#include "sync/core/envio/OperacaoFiscal.h"

#include "store/core/Text.h"

namespace qav::sync {

EscolhaOperacaoFiscal::EscolhaOperacaoFiscal(const ContextoComunicacao& c, const Record& cliente,
                                             const Record& tipoPedido, const QString& estado) {
    const bool consumidorFinal = cliente.integer("CONSFINAL") != 0;
    long long codigo = tipoPedido.integer(consumidorFinal ? "COD_TES_NC" : "COD_TES");
    if (codigo == 0)
        codigo = cliente.integer("COD_TES");
    m_operacao.empresaFiscal = c.empresaCabeca;
    if (codigo != 0) {
        m_porCodigo = true;
        m_pergunta =
            QStringLiteral("SELECT id_tes,usar_st_exclusiva,id_empresa FROM gestao.tes WHERE codigo=") +
            Conexao::inteiro(codigo) + QStringLiteral(" AND id_empresa=") +
            Conexao::inteiro(c.empresaCabeca) + QLatin1Char(';');
        return;
    }
    const bool dentro = text::rtrim(estado).compare(QStringLiteral("SC"), Qt::CaseInsensitive) == 0;
    const char* campo = dentro ? (consumidorFinal ? "ID_TES_DENTRO_CF" : "ID_TES_DENTRO")
                               : (consumidorFinal ? "ID_TES_FORA_CF" : "ID_TES_FORA");
    m_operacao.idTes = c.qavcfg->integer(campo);
    m_pergunta = perguntaCodigo();
}

QString EscolhaOperacaoFiscal::perguntaCodigo() const {
    if (m_operacao.idTes == 0)
        return {};
    return QStringLiteral("SELECT codigo FROM gestao.tes WHERE id_tes=") +
           Conexao::inteiro(m_operacao.idTes) + QLatin1Char(';');
}

void EscolhaOperacaoFiscal::responder(const std::optional<Linha>& linha) {
    if (m_porCodigo) {
        m_porCodigo = false;
        if (linha) {
            m_operacao.idTes = linha->inteiro(0);
            m_operacao.stExclusiva = linha->inteiro(1) != 0;
            if (linha->inteiro(2) != 0)
                m_operacao.empresaFiscal = linha->inteiro(2);
        }
        m_pergunta = perguntaCodigo();
        return;
    }
    if (linha)
        m_operacao.codigo = linha->inteiro(0);
    m_pergunta.clear();
}

} // namespace qav::sync
