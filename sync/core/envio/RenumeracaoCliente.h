#pragma once
// A customer created on this workstation takes, in the local tables, the id the ERP knows it by: the
// customer record itself, its partners and every order of it, whatever the order's situation, so that
// no local record is left naming an id that no longer exists.

#include "sync/core/envio/Cliente.h"
#include "sync/core/execucao/ContextoComunicacao.h"

namespace qav::sync {

// Inside the order's local transaction. When a customer with the server id is already here (the ERP's
// customer came down before), the uploaded copy is deleted and the one here kept; its partners join
// the kept customer's unless the kept one already has them. Afterwards the buffer of
// `tabelas.clientes` holds the customer under the server id, and the order in the buffer of
// `tabelas.pedidos` names that id and can still be written. False when a table failed (the reason has
// been shown).
bool renumerarClienteLocal(const ContextoComunicacao& contexto, TabelasEnvio& tabelas, int idLocal,
                           int idServidor);

} // namespace qav::sync
