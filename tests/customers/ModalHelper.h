#pragma once
// Acts on the next modal window once it is open (a look-up or a form started by a click).

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qav::test {

inline void whenModal(std::function<void(QWidget*)> action, int attempts = 200) {
    QTimer::singleShot(10, [action, attempts] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible())
            action(modal);
        else if (attempts > 0)
            whenModal(action, attempts - 1);
    });
}

} // namespace qav::test
