#include "customers/widgets/JanelaMunicipios.h"

namespace qav {

namespace {
ReferenceList::Definition definition() {
    const TableDef& t = tableDef("municip");
    return {"municip",
            QStringLiteral("Municípios"),
            {ListColumn::digits(t, QStringLiteral("Id"), "ID", 6),
             ListColumn::text(t, QStringLiteral("Município"), "NOME"),
             ListColumn::text(t, QStringLiteral("UF"), "ESTADO")},
            {{QStringLiteral("Município"), "KEYNOME"}, {QStringLiteral("Id"), "KEYID"}},
            {}};
}
} // namespace

JanelaMunicipios::JanelaMunicipios(const ListContext& context, QWidget* parent)
    : ReferenceList(context, definition(), parent) {
    setObjectName(QStringLiteral("BrowseMunic"));
}

std::optional<int> JanelaMunicipios::selecionar(QWidget* parent, const ListContext& context,
                                                const QString& inicial) {
    auto* list = new JanelaMunicipios(context);
    list->locateFrom(inicial);
    const std::optional<Record> chosen = select(list, parent, u"BrowseMunic", context);
    return chosen ? std::optional<int>(static_cast<int>(chosen->integer("ID"))) : std::nullopt;
}

} // namespace qav
