#include "store/core/FormatoBr.h"

namespace qav::br {

namespace {

// The plain text of Decimal ("-1234.50") with the Brazilian separators.
QString comSeparadores(const std::string& plain, bool milhares) {
    const QString text = QString::fromStdString(plain);
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString unsignedText = negative ? text.mid(1) : text;
    const qsizetype point = unsignedText.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? unsignedText : unsignedText.left(point);
    QString result = negative ? QStringLiteral("-") : QString();
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (milhares && i > 0 && (whole.size() - i) % 3 == 0)
            result += QLatin1Char('.');
        result += whole.at(i);
    }
    if (point >= 0)
        result += QLatin1Char(',') + unsignedText.mid(point + 1);
    return result;
}

} // namespace

QString numero(const Decimal& value, int places) {
    return comSeparadores(value.toString(places), true);
}

QString numeroSemMilhar(const Decimal& value, int places) {
    return comSeparadores(value.toString(places), false);
}

QString numeroSimples(const Decimal& value) {
    return comSeparadores(value.toString(), false);
}

std::optional<Decimal> lerNumero(QStringView typed) {
    return Decimal::parseBr(typed.trimmed().toUtf8().toStdString());
}

QString digitos(long long value, int width) {
    if (value < 0)
        return QLatin1Char('-') + QStringLiteral("%1").arg(-value, width - 1, 10, QLatin1Char('0'));
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString data(Date value) {
    return QString::fromStdString(value.toBr());
}

} // namespace qav::br
