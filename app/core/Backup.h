#pragma once
// Backup and restore of a data folder: its 28 table files and bd.ver in one zip archive.
//
// A backup copies each table through the storage engine's online backup, so a table that another
// window is writing is copied as it was before or after that write, never half-way; a table the
// engine cannot read (damaged) is copied byte for byte and named in the result. The archive is
// written under a temporary name and renamed only when complete and read back.
//
// A restore checks the whole archive before it touches the folder (only our file names, no paths,
// every table a sound table file of ours), keeps the folder's current files in a folder beside it
// named with the date and time, and replaces the files; should anything fail half-way the kept
// files are put back, so the folder ends as it was before or as it is in the archive.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace qav::backup {

struct Result {
    bool ok = false;
    QString message;        // why it failed, in words for the user; empty on success
    QString keptCopy;       // restore: the folder that holds the files that were replaced
    int tables = 0;         // table files written or restored
    QStringList copiedAsIs; // backup: damaged tables the engine could not read, copied byte for byte
};

// The name proposed for a new archive: "QAV_" + yyyy-mm-dd + ".zip".
QString defaultArchiveName(const QDate& date);

// Writes the table files and bd.ver of `dataFolder` into the archive `archivePath` (replacing it
// when it exists). Every table file must be there: a folder missing one is not backed up.
Result createBackup(const QString& dataFolder, const QString& archivePath);

// Checks an archive as a restore would, without touching any data folder.
Result checkBackup(const QString& archivePath);

struct RestoreHooks {
    // Called before each file of the folder is replaced; returning false makes the replacement fail
    // there (a full disk or a file the system will not let go of, for tests).
    std::function<bool(const QString& fileName)> beforeReplace;
};

// Restores the archive into `dataFolder` (created when missing).
Result restoreBackup(const QString& archivePath, const QString& dataFolder, const RestoreHooks& hooks = {});

// The folder beside `dataFolder` that a restore at `when` keeps the replaced files in
// ("dados-anterior-2026-03-05_14-30-00"); a suffix is added when it exists already.
QString keptCopyFolder(const QString& dataFolder, const QDateTime& when);

} // namespace qav::backup
