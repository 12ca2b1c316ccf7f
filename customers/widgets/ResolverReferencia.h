#pragma once
// A code typed in a customer window that is not found opens the reference list for a choice:
// municipalities (BrowseMunic) and price lists (BrowsePauta).

#include "customers/core/ConsultasCliente.h"
#include "ui/core/ListContext.h"

#include <cstdint>
#include <optional>

class QWidget;

namespace qav {

// The municipality `id`, or the one chosen from the municipality list when it is not found; nullopt
// when the user gave up the choice.
std::optional<Municipio> resolverMunicipio(Store& store, std::int64_t id, const ListContext& listas,
                                           QWidget* parent);
// The price list `codigo` of the active company, or the one chosen from the price-list list when it is
// not found; nullopt when the user gave up the choice.
std::optional<std::int64_t> resolverPauta(Store& store, std::int64_t codigo, const ListContext& listas,
                                          QWidget* parent);

} // namespace qav
