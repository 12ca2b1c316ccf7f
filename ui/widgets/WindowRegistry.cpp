#include "ui/widgets/WindowRegistry.h"

#include "ui/widgets/WindowStateBinder.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMutex>
#include <QStyle>
#include <algorithm>
#include <map>
#include <vector>

namespace qav {

namespace {

QMutex mutex;
std::map<QString, WindowOpener>& openers() {
    static std::map<QString, WindowOpener> map;
    return map;
}
std::vector<std::function<void()>>& closingHooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}

} // namespace

QMdiSubWindow* WindowContext::addChild(QWidget* window, QStringView section) const {
    window->setAttribute(Qt::WA_DeleteOnClose);
    const bool sized = window->testAttribute(Qt::WA_Resized);
    const QSize wanted = window->size();
    QMdiSubWindow* sub = mdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (sized) {
        // The area sizes a new child from its size hint; a window that chose its size keeps it
        // (plus the child's frame and title bar) until a saved position says otherwise.
        const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        sub->resize(wanted + QSize(2 * border, title + border));
    }
    if (!section.isEmpty())
        WindowStateBinder::attach(sub, section, QDir(programFolder).filePath(QStringLiteral("qavplus.INI")));
    sub->show();
    // Whatever size it chose or kept, the child opens whole inside the frame: on a small screen no
    // button may lie beyond its edge.
    const QSize area = mdiArea->viewport()->size();
    if (!area.isEmpty()) {
        const QSize size = sub->size().boundedTo(area);
        if (size != sub->size())
            sub->resize(size);
        const QPoint inside(std::clamp(sub->x(), 0, std::max(0, area.width() - sub->width())),
                            std::clamp(sub->y(), 0, std::max(0, area.height() - sub->height())));
        if (inside != sub->pos())
            sub->move(inside);
    }
    return sub;
}

void WindowRegistry::add(QStringView name, WindowOpener opener) {
    QMutexLocker lock(&mutex);
    openers()[name.toString()] = std::move(opener);
}

void WindowRegistry::remove(QStringView name) {
    QMutexLocker lock(&mutex);
    openers().erase(name.toString());
}

bool WindowRegistry::has(QStringView name) {
    QMutexLocker lock(&mutex);
    return openers().count(name.toString()) > 0;
}

bool WindowRegistry::open(QStringView name, const WindowContext& context) {
    WindowOpener opener;
    {
        QMutexLocker lock(&mutex);
        const auto it = openers().find(name.toString());
        if (it == openers().end())
            return false;
        opener = it->second;
    }
    opener(context);
    return true;
}

void WindowRegistry::addClosingHook(std::function<void()> hook) {
    QMutexLocker lock(&mutex);
    closingHooks().push_back(std::move(hook));
}

void WindowRegistry::runClosingHooks() {
    std::vector<std::function<void()>> hooks;
    {
        QMutexLocker lock(&mutex);
        hooks = closingHooks();
    }
    for (const auto& hook : hooks)
        hook();
}

QString unavailableEntryTip() {
    return QStringLiteral("Não disponível nesta versão.");
}

} // namespace qav
