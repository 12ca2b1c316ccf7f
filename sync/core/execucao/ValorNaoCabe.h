#pragma once
// Server values the local files cannot hold. A decimal wider than its local field or a whole number
// beyond the range of its field is not stored (the field keeps what it had), but it never vanishes
// without a word: the run's log names the record, the field and the value, and the run counts them
// for its closing lines, so that the back office can widen the field or correct the value.

#include "store/core/Record.h"
#include "sync/core/execucao/ContextoComunicacao.h"

#include <QString>

namespace qav::sync {

// Stores the server's text in the field as atribuirDoServidor does; false, after logging and
// counting it, when the value does not fit. `registro` names the record for the log ("Pedido
// Consulta # 101").
bool atribuirOuRegistrar(ContextoComunicacao& contexto, Record& registro, const char* campo,
                         const QString& valor, const QString& nomeRegistro, int elemento = 0);

// Logs and counts one value that was refused.
void registrarNaoCabe(ContextoComunicacao& contexto, const QString& nomeRegistro, const QString& campo,
                      const QString& valor);

// Whether a composite id (a server code followed by the company's four digits: price lists, payment
// forms) fits the local id fields, which hold 32 bits. When it does not, the row must be refused: the
// refusal is logged and counted under `nomeRegistro`, as the id would otherwise wrap into another one.
bool idCabe(ContextoComunicacao& contexto, long long id, const QString& nomeRegistro, const char* campo);

// The closing line of a run that refused values ("" when none was refused).
QString resumoNaoCabe(const ContextoComunicacao& contexto);

} // namespace qav::sync
