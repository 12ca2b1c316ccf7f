#pragma once
// The order history the back office keeps for the salesperson (orders still open or recently closed,
// and for the ERP their deliveries), and its items. The history step runs before the item step: it
// empties the items of every history order it receives again and removes the uninvoiced history
// orders the server no longer lists; the item step only adds. Each has a form for the ERP ("zor") and
// one for a sales office's manager database ("gerente"); each runs only against its own system.

#include "sync/core/ContextoComunicacao.h"

namespace qav::sync {

bool baixarHistoricoZor(ContextoComunicacao& contexto);
bool baixarHistoricoGerente(ContextoComunicacao& contexto);
bool baixarItensHistoricoZor(ContextoComunicacao& contexto);
bool baixarItensHistoricoGerente(ContextoComunicacao& contexto);

} // namespace qav::sync
