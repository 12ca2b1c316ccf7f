#pragma once
// The life of qavplus: the working folders, the database version, the main frame and its event loop.

#include "app/core/CommandLine.h"
#include "base/core/Settings.h"

namespace qav {

// Steps before the frame: the main data folder must exist ("Erro ao criar diretório de dados." and
// exit code 1 when it cannot be created), and qavbd is run and waited for when its tables are older
// than this build. When it cannot bring them up to date the program says why and which tables cannot
// be used, and goes on. 0 when the program may go on.
// A table file that is empty or unreadable is named ("clientes.tps está vazio ou danificado.") with
// the choice of restoring the last backup (the program then ends), recreating it empty after a
// confirmation, or ending the program (exit code 2).
int prepareStart(const Settings& settings);

// What prepareStart() returns when the program ends as the user chose, without an error (a restore).
inline constexpr int kEncerrarSemErro = -1;

// The whole program in the program folder the command line gives (the current folder unless told
// otherwise); returns the exit code. The first start in a new program folder of the user's own
// offers the demonstration folder.
int runQavplus(const CommandLine& commandLine = {});

} // namespace qav
