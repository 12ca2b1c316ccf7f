#include "store/core/DecimalCollation.h"

#include <cstdint>
#include <sqlite3.h>

namespace qav {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number as sign, significant digits (no leading or trailing zeros) and the power of ten of the
// place just before the first of them: 0.d1d2d3... x 10^exponent. Zero has no digits.
struct DecimalValue {
    bool negative = false;
    std::string_view digitsBefore; // significant digits found before the point (may end in zeros)
    std::string_view digitsAfter;  // and after it
    std::int64_t exponent = 0;

    int digitCount() const { return static_cast<int>(digitsBefore.size() + digitsAfter.size()); }
    char digit(int i) const {
        const int before = static_cast<int>(digitsBefore.size());
        return i < before ? digitsBefore[static_cast<size_t>(i)]
                          : digitsAfter[static_cast<size_t>(i - before)];
    }
    bool isZero() const { return digitCount() == 0; }
};

// Exponents beyond this are held at it: no stored value comes anywhere near, and it keeps the sums
// below from overflowing.
constexpr std::int64_t kExponentLimit = 1'000'000'000;

bool parse(std::string_view text, DecimalValue& value) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && isSpace(text[i]))
        ++i;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        value.negative = text[i++] == '-';
    const size_t wholeStart = i;
    while (i < n && isDigit(text[i]))
        ++i;
    std::string_view whole = text.substr(wholeStart, i - wholeStart);
    std::string_view fraction;
    if (i < n && text[i] == '.') {
        const size_t fractionStart = ++i;
        while (i < n && isDigit(text[i]))
            ++i;
        fraction = text.substr(fractionStart, i - fractionStart);
    }
    if (whole.empty() && fraction.empty())
        return false;
    std::int64_t exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '-' || text[i] == '+'))
            negativeExponent = text[i++] == '-';
        if (i == n || !isDigit(text[i]))
            return false;
        while (i < n && isDigit(text[i])) {
            if (exponent < kExponentLimit)
                exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && isSpace(text[i]))
        ++i;
    if (i != n)
        return false;

    // Leading zeros of the whole part carry no value; when it is all zeros, so do the zeros that
    // open the fraction, each moving the first significant digit one place further down.
    while (!whole.empty() && whole.front() == '0')
        whole.remove_prefix(1);
    exponent += static_cast<std::int64_t>(whole.size());
    if (whole.empty()) {
        while (!fraction.empty() && fraction.front() == '0') {
            fraction.remove_prefix(1);
            --exponent;
        }
    }
    while (!fraction.empty() && fraction.back() == '0')
        fraction.remove_suffix(1);
    if (fraction.empty())
        while (!whole.empty() && whole.back() == '0')
            whole.remove_suffix(1);
    value.digitsBefore = whole;
    value.digitsAfter = fraction;
    value.exponent = exponent;
    if (value.isZero())
        value.negative = false; // "-0" is zero
    return true;
}

int compareMagnitudes(const DecimalValue& a, const DecimalValue& b) {
    if (a.exponent != b.exponent)
        return a.exponent < b.exponent ? -1 : 1;
    const int common = a.digitCount() < b.digitCount() ? a.digitCount() : b.digitCount();
    for (int i = 0; i < common; ++i)
        if (a.digit(i) != b.digit(i))
            return a.digit(i) < b.digit(i) ? -1 : 1;
    // Same leading digits: the one with more significant digits left is the larger.
    return a.digitCount() == b.digitCount() ? 0 : (a.digitCount() < b.digitCount() ? -1 : 1);
}

int sign(const DecimalValue& v) {
    return v.isZero() ? 0 : (v.negative ? -1 : 1);
}

int compareBytes(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The form the store itself writes ("-12.50", "0.0000"): an optional sign, digits, an optional
// point and digits. Read without the exponent and space handling of parse(), since sorting a list
// compares each value many times.
struct PlainDecimal {
    bool negative = false;
    std::string_view whole;    // without leading zeros
    std::string_view fraction; // without trailing zeros
    bool isZero() const { return whole.empty() && fraction.empty(); }
};

bool parsePlain(std::string_view text, PlainDecimal& value) {
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && (text[i] == '-' || text[i] == '+'))
        value.negative = text[i++] == '-';
    const size_t wholeStart = i;
    while (i < n && isDigit(text[i]))
        ++i;
    value.whole = text.substr(wholeStart, i - wholeStart);
    bool anyDigit = !value.whole.empty();
    if (i < n && text[i] == '.') {
        const size_t fractionStart = ++i;
        while (i < n && isDigit(text[i]))
            ++i;
        value.fraction = text.substr(fractionStart, i - fractionStart);
        anyDigit = anyDigit || !value.fraction.empty();
    }
    if (i != n || !anyDigit)
        return false;
    while (!value.whole.empty() && value.whole.front() == '0')
        value.whole.remove_prefix(1);
    while (!value.fraction.empty() && value.fraction.back() == '0')
        value.fraction.remove_suffix(1);
    if (value.isZero())
        value.negative = false;
    return true;
}

int comparePlainMagnitudes(const PlainDecimal& a, const PlainDecimal& b) {
    if (a.whole.size() != b.whole.size())
        return a.whole.size() < b.whole.size() ? -1 : 1;
    if (const int c = compareBytes(a.whole, b.whole); c != 0)
        return c;
    // Fractions without trailing zeros: where one is a prefix of the other, the longer is larger.
    return compareBytes(a.fraction, b.fraction);
}

int comparePlain(const PlainDecimal& x, const PlainDecimal& y) {
    const int signX = x.isZero() ? 0 : (x.negative ? -1 : 1);
    const int signY = y.isZero() ? 0 : (y.negative ? -1 : 1);
    if (signX != signY)
        return signX < signY ? -1 : 1;
    if (signX == 0)
        return 0;
    const int magnitude = comparePlainMagnitudes(x, y);
    return x.negative ? -magnitude : magnitude;
}

int collate(void*, int sizeA, const void* a, int sizeB, const void* b) {
    return compareDecimalText(std::string_view(static_cast<const char*>(a), static_cast<size_t>(sizeA)),
                              std::string_view(static_cast<const char*>(b), static_cast<size_t>(sizeB)));
}

} // namespace

int compareDecimalText(std::string_view a, std::string_view b) {
    PlainDecimal plainA;
    PlainDecimal plainB;
    if (parsePlain(a, plainA) && parsePlain(b, plainB))
        return comparePlain(plainA, plainB);
    DecimalValue x;
    DecimalValue y;
    const bool xIsNumber = parse(a, x);
    const bool yIsNumber = parse(b, y);
    if (!xIsNumber || !yIsNumber) {
        if (xIsNumber != yIsNumber)
            return xIsNumber ? -1 : 1;
        return compareBytes(a, b);
    }
    if (sign(x) != sign(y))
        return sign(x) < sign(y) ? -1 : 1;
    if (sign(x) == 0)
        return 0;
    const int magnitude = compareMagnitudes(x, y);
    return x.negative ? -magnitude : magnitude;
}

bool registerDecimalCollation(sqlite3* db) {
    return sqlite3_create_collation_v2(db, kDecimalCollation, SQLITE_UTF8, nullptr, collate, nullptr) ==
           SQLITE_OK;
}

} // namespace qav
