// The characteristics finder over real table files: the values each list offers once the lists
// before it are chosen, the products that match, the accessories of their required subgroups and the
// check of "OK". Products and accessories of other companies and inactive ones never show.
#include "orders/core/BuscaCaracteristica.h"
#include "tests/orders/CaracteristicasFixture.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

// The lists chosen in order; "-" leaves a list empty.
void escolherEmOrdem(BuscaCaracteristica& busca, const QStringList& valores) {
    for (int i = 0; i < valores.size(); ++i)
        busca.escolher(i, valores[i] == u"-" ? QString() : valores[i]);
}

QStringList comoLista(const std::vector<QString>& valores) {
    return QStringList(valores.begin(), valores.end());
}

QList<int> ids(const std::vector<ProdutoCaracteristica>& produtos) {
    QList<int> lista;
    for (const ProdutoCaracteristica& p : produtos)
        lista.append(p.id);
    return lista;
}

} // namespace

class TstBuscaCaracteristica : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataFolder> m_folder;

    ProdutoCaracteristica produto(const QStringList& valores) {
        BuscaCaracteristica busca(m_folder->store(), 1);
        escolherEmOrdem(busca, valores);
        const std::vector<ProdutoCaracteristica> produtos = busca.produtos();
        if (produtos.size() != 1)
            qFatal("expected one product");
        return produtos.front();
    }

private Q_SLOTS:
    // Nothing here writes: one folder serves every case.
    void initTestCase() {
        m_folder = std::make_unique<TempDataFolder>();
        QVERIFY(m_folder->isValid());
        catalogoCaracteristicas(m_folder->store());
    }

    void valores_data() {
        QTest::addColumn<QStringList>("escolhidos");
        QTest::addColumn<QStringList>("esperados");
        // "aço" and "AÇO" are one value; "aço" GALVANIZADO comes first in the key.
        QTest::newRow("primeira lista: uma vez cada, sem os de outra empresa")
            << QStringList{} << QStringList{u"ACO"_s, u"aço"_s, u"JANELA"_s, u"PORTA"_s};
        QTest::newRow("porta: sem o vidro inativo nem o valor em branco")
            << QStringList{u"PORTA"_s} << QStringList{u"Alumínio"_s, u"MADEIRA"_s};
        QTest::newRow("porta em minúsculas")
            << QStringList{u"porta"_s} << QStringList{u"Alumínio"_s, u"MADEIRA"_s};
        QTest::newRow("janela: sem a madeira da outra empresa")
            << QStringList{u"JANELA"_s} << QStringList{u"ALUMINIO"_s};
        QTest::newRow("porta de madeira: sem os 75 da outra empresa")
            << QStringList{u"PORTA"_s, u"MADEIRA"_s} << QStringList{u"70CM"_s, u"80CM"_s};
        QTest::newRow("característica 2 em branco")
            << QStringList{u"PORTA"_s, u"-"_s} << QStringList{u"90CM"_s};
        QTest::newRow("só produtos inativos") << QStringList{u"PORTA"_s, u"VIDRO"_s} << QStringList{};
        QTest::newRow("valor que nenhum produto tem") << QStringList{u"CADEIRA"_s} << QStringList{};
        QTest::newRow("ACO e AÇO são valores diferentes")
            << QStringList{u"ACO"_s} << QStringList{u"CARBONO"_s};
        QTest::newRow("aço e AÇO são o mesmo valor")
            << QStringList{u"aço"_s} << QStringList{u"GALVANIZADO"_s, u"INOX"_s};
        QTest::newRow("quarta lista")
            << QStringList{u"JANELA"_s, u"ALUMINIO"_s, u"120CM"_s} << QStringList{u"BRANCA"_s};
        QTest::newRow("quinta lista")
            << QStringList{u"JANELA"_s, u"ALUMINIO"_s, u"120CM"_s, u"BRANCA"_s} << QStringList{u"2 FOLHAS"_s};
    }
    void valores() {
        QFETCH(QStringList, escolhidos);
        BuscaCaracteristica busca(m_folder->store(), 1);
        escolherEmOrdem(busca, escolhidos);
        QTEST(comoLista(busca.valores(static_cast<int>(escolhidos.size()))), "esperados");
        QVERIFY(!busca.erro().isError());
    }

    void produtos_data() {
        QTest::addColumn<QStringList>("escolhidos");
        QTest::addColumn<QList<int>>("esperados");
        QTest::newRow("dois com as mesmas características")
            << QStringList{u"PORTA"_s, u"MADEIRA"_s, u"80CM"_s} << QList<int>{1, 8};
        QTest::newRow("em minúsculas")
            << QStringList{u"porta"_s, u"madeira"_s, u"80cm"_s} << QList<int>{1, 8};
        QTest::newRow("uma só") << QStringList{u"PORTA"_s, u"Alumínio"_s, u"80CM"_s} << QList<int>{3};
        QTest::newRow("terceira em branco não é qualquer uma")
            << QStringList{u"PORTA"_s, u"MADEIRA"_s} << QList<int>{};
        QTest::newRow("segunda em branco") << QStringList{u"PORTA"_s, u"-"_s, u"90CM"_s} << QList<int>{9};
        QTest::newRow("inativo") << QStringList{u"PORTA"_s, u"VIDRO"_s, u"80CM"_s} << QList<int>{};
        QTest::newRow("de outra empresa")
            << QStringList{u"JANELA"_s, u"MADEIRA"_s, u"100CM"_s} << QList<int>{};
        QTest::newRow("nada escolhido: o produto sem características não aparece")
            << QStringList{} << QList<int>{};
        QTest::newRow("cinco características")
            << QStringList{u"JANELA"_s, u"ALUMINIO"_s, u"120CM"_s, u"BRANCA"_s, u"2 FOLHAS"_s}
            << QList<int>{15};
        QTest::newRow("quatro de cinco")
            << QStringList{u"JANELA"_s, u"ALUMINIO"_s, u"120CM"_s, u"BRANCA"_s} << QList<int>{};
    }
    void produtos() {
        QFETCH(QStringList, escolhidos);
        BuscaCaracteristica busca(m_folder->store(), 1);
        escolherEmOrdem(busca, escolhidos);
        QTEST(ids(busca.produtos()), "esperados");
        QVERIFY(!busca.erro().isError());
    }

    void linhaDoProduto() {
        const ProdutoCaracteristica p = produto({u"PORTA"_s, u"Alumínio"_s, u"80CM"_s});
        QCOMPARE(p.codigo, u"P3"_s);
        QCOMPARE(p.nome, u"000003 - Produto 3"_s);
        const ProdutoCaracteristica comSubgrupos = produto({u"PORTA"_s, u"MADEIRA"_s, u"70CM"_s});
        QCOMPARE(comSubgrupos.subgrupos, (std::array<int, 3>{0, 30, 0}));
    }

    void escolhaApagaAsListasSeguintes() {
        BuscaCaracteristica busca(m_folder->store(), 1);
        escolherEmOrdem(busca, {u"PORTA"_s, u"MADEIRA"_s, u"80CM"_s});
        busca.escolher(1, u"Alumínio"_s);
        QCOMPARE(busca.escolhido(0), u"PORTA"_s);
        QCOMPARE(busca.escolhido(1), u"Alumínio"_s);
        QCOMPARE(busca.escolhido(2), QString());
        QCOMPARE(ids(busca.produtos()), QList<int>{});
        QCOMPARE(comoLista(busca.valores(2)), QStringList{u"80CM"_s});
    }

    void subgruposExigidos() {
        BuscaCaracteristica busca(m_folder->store(), 1);
        escolherEmOrdem(busca, {u"PORTA"_s, u"MADEIRA"_s, u"80CM"_s});
        const std::vector<ProdutoCaracteristica> produtos = busca.produtos();
        QCOMPARE(ids(produtos), (QList<int>{1, 8}));
        // Subgroups 10, 20 and 10 again: each asked for once, in the product's order; only the
        // company's active accessories, in the order of the subgroup key.
        const std::vector<SubgrupoExigido> exigidos = busca.subgruposExigidos(produtos[0]);
        QCOMPARE(exigidos.size(), size_t(2));
        QCOMPARE(exigidos[0].codigo, 10);
        QCOMPARE(exigidos[0].descricao, u"PUXADORES"_s);
        QCOMPARE(exigidos[0].acessorios.size(), size_t(2));
        QCOMPARE(exigidos[0].acessorios[0].id, 102);
        QCOMPARE(exigidos[0].acessorios[0].descricao, u"PUXADOR DOURADO"_s);
        QCOMPARE(exigidos[0].acessorios[0].preco.toString(2), std::string("15.00"));
        QCOMPARE(exigidos[0].acessorios[1].id, 101);
        QCOMPARE(exigidos[1].codigo, 20);
        QCOMPARE(exigidos[1].acessorios.size(), size_t(2));
        QCOMPARE(exigidos[1].acessorios[1].id, 202);
        QCOMPARE(exigidos[1].acessorios[1].preco.toString(2), std::string("45.90"));
        // No subgroup required, no list.
        QVERIFY(busca.subgruposExigidos(produtos[1]).empty());
        // A subgroup without accessories still asks for one: its list is shown empty.
        const std::vector<SubgrupoExigido> semAcessorios =
            busca.subgruposExigidos(produto({u"PORTA"_s, u"MADEIRA"_s, u"70CM"_s}));
        QCOMPARE(semAcessorios.size(), size_t(1));
        QCOMPARE(semAcessorios[0].codigo, 30);
        QVERIFY(semAcessorios[0].acessorios.empty());
        QVERIFY(!busca.erro().isError());
    }

    void confirmar_data() {
        QTest::addColumn<QList<int>>("escolhidos");
        QTest::addColumn<int>("listaVazia");
        QTest::addColumn<QStringList>("acessorios"); // id/subgroup/price
        QTest::newRow("nenhum escolhido") << QList<int>{} << 0 << QStringList{};
        QTest::newRow("falta o segundo") << QList<int>{0} << 1 << QStringList{};
        QTest::newRow("segundo desmarcado") << QList<int>{1, -1} << 1 << QStringList{};
        QTest::newRow("falta o primeiro") << QList<int>{-1, 0} << 0 << QStringList{};
        QTest::newRow("linha que não existe") << QList<int>{2, 0} << 0 << QStringList{};
        QTest::newRow("um em cada") << QList<int>{1, 0} << -1
                                    << QStringList{u"101/10/12.50"_s, u"201/20/30.00"_s};
    }
    void confirmar() {
        QFETCH(QList<int>, escolhidos);
        QFETCH(int, listaVazia);
        QFETCH(QStringList, acessorios);
        BuscaCaracteristica busca(m_folder->store(), 1);
        escolherEmOrdem(busca, {u"PORTA"_s, u"MADEIRA"_s, u"80CM"_s});
        const ProdutoCaracteristica p = busca.produtos().at(0);
        const ConfirmacaoCaracteristica c = confirmarCaracteristica(
            p, busca.subgruposExigidos(p), std::vector<int>(escolhidos.begin(), escolhidos.end()));
        QCOMPARE(c.listaVazia, listaVazia);
        QCOMPARE(c.escolha.has_value(), listaVazia < 0);
        if (!c.escolha)
            return;
        QCOMPARE(c.escolha->idProduto, 1);
        QCOMPARE(c.escolha->codigo, u"P1"_s);
        QStringList obtidos;
        for (const AcessorioEscolhido& a : c.escolha->acessorios)
            obtidos.append(
                u"%1/%2/%3"_s.arg(a.id).arg(a.codSubgrupo).arg(QString::fromStdString(a.preco.toString(2))));
        QCOMPARE(obtidos, acessorios);
    }

    void confirmarSemSubgrupos() {
        const ProdutoCaracteristica p = produto({u"PORTA"_s, u"Alumínio"_s, u"80CM"_s});
        const ConfirmacaoCaracteristica c = confirmarCaracteristica(p, {}, {});
        QVERIFY(c.escolha);
        QCOMPARE(c.escolha->idProduto, 3);
        QVERIFY(c.escolha->acessorios.empty());
    }

    // A folder without the product table: nothing offered, and the failure is there to report.
    void tabelaQueNaoAbre() {
        TempDataFolder vazia(false);
        BuscaCaracteristica busca(vazia.store(), 1);
        QVERIFY(busca.valores(0).empty());
        QVERIFY(busca.erro().isError());
        busca.escolher(0, u"PORTA"_s);
        QVERIFY(busca.produtos().empty());
        QVERIFY(busca.erro().isError());
    }
};

QAV_TEST_GUILESS_MAIN(TstBuscaCaracteristica)
#include "tst_buscacaracteristica.moc"
