#include "customers/core/ListasReferencia.h"
#include "customers/core/PrecosDaPauta.h"
#include "customers/core/ProdutoRegras.h"
#include "tests/customers/ProdutoFixture.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(qav::produto::Situacao)

class TestProdutoRegras : public QObject {
    Q_OBJECT

private:
    // Names of the products the filter lets through, in name order.
    static QStringList nomes(Store& store, const ListFilter& filter) {
        Table produto(store, "produto");
        if (!produto.open())
            return {u"<open failed>"_s};
        produto.setFilter(filter.condition, filter.parameters);
        QStringList result;
        produto.seekFirst("KEYNOME");
        while (produto.next() == Status::Ok)
            result << produto.rec().text("NOME");
        return result;
    }

    static void catalogo(Store& store) {
        Table produto(store, "produto");
        QVERIFY(produto.open());
        addProduto(produto, produtoDe(1, 1, u"000045"_s, u"Parafuso Sextavado 1/2"_s, 1));
        addProduto(produto, produtoDe(1, 2, u"45A"_s, u"ARRUELA P/ PARAFUSO"_s, 1));
        addProduto(produto, produtoDe(1, 3, u"X1"_s, u"Porca M8"_s, 0));
        addProduto(produto, produtoDe(1, 4, u"X2"_s, u"Cano d'água"_s, 1));
        addProduto(produto, produtoDe(1, 5, u"X3"_s, u"CONEXÃO ÁGUA"_s, 0));
        addProduto(produto, produtoDe(2, 6, u"000045"_s, u"Parafuso da outra empresa"_s, 1));
        addProduto(produto, produtoDe(1, 7, u"X4"_s, u"FITA VEDA ROSCA"_s, 1));
        // Company 3: names as the server sends them, with and without their accents.
        addProduto(produto, produtoDe(3, 8, u"D1"_s, u"DOBRADIÇA CAMARÃO 3\""_s, 1));
        addProduto(produto, produtoDe(3, 9, u"D2"_s, u"Dobradiça comum"_s, 1));
        addProduto(produto, produtoDe(3, 10, u"D3"_s, u"CAIXA P/ DOBRADIÇA"_s, 1));
        addProduto(produto, produtoDe(3, 11, u"D4"_s, u"Gabarito p/ dobradica"_s, 1));
        addProduto(produto, produtoDe(3, 12, u"A1"_s, u"ANTÔNIO RIBEIRO"_s, 1));
        addProduto(produto, produtoDe(3, 13, u"A2"_s, u"Antonio Carlos Rocha"_s, 1));
        addProduto(produto, produtoDe(3, 14, u"A3"_s, u"Ábaco escolar"_s, 1));
    }

private Q_SLOTS:
    void codigosParaLocalizar_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QStringList>("codigos");
        QTest::newRow("number without its zeros") << u"45"_s << QStringList{u"45"_s, u"000045"_s};
        QTest::newRow("surrounding blanks") << u" 45 "_s << QStringList{u"45"_s, u"000045"_s};
        QTest::newRow("some zeros typed") << u"0045"_s << QStringList{u"0045"_s, u"000045"_s};
        QTest::newRow("six digits") << u"000045"_s << QStringList{u"000045"_s};
        QTest::newRow("more than six digits") << u"1234567"_s << QStringList{u"1234567"_s};
        QTest::newRow("letters, lower case") << u"ab12"_s << QStringList{u"AB12"_s};
        QTest::newRow("number with a sign") << u"-45"_s << QStringList{u"-45"_s};
        QTest::newRow("empty") << u""_s << QStringList{};
        QTest::newRow("blank") << u"   "_s << QStringList{};
    }
    void codigosParaLocalizar() {
        QFETCH(QString, digitado);
        QFETCH(QStringList, codigos);
        QCOMPARE(produto::codigosParaLocalizar(digitado), codigos);
    }

    void precoItemUnico_data() {
        QTest::addColumn<QString>("preco");
        QTest::addColumn<QString>("qtdEmbalagem");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("24,00 over 12 units") << u"24.00"_s << u"12"_s << u"2.0000"_s;
        QTest::newRow("no package quantity") << u"24.00"_s << u"0"_s << u"24.0000"_s;
        QTest::newRow("negative quantity ignored") << u"24.00"_s << u"-3"_s << u"24.0000"_s;
        QTest::newRow("rounded half up") << u"10.00"_s << u"3"_s << u"3.3333"_s;
        QTest::newRow("rounded half away") << u"0.0001"_s << u"2"_s << u"0.0001"_s;
        QTest::newRow("fractional package") << u"7.50"_s << u"2.5"_s << u"3.0000"_s;
        QTest::newRow("zero price") << u"0"_s << u"12"_s << u"0.0000"_s;
    }
    void precoItemUnico() {
        QFETCH(QString, preco);
        QFETCH(QString, qtdEmbalagem);
        QFETCH(QString, esperado);
        QCOMPARE(QString::fromStdString(produto::precoItemUnico(dec(preco), dec(qtdEmbalagem)).toString(4)),
                 esperado);
    }

    void filtro_data() {
        QTest::addColumn<produto::Situacao>("situacao");
        QTest::addColumn<int>("empresa");
        QTest::addColumn<QString>("pesquisa");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("active") << produto::Situacao::Ativos << 1 << u""_s
                                << QStringList{u"ARRUELA P/ PARAFUSO"_s, u"Cano d'água"_s,
                                               u"FITA VEDA ROSCA"_s, u"Parafuso Sextavado 1/2"_s};
        QTest::newRow("inactive") << produto::Situacao::Inativos << 1 << u""_s
                                  << QStringList{u"CONEXÃO ÁGUA"_s, u"Porca M8"_s};
        QTest::newRow("all") << produto::Situacao::Todos << 1 << u""_s
                             << QStringList{u"ARRUELA P/ PARAFUSO"_s,    u"Cano d'água"_s,
                                            u"CONEXÃO ÁGUA"_s,           u"FITA VEDA ROSCA"_s,
                                            u"Parafuso Sextavado 1/2"_s, u"Porca M8"_s};
        QTest::newRow("other company")
            << produto::Situacao::Todos << 2 << u""_s << QStringList{u"Parafuso da outra empresa"_s};
        QTest::newRow("lower case word anywhere")
            << produto::Situacao::Ativos << 1 << u"parafuso"_s
            << QStringList{u"ARRUELA P/ PARAFUSO"_s, u"Parafuso Sextavado 1/2"_s};
        QTest::newRow("middle of a word")
            << produto::Situacao::Todos << 1 << u"ros"_s << QStringList{u"FITA VEDA ROSCA"_s};
        QTest::newRow("accented letters any case")
            << produto::Situacao::Todos << 1 << u"água"_s << QStringList{u"Cano d'água"_s, u"CONEXÃO ÁGUA"_s};
        QTest::newRow("quote in the search")
            << produto::Situacao::Todos << 1 << u"d'á"_s << QStringList{u"Cano d'água"_s};
        QTest::newRow("typed space after a word")
            << produto::Situacao::Todos << 1 << u"cano "_s << QStringList{u"Cano d'água"_s};
        QTest::newRow("word then space, word at the end")
            << produto::Situacao::Todos << 1 << u"m8 "_s << QStringList{u"Porca M8"_s};
        QTest::newRow("space inside a word does not match")
            << produto::Situacao::Todos << 1 << u"para "_s << QStringList{};
        QTest::newRow("nothing matches") << produto::Situacao::Todos << 1 << u"xyz"_s << QStringList{};
        QTest::newRow("name order ignores accents")
            << produto::Situacao::Todos << 3 << u""_s
            << QStringList{u"Ábaco escolar"_s,        u"Antonio Carlos Rocha"_s,  u"ANTÔNIO RIBEIRO"_s,
                           u"CAIXA P/ DOBRADIÇA"_s,   u"DOBRADIÇA CAMARÃO 3\""_s, u"Dobradiça comum"_s,
                           u"Gabarito p/ dobradica"_s};
        QTest::newRow("typed without the cedilla")
            << produto::Situacao::Todos << 3 << u"dobradica"_s
            << QStringList{u"CAIXA P/ DOBRADIÇA"_s, u"DOBRADIÇA CAMARÃO 3\""_s, u"Dobradiça comum"_s,
                           u"Gabarito p/ dobradica"_s};
        QTest::newRow("typed with the cedilla")
            << produto::Situacao::Todos << 3 << u"DOBRADIÇA"_s
            << QStringList{u"CAIXA P/ DOBRADIÇA"_s, u"DOBRADIÇA CAMARÃO 3\""_s, u"Dobradiça comum"_s,
                           u"Gabarito p/ dobradica"_s};
        QTest::newRow("typed without the accents")
            << produto::Situacao::Ativos << 1 << u"agua"_s << QStringList{u"Cano d'água"_s};
        QTest::newRow("accented word then space, word at the end")
            << produto::Situacao::Todos << 3 << u"dobradiça "_s
            << QStringList{u"CAIXA P/ DOBRADIÇA"_s, u"DOBRADIÇA CAMARÃO 3\""_s, u"Dobradiça comum"_s,
                           u"Gabarito p/ dobradica"_s};
        QTest::newRow("word then space in an accented name")
            << produto::Situacao::Todos << 3 << u"camarao "_s << QStringList{u"DOBRADIÇA CAMARÃO 3\""_s};
        QTest::newRow("two words as typed, the second begun")
            << produto::Situacao::Todos << 3 << u"antonio r"_s << QStringList{u"ANTÔNIO RIBEIRO"_s};
        QTest::newRow("the words in another order do not match")
            << produto::Situacao::Todos << 3 << u"ribeiro antonio"_s << QStringList{};
        QTest::newRow("a word typed with its accent finds it without")
            << produto::Situacao::Todos << 3 << u"antônio"_s
            << QStringList{u"Antonio Carlos Rocha"_s, u"ANTÔNIO RIBEIRO"_s};
        QTest::newRow("SQL text is a plain search")
            << produto::Situacao::Todos << 1 << u"') OR 1=1 --"_s << QStringList{};
    }
    void filtro() {
        QFETCH(produto::Situacao, situacao);
        QFETCH(int, empresa);
        QFETCH(QString, pesquisa);
        QFETCH(QStringList, esperado);
        TempDataFolder folder;
        catalogo(folder.store());
        QCOMPARE(nomes(folder.store(), produto::filtro(situacao, empresa, pesquisa)), esperado);
    }

    void promocional() {
        TempDataFolder folder;
        Table produto(folder.store(), "produto");
        QVERIFY(produto.open());
        NovoProduto p = produtoDe(1, 1, u"1"_s, u"A"_s);
        p.promocional = true;
        addProduto(produto, p);
        QVERIFY(produto::promocional(produto.rec()));
        produto.rec().setInteger("PRECO_PROMOCIONAL", 0);
        QVERIFY(!produto::promocional(produto.rec()));
    }

    void precoDaPauta_data() {
        QTest::addColumn<int>("codigoPauta");
        QTest::addColumn<int>("idProduto");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("no price list: own price") << 0 << 1 << u"24.0000"_s;
        QTest::newRow("price in the list") << 25 << 1 << u"19.9000"_s;
        QTest::newRow("product outside the list") << 25 << 2 << u"0.0000"_s;
        QTest::newRow("same product, other list") << 26 << 1 << u"18.5000"_s;
        QTest::newRow("no price list, second product") << 0 << 2 << u"7.5000"_s;
    }
    void precoDaPauta() {
        QFETCH(int, codigoPauta);
        QFETCH(int, idProduto);
        QFETCH(QString, esperado);
        TempDataFolder folder;
        Store& store = folder.store();
        {
            Table produto(store, "produto");
            QVERIFY(produto.open());
            addProduto(produto, produtoDe(1, 1, u"1"_s, u"A"_s, 1, u"24"_s));
            addProduto(produto, produtoDe(1, 2, u"2"_s, u"B"_s, 1, u"7.5"_s));
        }
        addPauta(store, 250001, 1, 25, u"Tabela 25"_s);
        addPauta(store, 260001, 1, 26, u"Tabela 26"_s);
        addPreco(store, 250001, 1, u"19.90"_s);
        addPreco(store, 260001, 1, u"18.50"_s);
        addPreco(store, 260001, 2, u"6.00"_s);
        PrecosDaPauta precos(store);
        if (codigoPauta) {
            const std::optional<PautaEscolhida> pauta = pautaPorCodigo(store, codigoPauta, 1);
            QVERIFY(pauta);
            precos.escolher(pauta->id);
        }
        Table produto(store, "produto");
        QVERIFY(produto.open());
        produto.rec().setInteger("ID", idProduto);
        produto.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(produto.get("KEYID"), Status::Ok);
        QCOMPARE(QString::fromStdString(precos.preco1(produto.rec()).toString(4)), esperado);
        QCOMPARE(QString::fromStdString(precos.preco1(produto.rec()).toString(4)), esperado);    // cached
        QCOMPARE(produto.rec().decimal("PRECO"), idProduto == 1 ? dec(u"24"_s) : dec(u"7.5"_s)); // untouched
    }

    void pautaPorCodigoIsPerCompany() {
        TempDataFolder folder;
        addPauta(folder.store(), 250001, 1, 25, u"Tabela da empresa 1"_s);
        addPauta(folder.store(), 250002, 2, 25, u"Tabela da empresa 2"_s);
        const std::optional<PautaEscolhida> pauta = pautaPorCodigo(folder.store(), 25, 2);
        QVERIFY(pauta);
        QCOMPARE(pauta->id, 250002);
        QCOMPARE(pauta->descricao, u"Tabela da empresa 2"_s);
        QVERIFY(!pautaPorCodigo(folder.store(), 25, 3));
        QVERIFY(!pautaPorCodigo(folder.store(), 99, 1));
    }

    void cobranca_data() {
        QTest::addColumn<int>("cobrBan");
        QTest::addColumn<QString>("texto");
        QTest::newRow("bank") << 1 << u"Bancaria"_s;
        QTest::newRow("wallet") << 0 << u"Carteira"_s;
    }
    void cobranca() {
        QFETCH(int, cobrBan);
        QFETCH(QString, texto);
        Record forma(*findTable("formapag"));
        forma.setInteger("COBR_BAN", cobrBan);
        QCOMPARE(referencia::cobranca(forma), texto);
    }
};

QAV_TEST_GUILESS_MAIN(TestProdutoRegras)
#include "tst_produtoregras.moc"
