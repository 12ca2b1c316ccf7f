#pragma once
// The one source of "today" and "now", so that rules that depend on the date (the communication
// lock after N days, price-list validity, overdue titles) can be tested on any day.

#include "store/core/Date.h"

#include <functional>

namespace qav {

struct DateTimeParts {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    static DateTimeParts now();
    static Date today() { return now().date; }
    // Tests fix the clock; an empty function gives back the system clock.
    static void setOverride(std::function<DateTimeParts()> source);
};

} // namespace qav
