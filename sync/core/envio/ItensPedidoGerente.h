#pragma once
// The items of an order and their accessories as a manager database receives them: each item under the
// tax operation of its product (bonus orders under the office's bonus operation), with its tax
// situation, and a stock exit when the order was delivered on the spot.

#include "store/core/Record.h"
#include "store/core/Table.h"
#include "sync/core/envio/ItensPedidoComum.h"
#include "sync/core/execucao/ContextoComunicacao.h"

namespace qav::sync {

struct DadosItensGerente {
    ItensDoPedido fontes;
    const QString& estado; // of the customer's town
    int numero = 0;        // the order's number on the server
};

// Inserts every item of the order (in the order they were entered, numbered from 1), its accessories
// and its stock exit. False at the first that failed (said why).
bool enviarItensGerente(ContextoComunicacao& contexto, const DadosItensGerente& dados);

} // namespace qav::sync
