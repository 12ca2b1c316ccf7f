// Day numbers <-> calendar dates (proleptic Gregorian), and the three text forms of a date.
#include "store/core/Date.h"

#include <array>

namespace qav {

namespace {

// Days from 1970-01-01 to the given civil date, and back (H. Hinnant's public-domain algorithms,
// exact over the whole Gregorian calendar).
constexpr std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Ymd {
    int year;
    int month;
    int day;
};

constexpr Ymd civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d};
}

// Day 4 is 1 January 1801.
constexpr std::int64_t kEpochShift = daysFromCivil(1801, 1, 1) - 4;
// Dates run from 1 January 1801 (day 4) to 31 December 9999, the years that four digits can write.
constexpr int kFirstYear = 1801;
constexpr int kLastYear = 9999;

constexpr bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr int daysInMonth(int y, int m) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[static_cast<std::size_t>(m - 1)];
}

Ymd parts(std::int32_t day) {
    return civilFromDays(day + kEpochShift);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// Reads 1..maxDigits digits (exactly `minDigits`..`maxDigits`); nullopt on anything else.
std::optional<int> number(std::string_view s, std::size_t minDigits, std::size_t maxDigits) {
    if (s.size() < minDigits || s.size() > maxDigits)
        return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// Splits "a<sep>b<sep>c" into three fields.
bool split3(std::string_view s, char sep, std::array<std::string_view, 3>& out) {
    const std::size_t p1 = s.find(sep);
    if (p1 == std::string_view::npos)
        return false;
    const std::size_t p2 = s.find(sep, p1 + 1);
    if (p2 == std::string_view::npos || s.find(sep, p2 + 1) != std::string_view::npos)
        return false;
    out = {s.substr(0, p1), s.substr(p1 + 1, p2 - p1 - 1), s.substr(p2 + 1)};
    return true;
}

// All zeros ("00/00/0000") is how the forms and files write "no date".
std::optional<Date> fromFields(std::optional<int> y, std::optional<int> m, std::optional<int> d) {
    if (!y || !m || !d)
        return std::nullopt;
    if (*y == 0 && *m == 0 && *d == 0)
        return Date();
    const Date date = Date::fromYmd(*y, *m, *d);
    if (date.isNull())
        return std::nullopt;
    return date;
}

void append2(std::string& out, int v) {
    out += static_cast<char>('0' + v / 10);
    out += static_cast<char>('0' + v % 10);
}

void append4(std::string& out, int v) {
    append2(out, v / 100);
    append2(out, v % 100);
}

std::string format(Date date, bool yearFirst, char sep) {
    if (!date.isValid())
        return {};
    const Ymd p = parts(date.dayNumber());
    std::string out;
    out.reserve(10);
    if (yearFirst) {
        append4(out, p.year);
        out += sep;
        append2(out, p.month);
        out += sep;
        append2(out, p.day);
    } else {
        append2(out, p.day);
        out += sep;
        append2(out, p.month);
        out += sep;
        append4(out, p.year);
    }
    return out;
}

} // namespace

Date Date::fromYmd(int year, int month, int day) {
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month))
        return Date();
    return Date(static_cast<std::int32_t>(daysFromCivil(year, month, day) - kEpochShift));
}

int Date::year() const {
    return isValid() ? parts(m_day).year : 0;
}
int Date::month() const {
    return isValid() ? parts(m_day).month : 0;
}
int Date::day() const {
    return isValid() ? parts(m_day).day : 0;
}

// Day 0 (28 December 1800) was a Sunday, so the remainder by 7 is the weekday.
int Date::dayOfWeek() const {
    return ((m_day % 7) + 7) % 7;
}

std::string Date::weekdayName() const {
    static const char* const kNames[7] = {"Domingo",      "Segunda-feira", "Terça-feira", "Quarta-feira",
                                          "Quinta-feira", "Sexta-feira",   "Sábado"};
    return isValid() ? std::string(kNames[dayOfWeek()]) : std::string();
}

namespace {
// The three text forms differ only in separator and field order: day first (Brazilian, one or two
// digits for day and month) or year first (two digits each).
std::optional<Date> parseDate(std::string_view text, char separator, bool dayFirst) {
    text = trimmed(text);
    if (text.empty())
        return Date();
    std::array<std::string_view, 3> f;
    if (!split3(text, separator, f))
        return std::nullopt;
    if (dayFirst)
        return fromFields(number(f[2], 4, 4), number(f[1], 1, 2), number(f[0], 1, 2));
    return fromFields(number(f[0], 4, 4), number(f[1], 2, 2), number(f[2], 2, 2));
}
} // namespace

std::optional<Date> Date::fromBr(std::string_view text) {
    return parseDate(text, '/', true);
}

std::optional<Date> Date::fromIso(std::string_view text) {
    return parseDate(text, '-', false);
}

std::optional<Date> Date::fromServer(std::string_view text) {
    return parseDate(text, '/', false);
}

std::string Date::toBr() const {
    return format(*this, false, '/');
}
std::string Date::toIso() const {
    return format(*this, true, '-');
}
std::string Date::toServer() const {
    return format(*this, true, '/');
}

} // namespace qav
