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
    : QObject(window), m_window(window), m_section(section.toString()), m_ini(iniPath) {
    m_window->installEventFilter(this);
    // A dialog ended by its buttons is hidden without a close event: its place is kept when it ends.
    if (auto* dialog = qobject_cast<QDialog*>(window))
        connect(dialog, &QDialog::finished, this, &WindowStateBinder::save);
}

void WindowStateBinder::restore() {
    const QRect current = m_window->geometry();
    WindowGeometry defaults;
    defaults.x = current.x();
    defaults.y = current.y();
    defaults.width = current.width();
    defaults.height = current.height();
    defaults.resizable = resizable();
    const auto state = restoreWindowState(m_ini, m_section, defaults);
    if (!state)
        return;
    m_window->setWindowState(m_window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    QRect target(state->x, state->y, state->width, state->height);
    if (target.width() <= 0 || target.height() <= 0)
        target.setSize(current.size());
    if (!onSomeScreen(target))
        target.moveTopLeft(current.topLeft());
    m_window->setGeometry(target);
    if (state->maximized)
        m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);
}

void WindowStateBinder::save() {
    // The normal geometry is where a minimised or maximised window returns to.
    const QRect normal = m_window->isMinimized() || m_window->isMaximized() ? m_window->normalGeometry()
                                                                            : m_window->geometry();
    WindowGeometry state;
    state.maximized = m_window->isMaximized();
    state.minimized = m_window->isMinimized();
    state.x = normal.x();
    state.y = normal.y();
    state.width = normal.width();
    state.height = normal.height();
    state.resizable = resizable();
    saveWindowState(m_ini, m_section, state);
}

bool WindowStateBinder::resizable() const {
    return m_window->minimumSize() != m_window->maximumSize();
}

bool WindowStateBinder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        if (event->type() == QEvent::Show && !m_restored) {
            m_restored = true;
            restore();
        } else if (event->type() == QEvent::Close) {
            save();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qav
