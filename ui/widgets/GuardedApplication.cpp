#include "ui/widgets/GuardedApplication.h"

#include "ui/widgets/MessageBox.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

void report(const QString& description) {
    std::fprintf(stderr, "%s\n", qPrintable(u"erro inesperado: "_s + description));
    std::fflush(stderr);
    MessageBox::show(unexpectedFailureText(description), u"Erro"_s, Icon::Critical, {Button::Ok}, Button::Ok,
                     QApplication::activeWindow());
}

} // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what())); // the program's own failures describe themselves in UTF-8
    } catch (...) {
        report(u"falha sem descrição"_s);
    }
    // The event is taken as handled: nothing else acts on it.
    return true;
}

QString unexpectedFailureText(const QString& description) {
    return u"Ocorreu um erro inesperado e a operação foi interrompida.|"_s + description +
           u"|Confira os dados da janela antes de continuar."_s;
}

} // namespace qav
