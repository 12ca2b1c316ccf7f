#pragma once
// The central server's rows that match a demonstration folder: its company, configuration,
// salesperson, order types and flex balance, as SQL for a demonstration server, so that a
// communication run over the demo keeps the demo as it is.

#include <QString>

namespace qav::demo {

// INSERT statements for the schema gestao; empty with `erro` when the folder cannot be read.
QString sqlDoServidor(const QString& pastaDados, int idEmpresa, QString* erro);

} // namespace qav::demo
