#pragma once
// Look-ups the order form makes in the reference tables to show names and fill its choices: the
// customer, carriers, price lists, order types and the loading municipalities of the freight costs.

#include "store/core/Record.h"
#include "store/core/Store.h"

#include <QString>
#include <optional>
#include <vector>

namespace qav::referencias {

// The customer's record (clientes.tps), nullopt when there is no customer with this id.
std::optional<Record> cliente(Store& store, int id);
QString nomeCliente(Store& store, int id); // CLI:RAZAO, empty when unknown
QString nomePauta(Store& store, int idEmpresa, int codigo);
// Whether the company's price list is reserved to the customers that have it.
bool pautaExclusivaCliente(Store& store, int idEmpresa, int codigo);
std::optional<Record> transportador(Store& store, int id);
QString nomeTransportador(Store& store, int id); // TRA:NOME, 40 characters

struct Opcao {
    int valor = 0;
    QString texto;
};

// The order types to choose from: "Venda Normal" (1) and "Bonificação" (2), or every active type of
// qavtipoped.tps (of every company) when there is more than one. `daTabela` says which.
std::vector<Opcao> tiposPedido(Store& store, bool& daTabela);
// One row per distinct loading municipality of the freight costs (other than 0), by its name.
std::vector<Opcao> municipiosCarregamento(Store& store);

} // namespace qav::referencias
