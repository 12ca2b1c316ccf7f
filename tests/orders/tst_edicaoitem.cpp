// An order item in edition over real table files: finding the product, the quantity and lot rules,
// the measure price, the accessories, the customer's last prices, the confirmation checks and putting
// the item into the order held in memory.
#include "orders/core/CamposPedido.h"
#include "orders/core/EdicaoItem.h"
#include "orders/core/EdicaoPedido.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/orders/PedidosFixture.h"
#include "tests/orders/ReferenciasFixture.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QTest>
#include <functional>
#include <optional>

using namespace qav;
using namespace qav::test;
using qavtest::D;
using qavtest::S;

namespace {
constexpr int kEmpresa = 1;
constexpr int kVendedor = 101;
constexpr int kCliente = 7;
const QString kChaveItem = QStringLiteral("Id Pedido + Produto + Obs.");

// The company's settings, its representative, and customer 7 in a municipality of São Paulo.
void referencias(Store& store, const NovaConfiguracao& configuracao = {}, const char* descRateio = "0") {
    NovaConfiguracao c = configuracao;
    c.empresa = kEmpresa;
    c.vendedor = kVendedor;
    qavcfg(store, c);
    vendedor(store, {.id = 1,
                     .empresa = kEmpresa,
                     .codigo = kVendedor,
                     .origemCom = 1,
                     .taxa = "5",
                     .descRateio = descRateio});
    municipio(store, {.id = 3550, .estado = QStringLiteral("SP")});
    cliente(store, {.id = kCliente, .municipio = 3550});
}

// Product 1, a sliding door: code 000123, active, 10.00 a unit, 1.5 kg a metre when sold by pieces.
NovoProduto porta(const std::function<void(NovoProduto&)>& ajuste = {}) {
    NovoProduto p{.id = 1,
                  .codigo = QStringLiteral("000123"),
                  .barras = "7891234567895",
                  .preco = "10",
                  .ativo = 1,
                  .unidade = QStringLiteral("UN"),
                  .pesoMetro = "1.5"};
    if (ajuste)
        ajuste(p);
    return p;
}

void acessorioDaEmpresa(Store& store, int id, int subgrupo, const char* descricao, const char* preco,
                        const char* nomeSubgrupo, int ativo = 1, int empresa = kEmpresa) {
    acessorio(store, {.empresa = empresa,
                      .id = id,
                      .subgrupo = subgrupo,
                      .descricao = QString::fromUtf8(descricao),
                      .nomeSubgrupo = QString::fromUtf8(nomeSubgrupo),
                      .preco = preco,
                      .ativo = ativo});
}

// Handles, knobs, glass and kits; one inactive handle, one inactive subgroup, and another
// company's subgroup.
void acessorios(Store& store) {
    acessorioDaEmpresa(store, 101, 10, "Puxador cromado", "2.50", "Puxadores");
    acessorioDaEmpresa(store, 102, 10, "Puxador antigo", "1.00", "Puxadores", 0);
    acessorioDaEmpresa(store, 201, 20, "Vidro fumê", "4", "Vidros  ");
    acessorioDaEmpresa(store, 301, 30, "Kit montagem", "1", "Kits");
    acessorioDaEmpresa(store, 501, 50, "Trilho antigo", "1", "Trilhos", 0);
    acessorioDaEmpresa(store, 401, 40, "Outro", "1", "Outra empresa", 1, 2);
}

// Order 1 of customer 7 in the files, opened as the order form holds it, with an item form on it.
struct Cena {
    TempDataFolder folder;
    EdicaoPedido pedido{folder.store()};
    DadosPedido dados;
    std::optional<EdicaoItem> item;

    Store& store() { return folder.store(); }
    bool abrir(int situa = 1, int codPauta = 0) {
        qav::test::pedido(
            store(), {.id = 1, .numero = 41, .situa = situa, .cliente = kCliente, .vendedor = kVendedor});
        if (!pedido.abrir(1).ok())
            return false;
        pedido.pedido().setInteger("COD_PAUTA", codPauta);
        if (!pedido.carregarDados(dados).ok())
            return false;
        item.emplace(store(), pedido, dados);
        item->novo();
        return true;
    }
    bool escolher(const QString& entrada) {
        const std::optional<Produto> p = item->buscarProduto(entrada);
        Mensagem m;
        return p && item->escolherProduto(*p, m);
    }
};

QString textos(const Mensagens& mensagens) {
    QStringList t;
    for (const Mensagem& m : mensagens)
        t << m.texto;
    return t.join(QStringLiteral(" / "));
}

// One case of the quantity rules: the product's sale lot, the company's lock on whole lots, what was
// typed, and what the item holds afterwards.
struct CasoQuantidade {
    int subcategoria = 0; // 103 and 1: sold by pieces x length
    const char* lote = "0";
    int permitirDif = 0;
    const char* bloqVolumes = "N";
    const char* txDescLote = "0";
    int quantidade = 0; // pieces for a product sold by pieces x length
    int comprimento = 0;
    QString mensagem = {};
    bool voltar = false;
    const char* qtd = "0.000";
    const char* pruni = "10.0000";
};

// One case of the item's checks on "&OK": the product, the company's locks, what was typed, and what
// comes of it.
struct CasoConfirmacao {
    int promocional = 0;
    const char* descMax = "0";
    int bloqueios = 0;
    int precoPadrao = 0;
    bool flex = false;
    const char* descRateio = "0"; // the representative shares the commission with discounts
    const char* descp = "0";      // typed before the product is chosen
    const char* descv = "0";
    const char* preco = ""; // unit price typed; empty: the list price
    bool doisAcessorios = true;
    QString recusa = {}; // empty: accepted
    QString campo = {};
    QString avisos = {};
};

// One case of the price list's prices: the order's list and the company's default price, the
// commission rate of the product's row in the list, and what the item offers and holds.
struct CasoPauta {
    int codPauta = 0;
    int precoPadrao = 0;
    const char* txComissao = "0";
    const char* oferecidos = ""; // the prices offered, in order
    const char* precoPauta = "";
    bool comissaoVisivel = false;
    const char* comComissao1 = ""; // product value with a 1 % commission
};
} // namespace

Q_DECLARE_METATYPE(CasoQuantidade)
Q_DECLARE_METATYPE(CasoConfirmacao)
Q_DECLARE_METATYPE(CasoPauta)

class TestEdicaoItem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findsTheProduct_data();
    void findsTheProduct();
    void inactiveProductOnlyForAnItemAlreadyEntered();
    void quantityRules_data();
    void quantityRules();
    void priceListPrices_data();
    void priceListPrices();
    void measurePrice_data();
    void measurePrice();
    void accessoriesOffered_data();
    void accessoriesOffered();
    void accessoryRowsPriceTheItem();
    void confirmation_data();
    void confirmation();
    void newItemIdsAboveFolderAndOrder_data();
    void newItemIdsAboveFolderAndOrder();
    void changeWorksOnACopyUntilSaved();
    void sameProductAndObservationRefused_data();
    void sameProductAndObservationRefused();
    void observationPrefixCutToTheField();
    void purchaseOrderNumberAndItemGoTogether_data();
    void purchaseOrderNumberAndItemGoTogether();
    void transmittedOrderIsOnlyViewed();
    void lastPricesOfTheCustomer();
    void valueOutsideItsFieldLeavesTheItemAsItWas();
};

void TestEdicaoItem::findsTheProduct_data() {
    QTest::addColumn<QString>("entrada");
    QTest::addColumn<QString>("codigo"); // empty: none

    QTest::newRow("its code") << "000123"
                              << "000123";
    QTest::newRow("code without the leading zeros") << "123"
                                                    << "000123";
    QTest::newRow("code typed with blanks after it") << "123   "
                                                     << "000123";
    QTest::newRow("bar code in the code field") << "7891234567895"
                                                << "000123";
    QTest::newRow("a code of letters") << "AB-9"
                                       << "AB-9";
    QTest::newRow("letters are no number") << "ABC"
                                           << "";
    QTest::newRow("another company's code") << "000777"
                                            << "";
    QTest::newRow("another company's bar code") << "7890000000777"
                                                << "";
    QTest::newRow("nothing typed") << "  "
                                   << "";
}

void TestEdicaoItem::findsTheProduct() {
    QFETCH(QString, entrada);
    QFETCH(QString, codigo);
    Cena cena;
    referencias(cena.store());
    produto(cena.store(), porta());
    produto(cena.store(), {.id = 2, .codigo = QStringLiteral("000000"), .ativo = 1});
    produto(cena.store(), {.id = 3, .codigo = QStringLiteral("AB-9"), .ativo = 1});
    produto(
        cena.store(),
        {.empresa = 2, .id = 7, .codigo = QStringLiteral("000777"), .barras = "7890000000777", .ativo = 1});
    QVERIFY(cena.abrir());

    const std::optional<Produto> achado = cena.item->buscarProduto(entrada);
    QCOMPARE(achado ? achado->CODIGO.trimmed() : QString(), codigo);
}

void TestEdicaoItem::inactiveProductOnlyForAnItemAlreadyEntered() {
    Cena cena;
    referencias(cena.store());
    produto(cena.store(), porta([](NovoProduto& p) { p.ativo = 0; }));
    QVERIFY(cena.abrir());
    const std::optional<Produto> inativo = cena.item->buscarProduto(QStringLiteral("123"));
    QVERIFY(inativo);

    Mensagem mensagem;
    QVERIFY(!cena.item->escolherProduto(*inativo, mensagem));
    QCOMPARE(mensagem.texto, QStringLiteral("Atenção produto selecionado não está ativo!"));
    QCOMPARE(cena.item->item().integer("PRODU"), 0);

    // An item entered while the product was active keeps it.
    Record antigo(mapeamento::tabela("peditens.tps"));
    antigo.setInteger("ID_VENDASI", 9);
    antigo.setInteger("PRODU", 1);
    antigo.setDecimal("QTD", D("2"));
    cena.pedido.itens().push_back({antigo, {}});
    cena.item->abrir(0);
    QVERIFY(cena.item->escolherProduto(*inativo, mensagem));
    QCOMPARE(S(cena.item->item().decimal("PRUNI"), 4), QStringLiteral("10.0000"));
}

void TestEdicaoItem::quantityRules_data() {
    QTest::addColumn<CasoQuantidade>("caso");

    const auto fora = [](const char8_t* valida) {
        return QStringLiteral("Quantidade diverge da volume na embalagem do produto!|Quantidade válida: ") +
               QString::fromUtf8(valida);
    };
    QTest::newRow("pieces x length x weight per metre")
        << CasoQuantidade{.subcategoria = 103, .quantidade = 10, .comprimento = 6000, .qtd = "90.000"};
    QTest::newRow("subcategory 1 also by pieces")
        << CasoQuantidade{.subcategoria = 1, .quantidade = 2, .comprimento = 1000, .qtd = "3.000"};
    QTest::newRow("quantity outside the lot")
        << CasoQuantidade{.lote = "12", .quantidade = 30, .mensagem = fora(u8"36 UN"), .qtd = "30.000"};
    QTest::newRow("pieces outside the lot") << CasoQuantidade{.subcategoria = 103,
                                                              .lote = "12",
                                                              .quantidade = 30,
                                                              .comprimento = 1000,
                                                              .mensagem = fora(u8"36 PÇS"),
                                                              .qtd = "45.000"};
    QTest::newRow("whole lots") << CasoQuantidade{.lote = "12", .quantidade = 24, .qtd = "24.000"};
    QTest::newRow("company takes whole lots only") << CasoQuantidade{.lote = "12",
                                                                     .bloqVolumes = "S",
                                                                     .quantidade = 30,
                                                                     .mensagem = fora(u8"36 UN"),
                                                                     .voltar = true,
                                                                     .pruni = "0.0000"};
    QTest::newRow("company takes whole lots only, pieces") << CasoQuantidade{.subcategoria = 103,
                                                                             .lote = "12",
                                                                             .bloqVolumes = "S",
                                                                             .quantidade = 30,
                                                                             .comprimento = 1000,
                                                                             .mensagem = fora(u8"36 PÇS"),
                                                                             .voltar = true,
                                                                             .pruni = "0.0000"};
    QTest::newRow("product reports only") << CasoQuantidade{.lote = "12",
                                                            .permitirDif = 1,
                                                            .bloqVolumes = "S",
                                                            .quantidade = 30,
                                                            .mensagem = fora(u8"36 UN"),
                                                            .qtd = "30.000"};
    QTest::newRow("product takes any quantity") << CasoQuantidade{
        .lote = "12", .permitirDif = 2, .bloqVolumes = "S", .quantidade = 30, .qtd = "30.000"};
    QTest::newRow("whole lots 5 % cheaper") << CasoQuantidade{
        .lote = "12", .txDescLote = "5", .quantidade = 24, .qtd = "24.000", .pruni = "9.5000"};
    QTest::newRow("one unit short of the lot pays full price") << CasoQuantidade{
        .lote = "12", .txDescLote = "5", .quantidade = 23, .mensagem = fora(u8"24 UN"), .qtd = "23.000"};
}

void TestEdicaoItem::quantityRules() {
    QFETCH(CasoQuantidade, caso);

    Cena cena;
    referencias(cena.store(), {.bloqVolumes = caso.bloqVolumes});
    produto(cena.store(), porta([&](NovoProduto& p) {
                p.subcategoria = caso.subcategoria;
                p.lote = caso.lote;
                p.permitirDifLote = caso.permitirDif;
                p.txDescLote = caso.txDescLote;
            }));
    QVERIFY(cena.abrir());
    QVERIFY(cena.escolher(QStringLiteral("123")));
    // A refused entry leaves the item as it was: no quantity yet, priced for none.
    const Mensagens mensagens = caso.subcategoria == 0
                                    ? cena.item->alterarQuantidade(Decimal(caso.quantidade))
                                    : cena.item->alterarPecas(caso.quantidade, caso.comprimento);

    QCOMPARE(textos(mensagens), caso.mensagem);
    QCOMPARE(cena.item->lote().voltarAoCampo, caso.voltar);
    QCOMPARE(S(cena.item->item().decimal("QTD"), 3), QString::fromLatin1(caso.qtd));
    if (!caso.voltar)
        QCOMPARE(S(cena.item->item().decimal("PRUNI"), 4), QString::fromLatin1(caso.pruni));
    QCOMPARE(S(cena.item->item().decimal("TOTAL"), 2),
             S((cena.item->item().decimal("QTD") * cena.item->item().decimal("PRUNI")).rounded(2), 2));
}

void TestEdicaoItem::priceListPrices_data() {
    QTest::addColumn<CasoPauta>("caso");

    // Product prices 10 / 9 / 8; list 25 has the product at 20 / 19 / 18, list 26 lacks it.
    QTest::newRow("no price list") << CasoPauta{
        .oferecidos = "10.00 9.00 8.00", .precoPauta = "10.00", .comComissao1 = "10.0000"};
    QTest::newRow("the list's prices") << CasoPauta{
        .codPauta = 25, .oferecidos = "20.00 19.00 18.00", .precoPauta = "20.00", .comComissao1 = "20.0000"};
    QTest::newRow("a default price offers the first") << CasoPauta{.codPauta = 25,
                                                                   .precoPadrao = 2,
                                                                   .oferecidos = "20.00",
                                                                   .precoPauta = "20.00",
                                                                   .comComissao1 = "20.0000"};
    QTest::newRow("product outside the list") << CasoPauta{
        .codPauta = 26, .oferecidos = "0.00 0.00 0.00", .precoPauta = "0.00", .comComissao1 = "0.0000"};
    QTest::newRow("list price by commission") << CasoPauta{.codPauta = 25,
                                                           .txComissao = "3",
                                                           .oferecidos = "20.00 19.00 18.00",
                                                           .precoPauta = "20.00",
                                                           .comissaoVisivel = true,
                                                           .comComissao1 = "19.6078"};
}

void TestEdicaoItem::priceListPrices() {
    QFETCH(CasoPauta, caso);

    Cena cena;
    referencias(cena.store(), {.precoPadrao = caso.precoPadrao});
    produto(cena.store(), porta([](NovoProduto& p) {
                p.prec2 = "9";
                p.prec3 = "8";
            }));
    for (const int codigo : {25, 26})
        adicionar(cena.store(), "pauta", [&](Record& r) {
            r.setInteger("ID", codigo * 10000 + kEmpresa);
            r.setInteger("ID_EMPRESA", kEmpresa);
            r.setInteger("CODIGO", codigo);
            r.setText("NUM_PAUTA", QString::number(codigo));
            r.setInteger("ATIVO", 1);
        });
    adicionar(cena.store(), "pauxpro", [&](Record& r) {
        r.setInteger("ID_PAUTA", 250001);
        r.setInteger("ID_PROD", 1);
        r.setDecimal("PRECO1", D("20"));
        r.setDecimal("PRECO2", D("19"));
        r.setDecimal("PRECO3", D("18"));
        r.setDecimal("DIVISOR", D("100"));
        r.setDecimal("TX_COMISSAO", D(caso.txComissao));
    });
    QVERIFY(cena.abrir(1, caso.codPauta));
    QVERIFY(cena.escolher(QStringLiteral("123")));
    cena.item->alterarQuantidade(D("1"));

    QStringList precos;
    for (const Decimal& p : cena.item->precosOferecidos())
        precos << S(p, 2);
    QCOMPARE(precos.join(QLatin1Char(' ')), QString::fromLatin1(caso.oferecidos));
    QCOMPARE(S(cena.item->item().decimal("PRECO_PAUTA"), 2), QString::fromLatin1(caso.precoPauta));
    QCOMPARE(cena.item->comissaoVisivel(), caso.comissaoVisivel);

    // A commission below the list's lowers the price; without a list rate the price stays.
    cena.item->alterarComissao(D("1"));
    QCOMPARE(S(cena.item->item().decimal("VALOR_PRODUTO"), 4), QString::fromLatin1(caso.comComissao1));
    QCOMPARE(S(cena.item->item().decimal("COMIS"), 2), QStringLiteral("1.00"));
}

void TestEdicaoItem::measurePrice_data() {
    QTest::addColumn<QString>("prazo");
    QTest::addColumn<QString>("praz2");
    QTest::addColumn<QString>("observacao");
    QTest::addColumn<QString>("preco"); // empty: not a measure

    QTest::newRow("second term of the customer's state") << "RJ 30 DIAS"
                                                         << "SP 60 DIAS"
                                                         << "120X080 porta"
                                                         << "48.00";
    QTest::newRow("first term of the customer's state") << "SP"
                                                        << "SP"
                                                        << "120x080"
                                                        << "38.40";
    QTest::newRow("no term of the customer's state") << "RJ"
                                                     << "MG"
                                                     << "120X080"
                                                     << "0.00";
    QTest::newRow("no measure") << "RJ"
                                << "SP"
                                << "porta 120"
                                << "";
}

void TestEdicaoItem::measurePrice() {
    QFETCH(QString, prazo);
    QFETCH(QString, praz2);
    QFETCH(QString, observacao);
    QFETCH(QString, preco);

    Cena cena;
    referencias(cena.store());
    const QByteArray p1 = prazo.toLatin1();
    const QByteArray p2 = praz2.toLatin1();
    produto(cena.store(), porta([&](NovoProduto& p) {
                p.preco = "40";
                p.prec2 = "50";
                p.prazo = p1.constData();
                p.praz2 = p2.constData();
            }));
    QVERIFY(cena.abrir());
    QVERIFY(cena.escolher(QStringLiteral("000123")));
    QVERIFY(cena.item->alterarQuantidade(D("2")).empty());

    const std::optional<Decimal> medida = cena.item->precoPorMedida(observacao);
    QCOMPARE(medida ? S(*medida, 2) : QString(), preco);
    if (!medida)
        return;
    cena.item->aplicarPrecoPorMedida(*medida);
    QCOMPARE(S(cena.item->item().decimal("VALOR_PRODUTO"), 2), preco);
    QCOMPARE(S(cena.item->item().decimal("PRUNI"), 2), preco);
    QCOMPARE(S(cena.item->item().decimal("TOTAL"), 2), S(*medida * Decimal(2), 2));
}

void TestEdicaoItem::accessoriesOffered_data() {
    QTest::addColumn<QString>("permite");
    QTest::addColumn<int>("acess1");
    QTest::addColumn<int>("acess2");
    QTest::addColumn<QString>("subgrupos");

    QTest::newRow("any subgroup") << "S" << 0 << 0 << "10 Puxadores, 20 Vidros, 30 Kits";
    QTest::newRow("only the required ones") << "N" << 30 << 10 << "10 Puxadores, 30 Kits";
    QTest::newRow("none required") << "" << 0 << 0 << "";
}

void TestEdicaoItem::accessoriesOffered() {
    QFETCH(QString, permite);
    QFETCH(int, acess1);
    QFETCH(int, acess2);
    QFETCH(QString, subgrupos);

    Cena cena;
    referencias(cena.store());
    acessorios(cena.store());
    const QByteArray p = permite.toLatin1();
    produto(cena.store(), porta([&](NovoProduto& n) {
                n.subgrupos = {acess1, acess2, 0};
                n.permiteAcessorios = p.constData();
            }));
    QVERIFY(cena.abrir());
    QVERIFY(cena.item->subgrupos().empty()); // no product yet
    QVERIFY(cena.escolher(QStringLiteral("123")));

    QStringList lista;
    for (const SubgrupoAcessorio& s : cena.item->subgrupos())
        lista << QStringLiteral("%1 %2").arg(s.codigo).arg(s.descricao);
    QCOMPARE(lista.join(QStringLiteral(", ")), subgrupos);

    // The inactive handle is not offered.
    const std::vector<AcessorioOferecido> puxadores = cena.item->acessoriosDoSubgrupo(10);
    QCOMPARE(puxadores.size(), std::size_t{1});
    QCOMPARE(puxadores.front().id, 101);
    QCOMPARE(S(puxadores.front().preco, 2), QStringLiteral("2.50"));
}

void TestEdicaoItem::accessoryRowsPriceTheItem() {
    Cena cena;
    referencias(cena.store());
    acessorios(cena.store());
    produto(cena.store(), porta([](NovoProduto& p) { p.permiteAcessorios = "S"; }));
    QVERIFY(cena.abrir());
    QVERIFY(cena.escolher(QStringLiteral("123")));
    QVERIFY(cena.item->alterarQuantidade(D("3")).empty());
    EdicaoItem& item = *cena.item;

    QCOMPARE(item.adicionarAcessorio(10, std::nullopt, D("2.5"))->texto,
             QStringLiteral("Escolha o acessório primeiro!"));
    // An accessory the subgroup does not offer (inactive, of another subgroup or company) is no choice.
    QCOMPARE(item.adicionarAcessorio(10, 102, D("1"))->texto,
             QStringLiteral("Escolha o acessório primeiro!"));
    QCOMPARE(item.adicionarAcessorio(10, 201, D("1"))->texto,
             QStringLiteral("Escolha o acessório primeiro!"));
    QCOMPARE(item.adicionarAcessorio(40, 401, D("1"))->texto,
             QStringLiteral("Escolha o acessório primeiro!"));
    QVERIFY(!item.adicionarAcessorio(10, 101, D("2.75"))); // the price may be changed before adding
    QCOMPARE(item.adicionarAcessorio(10, 101, D("2.5"))->texto, QStringLiteral("Acessório já lançado!"));
    QVERIFY(!item.adicionarAcessorio(20, 201, D("4")));

    QCOMPARE(item.acessorios().size(), std::size_t{2});
    QCOMPARE(item.acessorios()[0].integer("ID_VENDASI"), item.item().integer("ID_VENDASI"));
    QCOMPARE(S(item.item().decimal("VALOR_ACESSORIOS"), 2), QStringLiteral("6.75"));
    QCOMPARE(S(item.item().decimal("PRUNI"), 4), QStringLiteral("16.7500"));
    QCOMPARE(S(item.item().decimal("TOTAL"), 2), QStringLiteral("50.25"));

    QCOMPARE(item.removerAcessorio(-1)->texto,
             QStringLiteral("Primeiro selecione o acessório que você quer remover!"));
    QCOMPARE(item.removerAcessorio(2)->texto,
             QStringLiteral("Primeiro selecione o acessório que você quer remover!"));
    QVERIFY(!item.removerAcessorio(0));
    QCOMPARE(S(item.item().decimal("PRUNI"), 4), QStringLiteral("14.0000"));
    QCOMPARE(S(item.item().decimal("TOTAL"), 2), QStringLiteral("42.00"));
    QCOMPARE(registros(cena.store(), "pedacess", "KEYID_VENDASI", "1").size(), std::size_t{0});
}

void TestEdicaoItem::confirmation_data() {
    QTest::addColumn<CasoConfirmacao>("caso");

    const QString promocional = QStringLiteral("Produto com preço promocional. Desconto não permitido!");
    const QString acimaMaximo =
        QStringLiteral("Desconto de 6,00% acima do máximo permitido!|Desconto máximo: 5,00%");
    const QString abaixoPauta = QStringLiteral("Preço de venda não pode ser menor que o preço de pauta!");
    const QString preco = QStringLiteral("preco");

    QTest::newRow("plain item") << CasoConfirmacao{};
    QTest::newRow("promotional with a discount")
        << CasoConfirmacao{.promocional = 1, .descv = "1", .recusa = promocional};
    QTest::newRow("promotional without a discount") << CasoConfirmacao{.promocional = 1};
    QTest::newRow("discount above the commission share") << CasoConfirmacao{
        .descRateio = "10",
        .descp = "20",
        .recusa =
            QStringLiteral("Desconto de 20,00% é superior a taxa de rateio da comissão 5,00% do vendedor!")};
    QTest::newRow("one of two required accessories")
        << CasoConfirmacao{.doisAcessorios = false,
                           .recusa = QStringLiteral("Produto sem acessório (20-Vidros) obrigatório!"),
                           .campo = QStringLiteral("acessorios")};
    QTest::newRow("above the product's maximum discount")
        << CasoConfirmacao{.descMax = "5", .descv = "6", .recusa = acimaMaximo};
    QTest::newRow("flex order above the maximum is told only")
        << CasoConfirmacao{.descMax = "5", .flex = true, .descv = "6", .avisos = acimaMaximo};
    QTest::newRow("at the maximum discount") << CasoConfirmacao{.descMax = "5", .descv = "5"};
    QTest::newRow("below the list price") << CasoConfirmacao{
        .bloqueios = 1, .precoPadrao = 1, .preco = "9.99", .recusa = abaixoPauta, .campo = preco};
    QTest::newRow("below the list price, flex order") << CasoConfirmacao{
        .bloqueios = 1, .precoPadrao = 1, .flex = true, .preco = "9.99", .avisos = abaixoPauta};
    QTest::newRow("below the list price allowed by the company")
        << CasoConfirmacao{.precoPadrao = 1, .preco = "9.99"};
    QTest::newRow("third price is the floor without a default price")
        << CasoConfirmacao{.bloqueios = 1, .preco = "9.40", .recusa = abaixoPauta, .campo = preco};
    QTest::newRow("above the third price") << CasoConfirmacao{.bloqueios = 1, .preco = "9.60"};
}

void TestEdicaoItem::confirmation() {
    QFETCH(CasoConfirmacao, caso);

    Cena cena;
    referencias(cena.store(), {.bloqueios1 = caso.bloqueios, .precoPadrao = caso.precoPadrao},
                caso.descRateio);
    acessorios(cena.store());
    produto(cena.store(), porta([&](NovoProduto& p) {
                p.prec3 = "9.5";
                p.descMax = caso.descMax;
                p.promocional = caso.promocional;
                p.subgrupos = {10, 20, 0};
            }));
    QVERIFY(cena.abrir());
    cena.pedido.pedido().setInteger("PED_FLEX", caso.flex ? 1 : 0);
    EdicaoItem& item = *cena.item;
    item.alterarQuantidade(D("10"));
    item.alterarDesconto(D(caso.descp));
    QVERIFY(cena.escolher(QStringLiteral("123")));
    QVERIFY(!item.adicionarAcessorio(10, 101, D("0")));
    if (caso.doisAcessorios)
        QVERIFY(!item.adicionarAcessorio(20, 201, D("0")));
    if (qstrlen(caso.preco) > 0)
        item.alterarPrecoUnitario(D(caso.preco));
    item.alterarValorDesconto(D(caso.descv));

    Mensagens vistos;
    const std::optional<RecusaItem> recusada = item.verificar(vistos);
    QCOMPARE(recusada ? recusada->mensagem.texto : QString(), caso.recusa);
    QCOMPARE(recusada ? recusada->campo : QString(), caso.campo);
    QCOMPARE(textos(vistos), caso.avisos);

    // The save runs the same checks: a refused item stays out of the order.
    const std::optional<RecusaSalvar> salvo = item.salvar();
    QCOMPARE(salvo ? salvo->mensagem.texto : QString(), caso.recusa);
    QCOMPARE(cena.pedido.itens().size(), std::size_t{caso.recusa.isEmpty() ? 1u : 0u});
}

void TestEdicaoItem::newItemIdsAboveFolderAndOrder_data() {
    QTest::addColumn<int>("maiorNaPasta");  // of another order
    QTest::addColumn<int>("maiorNoPedido"); // of this order's items in memory, not yet saved
    QTest::addColumn<int>("esperado");

    QTest::newRow("empty folder, empty order") << 0 << 0 << 1;
    QTest::newRow("folder ahead") << 70 << 55 << 71;
    QTest::newRow("order in memory ahead") << 40 << 55 << 56;
}

void TestEdicaoItem::newItemIdsAboveFolderAndOrder() {
    QFETCH(int, maiorNaPasta);
    QFETCH(int, maiorNoPedido);
    QFETCH(int, esperado);

    Cena cena;
    referencias(cena.store());
    produto(cena.store(), porta());
    if (maiorNaPasta > 0) {
        qav::test::pedido(cena.store(), {.id = 2, .numero = 42, .cliente = kCliente});
        item(cena.store(), maiorNaPasta, 2, 1, "1");
    }
    QVERIFY(cena.abrir());
    if (maiorNoPedido > 0) {
        Record emMemoria(mapeamento::tabela("peditens.tps"));
        emMemoria.setInteger("ID_VENDASI", maiorNoPedido);
        emMemoria.setInteger("PRODU", 1);
        emMemoria.setText("OBS", QStringLiteral("100X080"));
        cena.pedido.itens().push_back({emMemoria, {}});
    }
    cena.item->novo();
    QVERIFY(cena.item->novoItem());
    QCOMPARE(cena.item->item().integer("ID_VENDASI"), esperado);
    QCOMPARE(cena.item->item().integer("ID_VENDA"), 1);

    // After a save the next item takes the following id.
    QVERIFY(cena.escolher(QStringLiteral("123")));
    cena.item->alterarQuantidade(D("1"));
    QVERIFY(!cena.item->salvar());
    QCOMPARE(cena.item->item().integer("ID_VENDASI"), esperado + 1);
    QCOMPARE(cena.item->item().integer("PRODU"), 0);
}

void TestEdicaoItem::changeWorksOnACopyUntilSaved() {
    Cena cena;
    referencias(cena.store());
    acessorios(cena.store());
    produto(cena.store(), porta([](NovoProduto& p) { p.permiteAcessorios = "S"; }));
    qav::test::pedido(cena.store(), {.id = 1, .numero = 41, .cliente = kCliente, .vendedor = kVendedor});
    adicionar(cena.store(), "peditens", [](Record& r) {
        r.setInteger("ID_VENDASI", 5);
        r.setInteger("ID_VENDA", 1);
        r.setInteger("PRODU", 1);
        r.setDecimal("QTD", D("2"));
        r.setDecimal("VALOR_PRODUTO", D("10"));
        r.setDecimal("VALOR_ACESSORIOS", D("2.5"));
        r.setDecimal("PRUNI", D("12.5"));
        r.setDecimal("TOTAL", D("25"));
        r.setText("OBS", QStringLiteral("Puxador cromado # montar #2 na obra"));
    });
    adicionar(cena.store(), "pedacess", [](Record& r) {
        r.setInteger("ID_VENDASI", 5);
        r.setInteger("ID_ACESSORIO", 101);
        r.setDecimal("VALOR", D("2.5"));
        r.setInteger("COD_SUBGRUPO", 10);
    });
    QVERIFY(cena.pedido.abrir(1).ok());
    QVERIFY(cena.pedido.carregarDados(cena.dados).ok());
    EdicaoItem item(cena.store(), cena.pedido, cena.dados);
    item.abrir(0);

    // The representative edits his own text; the accessories' prefix comes back on saving.
    QCOMPARE(item.item().text("OBS").trimmed(), QStringLiteral("montar #2 na obra"));
    QVERIFY(!item.alterado());

    item.alterarQuantidade(D("4"));
    QVERIFY(!item.adicionarAcessorio(20, 201, D("4")));
    QVERIFY(item.alterado());
    QCOMPARE(S(item.item().decimal("TOTAL"), 2), QStringLiteral("66.00"));
    // The order is untouched until the save.
    QCOMPARE(S(cena.pedido.itens()[0].item.decimal("QTD"), 3), QStringLiteral("2.000"));
    QCOMPARE(cena.pedido.itens()[0].acessorios.size(), std::size_t{1});

    QVERIFY(!item.salvar());
    const ItemEmEdicao& salvo = cena.pedido.itens()[0];
    QCOMPARE(cena.pedido.itens().size(), std::size_t{1});
    QCOMPARE(S(salvo.item.decimal("QTD"), 3), QStringLiteral("4.000"));
    QCOMPARE(salvo.item.text("OBS").trimmed(),
             QStringLiteral("Puxador cromado: Vidro fumê # montar #2 na obra"));
    QCOMPARE(salvo.acessorios.size(), std::size_t{2});
    QCOMPARE(salvo.acessorios[1].integer("ID_VENDASI"), 5);
    QVERIFY(!item.alterado());
    QCOMPARE(item.item().text("OBS").trimmed(), QStringLiteral("montar #2 na obra"));
    // Nothing is in the files before the order is saved.
    const std::vector<Record> noArquivo = registros(cena.store(), "peditens", "KEYID_VENDASI", "1");
    QCOMPARE(noArquivo.size(), std::size_t{1});
    QCOMPARE(S(noArquivo[0].decimal("QTD"), 3), QStringLiteral("2.000"));
    QCOMPARE(registros(cena.store(), "pedacess", "KEYID_VENDASI", "1").size(), std::size_t{1});

    // Without accessories the text is all the representative's, "#" and all.
    item.abrir(0);
    QVERIFY(!item.removerAcessorio(0));
    QVERIFY(!item.removerAcessorio(0));
    QVERIFY(!item.salvar());
    QCOMPARE(cena.pedido.itens()[0].item.text("OBS").trimmed(), QStringLiteral("montar #2 na obra"));
    item.abrir(0);
    QCOMPARE(item.item().text("OBS").trimmed(), QStringLiteral("montar #2 na obra"));
}

void TestEdicaoItem::sameProductAndObservationRefused_data() {
    QTest::addColumn<QString>("primeira");
    QTest::addColumn<QString>("segunda");
    QTest::addColumn<bool>("recusada");

    QTest::newRow("both without observation") << ""
                                              << "" << true;
    QTest::newRow("same observation") << "120X080"
                                      << "120X080" << true;
    QTest::newRow("differing only in case and blanks") << "Porta Branca"
                                                       << "porta branca  " << true;
    QTest::newRow("different observations") << "120X080"
                                            << "100X080" << false;
}

void TestEdicaoItem::sameProductAndObservationRefused() {
    QFETCH(QString, primeira);
    QFETCH(QString, segunda);
    QFETCH(bool, recusada);

    Cena cena;
    referencias(cena.store());
    produto(cena.store(), porta());
    QVERIFY(cena.abrir());
    const auto salvarCom = [&](const QString& obs) {
        Mensagem m;
        const std::optional<Produto> p = cena.item->buscarProduto(QStringLiteral("123"));
        if (!p || !cena.item->escolherProduto(*p, m))
            return std::optional<RecusaSalvar>(RecusaSalvar{m});
        cena.item->alterarQuantidade(D("1"));
        cena.item->item().setText("OBS", obs);
        return cena.item->salvar();
    };
    QVERIFY(!salvarCom(primeira));
    const std::optional<RecusaSalvar> segundo = salvarCom(segunda);
    QCOMPARE(segundo ? segundo->mensagem.texto : QString(), recusada ? kChaveItem : QString());
    if (segundo)
        QVERIFY(segundo->duplicado); // the standard duplicate-key warning names the key
    QCOMPARE(cena.pedido.itens().size(), std::size_t{recusada ? 1u : 2u});
}

void TestEdicaoItem::observationPrefixCutToTheField() {
    Cena cena;
    referencias(cena.store());
    acessorios(cena.store());
    produto(cena.store(), porta([](NovoProduto& p) { p.permiteAcessorios = "S"; }));
    QVERIFY(cena.abrir());
    QVERIFY(cena.escolher(QStringLiteral("123")));
    cena.item->alterarQuantidade(D("1"));
    QVERIFY(!cena.item->adicionarAcessorio(10, 101, D("2.5")));
    QVERIFY(!cena.item->adicionarAcessorio(30, 301, D("1")));
    cena.item->item().setText("OBS", QStringLiteral("  ") + QString(95, QLatin1Char('x')));
    QVERIFY(!cena.item->salvar());

    const QString obs = cena.pedido.itens().back().item.text("OBS");
    const QString esperado =
        QStringLiteral("Puxador cromado: Kit montagem # ") + QString(95, QLatin1Char('x'));
    QCOMPARE(obs, esperado.left(100));
}

// The customer's purchase-order number and its item number are given together or not at all; the
// item form sends the representative to the one missing.
void TestEdicaoItem::purchaseOrderNumberAndItemGoTogether_data() {
    QTest::addColumn<QString>("numero");
    QTest::addColumn<int>("itemOc");
    QTest::addColumn<QString>("falta");

    QTest::newRow("neither") << QString() << 0 << QString();
    QTest::newRow("both") << QStringLiteral("OC-55") << 3 << QString();
    QTest::newRow("number without item") << QStringLiteral("OC-55") << 0 << QStringLiteral("itemOrdemCompra");
    QTest::newRow("item without number") << QString() << 3 << QStringLiteral("ordemCompra");
    QTest::newRow("blank number counts as none")
        << QStringLiteral("   ") << 3 << QStringLiteral("ordemCompra");
}

void TestEdicaoItem::purchaseOrderNumberAndItemGoTogether() {
    QFETCH(QString, numero);
    QFETCH(int, itemOc);
    QFETCH(QString, falta);

    Cena cena;
    QVERIFY(cena.abrir());
    cena.item->item().setText("NUM_OC", numero);
    cena.item->item().setInteger("NUM_ITEM_OC", itemOc);
    QCOMPARE(cena.item->ordemDeCompraIncompleta(), falta);
}

void TestEdicaoItem::transmittedOrderIsOnlyViewed() {
    Cena cena;
    referencias(cena.store());
    acessorios(cena.store());
    produto(cena.store(), porta([](NovoProduto& p) { p.permiteAcessorios = "S"; }));
    qav::test::pedido(cena.store(), {.id = 1, .numero = 41, .situa = 3, .cliente = kCliente});
    item(cena.store(), 5, 1, 1, "2");
    QVERIFY(cena.pedido.abrir(1).ok());
    QVERIFY(cena.pedido.carregarDados(cena.dados).ok());
    EdicaoItem item(cena.store(), cena.pedido, cena.dados);
    item.abrir(0);
    QVERIFY(item.somenteLeitura());

    const QString transmitido = QStringLiteral("Pedido já transmitido! Somente consulta disponível!");
    const std::optional<Produto> p = item.buscarProduto(QStringLiteral("123"));
    QVERIFY(p);
    Mensagem m;
    QVERIFY(!item.escolherProduto(*p, m));
    QCOMPARE(m.texto, transmitido);
    QCOMPARE(textos(item.alterarQuantidade(D("7"))), transmitido);
    QCOMPARE(textos(item.alterarDesconto(D("3"))), transmitido);
    QCOMPARE(item.adicionarAcessorio(10, 101, D("1"))->texto, transmitido);
    QVERIFY(!item.alterado());
    const std::optional<RecusaSalvar> recusa = item.salvar();
    QVERIFY(recusa && !recusa->duplicado);
    QCOMPARE(recusa->mensagem.texto, transmitido);
    QCOMPARE(S(cena.pedido.itens()[0].item.decimal("QTD"), 3), QStringLiteral("2.000"));
    QVERIFY(!cena.pedido.alterado());
}

void TestEdicaoItem::lastPricesOfTheCustomer() {
    Cena cena;
    referencias(cena.store());
    produto(cena.store(), porta());
    produto(cena.store(), {.id = 2, .codigo = QStringLiteral("000200"), .preco = "10", .ativo = 1});
    const Date inicio = Date::fromYmd(2026, 1, 5);
    int idPedcon = 0;
    const auto historico = [&](int numero, int diasDepois, int situacao, int cliente, int empresa,
                               int idProduto, const char* preco) {
        const int id = ++idPedcon;
        adicionar(cena.store(), "pedcon", [&](Record& r) {
            r.setInteger("ID_PEDCON", id);
            r.setInteger("ID_EMPRESA", empresa);
            r.setInteger("NUMERO", numero);
            r.setInteger("NUM_ENTREGA", id);
            r.setDate("DATA_PEDIDO", Date(inicio.dayNumber() + diasDepois));
            r.setInteger("SITUACAO", situacao);
            r.setInteger("ID_CLIENTE", cliente);
        });
        adicionar(cena.store(), "pedicon", [&](Record& r) {
            r.setInteger("ID_PEDCON", id);
            r.setInteger("ORDEM", 1);
            r.setInteger("ID_EMPRESA", empresa);
            r.setInteger("ID_PRODUTO", idProduto);
            r.setDecimal("QTDADE", D("3"));
            r.setDecimal("PRECO_UNIT", D(preco));
        });
    };
    // Twelve orders of the customer, one a month, the latest at 12.00; the same order number
    // delivered twice counts once.
    for (int mes = 1; mes <= 12; ++mes)
        historico(1000 + mes, mes * 30, 1, kCliente, kEmpresa, 1,
                  QByteArray::number(8 + mes * 0.25).constData());
    historico(1012, 12 * 30 - 1, 1, kCliente, kEmpresa, 1, "99");
    // Newer ones that do not count: cancelled, another company, another customer, another product.
    historico(2001, 400, 4, kCliente, kEmpresa, 1, "1");
    historico(2002, 401, 1, kCliente, 2, 1, "1");
    historico(2003, 402, 1, 8, kEmpresa, 1, "1");
    historico(2004, 403, 1, kCliente, kEmpresa, 2, "1");
    QVERIFY(cena.abrir());
    QVERIFY(cena.item->ultimosPrecos().empty()); // no product yet
    QVERIFY(cena.escolher(QStringLiteral("123")));

    const std::vector<UltimoPreco> precos = cena.item->ultimosPrecos();
    QCOMPARE(precos.size(), std::size_t{10});
    QCOMPARE(precos.front().numeroPedido, 1012);
    QCOMPARE(precos.front().data.dayNumber(), inicio.dayNumber() + 360);
    QCOMPARE(S(precos.front().preco, 4), QStringLiteral("11.0000"));
    QCOMPARE(S(precos.front().quantidade, 2), QStringLiteral("3.00"));
    QCOMPARE(S(precos.front().variacao, 2), QStringLiteral("-10.00")); // against 10.00 now
    QCOMPARE(precos.back().numeroPedido, 1003);
    QCOMPARE(S(precos.back().variacao, 2), QStringLiteral("12.50")); // 8.75 against 10.00
}

void TestEdicaoItem::valueOutsideItsFieldLeavesTheItemAsItWas() {
    Cena cena;
    referencias(cena.store());
    produto(cena.store(), porta());
    QVERIFY(cena.abrir());
    QVERIFY(cena.escolher(QStringLiteral("123")));
    cena.item->alterarQuantidade(D("2"));
    const Record antes = cena.item->item();

    // 10^13 units do not fit the quantity field (15 digits, 3 of them decimals).
    const Mensagens m = cena.item->alterarQuantidade(D("10000000000000"));
    QCOMPARE(m.size(), std::size_t{1});
    QCOMPARE(m.front().titulo, QStringLiteral("Erro"));
    QVERIFY(cena.item->item() == antes);
}

QAV_TEST_GUILESS_MAIN(TestEdicaoItem)
#include "tst_edicaoitem.moc"
