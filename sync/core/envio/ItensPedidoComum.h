#pragma once
// What the uploads read of an order's items and send of their accessories, whatever the server.

#include "store/core/Record.h"
#include "store/core/Table.h"
#include "sync/core/envio/Cliente.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <functional>
#include <optional>
#include <vector>

namespace qav::sync {

// The items of the local order in the order they were entered; `ok` false when the table failed.
std::vector<Record> lerItensPedido(Table& itens, long long idPedido, bool& ok);

// What the item uploads of both servers read: the order's local tables and records, and the order's
// id on the server.
struct ItensDoPedido {
    TabelasEnvio& tabelas; // in the order's local transaction
    Table& produtos;       // produto, open
    Table& precos;         // pauxpro, open
    const Record& pedido;
    const Record& cliente;
    const Record& pauta;    // blank when the order has none
    const Record& vendedor; // blank when absent
    long long idPedidoServidor = 0;
};

// One item on its way to the server: the local item (a destination may complete it), its place from 1,
// its product and the expression of its commission.
struct ItemEnvio {
    Record item;
    int ordem = 0;
    Record produto;
    QString comissao;
};

// Reads the order's items in their order and, for each, shows its progress line, reads its product
// ("Produto inválido!" when the company has none) and works out its commission, then sends it through
// `enviar`. False when the items could not be read or at the first that failed (said why).
bool enviarCadaItem(ContextoComunicacao& contexto, const ItensDoPedido& dados,
                    const std::function<bool(ItemEnvio& item)>& enviar);

// The item's product in the order's price list (`pauta` may be blank); nullopt when it has none.
std::optional<Record> precoNaPauta(Table& precos, const Record& pauta, long long produto);

// Inserts the accessories of local item `idVendasi` into `tabelaServidor` (the server's
// pedacessorio) under the server's item `idItemServidor`. False at the first that failed (said why).
bool enviarAcessorios(ContextoComunicacao& contexto, Table& pedacess, long long idVendasi,
                      const QString& idItemServidor, const QString& tabelaServidor);

} // namespace qav::sync
