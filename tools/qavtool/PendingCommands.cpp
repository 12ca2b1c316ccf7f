// Temporary stand-ins for the commands that are still being written, so that qavtool links.
#include "tools/qavtool/Commands.h"

#include <cstdio>

namespace qavtool {

int runCalcular(int, char**) {
    std::fputs("comando ainda não disponível\n", stderr);
    return 2;
}

int runCodigoLiberacao(int, char**) {
    std::fputs("comando ainda não disponível\n", stderr);
    return 2;
}

} // namespace qavtool
