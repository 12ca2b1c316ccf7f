#pragma once
// Pricing of one order item as the item form does it: initial price, recalculation of the item,
// commission share, price from a chosen commission rate and the price from measures.

#include "orders/core/DadosPedido.h"
#include "orders/core/Mensagens.h"

#include <optional>
#include <vector>

namespace qav {

struct ResultadoItem {
    Decimal TOT_TRIB;   // "Total com Tributos": net value + IPI + ICMS-ST
    Decimal PRECO_ITEM; // "Preço p/Item Único": TOT_TRIB per unit, per package unit when set
    bool excessoComissao = false;
    Decimal desconto; // the discount and limit the excess was raised for
    Decimal limite;
    Mensagens mensagens;
};

// The product as the item form prices it: with an existing price list on the order, PRECO, PREC2
// and PREC3 are the list's PRECO1 to PRECO3 (0 when the product is not in the list).
Produto produtoComPrecosDaPauta(const Produto& produto, const DadosPedido& dados);

// Initial price of a newly chosen product: list price, payment-form surcharge (not in PRECO_PAUTA),
// discount for whole sale lots; then the item recalculation and the commission share.
void definirPrecoInicial(PedidoItem& item, const Pedido& pedido, const DadosPedido& dados,
                         const std::vector<Decimal>& valoresAcessorios, ResultadoItem& resultado);

// Recalculation of the item: net list price, quantity of products sold by weight, unit price with
// accessories, total and discount, net value, IPI and ICMS-ST (no tax-base factor on the taxes).
void recalcularItem(PedidoItem& item, const Pedido& pedido, const DadosPedido& dados,
                    const std::vector<Decimal>& valoresAcessorios, ResultadoItem& resultado);

// "Total com Tributos" and "Preço p/Item Único" of the item as it stands.
void totaisDoItem(const PedidoItem& item, const Produto& produto, ResultadoItem& resultado);

// Commission share after the initial price: the list's commission rate when the list row has one,
// else the representative's or the product's as ORIGEM_COM says.
void ratearComissaoItem(PedidoItem& item, const Pedido& pedido, const DadosPedido& dados,
                        ResultadoItem& resultado);

// Price from a chosen commission rate (VDAI:COMIS): PRECO1 x DIVISOR / (DIVISOR + TX_COMISSAO - COMIS).
// Returns false, leaving the item alone, when the list row has no commission rate or divisor, or when
// the rate chosen makes the divisor 0. The caller recalculates the item after a change.
bool definirPrecoPorComissao(PedidoItem& item, const DadosPedido& dados);

// Price from the measures written at the start of the item observation ("120X080": width, "X",
// height): width x height x price per square metre / 10000, rounded to 0.01. The price per square
// metre is the product price whose term (PRAZO, PRAZ2, PRAZ3) starts with the customer's state, 0
// when none does. nullopt when the 4th character is not "X". `produto` carries the prices the item
// form uses (see produtoComPrecosDaPauta).
std::optional<Decimal> precoPorMedida(const QString& observacao, const Produto& produto, const QString& uf);

} // namespace qav
