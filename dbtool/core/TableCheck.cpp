#include "dbtool/core/TableCheck.h"

#include "dbtool/core/UpgradeRules.h"
#include "dbtool/core/ValueConversion.h"
#include "store/core/Connection.h"
#include "store/core/Store.h"
#include "store/core/TableFile.h"
#include "store/core/TableSchema.h"

#include <QFile>
#include <QStringList>
#include <sqlite3.h>

namespace qav::upgrade {

namespace {
using schema::quoted;

// Rows of a one-column query as texts.
bool queryTexts(Connection& connection, const std::string& sql, std::vector<QString>* out,
                StoreError* error) {
    sqlite3_stmt* statement = connection.statement(sql, error);
    if (!statement)
        return false;
    StatementReset reset(statement);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* raw = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        out->push_back(QString::fromUtf8(raw ? raw : ""));
    }
    if (rc != SQLITE_DONE) {
        *error = connection.lastError();
        return false;
    }
    return true;
}

QString normalisedSql(QString sql) {
    return sql.simplified().remove(u'"').toUpper();
}

bool indexesMatch(Connection& connection, const TableDef& table, StoreError* error) {
    std::vector<QString> stored;
    const std::string sql = "SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = '" +
                            table.tableName().toStdString() + "' AND sql IS NOT NULL ORDER BY name";
    if (!queryTexts(connection, sql, &stored, error))
        return false;
    QStringList have;
    for (const QString& s : stored)
        have << normalisedSql(s);
    QStringList want;
    for (const std::string& s : schema::createIndexSql(table, quoted(table.tableName().toStdString())))
        want << normalisedSql(QString::fromStdString(s));
    have.sort();
    want.sort();
    return have == want;
}

CheckResult classify(const StoreError& error) {
    switch (error.code) {
    case ErrorCode::FileLocked:
        return CheckResult::FileLocked;
    case ErrorCode::FileNotFound:
        return CheckResult::FileNotFound;
    default:
        return CheckResult::InvalidDataFile;
    }
}
} // namespace

CheckResult checkTable(const QString& path, const TableDef& table, StoreError* error) {
    if (!QFile::exists(path)) {
        *error = {ErrorCode::FileNotFound, errorText(ErrorCode::FileNotFound), {}, {}};
        return CheckResult::FileNotFound;
    }
    auto connection = Connection::open(path, false, error);
    if (!connection)
        return classify(*error);
    std::vector<QString> tables;
    if (!queryTexts(*connection, "SELECT name FROM sqlite_master WHERE type = 'table'", &tables, error))
        return classify(*error);
    const QString name = table.tableName();
    const bool hasOurTable = std::any_of(tables.begin(), tables.end(), [&](const QString& t) {
        return t.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (!hasOurTable) {
        if (tables.empty())
            return CheckResult::StructureDiffers; // an empty database: the upgrade creates the table
        *error = {ErrorCode::InvalidDataFile,
                  errorText(ErrorCode::InvalidDataFile),
                  QStringLiteral("o arquivo não contém a tabela %1").arg(name),
                  {}};
        return CheckResult::InvalidDataFile;
    }
    std::vector<QString> problems;
    // The full check compares every key index with the records, so that a damaged key is found and
    // rebuilt rather than giving wrong walks later.
    if (!queryTexts(*connection, "PRAGMA integrity_check(100)", &problems, error))
        return classify(*error);
    if (!(problems.size() == 1 && problems.front() == QLatin1String("ok"))) {
        // Damage confined to the indexes leaves the records readable: rebuilding the keys repairs it.
        const bool onlyKeys = std::all_of(problems.begin(), problems.end(), [](const QString& p) {
            return p.contains(QLatin1String("index"), Qt::CaseInsensitive);
        });
        *error = {ErrorCode::InvalidDataFile, errorText(ErrorCode::InvalidDataFile), problems.front(), {}};
        if (onlyKeys) {
            error->code = ErrorCode::InvalidKeyFile;
            error->text = errorText(ErrorCode::InvalidKeyFile);
            return CheckResult::InvalidKeyFile;
        }
        return CheckResult::InvalidDataFile;
    }
    if (!Store::structureMatches(*connection, table, error))
        return error->code == ErrorCode::StructureMismatch ? CheckResult::StructureDiffers : classify(*error);
    if (storedStructureVersion(*connection, error) != table.structureVersion ||
        !indexesMatch(*connection, table, error)) {
        *error = {ErrorCode::StructureMismatch, errorText(ErrorCode::StructureMismatch), {}, {}};
        return CheckResult::StructureDiffers;
    }
    *error = {};
    return CheckResult::Ok;
}

bool createTable(const QString& path, const TableDef& table, StoreError* error) {
    return createTableFile(path, table, error);
}

bool upgradeTable(const QString& path, const TableDef& table, StoreError* error) {
    if (!QFile::exists(path))
        return createTableFile(path, table, error);
    auto connection = Connection::open(path, false, error);
    if (!connection)
        return false;
    registerConversionFunction(*connection);

    std::vector<QString> tables;
    if (!queryTexts(*connection, "SELECT name FROM sqlite_master WHERE type = 'table'", &tables, error))
        return false;
    const QString name = table.tableName();
    QString storedName;
    for (const QString& t : tables)
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            storedName = t;
    if (storedName.isEmpty() && !tables.empty()) {
        *error = {ErrorCode::InvalidDataFile,
                  errorText(ErrorCode::InvalidDataFile),
                  QStringLiteral("o arquivo não contém a tabela %1").arg(name),
                  {}};
        return false;
    }
    const std::string bare = name.toStdString();
    if (!connection->exec("BEGIN IMMEDIATE", error))
        return false;
    const auto abandon = [&connection]() {
        StoreError ignored;
        connection->exec("ROLLBACK", &ignored);
        return false;
    };
    if (storedName.isEmpty()) {
        if (!createTableIn(*connection, table, quoted(bare), error))
            return abandon();
        return connection->exec("COMMIT", error);
    }

    std::vector<QString> oldColumns;
    if (!queryTexts(*connection, "SELECT name FROM pragma_table_info('" + storedName.toStdString() + "')",
                    &oldColumns, error))
        return abandon();
    const auto oldColumn = [&oldColumns](const QString& wanted) -> QString {
        for (const QString& c : oldColumns)
            if (c.compare(wanted, Qt::CaseInsensitive) == 0)
                return c;
        return {};
    };
    std::vector<QString> oldIndexes;
    if (!queryTexts(
            *connection,
            "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL AND tbl_name = '" +
                storedName.toStdString() + "'",
            &oldIndexes, error))
        return abandon();
    for (const QString& index : oldIndexes)
        if (!connection->exec("DROP INDEX " + quoted(index.toStdString()), error))
            return abandon();
    const std::string oldTable = quoted("_upgrade_" + bare);
    if (!connection->exec("ALTER TABLE " + quoted(storedName.toStdString()) + " RENAME TO " + oldTable,
                          error) ||
        !createTableIn(*connection, table, quoted(bare), error))
        return abandon();

    std::string targets = "rowid";
    std::string sources = "rowid";
    for (const FieldDef& field : table.fields) {
        std::string source;
        QString from = oldColumn(QString::fromLatin1(field.name));
        if (from.isEmpty())
            for (const QString& former : formerNames(table, field))
                if (from.isEmpty())
                    from = oldColumn(former);
        if (!from.isEmpty()) {
            source = conversionCall(field, quoted(from.toStdString()));
        } else if (isAutoNumbered(table, field)) {
            source = "row_number() OVER (ORDER BY rowid)";
        } else if (const auto initial = initialValue(table, field)) {
            source = conversionCall(field, "'" + initial->toStdString() + "'");
        } else {
            continue; // the column's blank default
        }
        targets += ", " + quoted(field.name);
        sources += ", " + source;
    }
    const std::string copy = "INSERT INTO " + quoted(bare) + " (" + targets + ") SELECT " + sources +
                             " FROM " + oldTable + " ORDER BY rowid";
    if (!connection->exec(copy, error))
        return abandon();
    std::string folds;
    for (const int f : schema::shadowedFields(table)) {
        const FieldDef& field = table.fields[static_cast<size_t>(f)];
        folds += (folds.empty() ? "" : ", ") + quoted(schema::shadowColumn(field)) + " = qav_fold(" +
                 quoted(field.name) + ")";
    }
    if (!folds.empty() && !connection->exec("UPDATE " + quoted(bare) + " SET " + folds, error))
        return abandon();
    if (!connection->exec("DROP TABLE " + oldTable, error) ||
        !connection->exec("PRAGMA user_version = " + std::to_string(table.structureVersion), error))
        return abandon();
    // The unique keys are checked while the rows are copied: a file whose records break a unique key
    // of the new structure is refused as a whole (the statement fails and everything rolls back).
    return connection->exec("COMMIT", error) || abandon();
}

bool rebuildKeys(const QString& path, const TableDef& table, StoreError* error) {
    auto connection = Connection::open(path, false, error);
    if (!connection)
        return false;
    return connection->exec("REINDEX " + quoted(table.tableName().toStdString()), error);
}

} // namespace qav::upgrade
