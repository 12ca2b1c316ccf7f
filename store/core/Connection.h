#pragma once
// One SQLite connection with its prepared statements, reused for every operation of the same shape.

#include "store/core/StoreError.h"

#include <QString>
#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace qav {

class Connection {
public:
    // Opens (never creates) an existing file; `create` allows a missing file to be created.
    static std::unique_ptr<Connection> open(const QString& path, bool create, StoreError* error);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return m_db; }

    // How long a statement waits for another window or process that is writing to the file.
    static constexpr int kWaitMs = 10000;
    // The page cache of a connection's own file, as SQLite reads it: negative means KiB (16 MB).
    static constexpr int kCacheSize = -16000;
    void setWaitLimit(int waitMs);
    const QString& path() const { return m_path; }

    // A prepared statement for this SQL, prepared once and kept; reset and unbound before it is
    // handed out. nullptr with `error` filled when it does not prepare.
    sqlite3_stmt* statement(const std::string& sql, StoreError* error);
    // Runs SQL without results (several statements allowed).
    bool exec(const std::string& sql, StoreError* error);
    // The storage engine's last failure as a store error (code 90 with the engine's text and code,
    // or the specific code for duplicates, locks and damaged files).
    StoreError lastError() const;
    void dropStatements();

    bool inTransaction() const;

    // The one way a table's batch and a transaction over several tables begin, commit and roll back.
    //
    // begin() opens a write transaction at once (another writer waits or fails here, not half-way).
    // commit() makes it durable; when it fails, whatever it wrote is rolled back before it returns, so
    // that the files hold all of it or none and the connection is out of the transaction; `error`
    // tells why the commit failed.
    // rollback() undoes it. The engine always leaves the transaction, but when the disk fails while
    // the old pages are written back it keeps them in the journal and puts them back at the next
    // read: rollback() reads every file of the connection at once, so that such a failure comes out
    // here (false, with `error`) rather than in whoever reads next. The connection is out of the
    // transaction either way.
    bool begin(StoreError* error);
    bool commit(StoreError* error);
    bool rollback(StoreError* error);

private:
    bool readEveryFile(StoreError* error);
    void resetStatements();

    Connection(sqlite3* db, QString path) : m_db(db), m_path(std::move(path)) {}
    sqlite3* m_db;
    QString m_path;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
};

// Maps an SQLite result code (and message) to the store's error codes.
StoreError storeErrorFrom(int sqliteCode, const QString& message);

// RAII reset of a statement once its rows have been read, so that no read lock stays behind.
class StatementReset {
public:
    explicit StatementReset(sqlite3_stmt* statement) : m_statement(statement) {}
    ~StatementReset();
    StatementReset(const StatementReset&) = delete;
    StatementReset& operator=(const StatementReset&) = delete;

private:
    sqlite3_stmt* m_statement;
};

} // namespace qav
