#pragma once
// The ERP's customer row (zor.corrent) of a customer created on this workstation. Every column of the
// ERP's table is written: a local customer field of the same name fills it, a few take differently
// named fields or fixed values, and the columns the workstation knows nothing of go as 0 (numbers) or
// Null (texts and dates).

#include "sync/core/envio/LinhaCliente.h"

#include <QString>
#include <vector>

namespace qav::sync {

// The 127 columns of zor.corrent in the ERP's order.
std::vector<QString> colunasCorrent();

// "INSERT INTO zor.corrent(...) VALUES (...);" for the local customer `cliente` under the server id
// `idServidor`. Texts lose their carriage returns; the three long texts are cut to the 4000
// characters the ERP keeps.
QString insercaoCorrent(const Conexao& conexao, const Record& cliente, int idServidor);

} // namespace qav::sync
