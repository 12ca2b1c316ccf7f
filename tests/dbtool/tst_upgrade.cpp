// The upgrade tool: creating missing tables, carrying data over to a new structure, refusing bad
// files without touching them, and recording the folder's version.
#include "base/core/IniFile.h"
#include "dbtool/core/Converter.h"
#include "dbtool/core/TableCheck.h"
#include "store/core/Table.h"
#include "store/core/TableFile.h"
#include "tests/support/Programs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

using namespace qav;
using namespace qav::upgrade;

namespace {
bool execRaw(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK)
        qWarning("%s", message);
    sqlite3_free(message);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

QByteArray hashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

int versaoBd(const QString& folder) {
    return IniFile(QDir(folder).filePath(QStringLiteral("bd.ver")))
        .readInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD"), 0);
}

struct Run {
    ConversionResult result;
    QList<int> warnings;
};

Run convert(const QString& folder, int answer = 0) {
    Run run;
    ConverterHooks hooks;
    hooks.warning = [&run, answer](int number, const QString&) {
        run.warnings << number;
        return answer;
    };
    run.result = Converter(folder, hooks).run();
    return run;
}

QString qavbdPath() {
    return qav::test::programPath(QStringLiteral("qavbd"));
}
} // namespace

class TestUpgrade : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyFolderGetsEveryTable();
    void currentFolderIsLeftAlone();
    void oldPedidosKeepsFormerFieldValues();
    void peditensWithoutItemIdGetsConsecutiveIds();
    void valueThatDoesNotFitLeavesFileAsItWas();
    void garbageFileIsReportedAndKept_data();
    void garbageFileIsReportedAndKept();
    void damagedKeyIsRebuiltOnYes();
    void autoWithoutFolderConvertsDados();
    void killedUpgradeLeavesOldOrNew();
};

void TestUpgrade::emptyFolderGetsEveryTable() {
    QTemporaryDir dir;
    const Run run = convert(dir.path());
    QVERIFY(run.result.completed);
    QVERIFY(run.warnings.isEmpty());
    for (const TableDef& table : catalogue()) {
        StoreError error;
        QCOMPARE(checkTable(QDir(dir.path()).filePath(QString::fromLatin1(table.fileName)), table, &error),
                 CheckResult::Ok);
    }
    QCOMPARE(versaoBd(dir.path()), 186);
}

void TestUpgrade::currentFolderIsLeftAlone() {
    QTemporaryDir dir;
    QVERIFY(convert(dir.path()).result.completed);
    {
        Store store(dir.path());
        Table clientes(store, "clientes");
        QVERIFY(clientes.open());
        clientes.rec().setInteger("ID", 5);
        QCOMPARE(clientes.add(), Status::Ok);
    }
    const QByteArray before = hashOf(QDir(dir.path()).filePath(QStringLiteral("clientes.tps")));
    QVERIFY(convert(dir.path()).result.completed);
    QCOMPARE(hashOf(QDir(dir.path()).filePath(QStringLiteral("clientes.tps"))), before);
}

void TestUpgrade::oldPedidosKeepsFormerFieldValues() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("pedidos.tps"));
    QVERIFY(execRaw(path, "CREATE TABLE pedidos (ID INTEGER, NUMER INTEGER, FORMAPAG1 INTEGER, "
                          "ID_VENDEDOR INTEGER, TOTAL REAL, OBS TEXT, VL_ICMSST REAL);"
                          "INSERT INTO pedidos VALUES (1, 101, 7, 33, 150.25, 'primeiro', 1.5);"
                          "INSERT INTO pedidos VALUES (2, 102, 9, 34, 99.9, 'segundo', 0);"
                          "PRAGMA user_version = 12;"));
    const Run run = convert(dir.path());
    QVERIFY(run.result.completed);
    Store store(dir.path());
    Table pedidos(store, "pedidos");
    QVERIFY(pedidos.open());
    pedidos.rec().setInteger("ID", 1);
    QCOMPARE(pedidos.get("KEYID"), Status::Ok);
    QCOMPARE(pedidos.rec().integer("COD_FORMAPAG"), 7);
    QCOMPARE(pedidos.rec().integer("COD_VENDEDOR"), 33);
    QCOMPARE(pedidos.rec().integer("EXP_GERENTE"), 1); // new field with its initial value
    QCOMPARE(pedidos.rec().real("TOTAL"), 150.25);
    QCOMPARE(pedidos.rec().decimal("VL_ICMSST").toString(2), std::string("1.50"));
    QCOMPARE(pedidos.rec().text("OBS"), QStringLiteral("primeiro"));
    pedidos.rec().setInteger("NUMER", 102);
    QCOMPARE(pedidos.get("KEYNUMER"), Status::Ok);
    QCOMPARE(pedidos.rec().integer("COD_FORMAPAG"), 9);
}

void TestUpgrade::peditensWithoutItemIdGetsConsecutiveIds() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("peditens.tps"));
    QVERIFY(execRaw(path, "CREATE TABLE peditens (ID INTEGER, PRODU INTEGER, QTD TEXT, PRUNI TEXT, OBS TEXT);"
                          "INSERT INTO peditens VALUES (10, 1, '2', '12.5', 'a');"
                          "INSERT INTO peditens VALUES (10, 2, '1.5', '3.14159', 'b');"
                          "INSERT INTO peditens VALUES (11, 1, '4', '12.5', '');"));
    QVERIFY(convert(dir.path()).result.completed);
    Store store(dir.path());
    Table itens(store, "peditens");
    QVERIFY(itens.open());
    QCOMPARE(itens.seekFirst("KEYID_VENDASI"), Status::Ok);
    QStringList seen;
    while (itens.next() == Status::Ok)
        seen << QStringLiteral("%1:%2:%3:%4:%5")
                    .arg(itens.rec().integer("ID_VENDASI"))
                    .arg(itens.rec().integer("ID_VENDA"))
                    .arg(QString::fromStdString(itens.rec().decimal("VALOR_PRODUTO").toString(4)))
                    .arg(QString::fromStdString(itens.rec().decimal("PRUNI").toString(4)))
                    .arg(itens.rec().integer("STATUS"));
    QCOMPARE(seen,
             (QStringList{QStringLiteral("1:10:12.5000:12.5000:1"), QStringLiteral("2:10:3.1416:3.1416:1"),
                          QStringLiteral("3:11:12.5000:12.5000:1")}));
}

void TestUpgrade::valueThatDoesNotFitLeavesFileAsItWas() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("produto.tps"));
    // DESC_MAX is decimal(7,2): 123456.00 needs six integer digits.
    QVERIFY(execRaw(path, "CREATE TABLE produto (ID INTEGER, NOME TEXT, DESC_MAX TEXT);"
                          "INSERT INTO produto VALUES (1, 'bom', '10');"
                          "INSERT INTO produto VALUES (2, 'grande', '123456');"));
    const QByteArray before = hashOf(path);
    const Run run = convert(dir.path());
    QVERIFY(!run.result.completed);
    QCOMPARE(run.warnings, QList<int>{1});
    QCOMPARE(run.result.endText, QStringLiteral("Invalid File!"));
    QCOMPARE(hashOf(path), before);
    QCOMPARE(versaoBd(dir.path()), 0);
}

void TestUpgrade::garbageFileIsReportedAndKept_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("garbage") << QByteArray(10000, '\x5a');
    QTest::newRow("truncated table file") << QByteArray("SQLite format 3\0", 16) + QByteArray(84, '\0');
    QTest::newRow("text file") << QByteArray("isto não é uma tabela\n");
}

void TestUpgrade::garbageFileIsReportedAndKept() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("clientes.tps"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const QByteArray before = hashOf(path);
    const Run run = convert(dir.path());
    QCOMPARE(run.warnings, QList<int>{30});
    QCOMPARE(run.result.endText, QStringLiteral("Disk Error"));
    QCOMPARE(hashOf(path), before);
    QCOMPARE(versaoBd(dir.path()), 0);

    // Another program's database: its tables are not ours and the file is not touched.
    QFile::remove(path);
    QVERIFY(execRaw(path, "CREATE TABLE agenda (nome TEXT); INSERT INTO agenda VALUES ('x');"));
    const QByteArray foreign = hashOf(path);
    const Run again = convert(dir.path());
    QCOMPARE(again.warnings, QList<int>{30});
    QCOMPARE(hashOf(path), foreign);
}

void TestUpgrade::damagedKeyIsRebuiltOnYes() {
    QTemporaryDir dir;
    QVERIFY(convert(dir.path()).result.completed);
    const QString path = QDir(dir.path()).filePath(QStringLiteral("municip.tps"));
    // Take the name key out of the schema, add records (the key is not kept up), and put it back:
    // the key no longer matches the records.
    QVERIFY(execRaw(path, "PRAGMA writable_schema = ON;"
                          "CREATE TABLE saved AS SELECT * FROM sqlite_master WHERE name = 'municip_KEYNOME';"
                          "DELETE FROM sqlite_master WHERE name = 'municip_KEYNOME';"));
    QVERIFY(execRaw(path, "INSERT INTO municip (ID, NOME, _ci_NOME) VALUES (1, 'Curitiba', 'CURITIBA'), "
                          "(2, 'Londrina', 'LONDRINA');"));
    QVERIFY(execRaw(path, "PRAGMA writable_schema = ON;"
                          "INSERT INTO sqlite_master SELECT * FROM saved; DROP TABLE saved;"));
    StoreError error;
    QCOMPARE(checkTable(path, *findTable("municip"), &error), CheckResult::InvalidKeyFile);
    const Run refused = convert(dir.path(), 0);
    QCOMPARE(refused.warnings, QList<int>{2});
    QCOMPARE(refused.result.endText, QStringLiteral("Invalid Key!"));
    const Run run = convert(dir.path(), 2);
    QCOMPARE(run.warnings, QList<int>{2});
    QVERIFY(run.result.completed);
    Store store(dir.path());
    Table municip(store, "municip");
    QVERIFY(municip.open());
    municip.rec().setText("NOME", QStringLiteral("londrina"));
    QCOMPARE(municip.get("KEYNOME"), Status::Ok);
    QCOMPARE(municip.rec().integer("ID"), 2);
}

void TestUpgrade::autoWithoutFolderConvertsDados() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("pgms")));
    QProcess qavbd;
    qavbd.setWorkingDirectory(QDir(dir.path()).filePath(QStringLiteral("pgms")));
    qavbd.start(qavbdPath(), {QStringLiteral("auto")});
    QVERIFY(qavbd.waitForFinished(60000));
    QCOMPARE(qavbd.exitCode(), 0);
    const QString dados = QDir(dir.path()).filePath(QStringLiteral("dados"));
    QCOMPARE(QDir(dados).entryList({QStringLiteral("*.tps")}, QDir::Files).size(), 28);
    QCOMPARE(versaoBd(dados), 186);
    // A named folder, and a name longer than 20 characters refused.
    qavbd.start(qavbdPath(), {QStringLiteral("auto"), QStringLiteral("filial2")});
    QVERIFY(qavbd.waitForFinished(60000));
    QCOMPARE(qavbd.exitCode(), 0);
    QCOMPARE(versaoBd(QDir(dir.path()).filePath(QStringLiteral("filial2"))), 186);
    qavbd.start(qavbdPath(), {QStringLiteral("auto"), QString(21, u'x')});
    QVERIFY(qavbd.waitForFinished(60000));
    QCOMPARE(qavbd.exitCode(), 2);
}

void TestUpgrade::killedUpgradeLeavesOldOrNew() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("pgms")));
    const QString dados = QDir(dir.path()).filePath(QStringLiteral("dados"));
    QVERIFY(QDir().mkpath(dados));
    const QString path = QDir(dados).filePath(QStringLiteral("pauxpro.tps"));
    const int rows = 150000;
    QVERIFY(execRaw(
        path,
        qPrintable(QStringLiteral(
                       "CREATE TABLE pauxpro (ID_PAUTA INTEGER, ID_PROD INTEGER, PRECO1 TEXT, MARGE TEXT);"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                       "INSERT INTO pauxpro SELECT 10001, i, i || '.5', '12.5' FROM n;")
                       .arg(rows))));
    int upgraded = 0;
    for (int round = 0; round < 4 && upgraded == 0; ++round) {
        QProcess qavbd;
        qavbd.setWorkingDirectory(QDir(dir.path()).filePath(QStringLiteral("pgms")));
        qavbd.start(qavbdPath(), {QStringLiteral("auto")});
        QVERIFY(qavbd.waitForStarted());
        QTest::qWait(150 + round * 400);
        qavbd.kill();
        qavbd.waitForFinished();
        StoreError error;
        const CheckResult check = checkTable(path, *findTable("pauxpro"), &error);
        QVERIFY2(check == CheckResult::Ok || check == CheckResult::StructureDiffers, qPrintable(error.text));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM pauxpro", -1, &statement, nullptr);
        QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(statement, 0), rows); // old or new structure, never fewer rows
        sqlite3_finalize(statement);
        sqlite3_close(db);
        upgraded += check == CheckResult::Ok ? 1 : 0;
    }
    // Whatever happened, a run to the end converts the file with every value.
    QVERIFY(convert(dados).result.completed);
    Store store(dados);
    Table pauxpro(store, "pauxpro");
    QVERIFY(pauxpro.open());
    QCOMPARE(pauxpro.count(), rows);
    pauxpro.rec().setInteger("ID_PROD", 777);
    pauxpro.rec().setInteger("ID_PAUTA", 10001);
    QCOMPARE(pauxpro.get("KEYPRODUTO"), Status::Ok);
    QCOMPARE(pauxpro.rec().decimal("PRECO1").toString(4), std::string("777.5000"));
    QCOMPARE(pauxpro.rec().decimal("TAXA_MARGEM1").toString(5), std::string("12.50000"));
}

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
