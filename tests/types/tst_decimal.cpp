// Exact decimal arithmetic: parsing, rounding half away from zero, field limits, overflow, and a
// randomised cross-check against an independent 128/256-bit reference.
#include "store/core/Decimal.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QTest>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

using namespace Qt::StringLiterals;
using qav::Decimal;
using qav::DecimalOverflow;
using qav::DivisionByZero;

namespace {

Decimal dec(const char* text) {
    const auto d = Decimal::parse(text);
    if (!d)
        qFatal("bad decimal literal in test: %s", text);
    return *d;
}

QString str(const std::string& s) {
    return QString::fromStdString(s);
}

const char* const kMax = "99999999999999999999999999.999999999999";
const char* const kTiny = "0.000000000001";

} // namespace

class TestDecimal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void parseBr_data();
    void parseBr();
    void rounded_data();
    void rounded();
    void truncated_data();
    void truncated();
    void forField_data();
    void forField();
    void toStringPlaces_data();
    void toStringPlaces();
    void toStringShortest_data();
    void toStringShortest();
    void fromDouble_data();
    void fromDouble();
    void fromDoubleRejectsNonFinite();
    void toDouble();
    void toInt64_data();
    void toInt64();
    void integerConstructors();
    void exactResults_data();
    void exactResults();
    void identities();
    void divisionByZero();
    void overflow();
    void comparisons();
    void randomCrossCheck();
};

void TestDecimal::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("expected"); // shortest text

    QTest::newRow("integer") << u"123"_s << true << u"123"_s;
    QTest::newRow("negative fraction") << u"-0.5"_s << true << u"-0.5"_s;
    QTest::newRow("four places") << u"1234.5678"_s << true << u"1234.5678"_s;
    QTest::newRow("plus sign") << u"+7"_s << true << u"7"_s;
    QTest::newRow("leading point") << u".5"_s << true << u"0.5"_s;
    QTest::newRow("trailing point") << u"5."_s << true << u"5"_s;
    QTest::newRow("minus zero") << u"-0"_s << true << u"0"_s;
    QTest::newRow("minus zero fraction") << u"-0.000"_s << true << u"0"_s;
    QTest::newRow("padded zeros") << u"0000012.3400"_s << true << u"12.34"_s;
    QTest::newRow("many leading zeros") << u"000000000000000000000000000000000001"_s << true << u"1"_s;
    QTest::newRow("twelve places") << u"0.123456789012"_s << true << u"0.123456789012"_s;
    QTest::newRow("13th place tie up") << u"0.0000000000005"_s << true << u"0.000000000001"_s;
    QTest::newRow("13th place below tie") << u"0.0000000000004999"_s << true << u"0"_s;
    QTest::newRow("13th place tie negative") << u"-0.0000000000005"_s << true << u"-0.000000000001"_s;
    QTest::newRow("round carries") << u"0.9999999999995"_s << true << u"1"_s;
    QTest::newRow("six digits, twelve places")
        << u"999999.999999999999"_s << true << u"999999.999999999999"_s;
    QTest::newRow("seven digits, twelve places")
        << u"1234567.123456789012"_s << true << u"1234567.123456789012"_s;
    QTest::newRow("six digits, thirteen places") << u"999999.9999999999995"_s << true << u"1000000"_s;
    QTest::newRow("negative six digits") << u"-000123.450"_s << true << u"-123.45"_s;
    QTest::newRow("largest") << QString::fromLatin1(kMax) << true << QString::fromLatin1(kMax);
    QTest::newRow("largest negative")
        << u"-99999999999999999999999999"_s << true << u"-99999999999999999999999999"_s;
    QTest::newRow("rounds past the largest")
        << u"99999999999999999999999999.9999999999995"_s << false << QString();
    QTest::newRow("27 integer digits") << u"100000000000000000000000000"_s << false << QString();
    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("sign only") << u"-"_s << false << QString();
    QTest::newRow("plus only") << u"+"_s << false << QString();
    QTest::newRow("point only") << u"."_s << false << QString();
    QTest::newRow("two points") << u"1.2.3"_s << false << QString();
    QTest::newRow("comma") << u"1,5"_s << false << QString();
    QTest::newRow("leading space") << u" 1"_s << false << QString();
    QTest::newRow("trailing space") << u"1 "_s << false << QString();
    QTest::newRow("exponent") << u"1e5"_s << false << QString();
    QTest::newRow("letters") << u"abc"_s << false << QString();
    QTest::newRow("double sign") << u"--1"_s << false << QString();
    QTest::newRow("hex") << u"0x10"_s << false << QString();
    QTest::newRow("sign after point") << u"1.-2"_s << false << QString();
    QTest::newRow("arabic digit") << u"\u0661"_s << false << QString();
}

void TestDecimal::parse() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, expected);
    const auto d = Decimal::parse(text.toStdString());
    QCOMPARE(d.has_value(), ok);
    if (ok)
        QCOMPARE(str(d->toString()), expected);
}

void TestDecimal::parseBr_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("expected");

    QTest::newRow("thousands and comma") << u"1.234,56"_s << true << u"1234.56"_s;
    QTest::newRow("comma only") << u"1234,56"_s << true << u"1234.56"_s;
    QTest::newRow("negative") << u"-0,5"_s << true << u"-0.5"_s;
    QTest::newRow("integer") << u"12"_s << true << u"12"_s;
    QTest::newRow("one thousands point") << u"1.234"_s << true << u"1234"_s;
    QTest::newRow("millions") << u"1.234.567"_s << true << u"1234567"_s;
    QTest::newRow("millions with places") << u"-1.234.567,891"_s << true << u"-1234567.891"_s;
    QTest::newRow("plain point two places") << u"1234.56"_s << true << u"1234.56"_s;
    QTest::newRow("plain point one place") << u"1.5"_s << true << u"1.5"_s;
    QTest::newRow("plain point four places") << u"0.1234"_s << true << u"0.1234"_s;
    QTest::newRow("surrounding spaces") << u"  12,5 "_s << true << u"12.5"_s;
    QTest::newRow("leading comma") << u",5"_s << true << u"0.5"_s;
    QTest::newRow("trailing comma") << u"12,"_s << true << u"12"_s;
    QTest::newRow("plus") << u"+1.000,00"_s << true << u"1000"_s;
    QTest::newRow("13 places rounded") << u"0,0000000000005"_s << true << u"0.000000000001"_s;
    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("blank") << u"   "_s << false << QString();
    QTest::newRow("comma alone") << u","_s << false << QString();
    QTest::newRow("two commas") << u"1,2,3"_s << false << QString();
    QTest::newRow("group of two") << u"12.34,5"_s << false << QString();
    QTest::newRow("group of four") << u"1.2345,6"_s << false << QString();
    QTest::newRow("first group of four") << u"1234.567"_s << false << QString();
    QTest::newRow("empty first group") << u".567"_s << false << QString();
    QTest::newRow("short middle group") << u"1.23.456"_s << false << QString();
    QTest::newRow("point after comma") << u"1.234,5.6"_s << false << QString();
    QTest::newRow("letters") << u"abc"_s << false << QString();
    QTest::newRow("trailing letter") << u"1,5a"_s << false << QString();
    QTest::newRow("currency") << u"R$ 1,00"_s << false << QString();
    QTest::newRow("too large") << u"100.000.000.000.000.000.000.000.000"_s << false << QString();
}

void TestDecimal::parseBr() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, expected);
    const auto d = Decimal::parseBr(text.toStdString());
    QCOMPARE(d.has_value(), ok);
    if (ok)
        QCOMPARE(str(d->toString()), expected);
}

void TestDecimal::rounded_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("expected");

    QTest::newRow("2.345 -> 2.35") << u"2.345"_s << 2 << u"2.35"_s;
    QTest::newRow("-2.345 -> -2.35") << u"-2.345"_s << 2 << u"-2.35"_s;
    QTest::newRow("below tie") << u"2.344999999999"_s << 2 << u"2.34"_s;
    QTest::newRow("-below tie") << u"-2.344999999999"_s << 2 << u"-2.34"_s;
    QTest::newRow("0.5 -> 1") << u"0.5"_s << 0 << u"1"_s;
    QTest::newRow("-0.5 -> -1") << u"-0.5"_s << 0 << u"-1"_s;
    QTest::newRow("1.5 -> 2") << u"1.5"_s << 0 << u"2"_s;
    QTest::newRow("2.5 -> 3 (not to even)") << u"2.5"_s << 0 << u"3"_s;
    QTest::newRow("-2.5 -> -3") << u"-2.5"_s << 0 << u"-3"_s;
    QTest::newRow("0.49 -> 0") << u"0.49"_s << 0 << u"0"_s;
    QTest::newRow("0.05 -> 0.1") << u"0.05"_s << 1 << u"0.1"_s;
    QTest::newRow("-0.05 -> -0.1") << u"-0.05"_s << 1 << u"-0.1"_s;
    QTest::newRow("0.04999 -> 0") << u"0.04999"_s << 1 << u"0"_s;
    QTest::newRow("1.0005 -> 1.001") << u"1.0005"_s << 3 << u"1.001"_s;
    QTest::newRow("-1.0005 -> -1.001") << u"-1.0005"_s << 3 << u"-1.001"_s;
    QTest::newRow("1.23445 -> 1.2345") << u"1.23445"_s << 4 << u"1.2345"_s;
    QTest::newRow("-1.23445 -> -1.2345") << u"-1.23445"_s << 4 << u"-1.2345"_s;
    QTest::newRow("1.234449 -> 1.2344") << u"1.234449"_s << 4 << u"1.2344"_s;
    QTest::newRow("0.00005 -> 0.0001") << u"0.00005"_s << 4 << u"0.0001"_s;
    QTest::newRow("9.995 carries") << u"9.995"_s << 2 << u"10"_s;
    QTest::newRow("-9.995 carries") << u"-9.995"_s << 2 << u"-10"_s;
    QTest::newRow("-0.004 -> 0") << u"-0.004"_s << 2 << u"0"_s;
    QTest::newRow("already rounded") << u"12.3"_s << 2 << u"12.3"_s;
    QTest::newRow("12 places unchanged") << u"0.123456789012"_s << 12 << u"0.123456789012"_s;
    QTest::newRow("large value") << u"12345678901234567890123456.5"_s << 0 << u"12345678901234567890123457"_s;
    // Around 2^64 units (18446744.073709551616), where rounding leaves the single word.
    QTest::newRow("one word, near its end") << u"18446744.055"_s << 2 << u"18446744.06"_s;
    QTest::newRow("-one word, near its end") << u"-18446744.055"_s << 2 << u"-18446744.06"_s;
    QTest::newRow("last unit of one word") << u"18446744.073709551615"_s << 2 << u"18446744.07"_s;
    QTest::newRow("last unit of one word, whole") << u"18446744.073709551615"_s << 0 << u"18446744"_s;
    QTest::newRow("two words") << u"18446745.005"_s << 2 << u"18446745.01"_s;
}

void TestDecimal::rounded() {
    QFETCH(QString, value);
    QFETCH(int, places);
    QFETCH(QString, expected);
    const Decimal r = dec(value.toLatin1().constData()).rounded(places);
    QCOMPARE(str(r.toString()), expected);
    QCOMPARE(r, dec(expected.toLatin1().constData()));
    if (r.isZero())
        QVERIFY(!r.isNegative());
}

void TestDecimal::truncated_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("expected");

    QTest::newRow("2.999 -> 2") << u"2.999"_s << 0 << u"2"_s;
    QTest::newRow("-2.999 -> -2") << u"-2.999"_s << 0 << u"-2"_s;
    QTest::newRow("2.349 -> 2.34") << u"2.349"_s << 2 << u"2.34"_s;
    QTest::newRow("-0.009 -> 0") << u"-0.009"_s << 2 << u"0"_s;
    QTest::newRow("four places") << u"123.456789"_s << 4 << u"123.4567"_s;
    QTest::newRow("whole stays") << u"-7"_s << 0 << u"-7"_s;
    QTest::newRow("largest") << QString::fromLatin1(kMax) << 0 << u"99999999999999999999999999"_s;
}

void TestDecimal::truncated() {
    QFETCH(QString, value);
    QFETCH(int, places);
    QFETCH(QString, expected);
    const Decimal t = dec(value.toLatin1().constData()).truncated(places);
    QCOMPARE(str(t.toString()), expected);
    if (t.isZero())
        QCOMPARE(t.sign(), 0);
}

void TestDecimal::forField_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<QString>("expected");

    QTest::newRow("7,2 largest") << u"99999.994"_s << 7 << 2 << true << u"99999.99"_s;
    QTest::newRow("7,2 rounds over") << u"99999.995"_s << 7 << 2 << false << QString();
    QTest::newRow("7,2 negative rounds over") << u"-99999.995"_s << 7 << 2 << false << QString();
    QTest::newRow("7,2 negative largest") << u"-99999.99"_s << 7 << 2 << true << u"-99999.99"_s;
    QTest::newRow("7,2 six digits") << u"100000"_s << 7 << 2 << false << QString();
    QTest::newRow("13,2 rounds") << u"12345.678"_s << 13 << 2 << true << u"12345.68"_s;
    QTest::newRow("15,2 thirteen digits")
        << u"1234567890123.45"_s << 15 << 2 << true << u"1234567890123.45"_s;
    QTest::newRow("15,2 fourteen digits") << u"10000000000000"_s << 15 << 2 << false << QString();
    QTest::newRow("11,0 rounds over") << u"99999999999.5"_s << 11 << 0 << false << QString();
    QTest::newRow("11,0 rounds down") << u"99999999999.4"_s << 11 << 0 << true << u"99999999999"_s;
    QTest::newRow("9,5 tie") << u"1.000005"_s << 9 << 5 << true << u"1.00001"_s;
    QTest::newRow("5,2 small") << u"-0.004"_s << 5 << 2 << true << u"0"_s;
    QTest::newRow("38,12 everything")
        << QString::fromLatin1(kMax) << 38 << 12 << true << QString::fromLatin1(kMax);
}

void TestDecimal::forField() {
    QFETCH(QString, value);
    QFETCH(int, precision);
    QFETCH(int, scale);
    QFETCH(bool, fits);
    QFETCH(QString, expected);
    const Decimal d = dec(value.toLatin1().constData());
    QCOMPARE(d.fitsField(precision, scale), fits);
    if (fits)
        QCOMPARE(str(d.forField(precision, scale).toString()), expected);
    else
        QVERIFY_THROWS_EXCEPTION(DecimalOverflow, d.forField(precision, scale));
}

void TestDecimal::toStringPlaces_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("expected");

    QTest::newRow("10.00") << u"10"_s << 2 << u"10.00"_s;
    QTest::newRow("3.3330") << u"3.333"_s << 4 << u"3.3330"_s;
    QTest::newRow("-0.50") << u"-0.5"_s << 2 << u"-0.50"_s;
    QTest::newRow("0.00") << u"0"_s << 2 << u"0.00"_s;
    QTest::newRow("never -0.00") << u"-0.001"_s << 2 << u"0.00"_s;
    QTest::newRow("never -0") << u"-0.4"_s << 0 << u"0"_s;
    QTest::newRow("negative rounds away") << u"-0.005"_s << 2 << u"-0.01"_s;
    QTest::newRow("rounds up") << u"2.345"_s << 2 << u"2.35"_s;
    QTest::newRow("carry into integer") << u"9.9999"_s << 2 << u"10.00"_s;
    QTest::newRow("no places") << u"1234.5"_s << 0 << u"1235"_s;
    QTest::newRow("twelve places") << u"123456789.987654321"_s << 12 << u"123456789.987654321000"_s;
    QTest::newRow("tiny") << QString::fromLatin1(kTiny) << 12 << QString::fromLatin1(kTiny);
    QTest::newRow("beyond 64 bits") << u"12345678901234567890123456.5"_s << 0
                                    << u"12345678901234567890123457"_s;
    QTest::newRow("beyond 64 bits places")
        << u"-1234567890123456789.25"_s << 1 << u"-1234567890123456789.3"_s;
    QTest::newRow("largest rounds up")
        << QString::fromLatin1(kMax) << 2 << u"100000000000000000000000000.00"_s;
}

void TestDecimal::toStringPlaces() {
    QFETCH(QString, value);
    QFETCH(int, places);
    QFETCH(QString, expected);
    QCOMPARE(str(dec(value.toLatin1().constData()).toString(places)), expected);
}

void TestDecimal::toStringShortest_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trailing zeros") << u"1.500"_s << u"1.5"_s;
    QTest::newRow("whole") << u"100.000"_s << u"100"_s;
    QTest::newRow("negative") << u"-0.25"_s << u"-0.25"_s;
    QTest::newRow("zero") << u"0.000"_s << u"0"_s;
    QTest::newRow("ten") << u"10"_s << u"10"_s;
}

void TestDecimal::toStringShortest() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(str(dec(value.toLatin1().constData()).toString()), expected);
    QCOMPARE(str(qav::to_string(dec(value.toLatin1().constData()))), expected);
}

void TestDecimal::fromDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0.1") << 0.1 << 12 << u"0.1"_s;
    // 2.675 is held as 2.67499999...; its shortest text is 2.675, which rounds to 2.68.
    QTest::newRow("2.675") << 2.675 << 2 << u"2.68"_s;
    QTest::newRow("-2.675") << -2.675 << 2 << u"-2.68"_s;
    QTest::newRow("1.005") << 1.005 << 2 << u"1.01"_s;
    QTest::newRow("0.1+0.2") << (0.1 + 0.2) << 2 << u"0.3"_s;
    QTest::newRow("0.1+0.2 full") << (0.1 + 0.2) << 12 << u"0.3"_s;
    QTest::newRow("1e-13") << 1e-13 << 12 << u"0"_s;
    QTest::newRow("5e-13") << 5e-13 << 12 << u"0.000000000001"_s;
    QTest::newRow("1.23456789e20") << 1.23456789e20 << 2 << u"123456789000000000000"_s;
    QTest::newRow("0.3 to 0") << 0.3 << 0 << u"0"_s;
    QTest::newRow("0.5 to 0") << 0.5 << 0 << u"1"_s;
    QTest::newRow("-0.5 to 0") << -0.5 << 0 << u"-1"_s;
    QTest::newRow("minus zero") << -0.0 << 2 << u"0"_s;
    QTest::newRow("123.456 to 1") << 123.456 << 1 << u"123.5"_s;
    QTest::newRow("1234567.891") << 1234567.891 << 4 << u"1234567.891"_s;
    QTest::newRow("whole") << 42.0 << 2 << u"42"_s;
    QTest::newRow("0.000049 to 4") << 0.000049 << 4 << u"0"_s;
    QTest::newRow("0.00005 to 4") << 0.00005 << 4 << u"0.0001"_s;
}

void TestDecimal::fromDouble() {
    QFETCH(double, value);
    QFETCH(int, places);
    QFETCH(QString, expected);
    const Decimal d = Decimal::fromDouble(value, places);
    QCOMPARE(str(d.toString()), expected);
    if (d.isZero())
        QCOMPARE(d.sign(), 0);
}

void TestDecimal::fromDoubleRejectsNonFinite() {
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow,
                             Decimal::fromDouble(std::numeric_limits<double>::infinity(), 2));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow,
                             Decimal::fromDouble(-std::numeric_limits<double>::infinity(), 2));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, Decimal::fromDouble(std::nan(""), 2));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, Decimal::fromDouble(1e26, 2));
    QCOMPARE(str(Decimal::fromDouble(9.9e25, 0).toString()), u"99000000000000000000000000"_s);
}

void TestDecimal::toDouble() {
    QCOMPARE(dec("0.1").toDouble(), 0.1);
    QCOMPARE(dec("-2.5").toDouble(), -2.5);
    QCOMPARE(dec("123456.789").toDouble(), 123456.789);
    QCOMPARE(dec("0").toDouble(), 0.0);
    QCOMPARE(dec(kMax).toDouble(), 1e26);
    QCOMPARE(Decimal::fromDouble(1234.5678, 12).toDouble(), 1234.5678);
}

void TestDecimal::toInt64_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("12.9") << u"12.9"_s << true << qint64(12);
    QTest::newRow("-12.9") << u"-12.9"_s << true << qint64(-12);
    QTest::newRow("-0.9") << u"-0.9"_s << true << qint64(0);
    QTest::newRow("max") << u"9223372036854775807.99"_s << true << std::numeric_limits<qint64>::max();
    QTest::newRow("min") << u"-9223372036854775808.5"_s << true << std::numeric_limits<qint64>::min();
    QTest::newRow("max + 1") << u"9223372036854775808"_s << false << qint64(0);
    QTest::newRow("min - 1") << u"-9223372036854775809"_s << false << qint64(0);
    QTest::newRow("largest decimal") << QString::fromLatin1(kMax) << false << qint64(0);
}

void TestDecimal::toInt64() {
    QFETCH(QString, value);
    QFETCH(bool, fits);
    QFETCH(qint64, expected);
    const Decimal d = dec(value.toLatin1().constData());
    if (fits)
        QCOMPARE(d.toInt64(), expected);
    else
        QVERIFY_THROWS_EXCEPTION(DecimalOverflow, d.toInt64());
}

void TestDecimal::integerConstructors() {
    QCOMPARE(str(Decimal(LLONG_MIN).toString(2)), u"-9223372036854775808.00"_s);
    QCOMPARE(str(Decimal(LLONG_MAX).toString()), u"9223372036854775807"_s);
    QCOMPARE(str(Decimal(-42L).toString()), u"-42"_s);
    QCOMPARE(str(Decimal(INT_MIN).toString()), u"-2147483648"_s);
    QCOMPARE(Decimal(0).sign(), 0);
    QVERIFY(!Decimal(0).isNegative());
    QCOMPARE(Decimal(), Decimal(0));
    QCOMPARE(Decimal(-3).sign(), -1);
    QCOMPARE(Decimal(3).sign(), 1);
    QCOMPARE(Decimal(-3).abs(), Decimal(3));
    QCOMPARE(Decimal(LLONG_MIN).toInt64(), LLONG_MIN);
}

void TestDecimal::exactResults_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QChar>("op");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0.1+0.2") << u"0.1"_s << QChar(u'+') << u"0.2"_s << u"0.3"_s;
    QTest::newRow("mixed signs add") << u"-5.25"_s << QChar(u'+') << u"2"_s << u"-3.25"_s;
    QTest::newRow("add to zero") << u"-5.25"_s << QChar(u'+') << u"5.25"_s << u"0"_s;
    QTest::newRow("sub crosses zero") << u"1"_s << QChar(u'-') << u"1.5"_s << u"-0.5"_s;
    QTest::newRow("price x qty") << u"12.34"_s << QChar(u'*') << u"10"_s << u"123.4"_s;
    QTest::newRow("discount") << u"199.9"_s << QChar(u'*') << u"0.925"_s << u"184.9075"_s;
    QTest::newRow("negative product") << u"-1.5"_s << QChar(u'*') << u"2"_s << u"-3"_s;
    QTest::newRow("two negatives") << u"-1.5"_s << QChar(u'*') << u"-2"_s << u"3"_s;
    QTest::newRow("tiny product") << u"0.000001"_s << QChar(u'*') << u"0.000001"_s << u"0.000000000001"_s;
    QTest::newRow("tiny product tie")
        << u"0.000001"_s << QChar(u'*') << u"0.0000005"_s << u"0.000000000001"_s;
    QTest::newRow("tiny negative tie")
        << u"-0.000001"_s << QChar(u'*') << u"0.0000005"_s << u"-0.000000000001"_s;
    QTest::newRow("tiny product below tie") << u"-0.000001"_s << QChar(u'*') << u"0.0000004"_s << u"0"_s;
    QTest::newRow("wide product") << u"12345678901234.5678"_s << QChar(u'*') << u"1000000"_s
                                  << u"12345678901234567800"_s;
    QTest::newRow("wide x wide") << u"123456789012.345678901234"_s << QChar(u'*') << u"1000.000000000001"_s
                                 << u"123456789012345.802358023012"_s;
    QTest::newRow("1/3") << u"1"_s << QChar(u'/') << u"3"_s << u"0.333333333333"_s;
    QTest::newRow("2/3") << u"2"_s << QChar(u'/') << u"3"_s << u"0.666666666667"_s;
    QTest::newRow("-2/3") << u"-2"_s << QChar(u'/') << u"3"_s << u"-0.666666666667"_s;
    QTest::newRow("2/-3") << u"2"_s << QChar(u'/') << u"-3"_s << u"-0.666666666667"_s;
    QTest::newRow("10/4") << u"10"_s << QChar(u'/') << u"4"_s << u"2.5"_s;
    QTest::newRow("by a fraction") << u"100"_s << QChar(u'/') << u"0.08"_s << u"1250"_s;
    QTest::newRow("tiny quotient tie") << u"0.000000000001"_s << QChar(u'/') << u"2"_s << u"0.000000000001"_s;
    QTest::newRow("tiny quotient below") << u"0.000000000001"_s << QChar(u'/') << u"3"_s << u"0"_s;
    QTest::newRow("wide quotient") << u"12345678901234567890123456"_s << QChar(u'/') << u"7"_s
                                   << u"1763668414462081127160493.714285714286"_s;
    QTest::newRow("wide divisor") << u"1"_s << QChar(u'/') << u"12345678901234567890"_s << u"0"_s;
    QTest::newRow("wide by wide") << u"98765432109876543210.5"_s << QChar(u'/') << u"1234567890123.456789"_s
                                  << u"80000000.729000006634"_s;
}

void TestDecimal::exactResults() {
    QFETCH(QString, a);
    QFETCH(QChar, op);
    QFETCH(QString, b);
    QFETCH(QString, expected);
    const Decimal x = dec(a.toLatin1().constData());
    const Decimal y = dec(b.toLatin1().constData());
    Decimal r;
    switch (op.unicode()) {
    case u'+':
        r = x + y;
        break;
    case u'-':
        r = x - y;
        break;
    case u'*':
        r = x * y;
        break;
    default:
        r = x / y;
        break;
    }
    QCOMPARE(str(r.toString()), expected);
    if (r.isZero())
        QCOMPARE(r.sign(), 0);
}

void TestDecimal::identities() {
    const char* const values[] = {"0",
                                  "1",
                                  "-1",
                                  "0.5",
                                  "-123.456",
                                  "9999999.999999999999",
                                  kTiny,
                                  "-0.000000000001",
                                  "12345678901234567890.123456789012",
                                  "-3.14159"};
    for (const char* va : values) {
        const Decimal a = dec(va);
        QCOMPARE(a * Decimal(1), a);
        QCOMPARE(a * Decimal(0), Decimal(0));
        QCOMPARE((a * Decimal(0)).sign(), 0);
        QCOMPARE(a / Decimal(1), a);
        QCOMPARE(a - a, Decimal(0));
        QCOMPARE((a - a).sign(), 0);
        QCOMPARE(a + (-a), Decimal(0));
        QCOMPARE(-(-a), a);
        QCOMPARE((-a).sign(), -a.sign());
        QCOMPARE(a.abs() >= Decimal(0), true);
        for (const char* vb : values) {
            const Decimal b = dec(vb);
            QCOMPARE(a + b, b + a);
            QCOMPARE(a + b - b, a);
            // Products commute, including in whether they overflow.
            std::optional<Decimal> ab, ba;
            try {
                ab = a * b;
            } catch (const DecimalOverflow&) {
            }
            try {
                ba = b * a;
            } catch (const DecimalOverflow&) {
            }
            QCOMPARE(ab, ba);
            QCOMPARE(a - b, -(b - a));
            if (!b.isZero() && b.abs() >= Decimal(1) && a.abs() < dec("1000000")) {
                // Multiplying back a quotient of whole-number divisors loses less than the divisor's units.
                const Decimal back = (a / b) * b;
                QVERIFY2((back - a).abs() <= b.abs() * dec(kTiny),
                         qPrintable(QString::fromStdString(std::string(va) + " / " + vb)));
            }
        }
    }
    Decimal acc;
    for (int i = 0; i < 10; ++i)
        acc += dec("0.1");
    QCOMPARE(acc, Decimal(1));
    Decimal p = dec("7.5");
    p *= Decimal(2);
    p /= dec("0.5");
    p -= Decimal(30);
    QCOMPARE(p, Decimal(0));
}

void TestDecimal::divisionByZero() {
    QVERIFY_THROWS_EXCEPTION(DivisionByZero, dec("1") / Decimal());
    QVERIFY_THROWS_EXCEPTION(DivisionByZero, Decimal() / dec("-0.000"));
    Decimal x = dec("5");
    QVERIFY_THROWS_EXCEPTION(DivisionByZero, x /= Decimal(0));
    QCOMPARE(x, Decimal(5));
    QCOMPARE(Decimal::divOrZero(dec("123.45"), Decimal()), Decimal(0));
    QCOMPARE(Decimal::divOrZero(dec("-123.45"), Decimal()).sign(), 0);
    QCOMPARE(Decimal::divOrZero(dec("6"), dec("3")), Decimal(2));
    QCOMPARE(Decimal::divOrZero(dec("1"), dec("-3")), dec("-0.333333333333"));
}

void TestDecimal::overflow() {
    const Decimal max = dec(kMax);
    const Decimal tiny = dec(kTiny);
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, max + tiny);
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, -max - tiny);
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, max - (-tiny));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, max + max);
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, max * Decimal(2));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, max * max);
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, -max * max);
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, dec("10000000000000") * dec("10000000000000"));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, dec("100000000000000000000") / dec("0.000001"));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, max / dec("0.999999999999"));
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, max.rounded(0));
    // Right at the limit nothing throws.
    QCOMPARE(max - tiny + tiny, max);
    QCOMPARE(max * Decimal(1), max);
    QCOMPARE(max / Decimal(-1), -max);
    QCOMPARE(str((dec("9999999999999.9") * dec("10000000000000")).toString()),
             u"99999999999999000000000000"_s);
    QCOMPARE(max.truncated(0), dec("99999999999999999999999999"));
    // A failed compound assignment leaves the value as it was.
    Decimal x = max;
    QVERIFY_THROWS_EXCEPTION(DecimalOverflow, x += Decimal(1));
    QCOMPARE(x, max);
}

void TestDecimal::comparisons() {
    QVERIFY(Decimal(-1) < Decimal(0));
    QVERIFY(Decimal(0) < Decimal(1));
    QVERIFY(Decimal(-2) < Decimal(-1));
    QVERIFY(dec("-0.5") > Decimal(-1));
    QVERIFY(dec(kTiny) > Decimal(0));
    QVERIFY(-dec(kTiny) < Decimal(0));
    QVERIFY(-dec(kTiny) > Decimal(-1));
    QVERIFY(dec("-99999999999999999999999999") < dec("-0.000000000001"));
    QVERIFY(dec("18446744073.709551616") > dec("18446744073.709551615")); // across the 64-bit word
    QVERIFY(dec("-18446744073.709551616") < dec("-18446744073.709551615"));
    QCOMPARE(Decimal(5), dec("5.000"));
    QCOMPARE(dec("-0"), Decimal(0));
    QVERIFY(dec("1.5") != dec("-1.5"));
    QVERIFY(dec("2") >= dec("2.000"));
    QVERIFY(dec("-2") <= dec("-2"));
    QCOMPARE(Decimal(-3) <=> Decimal(-3), std::strong_ordering::equal);
    QCOMPARE(Decimal(-3) <=> Decimal(3), std::strong_ordering::less);
    QCOMPARE(Decimal(3) <=> Decimal(-3), std::strong_ordering::greater);
}

#ifdef __SIZEOF_INT128__
namespace {

// An independent reference built on the compiler's 128-bit integers (test only).
__extension__ typedef unsigned __int128 u128;

u128 pow10(int k) {
    u128 v = 1;
    while (k-- > 0)
        v *= 10;
    return v;
}

const u128 kLimit = pow10(38);
const u128 kUnit = pow10(12);

struct U256 {
    u128 hi = 0;
    u128 lo = 0;
};

U256 mulFull(u128 a, u128 b) {
    const u128 m = ~static_cast<std::uint64_t>(0);
    const u128 a0 = a & m, a1 = a >> 64, b0 = b & m, b1 = b >> 64;
    const u128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const u128 mid = (p00 >> 64) + (p01 & m) + (p10 & m);
    return {p11 + (p01 >> 64) + (p10 >> 64) + (mid >> 64), (mid << 64) | (p00 & m)};
}

// Bit-by-bit long division of a 256-bit value by d < 2^127; rounds half away from zero.
// Returns false when the quotient does not fit below 10^38.
bool divRound(U256 n, u128 d, u128& q) {
    U256 quotient;
    u128 r = 0;
    for (int i = 255; i >= 0; --i) {
        const u128 bit = i >= 128 ? (n.hi >> (i - 128)) & 1 : (n.lo >> i) & 1;
        r = (r << 1) | bit;
        if (r >= d) {
            r -= d;
            if (i >= 128)
                quotient.hi |= static_cast<u128>(1) << (i - 128);
            else
                quotient.lo |= static_cast<u128>(1) << i;
        }
    }
    if (quotient.hi != 0)
        return false;
    q = quotient.lo;
    if (r >= d - r)
        ++q;
    return q < kLimit;
}

std::string unitsText(bool negative, u128 units) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(units % 10)));
        units /= 10;
    } while (units != 0);
    while (digits.size() < 13)
        digits.insert(digits.begin(), '0');
    digits.insert(digits.size() - 12, 1, '.');
    if (negative && digits.find_first_not_of("0.") != std::string::npos)
        digits.insert(digits.begin(), '-');
    return digits;
}

struct Ref {
    bool negative = false;
    u128 units = 0;
};

Decimal toDecimal(const Ref& r) {
    const auto d = Decimal::parse(unitsText(r.negative, r.units));
    if (!d)
        qFatal("reference value does not parse");
    return *d;
}

} // namespace

void TestDecimal::randomCrossCheck() {
    std::mt19937_64 rng(20261207);
    auto randomRef = [&]() {
        const int digits = static_cast<int>(rng() % 39);
        const u128 raw = (static_cast<u128>(rng()) << 64) | rng();
        Ref r;
        r.units = raw % pow10(digits);
        if (rng() % 50 == 0)
            r.units = kLimit - 1; // the largest magnitude now and then
        r.negative = (rng() & 1) != 0 && r.units != 0;
        return r;
    };
    int checked = 0;
    for (int i = 0; i < 4000; ++i) {
        const Ref a = randomRef();
        const Ref b = randomRef();
        const Decimal da = toDecimal(a);
        const Decimal db = toDecimal(b);
        const QByteArray context = QByteArray("a=") + unitsText(a.negative, a.units).c_str() +
                                   " b=" + unitsText(b.negative, b.units).c_str();

        // Sum and difference.
        for (int sub = 0; sub < 2; ++sub) {
            const bool bNeg = sub ? !b.negative : b.negative;
            Ref s;
            if (a.negative == bNeg) {
                s = {a.negative, a.units + b.units};
            } else if (a.units >= b.units) {
                s = {a.negative, a.units - b.units};
            } else {
                s = {bNeg, b.units - a.units};
            }
            if (s.units >= kLimit) {
                QVERIFY_THROWS_EXCEPTION(DecimalOverflow, sub ? da - db : da + db);
            } else {
                QVERIFY2((sub ? da - db : da + db) == toDecimal(s), context.constData());
            }
        }

        // Product, rounded half away to 12 places.
        {
            const U256 p = mulFull(a.units, b.units);
            u128 q = 0;
            if (!divRound(p, kUnit, q))
                QVERIFY_THROWS_EXCEPTION(DecimalOverflow, da * db);
            else
                QVERIFY2(da * db == toDecimal({a.negative != b.negative, q}), context.constData());
        }

        // Quotient.
        if (b.units == 0) {
            QVERIFY_THROWS_EXCEPTION(DivisionByZero, da / db);
        } else {
            const U256 n = mulFull(a.units, kUnit);
            u128 q = 0;
            if (!divRound(n, b.units, q))
                QVERIFY_THROWS_EXCEPTION(DecimalOverflow, da / db);
            else
                QVERIFY2(da / db == toDecimal({a.negative != b.negative, q}), context.constData());
        }

        // Rounding and truncation at a random number of places.
        {
            const int places = static_cast<int>(rng() % 13);
            const u128 step = pow10(12 - places);
            const u128 rem = a.units % step;
            const u128 down = a.units - rem;
            QVERIFY2(da.truncated(places) == toDecimal({a.negative, down}), context.constData());
            const u128 up = rem >= step - rem ? down + step : down;
            if (up >= kLimit)
                QVERIFY_THROWS_EXCEPTION(DecimalOverflow, da.rounded(places));
            else
                QVERIFY2(da.rounded(places) == toDecimal({a.negative, up}), context.constData());
        }

        // Ordering.
        const auto signedLess = [](const Ref& x, const Ref& y) {
            if (x.negative != y.negative)
                return x.negative;
            return x.negative ? x.units > y.units : x.units < y.units;
        };
        QCOMPARE(da < db, signedLess(a, b));
        QCOMPARE(da == db, a.negative == b.negative && a.units == b.units);
        ++checked;
    }
    QCOMPARE(checked, 4000);
}
#else
void TestDecimal::randomCrossCheck() {
    QSKIP("needs the compiler's 128-bit integers for the reference");
}
#endif

QAV_TEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"
