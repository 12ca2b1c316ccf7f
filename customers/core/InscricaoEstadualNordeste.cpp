// State registration rules of the north-eastern states: AL, BA, CE, MA, PB, PE, PI, RN, SE.
#include "customers/core/InscricaoEstadual.h"

namespace qav::docs::ie {

// Alagoas: 9 digits starting with "24"; the third digit is the kind of company (0 normal, 3 rural
// producer, 5 substitute, 7 itinerant micro-company, 8 micro-company); modulo 11 with weights 9 to 2.
bool al(std::string_view s) {
    if (s.size() != 9 || !startsWith(s, "24"))
        return false;
    const char kind = s[2];
    if (kind != '0' && kind != '3' && kind != '5' && kind != '7' && kind != '8')
        return false;
    return nineDigitsMod11(s);
}

namespace {
// Bahia's check digit: modulo 10 (10 minus the remainder, 0 for remainder 0) or the usual modulo 11.
int bahiaDigit(int sum, bool modulo10) {
    if (modulo10) {
        const int r = sum % 10;
        return r == 0 ? 0 : 10 - r;
    }
    return mod11(sum);
}
} // namespace

// Bahia: 8 digits (6 + 2 check digits) or 9 digits (7 + 2). The modulus depends on the first digit
// of an 8-digit and on the second digit of a 9-digit registration: 0, 1, 2, 3, 4, 5 or 8 give
// modulo 10, 6, 7 or 9 give modulo 11. The second check digit is computed first, on the base; the
// first one on the base followed by the second check digit.
bool ba(std::string_view s) {
    if (s.size() != 8 && s.size() != 9)
        return false;
    const char selector = s.size() == 8 ? s[0] : s[1];
    const bool modulo10 = selector != '6' && selector != '7' && selector != '9';
    const std::size_t n = s.size() - 2;
    const std::string_view base = s.substr(0, n);
    const int second = bahiaDigit(weightedFromRight(base), modulo10);
    if (second != digit(s, n + 1))
        return false;
    char withSecond[8];
    base.copy(withSecond, n);
    withSecond[n] = static_cast<char>('0' + second);
    return bahiaDigit(weightedFromRight(std::string_view(withSecond, n + 1)), modulo10) == digit(s, n);
}

// Ceará: 9 digits, modulo 11 with weights 9 to 2.
bool ce(std::string_view s) {
    return nineDigitsMod11(s);
}

// Maranhão: 9 digits starting with "12", modulo 11.
bool ma(std::string_view s) {
    return startsWith(s, "12") && nineDigitsMod11(s);
}

// Paraíba: 9 digits, modulo 11.
bool pb(std::string_view s) {
    return nineDigitsMod11(s);
}

// Pernambuco. The e-Fisco registration: 9 digits, 7 + two modulo-11 check digits (weights 8 to 2,
// then 9 to 2). The older registration: 14 digits, one check digit on the first 13 with the weights
// 5,4,3,2,1,9,8,7,6,5,4,3,2; 11 minus the remainder, less 10 when it reaches 10 or 11.
bool pe(std::string_view s) {
    if (s.size() == 9)
        return mod11(weightedFromRight(s.substr(0, 7))) == digit(s, 7) &&
               mod11(weightedFromRight(s.substr(0, 8))) == digit(s, 8);
    if (s.size() != 14)
        return false;
    int dv = 11 - weightedSum(s, {5, 4, 3, 2, 1, 9, 8, 7, 6, 5, 4, 3, 2}) % 11;
    if (dv >= 10)
        dv -= 10;
    return dv == digit(s, 13);
}

// Piauí: 9 digits, modulo 11.
bool pi(std::string_view s) {
    return nineDigitsMod11(s);
}

// Rio Grande do Norte: 9 or 10 digits starting with "20"; modulo 11 on all digits but the last
// (weights 9 to 2, or 10 to 2).
bool rn(std::string_view s) {
    if ((s.size() != 9 && s.size() != 10) || !startsWith(s, "20"))
        return false;
    return mod11(weightedFromRight(s.substr(0, s.size() - 1), 10)) == digit(s, s.size() - 1);
}

// Sergipe: 9 digits, modulo 11.
bool se(std::string_view s) {
    return nineDigitsMod11(s);
}

} // namespace qav::docs::ie
