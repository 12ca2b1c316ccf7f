// Changes to several tables land together or not at all, even when the program is killed mid-way.
#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "tests/support/FailingDisk.h"
#include "tests/support/KillTest.h"
#include "tests/support/TempDataFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <cstdio>
#include <sqlite3.h>

using namespace qav;
using qav::test::killChildAt;
using qav::test::KillMoment;
using qav::test::reportProgress;
using qav::test::waitForLine;
Q_DECLARE_METATYPE(qav::ErrorCode)

namespace {
constexpr int kItems = 20000;
constexpr int kProgressStep = 2000; // the child tells the parent each time it has written this many

void fillPedido(Table& pedidos, int id) {
    pedidos.clear();
    pedidos.rec().setInteger("ID", id);
    pedidos.rec().setInteger("NUMER", id);
    pedidos.rec().setInteger("SITUA", 1);
}

void fillItem(Table& itens, int idVenda, int idItem) {
    itens.clear();
    itens.rec().setInteger("ID_VENDASI", idItem);
    itens.rec().setInteger("ID_VENDA", idVenda);
    itens.rec().setInteger("PRODU", idItem);
    itens.rec().setDecimal("QTD", Decimal(idItem % 7 + 1));
}

// Run in a child process: writes an order with many items in one transaction (or a long batch of
// prices), telling the parent on stdout when the writing is under way, then lingers so that the
// parent can kill it at any moment.
int childMain(const QString& mode, const QString& folder) {
    Store store(folder);
    Table pedidos(store, "pedidos");
    Table itens(store, "peditens");
    Table acessorios(store, "pedacess");
    if (!pedidos.open() || !itens.open() || !acessorios.open())
        return 3;
    if (mode == QLatin1String("batch")) {
        Table pauxpro(store, "pauxpro");
        if (!pauxpro.open() || !pauxpro.beginBatch())
            return 3;
        for (int i = 1; i <= 200000; ++i) {
            pauxpro.clear();
            pauxpro.rec().setInteger("ID_PAUTA", 250001);
            pauxpro.rec().setInteger("ID_PROD", i);
            if (pauxpro.add() != Status::Ok)
                return 4;
            if (i == 1000) {
                std::puts("writing");
                std::fflush(stdout);
            }
        }
        return pauxpro.endBatch() ? 0 : 5;
    }
    const int orderId = mode.toInt();
    Transaction transaction({&pedidos, &itens, &acessorios});
    if (!transaction.begin())
        return 3;
    fillPedido(pedidos, orderId);
    if (pedidos.add() != Status::Ok)
        return 4;
    for (int i = 1; i <= kItems; ++i) {
        fillItem(itens, orderId, orderId * 100000 + i);
        if (itens.add() != Status::Ok)
            return 4;
        acessorios.clear();
        acessorios.rec().setInteger("ID_VENDASI", orderId * 100000 + i);
        acessorios.rec().setInteger("ID_ACESSORIO", 1);
        if (acessorios.add() != Status::Ok)
            return 4;
        reportProgress(i, kItems, kProgressStep);
    }
    return transaction.commit() ? 0 : 5;
}

std::int64_t countWhere(Store& store, const char* table, const char* condition) {
    Table t(store, table);
    if (!t.open())
        return -1;
    t.setFilter(condition);
    std::int64_t n = 0;
    t.seekPhysical();
    while (t.next() == Status::Ok)
        ++n;
    return n;
}
} // namespace

class TestTransaction : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commitWritesAllTables();
    void rollbackUndoesAllTables();
    void failedAddInsideTransactionKeepsOthers();
    void tooManyTablesRefused();
    void failedEndLeavesTheTablesAsBefore_data();
    void failedEndLeavesTheTablesAsBefore();
    void killedBatchLeavesNothing();
    void killedTransactionLeavesAllOrNothing();
};

void TestTransaction::commitWritesAllTables() {
    test::TempDataFolder folder;
    Table pedidos(folder.store(), "pedidos");
    Table itens(folder.store(), "peditens");
    QVERIFY(pedidos.open() && itens.open());
    Transaction transaction({&pedidos, &itens});
    QVERIFY(transaction.begin());
    fillPedido(pedidos, 1);
    QCOMPARE(pedidos.add(), Status::Ok);
    for (int i = 1; i <= 3; ++i) {
        fillItem(itens, 1, i);
        QCOMPARE(itens.add(), Status::Ok);
    }
    QVERIFY(transaction.commit());
    Store otherWindow(folder.path());
    QCOMPARE(countWhere(otherWindow, "pedidos", "1"), 1);
    QCOMPARE(countWhere(otherWindow, "peditens", "ID_VENDA = 1"), 3);
    // The tables work on their own again after the transaction.
    fillItem(itens, 1, 4);
    QCOMPARE(itens.add(), Status::Ok);
    QCOMPARE(itens.count(), 4);
}

void TestTransaction::rollbackUndoesAllTables() {
    test::TempDataFolder folder;
    Table pedidos(folder.store(), "pedidos");
    Table itens(folder.store(), "peditens");
    QVERIFY(pedidos.open() && itens.open());
    fillPedido(pedidos, 1);
    QCOMPARE(pedidos.add(), Status::Ok);
    {
        Transaction transaction({&pedidos, &itens});
        QVERIFY(transaction.begin());
        pedidos.rec().setInteger("SITUA", 3);
        QCOMPARE(pedidos.put(), Status::Ok);
        fillItem(itens, 1, 1);
        QCOMPARE(itens.add(), Status::Ok);
        // Leaving the scope without commit rolls back.
    }
    QCOMPARE(itens.count(), 0);
    pedidos.clear();
    pedidos.rec().setInteger("ID", 1);
    QCOMPARE(pedidos.get("KEYID"), Status::Ok);
    QCOMPARE(pedidos.rec().integer("SITUA"), 1);
}

void TestTransaction::failedAddInsideTransactionKeepsOthers() {
    test::TempDataFolder folder;
    Table pedidos(folder.store(), "pedidos");
    Table clientes(folder.store(), "clientes");
    QVERIFY(pedidos.open() && clientes.open());
    clientes.rec().setInteger("ID", 900001);
    QCOMPARE(clientes.add(), Status::Ok);
    Transaction transaction({&pedidos, &clientes});
    QVERIFY(transaction.begin());
    fillPedido(pedidos, 1);
    QCOMPARE(pedidos.add(), Status::Ok);
    clientes.rec().setInteger("ID", 900001); // duplicate: refused, the transaction goes on
    QCOMPARE(clientes.add(), Status::Error);
    QCOMPARE(clientes.error().code, ErrorCode::CreatesDuplicateKey);
    clientes.rec().setInteger("ID", 900002);
    QCOMPARE(clientes.add(), Status::Ok);
    QVERIFY(transaction.commit());
    QCOMPARE(pedidos.count(), 1);
    QCOMPARE(clientes.count(), 2);
}

void TestTransaction::tooManyTablesRefused() {
    test::TempDataFolder folder;
    std::vector<std::unique_ptr<Table>> tables;
    for (int i = 0; i < 11; ++i) {
        tables.push_back(std::make_unique<Table>(folder.store(), catalogue()[static_cast<size_t>(i)]));
        QVERIFY(tables.back()->open());
    }
    Transaction transaction({tables[0].get(), tables[1].get(), tables[2].get(), tables[3].get(),
                             tables[4].get(), tables[5].get(), tables[6].get(), tables[7].get(),
                             tables[8].get(), tables[9].get(), tables[10].get()});
    QVERIFY(!transaction.begin());
    Transaction ten({tables[0].get(), tables[1].get(), tables[2].get(), tables[3].get(), tables[4].get(),
                     tables[5].get(), tables[6].get(), tables[7].get(), tables[8].get(), tables[9].get()});
    QVERIFY2(ten.begin(), qPrintable(ten.error().text + ten.error().driverText));
    QVERIFY(ten.commit());
}

// A batch of one table or a transaction over several whose commit or rollback fails on the disk: the
// caller is told, the connection is out of the transaction, and once the disk works again the files
// hold what they held before it began, and the tables take new work.
void TestTransaction::failedEndLeavesTheTablesAsBefore_data() {
    QTest::addColumn<bool>("batch");
    QTest::addColumn<bool>("commit");
    QTest::addColumn<bool>("diskFails"); // otherwise another window goes on reading the file
    QTest::addColumn<ErrorCode>("code");
    QTest::newRow("batch, commit fails on the disk") << true << true << true << ErrorCode::FileSystemError;
    QTest::newRow("batch, rollback fails on the disk") << true << false << true << ErrorCode::FileSystemError;
    QTest::newRow("batch, commit waits for a reader in vain")
        << true << true << false << ErrorCode::FileLocked;
    QTest::newRow("transaction, commit fails on the disk")
        << false << true << true << ErrorCode::FileSystemError;
    QTest::newRow("transaction, rollback fails on the disk")
        << false << false << true << ErrorCode::FileSystemError;
    QTest::newRow("transaction, commit waits for a reader in vain")
        << false << true << false << ErrorCode::FileLocked;
}

void TestTransaction::failedEndLeavesTheTablesAsBefore() {
    QFETCH(bool, batch);
    QFETCH(bool, commit);
    QFETCH(bool, diskFails);
    QFETCH(ErrorCode, code);
    test::TempDataFolder folder;
    test::FailingDisk disk;
    Table pedidos(folder.store(), "pedidos");
    Table itens(folder.store(), "peditens");
    QVERIFY(pedidos.open() && itens.open());
    fillPedido(pedidos, 1);
    QCOMPARE(pedidos.add(), Status::Ok);
    // A short wait for a reader to finish; on a failing disk, a small cache, so that the
    // transaction's pages reach the file before it ends and a rollback has to write them back (a
    // reader could not even start then).
    StoreError ignored;
    QVERIFY(pedidos.connection()->exec(diskFails ? "PRAGMA cache_size = 5" : "PRAGMA busy_timeout = 100",
                                       &ignored));

    Transaction transaction({&pedidos, &itens});
    QVERIFY(batch ? pedidos.beginBatch() : transaction.begin());
    pedidos.rec().setInteger("SITUA", 3);
    QCOMPARE(pedidos.put(), Status::Ok);
    for (int i = 1; i <= 500; ++i) {
        fillPedido(pedidos, 100 + i);
        QCOMPARE(pedidos.add(), Status::Ok);
        if (!batch) {
            fillItem(itens, 1, i);
            QCOMPARE(itens.add(), Status::Ok);
        }
    }
    sqlite3* reader = nullptr;
    sqlite3_stmt* reading = nullptr;
    if (diskFails) {
        disk.setFailing(true);
    } else { // another window in the middle of reading the orders
        QCOMPARE(sqlite3_open(folder.filePath("pedidos.tps").toUtf8().constData(), &reader), SQLITE_OK);
        QCOMPARE(sqlite3_prepare_v2(reader, "SELECT ID FROM pedidos", -1, &reading, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_step(reading), SQLITE_ROW);
    }
    bool ended = false;
    if (batch)
        ended = commit ? pedidos.endBatch() : pedidos.rollbackBatch();
    else
        ended = commit ? transaction.commit() : transaction.rollback();
    QVERIFY(!ended);
    const StoreError& error = batch ? pedidos.error() : transaction.error();
    QCOMPARE(error.code, code);
    QVERIFY(!error.driverText.isEmpty());
    QVERIFY(!pedidos.connection()->inTransaction());
    QVERIFY(!itens.connection()->inTransaction());
    disk.setFailing(false);
    sqlite3_finalize(reading);
    sqlite3_close(reader);

    for (Store* store : {&folder.store(), static_cast<Store*>(nullptr)}) {
        Store otherWindow(folder.path());
        Table p(store ? *store : otherWindow, "pedidos");
        Table i(store ? *store : otherWindow, "peditens");
        QVERIFY(p.open() && i.open());
        QCOMPARE(p.count(), 1);
        QCOMPARE(i.count(), 0);
        p.rec().setInteger("ID", 1);
        QCOMPARE(p.get("KEYID"), Status::Ok);
        QCOMPARE(p.rec().integer("SITUA"), 1);
    }
    Transaction again({&pedidos, &itens});
    QVERIFY(batch ? pedidos.beginBatch() : again.begin());
    fillPedido(pedidos, 2);
    QCOMPARE(pedidos.add(), Status::Ok);
    QVERIFY(batch ? pedidos.endBatch() : again.commit());
    QCOMPARE(pedidos.count(), 2);
}

void TestTransaction::killedBatchLeavesNothing() {
    test::TempDataFolder folder;
    const QString file = folder.filePath("pauxpro.tps");
    const qint64 emptySize = QFileInfo(file).size();
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {test::currentTestName(), QStringLiteral("--child"), QStringLiteral("batch"), folder.path()});
    QVERIFY(child.waitForStarted());
    QVERIFY(waitForLine(child, "writing"));
    // Kill once the batch has pushed pages of its own into the table file, so that the next open
    // has them to undo.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(file).size() > emptySize, 60000);
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY2(child.exitStatus() == QProcess::CrashExit, "the batch ended before it could be killed");
    Store store(folder.path()); // the next open rolls the interrupted batch back
    Table pauxpro(store, "pauxpro");
    QVERIFY(pauxpro.open());
    QCOMPARE(pauxpro.count(), 0);
    pauxpro.rec().setInteger("ID_PROD", 1);
    QCOMPARE(pauxpro.add(), Status::Ok); // and the file works
}

void TestTransaction::killedTransactionLeavesAllOrNothing() {
    test::KillMoments moments(kItems, kProgressStep);
    QRandomGenerator& random = moments.random();
    test::TempDataFolder folder;
    int committed = 0;
    int interrupted = 0;
    constexpr int kMarks = kItems / kProgressStep;
    for (int round = 1; round <= 6; ++round) {
        // Two rounds each early in the writing, late in it, and around the commit: a little after
        // one of the child's progress lines.
        const int stage = (round - 1) / 2;
        const int mark = stage == 0   ? static_cast<int>(random.bounded(1, kMarks / 2 + 1))
                         : stage == 1 ? static_cast<int>(random.bounded(kMarks / 2 + 1, kMarks + 1))
                                      : kMarks + 1;
        // Around the commit: the first of those rounds early in it, the second later or after it.
        const int delayMs = static_cast<int>(stage < 2    ? random.bounded(20)
                                             : round == 5 ? random.bounded(30)
                                                          : random.bounded(30, 200));
        const KillMoment moment = moments.at(round, mark, delayMs);
        const QString fault = killChildAt(QString::number(round), folder.path(), moment);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        Store store(folder.path());
        const std::int64_t orders =
            countWhere(store, "pedidos", qPrintable(QStringLiteral("ID = %1").arg(round)));
        const std::int64_t items =
            countWhere(store, "peditens", qPrintable(QStringLiteral("ID_VENDA = %1").arg(round)));
        const std::int64_t accessories = countWhere(store, "pedacess",
                                                    qPrintable(QStringLiteral("ID_VENDASI BETWEEN %1 AND %2")
                                                                   .arg(round * 100000)
                                                                   .arg(round * 100000 + kItems)));
        QVERIFY2((orders == 1 && items == kItems && accessories == kItems) ||
                     (orders == 0 && items == 0 && accessories == 0),
                 qPrintable(QStringLiteral("%1: %2 orders, %3 items, %4 accessories")
                                .arg(moment.text)
                                .arg(orders)
                                .arg(items)
                                .arg(accessories)));
        (orders == 1 ? committed : interrupted)++;
        qInfo("%s: %s", qPrintable(moment.text), orders == 1 ? "committed" : "left nothing");
    }
    qInfo("%d rounds committed, %d interrupted", committed, interrupted);
    QVERIFY(interrupted > 0);
}

QAV_KILL_TEST_MAIN(TestTransaction, childMain)

#include "tst_transaction.moc"
