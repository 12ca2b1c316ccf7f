#include "store/core/Clock.h"

#include <QDateTime>

namespace qav {

namespace {
std::function<DateTimeParts()>& overrideSource() {
    static std::function<DateTimeParts()> source;
    return source;
}
} // namespace

DateTimeParts Clock::now() {
    if (const auto& source = overrideSource())
        return source();
    const QDateTime current = QDateTime::currentDateTime();
    const QDate d = current.date();
    const QTime t = current.time();
    return {Date::fromYmd(d.year(), d.month(), d.day()), t.hour(), t.minute(), t.second()};
}

void Clock::setOverride(std::function<DateTimeParts()> source) {
    overrideSource() = std::move(source);
}

} // namespace qav
