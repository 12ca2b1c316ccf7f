// Decimal arithmetic: sign and magnitude, the magnitude a count of 10^-12 units below 10^38.
#include "store/core/Decimal.h"

#include "store/core/DecimalParts.h"

#include <array>

namespace qav {

using wide::U128;

namespace {

void checkPlaces(int places) {
    if (places < 0 || places > Decimal::kScale)
        throw std::invalid_argument("Decimal: places must be between 0 and 12");
}

// Magnitude rounded half away from zero to a multiple of 10^k, or truncated toward zero when `halfAway` is
// false.
U128 roundMagnitude(U128 m, int k, bool halfAway) {
    if (k == 0)
        return m;
    // Values below 2^64 units (every price and quantity) round in one word, when the rounded-up
    // multiple cannot pass the word's end.
    if (m.hi == 0 && m.lo <= ~std::uint64_t{0} - wide::kPow10[k]) {
        const std::uint64_t unit = wide::kPow10[k];
        const std::uint64_t rem = m.lo % unit;
        std::uint64_t q = m.lo / unit;
        if (halfAway && rem >= unit - rem)
            ++q;
        return {0, q * unit};
    }
    std::uint64_t rem = 0;
    U128 q = wide::divPow10(m, k, rem);
    if (halfAway && rem >= wide::kPow10[k] - rem) {
        bool carry = false;
        q = wide::add(q, U128{0, 1}, carry);
    }
    std::uint64_t w[2] = {q.lo, q.hi};
    const std::uint64_t out = wide::mulWords(w, 2, wide::kPow10[k]);
    if (out != 0)
        throw DecimalOverflow("Decimal overflow");
    return {w[1], w[0]};
}

} // namespace

Decimal Decimal::fromMagnitude(bool negative, std::uint64_t hi, std::uint64_t lo) {
    if (!wide::less(U128{hi, lo}, detail::kMagnitudeLimit))
        throw DecimalOverflow("Decimal overflow: more than 26 integer digits");
    Decimal d;
    d.m_hi = hi;
    d.m_lo = lo;
    d.m_negative = negative && (hi | lo) != 0;
    return d;
}

Decimal::Decimal(int value) : Decimal(static_cast<long long>(value)) {}
Decimal::Decimal(long value) : Decimal(static_cast<long long>(value)) {}
Decimal::Decimal(long long value) {
    // Negate in unsigned arithmetic so that the most negative value works too.
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const U128 units = wide::mul64(magnitude, detail::kUnit);
    m_hi = units.hi;
    m_lo = units.lo;
    m_negative = value < 0;
}

long long Decimal::toInt64() const {
    std::uint64_t rem = 0;
    const U128 whole = wide::divPow10(U128{m_hi, m_lo}, kScale, rem);
    constexpr std::uint64_t kMaxPositive = 0x7FFFFFFFFFFFFFFFull;
    if (whole.hi != 0 || whole.lo > kMaxPositive + (m_negative ? 1u : 0u))
        throw DecimalOverflow("Decimal does not fit in a 64-bit integer");
    if (m_negative)
        return whole.lo == kMaxPositive + 1
                   ? static_cast<long long>(-static_cast<long long>(kMaxPositive) - 1)
                   : -static_cast<long long>(whole.lo);
    return static_cast<long long>(whole.lo);
}

Decimal Decimal::rounded(int places) const {
    checkPlaces(places);
    const U128 m = roundMagnitude(U128{m_hi, m_lo}, kScale - places, true);
    return fromMagnitude(m_negative, m.hi, m.lo);
}

Decimal Decimal::truncated(int places) const {
    checkPlaces(places);
    const U128 m = roundMagnitude(U128{m_hi, m_lo}, kScale - places, false);
    return fromMagnitude(m_negative, m.hi, m.lo);
}

namespace {

void checkField(int precision, int scale) {
    if (scale < 0 || scale > Decimal::kScale || precision < scale ||
        precision > Decimal::kMaxIntegerDigits + Decimal::kScale)
        throw std::invalid_argument("Decimal: invalid field precision or scale");
}

// 10^n units for n up to 38, worked out once: every value written to a field is checked against one.
const std::array<U128, 39>& powersOfTen() {
    static const std::array<U128, 39> powers = [] {
        std::array<U128, 39> p{};
        p[0] = U128{0, 1};
        for (size_t n = 1; n < p.size(); ++n) {
            std::uint64_t w[2] = {p[n - 1].lo, p[n - 1].hi};
            wide::mulWords(w, 2, 10);
            p[n] = U128{w[1], w[0]};
        }
        return p;
    }();
    return powers;
}

} // namespace

bool Decimal::integerDigitsFit(int precision, int scale) const {
    const int integerDigits = precision - scale;
    if (integerDigits >= kMaxIntegerDigits)
        return true;
    // The magnitude must stay below 10^(integerDigits + 12) units.
    return wide::less(U128{m_hi, m_lo}, powersOfTen()[static_cast<size_t>(integerDigits + kScale)]);
}

bool Decimal::fitsField(int precision, int scale) const {
    checkField(precision, scale);
    try {
        return rounded(scale).integerDigitsFit(precision, scale);
    } catch (const DecimalOverflow&) {
        return false;
    }
}

Decimal Decimal::forField(int precision, int scale) const {
    checkField(precision, scale);
    Decimal r;
    try {
        r = rounded(scale);
    } catch (const DecimalOverflow&) {
        throw DecimalOverflow("Decimal value too large for its field");
    }
    if (!r.integerDigitsFit(precision, scale))
        throw DecimalOverflow("Decimal value too large for its field");
    return r;
}

Decimal Decimal::abs() const {
    Decimal d = *this;
    d.m_negative = false;
    return d;
}

Decimal Decimal::operator-() const {
    Decimal d = *this;
    d.m_negative = !m_negative && !isZero();
    return d;
}

Decimal& Decimal::operator+=(const Decimal& other) {
    const U128 a{m_hi, m_lo};
    const U128 b{other.m_hi, other.m_lo};
    if (m_negative == other.m_negative) {
        bool carry = false;
        const U128 s = wide::add(a, b, carry);
        if (carry)
            throw DecimalOverflow("Decimal overflow");
        *this = fromMagnitude(m_negative, s.hi, s.lo);
    } else if (wide::less(a, b)) {
        const U128 d = wide::sub(b, a);
        *this = fromMagnitude(other.m_negative, d.hi, d.lo);
    } else {
        const U128 d = wide::sub(a, b);
        *this = fromMagnitude(m_negative, d.hi, d.lo);
    }
    return *this;
}

Decimal& Decimal::operator-=(const Decimal& other) {
    return *this += -other;
}

Decimal& Decimal::operator*=(const Decimal& other) {
    const bool negative = m_negative != other.m_negative;
    U128 q;
    std::uint64_t rem = 0;
    if (m_hi == 0 && other.m_hi == 0) {
        // Both below 2^64 units (about 18 million): the product fits in 128 bits.
        q = wide::divPow10(wide::mul64(m_lo, other.m_lo), kScale, rem);
    } else {
        std::uint64_t p[4] = {};
        wide::mul128(U128{m_hi, m_lo}, U128{other.m_hi, other.m_lo}, p);
        // A product of 2^192 units^2 or more is far beyond 10^38 units once scaled.
        if (p[3] != 0)
            throw DecimalOverflow("Decimal overflow");
        rem = wide::divWordsPow10(p, 3, kScale);
        if (p[2] != 0)
            throw DecimalOverflow("Decimal overflow");
        q = {p[1], p[0]};
    }
    if (rem >= detail::kUnit - rem) {
        bool carry = false;
        q = wide::add(q, U128{0, 1}, carry);
    }
    *this = fromMagnitude(negative, q.hi, q.lo);
    return *this;
}

Decimal& Decimal::operator/=(const Decimal& other) {
    if (other.isZero())
        throw DivisionByZero("Decimal division by zero");
    const bool negative = m_negative != other.m_negative;
    // Quotient in units: (a * 10^12) / b, rounded on the remainder.
    std::uint64_t num[3] = {m_lo, m_hi, 0};
    num[2] = wide::mulWords(num, 2, detail::kUnit);
    U128 q;
    bool roundUp = false;
    if (num[1] == 0 && num[2] == 0 && other.m_hi == 0) {
        q = {0, num[0] / other.m_lo};
        const std::uint64_t rem = num[0] % other.m_lo;
        roundUp = rem >= other.m_lo - rem;
    } else {
        std::uint32_t u[6] = {};
        for (int i = 0; i < 3; ++i) {
            u[2 * i] = static_cast<std::uint32_t>(num[i]);
            u[2 * i + 1] = static_cast<std::uint32_t>(num[i] >> 32);
        }
        int m = 6;
        while (m > 1 && u[m - 1] == 0)
            --m;
        const std::uint32_t v[4] = {
            static_cast<std::uint32_t>(other.m_lo), static_cast<std::uint32_t>(other.m_lo >> 32),
            static_cast<std::uint32_t>(other.m_hi), static_cast<std::uint32_t>(other.m_hi >> 32)};
        int n = 4;
        while (v[n - 1] == 0)
            --n;
        std::uint32_t qw[6] = {};
        if (n == 1) {
            std::uint64_t w[3] = {num[0], num[1], num[2]};
            const std::uint64_t rem = wide::divWordsSmall(w, 3, v[0]);
            if (w[2] != 0)
                throw DecimalOverflow("Decimal overflow");
            q = {w[1], w[0]};
            roundUp = rem >= v[0] - rem;
        } else if (m < n) {
            // The dividend is below the divisor: the quotient is 0 and the remainder the dividend.
            const U128 r{num[1], num[0]};
            const U128 b{other.m_hi, other.m_lo};
            q = {};
            roundUp = !wide::less(r, wide::sub(b, r));
        } else {
            std::uint32_t rw[4] = {};
            wide::divLong(u, m, v, n, qw, rw);
            if (qw[4] != 0 || qw[5] != 0)
                throw DecimalOverflow("Decimal overflow");
            q = {(static_cast<std::uint64_t>(qw[3]) << 32) | qw[2],
                 (static_cast<std::uint64_t>(qw[1]) << 32) | qw[0]};
            const U128 r{(static_cast<std::uint64_t>(rw[3]) << 32) | rw[2],
                         (static_cast<std::uint64_t>(rw[1]) << 32) | rw[0]};
            const U128 b{other.m_hi, other.m_lo};
            roundUp = !wide::less(r, wide::sub(b, r));
        }
    }
    if (roundUp) {
        bool carry = false;
        q = wide::add(q, U128{0, 1}, carry);
    }
    *this = fromMagnitude(negative, q.hi, q.lo);
    return *this;
}

Decimal Decimal::divOrZero(const Decimal& a, const Decimal& b) {
    return b.isZero() ? Decimal() : a / b;
}

bool operator==(const Decimal& a, const Decimal& b) {
    return a.m_negative == b.m_negative && a.m_hi == b.m_hi && a.m_lo == b.m_lo;
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
    if (a.m_negative != b.m_negative)
        return a.m_negative ? std::strong_ordering::less : std::strong_ordering::greater;
    std::strong_ordering magnitude = a.m_hi != b.m_hi ? a.m_hi <=> b.m_hi : a.m_lo <=> b.m_lo;
    // Among negatives the larger magnitude is the smaller value.
    if (a.m_negative)
        magnitude = 0 <=> magnitude;
    return magnitude;
}

} // namespace qav
