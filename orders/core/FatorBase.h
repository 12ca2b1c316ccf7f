#pragma once
// The tax-base factor: markers typed in the order observation scale the IPI base, the base and the
// own-ICMS deduction of the margin method of ICMS-ST, and the IPI taken out of list prices for flex.

#include "orders/core/DadosPedido.h"

#include <QString>

namespace qav {

// With system option 53596 active the bare markers are searched ("N0", "$$", "N1" .. "N9", "###",
// "##"), otherwise the delimited ones ("#N0#" .. "#N9#"). No marker gives 1.
int fatorBase(const QString& observacao, bool marcadoresSimples);
// As above, with the option read from the system options.
int fatorBasePedido(const QString& observacao, const DadosPedido& dados);
// The item form uses the bare markers under the option and 1 otherwise.
int fatorBaseItem(const QString& observacao, const DadosPedido& dados);

} // namespace qav
