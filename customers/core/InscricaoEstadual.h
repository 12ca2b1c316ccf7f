#pragma once
// State registration (inscrição estadual) rules, one function per state. Each takes the registration
// already stripped of its separators: only ASCII digits, except São Paulo's rural producer, which
// starts with "P". The public entry point is qav::docs::ieValida.

#include <initializer_list>
#include <string_view>

namespace qav::docs::ie {

inline int digit(std::string_view s, std::size_t i) {
    return s[i] - '0';
}

// Sum of digit × weight, the weights given from the left, starting at position `from`.
inline int weightedSum(std::string_view s, std::initializer_list<int> weights, std::size_t from = 0) {
    int sum = 0;
    for (int w : weights)
        sum += digit(s, from++) * w;
    return sum;
}

// Sum of digit × weight with the weights 2, 3, ... maxWeight counted from the rightmost digit of `s`,
// starting again at 2 after maxWeight: the usual weighting of the state rules.
inline int weightedFromRight(std::string_view s, int maxWeight = 9) {
    int sum = 0;
    int w = 2;
    for (std::size_t i = s.size(); i-- > 0;) {
        sum += digit(s, i) * w;
        w = w == maxWeight ? 2 : w + 1;
    }
    return sum;
}

// The usual modulo-11 check digit: remainder 0 or 1 gives 0, otherwise 11 minus the remainder.
inline int mod11(int sum) {
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

// Nine digits whose last one is the usual modulo-11 digit of the first eight (weights 9 to 2): the
// rule of most states.
inline bool nineDigitsMod11(std::string_view s) {
    return s.size() == 9 && mod11(weightedFromRight(s.substr(0, 8))) == digit(s, 8);
}

inline bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool ac(std::string_view s);
bool al(std::string_view s);
bool am(std::string_view s);
bool ap(std::string_view s);
bool ba(std::string_view s);
bool ce(std::string_view s);
bool df(std::string_view s);
bool es(std::string_view s);
bool go(std::string_view s);
bool ma(std::string_view s);
bool mg(std::string_view s);
bool ms(std::string_view s);
bool mt(std::string_view s);
bool pa(std::string_view s);
bool pb(std::string_view s);
bool pe(std::string_view s);
bool pi(std::string_view s);
bool pr(std::string_view s);
bool rj(std::string_view s);
bool rn(std::string_view s);
bool ro(std::string_view s);
bool rr(std::string_view s);
bool rs(std::string_view s);
bool sc(std::string_view s);
bool se(std::string_view s);
bool sp(std::string_view s);
bool to(std::string_view s);

} // namespace qav::docs::ie
