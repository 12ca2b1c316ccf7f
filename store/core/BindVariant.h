#pragma once
// A filter parameter bound to a statement by its type: whole numbers and booleans as integers, reals
// as reals, anything else as text.

#include <QVariant>

struct sqlite3_stmt;

namespace qav {

void bindVariant(sqlite3_stmt* statement, int parameter, const QVariant& value);

} // namespace qav
