// The draft of an order being typed survives the program's death: a child process types a new order
// in the real order form, one item per bar-code reading, and is killed at random moments; the draft
// it leaves offers back every item it had confirmed, whole, and none it had not read.
#include "orders/core/RascunhoPedido.h"
#include "orders/widgets/FichaPedido.h"
#include "tests/orders/ReferenciasFixture.h"
#include "tests/support/KillTest.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

constexpr int kItens = 16;
constexpr int kCliente = 100;
constexpr int kVendedor = 7;

QString barras(int produto) {
    return u"78910000%1"_s.arg(produto, 5, 10, QLatin1Char('0'));
}

// The company, its representative and payment form, the customer and the products 1..kItens, each
// with a bar code of its own.
void referencias(Store& s) {
    empresa(s, {.id = 1});
    municipio(s, {.id = 10, .estado = u"PR"_s});
    qavcfg(s, {.vendedor = kVendedor, .leituraCodBarras = 1});
    vendedor(s, {.id = 1, .codigo = kVendedor, .origemCom = 1, .taxa = "5"});
    formaPag(s, {.id = 1, .codigo = 1, .descricao = u"30 DIAS"_s});
    cliente(s, {.id = kCliente,
                .razao = u"CLIENTE 100 LTDA"_s,
                .vendedor = kVendedor,
                .libCred = 1,
                .formaPag = 1,
                .municipio = 10});
    for (int p = 1; p <= kItens; ++p) {
        const QByteArray codigo = barras(p).toLatin1();
        produto(
            s, {.id = p, .codigo = u"P%1"_s.arg(p), .barras = codigo.constData(), .preco = "10", .ativo = 1});
    }
}

void digitar(QLineEdit* campo, const QString& texto) {
    campo->setFocus();
    campo->selectAll();
    QTest::keyClicks(campo, texto);
    QTest::keyClick(campo, Qt::Key_Return);
}

// The child: a new order for the customer, then one reading per product, telling each one done.
// After the last it waits to be killed, the order still unsaved.
int filho(const QString& modo, const QString& pasta) {
    if (modo != u"pedido"_s)
        return 2;
    MessageBox::setNextAnswers(QList<Button>(1000, Button::No));
    FichaPedido form(ListContext{pasta, 1, pasta}, Requisicao::Inserir);
    Record inicio(*findTable("pedidos.tps"));
    if (!form.preparar(&inicio))
        return 3;
    form.show();
    digitar(form.findChild<QLineEdit*>(u"cliente"_s), QString::number(kCliente));
    auto* leitor = form.findChild<QLineEdit*>(u"codigoBarras"_s);
    for (int p = 1; p <= kItens; ++p) {
        digitar(leitor, barras(p));
        if (form.edicao().itens().size() != static_cast<std::size_t>(p))
            return 4;
        reportProgress(p, kItens, 1);
    }
    QThread::sleep(30);
    return 0;
}

} // namespace

class TestRascunhoPedidoKill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Killed a little after item k was told, or after the last: the draft holds items 1..k, or more
    // of the items typed in the milliseconds before the kill, always in the order they were typed,
    // each one unit of its product, for the customer, and is offered once for the company.
    void killedFormOffersItsConfirmedItemsBack() {
        KillMoments momentos(kItens, 1, u"draft"_s);
        for (int rodada = 1; rodada <= 4; ++rodada) {
            TempDataFolder pasta;
            referencias(pasta.store());
            const KillMoment momento = momentos.draw(rodada);
            const QString falha = killChildAt(u"pedido"_s, pasta.path(), momento);
            QVERIFY2(falha.isEmpty(), qPrintable(falha));
            const int contados = momento.line == "committing" ? kItens : momento.line.mid(3).toInt();

            const std::vector<RascunhoPedido> pendentes = rascunho::pendentes(pasta.path(), 1);
            QVERIFY2(pendentes.size() == 1, qPrintable(momento.text));
            const RascunhoPedido& r = pendentes.front();
            QVERIFY(r.novo);
            QCOMPARE(r.cliente, kCliente);
            const int n = static_cast<int>(r.itens.size());
            QVERIFY2(n >= contados && n <= kItens,
                     qPrintable(u"%1: %2 items in the draft"_s.arg(momento.text).arg(n)));
            for (int i = 0; i < n; ++i) {
                QCOMPARE(r.itens[static_cast<std::size_t>(i)].item.integer("PRODU"), i + 1);
                QCOMPARE(r.itens[static_cast<std::size_t>(i)].item.decimal("QTD"), Decimal(1));
            }
            // A draft is no order.
            Table pedidos(pasta.store(), "pedidos");
            QVERIFY(pedidos.open());
            QCOMPARE(pedidos.count(), std::int64_t(0));
        }
    }
};

namespace {
int run(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return filho(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestRascunhoPedidoKill test;
    return QTest::qExec(&test, argc, argv);
}
} // namespace
QAV_TEST_MAIN_FUNCTION(run)

#include "tst_gui_rascunhopedido_kill.moc"
