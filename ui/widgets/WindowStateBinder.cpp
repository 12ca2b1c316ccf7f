#include "ui/widgets/WindowStateBinder.h"

#include "base/core/WindowState.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qav {

namespace {

// A position saved on a screen that is no longer attached would open the window out of sight.
bool onSomeScreen(const QRect& frame) {
    const auto screens = QGuiApplication::screens();
    for (const QScreen* screen : screens)
        if (screen->availableGeometry().intersects(frame))
            return true;
    return screens.isEmpty();
}

} // namespace

WindowStateBinder* WindowStateBinder::attach(QWidget* window, QStringView section, const QString& iniPath) {
    return new WindowStateBinder(window, section, iniPath);
}

WindowStateBinder::WindowStateBinder(QWidget* window, QStringView section, const QString& iniPath)
    : QObject(window), window_(window), section_(section.toString()), ini_(iniPath) {
    window_->installEventFilter(this);
    // A dialog ended by its buttons is hidden without a close event: its place is kept when it ends.
    if (auto* dialog = qobject_cast<QDialog*>(window))
        connect(dialog, &QDialog::finished, this, &WindowStateBinder::save);
}

void WindowStateBinder::restore() {
    const QRect current = window_->geometry();
    WindowGeometry defaults;
    defaults.x = current.x();
    defaults.y = current.y();
    defaults.width = current.width();
    defaults.height = current.height();
    defaults.resizable = resizable();
    const auto state = restoreWindowState(ini_, section_, defaults);
    if (!state)
        return;
    window_->setWindowState(window_->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    QRect target(state->x, state->y, state->width, state->height);
    if (target.width() <= 0 || target.height() <= 0)
        target.setSize(current.size());
    if (!onSomeScreen(target))
        target.moveTopLeft(current.topLeft());
    window_->setGeometry(target);
    if (state->maximized)
        window_->setWindowState(window_->windowState() | Qt::WindowMaximized);
}

void WindowStateBinder::save() {
    // The normal geometry is where a minimised or maximised window returns to.
    const QRect normal =
        window_->isMinimized() || window_->isMaximized() ? window_->normalGeometry() : window_->geometry();
    WindowGeometry state;
    state.maximized = window_->isMaximized();
    state.minimized = window_->isMinimized();
    state.x = normal.x();
    state.y = normal.y();
    state.width = normal.width();
    state.height = normal.height();
    state.resizable = resizable();
    saveWindowState(ini_, section_, state);
}

bool WindowStateBinder::resizable() const {
    return window_->minimumSize() != window_->maximumSize();
}

bool WindowStateBinder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::Show && !restored_) {
            restored_ = true;
            restore();
        } else if (event->type() == QEvent::Close) {
            save();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qav
