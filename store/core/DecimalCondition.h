#pragma once
// Conditions written by lists and reports ("PRECO > 5", "SALDO = ?") name decimal fields whose
// columns hold text: compared as they stand, "10.00" > "5" is false. withDecimalOrder() adds the
// value collation after every reference to a decimal field of the table, so that the comparison
// goes by value; everything else in the condition (text literals, parameters, other columns,
// function names) is left as written.

#include "store/core/TableDef.h"

#include <string>
#include <string_view>

namespace qav {

// "PRECO > ? AND NOME = 'PRECO'" -> "PRECO COLLATE QAV_DECIMAL > ? AND NOME = 'PRECO'".
std::string withDecimalOrder(const TableDef& table, std::string_view condition);

} // namespace qav
