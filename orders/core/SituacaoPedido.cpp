#include "orders/core/SituacaoPedido.h"

namespace qav::situacao {

QString letra(int situa) {
    switch (situa) {
    case Pendente:
        return QStringLiteral("P");
    case Liberado:
        return QStringLiteral("L");
    case Transmitido:
        return QStringLiteral("T");
    case Cancelado:
        return QStringLiteral("C");
    default:
        return QString();
    }
}

QString texto(int situa) {
    switch (situa) {
    case Pendente:
        return QStringLiteral("Pendente");
    case Liberado:
        return QStringLiteral("Liberado");
    case Transmitido:
        return QStringLiteral("Transmitido");
    case Cancelado:
        return QStringLiteral("Cancelado");
    default:
        return QString();
    }
}

} // namespace qav::situacao
