#pragma once
// Repricing of the items when the payment form's surcharge changes: item prices contain the surcharge
// of the payment form they were priced with.

#include "orders/core/DadosPedido.h"
#include "orders/core/Mensagens.h"

#include <vector>

namespace qav {

// Takes `acrescimoAnterior` % out of every unit price and product value and puts the order's payment
// form's surcharge in, then recomputes the item totals and discounts. Does nothing when the payment
// form is missing or its surcharge equals the previous one. Returns the surcharge the prices now
// contain (the new "previous surcharge").
Decimal reprecificarFormaPag(std::vector<PedidoItem>& itens, const DadosPedido& dados,
                             const Decimal& acrescimoAnterior, Mensagens& mensagens);

} // namespace qav
