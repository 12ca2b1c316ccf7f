#include "store/core/Table.h"

#include "store/core/BindVariant.h"
#include "store/core/DecimalCollation.h"
#include "store/core/DecimalCondition.h"
#include "store/core/ProcessInfo.h"
#include "store/core/RowCodec.h"
#include "store/core/TableSchema.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <sqlite3.h>

namespace qav {

namespace {

struct Term {
    std::string expression;
    bool descending;
};

// "Comes after (or at) the values ?first.. in key order" for terms sorted in the given directions.
// Plain row values when every term sorts ascending (SQLite turns them into an index range scan);
// the expanded form otherwise.
std::string compareInKeyOrder(const std::vector<Term>& terms, int first, bool after, bool orEqual) {
    const auto parameter = [first](size_t i) { return "?" + std::to_string(first + static_cast<int>(i)); };
    bool allAscending = true;
    for (const Term& t : terms)
        allAscending = allAscending && !t.descending;
    if (allAscending || terms.size() == 1) {
        const bool flip = terms.size() == 1 && terms[0].descending;
        std::string op = (after != flip) ? ">" : "<";
        if (orEqual)
            op += "=";
        std::string left = "(", right = "(";
        for (size_t i = 0; i < terms.size(); ++i) {
            left += (i ? ", " : "") + terms[i].expression;
            right += (i ? ", " : "") + parameter(i);
        }
        return left + ") " + op + " " + right + ")";
    }
    std::string sql = "(";
    for (size_t i = 0; i < terms.size(); ++i) {
        if (i)
            sql += " OR ";
        sql += "(";
        for (size_t j = 0; j < i; ++j)
            sql += terms[j].expression + " = " + parameter(j) + " AND ";
        const bool greater = after != terms[i].descending;
        sql += terms[i].expression + (greater ? " > " : " < ") + parameter(i) + ")";
    }
    if (orEqual) {
        sql += " OR (";
        for (size_t j = 0; j < terms.size(); ++j)
            sql += (j ? " AND " : "") + terms[j].expression + " = " + parameter(j);
        sql += ")";
    }
    return sql + ")";
}

} // namespace

Table::Table(Store& store, const TableDef& def) : m_store(&store), m_def(&def), m_record(def) {
    m_selectColumns = "rowid, \"_rev\", ";
    for (size_t i = 0; i < def.fields.size(); ++i)
        m_selectColumns += (i ? ", " : "") + schema::quoted(def.fields[i].name);
}

Table::Table(Store& store, std::string_view name)
    : Table(store, [name]() -> const TableDef& {
          const TableDef* def = findTable(name);
          if (!def)
              throw std::invalid_argument("tabela desconhecida: " + std::string(name));
          return *def;
      }()) {}

Table::~Table() {
    while (m_openCount > 0)
        close();
}

bool Table::open() {
    if (m_openCount == 0) {
        StoreError error;
        m_ownConnection = m_store->acquire(*m_def, &error);
        if (!m_ownConnection) {
            fail(error);
            return false;
        }
        m_connection = m_ownConnection;
        m_schema = "main";
    }
    ++m_openCount;
    m_error = {};
    return true;
}

void Table::close() {
    if (m_openCount == 0)
        return;
    if (--m_openCount > 0)
        return;
    release();
    if (m_batchStarted)
        rollbackBatch();
    m_walk = Walk();
    dropSimilar();
    m_cache.clear();
    m_cacheConnection = nullptr;
    m_connection = nullptr;
    m_ownConnection = nullptr;
    m_store->release(*m_def);
}

Status Table::fail(StoreError error) {
    m_error = std::move(error);
    return Status::Error;
}

Status Table::failFromConnection() {
    return fail(m_connection->lastError());
}

bool Table::ensureOpen() {
    if (m_connection)
        return true;
    fail({ErrorCode::FileNotOpen, errorText(ErrorCode::FileNotOpen), {}, {}});
    return false;
}

std::string Table::qualifiedName() const {
    return schema::quoted(m_schema) + "." + schema::quoted(m_def->tableName().toStdString());
}

const KeyDef* Table::findKey(std::string_view key) {
    const int index = m_def->keyIndex(key);
    if (index < 0) {
        fail({ErrorCode::InvalidFileName,
              QStringLiteral("Chave desconhecida: %1")
                  .arg(QString::fromUtf8(key.data(), static_cast<int>(key.size()))),
              {},
              {}});
        return nullptr;
    }
    return &m_def->keys[static_cast<size_t>(index)];
}

void Table::route(Connection* connection, const std::string& schemaName) {
    dropSimilar();
    m_connection = connection;
    m_schema = schemaName;
    m_walk.page.clear();
}

void Table::unroute() {
    dropSimilar();
    m_connection = m_ownConnection;
    m_schema = "main";
    m_walk.page.clear();
}

sqlite3_stmt* Table::cached(int slot, const std::function<std::string()>& buildSql) {
    if (m_cacheConnection != m_connection || m_cacheSchema != m_schema) {
        m_cache.assign(m_cache.size(), nullptr);
        m_cacheConnection = m_connection;
        m_cacheSchema = m_schema;
    }
    if (slot >= static_cast<int>(m_cache.size()))
        m_cache.resize(static_cast<size_t>(slot) + 1, nullptr);
    sqlite3_stmt*& statement = m_cache[static_cast<size_t>(slot)];
    if (statement) {
        sqlite3_reset(statement);
        return statement;
    }
    statement = m_connection->statement(buildSql(), &m_error);
    return statement;
}

std::string Table::keyEquals(const KeyDef& key) const {
    std::string sql;
    for (size_t i = 0; i < key.components.size(); ++i)
        sql += (i ? " AND " : "") + schema::keyColumn(*m_def, key, key.components[i]) + " = ?" +
               std::to_string(i + 1);
    const std::string opt = schema::optCondition(*m_def, key);
    return opt.empty() ? sql : sql + " AND " + opt;
}

std::string Table::firstOfKey(const KeyDef& key) {
    // A unique key's columns are never null, so its equality holds one row at most; the rowid order
    // would make SQLite sort that one row in a temporary tree (a partial index does not promise it).
    return key.unique ? " LIMIT 1" : " ORDER BY rowid LIMIT 1";
}

Status Table::get(std::string_view keyName) {
    if (!ensureOpen())
        return Status::Error;
    const KeyDef* key = findKey(keyName);
    if (!key)
        return Status::Error;
    const int keyIndex = static_cast<int>(key - m_def->keys.data());
    sqlite3_stmt* statement = cached(GetShape + keyIndex, [&] {
        return "SELECT " + m_selectColumns + " FROM " + qualifiedName() + " WHERE " + keyEquals(*key) +
               firstOfKey(*key);
    });
    if (!statement)
        return fail(m_error);
    StatementReset reset(statement);
    const Status found = stepByKey(statement, *key);
    if (found == Status::Ok)
        rowcodec::readRecord(statement, 2, m_record);
    return found;
}

Status Table::getFields(std::string_view keyName, const std::vector<int>& fields) {
    if (!ensureOpen())
        return Status::Error;
    const KeyDef* key = findKey(keyName);
    if (!key)
        return Status::Error;
    // A step reads the same fields of every record it brings: their statement's text is made once.
    if (m_getFieldsKey != key || m_getFieldsList != fields || m_getFieldsSchema != m_schema) {
        std::string sql = "SELECT rowid, \"_rev\"";
        for (const int f : fields)
            sql += ", " + schema::quoted(m_def->fields[static_cast<size_t>(f)].name);
        m_getFieldsSql = sql + " FROM " + qualifiedName() + " WHERE " + keyEquals(*key) + firstOfKey(*key);
        m_getFieldsKey = key;
        m_getFieldsList = fields;
        m_getFieldsSchema = m_schema;
    }
    sqlite3_stmt* statement = m_connection->statement(m_getFieldsSql, &m_error);
    if (!statement)
        return fail(m_error);
    StatementReset reset(statement);
    const Status found = stepByKey(statement, *key);
    if (found == Status::Ok)
        rowcodec::readFields(statement, 2, m_record, fields);
    return found;
}

Status Table::stepByKey(sqlite3_stmt* statement, const KeyDef& key) {
    for (size_t i = 0; i < key.components.size(); ++i)
        rowcodec::bindKeyValue(statement, static_cast<int>(i + 1), m_record, key, key.components[i]);
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) {
        m_error = {ErrorCode::RecordNotFound, errorText(ErrorCode::RecordNotFound), {}, {}};
        return Status::NotFound;
    }
    if (rc != SQLITE_ROW)
        return failFromConnection();
    m_record.setOrigin(sqlite3_column_int64(statement, 0), sqlite3_column_int64(statement, 1));
    m_error = {};
    return Status::Ok;
}

std::optional<std::int64_t> Table::identicalRowId(std::string_view keyName, const std::vector<int>& varying) {
    if (!ensureOpen())
        return std::nullopt;
    const KeyDef* key = findKey(keyName);
    if (!key)
        return std::nullopt;
    const int components = static_cast<int>(key->components.size());
    if (!m_identicalStatement || m_identicalKey != key) {
        dropIdentical();
        // The key finds the candidates through its index; the row value then compares every stored
        // column, shadows included, byte for byte with what the buffer would store.
        std::string sql = "SELECT rowid FROM " + qualifiedName() + " WHERE " + keyEquals(*key);
        std::vector<std::string> stored;
        for (const FieldDef& field : m_def->fields)
            stored.push_back(schema::quoted(field.name));
        for (const int f : schema::shadowedFields(*m_def))
            stored.push_back(schema::quoted(schema::shadowColumn(m_def->fields[static_cast<size_t>(f)])));
        std::string columns, values;
        for (size_t i = 0; i < stored.size(); ++i) {
            columns += (i ? ", " : "") + stored[i] + " COLLATE BINARY";
            values += (i ? ", ?" : "?") + std::to_string(components + 1 + static_cast<int>(i));
        }
        sql += " AND \"_hold\" = '' AND (" + columns + ") IS (" + values + ")" + firstOfKey(*key);
        if (sqlite3_prepare_v3(m_connection->handle(), sql.c_str(), static_cast<int>(sql.size()),
                               SQLITE_PREPARE_PERSISTENT, &m_identicalStatement, nullptr) != SQLITE_OK) {
            m_identicalStatement = nullptr;
            failFromConnection();
            return std::nullopt;
        }
        m_identicalKey = key;
    }
    sqlite3_stmt* statement = m_identicalStatement;
    StatementReset reset(statement);
    for (int i = 0; i < components; ++i)
        rowcodec::bindKeyValue(statement, i + 1, m_record, *key, key->components[static_cast<size_t>(i)]);
    if (m_identicalFields != varying) {
        rowcodec::bindRecord(statement, components + 1, m_record, &m_identicalTexts);
        m_identicalFields = varying;
    } else {
        rowcodec::bindFields(statement, components + 1, m_record, varying, &m_identicalTexts);
    }
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        failFromConnection();
        return std::nullopt;
    }
    m_error = {};
    return rc == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
}

void Table::dropIdentical() {
    sqlite3_finalize(m_identicalStatement);
    m_identicalStatement = nullptr;
    m_identicalKey = nullptr;
    m_identicalFields.clear();
}

const KeyDef* Table::keyForWalk(std::string_view keyName) {
    return ensureOpen() ? findKey(keyName) : nullptr;
}

Status Table::seek(std::string_view keyName, int components) {
    const KeyDef* key = keyForWalk(keyName);
    if (!key)
        return Status::Error;
    if (key->runtime) // the run-time key has no values to position on: it starts at its beginning
        return walkFromEnd(*key, true);
    const int all = static_cast<int>(key->components.size());
    return startWalk(static_cast<int>(key - m_def->keys.data()), false,
                     components < 0 || components > all ? all : components, true);
}

Status Table::seekFirst(std::string_view keyName) {
    const KeyDef* key = keyForWalk(keyName);
    return key ? walkFromEnd(*key, true) : Status::Error;
}

Status Table::seekLast(std::string_view keyName) {
    const KeyDef* key = keyForWalk(keyName);
    return key ? walkFromEnd(*key, false) : Status::Error;
}

Status Table::walkFromEnd(const KeyDef& key, bool fromStart) {
    if (!key.runtime)
        return startWalk(static_cast<int>(&key - m_def->keys.data()), true, 0, fromStart);
    m_walk.key = -3;
    m_walk.runtimeIndex = fromStart ? -1 : static_cast<std::int64_t>(m_walk.runtimeRows.size());
    m_walk.forward = fromStart;
    return Status::Ok;
}

Status Table::seekPhysical() {
    if (!ensureOpen())
        return Status::Error;
    return startWalk(-1, true, 0, true);
}

Status Table::startWalk(int key, bool unbounded, int components, bool forward) {
    std::vector<std::int64_t> runtimeRows = std::move(m_walk.runtimeRows);
    m_walk = Walk();
    m_walk.runtimeRows = std::move(runtimeRows);
    m_walk.key = key;
    m_walk.unbounded = unbounded;
    m_walk.inclusive = true;
    m_walk.components = components;
    m_walk.forward = forward;
    if (!unbounded)
        m_walk.position = m_record;
    // seekLast walks backwards from the end; next() after it has nothing.
    m_walk.pageAtEnd = false;
    return Status::Ok;
}

Status Table::next() {
    return step(true);
}
Status Table::previous() {
    return step(false);
}

Status Table::step(bool forward) {
    if (!ensureOpen())
        return Status::Error;
    if (m_walk.key == -2)
        return fail({ErrorCode::RecordNotAvailable, QStringLiteral("Nenhuma sequência iniciada"), {}, {}});
    if (m_walk.key == -3)
        return stepRuntime(forward);
    const bool stale = m_walk.pageGeneration != Store::writeGeneration();
    if (forward != m_walk.forward || stale) {
        m_walk.page.clear();
        m_walk.pageAtEnd = false;
        m_walk.forward = forward;
    }
    if (m_walk.page.empty()) {
        if (m_walk.pageAtEnd)
            return Status::EndOfFile;
        const Status fetched = fetchPage(forward);
        if (fetched != Status::Ok)
            return fetched;
        if (m_walk.page.empty()) {
            m_error = {ErrorCode::RecordNotAvailable, errorText(ErrorCode::RecordNotAvailable), {}, {}};
            return Status::EndOfFile;
        }
    }
    m_record = std::move(m_walk.page.front());
    m_walk.page.pop_front();
    // The walk goes on after this record, whatever the caller does with the buffer: keep the values
    // of the key's components (copying only those keeps long walks fast).
    if (!m_walk.position)
        m_walk.position.emplace(*m_def);
    if (m_walk.key >= 0)
        for (const KeyComponent& c : m_def->keys[static_cast<size_t>(m_walk.key)].components)
            m_walk.position->slot(m_def->slotOffset[static_cast<size_t>(c.field)]) =
                m_record.slot(m_def->slotOffset[static_cast<size_t>(c.field)]);
    m_walk.unbounded = false;
    m_walk.inclusive = false;
    m_walk.haveRowId = true;
    m_walk.rowId = m_record.rowId();
    m_error = {};
    return Status::Ok;
}

Status Table::fetchPage(bool forward) {
    std::vector<Term> terms;
    const KeyDef* key = m_walk.key >= 0 ? &m_def->keys[static_cast<size_t>(m_walk.key)] : nullptr;
    if (key)
        for (const KeyComponent& c : key->components)
            terms.push_back({schema::keyColumn(*m_def, *key, c), c.descending});

    std::string where;
    const auto addCondition = [&where](const std::string& condition) {
        if (condition.empty())
            return;
        where += where.empty() ? " WHERE " : " AND ";
        where += condition;
    };
    // The filter comes first so that its plain ? parameters take the numbers 1..n.
    if (!m_filter.empty())
        addCondition("(" + m_filter + ")");
    if (key)
        addCondition(schema::optCondition(*m_def, *key));
    const int first = static_cast<int>(m_filterParameters.size()) + 1;
    std::vector<Term> positionTerms;
    if (!m_walk.unbounded) {
        if (m_walk.inclusive) {
            positionTerms.assign(terms.begin(), terms.begin() + m_walk.components);
        } else {
            positionTerms = terms;
            positionTerms.push_back({"rowid", false});
        }
        if (!positionTerms.empty())
            addCondition(compareInKeyOrder(positionTerms, first, forward, m_walk.inclusive));
    }
    std::string order = " ORDER BY ";
    for (const Term& t : terms)
        order += t.expression + ((t.descending != !forward) ? " DESC, " : ", ");
    order += forward ? "rowid" : "rowid DESC";
    const std::string sql = "SELECT " + m_selectColumns + " FROM " + qualifiedName() + where + order +
                            " LIMIT " + std::to_string(m_pageSize);

    sqlite3_stmt* statement = m_connection->statement(sql, &m_error);
    if (!statement)
        return fail(m_error);
    StatementReset reset(statement);
    for (size_t i = 0; i < m_filterParameters.size(); ++i)
        bindVariant(statement, static_cast<int>(i + 1), m_filterParameters[i]);
    if (!m_walk.unbounded && key) {
        const size_t keyTerms =
            m_walk.inclusive ? static_cast<size_t>(m_walk.components) : key->components.size();
        for (size_t i = 0; i < keyTerms; ++i)
            rowcodec::bindKeyValue(statement, first + static_cast<int>(i), *m_walk.position, *key,
                                   key->components[i]);
        if (!m_walk.inclusive)
            sqlite3_bind_int64(statement, first + static_cast<int>(keyTerms), m_walk.rowId);
    } else if (!m_walk.unbounded && !m_walk.inclusive) {
        sqlite3_bind_int64(statement, first, m_walk.rowId); // physical order
    }
    m_walk.pageGeneration = Store::writeGeneration();
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        Record row(*m_def);
        rowcodec::readRecord(statement, 2, row);
        row.setOrigin(sqlite3_column_int64(statement, 0), sqlite3_column_int64(statement, 1));
        m_walk.page.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        return failFromConnection();
    // A short page is the last one: the walk ends when it has been read.
    m_walk.pageAtEnd = static_cast<int>(m_walk.page.size()) < m_pageSize;
    return Status::Ok;
}

Status Table::buildRuntimeKey(const std::vector<KeyComponent>& order) {
    if (!ensureOpen())
        return Status::Error;
    std::string sql = "SELECT rowid FROM " + qualifiedName();
    if (!m_filter.empty())
        sql += " WHERE (" + m_filter + ")";
    sql += " ORDER BY ";
    for (const KeyComponent& c : order) {
        const FieldDef& field = m_def->fields.at(static_cast<size_t>(c.field));
        if (field.isText())
            sql += "qav_fold(" + schema::quoted(field.name) + ")";
        else if (field.type == FieldType::Decimal && !field.isArray())
            sql += schema::quoted(field.name) + " COLLATE " + kDecimalCollation; // by value, not as text
        else
            sql += schema::quoted(field.name);
        sql += c.descending ? " DESC, " : ", ";
    }
    sql += "rowid";
    sqlite3_stmt* statement = m_connection->statement(sql, &m_error);
    if (!statement)
        return fail(m_error);
    StatementReset reset(statement);
    for (size_t i = 0; i < m_filterParameters.size(); ++i)
        bindVariant(statement, static_cast<int>(i + 1), m_filterParameters[i]);
    std::vector<std::int64_t> rows;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        rows.push_back(sqlite3_column_int64(statement, 0));
    if (rc != SQLITE_DONE)
        return failFromConnection();
    m_walk = Walk();
    m_walk.key = -3;
    m_walk.runtimeRows = std::move(rows);
    return Status::Ok;
}

Status Table::stepRuntime(bool forward) {
    const auto size = static_cast<std::int64_t>(m_walk.runtimeRows.size());
    while (true) {
        m_walk.runtimeIndex += forward ? 1 : -1;
        if (m_walk.runtimeIndex < 0 || m_walk.runtimeIndex >= size) {
            m_walk.runtimeIndex = std::clamp<std::int64_t>(m_walk.runtimeIndex, -1, size);
            return Status::EndOfFile;
        }
        const Status status =
            fetchRow(m_walk.runtimeRows[static_cast<size_t>(m_walk.runtimeIndex)], m_record);
        if (status != Status::NotFound) // a record deleted since the key was built is passed over
            return status;
    }
}

Status Table::getRow(std::int64_t rowId) {
    if (!ensureOpen())
        return Status::Error;
    const Status found = fetchRow(rowId, m_record);
    if (found == Status::NotFound)
        m_error = {ErrorCode::RecordNotFound, errorText(ErrorCode::RecordNotFound), {}, {}};
    else if (found == Status::Ok)
        m_error = {};
    return found;
}

Status Table::fetchRow(std::int64_t rowId, Record& into) {
    sqlite3_stmt* statement = cached(FetchRowShape, [this] {
        return "SELECT " + m_selectColumns + " FROM " + qualifiedName() + " WHERE rowid = ?1";
    });
    if (!statement)
        return fail(m_error);
    StatementReset reset(statement);
    sqlite3_bind_int64(statement, 1, rowId);
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE)
        return Status::NotFound;
    if (rc != SQLITE_ROW)
        return failFromConnection();
    rowcodec::readRecord(statement, 2, into);
    into.setOrigin(sqlite3_column_int64(statement, 0), sqlite3_column_int64(statement, 1));
    return Status::Ok;
}

void Table::setFilter(std::string condition, std::vector<QVariant> parameters) {
    m_filter = condition.empty() ? std::string() : withDecimalOrder(*m_def, condition);
    m_filterParameters = std::move(parameters);
    m_walk.page.clear();
    m_walk.pageAtEnd = false;
}

std::string Table::insertSql() const {
    const int columns = schema::storedColumnCount(*m_def);
    std::string sql = "INSERT INTO " + qualifiedName() + " (" + schema::columnList(*m_def) + ") VALUES (";
    for (int i = 0; i < columns; ++i)
        sql += i ? ", ?" : "?";
    return sql + ")";
}

Status Table::add() {
    if (!ensureOpen())
        return Status::Error;
    sqlite3_stmt* statement = cached(AddShape, [this] { return insertSql(); });
    if (!statement)
        return fail(m_error);
    StatementReset reset(statement);
    rowcodec::bindRecord(statement, 1, m_record);
    return added(statement);
}

Status Table::addSimilar(const std::vector<int>& varying) {
    if (!ensureOpen())
        return Status::Error;
    // A statement of this cursor's own, not the connection's shared one: its bindings are the
    // series' blank values, which no other add may replace.
    if (!m_similarStatement) {
        const std::string sql = insertSql();
        if (sqlite3_prepare_v3(m_connection->handle(), sql.c_str(), static_cast<int>(sql.size()),
                               SQLITE_PREPARE_PERSISTENT, &m_similarStatement, nullptr) != SQLITE_OK) {
            m_similarStatement = nullptr;
            return failFromConnection();
        }
        m_similarFields.clear();
    }
    sqlite3_stmt* statement = m_similarStatement;
    StatementReset reset(statement);
    if (m_similarFields != varying) {
        rowcodec::bindRecord(statement, 1, m_record, &m_similarTexts);
        m_similarFields = varying;
    } else {
        rowcodec::bindFields(statement, 1, m_record, varying, &m_similarTexts);
    }
    return added(statement);
}

void Table::dropSimilar() {
    sqlite3_finalize(m_similarStatement);
    m_similarStatement = nullptr;
    m_similarFields.clear();
    dropIdentical();
}

Status Table::added(sqlite3_stmt* statement) {
    if (sqlite3_step(statement) != SQLITE_DONE)
        return failFromConnection();
    m_record.setOrigin(sqlite3_last_insert_rowid(m_connection->handle()), 1);
    Store::noteWrite();
    m_error = {};
    return Status::Ok;
}

Status Table::put() {
    return write({});
}

Status Table::putFields(const std::vector<int>& fields) {
    if (fields.empty()) {
        m_error = {};
        return Status::Ok;
    }
    return write(fields);
}

Status Table::putFields(std::initializer_list<const char*> fields) {
    std::vector<int> indices;
    indices.reserve(fields.size());
    for (const char* name : fields)
        indices.push_back(m_record.field(name));
    return write(indices);
}

// UPDATE of the given fields (all when empty) and of the shadow columns of those among them, guarded by
// the revision read and by holds of other programs.
std::string Table::updateSql(const std::vector<int>& fields) const {
    std::string columns;
    int count = 0;
    if (fields.empty()) {
        columns = schema::columnList(*m_def);
        count = schema::storedColumnCount(*m_def);
    } else {
        for (const int f : fields) {
            columns += (count++ ? ", " : "") + schema::quoted(m_def->fields[static_cast<size_t>(f)].name);
            if (schema::isShadowed(*m_def, f)) {
                columns += ", " + schema::quoted(schema::shadowColumn(m_def->fields[static_cast<size_t>(f)]));
                ++count;
            }
        }
    }
    std::string sql = "UPDATE " + qualifiedName() + " SET (" + columns + ") = (";
    for (int i = 0; i < count; ++i)
        sql += i ? ", ?" : "?";
    const std::string p = std::to_string(count + 1);
    const std::string r = std::to_string(count + 2);
    const std::string h = std::to_string(count + 3);
    return sql + "), \"_rev\" = \"_rev\" + 1, \"_hold\" = '' WHERE rowid = ?" + p + " AND \"_rev\" = ?" + r +
           " AND (\"_hold\" = '' OR \"_hold\" = ?" + h + ")";
}

Status Table::write(const std::vector<int>& fields) {
    if (!ensureOpen())
        return Status::Error;
    if (m_record.rowId() == 0)
        return fail({ErrorCode::RecordNotAvailable, errorText(ErrorCode::RecordNotAvailable), {}, {}});
    for (int attempt = 0; attempt < 2; ++attempt) {
        // The whole record through the table's own statement; a few fields through the connection's
        // cache of statements, one per set of fields.
        sqlite3_stmt* statement = fields.empty() ? cached(PutShape, [this] { return updateSql({}); })
                                                 : m_connection->statement(updateSql(fields), &m_error);
        if (!statement)
            return fail(m_error);
        StatementReset reset(statement);
        int next = 1;
        if (fields.empty()) {
            next = rowcodec::bindRecord(statement, 1, m_record);
        } else {
            for (const int f : fields) {
                rowcodec::bindField(statement, next++, m_record, f);
                if (schema::isShadowed(*m_def, f))
                    rowcodec::bindFolded(statement, next++, m_record, f);
            }
        }
        sqlite3_bind_int64(statement, next, m_record.rowId());
        sqlite3_bind_int64(statement, next + 1, m_record.revision());
        const std::string token = holdToken();
        sqlite3_bind_text(statement, next + 2, token.c_str(), static_cast<int>(token.size()),
                          SQLITE_TRANSIENT);
        if (sqlite3_step(statement) != SQLITE_DONE)
            return failFromConnection();
        if (sqlite3_changes(m_connection->handle()) == 1) {
            m_record.setOrigin(m_record.rowId(), m_record.revision() + 1);
            if (m_heldRow == m_record.rowId())
                m_heldRow = 0;
            Store::noteWrite();
            m_error = {};
            return Status::Ok;
        }
        // Nothing written: find out why.
        const std::string probe = "SELECT \"_rev\", \"_hold\" FROM " + qualifiedName() + " WHERE rowid = ?1";
        sqlite3_stmt* check = m_connection->statement(probe, &m_error);
        if (!check)
            return fail(m_error);
        StatementReset resetCheck(check);
        sqlite3_bind_int64(check, 1, m_record.rowId());
        if (sqlite3_step(check) != SQLITE_ROW || sqlite3_column_int64(check, 0) != m_record.revision())
            return fail({ErrorCode::RecordChangedByAnotherStation,
                         errorText(ErrorCode::RecordChangedByAnotherStation),
                         {},
                         {}});
        const std::string holder = reinterpret_cast<const char*>(sqlite3_column_text(check, 1));
        const std::int64_t holderPid = std::stoll(holder.substr(0, holder.find(':')));
        if (processIsRunning(holderPid) || attempt > 0)
            return fail({ErrorCode::RecordHeld, errorText(ErrorCode::RecordHeld), {}, {}});
        // A hold left by a program that ended: clear it and write again.
        const std::string clearSql = "UPDATE " + qualifiedName() + " SET \"_hold\" = '' WHERE rowid = ?1";
        if (sqlite3_stmt* clearHold = m_connection->statement(clearSql, &m_error)) {
            StatementReset resetClear(clearHold);
            sqlite3_bind_int64(clearHold, 1, m_record.rowId());
            sqlite3_step(clearHold);
        }
    }
    return Status::Error;
}

Status Table::remove() {
    if (!ensureOpen())
        return Status::Error;
    if (m_record.rowId() == 0)
        return fail({ErrorCode::RecordNotAvailable, errorText(ErrorCode::RecordNotAvailable), {}, {}});
    sqlite3_stmt* statement = cached(DeleteShape, [this] {
        return "DELETE FROM " + qualifiedName() + " WHERE rowid = ?1 AND \"_rev\" = ?2";
    });
    if (!statement)
        return fail(m_error);
    StatementReset reset(statement);
    sqlite3_bind_int64(statement, 1, m_record.rowId());
    sqlite3_bind_int64(statement, 2, m_record.revision());
    if (sqlite3_step(statement) != SQLITE_DONE)
        return failFromConnection();
    if (sqlite3_changes(m_connection->handle()) != 1)
        return fail({ErrorCode::RecordChangedByAnotherStation,
                     errorText(ErrorCode::RecordChangedByAnotherStation),
                     {},
                     {}});
    if (m_heldRow == m_record.rowId())
        m_heldRow = 0;
    m_record.setOrigin(0, 0);
    Store::noteWrite();
    m_error = {};
    return Status::Ok;
}

std::optional<std::int64_t> Table::count() {
    if (!ensureOpen())
        return std::nullopt;
    sqlite3_stmt* statement =
        cached(CountShape, [this] { return "SELECT count(*) FROM " + qualifiedName(); });
    if (!statement)
        return std::nullopt;
    StatementReset reset(statement);
    if (sqlite3_step(statement) != SQLITE_ROW) {
        failFromConnection();
        return std::nullopt;
    }
    return sqlite3_column_int64(statement, 0);
}

bool Table::beginBatch() {
    if (!ensureOpen())
        return false;
    if (m_connection->inTransaction())
        return true; // already inside a batch or a transaction: it commits there
    StoreError error;
    if (!m_connection->begin(&error)) {
        fail(error);
        return false;
    }
    m_batchStarted = true;
    return true;
}

bool Table::endBatch() {
    if (!m_batchStarted)
        return true;
    m_batchStarted = false;
    StoreError error;
    if (m_connection->commit(&error))
        return true;
    fail(error);
    return false;
}

bool Table::rollbackBatch() {
    if (!m_batchStarted)
        return true;
    m_batchStarted = false;
    StoreError error;
    if (m_connection->rollback(&error))
        return true;
    fail(error);
    return false;
}

std::string Table::holdToken() const {
    return std::to_string(currentProcessId()) + ":" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
}

Status Table::hold(int waitMs) {
    if (!ensureOpen())
        return Status::Error;
    if (m_record.rowId() == 0)
        return fail({ErrorCode::RecordNotAvailable, errorText(ErrorCode::RecordNotAvailable), {}, {}});
    const std::string token = holdToken();
    const std::string take = "UPDATE " + qualifiedName() +
                             " SET \"_hold\" = ?1 WHERE rowid = ?2 AND (\"_hold\" = '' OR \"_hold\" = ?1 OR "
                             "\"_hold\" = ?3)";
    const std::string probe = "SELECT \"_hold\" FROM " + qualifiedName() + " WHERE rowid = ?1";
    QElapsedTimer timer;
    timer.start();
    std::string staleHolder = "\x01"; // matches no real holder
    while (true) {
        sqlite3_stmt* statement = m_connection->statement(take, &m_error);
        if (!statement)
            return fail(m_error);
        {
            StatementReset reset(statement);
            sqlite3_bind_text(statement, 1, token.c_str(), static_cast<int>(token.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(statement, 2, m_record.rowId());
            sqlite3_bind_text(statement, 3, staleHolder.c_str(), static_cast<int>(staleHolder.size()),
                              SQLITE_TRANSIENT);
            if (sqlite3_step(statement) != SQLITE_DONE)
                return failFromConnection();
        }
        if (sqlite3_changes(m_connection->handle()) == 1) {
            m_heldRow = m_record.rowId();
            m_error = {};
            return Status::Ok;
        }
        sqlite3_stmt* check = m_connection->statement(probe, &m_error);
        if (!check)
            return fail(m_error);
        StatementReset resetCheck(check);
        sqlite3_bind_int64(check, 1, m_record.rowId());
        if (sqlite3_step(check) != SQLITE_ROW)
            return fail({ErrorCode::RecordChangedByAnotherStation,
                         errorText(ErrorCode::RecordChangedByAnotherStation),
                         {},
                         {}});
        const std::string holder = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        if (!processIsRunning(std::stoll(holder.substr(0, holder.find(':'))))) {
            staleHolder = holder; // left by a program that ended: take it over
            continue;
        }
        if (timer.elapsed() >= waitMs)
            return fail({ErrorCode::RecordHeld, errorText(ErrorCode::RecordHeld), {}, {}});
        QThread::msleep(100);
    }
}

void Table::release() {
    if (m_heldRow == 0 || !m_connection)
        return;
    const std::string sql =
        "UPDATE " + qualifiedName() + " SET \"_hold\" = '' WHERE rowid = ?1 AND \"_hold\" = ?2";
    StoreError error;
    if (sqlite3_stmt* statement = m_connection->statement(sql, &error)) {
        StatementReset reset(statement);
        const std::string token = holdToken();
        sqlite3_bind_int64(statement, 1, m_heldRow);
        sqlite3_bind_text(statement, 2, token.c_str(), static_cast<int>(token.size()), SQLITE_TRANSIENT);
        sqlite3_step(statement);
    }
    m_heldRow = 0;
}

} // namespace qav
