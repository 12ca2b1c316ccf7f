#pragma once
// The arguments of qavplus. Started from a shell it works in the current folder, as it always did;
// the desktop menu starts it with --menu, which gives each user a program folder of their own; and
// --pasta-programa names one.

#include <QString>
#include <QStringList>

namespace qav {

struct CommandLine {
    enum class Action { Run, Version, Help, Error };
    Action action = Action::Run;
    QString programFolder;   // empty: the current folder
    bool userFolder = false; // the program folder is the user's own (started from the menu)
    QString error;
};

// `arguments` without the program name.
CommandLine parseCommandLine(const QStringList& arguments);

QString versionText();
QString helpText();

// The user's own program folder: "qavplus/pgms" under the user's data folder ($XDG_DATA_HOME on
// Linux, the local application-data folder on Windows); its data folders go beside it.
QString userProgramFolder();

struct ProgramFolder {
    QString path;
    bool created = false; // did not exist before: the first start in it
    QString error;
};

// The folder the program works in for `commandLine`, created when missing.
ProgramFolder resolveProgramFolder(const CommandLine& commandLine, const QString& currentFolder);

} // namespace qav
