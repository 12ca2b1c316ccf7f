#pragma once
// Quantity rules of the item form: weight of products sold by pieces x length, and the sale lot.

#include "orders/core/Entidades.h"
#include "orders/core/Mensagens.h"

#include <optional>

namespace qav {

// pieces x length (mm) x weight per metre / 1000, as stored (3 decimals).
Decimal quantidadePorPecas(int pecas, int comprimentoMm, const Decimal& pesoMetro);

// The next whole multiple of the lot above `quantidade`: (INT(quantidade / lote) + 1) x lote.
Decimal proximoMultiploLote(const Decimal& quantidade, const Decimal& lote);

struct VerificacaoLote {
    bool foraDoLote = false;          // the quantity is not a whole multiple of the sale lot
    std::optional<Mensagem> mensagem; // raised unless the product allows any quantity
    bool voltarAoCampo = false;       // the quantity is refused: the focus goes back to the field
    Decimal quantidadeValida;
};

// `quantidade` is the pieces of a product sold by pieces x length, the quantity otherwise.
VerificacaoLote verificarLote(const Decimal& quantidade, const Produto& produto, const QavCfg& qavcfg);

} // namespace qav
