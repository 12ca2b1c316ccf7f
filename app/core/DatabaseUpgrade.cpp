#include "app/core/DatabaseUpgrade.h"

#include "base/core/Version.h"
#include "dbtool/core/TableCheck.h"
#include "store/core/Store.h"
#include "store/core/TableDef.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QProcess>
#include <QSet>

namespace qav {

namespace {

QMutex runnerMutex;
UpgradeRunner installedRunner;
QSet<QString> failedFolders; // under runnerMutex

QString folderKey(const Settings& settings, const QString& pasta) {
    return QDir::cleanPath(QDir(settings.programFolder()).absoluteFilePath(QStringLiteral("../") + pasta));
}

} // namespace

QString qavbdExecutable() {
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("qavbd.exe");
#else
    const QString name = QStringLiteral("qavbd");
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

UpgradeRun runUpgradeTool(const QString& executable, const QString& programFolder, const QString& pasta) {
    QProcess process;
    process.setProgram(executable);
    QStringList arguments{QStringLiteral("auto")};
    if (!pasta.isEmpty())
        arguments.append(pasta);
    process.setArguments(arguments);
    process.setWorkingDirectory(programFolder);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    UpgradeRun run;
    if (!process.waitForStarted(-1)) {
        run.outcome = UpgradeRun::Outcome::FailedToStart;
        run.errorText = process.errorString();
        return run;
    }
    // The tool converts every table of the folder; there is no sensible time limit.
    process.waitForFinished(-1);
    if (process.exitStatus() == QProcess::CrashExit) {
        run.outcome = UpgradeRun::Outcome::Crashed;
        run.errorText = process.errorString();
        return run;
    }
    run.exitCode = process.exitCode();
    return run;
}

void setUpgradeRunner(UpgradeRunner runner) {
    QMutexLocker lock(&runnerMutex);
    installedRunner = std::move(runner);
}

UpgradeRun runUpgrade(const QString& programFolder, const QString& pasta) {
    UpgradeRunner runner;
    {
        QMutexLocker lock(&runnerMutex);
        runner = installedRunner;
    }
    if (runner)
        return runner(programFolder, pasta);
    return runUpgradeTool(qavbdExecutable(), programFolder, pasta);
}

UpgradeCheck ensureDatabaseCurrent(const Settings& settings, const QString& pasta,
                                   const QString& argumentoPasta) {
    UpgradeCheck check;
    check.versaoAntes = settings.versaoBd(pasta);
    check.versaoDepois = check.versaoAntes;
    const QString key = folderKey(settings, pasta);
    // bd.ver alone is not enough: a build may store a table differently under the same version (the
    // keys of names, say), and a table file may be missing. Either way the tool brings the folder
    // in line, and the folder is current only when every table opens.
    if (check.versaoAntes >= versaoBdRequerida && tabelasRecusadas(key).isEmpty()) {
        check.current = true;
        return check;
    }
    {
        QMutexLocker lock(&runnerMutex);
        if (failedFolders.contains(key)) {
            check.repeated = true;
            return check;
        }
    }
    check.ran = true;
    check.run = runUpgrade(settings.programFolder(), argumentoPasta);
    check.versaoDepois = settings.versaoBd(pasta);
    check.current = check.versaoDepois >= versaoBdRequerida && tabelasRecusadas(key).isEmpty();
    if (!check.current) {
        QMutexLocker lock(&runnerMutex);
        failedFolders.insert(key);
    }
    return check;
}

QString upgradeFailureText(const UpgradeCheck& check, const QString& pasta) {
    const QString folder = QStringLiteral("\"..\\") + pasta + QStringLiteral("\"");
    switch (check.run.outcome) {
    case UpgradeRun::Outcome::FailedToStart:
        return QStringLiteral("Não foi possível executar o programa de atualização do banco de dados (qavbd) "
                              "para a pasta ") +
               folder + QStringLiteral(".|") + check.run.errorText;
    case UpgradeRun::Outcome::Crashed:
        return QStringLiteral(
                   "O programa de atualização do banco de dados (qavbd) terminou com falha na pasta ") +
               folder + QStringLiteral(".|") + check.run.errorText;
    case UpgradeRun::Outcome::Finished:
        break;
    }
    QString text =
        QStringLiteral("O banco de dados da pasta ") + folder + QStringLiteral(" não foi atualizado");
    // With bd.ver current, what is left behind are tables: the report names them.
    if (check.versaoDepois < versaoBdRequerida)
        text += QStringLiteral(" (versão %1, requerida %2)").arg(check.versaoDepois).arg(versaoBdRequerida);
    return text + QLatin1Char('.');
}

QStringList tabelasRecusadas(const QString& folderPath) {
    QStringList names;
    Store store(folderPath);
    for (const TableDef& table : catalogue()) {
        StoreError error;
        if (store.acquire(table, &error))
            store.release(table);
        else
            names << QString::fromLatin1(table.fileName);
    }
    return names;
}

QStringList tabelasDanificadas(const QString& folderPath) {
    QStringList names;
    const QDir folder(folderPath);
    for (const QString& name : tabelasRecusadas(folderPath)) {
        const QString path = folder.filePath(name);
        if (!QFileInfo::exists(path))
            continue;
        StoreError error;
        if (upgrade::checkTable(path, *findTable(name.toLatin1().constData()), &error) ==
            upgrade::CheckResult::InvalidDataFile)
            names << name;
    }
    return names;
}

QString textoTabelaDanificada(const QString& arquivo) {
    return arquivo + QStringLiteral(" está vazio ou danificado.");
}

Resultado recriarTabelaVazia(const QString& folderPath, const QString& arquivo) {
    const QDir folder(folderPath);
    const QString path = folder.filePath(arquivo);
    QString aside = path + QStringLiteral(".danificado");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".danificado%1").arg(n);
    if (QFileInfo::exists(path) && !QFile::rename(path, aside))
        return Resultado::falhou(
            QStringLiteral("Não foi possível renomear %1").arg(QDir::toNativeSeparators(path)));
    StoreError error;
    if (!upgrade::createTable(path, *findTable(arquivo.toLatin1().constData()), &error))
        return Resultado::falhou(error.text + QLatin1Char(' ') + error.driverText);
    return {};
}

QString upgradeReport(const UpgradeCheck& check, const QString& pasta, const QString& folderPath,
                      const QStringList& recusadas) {
    QString text = upgradeFailureText(check, pasta);
    if (recusadas.size() == static_cast<qsizetype>(catalogue().size()))
        text += QStringLiteral("|Nenhuma tabela da pasta pode ser usada.");
    else if (!recusadas.isEmpty())
        text += QStringLiteral("|Tabelas que não podem ser usadas: ") + recusadas.join(QStringLiteral(", ")) +
                QLatin1Char('.');
    const QString log = QDir(folderPath).filePath(QStringLiteral("qavbd.log"));
    if (QFileInfo::exists(log))
        text += QStringLiteral("|Valores cortados ou recusados na conversão: veja ") +
                QStringLiteral("..\\") + pasta + QStringLiteral("\\qavbd.log.");
    if (!recusadas.isEmpty())
        text +=
            QStringLiteral("|Para reparar a pasta, restaure uma cópia de segurança ou faça a comunicação.");
    return text;
}

} // namespace qav
