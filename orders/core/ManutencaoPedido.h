#pragma once
// Work on a whole order at once: delete it with its items and their accessories, or duplicate it as
// a new pending order. Each runs in one store transaction, so that after a crash or a kill at any
// moment the order is in the files whole or not at all.

#include "store/core/Date.h"
#include "store/core/Store.h"

#include <QString>
#include <functional>

namespace qav {

struct ResultadoPedido {
    enum class Falha {
        Nenhuma,
        Transmitido,   // the order belongs to the company now: nothing was changed
        NaoEncontrado, // another window deleted it meanwhile
        Arquivo,       // a table failed: nothing was changed (see erro)
    };
    Falha falha = Falha::Nenhuma;
    QString mensagem; // what to tell the user, titled "Aviso" (transmitted) or "Erro" (file)
    StoreError erro;
    int idPedido = 0; // the new order of a duplicate
    int numero = 0;   // its number
    int itens = 0;    // items deleted or copied
    int acessorios = 0;

    bool ok() const { return falha == Falha::Nenhuma; }
};

// Told after each item deleted or copied (a large order takes a moment).
using ProgressoPedido = std::function<void(int itens)>;

// Deletes order `idPedido` with its items and their accessory rows. A transmitted order is refused
// with "Pedido já transmitido! Impossivel excluir!", judged on the order as it is in the file when
// the transaction starts.
ResultadoPedido excluirPedido(Store& store, int idPedido, const ProgressoPedido& progresso = {});

// Copies order `idPedido` as a new order: id and number one above the highest of the folder (every
// company's orders count, the number being unique across the folder), dated `hoje`, pending, without
// the back office's number and the release code (both belong to the original's number); every other
// header field as it was. Its items follow in item order with new ids one above the highest,
// and each copied item takes copies of its accessory rows, so that its accessory value still has
// the rows it was computed from.
ResultadoPedido duplicarPedido(Store& store, int idPedido, Date hoje, const ProgressoPedido& progresso = {});

} // namespace qav
