// Decimal to and from text: the plain form with a point, the Brazilian form typed by users, and the

#include "store/core/Text.h"
// shortest text of a double.
#include "store/core/Decimal.h"

#include "store/core/DecimalParts.h"

#include <charconv>
#include <cmath>
#include <string>

namespace qav {

using wide::U128;

namespace {

void checkPlaces(int places) {
    if (places < 0 || places > Decimal::kScale)
        throw std::invalid_argument("Decimal: places must be between 0 and 12");
}

// The digits of a number written as integer digits followed by fraction digits, with the decimal
// point `pointPos` digits from the start (before the first digit when negative, after the last when
// beyond the size).
struct DigitRun {
    std::string_view first;
    std::string_view second;
    int pointPos = 0;

    int size() const { return static_cast<int>(first.size() + second.size()); }
    int at(int i) const {
        const int n = static_cast<int>(first.size());
        if (i < 0 || i >= size())
            return 0;
        return (i < n ? first[i] : second[i - n]) - '0';
    }
};

// The magnitude in 10^-12 units of the digits, rounded half away from zero to `places` places;
// nullopt when it is 10^26 or more.
std::optional<U128> magnitudeOf(DigitRun run, int places) {
    int start = 0;
    while (start < run.size() && run.at(start) == 0)
        ++start;
    if (start == run.size())
        return U128{};
    const int pointPos = run.pointPos - start; // digits before the point, counted from the first non-zero
    if (pointPos > Decimal::kMaxIntegerDigits)
        return std::nullopt;
    const int keep = pointPos + places; // digits that make up the value in units of 10^-places
    U128 acc{};
    for (int i = 0; i < keep;) {
        const int chunk = keep - i < 18 ? keep - i : 18;
        std::uint64_t part = 0;
        for (int j = 0; j < chunk; ++j)
            part = part * 10 + static_cast<std::uint64_t>(run.at(start + i + j));
        std::uint64_t w[2] = {acc.lo, acc.hi};
        wide::mulWords(w, 2, wide::kPow10[chunk]);
        bool carry = false;
        acc = wide::add(U128{w[1], w[0]}, U128{0, part}, carry);
        i += chunk;
    }
    if (keep >= 0 && run.at(start + keep) >= 5) {
        bool carry = false;
        acc = wide::add(acc, U128{0, 1}, carry);
    }
    std::uint64_t w[2] = {acc.lo, acc.hi};
    if (wide::mulWords(w, 2, wide::kPow10[Decimal::kScale - places]) != 0)
        return std::nullopt;
    const U128 units{w[1], w[0]};
    if (!wide::less(units, detail::kMagnitudeLimit))
        return std::nullopt;
    return units;
}

// Writes the decimal digits of v (below 2^64) backwards, ending just before `end`; returns the start.
char* writeDigits(char* end, std::uint64_t v, int minDigits) {
    char* p = end;
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
        --minDigits;
    } while (v != 0 || minDigits > 0);
    return p;
}

} // namespace

std::optional<Decimal> Decimal::parse(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Prices, quantities and rates: up to 6 integer digits and 12 places, so that every digit is kept
    // and the magnitude fits in 64 bits (below 10^18); summed in the one pass that checks them.
    {
        std::uint64_t units = 0;
        int wholeDigits = 0, places = 0;
        bool point = false, plain = true;
        for (const char c : text) {
            if (c >= '0' && c <= '9') {
                units = units * 10 + static_cast<std::uint64_t>(c - '0');
                ++(point ? places : wholeDigits);
            } else if (c == '.' && !point) {
                point = true;
            } else {
                plain = false;
                break;
            }
        }
        if (plain && wholeDigits + places > 0 && wholeDigits + kScale <= 18 && places <= kScale)
            return fromMagnitude(negative, 0, units * wide::kPow10[kScale - places]);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    if (!text::allAsciiDigits(whole) || !text::allAsciiDigits(fraction))
        return std::nullopt;
    const auto m = magnitudeOf({whole, fraction, static_cast<int>(whole.size())}, kScale);
    if (!m)
        return std::nullopt;
    return fromMagnitude(negative, m->hi, m->lo);
}

std::optional<Decimal> Decimal::parseBr(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t comma = text.find(',');
    std::string_view whole = text.substr(0, comma);
    std::string_view fraction = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (comma == std::string_view::npos) {
        // Without a comma a single point is a decimal point unless exactly three digits follow it.
        const std::size_t point = whole.find('.');
        if (point != std::string_view::npos && whole.find('.', point + 1) == std::string_view::npos &&
            whole.size() - point - 1 != 3) {
            fraction = whole.substr(point + 1);
            whole = whole.substr(0, point);
            if (whole.empty() && fraction.empty())
                return std::nullopt;
            if (!text::allAsciiDigits(whole) || !text::allAsciiDigits(fraction))
                return std::nullopt;
            const auto m = magnitudeOf({whole, fraction, static_cast<int>(whole.size())}, kScale);
            if (!m)
                return std::nullopt;
            return fromMagnitude(negative, m->hi, m->lo);
        }
    }
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    if (!text::allAsciiDigits(fraction))
        return std::nullopt;
    // Points in the integer part must group it in thousands: "1.234.567", never "12.34".
    std::string digits;
    digits.reserve(whole.size());
    if (whole.find('.') != std::string_view::npos) {
        std::size_t groupStart = 0;
        bool firstGroup = true;
        while (true) {
            const std::size_t point = whole.find('.', groupStart);
            const std::string_view group = whole.substr(groupStart, point - groupStart);
            const bool sizeOk = firstGroup ? !group.empty() && group.size() <= 3 : group.size() == 3;
            if (!sizeOk || !text::allAsciiDigits(group))
                return std::nullopt;
            digits.append(group);
            if (point == std::string_view::npos)
                break;
            groupStart = point + 1;
            firstGroup = false;
        }
    } else {
        if (!text::allAsciiDigits(whole))
            return std::nullopt;
        digits.assign(whole);
    }
    const auto m = magnitudeOf({digits, fraction, static_cast<int>(digits.size())}, kScale);
    if (!m)
        return std::nullopt;
    return fromMagnitude(negative, m->hi, m->lo);
}

Decimal Decimal::fromDouble(double value, int places) {
    checkPlaces(places);
    if (!std::isfinite(value))
        throw DecimalOverflow("Decimal: not a finite number");
    // The shortest text that reads back as the same double: 0.1 is "0.1", not 0.1000000000000000055...
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    std::string_view text(buf, static_cast<std::size_t>(result.ptr - buf));
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int exponent = 0;
    const std::size_t e = text.find('e');
    if (e != std::string_view::npos) {
        std::string_view expText = text.substr(e + 1);
        if (!expText.empty() && expText.front() == '+')
            expText.remove_prefix(1);
        std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
        text = text.substr(0, e);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto m = magnitudeOf({whole, fraction, static_cast<int>(whole.size()) + exponent}, places);
    if (!m)
        throw DecimalOverflow("Decimal overflow: more than 26 integer digits");
    return fromMagnitude(negative, m->hi, m->lo);
}

double Decimal::toDouble() const {
    const std::string text = toString(kScale);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string Decimal::toString(int places) const {
    checkPlaces(places);
    // Round the magnitude to `places` (the quotient is smaller than the magnitude, so no overflow).
    std::uint64_t rem = 0;
    const int cut = kScale - places;
    U128 q = wide::divPow10(U128{m_hi, m_lo}, cut, rem);
    if (cut > 0 && rem >= wide::kPow10[cut] - rem) {
        bool carry = false;
        q = wide::add(q, U128{0, 1}, carry);
    }
    std::uint64_t fraction = 0;
    const U128 whole = wide::divPow10(q, places, fraction);

    char buf[64];
    char* const end = buf + sizeof buf;
    char* p = end;
    if (places > 0) {
        p = writeDigits(p, fraction, places);
        *--p = '.';
    }
    if (whole.hi == 0) {
        p = writeDigits(p, whole.lo, 1);
    } else {
        std::uint64_t low = 0;
        const U128 high = wide::divPow10(whole, 13, low);
        p = writeDigits(p, low, 13);
        p = writeDigits(p, high.lo, 1);
    }
    if (m_negative && !wide::isZero(q))
        *--p = '-';
    return std::string(p, end);
}

std::string Decimal::toString() const {
    std::string text = toString(kScale);
    const std::size_t last = text.find_last_not_of('0');
    text.erase(text[last] == '.' ? last : last + 1);
    return text;
}

std::string to_string(const Decimal& d) {
    return d.toString();
}

} // namespace qav
