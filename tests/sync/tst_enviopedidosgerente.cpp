// The upload of released orders to a sales office's manager database, run as a whole communication
// against a real PostgreSQL server built from the repository's schemas and test data: the numbers and
// day numbers the orders take, what lands in the office's order tables, in its stock movements and in
// the log, the tax operation and situation of each item, the customers created on the workstation,
// and that an order never reaches the office twice.
#include "OuvinteGravador.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/envio/RegistroTransito.h"
#include "sync/core/execucao/Comunicacao.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/orders/PedidosFixture.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <functional>
#include <thread>

using namespace qav;
using namespace qav::sync;
using qav::test::adicionar;
using qav::test::alterar;
using qav::test::Preencher;
using qav::test::ServidorTeste;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);
const Date kDataPedido = Date::fromYmd(2026, 12, 7);

using Ouvinte = test::OuvinteGravador;

Record lerRegistro(Store& store, const char* tabela, const char* chave, const char* campo, int id) {
    Table t(store, tabela);
    t.open();
    t.clear();
    t.rec().setInteger(campo, id);
    if (t.get(chave) != Status::Ok)
        t.clear();
    return t.rec();
}

Record lerPedido(Store& store, int id) {
    return lerRegistro(store, "pedidos", "KEYID", "ID", id);
}

// A workstation of salesperson 5 of company 1 pointing at the office's database, with its operations
// 1 to 8 for sales inside and outside the state (plain, to final consumers, of resale, both) and stock
// place 4; customers 1 (Santa Catarina, carrier 7) and 4 (Paraná, final consumer); price list 1
// ("SC-2026"); products 1001 (own production, situation 60), 1002 (resale, situation 10) and 1004 (own
// production, situation 0).
void prepararEstacao(Store& store, const ServidorTeste& s) {
    adicionar(store, "qavcfg", [&](Record& r) {
        r.setInteger("ID_EMPRESA", 1);
        r.setText("BD_NOME", s.database());
        r.setText("BD_HOST", s.host());
        r.setInteger("BD_PORTA", s.port());
        r.setText("BD_USUARIO", s.passwordUser());
        r.setText("BD_SENHA", s.password());
        r.setInteger("COD_VENDEDOR", 5);
        r.setText("SENHA_VENDEDOR", QStringLiteral("abc123"));
        r.setText("PONTO_INSTALACAO", QStringLiteral("A"));
        r.setDate("DT_ULT_COM", Date::fromYmd(2026, 12, 1));
        int id = 0;
        for (const char* campo :
             {"ID_TES_DENTRO", "ID_TES_DENTRO_CF", "ID_TES_DENTRO_RV", "ID_TES_DENTRO_CF_RV", "ID_TES_FORA",
              "ID_TES_FORA_CF", "ID_TES_FORA_RV", "ID_TES_FORA_CF_RV"})
            r.setInteger(campo, ++id);
        r.setInteger("ID_ESTLOCAL", 4);
    });
    adicionar(store, "vendedor", [](Record& r) {
        r.setInteger("ID_VENDEDOR", 10);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 5);
        r.setText("FORMA_PAG", QStringLiteral("F"));
        r.setInteger("COD_SUPERVISOR", 9);
        r.setDecimal("TAXA_COM_SUPER", Decimal::parse("1.5").value());
        r.setText("FORMA_PAG_SUPER", QStringLiteral("R"));
    });
    for (const auto& [id, uf] : {std::pair{1, "SC"}, std::pair{4, "PR"}})
        adicionar(store, "municip", [&](Record& r) {
            r.setInteger("ID", id);
            r.setText("ESTADO", QString::fromLatin1(uf));
        });
    adicionar(store, "clientes", [](Record& r) {
        r.setInteger("ID", 1);
        r.setText("RAZAO", QStringLiteral("Comércio de Ferragens São João Ltda"));
        r.setInteger("ID_MUNICIPIO", 1);
        r.setInteger("ID_TRANSPORTADOR", 7);
    });
    adicionar(store, "clientes", [](Record& r) {
        r.setInteger("ID", 4);
        r.setText("RAZAO", QStringLiteral("Carlos Eduardo Müller"));
        r.setInteger("ID_MUNICIPIO", 4);
        r.setInteger("CONSFINAL", 1);
    });
    adicionar(store, "empresa", [](Record& r) { r.setInteger("ID_EMPRESA", 1); });
    adicionar(store, "pauta", [](Record& r) {
        r.setInteger("ID", 10001);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("CODIGO", 1);
        r.setText("NUM_PAUTA", QStringLiteral("SC-2026"));
    });
    for (const auto& [id, tipo, codSt] :
         {std::tuple{1001, "04", 60}, std::tuple{1002, "00", 10}, std::tuple{1004, "04", 0}})
        adicionar(store, "produto", [&](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("ID_EMPRESA", 1);
            r.setText("CODIGO", QStringLiteral("P-%1").arg(id));
            r.setText("TIPO", QString::fromLatin1(tipo));
            r.setInteger("COD_ST", codSt);
        });
}

struct NovoPedido {
    int id = 1;
    int numer = 41;
    int cliente = 1;
    int tipo = 1;
};

void pedido(Store& store, const NovoPedido& p, const Preencher& mais = {}) {
    adicionar(store, "pedidos", [&](Record& r) {
        r.setInteger("ID", p.id);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("COD_VENDEDOR", 5);
        r.setInteger("NUMER", p.numer);
        r.setInteger("SITUA", 2);
        r.setInteger("DATA", kDataPedido.dayNumber());
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

// Ten units of `produto` at 25.50, 3 % commission.
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
        if (mais)
            mais(r);
    });
}

struct Execucao {
    Desfecho desfecho;
    QStringList comandos; // every statement the run sent
};

Execucao rodar(Store& store, OuvinteComunicacao& ouvinte) {
    PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = TipoComunicacao::SomentePedidos;
    pedido.confirmado = true;
    Execucao e;
    pedido.gravadorComandos = [&e](const QString& comando) { e.comandos << comando; };
    e.desfecho = comunicar(store, ouvinte, pedido, passosPadrao());
    return e;
}

// Columns of the office's header of the workstation order `numer`, joined by "|" (null as empty).
QString cabecalho(ServidorTeste& s, const QString& colunas, int numer = 41) {
    const auto linhas =
        s.linhas(QStringLiteral("SELECT %1 FROM gerente.pedidos WHERE num_ped_qav='000005.A.%2'")
                     .arg(colunas)
                     .arg(numer, 8, 10, QLatin1Char('0')));
    return linhas.empty() ? QStringLiteral("<none>") : linhas.front().join(QLatin1Char('|'));
}

QStringList itensServidor(ServidorTeste& s, const QString& colunas, int numer = 41) {
    QStringList saida;
    for (const QStringList& l :
         s.linhas(QStringLiteral("SELECT %1 FROM gerente.peditens i JOIN gerente.pedidos p USING (id_pedido) "
                                 "WHERE p.num_ped_qav='000005.A.%2' ORDER BY i.ordem")
                      .arg(colunas)
                      .arg(numer, 8, 10, QLatin1Char('0'))))
        saida << l.join(QLatin1Char('|'));
    return saida;
}

QString numped(ServidorTeste& s) {
    return s.valor(QStringLiteral("SELECT numped_gestao FROM gestao.qavcfg WHERE id_empresa=1"));
}

} // namespace

class TestEnvioPedidosGerente : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
    }
    void cleanupTestCase() { Clock::setOverride({}); }

    // An order goes into the office's tables under the next free number and the first day number:
    // delivered on the spot, already delivered (situation 3, issued on the order's date, from the
    // workstation's stock place) with a stock exit per item; otherwise to deliver (situation 5). The
    // header carries the order as the workstation holds it, each item its operation and situation,
    // the accessories their item; the log gets one row; the workstation marks the order transmitted.
    // The customer's second salesperson is never asked for: the office has none.
    void orderGoesIntoTheOfficeTables_data() {
        QTest::addColumn<bool>("entregue");
        QTest::addColumn<int>("fconta");
        QTest::addColumn<QString>("esperado"); // situa|dtemi|id_estlocal|fconta
        QTest::addColumn<QStringList>("estoque");
        QTest::newRow("delivered on the spot")
            << true << 1 << QStringLiteral("3|2026-12-07|4|3")
            << QStringList{
                   QStringLiteral("1|4|1001|||I||||2026-12-07|Pedido # 103|S|10.000|0.0000|0.0000|QAV|1|"
                                  "PE|1|0"),
                   QStringLiteral("1|4|1002|||I||||2026-12-07|Pedido # 103|S|2.500|0.0000|0.0000|QAV|1|"
                                  "PE|2|0")};
        QTest::newRow("to deliver") << false << 0 << QStringLiteral("5|||2") << QStringList{};
    }

    void orderGoesIntoTheOfficeTables() {
        QFETCH(bool, entregue);
        QFETCH(int, fconta);
        QFETCH(QString, esperado);
        QFETCH(QStringList, estoque);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        pedido(store, {}, [&](Record& r) {
            r.setInteger("PRODUTO_ENTREGUE", entregue ? 1 : 0);
            r.setInteger("FCONTA", fconta);
            r.setInteger("PED_V", 77);
            r.setReal("DESCP2", 1.5);
            r.setReal("ACREV", 4.25);
            r.setDecimal("TX_FRETE", Decimal::parse("2.5").value());
            r.setInteger("REDESP", 3);
            r.setInteger("DESC_CLIENTE_REDE", 1);
            r.setInteger("PED_FLEX", 1);
            r.setText("E_NUMERO", QStringLiteral("500"));
        });
        item(store, 11, 1, 1001, [](Record& r) {
            r.setDecimal("CUSTO", Decimal::parse("19.4").value());
            r.setInteger("STATUS", 1);
        });
        item(store, 12, 1, 1002, [](Record& r) {
            r.setDecimal("QTD", Decimal::parse("2.5").value());
            r.setInteger("PRECO_COM_IPI", 1);
            r.setDecimal("VL_FLEX", Decimal::parse("-1.2").value());
        });
        adicionar(store, "pedacess", [](Record& r) {
            r.setInteger("ID_VENDASI", 11);
            r.setInteger("ID_ACESSORIO", 1);
            r.setDecimal("VALOR", Decimal::parse("3.5").value());
        });

        Ouvinte ouvinte;
        const Execucao e = rodar(store, ouvinte);
        QVERIFY2(e.desfecho.resultado == ResultadoComunicacao::Sucesso, qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 3);
        QCOMPARE(lerPedido(store, 1).integer("NUM_ERP"), 103);
        QCOMPARE(numped(servidor), QStringLiteral("103"));
        QVERIFY(e.comandos.filter(QStringLiteral("cod_vendedor2")).isEmpty());

        QCOMPARE(cabecalho(servidor, QStringLiteral("situa, dtemi, id_estlocal, fconta")), esperado);
        QCOMPARE(
            cabecalho(servidor,
                      QStringLiteral("id_empresa, cod_vendedor, numero, numero_dia, data, clien, "
                                     "e_num_endereco, cod_formapag, totpr, ipi, total, id_tipov, ped_v, "
                                     "descp2, acrev, comis, transp, redesp, taxa_frete, forma_pag_com, tipo, "
                                     "num_client_vend, cod_supervisor, taxa_com_super, forma_pag_com_super, "
                                     "num_pauta, inf_usuario, ped_flex, desc_cliente_rede")),
            QStringLiteral(
                "1|5|103|1|2026-12-08|1|500|2|255.00|12.75|267.75|1|77|1.50|4.25|3.00|7|3|2.50|F|N|"
                "00000041/QAV+|9|1.50|R|SC-2026|1|1|1"));
        // Blank texts are absent, not empty.
        QCOMPARE(cabecalho(servidor, QStringLiteral("e_ender IS NULL, obs IS NULL")), QStringLiteral("t|t"));

        QCOMPARE(
            itensServidor(servidor, QStringLiteral("i.ordem, i.produ, i.qtd, i.pruni, i.custo, i.status, "
                                                   "i.id_tes, i.id_st, i.preco_com_ipi, i.vl_flex, i.comis")),
            (QStringList{QStringLiteral("1|1001|10.0000|25.5000|19.40|1|1|1|0|0.00|3.00"),
                         QStringLiteral("2|1002|2.5000|25.5000|0.00|0|3|2|1|-1.20|3.00")}));
        QCOMPARE(
            servidor.linhas(
                QStringLiteral("SELECT i.ordem, a.id_acessorio, a.valor FROM gerente.pedacessorio a "
                               "JOIN gerente.peditens i ON i.id_peditens=a.id_peditem JOIN "
                               "gerente.pedidos p USING (id_pedido) WHERE p.numero=103")),
            (std::vector<QStringList>{{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("3.50")}}));

        QStringList movimentos;
        for (const QStringList& l : servidor.linhas(QStringLiteral(
                 "SELECT m.id_empresa, m.id_estlocal, m.id_produto, m.variante, m.validade, "
                 "m.docto_natureza, "
                 "m.docto_tipo, m.docto_serie, m.docto_numero, m.data, m.historico, m.tipo, m.qtdade, "
                 "m.valor, "
                 "m.vl_ajuste, m.operador, m.status, m.origem_prefixo, m.origem_ordem, m.origem_seq, "
                 "m.origem_id = p.id_pedido FROM gestao.estmovto m JOIN gerente.pedidos p ON p.numero=103 "
                 "ORDER BY "
                 "m.origem_ordem"))) {
            QCOMPARE(l.last(), QStringLiteral("t"));
            movimentos << l.mid(0, l.size() - 1).join(QLatin1Char('|'));
        }
        QCOMPARE(movimentos, estoque);

        const auto log =
            servidor.linhas(QStringLiteral("SELECT l.descricao, l.id_empresa IS NULL FROM gestao.log l JOIN "
                                           "gerente.pedidos p ON p.id_pedido=l.id "
                                           "WHERE l.operacao='INC' AND l.tabela='pedido'"));
        QCOMPARE(log, (std::vector<QStringList>{
                          {QStringLiteral("103/QAV+ 2026.186/Dt:07/12/2026"), QStringLiteral("t")}}));
    }

    // Numbers pass over those the office took; day numbers count the company's orders of the day the
    // office receives them on, whatever date the workstation gave them, so that no number of a day
    // repeats.
    void numbersAndDayNumbers_data() {
        QTest::addColumn<QString>("servidorSql");
        QTest::addColumn<QString>("esperado"); // numero/numero_dia of orders 41 and 42
        QTest::newRow("first orders of the day") << QString() << QStringLiteral("103/1 107/2");
        QTest::newRow("the office received orders today")
            << QStringLiteral("INSERT INTO gerente.pedidos (id_empresa, numero, numero_dia, data) VALUES "
                              "(1, 103, 5, '2026-12-08'), (2, 300, 9, '2026-12-08')")
            << QStringLiteral("107/6 108/7");
        QTest::newRow("orders of the workstation's date do not count")
            << QStringLiteral("INSERT INTO gerente.pedidos (id_empresa, numero, numero_dia, data) VALUES "
                              "(1, 108, 4, '2026-12-07')")
            << QStringLiteral("103/1 107/2");
    }

    void numbersAndDayNumbers() {
        QFETCH(QString, servidorSql);
        QFETCH(QString, esperado);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        if (!servidorSql.isEmpty())
            servidor.executar(servidorSql);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        pedido(store, {.id = 1, .numer = 41});
        item(store, 11, 1, 1004);
        pedido(store, {.id = 2, .numer = 42, .cliente = 4});
        item(store, 21, 2, 1004);
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).desfecho.resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        const QString obtido = cabecalho(servidor, QStringLiteral("numero || '/' || numero_dia"), 41) +
                               QLatin1Char(' ') +
                               cabecalho(servidor, QStringLiteral("numero || '/' || numero_dia"), 42);
        QCOMPARE(obtido, esperado);
        QCOMPARE(QString::number(lerPedido(store, 2).integer("NUM_ERP")),
                 cabecalho(servidor, QStringLiteral("numero"), 42));
    }

    // The tax operation of each item: a bonus order's is the office's bonus operation for the kind of
    // customer; any other order's is the company's for inside or outside Santa Catarina, final consumer
    // or not, own production (type 04) or resale. The tax situation comes from the product's tax group
    // under that operation, else from its situation code; none stops the order with a notice and
    // nothing of it reaches the office.
    void itemTaxOperation_data() {
        QTest::addColumn<int>("cliente");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("tipoProduto");
        QTest::addColumn<QString>("grupoSt");
        QTest::addColumn<int>("codSt");
        QTest::addColumn<QString>("esperado"); // id_tes|id_st, or the notice
        QTest::newRow("inside, own production") << 1 << 1 << "04"
                                                << "" << 60 << "1|1";
        QTest::newRow("inside, resale") << 1 << 1 << "00"
                                        << "" << 10 << "3|2";
        QTest::newRow("outside, final consumer, own production") << 4 << 1 << "04"
                                                                 << "" << 0 << "6|3";
        QTest::newRow("outside, final consumer, resale") << 4 << 1 << "07"
                                                         << "" << 0 << "8|3";
        QTest::newRow("bonus, not a final consumer") << 1 << 2 << "00"
                                                     << "" << 60 << "1|1";
        QTest::newRow("bonus, final consumer") << 4 << 2 << "04"
                                               << "" << 60 << "2|1";
        QTest::newRow("tax group under the operation") << 1 << 1 << "04"
                                                       << "PERFIS" << 0 << "1|1";
        QTest::newRow("tax group without a rule for the operation")
            << 1 << 1 << "00"
            << "PERFIS" << 0 << "Aviso: Situação Tributária inválida!|Código: 0|Grupo ST: PERFIS";
        QTest::newRow("unknown situation")
            << 1 << 1 << "04"
            << "" << 99 << "Aviso: Situação Tributária inválida!|Código: 99|Grupo ST: ";
    }

    void itemTaxOperation() {
        QFETCH(int, cliente);
        QFETCH(int, tipo);
        QFETCH(QString, tipoProduto);
        QFETCH(QString, grupoSt);
        QFETCH(int, codSt);
        QFETCH(QString, esperado);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        alterar(store, "produto", "ID = 1001", [&](Record& r) {
            r.setText("TIPO", tipoProduto);
            r.setText("GRUPO_ST", grupoSt);
            r.setInteger("COD_ST", codSt);
        });
        pedido(store, {.cliente = cliente, .tipo = tipo});
        item(store, 11, 1, 1001);
        Ouvinte ouvinte;
        const auto resultado = rodar(store, ouvinte).desfecho.resultado;
        if (esperado.startsWith(QStringLiteral("Aviso"))) {
            QCOMPARE(resultado, ResultadoComunicacao::Falhou);
            QVERIFY2(ouvinte.mensagens.contains(esperado), qPrintable(ouvinte.tudo()));
            QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)")), QStringLiteral("0"));
            QCOMPARE(numped(servidor), QStringLiteral("100"));
            QCOMPARE(lerPedido(store, 1).integer("SITUA"), 2);
            return;
        }
        QVERIFY2(resultado == ResultadoComunicacao::Sucesso, qPrintable(ouvinte.tudo()));
        QCOMPARE(itensServidor(servidor, QStringLiteral("i.id_tes, i.id_st")), QStringList{esperado});
    }

    // Every text arrives as typed (quotes, backslashes, ";", accents), whether the server reads
    // backslashes in literals as escapes or not; a tax group with a quote and a backslash finds its
    // rule.
    void textsArriveUnchanged_data() {
        QTest::addColumn<bool>("padrao");
        QTest::newRow("standard strings") << true;
        QTest::newRow("backslash escapes") << false;
    }

    void textsArriveUnchanged() {
        QFETCH(bool, padrao);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        servidor.executar(
            QStringLiteral("ALTER DATABASE \"%1\" SET standard_conforming_strings = %2")
                .arg(servidor.database(), padrao ? QStringLiteral("on") : QStringLiteral("off")));
        servidor.executar(QStringLiteral("INSERT INTO gestao.grupost (id_empresa, grupo_st, id_tes, id_st) "
                                         "VALUES (1, E'D''ÁGUA \\\\ 1', 1, 2)"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        alterar(store, "produto", "ID = 1001",
                [](Record& r) { r.setText("GRUPO_ST", QStringLiteral("D'ÁGUA \\ 1")); });
        const QString aspas = QStringLiteral("D'Ávila \\ Filhos; -- ção \\' \"x\"");
        // Local field, the office's column, the text.
        const std::vector<std::tuple<const char*, const char*, QString>> campos{
            {"E_ENDER", "e_ender", QStringLiteral("Rua d'Água \\ nº 5; fundos")},
            {"E_NUMERO", "e_num_endereco", QStringLiteral("12\\A'")},
            {"E_BAIRR", "e_bairr", QStringLiteral("São José; 'Centro'")},
            {"CONTA", "conta", QStringLiteral("Sr. O'Neil \\ Ávila")},
            {"OBS", "obs", aspas},
        };
        pedido(store, {}, [&](Record& r) {
            for (const auto& [campo, coluna, valor] : campos)
                r.setText(campo, valor);
        });
        item(store, 11, 1, 1001, [&](Record& r) {
            r.setText("OBS", aspas);
            r.setText("NUM_OC", QStringLiteral("OC\\'7;é"));
        });
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).desfecho.resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        for (const auto& [campo, coluna, valor] : campos)
            QCOMPARE(cabecalho(servidor, QString::fromLatin1(coluna)), valor);
        QCOMPARE(itensServidor(servidor, QStringLiteral("i.obs, i.num_oc, i.id_st")),
                 QStringList{aspas + QStringLiteral("|OC\\'7;é|2")});
    }

    // A customer created on this workstation goes with its order: into the office's customers under
    // the next id of the office's sequence that no customer holds (the hub writes customers under ids
    // of its own), with its texts unchanged, its long text cut to what the office keeps, and a log row;
    // the order and the workstation name it by that id. A customer whose document the office already
    // has is not created again.
    void newCustomerGetsAnIdOfTheOffice_data() {
        QTest::addColumn<QString>("documento");
        QTest::addColumn<int>("idEsperado");
        QTest::newRow("new to the office") << QStringLiteral("45.723.174/0001-10") << 950003;
        QTest::newRow("already in the office") << QStringLiteral("33.444.555/0001-02") << 950001;
    }

    void newCustomerGetsAnIdOfTheOffice() {
        QFETCH(QString, documento);
        QFETCH(int, idEsperado);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        // The hub wrote a customer under the id the sequence gives next.
        servidor.executar(QStringLiteral("INSERT INTO gerente.clientes (id_cliente, razao, cgcpf) VALUES "
                                         "(950002, 'Do hub', '01.001.001/0001-01')"));
        const int antes = servidor.valor(QStringLiteral("SELECT count(*) FROM gerente.clientes")).toInt();
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        const QString razao = QStringLiteral("Esquadrias D'Ávila \\ Nova Era; Ltda");
        adicionar(store, "clientes", [&](Record& r) {
            r.setInteger("ID", 900001);
            r.setInteger("PESSO", 2);
            r.setText("CGCPF", documento);
            r.setText("RAZAO", razao);
            r.setText("E_NUMERO", QStringLiteral("12-B"));
            r.setInteger("FORMA_PAG", 2);
            r.setInteger("COD_ATIV_IR", 4744);
            r.setDate("DATA", Date::fromYmd(2026, 12, 5));
            r.setText("OBS", QString(3000, QLatin1Char('x')));
            r.setInteger("ID_MUNICIPIO", 1);
        });
        adicionar(store, "socios", [](Record& r) {
            r.setInteger("ID_SOCIO", 1);
            r.setInteger("ID_CLIENTE", 900001);
            r.setText("NOME", QStringLiteral("Sócio D'Ávila"));
            r.setText("CPF_CNPJ", QStringLiteral("529.982.247-25"));
        });
        pedido(store, {.id = 1, .numer = 41, .cliente = 900001});
        item(store, 11, 1, 1004);
        pedido(store, {.id = 2, .numer = 42, .cliente = 900001});
        item(store, 21, 2, 1004);
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).desfecho.resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        const bool novo = idEsperado != 950001;
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gerente.clientes")).toInt(),
                 antes + (novo ? 1 : 0));
        for (int numer : {41, 42})
            QCOMPARE(cabecalho(servidor, QStringLiteral("clien"), numer), QString::number(idEsperado));
        for (int id : {1, 2})
            QCOMPARE(lerPedido(store, id).integer("CLIEN"), idEsperado);
        QCOMPARE(lerRegistro(store, "clientes", "KEYID", "ID", idEsperado).text("CGCPF").trimmed(),
                 documento);
        QCOMPARE(lerRegistro(store, "clientes", "KEYID", "ID", 900001).integer("ID"), 0);
        // Its partner joins the office's customer once, whichever it is.
        QCOMPARE(servidor.linhas(
                     QStringLiteral("SELECT nome FROM gestao.socios WHERE id_cliente=%1").arg(idEsperado)),
                 (std::vector<QStringList>{{QStringLiteral("Sócio D'Ávila")}}));
        if (!novo)
            return;
        const auto linha = servidor.linhas(QStringLiteral(
            "SELECT razao, cgcpf, e_num_endereco, cod_formapag, cnae_fiscal, data, length(obs), cod_pais, "
            "dt_atual FROM gerente.clientes WHERE id_cliente=950003"));
        QCOMPARE(linha, (std::vector<QStringList>{{razao, documento, QStringLiteral("12-B"),
                                                   QStringLiteral("2"), QStringLiteral("4744"),
                                                   QStringLiteral("2026-12-05"), QStringLiteral("2048"),
                                                   QStringLiteral("1058"), QStringLiteral("2026-12-08")}}));
        QCOMPARE(servidor.linhas(QStringLiteral("SELECT descricao, id_empresa IS NULL FROM gestao.log WHERE "
                                                "tabela='clientes' AND id=950003")),
                 (std::vector<QStringList>{{QStringLiteral("QAV+ 2026.186"), QStringLiteral("t")}}));
    }

    // A customer of the office (ids of the office's sequence start at 950000, beyond the first id the
    // workstations give their own customers) that the workstation holds under the office's id is the
    // office's customer under that very id, found by its document or, without one, by the id itself:
    // the order goes naming it, nothing is created in the office, and the workstation keeps it.
    void officeCustomerKeepsItsId_data() {
        QTest::addColumn<QString>("documento");
        QTest::newRow("with its document") << QStringLiteral("33.444.555/0001-02");
        QTest::newRow("without a document") << QString();
    }

    void officeCustomerKeepsItsId() {
        QFETCH(QString, documento);
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        if (documento.isEmpty())
            servidor.executar(
                QStringLiteral("UPDATE gerente.clientes SET cgcpf=NULL WHERE id_cliente=950001"));
        const QString antes = servidor.valor(QStringLiteral("SELECT count(*) FROM gerente.clientes"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        adicionar(store, "clientes", [&](Record& r) {
            r.setInteger("ID", 950001);
            r.setText("CGCPF", documento);
            r.setText("RAZAO", QStringLiteral("Serralheria Ômega Ltda ME"));
            r.setInteger("ID_MUNICIPIO", 1);
        });
        pedido(store, {.id = 1, .numer = 41, .cliente = 950001});
        item(store, 11, 1, 1004);
        pedido(store, {.id = 2, .numer = 42, .cliente = 950001});
        item(store, 21, 2, 1004);
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).desfecho.resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        for (int numer : {41, 42})
            QCOMPARE(cabecalho(servidor, QStringLiteral("clien"), numer), QStringLiteral("950001"));
        for (int id : {1, 2})
            QCOMPARE(lerPedido(store, id).integer("CLIEN"), 950001);
        QCOMPARE(lerRegistro(store, "clientes", "KEYID", "ID", 950001).text("RAZAO").trimmed(),
                 QStringLiteral("Serralheria Ômega Ltda ME"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gerente.clientes")), antes);
    }

    // A stock exit the office refuses fails the order like an item: nothing of it stays in the office,
    // which keeps its last number, and the workstation keeps it released.
    void refusedStockExitRollsTheOrderBack() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        servidor.executar(QStringLiteral("ALTER TABLE gestao.estmovto ADD CHECK (qtdade < 5)"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        pedido(store, {}, [](Record& r) { r.setInteger("PRODUTO_ENTREGUE", 1); });
        item(store, 11, 1, 1004, [](Record& r) { r.setDecimal("QTD", Decimal(2)); });
        item(store, 12, 1, 1001);
        Ouvinte ouvinte;
        QCOMPARE(rodar(store, ouvinte).desfecho.resultado, ResultadoComunicacao::Falhou);
        QVERIFY2(ouvinte.mensagens.filter(QStringLiteral("INSERT INTO gestao.estmovto(")).size() == 1,
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)")), QStringLiteral("0"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.estmovto")), QStringLiteral("0"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gerente.peditens")),
                 QStringLiteral("7"));
        QCOMPARE(numped(servidor), QStringLiteral("100"));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 2);
        QCOMPARE(lerPedido(store, 1).integer("NUM_ERP"), 0);
    }

    // Two workstations of the company send ten orders each at the same time: every order gets a number
    // and a day number of its own, in the order they were received.
    void twoWorkstationsAtOnce() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        constexpr int kPedidos = 10;
        test::TempDataFolder pastaA, pastaB;
        for (auto [pasta, ponto] : {std::pair{&pastaA, "A"}, std::pair{&pastaB, "B"}}) {
            prepararEstacao(pasta->store(), servidor);
            alterar(pasta->store(), "qavcfg", "ID_EMPRESA = 1",
                    [&](Record& r) { r.setText("PONTO_INSTALACAO", QString::fromLatin1(ponto)); });
            for (int i = 1; i <= kPedidos; ++i) {
                pedido(pasta->store(), {.id = i, .numer = 40 + i});
                item(pasta->store(), 100 + i, i, 1004);
            }
        }
        Desfecho a, b;
        Ouvinte ouvinteA, ouvinteB;
        {
            std::thread ta([&] {
                Store store(pastaA.path());
                a = rodar(store, ouvinteA).desfecho;
            });
            std::thread tb([&] {
                Store store(pastaB.path());
                b = rodar(store, ouvinteB).desfecho;
            });
            ta.join();
            tb.join();
        }
        QVERIFY2(a.resultado == ResultadoComunicacao::Sucesso, qPrintable(ouvinteA.tudo()));
        QVERIFY2(b.resultado == ResultadoComunicacao::Sucesso, qPrintable(ouvinteB.tudo()));
        QStringList esperado, recebidos;
        int dia = 0;
        for (int n : {103, 107, 108, 109, 110, 111, 112, 113, 114, 115,
                      116, 117, 118, 119, 120, 121, 122, 123, 124, 125})
            esperado << QStringLiteral("%1/%2").arg(n).arg(++dia);
        for (const QStringList& l : servidor.linhas(QStringLiteral(
                 "SELECT numero || '/' || numero_dia FROM gerente.pedidos WHERE id_empresa=1 AND "
                 "data='2026-12-08' ORDER BY numero")))
            recebidos << l[0];
        QCOMPARE(recebidos, esperado);
    }

    // A previous run committed the order in the office and lost its own commit, having recorded the
    // order in transit before the office's commit: the order is found through that record, marked
    // transmitted under the office's number, and nothing is inserted again; the next order, which the
    // office holds under the same workstation number from another notebook but which carries no
    // record, goes as usual.
    void orderRecordedInTransitIsOnlyMarked() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Gerente);
        servidor.executar(QStringLiteral(
            "INSERT INTO gerente.pedidos (id_empresa, numero, clien, cod_vendedor, num_ped_qav, "
            "num_client_vend) VALUES (1, 150, 1, 5, '000005.A.00000041', '00000041/QAV+'), "
            "(1, 160, 1, 5, '000005.A.00000042', '00000042/QAV+')"));
        test::TempDataFolder pasta;
        Store& store = pasta.store();
        prepararEstacao(store, servidor);
        pedido(store, {.id = 1, .numer = 41}, [](Record& r) { r.setInteger("PRODUTO_ENTREGUE", 1); });
        item(store, 11, 1, 1004);
        pedido(store, {.id = 2, .numer = 42});
        item(store, 21, 2, 1004);
        {
            RegistrosTransito transito(store);
            QVERIFY(transito.abrir());
            RegistroTransito registro;
            registro.idEmpresa = 1;
            registro.idPedido = 1;
            registro.numer = 41;
            registro.numErp = 150;
            registro.idPedidoServidor =
                servidor.valor(QStringLiteral("SELECT id_pedido FROM gerente.pedidos WHERE numero=150"))
                    .toLongLong();
            registro.numPedQav = QStringLiteral("000005.A.00000041");
            QVERIFY(transito.gravar(registro));
        }
        Ouvinte ouvinte;
        QVERIFY2(rodar(store, ouvinte).desfecho.resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        QCOMPARE(lerPedido(store, 1).integer("SITUA"), 3);
        QCOMPARE(lerPedido(store, 1).integer("NUM_ERP"), 150);
        QCOMPARE(lerPedido(store, 2).integer("NUM_ERP"), 103);
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)")), QStringLiteral("1"));
        QCOMPARE(cabecalho(servidor, QStringLiteral("count(*)"), 42), QStringLiteral("2"));
        QCOMPARE(servidor.valor(
                     QStringLiteral("SELECT count(*) FROM gerente.peditens i JOIN gerente.pedidos p USING "
                                    "(id_pedido) WHERE p.numero=150")),
                 QStringLiteral("0"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.estmovto")), QStringLiteral("0"));
        QCOMPARE(servidor.valor(QStringLiteral("SELECT count(*) FROM gestao.log WHERE operacao='INC'")),
                 QStringLiteral("1"));
        QCOMPARE(numped(servidor), QStringLiteral("103"));
    }
};

QAV_TEST_GUILESS_MAIN(TestEnvioPedidosGerente)
#include "tst_enviopedidosgerente.moc"
