#pragma once
// The columns the ERP's and the office's order headers both have, written the same way; each
// destination adds its own around them.

#include "sync/core/envio/Comandos.h"

namespace qav::sync {

// The delivery address: e_ender, e_num_endereco, e_bairr, e_munic, e_estad.
void enderecoEntrega(envio::Insercao& linha, const envio::CamposPedido& campo);

// The account and the values: conta, cod_formapag, totpr, ipi, fconta (`fconta` as the destination
// codes who pays the freight), frete, total.
void valoresPedido(envio::Insercao& linha, const envio::CamposPedido& campo, long long fconta);

} // namespace qav::sync
