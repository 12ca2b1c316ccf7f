#include "store/core/Store.h"

#include "store/core/TableSchema.h"

#include <QDir>
#include <sqlite3.h>

namespace qav {

std::atomic<std::uint64_t> Store::s_writeGeneration{0};

Store::Store(QString folder) : m_folder(std::move(folder)) {}

Store::~Store() = default;

QString Store::filePath(const TableDef& table) const {
    return QDir(m_folder).filePath(QString::fromLatin1(table.fileName));
}

Connection* Store::acquire(const TableDef& table, StoreError* error) {
    OpenFile& file = m_files[&table];
    if (!file.connection) {
        auto connection = Connection::open(filePath(table), false, error);
        if (!connection || !structureMatches(*connection, table, error)) {
            m_files.erase(&table);
            return nullptr;
        }
        file.connection = std::move(connection);
    }
    ++file.useCount;
    return file.connection.get();
}

void Store::release(const TableDef& table) {
    const auto it = m_files.find(&table);
    if (it == m_files.end())
        return;
    if (--it->second.useCount <= 0)
        m_files.erase(it);
}

int Store::useCount(const TableDef& table) const {
    const auto it = m_files.find(&table);
    return it == m_files.end() ? 0 : it->second.useCount;
}

bool Store::structureMatches(Connection& connection, const TableDef& table, StoreError* error) {
    return fieldsMatch(connection, table, error) && searchIndexesMatch(connection, table, error);
}

namespace {
StoreError outdated(const TableDef& table) {
    const QString file = QString::fromLatin1(table.fileName);
    return {ErrorCode::StructureMismatch,
            QStringLiteral("Estrutura de %1 desatualizada").arg(file),
            QStringLiteral("estrutura de %1 difere da declarada").arg(file),
            {}};
}
} // namespace

bool Store::searchIndexesMatch(Connection& connection, const TableDef& table, StoreError* error) {
    if (table.searched.empty())
        return true;
    sqlite3_stmt* statement = connection.statement(
        "SELECT sql FROM sqlite_master WHERE name = ? AND type IN ('table', 'trigger')", error);
    if (!statement)
        return false;
    for (const auto& [name, sql] : schema::searchIndexObjects(table)) {
        StatementReset reset(statement);
        sqlite3_bind_text(statement, 1, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(statement);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            *error = connection.lastError();
            return false;
        }
        const auto* stored =
            rc == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)) : nullptr;
        if (!stored || schema::normalisedSql(stored) != schema::normalisedSql(sql)) {
            *error = outdated(table);
            return false;
        }
    }
    return true;
}

bool Store::fieldsMatch(Connection& connection, const TableDef& table, StoreError* error) {
    const std::string sql = "PRAGMA table_info(" + schema::quoted(table.tableName().toStdString()) + ")";
    sqlite3_stmt* statement = connection.statement(sql, error);
    if (!statement)
        return false;
    StatementReset reset(statement);
    std::vector<std::pair<std::string, std::string>> stored;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
        stored.emplace_back(name ? name : "", type ? type : "");
    }
    if (rc != SQLITE_DONE) {
        *error = connection.lastError();
        return false;
    }
    std::vector<std::pair<std::string, std::string>> declared;
    for (const FieldDef& field : table.fields)
        declared.emplace_back(field.name, schema::columnType(field));
    for (const int f : schema::shadowedFields(table))
        declared.emplace_back(schema::shadowColumn(table.fields[static_cast<size_t>(f)]),
                              schema::kShadowColumnType);
    declared.emplace_back("_rev", "INTEGER");
    declared.emplace_back("_hold", "TEXT");
    const QString file = QString::fromLatin1(table.fileName);
    // The text names the table: a window that cannot open it says which one needs the upgrade.
    const auto refuse = [&](const QString& text) {
        *error = {ErrorCode::StructureMismatch,
                  text,
                  QStringLiteral("estrutura de %1 difere da declarada").arg(file),
                  {}};
        return false;
    };
    if (stored != declared)
        return refuse(QStringLiteral("Estrutura de %1 desatualizada").arg(file));
    // Same fields, but the keys or rules of another structure version.
    sqlite3_stmt* version = connection.statement("PRAGMA user_version", error);
    if (!version)
        return false;
    StatementReset resetVersion(version);
    if (sqlite3_step(version) != SQLITE_ROW) {
        *error = connection.lastError();
        return false;
    }
    const int storedVersion = sqlite3_column_int(version, 0);
    if (storedVersion < table.structureVersion)
        return refuse(QStringLiteral("Estrutura de %1 desatualizada").arg(file));
    if (storedVersion > table.structureVersion)
        return refuse(QStringLiteral("Estrutura de %1 mais nova que a deste programa").arg(file));
    return true;
}

} // namespace qav
