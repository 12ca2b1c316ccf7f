// State registration rules of the south-east and the south: ES, MG, RJ, SP, PR, RS, SC.
#include "customers/core/InscricaoEstadual.h"

namespace qav::docs::ie {

// Espírito Santo: 9 digits, modulo 11.
bool es(std::string_view s) {
    return nineDigitsMod11(s);
}

// Minas Gerais: 13 digits, municipality (3), number (6), establishment order (2) and two check
// digits. First: a "0" is inserted after the municipality, the twelve digits are multiplied by
// 1, 2, 1, 2, ... from the left, the digits of the products are added and the check digit is what
// takes the sum to the next multiple of ten. Second: modulo 11 on the first twelve digits (the
// first check digit included) with the weights 3, 2, 11, 10, ..., 2.
bool mg(std::string_view s) {
    if (s.size() != 13)
        return false;
    char widened[12];
    s.substr(0, 3).copy(widened, 3);
    widened[3] = '0';
    s.substr(3, 8).copy(widened + 4, 8);
    int sum = 0;
    for (std::size_t i = 0; i < 12; ++i) {
        const int product = (widened[i] - '0') * (i % 2 == 0 ? 1 : 2);
        sum += product / 10 + product % 10;
    }
    if ((10 - sum % 10) % 10 != digit(s, 11))
        return false;
    return mod11(weightedFromRight(s.substr(0, 12), 11)) == digit(s, 12);
}

// Paraná: 10 digits, 8 + two modulo-11 check digits with weights 2 to 7 from the right.
bool pr(std::string_view s) {
    return s.size() == 10 && mod11(weightedFromRight(s.substr(0, 8), 7)) == digit(s, 8) &&
           mod11(weightedFromRight(s.substr(0, 9), 7)) == digit(s, 9);
}

// Rio de Janeiro: 8 digits, modulo 11 on the first seven with the weights 2,7,6,5,4,3,2.
bool rj(std::string_view s) {
    return s.size() == 8 && mod11(weightedFromRight(s.substr(0, 7), 7)) == digit(s, 7);
}

// Rio Grande do Sul: 10 digits, municipality (3) and number (6), modulo 11 with the weights 2,9..2.
bool rs(std::string_view s) {
    return s.size() == 10 && mod11(weightedFromRight(s.substr(0, 9))) == digit(s, 9);
}

// Santa Catarina: 9 digits, modulo 11.
bool sc(std::string_view s) {
    return nineDigitsMod11(s);
}

namespace {
// São Paulo's check digits are the last digit of the remainder modulo 11 (remainder 10 gives 0).
int spDigit(int sum) {
    return sum % 11 % 10;
}
int spFirstDigit(std::string_view eightDigits) {
    return spDigit(weightedSum(eightDigits, {1, 3, 4, 5, 6, 7, 8, 10}));
}
} // namespace

// São Paulo. Industry and trade: 12 digits, the ninth a check digit on the first eight (weights
// 1,3,4,5,6,7,8,10), the twelfth a check digit on the first eleven (weights 3,2,10..2). Rural
// producer: "P", 8 digits, a check digit on them with the same weights as the first one above, and
// 3 more digits.
bool sp(std::string_view s) {
    if (s.size() == 13 && s[0] == 'P') {
        const std::string_view digits = s.substr(1);
        return spFirstDigit(digits) == digit(digits, 8);
    }
    return s.size() == 12 && spFirstDigit(s) == digit(s, 8) &&
           spDigit(weightedSum(s, {3, 2, 10, 9, 8, 7, 6, 5, 4, 3, 2})) == digit(s, 11);
}

} // namespace qav::docs::ie
