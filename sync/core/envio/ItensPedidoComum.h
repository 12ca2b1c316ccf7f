#pragma once
// What the uploads read of an order's items and send of their accessories, whatever the server.

#include "store/core/Record.h"
#include "store/core/Table.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <functional>
#include <optional>
#include <vector>

namespace qav::sync {

// The items of the local order in the order they were entered; `ok` false when the table failed.
std::vector<Record> lerItensPedido(Table& itens, long long idPedido, bool& ok);

// Reads the items of local order `idPedido` in their order and sends each through `enviar` (given the
// item and its place, from 1); false when the items could not be read or at the first that failed
// (said why).
bool enviarCadaItem(ContextoComunicacao& contexto, Table& itens, long long idPedido,
                    const std::function<bool(const Record& item, int ordem)>& enviar);

// The item's product in the order's price list (`pauta` may be blank); nullopt when it has none.
std::optional<Record> precoNaPauta(Table& precos, const Record& pauta, long long produto);

// Inserts the accessories of local item `idVendasi` into `tabelaServidor` (the server's
// pedacessorio) under the server's item `idItemServidor`. False at the first that failed (said why).
bool enviarAcessorios(ContextoComunicacao& contexto, Table& pedacess, long long idVendasi,
                      const QString& idItemServidor, const QString& tabelaServidor);

} // namespace qav::sync
