// Release codes: the code for an order and key, and its check against the order.
#include "orders/core/CodigoLiberacao.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;
using namespace qavtest;

class TstCodigoLiberacao : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gerar_data() {
        QTest::addColumn<int>("numero");
        QTest::addColumn<int>("cliente");
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("chave");
        QTest::addColumn<int>("codigo");
        QTest::newRow("chave impar") << 123 << 4567 << "1500.75" << 37 << 21381237;
        QTest::newRow("chave par") << 123 << 4567 << "1500.75" << 42 << 37784142;
        QTest::newRow("outro total") << 123 << 4567 << "1500.76" << 37 << 42165637;
        QTest::newRow("estouro de 32 bits") << 50000 << 900001 << "2345.67" << 99 << 18147299;
        QTest::newRow("produto negativo") << 50000 << 900001 << "2345.67" << 98 << 72994498;
        QTest::newRow("zeros a esquerda") << 1 << 1 << "10.01" << 1 << 1001;
    }
    void gerar() {
        QFETCH(int, numero);
        QFETCH(int, cliente);
        QFETCH(QString, total);
        QFETCH(int, chave);
        QFETCH(int, codigo);
        const Decimal t = Decimal::parse(total.toStdString()).value();
        QCOMPARE(gerarCodigoLiberacao(numero, cliente, t, chave).value(), codigo);
        QVERIFY(codigoLiberacaoValido(codigo, numero, cliente, t));
        QCOMPARE(chaveCodigoLiberacao(codigo), chave);
    }

    void totalAlteradoInvalida() {
        const int codigo = gerarCodigoLiberacao(123, 4567, D("1500.75"), 37).value();
        QVERIFY(codigoLiberacaoValido(codigo, 123, 4567, D("1500.75")));
        QVERIFY(!codigoLiberacaoValido(codigo, 123, 4567, D("1500.76")));
        QVERIFY(!codigoLiberacaoValido(codigo, 124, 4567, D("1500.75")));
        QVERIFY(!codigoLiberacaoValido(codigo + 100, 123, 4567, D("1500.75")));
    }

    void codigosSemSentido() {
        QVERIFY(!codigoLiberacaoValido(0, 123, 4567, D("1500.75")));
        QVERIFY(!codigoLiberacaoValido(-21381237, 123, 4567, D("1500.75")));
        QVERIFY(!gerarCodigoLiberacao(1, 1, D("1"), 100).has_value());
        QVERIFY(!gerarCodigoLiberacao(1, 1, D("1"), -1).has_value());
        QCOMPARE(chaveCodigoLiberacao(0), 0);
    }
};

QAV_TEST_GUILESS_MAIN(TstCodigoLiberacao)
#include "tst_codigoliberacao.moc"
