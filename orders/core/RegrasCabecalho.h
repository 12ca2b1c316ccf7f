#pragma once
// The rules of an order's header that the order form applies while the representative fills it in,
// and again when the order is confirmed: which customer, payment form, release code and carriers an
// order may have, what a customer and a payment form bring into a new order, what keeps it from
// being confirmed before the commercial rules are even looked at (no freight responsibility, no
// items), and which entries the company's settings lock. The form shows the refusals and moves the
// focus; the decisions are here, without widgets. The commercial rules themselves (minimum value,
// discount limits, flex, credit) are RegrasLiberacao.

#include "orders/core/DadosPedido.h"
#include "orders/core/Mensagens.h"
#include "ui/core/StandardWarning.h"

#include <QString>
#include <optional>

namespace qav {

// The entry of the order a refusal sends the representative back to.
enum class CampoPedido {
    Nenhum,
    Cliente,
    FormaPag,
    Pauta,
    CodigoLiberacao,
    Fconta,
    Itens,
    Transportador,
    Redespacho,
};

// Why an entry or the confirmation is refused, where the focus goes, and what is said.
struct RecusaPedido {
    enum class Motivo {
        ClienteInexistente,          // no customer has the order's id
        ClienteDeOutroRepresentante, // and the representative may not sell to it
        FormaPagInexistente,         // the order type takes a payment form, and the code has none
        CodigoLiberacaoInvalido,     // a release code given for another order (or another total)
        TransportadorInexistente,    // carrier or redispatch carrier code without a carrier
        FreteSemResponsavel,         // neither issuer (CIF) nor receiver (FOB) pays the freight
        ValorForaDoCampo,            // a computed value does not fit its field
        SemItens,                    // an order without products
        PautaInvalida,               // items need a price list that exists...
        PautaInativa,                // ...and is active
    };
    Motivo motivo = Motivo::ClienteInexistente;
    CampoPedido campo = CampoPedido::Nenhum;
    // A code that names no row is told by the standard warning `aviso` naming the entry (`rotulo`);
    // every other refusal by `mensagem`.
    std::optional<Aviso> aviso;
    QString rotulo;
    Mensagem mensagem;
};

// What a customer's row tells the representative when it is typed into an order; none of it stops
// the entry.
struct AvisosCliente {
    // A receivable overdue with a balance: the question whether to show the customer's receivables.
    std::optional<Mensagem> contasVencidas;
    std::optional<Mensagem> creditoNaoLiberado; // CLI:LIB_CRED is 0
    std::optional<Mensagem> alerta;             // CLI:ALERTA set: the customer's note
};

// Which header entries the representative may change, as the order and the company's settings
// stand.
struct CamposLiberados {
    bool formaPag = true;        // order types without a payment form leave it out
    bool frete = true;           // a freight rate computes the value
    bool pauta = true;           // locked by items, by the company or by a customer's exclusive list
    bool descp = true;           // the first discount %: locked discounts, unless by the list's value
    bool outrosDescontos = true; // discount value and the 2nd to 4th discount %
    bool codigoBarras = false;
    bool produtoEntregue = false;
    bool fconta = true; // the company may force the freight responsibility
    bool abaFlex = false;
    bool abaAnalise = false;
};

} // namespace qav
