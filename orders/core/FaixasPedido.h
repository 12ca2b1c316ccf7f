#pragma once
// The ranges the typed values of an order keep: a discount is 0 to 100 % and its value never
// negative nor above what it discounts, and a quantity is above 0. A negative discount would raise
// the net values, flex and tax bases while the total ignores it; one above 100 % gives a negative
// order; a negative quantity reaches the office as a returned line. Each refusal is a standard
// warning (range) naming the entry and its limits.

#include "orders/core/Entidades.h"
#include "orders/core/Mensagens.h"
#include "ui/core/StandardWarning.h"

#include <QString>
#include <optional>

namespace qav {

struct ForaDaFaixa {
    // The entry to put the focus on: "descp", "descv" (header or item), "quantidade".
    QString campo;
    Aviso aviso = Aviso::ValorForaFaixa;
    QString texto1; // the entry's label
    QString texto2; // the limits: "0 and 100", "0"
    // The standard warning's caption and text, for a caller that lists messages.
    Mensagem mensagem() const;
};

namespace faixa {
// A discount % of 0 to 100.
std::optional<ForaDaFaixa> percentualDesconto(const QString& campo, const QString& rotulo,
                                              const Decimal& valor);
// A discount value of 0 up to `maximo` (what it is taken from).
std::optional<ForaDaFaixa> valorDesconto(const QString& campo, const QString& rotulo, const Decimal& valor,
                                         const Decimal& maximo);
// A quantity above 0.
std::optional<ForaDaFaixa> quantidade(const QString& rotulo, const Decimal& valor);

// The header's first discount % and its value (at most the products' total), in that order.
std::optional<ForaDaFaixa> cabecalho(const Pedido& pedido);
// The item's quantity, discount % and discount value (at most quantity x unit price), in that order.
std::optional<ForaDaFaixa> item(const PedidoItem& item);
} // namespace faixa

} // namespace qav
