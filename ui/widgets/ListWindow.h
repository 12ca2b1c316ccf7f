#pragma once
// The shared behaviour of the list windows: tabs that choose the order, the paged list, the buttons
// and keys of insert (Insert key), change (Enter, double click), delete (Delete key) and select, and
// the popup menu "&Novo|&Editar|E&xcluir" whose change and delete items are greyed while the list is
// empty. A list opened from the menu browses; opened as a look-up it selects and returns the chosen
// record to its caller.

#include "ui/widgets/StoreListModel.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QBoxLayout;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class QTableView;

namespace qav {

class ListWindow : public QWidget {
    Q_OBJECT
public:
    enum Action { Insert = 1, Change = 2, Delete = 4 };

    // The window owns its store (the tables of the data folder as this window sees them) and the
    // model it builds over `table`.
    ListWindow(std::shared_ptr<Store> store, const TableDef& table, std::vector<ListColumn> columns,
               const QString& title, QWidget* parent = nullptr);
    ~ListWindow() override;

    Store& store() const { return *m_store; }
    StoreListModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    QTabBar* tabs() const { return m_tabs; }

    // The record under the highlight, or null when the list is empty.
    const Record* current() const;
    int currentRow() const;
    void setCurrentRow(int row);

    bool selectMode() const { return m_selectMode; }
    void setSelectMode(bool select);

    // Shows `list` as a modal look-up and returns the record chosen, or nothing when the user closed
    // it without choosing. The window's position is kept under `section` of qavplus.INI in
    // `programFolder`.
    static std::optional<Record> runSelection(ListWindow* list, QWidget* parent, QStringView section,
                                              const QString& programFolder);

Q_SIGNALS:
    void selected(const Record& record);
    void closeRequested();

protected:
    // Which of insert, change and delete the list offers (none by default: a read-only look-up).
    void setActions(int actions);
    // A further button (and popup item) working on the highlighted record; greyed while empty.
    QPushButton* addRecordButton(const QString& text, const QString& objectName,
                                 std::function<void(const Record&)> handler);
    // Where a list puts its locator entries and options (above the list) and its read-outs (below).
    QBoxLayout* topArea() const { return m_top; }
    QBoxLayout* bottomArea() const { return m_bottom; }
    QTabBar* addTabs(const QStringList& names);
    // The entry where the user searches: it has the cursor when the window opens, so the first
    // letters typed are not lost; Enter there opens (or chooses) the row found and the arrow keys
    // move along the list.
    void setSearchField(QLineEdit* field);

    virtual void inserir() {}
    virtual void alterar(const Record&) {}
    virtual void excluir(const Record&) {}
    // Enter or double click when not selecting: change, or the first record button.
    void activate();
    // Called when the highlighted row changes.
    virtual void currentChanged() {}
    // Called when a communication run (or the office update) has changed the tables: reads the list
    // again, keeping the highlight on the same row number where it can.
    virtual void dadosAlterados();
    void closeWindow();
    // Shows the warning of a failed load (35 closes the window: it cannot go on reading).
    void showLoadFailure(Aviso warning, const StoreError& error);
    // Sizes the columns to the rows shown and the window to the columns; call once the first page
    // is loaded, before the window is shown.
    void fitColumns();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool searchFieldKey(QKeyEvent* key);
    void updateButtons();
    void popup(const QPoint& position);
    void keepScrolling(int value);
    QPushButton* addButton(const QString& text, const QString& objectName);

    std::shared_ptr<Store> m_store;
    StoreListModel* m_model;
    QTableView* m_view;
    QTabBar* m_tabs = nullptr;
    QLineEdit* m_searchField = nullptr;
    QBoxLayout* m_top;
    QBoxLayout* m_bottom;
    QBoxLayout* m_buttons;
    QPushButton* m_select;
    QPushButton* m_insert = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_close;
    struct RecordButton {
        QPushButton* button;
        std::function<void(const Record&)> handler;
    };
    std::vector<RecordButton> m_recordButtons;
    int m_actions = 0;
    bool m_selectMode = false;
};

} // namespace qav
