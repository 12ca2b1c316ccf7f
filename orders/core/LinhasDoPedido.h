#pragma once
// Reading an order's rows for the work that handles the whole order at once (delete, duplicate):
// its items in item order, the accessory rows of an item, and the highest id or number in use.

#include "store/core/Table.h"

#include <vector>

namespace qav::linhas {

// The items of order `idVenda` in item-id order (key KEYORDEM). Ok, or Error (see itens.error()).
Status itensDoPedido(Table& itens, int idVenda, std::vector<Record>& into);
// The accessory rows of item `idVendasi` (key KEYID_VENDASI).
Status acessoriosDoItem(Table& acessorios, int idVendasi, std::vector<Record>& into);
// The highest value of the first field of `key` over the whole table (every company), 0 when the
// table has none.
Status maiorValor(Table& table, std::string_view key, int& into);

} // namespace qav::linhas
