#pragma once
// The draft of an order being typed. The order form holds its order in memory until "&OK", so that
// the files never carry half an order; a representative who has typed sixty items when the
// notebook's battery dies or the program is killed would lose them all. So after every confirmed
// change (an item put in or taken out, a header entry left) the form writes the order as it stands,
// header, items and accessory rows, into a draft file of the data folder:
//
//     <data folder>/rascunhos/pedido-<process id>-<form number>.json
//
// written whole or not at all (a new file renamed over the old one). A draft is no order: no list,
// upload or total reads it. "&OK" and a discarding Esc remove it; a draft left by a program that
// no longer runs (or by a form of this program that is closed) is offered back when the order list
// opens, and reopened in the order form, unsaved.

#include "base/core/Resultado.h"
#include "orders/core/EdicaoPedido.h"

#include <QString>
#include <optional>
#include <vector>

namespace qav {

struct RascunhoPedido {
    QString arquivo;   // the draft's file
    bool novo = false; // a new order (else an edited one, idPedido)
    int idPedido = 0;  // the order's id (provisional for a new one)
    int idEmpresa = 0;
    int cliente = 0; // VDA:CLIEN
    Record pedido;   // the header as typed
    std::vector<ItemEmEdicao> itens;

    RascunhoPedido();
};

namespace rascunho {

// The file a new form's draft goes to: one per form of this process.
QString novoArquivo(const QString& pastaDados);

// Writes the draft of `edicao` to `arquivo`, replacing the previous one whole. Not done, with the
// reason, when it could not be written; the order in memory is untouched either way.
Resultado gravar(const QString& arquivo, const EdicaoPedido& edicao);
// Reads one draft; nothing when the file is not a draft this program wrote.
std::optional<RascunhoPedido> ler(const QString& arquivo);
// Removes the draft (no error when it is already gone).
void remover(const QString& arquivo);

// A form of this process works on the draft (it is not offered while the form is open).
void adotar(const QString& arquivo);
void liberar(const QString& arquivo);

// The drafts of company `idEmpresa` left by programs that no longer run, or by closed forms of this
// one, oldest first.
std::vector<RascunhoPedido> pendentes(const QString& pastaDados, int idEmpresa);

} // namespace rascunho
} // namespace qav
