#pragma once
// A value as the server writes it in text, stored in a local field of whatever type: whole numbers
// ("t"/"f" for booleans), exact decimals at the field's scale, dates from their ISO form, texts cut to
// the field's width.

#include "store/core/Record.h"

#include <QString>
#include <optional>

namespace qav::sync {

// A whole number written as plain digits, with a minus or not (up to 18 digits, so that it cannot
// overflow): how the server writes most values, read without the general parsing. Nothing otherwise.
std::optional<long long> inteiroSimples(const QString& valor);

// False when the value does not fit the field (a decimal too large for it): the field is left as it was.
// `elemento` is the element of an array field.
bool atribuirDoServidor(Record& registro, const char* campo, const QString& valor, int elemento = 0);
// The same by the field's index (Record::field()), for a step that writes many rows.
bool atribuirDoServidor(Record& registro, int indice, const QString& valor, int elemento = 0);

} // namespace qav::sync
