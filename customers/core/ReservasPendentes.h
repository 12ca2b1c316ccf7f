#pragma once
// New customers and partners are reserved in their files as soon as their form opens (the record is
// added under the next id and held by the form). Until the form confirms it, such a record is only a
// place taken: no list shows it and no upload sends it. A reservation whose program ended without
// confirming or cancelling it (a crash, a power cut) is removed at the next start.

#include "store/core/Store.h"
#include "ui/core/ListFilter.h"

namespace qav {

// The condition that leaves out records still being created by a form: added, never written since,
// and held. Lists and uploads of customers and partners add it to their own filter.
ListFilter semReservasEmAndamento();

// Removes from clientes.tps and socios.tps every reservation whose holding program no longer runs;
// those of running programs stay. The number of records removed, or the error of the table that could
// not be opened (the other is cleaned all the same).
SetResult removerReservasAbandonadas(Store& store);

} // namespace qav
