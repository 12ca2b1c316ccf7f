#pragma once
// Writing records straight into a data folder's tables, for the tests that lay out the rows a window
// or a run will meet. A failure fails the running test at the caller's line, with the table's own
// error text (outside a running test, as in a benchmark, it stops the program with that text).

#include "store/core/Record.h"
#include "store/core/Store.h"

#include <functional>
#include <source_location>
#include <string>

namespace qav::test {

using Preencher = std::function<void(Record&)>;

// Adds to `tabela` a record blank but for what `preencher` puts in it. False (and the test failed)
// when the table does not open or refuses the record.
bool adicionar(Store& store, const char* tabela, const Preencher& preencher,
               std::source_location onde = std::source_location::current());

// Changes, with `mudar`, the first record of `tabela` in the order records were added in that passes
// `condicao`. False (and the test failed) when there is none or the table refuses the change.
bool alterar(Store& store, const char* tabela, const std::string& condicao, const Preencher& mudar,
             std::source_location onde = std::source_location::current());

} // namespace qav::test
