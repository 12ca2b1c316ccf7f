#pragma once
// Exact fixed-point decimal for money, quantities and rates.
//
// A value is held as a signed count of 10^-12 units in a portable 128-bit magnitude (no __int128, so
// MSVC builds it too). Twelve places keep every intermediate result of the order rules exact or
// carried far beyond the cent; a value is rounded only where a business rule rounds or when it is
// stored into a field of fewer places, and rounding is always half away from zero.
//
// Overflow (a magnitude beyond 10^26) throws DecimalOverflow instead of wrapping. Division by zero
// throws DivisionByZero; the order rules that want "0 when the divisor is 0" call divOrZero().

#ifndef Q_MOC_RUN // moc cannot read the standard <compare> header; it needs none of it
#include <compare>
#endif
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qav {

class DecimalOverflow : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

class DivisionByZero : public std::domain_error {
public:
    using std::domain_error::domain_error;
};

class Decimal {
public:
    static constexpr int kScale = 12; // places held internally
    static constexpr int kMaxIntegerDigits = 26;

    constexpr Decimal() = default;
    Decimal(int value);       // NOLINT(google-explicit-constructor): integers are exact decimals
    Decimal(long value);      // NOLINT
    Decimal(long long value); // NOLINT

    // Parses "123", "-0.5", "1234.5678", "+7", ".5" (a point as separator, no exponent, no spaces).
    // More than 12 places are rounded half away from zero. Returns nullopt on anything else.
    static std::optional<Decimal> parse(std::string_view text);
    // Parses the Brazilian form typed by a user: "1.234,56", "1234,56", "-0,5", "12" (the points
    // are thousands separators, the comma the decimal separator). Also accepts a plain "1234.56"
    // when there is no comma and exactly one point followed by other than three digits.
    static std::optional<Decimal> parseBr(std::string_view text);
    // A real64 field value (or any double) rounded half away from zero to `places` (0..12).
    // Uses the shortest decimal text that reads back as the same double, so 0.1 gives 0.1.
    static Decimal fromDouble(double value, int places);

    double toDouble() const;
    // Truncates toward zero; throws DecimalOverflow when it does not fit.
    long long toInt64() const;

    // Plain text with a point and exactly `places` decimals (0..12), rounded half away from zero:
    // Decimal(10).toString(2) == "10.00", parse("3.333").toString(4) == "3.3330", "-0.50".
    std::string toString(int places) const;
    // Shortest plain text: no trailing zeros after the point, no point for whole numbers.
    std::string toString() const;

    // Rounded half away from zero to `places` (0..12): 2.345 -> 2.35, -2.345 -> -2.35.
    Decimal rounded(int places) const;
    // Truncated toward zero to `places`: the INT() of the order rules when places is 0.
    Decimal truncated(int places = 0) const;
    // The value as stored in a decimal(p,s) field: rounded half away from zero to s places; throws
    // DecimalOverflow when the rounded value needs more than p - s integer digits.
    Decimal forField(int precision, int scale) const;
    bool fitsField(int precision, int scale) const;
    // Whether this value, already rounded to `scale` places, has room in decimal(precision, scale).
    bool integerDigitsFit(int precision, int scale) const;

    bool isZero() const { return m_hi == 0 && m_lo == 0; }
    bool isNegative() const { return m_negative; }
    int sign() const { return isZero() ? 0 : (m_negative ? -1 : 1); }
    Decimal abs() const;

    Decimal operator-() const;
    Decimal& operator+=(const Decimal& other);
    Decimal& operator-=(const Decimal& other);
    Decimal& operator*=(const Decimal& other); // exact product rounded to 12 places
    Decimal& operator/=(const Decimal& other); // quotient rounded to 12 places; throws DivisionByZero
    friend Decimal operator+(Decimal a, const Decimal& b) { return a += b; }
    friend Decimal operator-(Decimal a, const Decimal& b) { return a -= b; }
    friend Decimal operator*(Decimal a, const Decimal& b) { return a *= b; }
    friend Decimal operator/(Decimal a, const Decimal& b) { return a /= b; }

    // a / b, or 0 when b is 0: the order rules never fail on a zero quantity, price or total.
    static Decimal divOrZero(const Decimal& a, const Decimal& b);

    friend bool operator==(const Decimal& a, const Decimal& b);
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

private:
    // Builds a value from its sign and magnitude in units of 10^-12; throws DecimalOverflow when the
    // magnitude is 10^38 or more. Zero always comes out positive.
    static Decimal fromMagnitude(bool negative, std::uint64_t hi, std::uint64_t lo);

    // Magnitude in units of 10^-12, sign apart (so that rounding half away from zero works on the
    // magnitude alone). Zero is never negative.
    bool m_negative = false;
    std::uint64_t m_hi = 0;
    std::uint64_t m_lo = 0;
};

std::string to_string(const Decimal& d); // toString(), for test output

} // namespace qav
