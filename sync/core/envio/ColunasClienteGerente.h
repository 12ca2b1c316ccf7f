#pragma once
// The columns of the office's customer table (gerente.clientes), in the office's order, each with the
// local customer field of the same meaning. The workstation's upload of a new customer, the hub's
// update of the office's customers and the hub's copy of an office customer into the local table all
// read this one list.

#include "sync/core/envio/LinhaCliente.h"

#include <vector>

namespace qav::sync {

const std::vector<ColunaCliente>& colunasClienteGerente();

} // namespace qav::sync
