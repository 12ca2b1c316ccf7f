#pragma once
// Release code: an 8-digit number the company's commercial department gives for one order, which lets
// the order be released although the customer has overdue receivables. Its last two digits are the
// key; an odd key also skips the overdue check. The code depends on the order total, so it stops being
// valid when the total changes.

#include "store/core/Decimal.h"

#include <cstdint>
#include <optional>

namespace qav {

// The valid code for the order and key (0..99): the last six digits of
// INT(wrap32(key x number x customer) x total), followed by the key. nullopt for a key outside 0..99
// or a total too large to compute.
std::optional<std::int32_t> gerarCodigoLiberacao(std::int32_t numero, std::int32_t cliente,
                                                 const Decimal& total, int chave);

// True when `codigo` is the valid code for the order. A code of 0 means no code and is not valid here.
bool codigoLiberacaoValido(std::int32_t codigo, std::int32_t numero, std::int32_t cliente,
                           const Decimal& total);

// The key of a code (its last two digits); 0 for no code.
int chaveCodigoLiberacao(std::int32_t codigo);

} // namespace qav
