#pragma once
// Finding the company's product the representative types or reads: by its code, by the code written
// with six digits, or by its bar code. Codes and bar codes are compared over their 14 characters.

#include "orders/core/Entidades.h"
#include "store/core/Table.h"

#include <QString>

namespace qav::procura {

// The product of company `empresa` whose COD_BARRAS is `codigo`. Ok (row in `into`), NotFound or
// Error (see produtos.error()).
Status porCodigoBarras(Table& produtos, int empresa, const QString& codigo, Produto& into);

// The product entry of the item form: CODIGO = `entrada`; else, for an entry of digits only,
// CODIGO = the number written with six digits ("123" finds "000123"); else COD_BARRAS = `entrada`.
// A blank entry finds nothing.
Status porEntrada(Table& produtos, int empresa, const QString& entrada, Produto& into);

} // namespace qav::procura
