#pragma once
// How the order list reaches the order header form and the order printout, which live in modules of
// their own: each registers its opener here when it is built. Without one, the list keeps the
// buttons that would open it, disabled, with the menu's tooltip for windows this build lacks.

#include "store/core/Record.h"
#include "ui/core/ListContext.h"
#include "ui/core/Requisicao.h"

#include <functional>
#include <optional>

class QWidget;

namespace qav {

struct RascunhoPedido;

struct PedidoAberto {
    Requisicao requisicao = Requisicao::Inserir;
    // Insert: the values the new order starts with (customer or representative of the list's tab);
    // otherwise the order as the list shows it.
    const Record* pedido = nullptr;
    // A draft left by a crash, to be reopened (unsaved) in the form; the order (change) or the
    // values to start with (insert) as above.
    const RascunhoPedido* rascunho = nullptr;
};

// Runs the form modally; returns the id of the order saved (or deleted), nothing when cancelled.
using AbrirFormularioPedido = std::function<std::optional<int>(QWidget* parent, const ListContext& contexto,
                                                               const PedidoAberto& pedido)>;
// Prints, saves as PDF or e-mails order `idPedido`.
using ImprimirPedido = std::function<void(QWidget* parent, const ListContext& contexto, int idPedido)>;

namespace janelasPedido {
void registrarFormulario(AbrirFormularioPedido abrir); // empty: none
const AbrirFormularioPedido& formulario();
void registrarImpressao(ImprimirPedido imprimir);
const ImprimirPedido& impressao();
} // namespace janelasPedido

} // namespace qav
