#include "dbtool/core/TableCheck.h"

#include "dbtool/core/UpgradeRules.h"
#include "dbtool/core/ValueConversion.h"
#include "store/core/Connection.h"
#include "store/core/Store.h"
#include "store/core/TableFile.h"
#include "store/core/TableSchema.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <functional>
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
// An SQL text expression naming a record of the old table by the fields of its primary key (or first
// unique key) that the old table has, as "ID=7" or "ID=5, ID_EMPRESA=1"; by its position when it has
// none of them.
std::string recordExpression(const TableDef& table,
                             const std::function<QString(const FieldDef&)>& sourceColumn) {
    const KeyDef* key = table.primaryKey();
    if (!key)
        for (const KeyDef& candidate : table.keys)
            if (candidate.unique && !candidate.components.empty() && !key)
                key = &candidate;
    std::string expression;
    if (key)
        for (const KeyComponent& component : key->components) {
            const FieldDef& field = table.fields[static_cast<size_t>(component.field)];
            const QString from = sourceColumn(field);
            if (from.isEmpty())
                continue; // a key field the old table did not have yet
            expression += (expression.empty() ? "'" : " || ', ") + std::string(field.name) + "=' || ifnull(" +
                          quoted(from.toStdString()) + ", '')";
        }
    return expression.empty() ? "'registro ' || rowid" : expression;
}
} // namespace

CheckResult checkTable(const QString& path, const TableDef& table, StoreError* error) {
    if (!QFile::exists(path)) {
        *error = {ErrorCode::FileNotFound, errorText(ErrorCode::FileNotFound), {}, {}};
        return CheckResult::FileNotFound;
    }
    // An empty file is a table whose contents were lost (a disk or copy that failed), not a table to
    // create: it is reported, never recreated without the user's word.
    if (QFileInfo(path).size() == 0) {
        *error = {ErrorCode::InvalidDataFile,
                  errorText(ErrorCode::InvalidDataFile),
                  QStringLiteral("arquivo vazio"),
                  {}};
        return CheckResult::InvalidDataFile;
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

bool upgradeTable(const QString& path, const TableDef& table, StoreError* error,
                  std::vector<ConversionNote>* notes) {
    if (!QFile::exists(path))
        return createTableFile(path, table, error);
    if (QFileInfo(path).size() == 0) {
        *error = {ErrorCode::InvalidDataFile,
                  errorText(ErrorCode::InvalidDataFile),
                  QStringLiteral("arquivo vazio"),
                  {}};
        return false;
    }
    auto connection = Connection::open(path, false, error);
    if (!connection)
        return false;
    std::vector<ConversionNote> found;
    registerConversionFunction(*connection, &found);
    // Whatever was cut or refused is reported, whether or not the table could be converted.
    struct Report {
        std::vector<ConversionNote>& found;
        std::vector<ConversionNote>* notes;
        ~Report() {
            if (notes)
                notes->insert(notes->end(), found.begin(), found.end());
        }
    } report{found, notes};

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

    // A table of the declared structure that only lacks its search indexes (or holds other ones)
    // keeps its records where they are: the indexes are built again from them.
    StoreError probe;
    if (storedName == name && Store::fieldsMatch(*connection, table, &probe) &&
        storedStructureVersion(*connection, &probe) == table.structureVersion &&
        indexesMatch(*connection, table, &probe)) {
        if (!rebuildSearchIndexes(*connection, table, error))
            return abandon();
        return connection->exec("COMMIT", error) || abandon();
    }
    // The old table's triggers would go with it; the new table gets its own indexes and triggers.
    for (const std::string& sql : schema::dropSearchIndexSql(table))
        if (!connection->exec(sql, error))
            return abandon();

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

    const auto sourceColumn = [&](const FieldDef& field) {
        QString from = oldColumn(QString::fromLatin1(field.name));
        if (from.isEmpty())
            for (const QString& former : formerNames(table, field))
                if (from.isEmpty())
                    from = oldColumn(former);
        return from;
    };
    const std::string record = recordExpression(table, sourceColumn);

    std::string targets = "rowid";
    std::string sources = "rowid";
    for (const FieldDef& field : table.fields) {
        std::string source;
        const QString from = sourceColumn(field);
        if (!from.isEmpty()) {
            source = conversionCall(field, quoted(from.toStdString()), record);
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
    // The folded copies of the texts in case-insensitive keys are filled while copying, so that the
    // unique keys compare each record's own text rather than a blank one; the exact folds of the
    // converted texts are set below.
    for (const int f : schema::shadowedFields(table)) {
        const FieldDef& field = table.fields[static_cast<size_t>(f)];
        const QString from = sourceColumn(field);
        std::string text;
        if (!from.isEmpty())
            text = "substr(ifnull(" + quoted(from.toStdString()) + ", ''), 1, " +
                   std::to_string(field.maxLength()) + ")";
        else if (const auto initial = initialValue(table, field))
            text = "'" + initial->toStdString() + "'";
        else
            continue;
        targets += ", " + quoted(schema::shadowColumn(field));
        sources += ", qav_fold(" + text + ")";
    }
    const std::string copy = "INSERT INTO " + quoted(bare) + " (" + targets + ") SELECT " + sources +
                             " FROM " + oldTable + " ORDER BY rowid";
    const bool copied = connection->exec(copy, error);
    // A number the new field cannot hold is not cut: the table stays as it was, and every such
    // value has been noted.
    const auto refused =
        std::find_if(found.begin(), found.end(), [](const ConversionNote& n) { return n.refused; });
    if (refused != found.end()) {
        *error = {ErrorCode::FileSystemError, errorText(ErrorCode::FileSystemError),
                  QStringLiteral("valor %1 não cabe no campo %2 (%3)")
                      .arg(refused->oldValue, refused->field, refused->record),
                  QStringLiteral("qavbd")};
        return abandon();
    }
    if (!copied)
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
