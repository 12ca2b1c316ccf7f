// Windows-1252 texts: the code page both ways, the UTF-8 fallback, trimming, fitting and case folding.
#include "store/core/Text.h"
#include "tests/support/TestMain.h"

#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;
namespace text = qav::text;

namespace {

// The 27 characters of bytes 0x80-0x9F, from the published code page chart (0 where undefined).
constexpr char16_t kChart[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool isDefined(int byte) {
    return byte < 0x80 || byte >= 0xA0 || kChart[byte - 0x80] != 0;
}

char16_t charOf(int byte) {
    return byte < 0x80 || byte >= 0xA0 ? static_cast<char16_t>(byte) : kChart[byte - 0x80];
}

} // namespace

class TestText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyDefinedCharacterRoundTrips();
    void undefinedBytesReadAsC1Controls();
    void refusesCharactersOutsideTheCodePage_data();
    void refusesCharactersOutsideTheCodePage();
    void decodeUtf8OrWin1252_data();
    void decodeUtf8OrWin1252();
    void rtrim_data();
    void rtrim();
    void fit_data();
    void fit();
    void foldCase_data();
    void foldCase();
    void foldCaseStaysInTheCodePage();
    void foldSearch_data();
    void foldSearch();
    void foldKeySortsAsIfWithoutAccents_data();
    void foldKeySortsAsIfWithoutAccents();
    void foldKeyKeepsAccentedNamesApart();
    void digitsOnly_data();
    void digitsOnly();
    void plainForm_data();
    void plainForm();
};

void TestText::everyDefinedCharacterRoundTrips() {
    int defined = 0;
    QString all;
    QByteArray allBytes;
    for (int b = 0; b < 256; ++b) {
        if (!isDefined(b))
            continue;
        ++defined;
        const QString one(QChar(charOf(b)));
        QVERIFY2(text::isWin1252(one), qPrintable(u"byte %1"_s.arg(b, 2, 16)));
        const auto encoded = text::toWin1252(one);
        QVERIFY(encoded.has_value());
        QCOMPARE(encoded->size(), 1);
        QCOMPARE(static_cast<unsigned char>(encoded->at(0)), static_cast<unsigned char>(b));
        QCOMPARE(text::fromWin1252(*encoded), one);
        all += one;
        allBytes += static_cast<char>(b);
    }
    QCOMPARE(defined, 251);
    QCOMPARE(text::toWin1252(all), std::optional<QByteArray>(allBytes));
    QCOMPARE(text::fromWin1252(allBytes), all);
    QCOMPARE(text::firstNonWin1252(all), std::nullopt);
    // A few by name.
    QCOMPARE(text::toWin1252(u"€ Š ‰ — ™ Ÿ ç Ã"_s),
             std::optional<QByteArray>(QByteArray("\x80 \x8A \x89 \x97 \x99 \x9F \xE7 \xC3")));
}

void TestText::undefinedBytesReadAsC1Controls() {
    for (const int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const QByteArray byte(1, static_cast<char>(b));
        const QString decoded = text::fromWin1252(byte);
        QCOMPARE(decoded.size(), 1);
        QCOMPARE(decoded.at(0).unicode(), static_cast<char16_t>(b));
        // Written back they give the same byte, so no byte of a file is lost.
        QCOMPARE(text::toWin1252(decoded), std::optional<QByteArray>(byte));
    }
    // The other C1 controls have no byte: 0x80 is the euro sign.
    QVERIFY(!text::isWin1252(QString(QChar(char16_t(0x80)))));
    QVERIFY(!text::isWin1252(QString(QChar(char16_t(0x9F)))));
    QCOMPARE(text::fromWin1252(QByteArray("\x80")), u"€"_s);
}

void TestText::refusesCharactersOutsideTheCodePage_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("firstBad"); // index of the first character outside the code page
    QTest::newRow("arrow") << u"a→b"_s << 1;
    QTest::newRow("emoji") << u"Pedido 😀 ok"_s << 7;
    QTest::newRow("greek") << u"Ωmega"_s << 0;
    QTest::newRow("cyrillic after accents") << u"açãoЖ"_s << 4;
    QTest::newRow("C1 0x80") << QString(QChar(char16_t(0x80))) << 0;
    QTest::newRow("capital y with diaeresis is fine, ŷ not") << u"Ÿŷ"_s << 1;
}

void TestText::refusesCharactersOutsideTheCodePage() {
    QFETCH(QString, value);
    QFETCH(int, firstBad);
    QVERIFY(!text::isWin1252(value));
    QCOMPARE(text::toWin1252(value), std::nullopt);
    QCOMPARE(text::firstNonWin1252(value), std::optional<QChar>(value.at(firstBad)));
}

void TestText::decodeUtf8OrWin1252_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ascii") << QByteArray("Empresa=1") << u"Empresa=1"_s;
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("utf-8 accents") << QByteArray("S\xC3\xA3o Jo\xC3\xA3o") << u"São João"_s;
    QTest::newRow("utf-8 euro") << QByteArray("\xE2\x82\xAC 10") << u"€ 10"_s;
    QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF"
                                                  "a\xC3\xA7")
                                    << u"aç"_s;
    QTest::newRow("win-1252 accents") << QByteArray("S\xE3o Jo\xE3o") << u"São João"_s;
    QTest::newRow("win-1252 euro") << QByteArray("\x80 10") << u"€ 10"_s;
    QTest::newRow("mixed falls back whole") << QByteArray("\xC3\xA7 e \xE7") << u"Ã§ e ç"_s;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << u"À¯"_s;
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << u"í\u00A0€"_s;
    QTest::newRow("truncated sequence") << QByteArray("ab\xC3") << u"abÃ"_s;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << u"ô\u0090€€"_s;
    QTest::newRow("utf-8 four bytes") << QByteArray("\xF0\x9F\x98\x80") << u"😀"_s;
}

void TestText::decodeUtf8OrWin1252() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(text::decodeUtf8OrWin1252(bytes), expected);
}

void TestText::rtrim_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("padded") << u"ABC   "_s << u"ABC"_s;
    QTest::newRow("leading kept") << u"  ABC"_s << u"  ABC"_s;
    QTest::newRow("inner kept") << u"A B  "_s << u"A B"_s;
    QTest::newRow("all spaces") << u"    "_s << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("tab is not padding") << u"A\t"_s << u"A\t"_s;
    QTest::newRow("no-break space is not padding") << u"A\u00A0"_s << u"A\u00A0"_s;
}

void TestText::rtrim() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(text::rtrim(value), expected);
}

void TestText::fit_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shorter") << u"Rua A"_s << 10 << u"Rua A"_s;
    QTest::newRow("exact") << u"Rua A"_s << 5 << u"Rua A"_s;
    QTest::newRow("cut") << u"Avenida Brasil"_s << 7 << u"Avenida"_s;
    QTest::newRow("cut then trimmed") << u"Avenida Brasil"_s << 8 << u"Avenida"_s;
    QTest::newRow("padding trimmed") << u"ABC      "_s << 20 << u"ABC"_s;
    QTest::newRow("zero width") << u"ABC"_s << 0 << QString();
    QTest::newRow("negative width") << u"ABC"_s << -1 << QString();
    QTest::newRow("accents count once") << u"ÇÃÕÉ"_s << 2 << u"ÇÃ"_s;
    QTest::newRow("no half surrogate") << u"ab😀"_s << 3 << u"ab"_s;
}

void TestText::fit() {
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(text::fit(value, width), expected);
}

void TestText::foldCase_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ascii") << u"Joao da Silva"_s << u"JOAO DA SILVA"_s;
    QTest::newRow("cedilla") << u"ç"_s << u"Ç"_s;
    QTest::newRow("tilde") << u"ã"_s << u"Ã"_s;
    QTest::newRow("words") << u"São João Ação"_s << u"SÃO JOÃO AÇÃO"_s;
    QTest::newRow("acute grave circumflex") << u"áéíóú àè âêô"_s << u"ÁÉÍÓÚ ÀÈ ÂÊÔ"_s;
    QTest::newRow("y diaeresis") << u"ÿ"_s << u"Ÿ"_s;
    QTest::newRow("s caron") << u"š"_s << u"Š"_s;
    QTest::newRow("z caron") << u"ž"_s << u"Ž"_s;
    QTest::newRow("oe") << u"œ"_s << u"Œ"_s;
    QTest::newRow("sharp s stays") << u"Straße"_s << u"STRAßE"_s;
    QTest::newRow("micro stays") << u"µm"_s << u"µM"_s;
    QTest::newRow("division sign stays") << u"a÷b"_s << u"A÷B"_s;
    QTest::newRow("eth and thorn") << u"ðþ"_s << u"ÐÞ"_s;
    QTest::newRow("already upper") << u"ÇÃO 123"_s << u"ÇÃO 123"_s;
    QTest::newRow("trailing spaces removed") << u"abc   "_s << u"ABC"_s;
    QTest::newRow("upper with trailing spaces") << u"ABC   "_s << u"ABC"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("digits and symbols") << u"12,5% / R$"_s << u"12,5% / R$"_s;
}

void TestText::foldCase() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(text::foldCase(value), expected);
    QCOMPARE(text::foldCase(expected), expected); // folding twice changes nothing
}

void TestText::foldCaseStaysInTheCodePage() {
    // Every character of the code page folds to a character of the code page.
    for (int b = 0; b < 256; ++b) {
        if (!isDefined(b) || b == 0x20)
            continue;
        const QString one(QChar(charOf(b)));
        const QString folded = text::foldCase(one);
        QCOMPARE(folded.size(), 1);
        QVERIFY2(text::isWin1252(folded), qPrintable(u"byte %1"_s.arg(b, 2, 16)));
        // Qt's Unicode tables as the reference: where the upper case is itself in the code page it
        // is the folded form, otherwise the character stays as it is ("ß", "µ", "ƒ").
        const QString up = one.toUpper();
        if (up.size() == 1 && text::isWin1252(up))
            QCOMPARE(folded, up);
        else
            QCOMPARE(folded, one);
    }
}

void TestText::foldSearch_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cedilla") << u"Dobradiça"_s << u"DOBRADICA"_s;
    QTest::newRow("tilde and circumflex") << u"Antônio São João"_s << u"ANTONIO SAO JOAO"_s;
    QTest::newRow("every vowel accent") << u"áàâãä éèêë íìîï óòôõö úùûü"_s << u"AAAAA EEEE IIII OOOOO UUUU"_s;
    QTest::newRow("upper case accents") << u"ÁÀÂÃÄÅ ÇÑÝ"_s << u"AAAAAA CNY"_s;
    QTest::newRow("y diaeresis") << u"ÿ"_s << u"Y"_s;
    QTest::newRow("caron letters") << u"šž ŠŽ"_s << u"SZ SZ"_s;
    QTest::newRow("letters without a base stay") << u"ßæðþ"_s << u"ßÆÐÞ"_s;
    QTest::newRow("symbols stay") << u"1º 2ª 3/4\" 50%"_s << u"1º 2ª 3/4\" 50%"_s;
    QTest::newRow("trailing spaces removed") << u"ação  "_s << u"ACAO"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestText::foldSearch() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(text::foldSearch(value), expected);
    QCOMPARE(text::foldSearch(expected), expected);
}

void TestText::foldKeySortsAsIfWithoutAccents_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("São Paulo before Sorocaba") << QStringList{u"Sorocaba"_s, u"São Paulo"_s, u"Santos"_s}
                                               << QStringList{u"Santos"_s, u"São Paulo"_s, u"Sorocaba"_s};
    QTest::newRow("cedilla among its neighbours") << QStringList{u"Icém"_s, u"Içara"_s, u"Ibirama"_s}
                                                  << QStringList{u"Ibirama"_s, u"Içara"_s, u"Icém"_s};
    QTest::newRow("accented first letter") << QStringList{u"Avaré"_s, u"Águas de Lindóia"_s, u"americana"_s}
                                           << QStringList{u"Águas de Lindóia"_s, u"americana"_s, u"Avaré"_s};
    QTest::newRow("without accents just before with them")
        << QStringList{u"Paraná"_s, u"Pará"_s, u"PARA"_s, u"Para de Minas"_s}
        << QStringList{u"PARA"_s, u"Pará"_s, u"Para de Minas"_s, u"Paraná"_s};
}

void TestText::foldKeySortsAsIfWithoutAccents() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    // The keys are compared as the tables' indexes compare them: code unit by code unit.
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return text::foldKey(a) < text::foldKey(b); });
    QCOMPARE(names, expected);
}

void TestText::foldKeyKeepsAccentedNamesApart() {
    QCOMPARE(text::foldKey(u"Curitiba  "_s), u"CURITIBA"_s); // without accents: the upper case
    QCOMPARE(text::foldKey(u"aço"_s), text::foldKey(u"AÇO"_s));
    QVERIFY(text::foldKey(u"AÇO"_s) != text::foldKey(u"ACO"_s));
    QVERIFY(text::foldKey(u"Pará"_s) != text::foldKey(u"Para"_s));
    QVERIFY(text::foldKey(u"Pará"_s).startsWith(text::foldSearch(u"Pará"_s)));
}

void TestText::digitsOnly_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CPF") << u"706.588.110-53"_s << u"70658811053"_s;
    QTest::newRow("CNPJ") << u"11.222.333/0001-81"_s << u"11222333000181"_s;
    QTest::newRow("telephone") << u"(51) 3333-4444"_s << u"5133334444"_s;
    QTest::newRow("only digits") << u"706588"_s << u"706588"_s;
    QTest::newRow("no digits") << u"ISENTO"_s << QString();
    QTest::newRow("other scripts' digits are not ours") << u"1٢3"_s << u"13"_s;
}

void TestText::digitsOnly() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(text::digitsOnly(value), expected);
}

// A text in the nearest form a narrower repertoire holds: Windows-1252 (the local tables), Latin-1
// (a LATIN1 server) or ASCII.
void TestText::plainForm_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("repertoire");
    QTest::addColumn<QString>("expected");
    const QString note = u"Preço € “especial” – já…"_s;
    QTest::newRow("1252 keeps its own typography") << note << u"1252"_s << note;
    QTest::newRow("latin1: quotes, dash, ellipsis, euro")
        << note << u"latin1"_s << u"Preço EUR \"especial\" - já..."_s;
    QTest::newRow("ascii: accents go only here") << u"Ação Çà"_s << u"ascii"_s << u"Acao Ca"_s;
    QTest::newRow("latin1: S caron loses it") << u"Škoda œuvre"_s << u"latin1"_s << u"Skoda oeuvre"_s;
    QTest::newRow("emoji") << u"Cliente 😀 bom"_s << u"1252"_s << u"Cliente ? bom"_s;
    QTest::newRow("emoji with its variation selector") << u"ok ❤️"_s << u"1252"_s << u"ok ?"_s;
    QTest::newRow("diameter sign") << u"Tubo ⌀ 25"_s << u"1252"_s << u"Tubo Ø 25"_s;
    QTest::newRow("diameter sign in ascii") << u"Tubo ⌀ 25"_s << u"ascii"_s << u"Tubo O 25"_s;
    QTest::newRow("zero-width space") << u"Jo\u200Bsé"_s << u"1252"_s << u"José"_s;
    QTest::newRow("combining accent composes") << u"Jose\u0301"_s << u"1252"_s << u"José"_s;
    QTest::newRow("letter outside the code page") << u"Erdős"_s << u"1252"_s << u"Erdos"_s;
    QTest::newRow("ligature and circled digit") << u"ﬁo ①"_s << u"1252"_s << u"fio 1"_s;
    QTest::newRow("narrow no-break space") << u"10\u202Fkg"_s << u"1252"_s << u"10 kg"_s;
    QTest::newRow("fraction in ascii") << u"½"_s << u"ascii"_s << u"1/2"_s;
    QTest::newRow("nothing near") << u"中文"_s << u"1252"_s << u"??"_s;
}

void TestText::plainForm() {
    QFETCH(QString, value);
    QFETCH(QString, repertoire);
    QFETCH(QString, expected);
    if (repertoire == u"1252"_s) {
        QCOMPARE(text::win1252Form(value), expected);
        QVERIFY(text::isWin1252(expected));
        return;
    }
    const char32_t limit = repertoire == u"latin1"_s ? 0x100 : 0x80;
    QCOMPARE(text::plainForm(value, [limit](char32_t c) { return c < limit; }), expected);
}

QAV_TEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
