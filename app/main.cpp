// qavplus: the order-entry client. Runs with the program folder as its current folder; the data
// folders are its siblings. Takes no arguments.

#include "app/widgets/Startup.h"
#include "ui/core/QtTranslations.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qavplus"));
    // Qt's own dialogs (files, printing) in Portuguese like the rest of the program.
    qav::installQtTranslations(app);
    return qav::runQavplus();
}
