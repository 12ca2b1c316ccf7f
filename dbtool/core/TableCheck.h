#pragma once
// Checks a table file against its declaration and brings it to the declared structure.

#include "dbtool/core/ValueConversion.h"
#include "store/core/StoreError.h"
#include "store/core/TableDef.h"

#include <QString>

namespace qav::upgrade {

enum class CheckResult {
    Ok,
    FileNotFound,
    FileLocked,
    InvalidKeyFile,   // the records are sound, a key index is damaged
    StructureDiffers, // an older (or other) structure: an upgrade brings it to the declared one
    InvalidDataFile,  // not a table file of ours, or damaged records
};

// Opens the file read-only and looks: is it an SQLite file, does it hold our table, with the declared
// columns, keys and structure version, and are its pages sound.
CheckResult checkTable(const QString& path, const TableDef& table, StoreError* error);

// Rewrites the table to the declared structure inside one transaction: the fields it had keep their
// values (converted to the declared type), renamed fields take their former field's value, new
// fields start with their initial value, and a single field that became an array keeps its value
// as the first element. A text longer than its new width is cut; should anything else fail (disk
// full, a number that does not fit the new type, the program killed) the file stays as it was. A
// file that is not an SQLite file, or that holds other tables than ours, is never touched.
// `notes`, when given, receives every value cut and every value refused.
bool upgradeTable(const QString& path, const TableDef& table, StoreError* error,
                  std::vector<ConversionNote>* notes = nullptr);

// Creates the table file empty (used when it is missing).
bool createTable(const QString& path, const TableDef& table, StoreError* error);

// Rebuilds the key indexes from the records.
bool rebuildKeys(const QString& path, const TableDef& table, StoreError* error);

} // namespace qav::upgrade
