#include "app/widgets/Startup.h"

#include "app/core/DataFolders.h"
#include "app/core/DatabaseUpgrade.h"
#include "app/widgets/AppFrame.h"
#include "app/widgets/ButtonCaptions.h"
#include "app/widgets/FirstStart.h"
#include "app/widgets/RegisteredWindows.h"
#include "printout/core/ArquivoPdf.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace qav {

namespace {

void fail(const QString& text) {
    std::fprintf(stderr, "qavplus: %s\n",
                 qPrintable(QString(text).replace(QLatin1Char('|'), QLatin1Char(' '))));
    MessageBox::show(text, QStringLiteral("Erro"), Icon::Critical, {Button::Ok}, Button::Ok);
}

} // namespace

int prepareStart(const Settings& settings) {
    installButtonCaptions();
    if (!ensureMainDataFolder(settings.programFolder())) {
        fail(QStringLiteral("Erro ao criar diretório de dados."));
        return 1;
    }
    const UpgradeCheck check = ensureDatabaseCurrent(settings, pastaPrincipal, QString());
    if (!check.current) {
        // The program goes on: the store refuses only the tables that are not current, and backup,
        // restore and the communication run stay at hand to repair the folder.
        const QString folder = dataFolderPath(settings.programFolder(), pastaPrincipal);
        fail(upgradeReport(check, pastaPrincipal, folder, tabelasRecusadas(folder)));
    }
    return 0;
}

int runQavplus(const CommandLine& commandLine) {
    const ProgramFolder folder = resolveProgramFolder(commandLine, QDir::currentPath());
    if (!folder.error.isEmpty()) {
        installButtonCaptions();
        fail(folder.error);
        return 1;
    }
    // The rest of the program finds its settings files and data folders from the current folder.
    if (!QDir::setCurrent(folder.path)) {
        installButtonCaptions();
        fail(QStringLiteral("Não foi possível abrir a pasta do programa %1.")
                 .arg(QDir::toNativeSeparators(folder.path)));
        return 1;
    }
    const Settings settings(folder.path);
    if (const int exitCode = prepareStart(settings); exitCode != 0)
        return exitCode;
    if (folder.created && commandLine.userFolder)
        offerDemoFolder(folder.path);
    // The order PDFs handed to the mail program or the viewer are kept a day, not for good.
    impressao::removerPdfsAntigos(QDateTime::currentDateTime());
    registerWindows();
    AppFrame frame(settings);
    if (!frame.open())
        return 0;
    return QApplication::exec();
}

} // namespace qav
