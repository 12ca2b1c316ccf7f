#pragma once
// The items of an order and their accessories as the ERP's order tables receive them: a linked
// product goes as the product it is linked to, a bar carries its length in its stock unit, and a
// customer invoiced by the bar buys bars at their weight's price.

#include "store/core/Record.h"
#include "store/core/Table.h"
#include "sync/core/envio/ItensPedidoComum.h"
#include "sync/core/envio/OperacaoFiscal.h"
#include "sync/core/execucao/ContextoComunicacao.h"

namespace qav::sync {

struct DadosItens {
    ItensDoPedido fontes;
    const OperacaoFiscal& operacao;
};

// Inserts every item of the order (in the order they were entered, numbered from 1) and its
// accessories. False at the first that failed (said why).
bool enviarItens(ContextoComunicacao& contexto, const DadosItens& dados);

} // namespace qav::sync
