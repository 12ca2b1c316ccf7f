// qavplus: the order-entry client. Runs with the program folder as its current folder; the data
// folders are its siblings. Takes no arguments.

#include "app/widgets/Startup.h"
#include "orders/core/CamposPedido.h"
#include "ui/widgets/GuardedApplication.h"

int main(int argc, char** argv) {
    // The order rules' members are checked against the table catalogue before any window opens.
    qav::verificarCampos();
    qav::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qavplus"));
    return qav::runQavplus();
}
