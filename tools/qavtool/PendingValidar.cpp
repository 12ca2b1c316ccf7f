// Temporary: `validar` is being written on another branch; this stand-in only lets qavtool link here.
#include "tools/qavtool/Commands.h"

#include <cstdio>

namespace qavtool {

int runValidar(int /*argc*/, char** /*argv*/) {
    std::fputs("comando ainda não disponível\n", stderr);
    return 2;
}

} // namespace qavtool
