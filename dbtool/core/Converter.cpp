#include "dbtool/core/Converter.h"

#include "base/core/IniFile.h"
#include "base/core/Version.h"
#include "dbtool/core/TableCheck.h"
#include "store/core/Clock.h"
#include "store/core/TableDef.h"
#include "ui/core/StandardWarning.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace qav::upgrade {

Converter::Converter(QString dataFolder, ConverterHooks hooks)
    : m_folder(std::move(dataFolder)), m_hooks(std::move(hooks)) {}

const std::vector<const char*>& Converter::tableOrder() {
    static const std::vector<const char*> order = {
        "qavcfg.tps",   "empresa.tps",  "grupo.tps",    "pedacess.tps",   "acessori.tps", "municip.tps",
        "ctr.tps",      "formapag.tps", "supxven.tps",  "represen.tps",   "clientes.tps", "pedicon.tps",
        "prazopag.tps", "peditens.tps", "transp.tps",   "pedidos.tps",    "portador.tps", "produto.tps",
        "rex.tps",      "vendedor.tps", "pedcon.tps",   "cfgsis.tps",     "socios.tps",   "sticms.tps",
        "pauta.tps",    "pauxpro.tps",  "cstfrete.tps", "qavtipoped.tps", "qavtrans.tps"};
    return order;
}

ConversionResult Converter::run() {
    ConversionResult result;
    if (m_hooks.progress)
        m_hooks.progress(QStringLiteral("Verificando Arquivos..."), {}, {});
    QDir().mkpath(m_folder);
    for (const char* fileName : tableOrder()) {
        const Outcome outcome = convertTable(fileName, result);
        if (outcome == Outcome::EndRequested)
            return result;
        if (outcome == Outcome::Failed) {
            ++result.failedTables;
            result.failed << QString::fromLatin1(fileName);
        }
    }
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

QString finalText(const ConversionResult& result) {
    if (result.loggedValues == 0)
        return {};
    return QStringLiteral("Valores cortados ou recusados na conversão: %1.|Veja o registro em %2.")
        .arg(result.loggedValues)
        .arg(QDir::toNativeSeparators(result.logFile));
}

void Converter::logNotes(const char* fileName, const std::vector<ConversionNote>& notes, bool converted,
                         ConversionResult& result) {
    QStringList lines;
    const DateTimeParts now = Clock::now();
    const QString stamp = QStringLiteral("%1-%2-%3 %4:%5:%6")
                              .arg(now.date.year(), 4, 10, QLatin1Char('0'))
                              .arg(now.date.month(), 2, 10, QLatin1Char('0'))
                              .arg(now.date.day(), 2, 10, QLatin1Char('0'))
                              .arg(now.hour, 2, 10, QLatin1Char('0'))
                              .arg(now.minute, 2, 10, QLatin1Char('0'))
                              .arg(now.second, 2, 10, QLatin1Char('0'));
    for (const ConversionNote& note : notes) {
        // A cut only happened when the table was converted; a refusal is always worth knowing.
        if (!note.refused && !converted)
            continue;
        QString line = stamp + QStringLiteral("  ") + QString::fromLatin1(fileName) + QStringLiteral("  ") +
                       note.record + QStringLiteral("  ") + note.field + QStringLiteral(": valor \"") +
                       note.oldValue + QLatin1Char('"');
        if (note.refused)
            line += QStringLiteral(" recusado (%1); a tabela não foi convertida").arg(note.why);
        else
            line += QStringLiteral(" cortado para \"%1\"").arg(note.newValue);
        lines << line;
    }
    if (lines.isEmpty())
        return;
    const QString path = QDir(m_folder).filePath(nomeLogConversao);
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    log.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    log.close();
    result.logFile = path;
    result.loggedValues += static_cast<int>(lines.size());
}

Converter::Outcome Converter::convertTable(const char* fileName, ConversionResult& result) {
    const TableDef* table = findTable(fileName);
    const QString path = QDir(m_folder).filePath(QString::fromLatin1(fileName));
    const QString shownPath = QDir::toNativeSeparators(path);
    if (m_hooks.progress)
        m_hooks.progress(QStringLiteral("Verificando Arquivos..."), shownPath,
                         QString::fromLatin1(table->label));

    const auto warn = [this, &shownPath](Aviso aviso, const StoreError& error) {
        return m_hooks.warning ? m_hooks.warning(aviso, error, shownPath) : 0;
    };
    // The table is left as it is; the run goes on with the next one. The first failure gives the
    // run its final text.
    const auto failWith = [&result](const char* text) {
        if (result.endText.isEmpty())
            result.endText = QString::fromLatin1(text);
        return Outcome::Failed;
    };
    const auto upgrade = [&](StoreError* upgradeError) {
        std::vector<ConversionNote> notes;
        const bool upgraded = upgradeTable(path, *table, upgradeError, &notes);
        logNotes(fileName, notes, upgraded, result);
        return upgraded;
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
        return Outcome::Converted;
    case CheckResult::FileNotFound:
        if (!createTable(path, *table, &error)) {
            warn(Aviso::ErroCriarArquivo, error);
            return failWith("File Creation Error!");
        }
        if (checkTable(path, *table, &error) != CheckResult::Ok) {
            warn(Aviso::ErroAbrirArquivoCriado, error);
            return failWith("File Creation Error!");
        }
        return Outcome::Converted;
    case CheckResult::InvalidKeyFile:
        if (warn(Aviso::ChaveInvalida, error) != 2) {
            result.endText = QStringLiteral("Invalid Key!");
            return Outcome::EndRequested;
        }
        if (!rebuildKeys(path, *table, &error)) {
            warn(Aviso::ErroReconstruirChave, error);
            return failWith("Error Rebuilding Key!");
        }
        check = checkTable(path, *table, &error);
        if (check == CheckResult::Ok)
            return Outcome::Converted;
        if (check != CheckResult::StructureDiffers) {
            warn(Aviso::ErroReconstruirChave, error);
            return failWith("Error Rebuilding Key!");
        }
        [[fallthrough]];
    case CheckResult::StructureDiffers:
        if (!upgrade(&error) || checkTable(path, *table, &error) != CheckResult::Ok) {
            warn(Aviso::ArquivoInvalido, error);
            return failWith("Invalid File!");
        }
        return Outcome::Converted;
    case CheckResult::FileLocked:
    case CheckResult::InvalidDataFile:
        break;
    }
    // An empty file is left for qavplus, which tells the user at start-up and offers the backup.
    if (QFileInfo(path).size() == 0)
        return failWith("Empty File");
    // A damaged or foreign file: one upgrade attempt (which never touches a file it cannot read),
    // then the file access warning.
    StoreError upgradeError;
    if (check == CheckResult::InvalidDataFile && upgrade(&upgradeError) &&
        checkTable(path, *table, &error) == CheckResult::Ok)
        return Outcome::Converted;
    warn(Aviso::ErroAcessoArquivo, error);
    return failWith("Disk Error");
}

} // namespace qav::upgrade
