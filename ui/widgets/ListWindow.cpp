#include "ui/widgets/ListWindow.h"

#include "ui/core/StandardWarning.h"
#include "ui/widgets/DadosAlterados.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

namespace qav {

ListWindow::ListWindow(std::shared_ptr<Store> store, const TableDef& table, std::vector<ListColumn> columns,
                       const QString& title, QWidget* parent)
    : QWidget(parent), m_store(std::move(store)),
      m_model(new StoreListModel(*m_store, table, std::move(columns), this)), m_view(new QTableView(this)) {
    setWindowTitle(title);
    StoreListModel* model = m_model;
    auto* layout = new QVBoxLayout(this);
    m_top = new QVBoxLayout;
    layout->addLayout(m_top);
    m_view->setObjectName(QStringLiteral("lista"));
    m_view->setModel(model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A selected row would turn every header bold, an empty selection normal again.
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setWordWrap(false);
    m_view->installEventFilter(this);
    layout->addWidget(m_view, 1);
    m_bottom = new QVBoxLayout;
    layout->addLayout(m_bottom);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    layout->addLayout(m_buttons);
    m_select = addButton(QStringLiteral("&Selecionar"), QStringLiteral("botaoSelecionar"));
    m_select->hide();
    connect(m_select, &QPushButton::clicked, this, [this] {
        if (const Record* record = current())
            Q_EMIT selected(*record);
    });
    m_close = new QPushButton(QStringLiteral("&Fechar"), this);
    m_close->setObjectName(QStringLiteral("botaoFechar"));
    m_buttons->addWidget(m_close);
    connect(m_close, &QPushButton::clicked, this, &ListWindow::closeWindow);

    connect(m_view, &QTableView::doubleClicked, this, &ListWindow::activate);
    connect(&DadosAlterados::instancia(), &DadosAlterados::alterados, this, &ListWindow::dadosAlterados);
    connect(m_view, &QWidget::customContextMenuRequested, this, &ListWindow::popup);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        updateButtons();
        currentChanged();
    });
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_model->rowCount() > 0)
            setCurrentRow(0);
        updateButtons();
        currentChanged();
    });
    connect(model, &StoreListModel::loadFailed, this, &ListWindow::showLoadFailure);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, &ListWindow::keepScrolling);
    updateButtons();
}

ListWindow::~ListWindow() {
    // The model's cursors close their files in the store, which goes with this window.
    m_view->setModel(nullptr);
    delete m_model;
}

QPushButton* ListWindow::addButton(const QString& text, const QString& objectName) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    m_buttons->insertWidget(m_buttons->count(), button);
    return button;
}

void ListWindow::fitColumns() {
    // Columns as wide as what the first page shows, a long name no wider than about 45 characters,
    // and a window that shows them: the lists open readable without dragging column borders.
    m_view->resizeColumnsToContents();
    const int widest = m_view->fontMetrics().averageCharWidth() * 45;
    int total = 0;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        m_view->setColumnWidth(column, std::min(m_view->columnWidth(column) + 8, widest));
        total += m_view->columnWidth(column);
    }
    resize(std::max(width(), std::min(total + 60, 1100)), std::max(height(), 480));
}

void ListWindow::setActions(int actions) {
    m_actions = actions;
    if ((actions & Insert) && !m_insert) {
        m_insert = addButton(QStringLiteral("&Novo"), QStringLiteral("botaoNovo"));
        connect(m_insert, &QPushButton::clicked, this, [this] { inserir(); });
    }
    if ((actions & Change) && !m_change) {
        m_change = addButton(QStringLiteral("&Editar"), QStringLiteral("botaoEditar"));
        connect(m_change, &QPushButton::clicked, this, [this] {
            if (const Record* record = current())
                alterar(*record);
        });
    }
    if ((actions & Delete) && !m_delete) {
        m_delete = addButton(QStringLiteral("E&xcluir"), QStringLiteral("botaoExcluir"));
        connect(m_delete, &QPushButton::clicked, this, [this] {
            if (const Record* record = current())
                excluir(*record);
        });
    }
    updateButtons();
}

QPushButton* ListWindow::addRecordButton(const QString& text, const QString& objectName,
                                         std::function<void(const Record&)> handler) {
    QPushButton* button = addButton(text, objectName);
    m_recordButtons.push_back({button, handler});
    connect(button, &QPushButton::clicked, this, [this, handler] {
        if (const Record* record = current())
            handler(*record);
    });
    updateButtons();
    return button;
}

QTabBar* ListWindow::addTabs(const QStringList& names) {
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("abas"));
    for (const QString& name : names)
        m_tabs->addTab(name);
    m_top->insertWidget(0, m_tabs);
    return m_tabs;
}

void ListWindow::setSearchField(QLineEdit* field) {
    m_searchField = field;
    field->installEventFilter(this);
}

void ListWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_searchField && !event->spontaneous())
        m_searchField->setFocus();
}

const Record* ListWindow::current() const {
    const int row = currentRow();
    return row >= 0 ? &m_model->record(row) : nullptr;
}

int ListWindow::currentRow() const {
    const QModelIndex index = m_view->currentIndex();
    return index.isValid() && index.row() < m_model->rowCount() ? index.row() : -1;
}

void ListWindow::setCurrentRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    m_view->setCurrentIndex(index);
    // The rows may just have been read again: lay them out first, or the scroll is measured on the
    // rows that were there before and the row found stays out of sight.
    m_view->doItemsLayout();
    m_view->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void ListWindow::setSelectMode(bool select) {
    m_selectMode = select;
    m_select->setVisible(select);
    m_select->setDefault(select);
}

void ListWindow::updateButtons() {
    const bool any = current() != nullptr;
    m_select->setEnabled(any);
    if (m_change)
        m_change->setEnabled(any);
    if (m_delete)
        m_delete->setEnabled(any);
    for (const RecordButton& b : m_recordButtons)
        b.button->setEnabled(any);
}

void ListWindow::activate() {
    const Record* record = current();
    if (!record)
        return;
    if (m_selectMode)
        Q_EMIT selected(*record);
    else if (m_actions & Change)
        alterar(*record);
    else if (!m_recordButtons.empty())
        m_recordButtons.front().handler(*record);
}

void ListWindow::popup(const QPoint& position) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("menuLista"));
    const bool any = current() != nullptr;
    const auto add = [&](const QString& text, bool enabled, std::function<void()> run) {
        QAction* action = menu.addAction(text);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, run);
    };
    if (m_selectMode)
        add(m_select->text(), any, [this] { m_select->click(); });
    if (m_insert)
        add(m_insert->text(), true, [this] { inserir(); });
    if (m_change)
        add(m_change->text(), any, [this] { m_change->click(); });
    if (m_delete)
        add(m_delete->text(), any, [this] { m_delete->click(); });
    for (const RecordButton& b : m_recordButtons)
        add(b.button->text(), any, [button = b.button] { button->click(); });
    if (!menu.isEmpty())
        menu.exec(m_view->viewport()->mapToGlobal(position));
}

void ListWindow::keepScrolling(int value) {
    QScrollBar* bar = m_view->verticalScrollBar();
    if (value != bar->minimum() || !m_model->canFetchBefore())
        return;
    const int added = m_model->fetchBefore();
    if (added > 0)
        QTimer::singleShot(0, this, [this, added] {
            m_view->scrollTo(m_model->index(added, 0), QAbstractItemView::PositionAtTop);
        });
}

bool ListWindow::searchFieldKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activate();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QCoreApplication::sendEvent(m_view, key);
        return true;
    default:
        return false;
    }
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_searchField && m_searchField && event->type() == QEvent::KeyPress &&
        searchFieldKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Insert:
        if (m_insert) {
            inserir();
            return true;
        }
        break;
    case Qt::Key_Delete:
        if (m_delete && current()) {
            excluir(*current());
            return true;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activate();
        return true;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        // Above the first loaded record: bring in the page before it.
        if (currentRow() <= 0 && m_model->canFetchBefore())
            m_model->fetchBefore();
        break;
    case Qt::Key_Home:
        if (key->modifiers() & Qt::ControlModifier) {
            m_model->reload();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void ListWindow::closeWindow() {
    if (m_selectMode) {
        Q_EMIT closeRequested();
        return;
    }
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            sub->close();
            return;
        }
    close();
}

void ListWindow::showLoadFailure(Aviso warning, const StoreError& error) {
    standardWarning(warning, error, QString::fromLatin1(m_model->def().label), {}, this);
    // A record that cannot be read leaves nothing to show: back to the previous window.
    if (warning == Aviso::ErroLerRegistro)
        QTimer::singleShot(0, this, &ListWindow::closeWindow);
}

std::optional<Record> ListWindow::runSelection(ListWindow* list, QWidget* parent, QStringView section,
                                               const QString& programFolder) {
    QDialog dialog(parent);
    dialog.setObjectName(section.toString());
    dialog.setWindowTitle(list->windowTitle());
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    list->setSelectMode(true);
    std::optional<Record> chosen;
    connect(list, &ListWindow::selected, &dialog, [&](const Record& record) {
        chosen = record;
        dialog.accept();
    });
    connect(list, &ListWindow::closeRequested, &dialog, &QDialog::reject);
    // As large as the list made itself for its columns, until a remembered size says otherwise.
    dialog.resize(list->size());
    WindowStateBinder::attach(&dialog, section, QDir(programFolder).filePath(QStringLiteral("qavplus.INI")));
    if (list->m_searchField)
        list->m_searchField->setFocus();
    else
        list->view()->setFocus();
    dialog.exec();
    return chosen;
}

void ListWindow::dadosAlterados() {
    const int row = currentRow();
    m_model->reload();
    if (row >= 0 && m_model->rowCount() > 0)
        setCurrentRow(std::min(row, m_model->rowCount() - 1));
}

} // namespace qav
