#pragma once
// A code typed in a customer window that is not found opens the reference list for a choice:
// municipalities (JanelaMunicipios), price lists (JanelaPautas) and payment forms (BrowseFORMAPAG). The
// list opens on what was typed, so the user goes on from there.

#include "customers/core/ConsultasCliente.h"
#include "ui/core/ListContext.h"

#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

namespace qav {

// The municipality `id`, or the one chosen from the municipality list when it is not found; nullopt
// when the user gave up the choice.
std::optional<MunicipioCadastro> resolverMunicipio(Store& store, std::int64_t id, const ListContext& listas,
                                                   QWidget* parent);
// The same for what the user typed in a municipality entry: an id, or the beginning of a name, on
// which the list opens.
std::optional<MunicipioCadastro> resolverMunicipio(Store& store, const QString& digitado,
                                                   const ListContext& listas, QWidget* parent);
// The price list `codigo` of the active company, or the one chosen from the price-list list when it is
// not found; nullopt when the user gave up the choice.
std::optional<std::int64_t> resolverPauta(Store& store, std::int64_t codigo, const ListContext& listas,
                                          QWidget* parent);
// The payment form `codigo` of the active company, or the one chosen from the payment-form list when
// it is not found; nullopt when the user gave up the choice.
std::optional<std::int64_t> resolverFormaPag(Store& store, std::int64_t codigo, const ListContext& listas,
                                             QWidget* parent);

} // namespace qav
