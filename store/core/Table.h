#pragma once
// A cursor over one local table with its own record buffer: the operations every list, form,
// report and download uses. End of file and record not found are results, not failures.

#include "store/core/Record.h"
#include "store/core/RowCodec.h"
#include "store/core/Store.h"

#include <QVariant>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace qav {

enum class Status {
    Ok,
    EndOfFile, // a walk passed its last record
    NotFound,  // a lookup found nothing
    Error,     // see Table::error()
};

class Table {
public:
    Table(Store& store, const TableDef& def);
    Table(Store& store, std::string_view name); // file name, prefix or table name
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const TableDef& def() const { return *m_def; }
    Store& store() const { return *m_store; }
    // Opens with a use count: every open needs its close; the file closes with the last one.
    bool open();
    void close();
    bool isOpen() const { return m_openCount > 0; }
    const StoreError& error() const { return m_error; }

    Record& rec() { return m_record; }
    const Record& rec() const { return m_record; }
    void clear() { m_record.clear(); }

    // The record whose key components equal those in the buffer (the first in physical order when
    // the key allows duplicates).
    Status get(std::string_view key);
    // The same record, of which only `fields` are read into the buffer (the others keep what the
    // buffer held): for a pass that looks at a few fields of a wide record and writes back only
    // those (putFields). Writing the whole buffer after it would store the fields not read as the
    // buffer held them.
    Status getFields(std::string_view key, const std::vector<int>& fields);
    // The record stored in this row (a row id a write of this table gave).
    Status getRow(std::int64_t rowId);

    // Walks. `seek` positions at the first record not less than the first `components` key values
    // of the buffer (all components when -1); next() then reads forwards from there and previous()
    // backwards from the last record not greater. seekFirst/seekLast walk the whole key.
    Status seek(std::string_view key, int components = -1);
    Status seekFirst(std::string_view key);
    Status seekLast(std::string_view key);
    Status seekPhysical(); // the order records were added in
    Status next();
    Status previous();

    // Run-time key: the order a list or report asks for, built now over the records that pass the
    // filter (walked with seekFirst("KEYTMP")/seekLast("KEYTMP")). Texts sort without regard to
    // case, decimals by value.
    Status buildRuntimeKey(const std::vector<KeyComponent>& order);

    // How many records a walk reads from the file at a time (kDefaultPageSize unless set): a list that
    // shows 64 rows asks for 64, so that a search stops scanning once it has found them.
    static constexpr int kDefaultPageSize = 128;
    void setPageSize(int records) { m_pageSize = records < 1 ? 1 : records; }

    // Limits walks to records that satisfy an SQL condition on the columns (with ? parameters).
    // Decimal fields named in it compare by value ("PRECO > 5" finds 10.00).
    void setFilter(std::string condition, std::vector<QVariant> parameters = {});
    void clearFilter() { setFilter({}); }

    Status add(); // adds the buffer as a new record
    // Adds the buffer as a new record of a series whose records differ only in the `varying` fields
    // (a download adding two million prices): the whole buffer is bound at the first add of the
    // series and then only those fields, which spares encoding the same blank values again for
    // every record. The caller changes no other field of the buffer during the series; a series
    // ends when `varying` changes, the table is routed through another connection or closed.
    Status addSimilar(const std::vector<int>& varying);
    // The row id of the record stored under the buffer's key whose every field equals the buffer's,
    // 0 when there is none (nothing under the key, it differs, or another editor holds it); nothing
    // on a failure (the reason in error()). A full download leaves such a record as it is instead of
    // writing it again. Like addSimilar, a series of look-ups binds the whole buffer once and then only
    // the `varying` fields, under the same conditions. The buffer is left as it was.
    std::optional<std::int64_t> identicalRowId(std::string_view keyName, const std::vector<int>& varying);
    Status put(); // writes the buffer over the record it was read from
    // Writes only these fields of the buffer over the record it was read from: the keys built on the
    // other fields are left alone, which makes changing one value of a wide record much cheaper.
    Status putFields(std::initializer_list<const char*> fields);
    // The same by field index; an empty list writes nothing.
    Status putFields(const std::vector<int>& fields);
    Status remove(); // deletes the record the buffer was read from
    // How many records the table holds; nothing when it cannot be counted (the reason in error()).
    std::optional<std::int64_t> count();

    // A large set of adds and changes in one transaction (a download); the store keeps it fast and
    // all-or-nothing. A failed end is in error(); see Connection::commit() and rollback().
    bool beginBatch();
    bool endBatch();
    bool rollbackBatch();

    // Holds the record in the buffer for this editor; another editor waits up to `waitMs` and then
    // gets RecordHeld. A hold ends with put(), release() or close(); a hold left by a process that
    // ended does not count.
    Status hold(int waitMs = 5000);
    void release();

    // Used by Transaction: routes this table's statements through another connection and schema.
    void route(Connection* connection, const std::string& schemaName);
    void unroute();
    Connection* connection() const { return m_connection; }
    // The schema that names this table on that connection ("main" unless a transaction routed it), so
    // that a second cursor can be routed into the same transaction.
    const std::string& schemaName() const { return m_schema; }

private:
    struct Walk {
        int key = -2; // -2 none, -1 physical order, -3 run-time key, else index into def().keys
        bool unbounded = true;
        bool inclusive = true;
        int components = 0;
        bool haveRowId = false;
        std::int64_t rowId = 0;
        std::optional<Record> position;
        bool forward = true;
        std::deque<Record> page;
        std::uint64_t pageGeneration = 0;
        bool pageAtEnd = false;
        std::vector<std::int64_t> runtimeRows;
        std::int64_t runtimeIndex = -1;
    };

    Status fail(StoreError error);
    Status failFromConnection();
    // Binds the buffer's values of `key` to a look-up whose first two columns are the rowid and the
    // revision, and steps it: Ok with the row ready to be read (its origin noted), or NotFound.
    Status stepByKey(sqlite3_stmt* statement, const KeyDef& key);
    bool ensureOpen();
    std::string qualifiedName() const;
    // The key's components equal to parameters ?1.. (and its condition for records it leaves out).
    std::string keyEquals(const KeyDef& key) const;
    const KeyDef* findKey(std::string_view key);
    const KeyDef* keyForWalk(std::string_view key);
    Status walkFromEnd(const KeyDef& key, bool fromStart);
    Status startWalk(int key, bool unbounded, int components, bool forward);
    Status step(bool forward);
    Status fetchPage(bool forward);
    Status stepRuntime(bool forward);
    Status fetchRow(std::int64_t rowId, Record& into);
    std::string whereForWalk(bool forward, std::vector<std::function<void(sqlite3_stmt*, int)>>& binders);
    std::string holdToken() const;
    static std::string firstOfKey(const KeyDef& key); // the clause that takes a key's first record
    // The statement of one fixed operation shape, prepared once per connection and schema.
    enum Shape { AddShape, PutShape, ProbeShape, FetchRowShape, DeleteShape, CountShape, GetShape };
    sqlite3_stmt* cached(int slot, const std::function<std::string()>& buildSql);
    std::string insertSql() const;
    Status added(sqlite3_stmt* statement); // steps an INSERT whose values are bound
    void dropSimilar();
    void dropIdentical();
    std::string updateSql(const std::vector<int>& fields) const;
    Status write(const std::vector<int>& fields);

    Store* m_store;
    const TableDef* m_def;
    Record m_record;
    StoreError m_error;
    int m_openCount = 0;
    int m_pageSize = kDefaultPageSize;
    Connection* m_ownConnection = nullptr;
    Connection* m_connection = nullptr;
    std::string m_schema = "main";
    std::string m_selectColumns;
    std::string m_filter;
    std::vector<QVariant> m_filterParameters;
    Walk m_walk;
    bool m_batchStarted = false;
    std::int64_t m_heldRow = 0;
    std::vector<sqlite3_stmt*> m_cache;
    // The series of addSimilar: its statement (on the current connection) and varying fields.
    sqlite3_stmt* m_similarStatement = nullptr;
    std::vector<int> m_similarFields;
    rowcodec::BoundTexts m_similarTexts; // what its parameters point at
    // The series of identicalRowId: its statement, key and varying fields.
    sqlite3_stmt* m_identicalStatement = nullptr;
    const KeyDef* m_identicalKey = nullptr;
    std::vector<int> m_identicalFields;
    rowcodec::BoundTexts m_identicalTexts;
    // The text of getFields' statement for its last key and fields.
    const KeyDef* m_getFieldsKey = nullptr;
    std::vector<int> m_getFieldsList;
    std::string m_getFieldsSchema, m_getFieldsSql;
    const Connection* m_cacheConnection = nullptr;
    std::string m_cacheSchema;
};

} // namespace qav
