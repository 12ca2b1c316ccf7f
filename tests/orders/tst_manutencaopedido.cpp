// Deleting and duplicating a whole order: a transmitted order stays, and a process killed at any
// moment of either leaves the order whole or not at all.
#include "orders/core/ManutencaoPedido.h"
#include "tests/orders/PedidosFixture.h"
#include "tests/support/KillTest.h"
#include "tests/support/TempDataFolder.h"

#include <QTest>

using namespace qav;
using namespace qav::test;

namespace {
constexpr int kItems = 10000;
constexpr int kProgressStep = 1000; // the child tells the parent each time it has done this many
const Date kHoje = Date::fromYmd(2026, 12, 8);

// In the child: deletes or duplicates order 1, telling the parent how far it is.
int childMain(const QString& mode, const QString& folder) {
    Store store(folder);
    const auto progresso = [](int feitos) { reportProgress(feitos, kItems, kProgressStep); };
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
    KillMoments moments(kItems, kProgressStep, mode);
    int interrupted = 0;
    for (int round = 1; round <= 4; ++round) {
        TempDataFolder folder;
        QVERIFY(prepararPedidoGrande(folder.store(), kItems));
        // Two rounds in the middle of the items, two around the commit.
        const KillMoment moment = moments.draw(round);
        const QString fault = killChildAt(mode, folder.path(), moment);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));

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
                                    .arg(moment.text)
                                    .arg(orders)
                                    .arg(items)
                                    .arg(accessories)));
        } else {
            done = orders == 2;
            const std::size_t n = orders == 2 ? 2 : 1;
            QVERIFY2((orders == 1 || orders == 2) && items == n * kItems && accessories == n * kItems &&
                         originalItems == kItems,
                     qPrintable(QStringLiteral("%1: %2 orders, %3 items, %4 accessories")
                                    .arg(moment.text)
                                    .arg(orders)
                                    .arg(items)
                                    .arg(accessories)));
        }
        interrupted += done ? 0 : 1;
        qInfo("%s: %s", qPrintable(moment.text), done ? "done" : "left nothing");
    }
    QVERIFY(interrupted > 0);
}

QAV_KILL_TEST_MAIN(TestManutencaoPedido, childMain)

#include "tst_manutencaopedido.moc"
