#pragma once
// The central server's rows that match a demonstration folder, as SQL for a demonstration ERP server:
// its company, configuration, salesperson, order types and flex balance, and the office's tables the
// downloads read (municipalities, groups, tax situations, products, price lists, payment forms,
// freight costs, customers, receivables and the open orders of the history), so that a communication
// run over the demo keeps the demo as it is. The office numbers the orders it receives above every
// number the folder knows, and gives them ids above those of the folder's history.

#include <QString>

namespace qav::demo {

// INSERT statements for the schemas gestao and zor; empty with `erro` when the folder cannot be read.
QString sqlDoServidor(const QString& pastaDados, int idEmpresa, QString* erro);

} // namespace qav::demo
