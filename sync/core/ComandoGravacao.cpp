#include "sync/core/ComandoGravacao.h"

#include <QStringList>

namespace qav::sync {

QString comandoInsercao(const QString& tabela, const ValoresColunas& valores) {
    QStringList colunas, literais;
    for (const ValorColuna& v : valores) {
        colunas << v.coluna;
        literais << v.literal;
    }
    return QStringLiteral("INSERT INTO ") + tabela + QLatin1Char('(') + colunas.join(QStringLiteral(", ")) +
           QStringLiteral(") VALUES (") + literais.join(QStringLiteral(", ")) + QStringLiteral(");");
}

QString comandoAlteracao(const QString& tabela, const ValoresColunas& valores, const QString& condicao) {
    QStringList atribuicoes;
    for (const ValorColuna& v : valores)
        atribuicoes << v.coluna + QLatin1Char('=') + v.literal;
    return QStringLiteral("UPDATE ") + tabela + QStringLiteral(" SET ") +
           atribuicoes.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + condicao + QLatin1Char(';');
}

} // namespace qav::sync
