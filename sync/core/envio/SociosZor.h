#pragma once
// The partners of a customer created on this workstation, added to the ERP's partner table
// (gestao.socios) under the customer's server id - each partner once, even when a previous run already
// added them and lost its local commit.

#include "sync/core/execucao/ContextoComunicacao.h"

#include <QString>

namespace qav {
class Table;
}

namespace qav::sync {

// What makes two partners of one customer the same partner: the letters and digits of the CPF/CNPJ
// (its punctuation aside); for a partner without a document, the name, whatever its case.
QString identidadeSocio(const QString& cpf, const QString& nome);

// Adds the local partners of customer `idLocal` (read through `socios`, a table of the order's local
// transaction) to the server's customer `idServidor`, leaving out those it already has. False when
// the server refused one or a table failed (the reason has been shown).
bool enviarSocios(const ContextoComunicacao& contexto, Table& socios, int idLocal, int idServidor);

} // namespace qav::sync
