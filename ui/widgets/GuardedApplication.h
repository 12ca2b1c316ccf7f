#pragma once
// The application object of qavplus and qavbd, with the last guard against a failure nobody caught.
//
// A failure that escapes an event handler (a button's action, a key, a timer) would otherwise end the
// program at once: the user's typing lost, a half-made record left in the files. The guard catches it
// where the event is delivered, shows the standard error box and lets the program go on with the
// window as it was, so the user can correct, save or cancel as usual.

#include <QApplication>
#include <QString>
#include <exception>

namespace qav {

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The text the guard shows for a failure (the failure's own description on the second line).
QString unexpectedFailureText(const QString& description);

} // namespace qav
