#pragma once
// Texts of the local tables: Windows-1252 repertoire, fixed widths, trailing spaces not significant.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <string_view>

namespace qav::text {

// True when every character has a Windows-1252 code (the repertoire of the tables, the settings
// files and the server).
bool isWin1252(const QString& value);
// The first character outside Windows-1252, for error messages; nullopt when there is none.
std::optional<QChar> firstNonWin1252(const QString& value);
// Encode / decode Windows-1252 (the 0x80-0x9F range included: "€", "Š", "‰", ...). Encoding a
// character outside the repertoire gives nullopt; bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D decode to the
// C1 control of the same number, as the platform's code page does.
std::optional<QByteArray> toWin1252(const QString& value);
QString fromWin1252(const QByteArray& bytes);
// Bytes that are valid UTF-8 decode as UTF-8, anything else as Windows-1252 (settings files written
// by older installations).
QString decodeUtf8OrWin1252(const QByteArray& bytes);

// The text with every character that `fits` refuses replaced by its nearest plain form: typographic
// quotes and dashes by their plain ones, "…" by "...", "€" by "EUR", a letter by the same letter without
// its accent when the accented one does not fit, invisible marks (zero-width spaces, variation
// selectors) left out, and "?" where nothing near exists. The text is first composed ("e" followed by
// a combining acute becomes "é"). `fits` gets Unicode code points.
QString plainForm(const QString& value, const std::function<bool(char32_t)>& fits);
// plainForm within Windows-1252: the form a text of the server takes in the local tables. The text
// itself when every character fits.
QString win1252Form(const QString& value);

// Trailing spaces removed (fixed-width fields are space-padded; comparisons ignore the padding).
QString rtrim(const QString& value);
// Cut to at most `width` characters, then trailing spaces removed.
QString fit(const QString& value, int width);
// The form used for case-insensitive keys and searches: upper case over the whole Windows-1252
// repertoire ("ç" and "Ç", "ã" and "Ã" are equal), trailing spaces removed.
QString foldCase(const QString& value);
// The form used for searches as a Brazilian user types them: foldCase, then the accents taken off
// ("Antônio" and "ANTONIO", "DOBRADIÇA" and "dobradica" are equal).
QString foldSearch(const QString& value);
// The form case-insensitive keys keep and compare: the accent-free form of foldSearch, followed, only
// when the value has accents, by kKeySeparator and the foldCase form. Names sort as if written
// without accents ("São Paulo" before "Sorocaba", "Içara" between "Ibirama" and "Icém"), a name just
// before the same name with accents, and two names that differ only by an accent stay two keys
// ("AÇO" and "ACO" are different codes, "aço" and "AÇO" the same).
QString foldKey(const QString& value);
// Comes before every character a text of the tables holds in practice, so that a shorter accent-free
// form sorts before a longer one that starts with it.
inline constexpr char16_t kKeySeparator = 0x0001;
// The digits of a value, in order, everything else left out ("706.588.110-53" gives "70658811053").
QString digitsOnly(const QString& value);

// '0' to '9' only: documents, codes and typed numbers take no other digits.
constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}
// True when every character is an ASCII digit (also for an empty text).
constexpr bool allAsciiDigits(std::string_view s) {
    for (char c : s)
        if (!isAsciiDigit(c))
            return false;
    return true;
}

} // namespace qav::text
