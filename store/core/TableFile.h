#pragma once
// Creation of a table file: the table, its key indexes and its structure version.

#include "store/core/StoreError.h"
#include "store/core/TableDef.h"

#include <QString>

namespace qav {

class Connection;

// Creates the table and its indexes inside `connection` under `tableName` (which may carry a schema
// prefix) and sets the structure version. Runs inside the caller's transaction when there is one.
bool createTableIn(Connection& connection, const TableDef& table, const std::string& tableName,
                   StoreError* error);
// Drops the "contains" indexes of the table's searched fields (when there are any) and builds them
// again from the records. Runs inside the caller's transaction when there is one.
bool rebuildSearchIndexes(Connection& connection, const TableDef& table, StoreError* error);
// Creates a new, empty table file at `path`. Fails when the file already exists.
bool createTableFile(const QString& path, const TableDef& table, StoreError* error);
// The structure version a file records (0 when it records none).
int storedStructureVersion(Connection& connection, StoreError* error);

} // namespace qav
