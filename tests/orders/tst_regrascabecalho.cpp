// The header rules of an order in edition over real table files, as the order form applies them: what
// refuses the confirmation before the commercial rules and which entry it sends the representative
// back to, what a customer and a payment form bring into a new order, the company's locked discounts
// and price list, which entries the settings leave open, and the notices a customer brings.
#include "orders/core/CodigoLiberacao.h"
#include "orders/core/EdicaoPedido.h"
#include "orders/core/Frete.h"
#include "orders/core/Mapeamento.h"
#include "orders/core/SituacaoPedido.h"
#include "tests/orders/FabricaPedido.h"
#include "tests/orders/ReferenciasFixture.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace qav;
using namespace qav::test;
using qavtest::S;

using Motivo = RecusaPedido::Motivo;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);
constexpr int kEmpresa = 1;
constexpr int kVendedor = 101;
constexpr int kCliente = 7;        // of the workstation's representative
constexpr int kClienteDeOutro = 8; // of representative 202
constexpr int kClienteSemPauta = 9;
constexpr int kClienteComPauta = 10;
constexpr int kClienteDePautaExclusiva = 11;
constexpr int kVendedorDeTodos = 102; // sells to every customer
constexpr int kFormaPag = 12;         // DESCO 2 %, ACRESC 0 %
constexpr int kTransportador = 30;
constexpr int kPautaComDesconto = 3;  // 3 % from an order of 10.00
constexpr int kPautaAcimaDoTotal = 4; // 3 % only from an order of 1000.00
constexpr int kPautaExclusiva = 5;    // reserved to the customers that have it
constexpr int kPautaInativa = 6;
constexpr int kSemCodigo = 0;
constexpr int kCodigoValido = 1;
constexpr int kCodigoDeOutroPedido = 2;

// What a check should come to: passes (no motive), or refused for `motivo` with the focus on `campo`.
struct Esperado {
    std::optional<Motivo> motivo;
    CampoPedido campo = CampoPedido::Nenhum;
};

Esperado passa() {
    return {};
}

Esperado recusa(Motivo motivo, CampoPedido campo) {
    return {motivo, campo};
}

void comparar(const std::optional<RecusaPedido>& obtido, const Esperado& esperado) {
    QCOMPARE(obtido.has_value(), esperado.motivo.has_value());
    if (!obtido)
        return;
    QCOMPARE(static_cast<int>(obtido->motivo), static_cast<int>(*esperado.motivo));
    QCOMPARE(static_cast<int>(obtido->campo), static_cast<int>(esperado.campo));
    // Every refusal says something: a standard warning naming the entry, or a message.
    QVERIFY(obtido->aviso ? !obtido->rotulo.isEmpty() : !obtido->mensagem.texto.isEmpty());
}

void pauta(Store& store, int codigo, int ativo, const char* valorPedido, const char* desconto,
           int exclusiva = 0) {
    adicionar(store, "pauta", [&](Record& r) {
        r.setInteger("ID", 100 + codigo);
        r.setInteger("ID_EMPRESA", kEmpresa);
        r.setInteger("CODIGO", codigo);
        r.setText("NUM_PAUTA", QString::number(codigo));
        r.setInteger("ATIVO", ativo);
        r.setInteger("PAUTA_EXCLUSIVA_CLIENTE", exclusiva);
        r.setText("DESCRICAO", QStringLiteral("Pauta %1").arg(codigo));
        r.setDecimal("VL_PEDIDO1", decimal(valorPedido));
        r.setDecimal("TX_DESCONTO1", decimal(desconto));
    });
}

// The workstation's company with its representative 101, representative 102 who sells to every
// customer, customers 7 (of 101) and 8 (of another representative), customers 9 to 11 without a
// price list, with the common list 3 and with the exclusive list 5, payment form 12, carrier 30,
// product 1 at 10.00 and the price lists above. The rules only read them: each row works on its own
// order in memory over the same files.
void referencias(Store& store) {
    qavcfg(store, {.vendedor = kVendedor});
    for (const auto& [id, codigo, todos] : {std::tuple{1, kVendedor, 0}, std::tuple{2, kVendedorDeTodos, 1}})
        adicionar(store, "vendedor", [&](Record& r) {
            r.setInteger("ID_VENDEDOR", id);
            r.setInteger("ID_EMPRESA", kEmpresa);
            r.setInteger("CODIGO", codigo);
            r.setInteger("QAV_TODOS_CLIENTES", todos);
        });
    cliente(store, {.id = kCliente, .vendedor = kVendedor, .libCred = 1});
    cliente(store, {.id = kClienteDeOutro, .vendedor = 202, .libCred = 1});
    for (const auto& [id, lista] :
         {std::pair{kClienteSemPauta, 0}, std::pair{kClienteComPauta, kPautaComDesconto},
          std::pair{kClienteDePautaExclusiva, kPautaExclusiva}})
        adicionar(store, "clientes", [&](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("COD_VENDEDOR", kVendedor);
            r.setInteger("COD_PAUTA", lista);
        });
    formaPag(store, {.id = 1, .codigo = kFormaPag, .desconto = "2"});
    adicionar(store, "transp", [](Record& r) {
        r.setInteger("ID", kTransportador);
        r.setText("NOME", QStringLiteral("Transportes Rápidos"));
    });
    produto(store, {.id = 1, .preco = "10"});
    pauta(store, kPautaComDesconto, 1, "10", "3");
    pauta(store, kPautaAcimaDoTotal, 1, "1000", "3");
    pauta(store, kPautaExclusiva, 1, "0", "0", 1);
    pauta(store, kPautaInativa, 0, "0", "0");
}

// An item of product 1 as the item form hands it over: `qtd` units at 10.00.
ItemEmEdicao item(int id, const char* qtd) {
    Record r(mapeamento::tabela("peditens.tps"));
    r.setInteger("ID_VENDASI", id);
    r.setInteger("PRODU", 1);
    r.setDecimal("QTD", decimal(qtd));
    r.setDecimal("VALOR_PRODUTO", decimal("10"));
    r.setDecimal("PRUNI", decimal("10"));
    r.setDecimal("TOTAL", decimal(qtd) * decimal("10"));
    return {r, {}};
}

// A new order of customer 7 with payment form 12, freight paid by the issuer and one item of 2 units.
void primar(EdicaoPedido& edicao) {
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    Record& p = edicao.pedido();
    p.setInteger("CLIEN", kCliente);
    p.setInteger("COD_FORMAPAG", kFormaPag);
    p.setInteger("FCONTA", fconta::Emitente);
    edicao.itens().push_back(item(1, "2"));
}

struct Confirmacao {
    int tipov = 1;
    int formaPag = kFormaPag;
    int freteConta = fconta::Emitente; // FCONTA
    int itens = 1;
    int cliente = kCliente;
    int vendedor = kVendedor; // the order's representative
    int codigo = kSemCodigo;
    int transp = 0;
    int redesp = 0;
};

struct Liberacao {
    int tipov = 1;
    const char* txFrete = "0";
    int itens = 0;
    int bloqPauta = 0;
    int cliente = kClienteSemPauta;
    int pautaDoPedido = 0;
    int bloqueios1 = 0;
    int bloqFrete = 0;
    int pedFlex = 0;
};

} // namespace

Q_DECLARE_METATYPE(Esperado)
Q_DECLARE_METATYPE(Confirmacao)
Q_DECLARE_METATYPE(Liberacao)
Q_DECLARE_METATYPE(CamposLiberados)

class TestRegrasCabecalho : public QObject {
    Q_OBJECT
    TempDataFolder m_pasta;
    int m_proximoId = 1000; // a row's own reference rows get ids of their own

private Q_SLOTS:
    void initTestCase() { referencias(m_pasta.store()); }
    void confirmation_data();
    void confirmation();
    void customerTermsAndPaymentFormDiscount_data();
    void customerTermsAndPaymentFormDiscount();
    void paymentFormRepricesItems_data();
    void paymentFormRepricesItems();
    void lockedHeaderDiscounts_data();
    void lockedHeaderDiscounts();
    void enabledEntries_data();
    void enabledEntries();
    void priceListForNewItems_data();
    void priceListForNewItems();
    void customerNotices_data();
    void customerNotices();
    void situationChoice_data();
    void situationChoice();
    void deliveryAddressFromCustomer();
};

// "&OK" in the form's order: the payment form and the freight responsibility, the recalculation, the
// items, then the entries' rules again. The first refusal stops it.
void TestRegrasCabecalho::confirmation_data() {
    QTest::addColumn<Confirmacao>("pedido");
    QTest::addColumn<Esperado>("esperado");
    QTest::addColumn<int>("formaPagGravada");

    QTest::newRow("complete order") << Confirmacao{} << passa() << kFormaPag;
    QTest::newRow("receiver pays the freight")
        << Confirmacao{.freteConta = fconta::Destinatario} << passa() << kFormaPag;
    QTest::newRow("order type without payment form drops it")
        << Confirmacao{.tipov = 3, .formaPag = 99} << passa() << 0;
    QTest::newRow("bonus order keeps its payment form") << Confirmacao{.tipov = 2} << passa() << kFormaPag;
    QTest::newRow("unknown payment form")
        << Confirmacao{.formaPag = 99} << recusa(Motivo::FormaPagInexistente, CampoPedido::FormaPag) << 99;
    QTest::newRow("no payment form") << Confirmacao{.formaPag = 0}
                                     << recusa(Motivo::FormaPagInexistente, CampoPedido::FormaPag) << 0;
    QTest::newRow("freight responsibility not chosen")
        << Confirmacao{.freteConta = 0} << recusa(Motivo::FreteSemResponsavel, CampoPedido::Fconta)
        << kFormaPag;
    QTest::newRow("freight responsibility of the upload (3)")
        << Confirmacao{.freteConta = 3} << recusa(Motivo::FreteSemResponsavel, CampoPedido::Fconta)
        << kFormaPag;
    QTest::newRow("no items") << Confirmacao{.itens = 0} << recusa(Motivo::SemItens, CampoPedido::Itens)
                              << kFormaPag;
    QTest::newRow("no customer") << Confirmacao{.cliente = 0}
                                 << recusa(Motivo::ClienteInexistente, CampoPedido::Cliente) << kFormaPag;
    QTest::newRow("unknown customer")
        << Confirmacao{.cliente = 55} << recusa(Motivo::ClienteInexistente, CampoPedido::Cliente)
        << kFormaPag;
    QTest::newRow("another representative's customer")
        << Confirmacao{.cliente = kClienteDeOutro}
        << recusa(Motivo::ClienteDeOutroRepresentante, CampoPedido::Cliente) << kFormaPag;
    QTest::newRow("another's customer, representative sells to all")
        << Confirmacao{.cliente = kClienteDeOutro, .vendedor = kVendedorDeTodos} << passa() << kFormaPag;
    QTest::newRow("release code of this order")
        << Confirmacao{.codigo = kCodigoValido} << passa() << kFormaPag;
    QTest::newRow("release code of another order")
        << Confirmacao{.codigo = kCodigoDeOutroPedido}
        << recusa(Motivo::CodigoLiberacaoInvalido, CampoPedido::CodigoLiberacao) << kFormaPag;
    QTest::newRow("known carriers") << Confirmacao{.transp = kTransportador, .redesp = kTransportador}
                                    << passa() << kFormaPag;
    QTest::newRow("unknown carrier") << Confirmacao{.transp = 99}
                                     << recusa(Motivo::TransportadorInexistente, CampoPedido::Transportador)
                                     << kFormaPag;
    QTest::newRow("unknown redispatch carrier")
        << Confirmacao{.transp = kTransportador, .redesp = 99}
        << recusa(Motivo::TransportadorInexistente, CampoPedido::Redespacho) << kFormaPag;
    // The order of the checks.
    QTest::newRow("payment form before freight")
        << Confirmacao{.formaPag = 99, .freteConta = 0}
        << recusa(Motivo::FormaPagInexistente, CampoPedido::FormaPag) << 99;
    QTest::newRow("freight before items")
        << Confirmacao{.freteConta = 0, .itens = 0}
        << recusa(Motivo::FreteSemResponsavel, CampoPedido::Fconta) << kFormaPag;
    QTest::newRow("items before customer") << Confirmacao{.itens = 0, .cliente = 55}
                                           << recusa(Motivo::SemItens, CampoPedido::Itens) << kFormaPag;
    QTest::newRow("customer before release code")
        << Confirmacao{.cliente = kClienteDeOutro, .codigo = kCodigoDeOutroPedido}
        << recusa(Motivo::ClienteDeOutroRepresentante, CampoPedido::Cliente) << kFormaPag;
    QTest::newRow("release code before carrier")
        << Confirmacao{.codigo = kCodigoDeOutroPedido, .transp = 99}
        << recusa(Motivo::CodigoLiberacaoInvalido, CampoPedido::CodigoLiberacao) << kFormaPag;
}

void TestRegrasCabecalho::confirmation() {
    QFETCH(Confirmacao, pedido);
    QFETCH(Esperado, esperado);
    QFETCH(int, formaPagGravada);

    EdicaoPedido edicao(m_pasta.store());
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    Record& p = edicao.pedido();
    p.setInteger("COD_VENDEDOR", pedido.vendedor);
    p.setInteger("TIPOV", pedido.tipov);
    p.setInteger("COD_FORMAPAG", pedido.formaPag);
    p.setInteger("FCONTA", pedido.freteConta);
    p.setInteger("CLIEN", pedido.cliente);
    p.setInteger("TRANSP", pedido.transp);
    p.setInteger("REDESP", pedido.redesp);
    for (int i = 1; i <= pedido.itens; ++i)
        edicao.itens().push_back(item(i, "2"));

    const auto confirmar = [&]() -> std::optional<RecusaPedido> {
        if (std::optional<RecusaPedido> r = edicao.prepararConfirmacao(kEmpresa))
            return r;
        DadosPedido dados;
        if (!edicao.carregarDados(dados).ok())
            return std::nullopt;
        const ResultadoRecalculo recalculo = edicao.recalcularComBloqueios(dados, {});
        // The code the commercial department gives is for the order's number, customer and total.
        const auto numero = static_cast<std::int32_t>(p.integer("NUMER"));
        if (pedido.codigo == kCodigoValido)
            p.setInteger("COD_LIBERACAO",
                         gerarCodigoLiberacao(numero, pedido.cliente, p.decimal("TOTAL"), 12).value());
        else if (pedido.codigo == kCodigoDeOutroPedido)
            p.setInteger("COD_LIBERACAO",
                         gerarCodigoLiberacao(numero + 1, pedido.cliente, p.decimal("TOTAL"), 12).value());
        if (std::optional<RecusaPedido> r = edicao.verificarConteudo(recalculo))
            return r;
        if (std::optional<RecusaPedido> r = edicao.passagemDeConfirmacao(dados, kEmpresa))
            return r;
        if (std::optional<RecusaPedido> r = edicao.verificarTransportador(CampoPedido::Transportador))
            return r;
        return edicao.verificarTransportador(CampoPedido::Redespacho);
    };
    comparar(confirmar(), esperado);
    QCOMPARE(p.integer("COD_FORMAPAG"), formaPagGravada);
}

// A new order takes the customer's terms; the customer's payment form then applies as if typed, and
// its discount gives way to the customer's own order discount.
void TestRegrasCabecalho::customerTermsAndPaymentFormDiscount_data() {
    QTest::addColumn<int>("formaDoCliente");
    QTest::addColumn<QString>("descontoDoCliente");
    QTest::addColumn<bool>("trazFormaPag");
    QTest::addColumn<QString>("descp");

    QTest::newRow("payment form's discount") << kFormaPag << "0" << true << "2.00";
    QTest::newRow("customer's own discount wins") << kFormaPag << "4.5" << true << "4.50";
    QTest::newRow("no payment form: the customer's discount") << 0 << "4.5" << false << "4.50";
    QTest::newRow("no payment form, no discount") << 0 << "0" << false << "0.00";
}

void TestRegrasCabecalho::customerTermsAndPaymentFormDiscount() {
    QFETCH(int, formaDoCliente);
    QFETCH(QString, descontoDoCliente);
    QFETCH(bool, trazFormaPag);
    QFETCH(QString, descp);

    Store& store = m_pasta.store();
    const int id = ++m_proximoId;
    adicionar(store, "clientes", [&](Record& r) {
        r.setInteger("ID", id);
        r.setInteger("COD_VENDEDOR", kVendedor);
        r.setInteger("FORMA_PAG", formaDoCliente);
        r.setInteger("COD_PAUTA", kPautaComDesconto);
        r.setText("CONTA", QStringLiteral("Marta"));
        r.setDecimal("TX_DESC_PEDIDO", decimal(descontoDoCliente.toLatin1().constData()));
        r.setInteger("DESC_CLIENTE_REDE", 1);
        r.setText("E_ENDER", QStringLiteral("Rua das Flores"));
        r.setText("E_CEP", QStringLiteral("89200-000"));
    });
    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    edicao.pedido().setInteger("CLIEN", id);
    edicao.pedido().setReal("DESCV", 1.5);
    const std::optional<Record> cliente = edicao.cliente();
    QVERIFY(cliente);

    QCOMPARE(edicao.aplicarCliente(*cliente), trazFormaPag);
    const Record& p = edicao.pedido();
    QCOMPARE(p.integer("COD_FORMAPAG"), formaDoCliente);
    QCOMPARE(p.integer("COD_PAUTA"), kPautaComDesconto);
    QCOMPARE(p.text("CONTA").trimmed(), QStringLiteral("Marta"));
    QCOMPARE(p.integer("DESC_CLIENTE_REDE"), 1);
    QCOMPARE(p.text("E_ENDER").trimmed(), QStringLiteral("Rua das Flores"));
    QCOMPARE(p.text("E_CEP").trimmed(), QStringLiteral("89200-000"));
    if (trazFormaPag) {
        DadosPedido dados;
        QVERIFY(edicao.carregarDados(dados).ok());
        Decimal acrescimo;
        edicao.aplicarFormaPag(dados, acrescimo);
        QCOMPARE(p.real("DESCV"), 0.0); // the discount value follows the new discount
    }
    QCOMPARE(S(Decimal::fromDouble(p.real("DESCP"), 2), 2), descp);
}

// The item prices contain the surcharge of the payment form they were priced with: a new payment
// form takes the old surcharge out and puts its own in.
void TestRegrasCabecalho::paymentFormRepricesItems_data() {
    QTest::addColumn<QString>("anterior");
    QTest::addColumn<QString>("novo");
    QTest::addColumn<bool>("formaExiste");
    QTest::addColumn<QString>("pruni");
    QTest::addColumn<QString>("acrescimoDepois");

    QTest::newRow("none to 10 %") << "0"
                                  << "10" << true << "11.00"
                                  << "10.00";
    QTest::newRow("10 % to none") << "10"
                                  << "0" << true << "9.09"
                                  << "0.00";
    QTest::newRow("10 % to 5 %") << "10"
                                 << "5" << true << "9.55"
                                 << "5.00";
    QTest::newRow("same surcharge") << "5"
                                    << "5" << true << "10.00"
                                    << "5.00";
    QTest::newRow("payment form missing") << "5"
                                          << "10" << false << "10.00"
                                          << "5.00";
}

void TestRegrasCabecalho::paymentFormRepricesItems() {
    QFETCH(QString, anterior);
    QFETCH(QString, novo);
    QFETCH(bool, formaExiste);
    QFETCH(QString, pruni);
    QFETCH(QString, acrescimoDepois);

    Store& store = m_pasta.store();
    const int codigo = ++m_proximoId;
    if (formaExiste)
        formaPag(store, {.id = codigo, .codigo = codigo, .acrescimo = novo.toLatin1().constData()});
    EdicaoPedido edicao(store);
    primar(edicao);
    edicao.pedido().setInteger("COD_FORMAPAG", codigo);
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    Decimal acrescimo = decimal(anterior.toLatin1().constData());

    edicao.aplicarFormaPag(dados, acrescimo);
    QCOMPARE(S(acrescimo, 2), acrescimoDepois);
    QCOMPARE(S(edicao.itens().front().item.decimal("PRUNI"), 2), pruni);
}

// With the company's header discounts locked, only a price-list discount by order value opens the
// first discount; otherwise it goes back to 0 and the total is recalculated without it.
void TestRegrasCabecalho::lockedHeaderDiscounts_data() {
    QTest::addColumn<int>("bloqueios1");
    QTest::addColumn<int>("pauta");
    QTest::addColumn<QString>("descp");
    QTest::addColumn<QString>("total");

    QTest::newRow("not locked") << 0 << 0 << "5.00"
                                << "19.00";
    QTest::newRow("locked, no price list") << QavCfg::kDescontosBloqueados << 0 << "0.00"
                                           << "20.00";
    QTest::newRow("locked, price list discount applies")
        << QavCfg::kDescontosBloqueados << kPautaComDesconto << "5.00"
        << "19.00";
    QTest::newRow("locked, price list level above the total")
        << QavCfg::kDescontosBloqueados << kPautaAcimaDoTotal << "0.00"
        << "20.00";
    QTest::newRow("other lock bits only") << QavCfg::kLimiteCredito << 0 << "5.00"
                                          << "19.00";
}

void TestRegrasCabecalho::lockedHeaderDiscounts() {
    QFETCH(int, bloqueios1);
    QFETCH(int, pauta);
    QFETCH(QString, descp);
    QFETCH(QString, total);

    EdicaoPedido edicao(m_pasta.store());
    primar(edicao);
    edicao.pedido().setInteger("COD_PAUTA", pauta);
    edicao.pedido().setReal("DESCP", 5.0);
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    dados.qavcfg.BLOQUEIOS1 = bloqueios1; // the company's settings as read, changed for the row

    const ResultadoRecalculo r = edicao.recalcularComBloqueios(dados, {});
    QVERIFY(!r.estouro);
    QCOMPARE(S(Decimal::fromDouble(edicao.pedido().real("DESCP"), 2), 2), descp);
    QCOMPARE(S(Decimal::fromDouble(edicao.pedido().real("TOTAL"), 2), 2), total);
}

void TestRegrasCabecalho::enabledEntries_data() {
    QTest::addColumn<Liberacao>("pedido");
    QTest::addColumn<CamposLiberados>("esperado");

    const CamposLiberados livres{};
    const auto com = [&](auto mudar) {
        CamposLiberados c = livres;
        mudar(c);
        return c;
    };
    QTest::newRow("nothing locked") << Liberacao{} << livres;
    QTest::newRow("order type without payment form")
        << Liberacao{.tipov = 4} << com([](CamposLiberados& c) { c.formaPag = false; });
    QTest::newRow("freight rate at the minimum") << Liberacao{.txFrete = "0.01"} << livres;
    QTest::newRow("freight rate computes the value")
        << Liberacao{.txFrete = "0.02"} << com([](CamposLiberados& c) { c.frete = false; });
    QTest::newRow("items keep the price list")
        << Liberacao{.itens = 1} << com([](CamposLiberados& c) { c.pauta = false; });
    QTest::newRow("company locks the customer's list")
        << Liberacao{.bloqPauta = 1, .cliente = kClienteComPauta}
        << com([](CamposLiberados& c) { c.pauta = false; });
    QTest::newRow("company lock, customer without list") << Liberacao{.bloqPauta = 1} << livres;
    QTest::newRow("exclusive list of a customer with a list")
        << Liberacao{.cliente = kClienteDePautaExclusiva, .pautaDoPedido = kPautaExclusiva}
        << com([](CamposLiberados& c) { c.pauta = false; });
    QTest::newRow("exclusive list, customer without list")
        << Liberacao{.pautaDoPedido = kPautaExclusiva} << livres;
    QTest::newRow("common list of a customer with a list")
        << Liberacao{.cliente = kClienteComPauta, .pautaDoPedido = kPautaComDesconto} << livres;
    QTest::newRow("discounts locked")
        << Liberacao{.bloqueios1 = QavCfg::kDescontosBloqueados} << com([](CamposLiberados& c) {
               c.descp = false;
               c.outrosDescontos = false;
           });
    QTest::newRow("discounts locked, price list discount by value")
        << Liberacao{.itens = 1,
                     .pautaDoPedido = kPautaComDesconto,
                     .bloqueios1 = QavCfg::kDescontosBloqueados}
        << com([](CamposLiberados& c) {
               c.pauta = false;
               c.outrosDescontos = false;
           });
    QTest::newRow("issuer forced") << Liberacao{.bloqFrete = fconta::Emitente}
                                   << com([](CamposLiberados& c) { c.fconta = false; });
    QTest::newRow("receiver forced") << Liberacao{.bloqFrete = fconta::Destinatario}
                                     << com([](CamposLiberados& c) { c.fconta = false; });
    QTest::newRow("freight lock of another value") << Liberacao{.bloqFrete = 3} << livres;
    QTest::newRow("flex order") << Liberacao{.pedFlex = 1}
                                << com([](CamposLiberados& c) { c.abaFlex = true; });
}

void TestRegrasCabecalho::enabledEntries() {
    QFETCH(Liberacao, pedido);
    QFETCH(CamposLiberados, esperado);

    EdicaoPedido edicao(m_pasta.store());
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    Record& p = edicao.pedido();
    p.setInteger("CLIEN", pedido.cliente);
    p.setInteger("TIPOV", pedido.tipov);
    p.setDecimal("TX_FRETE", decimal(pedido.txFrete));
    p.setInteger("COD_PAUTA", pedido.pautaDoPedido);
    p.setInteger("PED_FLEX", pedido.pedFlex);
    for (int i = 1; i <= pedido.itens; ++i)
        edicao.itens().push_back(item(i, "2"));
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    // The company's settings as read, changed for the row.
    dados.qavcfg.BLOQ_PAUTA = pedido.bloqPauta;
    dados.qavcfg.BLOQ_FRETE = pedido.bloqFrete;
    dados.qavcfg.BLOQUEIOS1 = pedido.bloqueios1;
    const ResultadoRecalculo recalculo = edicao.recalcularComBloqueios(dados, {});

    const CamposLiberados c = edicao.camposLiberados(dados, recalculo, kEmpresa);
    QCOMPARE(c.formaPag, esperado.formaPag);
    QCOMPARE(c.frete, esperado.frete);
    QCOMPARE(c.pauta, esperado.pauta);
    QCOMPARE(c.descp, esperado.descp);
    QCOMPARE(c.outrosDescontos, esperado.outrosDescontos);
    QCOMPARE(c.fconta, esperado.fconta);
    QCOMPARE(c.abaFlex, esperado.abaFlex);
    QCOMPARE(c.abaAnalise, esperado.abaAnalise);
}

// "&Novo" of the item list where the company sells by price list, or the order has a list.
void TestRegrasCabecalho::priceListForNewItems_data() {
    QTest::addColumn<int>("ativarProdPauta");
    QTest::addColumn<int>("pauta");
    QTest::addColumn<Esperado>("esperado");

    QTest::newRow("no list needed") << 0 << 0 << passa();
    QTest::newRow("list required, none") << 1 << 0 << recusa(Motivo::PautaInvalida, CampoPedido::Pauta);
    QTest::newRow("list required, active") << 1 << kPautaComDesconto << passa();
    QTest::newRow("order's list missing") << 0 << 77 << recusa(Motivo::PautaInvalida, CampoPedido::Pauta);
    QTest::newRow("order's list inactive")
        << 0 << kPautaInativa << recusa(Motivo::PautaInativa, CampoPedido::Pauta);
    QTest::newRow("list required, inactive")
        << 1 << kPautaInativa << recusa(Motivo::PautaInativa, CampoPedido::Pauta);
}

void TestRegrasCabecalho::priceListForNewItems() {
    QFETCH(int, ativarProdPauta);
    QFETCH(int, pauta);
    QFETCH(Esperado, esperado);

    EdicaoPedido edicao(m_pasta.store());
    primar(edicao);
    edicao.pedido().setInteger("COD_PAUTA", pauta);
    DadosPedido dados;
    QVERIFY(edicao.carregarDados(dados).ok());
    dados.qavcfg.ATIVAR_PROD_PAUTA = ativarProdPauta; // the company's setting as read, changed for the row

    comparar(edicao.verificarPautaParaItens(dados), esperado);
}

// What a customer typed into an order tells; none of it refuses the customer.
void TestRegrasCabecalho::customerNotices_data() {
    QTest::addColumn<int>("libCred");
    QTest::addColumn<int>("alerta");
    QTest::addColumn<int>("diasVencido"); // of its one receivable; 0: due today
    QTest::addColumn<QString>("saldo");
    QTest::addColumn<bool>("contasVencidas");

    QTest::newRow("nothing to tell") << 1 << 0 << 0 << "100" << false;
    QTest::newRow("credit not released") << 0 << 0 << 0 << "100" << false;
    QTest::newRow("alert note") << 1 << 1 << 0 << "100" << false;
    QTest::newRow("overdue since yesterday") << 1 << 0 << 1 << "100" << true;
    QTest::newRow("overdue, a rounding leftover") << 1 << 0 << 30 << "0.09" << false;
    QTest::newRow("overdue, ten cents") << 1 << 0 << 30 << "0.10" << true;
    QTest::newRow("everything at once") << 0 << 1 << 5 << "50" << true;
}

void TestRegrasCabecalho::customerNotices() {
    QFETCH(int, libCred);
    QFETCH(int, alerta);
    QFETCH(int, diasVencido);
    QFETCH(QString, saldo);
    QFETCH(bool, contasVencidas);

    Store& store = m_pasta.store();
    const int id = ++m_proximoId;
    adicionar(store, "clientes", [&](Record& r) {
        r.setInteger("ID", id);
        r.setInteger("COD_VENDEDOR", kVendedor);
        r.setInteger("LIB_CRED", libCred);
        r.setInteger("ALERTA", alerta);
        r.setText("OBS", QStringLiteral("Só entrega à tarde"));
    });
    adicionar(store, "ctr", [&](Record& r) {
        r.setInteger("DEVED", id);
        r.setDate("VECTO", kHoje.addDays(-diasVencido));
        r.setDecimal("SALDO", decimal(saldo.toLatin1().constData()));
    });
    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    edicao.pedido().setInteger("CLIEN", id);
    std::vector<Titulo> titulos;
    QVERIFY(edicao.titulosDoCliente(titulos).ok());
    const std::optional<Record> cliente = edicao.cliente();
    QVERIFY(cliente);

    const AvisosCliente avisos = EdicaoPedido::avisosDoCliente(*cliente, titulos, kHoje);
    QCOMPARE(avisos.contasVencidas.has_value(), contasVencidas);
    QCOMPARE(avisos.creditoNaoLiberado.has_value(), libCred == 0);
    QCOMPARE(avisos.alerta.has_value(), alerta != 0);
    if (avisos.alerta)
        QCOMPARE(avisos.alerta->texto.trimmed(), QStringLiteral("Só entrega à tarde"));
    // The customer's notices never refuse it.
    QVERIFY(!EdicaoPedido::verificarCliente(cliente));
}

// Only the upload makes an order transmitted.
void TestRegrasCabecalho::situationChoice_data() {
    QTest::addColumn<int>("gravada");
    QTest::addColumn<int>("escolhida");
    QTest::addColumn<bool>("permitida");

    using namespace situacao;
    QTest::newRow("pending to released") << Pendente << Liberado << true;
    QTest::newRow("released to cancelled") << Liberado << Cancelado << true;
    QTest::newRow("cancelled to pending") << Cancelado << Pendente << true;
    QTest::newRow("pending to transmitted") << Pendente << Transmitido << false;
    QTest::newRow("released to transmitted") << Liberado << Transmitido << false;
    QTest::newRow("transmitted stays") << Transmitido << Transmitido << true;
}

void TestRegrasCabecalho::situationChoice() {
    QFETCH(int, gravada);
    QFETCH(int, escolhida);
    QFETCH(bool, permitida);

    EdicaoPedido edicao(m_pasta.store());
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    edicao.pedido().setInteger("SITUA", gravada);
    QCOMPARE(edicao.situacaoPermitida(escolhida), permitida);
}

// "En&d. Entrega": an order without a delivery address starts from the customer's; one typed stays.
void TestRegrasCabecalho::deliveryAddressFromCustomer() {
    Store& store = m_pasta.store();
    const int id = ++m_proximoId;
    adicionar(store, "clientes", [&](Record& r) {
        r.setInteger("ID", id);
        r.setText("E_ENDER", QStringLiteral("Rua XV de Novembro, 100"));
        r.setText("E_BAIRR", QStringLiteral("Centro"));
        r.setText("E_MUNIC", QStringLiteral("Blumenau"));
        r.setText("E_ESTAD", QStringLiteral("SC"));
        r.setText("E_CEP", QStringLiteral("89010-000"));
    });
    EdicaoPedido edicao(store);
    QVERIFY(edicao.novo(kEmpresa, kHoje).ok());
    Record& p = edicao.pedido();
    p.setInteger("CLIEN", id);
    const std::optional<Record> cliente = edicao.cliente();
    QVERIFY(cliente);

    edicao.completarEnderecoEntrega(*cliente);
    for (const char* campo : {"E_ENDER", "E_BAIRR", "E_MUNIC", "E_ESTAD", "E_CEP"})
        QCOMPARE(p.text(campo), cliente->text(campo));

    p.setText("E_ENDER", QStringLiteral("Rodovia BR-470, km 52"));
    p.setText("E_MUNIC", QStringLiteral("Gaspar"));
    edicao.completarEnderecoEntrega(*cliente);
    QCOMPARE(p.text("E_ENDER").trimmed(), QStringLiteral("Rodovia BR-470, km 52"));
    QCOMPARE(p.text("E_MUNIC").trimmed(), QStringLiteral("Gaspar"));
}

QAV_TEST_GUILESS_MAIN(TestRegrasCabecalho)
#include "tst_regrascabecalho.moc"
