#pragma once
// Look-ups the customer windows make in the reference tables: municipalities, representatives,
// price lists and the configuration record of the active company.

#include "store/core/Store.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace qav {

struct MunicipioCadastro {
    std::int64_t id = 0;
    QString nome;
    QString estado;
};

std::optional<MunicipioCadastro> buscarMunicipio(Store& store, std::int64_t id);

// The name of the representative `codigo` of the company; empty when unknown.
QString nomeVendedor(Store& store, int idEmpresa, std::int64_t codigo);

// Whether the company has the price list `codigo`.
bool pautaExiste(Store& store, int idEmpresa, std::int64_t codigo);

// The description of the company's payment form `codigo` (FORPAG:KEYCODIGO); nullopt when the
// company has no such payment form.
std::optional<QString> formaPagamento(Store& store, int idEmpresa, std::int64_t codigo);

// From the configuration record of the company (0 when there is none).
struct ConfiguracaoClientes {
    int bloqueios1 = 0;
    std::int64_t codVendedor = 0;
};
ConfiguracaoClientes configuracaoClientes(Store& store, int idEmpresa);

} // namespace qav
