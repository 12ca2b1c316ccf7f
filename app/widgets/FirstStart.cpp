#include "app/widgets/FirstStart.h"

#include "ui/widgets/BusyCursor.h"
#include "ui/widgets/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace qav {

QString qavdemoExecutable() {
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("qavdemo.exe");
#else
    const QString name = QStringLiteral("qavdemo");
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

bool offerDemoFolder(const QString& programFolder, const QString& qavdemo) {
    const Button answer = MessageBox::show(
        QStringLiteral("Bem-vindo ao QAV+!||Esta é a primeira vez que o programa é aberto nesta conta. A "
                       "pasta de dados \"dados\" foi criada vazia, pronta para a primeira comunicação com "
                       "o servidor da empresa.||Deseja criar também uma pasta de demonstração, com "
                       "clientes, produtos e pedidos de exemplo, e abri-la agora?"),
        QStringLiteral("Confirme"), Icon::Question, {Button::Yes, Button::No}, Button::Yes);
    if (answer != Button::Yes)
        return true;

    QProcess demo;
    demo.setProgram(qavdemo);
    demo.setArguments({programFolder});
    demo.setProcessChannelMode(QProcess::MergedChannels);
    {
        const BusyCursor busy;
        demo.start();
        if (demo.waitForStarted())
            demo.waitForFinished(120000);
    }
    if (demo.error() == QProcess::FailedToStart) {
        MessageBox::show(QStringLiteral("Não foi possível executar o programa de demonstração (%1).")
                             .arg(QDir::toNativeSeparators(qavdemo)),
                         QStringLiteral("Erro"), Icon::Critical);
        return false;
    }
    if (demo.state() != QProcess::NotRunning || demo.exitStatus() != QProcess::NormalExit ||
        demo.exitCode() != 0) {
        demo.kill();
        const QString output = QString::fromLocal8Bit(demo.readAll()).trimmed();
        MessageBox::show(QStringLiteral("Não foi possível criar a pasta de demonstração.|") + output,
                         QStringLiteral("Erro"), Icon::Critical);
        return false;
    }
    return true;
}

} // namespace qav
