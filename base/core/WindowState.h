#pragma once
// The position memory of the windows: each window keeps its state in qavplus.INI under a section named
// after its procedure, saved when it closes and restored when it opens.

#include "base/core/IniFile.h"

#include <QStringList>
#include <QStringView>
#include <optional>

namespace qav {

// x, y, width and height are the window's normal geometry (client area), the one it returns to
// from the minimised or maximised state.
struct WindowGeometry {
    bool maximized = false;
    bool minimized = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool resizable = true; // only resizable windows keep their size

    bool operator==(const WindowGeometry&) const = default;
};

// Section names of the windows that remember their position.
namespace janela {
inline constexpr QStringView Main = u"Main";
inline constexpr QStringView JanelaVendedores = u"BrowseVendedor";
inline constexpr QStringView BrowseFORMAPAG = u"BrowseFORMAPAG";
inline constexpr QStringView JanelaPedidos = u"BrowsePEDIDO";
inline constexpr QStringView FichaPedido = u"UpdatePEDIDO";
inline constexpr QStringView ConsultaCaracteristica = u"ConsultaCaracteristica";
inline constexpr QStringView FichaItemPedido = u"UpdatePED_ITEN";
inline constexpr QStringView EndEntrega = u"EndEntrega";
inline constexpr QStringView EndCobranca = u"EndCobranca";
inline constexpr QStringView EndEntregaPed = u"EndEntregaPed";
inline constexpr QStringView UpdSOCIOS = u"UpdSOCIOS";
inline constexpr QStringView UpdateREPRE = u"UpdateREPRE";
inline constexpr QStringView FichaProduto = u"UpdProduto";
inline constexpr QStringView browseprodutos = u"browseprodutos";
inline constexpr QStringView AtDadosGerente = u"AtDadosGerente";
inline constexpr QStringView BrwREPRE = u"BrwREPRE";
inline constexpr QStringView RelPedidos = u"RelPedidos";
inline constexpr QStringView RelatorioContasReceber = u"RelCTR";
inline constexpr QStringView ConsultaContasReceber = u"ConsultaCTR";
inline constexpr QStringView RelPedidoConsulta = u"RelPedidoConsulta";
inline constexpr QStringView JanelaMunicipios = u"BrowseMunic";
inline constexpr QStringView UpdateCLIENTES = u"UpdateCLIENTES";
inline constexpr QStringView RelComissao = u"RelComissao";
inline constexpr QStringView RelClientesInativos = u"RelClientesInativos";
inline constexpr QStringView ConsultaSaldoFlex = u"ConsultaSaldoFlex";
inline constexpr QStringView JanelaPautas = u"BrowsePauta";

// All of the above, in that order.
QStringList todas();
} // namespace janela

// Writes "Maximize"/"Minimize" as "Yes"/"No"; a window that is not maximised also writes "XPos" and
// "YPos" (and "Width"/"Height" when resizable) from its normal geometry, and any of those four keys
// not written is removed so no stale value survives. False when the file could not be written (not
// reported further).
bool saveWindowState(IniFile& ini, QStringView section, const WindowGeometry& state);

// The state to give a window whose own defaults are `defaults`; nullopt when the section was never
// saved ("Maximize" neither "Yes" nor "No"). A missing number keeps the default, the size is taken
// only for resizable windows, and the result is never minimised.
std::optional<WindowGeometry> restoreWindowState(const IniFile& ini, QStringView section,
                                                 const WindowGeometry& defaults);

} // namespace qav
