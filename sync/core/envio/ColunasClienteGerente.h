#pragma once
// The columns of the office's customer table (gerente.clientes), in the office's order, each with the
// local customer field of the same meaning. The workstation's upload of a new customer, the hub's
// update of the office's customers and the hub's copy of an office customer into the local table all
// read this one list.

#include "sync/core/envio/LinhaCliente.h"

#include <vector>

namespace qav::sync {

// The country code of Brazil, the country of every customer the workstation keeps (it records none).
constexpr int kCodigoPaisBrasil = 1058;

const std::vector<ColunaCliente>& colunasClienteGerente();

} // namespace qav::sync
