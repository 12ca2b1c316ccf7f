#pragma once
// Where the central database is and who connects to it, as the company's configuration keeps them,
// with the checks made before connecting and the defaults a fresh configuration starts with.

#include "store/core/Record.h"

#include <QString>
#include <optional>

namespace qav::sync {

struct ParametrosConexao {
    QString nome; // database
    QString host;
    int porta = 0;
    QString usuario;
    QString senha;
};

// The company's connection values (QAVCFG:BD_NOME, BD_HOST, BD_PORTA, BD_USUARIO, BD_SENHA).
ParametrosConexao parametrosDaConfiguracao(const Record& qavcfg);

// A setting that stops the run before anything is sent: its message and the field to fix.
struct FalhaConfiguracao {
    QString mensagem;  // "Sem nome do BD!", ...
    const char* campo; // "BD_NOME", ...
};
// The checks in their order; nullopt when the run may connect.
std::optional<FalhaConfiguracao> verificarConfiguracao(const Record& qavcfg);

// What a configuration that was never filled in starts with: port 5432, the installation's database
// user and password, installation point "A", 360 days of history.
void aplicarPadroes(Record& qavcfg);

} // namespace qav::sync
