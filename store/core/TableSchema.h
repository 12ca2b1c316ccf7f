#pragma once
// How a declared table is laid out in its SQLite file.
//
// One column per field, named as the field. Hidden columns, all starting with "_":
//  - "_ci_<FIELD>": the key form (text::foldKey) of a text field that takes part in a
//    case-insensitive key, so that the key's index sorts "ç" with "Ç" and "São" with "Santos" (SQLite's
//    own NOCASE knows only ASCII case); its declared type names that form, so a file whose shadow
//    columns hold an older form differs from the declaration and goes through the upgrade;
//  - "_rev": revision of the record, raised by every change, to detect a change made by another
//    window or station since the record was read;
//  - "_hold": who holds the record for editing ("" when nobody does).
// Each key with fixed components is an index "<table>_<KEY>"; unique keys are unique indexes; keys
// with the opt attribute are partial indexes that leave out records whose components are all blank.
//
// A searched field (TableDef::searched) has a "contains" index "<table>_busca_<FIELD>": an SQLite FTS5
// table of the trigram tokenizer over the accent-free part of its shadow column (the part before
// text::kKeySeparator), without content of its own (rowid = the record's rowid), and three triggers
// "<table>_busca_<FIELD>_ins/_del/_upd" that keep it in step inside the writer's own transaction,
// whoever writes the file.

#include "store/core/TableDef.h"

#include <QString>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qav::schema {

// Declared SQL type of a field's column. The name carries the field type and size, and its wording
// gives the column the right SQLite affinity (INTEGER, REAL or TEXT).
std::string columnType(const FieldDef& field);
std::string quoted(const std::string& identifier); // "NAME"
std::string shadowColumn(const FieldDef& field);   // _ci_NAME
// Declared type of the shadow columns (text affinity). Files of earlier builds declared "TEXT" and held
// only the upper case.
inline constexpr const char* kShadowColumnType = "FOLDED_KEY_TEXT";
// Fields with a shadow column: text fields that are components of a case-insensitive key.
const std::vector<int>& shadowedFields(const TableDef& table);
bool isShadowed(const TableDef& table, int field);

// The column a key component sorts on (the shadow column for folded texts).
std::string keyColumn(const TableDef& table, const KeyDef& key, const KeyComponent& component);
// "(NOT (c1 = '' AND c2 = 0))" for an opt key, empty otherwise.
std::string optCondition(const TableDef& table, const KeyDef& key);

std::string createTableSql(const TableDef& table, const std::string& tableName);
std::vector<std::string> createIndexSql(const TableDef& table, const std::string& tableName);
// The index of one key, made and dropped (empty for the run-time key); `tableName` as above.
std::string createKeyIndexSql(const TableDef& table, const KeyDef& key, const std::string& tableName);
std::string dropKeyIndexSql(const TableDef& table, const KeyDef& key, const std::string& tableName);

// The list filters a table's name index carries besides the text ("FIELD = value", in this order:
// the products' company and situation, the customers' situation), so that it counts the matches of a
// list by itself: each record's index row holds, in the column `filtro`, a code of three characters
// for the values of the first field, one for the first two, and so on. Empty for other tables.
std::vector<int> searchFilterFields(const TableDef& table);
// The code of the values of the first values.size() filter fields (empty when there are more values
// than fields): what a search puts beside the typed text to keep only those records.
QString searchFilterCode(const TableDef& table, const std::vector<std::int64_t>& values);

// The "contains" index of a searched field and its triggers, in creation order. `tableName` as for
// createIndexSql (a schema prefix names the schema of the file).
std::string searchIndexName(const TableDef& table, int field);
std::vector<std::string> createSearchIndexSql(const TableDef& table, const std::string& tableName);
// Fills the indexes of an existing table from its records (they must be empty, just created), in the
// schema `schemaName` (the main one when empty).
std::vector<std::string> fillSearchIndexSql(const TableDef& table, const std::string& schemaName = {});
// Drops the indexes and triggers of the searched fields that exist, in the main schema.
std::vector<std::string> dropSearchIndexSql(const TableDef& table);
// For a writer that rewrites most of the table in one transaction: drops the triggers (the indexes
// stay, no longer in step), and later empties the indexes, fills them from the records in one
// statement each and puts the triggers back. Both in the schema `schemaName`.
std::vector<std::string> suspendSearchIndexSql(const TableDef& table, const std::string& schemaName);
std::vector<std::string> refillSearchIndexSql(const TableDef& table, const std::string& schemaName);
// The objects (name, SQL as sqlite_master keeps it) a file of the table must hold for its searched
// fields; the FTS5 table's own shadow tables ("<index>_data", "_idx", "_config") come with it.
std::vector<std::pair<std::string, std::string>> searchIndexObjects(const TableDef& table);
// True when `name` is a shadow table of one of the table's search indexes.
bool isSearchIndexShadow(const TableDef& table, const std::string& name);
// The same statement text, whatever its spacing, quoting and letter case.
std::string normalisedSql(const std::string& sql);

// The column list in storage order: the fields, then the shadow columns.
std::string columnList(const TableDef& table);
int storedColumnCount(const TableDef& table);

} // namespace qav::schema
