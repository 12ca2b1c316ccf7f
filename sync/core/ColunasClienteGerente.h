#pragma once
// The columns of the office's customer table (gerente.clientes) that hold a local customer field,
// each with that field.

#include <utility>
#include <vector>

namespace qav::sync {

const std::vector<std::pair<const char*, const char*>>& colunasClienteIntegracao();

} // namespace qav::sync
