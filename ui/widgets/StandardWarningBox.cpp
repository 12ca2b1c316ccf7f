#include "ui/widgets/StandardWarningBox.h"

#include "ui/core/StandardWarning.h"
#include "ui/widgets/MessageBox.h"

#include <QMutex>
#include <cstdio>
#include <cstdlib>

namespace qav {

namespace {

QMutex mutex;
EndProgramFunction endProgram;

void defaultEndProgram(const QString& finalText) {
    std::fprintf(stderr, "%s\n", finalText.toLocal8Bit().constData());
    std::fflush(stderr);
    std::exit(1);
}

} // namespace

void setEndProgramFunction(EndProgramFunction function) {
    QMutexLocker lock(&mutex);
    endProgram = std::move(function);
}

int standardWarning(int number, const StoreError& error, const QString& text1, const QString& text2,
                    QWidget* parent) {
    const ComposedWarning warning = composeWarning(number, text1, text2, error);
    if (warning.number == 0)
        return 0; // no such warning: nothing to show
    const Button pressed = MessageBox::show(warning.text, warning.caption, warning.icon, warning.buttons,
                                            warning.defaultButton, parent);
    if (warning.endsProgram(pressed)) {
        EndProgramFunction end;
        {
            QMutexLocker lock(&mutex);
            end = endProgram;
        }
        if (end)
            end(warning.finalText);
        else
            defaultEndProgram(warning.finalText);
    }
    return warning.result(pressed);
}

int standardWarning(int number, const QString& text1, const QString& text2, QWidget* parent) {
    return standardWarning(number, StoreError{}, text1, text2, parent);
}

} // namespace qav
