#include "ui/core/SearchMemory.h"

#include "store/core/TableSchema.h"
#include "store/core/Text.h"

#include <algorithm>
#include <limits>
#include <sqlite3.h>
#include <string_view>

namespace qav {

namespace {
// A field without a value equals no value asked for.
constexpr std::int64_t kNull = std::numeric_limits<std::int64_t>::min();
// A record the key leaves out (its opt rule) has no position.
constexpr std::uint32_t kUnlisted = std::numeric_limits<std::uint32_t>::max();
} // namespace

SearchMemory::Question SearchMemory::question(const ListFilter::InMemory& filter) {
    return {filter.piece.toStdString(), filter.values};
}

SearchMemory::Version SearchMemory::versionOf(Connection& connection) const {
    Version version;
    version.changes = sqlite3_total_changes64(connection.handle());
    StoreError ignored;
    const std::string pragma =
        "PRAGMA " + (m_schema.empty() ? std::string() : schema::quoted(m_schema) + ".") + "data_version";
    if (sqlite3_stmt* statement = connection.statement(pragma, &ignored)) {
        StatementReset reset(statement);
        if (sqlite3_step(statement) == SQLITE_ROW)
            version.dataVersion = sqlite3_column_int64(statement, 0);
    }
    return version;
}

bool SearchMemory::current(Connection& connection, int field, int key) const {
    return field == m_field && key == m_key && m_version.dataVersion >= 0 &&
           versionOf(connection) == m_version;
}

bool SearchMemory::load(Connection& connection, const TableDef& table, const std::string& schemaName,
                        int field, int key, StoreError* error) {
    m_field = -1;
    m_schema = schemaName;
    m_rowIds.clear();
    m_values.clear();
    m_starts.assign(1, 0);
    m_texts.clear();
    m_order.clear();
    m_positions.clear();
    // The version is taken before the reads: a change made meanwhile makes the next look read anew.
    const Version version = versionOf(connection);
    // Both reads see the same records.
    if (!connection.exec("SAVEPOINT qav_busca_em_memoria", error))
        return false;
    const bool read =
        readRecords(connection, table, field, error) && readOrder(connection, table, key, error);
    StoreError ignored;
    connection.exec("RELEASE qav_busca_em_memoria", &ignored); // nothing was written
    if (!read)
        return false;
    putInKeyOrder();
    m_field = field;
    m_key = key;
    m_version = version;
    return true;
}

std::string SearchMemory::from(const TableDef& table) const {
    return " FROM " + (m_schema.empty() ? std::string() : schema::quoted(m_schema) + ".") +
           schema::quoted(table.tableName().toStdString());
}

bool SearchMemory::readRecords(Connection& connection, const TableDef& table, int field, StoreError* error) {
    const std::vector<int> filters = schema::searchFilterFields(table);
    std::string sql = "SELECT rowid";
    for (const int filter : filters)
        sql += ", " + schema::quoted(table.fields[static_cast<size_t>(filter)].name);
    sql += ", " + schema::quoted(schema::shadowColumn(table.fields[static_cast<size_t>(field)]));
    sql += from(table) + " ORDER BY rowid";
    sqlite3_stmt* statement = connection.statement(sql, error);
    if (!statement)
        return false;
    StatementReset reset(statement);
    m_valuesPerRecord = static_cast<int>(filters.size());
    const int textColumn = m_valuesPerRecord + 1;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        m_rowIds.push_back(sqlite3_column_int64(statement, 0));
        for (int i = 1; i <= m_valuesPerRecord; ++i)
            m_values.push_back(sqlite3_column_type(statement, i) == SQLITE_NULL
                                   ? kNull
                                   : sqlite3_column_int64(statement, i));
        // The text the name's index holds: the accent-free part of the key form, before its
        // separator, and one space more (a word typed with a space after it may end the name).
        if (const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, textColumn))) {
            const std::string_view keyForm(text,
                                           static_cast<size_t>(sqlite3_column_bytes(statement, textColumn)));
            m_texts.append(keyForm.substr(0, keyForm.find(static_cast<char>(text::kKeySeparator))));
            m_texts += ' ';
        }
        m_starts.push_back(static_cast<std::uint32_t>(m_texts.size()));
    }
    if (rc != SQLITE_DONE) {
        *error = connection.lastError();
        return false;
    }
    return true;
}

bool SearchMemory::readOrder(Connection& connection, const TableDef& table, int key, StoreError* error) {
    const KeyDef& order = table.keys[static_cast<size_t>(key)];
    std::string sql = "SELECT rowid" + from(table);
    if (const std::string opt = schema::optCondition(table, order); !opt.empty())
        sql += " WHERE " + opt;
    sql += " ORDER BY ";
    for (const KeyComponent& component : order.components)
        sql += schema::keyColumn(table, order, component) + (component.descending ? " DESC, " : ", ");
    sql += "rowid";
    sqlite3_stmt* statement = connection.statement(sql, error);
    if (!statement)
        return false;
    StatementReset reset(statement);
    m_positions.assign(m_rowIds.size(), kUnlisted);
    m_order.reserve(m_rowIds.size());
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const std::optional<size_t> found = recordOf(sqlite3_column_int64(statement, 0));
        if (!found)
            continue; // cannot happen within one read
        const size_t record = *found;
        m_positions[record] = static_cast<std::uint32_t>(m_order.size());
        m_order.push_back(static_cast<std::uint32_t>(record));
    }
    if (rc != SQLITE_DONE) {
        *error = connection.lastError();
        return false;
    }
    return true;
}

void SearchMemory::putInKeyOrder() {
    const auto perRecord = static_cast<size_t>(m_valuesPerRecord);
    std::vector<std::int64_t> values;
    values.reserve(m_order.size() * perRecord);
    std::vector<std::uint32_t> starts;
    starts.reserve(m_order.size() + 1);
    starts.push_back(0);
    std::string texts;
    texts.reserve(m_texts.size());
    for (const std::uint32_t record : m_order) {
        const auto first = m_values.begin() + static_cast<std::ptrdiff_t>(record * perRecord);
        values.insert(values.end(), first, first + static_cast<std::ptrdiff_t>(perRecord));
        texts.append(m_texts, m_starts[record], m_starts[record + 1] - m_starts[record]);
        starts.push_back(static_cast<std::uint32_t>(texts.size()));
    }
    m_values = std::move(values);
    m_starts = std::move(starts);
    m_texts = std::move(texts);
}

bool SearchMemory::matches(size_t position, const Question& question) const {
    const std::int64_t* values = m_values.data() + position * static_cast<size_t>(m_valuesPerRecord);
    for (size_t i = 0; i < question.values.size(); ++i)
        if (values[i] == kNull || values[i] != question.values[i])
            return false;
    const std::string_view text(m_texts.data() + m_starts[position],
                                m_starts[position + 1] - m_starts[position]);
    return text.find(question.piece) != std::string_view::npos;
}

std::int64_t SearchMemory::nextMatch(std::int64_t from, const Question& question) const {
    for (auto position = static_cast<size_t>(std::max<std::int64_t>(from, 0)); position < m_order.size();
         ++position)
        if (matches(position, question))
            return static_cast<std::int64_t>(position);
    return size();
}

std::int64_t SearchMemory::previousMatch(std::int64_t from, const Question& question) const {
    for (std::int64_t position = std::min(from, size() - 1); position >= 0; --position)
        if (matches(static_cast<size_t>(position), question))
            return position;
    return -1;
}

std::int64_t SearchMemory::count(const Question& question) const {
    std::int64_t matching = 0;
    for (size_t position = 0; position < m_order.size(); ++position)
        matching += matches(position, question) ? 1 : 0;
    return matching;
}

std::optional<size_t> SearchMemory::recordOf(std::int64_t rowId) const {
    if (m_rowIds.empty())
        return std::nullopt;
    // Rowids mostly follow each other without gaps: the record is then where its rowid says.
    const std::int64_t guess = rowId - m_rowIds.front();
    if (guess >= 0 && guess < static_cast<std::int64_t>(m_rowIds.size()) &&
        m_rowIds[static_cast<size_t>(guess)] == rowId)
        return static_cast<size_t>(guess);
    const auto found = std::lower_bound(m_rowIds.begin(), m_rowIds.end(), rowId);
    if (found == m_rowIds.end() || *found != rowId)
        return std::nullopt;
    return static_cast<size_t>(found - m_rowIds.begin());
}

std::optional<std::int64_t> SearchMemory::positionOf(std::int64_t rowId) const {
    const std::optional<size_t> record = recordOf(rowId);
    if (!record)
        return std::nullopt;
    const std::uint32_t position = m_positions[*record];
    if (position == kUnlisted)
        return std::nullopt;
    return position;
}

} // namespace qav
