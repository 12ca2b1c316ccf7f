#pragma once
// The salesperson's customers from the ERP ("zor") or from a sales office's manager database
// ("gerente"); each form runs only against its own system. A customer is added only when it is the
// salesperson's (or the salesperson sees every customer); a stored customer that now belongs to
// another salesperson is kept but deactivated. Ids above 900000 belong to customers created on the
// workstations and never come from the server.

#include "sync/core/execucao/ContextoComunicacao.h"

namespace qav::sync {

bool baixarClientesZor(ContextoComunicacao& contexto);
bool baixarClientesGerente(ContextoComunicacao& contexto);

} // namespace qav::sync
