#pragma once
// Reading reference rows for the order forms: one row by its key values, or every row of a table,
// straight into the rule structs. A row that is not there is not a failure.

#include "orders/core/CamposPedido.h"
#include "store/core/Table.h"

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace qav::leitura {

using Valores = std::initializer_list<std::pair<const char*, std::int64_t>>;

// Looks the row up by `chave` with the given field values. Ok (row in `into`), NotFound (`into`
// untouched) or Error (see tabela.error()).
inline Status registro(Table& tabela, const char* chave, Valores valores) {
    tabela.clearFilter();
    tabela.clear();
    for (const auto& [campo, valor] : valores)
        tabela.rec().setInteger(campo, valor);
    return tabela.get(chave);
}

template <typename S> Status linha(Table& tabela, const char* chave, Valores valores, S& into) {
    const Status status = registro(tabela, chave, valores);
    if (status == Status::Ok)
        lerRegistro(tabela.rec(), into);
    return status;
}

// Every row of the table in the order of `chave`. Ok or Error.
template <typename S> Status todas(Table& tabela, const char* chave, std::vector<S>& into) {
    tabela.clearFilter();
    if (tabela.seekFirst(chave) == Status::Error)
        return Status::Error;
    Status status = Status::Ok;
    while ((status = tabela.next()) == Status::Ok) {
        S linha;
        lerRegistro(tabela.rec(), linha);
        into.push_back(linha);
    }
    return status == Status::Error ? Status::Error : Status::Ok;
}

} // namespace qav::leitura
