#pragma once
// The commission of an item as the ERP stores it: the rate the workstation priced, scaled on the
// server by the commission band that the item's price reached against the list price.

#include "store/core/Record.h"
#include "sync/core/conexao/Conexao.h"

#include <optional>

namespace qav::sync {

// The SQL expression written into the item's commission. `pauxpro` is the item's price in the
// order's price list (nullopt when it has none); `pauta` the order's price list and `vendedor` the
// order's salesperson (blank records when absent); the bands are those of `empresaCabeca`.
QString expressaoComissao(const Conexao& conexao, const Record& item, const std::optional<Record>& pauxpro,
                          const Record& pauta, const Record& vendedor, int empresaCabeca);

} // namespace qav::sync
