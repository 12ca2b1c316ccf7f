#include "sync/core/conexao/ComandoGravacao.h"

#include <QRegularExpression>
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

std::pair<QString, QString> destinoDoValor(const QString& comando, qsizetype posicao) {
    static const QRegularExpression tabelaRe(QStringLiteral(R"(^\s*(?:INSERT\s+INTO|UPDATE)\s+([\w.]+))"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = tabelaRe.match(comando);
    const QString tabela = m.hasMatch() ? m.captured(1) : QString();
    const auto palavra = [](QChar ch) { return ch.isLetterOrNumber() || ch == u'_'; };
    qsizetype i = posicao - 1;
    while (i >= 0 && comando[i].isSpace())
        --i;
    if (i >= 0 && comando[i] == u'=') {
        --i;
        while (i >= 0 && comando[i].isSpace())
            --i;
        const qsizetype fim = i + 1;
        while (i >= 0 && palavra(comando[i]))
            --i;
        return {tabela, comando.mid(i + 1, fim - i - 1)};
    }
    const qsizetype valores = comando.lastIndexOf(QStringLiteral("VALUES"), posicao, Qt::CaseInsensitive);
    const qsizetype abreColunas = comando.indexOf(QLatin1Char('('));
    const qsizetype fechaColunas = comando.indexOf(QLatin1Char(')'), abreColunas);
    const qsizetype abreValores = comando.indexOf(QLatin1Char('('), valores);
    if (tabela.isEmpty() || valores < 0 || abreColunas < 0 || fechaColunas > valores || abreValores < 0)
        return {tabela, QString()};
    // The values before this one, counted at the outer level, past quoted texts and calls.
    int indice = 0, nivel = 0;
    for (qsizetype k = abreValores + 1; k < posicao; ++k) {
        const QChar ch = comando[k];
        if (ch == u'\'') {
            const bool escapes = k > 0 && (comando[k - 1] == u'E' || comando[k - 1] == u'e');
            for (++k; k < posicao; ++k) {
                if (escapes && comando[k] == u'\\') {
                    ++k;
                } else if (comando[k] == u'\'') {
                    if (k + 1 < posicao && comando[k + 1] == u'\'')
                        ++k;
                    else
                        break;
                }
            }
        } else if (ch == u'(') {
            ++nivel;
        } else if (ch == u')') {
            --nivel;
        } else if (ch == u',' && nivel == 0) {
            ++indice;
        }
    }
    const QStringList colunas = comando.mid(abreColunas + 1, fechaColunas - abreColunas - 1).split(u',');
    return {tabela, indice < colunas.size() ? colunas[indice].trimmed() : QString()};
}

} // namespace qav::sync
