#pragma once
// The demonstration orders are entered as a representative would enter them: each item priced by the
// item form's rules and the whole order recalculated by the order rules, against the reference rows
// of the folder. Their stored totals are therefore the ones the order form shows when it opens them.

#include "orders/core/DadosPedido.h"
#include "orders/core/Recalculo.h"
#include "store/core/Store.h"

#include <QString>
#include <vector>

namespace qav::demo {

// The reference rows `pedido` is calculated against, read from the folder as the order form reads
// them (carregarDadosDoArquivo), for the products of `itens`, with the representative of the
// workstation (its company's qavcfg row): every demonstration order is entered there. False, with
// `erro`, when a table cannot be read.
bool carregarDados(Store& store, const Pedido& pedido, const std::vector<PedidoItem>& itens,
                   DadosPedido& dados, QString& erro);

// Items that carry only product, quantity and discount % are priced as the item form prices a product
// just chosen (price of the order's price list, payment-form surcharge, item discount, commission
// share); then the order is recalculated.
ResultadoRecalculo montarPedido(Pedido& pedido, std::vector<PedidoItem>& itens, const DadosPedido& dados);

} // namespace qav::demo
