#pragma once
// The upload of the released orders to the ERP ("zor" schema) or to a sales office's manager database
// (schema gerente): each order with its new customer, number, items, accessories and log row in one
// server transaction beside one local transaction, exactly once even when a previous run lost its
// local commit.

#include "sync/core/execucao/Comunicacao.h"

namespace qav::sync {

// The upload step of the run (runs only against the ERP). True when every order went (or there was
// none, or the local salesperson is unknown and the upload was skipped); false at the first order
// that failed, both sides of that order rolled back.
bool enviarPedidosZor(ContextoComunicacao& contexto);

// The same step against a manager database: the orders go into gerente.pedidos with a day number,
// their items each under the tax operation of its product, and a stock exit per item for an order
// delivered on the spot.
bool enviarPedidosGerente(ContextoComunicacao& contexto);

} // namespace qav::sync
