#pragma once
// The partners of the salesperson's customers, from the ERP ("zor") or from a sales office's manager
// database ("gerente"); each form runs only against its own system. Partners are never deleted here.

#include "sync/core/execucao/ContextoComunicacao.h"

namespace qav::sync {

bool baixarSociosZor(ContextoComunicacao& contexto);
bool baixarSociosGerente(ContextoComunicacao& contexto);

} // namespace qav::sync
