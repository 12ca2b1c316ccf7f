#include "tests/support/Programs.h"

#include <QDir>
#include <QHash>

namespace qav::test {

QString programPath(const QString& name) {
    // Where each program's CMake target puts it, relative to the build tree.
    static const QHash<QString, QString> folders{
        {QStringLiteral("qavbd"), QStringLiteral("dbtool")},
        {QStringLiteral("qavplus"), QStringLiteral("app")},
        {QStringLiteral("qavtool"), QStringLiteral("tools/qavtool")},
        {QStringLiteral("qavdemo"), QStringLiteral("tools/qavdemo")},
    };
    QString path = QStringLiteral(QAV_TEST_BINARY_DIR) + QLatin1Char('/') + folders.value(name) +
                   QLatin1Char('/') + name;
#ifdef Q_OS_WIN
    path += QStringLiteral(".exe");
#endif
    return QDir::cleanPath(path);
}

} // namespace qav::test
