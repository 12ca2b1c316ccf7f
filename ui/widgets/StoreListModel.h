#pragma once
// A list over one local table in the order of one of its keys, with an optional filter. It holds
// only the pages the user has reached: the first page when it (re)loads, more as the view scrolls
// down (fetchMore) or up (fetchBefore), so that a list of 200,000 products opens at once. A locate
// restarts the pages at a given record.

#include "store/core/Store.h"
#include "ui/core/PagedWalk.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/ListColumn.h"

#include <QAbstractTableModel>
#include <deque>
#include <optional>
#include <vector>

namespace qav {

class StoreListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    StoreListModel(Store& store, const TableDef& table, std::vector<ListColumn> columns,
                   QObject* parent = nullptr);

    bool open();
    const TableDef& def() const { return m_walk.def(); }
    const StoreError& error() const { return m_walk.error(); }

    // Take effect at the next reload or locate.
    void setOrder(std::string key) { m_walk.setOrder(std::move(key)); }
    const std::string& order() const { return m_walk.order(); }
    void setFilter(std::string condition, std::vector<QVariant> parameters = {});
    // Through the filter's search index where that reads less (see PagedWalk::setListFilter).
    void setListFilter(const ListFilter& filter) { m_walk.setListFilter(filter); }
    // Before the user types in a search of this field (see PagedWalk::prepareSearch).
    bool prepareSearch(std::string_view field) { return m_walk.prepareSearch(field); }
    int pageSize() const { return m_pageSize; }
    void setPageSize(int rows) { m_pageSize = rows; }

    // From the first record of the order. False (and loadFailed) when the table cannot be read.
    bool reload();
    // Restarts at the first record not less than the first `components` key values of `values`;
    // returns its row, or nullopt when no record is at or after them (the list then ends there).
    std::optional<int> locate(const Record& values, int components);
    // As locate, but when no record comes at or after the values the list shows its last records
    // and the row is the last one (a locator typed past the end stays on the end of the list);
    // nullopt only for an empty list.
    std::optional<int> locateNearest(const Record& values, int components);
    // Records that pass the filter, counted without loading them; nothing when they cannot be counted
    // (the reason in error()).
    std::optional<std::int64_t> countMatching() { return m_walk.countMatching(); }

    const Record& record(int row) const { return m_rows.at(static_cast<size_t>(row)); }
    // Row of the loaded record with this field value, or -1.
    int findLoaded(int field, std::int64_t value) const;
    void refreshColumn(int column); // a computed column whose source changed

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    bool canFetchBefore() const { return !m_walk.atStart(); }
    // Prepends the page before the first loaded record; returns how many rows came in.
    int fetchBefore();

Q_SIGNALS:
    // Warning 36 when the view cannot start, 35 when a record cannot be read.
    void loadFailed(qav::Aviso warning, const qav::StoreError& error);

private:
    // Restarts at `values` (the first record when null) with the next page read, or at the end of
    // the order with the last page read.
    enum class From { Values, End };
    bool restart(const Record* values, int components, From from = From::Values);
    bool restartAtEnd() { return restart(nullptr, 0, From::End); }

    PagedWalk m_walk;
    std::vector<ListColumn> m_columns;
    std::deque<Record> m_rows;
    int m_pageSize = 64;
    bool m_opened = false;
    // Set while the rows change and their signals run: a handler of those signals asking for more
    // rows gets none, so one page never pulls in the next by itself.
    bool m_changing = false;
};

} // namespace qav
