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

// The freight is part of the order's total only when the customer pays it (FCONTA 2).
bool freteNoTotal(const DocumentoPedido& documento);

// The IPI of the items whose price carries it: part of the products' total, not of the order's IPI.
Decimal ipiDentroDosPrecos(const DocumentoPedido& documento);

// The order discount is shared among the items, each share stored rounded on its own, so the stored
// shares may miss the order's discount by a cent or so. In print the last item takes that remainder
// and the printed discounts add up to the discount the total was computed with. Zero when the
// difference is more than rounding (shares not taken from this discount): nothing is made up then.
Decimal restoDescontoImpresso(const DocumentoPedido& documento);

// The landscape model shows prices without the IPI that some items carry inside their price.
struct LinhaPaisagem {
    Decimal precoUnitario; // four places
    Decimal desconto;      // the item's discount with its share of the order's, two places
    Decimal liquido;       // net total, two places
    Decimal precoFinal;    // (net + IPI + ICMS-ST) / quantity, four places
};
// `resto`: the remainder of the order discount this item takes in print (see above).
LinhaPaisagem linhaPaisagem(const ItemImpresso& item, const Decimal& resto = Decimal());

struct TotaisPaisagem {
    Decimal produtos; // items' totals before discount, without IPI carried inside prices
    Decimal desconto; // the items' own discounts and the order's discount
    Decimal ipi;      // the order's IPI and the IPI carried inside prices
};
TotaisPaisagem totaisPaisagem(const DocumentoPedido& documento);

} // namespace qav::impressao
