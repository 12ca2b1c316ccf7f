#include "store/core/Connection.h"

#include "store/core/DecimalCollation.h"
#include "store/core/Store.h"
#include "store/core/Text.h"

#include <QFile>
#include <sqlite3.h>
#include <vector>

namespace qav {

namespace {
// Case-insensitive keys are kept in shadow columns folded with this function (text::foldKey); the
// upgrade tool uses it in SQL to fill them for rows it copies, and orders asked for at run time sort
// on it.
void foldFunction(sqlite3_context* context, int, sqlite3_value** args) {
    const auto* raw = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const QByteArray folded = text::foldKey(QString::fromUtf8(raw ? raw : "")).toUtf8();
    sqlite3_result_text(context, folded.constData(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

// The digits of a text, for searches that ignore the punctuation of documents and telephones.
void digitsFunction(sqlite3_context* context, int, sqlite3_value** args) {
    const auto* raw = sqlite3_value_text(args[0]);
    const int size = sqlite3_value_bytes(args[0]);
    std::string digits;
    digits.reserve(static_cast<size_t>(size));
    for (int i = 0; raw && i < size; ++i)
        if (text::isAsciiDigit(static_cast<char>(raw[i])))
            digits += static_cast<char>(raw[i]);
    sqlite3_result_text(context, digits.data(), static_cast<int>(digits.size()), SQLITE_TRANSIENT);
}
// SQLite counts every allocation under a global lock for statistics nobody here reads; a download
// writing millions of rows pays for that lock on every value. Off before the library starts (a
// later call is refused by SQLite and changes nothing).
void configureLibrary() {
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
}
} // namespace

std::unique_ptr<Connection> Connection::open(const QString& path, bool create, StoreError* error) {
    configureLibrary();
    if (!create && !QFile::exists(path)) {
        *error = {ErrorCode::FileNotFound, errorText(ErrorCode::FileNotFound), {}, {}};
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        *error = storeErrorFrom(rc, QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 1);
    // Another window or process may be writing: wait for it rather than fail at once.
    sqlite3_busy_timeout(db, kWaitMs);
    sqlite3_create_function(db, "qav_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, foldFunction,
                            nullptr, nullptr);
    sqlite3_create_function(db, "qav_digits", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, digitsFunction,
                            nullptr, nullptr);
    // Decimal fields compare and sort by value only through this collation: without it no list or
    // report may run, so a connection that lacks it is no connection.
    if (!registerDecimalCollation(db)) {
        *error = storeErrorFrom(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<Connection> connection(new Connection(db, path));
    // Rollback journal (never WAL): a transaction over several attached table files is atomic only
    // in this mode. Full synchronisation: an order must survive a power cut right after it is saved.
    // Recursive triggers: a row that an INSERT OR REPLACE deletes is then taken out of the search
    // indexes too (SQLite fires delete triggers for such rows only in this mode).
    if (!connection->exec(
            "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; PRAGMA recursive_triggers=ON; "
            "PRAGMA cache_size=" +
                std::to_string(kCacheSize) + ";",
            error))
        return nullptr;
    return connection;
}

Connection::~Connection() {
    dropStatements();
    sqlite3_close(m_db);
}

void Connection::dropStatements() {
    for (auto& entry : m_statements)
        sqlite3_finalize(entry.second);
    m_statements.clear();
}

sqlite3_stmt* Connection::statement(const std::string& sql, StoreError* error) {
    const auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc != SQLITE_OK) {
        *error = lastError();
        return nullptr;
    }
    m_statements.emplace(sql, statement);
    return statement;
}

bool Connection::exec(const std::string& sql, StoreError* error) {
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        *error = storeErrorFrom(rc, QString::fromUtf8(message ? message : sqlite3_errstr(rc)));
        error->systemCode = sqlite3_system_errno(m_db);
        sqlite3_free(message);
        return false;
    }
    return true;
}

StoreError Connection::lastError() const {
    StoreError error =
        storeErrorFrom(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
    error.systemCode = sqlite3_system_errno(m_db);
    return error;
}

void Connection::setWaitLimit(int waitMs) {
    sqlite3_busy_timeout(m_db, waitMs);
}

bool Connection::inTransaction() const {
    return sqlite3_get_autocommit(m_db) == 0;
}

bool Connection::begin(StoreError* error) {
    return exec("BEGIN IMMEDIATE", error);
}

bool Connection::commit(StoreError* error) {
    Store::noteWrite();
    if (exec("COMMIT", error))
        return true;
    StoreError rollbackError;
    if (!rollback(&rollbackError))
        error->driverText +=
            QStringLiteral(" / ") + rollbackError.text + QStringLiteral(": ") + rollbackError.driverText;
    return false;
}

bool Connection::rollback(StoreError* error) {
    Store::noteWrite(); // pages read ahead during the transaction may show what is undone now
    StoreError failure;
    bool done = true;
    if (inTransaction()) {
        done = exec("ROLLBACK", &failure);
        if (inTransaction()) {
            // Refused while a statement of ours was still running: stop them all and ask again.
            resetStatements();
            done = exec("ROLLBACK", &failure);
        }
    }
    if (inTransaction()) {
        *error = failure;
        return false;
    }
    if (!readEveryFile(error))
        return false;
    if (!done)
        *error = failure;
    return done;
}

bool Connection::readEveryFile(StoreError* error) {
    std::vector<std::string> schemas;
    {
        sqlite3_stmt* list = statement("SELECT name FROM pragma_database_list", error);
        if (!list)
            return false;
        StatementReset reset(list);
        int rc;
        while ((rc = sqlite3_step(list)) == SQLITE_ROW)
            schemas.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
        if (rc != SQLITE_DONE) {
            *error = lastError();
            return false;
        }
    }
    for (const std::string& schemaName : schemas) {
        std::string quoted = "\"";
        for (const char c : schemaName)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        quoted += '"';
        if (!exec("PRAGMA " + quoted + ".schema_version", error))
            return false;
    }
    return true;
}

void Connection::resetStatements() {
    for (sqlite3_stmt* s = sqlite3_next_stmt(m_db, nullptr); s; s = sqlite3_next_stmt(m_db, s))
        sqlite3_reset(s);
}

StoreError storeErrorFrom(int sqliteCode, const QString& message) {
    ErrorCode code = ErrorCode::FileSystemError;
    switch (sqliteCode & 0xff) {
    case SQLITE_CONSTRAINT:
        if (sqliteCode == SQLITE_CONSTRAINT_UNIQUE || sqliteCode == SQLITE_CONSTRAINT_PRIMARYKEY)
            code = ErrorCode::CreatesDuplicateKey;
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        code = ErrorCode::FileLocked;
        break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        code = ErrorCode::InvalidDataFile;
        break;
    case SQLITE_CANTOPEN:
        code = ErrorCode::FileNotFound;
        break;
    case SQLITE_PERM:
    case SQLITE_READONLY:
        code = ErrorCode::AccessDenied;
        break;
    default:
        break;
    }
    StoreError error{code, errorText(code), message, QString::number(sqliteCode)};
    if (code != ErrorCode::FileSystemError)
        error.text = errorText(code) + QStringLiteral(": ") + message;
    return error;
}

StatementReset::~StatementReset() {
    if (m_statement)
        sqlite3_reset(m_statement);
}

} // namespace qav
