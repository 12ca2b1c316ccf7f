#include "base/core/WindowState.h"

namespace qav {

namespace {

const QString maximize = QStringLiteral("Maximize");
const QString minimize = QStringLiteral("Minimize");
const QString xPos = QStringLiteral("XPos");
const QString yPos = QStringLiteral("YPos");
const QString widthKey = QStringLiteral("Width");
const QString heightKey = QStringLiteral("Height");

QString yesNo(bool value) {
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

bool putOrRemove(IniFile& ini, const QString& section, const QString& key, bool put, int value) {
    return put ? ini.writeInt(section, key, value) : ini.removeKey(section, key);
}

} // namespace

QStringList janela::todas() {
    static const QStringList names = [] {
        QStringList list;
        for (QStringView name : {Main,
                                 JanelaVendedores,
                                 BrowseFORMAPAG,
                                 JanelaPedidos,
                                 FichaPedido,
                                 ConsultaCaracteristica,
                                 FichaItemPedido,
                                 EndEntrega,
                                 EndCobranca,
                                 EndEntregaPed,
                                 UpdSOCIOS,
                                 UpdateREPRE,
                                 FichaProduto,
                                 browseprodutos,
                                 AtDadosGerente,
                                 BrwREPRE,
                                 RelPedidos,
                                 RelatorioContasReceber,
                                 ConsultaContasReceber,
                                 RelPedidoConsulta,
                                 JanelaMunicipios,
                                 UpdateCLIENTES,
                                 RelComissao,
                                 RelClientesInativos,
                                 ConsultaSaldoFlex,
                                 JanelaPautas})
            list.append(name.toString());
        return list;
    }();
    return names;
}

bool saveWindowState(IniFile& ini, QStringView sectionName, const WindowGeometry& state) {
    const QString section = sectionName.toString();
    bool ok = ini.writeString(section, maximize, yesNo(state.maximized));
    ok = ini.writeString(section, minimize, yesNo(state.minimized)) && ok;
    // A minimised window keeps the position it had before: it reopens normal where it was last
    // seen. A maximised one stores none; it reopens maximised.
    const bool positioned = !state.maximized;
    const bool sized = positioned && state.resizable;
    ok = putOrRemove(ini, section, xPos, positioned, state.x) && ok;
    ok = putOrRemove(ini, section, yPos, positioned, state.y) && ok;
    ok = putOrRemove(ini, section, widthKey, sized, state.width) && ok;
    ok = putOrRemove(ini, section, heightKey, sized, state.height) && ok;
    return ok;
}

std::optional<WindowGeometry> restoreWindowState(const IniFile& ini, QStringView sectionName,
                                                 const WindowGeometry& defaults) {
    const QString section = sectionName.toString();
    const QString saved = ini.readString(section, maximize);
    const bool yes = saved.compare(QStringLiteral("Yes"), Qt::CaseInsensitive) == 0;
    const bool no = saved.compare(QStringLiteral("No"), Qt::CaseInsensitive) == 0;
    if (!yes && !no)
        return std::nullopt;
    WindowGeometry state = defaults;
    state.maximized = yes;
    state.minimized = false;
    state.x = ini.readInt(section, xPos, defaults.x);
    state.y = ini.readInt(section, yPos, defaults.y);
    if (defaults.resizable) {
        state.width = ini.readInt(section, widthKey, defaults.width);
        state.height = ini.readInt(section, heightKey, defaults.height);
    }
    return state;
}

} // namespace qav
