#pragma once
// Reads a table in key order a page at a time, forwards and backwards from a starting record, so a
// list shows the part of a large table the user is looking at without reading the rest. Two cursors
// over the same table: one goes on after the last record read, the other before the first.

#include "store/core/Table.h"
#include "ui/core/ListFilter.h"
#include "ui/core/SearchMemory.h"

#include <QVariant>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qav {

class PagedWalk {
public:
    PagedWalk(Store& store, const TableDef& table);

    bool open();
    const StoreError& error() const { return m_error; }
    const TableDef& def() const { return m_forward.def(); }

    // Takes effect at the next start.
    void setOrder(std::string key) { m_key = std::move(key); }
    const std::string& order() const { return m_key; }
    // Reads the texts a search of the field `field` looks at into memory, for the current order,
    // before the first search asks for them (a table of 200,000 products takes about a tenth of a
    // second). False when they could not be read (the reason in error()).
    bool prepareSearch(std::string_view field);
    void setFilter(std::string condition, std::vector<QVariant> parameters = {});
    // A filter that may also be answered through a search index: each walk and count takes the way
    // that reads less, by how many candidates the index gives (a few: the index; most of the table:
    // the key order, where the matches come soon, or a plain count). A name search the index's texts
    // answer by themselves (ListFilter::inMemory) is answered from them, kept in memory, when the
    // order is one of the table's keys.
    void setListFilter(const ListFilter& filter);

    // From the first record of the order.
    Status startAtFirst();
    // From the first record not less than the first `components` key values of `values`.
    Status startAt(const Record& values, int components);
    // From the end of the order: nothing comes after; readBackward gives the last records.
    Status startAtEnd();

    // Appends up to `count` records after the last one read; EndOfFile once nothing is left.
    Status readForward(int count, std::vector<Record>& into);
    // Appends up to `count` records before the first one read, nearest first.
    Status readBackward(int count, std::vector<Record>& into);
    bool atEnd() const { return m_atEnd; }
    bool atStart() const { return m_atStart; }

    // How many records pass the filter (and the key's opt rule); nothing when they cannot be counted
    // (the reason in error()).
    std::optional<std::int64_t> countMatching();

private:
    Status begin(bool first, const Record* values, int components);
    Status failWith(const Table& table);
    Status positionBackward();
    // Puts the plain or the indexed filter on both cursors; false when the index's candidates could
    // not be counted (m_error says why).
    bool useIndexFor(bool walk, bool* indexed);
    // Turns a short key into the index's question once per filter (ListFilter::Indexed::terms); false
    // when the index could not be read (m_error says why).
    bool readIndexTerms();
    void applyFilter(bool indexed);

    // The walk through the texts kept in memory. Each end of what was read is kept as a record or a
    // starting point, not only as a place in the texts, so that it is found again when they are read
    // anew after a change of the table.
    struct Edge {
        enum Kind { TableEdge, Seek, Passed } kind = TableEdge;
        std::optional<Record> record{};
        int components = -1;
    };
    // The order is one of the table's keys and the table is open: texts can be kept in memory.
    bool memoryPossible() const;
    bool inMemory() const { return m_inMemory && memoryPossible(); }
    // Loaded for the field and current; false when it could not be read (m_error says why).
    bool memoryReady(int field);
    Status beginInMemory(Edge start, bool atStart, bool atEnd);
    Status readInMemory(int count, std::vector<Record>& into, bool forward);
    bool placeEdges();
    std::optional<std::int64_t> locate(const Record& values, int components);

    Table m_forward;
    Table m_backward;
    std::string m_key;
    std::string m_filter;
    std::vector<QVariant> m_parameters;
    std::optional<ListFilter::Indexed> m_indexed;
    std::optional<std::int64_t> m_candidates; // counted once per filter, up to the limit
    std::int64_t m_tableRows = 0;
    bool m_cursorsIndexed = false;
    StoreError m_error;
    bool m_atEnd = true;
    bool m_atStart = true;
    // The first record the forward cursor read; the backward cursor is placed on it only when the
    // list first asks for the records before it (most lists never do).
    std::optional<Record> m_first;
    bool m_backwardPlaced = false;

    std::optional<ListFilter::InMemory> m_inMemory;
    SearchMemory::Question m_question;
    SearchMemory m_memory;
    std::uint64_t m_memoryLoads = 0;
    Table m_locator; // finds where a starting point stands in the key order
    bool m_memoryWalk = false;
    Edge m_ahead;  // where the next record forward is looked for from
    Edge m_behind; // and backward
    std::int64_t m_aheadPosition = 0;
    std::int64_t m_behindPosition = -1;
    std::uint64_t m_edgesPlacedFor = 0; // the load the two positions belong to (0: none)
};

} // namespace qav
