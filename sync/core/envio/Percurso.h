#pragma once
// What every order upload does whatever the server: the walk of the company's released orders, one
// server transaction per order, the customer created on this workstation going first, and the local
// order marked transmitted under the server's number once the server has committed it. The orders go
// in groups: the server ids of a group's orders are taken first and the orders recorded as in transit
// (qavtrans.tps) in one local commit; each order then goes in its own server transaction, its local
// side kept inside the group's local transaction; and one local commit marks the orders the server
// committed and clears their records. The next upload looks on the server only for the orders so
// recorded, so that an order whose local commit was lost is not sent twice and no other order is ever
// taken for it. What the server's tables receive is the destination's.

#include "store/core/Record.h"
#include "store/core/Table.h"
#include "sync/core/envio/Cliente.h"
#include "sync/core/envio/ItensPedidoComum.h"
#include "sync/core/envio/NumeracaoPedido.h"
#include "sync/core/envio/RegistroTransito.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <initializer_list>
#include <optional>
#include <utility>

namespace qav::sync {

// The local tables an upload reads and writes, open for the whole step.
struct TabelasPedidos {
    explicit TabelasPedidos(Store& store);
    // The first table that did not open, or nullptr.
    Table* abrir();

    Table pedidos, peditens, pedacess, clientes, socios, municipios, tipos, vendedores, formas, empresas,
        pautas, precos, produtos;
    TabelasEnvio envio;
    // Written on its own before a group's orders go; cleared inside the group's local transaction.
    RegistrosTransito transito;
};

// The record of `tabela` with the given key values.
std::optional<Record> lerRegistro(Table& tabela, const char* chave,
                                  std::initializer_list<std::pair<const char*, long long>> valores);
// The same, or a blank record when there is none.
Record lerOuVazio(Table& tabela, const char* chave,
                  std::initializer_list<std::pair<const char*, long long>> valores);

// One released order with what it names, as the destination receives it.
struct PedidoAEnviar {
    // Every record blank.
    explicit PedidoAEnviar(const TabelasPedidos& t)
        : pedido(t.pedidos.def()), cliente(t.clientes.def()), vendedor(t.vendedores.def()),
          empresa(t.empresas.def()), tipo(t.tipos.def()), formaPag(t.formas.def()), pauta(t.pautas.def()) {}

    Record pedido;   // VDA, its customer already the server's
    Record cliente;  // CLI
    QString estado;  // of the customer's town
    Record vendedor; // VEN of the order (blank when absent)
    Record empresa;  // EMP of the order (blank when absent)
    Record tipo;     // QAVTIPOPED (blank when absent or not read)
    Record formaPag; // FORPAG (blank when absent or not read)
    Record pauta;    // PAUTA (blank when absent)
    QString numeroQav;
    long long idPedidoServidor = 0; // the id taken for it on the server before it goes
};

// What the item upload of either server reads of the order `p`, inserted on the server as
// `idPedidoServidor`.
inline ItensDoPedido itensDoPedido(TabelasPedidos& t, const PedidoAEnviar& p, long long idPedidoServidor) {
    return {.tabelas = t.envio,
            .produtos = t.produtos,
            .precos = t.precos,
            .pedido = p.pedido,
            .cliente = p.cliente,
            .pauta = p.pauta,
            .vendedor = p.vendedor,
            .idPedidoServidor = idPedidoServidor};
}

// An order the destination inserted: its number and the server's id of the new row.
struct PedidoInserido {
    int numero = 0;
    long long idPedido = 0;
};

class DestinoPedidos {
public:
    virtual ~DestinoPedidos() = default;
    // The server's order table, where an order is looked up by its workstation number.
    virtual const PedidosServidor& pedidosServidor() const = 0;
    virtual const ClientesServidor& clientes() const = 0;
    // Whether the order's type and payment form are read for it.
    virtual bool usaTipoEFormaPagamento() const = 0;
    // Inside the order's open transactions: numbers the order and inserts it, under the id taken for
    // it, with its items and log row. Its number and id; nullopt when it failed (said why).
    virtual std::optional<PedidoInserido> inserir(ContextoComunicacao& contexto, TabelasPedidos& tabelas,
                                                  const PedidoAEnviar& pedido) = 0;
};

// The first field of type real64 of `registro` that holds no finite number (NaN, infinity), as
// "VDA:TOTAL"; empty when every one does. Such a value cannot be written as a number on the server.
QString campoNaoFinito(const Record& registro);

// The upload step. True when every order went (or there was none, or the local salesperson is
// unknown and the upload was skipped); false at the first order that failed, both sides of that order
// rolled back and the orders before it marked transmitted.
bool enviarPedidos(ContextoComunicacao& contexto, DestinoPedidos& destino);

} // namespace qav::sync
