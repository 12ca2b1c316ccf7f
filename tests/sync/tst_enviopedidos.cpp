// The upload of released orders to the ERP, run as a whole communication against a real PostgreSQL
// server built from the repository's schemas and test data: which orders go, the numbers they take,
// what lands in the order tables and in the log, what the workstation's tables say afterwards, and
// that an order is never received twice nor half-way, also with two workstations at once.
#include "OuvinteGravador.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "store/core/Transaction.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/envio/RegistroTransito.h"
#include "sync/core/execucao/Comunicacao.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/support/Programs.h"
#include "tests/support/Registros.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>
#include <functional>
#include <sqlite3.h>
#include <sys/resource.h>
#include <thread>

using namespace qav;
using namespace qav::sync;
using qav::test::adicionar;
using qav::test::alterar;
using qav::test::Preencher;
using qav::test::ServidorTeste;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);

using Ouvinte = test::OuvinteGravador;

qint64 contar(Store& store, const char* tabela) {
    Table t(store, tabela);
    t.open();
    return t.count().value_or(-1);
}

Record lerPedido(Store& store, int id) {
    Table t(store, "pedidos");
    t.open();
    t.clear();
    t.rec().setInteger("ID", id);
    if (t.get("KEYID") != Status::Ok)
        t.clear();
    return t.rec();
}

// A workstation of salesperson 5 of company `empresa`, pointing at the test server, with what the
// upload reads locally: the salesperson, customers 1, 2 and 4 with their towns, the company, a payment
// form, the order types, price list 1 and the products 1001 to 1004 as the server knows them, and
// 2001, a colour variation of 1001 that the server does not know.
void prepararEstacao(Store& store, const ServidorTeste& s, const QString& ponto = QStringLiteral("A"),
                     int empresa = 1, const QString& senha = QStringLiteral("abc123")) {
    adicionar(store, "qavcfg", [&](Record& r) {
        r.setInteger("ID_EMPRESA", empresa);
        r.setText("BD_NOME", s.database());
        r.setText("BD_HOST", s.host());
        r.setInteger("BD_PORTA", s.port());
        r.setText("BD_USUARIO", s.passwordUser());
        r.setText("BD_SENHA", s.password());
        r.setInteger("COD_VENDEDOR", 5);
        r.setText("SENHA_VENDEDOR", senha);
        r.setText("PONTO_INSTALACAO", ponto);
        r.setDate("DT_ULT_COM", Date::fromYmd(2026, 12, 1));
    });
    adicionar(store, "vendedor", [&](Record& r) {
        r.setInteger("ID_VENDEDOR", empresa == 1 ? 10 : 13);
        r.setInteger("ID_EMPRESA", empresa);
        r.setInteger("CODIGO", 5);
        r.setText("FORMA_PAG", QStringLiteral("F"));
        r.setText("BC_COMISSAO", QStringLiteral("PADRAO"));
    });
    for (const auto& [id, nome, uf] : {std::tuple{1, "Florianópolis", "SC"}, std::tuple{4, "Curitiba", "PR"},
                                       std::tuple{5, "Herval d'Oeste", "SC"}})
        adicionar(store, "municip", [&](Record& r) {
            r.setInteger("ID", id);
            r.setText("NOME", QString::fromUtf8(nome));
            r.setText("ESTADO", QString::fromLatin1(uf));
        });
    adicionar(store, "clientes", [](Record& r) {
        r.setInteger("ID", 1);
        r.setText("RAZAO", QStringLiteral("Comércio de Ferragens São João Ltda"));
        r.setInteger("ID_MUNICIPIO", 1);
    });
    adicionar(store, "clientes", [](Record& r) {
        r.setInteger("ID", 2);
        r.setText("RAZAO", QStringLiteral("Vidraçaria D'Ávila \\ Filhos Ltda"));
        r.setInteger("ID_MUNICIPIO", 5);
        r.setInteger("COD_TES", 5910);
        r.setText("REGRA_EXCLUSIVA", QStringLiteral("FATBARRA"));
        r.setInteger("ID_TRANSPORTADOR", 7);
    });
    adicionar(store, "clientes", [](Record& r) {
        r.setInteger("ID", 4);
        r.setText("RAZAO", QStringLiteral("Carlos Eduardo Müller"));
        r.setInteger("ID_MUNICIPIO", 4);
        r.setInteger("CONSFINAL", 1);
    });
    adicionar(store, "empresa", [&](Record& r) {
        r.setInteger("ID_EMPRESA", empresa);
        r.setInteger("ID_PORTADOR_PADRAO", 3);
    });
    adicionar(store, "formapag", [&](Record& r) {
        r.setInteger("ID_FORMAPAG", 20000 + empresa);
        r.setInteger("ID_EMPRESA", empresa);
        r.setInteger("CODIGO", 2);
        r.setInteger("ID_PORTADOR", 8);
    });
    for (const auto& [id, tes, tesNc] : {std::tuple{1, 5101, 5102}, std::tuple{2, 5910, 5910}})
        adicionar(store, "qavtipoped", [&](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("ID_EMPRESA", empresa);
            r.setInteger("COD_TES", tes);
            r.setInteger("COD_TES_NC", tesNc);
            r.setInteger("ID_ESTLOCAL", 1);
        });
    adicionar(store, "pauta", [&](Record& r) {
        r.setInteger("ID", 10000 + empresa);
        r.setInteger("ID_EMPRESA", empresa);
        r.setInteger("CODIGO", 1);
        r.setText("BC_COMISSAO", QStringLiteral("PADRAO"));
    });
    struct Produto {
        int id, subcategoria, codSt, vinculado;
        const char* unidade;
    };
    for (const Produto& p :
         {Produto{1001, 103, 60, 0, "BR"}, Produto{1002, 0, 10, 0, "PC"}, Produto{1003, 103, 60, 1001, "BR"},
          Produto{1004, 0, 0, 0, "UN"}, Produto{2001, 0, 0, 1001, "PC"}})
        adicionar(store, "produto", [&](Record& r) {
            r.setInteger("ID", p.id);
            r.setInteger("ID_EMPRESA", empresa);
            r.setText("CODIGO", QStringLiteral("P-%1").arg(p.id));
            r.setText("UNIDA", QString::fromLatin1(p.unidade));
            r.setInteger("SUBCATEGORIA", p.subcategoria);
            r.setInteger("COD_ST", p.codSt);
            r.setInteger("ID_PRODVINC", p.vinculado);
            r.setDecimal("PESO_METRO", Decimal::parse("0.308").value());
        });
}

struct NovoPedido {
    int id = 1;
    int numer = 41;
    int cliente = 1;
    int empresa = 1;
    int situa = 2;
    int tipo = 1;
};

void pedido(Store& store, const NovoPedido& p, const Preencher& mais = {}) {
    adicionar(store, "pedidos", [&](Record& r) {
        r.setInteger("ID", p.id);
        r.setInteger("ID_EMPRESA", p.empresa);
        r.setInteger("COD_VENDEDOR", 5);
        r.setInteger("NUMER", p.numer);
        r.setInteger("SITUA", p.situa);
        r.setInteger("DATA", Date::fromYmd(2026, 12, 7).dayNumber());
        r.setInteger("CLIEN", p.cliente);
        r.setInteger("TIPOV", p.tipo);
        r.setInteger("COD_FORMAPAG", 2);
        r.setInteger("COD_PAUTA", 1);
        r.setInteger("FCONTA", 2);
        r.setReal("TOTPR", 255.0);
        r.setReal("IPI", 12.75);
        r.setReal("TOTAL", 267.75);
        r.setReal("COMIS", 3.0);
        if (mais)
            mais(r);
    });
}

// One unit line of product `produto` at 25.50 (the list price), 10 units, 3 % commission.
void item(Store& store, int idItem, int idPedido, int produto, const Preencher& mais = {}) {
    adicionar(store, "peditens", [&](Record& r) {
        r.setInteger("ID_VENDASI", idItem);
        r.setInteger("ID_VENDA", idPedido);
        r.setInteger("PRODU", produto);
        r.setDecimal("QTD", Decimal(10));
        r.setDecimal("PRUNI", Decimal::parse("25.5").value());
        r.setDecimal("PRECO_PAUTA", Decimal::parse("25.5").value());
        r.setDecimal("TOTAL", Decimal(255));
        r.setDecimal("VL_IPI", Decimal::parse("12.75").value());
        r.setDecimal("COMIS", Decimal(3));
        r.setInteger("COMPRIMENTO", 6000);
        r.setInteger("QTD_PECAS", 4);
        if (mais)
            mais(r);
    });
}

Desfecho rodar(Store& store, OuvinteComunicacao& ouvinte, int empresa = 1) {
    PedidoComunicacao pedido;
    pedido.idEmpresa = empresa;
    pedido.tipo = TipoComunicacao::SomentePedidos;
    pedido.confirmado = true;
    return comunicar(store, ouvinte, pedido, passosPadrao());
}

QString numped(ServidorTeste& s, int empresa = 1) {
    return s.valor(
        QStringLiteral("SELECT numped_gestao FROM gestao.qavcfg WHERE id_empresa=%1").arg(empresa));
}

// A column of the server's header of the workstation order `numer` (installation A).
QString cabecalho(ServidorTeste& s, const QString& coluna, int numer = 41) {
    return s.valor(QStringLiteral("SELECT %1 FROM zor.pedidos WHERE num_ped_qav='000005.A.%2'")
                       .arg(coluna)
                       .arg(numer, 8, 10, QLatin1Char('0')));
}

QString itemServidor(ServidorTeste& s, const QString& coluna, int numer = 41, int ordem = 1) {
    return s.valor(QStringLiteral("SELECT i.%1 FROM zor.peditens i JOIN zor.pedidos p USING (id_pedido) "
                                  "WHERE p.num_ped_qav='000005.A.%2' AND i.ordem=%3")
                       .arg(coluna)
                       .arg(numer, 8, 10, QLatin1Char('0'))
                       .arg(ordem));
}

// What the server's item row holds, column by column, as the server writes it; unless a case says
// otherwise, 10 units at 25.50 without IPI in the price, 15 wide, not a variation.
struct ItemServidor {
    const char* produ = "";
    const char* qtd = "10.0000";
    const char* unidade = "";
    const char* undEstoque = "";
    const char* pruni = "25.5000";
    const char* precoIpi = "0.0000";
    const char* largura = "15.00";
    const char* altura = "0.00";
    const char* idVarprod = "0";
    const char* idSt = "";
};

// An item of order 41 of `cliente`, of order type `tipo`, and what the server receives of it.
struct CasoItem {
    int cliente = 1;
    int produto = 0;
    int tipo = 1;
    int comprimento = 0;
    bool precoComIpi = false;
    ItemServidor servidor{};
};

// The commission groups of the item's price, of the price list and of the salesperson, how the
// salesperson is paid, the price's divisor, the item's values, and the commission the server keeps.
struct CasoComissao {
    const char* grupoPreco = "";
    const char* grupoPauta = "";
    const char* grupoVendedor = "";
    int origemCom = 0;
    const char* divisor = "0";
    const char* pruni = "0";
    const char* precoPauta = "0";
    const char* descv = "0";
    const char* qtd = "10";
    const char* comissao = "";
};

} // namespace

Q_DECLARE_METATYPE(CasoItem)
Q_DECLARE_METATYPE(CasoComissao)

class TestEnvioPedidos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
    }
    void cleanupTestCase() { Clock::setOverride({}); }

    // The released orders of the active company go, in their order, each under the next free number;
    // pending orders and another company's released order stay as they are. The header carries the
    // order as the workstation holds it; the log gets one row per order; the run counts them.
    void releasedOrdersOfTheCompanyGo() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        pedido(store, {.id = 1, .numer = 41}, [](Record& r) { r.setInteger("FCONTA", 1); });
        item(store, 11, 1, 1002, [](Record& r) { r.setInteger("STATUS", 1); });
        item(store, 12, 1, 1004);
        adicionar(store, "pedacess", [](Record& r) {
            r.setInteger("ID_VENDASI", 11);
            r.setInteger("ID_ACESSORIO", 4);
            r.setDecimal("VALOR", Decimal::parse("3.5").value());
        });
        pedido(store, {.id = 2, .numer = 42, .cliente = 2, .tipo = 0});
        item(store, 21, 2, 1004);
        pedido(store, {.id = 3, .numer = 43, .situa = 1});
        item(store, 31, 3, 1004);
        pedido(store, {.id = 4, .numer = 44, .empresa = 2});
        item(store, 41, 4, 1004);

        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte).resultado, ResultadoComunicacao::Sucesso);
        QVERIFY2(ouvinte.registros.contains(QStringLiteral("Transferindo Pedido # 41...")),
                 qPrintable(ouvinte.tudo()));

        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 3);
        QCOMPARE(lerPedido(store, 1).integer("NUM_ERP"), 103);
        QCOMPARE(lerPedido(store, 2).integer("SITUA"), 3);
        QCOMPARE(lerPedido(store, 2).integer("NUM_ERP"), 105);
        QCOMPARE(lerPedido(store, 3).integer("SITUA"), 1);
        QCOMPARE(lerPedido(store, 4).integer("SITUA"), 2);
        QCOMPARE(lerPedido(store, 4).integer("NUM_ERP"), 0);
        QCOMPARE(numped(servidor), QStringLiteral("105"));
        QCOMPARE(servidor.valor(QStringLiteral(
                     "SELECT count(*) FROM zor.pedidos WHERE num_ped_qav LIKE '%.A.0000004%'")),
                 QStringLiteral("2"));

        const auto h = servidor.linhas(QStringLiteral(
            "SELECT id_empresa, cod_vendedor, tipo, numero, situa, data, clien, fconta, com_fat, com_rec, "
            "id_portador, num_ped_vendedor, cod_vend2, tx_com_vend2, tp_pg_com_vend2, cod_pauta, id_tes, "
            "inf_usuario, transp, id_local, totpr, total FROM zor.pedidos WHERE "
            "num_ped_qav='000005.A.00000041'"));
        QCOMPARE(h.size(), size_t(1));
        QCOMPARE(h[0], (QStringList{QStringLiteral("1"),
                                    QStringLiteral("5"),
                                    QStringLiteral("P"),
                                    QStringLiteral("103"),
                                    QStringLiteral("91"),
                                    QStringLiteral("2026-12-08"),
                                    QStringLiteral("1"),
                                    QStringLiteral("3"),
                                    QStringLiteral("3.00"),
                                    QStringLiteral("0.00"),
                                    QStringLiteral("8"),
                                    QStringLiteral("00000041/QAV+"),
                                    QString(),
                                    QStringLiteral("0.00"),
                                    QString(),
                                    QStringLiteral("1"),
                                    QStringLiteral("1"),
                                    QStringLiteral("1"),
                                    QString(),
                                    QStringLiteral("1"),
                                    QStringLiteral("255.00"),
                                    QStringLiteral("267.75")}));
        // Blank texts are absent, not empty.
        QVERIFY(cabecalho(servidor, QStringLiteral("e_ender")).isNull());
        QVERIFY(cabecalho(servidor, QStringLiteral("obs_entrega")).isNull());
        // Customer 2 under no order type: its own operation 5910, its carrier, and salesperson 6 paid on
        // receipt.
        QCOMPARE(cabecalho(servidor, QStringLiteral("fconta"), 42), QStringLiteral("2"));
        QCOMPARE(cabecalho(servidor, QStringLiteral("id_tes"), 42), QStringLiteral("9"));
        QCOMPARE(cabecalho(servidor, QStringLiteral("transp"), 42), QStringLiteral("7"));
        QCOMPARE(cabecalho(servidor,
                           QStringLiteral("cod_vend2 || '/' || tx_com_vend2 || '/' || tp_pg_com_vend2"), 42),
                 QStringLiteral("6/2.50/R"));

        const auto itens = servidor.linhas(QStringLiteral(
            "SELECT i.ordem, i.produ, i.unidade, i.und_estoque, i.status, i.id_st, a.id_acessorio, a.valor "
            "FROM zor.peditens i JOIN zor.pedidos p USING (id_pedido) LEFT JOIN zor.pedacessorio a USING "
            "(id_peditem) WHERE p.numero=103 ORDER BY i.ordem"));
        QCOMPARE(itens.size(), size_t(2));
        QCOMPARE(itens[0], (QStringList{QStringLiteral("1"), QStringLiteral("1002"), QStringLiteral("PC"),
                                        QStringLiteral("PC"), QStringLiteral("1"), QStringLiteral("2"),
                                        QStringLiteral("4"), QStringLiteral("3.50")}));
        QCOMPARE(itens[1], (QStringList{QStringLiteral("2"), QStringLiteral("1004"), QStringLiteral("UN"),
                                        QStringLiteral("UN"), QStringLiteral("0"), QStringLiteral("3"),
                                        QString(), QString()}));

        const auto log = servidor.linhas(QStringLiteral(
            "SELECT l.descricao, l.id_empresa FROM gestao.log l JOIN zor.pedidos p ON p.id_pedido=l.id "
            "WHERE l.operacao='INC' AND l.tabela='pedido' ORDER BY p.numero"));
        QCOMPARE(log.size(), size_t(2));
        QCOMPARE(log[0], (QStringList{QStringLiteral("103/QAV+ 2026.186/Flex: 0/0.00/1250.75/Dt:07/12/2026"),
                                      QStringLiteral("1")}));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.log WHERE descricao LIKE "
                                               "'Sucesso - Somente Pedidos/2 Pedido(s)/%'")),
                 QStringLiteral("1"));
    }

    // The next free number: the last one handed out plus one, passing over those the back office took,
    // read in batches of 100; a company without numbering stops the run with nothing sent.
    void numbering_data() {
        QTest::addColumn<QString>("servidorSql");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("free gap at 103") << QString() << 103 << QString();
        QTest::newRow("a hundred taken in a row")
            << QStringLiteral("INSERT INTO zor.pedidos (id_empresa, tipo, numero) SELECT 1, 'P', n FROM "
                              "generate_series(103, 205) n WHERE n <> 104")
            << 206 << QString();
        QTest::newRow("other kinds and companies do not count")
            << QStringLiteral(
                   "INSERT INTO zor.pedidos (id_empresa, tipo, numero) VALUES (1, 'E', 103), (2, 'P', 103)")
            << 103 << QString();
        QTest::newRow("numbering not set up")
            << QStringLiteral("UPDATE gestao.qavcfg SET numped_gestao=NULL WHERE id_empresa=1") << 0
            << QStringLiteral(
                   "Aviso: Falta definir número do pedido para comunicação no cadastro de empresas (ERP)!");
        QTest::newRow("no settings row on the server")
            << QStringLiteral("DELETE FROM gestao.qavcfg WHERE id_empresa=1") << 0 << QString();
    }

    void numbering() {
        QFETCH(QString, servidorSql);
        QFETCH(int, numero);
        QFETCH(QString, mensagem);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        if (!servidorSql.isEmpty())
            servidor.executar(servidorSql);
        const QString antes = numped(servidor);
        test::TempDataFolder pasta;
        prepararEstacao(pasta.store(), servidor);
        pedido(pasta.store(), {});
        item(pasta.store(), 11, 1, 1004);
        Ouvinte ouvinte;
        const auto resultado = rodar(pasta.store(), ouvinte).resultado;
        QCOMPARE(resultado == ResultadoComunicacao::Sucesso, numero != 0);
        QCOMPARE(lerPedido(pasta.store(), 1).integer("NUM_ERP"), numero);
        if (numero != 0) {
            QCOMPARE(cabecalho(servidor, QStringLiteral("numero")), QString::number(numero));
            QCOMPARE(numped(servidor), QString::number(numero));
        } else {
            QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)")), QStringLiteral("0"));
            QCOMPARE(numped(servidor), antes);
            QCOMPARE(lerPedido(pasta.store(), 1).integer("SITUA"), 2);
        }
        if (!mensagem.isEmpty())
            QVERIFY2(ouvinte.mensagens.contains(mensagem), qPrintable(ouvinte.tudo()));
    }

    // Every text of the header and of the items arrives as typed (quotes, backslashes, ";", accents),
    // whether the server reads backslashes in literals as escapes or not; carriage returns are left out.
    void textsArriveUnchanged_data() {
        QTest::addColumn<bool>("padrao");
        QTest::newRow("standard strings") << true;
        QTest::newRow("backslash escapes") << false;
    }

    void textsArriveUnchanged() {
        QFETCH(bool, padrao);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(
            QStringLiteral("ALTER DATABASE \"%1\" SET standard_conforming_strings = %2")
                .arg(servidor.database(), padrao ? QStringLiteral("on") : QStringLiteral("off")));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        const QString aspas = QStringLiteral("D'Ávila \\ Filhos; -- ção \\' \"x\"");
        const std::vector<std::pair<const char*, QString>> campos{
            {"E_ENDER", QStringLiteral("Rua d'Água \\ nº 5; fundos")},
            {"E_NUMERO", QStringLiteral("12\\A'")},
            {"E_BAIRR", QStringLiteral("São José; 'Centro'")},
            {"E_MUNIC", QStringLiteral("Herval d'Oeste \\")},
            {"E_ESTAD", QStringLiteral("S'")},
            {"E_CEP", QStringLiteral("89600-\\0'")},
            {"CONTA", QStringLiteral("Sr. O'Neil \\ Ávila")},
            {"OBS", aspas},
            {"NUM_OC", QStringLiteral("OC-1'\\;ã")},
            {"OBS_ENTREGA", QStringLiteral("Portão 2; 'fundos' \\ após às 14h\r\nLigar antes")},
        };
        pedido(store, {}, [&](Record& r) {
            for (const auto& [campo, valor] : campos)
                r.setText(campo, valor);
        });
        item(store, 11, 1, 1004, [&](Record& r) {
            r.setText("OBS", aspas);
            r.setText("NUM_OC", QStringLiteral("OC\\'7;é"));
        });
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        for (const auto& [campo, valor] : campos) {
            QString esperado = valor;
            esperado.remove(QLatin1Char('\r'));
            const QString coluna = QString::fromLatin1(campo).toLower();
            QCOMPARE(cabecalho(servidor, coluna == QStringLiteral("e_numero")
                                             ? QStringLiteral("e_num_endereco")
                                             : coluna),
                     esperado);
        }
        QCOMPARE(itemServidor(servidor, QStringLiteral("obs")), aspas);
        QCOMPARE(itemServidor(servidor, QStringLiteral("num_oc")), QStringLiteral("OC\\'7;é"));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 3);
    }

    // How an item goes: a colour variation as the product it varies, with the ERP's measures of the
    // variation when it knows them; a bar with its length in the stock unit, sold by the bar's weight
    // to a customer invoiced by the bar; the price with IPI in its own column; the tax situation that
    // the bonus operation puts in place of the product's.
    void items_data() {
        QTest::addColumn<CasoItem>("caso");
        QTest::newRow("variation the server measures") << CasoItem{.produto = 1003,
                                                                   .comprimento = 6000,
                                                                   .servidor = {.produ = "1001",
                                                                                .unidade = "BR",
                                                                                .undEstoque = "BR6000",
                                                                                .largura = "30.00",
                                                                                .altura = "20.00",
                                                                                .idVarprod = "1003",
                                                                                .idSt = "1"}};
        QTest::newRow("variation the server does not know") << CasoItem{
            .produto = 2001, .servidor = {.produ = "1001", .unidade = "PC", .undEstoque = "PC", .idSt = "3"}};
        QTest::newRow("bar") << CasoItem{
            .produto = 1001,
            .comprimento = 6000,
            .servidor = {.produ = "1001", .unidade = "BR", .undEstoque = "BR6000", .idSt = "1"}};
        QTest::newRow("bar invoiced by the bar") << CasoItem{.cliente = 2,
                                                             .produto = 1001,
                                                             .comprimento = 6000,
                                                             .servidor = {.produ = "1001",
                                                                          .qtd = "4.0000",
                                                                          .unidade = "BR6000",
                                                                          .undEstoque = "BR6000",
                                                                          .pruni = "47.1240",
                                                                          .idSt = "1"}};
        QTest::newRow("bar of five-digit length")
            << CasoItem{.produto = 1001,
                        .comprimento = 12000,
                        .servidor = {.produ = "1001", .unidade = "BR", .undEstoque = "B12000", .idSt = "1"}};
        QTest::newRow("price with IPI") << CasoItem{.produto = 1002,
                                                    .precoComIpi = true,
                                                    .servidor = {.produ = "1002",
                                                                 .unidade = "PC",
                                                                 .undEstoque = "PC",
                                                                 .pruni = "0.0000",
                                                                 .precoIpi = "25.5000",
                                                                 .idSt = "2"}};
        QTest::newRow("bonus operation replaces the situation")
            << CasoItem{.produto = 1001,
                        .tipo = 2,
                        .comprimento = 6000,
                        .servidor = {.produ = "1001", .unidade = "BR", .undEstoque = "BR6000", .idSt = "2"}};
        QTest::newRow("bonus operation without a rule for the situation")
            << CasoItem{.produto = 1002,
                        .tipo = 2,
                        .servidor = {.produ = "1002", .unidade = "PC", .undEstoque = "PC", .idSt = "2"}};
    }

    void items() {
        QFETCH(CasoItem, caso);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        pedido(store, {.cliente = caso.cliente, .tipo = caso.tipo});
        item(store, 11, 1, caso.produto, [&](Record& r) {
            r.setInteger("COMPRIMENTO", caso.comprimento);
            r.setInteger("PRECO_COM_IPI", caso.precoComIpi ? 1 : 0);
            r.setDecimal("LARGURA", Decimal(15));
        });
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        // Each column named in both lists, so that a failure says which one differs.
        const ItemServidor& e = caso.servidor;
        const std::pair<const char*, const char*> colunas[] = {
            {"produ", e.produ},          {"qtd", e.qtd},
            {"unidade", e.unidade},      {"und_estoque", e.undEstoque},
            {"pruni", e.pruni},          {"preco_ipi", e.precoIpi},
            {"largura", e.largura},      {"altura", e.altura},
            {"id_varprod", e.idVarprod}, {"id_st", e.idSt}};
        QStringList linha, esperado;
        for (const auto& [coluna, valor] : colunas) {
            const QString nome = QString::fromLatin1(coluna);
            linha << nome + u'=' + itemServidor(servidor, nome);
            esperado << nome + u'=' + QString::fromLatin1(valor);
        }
        QCOMPARE(linha, esperado);
        // The workstation's item keeps its own values.
        Table itens(store, "peditens");
        QVERIFY(itens.open());
        itens.clear();
        itens.rec().setInteger("ID_VENDASI", 11);
        QCOMPARE(itens.get("KEYID_VENDASI"), Status::Ok);
        QCOMPARE(itens.rec().integer("ID_VARPROD"), 0);
        QCOMPARE(itens.rec().integer("PRODU"), caso.produto);
    }

    // The commission of an item: scaled by the band its price reached against the list price (the
    // group of the price, else of the list, else of the salesperson), 100 % when no band matches; the
    // priced rate for a price paid by divisor or without a list price; none for a salesperson paid by
    // origin without a group. The item's rate is 3 %, its total 200.00.
    void commission_data() {
        QTest::addColumn<CasoComissao>("caso");
        QTest::newRow("at the list price") << CasoComissao{
            .grupoPauta = "PADRAO", .pruni = "25.5", .precoPauta = "25.5", .comissao = "3.00"};
        QTest::newRow("band of 90 %")
            << CasoComissao{.grupoPauta = "PADRAO", .pruni = "24", .precoPauta = "25.5", .comissao = "2.40"};
        QTest::newRow("discount in value: total over quantity") << CasoComissao{
            .grupoPauta = "PADRAO", .pruni = "25.5", .precoPauta = "25.5", .descv = "55", .comissao = "1.50"};
        QTest::newRow("discount in value, no quantity") << CasoComissao{.grupoPauta = "PADRAO",
                                                                        .pruni = "25.5",
                                                                        .precoPauta = "25.5",
                                                                        .descv = "55",
                                                                        .qtd = "0",
                                                                        .comissao = "1.50"};
        QTest::newRow("salesperson's group") << CasoComissao{
            .grupoVendedor = "PADRAO", .pruni = "24", .precoPauta = "25.5", .comissao = "2.40"};
        QTest::newRow("no band matches") << CasoComissao{.grupoPreco = "ESPECIAL",
                                                         .grupoPauta = "PADRAO",
                                                         .pruni = "10",
                                                         .precoPauta = "25.5",
                                                         .comissao = "3.00"};
        QTest::newRow("paid by divisor") << CasoComissao{
            .grupoPauta = "PADRAO", .divisor = "1", .pruni = "10", .precoPauta = "25.5", .comissao = "3.00"};
        QTest::newRow("no list price")
            << CasoComissao{.grupoPauta = "PADRAO", .pruni = "10", .precoPauta = "0", .comissao = "3.00"};
        QTest::newRow("no group, by origin")
            << CasoComissao{.origemCom = 1, .pruni = "10", .precoPauta = "25.5", .comissao = "0.00"};
        QTest::newRow("no group") << CasoComissao{.pruni = "10", .precoPauta = "25.5", .comissao = "3.00"};
    }

    void commission() {
        QFETCH(CasoComissao, caso);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        const auto dec = [](const char* v) { return Decimal::parse(v).value(); };
        alterar(store, "pauta", "ID = 10001",
                [&](Record& r) { r.setText("BC_COMISSAO", QString::fromLatin1(caso.grupoPauta)); });
        alterar(store, "vendedor", "CODIGO = 5", [&](Record& r) {
            r.setText("BC_COMISSAO", QString::fromLatin1(caso.grupoVendedor));
            r.setInteger("ORIGEM_COM", caso.origemCom);
        });
        adicionar(store, "pauxpro", [&](Record& r) {
            r.setInteger("ID_PAUTA", 10001);
            r.setInteger("ID_PROD", 1004);
            r.setText("BC_COMISSAO", QString::fromLatin1(caso.grupoPreco));
            r.setDecimal("DIVISOR", dec(caso.divisor));
            r.setDecimal("TX_COMISSAO", Decimal(2));
        });
        pedido(store, {});
        item(store, 11, 1, 1004, [&](Record& r) {
            r.setDecimal("PRUNI", dec(caso.pruni));
            r.setDecimal("PRECO_PAUTA", dec(caso.precoPauta));
            r.setDecimal("DESCV", dec(caso.descv));
            r.setDecimal("QTD", dec(caso.qtd));
            r.setDecimal("TOTAL", Decimal(200));
        });
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(itemServidor(servidor, QStringLiteral("comis")), QString::fromLatin1(caso.comissao));
    }

    // The customer's second salesperson is looked up among the salespeople of the head company, not of
    // company 1: company 3 has its own salesperson 5.
    void secondSalespersonOfTheHeadCompany() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral("UPDATE zor.corrent SET cod_vendedor2=5 WHERE id_corrent=1;"
                                         "UPDATE gestao.qavcfg SET numped_gestao=300 WHERE id_empresa=3"));
        test::TempDataFolder pasta;
        prepararEstacao(pasta.store(), servidor, QStringLiteral("A"), 3, QStringLiteral("def321"));
        pedido(pasta.store(), {.empresa = 3});
        item(pasta.store(), 11, 1, 1004);
        Ouvinte ouvinte;
        QVERIFY2(rodar(pasta.store(), ouvinte, 3).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(
            cabecalho(servidor, QStringLiteral("numero || '/' || cod_vend2 || '/' || tx_com_vend2 || '/' || "
                                               "tp_pg_com_vend2")),
            QStringLiteral("301/5/4.00/F"));
    }

    // A previous run committed order 41 on the server and lost its own commit; it had recorded the order
    // in transit (with the customer it created) before the server's commit. The order is only marked
    // transmitted under the server's number and its customer takes the server's id here. Order 42 was
    // recorded too, but its server transaction never committed: it goes as usual. Order 43 carries no
    // record; that the server holds an order under its workstation number (another notebook of the
    // same salesperson) does not stop it. Every record is gone afterwards.
    void orderRecordedInTransitIsOnlyMarked() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral(
            "INSERT INTO zor.corrent (id_corrent, ativo, pesso, cgcpf, razao) VALUES "
            "(7, 9, 1, '44.555.666/0001-81', 'Cliente Novo Ltda');"
            "INSERT INTO zor.pedidos (id_empresa, tipo, numero, clien, cod_vendedor, num_ped_qav) VALUES "
            "(1, 'P', 150, 7, 5, '000005.A.00000041'), (1, 'P', 160, 1, 5, '000005.A.00000043')"));
        const long long idServidor =
            servidor.valor(QStringLiteral("SELECT id_pedido FROM zor.pedidos WHERE numero=150")).toLongLong();
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        adicionar(store, "clientes", [](Record& r) {
            r.setInteger("ID", 900001);
            r.setInteger("PESSO", 1);
            r.setText("CGCPF", QStringLiteral("44.555.666/0001-81"));
            r.setInteger("ID_MUNICIPIO", 1);
        });
        pedido(store, {.id = 1, .numer = 41, .cliente = 900001});
        item(store, 11, 1, 1004);
        pedido(store, {.id = 2, .numer = 42});
        item(store, 21, 2, 1004);
        pedido(store, {.id = 3, .numer = 43});
        item(store, 31, 3, 1004);
        {
            RegistrosTransito transito(store);
            QVERIFY(transito.abrir());
            RegistroTransito enviado;
            enviado.idEmpresa = 1;
            enviado.idPedido = 1;
            enviado.numer = 41;
            enviado.numErp = 150;
            enviado.idPedidoServidor = idServidor;
            enviado.numPedQav = QStringLiteral("000005.A.00000041");
            enviado.idCliente = 900001;
            enviado.idClienteServidor = 7;
            RegistroTransito desfeito = enviado;
            desfeito.idPedido = 2;
            desfeito.numer = 42;
            desfeito.numErp = 103;
            desfeito.idPedidoServidor = idServidor + 100;
            desfeito.numPedQav = QStringLiteral("000005.A.00000042");
            desfeito.idCliente = 0;
            desfeito.idClienteServidor = 0;
            QVERIFY(transito.gravar(enviado));
            QVERIFY(transito.gravar(desfeito));
        }
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 3);
        QCOMPARE(lerPedido(store, 1).integer("NUM_ERP"), 150);
        QCOMPARE(lerPedido(store, 1).integer("CLIEN"), 7);
        QCOMPARE(lerPedido(store, 2).integer("NUM_ERP"), 103);
        QCOMPARE(lerPedido(store, 3).integer("NUM_ERP"), 105);
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)"), 41), QStringLiteral("1"));
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)"), 43), QStringLiteral("2"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM zor.peditens i JOIN zor.pedidos p USING "
                                               "(id_pedido) WHERE p.numero IN (150, 160)")),
                 QStringLiteral("0"));
        QCOMPARE(servidor.valor(
                     QStringLiteral("SELECT count(*) FROM zor.corrent WHERE cgcpf='44.555.666/0001-81'")),
                 QStringLiteral("1"));
        Table clientes(store, "clientes");
        QVERIFY(clientes.open());
        clientes.clear();
        clientes.rec().setInteger("ID", 900001);
        QCOMPARE(clientes.get("KEYID"), Status::NotFound);
        clientes.rec().setInteger("ID", 7);
        QCOMPARE(clientes.get("KEYID"), Status::Ok);
        QCOMPARE(numped(servidor), QStringLiteral("105"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.log WHERE descricao LIKE "
                                               "'Sucesso - Somente Pedidos/3 Pedido(s)/%'")),
                 QStringLiteral("1"));
        QVERIFY2(ouvinte.registros.contains(
                     QStringLiteral("Pedido # 41 já recebido pelo servidor com o número 150...")),
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(contar(store, "qavtrans"), qint64(0));
    }

    // A reinstalled or second notebook of the same salesperson numbers its orders from 1 again under
    // the same installation point: its orders 1 to 3 are orders of their own, sent beside the first
    // notebook's, each transmitted under the number the server gave it.
    void twoDataFoldersOfOneSalesperson() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pastaA, pastaB;
        for (test::TempDataFolder* pasta : {&pastaA, &pastaB}) {
            prepararEstacao(pasta->store(), servidor);
            for (int n = 1; n <= 3; ++n) {
                pedido(pasta->store(), {.id = n, .numer = n}, [&](Record& r) {
                    r.setText("OBS", QStringLiteral("%1 %2")
                                         .arg(pasta == &pastaA ? QStringLiteral("A") : QStringLiteral("B"))
                                         .arg(n));
                });
                item(pasta->store(), 10 + n, n, 1004);
            }
        }
        for (test::TempDataFolder* pasta : {&pastaA, &pastaB}) {
            Ouvinte ouvinte;
            QVERIFY2(rodar(pasta->store(), ouvinte).resultado == ResultadoComunicacao::Sucesso,
                     qPrintable(ouvinte.tudo()));
        }
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM zor.pedidos WHERE num_ped_qav LIKE "
                                               "'000005.A.0000000_' AND obs IN ('A 1', 'A 2', 'A 3', 'B 1', "
                                               "'B 2', 'B 3')")),
                 QStringLiteral("6"));
        QSet<long long> numeros;
        for (test::TempDataFolder* pasta : {&pastaA, &pastaB})
            for (int n = 1; n <= 3; ++n) {
                const Record r = lerPedido(pasta->store(), n);
                QCOMPARE(r.integer("SITUA"), 3);
                numeros.insert(r.integer("NUM_ERP"));
                QCOMPARE(
                    servidor.valor(QStringLiteral("SELECT obs FROM zor.pedidos WHERE tipo='P' AND numero=%1")
                                       .arg(r.integer("NUM_ERP"))),
                    QStringLiteral("%1 %2")
                        .arg(pasta == &pastaA ? QStringLiteral("A") : QStringLiteral("B"))
                        .arg(n));
                QCOMPARE(
                    servidor.valor(QStringLiteral("SELECT count(*) FROM zor.peditens i JOIN zor.pedidos p "
                                                  "USING (id_pedido) WHERE p.tipo='P' AND p.numero=%1")
                                       .arg(r.integer("NUM_ERP"))),
                    QStringLiteral("1"));
            }
        QCOMPARE(numeros.size(), 6);
    }

    // A customer abroad shares its placeholder document with others: a new one is created on the
    // server beside the one already there with that document and a blank suffix, and its order is
    // filed under the new one.
    void customerAbroadIsCreatedAnew() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral(
            "INSERT INTO zor.corrent (id_corrent, ativo, pesso, cgcpf, suf_cgcpf, razao) VALUES "
            "(10, 1, 3, '00.000.000/0000-00', NULL, 'Importadora del Plata')"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        adicionar(store, "clientes", [](Record& r) {
            r.setInteger("ID", 900001);
            r.setInteger("PESSO", 3);
            r.setText("CGCPF", QStringLiteral("00.000.000/0000-00"));
            r.setText("RAZAO", QStringLiteral("Comercial Andina SA"));
            r.setInteger("ID_MUNICIPIO", 1);
        });
        pedido(store, {.id = 1, .numer = 41, .cliente = 900001});
        item(store, 11, 1, 1004);
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(
            servidor.linhas(QStringLiteral("SELECT id_corrent, razao, suf_cgcpf IS NULL FROM zor.corrent "
                                           "WHERE cgcpf='00.000.000/0000-00' ORDER BY id_corrent")),
            (std::vector<QStringList>{
                {QStringLiteral("10"), QStringLiteral("Importadora del Plata"), QStringLiteral("t")},
                {QStringLiteral("11"), QStringLiteral("Comercial Andina SA"), QStringLiteral("t")}}));
        QCOMPARE(cabecalho(servidor, QStringLiteral("clien")), QStringLiteral("11"));
        QCOMPARE(lerPedido(store, 1).integer("CLIEN"), 11);
    }

    // The server answers the commit with ROLLBACK when its transaction had already failed (here a
    // statement slipped in just before the commit fails, as one whose failure went unnoticed would):
    // nothing of the order is on the server, so it is not transmitted here either; it stays released,
    // nothing is left in transit, and the next run sends it.
    void commitAnsweredWithRollbackLeavesOrderReleased() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        pedido(store, {.id = 1, .numer = 41});
        item(store, 11, 1, 1004);
        PassosComunicacao passos = passosPadrao();
        bool falhou = false;
        passos.envioPedidosZor = [&falhou](ContextoComunicacao& c) {
            c.conexao.aoComando([&c, &falhou](const QString& comando) {
                if (comando == QLatin1String("commit;") && !falhou) {
                    falhou = true;
                    c.conexao.executar(QStringLiteral("SELECT 1/0;"));
                }
            });
            const bool ok = enviarPedidosZor(c);
            c.conexao.aoComando({});
            return ok;
        };
        PedidoComunicacao pedidoCom;
        pedidoCom.idEmpresa = 1;
        pedidoCom.tipo = TipoComunicacao::SomentePedidos;
        pedidoCom.confirmado = true;
        Ouvinte ouvinte;
        QCOMPARE(comunicar(store, ouvinte, pedidoCom, passos).resultado, ResultadoComunicacao::Falhou);
        QVERIFY(falhou);
        QVERIFY2(ouvinte.mensagens.join(u'\n').contains(QStringLiteral("Erro SQL (40000)")),
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 2);
        QCOMPARE(lerPedido(store, 1).integer("NUM_ERP"), 0);
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)")), QStringLiteral("0"));
        QCOMPARE(contar(store, "qavtrans"), qint64(0));

        Ouvinte segunda;
        QVERIFY2(rodar(store, segunda).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(segunda.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("NUM_ERP"), 103);
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)")), QStringLiteral("1"));
    }

    // A real64 field of the order, of its new customer or of a partner of that customer that holds no finite
    // number (written into the file by another program: the program's own records refuse one, and the file
    // keeps a NaN as no value) holds that order back, released, with a message naming the field; the other
    // orders go and nothing throws out of the run.
    void nonFiniteNumberHoldsTheOrderBack_data() {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<QString>("campo");
        QTest::newRow("order total infinite") << "UPDATE pedidos SET TOTAL = 1e999 WHERE ID = 1"
                                              << "VDA:TOTAL";
        QTest::newRow("customer capital minus infinity")
            << "UPDATE clientes SET CAP_SOCIAL = -1e999 WHERE ID = 900001"
            << "CLI:CAP_SOCIAL";
        QTest::newRow("partner quotas infinite")
            << "UPDATE socios SET VL_QUOTAS = 1e999 WHERE ID_CLIENTE = 900001"
            << "SOC:VL_QUOTAS";
    }
    void nonFiniteNumberHoldsTheOrderBack() {
        QFETCH(QString, comando);
        QFETCH(QString, campo);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        adicionar(store, "clientes", [](Record& r) {
            r.setInteger("ID", 900001);
            r.setInteger("PESSO", 1);
            r.setText("CGCPF", QStringLiteral("44.555.666/0001-81"));
            r.setInteger("ID_MUNICIPIO", 1);
        });
        adicionar(store, "socios", [](Record& r) {
            r.setInteger("ID_SOCIO", 1);
            r.setInteger("ID_CLIENTE", 900001);
            r.setText("NOME", QStringLiteral("Ana Sócia"));
        });
        pedido(store, {.id = 1, .numer = 41, .cliente = 900001});
        item(store, 11, 1, 1004);
        pedido(store, {.id = 2, .numer = 42});
        item(store, 21, 2, 1004);
        {
            const QString arquivo = comando.section(u' ', 1, 1) + QStringLiteral(".tps");
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QDir(pasta.path()).filePath(arquivo).toUtf8().constData(), &db), SQLITE_OK);
            const int rc = sqlite3_exec(db, comando.toUtf8().constData(), nullptr, nullptr, nullptr);
            sqlite3_close(db);
            QCOMPARE(rc, SQLITE_OK);
        }
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        QVERIFY2(ouvinte.mensagens.contains(
                     QStringLiteral("Aviso: Valor inválido no campo %1!|Pedido # 41").arg(campo)),
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 2);
        QCOMPARE(lerPedido(store, 2).integer("NUM_ERP"), 103);
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)"), 41), QStringLiteral("0"));
    }

    // An item whose product is not on the workstation fails its order: the server gets nothing of it
    // and keeps its last number, the order stays released here, the orders after it wait for the next
    // run, and the orders before it stay sent.
    void failingOrderRollsBackBothSidesAndEndsTheRun() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        pedido(store, {.id = 1, .numer = 41});
        item(store, 11, 1, 1004);
        pedido(store, {.id = 2, .numer = 42});
        item(store, 21, 2, 1004);
        item(store, 22, 2, 9999);
        pedido(store, {.id = 3, .numer = 43});
        item(store, 31, 3, 1004);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte).resultado, ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.mensagens.contains(QStringLiteral("Aviso: Produto inválido!|Id # 9999")),
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 3);
        for (int id : {2, 3}) {
            QCOMPARE(lerPedido(store, id).integer("SITUA"), 2);
            QCOMPARE(lerPedido(store, id).integer("NUM_ERP"), 0);
        }
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)"), 42), QStringLiteral("0"));
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)"), 43), QStringLiteral("0"));
        QCOMPARE(numped(servidor), QStringLiteral("103"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM zor.peditens")), QStringLiteral("7"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.log WHERE descricao LIKE "
                                               "'Erro - Somente Pedidos/1 Pedido(s)/%'")),
                 QStringLiteral("1"));

        // Mended, it goes at the next run under the next number.
        alterar(store, "peditens", "ID_VENDASI = 22", [](Record& r) { r.setInteger("PRODU", 1002); });
        Ouvinte segunda;
        QVERIFY2(rodar(store, segunda).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(segunda.tudo()));
        QCOMPARE(lerPedido(store, 2).integer("NUM_ERP"), 105);
        QCOMPARE(lerPedido(store, 3).integer("NUM_ERP"), 106);
    }

    // The server refuses the header of the second of three orders that go together: the message names
    // that statement, the server keeps the first order alone under the next number, the first order is
    // transmitted here all the same, the other two stay released with nothing left in transit, and
    // once the server takes them the next run sends them.
    void refusedHeaderNamesItsStatementAndKeepsTheOrdersBefore() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(QStringLiteral(
            "CREATE FUNCTION zor.recusa() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF "
            "NEW.num_ped_qav LIKE '%00000042' THEN RAISE EXCEPTION 'pedido recusado'; END IF; RETURN NEW; "
            "END $$; CREATE TRIGGER recusa BEFORE INSERT ON zor.pedidos FOR EACH ROW EXECUTE FUNCTION "
            "zor.recusa();"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        for (int n = 1; n <= 3; ++n) {
            pedido(store, {.id = n, .numer = 40 + n});
            item(store, 10 * n + 1, n, 1004);
        }
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte).resultado, ResultadoComunicacao::Falhou);
        const QStringList recusa = ouvinte.mensagens.filter(QStringLiteral("pedido recusado"));
        QVERIFY2(recusa.size() == 1 && recusa.front().contains(QStringLiteral("|INSERT INTO zor.pedidos(")) &&
                     recusa.front().contains(QStringLiteral("'000005.A.00000042'")) &&
                     !recusa.front().contains(QStringLiteral("UPDATE gestao.qavcfg")),
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 3);
        QCOMPARE(lerPedido(store, 1).integer("NUM_ERP"), 103);
        QCOMPARE(cabecalho(servidor, QStringLiteral("numero"), 41), QStringLiteral("103"));
        for (int id : {2, 3})
            QCOMPARE(lerPedido(store, id).integer("SITUA"), 2);
        for (int numer : {42, 43})
            QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)"), numer), QStringLiteral("0"));
        QCOMPARE(numped(servidor), QStringLiteral("103"));
        QCOMPARE(contar(store, "qavtrans"), qint64(0));

        servidor.executar(QStringLiteral("DROP TRIGGER recusa ON zor.pedidos"));
        Ouvinte segunda;
        QVERIFY2(rodar(store, segunda).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(segunda.tudo()));
        QCOMPARE(lerPedido(store, 2).integer("NUM_ERP"), 105);
        QCOMPARE(lerPedido(store, 3).integer("NUM_ERP"), 106);
        for (int numer : {41, 42, 43})
            QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)"), numer), QStringLiteral("1"));
    }

    // A customer created on this workstation goes with its first order, in the same transaction: two
    // orders of it create it once and both name it by the server's id; when its order fails, the
    // server has no such customer and the workstation keeps it under its own id.
    void newCustomerTravelsWithItsOrder_data() {
        QTest::addColumn<int>("produtoSegundo");
        QTest::addColumn<bool>("enviado");
        QTest::newRow("two orders") << 1004 << true;
        QTest::newRow("its first order fails") << 9999 << false;
    }

    void newCustomerTravelsWithItsOrder() {
        QFETCH(int, produtoSegundo);
        QFETCH(bool, enviado);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        const QString clientesAntes = servidor.valor(QStringLiteral("SELECT count(*) FROM zor.corrent"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        adicionar(store, "clientes", [](Record& r) {
            r.setInteger("ID", 900001);
            r.setInteger("PESSO", 2);
            r.setText("CGCPF", QStringLiteral("45.723.174/0001-10"));
            r.setText("RAZAO", QStringLiteral("Esquadrias Nova Era Ltda"));
            r.setInteger("ID_MUNICIPIO", 1);
        });
        pedido(store, {.id = 1, .numer = 41, .cliente = 900001});
        item(store, 11, 1, 1004);
        item(store, 12, 1, produtoSegundo, [](Record& r) { r.setText("OBS", QStringLiteral("cortar")); });
        pedido(store, {.id = 2, .numer = 42, .cliente = 900001});
        item(store, 21, 2, 1004);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte).resultado == ResultadoComunicacao::Sucesso, enviado);
        const QString novos = servidor.valor(
            QStringLiteral("SELECT count(*) FROM zor.corrent WHERE cgcpf='45.723.174/0001-10'"));
        QCOMPARE(novos, enviado ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM zor.corrent")).toInt(),
                 clientesAntes.toInt() + (enviado ? 1 : 0));
        if (enviado) {
            const QString id = servidor.valor(
                QStringLiteral("SELECT id_corrent FROM zor.corrent WHERE cgcpf='45.723.174/0001-10'"));
            QCOMPARE(cabecalho(servidor, QStringLiteral("clien"), 41), id);
            QCOMPARE(cabecalho(servidor, QStringLiteral("clien"), 42), id);
            for (int pedidoId : {1, 2})
                QCOMPARE(QString::number(lerPedido(store, pedidoId).integer("CLIEN")), id);
        } else {
            QCOMPARE(numped(servidor), QStringLiteral("100"));
            for (int pedidoId : {1, 2}) {
                QCOMPARE(lerPedido(store, pedidoId).integer("CLIEN"), 900001);
                QCOMPARE(lerPedido(store, pedidoId).integer("SITUA"), 2);
            }
            Table clientes(store, "clientes");
            QVERIFY(clientes.open());
            clientes.clear();
            clientes.rec().setInteger("ID", 900001);
            QCOMPARE(clientes.get("KEYID"), Status::Ok);
        }
    }

    // Orders that cannot go yet are skipped with a notice and stay released; a workstation whose
    // salesperson is not in its tables sends nothing and the run goes on.
    void skippedOrders_data() {
        QTest::addColumn<int>("cliente");
        QTest::addColumn<QString>("condicaoVendedor");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("unknown customer")
            << 77 << QString() << QStringLiteral("Aviso: Cliente inválido!|Pedido # 41");
        QTest::newRow("customer without town")
            << 1 << QString() << QStringLiteral("Aviso: Município inválido!|Cliente # 1");
        QTest::newRow("unknown salesperson")
            << 4 << QStringLiteral("CODIGO = 5")
            << QStringLiteral("Aviso: Representante Inválido (1/5)!|Pedidos não serão transmitidos.");
    }

    void skippedOrders() {
        QFETCH(int, cliente);
        QFETCH(QString, condicaoVendedor);
        QFETCH(QString, mensagem);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        if (cliente == 1)
            alterar(store, "clientes", "ID = 1", [](Record& r) { r.setInteger("ID_MUNICIPIO", 99); });
        if (!condicaoVendedor.isEmpty())
            alterar(store, "vendedor", condicaoVendedor.toStdString(),
                    [](Record& r) { r.setInteger("CODIGO", 6); });
        pedido(store, {.id = 1, .numer = 41, .cliente = cliente});
        item(store, 11, 1, 1004);
        pedido(store, {.id = 2, .numer = 42, .cliente = 4});
        item(store, 21, 2, 1004);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte).resultado, ResultadoComunicacao::Sucesso);
        QVERIFY2(ouvinte.mensagens.contains(mensagem), qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 2);
        const bool semVendedor = !condicaoVendedor.isEmpty();
        QCOMPARE(lerPedido(store, 2).integer("NUM_ERP"), semVendedor ? 0 : 103);
        QCOMPARE(numped(servidor), semVendedor ? QStringLiteral("100") : QStringLiteral("103"));
    }

    // Another window holding the order files stops the order after a short wait: the run fails and
    // nothing reaches the server.
    void busyLocalFilesStopTheOrder() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        prepararEstacao(pasta.store(), servidor);
        pedido(pasta.store(), {});
        item(pasta.store(), 11, 1, 1004);
        Store outraJanela(pasta.path());
        Table clientes(outraJanela, "clientes");
        QVERIFY(clientes.open());
        Transaction ocupada({&clientes});
        QVERIFY(ocupada.begin());
        Ouvinte ouvinte;
        QCOMPARE(rodar(pasta.store(), ouvinte).resultado, ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.mensagens
                         .filter(QRegularExpression(
                             QStringLiteral("^Aviso: Erro \\(\\d+\\) ao iniciar transação!$")))
                         .size() == 1,
                 qPrintable(ouvinte.tudo()));
        QVERIFY(ocupada.rollback());
        QCOMPARE(numped(servidor), QStringLiteral("100"));
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)")), QStringLiteral("0"));
        QCOMPARE(lerPedido(pasta.store(), 1).integer("SITUA"), 2);
    }

    // The disk fills while an order goes up (a file-size limit stands in for it from the order's first
    // line on): the user is told the disk is full and what to do, the order stays released, and once
    // there is room again the next run sends it, once.
    void fullDiskDuringTheUploadIsToldAndNothingIsLost() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        prepararEstacao(pasta.store(), servidor);
        pedido(pasta.store(), {});
        item(pasta.store(), 11, 1, 1004);
        class DiscoEnche : public Ouvinte {
        public:
            void registro(const QTime& hora, const QString& texto) override {
                Ouvinte::registro(hora, texto);
                if (texto.startsWith(QStringLiteral("Transferindo Pedido"))) {
                    rlimit cheio = original;
                    cheio.rlim_cur = 1000;
                    setrlimit(RLIMIT_FSIZE, &cheio);
                }
            }
            rlimit original{};
        } ouvinte;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &ouvinte.original), 0);
        const auto sinal = std::signal(SIGXFSZ, SIG_IGN);
        const auto resultado = rodar(pasta.store(), ouvinte).resultado;
        setrlimit(RLIMIT_FSIZE, &ouvinte.original);
        std::signal(SIGXFSZ, sinal);
        QCOMPARE(resultado, ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.mensagens.filter(QStringLiteral("|Disco cheio: libere espaço no disco")).size() == 1,
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(pasta.store(), 1).integer("SITUA"), 2);

        Ouvinte depois;
        QCOMPARE(rodar(pasta.store(), depois).resultado, ResultadoComunicacao::Sucesso);
        QCOMPARE(lerPedido(pasta.store(), 1).integer("SITUA"), 3);
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)")), QStringLiteral("1"));
    }

    // Two workstations of the same company send 20 orders each at the same time: every order gets a
    // number of its own, the numbers are the free ones in order, and each workstation's order knows
    // the number the server gave it.
    void twoWorkstationsAtOnce() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        constexpr int kPedidos = 20;
        test::TempDataFolder pastaA, pastaB;
        for (auto [pasta, ponto] : {std::pair{&pastaA, "A"}, std::pair{&pastaB, "B"}}) {
            prepararEstacao(pasta->store(), servidor, QString::fromLatin1(ponto));
            for (int i = 1; i <= kPedidos; ++i) {
                pedido(pasta->store(), {.id = i, .numer = 40 + i});
                item(pasta->store(), 100 + i, i, 1004);
                item(pasta->store(), 200 + i, i, 1002);
            }
        }
        Desfecho a, b;
        Ouvinte ouvinteA, ouvinteB;
        {
            std::thread ta([&] {
                Store store(pastaA.path());
                a = rodar(store, ouvinteA);
            });
            std::thread tb([&] {
                Store store(pastaB.path());
                b = rodar(store, ouvinteB);
            });
            ta.join();
            tb.join();
        }
        QVERIFY2(a.resultado == ResultadoComunicacao::Sucesso, qPrintable(ouvinteA.tudo()));
        QVERIFY2(b.resultado == ResultadoComunicacao::Sucesso, qPrintable(ouvinteB.tudo()));

        QStringList livres{QStringLiteral("103")};
        for (int n = 105; n <= 143; ++n)
            livres << QString::number(n);
        QStringList recebidos;
        for (const QStringList& l :
             servidor.linhas(QStringLiteral("SELECT numero FROM zor.pedidos WHERE id_empresa=1 AND tipo='P' "
                                            "AND numero NOT IN (101, 102, 104) "
                                            "ORDER BY numero")))
            recebidos << l[0];
        QCOMPARE(recebidos, livres);
        QCOMPARE(numped(servidor), QStringLiteral("143"));
        for (auto [pasta, ponto] : {std::pair{&pastaA, "A"}, std::pair{&pastaB, "B"}})
            for (int i = 1; i <= kPedidos; ++i) {
                const Record r = lerPedido(pasta->store(), i);
                QCOMPARE(r.integer("SITUA"), 3);
                QCOMPARE(QString::number(r.integer("NUM_ERP")),
                         servidor.valor(
                             QStringLiteral("SELECT numero FROM zor.pedidos WHERE num_ped_qav='000005.%1.%2'")
                                 .arg(QString::fromLatin1(ponto))
                                 .arg(40 + i, 8, 10, QLatin1Char('0'))));
            }
        QCOMPARE(servidor.valor(QStringLiteral(
                     "SELECT count(*) FROM zor.peditens i JOIN zor.pedidos p USING "
                     "(id_pedido) WHERE p.id_empresa=1 AND p.numero NOT IN (101, 102, 104, 9001)")),
                 QString::number(2 * 2 * kPedidos));
    }

    // qavtool comunicar sends the released orders too.
    void qavtoolSendsOrders() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        prepararEstacao(pasta.store(), servidor);
        pedido(pasta.store(), {});
        item(pasta.store(), 11, 1, 1004);
        QProcess tool;
        tool.start(test::programPath(QStringLiteral("qavtool")),
                   {QStringLiteral("comunicar"), QStringLiteral("--pasta"), pasta.path(),
                    QStringLiteral("--tipo"), QStringLiteral("pedidos")});
        QVERIFY(tool.waitForFinished(120000));
        const QString saida =
            QString::fromLocal8Bit(tool.readAllStandardOutput() + tool.readAllStandardError());
        QVERIFY2(tool.exitCode() == 0, qPrintable(saida));
        QVERIFY2(saida.contains(QStringLiteral("Transferindo Pedido # 41...")), qPrintable(saida));
        QCOMPARE(lerPedido(pasta.store(), 1).integer("NUM_ERP"), 103);
    }
};

QAV_TEST_GUILESS_MAIN(TestEnvioPedidos)
#include "tst_enviopedidos.moc"
