#include "app/widgets/RegisteredWindows.h"

#include "app/widgets/WindowRegistry.h"
#include "customers/widgets/BrowseClientes.h"

namespace qav {

void registerWindows() {
    // Each window's module adds its opener here, e.g.
    //   WindowRegistry::add(janelaMenu::BrowseCLIENTES, [](const WindowContext& c) { ... });
    // Entries without one stay disabled in the menu.
    registerCustomerWindows();
}

} // namespace qav
