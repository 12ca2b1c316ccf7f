#pragma once
// How much flex the salesperson has left before the next communication: the balance the server gave
// at the last run plus what the local orders not yet transmitted ("Pendente" and "Liberado p/ trx")
// have used (orders totalling 0 or less) or added (orders totalling more than 0).

#include "base/core/Resultado.h"
#include "store/core/Decimal.h"
#include "store/core/Store.h"

#include <QString>
#include <optional>

namespace qav::sync {

struct SaldoFlex {
    Decimal saldoEmpresa; // QAVCFG:SALDO_FLEX, 0 when the company has no configuration
    Decimal outrosDeb;    // sum of the order totals of 0 or less
    Decimal outrosCre;    // sum of the positive order totals
    Decimal saldo;        // the three together
};

// No value when a table cannot be read: the error then says which table and why ("Erro (code) ao ler
// pedidos.tps!").
ResultadoDe<SaldoFlex> calcularSaldoFlex(Store& store, int idEmpresa);

} // namespace qav::sync
