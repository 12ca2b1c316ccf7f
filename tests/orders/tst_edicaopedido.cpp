// An order in edition over real table files: the values a new order starts with, nothing in the files
// before the save, the save of header, items and accessories in one transaction, two windows on the
// same order, bar-code reading, and a process killed while it saves.
#include "orders/core/CamposPedido.h"
#include "orders/core/DadosDoArquivo.h"
#include "orders/core/EdicaoPedido.h"
#include "orders/core/ManutencaoPedido.h"
#include "orders/core/RascunhoPedido.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/orders/PedidosFixture.h"
#include "tests/orders/ReferenciasFixture.h"
#include "tests/support/KillTest.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <algorithm>
#include <map>

using namespace qav;
using namespace qav::test;
using qavtest::D;
using qavtest::S;

namespace {
const Date kHoje = Date::fromYmd(2026, 12, 8);
constexpr int kEmpresa = 1;
constexpr int kVendedor = 101;

void pauta(Store& store, int id, int empresa, int codigo) {
    adicionar(store, "pauta", [&](Record& r) {
        r.setInteger("ID", id);
        r.setInteger("ID_EMPRESA", empresa);
        r.setInteger("CODIGO", codigo);
        r.setInteger("ATIVO", 1);
        r.setText("DESCRICAO", QStringLiteral("Pauta %1").arg(codigo));
    });
}

void pautaProduto(Store& store, int idPauta, int idProduto, const char* preco1) {
    adicionar(store, "pauxpro", [&](Record& r) {
        r.setInteger("ID_PAUTA", idPauta);
        r.setInteger("ID_PROD", idProduto);
        r.setDecimal("PRECO1", D(preco1));
    });
}

void pedidoComFrete(Store& store, int id, int empresa, int numero, int fconta) {
    adicionar(store, "pedidos", [&](Record& r) {
        r.setInteger("ID", id);
        r.setInteger("ID_EMPRESA", empresa);
        r.setInteger("NUMER", numero);
        r.setInteger("SITUA", 1);
        r.setInteger("FCONTA", fconta);
    });
}

// An item of the order in memory, as the item form hands it over.
Record itemEmMemoria(int idItem, int idPedido, int produto, const char* qtd, const QString& obs = {}) {
    Record r(mapeamento::tabela("peditens.tps"));
    r.setInteger("ID_VENDASI", idItem);
    r.setInteger("ID_VENDA", idPedido);
    r.setInteger("PRODU", produto);
    r.setDecimal("QTD", D(qtd));
    r.setDecimal("VALOR_PRODUTO", D("10"));
    r.setDecimal("PRUNI", D("10"));
    r.setDecimal("TOTAL", D(qtd) * D("10"));
    r.setText("OBS", obs);
    return r;
}

Record acessorioEmMemoria(int idAcessorio, const char* valor) {
    Record r(mapeamento::tabela("pedacess.tps"));
    r.setInteger("ID_ACESSORIO", idAcessorio);
    r.setDecimal("VALOR", D(valor));
    return r;
}

std::size_t contar(Store& store, const char* tabela) {
    return registros(store, tabela, QByteArray(tabela) == "pedidos" ? "KEYID" : "KEYID_VENDASI", "1").size();
}

Record pedidoNoArquivo(Store& store, int id) {
    const std::vector<Record> r = registros(store, "pedidos", "KEYID", "ID = " + std::to_string(id));
    if (r.size() != 1)
        throw std::runtime_error("order not in the file");
    return r.front();
}

// Order 1 (number 41) of customer 7, with items 1..3 (products 1..3, 2 units at 10.00), each with
// one accessory row (accessory 50 + item id).
void pedidoDeTresItens(Store& store, int situa = 1) {
    pedido(store, {.id = 1, .numero = 41, .situa = situa, .cliente = 7, .vendedor = kVendedor, .total = 60});
    for (int i = 1; i <= 3; ++i) {
        adicionar(store, "peditens", [&](Record& r) {
            r.setInteger("ID_VENDASI", i);
            r.setInteger("ID_VENDA", 1);
            r.setInteger("PRODU", i);
            r.setDecimal("QTD", D("2"));
            r.setDecimal("PRUNI", D("10"));
            r.setDecimal("TOTAL", D("20"));
        });
        acessorio(store, i, 50 + i);
    }
}

// The kill test's order: kKillItems items, each with an accessory row.
constexpr int kKillItems = 5000;
constexpr int kKillStep = 500;
constexpr int kKillReplaced = 10; // the edit removes the last items and adds as many new ones

// In the child: edits order 1 (every item to 2 units, the last ones replaced, a new observation) or
// enters a new order of kKillItems items, and saves, telling the parent how far the save is.
int childMain(const QString& mode, const QString& folder) {
    Store store(folder);
    EdicaoPedido edicao(store);
    if (mode == QLatin1String("editar")) {
        if (!edicao.abrir(1).ok())
            return 3;
        edicao.pedido().setText("OBS", QStringLiteral("editado"));
        auto& itens = edicao.itens();
        itens.erase(itens.end() - kKillReplaced, itens.end());
        for (ItemEmEdicao& item : itens)
            item.item.setDecimal("QTD", D("2"));
        for (int i = 1; i <= kKillReplaced; ++i) {
            ItemEmEdicao novo{itemEmMemoria(kKillItems + i, 1, 900 + i, "2", QStringLiteral("novo")), {}};
            novo.acessorios.push_back(acessorioEmMemoria(6, "1"));
            itens.push_back(novo);
        }
    } else {
        if (!edicao.novo(kEmpresa, kHoje).ok())
            return 3;
        const int id = static_cast<int>(edicao.pedido().integer("ID"));
        for (int i = 1; i <= kKillItems; ++i) {
            ItemEmEdicao novo{itemEmMemoria(i, id, i, "2", QStringLiteral("item %1").arg(i)), {}};
            novo.acessorios.push_back(acessorioEmMemoria(6, "1"));
            edicao.itens().push_back(novo);
        }
    }
    edicao.acompanharGravacao([](int feitos) { reportProgress(feitos, kKillItems, kKillStep); });
    return edicao.gravar().ok() ? 0 : 4;
}

// A new order primed over the settings and orders of a case: what the workstation says (freight lock,
// commission origin, flex, immediate delivery), whose tab started it, and the id, number, freight
// responsibility and commission rate it must get.
struct NovoPedidoCaso {
    bool pedidosExistentes = false;
    int bloqFrete = 0;
    int origemCom = 0;
    int permitirFlex = 0;
    int entregaImediata = 0;
    int vendedorDoChamador = 0;
    int id = 0;
    int numero = 0;
    int fconta = 0;
    const char* comis = "";
};
} // namespace

Q_DECLARE_METATYPE(NovoPedidoCaso)

class TestEdicaoPedido : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void primesANewOrder_data();
    void primesANewOrder();
    void newOrderIsInTheFilesOnlyOnceSaved();
    void sameProductTwiceWithTheSameObservationWritesNothing();
    void customerOpenInItsFormDoesNotStopTheSave();
    void secondWindowOnTheSameOrderIsRefused_data();
    void secondWindowOnTheSameOrderIsRefused();
    void twoNewOrdersPrimedTogetherAreBothSaved();
    void savesRemovedChangedAndAddedItems();
    void transmittedOrderIsNeverWritten();
    void deletedOrderIsNotFound();
    void barCodePricesTheNewItem_data();
    void barCodePricesTheNewItem();
    void barCodeAddsOneUnitToTheItemWithoutObservation();
    void readsWhatTheRulesNeed();
    void unreadableTableIsNamed_data();
    void unreadableTableIsNamed();
    void recalculationThatDoesNotFitChangesNothing();
    void draftBringsBackHeaderItemsAndAccessories();
    void killedSaveLeavesTheOrderWhole_data();
    void killedSaveLeavesTheOrderWhole();
};

void TestEdicaoPedido::primesANewOrder_data() {
    QTest::addColumn<NovoPedidoCaso>("caso");

    QTest::newRow("empty folder") << NovoPedidoCaso{.origemCom = 1,
                                                    .permitirFlex = 1,
                                                    .entregaImediata = 1,
                                                    .id = 1,
                                                    .numero = 1,
                                                    .fconta = 0,
                                                    .comis = "6.00"};
    // Highest id is of company 2, highest number of company 1; the order with the highest number
    // (not the highest id) gives the freight responsibility.
    QTest::newRow("over every company") << NovoPedidoCaso{
        .pedidosExistentes = true, .origemCom = 2, .id = 11, .numero = 41, .fconta = 2, .comis = "0.00"};
    QTest::newRow("freight forced by the company") << NovoPedidoCaso{.pedidosExistentes = true,
                                                                     .bloqFrete = 1,
                                                                     .origemCom = 1,
                                                                     .id = 11,
                                                                     .numero = 41,
                                                                     .fconta = 1,
                                                                     .comis = "6.00"};
    QTest::newRow("freight setting outside 1 and 2") << NovoPedidoCaso{.pedidosExistentes = true,
                                                                       .bloqFrete = 3,
                                                                       .origemCom = 0,
                                                                       .id = 11,
                                                                       .numero = 41,
                                                                       .fconta = 2,
                                                                       .comis = "0.00"};
    // Started from another representative's tab: the order is still the workstation's, with its
    // representative's commission.
    QTest::newRow("the caller's representative gives way") << NovoPedidoCaso{
        .origemCom = 1, .vendedorDoChamador = 202, .id = 1, .numero = 1, .fconta = 0, .comis = "6.00"};
}

void TestEdicaoPedido::primesANewOrder() {
    QFETCH(NovoPedidoCaso, caso);

    TempDataFolder folder;
    Store& store = folder.store();
    qavcfg(store, {.vendedor = kVendedor,
                   .bloqFrete = caso.bloqFrete,
                   .permitirFlex = caso.permitirFlex,
                   .entregaImediata = caso.entregaImediata});
    vendedor(store, {.id = 1, .codigo = kVendedor, .origemCom = caso.origemCom, .taxa = "6"});
    // The same code in another company.
    vendedor(store, {.id = 2, .empresa = 2, .codigo = kVendedor, .origemCom = 1, .taxa = "9"});
    vendedor(store, {.id = 3, .codigo = 202, .origemCom = 1, .taxa = "3"});
    if (caso.pedidosExistentes) {
        pedidoComFrete(store, 10, 2, 5, 1);
        pedidoComFrete(store, 3, kEmpresa, 40, 2);
        pedidoComFrete(store, 7, kEmpresa, 12, 1);
    }
    const std::size_t antes = contar(store, "pedidos");

    Record inicio(mapeamento::tabela("pedidos.tps"));
    inicio.setInteger("CLIEN", 77);
    inicio.setInteger("COD_VENDEDOR", caso.vendedorDoChamador);
    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje, &inicio).ok());

    const Record& p = edicao.pedido();
    QVERIFY(edicao.novoPedido());
    QCOMPARE(p.integer("ID"), caso.id);
    QCOMPARE(p.integer("NUMER"), caso.numero);
    QCOMPARE(p.integer("FCONTA"), caso.fconta);
    QCOMPARE(S(p.decimal("COMIS"), 2), QString::fromLatin1(caso.comis));
    QCOMPARE(p.integer("PED_FLEX"), caso.permitirFlex);
    QCOMPARE(p.integer("PRODUTO_ENTREGUE"), caso.entregaImediata);
    QCOMPARE(p.integer("COD_VENDEDOR"), kVendedor);
    QCOMPARE(p.integer("CLIEN"), 77);
    QCOMPARE(p.integer("DATA"), kHoje.dayNumber());
    QCOMPARE(p.integer("ID_EMPRESA"), kEmpresa);
    QCOMPARE(p.integer("TIPOV"), 1);
    QCOMPARE(p.integer("SITUA"), 1);
    QCOMPARE(p.integer("INF_USUARIO"), 1);
    QCOMPARE(contar(store, "pedidos"), antes); // primed in memory only
}

void TestEdicaoPedido::newOrderIsInTheFilesOnlyOnceSaved() {
    TempDataFolder folder;
    Store& store = folder.store();
    qavcfg(store, {.vendedor = kVendedor});
    vendedor(store, {.id = 1, .codigo = kVendedor, .origemCom = 1, .taxa = "5"});
    produto(store, {.id = 1, .barras = "7891000000011", .preco = "10"});
    produto(store, {.id = 2, .barras = "7891000000028", .preco = "4.5"});
    cliente(store, {.id = 7, .formaPag = 3});
    formaPag(store, {.id = 120001, .codigo = 12});

    {
        EdicaoPedido edicao(store);
        QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
        edicao.pedido().setInteger("CLIEN", 7);
        edicao.pedido().setInteger("COD_FORMAPAG", 12);
        DadosPedido dados;
        QVERIFY(edicao.carregarDados(dados).ok());
        FalhaEdicao falha;
        QVERIFY(edicao.lerCodigoBarras(QStringLiteral("7891000000011"), dados, falha));
        QVERIFY(edicao.lerCodigoBarras(QStringLiteral("7891000000028"), dados, falha));
        edicao.itens()[0].acessorios.push_back(acessorioEmMemoria(9, "1.5"));
        QVERIFY(edicao.carregarDados(dados).ok());
        edicao.pedido().setDecimal("DESCP", D("10"));
        edicao.recalcular(dados, {});
        QCOMPARE(S(edicao.pedido().decimal("TOTAL"), 2), QStringLiteral("13.05")); // 14.50 - 10 %
        QVERIFY(edicao.alterado());
        // Until the save, and when the window is closed without it, nothing is in the files.
        QCOMPARE(contar(store, "pedidos"), 0u);
        QCOMPARE(contar(store, "peditens"), 0u);
        QCOMPARE(contar(store, "pedacess"), 0u);
    }
    QCOMPARE(contar(store, "pedidos"), 0u);

    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    edicao.pedido().setInteger("CLIEN", 7);
    edicao.pedido().setInteger("COD_FORMAPAG", 12);
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    FalhaEdicao falha;
    QVERIFY(edicao.lerCodigoBarras(QStringLiteral("7891000000011"), dados, falha));
    QVERIFY(edicao.lerCodigoBarras(QStringLiteral("7891000000028"), dados, falha));
    edicao.itens()[0].acessorios.push_back(acessorioEmMemoria(9, "1.5"));
    QVERIFY(edicao.carregarDados(dados).ok());
    edicao.recalcular(dados, {});
    const FalhaEdicao gravado = edicao.gravar();
    QVERIFY2(gravado.ok(), qPrintable(gravado.mensagem));
    QVERIFY(!edicao.novoPedido());
    QVERIFY(!edicao.alterado());

    const Record noArquivo = pedidoNoArquivo(store, 1);
    QCOMPARE(noArquivo.integer("NUMER"), 1);
    QCOMPARE(noArquivo.real("TOTAL"), 14.5);
    const std::vector<Record> itens = registros(store, "peditens", "KEYID_VENDASI", "ID_VENDA = 1");
    QCOMPARE(itens.size(), 2u);
    QCOMPARE(itens[0].integer("ID_VENDASI"), 1);
    QCOMPARE(itens[1].integer("ID_VENDASI"), 2);
    QCOMPARE(S(itens[1].decimal("TOTAL"), 2), QStringLiteral("4.50"));
    const std::vector<Record> acessorios = registros(store, "pedacess", "KEYID_VENDASI", "1");
    QCOMPARE(acessorios.size(), 1u);
    QCOMPARE(acessorios[0].integer("ID_VENDASI"), 1);
    QCOMPARE(acessorios[0].integer("ID_ACESSORIO"), 9);
    // The customer's last payment form is the order's.
    QCOMPARE(registros(store, "clientes", "KEYID", "ID = 7").front().integer("FORMA_PAG"), 12);

    // Saved again unchanged, it writes nothing.
    const std::int64_t revisao = noArquivo.revision();
    QVERIFY(edicao.gravar().ok());
    QCOMPARE(pedidoNoArquivo(store, 1).revision(), revisao);
}

void TestEdicaoPedido::sameProductTwiceWithTheSameObservationWritesNothing() {
    TempDataFolder folder;
    Store& store = folder.store();
    qavcfg(store, {.vendedor = kVendedor});
    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    edicao.itens().push_back({itemEmMemoria(1, 1, 5, "1", QStringLiteral("azul")), {}});
    edicao.itens().push_back({itemEmMemoria(2, 1, 5, "3", QStringLiteral("azul")), {}});
    edicao.itens()[1].acessorios.push_back(acessorioEmMemoria(9, "1"));

    const FalhaEdicao falha = edicao.gravar();
    QCOMPARE(falha.tipo, FalhaEdicao::Tipo::Duplicado);
    QCOMPARE(falha.campo, QStringLiteral("Id Pedido + Produto + Obs."));
    QCOMPARE(contar(store, "pedidos"), 0u);
    QCOMPARE(contar(store, "peditens"), 0u);
    QCOMPARE(contar(store, "pedacess"), 0u);
    // The order is still new in memory: once corrected it is saved.
    QVERIFY(edicao.novoPedido());
    edicao.itens()[1].item.setText("OBS", QStringLiteral("verde"));
    QVERIFY(edicao.gravar().ok());
    QCOMPARE(contar(store, "peditens"), 2u);
    QCOMPARE(contar(store, "pedacess"), 1u);
}

void TestEdicaoPedido::customerOpenInItsFormDoesNotStopTheSave() {
    TempDataFolder folder;
    Store& store = folder.store();
    qavcfg(store, {.vendedor = kVendedor});
    cliente(store, {.id = 7, .formaPag = 3});
    Table formularioCliente(store, "clientes"); // the customer form holds the customer it edits
    QVERIFY(formularioCliente.open());
    formularioCliente.rec().setInteger("ID", 7);
    QCOMPARE(formularioCliente.get("KEYID"), Status::Ok);
    QCOMPARE(formularioCliente.hold(0), Status::Ok);

    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    edicao.pedido().setInteger("CLIEN", 7);
    edicao.pedido().setInteger("COD_FORMAPAG", 12);
    edicao.itens().push_back({itemEmMemoria(1, 1, 5, "1"), {}});
    const FalhaEdicao falha = edicao.gravar();
    QVERIFY2(falha.ok(), qPrintable(falha.mensagem));
    QCOMPARE(contar(store, "pedidos"), 1u);
    QCOMPARE(contar(store, "peditens"), 1u);

    // The customer form's own save still goes through, and the customer is as it left it.
    formularioCliente.rec().setText("RAZAO", QStringLiteral("Cliente editado"));
    QCOMPARE(formularioCliente.put(), Status::Ok);
    QCOMPARE(registros(store, "clientes", "KEYID", "ID = 7").front().integer("FORMA_PAG"), 3);
}

void TestEdicaoPedido::secondWindowOnTheSameOrderIsRefused_data() {
    QTest::addColumn<QString>("primeiro");
    QTest::addColumn<QString>("segundo");
    QTest::addColumn<int>("tipo");
    constexpr int alterado = static_cast<int>(FalhaEdicao::Tipo::AlteradoPorOutro);
    constexpr int transmitido = static_cast<int>(FalhaEdicao::Tipo::Transmitido);
    QTest::newRow("saved, then header changed") << "gravar"
                                                << "cabecalho" << alterado;
    QTest::newRow("saved, then only an item changed") << "gravar"
                                                      << "item" << alterado;
    QTest::newRow("saved, then an item removed") << "gravar"
                                                 << "remover" << alterado;
    QTest::newRow("deleted, then header changed") << "excluir"
                                                  << "cabecalho" << alterado;
    QTest::newRow("transmitted, then an item changed") << "transmitir"
                                                       << "item" << transmitido;
}

void TestEdicaoPedido::secondWindowOnTheSameOrderIsRefused() {
    QFETCH(QString, primeiro);
    QFETCH(QString, segundo);
    QFETCH(int, tipo);
    TempDataFolder folder;
    Store& store = folder.store();
    pedidoDeTresItens(store);

    EdicaoPedido a(store);
    EdicaoPedido b(store);
    QVERIFY(a.abrir(1).ok());
    QVERIFY(b.abrir(1).ok());

    if (primeiro == QLatin1String("gravar")) {
        a.pedido().setText("OBS", QStringLiteral("da primeira janela"));
        a.itens()[0].item.setDecimal("QTD", D("5"));
        QVERIFY(a.gravar().ok());
    } else if (primeiro == QLatin1String("excluir")) {
        QVERIFY(excluirPedido(store, 1).ok());
    } else {
        Table pedidos(store, "pedidos");
        QVERIFY(pedidos.open());
        pedidos.rec().setInteger("ID", 1);
        QCOMPARE(pedidos.get("KEYID"), Status::Ok);
        pedidos.rec().setInteger("SITUA", 3);
        QCOMPARE(pedidos.put(), Status::Ok);
    }
    const std::vector<Record> pedidosAntes = registros(store, "pedidos", "KEYID", "1");
    const std::vector<Record> itensAntes = registros(store, "peditens", "KEYID_VENDASI", "1");
    const std::vector<Record> acessoriosAntes = registros(store, "pedacess", "KEYID_VENDASI", "1");

    if (segundo == QLatin1String("cabecalho"))
        b.pedido().setText("OBS", QStringLiteral("da segunda janela"));
    else if (segundo == QLatin1String("item"))
        b.itens()[1].item.setDecimal("QTD", D("9"));
    else
        b.itens().erase(b.itens().begin() + 2);
    const FalhaEdicao falha = b.gravar();
    QCOMPARE(static_cast<int>(falha.tipo), tipo);
    if (falha.tipo == FalhaEdicao::Tipo::AlteradoPorOutro)
        QCOMPARE(falha.erro.number(), 89);

    // The first window's work stands, whole.
    QCOMPARE(registros(store, "pedidos", "KEYID", "1"), pedidosAntes);
    QCOMPARE(registros(store, "peditens", "KEYID_VENDASI", "1"), itensAntes);
    QCOMPARE(registros(store, "pedacess", "KEYID_VENDASI", "1"), acessoriosAntes);
}

void TestEdicaoPedido::twoNewOrdersPrimedTogetherAreBothSaved() {
    TempDataFolder folder;
    Store& store = folder.store();
    qavcfg(store, {.vendedor = kVendedor});
    produto(store, {.id = 1, .barras = "111", .preco = "10"});
    pedidoDeTresItens(store); // order 1, number 41, items 1..3

    EdicaoPedido a(store);
    EdicaoPedido b(store);
    QVERIFY(a.novo(kEmpresa, kHoje).ok());
    QVERIFY(b.novo(kEmpresa, kHoje).ok());
    QCOMPARE(a.pedido().integer("ID"), 2);
    QCOMPARE(b.pedido().integer("ID"), 2);
    QCOMPARE(b.pedido().integer("NUMER"), 42);
    DadosPedido dados;
    QVERIFY(a.carregarDados(dados).ok());
    FalhaEdicao falha;
    QVERIFY(a.lerCodigoBarras(QStringLiteral("111"), dados, falha));
    QVERIFY(b.lerCodigoBarras(QStringLiteral("111"), dados, falha));
    b.itens()[0].acessorios.push_back(acessorioEmMemoria(9, "1"));
    QCOMPARE(b.itens()[0].item.integer("ID_VENDASI"), 4);

    QVERIFY(a.gravar().ok());
    const FalhaEdicao gravado = b.gravar();
    QVERIFY2(gravado.ok(), qPrintable(gravado.mensagem));

    QCOMPARE(b.pedido().integer("ID"), 3);
    QCOMPARE(b.pedido().integer("NUMER"), 43);
    QCOMPARE(pedidoNoArquivo(store, 2).integer("NUMER"), 42);
    QCOMPARE(pedidoNoArquivo(store, 3).integer("NUMER"), 43);
    const std::vector<Record> itensA = registros(store, "peditens", "KEYID_VENDASI", "ID_VENDA = 2");
    const std::vector<Record> itensB = registros(store, "peditens", "KEYID_VENDASI", "ID_VENDA = 3");
    QCOMPARE(itensA.size(), 1u);
    QCOMPARE(itensB.size(), 1u);
    QCOMPARE(itensA[0].integer("ID_VENDASI"), 4);
    QCOMPARE(itensB[0].integer("ID_VENDASI"), 5);
    QCOMPARE(b.itens()[0].item.integer("ID_VENDASI"), 5);
    // The accessory follows its item to the id it was given.
    QCOMPARE(registros(store, "pedacess", "KEYID_VENDASI", "ID_ACESSORIO = 9").front().integer("ID_VENDASI"),
             5);
}

void TestEdicaoPedido::savesRemovedChangedAndAddedItems() {
    TempDataFolder folder;
    Store& store = folder.store();
    pedidoDeTresItens(store);
    adicionar(store, "peditens", [](Record& r) { // another order's item holds the highest item id
        r.setInteger("ID_VENDASI", 20);
        r.setInteger("ID_VENDA", 9);
    });

    EdicaoPedido edicao(store);
    QVERIFY(edicao.abrir(1).ok());
    QCOMPARE(edicao.itens().size(), 3u);
    QVERIFY(!edicao.alterado());
    auto& itens = edicao.itens();
    itens[0].item.setDecimal("QTD", D("7"));                    // changed
    itens[2].acessorios.clear();                                // accessory removed ...
    itens[2].acessorios.push_back(acessorioEmMemoria(60, "2")); // ... and another chosen
    itens.erase(itens.begin() + 1);                             // item 2 removed
    ItemEmEdicao novo{itemEmMemoria(21, 1, 8, "1"), {acessorioEmMemoria(61, "3")}};
    itens.push_back(novo); // added
    QVERIFY(edicao.alterado());

    const FalhaEdicao falha = edicao.gravar();
    QVERIFY2(falha.ok(), qPrintable(falha.mensagem));
    const std::vector<Record> gravados = registros(store, "peditens", "KEYID_VENDASI", "ID_VENDA = 1");
    QCOMPARE(gravados.size(), 3u);
    QCOMPARE(gravados[0].integer("ID_VENDASI"), 1);
    QCOMPARE(S(gravados[0].decimal("QTD"), 3), QStringLiteral("7.000"));
    QCOMPARE(gravados[1].integer("ID_VENDASI"), 3);
    QCOMPARE(S(gravados[1].decimal("QTD"), 3), QStringLiteral("2.000"));
    QCOMPARE(gravados[2].integer("ID_VENDASI"), 21);
    QCOMPARE(gravados[2].integer("PRODU"), 8);

    const std::vector<Record> acessorios = registros(store, "pedacess", "KEYID_VENDASI", "1");
    QCOMPARE(acessorios.size(), 3u);
    QCOMPARE(acessorios[0].integer("ID_VENDASI"), 1);
    QCOMPARE(acessorios[0].integer("ID_ACESSORIO"), 51);
    QCOMPARE(acessorios[1].integer("ID_VENDASI"), 3);
    QCOMPARE(acessorios[1].integer("ID_ACESSORIO"), 60);
    QCOMPARE(acessorios[2].integer("ID_VENDASI"), 21);
    QCOMPARE(acessorios[2].integer("ID_ACESSORIO"), 61);

    // What was saved is what the next save compares with: opened again, the order is the same.
    EdicaoPedido outra(store);
    QVERIFY(outra.abrir(1).ok());
    QCOMPARE(outra.pedido(), edicao.pedido());
    QCOMPARE(outra.itens().size(), edicao.itens().size());
    for (std::size_t i = 0; i < outra.itens().size(); ++i) {
        QCOMPARE(outra.itens()[i].item, edicao.itens()[i].item);
        QCOMPARE(outra.itens()[i].acessorios, edicao.itens()[i].acessorios);
    }
    // And a second save from the same window is not taken for another window's.
    edicao.itens()[0].item.setDecimal("QTD", D("8"));
    QVERIFY(edicao.gravar().ok());
}

void TestEdicaoPedido::transmittedOrderIsNeverWritten() {
    TempDataFolder folder;
    Store& store = folder.store();
    produto(store, {.id = 1, .barras = "111", .preco = "10"});
    pedidoDeTresItens(store, 3);
    const Record antes = pedidoNoArquivo(store, 1);

    EdicaoPedido edicao(store);
    QVERIFY(edicao.abrir(1).ok());
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    FalhaEdicao leitura;
    QVERIFY(!edicao.lerCodigoBarras(QStringLiteral("111"), dados, leitura));
    QCOMPARE(leitura.tipo, FalhaEdicao::Tipo::Transmitido);
    QCOMPARE(leitura.mensagem, QStringLiteral("Pedido já transmitido! Impossivel incluir!"));
    QCOMPARE(edicao.itens().size(), 3u);

    edicao.pedido().setText("OBS", QStringLiteral("alterado"));
    const FalhaEdicao falha = edicao.gravar();
    QCOMPARE(falha.tipo, FalhaEdicao::Tipo::Transmitido);
    QCOMPARE(falha.mensagem, QStringLiteral("Pedido já transmitido! Somente consulta disponível!"));
    QCOMPARE(pedidoNoArquivo(store, 1), antes);
    QCOMPARE(pedidoNoArquivo(store, 1).revision(), antes.revision());
}

// An order deleted by another window before this one opens it: not found, with the error the reading
// warning describes.
void TestEdicaoPedido::deletedOrderIsNotFound() {
    TempDataFolder folder;
    Store& store = folder.store();
    pedidoDeTresItens(store);
    EdicaoPedido edicao(store);
    const FalhaEdicao falha = edicao.abrir(2);
    QCOMPARE(falha.tipo, FalhaEdicao::Tipo::NaoEncontrado);
    QCOMPARE(falha.erro.code, ErrorCode::RecordNotFound);
    QVERIFY(edicao.abrir(1).ok());
}

void TestEdicaoPedido::barCodePricesTheNewItem_data() {
    QTest::addColumn<int>("codPauta");
    QTest::addColumn<bool>("produtoNaPauta");
    QTest::addColumn<int>("origemCom");
    QTest::addColumn<QString>("preco");
    QTest::addColumn<QString>("comis");
    QTest::newRow("price list price") << 5 << true << 1 << "8.5000"
                                      << "4.00";
    QTest::newRow("product price, no price list") << 0 << true << 2 << "10.0000"
                                                  << "7.50";
    QTest::newRow("product outside the order's list") << 5 << false << 1 << "0.0000"
                                                      << "4.00";
    QTest::newRow("list code without a list") << 6 << true << 0 << "10.0000"
                                              << "0.00";
}

void TestEdicaoPedido::barCodePricesTheNewItem() {
    QFETCH(int, codPauta);
    QFETCH(bool, produtoNaPauta);
    QFETCH(int, origemCom);
    QFETCH(QString, preco);
    QFETCH(QString, comis);
    TempDataFolder folder;
    Store& store = folder.store();
    qavcfg(store, {.vendedor = kVendedor});
    vendedor(store, {.id = 1, .codigo = kVendedor, .origemCom = origemCom, .taxa = "4"});
    produto(store, {.id = 3, .barras = "7890000000031", .preco = "10", .comissao = "7.5"});
    // The same product id in another company.
    produto(store, {.empresa = 2, .id = 3, .barras = "7890000000099", .preco = "99"});
    pauta(store, 50001, kEmpresa, 5);
    pauta(store, 60002, 2, 6); // code 6 belongs to another company
    if (produtoNaPauta)
        pautaProduto(store, 50001, 3, "8.5");
    pautaProduto(store, 50001, 4, "1");

    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    edicao.pedido().setInteger("COD_PAUTA", codPauta);
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    FalhaEdicao falha;
    for (int leitura = 0; leitura < 3; ++leitura)
        QVERIFY(edicao.lerCodigoBarras(QStringLiteral("7890000000031"), dados, falha));

    QCOMPARE(edicao.itens().size(), 1u);
    const Record& item = edicao.itens()[0].item;
    QCOMPARE(item.integer("PRODU"), 3);
    QCOMPARE(item.integer("ID_VENDASI"), 1);
    QCOMPARE(S(item.decimal("QTD"), 3), QStringLiteral("3.000"));
    QCOMPARE(S(item.decimal("PRECO_PAUTA"), 4), preco);
    QCOMPARE(S(item.decimal("VALOR_PRODUTO"), 4), preco);
    QCOMPARE(S(item.decimal("PRUNI"), 4), preco);
    QCOMPARE(S(item.decimal("TOTAL"), 2), S(D(preco.toLatin1().constData()) * Decimal(3), 2));
    QCOMPARE(S(item.decimal("COMIS"), 2), comis);
}

void TestEdicaoPedido::barCodeAddsOneUnitToTheItemWithoutObservation() {
    TempDataFolder folder;
    Store& store = folder.store();
    produto(store, {.id = 1, .barras = "555", .preco = "10"});
    // A code of another company.
    produto(store, {.empresa = 2, .id = 2, .barras = "777", .preco = "10"});
    pedido(store, {.id = 1, .numero = 41, .situa = 1});
    adicionar(store, "peditens", [](Record& r) { // the same product with an observation
        r.setInteger("ID_VENDASI", 1);
        r.setInteger("ID_VENDA", 1);
        r.setInteger("PRODU", 1);
        r.setDecimal("QTD", D("2"));
        r.setText("OBS", QStringLiteral("120X080"));
    });
    adicionar(store, "peditens", [](Record& r) {
        r.setInteger("ID_VENDASI", 2);
        r.setInteger("ID_VENDA", 1);
        r.setInteger("PRODU", 1);
        r.setDecimal("QTD", D("1"));
        r.setDecimal("VALOR_PRODUTO", D("10"));
        r.setDecimal("DESCP", D("10"));
    });
    adicionar(store, "pedacess", [](Record& r) {
        r.setInteger("ID_VENDASI", 2);
        r.setInteger("ID_ACESSORIO", 9);
        r.setDecimal("VALOR", D("1.5"));
    });

    EdicaoPedido edicao(store);
    QVERIFY(edicao.abrir(1).ok());
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    const std::vector<ItemEmEdicao> antes = edicao.itens();

    FalhaEdicao falha;
    QVERIFY(!edicao.lerCodigoBarras(QStringLiteral("777"), dados, falha));
    QCOMPARE(falha.tipo, FalhaEdicao::Tipo::NaoEncontrado);
    QCOMPARE(falha.mensagem, QStringLiteral("Código inválido!"));
    QVERIFY(!edicao.lerCodigoBarras(QStringLiteral("   "), dados, falha));
    QCOMPARE(falha.tipo, FalhaEdicao::Tipo::Nenhuma);
    QVERIFY(!edicao.alterado());

    // A 20-character entry is compared by its first 14 characters.
    QVERIFY(edicao.lerCodigoBarras(QStringLiteral("555           XXXXXX"), dados, falha));
    QCOMPARE(edicao.itens().size(), 2u);
    QCOMPARE(edicao.itens()[0].item, antes[0].item);
    const Record& item = edicao.itens()[1].item;
    QCOMPARE(S(item.decimal("QTD"), 3), QStringLiteral("2.000"));
    QCOMPARE(S(item.decimal("VALOR_ACESSORIOS"), 2), QStringLiteral("1.50"));
    QCOMPARE(S(item.decimal("PRUNI"), 4), QStringLiteral("11.5000"));
    QCOMPARE(S(item.decimal("DESCV"), 2), QStringLiteral("2.30"));
    QCOMPARE(S(item.decimal("TOTAL"), 2), QStringLiteral("20.70"));
}

void TestEdicaoPedido::readsWhatTheRulesNeed() {
    TempDataFolder folder;
    Store& store = folder.store();
    qavcfg(store, {.vendedor = kVendedor, .saldoFlex = "250"});
    qavcfg(store, {.empresa = 2, .vendedor = kVendedor, .saldoFlex = "999"});
    vendedor(store, {.id = 1, .codigo = kVendedor, .origemCom = 2, .taxa = "5"});
    vendedor(store, {.id = 2, .empresa = 2, .codigo = kVendedor, .origemCom = 1, .taxa = "9"});
    empresa(store, {.id = kEmpresa, .adicComissao = 1});
    cliente(store, {.id = 7, .municipio = 3550});
    municipio(store, {.id = 3550, .estado = QStringLiteral("SP")});
    for (int empresa : {1, 2})
        formaPag(store, {.id = 120000 + empresa,
                         .empresa = empresa,
                         .codigo = 12,
                         .acrescimo = empresa == 1 ? "3" : "8"});
    pauta(store, 50001, kEmpresa, 5);
    pauta(store, 50002, 2, 5);
    produto(store, {.id = 1, .barras = "1", .preco = "10"});
    produto(store, {.empresa = 2, .id = 1, .barras = "1", .preco = "20"});
    pautaProduto(store, 50001, 1, "9");
    pautaProduto(store, 50002, 1, "19");
    adicionar(store, "sticms", [](Record& r) { r.setInteger("COD_ST", 10); });
    adicionar(store, "cfgsis", [](Record& r) {
        r.setInteger("CODIGO", 53596);
        r.setInteger("ATIVO", 1);
    });
    adicionar(store, "cstfrete", [](Record& r) { r.setInteger("ID_REGIAO", 4); });
    int numero = 1;
    for (int cliente : {7, 7, 8})
        adicionar(store, "ctr", [&](Record& r) {
            r.setText("NUMER", QString::number(numero++));
            r.setInteger("DEVED", cliente);
            r.setDecimal("SALDO", D("12.5"));
        });

    // The order being edited (flex, pending) and the other orders of the folder.
    adicionar(store, "pedidos", [](Record& r) {
        r.setInteger("ID", 1);
        r.setInteger("ID_EMPRESA", kEmpresa);
        r.setInteger("NUMER", 1);
        r.setInteger("SITUA", 1);
        r.setInteger("CLIEN", 7);
        r.setInteger("COD_VENDEDOR", kVendedor);
        r.setInteger("COD_FORMAPAG", 12);
        r.setInteger("COD_PAUTA", 5);
        r.setInteger("PED_FLEX", 1);
    });
    item(store, 1, 1, 1, "2");
    int idItem = 100;
    const auto outro = [&](int id, int situa, int flex) {
        adicionar(store, "pedidos", [&](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("ID_EMPRESA", id == 4 ? 2 : kEmpresa);
            r.setInteger("NUMER", id);
            r.setInteger("SITUA", situa);
            r.setInteger("PED_FLEX", flex);
        });
        for (const char* valor : {"-3", "1"})
            adicionar(store, "peditens", [&](Record& r) {
                ++idItem;
                r.setInteger("ID_VENDASI", idItem);
                r.setInteger("ID_VENDA", id);
                r.setInteger("PRODU", idItem);
                r.setDecimal("VL_FLEX", D(valor));
            });
    };
    outro(2, 1, 1); // pending flex order: -2
    outro(3, 2, 0); // released order that is not a flex order: its items' flex does not count
    outro(4, 2, 1); // another company's released flex order counts too
    outro(5, 3, 1); // transmitted
    outro(6, 4, 1); // cancelled

    EdicaoPedido edicao(store);
    QVERIFY(edicao.abrir(1).ok());
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    QCOMPARE(dados.cliente.ID, 7);
    QCOMPARE(dados.ufCliente(), QStringLiteral("SP"));
    QCOMPARE(dados.vendedor.ORIGEM_COM, 2);
    QCOMPARE(dados.empresa.ADIC_COMISSAO, 1);
    QCOMPARE(S(dados.qavcfg.SALDO_FLEX, 2), QStringLiteral("250.00"));
    QVERIFY(dados.formaPag.has_value());
    QCOMPARE(S(dados.formaPag->ACRESC, 2), QStringLiteral("3.00"));
    QVERIFY(dados.pauta.has_value());
    QCOMPARE(dados.pauta->ID, 50001);
    QCOMPARE(S(dados.produto(1).PRECO, 2), QStringLiteral("10.00"));
    QVERIFY(dados.pautaProduto(1) != nullptr);
    QCOMPARE(S(dados.pautaProduto(1)->PRECO1, 2), QStringLiteral("9.00"));
    QCOMPARE(dados.stIcms.size(), 1u);
    QVERIFY(dados.opcaoAtiva(53596));
    QCOMPARE(dados.cstFrete.size(), 1u);

    std::vector<OutroPedido> outros;
    QVERIFY(edicao.outrosPedidos(outros).ok());
    QCOMPARE(outros.size(), 3u);
    std::map<int, QString> flex;
    for (const OutroPedido& o : outros)
        flex[o.ID] = S(o.VL_FLEX, 2);
    QCOMPARE(flex[2], QStringLiteral("-2.00"));
    QCOMPARE(flex[3], QStringLiteral("0.00"));
    QCOMPARE(flex[4], QStringLiteral("-2.00"));
    QVERIFY(!flex.count(1)); // the order itself is not another order

    std::vector<Titulo> titulos;
    QVERIFY(edicao.titulosDoCliente(titulos).ok());
    QCOMPARE(titulos.size(), 2u);
    QCOMPARE(S(titulos[0].SALDO, 2), QStringLiteral("12.50"));

    // Without the reference rows, and for an order that is not a flex order: zeros and nothing.
    edicao.pedido().setInteger("CLIEN", 99);
    edicao.pedido().setInteger("COD_FORMAPAG", 77);
    edicao.pedido().setInteger("COD_PAUTA", 77);
    edicao.pedido().setInteger("PED_FLEX", 0);
    QVERIFY(edicao.carregarDados(dados).ok());
    QCOMPARE(dados.cliente.ID, 0);
    QVERIFY(!dados.formaPag.has_value());
    QVERIFY(!dados.pauta.has_value());
    QVERIFY(dados.pautaProduto(1) == nullptr);
    QVERIFY(edicao.outrosPedidos(outros).ok());
    QVERIFY(outros.empty());
    QVERIFY(edicao.titulosDoCliente(titulos).ok());
    QVERIFY(titulos.empty());
}

void TestEdicaoPedido::unreadableTableIsNamed_data() {
    QTest::addColumn<QString>("arquivo");
    // A file that is not a table does not open: the first, a middle and the last table of the reading.
    QTest::newRow("customers") << QStringLiteral("clientes.tps");
    QTest::newRow("freight costs") << QStringLiteral("cstfrete.tps");
    QTest::newRow("price-list rows") << QStringLiteral("pauxpro.tps");
}

void TestEdicaoPedido::unreadableTableIsNamed() {
    QFETCH(QString, arquivo);
    TempDataFolder folder;
    qavcfg(folder.store(), {.vendedor = kVendedor});
    pauta(folder.store(), 50001, kEmpresa, 5);
    {
        QFile file(folder.path() + QLatin1Char('/') + arquivo);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("not a table file ").repeated(300));
    }
    Store store(folder.path());
    Pedido pedido;
    pedido.ID_EMPRESA = kEmpresa;
    pedido.CLIEN = 7;
    pedido.COD_PAUTA = 5;
    DadosPedido dados;
    const FalhaLeitura falha = carregarDadosDoArquivo(store, pedido, kVendedor, {3, 4}, dados);
    QVERIFY(!falha.ok());
    QCOMPARE(falha.arquivo, arquivo);
    QVERIFY(falha.erro.isError());

    // The order form says which reading failed, with the table's error number.
    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    edicao.pedido().setInteger("COD_PAUTA", 5);
    edicao.itens().push_back({itemEmMemoria(1, 1, 3, "1"), {}});
    const FalhaEdicao lida = edicao.carregarDados(dados);
    QCOMPARE(lida.tipo, FalhaEdicao::Tipo::Arquivo);
    QCOMPARE(lida.mensagem, QStringLiteral("Erro (%1) ao ler tabelas do pedido!").arg(falha.erro.number()));
}

// A change whose recalculation overflows a field (the order's volume, 9.999,999 m³) is undone: the
// header and items are as after the last recalculation that fitted, and the message names the field
// and its limit. An order that never fitted stays as read.
void TestEdicaoPedido::recalculationThatDoesNotFitChangesNothing() {
    TempDataFolder folder;
    Store& store = folder.store();
    pedidoDeTresItens(store);
    produto(store, {.id = 1, .preco = "10", .ativo = 1});
    adicionar(store, "produto", [](Record& r) {
        r.setInteger("ID_EMPRESA", kEmpresa);
        r.setInteger("ID", 2);
        r.setDecimal("VOL_M3", D("2000"));
    });
    EdicaoPedido edicao(store);
    QVERIFY(edicao.abrir(1).ok());
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    const ResultadoRecalculo primeiro = edicao.recalcular(dados, {});
    QVERIFY(!primeiro.estouro);
    QCOMPARE(edicao.pedido().decimal("VOL_M3"), D("4000"));
    const Record pedidoAntes = edicao.pedido();
    const Record itemAntes = edicao.itens()[1].item;

    // 2 units become 6: 12.000 m³.
    edicao.itens()[1].item.setDecimal("QTD", D("6"));
    edicao.itens()[1].item.setDecimal("TOTAL", D("60"));
    edicao.pedido().setReal("DESCP", 10);
    const ResultadoRecalculo estourado = edicao.recalcular(dados, {});
    QVERIFY(estourado.estouro);
    QCOMPARE(estourado.estouro->texto,
             QStringLiteral("O valor calculado de VDA:VOL_M3 passa do limite do campo "
                            "(9.999,999)!|O pedido ficou como estava antes da alteração."));
    QVERIFY(edicao.pedido() == pedidoAntes);
    QVERIFY(edicao.itens()[1].item == itemAntes);
    // The figures are those of the order gone back (3 x 2 units), not of the change (10 units).
    QCOMPARE(S(estourado.TOT_QTDADE, 3), QStringLiteral("6.000"));

    // Read from the file already too big: nothing to go back to, nothing changed.
    TempDataFolder outra;
    pedidoDeTresItens(outra.store());
    adicionar(outra.store(), "produto", [](Record& r) {
        r.setInteger("ID_EMPRESA", kEmpresa);
        r.setInteger("ID", 3);
        r.setDecimal("VOL_M3", D("6000"));
    });
    EdicaoPedido lida(outra.store());
    QVERIFY(lida.abrir(1).ok());
    DadosPedido dadosLida;
    QVERIFY(lida.carregarDados(dadosLida).ok());
    const Record comoLido = lida.pedido();
    QVERIFY(lida.recalcular(dadosLida, {}).estouro);
    QVERIFY(lida.pedido() == comoLido);
    QVERIFY(!lida.alterado());
}

// A draft written and read back gives the order as typed, to the last field, with its items and
// accessory rows; taken into a new order it keeps the primed id and number.
void TestEdicaoPedido::draftBringsBackHeaderItemsAndAccessories() {
    TempDataFolder folder;
    Store& store = folder.store();
    pedidoDeTresItens(store);
    EdicaoPedido edicao(store);
    QVERIFY(edicao.abrir(1).ok());
    edicao.pedido().setReal("DESCP", 0.1);
    edicao.pedido().setText("OBS", QStringLiteral("Entregar às 8h #N3#"));
    edicao.itens()[0].item.setDecimal("QTD", D("2.125"));
    edicao.itens().push_back(
        {itemEmMemoria(9, 1, 5, "1", QStringLiteral("Ação")), {acessorioEmMemoria(60, "1.25")}});

    const QString arquivo = rascunho::novoArquivo(folder.path());
    QVERIFY(rascunho::gravar(arquivo, edicao).ok);
    // A draft that cannot be written says why (here its folder would be inside a table file).
    const Resultado semPasta =
        rascunho::gravar(QDir(folder.path()).filePath(QStringLiteral("pedidos.tps/rascunho/1.json")), edicao);
    QVERIFY(!semPasta.ok);
    QVERIFY2(semPasta.erro.contains(QStringLiteral("não pode ser criada")), qPrintable(semPasta.erro));
    const std::optional<RascunhoPedido> lido = rascunho::ler(arquivo);
    QVERIFY(lido);
    QVERIFY(!lido->novo);
    QCOMPARE(lido->idPedido, 1);
    QCOMPARE(lido->cliente, 7);
    QVERIFY(lido->pedido == edicao.pedido());
    QCOMPARE(lido->itens.size(), edicao.itens().size());
    for (std::size_t i = 0; i < lido->itens.size(); ++i) {
        QVERIFY(lido->itens[i].item == edicao.itens()[i].item);
        QVERIFY(lido->itens[i].acessorios == edicao.itens()[i].acessorios);
    }
    // A draft of this process whose form is open is not offered; once let go, it is.
    rascunho::adotar(arquivo);
    QVERIFY(rascunho::pendentes(folder.path(), kEmpresa).empty());
    rascunho::liberar(arquivo);
    QCOMPARE(rascunho::pendentes(folder.path(), kEmpresa).size(), std::size_t(1));
    QVERIFY(rascunho::pendentes(folder.path(), 2).empty());

    // Brought back into an edited order: the file's record stays the original, so the save updates.
    EdicaoPedido retomada(store);
    QVERIFY(retomada.abrir(1).ok());
    retomada.retomar(lido->pedido, lido->itens);
    QVERIFY(retomada.alterado());
    QVERIFY(retomada.gravar().ok());
    QCOMPARE(pedidoNoArquivo(store, 1).text("OBS").trimmed(), QStringLiteral("Entregar às 8h #N3#"));
    QCOMPARE(contar(store, "peditens"), std::size_t(4));

    // Into a new order: the primed id and number, the draft's customer and items.
    EdicaoPedido nova(store);
    QVERIFY(nova.novo(kEmpresa, kHoje).ok());
    nova.retomar(lido->pedido, lido->itens);
    QCOMPARE(nova.pedido().integer("ID"), 2);
    QCOMPARE(nova.pedido().integer("NUMER"), 42);
    QCOMPARE(nova.pedido().integer("CLIEN"), 7);
    QCOMPARE(nova.itens().front().item.integer("ID_VENDA"), 2);

    // A file that is not a draft is not offered.
    QFile estranho(QFileInfo(arquivo).absolutePath() + QStringLiteral("/pedido-999999999-1.json"));
    QVERIFY(estranho.open(QIODevice::WriteOnly));
    estranho.write("{\"versao\": 1, \"pedido\": {}}");
    estranho.close();
    rascunho::remover(arquivo);
    QVERIFY(!QFile::exists(arquivo));
    QVERIFY(rascunho::pendentes(folder.path(), kEmpresa).empty());
}

void TestEdicaoPedido::killedSaveLeavesTheOrderWhole_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("edited order") << QStringLiteral("editar");
    QTest::newRow("new order") << QStringLiteral("novo");
}

void TestEdicaoPedido::killedSaveLeavesTheOrderWhole() {
    QFETCH(QString, mode);
    KillMoments moments(kKillItems, kKillStep, mode);
    const bool editar = mode == QLatin1String("editar");
    int interrupted = 0;
    for (int round = 1; round <= 4; ++round) {
        TempDataFolder folder;
        qavcfg(folder.store(), {.vendedor = kVendedor});
        if (editar)
            QVERIFY(prepararPedidoGrande(folder.store(), kKillItems));
        // Two rounds in the middle of the items, two around the commit.
        const KillMoment moment = moments.draw(round);
        const QString fault = killChildAt(mode, folder.path(), moment);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));

        Store store(folder.path()); // the next open undoes what the killed process left
        const std::vector<Record> pedidos = registros(store, "pedidos", "KEYID", "1");
        const std::vector<Record> itens = registros(store, "peditens", "KEYID_VENDASI", "1");
        const std::size_t acessorios = registros(store, "pedacess", "KEYID_VENDASI", "1").size();
        const auto todosCom = [&](const char* qtd) {
            return std::all_of(itens.begin(), itens.end(),
                               [&](const Record& r) { return S(r.decimal("QTD"), 3) == QLatin1String(qtd); });
        };
        const auto novos = std::count_if(itens.begin(), itens.end(),
                                         [](const Record& r) { return r.text("OBS").startsWith(u"novo"); });
        bool done = false;
        const QString estado = QStringLiteral("%1: %2 orders, %3 items, %4 accessories")
                                   .arg(moment.text)
                                   .arg(pedidos.size())
                                   .arg(itens.size())
                                   .arg(acessorios);
        if (editar) {
            QVERIFY2(pedidos.size() == 1 && itens.size() == kKillItems && acessorios == kKillItems,
                     qPrintable(estado));
            done = pedidos[0].text("OBS").startsWith(u"editado");
            // Either the old order with its old items, or the new one with all its new items.
            QVERIFY2(done ? todosCom("2.000") && novos == kKillReplaced : todosCom("1.000") && novos == 0,
                     qPrintable(estado));
        } else {
            done = pedidos.size() == 1;
            QVERIFY2((done && itens.size() == kKillItems && acessorios == kKillItems && todosCom("2.000")) ||
                         (pedidos.empty() && itens.empty() && acessorios == 0),
                     qPrintable(estado));
        }
        interrupted += done ? 0 : 1;
        qInfo("%s: %s", qPrintable(moment.text), done ? "saved" : "left as before");
    }
    QVERIFY(interrupted > 0);
}

QAV_KILL_TEST_MAIN(TestEdicaoPedido, childMain)

#include "tst_edicaopedido.moc"
