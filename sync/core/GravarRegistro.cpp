#include "sync/core/GravarRegistro.h"

#include <QSettings>

namespace qav::sync {

bool gravarRegistro(const QString& organizacao, const QString& aplicacao, const QString& nome,
                    const QString& valor) {
    // The native format is the registry on Windows.
    QSettings registro(QSettings::NativeFormat, QSettings::UserScope, organizacao, aplicacao);
    registro.setValue(nome, valor);
    registro.sync();
    return registro.status() == QSettings::NoError;
}

} // namespace qav::sync
