#pragma once
// The accent-free text of a searched name of every record of a table, with the values of the fields
// its list filters on, kept in memory in the order of the list's key. A list searching a large table
// answers every keystroke from here, its count and the places of its pages, and reads from the file
// only the records it shows: a scan of the file takes several times as long for a letter that most
// names hold, and the search index counts such a letter slowly or not at all.
//
// Loaded once for a table, a field and a key (about 70 bytes a record), and again whenever the table
// has changed since (written by this program or by another one).

#include "store/core/Connection.h"
#include "store/core/TableDef.h"
#include "ui/core/ListFilter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qav {

class SearchMemory {
public:
    // What a filter asks of the texts: prepared once per filter.
    struct Question {
        std::string piece; // UTF-8
        std::vector<std::int64_t> values;
    };
    static Question question(const ListFilter::InMemory& filter);

    // Reads the table `tableName` (with its schema prefix, quoted) of `connection`, `schemaName` its
    // schema (empty: the main one), in the order of the key `key` of `table`, its opt rule applied.
    bool load(Connection& connection, const TableDef& table, const std::string& schemaName, int field,
              int key, StoreError* error);
    // Loaded for this field and key, and the table unchanged since.
    bool current(Connection& connection, int field, int key) const;

    // Positions are places in the key order.
    std::int64_t size() const { return static_cast<std::int64_t>(m_order.size()); }
    std::int64_t rowId(std::int64_t position) const {
        return m_rowIds[m_order[static_cast<size_t>(position)]];
    }
    // The first position at or after `from` whose record matches (size() when none), and the last at
    // or before it (-1 when none).
    std::int64_t nextMatch(std::int64_t from, const Question& question) const;
    std::int64_t previousMatch(std::int64_t from, const Question& question) const;
    std::int64_t count(const Question& question) const;
    // Where the record `rowId` stands in the key order; nothing when it is not there.
    std::optional<std::int64_t> positionOf(std::int64_t rowId) const;

private:
    struct Version {
        std::int64_t dataVersion = -1; // other connections' commits
        std::int64_t changes = -1;     // every change made through this connection
        bool operator==(const Version&) const = default;
    };
    Version versionOf(Connection& connection) const;
    std::string from(const TableDef& table) const;
    bool readRecords(Connection& connection, const TableDef& table, int field, StoreError* error);
    bool readOrder(Connection& connection, const TableDef& table, int key, StoreError* error);
    // Lays the values and texts out again in the key order (a page's look then goes straight
    // through memory), without the records the key leaves out.
    void putInKeyOrder();
    bool matches(size_t position, const Question& question) const;
    std::optional<size_t> recordOf(std::int64_t rowId) const; // its place in m_rowIds

    int m_field = -1;
    int m_key = -1;
    std::string m_schema;
    Version m_version;
    // The records are read as the table stores them (by rowid), the fastest way to read them all,
    // and the key order from the key's index alone; the values and texts are then laid out in that
    // order.
    int m_valuesPerRecord = 0;
    std::vector<std::int64_t> m_rowIds;     // ascending
    std::vector<std::int64_t> m_values;     // m_valuesPerRecord per position
    std::vector<std::uint32_t> m_starts;    // of each position's text in m_texts, and its end
    std::string m_texts;                    // UTF-8, one after the other
    std::vector<std::uint32_t> m_order;     // record of each position
    std::vector<std::uint32_t> m_positions; // position of each record (kUnlisted: left out by the key)
};

} // namespace qav
