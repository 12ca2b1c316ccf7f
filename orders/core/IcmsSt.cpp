#include "orders/core/IcmsSt.h"

#include "store/core/Text.h"

#include "orders/core/Aritmetica.h"
#include "orders/core/CamposPedido.h"

namespace qav {

namespace {
bool indicadorContribuinte(const Cliente& cliente) {
    return cliente.INDICADOR_IE == 1 || cliente.INDICADOR_IE == 2;
}
} // namespace

int contribuinteIcmsPedido(const Cliente& cliente) {
    if (cliente.PESSO == 2)
        return 2;
    return cliente.CONSFINAL != 0 ? 0 : 1;
}

int contribuinteIcmsItem(const Cliente& cliente) {
    if (cliente.PESSO == 2)
        return indicadorContribuinte(cliente) ? 4 : 2;
    if (cliente.CONSFINAL != 0 && indicadorContribuinte(cliente))
        return 3;
    return indicadorContribuinte(cliente) ? 1 : 0;
}

const StIcms& regraIcmsSt(const DadosPedido& dados, int idEmpresa, const Produto& produto, int contribuinte) {
    return dados.stIcmsPara(idEmpresa, produto.COD_ST, dados.ufCliente(), dados.cliente.ST_ESPECIFICA,
                            contribuinte);
}

Decimal calcularIcmsSt(const StIcms& regra, const PautaProduto* linhaPauta, const BaseIcmsSt& base,
                       Mensagens& mensagens) {
    if (regra.ALIQ_ICMSST.isZero())
        return Decimal();
    const Decimal icmsProprio = percentual(percentual(base.VL_LIQUIDO, regra.PERC_BC_ICMS), regra.ALIQ_ICMS);

    if (text::rtrim(regra.MODAL_BC_ICMSST) == QStringLiteral("5")) {
        if (linhaPauta == nullptr || linhaPauta->VALOR_PAUTA_ICMS_ST <= Decimal()) {
            mensagens.push_back({QStringLiteral("Aviso"), mensagem::pautaIcmsStIndefinida(base.idProduto)});
            return Decimal();
        }
        const Decimal baseSt = (base.QTD * linhaPauta->VALOR_PAUTA_ICMS_ST).rounded(2);
        return guardar<&PedidoItem::VL_ICMSST>(percentual(baseSt, regra.ALIQ_ICMSST) - icmsProprio);
    }

    if (regra.PERC_MARG_VL_ICMSST.isZero())
        return Decimal();
    Decimal baseSt = (base.VL_LIQUIDO * base.fator + base.VL_IPI).rounded(2);
    baseSt = (baseSt + percentual(baseSt, regra.PERC_MARG_VL_ICMSST)).rounded(2);
    baseSt = (baseSt - percentual(baseSt, regra.PERC_RED_BC_ICMSST)).rounded(2);
    return guardar<&PedidoItem::VL_ICMSST>(percentual(baseSt, regra.ALIQ_ICMSST) - icmsProprio * base.fator);
}

} // namespace qav
