#include "sync/core/envio/OperacaoFiscal.h"

#include "store/core/Text.h"
#include "sync/core/envio/Comandos.h"

namespace qav::sync {

std::optional<OperacaoFiscal> escolherOperacaoFiscal(ContextoComunicacao& c, const Record& cliente,
                                                     const Record& tipoPedido, const QString& estado) {
    const bool consumidorFinal = cliente.integer("CONSFINAL") != 0;
    long long codigo = tipoPedido.integer(consumidorFinal ? "COD_TES_NC" : "COD_TES");
    if (codigo == 0)
        codigo = cliente.integer("COD_TES");

    OperacaoFiscal operacao;
    operacao.empresaFiscal = c.empresaCabeca;
    if (codigo != 0) {
        std::optional<Linha> tes;
        if (!envio::lerLinha(
                c,
                QStringLiteral("SELECT id_tes,usar_st_exclusiva,id_empresa FROM gestao.tes WHERE "
                               "codigo=") +
                    Conexao::inteiro(codigo) + QStringLiteral(" AND id_empresa=") +
                    Conexao::inteiro(c.empresaCabeca) + QLatin1Char(';'),
                tes))
            return std::nullopt;
        if (tes) {
            operacao.idTes = tes->inteiro(0);
            operacao.stExclusiva = tes->inteiro(1) != 0;
            if (tes->inteiro(2) != 0)
                operacao.empresaFiscal = tes->inteiro(2);
        }
    } else {
        const bool dentro = text::rtrim(estado).compare(QStringLiteral("SC"), Qt::CaseInsensitive) == 0;
        const char* campo = dentro ? (consumidorFinal ? "ID_TES_DENTRO_CF" : "ID_TES_DENTRO")
                                   : (consumidorFinal ? "ID_TES_FORA_CF" : "ID_TES_FORA");
        operacao.idTes = c.qavcfg->integer(campo);
    }
    if (operacao.idTes != 0) {
        std::optional<Linha> linha;
        if (!envio::lerLinha(c,
                             QStringLiteral("SELECT codigo FROM gestao.tes WHERE id_tes=") +
                                 Conexao::inteiro(operacao.idTes) + QLatin1Char(';'),
                             linha))
            return std::nullopt;
        if (linha)
            operacao.codigo = linha->inteiro(0);
    }
    return operacao;
}

} // namespace qav::sync
