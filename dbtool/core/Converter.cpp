#include "dbtool/core/Converter.h"

#include "base/core/IniFile.h"
#include "base/core/Version.h"
#include "dbtool/core/TableCheck.h"
#include "store/core/TableDef.h"
#include "ui/core/StandardWarning.h"

#include <QDir>
#include <QThread>

namespace qav::upgrade {

Converter::Converter(QString dataFolder, ConverterHooks hooks)
    : m_folder(std::move(dataFolder)), m_hooks(std::move(hooks)) {}

const std::vector<const char*>& Converter::tableOrder() {
    static const std::vector<const char*> order = {
        "qavcfg.tps",   "empresa.tps",  "grupo.tps",    "pedacess.tps",  "acessori.tps", "municip.tps",
        "ctr.tps",      "formapag.tps", "supxven.tps",  "represen.tps",  "clientes.tps", "pedicon.tps",
        "prazopag.tps", "peditens.tps", "transp.tps",   "pedidos.tps",   "portador.tps", "produto.tps",
        "rex.tps",      "vendedor.tps", "pedcon.tps",   "cfgsis.tps",    "socios.tps",   "sticms.tps",
        "pauta.tps",    "pauxpro.tps",  "cstfrete.tps", "qavtipoped.tps"};
    return order;
}

ConversionResult Converter::run() {
    ConversionResult result;
    if (m_hooks.progress)
        m_hooks.progress(QStringLiteral("Verificando Arquivos..."), {}, {});
    QDir().mkpath(m_folder);
    for (const char* fileName : tableOrder())
        if (!convertTable(fileName, result))
            return result;
    // The version is recorded only when every table opens: a folder left with a table that could not
    // be converted is converted again at the next start instead of being taken as current.
    if (result.failedTables == 0) {
        IniFile bdVer(QDir(m_folder).filePath(QStringLiteral("bd.ver")));
        result.completed =
            bdVer.writeInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD"), versaoBdRequerida);
        if (!result.completed)
            result.endText = QStringLiteral("Erro ao gravar bd.ver");
    }
    return result;
}

bool Converter::convertTable(const char* fileName, ConversionResult& result) {
    const TableDef* table = findTable(fileName);
    const QString path = QDir(m_folder).filePath(QString::fromLatin1(fileName));
    const QString shownPath = QDir::toNativeSeparators(path);
    if (m_hooks.progress)
        m_hooks.progress(QStringLiteral("Verificando Arquivos..."), shownPath,
                         QString::fromLatin1(table->label));

    const auto warn = [this, &shownPath](int number, const StoreError& error) {
        setPendingError(error);
        return m_hooks.warning ? m_hooks.warning(number, shownPath) : 0;
    };
    // Warnings that end the program leave through here when the hook returns (tests, auto mode).
    const auto endWith = [&result](const char* text) {
        result.endText = QString::fromLatin1(text);
        return false;
    };

    StoreError error;
    CheckResult check = checkTable(path, *table, &error);
    if (check == CheckResult::FileLocked) {
        // Another program has the file: give it up to ten seconds, then look again.
        for (int waited = 0; waited < 10000 && check == CheckResult::FileLocked; waited += 500) {
            QThread::msleep(500);
            check = checkTable(path, *table, &error);
        }
    }
    switch (check) {
    case CheckResult::Ok:
        return true;
    case CheckResult::FileNotFound:
        if (!createTable(path, *table, &error)) {
            warn(4, error);
            return endWith("File Creation Error!");
        }
        if (checkTable(path, *table, &error) != CheckResult::Ok) {
            warn(5, error);
            return endWith("File Creation Error!");
        }
        return true;
    case CheckResult::InvalidKeyFile:
        if (warn(2, error) != 2)
            return endWith("Invalid Key!");
        if (!rebuildKeys(path, *table, &error)) {
            warn(3, error);
            return endWith("Error Rebuilding Key!");
        }
        check = checkTable(path, *table, &error);
        if (check == CheckResult::Ok)
            return true;
        if (check != CheckResult::StructureDiffers) {
            warn(3, error);
            return endWith("Error Rebuilding Key!");
        }
        [[fallthrough]];
    case CheckResult::StructureDiffers:
        if (!upgradeTable(path, *table, &error) || checkTable(path, *table, &error) != CheckResult::Ok) {
            warn(1, error);
            return endWith("Invalid File!");
        }
        return true;
    case CheckResult::FileLocked:
    case CheckResult::InvalidDataFile:
        break;
    }
    // A damaged or foreign file: one upgrade attempt (which never touches a file it cannot read),
    // then the file access warning, after which the program ends.
    StoreError upgradeError;
    if (check == CheckResult::InvalidDataFile && upgradeTable(path, *table, &upgradeError) &&
        checkTable(path, *table, &error) == CheckResult::Ok)
        return true;
    ++result.failedTables;
    warn(30, error);
    return endWith("Disk Error");
}

} // namespace qav::upgrade
