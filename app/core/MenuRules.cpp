#include "app/core/MenuRules.h"

namespace qav {

MenuState menuState(const ConfiguracaoFrame& cfg) {
    MenuState state;
    state.cadastros = !cfg.sistemaBloqueado;
    state.consultas = !cfg.sistemaBloqueado;
    state.relatorios = !cfg.sistemaBloqueado && cfg.bloqRelatorios != QLatin1String("S");
    state.flex = cfg.permitirFlex;
    state.integracaoGerente = cfg.qavHub == 1;
    state.comissaoVisivel = cfg.ativaRelCom;
    return state;
}

} // namespace qav
