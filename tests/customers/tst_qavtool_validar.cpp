// qavtool validar, run as a separate process: single values, the batch form and the exit statuses.
#include "tests/support/Programs.h"
#include "tests/support/TestMain.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString qavtoolPath() {
    return qav::test::programPath(QStringLiteral("qavtool"));
}

Run runQavtool(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(qavtoolPath(), arguments);
    Run run;
    if (!process.waitForStarted(10000))
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

class TestQavtoolValidar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void single_data();
    void single();
    void badUsage_data();
    void badUsage();
    void lote();
    void loteLastLineWithoutLineFeed();
    void loteEmptyInput();
    void loteManyLines();
};

void TestQavtoolValidar::initTestCase() {
    QVERIFY2(QFileInfo(qavtoolPath()).isExecutable(),
             qPrintable(QStringLiteral("build the qavtool target first: ") + qavtoolPath()));
}

void TestQavtoolValidar::single_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");
    const QByteArray valid = QByteArray("válido\n");
    const QByteArray invalid = QByteArray("inválido\n");
    auto row = [](const char* name, QStringList args, int code, const QByteArray& out) {
        QTest::newRow(name) << args << code << out;
    };
    row("cpf valid", {u"validar"_s, u"cpf"_s, u"111.444.777-35"_s}, 0, valid);
    row("cpf invalid", {u"validar"_s, u"cpf"_s, u"111.444.777-36"_s}, 1, invalid);
    row("cnpj valid", {u"validar"_s, u"cnpj"_s, u"11222333000181"_s}, 0, valid);
    row("cnpj alphanumeric", {u"validar"_s, u"cnpj"_s, u"12.ABC.345/01DE-35"_s}, 0, valid);
    row("cnpj invalid", {u"validar"_s, u"cnpj"_s, u"12.ABC.345/01DE-53"_s}, 1, invalid);
    row("ie valid", {u"validar"_s, u"ie"_s, u"SP"_s, u"110.042.490.114"_s}, 0, valid);
    row("ie lower-case state", {u"validar"_s, u"ie"_s, u"mg"_s, u"062.307.904/0081"_s}, 0, valid);
    row("ie invalid", {u"validar"_s, u"ie"_s, u"SP"_s, u"110.042.490.115"_s}, 1, invalid);
    row("ie ISENTO", {u"validar"_s, u"ie"_s, u"SP"_s, u"ISENTO"_s}, 1, invalid);
    row("tipo in upper case", {u"validar"_s, u"CPF"_s, u"11144477735"_s}, 0, valid);
}

void TestQavtoolValidar::single() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    const Run run = runQavtool(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, output);
    QVERIFY(run.err.isEmpty());
}

void TestQavtoolValidar::badUsage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{u"validar"_s};
    QTest::newRow("unknown tipo") << QStringList{u"validar"_s, u"rg"_s, u"123"_s};
    QTest::newRow("cpf without value") << QStringList{u"validar"_s, u"cpf"_s};
    QTest::newRow("cpf with two values") << QStringList{u"validar"_s, u"cpf"_s, u"1"_s, u"2"_s};
    QTest::newRow("ie without state") << QStringList{u"validar"_s, u"ie"_s, u"110042490114"_s};
    QTest::newRow("ie unknown state") << QStringList{u"validar"_s, u"ie"_s, u"XX"_s, u"110042490114"_s};
    QTest::newRow("lote with arguments") << QStringList{u"validar"_s, u"--lote"_s, u"x"_s};
}

void TestQavtoolValidar::badUsage() {
    QFETCH(QStringList, arguments);
    const Run run = runQavtool(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(!run.err.isEmpty());
}

void TestQavtoolValidar::lote() {
    const QByteArray input = "cpf\t-\t111.444.777-35\n"        // 1
                             "cpf\t-\t111.444.777-36\n"        // 0 wrong check digit
                             "cnpj\t-\t12.ABC.345/01DE-35\n"   // 1
                             "cnpj\t-\t11222333000182\r\n"     // 0, CR ignored
                             "cnpj\t-\t11222333000181\r\n"     // 1, CR ignored
                             "ie\tSP\tP-01100424.3/002\n"      // 1
                             "ie\tBA\t1234567-48\n"            // 1
                             "ie\tBA\t1234567-84\n"            // 0
                             "ie\tXX\t110042490114\n"          // 0 unknown state
                             "ie\tSP\tISENTO\n"                // 0
                             "rg\t-\t123456\n"                 // 0 unknown tipo
                             "cpf 111.444.777-35\n"            // 0 no tabs
                             "cpf\t111.444.777-35\n"           // 0 two columns
                             "cpf\t-\t111.444.777-35\textra\n" // 0 four columns
                             "\n"                              // 0 empty line
                             "CNPJ\tsp\t11.222.333/0001-81\n"; // 1 (state column not read for CNPJ)
    const Run run = runQavtool({u"validar"_s, u"--lote"_s}, input);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("1\n0\n1\n0\n1\n1\n1\n0\n0\n0\n0\n0\n0\n0\n0\n1\n"));
}

void TestQavtoolValidar::loteLastLineWithoutLineFeed() {
    const Run run = runQavtool({u"validar"_s, u"--lote"_s}, "ie\tRJ\t99.999.99-3\nie\tRJ\t99.999.99-3");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("1\n1\n"));
}

void TestQavtoolValidar::loteEmptyInput() {
    const Run run = runQavtool({u"validar"_s, u"--lote"_s});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
}

void TestQavtoolValidar::loteManyLines() {
    // Long input, with a line longer than the reading buffer, keeps one answer per line in order.
    QByteArray input;
    QByteArray expected;
    for (int i = 0; i < 20000; ++i) {
        const bool valid = i % 3 != 0;
        input += valid ? "cpf\t-\t529.982.247-25\n" : "cpf\t-\t529.982.247-26\n";
        expected += valid ? "1\n" : "0\n";
        if (i == 10000) {
            input += "cpf\t-\t" + QByteArray(10000, '1') + '\n';
            expected += "0\n";
        }
    }
    const Run run = runQavtool({u"validar"_s, u"--lote"_s}, input);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.size(), expected.size());
    QCOMPARE(run.out, expected);
}

QAV_TEST_GUILESS_MAIN(TestQavtoolValidar)
#include "tst_qavtool_validar.moc"
