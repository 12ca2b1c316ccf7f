#include "queries/widgets/QueryWindows.h"

#include "queries/widgets/AberturaJanela.h"
#include "queries/widgets/ConsultaContasReceber.h"
#include "queries/widgets/ConsultaPedido.h"
#include "queries/widgets/RelatorioContasReceber.h"
#include "queries/widgets/RelatoriosMenu.h"
#include "ui/widgets/WindowRegistry.h"

namespace qav {

namespace {
// A report of the menu: its filter dialog over the frame, the report shown from there.
template <typename Dialogo> void registrarRelatorio(QStringView entrada) {
    WindowRegistry::add(entrada, [](const WindowContext& context) {
        ListContext lista = ListContext::current();
        if (!context.programFolder.isEmpty())
            lista.programFolder = context.programFolder;
        Dialogo dialogo(lista, context.frame);
        dialogo.exec();
    });
}
} // namespace

void registerQueryWindows() {
    WindowRegistry::add(janelaMenu::ConsultaCTR, [](const WindowContext& context) {
        ListContext lista = ListContext::current();
        if (!context.programFolder.isEmpty())
            lista.programFolder = context.programFolder;
        auto* janela = new ConsultaContasReceber(lista);
        janela->aplicarArgumentos(context.arguments);
        abrirJanela(context, janela, janelaMenu::ConsultaCTR);
    });
    WindowRegistry::add(janelaMenu::ConsultaPedidos, [](const WindowContext& context) {
        ListContext lista = ListContext::current();
        if (!context.programFolder.isEmpty())
            lista.programFolder = context.programFolder;
        abrirJanela(context, new ConsultaPedido(lista), u"ConsultaPedido");
    });
    // The report from the menu: every customer's open titles unless the user narrows it.
    WindowRegistry::add(janelaMenu::RelCTR, [](const WindowContext& context) {
        ListContext lista = ListContext::current();
        if (!context.programFolder.isEmpty())
            lista.programFolder = context.programFolder;
        RelatorioContasReceber dialogo(lista, 0, ctr::Situacao::EmAberto, context.frame);
        dialogo.exec();
    });
    registrarRelatorio<RelClientes>(janelaMenu::RelClientes);
    registrarRelatorio<RelPedidos>(janelaMenu::RelPedidos);
    registrarRelatorio<RelComissao>(janelaMenu::RelComissao);
    registrarRelatorio<RelPedidoConsulta>(janelaMenu::RelPedidoConsulta);
    registrarRelatorio<RelClientesInativos>(janelaMenu::RelClientesInativos);
}

} // namespace qav
