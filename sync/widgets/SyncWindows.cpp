#include "sync/widgets/SyncWindows.h"

#include "base/core/Session.h"
#include "sync/widgets/Comunicacao.h"
#include "sync/widgets/ConsultaSaldoFlex.h"
#include "sync/widgets/IntegracaoGerente.h"
#include "ui/widgets/WindowRegistry.h"

namespace qav {

void registerSyncWindows() {
    // The run holds the frame (or the company selection) until it ends: the window is modal on it.
    WindowRegistry::add(janelaMenu::Comunicacao, [](const WindowContext& context) {
        Comunicacao janela(boundFolder().path, context.frame);
        janela.exec();
    });
    WindowRegistry::add(janelaMenu::ConsultaSaldoFlex, [](const WindowContext& context) {
        if (context.mdiArea)
            context.addChild(new ConsultaSaldoFlex(boundFolder().path, idEmpAtiva()),
                             janelaMenu::ConsultaSaldoFlex);
    });
    // The manager database's update, likewise modal on the frame.
    WindowRegistry::add(janelaMenu::IntegracaoGerente, [](const WindowContext& context) {
        IntegracaoGerente janela(boundFolder().path, context.programFolder, context.frame);
        janela.exec();
    });
}

} // namespace qav
