#pragma once
// The windows the main menu and the company selection can start, by name. Each window's own module
// registers an opener under its procedure name (see RegisteredWindows.cpp); a menu entry whose window
// is not registered stays disabled, so no entry ever answers a click with nothing.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace qav {

// Names of the entries, the procedure names of the windows they start.
namespace janelaMenu {
inline constexpr QStringView AtDadosGerente = u"AtDadosGerente";
inline constexpr QStringView BrwREPRE = u"BrwREPRE";
inline constexpr QStringView Comunicacao = u"Comunicacao";
inline constexpr QStringView IntegracaoGerente = u"IntegracaoGerente";
inline constexpr QStringView CopiaDeSeguranca = u"CopiaDeSeguranca";
inline constexpr QStringView RestauraCopia = u"RestauraCopia";
inline constexpr QStringView browseprodutos = u"browseprodutos";
inline constexpr QStringView BrowseFORMAPAG = u"BrowseFORMAPAG";
inline constexpr QStringView BrowseVendedor = u"BrowseVendedor";
inline constexpr QStringView BrowseMunic = u"BrowseMunic";
inline constexpr QStringView BrowseCLIENTES = u"BrowseCLIENTES";
inline constexpr QStringView BrowsePEDIDO = u"BrowsePEDIDO";
inline constexpr QStringView ConsultaPedidos = u"ConsultaPedidos";
inline constexpr QStringView ConsultaCTR = u"ConsultaCTR";
inline constexpr QStringView ConsultaSaldoFlex = u"ConsultaSaldoFlex";
inline constexpr QStringView RelClientes = u"RelClientes";
inline constexpr QStringView RelPedidos = u"RelPedidos";
inline constexpr QStringView RelCTR = u"RelCTR";
inline constexpr QStringView RelComissao = u"RelComissao";
inline constexpr QStringView RelPedidoConsulta = u"RelPedidoConsulta";
inline constexpr QStringView RelClientesInativos = u"RelClientesInativos";
} // namespace janelaMenu

// What an opener gets: where to put an MDI child and how to end the program (after a backup or a
// restore). `frame` is the parent for modal windows; `mdiArea` is null when the window is started
// from the company selection (the communication run), before the frame exists.
struct WindowContext {
    QWidget* frame = nullptr;
    QMdiArea* mdiArea = nullptr;
    QString programFolder;
    std::function<void()> endProgram;
    // Parameters the entry passes to its window (the receivables query from the menu gets "3" and
    // "": all titles of all customers).
    QStringList arguments;

    // Adds `window` to the frame's MDI area, remembering its position under `section` in
    // qavplus.INI (none when `section` is empty), and shows it. The child closes with the frame.
    QMdiSubWindow* addChild(QWidget* window, QStringView section) const;
};

using WindowOpener = std::function<void(const WindowContext& context)>;

class WindowRegistry {
public:
    static void add(QStringView name, WindowOpener opener);
    static void remove(QStringView name);
    static bool has(QStringView name);
    // False when nothing is registered under the name.
    static bool open(QStringView name, const WindowContext& context);

    // Work to do when the frame closes (dropping the server connection, ...), in the order added.
    static void addClosingHook(std::function<void()> hook);
    static void runClosingHooks();
};

// Tooltip of an entry whose window this build does not have yet.
QString unavailableEntryTip();

} // namespace qav
