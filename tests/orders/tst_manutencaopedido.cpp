// Deleting and duplicating a whole order: a transmitted order stays, and a process killed at any
// moment of either leaves the order whole or not at all.
#include "orders/core/ManutencaoPedido.h"
#include "store/core/Transaction.h"
#include "tests/orders/PedidosFixture.h"
#include "tests/support/KillTest.h"
#include "tests/support/TempDataFolder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <cstdio>

using namespace qav;
using namespace qav::test;

namespace {
constexpr int kItems = 10000;
constexpr int kProgressStep = 1000; // the child tells the parent each time it has done this many
const Date kHoje = Date::fromYmd(2026, 12, 8);

// Order 1 (number 41) with kItems items, each with one accessory row, written in one go.
bool prepararPedidoGrande(Store& store) {
    pedido(store, {.id = 1, .numero = 41, .situa = 1, .cliente = 7, .total = 99.5});
    Table itens(store, "peditens");
    Table acessorios(store, "pedacess");
    if (!itens.open() || !acessorios.open())
        return false;
    Transaction t({&itens, &acessorios});
    if (!t.begin())
        return false;
    for (int i = 1; i <= kItems; ++i) {
        itens.clear();
        itens.rec().setInteger("ID_VENDASI", i);
        itens.rec().setInteger("ID_VENDA", 1);
        itens.rec().setInteger("PRODU", i);
        acessorios.clear();
        acessorios.rec().setInteger("ID_VENDASI", i);
        acessorios.rec().setInteger("ID_ACESSORIO", 5);
        if (itens.add() != Status::Ok || acessorios.add() != Status::Ok)
            return false;
    }
    return t.commit();
}

// In the child: deletes or duplicates order 1, telling the parent how far it is.
int childMain(const QString& mode, const QString& folder) {
    Store store(folder);
    const auto progresso = [](int feitos) {
        if (feitos % kProgressStep == 0)
            std::printf("at %d\n", feitos);
        if (feitos == kItems)
            std::puts("committing");
        std::fflush(stdout);
    };
    const ResultadoPedido r = mode == QLatin1String("excluir") ? excluirPedido(store, 1, progresso)
                                                               : duplicarPedido(store, 1, kHoje, progresso);
    return r.ok() ? 0 : 4;
}
} // namespace

class TestManutencaoPedido : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void transmittedOrderIsNotDeleted();
    void killedWorkLeavesTheOrderWholeOrGone_data();
    void killedWorkLeavesTheOrderWholeOrGone();
};

void TestManutencaoPedido::transmittedOrderIsNotDeleted() {
    TempDataFolder folder;
    pedido(folder.store(), {.id = 1, .numero = 41, .situa = 3});
    item(folder.store(), 1, 1, 7, "1");
    acessorio(folder.store(), 1, 5);
    const ResultadoPedido r = excluirPedido(folder.store(), 1);
    QCOMPARE(r.falha, ResultadoPedido::Falha::Transmitido);
    QCOMPARE(r.mensagem, QStringLiteral("Pedido já transmitido! Impossivel excluir!"));
    QCOMPARE(registros(folder.store(), "pedidos", "KEYID", "1").size(), 1u);
    QCOMPARE(registros(folder.store(), "peditens", "KEYORDEM", "1").size(), 1u);
    QCOMPARE(registros(folder.store(), "pedacess", "KEYID_ACESSORIO", "1").size(), 1u);
}

void TestManutencaoPedido::killedWorkLeavesTheOrderWholeOrGone_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("delete") << QStringLiteral("excluir");
    QTest::newRow("duplicate") << QStringLiteral("duplicar");
}

void TestManutencaoPedido::killedWorkLeavesTheOrderWholeOrGone() {
    QFETCH(QString, mode);
    const quint32 seed = killSeed();
    qInfo("kill moments drawn from seed %u (QAV_KILL_SEED=%u draws them again)", seed, seed);
    QRandomGenerator moments(seed);
    constexpr int kMarks = kItems / kProgressStep;
    int interrupted = 0;
    for (int round = 1; round <= 4; ++round) {
        TempDataFolder folder;
        QVERIFY(prepararPedidoGrande(folder.store()));
        // Two rounds in the middle of the items, two around the commit.
        const int mark = round <= 2 ? static_cast<int>(moments.bounded(1, kMarks)) : kMarks + 1;
        const int delayMs = static_cast<int>(round <= 2 ? moments.bounded(20) : moments.bounded(40));
        const QByteArray line = mark > kMarks ? QByteArray("committing")
                                              : QByteArray("at ") + QByteArray::number(mark * kProgressStep);
        const QString moment = QStringLiteral("%1, seed %2, round %3: %4 ms after \"%5\"")
                                   .arg(mode)
                                   .arg(seed)
                                   .arg(round)
                                   .arg(delayMs)
                                   .arg(QString::fromLatin1(line));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), mode, folder.path()});
        QVERIFY(child.waitForStarted());
        QVERIFY2(waitForLine(child, line), qPrintable(moment));
        QTest::qWait(delayMs); // the moment itself, not a wait for something
        child.kill();
        child.waitForFinished();
        QCOMPARE(child.state(), QProcess::NotRunning);
        const bool finished = child.exitStatus() == QProcess::NormalExit;
        if (finished)
            QVERIFY2(child.exitCode() == 0, qPrintable(moment));

        Store store(folder.path()); // the next open undoes what the killed process left
        const std::size_t orders = registros(store, "pedidos", "KEYID", "1").size();
        const std::size_t items = registros(store, "peditens", "KEYORDEM", "1").size();
        const std::size_t accessories = registros(store, "pedacess", "KEYID_ACESSORIO", "1").size();
        const std::size_t originalItems = registros(store, "peditens", "KEYORDEM", "ID_VENDA = 1").size();
        bool done = false;
        if (mode == QLatin1String("excluir")) {
            done = orders == 0;
            QVERIFY2((orders == 1 && items == kItems && accessories == kItems) ||
                         (orders == 0 && items == 0 && accessories == 0),
                     qPrintable(QStringLiteral("%1: %2 orders, %3 items, %4 accessories")
                                    .arg(moment)
                                    .arg(orders)
                                    .arg(items)
                                    .arg(accessories)));
        } else {
            done = orders == 2;
            const std::size_t n = orders == 2 ? 2 : 1;
            QVERIFY2((orders == 1 || orders == 2) && items == n * kItems && accessories == n * kItems &&
                         originalItems == kItems,
                     qPrintable(QStringLiteral("%1: %2 orders, %3 items, %4 accessories")
                                    .arg(moment)
                                    .arg(orders)
                                    .arg(items)
                                    .arg(accessories)));
        }
        interrupted += done ? 0 : 1;
        qInfo("%s: %s", qPrintable(moment), done ? "done" : "left nothing");
    }
    QVERIFY(interrupted > 0);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return childMain(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestManutencaoPedido test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_manutencaopedido.moc"
