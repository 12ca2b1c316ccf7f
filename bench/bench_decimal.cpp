// Cost of the Decimal operations that every price computation uses: multiplication, division and
// formatting to two places. Prints nanoseconds per operation.
#include "store/core/Decimal.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using qav::Decimal;

namespace {

constexpr int kOperations = 10'000'000;

// Typical operands: prices with cents, quantities, discount factors, a few wide totals.
std::vector<Decimal> operands() {
    const char* const texts[] = {
        "12.34",     "3",          "0.925",         "199.90",         "1.5",
        "1234.5678", "0.0725",     "18.75",         "1000",           "7.333333333333",
        "0.01",      "45678.9",    "250000.00",     "99.99",          "2.5",
        "0.3333",    "1500000.75", "123456789.123", "-42.42",         "0.000125",
        "64",        "9.8765",     "-0.5",          "31415.926535",   "777.77",
        "10.10",     "0.17",       "88888.8888",    "12345678901.23", "3.6"};
    std::vector<Decimal> v;
    for (const char* t : texts)
        v.push_back(*Decimal::parse(t));
    return v;
}

template <typename F> double nsPerOp(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::nano>(elapsed).count() / kOperations;
}

} // namespace

int main() {
    const std::vector<Decimal> v = operands();
    const std::size_t n = v.size();

    // The signs are summed so that the compiler cannot drop the work.
    long long check = 0;
    const double mul = nsPerOp([&] {
        for (int i = 0; i < kOperations; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            check += (v[k % n] * v[(k / n) % n]).sign();
        }
    });
    const double div = nsPerOp([&] {
        for (int i = 0; i < kOperations; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            check += (v[k % n] / v[(k / n + 1) % n]).sign();
        }
    });
    std::size_t chars = 0;
    const double fmt = nsPerOp([&] {
        for (int i = 0; i < kOperations; ++i)
            chars += v[static_cast<std::size_t>(i) % n].toString(2).size();
    });

    std::printf("Decimal multiply:    %6.1f ns/op\n", mul);
    std::printf("Decimal divide:      %6.1f ns/op\n", div);
    std::printf("Decimal toString(2): %6.1f ns/op\n", fmt);
    std::printf("(%d operations each; checksums %lld %zu)\n", kOperations, check, chars);
    return 0;
}
