#include "customers/core/DocumentChecks.h"

#include "store/core/Text.h"

#include "customers/core/InscricaoEstadual.h"

#include <array>
#include <string>
#include <string_view>

namespace qav::docs {

namespace {

bool isSeparator(QChar c) {
    return c == u'.' || c == u'/' || c == u'-';
}

// The document as plain ASCII without separators and surrounding blanks, letters upper-cased.
// Returns false for any other character, and for texts longer than `maxLength` (which no document
// reaches: it keeps a pasted paragraph from being copied).
bool normalise(QStringView text, std::string& out, std::size_t maxLength) {
    out.clear();
    const QStringView trimmed = text.trimmed();
    if (static_cast<std::size_t>(trimmed.size()) > 2 * maxLength + 8)
        return false;
    for (QChar c : trimmed) {
        if (isSeparator(c))
            continue;
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            out.push_back(static_cast<char>(u));
        else if (u >= u'A' && u <= u'Z')
            out.push_back(static_cast<char>(u));
        else if (u >= u'a' && u <= u'z')
            out.push_back(static_cast<char>(u - u'a' + u'A'));
        else
            return false;
        if (out.size() > maxLength)
            return false;
    }
    return true;
}

bool allEqual(std::string_view s) {
    return s.find_first_not_of(s.front()) == std::string_view::npos;
}

// Modulo-11 check digit of CPF and CNPJ: remainder 0 or 1 gives 0, otherwise 11 minus the remainder.
int checkDigit(int sum) {
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

QString format(QStringView text, std::size_t length, const char* picture, bool digitsOnly) {
    std::string plain;
    if (!normalise(text, plain, length) || plain.size() != length ||
        (digitsOnly && !text::allAsciiDigits(plain)))
        return text.toString();
    QString result;
    std::size_t next = 0;
    for (const char* p = picture; *p; ++p)
        result.append(QLatin1Char(*p == '#' ? plain[next++] : *p));
    return result;
}

using StateRule = bool (*)(std::string_view);

struct State {
    char code[3];
    StateRule rule;
};

constexpr std::array<State, 27> states{{
    {"AC", ie::ac}, {"AL", ie::al}, {"AM", ie::am}, {"AP", ie::ap}, {"BA", ie::ba}, {"CE", ie::ce},
    {"DF", ie::df}, {"ES", ie::es}, {"GO", ie::go}, {"MA", ie::ma}, {"MG", ie::mg}, {"MS", ie::ms},
    {"MT", ie::mt}, {"PA", ie::pa}, {"PB", ie::pb}, {"PE", ie::pe}, {"PI", ie::pi}, {"PR", ie::pr},
    {"RJ", ie::rj}, {"RN", ie::rn}, {"RO", ie::ro}, {"RR", ie::rr}, {"RS", ie::rs}, {"SC", ie::sc},
    {"SE", ie::se}, {"SP", ie::sp}, {"TO", ie::to},
}};

const State* findState(QStringView uf) {
    const QStringView code = uf.trimmed();
    if (code.size() != 2)
        return nullptr;
    const char16_t a = code[0].toUpper().unicode();
    const char16_t b = code[1].toUpper().unicode();
    for (const State& state : states)
        if (a == static_cast<char16_t>(state.code[0]) && b == static_cast<char16_t>(state.code[1]))
            return &state;
    return nullptr;
}

} // namespace

QString stripFormatting(QStringView text) {
    QString result;
    const QStringView trimmed = text.trimmed();
    result.reserve(trimmed.size());
    for (QChar c : trimmed)
        if (!isSeparator(c))
            result.append(c.toUpper());
    return result;
}

QString formatCpf(QStringView text) {
    return format(text, 11, "###.###.###-##", true);
}

QString formatCnpj(QStringView text) {
    return format(text, 14, "##.###.###/####-##", false);
}

bool cpfValido(QStringView text) {
    std::string s;
    if (!normalise(text, s, 11) || s.size() != 11 || !text::allAsciiDigits(s) || allEqual(s))
        return false;
    int sum1 = 0;
    int sum2 = 0;
    for (int i = 0; i < 9; ++i) {
        const int d = s[i] - '0';
        sum1 += d * (10 - i);
        sum2 += d * (11 - i);
    }
    const int dv1 = checkDigit(sum1);
    sum2 += dv1 * 2;
    return dv1 == s[9] - '0' && checkDigit(sum2) == s[10] - '0';
}

bool cnpjValido(QStringView text) {
    std::string s;
    if (!normalise(text, s, 14) || s.size() != 14 || !text::isAsciiDigit(s[12]) ||
        !text::isAsciiDigit(s[13]) || allEqual(s))
        return false;
    // Each of the twelve base characters counts as its ASCII code minus 48: the digits keep their
    // value and the letters A-Z, used by the alphanumeric CNPJ, count 17 to 42.
    static constexpr int weights1[12] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr int weights2[13] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    int sum1 = 0;
    int sum2 = 0;
    for (int i = 0; i < 12; ++i) {
        const int value = s[i] - '0';
        sum1 += value * weights1[i];
        sum2 += value * weights2[i];
    }
    const int dv1 = checkDigit(sum1);
    sum2 += dv1 * weights2[12];
    return dv1 == s[12] - '0' && checkDigit(sum2) == s[13] - '0';
}

bool ufValida(QStringView uf) {
    return findState(uf) != nullptr;
}

bool ieValida(QStringView ie, QStringView uf) {
    const State* state = findState(uf);
    std::string s;
    if (state == nullptr || !normalise(ie, s, 14) || s.empty())
        return false;
    // Only São Paulo's rural producer registration has a letter: the leading "P".
    const bool ruralSp = state->rule == ie::sp && s[0] == 'P';
    const std::string_view number = ruralSp ? std::string_view(s).substr(1) : std::string_view(s);
    if (number.empty() || !text::allAsciiDigits(number))
        return false;
    // No state issues the number zero.
    if (number.find_first_not_of('0') == std::string_view::npos)
        return false;
    return state->rule(s);
}

} // namespace qav::docs
