// Compiled as part of the connection's library: the run sits above it, so this include must not be
// found.
#include "sync/core/execucao/ContextoComunicacao.h"

int layeringProbe() {
    return 0;
}
