#pragma once
// The conversion run of the upgrade tool: every table of a data folder checked, upgraded or created
// in a fixed order, then the folder's database version recorded.

#include "dbtool/core/ValueConversion.h"
#include "store/core/StoreError.h"
#include "ui/core/StandardWarning.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace qav::upgrade {

struct ConverterHooks {
    // What the window shows: the action, the file being processed and the table's label.
    std::function<void(const QString& action, const QString& file, const QString& label)> progress;
    // Shows standard warning `aviso` describing `error`, the failure of the table `text1`, and
    // returns its result.
    std::function<int(Aviso aviso, const StoreError& error, const QString& text1)> warning;
};

struct ConversionResult {
    bool completed = false; // every table open, version written
    QString endText;        // the final text of the first failure ("Disk Error", ...); empty when none
    int failedTables = 0;
    QStringList failed;   // file names of the tables left unconverted
    QString logFile;      // the log of cut and refused values, when this run wrote to it
    int loggedValues = 0; // values this run cut or refused
};

// The closing message of a run: where the cut and refused values were written (empty when none).
QString finalText(const ConversionResult& result);

// The log of cut and refused values, in the data folder.
inline const QString nomeLogConversao = QStringLiteral("qavbd.log");

class Converter {
public:
    Converter(QString dataFolder, ConverterHooks hooks);
    // Every table is tried: one that cannot be converted does not stop the others, unless the user
    // chooses to end (declining to rebuild a damaged key). The version is recorded only when every
    // table converted, so that the next start tries the others again.
    ConversionResult run();

    // The order in which tables are converted.
    static const std::vector<const char*>& tableOrder();

private:
    enum class Outcome { Converted, Failed, EndRequested };
    // Opens one table with the upgrade rules.
    Outcome convertTable(const char* fileName, ConversionResult& result);
    // Appends the values an upgrade of `fileName` cut or refused to the log.
    void logNotes(const char* fileName, const std::vector<ConversionNote>& notes, bool converted,
                  ConversionResult& result);

    QString m_folder;
    ConverterHooks m_hooks;
};

} // namespace qav::upgrade
