#pragma once
// Decimal fields are stored as text ("12.5000") so that any SQLite tool reads them exactly; as text
// they would sort "10.00" before "9.50" and find "0.00" unequal to 0. Every connection of the store
// carries a collation that compares such texts by their value, exactly (no binary floating point):
//
//     SELECT ... WHERE SALDO COLLATE QAV_DECIMAL > 0 ORDER BY SALDO COLLATE QAV_DECIMAL DESC
//
// Any SQL of the program that compares or sorts a decimal column names it so; conditions given to
// a Table as filters get it added by the table (see withDecimalOrder).

#include <string_view>

struct sqlite3;

namespace qav {

inline constexpr const char* kDecimalCollation = "QAV_DECIMAL";

// Compares two decimal texts by value: -1, 0 or 1. Accepts what SQLite may hold or turn a number
// into: optional spaces, a sign, digits with an optional point, an optional exponent ("1e+20").
// "2.5" equals "2.50", "-0" equals "0". Texts that are not numbers sort after every number, among
// themselves byte by byte, so that the order stays total.
int compareDecimalText(std::string_view a, std::string_view b);

// Registers the collation on a connection; false when SQLite refuses it.
bool registerDecimalCollation(sqlite3* db);

} // namespace qav
