#include "customers/core/ReservasPendentes.h"

#include "customers/core/RegrasCliente.h"
#include "store/core/Table.h"

#include <vector>

namespace qav {

namespace {

// A reservation: the record as it was added (revision 1) and still held by its form.
constexpr const char* kReservado = "\"_hold\" <> '' AND \"_rev\" = 1";

SetResult removerDe(Store& store, const char* arquivo, const char* chave, bool soIdsLocais) {
    Table tabela(store, arquivo);
    if (!tabela.open())
        return {0, tabela.error()};
    tabela.setFilter(kReservado);
    std::vector<Record> reservados;
    tabela.clear();
    Status s = tabela.seekFirst(chave);
    while (s == Status::Ok && (s = tabela.next()) == Status::Ok)
        reservados.push_back(tabela.rec());
    std::int64_t removidos = 0;
    for (const Record& r : reservados) {
        // Customers from the server are never reserved here, whatever holds them.
        if (soIdsLocais && clientes::idDoServidor(r.integer("ID")))
            continue;
        tabela.rec() = r;
        // Taking the hold at once succeeds only when its holder no longer runs.
        if (tabela.hold(0) == Status::Ok && tabela.remove() == Status::Ok)
            ++removidos;
    }
    tabela.close();
    return {removidos, {}};
}

} // namespace

ListFilter semReservasEmAndamento() {
    return {std::string("NOT (") + kReservado + ")", {}};
}

SetResult removerReservasAbandonadas(Store& store) {
    const SetResult clientes = removerDe(store, "clientes.tps", "KEYID", true);
    const SetResult socios = removerDe(store, "socios.tps", "KEYID", false);
    if (!clientes.ok())
        return clientes;
    if (!socios.ok())
        return socios;
    return {clientes.records + socios.records, {}};
}

} // namespace qav
