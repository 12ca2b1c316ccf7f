// State registration rules of the northern states: AC, AM, AP, PA, RO, RR, TO.
#include "customers/core/InscricaoEstadual.h"

namespace qav::docs::ie {

// Acre: 13 digits starting with "01", two modulo-11 check digits (weights 4,3,2,9..2 then 5,4,3,2,9..2).
bool ac(std::string_view s) {
    return s.size() == 13 && startsWith(s, "01") &&
           mod11(weightedFromRight(s.substr(0, 11))) == digit(s, 11) &&
           mod11(weightedFromRight(s.substr(0, 12))) == digit(s, 12);
}

// Amazonas: 9 digits, modulo 11 with weights 9 to 2.
bool am(std::string_view s) {
    return nineDigitsMod11(s);
}

// Amapá: 9 digits starting with "03". A constant p is added to the weighted sum and a remainder that
// would give 11 yields d, both chosen by the range of the first eight digits.
bool ap(std::string_view s) {
    if (s.size() != 9 || !startsWith(s, "03"))
        return false;
    int base = 0;
    for (std::size_t i = 0; i < 8; ++i)
        base = base * 10 + digit(s, i);
    int p = 0;
    int d = 0;
    if (base >= 3000001 && base <= 3017000) {
        p = 5;
    } else if (base >= 3017001 && base <= 3019022) {
        p = 9;
        d = 1;
    }
    int dv = 11 - (p + weightedFromRight(s.substr(0, 8))) % 11;
    if (dv == 10)
        dv = 0;
    else if (dv == 11)
        dv = d;
    return dv == digit(s, 8);
}

// Pará: 9 digits starting with "15" (or "75", the numbering opened by the SEFA in 2024), modulo 11.
bool pa(std::string_view s) {
    return (startsWith(s, "15") || startsWith(s, "75")) && nineDigitsMod11(s);
}

// Rondônia. Registrations issued until July 2000: 9 digits, a 3-digit municipality, 5 digits and the
// check digit computed on those 5 digits only (weights 6 to 2). Since then: 14 digits, the check
// digit on the first 13 (weights 6,5,4,3,2,9..2). In both, 11 minus the remainder, less 10 when it
// reaches 10 or 11.
bool ro(std::string_view s) {
    int sum = 0;
    if (s.size() == 9)
        sum = weightedSum(s, {6, 5, 4, 3, 2}, 3);
    else if (s.size() == 14)
        sum = weightedFromRight(s.substr(0, 13));
    else
        return false;
    int dv = 11 - sum % 11;
    if (dv >= 10)
        dv -= 10;
    return dv == digit(s, s.size() - 1);
}

// Roraima: 9 digits starting with "24"; the check digit is the weighted sum (weights 1 to 8) modulo 9.
bool rr(std::string_view s) {
    return s.size() == 9 && startsWith(s, "24") &&
           weightedSum(s, {1, 2, 3, 4, 5, 6, 7, 8}) % 9 == digit(s, 8);
}

// Tocantins: 9 digits with modulo 11 (current numbering), or the older 11 digits whose third and
// fourth digits are the category (01 rural producer, 02 industry and trade, 03 rudimentary firms,
// 99 old register) and are left out of the modulo-11 check digit.
bool to(std::string_view s) {
    if (s.size() == 9)
        return nineDigitsMod11(s);
    if (s.size() != 11)
        return false;
    const std::string_view category = s.substr(2, 2);
    if (category != "01" && category != "02" && category != "03" && category != "99")
        return false;
    const int sum = digit(s, 0) * 9 + digit(s, 1) * 8 + weightedSum(s, {7, 6, 5, 4, 3, 2}, 4);
    return mod11(sum) == digit(s, 10);
}

} // namespace qav::docs::ie
