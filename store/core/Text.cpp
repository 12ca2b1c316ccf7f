// Windows-1252 texts: the code page of the local tables, the settings files and the server.
#include "store/core/Text.h"

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
