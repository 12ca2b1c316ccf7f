#pragma once
// One function per qavtool command; each takes the arguments after the command name and returns
// the process exit status.

namespace qavtool {
int runValidar(int argc, char** argv);
int runCalcular(int argc, char** argv);
int runCodigoLiberacao(int argc, char** argv);
int runImprimir(int argc, char** argv);
int runComunicar(int argc, char** argv);
int runConfigurar(int argc, char** argv);
int runGerente(int argc, char** argv);
int runRelatorio(int argc, char** argv);
} // namespace qavtool
