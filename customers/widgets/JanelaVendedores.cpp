#include "customers/widgets/JanelaVendedores.h"

#include "customers/core/ListasReferencia.h"

namespace qav {

namespace {
ReferenceList::Definition definition() {
    const TableDef& t = tableDef("vendedor");
    return {"vendedor",
            QStringLiteral("Vendedores"),
            {ListColumn::digits(t, QStringLiteral("Id"), "CODIGO", 3),
             ListColumn::text(t, QStringLiteral("Nome"), "NOME")},
            {{QStringLiteral("Id"), "KEYCODIGO"}, {QStringLiteral("Nome"), "KEYNOME"}},
            referencia::filtroVendedores()};
}
} // namespace

JanelaVendedores::JanelaVendedores(const ListContext& context, QWidget* parent)
    : ReferenceList(context, definition(), parent) {
    setObjectName(QStringLiteral("BrowseVendedor"));
}

std::optional<int> JanelaVendedores::selecionar(QWidget* parent, const ListContext& context) {
    const std::optional<Record> chosen =
        select(new JanelaVendedores(context), parent, u"BrowseVendedor", context);
    return chosen ? std::optional<int>(static_cast<int>(chosen->integer("CODIGO"))) : std::nullopt;
}

} // namespace qav
