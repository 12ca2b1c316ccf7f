#pragma once
// Calendar dates as day numbers, the form every date field of the local tables holds.
//
// Day 0 means "no date". Day numbers follow the usual standard-date convention of business
// languages on the desktop: day 4 is 1 January 1801, so day 0 is 28 December 1800 and every real
// date is positive. Dates compare and subtract as plain day counts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qav {

class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(std::int32_t dayNumber) : m_day(dayNumber) {}

    static Date fromYmd(int year, int month, int day); // invalid calendar date -> no date
    std::int32_t dayNumber() const { return m_day; }
    bool isNull() const { return m_day == 0; }
    bool isValid() const { return m_day > 0; }

    int year() const;
    int month() const;
    int day() const;
    // 0 = Sunday ... 6 = Saturday.
    int dayOfWeek() const;
    // "Domingo", "Segunda-feira", "Terça-feira", "Quarta-feira", "Quinta-feira", "Sexta-feira", "Sábado".
    std::string weekdayName() const; // UTF-8

    // Parsers return nullopt for text that is not a valid calendar date; an empty or blank text, and
    // "00/00/0000", read as the null date.
    static std::optional<Date> fromBr(std::string_view ddmmyyyy);     // "31/12/2026"
    static std::optional<Date> fromIso(std::string_view yyyymmdd);    // "2026-12-31"
    static std::optional<Date> fromServer(std::string_view yyyymmdd); // "2026/12/31"

    std::string toBr() const;     // "31/12/2026", "" for no date
    std::string toIso() const;    // "2026-12-31", "" for no date
    std::string toServer() const; // "2026/12/31", "" for no date

    Date addDays(int days) const { return isNull() ? *this : Date(m_day + days); }
    friend int operator-(Date a, Date b) { return a.m_day - b.m_day; }
    friend auto operator<=>(Date a, Date b) = default;

private:
    std::int32_t m_day = 0;
};

} // namespace qav
