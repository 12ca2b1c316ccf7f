#pragma once
// Set operations for the large passes of a download's full run: one statement over every record of a
// table that satisfies a condition, instead of a walk that writes the records one by one. A record an
// editor holds is left as it is, for the caller to meet on a walk and report as it would a single
// write.

#include "store/core/Table.h"

#include <QVariant>
#include <string>
#include <vector>

namespace qav {

// Gives the integer field `field` the value `value` in every record that satisfies `condition` (an
// SQL condition on the columns with ? parameters, as Table::setFilter) and that nobody holds. Records
// that already hold the value are not touched. The number of records changed, or the error.
SetResult putIntegerWhere(Table& table, const char* field, std::int64_t value, const std::string& condition,
                          const std::vector<QVariant>& parameters);

// Deletes every record that satisfies `condition` and that nobody holds. The number of records
// deleted, or the error.
SetResult removeWhere(Table& table, const std::string& condition, const std::vector<QVariant>& parameters);

// Deletes every record that satisfies `condition` and that nobody holds, except those whose row ids are
// in `kept` (sorted): a full run that left its unchanged records in place (Table::identicalRowId)
// takes away the ones the server no longer sends. The number of records deleted, or the error.
SetResult removeWhereExcept(Table& table, const std::string& condition,
                            const std::vector<QVariant>& parameters, const std::vector<std::int64_t>& kept);

// Gives the integer field `field` the value `value` as putIntegerWhere does, except in the records
// whose row ids are in `kept` (sorted): a full run that left the records the server sent in place
// marks the others. The number of records changed, or the error.
SetResult putIntegerWhereExcept(Table& table, const char* field, std::int64_t value,
                                const std::string& condition, const std::vector<QVariant>& parameters,
                                const std::vector<std::int64_t>& kept);

// Writes the buffer over the record it was read from, as Table::put(), but only the fields whose values
// differ from `read` (the record as it was read): the keys built on the other fields are left alone,
// which makes a download that rewrites a wide record with mostly the same values much cheaper. A
// record without differences is not written. Whatever keeps the narrow write from going through (the
// record changed or held meanwhile) is left to Table::put(), which says why.
Status putChanged(Table& table, const Record& read);

// For a step that writes most of a table in one transaction (a company's first download, a full
// run): the name indexes (TableDef::searched) stop following each write for the rest of the
// transaction, and rebuildNameIndex, before the commit, builds them again from the records in one
// statement each: one set statement costs a fraction of a per-record upkeep over many records. Both
// refuse to run outside a transaction; a transaction undone takes the table and its indexes back as
// they were, the upkeep included. A table without searched fields is left as it is.
SetResult suspendNameIndex(Table& table);
SetResult rebuildNameIndex(Table& table);
// The same for the indexes of some keys: dropped inside the transaction and built again from the
// records before the commit (a sort instead of a look-up per record), under the same conditions.
// Until then a look-up by such a key reads the whole table: only keys the writer does not look up by.
SetResult suspendKeys(Table& table, const std::vector<std::string>& keys);
SetResult rebuildKeys(Table& table, const std::vector<std::string>& keys);

} // namespace qav
