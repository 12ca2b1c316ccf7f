#pragma once
// The commercial rules an order must meet to be confirmed: minimum order value, discount limits per
// price list, representative and product, discount against commission, flex balance, credit limit,
// overdue receivables and the release code. The same evaluation feeds the confirmation ("&OK"),
// which shows the messages in this order and stops at the first refusal, and the live rules panel of
// the order form, which shows every rule with the figure that decides it.

#include "orders/core/DadosPedido.h"
#include "orders/core/Mensagens.h"
#include "orders/core/Recalculo.h"
#include "store/core/Date.h"

#include <QString>
#include <vector>

namespace qav {

// An open receivable of the order's customer (ctr.tps, CTR:DEVED = customer).
struct Titulo {
    Date VECTO;
    Decimal SALDO;
};

// In the order the confirmation tests them.
enum class Regra {
    CodigoLiberacao, // the release code, when one is typed, must match the order
    ValorMinimo,     // released orders: the representative's minimum order value
    Descontos,       // each item's discount against the price list, representative and product limits
    Comissao,        // no item's discount above its commission share
    Flex,            // released flex orders: the flex balance covers a negative flex
    LimiteCredito,   // released orders, when the company turns it on: customer's credit limit
    TitulosAtraso,   // released orders, when the company turns it on: no receivable overdue
};

struct ResultadoRegra {
    enum class Estado {
        Passa,
        Aviso,      // shown, not refused (a flex order above a product's limit)
        Recusa,     // the order cannot be confirmed
        NaoSeAplica // off by the settings, or not for this situation (see resumo)
    };
    Regra regra = Regra::CodigoLiberacao;
    Estado estado = Estado::Passa;
    // One line for the rules panel with the figure that decides, in Brazilian notation:
    // "Desconto 16,00 % > limite 14,50 %", "Total 1.234,56 ≥ mínimo 500,00".
    QString resumo;
    // What the confirmation shows, in order (one per item for the discount limits). Empty when the
    // rule passes.
    Mensagens mensagens;
    // Overdue receivables: the confirmation asks, titled "Títulos em Atraso", whether to open the
    // customer's receivables; mensagens holds the question.
    bool perguntaConsultarTitulos = false;
};

struct EntradaRegras {
    const Pedido& pedido; // recalculated
    const std::vector<PedidoItem>& itens;
    const DadosPedido& dados;
    const ResultadoRecalculo& recalculo; // of the same recalculation
    const std::vector<Titulo>& titulos;  // the customer's receivables
    Date hoje;
};

// Header rules the form applies as fields are entered and again on confirmation.
// The customer belongs to another representative (CLI:COD_VENDEDOR other than QAVCFG:COD_VENDEDOR)
// and the order's representative may not sell to other representatives' customers.
bool clienteDeOutroRepresentante(const DadosPedido& dados);
// The header discount an order takes when its payment form is chosen: the customer's own order
// discount (CLI:TX_DESC_PEDIDO) when it has one, otherwise the payment form's (FORPAG:DESCO). A
// customer's negotiated discount is not to be lost by picking the terms.
Decimal descontoDoPedido(const DadosPedido& dados);
// Order types that carry no payment form (3, 4, 5, 7, 8, 10 and 11).
bool tipoSemFormaPag(int tipov);
// A receivable due before `hoje` with a balance above 0.09: the form offers to show the receivables.
bool temContasVencidas(const std::vector<Titulo>& titulos, Date hoje);

// Every rule, in the confirmation's order. Rules that apply only to a released order (situation 2)
// are evaluated on a pending one too, as if it were being released, and marked NaoSeAplica with the
// would-be outcome in resumo, so that the representative sees beforehand what would refuse it.
std::vector<ResultadoRegra> avaliarRegras(const EntradaRegras& entrada);

// The confirmation: the rules that apply, in order, up to and including the first refusal. The
// minimum value stops everything after it; the discount rule reports every item before refusing.
// Only results with something to show are listed: Aviso ones (their messages are shown, the order
// goes on) and the refusal; an empty list confirms the order.
std::vector<ResultadoRegra> regrasDaConfirmacao(const EntradaRegras& entrada);

} // namespace qav
