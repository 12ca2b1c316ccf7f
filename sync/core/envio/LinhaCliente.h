#pragma once
// A customer created on this workstation as a row of a server's customer table: each column takes the
// local customer field of the same meaning (the same name, or the one the column names), and the
// columns the workstation knows nothing of go as 0 (numbers) or Null (texts and dates).

#include "store/core/Record.h"
#include "sync/core/conexao/Conexao.h"

#include <QString>
#include <map>
#include <string>
#include <vector>

namespace qav::sync {

// The country code of Brazil on both servers: the country of every customer the workstation keeps (it
// records none).
constexpr int kCodigoPaisBrasil = 1058;

// The kind of a server column, for the columns that no local field fills.
enum class TipoColuna { Texto, Inteiro, Real, Data };

struct ColunaCliente {
    const char* nome;
    TipoColuna tipo;
    const char* campo = nullptr; // the local field when its name differs from the column's
    int elemento = 0;            // of an array field
    bool nullQuandoZero = false; // a code the customer may not have: 0 is no code
    int casas = -1;              // rounding of a real number, -1 for none
    int limite = 0;              // characters the server keeps, 0 when the local field already fits
};

// The name of the local customer field a column takes.
std::string campoLocal(const ColunaCliente& coluna);

// Whether the local customer has a field of the column's meaning (of a kind the column can hold).
bool temCampoLocal(const TableDef& cliente, const ColunaCliente& coluna);

// The value of a column for the local customer `cliente`, written as a literal of the connection: the
// field's value (Null for a blank text, a missing date or, when the column says so, a zero code), or
// 0 or Null when the customer has no such field.
QString valorColuna(const Conexao& conexao, const Record& cliente, const ColunaCliente& coluna);

// "INSERT INTO <tabela>(...) VALUES (...);" of the local customer `cliente`, one value per column in
// the order given; `fixos` gives the values of the columns that do not come from the customer (its
// server id, a fixed code), already written as literals. Texts lose their carriage returns.
QString insercaoCliente(const Conexao& conexao, const QString& tabela,
                        const std::vector<ColunaCliente>& colunas, const Record& cliente,
                        const std::map<QString, QString>& fixos);

// A text as the customer upload writes it: quoted for the connection, without carriage returns,
// Null when blank.
QString textoEnvio(const Conexao& conexao, const QString& valor);

// A real number as the customer upload writes it: decimal text rounded to `casas` places (0 to 12).
QString realEnvio(double valor, int casas);

} // namespace qav::sync
