#pragma once
// What the queries need of a customer: its name for the window and the printouts, its address for
// the printed history order, and the credit and note warnings shown when it is chosen.

#include "store/core/Store.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace qav::consulta {

struct Cliente {
    std::int64_t id = 0;
    QString razao;
    QString fantasia;
    QString documento; // CNPJ or CPF as stored
    QString inscricao;
    QString endereco; // street and number
    QString bairro;
    QString cep;
    QString municipio;
    QString estado;
    QString telefone;
    bool creditoLiberado = false;
    bool alerta = false;
    QString anotacao; // CLI:OBS
};

// The customer `id` of clientes.tps; nullopt for 0, an unknown id or a table that cannot be read.
std::optional<Cliente> buscarCliente(Store& store, std::int64_t id);

struct Empresa {
    QString nome;
    QString endereco;
    QString municipio;
    QString estado;
    QString telefone;
    QString cnpj;
    QString inscricao;
};
// The company record; blank when missing.
Empresa buscarEmpresa(Store& store, int idEmpresa);

} // namespace qav::consulta
