#pragma once
// The e-mail that carries the order's PDF to the customer.

#include "printout/core/DocumentoPedido.h"

#include <QString>

namespace qav::impressao {

inline const QString kAssuntoEmail = QStringLiteral("Confirmação do Pedido");

// "Att <contact>" (or "Att Setor de Compras"), the covering line, the greeting, the salesperson and the
// issuer; lines end with "\r\n"; at most 800 characters.
QString corpoEmail(const DocumentoPedido& documento);

// The address the e-mail entry starts with: the customer's alternative address for order documents,
// else the main one, trailing blanks cut.
QString emailInicial(const ClienteImpresso& cliente);

} // namespace qav::impressao
