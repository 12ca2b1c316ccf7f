// Day numbers of the date fields: known values, round trips, the three text forms and weekdays.
#include "store/core/Date.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;
using qav::Date;

namespace {
QString str(const std::string& s) {
    return QString::fromStdString(s);
}
bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
} // namespace

class TestDate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void knownDayNumbers_data();
    void knownDayNumbers();
    void nullDate();
    void roundTripEveryDay();
    void invalidYmd_data();
    void invalidYmd();
    void parse_data();
    void parse();
    void format();
    void weekday_data();
    void weekday();
    void arithmetic();
};

// Hand count: from 1801-01-01 (day 4) to 1 January of year Y there are (Y - 1801) * 365 days plus
// one per leap year in between. For 2026: 225 years, leap years 1804..2024 are 56 minus 1900 = 55,
// so 2026-01-01 is 4 + 82125 + 55 = 82184 and 2026-12-07 is 82184 + 334 (January to November) + 6.
void TestDate::knownDayNumbers_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("dayNumber");

    QTest::newRow("1801-01-01") << 1801 << 1 << 1 << 4;
    QTest::newRow("1801-12-31") << 1801 << 12 << 31 << 368; // 4 + 364
    // 1801..1899: 99 years, 24 leap years -> 1900-01-01 is 4 + 36135 + 24 = 36163; 1900 is not leap.
    QTest::newRow("1900-02-28") << 1900 << 2 << 28 << 36221;
    QTest::newRow("1900-03-01") << 1900 << 3 << 1 << 36222;
    // 1801..1999: 199 years, 48 leap years -> 2000-01-01 is 72687; 2000 is leap.
    QTest::newRow("2000-02-29") << 2000 << 2 << 29 << 72746;
    QTest::newRow("2000-03-01") << 2000 << 3 << 1 << 72747;
    QTest::newRow("2024-02-29") << 2024 << 2 << 29 << 81512;
    QTest::newRow("2026-01-01") << 2026 << 1 << 1 << 82184;
    QTest::newRow("2026-12-07") << 2026 << 12 << 7 << 82524;
    QTest::newRow("2026-12-31") << 2026 << 12 << 31 << 82548;
    // 1801..9999: 8199 years, 2049 years divisible by 4 less 61 non-leap centuries = 1988 leap days.
    QTest::newRow("9999-12-31") << 9999 << 12 << 31 << 2994626;
}

void TestDate::knownDayNumbers() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(int, dayNumber);
    const Date d = Date::fromYmd(year, month, day);
    QCOMPARE(d.dayNumber(), dayNumber);
    QVERIFY(d.isValid());
    const Date back(dayNumber);
    QCOMPARE(back.year(), year);
    QCOMPARE(back.month(), month);
    QCOMPARE(back.day(), day);
}

void TestDate::nullDate() {
    const Date none;
    QVERIFY(none.isNull());
    QVERIFY(!none.isValid());
    QCOMPARE(none.dayNumber(), 0);
    QCOMPARE(none.year(), 0);
    QCOMPARE(none.month(), 0);
    QCOMPARE(none.day(), 0);
    QCOMPARE(str(none.toBr()), QString());
    QCOMPARE(str(none.toIso()), QString());
    QCOMPARE(str(none.toServer()), QString());
    QCOMPARE(str(none.weekdayName()), QString());
    QCOMPARE(none.addDays(5), Date());
    // 28 December 1800 is day 0, so it cannot be a date.
    QVERIFY(Date::fromYmd(1800, 12, 28).isNull());
    QVERIFY(Date::fromYmd(1800, 12, 31).isNull());
    QVERIFY(!Date(-3).isValid());
    QCOMPARE(str(Date(-3).toBr()), QString());
}

void TestDate::roundTripEveryDay() {
    // Every day from 1801 to 2100 and the last years of the range, in order and without gaps.
    int expected = 4;
    int checked = 0;
    const auto walk = [&](int fromYear, int toYear) {
        for (int y = fromYear; y <= toYear; ++y) {
            int daysInYear = 0;
            for (int m = 1; m <= 12; ++m) {
                static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
                const int last = m == 2 && isLeap(y) ? 29 : kDays[m - 1];
                QVERIFY(Date::fromYmd(y, m, last + 1).isNull());
                for (int d = 1; d <= last; ++d) {
                    const Date date = Date::fromYmd(y, m, d);
                    if (expected != 0 && date.dayNumber() != expected)
                        QFAIL(qPrintable(u"%1-%2-%3 gave %4, expected %5"_s.arg(y)
                                             .arg(m)
                                             .arg(d)
                                             .arg(date.dayNumber())
                                             .arg(expected)));
                    if (date.year() != y || date.month() != m || date.day() != d)
                        QFAIL(qPrintable(u"day %1 did not read back as %2-%3-%4"_s.arg(date.dayNumber())
                                             .arg(y)
                                             .arg(m)
                                             .arg(d)));
                    const auto parsed = Date::fromBr(date.toBr());
                    if (!parsed || *parsed != date)
                        QFAIL(qPrintable(u"text round trip failed for "_s + str(date.toBr())));
                    if (expected != 0)
                        ++expected;
                    ++checked;
                    ++daysInYear;
                }
            }
            QCOMPARE(daysInYear, isLeap(y) ? 366 : 365);
        }
    };
    walk(1801, 2100);
    expected = 0; // not contiguous with the first range
    walk(9990, 9999);
    QCOMPARE(checked, 109573 + 3652);
    QCOMPARE(Date::fromYmd(9999, 12, 31).addDays(-3652 + 1), Date::fromYmd(9990, 1, 1));
}

void TestDate::invalidYmd_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::newRow("31 February") << 2026 << 2 << 31;
    QTest::newRow("29 February 1900") << 1900 << 2 << 29;
    QTest::newRow("29 February 2026") << 2026 << 2 << 29;
    QTest::newRow("31 April") << 2026 << 4 << 31;
    QTest::newRow("month 13") << 2026 << 13 << 1;
    QTest::newRow("month 0") << 2026 << 0 << 1;
    QTest::newRow("day 0") << 2026 << 1 << 0;
    QTest::newRow("negative day") << 2026 << 1 << -1;
    QTest::newRow("year 1800") << 1800 << 6 << 1;
    QTest::newRow("year 10000") << 10000 << 1 << 1;
    QTest::newRow("year 0") << 0 << 1 << 1;
}

void TestDate::invalidYmd() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QVERIFY(Date::fromYmd(year, month, day).isNull());
}

void TestDate::parse_data() {
    QTest::addColumn<char>("form"); // 'b' Brazilian, 'i' ISO, 's' server
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("dayNumber");

    QTest::newRow("br") << 'b' << u"07/12/2026"_s << true << 82524;
    QTest::newRow("br one-digit fields") << 'b' << u"7/12/2026"_s << true << 82524;
    QTest::newRow("br leap day 2000") << 'b' << u"29/02/2000"_s << true << 72746;
    QTest::newRow("br spaces") << 'b' << u" 07/12/2026 "_s << true << 82524;
    QTest::newRow("br blank") << 'b' << u"   "_s << true << 0;
    QTest::newRow("br empty") << 'b' << QString() << true << 0;
    QTest::newRow("br zeros") << 'b' << u"00/00/0000"_s << true << 0;
    QTest::newRow("br 31 February") << 'b' << u"31/02/2026"_s << false << 0;
    QTest::newRow("br 29 February 1900") << 'b' << u"29/02/1900"_s << false << 0;
    QTest::newRow("br month 13") << 'b' << u"01/13/2026"_s << false << 0;
    QTest::newRow("br letters") << 'b' << u"0a/12/2026"_s << false << 0;
    QTest::newRow("br sign") << 'b' << u"+7/12/2026"_s << false << 0;
    QTest::newRow("br two-digit year") << 'b' << u"07/12/26"_s << false << 0;
    QTest::newRow("br missing field") << 'b' << u"07/2026"_s << false << 0;
    QTest::newRow("br extra field") << 'b' << u"07/12/2026/1"_s << false << 0;
    QTest::newRow("br iso text") << 'b' << u"2026-12-07"_s << false << 0;
    QTest::newRow("br partly zero") << 'b' << u"00/12/2026"_s << false << 0;
    QTest::newRow("br before 1801") << 'b' << u"31/12/1800"_s << false << 0;
    QTest::newRow("br inner space") << 'b' << u"07/ 12/2026"_s << false << 0;
    QTest::newRow("iso") << 'i' << u"2026-12-07"_s << true << 82524;
    QTest::newRow("iso blank") << 'i' << u""_s << true << 0;
    QTest::newRow("iso zeros") << 'i' << u"0000-00-00"_s << true << 0;
    QTest::newRow("iso short month") << 'i' << u"2026-1-07"_s << false << 0;
    QTest::newRow("iso 31 February") << 'i' << u"2026-02-31"_s << false << 0;
    QTest::newRow("iso slashes") << 'i' << u"2026/12/07"_s << false << 0;
    QTest::newRow("iso with time") << 'i' << u"2026-12-07 10:00"_s << false << 0;
    QTest::newRow("server") << 's' << u"2026/12/07"_s << true << 82524;
    QTest::newRow("server leap day 2024") << 's' << u"2024/02/29"_s << true << 81512;
    QTest::newRow("server zeros") << 's' << u"0000/00/00"_s << true << 0;
    QTest::newRow("server Brazilian order") << 's' << u"07/12/2026"_s << false << 0;
    QTest::newRow("server month 13") << 's' << u"2026/13/01"_s << false << 0;
    QTest::newRow("server dashes") << 's' << u"2026-12-07"_s << false << 0;
}

void TestDate::parse() {
    QFETCH(char, form);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, dayNumber);
    const std::string t = text.toStdString();
    const auto d = form == 'b' ? Date::fromBr(t) : form == 'i' ? Date::fromIso(t) : Date::fromServer(t);
    QCOMPARE(d.has_value(), ok);
    if (ok)
        QCOMPARE(d->dayNumber(), dayNumber);
}

void TestDate::format() {
    const Date d(82524);
    QCOMPARE(str(d.toBr()), u"07/12/2026"_s);
    QCOMPARE(str(d.toIso()), u"2026-12-07"_s);
    QCOMPARE(str(d.toServer()), u"2026/12/07"_s);
    QCOMPARE(str(Date(4).toBr()), u"01/01/1801"_s);
    QCOMPARE(str(Date(2994626).toIso()), u"9999-12-31"_s);
    QCOMPARE(Date::fromIso(d.toIso()), std::optional<Date>(d));
    QCOMPARE(Date::fromServer(d.toServer()), std::optional<Date>(d));
}

void TestDate::weekday_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("weekday");
    QTest::addColumn<QString>("name");
    QTest::newRow("1801-01-01 Thursday") << u"01/01/1801"_s << 4 << u"Quinta-feira"_s;
    QTest::newRow("1900-03-01 Thursday") << u"01/03/1900"_s << 4 << u"Quinta-feira"_s;
    QTest::newRow("2000-02-29 Tuesday") << u"29/02/2000"_s << 2 << u"Terça-feira"_s;
    QTest::newRow("2000-03-01 Wednesday") << u"01/03/2000"_s << 3 << u"Quarta-feira"_s;
    QTest::newRow("2024-02-29 Thursday") << u"29/02/2024"_s << 4 << u"Quinta-feira"_s;
    QTest::newRow("2026-12-05 Saturday") << u"05/12/2026"_s << 6 << u"Sábado"_s;
    QTest::newRow("2026-12-06 Sunday") << u"06/12/2026"_s << 0 << u"Domingo"_s;
    QTest::newRow("2026-12-07 Monday") << u"07/12/2026"_s << 1 << u"Segunda-feira"_s;
    QTest::newRow("2026-12-11 Friday") << u"11/12/2026"_s << 5 << u"Sexta-feira"_s;
    QTest::newRow("9999-12-31 Friday") << u"31/12/9999"_s << 5 << u"Sexta-feira"_s;
}

void TestDate::weekday() {
    QFETCH(QString, date);
    QFETCH(int, weekday);
    QFETCH(QString, name);
    const auto d = Date::fromBr(date.toStdString());
    QVERIFY(d.has_value());
    QCOMPARE(d->dayOfWeek(), weekday);
    QCOMPARE(str(d->weekdayName()), name);
}

void TestDate::arithmetic() {
    const Date d = Date::fromYmd(2024, 2, 28);
    QCOMPARE(d.addDays(1), Date::fromYmd(2024, 2, 29));
    QCOMPARE(d.addDays(2), Date::fromYmd(2024, 3, 1));
    QCOMPARE(Date::fromYmd(2023, 2, 28).addDays(1), Date::fromYmd(2023, 3, 1));
    QCOMPARE(Date::fromYmd(2026, 12, 31).addDays(1), Date::fromYmd(2027, 1, 1));
    QCOMPARE(Date::fromYmd(2027, 1, 1).addDays(-1), Date::fromYmd(2026, 12, 31));
    QCOMPARE(Date::fromYmd(2025, 1, 1) - Date::fromYmd(2024, 1, 1), 366);
    QCOMPARE(Date::fromYmd(2026, 1, 1) - Date::fromYmd(2025, 1, 1), 365);
    QCOMPARE(Date::fromYmd(2001, 1, 1) - Date::fromYmd(1901, 1, 1), 36525); // 25 leap years, 2000 among them
    QCOMPARE(Date::fromYmd(1901, 1, 1) - Date::fromYmd(1801, 1, 1), 36524); // 24: 1900 is not leap
    QCOMPARE(Date::fromYmd(2026, 12, 7) - Date::fromYmd(2026, 12, 17), -10);
    QVERIFY(Date::fromYmd(2026, 12, 7) < Date::fromYmd(2026, 12, 8));
    QVERIFY(Date() < Date::fromYmd(1801, 1, 1));
    QCOMPARE(Date::fromYmd(2026, 12, 7).addDays(7).dayOfWeek(), 1);
}

QAV_TEST_GUILESS_MAIN(TestDate)
#include "tst_date.moc"
