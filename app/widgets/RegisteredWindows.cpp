#include "app/widgets/RegisteredWindows.h"

#include "app/widgets/BackupDialogs.h"
#include "base/core/Session.h"
#include "customers/widgets/JanelaClientes.h"
#include "customers/widgets/ReferenceWindows.h"
#include "orders/widgets/OrderWindows.h"
#include "printout/widgets/PrintoutWindows.h"
#include "queries/widgets/QueryWindows.h"
#include "sync/widgets/SyncWindows.h"
#include "ui/widgets/WindowRegistry.h"

namespace qav {

namespace {
// A backup or a restore ends the program when it succeeds, so that no window keeps a table open
// over files that were just replaced.
void registerBackupWindows() {
    WindowRegistry::add(janelaMenu::CopiaDeSeguranca, [](const WindowContext& context) {
        if (copiaDeSeguranca(context.frame, boundFolder().path) && context.endProgram)
            context.endProgram();
    });
    WindowRegistry::add(janelaMenu::RestauraCopia, [](const WindowContext& context) {
        if (restauraCopia(context.frame, boundFolder().path) && context.endProgram)
            context.endProgram();
    });
}
} // namespace

void registerWindows() {
    // Each window's module adds its openers here; entries without one stay disabled in the menu.
    registerBackupWindows();
    registerCustomerWindows();
    registerReferenceWindows();
    registerOrderWindows();
    registerSyncWindows();
    registrarImpressaoPedido();
    registerQueryWindows();
}

} // namespace qav
