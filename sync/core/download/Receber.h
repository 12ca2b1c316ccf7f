#pragma once
// The receivables of the salesperson in the active company: the open titles are rebuilt from the
// server on every run, paid titles stay and accumulate. One form reads the ERP ("zor"), the other a
// sales office's manager database ("gerente"); each runs only against its own system.

#include "sync/core/execucao/ContextoComunicacao.h"

namespace qav::sync {

bool baixarReceberZor(ContextoComunicacao& contexto);
bool baixarReceberGerente(ContextoComunicacao& contexto);

} // namespace qav::sync
