#include "orders/widgets/OrderWindows.h"

#include "orders/widgets/BrowsePEDIDO.h"
#include "orders/widgets/UpdatePEDIDO.h"
#include "ui/widgets/WindowRegistry.h"

namespace qav {

void registerOrderWindows() {
    janelasPedido::registrarFormulario(&UpdatePEDIDO::executar);
    WindowRegistry::add(janelaMenu::BrowsePEDIDO, [](const WindowContext& context) {
        ListContext list = ListContext::current();
        list.programFolder = context.programFolder;
        if (context.mdiArea)
            context.addChild(new BrowsePEDIDO(list), janelaMenu::BrowsePEDIDO);
    });
}

} // namespace qav
