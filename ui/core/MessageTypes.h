#pragma once
// Buttons and icons of the message boxes. The button numbers are the values the callers of the
// standard warnings compare the answer with.

#include <QList>

namespace qav {

enum class Button : int {
    None = 0,
    Ok = 1,
    Yes = 2,
    No = 4,
    Abort = 8,
    Retry = 16,
    Ignore = 32,
    Cancel = 64,
    Help = 128,
};

enum class Icon { None, Information, Warning, Critical, Question };

} // namespace qav
