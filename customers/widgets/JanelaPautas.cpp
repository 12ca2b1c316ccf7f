#include "customers/widgets/JanelaPautas.h"

#include "customers/core/ListasReferencia.h"

namespace qav {

namespace {
ReferenceList::Definition definition(int idEmpresa) {
    const TableDef& t = tableDef("pauta");
    // Both orders show the same price lists: those of the active company open to every customer.
    // Listing the folder's other companies under "Descrição" would offer codes the active company
    // does not have, and the price list found by the chosen code would be another one or none.
    return {"pauta",
            QStringLiteral("Pauta de Preços"),
            {ListColumn::digits(t, QStringLiteral("Código"), "CODIGO", 6),
             ListColumn::text(t, QStringLiteral("Nº Pauta"), "NUM_PAUTA"),
             ListColumn::date(t, QStringLiteral("Validade Inicial"), "DT_INI"),
             ListColumn::date(t, QStringLiteral("Validade Final"), "DT_FIM"),
             ListColumn::text(t, QStringLiteral("Descrição"), "DESCRICAO")},
            {{QStringLiteral("Código"), "KEYCODIGO"}, {QStringLiteral("Descrição"), "KEYDESCR"}},
            referencia::filtroPautas(idEmpresa)};
}
} // namespace

JanelaPautas::JanelaPautas(const ListContext& context, QWidget* parent)
    : ReferenceList(context, definition(context.idEmpresa), parent) {
    setObjectName(QStringLiteral("BrowsePauta"));
}

std::optional<int> JanelaPautas::selecionar(QWidget* parent, const ListContext& context,
                                            const QString& inicial) {
    auto* list = new JanelaPautas(context);
    list->locateFrom(inicial);
    const std::optional<Record> chosen = select(list, parent, u"BrowsePauta", context);
    return chosen ? std::optional<int>(static_cast<int>(chosen->integer("CODIGO"))) : std::nullopt;
}

} // namespace qav
