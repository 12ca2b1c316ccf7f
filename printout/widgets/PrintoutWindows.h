#pragma once
// The order printout offered to the order list and the order form.

namespace qav {

// Makes the list's print button and the form's print after saving open the printout window.
void registrarImpressaoPedido();

} // namespace qav
