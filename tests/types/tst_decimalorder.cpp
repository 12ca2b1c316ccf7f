// Decimal texts compared by value, and conditions over decimal fields turned into comparisons by
// value.
#include "store/core/DecimalCollation.h"
#include "store/core/DecimalCondition.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;

class TestDecimalOrder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void compareByValue_data();
    void compareByValue();
    void conditionComparesDecimalsByValue_data();
    void conditionComparesDecimalsByValue();
};

void TestDecimalOrder::compareByValue_data() {
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("more integer digits") << QByteArray("10.00") << QByteArray("9.50") << 1;
    QTest::newRow("hundred and two") << QByteArray("100.00") << QByteArray("2.00") << 1;
    QTest::newRow("scales differ, value equal") << QByteArray("2.5") << QByteArray("2.50") << 0;
    QTest::newRow("whole and point zero") << QByteArray("10") << QByteArray("10.000") << 0;
    QTest::newRow("minus zero") << QByteArray("-0") << QByteArray("0.00") << 0;
    QTest::newRow("minus zero with places") << QByteArray("-0.000") << QByteArray("0") << 0;
    QTest::newRow("negative below zero") << QByteArray("-0.01") << QByteArray("0") << -1;
    QTest::newRow("larger negative is smaller") << QByteArray("-10") << QByteArray("-9.99") << -1;
    QTest::newRow("negatives, scales differ") << QByteArray("-2.5") << QByteArray("-2.50") << 0;
    QTest::newRow("last place decides") << QByteArray("1234.5678") << QByteArray("1234.5679") << -1;
    QTest::newRow("leading zeros") << QByteArray("007.5") << QByteArray("7.50") << 0;
    QTest::newRow("fraction continues") << QByteArray("1.5") << QByteArray("1.51") << -1;
    QTest::newRow("negative fractions") << QByteArray("-0.5") << QByteArray("-0.05") << -1;
    QTest::newRow("point without fraction") << QByteArray("5.") << QByteArray("5") << 0;
    QTest::newRow("small fractions") << QByteArray("0.05") << QByteArray("0.5") << -1;
    QTest::newRow("no leading digit") << QByteArray(".5") << QByteArray("0.5") << 0;
    QTest::newRow("plus sign") << QByteArray("+3") << QByteArray("3.0") << 0;
    QTest::newRow("exponent form") << QByteArray("1e+20") << QByteArray("99999999999999999999.99") << 1;
    QTest::newRow("negative exponent") << QByteArray("2.5e-3") << QByteArray("0.0025") << 0;
    // Beyond any double's precision: the texts differ only in the 30th digit.
    QTest::newRow("thirty digits") << QByteArray("123456789012345678901234567891")
                                   << QByteArray("123456789012345678901234567890") << 1;
    QTest::newRow("spaces around") << QByteArray(" 5 ") << QByteArray("5.00") << 0;
    QTest::newRow("not a number after numbers") << QByteArray("abc") << QByteArray("999") << 1;
    QTest::newRow("empty after numbers") << QByteArray("") << QByteArray("-1") << 1;
    QTest::newRow("two non-numbers by bytes") << QByteArray("abc") << QByteArray("abd") << -1;
    QTest::newRow("broken exponent is not a number") << QByteArray("1e") << QByteArray("1") << 1;
}

void TestDecimalOrder::compareByValue() {
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, expected);
    QCOMPARE(compareDecimalText(a.toStdString(), b.toStdString()), expected);
    QCOMPARE(compareDecimalText(b.toStdString(), a.toStdString()), -expected);
}

void TestDecimalOrder::conditionComparesDecimalsByValue_data() {
    QTest::addColumn<QByteArray>("condition");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray by = QByteArray(" COLLATE ") + kDecimalCollation;
    QTest::newRow("bare name") << QByteArray("PRECO > 5") << "PRECO" + by + " > 5";
    QTest::newRow("quoted, lower case, twice")
        << QByteArray("\"preco\" BETWEEN ? AND PREC2") << "\"preco\"" + by + " BETWEEN ? AND PREC2" + by;
    QTest::newRow("text literal untouched")
        << QByteArray("NOME = 'PRECO > 5' AND PRECO = 0") << "NOME = 'PRECO > 5' AND PRECO" + by + " = 0";
    QTest::newRow("quote inside literal")
        << QByteArray("NOME = 'it''s PRECO'") << QByteArray("NOME = 'it''s PRECO'");
    QTest::newRow("named parameter untouched") << QByteArray("ID = :PRECO") << QByteArray("ID = :PRECO");
    QTest::newRow("other fields untouched")
        << QByteArray("ID > 5 AND NOME LIKE ?") << QByteArray("ID > 5 AND NOME LIKE ?");
    QTest::newRow("longer names untouched")
        << QByteArray("PRECO_PADRAO = 1") << QByteArray("PRECO_PADRAO = 1");
    QTest::newRow("qualified column") << QByteArray("produto.PRECO>1e-2") << "produto.PRECO" + by + ">1e-2";
    QTest::newRow("inside a function") << QByteArray("abs(PRECO) < 1") << "abs(PRECO" + by + ") < 1";
    QTest::newRow("comment untouched") << QByteArray("ID = 1 -- PRECO\n") << QByteArray("ID = 1 -- PRECO\n");
}

void TestDecimalOrder::conditionComparesDecimalsByValue() {
    QFETCH(QByteArray, condition);
    QFETCH(QByteArray, expected);
    const TableDef* produto = findTable("produto");
    QVERIFY(produto);
    QCOMPARE(QByteArray::fromStdString(withDecimalOrder(*produto, condition.toStdString())), expected);
}

QAV_TEST_GUILESS_MAIN(TestDecimalOrder)
#include "tst_decimalorder.moc"
