#pragma once
// The header of an order as the ERP's order table receives it.

#include "store/core/Date.h"
#include "store/core/Record.h"
#include "sync/core/conexao/Conexao.h"

namespace qav::sync {

// The customer's second salesperson on the server, with the rate and the way it is paid ("F" on
// invoicing, "R" on receipt).
struct SegundoVendedor {
    long long codigo = 0;
    Decimal taxa;
    QString tipo;
};

struct DadosCabecalho {
    const Record& pedido;     // VDA, its customer already the server's
    const Record& cliente;    // CLI
    const Record& vendedor;   // VEN of the order (blank when absent)
    const Record& formaPag;   // FORPAG (blank when absent)
    const Record& empresa;    // EMP of the order (blank when absent)
    const Record& tipoPedido; // QAVTIPOPED (blank when absent)
    int numero = 0;           // the number reserved on the server
    QString numeroQav;        // "000123.A.00000045"
    SegundoVendedor segundo;
    long long idTes = 0;
    Date hoje;
    long long idPedido = 0; // the id taken for the order on the server
};

// The INSERT of the header into zor.pedidos.
QString comandoCabecalho(const Conexao& conexao, const DadosCabecalho& dados);

} // namespace qav::sync
