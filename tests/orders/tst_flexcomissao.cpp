// Net list price, flex, commission share and the flex balance over the other open orders.
#include "orders/core/FlexComissao.h"
#include "orders/core/LimiteDesconto.h"
#include "orders/core/Recalculo.h"
#include "orders/core/SaldoFlex.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;
using namespace qavtest;

class TstFlexComissao : public QObject {
    Q_OBJECT

    DadosPedido dados() {
        DadosPedido d;
        d.adicionarProduto(produto(7));
        return d;
    }
    Pedido pedidoFlex() {
        Pedido p;
        p.ID = 1;
        p.SITUA = 1;
        p.PED_FLEX = 1;
        return p;
    }

private Q_SLOTS:
    void precoPautaLiquido_data() {
        QTest::addColumn<QString>("descoFormaPag");
        QTest::addColumn<QString>("descFlex");
        QTest::addColumn<QString>("txLote");
        QTest::addColumn<QString>("liquido");
        QTest::addColumn<QString>("flex");
        QTest::newRow("preco de lista") << "0"
                                        << "0"
                                        << "0"
                                        << "10.0000"
                                        << "-10.00";
        QTest::newRow("forma de pagamento 5%") << "5"
                                               << "0"
                                               << "0"
                                               << "9.5000"
                                               << "-5.00";
        QTest::newRow("mais desconto flex 2%") << "5"
                                               << "2"
                                               << "0"
                                               << "9.3100"
                                               << "-3.10";
        QTest::newRow("mais lote 5%") << "5"
                                      << "2"
                                      << "5"
                                      << "8.8445"
                                      << "1.56";
    }
    void precoPautaLiquido() {
        QFETCH(QString, descoFormaPag);
        QFETCH(QString, descFlex);
        QFETCH(QString, txLote);
        DadosPedido d;
        Produto pr = produto(7);
        pr.LOTE_MUL_VENDA = D("5");
        pr.TX_DESC_LOTE = Decimal::parse(txLote.toStdString()).value();
        d.adicionarProduto(pr);
        FormaPag f;
        f.DESCO = Decimal::parse(descoFormaPag.toStdString()).value();
        d.formaPag = f;
        d.vendedor.DESC_PAUTA_FLEX = Decimal::parse(descFlex.toStdString()).value();
        PedidoItem i = item(1, 7, "10", "9.00");
        i.PRECO_PAUTA = D("10.00");
        std::vector<PedidoItem> itens{i};
        Pedido p = pedidoFlex();
        const ResultadoRecalculo r = recalcularPedido(p, itens, d, {});
        QTEST(S(itens[0].PR_PAUTA_LIQ, 4), "liquido");
        QTEST(S(itens[0].VL_FLEX, 2), "flex");
        QTEST(S(r.flex.VL_FLEX, 2), "flex");
    }

    void loteContaPecasOuQuantidade() {
        Produto pr = produto(7);
        pr.LOTE_MUL_VENDA = D("12");
        pr.TX_DESC_LOTE = D("10");
        PedidoItem i = item(1, 7, "30", "1");
        i.PRECO_PAUTA = D("10");
        QCOMPARE(S(qav::precoPautaLiquido(i, pr, {}, {}, Decimal(1)), 4), QStringLiteral("10.0000"));
        i.QTD_PECAS = 24;
        QCOMPARE(S(qav::precoPautaLiquido(i, pr, {}, {}, Decimal(1)), 4), QStringLiteral("9.0000"));
        i.QTD_PECAS = 0;
        i.QTD = D("36");
        QCOMPARE(S(qav::precoPautaLiquido(i, pr, {}, {}, Decimal(1)), 4), QStringLiteral("9.0000"));
    }

    void precoComIpiUsaOFator() {
        Produto pr = produto(7, "10");
        PedidoItem i = item(1, 7, "1", "11");
        i.PRECO_COM_IPI = 1;
        QCOMPARE(S(qav::precoPautaLiquido(i, pr, {}, {}, Decimal(1)), 4), QStringLiteral("10.0000"));
        QCOMPARE(S(qav::precoPautaLiquido(i, pr, {}, {}, Decimal(0)), 4), QStringLiteral("11.0000"));
        QCOMPARE(S(qav::precoPautaLiquido(i, pr, {}, {}, Decimal(2)), 4), QStringLiteral("9.1667"));
    }

    void semPedidoFlexNaoHaFlex() {
        Pedido p = pedidoFlex();
        p.PED_FLEX = 0;
        std::vector<PedidoItem> itens{item(1, 7, "10", "9.00")};
        itens[0].PRECO_PAUTA = D("10");
        DadosPedido d = dados();
        d.qavcfg.SALDO_FLEX = D("50");
        const ResultadoRecalculo r = recalcularPedido(p, itens, d, {});
        QCOMPARE(S(itens[0].VL_FLEX, 2), QStringLiteral("0.00"));
        QCOMPARE(S(r.flex.SALDO_FLEX, 2), QStringLiteral("0.00"));
    }

    void rateioDaComissao_data() {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("comis");
        QTest::addColumn<bool>("excedido");
        QTest::newRow("sem desconto") << "100.00"
                                      << "6.00" << false;
        QTest::newRow("acima da pauta") << "110.00"
                                        << "6.00" << false;
        QTest::newRow("4% -> metade") << "96.00"
                                      << "4.00" << false;
        QTest::newRow("4,35% arredonda") << "95.65"
                                         << "3.83" << false;
        QTest::newRow("no limite") << "95.00"
                                   << "3.50" << false;
        QTest::newRow("acima do limite") << "90.00"
                                         << "3.50" << true;
    }
    void rateioDaComissao() {
        QFETCH(QString, total);
        DadosPedido d = dados();
        d.vendedor.DESC_RATEIO_COM = D("5");
        d.vendedor.ORIGEM_COM = 1;
        d.vendedor.TAXA_COMISSAO = D("6");
        PedidoItem i = item(1, 7, "10", "10");
        i.TOTAL = Decimal::parse(total.toStdString()).value();
        std::vector<PedidoItem> itens{i};
        Pedido p = pedidoFlex();
        const ResultadoRecalculo r = recalcularPedido(p, itens, d, {});
        QTEST(S(itens[0].COMIS, 2), "comis");
        QTEST(r.excessoComissao, "excedido");
        QFETCH(bool, excedido);
        if (excedido) {
            QCOMPARE(static_cast<int>(r.mensagens.size()), 1);
            QCOMPARE(r.mensagens[0].texto,
                     QStringLiteral("Desconto de 10,00% é superior a taxa de rateio da comissão "
                                    "5,00% do vendedor!|Produto: 7 Parafuso sextavado"));
        }
    }

    void rateioComTaxaDoProdutoERede() {
        DadosPedido d;
        Produto pr = produto(7);
        pr.TAXA_COMISSAO = D("3");
        d.adicionarProduto(pr);
        d.vendedor.DESC_RATEIO_COM = D("5");
        d.vendedor.ORIGEM_COM = 2;
        PedidoItem i = item(1, 7, "10", "10");
        i.TOTAL = D("90.00");
        i.COMIS = D("8");
        std::vector<PedidoItem> itens{i};
        Pedido p = pedidoFlex();
        ResultadoRecalculo r = recalcularPedido(p, itens, d, {});
        QCOMPARE(S(itens[0].COMIS, 2), QStringLiteral("1.50")); // 3 - limit 3 / 2
        QVERIFY(r.excessoComissao);

        itens[0].COMIS = D("8");
        p.DESC_CLIENTE_REDE = 1; // network customer: no sharing at all
        r = recalcularPedido(p, itens, d, {});
        QCOMPARE(S(itens[0].COMIS, 2), QStringLiteral("8.00"));
        QVERIFY(!r.excessoComissao);
    }

    void excessoDeQualquerItemPermanece() {
        DadosPedido d = dados();
        d.vendedor.DESC_RATEIO_COM = D("5");
        d.vendedor.ORIGEM_COM = 1;
        d.vendedor.TAXA_COMISSAO = D("6");
        PedidoItem a = item(1, 7, "10", "10");
        a.TOTAL = D("80.00");
        PedidoItem b = item(2, 7, "10", "10");
        std::vector<PedidoItem> itens{a, b};
        Pedido p = pedidoFlex();
        const ResultadoRecalculo r = recalcularPedido(p, itens, d, {});
        QVERIFY(r.excessoComissao); // the later item within its limit does not clear it
        QCOMPARE(S(itens[1].COMIS, 2), QStringLiteral("6.00"));
    }

    void descontoComQuantidadeZeroEhZero() {
        QCOMPARE(S(descontoSobrePautaLiquida(D("10"), D("5"), Decimal()), 2), QStringLiteral("0.00"));
        QCOMPARE(S(descontoSobrePautaLiquida(Decimal(), D("5"), D("1")), 2), QStringLiteral("0.00"));
        QCOMPARE(S(descontoSobrePautaLiquida(D("3"), D("2"), D("1")), 2), QStringLiteral("33.33"));
    }

    void limiteDoVendedorComFormaPag_data() {
        QTest::addColumn<QString>("limite");
        QTest::addColumn<QString>("desco");
        QTest::addColumn<QString>("combinado");
        QTest::newRow("10 com 5") << "10"
                                  << "5"
                                  << "14.50";
        QTest::newRow("sem forma") << "10"
                                   << "0"
                                   << "10.00";
        QTest::newRow("0 com 5") << "0"
                                 << "5"
                                 << "5.00";
    }
    void limiteDoVendedorComFormaPag() {
        QFETCH(QString, limite);
        QFETCH(QString, desco);
        QTEST(S(limiteComDescontoFormaPag(Decimal::parse(limite.toStdString()).value(),
                                          Decimal::parse(desco.toStdString()).value()),
                2),
              "combinado");
    }

    void saldoFlex_data() {
        QTest::addColumn<int>("situacao");
        QTest::addColumn<QString>("credito");
        QTest::addColumn<QString>("debito");
        QTest::addColumn<QString>("saldo");
        // What releasing the order will find: only the other released orders, whatever this one's
        // situation.
        QTest::addColumn<QString>("liberacao");
        QTest::newRow("pendente ve 1 e 2") << 1 << "20.00"
                                           << "-45.00"
                                           << "55.00"
                                           << "70.00";
        QTest::newRow("liberado ve so 2") << 2 << "0.00"
                                          << "-30.00"
                                          << "70.00"
                                          << "70.00";
        QTest::newRow("cancelado nao ve") << 4 << "0.00"
                                          << "0.00"
                                          << "100.00"
                                          << "70.00";
    }
    void saldoFlex() {
        QFETCH(int, situacao);
        Pedido p = pedidoFlex();
        p.SITUA = situacao;
        QavCfg cfg;
        cfg.SALDO_FLEX = D("100.00");
        const std::vector<OutroPedido> outros{
            {2, 1, 1, D("20.00")},  {3, 2, 1, D("-30.00")}, {4, 2, 0, D("-50.00")},
            {5, 3, 1, D("-40.00")}, {1, 1, 1, D("-99.00")}, {6, 1, 1, D("-15.00")},
        };
        std::vector<PedidoItem> itens{item(1, 7, "1", "1"), item(2, 7, "1", "1")};
        itens[0].VL_FLEX = D("-2.50");
        itens[1].VL_FLEX = D("1.25");
        const SaldoFlex s = calcularSaldoFlex(p, itens, outros, cfg);
        QTEST(S(s.FLEX_OUTROS_CRE, 2), "credito");
        QTEST(S(s.FLEX_OUTROS_DEB, 2), "debito");
        QTEST(S(s.SALDO_FLEX, 2), "saldo");
        QTEST(S(s.SALDO_FLEX_LIBERACAO, 2), "liberacao");
        QCOMPARE(S(s.VL_FLEX, 2), QStringLiteral("-1.25"));
    }
};

QAV_TEST_GUILESS_MAIN(TstFlexComissao)
#include "tst_flexcomissao.moc"
