#pragma once
// JSON with exact numbers. QJsonDocument turns every number into a double, which cannot hold 0.1 or
// a 17-digit amount exactly; so before parsing, every number literal outside strings is rewritten as
// a string holding its exact plain decimal text ("1.5e2" becomes "150"), and the reader parses that
// text with Decimal::parse. Numbers given as decimal strings go the same way.

#include <QByteArray>

namespace qavtool {

// The JSON text with its number literals quoted. Text that is not a well-formed number is left as it
// is, for the JSON parser to reject.
QByteArray citarNumeros(const QByteArray& json);

} // namespace qavtool
