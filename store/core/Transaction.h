#pragma once
// Changes to several tables that must land together (an order with its items and accessories; an
// order with its new customer): after a crash or a kill at any moment, all of them are in the files
// or none is.
//
// The tables' files are attached to the connection of the first one for the duration, so that one
// SQLite transaction (rollback journal, with a super-journal across the files) covers them all.
// SQLite attaches at most 10 files to a connection, so a transaction takes at most 10 tables.

#include "store/core/Table.h"

#include <initializer_list>
#include <vector>

namespace qav {

class Transaction {
public:
    explicit Transaction(std::initializer_list<Table*> tables);
    ~Transaction(); // rolls back when not committed
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool begin();
    // The same, giving up after `waitMs` milliseconds when another window or station is writing to one
    // of the tables (an upload would rather stop than hold the user for long).
    bool begin(int waitMs);
    // Both end the transaction and give the tables back to their own connections. A failed commit
    // leaves nothing of the transaction in the files; a failed rollback is reported, the files are
    // put right from the journal (see Connection::rollback).
    bool commit();
    bool rollback();
    const StoreError& error() const { return m_error; }
    // For a transaction that writes most of a large table (a download's step): each file's page cache
    // may grow to `kib` KiB for the rest of the transaction, so that pages are not written out and read
    // back, and the journal synced again, before the commit. The cache goes back to its usual size at
    // the end.
    void enlargeCache(int kib);

    static constexpr int kMaxTables = 10;

private:
    void detach();

    std::vector<Table*> m_tables;
    std::vector<std::string> m_attached;
    Connection* m_connection = nullptr;
    bool m_active = false;
    bool m_cacheEnlarged = false;
    StoreError m_error;
};

} // namespace qav
