#pragma once
// Numbers and dates as the lists and forms show them: "." between thousands, "," before the
// decimals, dates dd/mm/yyyy (blank for no date).

#include "store/core/Date.h"
#include "store/core/Decimal.h"

#include <QString>

namespace qav::br {

// "1.234,5600" for places = 4; rounded half away from zero.
QString numero(const Decimal& value, int places);
// A whole number written with `width` digits, zero-filled: "000045".
QString digitos(long long value, int width);
// "31/12/2026", empty for no date.
QString data(Date value);

} // namespace qav::br
