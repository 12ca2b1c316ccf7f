#pragma once
// The header of an order as a manager database's order table receives it.

#include "store/core/Date.h"
#include "store/core/Record.h"
#include "sync/core/conexao/Conexao.h"

namespace qav::sync {

struct DadosCabecalhoGerente {
    const Record& pedido;   // VDA, its customer already the server's
    const Record& cliente;  // CLI
    const Record& vendedor; // VEN of the order (blank when absent)
    const Record& pauta;    // PAUTA of the order (blank when absent)
    const Record& qavcfg;   // the company's configuration
    int numero = 0;         // the number reserved on the server
    int numeroDia = 0;      // the order's place among the office's orders of the day
    QString numeroQav;      // "000123.A.00000045"
    Date hoje;
    long long idPedido = 0; // the id taken for the order on the server
};

// An order delivered to the customer on the spot reaches the office already delivered, with a stock
// exit per item.
bool entregueNoAto(const Record& pedido);

// The INSERT of the header into gerente.pedidos.
QString comandoCabecalhoGerente(const Conexao& conexao, const DadosCabecalhoGerente& dados);

} // namespace qav::sync
