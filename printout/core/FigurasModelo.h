#pragma once
// The values some models compute for printing only; none is written back to the tables.

#include "printout/core/DocumentoPedido.h"
#include "printout/core/ModelosPedido.h"

#include <QString>

namespace qav::impressao {

// The model without IPI shows the order's total less its IPI.
Decimal totalSemIpi(const DocumentoPedido& documento);

// Total volumes of the items: quantity x the product's volumes per unit, as a whole number.
Decimal volumesTotais(const DocumentoPedido& documento);

// Sum of the item quantities ("Quantidade Total").
Decimal quantidadeTotal(const DocumentoPedido& documento);

// Who pays the freight, as the model names it; empty for a value the model does not name.
QString textoFrete(Modelo modelo, int fconta);

// The landscape model shows prices without the IPI that some items carry inside their price.
struct LinhaPaisagem {
    Decimal precoUnitario; // four places
    Decimal liquido;       // net total, two places
    Decimal precoFinal;    // (net + IPI + ICMS-ST) / quantity, four places
};
LinhaPaisagem linhaPaisagem(const ItemImpresso& item);

struct TotaisPaisagem {
    Decimal produtos; // items' totals before discount, without IPI carried inside prices
    Decimal desconto;
    Decimal ipi; // the IPI carried inside prices when there is any, else the order's IPI
};
TotaisPaisagem totaisPaisagem(const DocumentoPedido& documento);

} // namespace qav::impressao
