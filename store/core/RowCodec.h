#pragma once
// Conversion between a record buffer and the columns of its SQLite row.
//
// On disk: integers and day numbers as INTEGER; real64 as REAL; decimals as TEXT with exactly the
// field's places ("12.5000"), so they stay exact and readable; texts as TEXT in UTF-8 without the
// trailing spaces of the fixed width; an array field as a JSON array in one TEXT column.

#include "store/core/Record.h"

#include <string>
#include <vector>

struct sqlite3_stmt;

namespace qav::rowcodec {

// The texts of a statement's parameters kept by the caller, by parameter number, so that SQLite
// reads them where they are instead of copying each one: for a statement of its own that binds
// millions of rows (a download's series). They must outlive the bindings; each text keeps its
// storage from one binding to the next.
using BoundTexts = std::vector<std::string>;

// Binds the fields and then the shadow columns of `record`, starting at parameter `first` (1-based).
// Returns the next free parameter number.
int bindRecord(sqlite3_stmt* statement, int first, const Record& record, BoundTexts* kept = nullptr);
// Binds again only `fields` (and their shadow columns) of a statement that bindRecord bound from
// parameter `first`.
void bindFields(sqlite3_stmt* statement, int first, const Record& record, const std::vector<int>& fields,
                BoundTexts* kept = nullptr);
// Binds one field value (element `element`) as it is stored, for key comparisons.
void bindField(sqlite3_stmt* statement, int parameter, const Record& record, int field, int element = 0,
               BoundTexts* kept = nullptr);
// Binds the folded text of a text field, as its shadow column holds it.
void bindFolded(sqlite3_stmt* statement, int parameter, const Record& record, int field);
// Binds the value a key component compares on: the folded text for case-insensitive text keys.
void bindKeyValue(sqlite3_stmt* statement, int parameter, const Record& record, const KeyDef& key,
                  const KeyComponent& component);
// Reads the fields from columns starting at `first` (0-based) into `record`.
void readRecord(sqlite3_stmt* statement, int first, Record& record);
// Reads only `fields`, from consecutive columns starting at `first`, into `record`.
void readFields(sqlite3_stmt* statement, int first, Record& record, const std::vector<int>& fields);

} // namespace qav::rowcodec
