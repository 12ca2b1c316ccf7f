#pragma once
// The tax operation an order goes out under: the order type's (one for final consumers, one for the
// others), else the customer's own, else the company's default for sales inside or outside Santa
// Catarina.

#include "store/core/Record.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <optional>

namespace qav::sync {

struct OperacaoFiscal {
    long long idTes = 0;         // 0: none
    long long codigo = 0;        // the operation's code (5101, ...), 0 when unknown
    bool stExclusiva = false;    // the operation has tax situations of its own (gestao.stxtes)
    long long empresaFiscal = 0; // the company whose substitution rules apply
};

// `tipoPedido` may be blank (no order type). nullopt when the server refused a statement (shown).
std::optional<OperacaoFiscal> escolherOperacaoFiscal(ContextoComunicacao& contexto, const Record& cliente,
                                                     const Record& tipoPedido, const QString& estado);

} // namespace qav::sync
