#include "store/core/TableSet.h"

#include "store/core/BindVariant.h"
#include "store/core/Connection.h"
#include "store/core/DecimalCondition.h"
#include "store/core/RowCodec.h"
#include "store/core/TableSchema.h"

#include <algorithm>
#include <sqlite3.h>

namespace qav {

namespace {

// Runs the statement with the parameters from `first` on: the number of records it changed.
SetResult run(Table& table, const std::string& sql, const std::function<void(sqlite3_stmt*)>& bindFirst,
              int first, const std::vector<QVariant>& parameters) {
    SetResult result;
    Connection* connection = table.connection();
    if (!connection) {
        result.error = {ErrorCode::FileNotOpen, errorText(ErrorCode::FileNotOpen), {}, {}};
        return result;
    }
    sqlite3_stmt* statement = connection->statement(sql, &result.error);
    if (!statement)
        return result;
    StatementReset reset(statement);
    bindFirst(statement);
    for (size_t i = 0; i < parameters.size(); ++i)
        bindVariant(statement, first + static_cast<int>(i), parameters[i]);
    if (sqlite3_step(statement) != SQLITE_DONE) {
        result.error = connection->lastError();
        return result;
    }
    // Walks that read ahead must read again.
    Store::noteWrite();
    result.records = sqlite3_changes64(connection->handle());
    return result;
}

std::string qualifiedName(const Table& table) {
    return schema::quoted(table.schemaName()) + "." + schema::quoted(table.def().tableName().toStdString());
}

} // namespace

SetResult putIntegerWhere(Table& table, const char* field, std::int64_t value, const std::string& condition,
                          const std::vector<QVariant>& parameters) {
    Record buffer(table.def());
    const int f = buffer.field(field);
    buffer.setInteger(f, value);
    const std::string column = schema::quoted(table.def().fields[static_cast<size_t>(f)].name);
    // The revision goes up as with every write, so that an editor that read a record before sees that
    // it changed.
    const std::string sql = "UPDATE " + qualifiedName(table) + " SET " + column +
                            " = ?1, \"_rev\" = \"_rev\" + 1 WHERE \"_hold\" = '' AND " + column +
                            " IS NOT ?1 AND (" + withDecimalOrder(table.def(), condition) + ")";
    return run(
        table, sql, [&](sqlite3_stmt* s) { rowcodec::bindField(s, 1, buffer, f); }, 2, parameters);
}

SetResult removeWhere(Table& table, const std::string& condition, const std::vector<QVariant>& parameters) {
    const std::string removed = "\"_hold\" = '' AND (" + withDecimalOrder(table.def(), condition) + ")";
    // When no record is spared (a download's full run over its own table, the usual case), the
    // statement without a condition empties the table page by page instead of deleting record by
    // record and key by key: ten times faster on two million prices. A record is spared when it is
    // held or its condition is false or unknown.
    const std::string spared =
        "SELECT EXISTS (SELECT 1 FROM " + qualifiedName(table) + " WHERE (" + removed + ") IS NOT 1)";
    SetResult none;
    if (Connection* connection = table.connection()) {
        if (sqlite3_stmt* statement = connection->statement(spared, &none.error)) {
            StatementReset reset(statement);
            for (size_t i = 0; i < parameters.size(); ++i)
                bindVariant(statement, static_cast<int>(i) + 1, parameters[i]);
            if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_int(statement, 0) == 0)
                return run(table, "DELETE FROM " + qualifiedName(table), [](sqlite3_stmt*) {}, 1, {});
        }
    }
    return run(
        table, "DELETE FROM " + qualifiedName(table) + " WHERE " + removed, [](sqlite3_stmt*) {}, 1,
        parameters);
}

namespace {
// The row ids of the records that satisfy `condition` and that nobody holds, less the sorted `kept`:
// the candidates in row id order beside the kept ones, one pass over each.
bool rowsExcept(Table& table, const std::string& condition, const std::vector<QVariant>& parameters,
                const std::vector<std::int64_t>& kept, std::vector<std::int64_t>* rows, StoreError* error) {
    Connection* connection = table.connection();
    if (!connection) {
        *error = {ErrorCode::FileNotOpen, errorText(ErrorCode::FileNotOpen), {}, {}};
        return false;
    }
    sqlite3_stmt* walk =
        connection->statement("SELECT rowid FROM " + qualifiedName(table) + " WHERE \"_hold\" = '' AND (" +
                                  withDecimalOrder(table.def(), condition) + ") ORDER BY rowid",
                              error);
    if (!walk)
        return false;
    StatementReset reset(walk);
    for (size_t i = 0; i < parameters.size(); ++i)
        bindVariant(walk, static_cast<int>(i) + 1, parameters[i]);
    auto k = kept.begin();
    int rc;
    while ((rc = sqlite3_step(walk)) == SQLITE_ROW) {
        const std::int64_t row = sqlite3_column_int64(walk, 0);
        k = std::lower_bound(k, kept.end(), row);
        if (k == kept.end() || *k != row)
            rows->push_back(row);
    }
    if (rc != SQLITE_DONE) {
        *error = connection->lastError();
        return false;
    }
    return true;
}

// Runs `sql` (its ?1 the row id) once for each row.
SetResult runForRows(Table& table, const std::string& sql, const std::vector<std::int64_t>& rows) {
    SetResult result;
    for (const std::int64_t row : rows) {
        const SetResult one =
            run(table, sql, [row](sqlite3_stmt* s) { sqlite3_bind_int64(s, 1, row); }, 2, {});
        if (!one.ok())
            return one;
        result.records += one.records;
    }
    return result;
}
} // namespace

SetResult removeWhereExcept(Table& table, const std::string& condition,
                            const std::vector<QVariant>& parameters, const std::vector<std::int64_t>& kept) {
    SetResult result;
    std::vector<std::int64_t> doomed;
    if (!rowsExcept(table, condition, parameters, kept, &doomed, &result.error))
        return result;
    return runForRows(table, "DELETE FROM " + qualifiedName(table) + " WHERE rowid = ?1 AND \"_hold\" = ''",
                      doomed);
}

SetResult putIntegerWhereExcept(Table& table, const char* field, std::int64_t value,
                                const std::string& condition, const std::vector<QVariant>& parameters,
                                const std::vector<std::int64_t>& kept) {
    const int f = Record(table.def()).field(field);
    const std::string column = schema::quoted(table.def().fields[static_cast<size_t>(f)].name);
    SetResult result;
    std::vector<std::int64_t> rows;
    if (!rowsExcept(table, "(" + condition + ") AND " + column + " IS NOT " + std::to_string(value),
                    parameters, kept, &rows, &result.error))
        return result;
    // The revision goes up as with every write (see putIntegerWhere).
    return runForRows(table,
                      "UPDATE " + qualifiedName(table) + " SET " + column + " = " + std::to_string(value) +
                          ", \"_rev\" = \"_rev\" + 1 WHERE rowid = ?1 AND \"_hold\" = ''",
                      rows);
}

Status putChanged(Table& table, const Record& read) {
    Record& record = table.rec();
    const TableDef& def = table.def();
    Connection* connection = table.connection();
    if (!connection || record.rowId() == 0 || record.rowId() != read.rowId() ||
        record.revision() != read.revision())
        return table.put();
    const std::vector<int> changed = record.fieldsDifferingFrom(read);
    if (changed.empty())
        return Status::Ok;
    std::string columns;
    int count = 0;
    for (const int f : changed) {
        const FieldDef& field = def.fields[static_cast<size_t>(f)];
        columns += (count++ ? ", " : "") + schema::quoted(field.name);
        if (schema::isShadowed(def, f)) {
            columns += ", " + schema::quoted(schema::shadowColumn(field));
            ++count;
        }
    }
    std::string sql = "UPDATE " + qualifiedName(table) + " SET (" + columns + ") = (";
    for (int i = 0; i < count; ++i)
        sql += i ? ", ?" : "?";
    sql += "), \"_rev\" = \"_rev\" + 1 WHERE rowid = ?" + std::to_string(count + 1) + " AND \"_rev\" = ?" +
           std::to_string(count + 2) + " AND \"_hold\" = ''";
    StoreError error;
    sqlite3_stmt* statement = connection->statement(sql, &error);
    if (!statement)
        return table.put();
    {
        StatementReset reset(statement);
        int next = 1;
        for (const int f : changed) {
            rowcodec::bindField(statement, next++, record, f);
            if (schema::isShadowed(def, f))
                rowcodec::bindFolded(statement, next++, record, f);
        }
        sqlite3_bind_int64(statement, next, record.rowId());
        sqlite3_bind_int64(statement, next + 1, record.revision());
        if (sqlite3_step(statement) != SQLITE_DONE || sqlite3_changes(connection->handle()) != 1)
            return table.put();
    }
    record.setOrigin(record.rowId(), record.revision() + 1);
    Store::noteWrite();
    return Status::Ok;
}

namespace {
// Runs the statements in order inside the table's current transaction; one outside a transaction is
// refused, since the index would stay out of step should the writer stop half-way.
SetResult runInTransaction(Table& table, const std::vector<std::string>& statements) {
    SetResult result;
    Connection* connection = table.connection();
    if (!connection) {
        result.error = {ErrorCode::FileNotOpen, errorText(ErrorCode::FileNotOpen), {}, {}};
        return result;
    }
    if (sqlite3_get_autocommit(connection->handle())) {
        result.error = {ErrorCode::FileSystemError,
                        errorText(ErrorCode::FileSystemError),
                        QStringLiteral("índice de nomes fora de uma transação"),
                        {}};
        return result;
    }
    for (const std::string& sql : statements)
        if (!connection->exec(sql, &result.error))
            return result;
    return result;
}
} // namespace

SetResult suspendNameIndex(Table& table) {
    return runInTransaction(table, schema::suspendSearchIndexSql(table.def(), table.schemaName()));
}

SetResult rebuildNameIndex(Table& table) {
    return runInTransaction(table, schema::refillSearchIndexSql(table.def(), table.schemaName()));
}

namespace {
SetResult keyIndexes(Table& table, const std::vector<std::string>& keys, bool build) {
    const std::string name =
        schema::quoted(table.schemaName()) + "." + schema::quoted(table.def().tableName().toStdString());
    std::vector<std::string> statements;
    for (const std::string& keyName : keys) {
        const int index = table.def().keyIndex(keyName);
        if (index < 0) {
            SetResult unknown;
            unknown.error = {ErrorCode::InvalidFileName,
                             QStringLiteral("Chave desconhecida: %1").arg(QString::fromStdString(keyName)),
                             {},
                             {}};
            return unknown;
        }
        const KeyDef& key = table.def().keys[static_cast<size_t>(index)];
        if (std::string sql = build ? schema::createKeyIndexSql(table.def(), key, name)
                                    : schema::dropKeyIndexSql(table.def(), key, name);
            !sql.empty())
            statements.push_back(std::move(sql));
    }
    return runInTransaction(table, statements);
}
} // namespace

SetResult suspendKeys(Table& table, const std::vector<std::string>& keys) {
    return keyIndexes(table, keys, false);
}

SetResult rebuildKeys(Table& table, const std::vector<std::string>& keys) {
    return keyIndexes(table, keys, true);
}

} // namespace qav
