#pragma once
// Shows a standard warning and returns its LONG result. Warnings that leave no way to go on end the
// program after the box closes, through a replaceable function so tests can watch it happen.

#include "ui/core/StandardWarning.h"

#include <QString>
#include <functional>

class QWidget;

namespace qav {

// Receives the final text ("Invalid File!", ...). The default writes it to the error output and
// ends the process with exit code 1; it does not return.
using EndProgramFunction = std::function<void(const QString& finalText)>;
void setEndProgramFunction(EndProgramFunction function); // empty: back to the default

// Shows warning `number` describing `error`: the error of the operation that failed, taken from the
// object that ran it (`table.error()`, a result's `erro`, ...), never from elsewhere.
int standardWarning(int number, const StoreError& error, const QString& text1 = {}, const QString& text2 = {},
                    QWidget* parent = nullptr);
inline int standardWarning(Aviso aviso, const StoreError& error, const QString& text1 = {},
                           const QString& text2 = {}, QWidget* parent = nullptr) {
    return standardWarning(static_cast<int>(aviso), error, text1, text2, parent);
}

// A warning that describes no error: the questions, the limits and the refusals of the forms.
int standardWarning(int number, const QString& text1 = {}, const QString& text2 = {},
                    QWidget* parent = nullptr);
inline int standardWarning(Aviso aviso, const QString& text1 = {}, const QString& text2 = {},
                           QWidget* parent = nullptr) {
    return standardWarning(static_cast<int>(aviso), text1, text2, parent);
}

} // namespace qav
