#pragma once
// Runs of columns that the ERP's customer table (zor.corrent) and the office's (gerente.clientes) both
// keep, under the same names, in the same order and filled from the same local fields. Each server's
// list states its own columns around these runs.

#include "sync/core/envio/LinhaCliente.h"

#include <initializer_list>
#include <vector>

namespace qav::sync::colunas_cliente {

// cxpostal, compl, bairr, id_municipio, cep: the main address after its street.
const std::vector<ColunaCliente>& endereco();
// e_mail, grupo_eco, dt_const, no_reg, dt_reg, hor_descarga: the company's registration.
const std::vector<ColunaCliente>& registro();
// no_empregados, importa, p_importa, exporta, p_exporta, princ_produ1..3: the business.
const std::vector<ColunaCliente>& atividade();
// banc1..3, agen1..3, nagen1..3, ct_nu, ct_se: the bank references.
const std::vector<ColunaCliente>& bancos();
// ci1, ci2, orgex, uf, dtemi, ddd, telef, fax, data, cod_vendedor: identity card, phones, the
// registration date and the salesperson.
const std::vector<ColunaCliente>& documentoEContato();
// conta .. natur: the contacts' birthdays and phones, the accounts, and the person's data.
const std::vector<ColunaCliente>& contatosEPessoa();

// The runs and the server's own columns one after the other, as one list.
std::vector<ColunaCliente> juntar(std::initializer_list<std::vector<ColunaCliente>> partes);

} // namespace qav::sync::colunas_cliente
