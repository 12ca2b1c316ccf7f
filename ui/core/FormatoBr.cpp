#include "ui/core/FormatoBr.h"

namespace qav::br {

QString numero(const Decimal& value, int places) {
    const QString plain = QString::fromStdString(value.toString(places));
    const bool negative = plain.startsWith(QLatin1Char('-'));
    const QString unsignedText = negative ? plain.mid(1) : plain;
    const qsizetype point = unsignedText.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? unsignedText : unsignedText.left(point);
    QString grouped;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += QLatin1Char('.');
        grouped += whole.at(i);
    }
    QString result = negative ? QStringLiteral("-") + grouped : grouped;
    if (point >= 0)
        result += QLatin1Char(',') + unsignedText.mid(point + 1);
    return result;
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
