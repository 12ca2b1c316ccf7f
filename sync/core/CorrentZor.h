#pragma once
// The ERP's customer row (zor.corrent) of a customer created on this workstation. Every column of the
// ERP's table is written: a local customer field of the same name fills it, a few take differently
// named fields or fixed values, and the columns the workstation knows nothing of go as 0 (numbers) or
// Null (texts and dates).

#include "store/core/Record.h"
#include "sync/core/Conexao.h"

#include <QString>
#include <vector>

namespace qav::sync {

// The 127 columns of zor.corrent in the ERP's order.
std::vector<QString> colunasCorrent();

// "INSERT INTO zor.corrent(...) VALUES (...);" for the local customer `cliente` under the server id
// `idServidor`. Texts lose their carriage returns; the three long texts are cut to the 4000
// characters the ERP keeps.
QString insercaoCorrent(const Conexao& conexao, const Record& cliente, int idServidor);

// A text as the customer upload writes it: quoted for the connection, without carriage returns,
// Null when blank.
QString textoEnvio(const Conexao& conexao, const QString& valor);

// A real number as the customer upload writes it: decimal text rounded to `casas` places (0 to 12).
QString realEnvio(double valor, int casas);

} // namespace qav::sync
