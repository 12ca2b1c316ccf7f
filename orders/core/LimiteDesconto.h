#pragma once
// Discount limits of the representative and of the product, combined with the payment form's
// discount as successive discounts: a limit of 10 % with a 5 % payment-form discount allows 14.50 %.

#include "store/core/Decimal.h"

namespace qav {

// limite - limite / 100 x descontoFormaPag + descontoFormaPag; the limit itself without a payment-form
// discount.
Decimal limiteComDescontoFormaPag(const Decimal& limite, const Decimal& descontoFormaPag);

} // namespace qav
