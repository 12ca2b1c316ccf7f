// qavplus: the order-entry client. Runs with the program folder as its current folder; the data
// folders are its siblings. Takes no arguments.

#include "app/widgets/Startup.h"
#include "ui/widgets/GuardedApplication.h"

int main(int argc, char** argv) {
    qav::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qavplus"));
    return qav::runQavplus();
}
