#pragma once
// Conversion of a stored value to the type of the field that takes it during an upgrade, as an SQL
// function, so that a whole table converts in one statement.

#include "store/core/TableDef.h"

#include <string>

namespace qav {
class Connection;
}

namespace qav::upgrade {

// Registers qav_convert(value, type, size, scale, count) on the connection. A value that cannot be
// held by the new type (a decimal with too many integer digits, a number out of range) makes the
// statement fail: an upgrade never drops part of a value.
void registerConversionFunction(Connection& connection);
// The SQL call that converts `expression` to `field`'s type.
std::string conversionCall(const FieldDef& field, const std::string& expression);

} // namespace qav::upgrade
