#include "printout/core/Formatos.h"

#include "store/core/FormatoBr.h"

namespace qav::impressao::formato {

namespace {
QString digitos(const QString& texto) {
    QString so;
    for (const QChar c : texto)
        if (c.isDigit())
            so += c;
    return so;
}

// The fewest places, from `minimo` up, that show the value whole (at most `maximo`).
QString semZerosFinais(const Decimal& valor, int minimo, int maximo) {
    int casas = minimo;
    while (casas < maximo && valor.rounded(casas) != valor)
        ++casas;
    return br::numero(valor, casas);
}
} // namespace

QString moeda(const Decimal& valor) {
    return br::numero(valor, 2);
}

QString quantidade(const Decimal& valor) {
    return semZerosFinais(valor, 1, 6);
}

QString percentual(const Decimal& valor) {
    return br::numero(valor, 2);
}

QString preco(const Decimal& valor) {
    return semZerosFinais(valor, 2, 6);
}

QString telefone(const QString& numero) {
    const QString d = digitos(numero);
    if (d.size() == 10 || d.size() == 11)
        return QStringLiteral("(%1)%2-%3").arg(d.left(2), d.mid(2, d.size() - 6), d.right(4));
    return numero.trimmed();
}

QString cep(const QString& numero) {
    const QString d = digitos(numero);
    if (d.size() == 8)
        return d.left(5) + QLatin1Char('-') + d.right(3);
    return numero.trimmed();
}

QString nove(int numero) {
    return br::digitos(numero, 9);
}

} // namespace qav::impressao::formato
