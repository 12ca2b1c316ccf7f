#pragma once
// Freight of an order given as a rate: a percentage of the sum of the item totals.

#include "store/core/Decimal.h"

namespace qav {

// Who pays the freight (VDA:FCONTA): the issuer, or the receiver, whose order total then carries the
// freight value and for whom no freight cost is looked up. 0 is not yet chosen; an order is not
// confirmed without one of the two. QAVCFG:BLOQ_FRETE forces one of them with the same values.
namespace fconta {
enum : int { Emitente = 1, Destinatario = 2 }; // "Emitente (CIF)", "Destinatário (FOB)"
inline bool escolhido(int valor) {
    return valor == Emitente || valor == Destinatario;
}
} // namespace fconta

// Above this rate the freight value is computed from it; at or below it the value is typed.
Decimal taxaFreteMinima();
// FRETE = TOTPR x TX_FRETE / 100, kept exact like the header's other money fields.
Decimal freteDaTaxa(const Decimal& totpr, const Decimal& txFrete);

} // namespace qav
