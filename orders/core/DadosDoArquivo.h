#pragma once
// The reference rows an order is calculated against, read from the data folder: what the order form
// and the demonstration orders both price and total an order with.

#include "orders/core/DadosPedido.h"
#include "store/core/Store.h"
#include "store/core/StoreError.h"

#include <QString>
#include <vector>

namespace qav {

// The table that could not be read, and why; empty when every table was read.
struct FalhaLeitura {
    QString arquivo; // "produto.tps" and the like
    StoreError erro;
    bool ok() const { return arquivo.isEmpty(); }
};

// Reads into `dados` (cleared first) the rows order `pedido` is calculated against: its customer and
// the customer's municipality, representative `codVendedor` of the order's company, the company and
// its qavcfg row, the order's payment form and price list, the tax-substitution rules, the system
// options, the freight costs, and the products `produtos` of its items (of the order's company) with
// their rows in the order's price list. A row that is missing counts as a row of zeros, as it does
// for the order rules. A table that cannot be read is reported (the first one).
FalhaLeitura carregarDadosDoArquivo(Store& store, const Pedido& pedido, int codVendedor,
                                    const std::vector<int>& produtos, DadosPedido& dados);

} // namespace qav
