#pragma once
// The INSERT and UPDATE statements that add a row to a server table or change it, from its columns
// and their values already written as literals of the connection.

#include <QString>
#include <utility>
#include <vector>

namespace qav::sync {

struct ValorColuna {
    QString coluna;
    QString literal;
};
using ValoresColunas = std::vector<ValorColuna>;

QString comandoInsercao(const QString& tabela, const ValoresColunas& valores);
QString comandoAlteracao(const QString& tabela, const ValoresColunas& valores, const QString& condicao);

} // namespace qav::sync
