#pragma once
// The conversion run of the upgrade tool: every table of a data folder checked, upgraded or created
// in a fixed order, then the folder's database version recorded.

#include "store/core/StoreError.h"

#include <QString>
#include <functional>

namespace qav::upgrade {

struct ConverterHooks {
    // What the window shows: the action, the file being processed and the table's label.
    std::function<void(const QString& action, const QString& file, const QString& label)> progress;
    // Shows standard warning `number` about `text1` (the error is set as pending before the call)
    // and returns its result.
    std::function<int(int number, const QString& text1)> warning;
};

struct ConversionResult {
    bool completed = false; // every table open, version written
    QString endText;        // non-empty when the program must end ("Disk Error", ...)
    int failedTables = 0;
};

class Converter {
public:
    Converter(QString dataFolder, ConverterHooks hooks);
    ConversionResult run();

    // The order in which tables are converted.
    static const std::vector<const char*>& tableOrder();

private:
    // Opens one table with the upgrade rules; returns false when the program must end.
    bool convertTable(const char* fileName, ConversionResult& result);

    QString m_folder;
    ConverterHooks m_hooks;
};

} // namespace qav::upgrade
