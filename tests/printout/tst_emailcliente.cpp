// The address typed in the printout window, remembered for the customer's next order documents.
#include "printout/core/EmailCliente.h"
#include "store/core/Table.h"
#include "tests/printout/PedidoImpressoFixture.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>

using namespace qav;
using namespace qav::impressao;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestEmailCliente : public QObject {
    Q_OBJECT

private:
    struct Cliente {
        QString emailQav;
        std::int64_t revisao = 0;
    };
    static Cliente lerCliente(Store& store) {
        Table t(store, "clientes");
        if (!t.open())
            return {};
        t.rec().setInteger("ID", kIdClienteImpresso);
        if (t.get("KEYID") != Status::Ok)
            return {};
        return {t.rec().text("EMAIL_QAV"), t.rec().revision()};
    }

private Q_SLOTS:
    void lembraEnderecoDigitado_data() {
        QTest::addColumn<QString>("emailQav");
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<bool>("grava");
        QTest::newRow("outro endereço")
            << u""_s << u"marta@ferragens.com.br"_s << u"marta@ferragens.com.br"_s << true;
        QTest::newRow("outro, com brancos em volta")
            << u""_s << u"  marta@ferragens.com.br  "_s << u"marta@ferragens.com.br"_s << true;
        QTest::newRow("o principal apaga o alternativo")
            << u"marta@ferragens.com.br"_s << u" compras@ferragens.com.br "_s << u""_s << true;
        QTest::newRow("o principal em outra caixa é outro endereço")
            << u""_s << u"Compras@Ferragens.com.br"_s << u"Compras@Ferragens.com.br"_s << true;
        QTest::newRow("o mesmo alternativo não grava")
            << u"marta@ferragens.com.br"_s << u"marta@ferragens.com.br "_s << u"marta@ferragens.com.br"_s
            << false;
        QTest::newRow("o principal sem alternativo não grava")
            << u""_s << u"compras@ferragens.com.br"_s << u""_s << false;
        QTest::newRow("entrada em branco não grava")
            << u"marta@ferragens.com.br"_s << u"   "_s << u"marta@ferragens.com.br"_s << false;
    }
    void lembraEnderecoDigitado() {
        QFETCH(QString, emailQav);
        QFETCH(QString, entrada);
        QFETCH(QString, esperado);
        QFETCH(bool, grava);
        TempDataFolder folder;
        PedidoImpresso pedido;
        pedido.email = u"compras@ferragens.com.br"_s;
        pedido.emailQav = emailQav;
        prepararPedidoImpresso(folder.store(), pedido);
        const Cliente antes = lerCliente(folder.store());
        StoreError erro;
        QVERIFY(lembrarEmailCliente(folder.store(), kIdClienteImpresso, entrada, &erro));
        QVERIFY(!erro.isError());
        const Cliente depois = lerCliente(folder.store());
        QCOMPARE(depois.emailQav, esperado);
        QCOMPARE(depois.revisao != antes.revisao, grava);
    }

    void clienteDesconhecidoNaoGrava() {
        TempDataFolder folder;
        PedidoImpresso pedido;
        pedido.clienteAusente = true;
        prepararPedidoImpresso(folder.store(), pedido);
        StoreError erro;
        QVERIFY(lembrarEmailCliente(folder.store(), kIdClienteImpresso, u"marta@ferragens.com.br"_s, &erro));
        QVERIFY(!erro.isError());
        Table t(folder.store(), "clientes");
        QVERIFY(t.open());
        QCOMPARE(t.count(), 0);
    }

    // Another window holding the customer: the write fails and says why.
    void falhaAoGravar() {
        TempDataFolder folder;
        prepararPedidoImpresso(folder.store(), {});
        Store outra(folder.path());
        Table formulario(outra, "clientes");
        QVERIFY(formulario.open());
        formulario.rec().setInteger("ID", kIdClienteImpresso);
        QCOMPARE(formulario.get("KEYID"), Status::Ok);
        QCOMPARE(formulario.hold(0), Status::Ok);
        StoreError erro;
        QVERIFY(!lembrarEmailCliente(folder.store(), kIdClienteImpresso, u"marta@ferragens.com.br"_s, &erro));
        QCOMPARE(erro.number(), 43);
        formulario.release();
        QCOMPARE(lerCliente(folder.store()).emailQav, QString());
    }
};

QAV_TEST_GUILESS_MAIN(TestEmailCliente)
#include "tst_emailcliente.moc"
