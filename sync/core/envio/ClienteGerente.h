#pragma once
// A customer created on this workstation, sent to a manager database: found in gerente.clientes by its
// document, or created there under the next id of the office's customer sequence.

#include "store/core/Date.h"
#include "sync/core/envio/Cliente.h"

#include <QString>

namespace qav::sync {

const ClientesServidor& clientesGerente();

// "INSERT INTO gerente.clientes(...) VALUES (...);" for the local customer `cliente` under the server id
// `idServidor`, changed on `hoje`. The three long texts are cut to the 2048 characters the office keeps.
QString insercaoClienteGerente(const Conexao& conexao, const Record& cliente, int idServidor, Date hoje);

} // namespace qav::sync
