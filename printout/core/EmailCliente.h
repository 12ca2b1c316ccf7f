#pragma once
// The address typed in the printout window is remembered for the customer's next order documents:
// an address other than the customer's main one is kept as the alternative (CLI:EMAIL_QAV); typing
// the main one clears the alternative.

#include "store/core/Store.h"
#include "store/core/StoreError.h"

#include <QString>

namespace qav::impressao {

// Nothing is written for a blank entry or an unknown customer. False with `erro` when the customer
// could not be written.
bool lembrarEmailCliente(Store& store, int idCliente, const QString& entrada, StoreError* erro);

} // namespace qav::impressao
