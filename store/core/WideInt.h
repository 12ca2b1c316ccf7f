#pragma once
// Portable wide unsigned arithmetic for Decimal: 128-bit values in two 64-bit words, products up to
// 256 bits and long division on 32-bit limbs. Only standard integer types, so every compiler (MSVC
// included) builds the same code and gets the same results.

#include <cstdint>

namespace qav::wide {

struct U128 {
    std::uint64_t hi = 0;
    std::uint64_t lo = 0;
};

inline constexpr std::uint64_t kLow32 = 0xFFFFFFFFull;

inline constexpr bool operator==(U128 a, U128 b) {
    return a.hi == b.hi && a.lo == b.lo;
}
inline constexpr bool less(U128 a, U128 b) {
    return a.hi < b.hi || (a.hi == b.hi && a.lo < b.lo);
}
inline constexpr bool isZero(U128 a) {
    return (a.hi | a.lo) == 0;
}

inline constexpr U128 add(U128 a, U128 b, bool& carry) {
    const std::uint64_t lo = a.lo + b.lo;
    const std::uint64_t c1 = lo < a.lo ? 1u : 0u;
    const std::uint64_t hi = a.hi + b.hi;
    const std::uint64_t c2 = hi < a.hi ? 1u : 0u;
    const std::uint64_t hi2 = hi + c1;
    carry = c2 != 0 || hi2 < hi;
    return {hi2, lo};
}

// a - b; the caller guarantees a >= b.
inline constexpr U128 sub(U128 a, U128 b) {
    const std::uint64_t borrow = a.lo < b.lo ? 1u : 0u;
    return {a.hi - b.hi - borrow, a.lo - b.lo};
}

// Full 64 x 64 -> 128-bit product from 32-bit halves.
inline constexpr U128 mul64(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t a0 = a & kLow32, a1 = a >> 32;
    const std::uint64_t b0 = b & kLow32, b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0;
    const std::uint64_t p01 = a0 * b1;
    const std::uint64_t p10 = a1 * b0;
    const std::uint64_t p11 = a1 * b1;
    const std::uint64_t mid = (p00 >> 32) + (p01 & kLow32) + (p10 & kLow32);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & kLow32)};
}

// Multiplies the little-endian words w[0..count) by m in place; returns the word carried out.
inline constexpr std::uint64_t mulWords(std::uint64_t* w, int count, std::uint64_t m) {
    std::uint64_t carry = 0;
    for (int i = 0; i < count; ++i) {
        const U128 p = mul64(w[i], m);
        const std::uint64_t lo = p.lo + carry;
        carry = p.hi + (lo < p.lo ? 1u : 0u);
        w[i] = lo;
    }
    return carry;
}

// Full 128 x 128 -> 256-bit product, little-endian words.
inline constexpr void mul128(U128 a, U128 b, std::uint64_t out[4]) {
    const std::uint64_t x[2] = {a.lo, a.hi};
    const std::uint64_t y[2] = {b.lo, b.hi};
    for (int i = 0; i < 4; ++i)
        out[i] = 0;
    for (int i = 0; i < 2; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < 2; ++j) {
            const U128 p = mul64(x[i], y[j]);
            std::uint64_t lo = out[i + j] + p.lo;
            std::uint64_t hi = p.hi + (lo < p.lo ? 1u : 0u);
            const std::uint64_t lo2 = lo + carry;
            hi += lo2 < lo ? 1u : 0u;
            out[i + j] = lo2;
            carry = hi;
        }
        out[i + 2] = carry;
    }
}

// Divides the little-endian words w[0..count) in place by a divisor below 2^32; returns the remainder.
inline constexpr std::uint32_t divWordsSmall(std::uint64_t* w, int count, std::uint32_t divisor) {
    std::uint64_t rem = 0;
    for (int i = count - 1; i >= 0; --i) {
        const std::uint64_t word = w[i];
        if (rem == 0 && word < divisor) {
            w[i] = 0;
            rem = word;
            continue;
        }
        std::uint64_t cur = (rem << 32) | (word >> 32);
        const std::uint64_t qHigh = cur / divisor;
        rem = cur % divisor;
        cur = (rem << 32) | (word & kLow32);
        const std::uint64_t qLow = cur / divisor;
        rem = cur % divisor;
        w[i] = (qHigh << 32) | qLow;
    }
    return static_cast<std::uint32_t>(rem);
}

// Powers of ten and of five up to 10^19 and 5^13.
inline constexpr std::uint64_t kPow10[20] = {1ull,
                                             10ull,
                                             100ull,
                                             1000ull,
                                             10000ull,
                                             100000ull,
                                             1000000ull,
                                             10000000ull,
                                             100000000ull,
                                             1000000000ull,
                                             10000000000ull,
                                             100000000000ull,
                                             1000000000000ull,
                                             10000000000000ull,
                                             100000000000000ull,
                                             1000000000000000ull,
                                             10000000000000000ull,
                                             100000000000000000ull,
                                             1000000000000000000ull,
                                             10000000000000000000ull};
inline constexpr std::uint32_t kPow5[14] = {1u,       5u,        25u,        125u,       625u,
                                            3125u,    15625u,    78125u,     390625u,    1953125u,
                                            9765625u, 48828125u, 244140625u, 1220703125u};

// Divides w[0..count) in place by 10^k (k <= 13) and returns the remainder. 10^k = 5^k * 2^k with
// 5^k below 2^32, so a short division by 5^k followed by a shift does it without a wide divisor.
inline constexpr std::uint64_t divWordsPow10(std::uint64_t* w, int count, int k) {
    if (k == 0)
        return 0;
    const std::uint64_t rem5 = divWordsSmall(w, count, kPow5[k]);
    const std::uint64_t lowBits = w[0] & ((1ull << k) - 1);
    for (int i = 0; i < count; ++i) {
        const std::uint64_t next = i + 1 < count ? w[i + 1] : 0;
        w[i] = (w[i] >> k) | (next << (64 - k));
    }
    return lowBits * kPow5[k] + rem5;
}

// a / 10^k and a % 10^k for k <= 13.
inline constexpr U128 divPow10(U128 a, int k, std::uint64_t& rem) {
    if (a.hi == 0) {
        rem = a.lo % kPow10[k];
        return {0, a.lo / kPow10[k]};
    }
    std::uint64_t w[2] = {a.lo, a.hi};
    rem = divWordsPow10(w, 2, k);
    return {w[1], w[0]};
}

inline constexpr int leadingZeros32(std::uint32_t x) {
    int n = 0;
    if (x == 0)
        return 32;
    while ((x & 0x80000000u) == 0) {
        x <<= 1;
        ++n;
    }
    return n;
}

// Long division of u[0..m) by v[0..n) on 32-bit limbs, little-endian (Knuth, TAOCP vol. 2, 4.3.1,
// algorithm D). Needs n >= 2, m >= n, v[n-1] != 0, m <= 8 and n <= 4. Writes the quotient to
// q[0..m-n] and the remainder to r[0..n).
inline constexpr void divLong(const std::uint32_t* u, int m, const std::uint32_t* v, int n, std::uint32_t* q,
                              std::uint32_t* r) {
    constexpr std::uint64_t kBase = 1ull << 32;
    const int s = leadingZeros32(v[n - 1]);
    std::uint32_t vn[4] = {};
    std::uint32_t un[9] = {};
    // Normalise so that the divisor's top limb has its high bit set.
    for (int i = n - 1; i > 0; --i)
        vn[i] = static_cast<std::uint32_t>((v[i] << s) | (s ? v[i - 1] >> (32 - s) : 0u));
    vn[0] = static_cast<std::uint32_t>(v[0] << s);
    un[m] = s ? static_cast<std::uint32_t>(u[m - 1] >> (32 - s)) : 0u;
    for (int i = m - 1; i > 0; --i)
        un[i] = static_cast<std::uint32_t>((u[i] << s) | (s ? u[i - 1] >> (32 - s) : 0u));
    un[0] = static_cast<std::uint32_t>(u[0] << s);

    for (int j = m - n; j >= 0; --j) {
        // Estimate the quotient digit from the top two limbs, then correct it (at most twice).
        const std::uint64_t num = (static_cast<std::uint64_t>(un[j + n]) << 32) | un[j + n - 1];
        std::uint64_t qhat = num / vn[n - 1];
        std::uint64_t rhat = num % vn[n - 1];
        while (qhat >= kBase || qhat * vn[n - 2] > ((rhat << 32) | un[j + n - 2])) {
            --qhat;
            rhat += vn[n - 1];
            if (rhat >= kBase)
                break;
        }
        // Multiply and subtract.
        std::uint64_t carry = 0;
        std::uint64_t borrow = 0;
        for (int i = 0; i < n; ++i) {
            const std::uint64_t p = qhat * vn[i] + carry;
            carry = p >> 32;
            const std::uint64_t d = static_cast<std::uint64_t>(un[i + j]) - (p & kLow32) - borrow;
            un[i + j] = static_cast<std::uint32_t>(d);
            borrow = d >> 63;
        }
        const std::uint64_t top = static_cast<std::uint64_t>(un[j + n]) - carry - borrow;
        un[j + n] = static_cast<std::uint32_t>(top);
        if ((top >> 63) != 0) {
            // The estimate was one too large: add the divisor back.
            --qhat;
            std::uint64_t c = 0;
            for (int i = 0; i < n; ++i) {
                const std::uint64_t t = static_cast<std::uint64_t>(un[i + j]) + vn[i] + c;
                un[i + j] = static_cast<std::uint32_t>(t);
                c = t >> 32;
            }
            un[j + n] = static_cast<std::uint32_t>(un[j + n] + c);
        }
        q[j] = static_cast<std::uint32_t>(qhat);
    }
    for (int i = 0; i < n; ++i)
        r[i] = static_cast<std::uint32_t>((un[i] >> s) |
                                          (s ? static_cast<std::uint64_t>(un[i + 1]) << (32 - s) : 0u));
}

} // namespace qav::wide
