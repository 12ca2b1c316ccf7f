#pragma once
// ICMS tax substitution of one item, by price-list value (modality "5") or by margin (MVA).

#include "orders/core/DadosPedido.h"
#include "orders/core/Mensagens.h"

namespace qav {

// Customer type of the tax-substitution row in the order recalculation: 2 for a legal person
// (PESSO 2), else 0 for a final consumer, else 1.
int contribuinteIcmsPedido(const Cliente& cliente);
// Customer type in the item form, which also looks at the state-registration indicator:
// legal person with indicator 1 or 2 -> 4; legal person -> 2; final consumer with indicator 1 or 2
// -> 3; indicator 1 or 2 -> 1; otherwise 0.
int contribuinteIcmsItem(const Cliente& cliente);

// The row of the order's company for the product's tax code, the customer's state, its specific
// situation and the customer type (zeros when missing).
const StIcms& regraIcmsSt(const DadosPedido& dados, int idEmpresa, const Produto& produto, int contribuinte);

struct BaseIcmsSt {
    Decimal QTD;
    Decimal VL_LIQUIDO;
    Decimal VL_IPI;
    Decimal fator; // tax-base factor of the order; 1 in the item form
    int idProduto = 0;
};

// VL_ICMSST of the item as stored. The price-list method needs the product's VALOR_PAUTA_ICMS_ST in
// the order's price list; without it the message is raised and the value is 0.
Decimal calcularIcmsSt(const StIcms& regra, const PautaProduto* linhaPauta, const BaseIcmsSt& base,
                       Mensagens& mensagens);

} // namespace qav
