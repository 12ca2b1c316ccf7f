#pragma once
// Rules of the customer list "Correntistas": which key each tab walks, which customers it shows, and
// how the user's typing in a tab's entry is read.

#include "ui/core/ListFilter.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace qav::clientes {

// The tabs, in the order they are shown.
enum class Ordem { PorId, PorRazao, PorDocumento, PorFantasia, PorMunicipio };
// The "Situação:" option.
enum class Situacao { Ativos, Inativos, Todos };

// The key of clientes.tps a tab's order walks. The municipality tab lists its customers by name.
const char* chaveDaOrdem(Ordem ordem);

// Customers in the chosen situation (every tab but the municipality's); on the municipality tab the
// customers of `idMunicipio` whatever their situation, or every customer while no municipality is
// chosen (0). `documento`, on the document tab: only customers whose document holds the digits typed,
// the punctuation of both ignored ("706588" finds 706.588.110-53).
ListFilter filtroLista(Ordem ordem, Situacao situacao, std::int64_t idMunicipio = 0,
                       const QString& documento = {});

// Whether the text typed in the document tab is a document to match by its digits: at least one
// digit and nothing but digits, blanks and the punctuation of the CNPJ and CPF pictures.
bool buscaPorDigitos(const QString& digitado);

// A municipality id typed in the municipality tab: nullopt when it is not a number a municipality id
// can be (negative, or 2^31 or more); 0 for an empty entry.
std::optional<std::int64_t> idMunicipioDigitado(const QString& digitado);
// The id that no municipality id reaches (for the range warning).
inline constexpr std::int64_t limiteIdMunicipio = 2147483648LL;

} // namespace qav::clientes
