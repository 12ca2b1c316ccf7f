// qavbd: checks and upgrades the tables of a data folder and records its database version.
//
//   qavbd auto [folder]   converts at once, without asking, and ends
//   qavbd [x] [folder]    opens the window; converts only after the user confirms
//
// The folder (a plain folder name of at most 20 characters, "dados" when absent) is a sibling of the
// current folder, the program folder.

#include "base/core/FolderName.h"
#include "dbtool/widgets/ConverteBdWindow.h"
#include "ui/widgets/GuardedApplication.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QApplication>
#include <QDir>
#include <QStyleHints>
#include <cstdio>

int main(int argc, char** argv) {
    qav::GuardedApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool unattended =
        args.size() > 1 && args.at(1).compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0;
    const QString folderName =
        args.size() > 2 && !args.at(2).trimmed().isEmpty() ? args.at(2).trimmed() : QStringLiteral("dados");
    // Only a plain folder beside the program folder: ".", "..", a path or a drive would have the
    // tables created somewhere else.
    if (!qav::validFolderName(folderName, qav::pastaArgumentoMaxLength)) {
        std::fprintf(stderr, "qavbd: %s (%s)\n", qPrintable(qav::textoPastaInvalida), qPrintable(folderName));
        return 2;
    }
    const QString folder =
        QDir::cleanPath(QDir::current().absoluteFilePath(QStringLiteral("../") + folderName));

    int exitCode = 0;
    qav::setEndProgramFunction([&exitCode](const QString& finalText) {
        std::fprintf(stderr, "qavbd: %s\n", qPrintable(finalText));
        exitCode = 1;
    });
    qav::ConverteBdWindow window(folder);
    if (unattended) {
        window.show();
        window.convertNow();
    } else {
        window.exec();
    }
    if (const QString text = qav::upgrade::finalText(window.result()); !text.isEmpty())
        std::fprintf(stderr, "qavbd: %s\n", qPrintable(QString(text).replace(u'|', u' ')));
    if (!window.result().endText.isEmpty()) {
        std::fprintf(stderr, "qavbd: %s\n", qPrintable(window.result().endText));
        return 1;
    }
    return exitCode;
}
