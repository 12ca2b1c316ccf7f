// Item pricing of the item form: initial price, item recalculation, commission share, price from a
// commission rate, measure price and the quantity rules.
#include "orders/core/IcmsSt.h"
#include "orders/core/PrecoItem.h"
#include "orders/core/Quantidade.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;
using namespace qavtest;

class TstPrecoItem : public QObject {
    Q_OBJECT

    static Decimal dec(const QString& texto) { return Decimal::parse(texto.toStdString()).value(); }

private Q_SLOTS:
    void precoInicial_data() {
        QTest::addColumn<bool>("comPauta");
        QTest::addColumn<QString>("acrescimo");
        QTest::addColumn<QString>("qtd");
        QTest::addColumn<QString>("pauta");
        QTest::addColumn<QString>("pruni");
        QTest::addColumn<QString>("total");
        QTest::newRow("produto") << false << "0"
                                 << "23"
                                 << "20.0000"
                                 << "20.0000"
                                 << "460.00";
        QTest::newRow("acrescimo 10%") << false << "10"
                                       << "23"
                                       << "20.0000"
                                       << "22.0000"
                                       << "506.00";
        QTest::newRow("lote 24: 5% menos") << false << "0"
                                           << "24"
                                           << "20.0000"
                                           << "19.0000"
                                           << "456.00";
        QTest::newRow("pauta") << true << "0"
                               << "1"
                               << "18.5000"
                               << "18.5000"
                               << "18.50";
        QTest::newRow("pauta e acrescimo") << true << "10"
                                           << "1"
                                           << "18.5000"
                                           << "20.3500"
                                           << "20.35";
    }
    void precoInicial() {
        QFETCH(bool, comPauta);
        QFETCH(QString, acrescimo);
        QFETCH(QString, qtd);
        DadosPedido d;
        Produto pr = produto(7);
        pr.PRECO = D("20");
        pr.LOTE_MUL_VENDA = D("12");
        pr.TX_DESC_LOTE = D("5");
        d.adicionarProduto(pr);
        FormaPag f;
        f.ACRESC = dec(acrescimo);
        d.formaPag = f;
        if (comPauta) {
            d.pauta = Pauta{};
            PautaProduto linha;
            linha.ID_PROD = 7;
            linha.PRECO1 = D("18.50");
            d.adicionarPautaProduto(linha);
        }
        PedidoItem i;
        i.PRODU = 7;
        i.QTD = dec(qtd);
        ResultadoItem r;
        definirPrecoInicial(i, Pedido{}, d, {}, r);
        QTEST(S(i.PRECO_PAUTA, 4), "pauta");
        QTEST(S(i.PRUNI, 4), "pruni");
        QTEST(S(i.VALOR_PRODUTO, 4), "pruni");
        QTEST(S(i.TOTAL, 2), "total");
    }

    void produtoForaDaPautaTemPrecoZero() {
        DadosPedido d;
        Produto pr = produto(7);
        pr.PRECO = D("20");
        d.adicionarProduto(pr);
        d.pauta = Pauta{};
        PedidoItem i;
        i.PRODU = 7;
        i.QTD = D("1");
        ResultadoItem r;
        definirPrecoInicial(i, Pedido{}, d, {}, r);
        QCOMPARE(S(i.PRUNI, 4), QStringLiteral("0.0000"));
    }

    void recalculoDoItem() {
        DadosPedido d;
        Produto pr = produto(7, "10");
        d.adicionarProduto(pr);
        Pedido p;
        p.DESCP = D("10");
        PedidoItem i;
        i.PRODU = 7;
        i.QTD = D("3");
        i.VALOR_PRODUTO = D("10.1234");
        i.DESCP = D("2.5");
        ResultadoItem r;
        recalcularItem(i, p, d, {D("0.50"), D("0.25")}, r);
        QCOMPARE(S(i.VALOR_ACESSORIOS, 2), QStringLiteral("0.75"));
        QCOMPARE(S(i.PRUNI, 4), QStringLiteral("10.8734"));
        QCOMPARE(S(i.DESCV, 2), QStringLiteral("0.81"));         // INT(32.62 x 2.5) / 100
        QCOMPARE(S(i.TOTAL, 2), QStringLiteral("31.81"));        // 32.62 - 0.81
        QCOMPARE(S(i.VL_LIQUIDO, 4), QStringLiteral("28.6290")); // 31.81 - 3.181
        QCOMPARE(S(i.BC_IPI, 2), QStringLiteral("32.62"));
        QCOMPARE(S(i.VL_IPI, 2), QStringLiteral("3.26"));
        QCOMPARE(S(r.TOT_TRIB, 4), QStringLiteral("31.8890"));
    }

    void pecasVezesComprimento() {
        DadosPedido d;
        Produto pr = produto(7);
        pr.SUBCATEGORIA = 103;
        pr.PESO_METRO = D("1.5");
        d.adicionarProduto(pr);
        PedidoItem i;
        i.PRODU = 7;
        i.QTD_PECAS = 10;
        i.COMPRIMENTO = 6000;
        i.VALOR_PRODUTO = D("2");
        ResultadoItem r;
        recalcularItem(i, Pedido{}, d, {}, r);
        QCOMPARE(S(i.QTD, 3), QStringLiteral("90.000"));
        QCOMPARE(S(i.TOTAL, 2), QStringLiteral("180.00"));
        QCOMPARE(S(quantidadePorPecas(3, 1234, D("0.777")), 3), QStringLiteral("2.876")); // 2.876454
    }

    void contribuinteDoItem_data() {
        QTest::addColumn<int>("pesso");
        QTest::addColumn<int>("consfinal");
        QTest::addColumn<int>("indicador");
        QTest::addColumn<int>("tipo");
        QTest::newRow("juridica contribuinte") << 2 << 0 << 1 << 4;
        QTest::newRow("juridica isenta") << 2 << 0 << 2 << 4;
        QTest::newRow("juridica nao contribuinte") << 2 << 0 << 9 << 2;
        QTest::newRow("consumidor final contribuinte") << 1 << 1 << 1 << 3;
        QTest::newRow("contribuinte") << 1 << 0 << 2 << 1;
        QTest::newRow("consumidor final") << 1 << 1 << 9 << 0;
        QTest::newRow("nada") << 0 << 0 << 0 << 0;
    }
    void contribuinteDoItem() {
        Cliente c;
        QFETCH(int, pesso);
        QFETCH(int, consfinal);
        QFETCH(int, indicador);
        c.PESSO = pesso;
        c.CONSFINAL = consfinal;
        c.INDICADOR_IE = indicador;
        QTEST(contribuinteIcmsItem(c), "tipo");
    }

    void icmsStDoItemSemFator() {
        DadosPedido d;
        d.cfgSis.push_back({kOpcaoMarcadoresSimples, 1});
        d.cliente.PESSO = 2;
        d.cliente.INDICADOR_IE = 1;
        d.municipio.ESTADO = QStringLiteral("MG");
        d.adicionarProduto(produto(7, "5"));
        StIcms r;
        r.COD_ST = 10;
        r.UF = QStringLiteral("MG");
        r.CONTRIBUINTE_ICMS = 4;
        r.PERC_BC_ICMS = D("100");
        r.ALIQ_ICMS = D("12");
        r.ALIQ_ICMSST = D("18");
        r.PERC_MARG_VL_ICMSST = D("40");
        r.PERC_RED_BC_ICMSST = D("10");
        d.stIcms.push_back(r);
        Pedido p;
        p.OBS = QStringLiteral("N0"); // the item form applies no factor to the taxes
        PedidoItem i;
        i.PRODU = 7;
        i.QTD = D("10");
        i.VALOR_PRODUTO = D("10");
        ResultadoItem res;
        recalcularItem(i, p, d, {}, res);
        QCOMPARE(S(i.VL_IPI, 2), QStringLiteral("5.00"));
        QCOMPARE(S(i.VL_ICMSST, 2), QStringLiteral("11.81"));
    }

    void comissaoDoItem() {
        DadosPedido d;
        d.adicionarProduto(produto(7));
        d.vendedor.DESC_RATEIO_COM = D("3");
        d.vendedor.ORIGEM_COM = 1;
        d.vendedor.TAXA_COMISSAO = D("9");
        d.pauta = Pauta{};
        PautaProduto linha;
        linha.ID_PROD = 7;
        linha.TX_COMISSAO = D("4");
        d.adicionarPautaProduto(linha);
        PedidoItem i;
        i.PRODU = 7;
        i.QTD = D("10");
        i.PRECO_PAUTA = D("10");
        i.VALOR_PRODUTO = D("9.5");
        ResultadoItem r;
        recalcularItem(i, Pedido{}, d, {}, r);
        ratearComissaoItem(i, Pedido{}, d, r);
        QCOMPARE(S(i.COMIS, 2), QStringLiteral("2.50")); // list rate 4 - limit 3 / 2
        QVERIFY(r.excessoComissao);
        QCOMPARE(S(r.desconto, 2), QStringLiteral("5.00"));
        QCOMPARE(
            r.mensagens.back().texto,
            QStringLiteral("Desconto de 5,00% é superior a taxa de rateio da comissão 3,00% do vendedor!"));

        Produto promocional = produto(7);
        promocional.PRECO_PROMOCIONAL = 1;
        d.adicionarProduto(promocional);
        ResultadoItem r2;
        ratearComissaoItem(i, Pedido{}, d, r2);
        QCOMPARE(S(i.COMIS, 2), QStringLiteral("4.00"));
        QVERIFY(!r2.excessoComissao);
    }

    void precoPelaComissao_data() {
        QTest::addColumn<QString>("comis");
        QTest::addColumn<bool>("aplicado");
        QTest::addColumn<QString>("valor");
        QTest::newRow("comissao menor baixa o preco") << "3" << true << "98.0392";
        QTest::newRow("comissao da pauta") << "5" << true << "100.0000";
        QTest::newRow("divisor zero") << "105" << false << "77.0000";
    }
    void precoPelaComissao() {
        DadosPedido d;
        d.pauta = Pauta{};
        PautaProduto linha;
        linha.ID_PROD = 7;
        linha.PRECO1 = D("100");
        linha.DIVISOR = D("100");
        linha.TX_COMISSAO = D("5");
        d.adicionarPautaProduto(linha);
        PedidoItem i;
        i.PRODU = 7;
        i.VALOR_PRODUTO = D("77");
        QFETCH(QString, comis);
        i.COMIS = dec(comis);
        QTEST(definirPrecoPorComissao(i, d), "aplicado");
        QTEST(S(i.VALOR_PRODUTO, 4), "valor");
    }

    void precoPorMedida_data() {
        QTest::addColumn<QString>("obs");
        QTest::addColumn<QString>("uf");
        QTest::addColumn<QString>("preco");
        QTest::newRow("PRAZ2 do estado") << "120X080 vidro"
                                         << "MG"
                                         << "48.00";
        QTest::newRow("x minusculo") << "120x080"
                                     << "MG"
                                     << "48.00";
        QTest::newRow("PRAZO do estado") << "120X080"
                                         << "SP"
                                         << "38.40";
        QTest::newRow("PRAZ3 do estado") << "100X100"
                                         << "RJ"
                                         << "3.33";
        QTest::newRow("nenhum estado") << "120X080"
                                       << "PR"
                                       << "0.00";
        QTest::newRow("sem medida") << "120-080"
                                    << "MG"
                                    << "-";
        QTest::newRow("curta") << "12X"
                               << "MG"
                               << "-";
    }
    void precoPorMedida() {
        Produto pr = produto(7);
        pr.PRAZO = QStringLiteral("SP 28 dias");
        pr.PRECO = D("40");
        pr.PRAZ2 = QStringLiteral("MG 30 dias");
        pr.PREC2 = D("50");
        pr.PRAZ3 = QStringLiteral("RJ");
        pr.PREC3 = D("3.333");
        QFETCH(QString, obs);
        QFETCH(QString, uf);
        const std::optional<Decimal> preco = qav::precoPorMedida(obs, pr, uf);
        QTEST(preco ? S(*preco, 2) : QStringLiteral("-"), "preco");
    }

    void lote_data() {
        QTest::addColumn<QString>("qtd");
        QTest::addColumn<int>("subcategoria");
        QTest::addColumn<int>("permitir");
        QTest::addColumn<QString>("bloqVolumes");
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<bool>("voltar");
        const QString base =
            QStringLiteral("Quantidade diverge da volume na embalagem do produto!|Quantidade válida: ");
        QTest::newRow("30 -> 36") << "30" << 0 << 0 << "" << base + QStringLiteral("36 CX") << false;
        QTest::newRow("30 bloqueia") << "30" << 0 << 0 << "S" << base + QStringLiteral("36 CX") << true;
        QTest::newRow("24 ok") << "24" << 0 << 0 << "S" << QString() << false;
        QTest::newRow("pecas") << "13" << 103 << 0 << "S" << base + QStringLiteral("24 PÇS") << true;
        QTest::newRow("so avisa") << "30" << 0 << 1 << "S" << base + QStringLiteral("36 CX") << false;
        QTest::newRow("nao avisa") << "30" << 0 << 2 << "S" << QString() << false;
    }
    void lote() {
        Produto pr = produto(7);
        pr.LOTE_MUL_VENDA = D("12");
        pr.UNIDA = QStringLiteral("CX    ");
        QFETCH(int, subcategoria);
        QFETCH(int, permitir);
        QFETCH(QString, bloqVolumes);
        QFETCH(QString, qtd);
        pr.SUBCATEGORIA = subcategoria;
        pr.PERMITIR_DIF_LOTE = permitir;
        QavCfg cfg;
        cfg.BLOQ_VOLUMES = bloqVolumes;
        const VerificacaoLote v = verificarLote(dec(qtd), pr, cfg);
        QTEST(v.mensagem ? v.mensagem->texto : QString(), "mensagem");
        QTEST(v.voltarAoCampo, "voltar");
    }

    void loteFracionado() {
        QCOMPARE(S(proximoMultiploLote(D("1.1"), D("0.5")), 3), QStringLiteral("1.500"));
        QCOMPARE(mensagem::quantidadeForaDoLote(D("1.5"), QStringLiteral("KG")),
                 QStringLiteral(
                     "Quantidade diverge da volume na embalagem do produto!|Quantidade válida: 1,5 KG"));
    }
};

QAV_TEST_GUILESS_MAIN(TstPrecoItem)
#include "tst_precoitem.moc"
