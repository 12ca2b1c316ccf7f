#include "customers/widgets/ReferenceWindows.h"

#include "customers/widgets/BrowseFormaPag.h"
#include "customers/widgets/BrowseMunic.h"
#include "customers/widgets/BrowseProdutos.h"
#include "customers/widgets/BrowseVendedor.h"
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
    WindowRegistry::add(janelaMenu::browseprodutos, opener<BrowseProdutos>(janelaMenu::browseprodutos));
    WindowRegistry::add(janelaMenu::BrowseFORMAPAG, opener<BrowseFormaPag>(janelaMenu::BrowseFORMAPAG));
    WindowRegistry::add(janelaMenu::BrowseVendedor, opener<BrowseVendedor>(janelaMenu::BrowseVendedor));
    WindowRegistry::add(janelaMenu::BrowseMunic, opener<BrowseMunic>(janelaMenu::BrowseMunic));
}

} // namespace qav
