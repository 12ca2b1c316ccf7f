#include "app/core/FrameText.h"

#include "base/core/Version.h"
#include "store/core/Text.h"

#include <QStringList>

namespace qav {

namespace {

QString sixDigits(int value) {
    return QStringLiteral("%1").arg(value, 6, 10, QLatin1Char('0'));
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString frameCaption(int idEmpresa, const QString& nomeEmpresa, int codVendedor,
                     const QString& nomeVendedor) {
    return QStringLiteral("QAV+ ") + versaoPrograma.toString() + QStringLiteral(" [ ") +
           sixDigits(idEmpresa) + QLatin1Char(' ') + text::rtrim(nomeEmpresa) + QStringLiteral(" ] - [ ") +
           sixDigits(codVendedor) + QStringLiteral(" - ") + text::rtrim(nomeVendedor) + QStringLiteral(" ]");
}

QString weekdayShortName(int dayOfWeek) {
    static const QStringList names = {QStringLiteral("Domingo"), QStringLiteral("Segunda"),
                                      QStringLiteral("Terça"),   QStringLiteral("Quarta"),
                                      QStringLiteral("Quinta"),  QStringLiteral("Sexta"),
                                      QStringLiteral("Sábado")};
    return dayOfWeek >= 0 && dayOfWeek < names.size() ? names.at(dayOfWeek) : QString();
}

QString statusDateText(Date date) {
    if (!date.isValid())
        return {};
    return weekdayShortName(date.dayOfWeek()) + QStringLiteral(", ") + QString::fromStdString(date.toBr());
}

QString statusComunicacaoText(Date ultima, long long aEnviar) {
    QString texto = QStringLiteral("Última comunicação: ") + (ultima.isValid() && !ultima.isNull()
                                                                  ? QString::fromStdString(ultima.toBr())
                                                                  : QStringLiteral("nenhuma"));
    if (aEnviar == 0)
        texto += QStringLiteral(" | nenhum pedido a enviar");
    else if (aEnviar == 1)
        texto += QStringLiteral(" | 1 pedido a enviar");
    else if (aEnviar > 1)
        texto += QStringLiteral(" | %1 pedidos a enviar").arg(aEnviar);
    return texto;
}

QString statusTimeText(const DateTimeParts& now) {
    return twoDigits(now.hour) + QLatin1Char(':') + twoDigits(now.minute) + QLatin1Char(':') +
           twoDigits(now.second);
}

} // namespace qav
