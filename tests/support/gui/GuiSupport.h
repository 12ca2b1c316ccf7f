#pragma once
// What the window tests share: the message boxes shown, a child widget by name, and an action on the
// next modal window.

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <type_traits>

namespace qav::test {

// Every message box shown since MessageBox::clearShown(), as "caption: text".
QStringList shownBoxes();

// The child named `name`; a missing one ends the test run at once, naming it (a renamed widget must
// not turn into a null pointer somewhere later).
template <typename T> T* child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

// Runs `action` on the next modal window of type T once it is shown (the event loop keeps running,
// so call this before the click that opens the window).
template <typename T = QWidget> void whenModal(std::function<void(std::type_identity_t<T>*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (T* w = qobject_cast<T*>(modal); w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(w);
        }
    });
    timer->start();
}

} // namespace qav::test
