#pragma once
// What an upgrade does with fields that a stored table file does not have yet: the value they start
// with, the former field whose value they take over, or consecutive numbers for existing records.

#include "store/core/TableDef.h"

#include <QString>
#include <optional>

namespace qav::upgrade {

// Value a new field starts with in the records an upgrade carries over (nullopt: blank).
std::optional<QString> initialValue(const TableDef& table, const FieldDef& field);
// The field names this field had before, most recent first (empty when none).
std::vector<QString> formerNames(const TableDef& table, const FieldDef& field);
// The records an upgrade carries over are numbered 1, 2, 3... in this field when it is new.
bool isAutoNumbered(const TableDef& table, const FieldDef& field);

// Four-letter user name given to the server connection settings when that field is new.
inline constexpr const char* kDefaultBdUsuario = "qavp";

} // namespace qav::upgrade
