#include "customers/widgets/ContextoClientes.h"

#include "base/core/Session.h"

#include <QDir>

namespace qav {

ContextoClientes ContextoClientes::daSessao(const QString& pastaPrograma) {
    return {boundFolder().path, pastaPrograma, idEmpAtiva()};
}

QString ContextoClientes::iniJanelas() const {
    return QDir(pastaPrograma).filePath(QStringLiteral("qavplus.INI"));
}

} // namespace qav
