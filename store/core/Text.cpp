// Windows-1252 texts: the code page of the local tables, the settings files and the server.
#include "store/core/Text.h"

#include <QList>
#include <array>

namespace qav::text {

namespace {

// Bytes 0x80-0x9F. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// stand for the C1 control of the same number, as the platform's code page reads them.
constexpr std::array<char16_t, 32> kHighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of a character, or -1 when the code page has none.
int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    if (c <= 0x9F) {
        // Only the five undefined bytes read back as C1 controls; the other C1 codes have no byte.
        return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D ? c : -1;
    }
    for (std::size_t i = 0; i < kHighBlock.size(); ++i)
        if (kHighBlock[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

// Upper case within the code page: ASCII and Latin-1 letters, "ÿ" to "Ÿ"; "ß" and "µ" have no upper
// case in the code page and stay as they are.
constexpr std::array<char16_t, 256> makeLatin1Upper() {
    std::array<char16_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[static_cast<std::size_t>(i)] = static_cast<char16_t>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        t[static_cast<std::size_t>(c)] = static_cast<char16_t>(c - 0x20);
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7) // the division sign
            t[static_cast<std::size_t>(c)] = static_cast<char16_t>(c - 0x20);
    t[0xFF] = 0x0178;
    return t;
}
constexpr std::array<char16_t, 256> kLatin1Upper = makeLatin1Upper();

char16_t upper(char16_t c) {
    if (c < 0x100)
        return kLatin1Upper[c];
    switch (c) {
    case 0x0161: // š
        return 0x0160;
    case 0x017E: // ž
        return 0x017D;
    case 0x0153: // œ
        return 0x0152;
    default:
        return c;
    }
}

qsizetype endWithoutTrailingSpaces(const QString& value) {
    qsizetype end = value.size();
    const QChar* data = value.constData();
    while (end > 0 && data[end - 1] == u' ')
        --end;
    return end;
}

// Well-formed UTF-8 as the Unicode standard defines it: no overlong forms, no surrogates, nothing
// above U+10FFFF.
bool isValidUtf8(const unsigned char* p, qsizetype n) {
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        unsigned char lo = 0x80, hi = 0xBF; // bounds of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            if (b == 0xE0)
                lo = 0xA0;
            else if (b == 0xED)
                hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            if (b == 0xF0)
                lo = 0x90;
            else if (b == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (n - i <= extra)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (int k = 2; k <= extra; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

bool isWin1252(const QString& value) {
    return !firstNonWin1252(value).has_value();
}

std::optional<QChar> firstNonWin1252(const QString& value) {
    for (const QChar c : value)
        if (byteOf(c.unicode()) < 0)
            return c;
    return std::nullopt;
}

std::optional<QByteArray> toWin1252(const QString& value) {
    QByteArray out(value.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (const QChar c : value) {
        const int b = byteOf(c.unicode());
        if (b < 0)
            return std::nullopt;
        *dst++ = static_cast<char>(b);
    }
    return out;
}

QString fromWin1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = QChar(b >= 0x80 && b < 0xA0 ? kHighBlock[b - 0x80u] : static_cast<char16_t>(b));
    }
    return out;
}

QString decodeUtf8OrWin1252(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    qsizetype n = bytes.size();
    if (!isValidUtf8(p, n))
        return fromWin1252(bytes);
    // A byte-order mark written by some editors is not part of the text.
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        p += 3;
        n -= 3;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(p), n);
}

namespace {

// Marks that change nothing a reader sees on their own: combining accents left over after
// composition, zero-width spaces and joiners, direction marks, variation selectors, the byte-order mark.
bool invisible(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
        return true;
    default:
        return false;
    }
}

struct Plain {
    char32_t from;
    std::array<const char16_t*, 2> to; // the first whose characters all fit is taken
};

// Characters that compatibility decomposition leaves as they are, with what a person would type
// instead.
const Plain kPlain[] = {
    {0x201C, {u"\""}},
    {0x201D, {u"\""}},
    {0x201E, {u"\""}},
    {0x201F, {u"\""}},
    {0x2033, {u"\""}},
    {0x00AB, {u"<<"}},
    {0x00BB, {u">>"}},
    {0x2018, {u"'"}},
    {0x2019, {u"'"}},
    {0x201A, {u"'"}},
    {0x201B, {u"'"}},
    {0x2032, {u"'"}},
    {0x00B4, {u"'"}},
    {0x2010, {u"-"}},
    {0x2011, {u"-"}},
    {0x2012, {u"-"}},
    {0x2013, {u"-"}},
    {0x2014, {u"-"}},
    {0x2015, {u"-"}},
    {0x2212, {u"-"}},
    {0x2026, {u"..."}},
    {0x20AC, {u"EUR"}},
    {0x2022, {u"*"}},
    {0x2030, {u"o/oo"}},
    {0x2020, {u"+"}},
    {0x2021, {u"+"}},
    {0x02C6, {u"^"}},
    {0x02DC, {u"~"}},
    {0x2039, {u"<"}},
    {0x203A, {u">"}},
    {0x0152, {u"OE"}},
    {0x0153, {u"oe"}},
    {0x00C6, {u"AE"}},
    {0x00E6, {u"ae"}},
    {0x00DF, {u"ss"}},
    {0x0192, {u"f"}},
    {0x00D0, {u"D"}},
    {0x00F0, {u"d"}},
    {0x00DE, {u"Th"}},
    {0x00FE, {u"th"}},
    {0x0141, {u"L"}},
    {0x0142, {u"l"}},
    {0x0110, {u"D"}},
    {0x0111, {u"d"}},
    {0x0131, {u"i"}},
    {0x00D8, {u"O"}},
    {0x00F8, {u"o"}},
    {0x2300, {u"\u00D8", u"O"}},
    {0x2205, {u"\u00D8", u"O"}},
    {0x2264, {u"<="}},
    {0x2265, {u">="}},
    {0x2260, {u"<>"}},
    {0x2192, {u"->"}},
    {0x2190, {u"<-"}},
    {0x00D7, {u"x"}},
    {0x00F7, {u"/"}},
    {0x00B1, {u"+/-"}},
    {0x2044, {u"/"}},
    {0x00B0, {u"o"}},
    {0x00BA, {u"o"}},
    {0x00AA, {u"a"}},
    {0x00A9, {u"(C)"}},
    {0x00AE, {u"(R)"}},
    {0x2122, {u"TM"}},
    {0x00A7, {u"S"}},
    {0x00B6, {u"P"}},
    {0x00B7, {u"."}},
    {0x00A6, {u"|"}},
    {0x00A2, {u"c"}},
    {0x00A3, {u"L"}},
    {0x00A5, {u"Y"}},
    {0x00A4, {u"?"}},
    {0x00A1, {u"!"}},
    {0x00BF, {u"?"}},
    {0x00AC, {u"-"}},
    {0x00A8, {u"\""}},
    {0x00B8, {u","}},
    {0x00AF, {u"-"}},
    {0x2116, {u"No"}},
};

bool allFit(const QString& text, const std::function<bool(char32_t)>& fits) {
    for (const char32_t c : text.toUcs4())
        if (!fits(c))
            return false;
    return true;
}

std::optional<QString> fromTable(char32_t c, const std::function<bool(char32_t)>& fits) {
    for (const Plain& p : kPlain) {
        if (p.from != c)
            continue;
        for (const char16_t* to : p.to) {
            if (to == nullptr)
                break;
            const QString candidate = QString::fromUtf16(to);
            if (allFit(candidate, fits))
                return candidate;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

void appendPlain(QString& out, char32_t c, const std::function<bool(char32_t)>& fits) {
    if (fits(c)) {
        out += QString::fromUcs4(&c, 1);
        return;
    }
    if (invisible(c))
        return;
    if (const auto plain = fromTable(c, fits)) {
        out += *plain;
        return;
    }
    if (QChar::isSpace(c) && fits(U' ')) {
        out += QLatin1Char(' ');
        return;
    }
    // The compatibility form without its accents: "ő" gives "o", "ﬁ" gives "fi", "①" gives "1",
    // "½" gives "1/2".
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    QString near;
    bool found = decomposed != QString::fromUcs4(&c, 1);
    for (const char32_t d : decomposed.toUcs4()) {
        if (!found)
            break;
        if (fits(d))
            near += QString::fromUcs4(&d, 1);
        else if (invisible(d))
            continue;
        else if (const auto plain = fromTable(d, fits))
            near += *plain;
        else
            found = false;
    }
    out += found && !near.isEmpty() ? near : QStringLiteral("?");
}

} // namespace

QString plainForm(const QString& value, const std::function<bool(char32_t)>& fits) {
    if (allFit(value, fits))
        return value;
    QString out;
    out.reserve(value.size());
    for (const char32_t c : value.normalized(QString::NormalizationForm_C).toUcs4())
        appendPlain(out, c, fits);
    return out;
}

QString win1252Form(const QString& value) {
    if (isWin1252(value))
        return value;
    return plainForm(value, [](char32_t c) { return c < 0x10000 && byteOf(static_cast<char16_t>(c)) >= 0; });
}

QString rtrim(const QString& value) {
    return value.left(endWithoutTrailingSpaces(value));
}

QString fit(const QString& value, int width) {
    if (width <= 0)
        return QString();
    QString cut = value.left(width);
    // Never leave half of a surrogate pair behind.
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return rtrim(cut);
}

QString foldCase(const QString& value) {
    const qsizetype end = endWithoutTrailingSpaces(value);
    const QChar* src = value.constData();
    qsizetype first = 0;
    while (first < end && upper(src[first].unicode()) == src[first].unicode())
        ++first;
    if (first == end)
        return value.left(end);
    QString out(end, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < first; ++i)
        dst[i] = src[i];
    for (qsizetype i = first; i < end; ++i)
        dst[i] = QChar(upper(src[i].unicode()));
    return out;
}

namespace {
// Base letter of an upper-case accented letter of Windows-1252; the letter itself otherwise.
char16_t withoutAccent(char16_t c) {
    switch (c) {
    case 0xC0:
    case 0xC1:
    case 0xC2:
    case 0xC3:
    case 0xC4:
    case 0xC5:
        return u'A';
    case 0xC7:
        return u'C';
    case 0xC8:
    case 0xC9:
    case 0xCA:
    case 0xCB:
        return u'E';
    case 0xCC:
    case 0xCD:
    case 0xCE:
    case 0xCF:
        return u'I';
    case 0xD1:
        return u'N';
    case 0xD2:
    case 0xD3:
    case 0xD4:
    case 0xD5:
    case 0xD6:
    case 0xD8:
        return u'O';
    case 0xD9:
    case 0xDA:
    case 0xDB:
    case 0xDC:
        return u'U';
    case 0xDD:
        return u'Y';
    case 0x160:
        return u'S';
    case 0x17D:
        return u'Z';
    case 0x178:
        return u'Y';
    default:
        return c;
    }
}
} // namespace

QString foldSearch(const QString& value) {
    QString out = foldCase(value);
    QChar* p = out.data();
    for (qsizetype i = 0, n = out.size(); i < n; ++i)
        p[i] = QChar(withoutAccent(p[i].unicode()));
    return out;
}

QString foldKey(const QString& value) {
    const QString folded = foldCase(value);
    QString key = folded;
    QChar* p = key.data();
    bool accented = false;
    for (qsizetype i = 0, n = key.size(); i < n; ++i) {
        const char16_t base = withoutAccent(p[i].unicode());
        accented = accented || base != p[i].unicode();
        p[i] = QChar(base);
    }
    if (!accented)
        return key;
    key.reserve(2 * key.size() + 1);
    key += QChar(kKeySeparator);
    key += folded;
    return key;
}

QString digitsOnly(const QString& value) {
    QString digits;
    digits.reserve(value.size());
    for (const QChar c : value)
        if (isAsciiDigit(c))
            digits += c;
    return digits;
}

} // namespace qav::text
