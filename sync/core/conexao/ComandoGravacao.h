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

// The server table an INSERT or UPDATE writes, and the column that gets the value found at `posicao`
// ("coluna=valor", or the value's place in "INSERT INTO t(a, b) VALUES (x, y)"), for the line that
// tells a text went adjusted. Empty when the statement is of another form.
std::pair<QString, QString> destinoDoValor(const QString& comando, qsizetype posicao);

} // namespace qav::sync
