#pragma once
// Deleting an order from a window: a transmitted order is refused with its notice; otherwise the
// standard delete confirmation is asked and, on Ok, the order goes with its items and accessories
// in one transaction. Failures are shown to the user.

#include "store/core/Store.h"

class QWidget;

namespace qav {

// True when the order was deleted (or was already gone).
bool excluirPedidoConfirmado(QWidget* parent, Store& store, int idPedido, int situa);

} // namespace qav
