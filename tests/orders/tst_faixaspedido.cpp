// The ranges of an order's typed values (discounts 0 to 100 %, discount values within what they
// discount, quantities above 0), the discount an order takes from its customer or its payment form,
// and the check that every computed value fits its field.
#include "orders/core/CamposPedido.h"
#include "orders/core/FaixasPedido.h"
#include "orders/core/RegrasLiberacao.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;
using namespace qavtest;

class TstFaixasPedido : public QObject {
    Q_OBJECT

    // "campo|caption: text", or empty when the values are in range.
    static QString recusa(const std::optional<ForaDaFaixa>& fora) {
        if (!fora)
            return {};
        const Mensagem m = fora->mensagem();
        return fora->campo + QLatin1Char('|') + m.titulo + QStringLiteral(": ") + m.texto;
    }

private Q_SLOTS:
    void cabecalho_data() {
        QTest::addColumn<QString>("descp");
        QTest::addColumn<QString>("descv");
        QTest::addColumn<QString>("totpr");
        QTest::addColumn<QString>("esperado");
        const QString percentual =
            QStringLiteral("descp|Range Error: The value of Desconto % must be between 0 and 100.");
        QTest::newRow("no discount") << "0"
                                     << "0"
                                     << "100" << QString();
        QTest::newRow("100 %") << "100"
                               << "100"
                               << "100" << QString();
        QTest::newRow("100,01 %") << "100.01"
                                  << "0"
                                  << "100" << percentual;
        QTest::newRow("-0,01 %") << "-0.01"
                                 << "0"
                                 << "100" << percentual;
        QTest::newRow("14 digits") << "12345678901234"
                                   << "0"
                                   << "100" << percentual;
        QTest::newRow("value of all the products") << "0"
                                                   << "100"
                                                   << "100" << QString();
        QTest::newRow("value over the products")
            << "0"
            << "100.01"
            << "100"
            << QStringLiteral(
                   "descv|Range Error: The value of Valor Desconto must be between 0,00 and 100,00.");
        QTest::newRow("negative value")
            << "0"
            << "-1"
            << "1234.5"
            << QStringLiteral(
                   "descv|Range Error: The value of Valor Desconto must be between 0,00 and 1.234,50.");
    }
    void cabecalho() {
        QFETCH(QString, descp);
        QFETCH(QString, descv);
        QFETCH(QString, totpr);
        Pedido p;
        p.DESCP = D(qPrintable(descp));
        p.DESCV = D(qPrintable(descv));
        p.TOTPR = D(qPrintable(totpr));
        QTEST(recusa(faixa::cabecalho(p)), "esperado");
    }

    void item_data() {
        QTest::addColumn<QString>("qtd");
        QTest::addColumn<QString>("descp");
        QTest::addColumn<QString>("descv");
        QTest::addColumn<QString>("esperado");
        const QString quantidade =
            QStringLiteral("quantidade|Range Error: The value of Quantidade must be higher than 0.");
        QTest::newRow("one unit") << "1"
                                  << "0"
                                  << "0" << QString();
        QTest::newRow("a thousandth") << "0.001"
                                      << "0"
                                      << "0" << QString();
        QTest::newRow("zero") << "0"
                              << "0"
                              << "0" << quantidade;
        QTest::newRow("negative") << "-3"
                                  << "0"
                                  << "0" << quantidade;
        QTest::newRow("quantity before the discount") << "-3"
                                                      << "150"
                                                      << "0" << quantidade;
        QTest::newRow("150 %")
            << "2"
            << "150"
            << "0" << QStringLiteral("descp|Range Error: The value of Desconto % must be between 0 and 100.");
        QTest::newRow("value of the whole item") << "2"
                                                 << "0"
                                                 << "20" << QString();
        QTest::newRow("value over the item")
            << "2"
            << "0"
            << "20.01"
            << QStringLiteral(
                   "descv|Range Error: The value of Valor Desconto must be between 0,00 and 20,00.");
    }
    void item() {
        QFETCH(QString, qtd);
        QFETCH(QString, descp);
        QFETCH(QString, descv);
        PedidoItem i = qavtest::item(1, 7, qPrintable(qtd), "10");
        i.DESCP = D(qPrintable(descp));
        i.DESCV = D(qPrintable(descv));
        QTEST(recusa(faixa::item(i)), "esperado");
    }

    // The customer's own order discount over the payment form's.
    void descontoDoPedido_data() {
        QTest::addColumn<QString>("doCliente");
        QTest::addColumn<bool>("temFormaPag");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("payment form's") << "0" << true << "5.00";
        QTest::newRow("customer's") << "3" << true << "3.00";
        QTest::newRow("customer's, no payment form") << "3" << false << "3.00";
        QTest::newRow("neither") << "0" << false << "0.00";
    }
    void descontoDoPedido() {
        QFETCH(QString, doCliente);
        QFETCH(bool, temFormaPag);
        DadosPedido dados;
        dados.cliente.TX_DESC_PEDIDO = D(qPrintable(doCliente));
        if (temFormaPag) {
            FormaPag f;
            f.DESCO = D("5");
            dados.formaPag = f;
        }
        QTEST(S(qav::descontoDoPedido(dados), 2), "esperado");
    }

    // Every decimal(p,s) field holds p - s digits before the point; a real64 one 15.
    void campoEstourado_data() {
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("fits") << "9999.999"
                              << "999999999999999.99" << QString();
        QTest::newRow("volume over") << "10000"
                                     << "0" << QStringLiteral("VDA:VOL_M3 9.999,999");
        QTest::newRow("volume rounds over") << "9999.9995"
                                            << "0" << QStringLiteral("VDA:VOL_M3 9.999,999");
        QTest::newRow("negative volume") << "-10000"
                                         << "0" << QStringLiteral("VDA:VOL_M3 9.999,999");
        QTest::newRow("total over") << "0"
                                    << "1000000000000000"
                                    << QStringLiteral("VDA:TOTAL 999.999.999.999.999,99");
    }
    void campoEstourado() {
        QFETCH(QString, volume);
        QFETCH(QString, total);
        Pedido p;
        p.VOL_M3 = D(qPrintable(volume));
        p.TOTAL = D(qPrintable(total));
        const std::optional<CampoEstourado> e = qav::campoEstourado(p);
        QTEST(e ? e->campo + QLatin1Char(' ') + e->limite : QString(), "esperado");
    }
};

QAV_TEST_GUILESS_MAIN(TstFaixasPedido)
#include "tst_faixaspedido.moc"
