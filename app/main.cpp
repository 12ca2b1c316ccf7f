// qavplus: the order-entry client. Runs in its program folder (the current folder, the user's own
// with --menu, or the one --pasta-programa names); the data folders are its siblings.

#include "app/core/CommandLine.h"
#include "app/widgets/Startup.h"
#include "orders/core/CamposPedido.h"
#include "ui/core/QtTranslations.h"
#include "ui/widgets/GuardedApplication.h"

#include <cstdio>

int main(int argc, char** argv) {
    // --version and --help answer without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const qav::CommandLine commandLine = qav::parseCommandLine(arguments);
    switch (commandLine.action) {
    case qav::CommandLine::Action::Version:
        std::fputs(qav::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case qav::CommandLine::Action::Help:
        std::fputs(qav::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case qav::CommandLine::Action::Error:
        std::fprintf(stderr, "qavplus: %s\nUse qavplus --help para ver as opções.\n",
                     commandLine.error.toLocal8Bit().constData());
        return 2;
    case qav::CommandLine::Action::Run:
        break;
    }
    // The order rules' members are checked against the table catalogue before any window opens.
    qav::verificarCampos();
    qav::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qavplus"));
    // Qt's own dialogs (files, printing) in Portuguese like the rest of the program.
    qav::installQtTranslations(app);
    return qav::runQavplus(commandLine);
}
