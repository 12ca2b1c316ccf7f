#pragma once
// The order history of a customer as the company's back office keeps it (pedcon.tps) with the items
// of each order (pedicon.tps): the texts of the situation, the billing state and the sale type, and
// the total weight of an order.

#include "store/core/Date.h"
#include "store/core/Decimal.h"
#include "store/core/Store.h"
#include "store/core/StoreError.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace qav::historico {

// The back office's description of the situation, or, when it sent none, the text of the code:
// 1 "Pendente", 2 "Liberado", 3 "Faturado", 4 "Cancelado".
QString textoSituacao(const QString& descricao, int situacao);
// The billing state in two letters: 3 "FP", 4 "FT", 6 "CA"; blank for any other.
QString siglaFaturamento(int sitPed);
// "N" "Normal", "D" "Devolução", "O" "Orçamento"; blank for any other.
QString tipoVenda(const QString& tipo);
// The notice for an item whose product is not in the product table.
QString produtoNaoEncontrado(std::int64_t idProduto);

struct Pedido {
    int idPedcon = 0;
    int idEmpresa = 0;
    int numero = 0;
    int numEntrega = 0;
    int numNf = 0;
    QString numPedQav;
    QString situacao; // see textoSituacao()
    QString sitPed;   // see siglaFaturamento()
    QString tipo;     // see tipoVenda()
    Date dataPedido;
    Date dataPrevFatur;
    Date dataFatur;
    std::int64_t idCliente = 0;
    std::int64_t idVendedor = 0;
    QString contato;
    QString prazo;
    Decimal valorTotal;
    QString obs;
    QString chaveNfe;
};

struct Item {
    int ordem = 0;
    std::int64_t idProduto = 0;
    bool produtoEncontrado = false;
    QString codigo;    // PRO:CODIGO, blank when the product is missing
    QString descricao; // the product's name, else the description the back office sent
    QString complemento;
    Decimal quantidade;
    Decimal desconto; // %
    Decimal precoUnitario;
    Decimal pesoUnitario; // PRO:PESOB, 0 when the product is missing
};

struct Leitura {
    bool ok = true;
    StoreError erro;
    QString tabela; // the label of the table that failed
};

// The customer's history orders in the company, newest first.
Leitura lerPedidos(Store& store, int idEmpresa, std::int64_t idCliente, std::vector<Pedido>& pedidos);
// One history order by its id; false (ok true) when there is none.
Leitura lerPedido(Store& store, int idPedcon, Pedido& pedido, bool& achou);
// The items of a history order in their order, each with its product of the company.
Leitura lerItens(Store& store, int idEmpresa, int idPedcon, std::vector<Item>& itens);

// Quantity × the product's unit weight, added up in kilograms to three places.
Decimal pesoTotal(const std::vector<Item>& itens);
// Quantity × unit price less the discount, to the cent.
Decimal totalItem(const Item& item);

} // namespace qav::historico
