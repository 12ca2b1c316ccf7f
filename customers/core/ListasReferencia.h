#pragma once
// What the salesperson, payment-form, municipality and price-list lists show.

#include "store/core/Record.h"
#include "ui/core/ListFilter.h"

#include <QString>

namespace qav::referencia {

// Active salespeople of every company of the folder (a supervisor picks among all of them).
ListFilter filtroVendedores();
// Payment forms of the active company.
ListFilter filtroFormasPag(int idEmpresa);
// Price lists of the active company, without those reserved to one customer.
ListFilter filtroPautas(int idEmpresa);

// "Bancaria" when the payment form is collected through a bank, else "Carteira".
QString cobranca(const Record& formaPag);

} // namespace qav::referencia
