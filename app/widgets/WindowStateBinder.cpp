#include "app/widgets/WindowStateBinder.h"

#include "app/core/WindowState.h"

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
}

void WindowStateBinder::restore() {
    WindowGeometry defaults;
    defaults.x = window_->x();
    defaults.y = window_->y();
    defaults.width = window_->width();
    defaults.height = window_->height();
    defaults.resizable = window_->minimumSize() != window_->maximumSize();
    const auto state = restoreWindowState(ini_, section_, defaults);
    if (!state)
        return;
    if (!state->maximized)
        window_->setWindowState(window_->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    const QSize size = defaults.resizable && state->width > 0 && state->height > 0
                           ? QSize(state->width, state->height)
                           : window_->size();
    if (onSomeScreen(QRect(QPoint(state->x, state->y), size)))
        window_->move(state->x, state->y);
    if (size != window_->size())
        window_->resize(size);
    if (state->maximized)
        window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void WindowStateBinder::save() {
    WindowGeometry state;
    state.maximized = window_->isMaximized();
    state.minimized = window_->isMinimized();
    state.x = window_->x();
    state.y = window_->y();
    state.width = window_->width();
    state.height = window_->height();
    state.resizable = window_->minimumSize() != window_->maximumSize();
    saveWindowState(ini_, section_, state);
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
