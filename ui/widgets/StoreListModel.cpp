#include "ui/widgets/StoreListModel.h"

namespace qav {

StoreListModel::StoreListModel(Store& store, const TableDef& table, std::vector<ListColumn> columns,
                               QObject* parent)
    : QAbstractTableModel(parent), m_walk(store, table), m_columns(std::move(columns)) {}

bool StoreListModel::open() {
    m_opened = m_walk.open();
    if (!m_opened)
        Q_EMIT loadFailed(Aviso::ErroAbrirVisao, m_walk.error());
    return m_opened;
}

void StoreListModel::setFilter(std::string condition, std::vector<QVariant> parameters) {
    m_walk.setFilter(std::move(condition), std::move(parameters));
}

bool StoreListModel::reload() {
    return restart(nullptr, 0);
}

std::optional<int> StoreListModel::locate(const Record& values, int components) {
    if (!restart(&values, components) || m_rows.empty())
        return std::nullopt;
    // Some rows before it, so the located record is not stuck at the top edge.
    const int before = fetchBefore();
    return before;
}

std::optional<int> StoreListModel::locateNearest(const Record& values, int components) {
    if (const std::optional<int> row = locate(values, components))
        return row;
    if (!restartAtEnd() || m_rows.empty())
        return std::nullopt;
    return rowCount() - 1;
}

bool StoreListModel::restart(const Record* values, int components, From from) {
    m_changing = true;
    beginResetModel();
    m_rows.clear();
    std::vector<Record> page;
    Status status = Status::Error;
    if (m_opened) {
        if (from == From::End) {
            status = m_walk.startAtEnd();
            if (status != Status::Error)
                status = m_walk.readBackward(m_pageSize, page);
        } else {
            status = values ? m_walk.startAt(*values, components) : m_walk.startAtFirst();
            if (status != Status::Error)
                status = m_walk.readForward(m_pageSize, page);
        }
    }
    // A backward page comes nearest first.
    for (Record& record : page)
        from == From::End ? m_rows.push_front(std::move(record)) : m_rows.push_back(std::move(record));
    endResetModel();
    m_changing = false;
    if (status == Status::Error) {
        Q_EMIT loadFailed(Aviso::ErroAbrirVisao, m_walk.error());
        return false;
    }
    return true;
}

int StoreListModel::findLoaded(int field, std::int64_t value) const {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].integer(field) == value)
            return static_cast<int>(i);
    return -1;
}

void StoreListModel::refreshColumn(int column) {
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
}

int StoreListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int StoreListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant StoreListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ListColumn& column = m_columns[static_cast<size_t>(index.column())];
    const Record& record = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return column.display(record);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(column.numeric ? Qt::AlignRight | Qt::AlignVCenter
                                                                : Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::BackgroundRole:
        return column.background ? column.background(record) : QVariant();
    default:
        return {};
    }
}

QVariant StoreListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(m_columns.size()))
        return {};
    return m_columns[static_cast<size_t>(section)].header;
}

bool StoreListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_opened && !m_changing && !m_walk.atEnd();
}

void StoreListModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    std::vector<Record> page;
    const Status status = m_walk.readForward(m_pageSize, page);
    if (!page.empty()) {
        const int first = rowCount();
        m_changing = true;
        beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
        for (Record& record : page)
            m_rows.push_back(std::move(record));
        endInsertRows();
        m_changing = false;
    }
    if (status == Status::Error)
        Q_EMIT loadFailed(Aviso::ErroLerRegistro, m_walk.error());
}

int StoreListModel::fetchBefore() {
    if (!canFetchBefore() || !m_opened || m_changing)
        return 0;
    std::vector<Record> page;
    const Status status = m_walk.readBackward(m_pageSize, page);
    const int count = static_cast<int>(page.size());
    if (count > 0) {
        m_changing = true;
        beginInsertRows({}, 0, count - 1);
        for (Record& record : page)
            m_rows.push_front(std::move(record));
        endInsertRows();
        m_changing = false;
    }
    if (status == Status::Error)
        Q_EMIT loadFailed(Aviso::ErroLerRegistro, m_walk.error());
    return count;
}

} // namespace qav
