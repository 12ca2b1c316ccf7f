// Profit analysis with the freight cost, and the repricing when the payment form changes.
#include "orders/core/AnaliseLucro.h"
#include "orders/core/Recalculo.h"
#include "orders/core/Repreco.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;
using namespace qavtest;

class TstAnaliseRepreco : public QObject {
    Q_OBJECT

    DadosPedido dadosAnalise() {
        DadosPedido d;
        d.cliente.ID_REGIAO = 3;
        d.municipio.ESTADO = QStringLiteral("SP");
        Produto pr = produto(7);
        pr.VOL_M3 = D("0.01");
        pr.PESO_FATOR = D("2");
        pr.ALIQ_PIS = D("1.65");
        pr.ALIQ_COFINS = D("7.60");
        d.adicionarProduto(pr);
        StIcms r;
        r.COD_ST = 10;
        r.UF = QStringLiteral("SP");
        r.CONTRIBUINTE_ICMS = 1;
        r.ALIQ_ICMS = D("12");
        d.stIcms.push_back(r);
        d.cstFrete.push_back({3, 9, D("100"), QStringLiteral("Interior")});
        return d;
    }
    std::vector<PedidoItem> itensAnalise() {
        PedidoItem i = item(1, 7, "10", "10");
        i.VL_LIQUIDO = D("100");
        i.COMIS = D("5");
        return {i};
    }

private Q_SLOTS:
    void analise_data() {
        QTest::addColumn<int>("fconta");
        QTest::addColumn<bool>("adicional");
        QTest::addColumn<QString>("fatorLiq");
        QTest::addColumn<QString>("frete");
        QTest::addColumn<QString>("comissao");
        QTest::newRow("CIF") << 1 << false << "3.19"
                             << "10.00"
                             << "5.00";
        QTest::newRow("FOB sem frete") << 2 << false << "3.69"
                                       << "0.00"
                                       << "5.00";
        QTest::newRow("adicional de comissao") << 1 << true << "3.17"
                                               << "10.00"
                                               << "5.42";
    }
    void analise() {
        QFETCH(int, fconta);
        QFETCH(bool, adicional);
        DadosPedido d = dadosAnalise();
        d.empresa.ADIC_COMISSAO = adicional ? 1 : 0;
        Pedido p;
        p.FCONTA = fconta;
        p.ID_MUN_CARGA = 9;
        Mensagens m;
        const std::optional<AnaliseLucro> a = analisarLucro(p, itensAnalise(), d, m);
        QVERIFY(a.has_value());
        QVERIFY(m.empty());
        QCOMPARE(static_cast<int>(a->linhas.size()), 2);
        const LinhaAnalise& l = a->linhas[0];
        QCOMPARE(S(l.PRECO_UNIT, 2), QStringLiteral("10.00"));
        QCOMPARE(S(l.ALIQ_ICMS, 2), QStringLiteral("12.00"));
        QCOMPARE(S(l.M3, 4), QStringLiteral("0.0100"));
        QCOMPARE(S(l.FATOR, 2), QStringLiteral("5.00"));
        QTEST(S(l.FATOR_LIQ, 2), "fatorLiq");
        QCOMPARE(S(a->TT_TRIBUTOS, 2), QStringLiteral("21.25"));
        QTEST(S(a->TT_FRETE, 2), "frete");
        QTEST(S(a->TT_COMISSAO, 2), "comissao");
        QVERIFY(a->linhas[1].fechamento);
        QCOMPARE(S(a->linhas[1].FATOR, 2), QStringLiteral("5.00"));
        QTEST(S(a->linhas[1].FATOR_LIQ, 2), "fatorLiq");
    }

    void analiseSemFreteValido() {
        Pedido p;
        p.FCONTA = 1;
        p.ID_MUN_CARGA = 8;
        Mensagens m;
        QVERIFY(!analisarLucro(p, itensAnalise(), dadosAnalise(), m).has_value());
        QCOMPARE(static_cast<int>(m.size()), 1);
        QCOMPARE(m[0].titulo, QStringLiteral("Aviso!"));
        QCOMPARE(m[0].texto, QStringLiteral("Frete inválido!|Região: 3|Município Carga: 8"));
    }

    void analiseComPesoOuQuantidadeZero() {
        DadosPedido d = dadosAnalise();
        Produto semPeso = produto(7);
        d.adicionarProduto(semPeso);
        Pedido p;
        p.FCONTA = 2;
        std::vector<PedidoItem> itens = itensAnalise();
        itens[0].QTD = Decimal();
        Mensagens m;
        const std::optional<AnaliseLucro> a = analisarLucro(p, itens, d, m);
        QVERIFY(a.has_value());
        QCOMPARE(S(a->linhas[0].PRECO_UNIT, 2), QStringLiteral("0.00"));
        QCOMPARE(S(a->linhas[0].FATOR, 2), QStringLiteral("0.00"));
        QCOMPARE(S(a->linhas[1].FATOR_LIQ, 2), QStringLiteral("0.00"));
    }

    void reprecificacaoIdaEVolta() {
        DadosPedido d;
        FormaPag dez;
        dez.ACRESC = D("10");
        d.formaPag = dez;
        std::vector<PedidoItem> itens{item(1, 7, "3", "10.00"), item(2, 7, "3", "9.99")};
        itens[1].DESCP = D("5");
        Mensagens m;
        Decimal anterior = reprecificarFormaPag(itens, d, Decimal(), m);
        QCOMPARE(S(anterior, 2), QStringLiteral("10.00"));
        QCOMPARE(S(itens[0].PRUNI, 4), QStringLiteral("11.0000"));
        QCOMPARE(S(itens[0].VALOR_PRODUTO, 4), QStringLiteral("11.0000"));
        QCOMPARE(S(itens[0].TOTAL, 2), QStringLiteral("33.00"));
        QCOMPARE(S(itens[1].PRUNI, 4), QStringLiteral("10.9890"));
        QCOMPARE(S(itens[1].DESCV, 2), QStringLiteral("1.64")); // INT(32.97 x 5) / 100
        QCOMPARE(S(itens[1].TOTAL, 2), QStringLiteral("31.33"));
        QCOMPARE(static_cast<int>(m.size()), 1);
        QCOMPARE(m[0].texto,
                 QStringLiteral("Preços foram alterados devido a alteração da forma de pagamento!"));

        d.formaPag->ACRESC = Decimal();
        anterior = reprecificarFormaPag(itens, d, anterior, m);
        QCOMPARE(S(anterior, 2), QStringLiteral("0.00"));
        QCOMPARE(S(itens[0].PRUNI, 4), QStringLiteral("10.0000"));
        QCOMPARE(S(itens[1].PRUNI, 4), QStringLiteral("9.9900"));
        QCOMPARE(S(itens[0].TOTAL, 2), QStringLiteral("30.00"));
        QCOMPARE(static_cast<int>(m.size()), 2);
    }

    // Only for a representative who sees it, and only once there is a freight cost to look up.
    void analiseAplicavel_data() {
        QTest::addColumn<int>("permitir");
        QTest::addColumn<int>("idMunCarga");
        QTest::addColumn<int>("fconta");
        QTest::addColumn<bool>("aplicavel");
        QTest::newRow("CIF, loading municipality chosen") << 1 << 9 << 1 << true;
        QTest::newRow("CIF, no loading municipality") << 1 << 0 << 1 << false;
        QTest::newRow("freight not chosen, no loading municipality") << 1 << 0 << 0 << false;
        QTest::newRow("FOB, no loading municipality") << 1 << 0 << 2 << true;
        QTest::newRow("representative without the analysis") << 0 << 9 << 2 << false;
    }
    void analiseAplicavel() {
        QFETCH(int, permitir);
        QFETCH(int, idMunCarga);
        QFETCH(int, fconta);
        QFETCH(bool, aplicavel);
        Pedido p;
        p.ID_MUN_CARGA = idMunCarga;
        p.FCONTA = fconta;
        DadosPedido d = dadosAnalise();
        d.vendedor.PERMITIR_ANALISE_LUCRO = permitir;
        QCOMPARE(qav::analiseAplicavel(p, d), aplicavel);
    }

    void reprecificacaoSemEfeito() {
        DadosPedido d;
        std::vector<PedidoItem> itens{item(1, 7, "3", "10.00")};
        Mensagens m;
        QCOMPARE(S(reprecificarFormaPag(itens, d, D("5"), m), 2), QStringLiteral("5.00")); // no payment form
        FormaPag f;
        f.ACRESC = D("5");
        d.formaPag = f;
        QCOMPARE(S(reprecificarFormaPag(itens, d, D("5"), m), 2), QStringLiteral("5.00")); // same surcharge
        std::vector<PedidoItem> vazio;
        QCOMPARE(S(reprecificarFormaPag(vazio, d, Decimal(), m), 2), QStringLiteral("5.00")); // no items
        QVERIFY(m.empty());
        QCOMPARE(S(itens[0].PRUNI, 4), QStringLiteral("10.0000"));
    }
};

QAV_TEST_GUILESS_MAIN(TstAnaliseRepreco)
#include "tst_analiserepreco.moc"
