#pragma once
// Which parts of the main menu the company's configuration allows. "&Sistema" is never disabled,
// so a locked workstation can always communicate, back up, restore and end.

#include "app/core/FrameConfig.h"

namespace qav {

struct MenuState {
    bool cadastros = true;          // "&Cadastros"
    bool consultas = true;          // "C&onsultas"
    bool relatorios = true;         // "&Relatórios"
    bool flex = false;              // "C&onsultas" > "&Flex"
    bool integracaoGerente = false; // "&Sistema" > "Integração &Gerente"
    bool comissaoVisivel = false;   // "&Relatórios" > "Co&missão" is shown at all

    bool operator==(const MenuState&) const = default;
};

MenuState menuState(const ConfiguracaoFrame& cfg);

} // namespace qav
