// Backup and restore of a data folder: a restore gives back every record, a bad archive is refused
// before anything changes, and a failure half-way leaves the folder as it was.
#include "app/core/Backup.h"
#include "base/core/IniFile.h"
#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <sqlite3.h>
#include <zip.h>

#include <csignal>
#include <sys/resource.h>

using namespace qav;

namespace {

using Entries = std::vector<std::pair<QString, QByteArray>>;

void writeBdVer(const QString& folder, int version) {
    IniFile(QDir(folder).filePath(QStringLiteral("bd.ver")))
        .writeInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD"), version);
}

// Some records in several tables, with texts, decimals, reals, dates and memos.
void fill(Store& store, int seed) {
    Table clientes(store, "clientes");
    Table produto(store, "produto");
    Table pedidos(store, "pedidos");
    Table peditens(store, "peditens");
    Table ctr(store, "ctr");
    for (Table* table : {&clientes, &produto, &pedidos, &peditens, &ctr})
        QVERIFY(table->open());
    for (int i = 1; i <= 5; ++i) {
        clientes.clear();
        clientes.rec().setInteger("ID", seed * 100 + i);
        clientes.rec().setText("RAZAO", QStringLiteral("Comércio São João %1 Ltda").arg(i));
        clientes.rec().setReal("LIMCRED", 1500.75 * i);
        clientes.rec().setText("OBS", QStringLiteral("observação %1").arg(i).repeated(50));
        clientes.rec().setText("PRINC_PRODU", QStringLiteral("parafusos"), 2);
        QVERIFY2(clientes.add() == Status::Ok,
                 qPrintable(clientes.error().text + clientes.error().driverText));
        produto.clear();
        produto.rec().setInteger("ID_EMPRESA", 1);
        produto.rec().setInteger("ID", seed * 100 + i);
        produto.rec().setText("CODIGO", QStringLiteral("%1").arg(seed * 100 + i, 6, 10, QLatin1Char('0')));
        produto.rec().setText("NOME", QStringLiteral("Parafuso sextavado %1 mm").arg(i));
        produto.rec().setDecimal("PRECO", *Decimal::parse("12.3456") * i);
        produto.rec().setDate("DATAP", Date::fromYmd(2026, 1, i));
        QCOMPARE(produto.add(), Status::Ok);
        ctr.clear();
        ctr.rec().setInteger("ID_EMPRESA", 1);
        ctr.rec().setText("NUMER", QStringLiteral("T%1").arg(seed * 100 + i));
        ctr.rec().setInteger("DEVED", seed * 100 + i);
        ctr.rec().setDecimal("SALDO", *Decimal::parse("99.90"));
        QCOMPARE(ctr.add(), Status::Ok);
    }
    pedidos.clear();
    pedidos.rec().setInteger("ID", seed);
    pedidos.rec().setInteger("SITUA", 1);
    pedidos.rec().setReal("TOTAL", 61.73);
    QCOMPARE(pedidos.add(), Status::Ok);
    peditens.clear();
    peditens.rec().setInteger("ID_VENDASI", seed);
    peditens.rec().setInteger("ID_VENDA", seed);
    peditens.rec().setDecimal("QTD", Decimal(5));
    QCOMPARE(peditens.add(), Status::Ok);
}

// Every record of every table, in physical order.
std::map<QString, std::vector<Record>> dump(const QString& folder) {
    Store store(folder);
    std::map<QString, std::vector<Record>> all;
    for (const TableDef& def : catalogue()) {
        Table table(store, def);
        auto& records = all[QString::fromLatin1(def.fileName)];
        if (!table.open() || table.seekPhysical() != Status::Ok)
            continue;
        while (table.next() == Status::Ok)
            records.push_back(table.rec());
    }
    return all;
}

std::int64_t countOf(const QString& folder, const char* table) {
    Store store(folder);
    Table t(store, table);
    return t.open() ? t.count().value_or(-1) : -1;
}

// Name and hash of every file in the folder and its parent's folder names: what "nothing changed"
// means on disk.
QStringList snapshot(const QString& folder) {
    QStringList lines;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::ReadOnly);
        lines << name + QLatin1Char(' ') +
                     QString::fromLatin1(
                         QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
    }
    QDir parent(folder);
    parent.cdUp();
    for (const QString& name :
         parent.entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
        lines << QStringLiteral("beside: ") + name;
    return lines;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The files of a folder as archive entries.
Entries entriesOf(const QString& folder) {
    Entries entries;
    for (const TableDef& def : catalogue()) {
        const QString name = QString::fromLatin1(def.fileName);
        entries.emplace_back(name, readAll(QDir(folder).filePath(name)));
    }
    if (QFile::exists(QDir(folder).filePath(QStringLiteral("bd.ver"))))
        entries.emplace_back(QStringLiteral("bd.ver"),
                             readAll(QDir(folder).filePath(QStringLiteral("bd.ver"))));
    return entries;
}

bool writeZip(const QString& path, const Entries& entries) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        return false;
    for (const auto& [name, bytes] : entries) {
        // libzip keeps the buffer until zip_close; copy it so the entry owns its bytes.
        void* copy = malloc(static_cast<size_t>(bytes.size()) + 1);
        memcpy(copy, bytes.constData(), static_cast<size_t>(bytes.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, static_cast<zip_uint64_t>(bytes.size()), 1);
        if (!source || zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

void replaceEntry(Entries& entries, const QString& name, const QByteArray& bytes) {
    for (auto& entry : entries)
        if (entry.first == name)
            entry.second = bytes;
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaultArchiveName();
    void backupThenRestoreGivesBackIdenticalTables();
    void backupReplacesAnOlderArchiveOnlyWhenComplete();
    void fullDiskKeepsTheOlderArchive();
    void backupOfIncompleteFolderIsRefused();
    void writeInProgressIsNotCopied();
    void badArchiveIsRefusedAndChangesNothing_data();
    void badArchiveIsRefusedAndChangesNothing();
    void failureHalfWayLeavesFolderAsItWas_data();
    void failureHalfWayLeavesFolderAsItWas();
    void archiveWithoutBdVerMakesTheUpgradeRun();
    void keptCopyFolderNamesDoNotCollide();
    void refusedArchiveCreatesNoFolder();
};

void TestBackup::defaultArchiveName() {
    QCOMPARE(backup::defaultArchiveName(QDate(2026, 3, 5)), QStringLiteral("QAV_2026-03-05.zip"));
    QCOMPARE(backup::defaultArchiveName(QDate(2025, 12, 31)), QStringLiteral("QAV_2025-12-31.zip"));
}

void TestBackup::backupThenRestoreGivesBackIdenticalTables() {
    QTemporaryDir parent;
    const QString data = parent.filePath(QStringLiteral("dados"));
    {
        test::TempDataFolder source;
        fill(source.store(), 1);
        QDir().mkpath(data);
        for (const TableDef& def : catalogue())
            QVERIFY(QFile::copy(source.filePath(def.fileName),
                                QDir(data).filePath(QString::fromLatin1(def.fileName))));
    }
    writeBdVer(data, 186);
    const auto before = dump(data);
    QCOMPARE(before.at(QStringLiteral("clientes.tps")).size(), size_t(5));

    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("QAV_2026-03-05.zip"));
    const backup::Result made = backup::createBackup(data, archive);
    QVERIFY2(made.ok, qPrintable(made.message));
    QCOMPARE(made.tables, int(catalogue().size()));
    QVERIFY(QFile::exists(archive));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary left
    QVERIFY(backup::checkBackup(archive).ok);

    // Work goes on after the backup: records added, changed and removed.
    {
        Store store(data);
        fill(store, 2);
        Table clientes(store, "clientes");
        QVERIFY(clientes.open());
        clientes.rec().setInteger("ID", 101);
        QCOMPARE(clientes.get("KEYID"), Status::Ok);
        QCOMPARE(clientes.remove(), Status::Ok);
    }
    writeBdVer(data, 190);
    QCOMPARE(countOf(data, "produto"), 10);

    const backup::Result restored = backup::restoreBackup(archive, data);
    QVERIFY2(restored.ok, qPrintable(restored.message));
    const auto after = dump(data);
    for (const TableDef& def : catalogue()) {
        const QString name = QString::fromLatin1(def.fileName);
        QVERIFY2(before.at(name) == after.at(name), qPrintable(name));
    }
    QCOMPARE(IniFile(QDir(data).filePath(QStringLiteral("bd.ver")))
                 .readInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD")),
             186);

    // The replaced files are kept beside the folder, with the work done after the backup.
    QVERIFY(restored.keptCopy.startsWith(parent.filePath(QStringLiteral("dados-anterior-"))));
    QCOMPARE(countOf(restored.keptCopy, "produto"), 10);
    QCOMPARE(countOf(restored.keptCopy, "clientes"), 9);
    QCOMPARE(IniFile(QDir(restored.keptCopy).filePath(QStringLiteral("bd.ver")))
                 .readInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD")),
             190);
    // Nothing else beside the folder: the staging folder is gone.
    QCOMPARE(QDir(parent.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size(), 2);
}

void TestBackup::backupReplacesAnOlderArchiveOnlyWhenComplete() {
    test::TempDataFolder folder;
    writeBdVer(folder.path(), 186);
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    QFile old(archive);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("older archive");
    old.close();

    QFile::remove(folder.filePath("vendedor.tps"));
    const backup::Result failed = backup::createBackup(folder.path(), archive);
    QVERIFY(!failed.ok);
    QVERIFY2(failed.message.contains(QStringLiteral("vendedor.tps")), qPrintable(failed.message));
    QCOMPARE(readAll(archive), QByteArray("older archive"));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// An archive that outgrows what the disk still takes (a file-size limit stands in for a full disk,
// set between the largest table and the whole archive) is told as a full disk, and the older archive
// of that name stays as it was.
void TestBackup::fullDiskKeepsTheOlderArchive() {
    test::TempDataFolder folder;
    {
        // Texts that do not compress, in three tables, so that the archive outgrows each of them.
        const auto noise = [](int length) {
            static const QString symbols =
                QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
            QString text;
            for (int i = 0; i < length; ++i)
                text += symbols.at(QRandomGenerator::global()->bounded(int(symbols.size())));
            return text;
        };
        Table clientes(folder.store(), "clientes");
        Table pedcon(folder.store(), "pedcon");
        Table pedicon(folder.store(), "pedicon");
        QVERIFY(clientes.open() && pedcon.open() && pedicon.open());
        Transaction transaction({&clientes, &pedcon, &pedicon});
        QVERIFY(transaction.begin());
        for (int i = 1; i <= 500; ++i) {
            if (i <= 60) {
                clientes.clear();
                clientes.rec().setInteger("ID", i);
                clientes.rec().setText("OBS", noise(4000));
                QCOMPARE(clientes.add(), Status::Ok);
            }
            pedcon.clear();
            pedcon.rec().setInteger("ID_PEDCON", i);
            pedcon.rec().setText("OBS", noise(500));
            QCOMPARE(pedcon.add(), Status::Ok);
            pedicon.clear();
            pedicon.rec().setInteger("ID_PEDCON", i);
            pedicon.rec().setInteger("ORDEM", 1);
            pedicon.rec().setText("DESCR_PRODUTO", noise(200));
            pedicon.rec().setText("COMPLE", noise(100));
            QCOMPARE(pedicon.add(), Status::Ok);
        }
        QVERIFY(transaction.commit());
    }
    writeBdVer(folder.path(), 186);
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    QVERIFY(backup::createBackup(folder.path(), archive).ok);
    const qint64 whole = QFileInfo(archive).size();
    qint64 largestTable = 0;
    for (const TableDef& def : catalogue())
        largestTable = std::max(largestTable, QFileInfo(folder.filePath(def.fileName)).size());
    QVERIFY2(whole > largestTable + 8192, qPrintable(QStringLiteral("%1 %2").arg(whole).arg(largestTable)));
    QFile old(archive);
    QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("older archive");
    old.close();

    rlimit original{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = original;
    small.rlim_cur = static_cast<rlim_t>((largestTable + whole) / 2);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const backup::Result failed = backup::createBackup(folder.path(), archive);
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, signal);
    QVERIFY(!failed.ok);
    QVERIFY2(failed.message.contains(QStringLiteral("Disco cheio ao gravar ")), qPrintable(failed.message));
    QCOMPARE(readAll(archive), QByteArray("older archive"));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestBackup::backupOfIncompleteFolderIsRefused() {
    test::TempDataFolder folder(false);
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    QVERIFY(!backup::createBackup(folder.path(), archive).ok);
    QVERIFY(!QFile::exists(archive));

    // A damaged table file is archived as it is, and said so: the backup is how the user keeps what
    // is left of a folder before repairing it. Such an archive is not taken back by a restore.
    test::TempDataFolder damaged;
    QFile file(damaged.filePath("ctr.tps"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(8192, 'x'));
    file.close();
    const backup::Result result = backup::createBackup(damaged.path(), archive);
    QVERIFY(result.ok);
    QCOMPARE(result.copiedAsIs, QStringList{QStringLiteral("ctr.tps")});
    QVERIFY(QFile::exists(archive));
    const backup::Result check = backup::checkBackup(archive);
    QVERIFY(!check.ok);
    QVERIFY2(check.message.contains(QStringLiteral("ctr.tps")), qPrintable(check.message));
}

void TestBackup::writeInProgressIsNotCopied() {
    test::TempDataFolder folder;
    writeBdVer(folder.path(), 186);
    fill(folder.store(), 1);
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    {
        // Another window is half-way through a download when the backup runs.
        Table produto(folder.store(), "produto");
        QVERIFY(produto.open());
        QVERIFY(produto.beginBatch());
        for (int i = 1000; i < 1010; ++i) {
            produto.clear();
            produto.rec().setInteger("ID_EMPRESA", 1);
            produto.rec().setInteger("ID", i);
            produto.rec().setText("CODIGO", QString::number(i));
            QCOMPARE(produto.add(), Status::Ok);
        }
        const backup::Result made = backup::createBackup(folder.path(), archive);
        QVERIFY2(made.ok, qPrintable(made.message));
        QVERIFY(produto.rollbackBatch());
        produto.close();
    }
    QTemporaryDir restoreParent;
    const QString target = restoreParent.filePath(QStringLiteral("dados"));
    const backup::Result restored = backup::restoreBackup(archive, target);
    QVERIFY2(restored.ok, qPrintable(restored.message));
    QCOMPARE(countOf(target, "produto"), 5); // only what was committed
    QCOMPARE(countOf(target, "clientes"), 5);
}

void TestBackup::badArchiveIsRefusedAndChangesNothing_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected"); // part of the refusal
    QTest::newRow("not a zip") << "garbage"
                               << "zip";
    QTest::newRow("cut short") << "truncated"
                               << "zip";
    QTest::newRow("zip of other files") << "other"
                                        << "leiame.txt";
    QTest::newRow("entry ../x") << "dotdot"
                                << "../x";
    QTest::newRow("entry ../pedidos.tps") << "dotdotTable"
                                          << "../pedidos.tps";
    QTest::newRow("absolute entry") << "absolute"
                                    << "/tmp/pedidos.tps";
    QTest::newRow("entry in a folder") << "subfolder"
                                       << "dados/pedidos.tps";
    QTest::newRow("garbage pedidos.tps") << "garbagePedidos"
                                         << "pedidos.tps";
    QTest::newRow("empty pedidos.tps") << "emptyPedidos"
                                       << "pedidos.tps";
    QTest::newRow("customers under the orders' name") << "wrongTable"
                                                      << "pedidos.tps";
    QTest::newRow("table with a trigger") << "trigger"
                                          << "pedidos.tps";
    QTest::newRow("search index trigger of another text") << "searchTrigger"
                                                          << "produto.tps";
    QTest::newRow("table missing") << "missing"
                                   << "ctr.tps";
    QTest::newRow("table twice") << "twice"
                                 << "zip";
    QTest::newRow("bad bd.ver") << "badBdVer"
                                << "bd.ver";
    QTest::newRow("no such file") << "absent"
                                  << "não encontrado";
}

void TestBackup::badArchiveIsRefusedAndChangesNothing() {
    QFETCH(QString, kind);
    QFETCH(QString, expected);

    QTemporaryDir source; // a sound folder that supplies the good entries
    {
        test::TempDataFolder folder;
        fill(folder.store(), 3);
        for (const TableDef& def : catalogue())
            QVERIFY(QFile::copy(folder.filePath(def.fileName),
                                source.filePath(QString::fromLatin1(def.fileName))));
    }
    writeBdVer(source.path(), 186);
    Entries entries = entriesOf(source.path());

    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    if (kind == QLatin1String("garbage")) {
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("PK\x03\x04 this is not really an archive").repeated(100));
    } else if (kind == QLatin1String("truncated")) {
        QVERIFY(writeZip(archive, entries));
        const QByteArray whole = readAll(archive);
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(whole.left(whole.size() / 2));
    } else if (kind == QLatin1String("other")) {
        QVERIFY(writeZip(archive,
                         {{QStringLiteral("leiame.txt"), "ola"}, {QStringLiteral("foto.jpg"), "\xff\xd8"}}));
    } else if (kind == QLatin1String("dotdot")) {
        entries.emplace_back(QStringLiteral("../x"), "escaped");
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("dotdotTable")) {
        entries.emplace_back(QStringLiteral("../pedidos.tps"),
                             readAll(source.filePath(QStringLiteral("pedidos.tps"))));
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("absolute")) {
        entries.emplace_back(QStringLiteral("/tmp/pedidos.tps"), "escaped");
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("subfolder")) {
        entries.emplace_back(QStringLiteral("dados/pedidos.tps"), "x");
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("garbagePedidos")) {
        replaceEntry(entries, QStringLiteral("pedidos.tps"),
                     QByteArray("garbage, not a table file ").repeated(300));
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("emptyPedidos")) {
        replaceEntry(entries, QStringLiteral("pedidos.tps"), QByteArray());
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("wrongTable")) {
        replaceEntry(entries, QStringLiteral("pedidos.tps"),
                     readAll(source.filePath(QStringLiteral("clientes.tps"))));
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("trigger")) {
        const QString path = source.filePath(QStringLiteral("pedidos.tps"));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "CREATE TRIGGER t AFTER INSERT ON pedidos BEGIN DELETE FROM pedidos; END",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        replaceEntry(entries, QStringLiteral("pedidos.tps"), readAll(path));
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("searchTrigger")) {
        // Named as the program's own trigger of the name index, but deleting on every insert.
        const QString path = source.filePath(QStringLiteral("produto.tps"));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        QCOMPARE(
            sqlite3_exec(db,
                         "DROP TRIGGER produto_busca_NOME_ins; CREATE TRIGGER produto_busca_NOME_ins AFTER "
                         "INSERT ON produto BEGIN DELETE FROM produto; END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(db);
        replaceEntry(entries, QStringLiteral("produto.tps"), readAll(path));
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("missing")) {
        entries.erase(std::find_if(entries.begin(), entries.end(),
                                   [](const auto& e) { return e.first == QLatin1String("ctr.tps"); }));
        QVERIFY(writeZip(archive, entries));
    } else if (kind == QLatin1String("twice")) {
        // Two entries of one name can only be made by writing the second under a placeholder name.
        entries.emplace_back(QStringLiteral("XXXXXXXXXXXX"), "second copy");
        QVERIFY(writeZip(archive, entries));
        QByteArray bytes = readAll(archive);
        bytes.replace("XXXXXXXXXXXX", "clientes.tps");
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    } else if (kind == QLatin1String("badBdVer")) {
        replaceEntry(entries, QStringLiteral("bd.ver"), "[QAVPlus]\nVersaoBD=-5\n");
        QVERIFY(writeZip(archive, entries));
    }

    QTemporaryDir parent;
    const QString data = parent.filePath(QStringLiteral("dados"));
    {
        test::TempDataFolder current;
        fill(current.store(), 4);
        QDir().mkpath(data);
        for (const TableDef& def : catalogue())
            QVERIFY(QFile::copy(current.filePath(def.fileName),
                                QDir(data).filePath(QString::fromLatin1(def.fileName))));
    }
    writeBdVer(data, 186);
    const QStringList before = snapshot(data);

    QVERIFY(!backup::checkBackup(archive).ok);
    const backup::Result result = backup::restoreBackup(archive, data);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QStringLiteral("não é uma cópia de segurança válida")),
             qPrintable(result.message));
    QVERIFY2(result.message.contains(expected), qPrintable(result.message));
    QCOMPARE(snapshot(data), before);
    QVERIFY(!QFile::exists(parent.filePath(QStringLiteral("x"))));
    QVERIFY(!QFile::exists(parent.filePath(QStringLiteral("pedidos.tps"))));
    QCOMPARE(countOf(data, "produto"), 5);
}

void TestBackup::failureHalfWayLeavesFolderAsItWas_data() {
    QTest::addColumn<QString>("failAt");
    QTest::newRow("first table") << "acessori.tps";
    QTest::newRow("half-way") << "pedidos.tps";
    QTest::newRow("last table") << "qavtipoped.tps";
    QTest::newRow("bd.ver") << "bd.ver";
}

void TestBackup::failureHalfWayLeavesFolderAsItWas() {
    QFETCH(QString, failAt);
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    {
        test::TempDataFolder other;
        fill(other.store(), 5);
        writeBdVer(other.path(), 186);
        QVERIFY(backup::createBackup(other.path(), archive).ok);
    }

    QTemporaryDir parent;
    const QString data = parent.filePath(QStringLiteral("dados"));
    {
        test::TempDataFolder current;
        fill(current.store(), 6);
        QDir().mkpath(data);
        for (const TableDef& def : catalogue())
            QVERIFY(QFile::copy(current.filePath(def.fileName),
                                QDir(data).filePath(QString::fromLatin1(def.fileName))));
    }
    writeBdVer(data, 185);
    const QStringList before = snapshot(data);
    const auto recordsBefore = dump(data);

    QStringList replaced;
    backup::RestoreHooks hooks;
    hooks.beforeReplace = [&](const QString& name) {
        replaced << name;
        return name != failAt;
    };
    const backup::Result result = backup::restoreBackup(archive, data, hooks);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(failAt), qPrintable(result.message));
    QVERIFY2(result.message.contains(QStringLiteral("mantidos como estavam")), qPrintable(result.message));
    QVERIFY(replaced.contains(failAt));
    QCOMPARE(snapshot(data), before); // byte for byte, and nothing left beside the folder
    QVERIFY(dump(data) == recordsBefore);
}

void TestBackup::archiveWithoutBdVerMakesTheUpgradeRun() {
    QTemporaryDir source;
    {
        test::TempDataFolder folder;
        fill(folder.store(), 7);
        for (const TableDef& def : catalogue())
            QVERIFY(QFile::copy(folder.filePath(def.fileName),
                                source.filePath(QString::fromLatin1(def.fileName))));
    }
    const Entries entries = entriesOf(source.path()); // the folder has no bd.ver
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    QVERIFY(writeZip(archive, entries));

    QTemporaryDir parent;
    const QString data = parent.filePath(QStringLiteral("dados"));
    QDir().mkpath(data);
    writeBdVer(data, 186);
    const backup::Result result = backup::restoreBackup(archive, data);
    QVERIFY2(result.ok, qPrintable(result.message));
    // The folder's former bd.ver does not vouch for the restored tables.
    QVERIFY(!QFile::exists(QDir(data).filePath(QStringLiteral("bd.ver"))));
    QVERIFY(QFile::exists(QDir(result.keptCopy).filePath(QStringLiteral("bd.ver"))));
    QCOMPARE(countOf(data, "clientes"), 5);
}

void TestBackup::keptCopyFolderNamesDoNotCollide() {
    QTemporaryDir parent;
    const QString data = parent.filePath(QStringLiteral("dados"));
    const QDateTime when(QDate(2026, 3, 5), QTime(14, 30, 0));
    const QString first = backup::keptCopyFolder(data, when);
    QCOMPARE(first, parent.filePath(QStringLiteral("dados-anterior-2026-03-05_14-30-00")));
    QVERIFY(QDir().mkpath(first));
    QCOMPARE(backup::keptCopyFolder(data, when), first + QStringLiteral("-2"));
}

void TestBackup::refusedArchiveCreatesNoFolder() {
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    QVERIFY(writeZip(archive, {{QStringLiteral("leiame.txt"), "ola"}}));
    QTemporaryDir parent;
    const QString data = parent.filePath(QStringLiteral("dados"));
    QVERIFY(!backup::restoreBackup(archive, data).ok);
    QVERIFY(!QFileInfo::exists(data));
    QVERIFY(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

QAV_TEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
