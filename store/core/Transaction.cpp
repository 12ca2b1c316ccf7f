#include "store/core/Transaction.h"

#include "store/core/TableSchema.h"

#include <algorithm>
#include <sqlite3.h>

namespace qav {

Transaction::Transaction(std::initializer_list<Table*> tables) : m_tables(tables) {}

Transaction::~Transaction() {
    if (m_active)
        rollback();
}

bool Transaction::begin() {
    return begin(Connection::kWaitMs);
}

bool Transaction::begin(int waitMs) {
    if (m_tables.empty() || static_cast<int>(m_tables.size()) > kMaxTables) {
        m_error = {
            ErrorCode::FileSystemError, QStringLiteral("Transação com número de tabelas inválido"), {}, {}};
        return false;
    }
    for (Table* table : m_tables) {
        if (!table->isOpen() || !table->connection()) {
            m_error = {ErrorCode::FileNotOpen, errorText(ErrorCode::FileNotOpen), {}, {}};
            return false;
        }
    }
    m_connection = m_tables.front()->connection();
    const QString mainPath = m_connection->path();
    for (Table* table : m_tables) {
        const QString path = table->store().filePath(table->def());
        if (path == mainPath) {
            table->route(m_connection, "main");
            continue;
        }
        const std::string alias = "t_" + table->def().tableName().toStdString();
        const bool attached = std::find(m_attached.begin(), m_attached.end(), alias) != m_attached.end();
        if (!attached) {
            sqlite3_stmt* statement =
                m_connection->statement("ATTACH DATABASE ?1 AS " + schema::quoted(alias), &m_error);
            if (!statement) {
                detach();
                return false;
            }
            StatementReset reset(statement);
            const QByteArray utf8 = path.toUtf8();
            sqlite3_bind_text(statement, 1, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT);
            if (sqlite3_step(statement) != SQLITE_DONE) {
                m_error = m_connection->lastError();
                detach();
                return false;
            }
            m_attached.push_back(alias);
        }
        table->route(m_connection, alias);
    }
    m_connection->setWaitLimit(waitMs);
    const bool begun = m_connection->begin(&m_error);
    m_connection->setWaitLimit(Connection::kWaitMs);
    if (!begun) {
        detach();
        return false;
    }
    m_active = true;
    return true;
}

bool Transaction::commit() {
    if (!m_active)
        return false;
    m_active = false;
    const bool committed = m_connection->commit(&m_error);
    detach();
    return committed;
}

bool Transaction::rollback() {
    bool rolledBack = true;
    if (m_active) {
        m_active = false;
        rolledBack = m_connection->rollback(&m_error);
    }
    detach();
    return rolledBack;
}

void Transaction::enlargeCache(int kib) {
    if (!m_active)
        return;
    // Only a faster commit depends on it: a cache that cannot grow is no failure.
    std::vector<std::string> schemas = m_attached;
    schemas.emplace_back("main");
    for (const std::string& schemaName : schemas) {
        StoreError ignored;
        m_connection->exec("PRAGMA " + schema::quoted(schemaName) + ".cache_size = -" + std::to_string(kib),
                           &ignored);
    }
    m_cacheEnlarged = true;
}

void Transaction::detach() {
    if (m_cacheEnlarged) {
        // The attached files' caches go with them; the connection's own file keeps its usual size.
        StoreError ignored;
        m_connection->exec("PRAGMA main.cache_size = " + std::to_string(Connection::kCacheSize), &ignored);
        m_cacheEnlarged = false;
    }
    for (Table* table : m_tables)
        table->unroute();
    for (const std::string& alias : m_attached) {
        StoreError ignored;
        m_connection->exec("DETACH DATABASE " + schema::quoted(alias), &ignored);
    }
    m_attached.clear();
}

} // namespace qav
