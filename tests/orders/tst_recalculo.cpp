// Recalculation of an order: discount shares, net values, IPI, ICMS-ST, weights and totals.
#include "orders/core/DescontoPauta.h"
#include "orders/core/FatorBase.h"
#include "orders/core/Recalculo.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;
using namespace qavtest;

class TstRecalculo : public QObject {
    Q_OBJECT

    DadosPedido dadosBase() {
        DadosPedido d;
        d.cliente.PESSO = 1;
        d.municipio.ESTADO = QStringLiteral("SP");
        d.adicionarProduto(produto(7));
        d.adicionarProduto(produto(8, "10"));
        return d;
    }
    Pedido pedidoBase() {
        Pedido p;
        p.ID = 1;
        p.ID_EMPRESA = 1;
        p.SITUA = 1;
        p.FCONTA = 1;
        return p;
    }
    StIcms regra(const char* modal) {
        StIcms r;
        r.ID_EMPRESA = 1;
        r.COD_ST = 10;
        r.UF = QStringLiteral("SP");
        r.CONTRIBUINTE_ICMS = 1;
        r.MODAL_BC_ICMSST = QString::fromLatin1(modal);
        r.PERC_BC_ICMS = D("100");
        r.ALIQ_ICMS = D("12");
        r.ALIQ_ICMSST = D("18");
        return r;
    }

private Q_SLOTS:
    void parcelasPorPercentual() {
        Pedido p = pedidoBase();
        p.DESCP = D("10");
        std::vector<PedidoItem> itens{item(1, 7, "1", "100.00"), item(2, 7, "1", "50.00")};
        const ResultadoRecalculo r = recalcularPedido(p, itens, dadosBase(), {});
        QCOMPARE(S(p.TOTPR, 2), QStringLiteral("150.00"));
        QCOMPARE(S(p.DESCV, 2), QStringLiteral("15.00"));
        QCOMPARE(S(itens[0].VL_DESC_TOTAL, 2), QStringLiteral("10.00"));
        QCOMPARE(S(itens[1].VL_DESC_TOTAL, 2), QStringLiteral("5.00"));
        QCOMPARE(S(itens[0].VL_LIQUIDO, 4), QStringLiteral("90.0000"));
        QCOMPARE(S(itens[1].VL_LIQUIDO, 4), QStringLiteral("45.0000"));
        QCOMPARE(S(p.TOTAL, 2), QStringLiteral("135.00"));
        QCOMPARE(S(r.TOT_QTDADE, 3), QStringLiteral("2.000"));
        QVERIFY(r.mensagens.empty());
    }

    void parcelasDoValorDigitadoUltimoFicaComOResto() {
        Pedido p = pedidoBase();
        p.DESCV = D("10.00");
        std::vector<PedidoItem> itens{item(1, 7, "1", "33.33"), item(2, 7, "1", "33.33"),
                                      item(3, 7, "1", "33.34")};
        recalcularPedido(p, itens, dadosBase(), {});
        QCOMPARE(S(p.DESCV, 2), QStringLiteral("10.00"));
        QCOMPARE(S(itens[0].TOTAL - itens[0].VL_LIQUIDO, 4), QStringLiteral("3.3330"));
        QCOMPARE(S(itens[1].TOTAL - itens[1].VL_LIQUIDO, 4), QStringLiteral("3.3330"));
        QCOMPARE(S(itens[2].TOTAL - itens[2].VL_LIQUIDO, 4), QStringLiteral("3.3340"));
        QCOMPARE(S(itens[2].VL_LIQUIDO, 4), QStringLiteral("30.0060"));
        QCOMPARE(S(p.TOTAL, 2), QStringLiteral("90.00"));
    }

    void descontoBloqueadoZeraValorDigitado() {
        Pedido p = pedidoBase();
        p.DESCV = D("10.00");
        DadosPedido d = dadosBase();
        d.qavcfg.BLOQUEIOS1 = QavCfg::kDescontosBloqueados;
        std::vector<PedidoItem> itens{item(1, 7, "1", "100.00")};
        recalcularPedido(p, itens, d, {});
        QCOMPARE(S(p.DESCV, 2), QStringLiteral("0.00"));
        QCOMPARE(S(p.TOTAL, 2), QStringLiteral("100.00"));
    }

    void descontoDoCabecalhoTruncaAntesDeDividir() {
        Pedido p = pedidoBase();
        p.DESCP = D("3.5");
        std::vector<PedidoItem> itens{item(1, 7, "1", "33.33")}; // 33.33 x 3.5 = 116.655 -> 116 -> 1.16
        recalcularPedido(p, itens, dadosBase(), {});
        QCOMPARE(S(p.DESCV, 2), QStringLiteral("1.16"));
        QCOMPARE(S(itens[0].VL_LIQUIDO, 4), QStringLiteral("32.1634")); // share 1.16655 -> 1.1666
    }

    void centenasDeItensSomamODesconto() {
        Pedido p = pedidoBase();
        p.DESCV = D("123.45");
        std::vector<PedidoItem> itens;
        for (int i = 1; i <= 700; ++i)
            itens.push_back(item(i, 7, "3", i % 2 ? "1.99" : "7.13"));
        const ResultadoRecalculo r = recalcularPedido(p, itens, dadosBase(), {});
        Decimal soma, somaTotais;
        for (const PedidoItem& i : itens) {
            soma += i.TOTAL - i.VL_LIQUIDO;
            somaTotais += i.TOTAL;
        }
        QCOMPARE(S(soma, 4), QStringLiteral("123.4500"));
        QCOMPARE(S(p.TOTPR, 2), S(somaTotais, 2));
        QCOMPARE(S(p.TOTPR, 2), QStringLiteral("9576.00")); // 350 x 5.97 + 350 x 21.39
        QCOMPARE(S(p.TOTAL, 2), QStringLiteral("9452.55"));
        QCOMPARE(S(r.TOT_QTDADE, 3), QStringLiteral("2100.000"));
    }

    void pesosEVolume() {
        DadosPedido d = dadosBase();
        Produto pr = produto(9);
        pr.PESOL = D("1.255");
        pr.PESOB = D("1.300");
        pr.VOL_M3 = D("0.000333");
        d.adicionarProduto(pr);
        Pedido p = pedidoBase();
        std::vector<PedidoItem> itens{item(1, 9, "3", "1"), item(2, 9, "2.5", "1"), item(3, 999, "4", "1")};
        recalcularPedido(p, itens, d, {});
        QCOMPARE(S(p.PESO_LIQUIDO, 3), QStringLiteral("6.903")); // 3.765 + 3.1375 -> 3.765 + 3.138
        QCOMPARE(S(p.PESO_BRUTO, 3), QStringLiteral("7.150"));
        QCOMPARE(S(p.VOL_M3, 3), QStringLiteral("0.002")); // 0.000999 -> 0.001, + 0.0008325 -> 0.002
    }

    void ipi_data() {
        QTest::addColumn<QString>("obs");
        QTest::addColumn<bool>("opcao");
        QTest::addColumn<QString>("bc");
        QTest::addColumn<QString>("ipi");
        QTest::addColumn<QString>("total");
        QTest::newRow("sem marcador") << QString() << false << "100.00"
                                      << "10.00"
                                      << "110.00";
        QTest::newRow("N0 simples") << "ENTREGA N0" << true << "0.00"
                                    << "0.00"
                                    << "100.00";
        QTest::newRow("$$ simples") << "$$" << true << "0.00"
                                    << "0.00"
                                    << "100.00";
        QTest::newRow("N0 delimitado ignorado") << "N0" << false << "100.00"
                                                << "10.00"
                                                << "110.00";
        QTest::newRow("#N2# delimitado") << "obs #N2#" << false << "200.00"
                                         << "20.00"
                                         << "120.00";
        QTest::newRow("### simples vale 5") << "###" << true << "500.00"
                                            << "50.00"
                                            << "150.00";
    }
    void ipi() {
        QFETCH(QString, obs);
        QFETCH(bool, opcao);
        DadosPedido d = dadosBase();
        d.cfgSis.push_back({kOpcaoMarcadoresSimples, opcao ? 1 : 0});
        Pedido p = pedidoBase();
        p.OBS = obs;
        std::vector<PedidoItem> itens{item(1, 8, "2", "50.00")};
        recalcularPedido(p, itens, d, {});
        QTEST(S(itens[0].BC_IPI, 2), "bc");
        QTEST(S(itens[0].VL_IPI, 2), "ipi");
        QTEST(S(p.TOTAL, 2), "total");
    }

    void ipiIncluidoNoPreco() {
        DadosPedido d = dadosBase();
        d.adicionarProduto(produto(5, "5"));
        Pedido p = pedidoBase();
        PedidoItem i = item(1, 5, "3", "10.00");
        i.PRECO_COM_IPI = 1;
        std::vector<PedidoItem> itens{i};
        recalcularPedido(p, itens, d, {});
        QCOMPARE(S(itens[0].VL_LIQUIDO, 4), QStringLiteral("28.5714")); // 30 / 1.05
        QCOMPARE(S(itens[0].BC_IPI, 2), QStringLiteral("28.57"));       // 3 x 9.5238
        QCOMPARE(S(itens[0].VL_IPI, 2), QStringLiteral("1.43"));        // 1.4285
        QCOMPARE(S(p.IPI, 2), QStringLiteral("0.00"));                  // already in the price
        QCOMPARE(S(p.TOTAL, 2), QStringLiteral("30.00"));
    }

    void descontoReduzBaseDoIpi() {
        DadosPedido d = dadosBase();
        Produto pr = produto(5, "10");
        pr.DESC_IPI_BC = 1;
        d.adicionarProduto(pr);
        Pedido p = pedidoBase();
        p.DESCP = D("10");
        PedidoItem i = item(1, 5, "10", "10.00");
        i.DESCV = D("5.00");
        i.TOTAL = D("95.00");
        std::vector<PedidoItem> itens{i};
        recalcularPedido(p, itens, d, {});
        QCOMPARE(S(itens[0].VL_DESC_TOTAL, 2), QStringLiteral("14.50"));
        QCOMPARE(S(itens[0].BC_IPI, 2), QStringLiteral("85.50"));
        QCOMPARE(S(itens[0].VL_IPI, 2), QStringLiteral("8.55"));
        QCOMPARE(S(p.TOTAL, 2), QStringLiteral("94.05"));
    }

    void icmsStPorPauta_data() {
        QTest::addColumn<QString>("valorPauta");
        QTest::addColumn<QString>("obs");
        QTest::addColumn<QString>("st");
        QTest::addColumn<int>("mensagens");
        QTest::newRow("com valor") << "15.00" << QString() << "6.00" << 0;
        QTest::newRow("fator N0 nao afeta") << "15.00"
                                            << "N0"
                                            << "6.00" << 0;
        QTest::newRow("sem valor") << "0" << QString() << "0.00" << 2;
    }
    void icmsStPorPauta() {
        QFETCH(QString, valorPauta);
        QFETCH(QString, obs);
        DadosPedido d = dadosBase();
        d.cfgSis.push_back({kOpcaoMarcadoresSimples, 1});
        d.stIcms.push_back(regra("5"));
        d.pauta = Pauta{};
        for (int id : {7, 9}) {
            PautaProduto linha;
            linha.ID_PROD = id;
            linha.VALOR_PAUTA_ICMS_ST = Decimal::parse(valorPauta.toStdString()).value();
            d.adicionarPautaProduto(linha);
        }
        Produto semLinha = produto(9);
        d.adicionarProduto(semLinha);
        Pedido p = pedidoBase();
        p.OBS = obs;
        std::vector<PedidoItem> itens{item(1, 7, "4", "10.00"), item(2, 9, "1", "1.00")};
        itens[1].QTD = Decimal(); // a zero quantity never fails
        itens[1].TOTAL = Decimal();
        const ResultadoRecalculo r = recalcularPedido(p, itens, d, {});
        QTEST(S(itens[0].VL_ICMSST, 2), "st");
        QFETCH(int, mensagens);
        QCOMPARE(static_cast<int>(r.mensagens.size()), mensagens);
        if (mensagens > 0)
            QCOMPARE(r.mensagens[0].texto,
                     QStringLiteral("Pauta de Preço/Taxa MVA não definido para o produto 7 "
                                    "com substituição tributária do ICMS!"));
    }

    void icmsStSemLinhaDaPautaAvisa() {
        DadosPedido d = dadosBase();
        d.stIcms.push_back(regra("5"));
        Pedido p = pedidoBase();
        std::vector<PedidoItem> itens{item(1, 7, "4", "10.00")};
        const ResultadoRecalculo r = recalcularPedido(p, itens, d, {});
        QCOMPARE(S(itens[0].VL_ICMSST, 2), QStringLiteral("0.00"));
        QCOMPARE(static_cast<int>(r.mensagens.size()), 1);
    }

    void icmsStPorMargem_data() {
        QTest::addColumn<QString>("obs");
        QTest::addColumn<QString>("st");
        QTest::addColumn<QString>("total");
        QTest::newRow("fator 1") << QString() << "11.81"
                                 << "116.81";
        QTest::newRow("fator 0") << "N0"
                                 << "0.00"
                                 << "100.00";
        QTest::newRow("fator 2") << "N2"
                                 << "23.63"
                                 << "133.63";
    }
    void icmsStPorMargem() {
        QFETCH(QString, obs);
        DadosPedido d = dadosBase();
        d.cfgSis.push_back({kOpcaoMarcadoresSimples, 1});
        StIcms r = regra("0");
        r.PERC_MARG_VL_ICMSST = D("40");
        r.PERC_RED_BC_ICMSST = D("10");
        d.stIcms.push_back(r);
        d.adicionarProduto(produto(5, "5"));
        Pedido p = pedidoBase();
        p.OBS = obs;
        std::vector<PedidoItem> itens{item(1, 5, "10", "10.00")};
        recalcularPedido(p, itens, d, {});
        QTEST(S(itens[0].VL_ICMSST, 2), "st");
        QTEST(S(p.TOTAL, 2), "total");
        QTEST(S(p.VL_ICMSST, 2), "st");
    }

    void tipoDeContribuinteEscolheALinha_data() {
        QTest::addColumn<int>("pesso");
        QTest::addColumn<int>("consfinal");
        QTest::addColumn<QString>("st");
        QTest::newRow("juridica -> 2") << 2 << 0 << "1.00";
        QTest::newRow("consumidor final -> 0") << 1 << 1 << "2.00";
        QTest::newRow("outro -> 1") << 1 << 0 << "3.00";
    }
    void tipoDeContribuinteEscolheALinha() {
        DadosPedido d = dadosBase();
        QFETCH(int, pesso);
        QFETCH(int, consfinal);
        d.cliente.PESSO = pesso;
        d.cliente.CONSFINAL = consfinal;
        d.cliente.ST_ESPECIFICA = QStringLiteral("ABC");
        d.pauta = Pauta{};
        PautaProduto linha;
        linha.ID_PROD = 7;
        linha.VALOR_PAUTA_ICMS_ST = D("100");
        d.adicionarPautaProduto(linha);
        for (int c = 0; c <= 2; ++c) {
            StIcms r = regra("5");
            r.UF = QStringLiteral("sp ");
            r.ST_ESPECIFICA = QStringLiteral("abc");
            r.CONTRIBUINTE_ICMS = c;
            r.PERC_BC_ICMS = Decimal();
            r.ALIQ_ICMSST = Decimal(c == 2 ? 1 : c == 0 ? 2 : 3);
            d.stIcms.push_back(r);
        }
        Pedido p = pedidoBase();
        std::vector<PedidoItem> itens{item(1, 7, "1", "10.00")};
        recalcularPedido(p, itens, d, {});
        QTEST(S(itens[0].VL_ICMSST, 2), "st");
    }

    void freteFobEntraNoTotal_data() {
        QTest::addColumn<int>("fconta");
        QTest::addColumn<QString>("total");
        QTest::newRow("CIF") << 1 << "100.00";
        QTest::newRow("FOB") << 2 << "112.34";
    }
    void freteFobEntraNoTotal() {
        Pedido p = pedidoBase();
        QFETCH(int, fconta);
        p.FCONTA = fconta;
        p.FRETE = D("12.34");
        std::vector<PedidoItem> itens{item(1, 7, "1", "100.00")};
        recalcularPedido(p, itens, dadosBase(), {});
        QTEST(S(p.TOTAL, 2), "total");
    }

    // A freight rate makes the freight follow the products at every recalculation; at or below 0.01 %
    // the typed value stays.
    void freteDaTaxaSegueOsProdutos_data() {
        QTest::addColumn<QString>("taxa");
        QTest::addColumn<QStringList>("totais");
        QTest::addColumn<QString>("frete");
        QTest::addColumn<QString>("total");
        QTest::newRow("5 % de um item") << "5" << QStringList{QStringLiteral("100.00")} << "5.00"
                                        << "105.00";
        QTest::newRow("5 % de dois itens")
            << "5" << QStringList{QStringLiteral("100.00"), QStringLiteral("60.00")} << "8.00"
            << "168.00";
        QTest::newRow("2,5 % de 33,33") << "2.5" << QStringList{QStringLiteral("33.33")} << "0.83"
                                        << "34.16";
        QTest::newRow("sem itens") << "5" << QStringList{} << "0.00"
                                   << "0.00";
        QTest::newRow("0,01 % deixa o digitado") << "0.01" << QStringList{QStringLiteral("100.00")} << "12.34"
                                                 << "112.34";
    }
    void freteDaTaxaSegueOsProdutos() {
        QFETCH(QString, taxa);
        QFETCH(QStringList, totais);
        Pedido p = pedidoBase();
        p.FCONTA = 2;
        p.FRETE = D("12.34");
        p.TX_FRETE = D(taxa.toLatin1().constData());
        std::vector<PedidoItem> itens;
        for (const QString& t : totais)
            itens.push_back(item(static_cast<int>(itens.size()) + 1, 7, "1", t.toLatin1().constData()));
        recalcularPedido(p, itens, dadosBase(), {});
        QTEST(S(p.FRETE, 2), "frete");
        QTEST(S(p.TOTAL, 2), "total");
    }

    void pedidoVazioEProdutoAusente() {
        Pedido p = pedidoBase();
        p.DESCV = D("5.00");
        std::vector<PedidoItem> vazio;
        recalcularPedido(p, vazio, DadosPedido{}, {});
        QCOMPARE(S(p.TOTAL, 2), QStringLiteral("-5.00"));
        std::vector<PedidoItem> itens{item(1, 4242, "0", "0")};
        const ResultadoRecalculo r = recalcularPedido(p, itens, DadosPedido{}, {});
        QCOMPARE(S(itens[0].VL_LIQUIDO, 4), QStringLiteral("-5.0000"));
        QVERIFY(!r.excessoComissao);
    }

    void niveisDaPauta_data() {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("taxa");
        QTest::newRow("abaixo do 1o nivel") << "999.99"
                                            << "0.00";
        QTest::newRow("1 000.00") << "1000.00"
                                  << "2.00";
        QTest::newRow("4 999.99") << "4999.99"
                                  << "2.00";
        QTest::newRow("5 000.00") << "5000.00"
                                  << "5.00";
    }
    void niveisDaPauta() {
        Pauta pauta;
        pauta.VL_PEDIDO[0] = D("1000.00");
        pauta.TX_DESCONTO[0] = D("2");
        pauta.VL_PEDIDO[1] = D("5000.00");
        pauta.TX_DESCONTO[1] = D("5");
        pauta.TX_DESCONTO[4] = D("9"); // level without value: never applies
        QFETCH(QString, total);
        QTEST(S(descontoPauta(pauta, Decimal::parse(total.toStdString()).value()), 2), "taxa");
        QCOMPARE(S(descontoPauta(std::nullopt, D("99999")), 2), QStringLiteral("0.00"));
    }

    void descontoPautaDoRecalculo() {
        DadosPedido d = dadosBase();
        Pauta pauta;
        pauta.VL_PEDIDO[0] = D("1000.00");
        pauta.TX_DESCONTO[0] = D("2");
        d.pauta = pauta;
        Pedido p = pedidoBase();
        std::vector<PedidoItem> itens{item(1, 7, "1", "1000.00")};
        QCOMPARE(S(recalcularPedido(p, itens, d, {}).TX_DESC_PAUTA, 2), QStringLiteral("2.00"));
    }

    void fatorBase_data() {
        QTest::addColumn<QString>("obs");
        QTest::addColumn<bool>("simples");
        QTest::addColumn<int>("fator");
        QTest::newRow("vazio") << QString() << true << 1;
        QTest::newRow("N0 antes de N5") << "N5 N0" << true << 0;
        QTest::newRow("###") << "x###x" << true << 5;
        QTest::newRow("##") << "##" << true << 7;
        QTest::newRow("N9") << "N9" << true << 9;
        QTest::newRow("#N3# delimitado") << "#N3#" << false << 3;
        QTest::newRow("N3 sem delimitador") << "N3" << false << 1;
        QTest::newRow("#N3# no modo simples") << "#N3#" << true << 3;
    }
    void fatorBase() {
        QFETCH(QString, obs);
        QFETCH(bool, simples);
        QTEST(qav::fatorBase(obs, simples), "fator");
    }
};

QAV_TEST_GUILESS_MAIN(TstRecalculo)
#include "tst_recalculo.moc"
