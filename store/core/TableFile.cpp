#include "store/core/TableFile.h"

#include "store/core/Connection.h"
#include "store/core/TableSchema.h"

#include <QFile>
#include <sqlite3.h>

namespace qav {

bool createTableIn(Connection& connection, const TableDef& table, const std::string& tableName,
                   StoreError* error) {
    if (!connection.exec(schema::createTableSql(table, tableName), error))
        return false;
    for (const std::string& sql : schema::createIndexSql(table, tableName))
        if (!connection.exec(sql, error))
            return false;
    for (const std::string& sql : schema::createSearchIndexSql(table, tableName))
        if (!connection.exec(sql, error))
            return false;
    return connection.exec("PRAGMA user_version = " + std::to_string(table.structureVersion), error);
}

bool rebuildSearchIndexes(Connection& connection, const TableDef& table, StoreError* error) {
    std::vector<std::string> statements = schema::dropSearchIndexSql(table);
    for (std::string& sql :
         schema::createSearchIndexSql(table, schema::quoted(table.tableName().toStdString())))
        statements.push_back(std::move(sql));
    for (std::string& sql : schema::fillSearchIndexSql(table))
        statements.push_back(std::move(sql));
    for (const std::string& sql : statements)
        if (!connection.exec(sql, error))
            return false;
    return true;
}

bool createTableFile(const QString& path, const TableDef& table, StoreError* error) {
    if (QFile::exists(path)) {
        *error = {ErrorCode::AccessDenied, QStringLiteral("O arquivo já existe: %1").arg(path), {}, {}};
        return false;
    }
    auto connection = Connection::open(path, true, error);
    if (!connection)
        return false;
    const std::string name = schema::quoted(table.tableName().toStdString());
    if (!connection->exec("BEGIN", error))
        return false;
    if (!createTableIn(*connection, table, name, error)) {
        StoreError ignored;
        connection->exec("ROLLBACK", &ignored);
        connection.reset();
        QFile::remove(path);
        return false;
    }
    return connection->exec("COMMIT", error);
}

int storedStructureVersion(Connection& connection, StoreError* error) {
    sqlite3_stmt* statement = connection.statement("PRAGMA user_version", error);
    if (!statement)
        return -1;
    StatementReset reset(statement);
    if (sqlite3_step(statement) != SQLITE_ROW) {
        *error = connection.lastError();
        return -1;
    }
    return sqlite3_column_int(statement, 0);
}

} // namespace qav
