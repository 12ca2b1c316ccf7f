#include "customers/widgets/ReferenceWindows.h"

#include "customers/widgets/JanelaFormasPagamento.h"
#include "customers/widgets/JanelaMunicipios.h"
#include "customers/widgets/JanelaProdutos.h"
#include "customers/widgets/JanelaVendedores.h"
#include "ui/widgets/WindowRegistry.h"

namespace qav {

namespace {
template <typename List> WindowOpener opener(QStringView section) {
    return [section](const WindowContext& context) {
        ListContext list = ListContext::current();
        list.programFolder = context.programFolder;
        if (context.mdiArea)
            context.addChild(new List(list), section);
    };
}
} // namespace

void registerReferenceWindows() {
    WindowRegistry::add(janelaMenu::browseprodutos, opener<JanelaProdutos>(janelaMenu::browseprodutos));
    WindowRegistry::add(janelaMenu::BrowseFORMAPAG,
                        opener<JanelaFormasPagamento>(janelaMenu::BrowseFORMAPAG));
    WindowRegistry::add(janelaMenu::BrowseVendedor, opener<JanelaVendedores>(janelaMenu::BrowseVendedor));
    WindowRegistry::add(janelaMenu::BrowseMunic, opener<JanelaMunicipios>(janelaMenu::BrowseMunic));
}

} // namespace qav
