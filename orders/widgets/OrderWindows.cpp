#include "orders/widgets/OrderWindows.h"

#include "orders/widgets/FichaPedido.h"
#include "orders/widgets/JanelaPedidos.h"
#include "ui/widgets/WindowRegistry.h"

namespace qav {

void registerOrderWindows() {
    janelasPedido::registrarFormulario(&FichaPedido::executar);
    WindowRegistry::add(janelaMenu::BrowsePEDIDO, [](const WindowContext& context) {
        ListContext list = ListContext::current();
        list.programFolder = context.programFolder;
        if (context.mdiArea)
            context.addChild(new JanelaPedidos(list), janelaMenu::BrowsePEDIDO);
    });
}

} // namespace qav
