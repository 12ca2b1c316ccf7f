#include "app/widgets/Startup.h"

#include "app/core/DataFolders.h"
#include "app/core/DatabaseUpgrade.h"
#include "app/widgets/AppFrame.h"
#include "app/widgets/BackupDialogs.h"
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

// A table file that is there but cannot be read: the user chooses between the last backup, the table
// recreated empty (after being told its data will be missing) and ending the program. 0 to go on.
int tratarTabelasDanificadas(const QString& folder, const QStringList& danificadas) {
    for (const QString& arquivo : danificadas) {
        const QString aviso = textoTabelaDanificada(arquivo);
        std::fprintf(stderr, "qavplus: %s\n", qPrintable(aviso));
        if (MessageBox::show(aviso + QStringLiteral("|Os dados desta tabela não podem ser lidos.|"
                                                    "Restaurar a última cópia de segurança da pasta?"),
                             QStringLiteral("Erro"), Icon::Critical, {Button::Yes, Button::No},
                             Button::Yes) == Button::Yes &&
            restauraCopia(nullptr, folder))
            return kEncerrarSemErro;
        if (MessageBox::show(
                QStringLiteral("Recriar %1 vazio?|ATENÇÃO: os dados que estavam nesta tabela "
                               "ficarão faltando até que uma cópia de segurança seja restaurada "
                               "ou a comunicação os traga de novo.|Não: o programa será encerrado.")
                    .arg(arquivo),
                QStringLiteral("Confirme"), Icon::Warning, {Button::Yes, Button::No},
                Button::No) != Button::Yes)
            return 2;
        if (const Resultado recriada = recriarTabelaVazia(folder, arquivo); !recriada.ok) {
            fail(recriada.erro);
            return 2;
        }
    }
    return 0;
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
        const QString folder = dataFolderPath(settings.programFolder(), pastaPrincipal);
        // A table whose file is empty or unreadable has lost its data: the user is told by name and
        // chooses; it is never replaced by an empty table in silence.
        const QStringList danificadas = tabelasDanificadas(folder);
        if (!danificadas.isEmpty()) {
            if (const int saida = tratarTabelasDanificadas(folder, danificadas); saida != 0)
                return saida;
            if (tabelasRecusadas(folder).isEmpty())
                return 0;
        }
        // The program goes on: the store refuses only the tables that are not current, and backup,
        // restore and the communication run stay at hand to repair the folder.
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
        return exitCode == kEncerrarSemErro ? 0 : exitCode;
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
