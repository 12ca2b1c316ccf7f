// The demonstration data folder: it opens, every table holds what it should, documents are valid,
// every product has prices in both price lists, its orders are totalled as the order rules total them
// and each demonstration order runs into the release check it is there to show, and the same seed
// gives the same folder.
#include "base/core/Settings.h"
#include "base/core/Version.h"
#include "customers/core/DocumentChecks.h"
#include "dbtool/core/TableCheck.h"
#include "orders/core/CamposPedido.h"
#include "store/core/Table.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TestMain.h"
#include "tools/qavdemo/DemoData.h"
#include "tools/qavdemo/PedidoDemo.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace qav;

namespace {

const Date kHoje = Date::fromYmd(2026, 3, 5);

std::vector<Record> records(Store& store, const char* name) {
    Table table(store, name);
    std::vector<Record> all;
    if (!table.open() || table.seekPhysical() != Status::Ok)
        return all;
    while (table.next() == Status::Ok)
        all.push_back(table.rec());
    return all;
}

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void folderOpens();
    void tableCounts_data();
    void tableCounts();
    void companyAndConfiguration();
    void customersHaveValidDocuments();
    void everyProductHasPricesInBothLists();
    void paymentFormsAndInstalments();
    void receivablesOpenOverdueAndPaid();
    void ordersAndHistoryPointAtRealRecords();
    void ordersShowTheirReleaseCheck_data();
    void ordersShowTheirReleaseCheck();
    void sameSeedSameFolder();
    void folderWithDataIsLeftAlone();
    void selectFolderPointsQavCfgAtIt();
    void documentGenerators_data();
    void documentGenerators();
    void inscricaoValidForEachState_data();
    void inscricaoValidForEachState();

private:
    QTemporaryDir m_root;
    QString m_folder;
    demo::Outcome m_outcome;
    std::unique_ptr<Store> m_store;
};

void TestDemoData::initTestCase() {
    m_folder = m_root.filePath(QStringLiteral("demo"));
    demo::Options options;
    options.hoje = kHoje;
    m_outcome = demo::generate(m_folder, options);
    QVERIFY2(m_outcome.ok, qPrintable(m_outcome.error));
    m_store = std::make_unique<Store>(m_folder);
}

void TestDemoData::folderOpens() {
    QCOMPARE(Settings(m_root.filePath(QStringLiteral("pgms"))).versaoBd(QStringLiteral("demo")),
             versaoBdRequerida);
    for (const TableDef& def : catalogue()) {
        StoreError error;
        QCOMPARE(upgrade::checkTable(QDir(m_folder).filePath(QString::fromLatin1(def.fileName)), def, &error),
                 upgrade::CheckResult::Ok);
        Table table(*m_store, def);
        QVERIFY2(table.open(), def.fileName);
    }
}

void TestDemoData::tableCounts_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("expected");
    const std::vector<std::pair<const char*, int>> counts = {
        {"empresa", 1},   {"qavcfg", 1},   {"vendedor", 2},   {"municip", 40},  {"grupo", 10},
        {"produto", 500}, {"pauta", 2},    {"pauxpro", 1000}, {"formapag", 5},  {"prazopag", 11},
        {"portador", 2},  {"transp", 3},   {"qavtipoped", 2}, {"sticms", 14},   {"cstfrete", 7},
        {"clientes", 53}, {"ctr", 114},    {"pedcon", 100},   {"pedicon", 300}, {"pedidos", 13},
        {"acessori", 0},  {"pedacess", 0}, {"socios", 0},     {"rex", 0},       {"supxven", 0},
        {"represen", 0},  {"cfgsis", 0}};
    for (const auto& [table, expected] : counts)
        QTest::newRow(table) << QString::fromLatin1(table) << expected;
}

void TestDemoData::tableCounts() {
    QFETCH(QString, table);
    QFETCH(int, expected);
    Table t(*m_store, table.toStdString());
    QVERIFY(t.open());
    QCOMPARE(t.count(), expected);
    if (expected > 0)
        QCOMPARE(m_outcome.records.value(table + QStringLiteral(".tps")), expected);
}

void TestDemoData::companyAndConfiguration() {
    const auto empresas = records(*m_store, "empresa");
    QCOMPARE(empresas.size(), size_t(1));
    QCOMPARE(empresas[0].integer("ID_EMPRESA"), 1);
    QVERIFY(docs::cnpjValido(empresas[0].text("CNPJ")));
    QVERIFY(docs::ieValida(empresas[0].text("IE"), empresas[0].text("UF")));

    Table cfg(*m_store, "qavcfg");
    QVERIFY(cfg.open());
    cfg.rec().setInteger("ID_EMPRESA", 1);
    QCOMPARE(cfg.get("KEYID_EMPRESA"), Status::Ok);
    QCOMPARE(cfg.rec().date("DT_ULT_COM"), kHoje);
    QCOMPARE(cfg.rec().integer("DIAS_BLOQUEIO"), 30);
    QCOMPARE(cfg.rec().integer("SISTEMA_BLOQUEADO"), 0);
    QCOMPARE(cfg.rec().integer("PERMITIR_FLEX"), 1);
    QCOMPARE(cfg.rec().integer("COD_VENDEDOR"), 101);

    // The representative the caption shows.
    Table ven(*m_store, "vendedor");
    QVERIFY(ven.open());
    ven.rec().setInteger("CODIGO", 101);
    ven.rec().setInteger("ID_EMPRESA", 1);
    QCOMPARE(ven.get("KEYCODIGO"), Status::Ok);
    QVERIFY(!ven.rec().text("NOME").isEmpty());

    // The customer of another representative, whom this one may not sell to.
    QCOMPARE(ven.rec().integer("QAV_TODOS_CLIENTES"), 0);
    int deOutro = 0;
    for (const Record& c : records(*m_store, "clientes")) {
        if (c.integer("COD_VENDEDOR") == 101)
            continue;
        ++deOutro;
        QCOMPARE(c.text("RAZAO"), QStringLiteral("CLIENTE DE OUTRO REPRESENTANTE LTDA"));
        ven.clear();
        ven.rec().setInteger("CODIGO", c.integer("COD_VENDEDOR"));
        ven.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(ven.get("KEYCODIGO"), Status::Ok);
    }
    QCOMPARE(deOutro, 1);
}

void TestDemoData::customersHaveValidDocuments() {
    Table municip(*m_store, "municip");
    QVERIFY(municip.open());
    int pessoasFisicas = 0;
    for (const Record& c : records(*m_store, "clientes")) {
        const QString nome = c.text("RAZAO");
        if (c.integer("PESSO") == 2) {
            ++pessoasFisicas;
            QVERIFY2(docs::cpfValido(c.text("CGCPF")), qPrintable(nome));
            QCOMPARE(c.text("INSCR"), QStringLiteral("ISENTO"));
        } else {
            QCOMPARE(c.integer("PESSO"), 1);
            QVERIFY2(docs::cnpjValido(c.text("CGCPF")), qPrintable(nome));
            QVERIFY2(docs::ieValida(c.text("INSCR"), c.text("UF")),
                     qPrintable(c.text("INSCR") + c.text("UF")));
        }
        municip.clear();
        municip.rec().setInteger("ID", c.integer("ID_MUNICIPIO"));
        QCOMPARE(municip.get("KEYID"), Status::Ok);
        QCOMPARE(municip.rec().text("ESTADO"), c.text("UF"));
        QVERIFY(!nome.isEmpty());
    }
    QCOMPARE(pessoasFisicas, 10);
}

void TestDemoData::everyProductHasPricesInBothLists() {
    Table pauxpro(*m_store, "pauxpro");
    QVERIFY(pauxpro.open());
    Table pauta(*m_store, "pauta");
    QVERIFY(pauta.open());
    for (int codigo : {1, 2}) {
        pauta.clear();
        pauta.rec().setInteger("CODIGO", codigo);
        pauta.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(pauta.get("KEYCODIGO"), Status::Ok);
        QCOMPARE(pauta.rec().integer("ID"), codigo * 10000 + 1); // code followed by the company in 4 digits
        QVERIFY(pauta.rec().integer("ATIVO") == 1);
        QVERIFY(pauta.rec().date("DT_INI") <= kHoje && kHoje <= pauta.rec().date("DT_FIM"));
    }
    for (const Record& p : records(*m_store, "produto")) {
        Decimal precos[2];
        for (int lista = 0; lista < 2; ++lista) {
            pauxpro.clear();
            pauxpro.rec().setInteger("ID_PROD", p.integer("ID"));
            pauxpro.rec().setInteger("ID_PAUTA", (lista + 1) * 10000 + 1);
            QCOMPARE(pauxpro.get("KEYPRODUTO"), Status::Ok);
            precos[lista] = pauxpro.rec().decimal("PRECO1");
            QVERIFY(precos[lista] > Decimal(0));
            QVERIFY(pauxpro.rec().decimal("PRECO3") < precos[lista]);
        }
        QCOMPARE(precos[0], p.decimal("PRECO"));
        QVERIFY(precos[1] < precos[0]);
    }
}

void TestDemoData::paymentFormsAndInstalments() {
    Table prazos(*m_store, "prazopag");
    QVERIFY(prazos.open());
    for (const Record& f : records(*m_store, "formapag")) {
        QCOMPARE(f.integer("ID_FORMAPAG"), f.integer("CODIGO") * 10000 + 1);
        double total = 0;
        int parcelas = 0;
        prazos.clear();
        prazos.rec().setInteger("ID", f.integer("ID_FORMAPAG"));
        QCOMPARE(prazos.seek("KEYNUMPARC", 1), Status::Ok);
        while (prazos.next() == Status::Ok && prazos.rec().integer("ID") == f.integer("ID_FORMAPAG")) {
            total += prazos.rec().real("PORPAG");
            ++parcelas;
        }
        QCOMPARE(parcelas, f.integer("NUMPARC"));
        QVERIFY(qAbs(total - 100.0) < 1e-9);
    }
}

void TestDemoData::receivablesOpenOverdueAndPaid() {
    int pagos = 0, abertos = 0, vencidos = 0;
    for (const Record& t : records(*m_store, "ctr")) {
        const Decimal saldo = t.decimal("SALDO");
        if (saldo < *Decimal::parse("0.01")) {
            ++pagos;
            QVERIFY(t.date("DATA_RECBTO").isValid());
            QCOMPARE(t.decimal("RECBT"), t.decimal("VALOR"));
        } else {
            QVERIFY(saldo > *Decimal::parse("0.09"));
            ++(t.date("VECTO") < kHoje ? vencidos : abertos);
        }
    }
    QCOMPARE(pagos, 51);
    QCOMPARE(abertos, 50);
    QCOMPARE(vencidos, 13);
}

void TestDemoData::ordersAndHistoryPointAtRealRecords() {
    Table clientes(*m_store, "clientes");
    Table produto(*m_store, "produto");
    QVERIFY(clientes.open() && produto.open());
    QList<int> situacoes;
    for (const Record& v : records(*m_store, "pedidos")) {
        situacoes << static_cast<int>(v.integer("SITUA"));
        clientes.clear();
        clientes.rec().setInteger("ID", v.integer("CLIEN"));
        QCOMPARE(clientes.get("KEYID"), Status::Ok);
        QVERIFY(v.real("TOTAL") > 0);
        // Every order has its own number (the order list's number tab leaves out orders without
        // one); a transmitted one also has the back office's.
        QCOMPARE(v.integer("NUMER"), v.integer("ID"));
        QCOMPARE(v.integer("NUM_ERP") != 0, v.integer("SITUA") == 3);
        // The order form confirms an order only with the freight paid by one side or the other.
        const auto fconta = v.integer("FCONTA");
        QVERIFY2(fconta == 1 || fconta == 2, qPrintable(QString::number(fconta)));
    }
    QCOMPARE(situacoes, (QList<int>{1, 1, 2, 3, 3, 4, 1, 1, 1, 1, 1, 1, 1}));
    const auto itens = records(*m_store, "peditens");
    QCOMPARE(m_outcome.records.value(QStringLiteral("peditens.tps")),
             static_cast<std::int64_t>(itens.size()));
    QSet<int> pedidosComItens;
    for (const Record& i : itens) {
        pedidosComItens.insert(static_cast<int>(i.integer("ID_VENDA")));
        produto.clear();
        produto.rec().setInteger("ID", i.integer("PRODU"));
        produto.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(produto.get("KEYID"), Status::Ok);
        const Decimal bruto = (i.decimal("QTD") * i.decimal("PRUNI")).rounded(2);
        QCOMPARE(i.decimal("TOTAL"), bruto - i.decimal("DESCV"));
    }
    QCOMPARE(pedidosComItens.size(), situacoes.size());
    for (const Record& h : records(*m_store, "pedcon")) {
        clientes.clear();
        clientes.rec().setInteger("ID", h.integer("ID_CLIENTE"));
        QCOMPARE(clientes.get("KEYID"), Status::Ok);
        QVERIFY(h.date("DATA_PEDIDO") < kHoje);
    }
}

void TestDemoData::ordersShowTheirReleaseCheck_data() {
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("recusa"); // the first check that refuses it when released; empty: none
    QTest::newRow("ready to release") << 1 << QString();
    QTest::newRow("below the minimum") << 2 << QStringLiteral("minimo");
    QTest::newRow("released") << 3 << QString();
    QTest::newRow("representative's discount limit") << 7 << QStringLiteral("vendedor");
    QTest::newRow("product's discount limit") << 8 << QStringLiteral("produto");
    QTest::newRow("price list without discounts") << 9 << QStringLiteral("pauta");
    QTest::newRow("discount above commission") << 10 << QStringLiteral("comissao");
    QTest::newRow("flex balance") << 11 << QStringLiteral("flex");
    QTest::newRow("credit limit") << 12 << QStringLiteral("credito");
    QTest::newRow("overdue receivable") << 13 << QStringLiteral("atraso");
}

void TestDemoData::ordersShowTheirReleaseCheck() {
    QFETCH(int, numero);
    QFETCH(QString, recusa);
    Pedido pedido;
    std::vector<PedidoItem> itens;
    std::vector<OutroPedido> outros;
    for (const Record& r : records(*m_store, "pedidos")) {
        Pedido p;
        lerRegistro(r, p);
        if (p.NUMER == numero)
            pedido = p;
        else
            outros.push_back({p.ID, p.SITUA, p.PED_FLEX, Decimal()});
    }
    QCOMPARE(pedido.NUMER, numero);
    for (const Record& r : records(*m_store, "peditens")) {
        PedidoItem item;
        lerRegistro(r, item);
        if (item.ID_VENDA == pedido.ID)
            itens.push_back(item);
        for (OutroPedido& outro : outros)
            if (outro.ID == item.ID_VENDA)
                outro.VL_FLEX += item.VL_FLEX;
    }
    QVERIFY(!itens.empty());
    ordenarItens(itens);
    DadosPedido dados;
    QString erro;
    QVERIFY2(demo::carregarDados(*m_store, pedido, itens, dados, erro), qPrintable(erro));

    // The order as stored is the order as the order rules total it, released or not.
    Pedido liberado = pedido;
    liberado.SITUA = 2;
    std::vector<PedidoItem> recalculados = itens;
    const ResultadoRecalculo calculo = recalcularPedido(liberado, recalculados, dados, outros);
    QCOMPARE(liberado.TOTPR, pedido.TOTPR);
    QCOMPARE(liberado.DESCV, pedido.DESCV);
    QCOMPARE(liberado.IPI, pedido.IPI);
    QCOMPARE(liberado.VL_ICMSST, pedido.VL_ICMSST);
    QCOMPARE(liberado.TOTAL, pedido.TOTAL);
    for (size_t n = 0; n < itens.size(); ++n) {
        QCOMPARE(recalculados[n].TOTAL, itens[n].TOTAL);
        QCOMPARE(recalculados[n].VL_LIQUIDO, itens[n].VL_LIQUIDO);
        QCOMPARE(recalculados[n].VL_IPI, itens[n].VL_IPI);
        QCOMPARE(recalculados[n].VL_ICMSST, itens[n].VL_ICMSST);
        QCOMPARE(recalculados[n].VL_FLEX, itens[n].VL_FLEX);
        QCOMPARE(recalculados[n].COMIS, itens[n].COMIS);
    }

    // The figures the release checks weigh, in the order the checks are made.
    QStringList recusas;
    const Vendedor& vendedor = dados.vendedor;
    if (!vendedor.VL_PED_MINIMO.isZero() && vendedor.VL_PED_MINIMO > pedido.TOTAL)
        recusas << QStringLiteral("minimo");
    // A limit combined with the payment form's discount as successive discounts.
    const Decimal descontoForma = dados.formaPagOuZeros().DESCO;
    const auto limite = [&](const Decimal& maximo) {
        return descontoForma.isZero() ? maximo
                                      : maximo - maximo / Decimal(100) * descontoForma + descontoForma;
    };
    for (const PedidoItem& item : itens) {
        const Produto& produto = dados.produto(item.PRODU);
        const PautaProduto* linha = dados.pautaProduto(item.PRODU);
        const Decimal lista = linha != nullptr ? linha->PRECO1 : produto.PRECO;
        const Decimal d = ((lista - item.VL_LIQUIDO / item.QTD) * Decimal(100) / lista).rounded(2);
        if (dados.pautaOuZeros().BLOQ_DESCONTOS != 0 && d > Decimal())
            recusas << QStringLiteral("pauta");
        else if (!vendedor.TX_DESCMAX.isZero() && d > limite(vendedor.TX_DESCMAX))
            recusas << QStringLiteral("vendedor");
        else if (!produto.DESC_MAX.isZero() && d > limite(produto.DESC_MAX) && pedido.PED_FLEX == 0)
            recusas << QStringLiteral("produto");
    }
    if (calculo.excessoComissao)
        recusas << QStringLiteral("comissao");
    if (pedido.PED_FLEX != 0 && calculo.flex.VL_FLEX.isNegative() &&
        (calculo.flex.SALDO_FLEX + calculo.flex.VL_FLEX).isNegative())
        recusas << QStringLiteral("flex");
    if (dados.qavcfg.limiteCreditoAtivo() && dados.formaPagOuZeros().LIBERA_CREDITO != 1 &&
        dados.cliente.LIMCRED < pedido.TOTAL)
        recusas << QStringLiteral("credito");
    const int dias = dados.qavcfg.DIAS_BLOQ_CREDITO;
    for (const Record& titulo : records(*m_store, "ctr")) {
        if (dias != 0 && titulo.integer("DEVED") == pedido.CLIEN &&
            kHoje.dayNumber() - titulo.date("VECTO").dayNumber() >= dias &&
            titulo.decimal("SALDO") > *Decimal::parse("0.09")) {
            recusas << QStringLiteral("atraso");
            break;
        }
    }
    QCOMPARE(recusas.value(0), recusa);
}

void TestDemoData::sameSeedSameFolder() {
    demo::Options options;
    options.produtos = 30;
    options.clientes = 8;
    options.hoje = kHoje;
    QTemporaryDir a, b;
    QVERIFY(demo::generate(a.path(), options).ok);
    QVERIFY(demo::generate(b.path(), options).ok);
    Store sa(a.path()), sb(b.path());
    for (const char* table : {"clientes", "produto", "pauxpro", "ctr", "pedcon", "pedicon", "peditens"})
        QVERIFY2(records(sa, table) == records(sb, table), table);
    options.seed = 7;
    QTemporaryDir c;
    QVERIFY(demo::generate(c.path(), options).ok);
    Store sc(c.path());
    QVERIFY(records(sa, "clientes") != records(sc, "clientes"));
}

void TestDemoData::folderWithDataIsLeftAlone() {
    demo::Options options;
    options.hoje = kHoje;
    const demo::Outcome again = demo::generate(m_folder, options);
    QVERIFY(!again.ok);
    QVERIFY(again.error.contains(QStringLiteral("já tem dados")));
    Table clientes(*m_store, "clientes");
    QVERIFY(clientes.open());
    QCOMPARE(clientes.count(), 53);
}

void TestDemoData::selectFolderPointsQavCfgAtIt() {
    QTemporaryDir root;
    const QString pgms = root.filePath(QStringLiteral("pgms"));
    QVERIFY(QDir().mkpath(pgms));
    const Settings settings(pgms);
    QVERIFY(settings.setPastaNumerada(1, QStringLiteral("filial")));
    QVERIFY(demo::selectFolder(pgms, QStringLiteral("demo"), 1));
    QCOMPARE(settings.pasta(), QStringLiteral("demo"));
    QCOMPARE(settings.empresaDaPasta(QStringLiteral("demo")), 1);
    QCOMPARE(settings.pastaNumerada(1), QStringLiteral("filial"));
    QCOMPARE(settings.pastaNumerada(2), QStringLiteral("demo"));
    // Running it again does not list the folder twice.
    QVERIFY(demo::selectFolder(pgms, QStringLiteral("demo"), 1));
    QVERIFY(settings.pastaNumerada(3).isEmpty());
}

void TestDemoData::documentGenerators_data() {
    QTest::addColumn<QString>("generated");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CPF") << demo::cpfFrom(111444777) << "111.444.777-35";
    QTest::newRow("CPF with zeros") << demo::cpfFrom(123456789) << "123.456.789-09";
    QTest::newRow("CNPJ") << demo::cnpjFrom(11222333, 1) << "11.222.333/0001-81";
    QTest::newRow("EAN-13") << demo::ean13From(400638133393ULL) << "4006381333931";
    QTest::newRow("EAN-13 check 0") << demo::ean13From(789100000001ULL) << "7891000000014";
}

void TestDemoData::documentGenerators() {
    QFETCH(QString, generated);
    QFETCH(QString, expected);
    QCOMPARE(generated, expected);
}

void TestDemoData::inscricaoValidForEachState_data() {
    QTest::addColumn<QString>("uf");
    for (const char* uf :
         {"SP", "MG", "RJ", "ES", "PR", "RS", "SC", "GO", "DF", "BA", "PE", "CE", "MS", "RN"})
        QTest::newRow(uf) << QString::fromLatin1(uf);
}

void TestDemoData::inscricaoValidForEachState() {
    QFETCH(QString, uf);
    for (std::uint64_t draw = 1; draw < 200000; draw += 9973) {
        const QString ie = demo::inscricaoFrom(uf, draw);
        QVERIFY2(docs::ieValida(ie, uf), qPrintable(ie));
    }
    QCOMPARE(demo::inscricaoFrom(QStringLiteral("AC"), 1), QStringLiteral("ISENTO"));
}

QAV_TEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
