#pragma once
// How the upload of orders writes the values of the local records into its statements, and reads the
// one row it expects back, telling "no row" apart from a server error.

#include "store/core/Decimal.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <QString>
#include <optional>

namespace qav::sync::envio {

// A text field: padding and carriage returns left out (the ERP keeps line feeds only), quoted for this
// connection; Null when nothing is left.
QString texto(const Conexao& conexao, const QString& valor);
// An id that may be absent: Null when 0.
QString idOuNull(long long valor);
// A floating-point money field of the order, as the decimal text it stands for (321.3, not
// 321.30000000000001).
QString real(double valor);

// A local day number as the log rows write it (dd/mm/yyyy), blank for no date.
QString dataBr(long long diaLocal);

// The first row of the answer in `linha` (nullopt when there is none). False when the server refused
// the statement: the SQL error message has been shown, and the order's server transaction is lost.
bool lerLinha(const ContextoComunicacao& contexto, const QString& comando, std::optional<Linha>& linha);

} // namespace qav::sync::envio
