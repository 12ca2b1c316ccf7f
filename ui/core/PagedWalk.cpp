#include "ui/core/PagedWalk.h"

#include "store/core/BindVariant.h"
#include "store/core/DecimalCondition.h"
#include "store/core/TableSchema.h"

#include <algorithm>
#include <cmath>
#include <sqlite3.h>

namespace qav {

PagedWalk::PagedWalk(Store& store, const TableDef& table)
    : m_forward(store, table), m_backward(store, table), m_locator(store, table) {
    m_locator.setPageSize(1);
}

bool PagedWalk::open() {
    if (!m_forward.open()) {
        m_error = m_forward.error();
        return false;
    }
    if (!m_backward.open()) {
        m_error = m_backward.error();
        m_forward.close();
        return false;
    }
    if (!m_locator.open()) {
        m_error = m_locator.error();
        m_forward.close();
        m_backward.close();
        return false;
    }
    return true;
}

void PagedWalk::setFilter(std::string condition, std::vector<QVariant> parameters) {
    m_indexed.reset();
    m_candidates.reset();
    m_inMemory.reset();
    m_filter = std::move(condition);
    m_parameters = std::move(parameters);
    applyFilter(false);
}

void PagedWalk::setListFilter(const ListFilter& filter) {
    setFilter(filter.condition, filter.parameters);
    m_indexed = filter.indexed;
    m_inMemory = filter.inMemory;
    if (m_inMemory)
        m_question = SearchMemory::question(*m_inMemory);
}

void PagedWalk::applyFilter(bool indexed) {
    m_cursorsIndexed = indexed;
    m_forward.setFilter(indexed ? m_indexed->condition : m_filter,
                        indexed ? m_indexed->parameters : m_parameters);
    m_backward.setFilter(indexed ? m_indexed->condition : m_filter,
                         indexed ? m_indexed->parameters : m_parameters);
}

namespace {
// Where the index pays, as measured on 200,000 products: a record found through the index costs a
// read of its own (about four records of a scan), and a page in key order through the index sorts
// every candidate, while the scan in key order stops at the page's last match. So a walk takes the
// index while the candidates are few against the table (a scan would read long before its first
// matches), and a count while they are less than a quarter of it.
std::int64_t walkLimit(std::int64_t tableRows) {
    return std::max<std::int64_t>(
        1000, static_cast<std::int64_t>(std::sqrt(64.0 * static_cast<double>(tableRows))));
}
std::int64_t countLimit(std::int64_t tableRows) {
    return std::max<std::int64_t>(1000, tableRows / 4);
}

bool singleInteger(Connection& connection, const std::string& sql, const std::vector<QVariant>& parameters,
                   std::int64_t* value, StoreError* error) {
    sqlite3_stmt* statement = connection.statement(sql, error);
    if (!statement)
        return false;
    StatementReset reset(statement);
    for (size_t i = 0; i < parameters.size(); ++i)
        bindVariant(statement, static_cast<int>(i + 1), parameters[i]);
    if (sqlite3_step(statement) != SQLITE_ROW) {
        *error = connection.lastError();
        return false;
    }
    *value = sqlite3_column_int64(statement, 0);
    return true;
}
} // namespace

bool PagedWalk::readIndexTerms() {
    if (!m_indexed || m_indexed->terms.empty())
        return true;
    Connection* connection = m_forward.connection();
    if (!connection)
        return true; // not open: the walk reports it
    const std::string& index = m_indexed->termsIndex;
    if (!connection->exec("CREATE VIRTUAL TABLE IF NOT EXISTS temp." + schema::quoted(index + "_termos") +
                              " USING fts5vocab(" + schema::quoted(m_forward.schemaName()) + ", " +
                              schema::quoted(index) + ", row)",
                          &m_error))
        return false;
    sqlite3_stmt* statement = connection->statement(m_indexed->terms, &m_error);
    if (!statement)
        return false;
    StatementReset reset(statement);
    for (size_t i = 0; i < m_indexed->termsParameters.size(); ++i)
        bindVariant(statement, static_cast<int>(i + 1), m_indexed->termsParameters[i]);
    if (sqlite3_step(statement) != SQLITE_ROW) {
        m_error = connection->lastError();
        return false;
    }
    // Two characters begin a few dozen pieces at most; a text that begins more of them (digits and
    // punctuation of every kind) is read faster by the scan than asked of the index piece by piece.
    constexpr std::int64_t kMostTerms = 128;
    if (sqlite3_column_int64(statement, 0) > kMostTerms) {
        m_indexed.reset();
        return true;
    }
    const QString question =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
    for (std::vector<QVariant>* parameters :
         {&m_indexed->parameters, &m_indexed->candidateParameters, &m_indexed->countParameters})
        for (QVariant& parameter : *parameters)
            if (parameter.metaType() == QMetaType::fromType<IndexTerms>())
                parameter = question;
    m_indexed->terms.clear();
    return true;
}

bool PagedWalk::useIndexFor(bool walk, bool* indexed) {
    *indexed = false;
    if (!readIndexTerms())
        return false;
    if (!m_indexed)
        return true;
    Connection* connection = m_forward.connection();
    if (!connection)
        return true; // not open: the walk reports it
    if (!m_candidates) {
        // The rowid of the last record tells the size of the table closely enough, without reading it.
        if (!singleInteger(*connection,
                           "SELECT ifnull(max(rowid), 0) FROM " +
                               schema::quoted(def().tableName().toStdString()),
                           {}, &m_tableRows, &m_error))
            return false;
        // When the index counts the matches by itself, only the walk asks how many there are.
        const std::int64_t limit = m_indexed->count.empty()
                                       ? std::max(walkLimit(m_tableRows), countLimit(m_tableRows))
                                       : walkLimit(m_tableRows);
        std::vector<QVariant> parameters = m_indexed->candidateParameters;
        parameters.emplace_back(static_cast<qlonglong>(limit + 1));
        std::int64_t candidates = 0;
        if (!singleInteger(*connection, m_indexed->candidates, parameters, &candidates, &m_error))
            return false;
        m_candidates = candidates;
    }
    *indexed = *m_candidates <= (walk ? walkLimit(m_tableRows) : countLimit(m_tableRows));
    return true;
}

Status PagedWalk::failWith(const Table& table) {
    m_error = table.error();
    m_atEnd = m_atStart = true;
    return Status::Error;
}

Status PagedWalk::startAtFirst() {
    return begin(true, nullptr, 0);
}

Status PagedWalk::startAt(const Record& values, int components) {
    return begin(false, &values, components);
}

Status PagedWalk::startAtEnd() {
    m_error = {};
    m_memoryWalk = inMemory();
    if (m_memoryWalk)
        return beginInMemory({}, false, true);
    bool indexed = false;
    if (!useIndexFor(true, &indexed)) {
        m_atEnd = m_atStart = true;
        return Status::Error;
    }
    if (indexed != m_cursorsIndexed)
        applyFilter(indexed);
    m_atEnd = true;
    m_atStart = false;
    m_first.reset();
    m_backwardPlaced = true;
    return m_backward.seekLast(m_key) == Status::Ok ? Status::Ok : failWith(m_backward);
}

Status PagedWalk::begin(bool first, const Record* values, int components) {
    m_error = {};
    m_memoryWalk = inMemory();
    if (m_memoryWalk)
        return beginInMemory(first ? Edge{} : Edge{Edge::Seek, *values, components}, first, false);
    bool indexed = false;
    if (!useIndexFor(true, &indexed)) {
        m_atEnd = m_atStart = true;
        return Status::Error;
    }
    if (indexed != m_cursorsIndexed)
        applyFilter(indexed);
    m_atEnd = false;
    m_atStart = first;
    m_first.reset();
    m_backwardPlaced = false;
    Status status;
    if (first) {
        status = m_forward.seekFirst(m_key);
    } else {
        m_forward.rec() = *values;
        status = m_forward.seek(m_key, components);
    }
    return status == Status::Ok ? Status::Ok : failWith(m_forward);
}

Status PagedWalk::positionBackward() {
    m_backwardPlaced = true;
    if (!m_first) {
        m_atStart = true; // nothing read: nothing before either
        return Status::Ok;
    }
    // The first record read is the first in key order with its key values (an equal one added
    // earlier would have come first), so seeking on all of them and stepping once lands on it; the
    // cursor then goes on strictly before it.
    m_backward.rec() = *m_first;
    if (m_backward.seek(m_key) != Status::Ok)
        return failWith(m_backward);
    const Status status = m_backward.next();
    if (status == Status::Error)
        return failWith(m_backward);
    if (status == Status::EndOfFile)
        m_atStart = true;
    return Status::Ok;
}

Status PagedWalk::readForward(int count, std::vector<Record>& into) {
    if (m_memoryWalk)
        return readInMemory(count, into, true);
    m_forward.setPageSize(count); // no more read from the file than the list asked for
    for (int i = 0; i < count && !m_atEnd; ++i) {
        const Status status = m_forward.next();
        if (status == Status::EndOfFile) {
            m_atEnd = true;
        } else if (status != Status::Ok) {
            return failWith(m_forward);
        } else {
            if (!m_first)
                m_first = m_forward.rec();
            into.push_back(m_forward.rec());
        }
    }
    return m_atEnd ? Status::EndOfFile : Status::Ok;
}

Status PagedWalk::readBackward(int count, std::vector<Record>& into) {
    if (m_memoryWalk)
        return readInMemory(count, into, false);
    if (!m_backwardPlaced && !m_atStart && positionBackward() == Status::Error)
        return Status::Error;
    m_backward.setPageSize(count);
    for (int i = 0; i < count && !m_atStart; ++i) {
        const Status status = m_backward.previous();
        if (status == Status::EndOfFile)
            m_atStart = true;
        else if (status != Status::Ok)
            return failWith(m_backward);
        else
            into.push_back(m_backward.rec());
    }
    return m_atStart ? Status::EndOfFile : Status::Ok;
}

std::optional<std::int64_t> PagedWalk::countMatching() {
    Connection* connection = m_forward.connection();
    if (!connection) {
        m_error = {ErrorCode::FileNotOpen, errorText(ErrorCode::FileNotOpen), {}, {}};
        return std::nullopt;
    }
    if (inMemory()) {
        if (!memoryReady(m_inMemory->field))
            return std::nullopt;
        return m_memory.count(m_question);
    }
    const TableDef& table = def();
    if (!readIndexTerms())
        return std::nullopt;
    // The index counts the matches by itself when it carries the whole filter: no record is read.
    if (m_indexed && !m_indexed->count.empty()) {
        std::int64_t matches = 0;
        if (!singleInteger(*connection, m_indexed->count, m_indexed->countParameters, &matches, &m_error))
            return std::nullopt;
        return matches;
    }
    bool indexed = false;
    if (!useIndexFor(false, &indexed))
        return -1;
    const std::string& filter = indexed ? m_indexed->condition : m_filter;
    const std::vector<QVariant>& parameters = indexed ? m_indexed->parameters : m_parameters;
    std::string where;
    if (!filter.empty()) { // decimals compare by value, as in the walk
        where += '(';
        where += withDecimalOrder(table, filter);
        where += ')';
    }
    const int keyIndex = table.keyIndex(m_key);
    if (keyIndex >= 0) {
        const std::string opt = schema::optCondition(table, table.keys[static_cast<size_t>(keyIndex)]);
        if (!opt.empty())
            where += (where.empty() ? "" : " AND ") + opt;
    }
    const std::string sql = "SELECT count(*) FROM " + schema::quoted(table.tableName().toStdString()) +
                            (where.empty() ? std::string() : " WHERE " + where);
    sqlite3_stmt* statement = connection->statement(sql, &m_error);
    if (!statement)
        return std::nullopt;
    StatementReset reset(statement);
    for (size_t i = 0; i < parameters.size(); ++i) {
        const QVariant& value = parameters[i];
        const int parameter = static_cast<int>(i + 1);
        if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
            const QByteArray utf8 = value.toString().toUtf8();
            sqlite3_bind_text(statement, parameter, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT);
        } else if (value.typeId() == QMetaType::Double) {
            sqlite3_bind_double(statement, parameter, value.toDouble());
        } else {
            sqlite3_bind_int64(statement, parameter, value.toLongLong());
        }
    }
    if (sqlite3_step(statement) != SQLITE_ROW) {
        m_error = connection->lastError();
        return std::nullopt;
    }
    return sqlite3_column_int64(statement, 0);
}

bool PagedWalk::memoryPossible() const {
    return def().keyIndex(m_key) >= 0 && m_forward.connection();
}

bool PagedWalk::prepareSearch(std::string_view field) {
    const int index = def().fieldIndex(field);
    if (index < 0 || !memoryPossible())
        return false;
    m_error = {};
    return memoryReady(index);
}

bool PagedWalk::memoryReady(int field) {
    Connection& connection = *m_forward.connection();
    const int key = def().keyIndex(m_key);
    if (m_memory.current(connection, field, key))
        return true;
    if (!m_memory.load(connection, def(), m_forward.schemaName(), field, key, &m_error))
        return false;
    ++m_memoryLoads;
    return true;
}

Status PagedWalk::beginInMemory(Edge start, bool atStart, bool atEnd) {
    m_atStart = atStart;
    m_atEnd = atEnd;
    m_first.reset();
    m_ahead = start;
    m_behind = std::move(start);
    m_edgesPlacedFor = 0;
    if (!memoryReady(m_inMemory->field) || !placeEdges()) {
        m_atEnd = m_atStart = true;
        return Status::Error;
    }
    return Status::Ok;
}

std::optional<std::int64_t> PagedWalk::locate(const Record& values, int components) {
    m_locator.rec() = values;
    Status status = m_locator.seek(m_key, components);
    if (status == Status::Ok)
        status = m_locator.next();
    if (status == Status::EndOfFile)
        return m_memory.size();
    if (status != Status::Ok) {
        m_error = m_locator.error();
        return std::nullopt;
    }
    // Not among the texts only when the record came after they were read: it is taken as the end,
    // and the next look reads them anew.
    return m_memory.positionOf(m_locator.rec().rowId()).value_or(m_memory.size());
}

bool PagedWalk::placeEdges() {
    if (m_edgesPlacedFor == m_memoryLoads)
        return true;
    const auto place = [this](const Edge& edge, bool ahead) -> std::optional<std::int64_t> {
        const std::int64_t before = ahead ? 0 : -1; // looking backward, the place before a point
        if (edge.kind == Edge::TableEdge)
            return ahead ? 0 : m_memory.size() - 1;
        if (edge.kind == Edge::Passed) {
            if (const std::optional<std::int64_t> at = m_memory.positionOf(edge.record->rowId()))
                return ahead ? *at + 1 : *at - 1;
        }
        // A starting point, or a record read and removed since: where its key values stand.
        const std::optional<std::int64_t> at =
            locate(*edge.record, edge.kind == Edge::Seek ? edge.components : -1);
        if (!at)
            return std::nullopt;
        return *at + before;
    };
    const std::optional<std::int64_t> ahead = place(m_ahead, true);
    const std::optional<std::int64_t> behind = ahead ? place(m_behind, false) : std::nullopt;
    if (!behind)
        return false;
    m_aheadPosition = *ahead;
    m_behindPosition = *behind;
    m_edgesPlacedFor = m_memoryLoads;
    return true;
}

Status PagedWalk::readInMemory(int count, std::vector<Record>& into, bool forward) {
    bool& done = forward ? m_atEnd : m_atStart;
    if (done)
        return Status::EndOfFile;
    if (!memoryReady(m_inMemory->field) || !placeEdges()) {
        m_atEnd = m_atStart = true;
        return Status::Error;
    }
    std::int64_t& position = forward ? m_aheadPosition : m_behindPosition;
    const size_t before = into.size();
    while (static_cast<int>(into.size() - before) < count) {
        const std::int64_t found =
            forward ? m_memory.nextMatch(position, m_question) : m_memory.previousMatch(position, m_question);
        if (found < 0 || found >= m_memory.size()) {
            done = true;
            break;
        }
        position = forward ? found + 1 : found - 1;
        const Status status = m_forward.getRow(m_memory.rowId(found));
        // Removed since the texts were read (by another program, in the meantime): passed over.
        if (status == Status::NotFound)
            continue;
        if (status != Status::Ok)
            return failWith(m_forward);
        into.push_back(m_forward.rec());
    }
    if (into.size() > before)
        (forward ? m_ahead : m_behind) = Edge{Edge::Passed, into.back(), -1};
    return done ? Status::EndOfFile : Status::Ok;
}

} // namespace qav
