#pragma once
// The order history the back office keeps for the salesperson (orders still open or recently closed,
// and for the ERP their deliveries), with its items. One step brings both in one local transaction:
// the rows received replace the stored ones and their items, the uninvoiced history orders the server
// no longer lists go, and a failure anywhere leaves the history and its items as they were. Each has a
// form for the ERP ("zor") and one for a sales office's manager database ("gerente"); each runs only
// against its own system.

#include "sync/core/execucao/ContextoComunicacao.h"

namespace qav::sync {

bool baixarHistoricoZor(ContextoComunicacao& contexto);
bool baixarHistoricoGerente(ContextoComunicacao& contexto);

} // namespace qav::sync
