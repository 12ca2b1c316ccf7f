#pragma once
// A read-only list of a reference table the server sends: one tab per order, a locator on the
// first field of each tab's order, a fixed filter. Opened from the menu it browses; as a look-up it
// returns the chosen record.

#include "ui/core/ListContext.h"
#include "ui/core/ListFilter.h"
#include "ui/widgets/ListWindow.h"

class QLabel;
class QLineEdit;

namespace qav {

class ReferenceList : public ListWindow {
    Q_OBJECT
public:
    struct Tab {
        QString name;
        const char* key;
    };
    struct Definition {
        const char* table;
        QString title;
        std::vector<ListColumn> columns;
        std::vector<Tab> tabs;
        ListFilter filter;
    };

    ReferenceList(const ListContext& context, Definition definition, QWidget* parent = nullptr);

    // Positions the list on the first record whose tab's first order field is not less than `text`
    // (a number for numeric fields).
    void localizar(const QString& text);
    // Opens on what the user typed in a caller's entry: a number in the first tab ordered by a
    // number, a text in the first ordered by a text, with the locator holding it. Nothing happens for
    // an empty text or one no locator could take.
    void locateFrom(const QString& text);

protected:
    static std::optional<Record> select(ReferenceList* list, QWidget* parent, QStringView section,
                                        const ListContext& context);

private:
    void chooseTab(int tab);
    int firstField(int tab) const; // the first field of the tab's order

    Definition m_definition;
    QLabel* m_locatorLabel;
    QLineEdit* m_locator;
};

// The definition's table, by name.
const TableDef& tableDef(const char* name);

} // namespace qav
