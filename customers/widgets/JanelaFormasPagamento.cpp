#include "customers/widgets/JanelaFormasPagamento.h"

#include "customers/core/ListasReferencia.h"

namespace qav {

namespace {
ReferenceList::Definition definition(int idEmpresa) {
    const TableDef& t = tableDef("formapag");
    return {"formapag",
            QStringLiteral("Formas de Pagamento"),
            {ListColumn::digits(t, QStringLiteral("Código"), "CODIGO", 6),
             ListColumn::text(t, QStringLiteral("Descrição"), "DESCR"),
             ListColumn::decimal(t, QStringLiteral("Acrescimo"), "ACRESC", 2),
             ListColumn::computed(QStringLiteral("Cobrança"), &referencia::cobranca)},
            {{QStringLiteral("Descrição"), "KEYDESCR"}, {QStringLiteral("Código"), "KEYCODIGO"}},
            referencia::filtroFormasPag(idEmpresa)};
}
} // namespace

JanelaFormasPagamento::JanelaFormasPagamento(const ListContext& context, QWidget* parent)
    : ReferenceList(context, definition(context.idEmpresa), parent) {
    setObjectName(QStringLiteral("BrowseFORMAPAG"));
}

std::optional<int> JanelaFormasPagamento::selecionar(QWidget* parent, const ListContext& context,
                                                     const QString& inicial) {
    auto* list = new JanelaFormasPagamento(context);
    list->locateFrom(inicial);
    const std::optional<Record> chosen = select(list, parent, u"BrowseFORMAPAG", context);
    return chosen ? std::optional<int>(static_cast<int>(chosen->integer("CODIGO"))) : std::nullopt;
}

} // namespace qav
