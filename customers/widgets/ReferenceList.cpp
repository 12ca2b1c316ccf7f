#include "customers/widgets/ReferenceList.h"

#include "store/core/Text.h"
#include "ui/widgets/FieldValidator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <stdexcept>

namespace qav {

const TableDef& tableDef(const char* name) {
    const TableDef* def = findTable(name);
    if (!def)
        throw std::invalid_argument(std::string("tabela desconhecida: ") + name);
    return *def;
}

ReferenceList::ReferenceList(const ListContext& context, Definition definition, QWidget* parent)
    : ListWindow(std::make_shared<Store>(context.dataFolder), tableDef(definition.table),
                 std::move(definition.columns), definition.title, parent),
      m_definition(std::move(definition)), m_locatorLabel(new QLabel(this)), m_locator(new QLineEdit(this)) {
    QStringList names;
    for (const Tab& tab : m_definition.tabs)
        names << tab.name;
    QTabBar* bar = addTabs(names);
    auto* row = new QHBoxLayout;
    m_locator->setObjectName(QStringLiteral("localizador"));
    m_locatorLabel->setBuddy(m_locator);
    row->addWidget(m_locatorLabel);
    row->addWidget(m_locator, 1);
    topArea()->addLayout(row);
    connect(m_locator, &QLineEdit::textEdited, this, &ReferenceList::localizar);
    model()->setFilter(m_definition.filter.condition, m_definition.filter.parameters);
    model()->open();
    connect(bar, &QTabBar::currentChanged, this, &ReferenceList::chooseTab);
    chooseTab(0);
    fitColumns();
}

void ReferenceList::chooseTab(int tab) {
    if (tab < 0 || tab >= static_cast<int>(m_definition.tabs.size()))
        return;
    const Tab& chosen = m_definition.tabs[static_cast<size_t>(tab)];
    m_locatorLabel->setText(chosen.name + QLatin1Char(':'));
    m_locator->clear();
    // The locator takes only what the tab's field can hold: a 10-digit code or a name in another
    // alphabet is refused as it is typed, with the field's message.
    const TableDef& def = model()->def();
    limitToField(m_locator, def, def.fields[static_cast<size_t>(firstField(tab))].name);
    model()->setOrder(chosen.key);
    model()->reload();
}

int ReferenceList::firstField(int tab) const {
    const TableDef& def = model()->def();
    const KeyDef& key =
        def.keys[static_cast<size_t>(def.keyIndex(m_definition.tabs[static_cast<size_t>(tab)].key))];
    return key.components.front().field;
}

void ReferenceList::locateFrom(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return;
    bool number = false;
    typed.toLongLong(&number);
    const TableDef& def = model()->def();
    for (int tab = 0; tab < static_cast<int>(m_definition.tabs.size()); ++tab) {
        if (def.fields[static_cast<size_t>(firstField(tab))].isText() == number)
            continue;
        tabs()->setCurrentIndex(tab);
        const FieldValidator validator(def, firstField(tab));
        if (validator.refusal(typed))
            return;
        m_locator->setText(typed);
        localizar(typed);
        return;
    }
}

void ReferenceList::localizar(const QString& text) {
    const int tab = tabs()->currentIndex();
    const TableDef& def = model()->def();
    const KeyDef& key =
        def.keys[static_cast<size_t>(def.keyIndex(m_definition.tabs[static_cast<size_t>(tab)].key))];
    const int field = key.components.front().field;
    if (text.trimmed().isEmpty()) {
        model()->reload();
        return;
    }
    Record values(def);
    if (def.fields[static_cast<size_t>(field)].isText()) {
        try {
            // A name typed without its accents (or with other ones) lands on the first name that reads
            // the same: the key sorts names as if they had none.
            values.setText(field, key.caseInsensitive ? text::foldSearch(text) : text);
        } catch (const FieldValueError&) {
            return; // a character no record can hold: nothing to find
        }
    } else {
        bool ok = false;
        const long long number = text.trimmed().toLongLong(&ok);
        if (!ok || FieldValidator(def, field).refusal(text))
            return; // not a number the field can hold: the list stays where it is
        values.setInteger(field, number);
    }
    if (const std::optional<int> row = model()->locate(values, 1))
        setCurrentRow(*row);
}

std::optional<Record> ReferenceList::select(ReferenceList* list, QWidget* parent, QStringView section,
                                            const ListContext& context) {
    return runSelection(list, parent, section, context.programFolder);
}

} // namespace qav
