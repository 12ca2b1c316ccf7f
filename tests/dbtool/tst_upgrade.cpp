// The upgrade tool: creating missing tables, carrying data over to a new structure, refusing bad
// files without touching them, and recording the folder's version.
#include "base/core/FolderName.h"
#include "base/core/IniFile.h"
#include "base/core/Version.h"
#include "dbtool/core/Converter.h"
#include "dbtool/core/TableCheck.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "store/core/TableFile.h"
#include "tests/support/Programs.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
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
    hooks.warning = [&run, answer](Aviso aviso, const StoreError&, const QString&) {
        run.warnings << static_cast<int>(aviso);
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
    void keysOfAnOlderBuildAreFoldedAgain();
    void peditensWithoutItemIdGetsConsecutiveIds();
    void valueThatDoesNotFitLeavesFileAsItWas();
    void garbageFileIsReportedAndKept_data();
    void garbageFileIsReportedAndKept();
    void damagedKeyIsRebuiltOnYes();
    void autoWithoutFolderConvertsDados();
    void killedUpgradeLeavesOldOrNew();
    void singleFieldBecomingAnArrayKeepsItsValue_data();
    void singleFieldBecomingAnArrayKeepsItsValue();
    void cutAndRefusedValuesAreLogged();
    void caseInsensitiveUniqueKeyIsFilledWhileCopying();
    void failedTableDoesNotStopTheOthers();
    void storeRefusesATableNotCurrentNamingIt_data();
    void storeRefusesATableNotCurrentNamingIt();
    void qavbdRefusesWhatIsNotAPlainFolderName_data();
    void qavbdRefusesWhatIsNotAPlainFolderName();
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
    QCOMPARE(versaoBd(dir.path()), versaoBdRequerida);
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

void TestUpgrade::keysOfAnOlderBuildAreFoldedAgain() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("municip.tps"));
    // municip.tps as the builds up to database version 186 wrote it: the name key's shadow column
    // declared TEXT and holding only the upper case, accents and all.
    QVERIFY(execRaw(
        path,
        "CREATE TABLE \"municip\" (\"ID\" INT32 NOT NULL DEFAULT 0, \"COD_RAIS\" INT32 NOT NULL DEFAULT 0, "
        "\"CODIGO\" INT32 NOT NULL DEFAULT 0, \"NOME\" CHAR(30) NOT NULL DEFAULT '', "
        "\"ESTADO\" CHAR(2) NOT NULL DEFAULT '', \"ID_REGIAO\" INT32 NOT NULL DEFAULT 0, "
        "\"CST_FRETE_M3\" DECIMAL_TEXT(11,2) NOT NULL DEFAULT '0', \"_ci_NOME\" TEXT NOT NULL DEFAULT '', "
        "\"_rev\" INTEGER NOT NULL DEFAULT 1, \"_hold\" TEXT NOT NULL DEFAULT '');"
        "CREATE UNIQUE INDEX \"municip_KEYID\" ON \"municip\" (\"ID\") WHERE (NOT (\"ID\" = 0));"
        "CREATE INDEX \"municip_KEYCOD_RAIS\" ON \"municip\" (\"COD_RAIS\") WHERE (NOT (\"COD_RAIS\" = 0));"
        "CREATE INDEX \"municip_KEYCODIGO\" ON \"municip\" (\"CODIGO\") WHERE (NOT (\"CODIGO\" = 0));"
        "CREATE INDEX \"municip_KEYNOME\" ON \"municip\" (\"_ci_NOME\") WHERE (NOT (\"NOME\" = ''));"
        "CREATE INDEX \"municip_KEYID_REGIAO\" ON \"municip\" (\"ID_REGIAO\") WHERE (NOT (\"ID_REGIAO\" = "
        "0));"
        "INSERT INTO municip (ID, NOME, ESTADO, CST_FRETE_M3, _ci_NOME) VALUES "
        "(1, 'Sorocaba', 'SP', '12.50', 'SOROCABA'), (2, 'São Paulo', 'SP', '10.00', 'SÃO PAULO'), "
        "(3, 'Santos', 'SP', '0.00', 'SANTOS'), (4, 'São Carlos', 'SP', '0.00', 'SÃO CARLOS');"
        "PRAGMA user_version = 102;"));
    QVERIFY(IniFile(QDir(dir.path()).filePath(QStringLiteral("bd.ver")))
                .writeInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD"), 186));
    StoreError error;
    QCOMPARE(checkTable(path, *findTable("municip"), &error), CheckResult::StructureDiffers);
    {
        Store store(dir.path());
        Table municip(store, "municip");
        QVERIFY(!municip.open()); // the program does not work on keys of the older form
        QCOMPARE(municip.error().code, ErrorCode::StructureMismatch);
    }

    const Run run = convert(dir.path());
    QVERIFY(run.result.completed);
    QVERIFY(run.warnings.isEmpty());
    QCOMPARE(checkTable(path, *findTable("municip"), &error), CheckResult::Ok);
    QCOMPARE(versaoBd(dir.path()), versaoBdRequerida);
    Store store(dir.path());
    Table municip(store, "municip");
    QVERIFY(municip.open());
    QCOMPARE(municip.seekFirst("KEYNOME"), Status::Ok);
    QStringList nomes;
    while (municip.next() == Status::Ok)
        nomes << municip.rec().text("NOME");
    QCOMPARE(nomes, (QStringList{QStringLiteral("Santos"), QStringLiteral("São Carlos"),
                                 QStringLiteral("São Paulo"), QStringLiteral("Sorocaba")}));
    municip.clear();
    municip.rec().setText("NOME", QStringLiteral("SÃO PAULO"));
    QCOMPARE(municip.get("KEYNOME"), Status::Ok);
    QCOMPARE(municip.rec().integer("ID"), 2);
    QCOMPARE(municip.rec().decimal("CST_FRETE_M3").toString(2), std::string("10.00"));
    municip.clear();
    municip.rec().setText("NOME", QStringLiteral("Sao Paulo")); // another spelling, another name
    QCOMPARE(municip.get("KEYNOME"), Status::NotFound);
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
    QCOMPARE(QDir(dados).entryList({QStringLiteral("*.tps")}, QDir::Files).size(), 29);
    QCOMPARE(versaoBd(dados), versaoBdRequerida);
    // A named folder, and a name longer than 20 characters refused.
    qavbd.start(qavbdPath(), {QStringLiteral("auto"), QStringLiteral("filial2")});
    QVERIFY(qavbd.waitForFinished(60000));
    QCOMPARE(qavbd.exitCode(), 0);
    QCOMPARE(versaoBd(QDir(dir.path()).filePath(QStringLiteral("filial2"))), versaoBdRequerida);
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
    for (int round = 0; round < 2 && upgraded == 0; ++round) {
        QProcess qavbd;
        qavbd.setWorkingDirectory(QDir(dir.path()).filePath(QStringLiteral("pgms")));
        qavbd.start(qavbdPath(), {QStringLiteral("auto")});
        QVERIFY(qavbd.waitForStarted());
        // Killed while it rewrites the price table: its rollback journal is there from the first
        // change of the upgrade's transaction until the commit.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFile::exists(path + QStringLiteral("-journal")) || qavbd.state() == QProcess::NotRunning, 60000);
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

void TestUpgrade::singleFieldBecomingAnArrayKeepsItsValue_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("elements");
    QTest::newRow("text") << QStringLiteral("PRINC_PRODU") << QStringLiteral("'parafusos'")
                          << QStringList{QStringLiteral("parafusos"), QString(), QString()};
    QTest::newRow("number") << QStringLiteral("PERC_VENDAS") << QStringLiteral("40")
                            << QStringList{QStringLiteral("40"), QStringLiteral("0"), QStringLiteral("0")};
    QTest::newRow("blank") << QStringLiteral("PRINC_PRODU") << QStringLiteral("''")
                           << QStringList{QString(), QString(), QString()};
    QTest::newRow("no value") << QStringLiteral("PERC_VENDAS") << QStringLiteral("NULL")
                              << QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
}

void TestUpgrade::singleFieldBecomingAnArrayKeepsItsValue() {
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QStringList, elements);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("clientes.tps"));
    QVERIFY(execRaw(path, qPrintable(QStringLiteral("CREATE TABLE clientes (ID INTEGER, NOME TEXT, %1 TEXT);"
                                                    "INSERT INTO clientes VALUES (1, 'Ferragens', %2);")
                                         .arg(field, stored))));
    QVERIFY(convert(dir.path()).result.completed);
    Store store(dir.path());
    Table clientes(store, "clientes");
    QVERIFY(clientes.open());
    clientes.rec().setInteger("ID", 1);
    QCOMPARE(clientes.get("KEYID"), Status::Ok);
    const bool text = field == QLatin1String("PRINC_PRODU");
    QStringList seen;
    for (int e = 0; e < 3; ++e)
        seen << (text ? clientes.rec().text(field.toStdString(), e)
                      : QString::number(clientes.rec().integer(field.toStdString(), e)));
    QCOMPARE(seen, elements);
    QCOMPARE(clientes.rec().text("NOME"), QStringLiteral("Ferragens"));
}

void TestUpgrade::cutAndRefusedValuesAreLogged() {
    Clock::setOverride([] { return DateTimeParts{Date::fromYmd(2026, 3, 5), 14, 30, 7}; });
    QTemporaryDir dir;
    // NOME is text(40): the longer name is cut, and the table converts.
    const QString longName = QStringLiteral("Comercial de Ferragens e Parafusos do Paraná Ltda");
    QVERIFY(execRaw(QDir(dir.path()).filePath(QStringLiteral("clientes.tps")),
                    qPrintable(QStringLiteral("CREATE TABLE clientes (ID INTEGER, NOME TEXT);"
                                              "INSERT INTO clientes VALUES (7, '%1');"
                                              "INSERT INTO clientes VALUES (8, 'Curto');")
                                   .arg(longName))));
    // DESC_MAX is decimal(7,2): both large numbers are refused, and the table keeps its old structure.
    QVERIFY(execRaw(QDir(dir.path()).filePath(QStringLiteral("produto.tps")),
                    "CREATE TABLE produto (ID INTEGER, CODIGO TEXT, NOME TEXT, DESC_MAX TEXT);"
                    "INSERT INTO produto VALUES (1, 'P1', 'bom', '10');"
                    "INSERT INTO produto VALUES (2, 'P2', 'grande', '123456');"
                    "INSERT INTO produto VALUES (3, 'P3', 'maior', '7654321.5');"));
    const Run run = convert(dir.path());
    Clock::setOverride({});
    QVERIFY(!run.result.completed);
    const QString logPath = QDir(dir.path()).filePath(QStringLiteral("qavbd.log"));
    QCOMPARE(run.result.logFile, logPath);
    QCOMPARE(run.result.loggedValues, 3);
    QVERIFY(finalText(run.result).contains(QDir::toNativeSeparators(logPath)));

    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    log.close();
    QCOMPARE(lines.size(), 3);
    for (const QString& line : lines)
        QVERIFY2(line.startsWith(QStringLiteral("2026-03-05 14:30:07")), qPrintable(line));
    const auto lineWith = [&lines](const QStringList& parts) {
        for (const QString& line : lines)
            if (std::all_of(parts.begin(), parts.end(),
                            [&line](const QString& p) { return line.contains(p); }))
                return true;
        return false;
    };
    QVERIFY(lineWith({QStringLiteral("clientes.tps"), QStringLiteral("ID=7"), QStringLiteral("NOME"),
                      longName, QStringLiteral("cortado")}));
    QVERIFY(lineWith({QStringLiteral("produto.tps"), QStringLiteral("ID=2"), QStringLiteral("DESC_MAX"),
                      QStringLiteral("123456"), QStringLiteral("recusado")}));
    QVERIFY(lineWith({QStringLiteral("produto.tps"), QStringLiteral("ID=3"), QStringLiteral("DESC_MAX"),
                      QStringLiteral("7654321.5"), QStringLiteral("recusado")}));

    // The converted customer holds the cut name; the next run appends what it refuses again.
    {
        Store store(dir.path());
        Table clientes(store, "clientes");
        QVERIFY(clientes.open());
        clientes.rec().setInteger("ID", 7);
        QCOMPARE(clientes.get("KEYID"), Status::Ok);
        QCOMPARE(clientes.rec().text("NOME"), longName.left(40));
    }
    const Run again = convert(dir.path());
    QCOMPARE(again.result.loggedValues, 2);
    QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts).size(), 5);

    // A run that cuts and refuses nothing names no log.
    QTemporaryDir clean;
    const Run quiet = convert(clean.path());
    QCOMPARE(quiet.result.loggedValues, 0);
    QVERIFY(finalText(quiet.result).isEmpty());
    QVERIFY(!QFile::exists(QDir(clean.path()).filePath(QStringLiteral("qavbd.log"))));
}

void TestUpgrade::caseInsensitiveUniqueKeyIsFilledWhileCopying() {
    QTemporaryDir dir;
    // Products are unique by code without regard to case: the copy must key every record by its own
    // code, not by a blank one.
    QVERIFY(execRaw(QDir(dir.path()).filePath(QStringLiteral("produto.tps")),
                    "CREATE TABLE produto (ID INTEGER, CODIGO TEXT, NOME TEXT);"
                    "INSERT INTO produto VALUES (1, 'Par-10', 'Parafuso 10');"
                    "INSERT INTO produto VALUES (2, 'Par-12', 'Parafuso 12');"
                    "INSERT INTO produto VALUES (3, 'Porca', 'Porca');"));
    const Run run = convert(dir.path());
    QVERIFY(run.warnings.isEmpty());
    QVERIFY(run.result.completed);
    Store store(dir.path());
    Table produto(store, "produto");
    QVERIFY(produto.open());
    QCOMPARE(produto.count(), 3);
    produto.rec().setText("CODIGO", QStringLiteral("PAR-12"));
    QCOMPARE(produto.get("KEYCODIGO"), Status::Ok);
    QCOMPARE(produto.rec().text("NOME"), QStringLiteral("Parafuso 12"));
}

void TestUpgrade::failedTableDoesNotStopTheOthers() {
    QTemporaryDir dir;
    QFile garbage(QDir(dir.path()).filePath(QStringLiteral("clientes.tps")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, '\x5a'));
    garbage.close();
    const Run run = convert(dir.path());
    QCOMPARE(run.warnings, QList<int>{30});
    QVERIFY(!run.result.completed);
    QCOMPARE(run.result.failed, QStringList{QStringLiteral("clientes.tps")});
    // The tables after it in the order are still created and current.
    for (const char* later : {"pedidos.tps", "produto.tps", "qavtipoped.tps"}) {
        StoreError error;
        QCOMPARE(checkTable(QDir(dir.path()).filePath(QString::fromLatin1(later)), *findTable(later), &error),
                 CheckResult::Ok);
    }
    QCOMPARE(versaoBd(dir.path()), 0); // tried again at the next start
}

void TestUpgrade::storeRefusesATableNotCurrentNamingIt_data() {
    QTest::addColumn<QByteArray>("sql");
    QTest::newRow("old fields") << QByteArray("CREATE TABLE clientes (ID INTEGER, NOME TEXT);"
                                              "INSERT INTO clientes VALUES (5, 'Ferragens');");
    QTest::newRow("older structure version") << QByteArray("PRAGMA user_version = 16;");
}

void TestUpgrade::storeRefusesATableNotCurrentNamingIt() {
    QFETCH(QByteArray, sql);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("clientes.tps"));
    if (!sql.startsWith("CREATE")) {
        StoreError error;
        QVERIFY(createTableFile(path, *findTable("clientes"), &error));
    }
    QVERIFY(execRaw(path, sql.constData()));
    {
        Store store(dir.path());
        Table clientes(store, "clientes");
        QVERIFY(!clientes.open());
        QCOMPARE(clientes.error().code, ErrorCode::StructureMismatch);
        QVERIFY2(clientes.error().text.contains(QStringLiteral("clientes.tps")),
                 qPrintable(clientes.error().text));
    }
    // Once upgraded, the store takes it.
    QVERIFY(convert(dir.path()).result.completed);
    Store store(dir.path());
    Table clientes(store, "clientes");
    QVERIFY(clientes.open());
}

void TestUpgrade::qavbdRefusesWhatIsNotAPlainFolderName_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("slash") << QStringLiteral("a/b");
    QTest::newRow("backslash") << QStringLiteral("a\\b");
    QTest::newRow("up and over") << QStringLiteral("../fora");
    QTest::newRow("absolute") << QStringLiteral("/tmp");
    QTest::newRow("drive") << QStringLiteral("c:dados");
    QTest::newRow("too long") << QString(21, u'x');
}

void TestUpgrade::qavbdRefusesWhatIsNotAPlainFolderName() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString pgms = QDir(dir.path()).filePath(QStringLiteral("pgms"));
    QVERIFY(QDir().mkpath(pgms));
    QProcess qavbd;
    qavbd.setWorkingDirectory(pgms);
    qavbd.start(qavbdPath(), {QStringLiteral("auto"), name});
    QVERIFY(qavbd.waitForFinished(60000));
    QCOMPARE(qavbd.exitStatus(), QProcess::NormalExit);
    QCOMPARE(qavbd.exitCode(), 2);
    QVERIFY(QString::fromUtf8(qavbd.readAllStandardError()).contains(textoPastaInvalida));
    // Nothing written above the program folder, in it, or anywhere under the temporary root.
    QDirIterator files(dir.path(), {QStringLiteral("*.tps"), QStringLiteral("bd.ver")}, QDir::Files,
                       QDirIterator::Subdirectories);
    QVERIFY(!files.hasNext());
}

QAV_TEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
