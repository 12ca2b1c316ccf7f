// State registration rules of the centre-west: DF, GO, MS, MT.
#include "customers/core/InscricaoEstadual.h"

namespace qav::docs::ie {

// Distrito Federal: 13 digits starting with "07" or "08", two modulo-11 check digits (weights
// 4,3,2,9..2 then 5,4,3,2,9..2).
bool df(std::string_view s) {
    return s.size() == 13 && (startsWith(s, "07") || startsWith(s, "08")) &&
           mod11(weightedFromRight(s.substr(0, 11))) == digit(s, 11) &&
           mod11(weightedFromRight(s.substr(0, 12))) == digit(s, 12);
}

// Goiás: 9 digits starting with 10, 11 or 15 (older numbering) or 20 to 29; weights 9 to 2,
// remainder 0 gives 0, remainder 1 gives 1 for the bases 10103105 to 10119997 and 0 for the others,
// otherwise 11 minus the remainder. The base 11094402 was issued with either 0 or 1 as its digit.
bool go(std::string_view s) {
    if (s.size() != 9)
        return false;
    const int prefix = digit(s, 0) * 10 + digit(s, 1);
    if (prefix != 10 && prefix != 11 && prefix != 15 && (prefix < 20 || prefix > 29))
        return false;
    const std::string_view base = s.substr(0, 8);
    const int given = digit(s, 8);
    if (base == "11094402")
        return given == 0 || given == 1;
    const int r = weightedFromRight(base) % 11;
    int dv = 11 - r;
    if (r == 0) {
        dv = 0;
    } else if (r == 1) {
        const bool oneRange = base >= std::string_view("10103105") && base <= std::string_view("10119997");
        dv = oneRange ? 1 : 0;
    }
    return dv == given;
}

// Mato Grosso do Sul: 9 digits starting with "28", modulo 11.
bool ms(std::string_view s) {
    return startsWith(s, "28") && nineDigitsMod11(s);
}

// Mato Grosso: 11 digits, modulo 11 on the first ten (weights 3,2,9..2). Registrations written
// with fewer digits are completed with zeros on the left, as the SEFAZ-MT rule directs; the
// completion does not change the weighted sum.
bool mt(std::string_view s) {
    if (s.size() < 9 || s.size() > 11)
        return false;
    return mod11(weightedFromRight(s.substr(0, s.size() - 1))) == digit(s, s.size() - 1);
}

} // namespace qav::docs::ie
