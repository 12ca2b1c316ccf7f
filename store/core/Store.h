#pragma once
// The local tables of one data folder, as one window sees them.
//
// Every window that works on its own copies of the records (a list, a form, a report) makes its own
// Store over the bound folder; the Tables of one Store share one SQLite connection per file, opened
// on first use and closed when its use count drops to zero.

#include "store/core/Connection.h"
#include "store/core/TableDef.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>

namespace qav {

class Store {
public:
    explicit Store(QString folder);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    const QString& folder() const { return m_folder; }
    QString filePath(const TableDef& table) const;

    // The connection of a table file, checked against the declared structure when it opens.
    Connection* acquire(const TableDef& table, StoreError* error);
    void release(const TableDef& table);
    int useCount(const TableDef& table) const;

    // Compares a file with the declaration: the same columns (names and declared types, in order) and
    // the same structure version. A table of another structure is refused, the error naming it.
    static bool structureMatches(Connection& connection, const TableDef& table, StoreError* error);
    // The columns and structure version only (structureMatches less the search indexes).
    static bool fieldsMatch(Connection& connection, const TableDef& table, StoreError* error);
    // The "contains" indexes of the searched fields and their triggers are there, as declared: a file
    // without them (made by an earlier build, or whose index was dropped) is refused like one of an
    // older structure, and the upgrade tool builds them.
    static bool searchIndexesMatch(Connection& connection, const TableDef& table, StoreError* error);

    // Raised by every write in this process, so that read-ahead pages of walks are refreshed.
    static std::uint64_t writeGeneration() { return s_writeGeneration.load(std::memory_order_relaxed); }
    static void noteWrite() { s_writeGeneration.fetch_add(1, std::memory_order_relaxed); }

private:
    struct OpenFile {
        std::unique_ptr<Connection> connection;
        int useCount = 0;
    };
    QString m_folder;
    std::map<const TableDef*, OpenFile> m_files;
    static std::atomic<std::uint64_t> s_writeGeneration;
};

} // namespace qav
