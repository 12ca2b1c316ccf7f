// The downloads of the salesperson's partners and receivables from a real PostgreSQL server built from
// the repository's schemas and test data, in both server forms (ERP and sales office), into a real
// data folder: full and partial runs, texts arriving unchanged, a step that fails or is stopped leaving
// its table as before; and the flex balance the salesperson still has over the local orders.
#include "OuvinteGravador.h"
#include "store/core/Table.h"
#include "sync/core/download/Clientes.h"
#include "sync/core/download/Historico.h"
#include "sync/core/download/Receber.h"
#include "sync/core/download/Socios.h"
#include "sync/core/execucao/SaldoFlex.h"
#include "tests/support/FailingDisk.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/Registros.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <functional>
#include <optional>

using namespace qav;
using namespace qav::sync;
using qav::test::adicionar;
using qav::test::ServidorTeste;

namespace {

using Esquema = ServidorTeste::Esquema;
using Passo = bool (*)(ContextoComunicacao&);

QStringList lista(std::initializer_list<const char*> textos) {
    QStringList l;
    for (const char* t : textos)
        l << QString::fromUtf8(t);
    return l;
}

using Ouvinte = test::OuvinteGravador;

// A data folder of company 1, salesperson 5, keeping 360 days of history, connected to the server as
// a run connects: the server's today is 8 December 2026.
struct Baixa {
    test::TempDataFolder pasta;
    Ouvinte ouvinte;
    Conexao conexao;
    std::optional<Record> cfg;
    std::optional<ContextoComunicacao> contexto;

    bool conectar(const ServidorTeste& s, TipoComunicacao tipo, Date corte) {
        const Resultado conectado =
            conexao.conectar({s.database(), s.host(), s.port(), s.passwordUser(), s.password()});
        if (!conectado.ok) {
            qWarning() << conectado.erro;
            return false;
        }
        Table t(pasta.store(), "qavcfg");
        if (!t.open())
            return false;
        t.clear();
        t.rec().setInteger("ID_EMPRESA", 1);
        t.rec().setInteger("COD_VENDEDOR", 5);
        t.rec().setInteger("DIAS_HISTORICO", 360);
        cfg = t.rec();
        contexto.emplace(pasta.store(), conexao, ouvinte);
        contexto->sistema = conexao.sistema();
        contexto->tipo = tipo;
        contexto->corte = corte;
        contexto->dataServidor = Date::fromYmd(2026, 12, 8);
        contexto->idEmpresa = 1;
        contexto->empresaCabeca = 1;
        contexto->qavcfg = &*cfg;
        return true;
    }

    // The receivables as "number|company", sorted.
    QStringList titulos() {
        QStringList linhas;
        Table t(pasta.store(), "ctr");
        if (!t.open())
            return {QStringLiteral("não abre")};
        Status s = t.seekPhysical();
        while (s == Status::Ok && (s = t.next()) == Status::Ok)
            linhas << t.rec().text("NUMER").trimmed() + QLatin1Char('|') +
                          QString::number(t.rec().integer("ID_EMPRESA"));
        linhas.sort();
        return linhas;
    }
};

// Local titles before a receivables download: an open and a paid title of another company, and an
// open title of the company that the server no longer lists.
void titulosLocais(Baixa& b) {
    const auto titulo = [&](const char* numero, int empresa, Date recebido) {
        adicionar(b.pasta.store(), "ctr", [&](Record& r) {
            r.setText("NUMER", QString::fromLatin1(numero));
            r.setInteger("ID_EMPRESA", empresa);
            r.setDate("VECTO", Date::fromYmd(2026, 1, 10));
            r.setDate("DATA_RECBTO", recebido);
        });
    };
    titulo("A-2", 2, Date());
    titulo("P-2", 2, Date::fromYmd(2026, 2, 1));
    titulo("77-1", 1, Date());
}

} // namespace

class TestDownloadClientes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clientes_data();
    void clientes();
    void receber_data();
    void receber();
    void camposDoTitulo_data();
    void camposDoTitulo();
    void socios_data();
    void socios();
    void historico_data();
    void historico();
    void itemSemPedidoIgnorado();
    void passoQueFalhaDeixaTabela_data();
    void passoQueFalhaDeixaTabela();
    void clientesParadoDeixaTabela();
    void clientesESociosRecusadosSemComando_data();
    void clientesESociosRecusadosSemComando();
    void textoQueNaoCabeEncerraOPasso();
    void socioComTextoQueNaoCabe();
    void discoQueFalhaDeixaHistorico();
    void formaDeOutroSistemaNaoRoda();
    void saldoFlex_data();
    void saldoFlex();
};

void TestDownloadClientes::clientes_data() {
    QTest::addColumn<int>("esquema");
    QTest::addColumn<int>("tipo");
    // "id|active|salesperson|payment form|document suffix|order customer" of every local customer
    // (the last: the customer of local order 1).
    QTest::addColumn<QStringList>("clientes");
    QTest::addColumn<int>("clienteDoPedido");
    // A full run brings the salesperson's customers and those changed since the last run: 1 and 2 are
    // added with a suffix (their documents are taken here), 3 is deactivated, 4 keeps its payment
    // form. A partial run brings only 2, changed since. The ERP's form leaves the workstation's
    // customer alone; the office's form turns it into the office's customer 2, with its order.
    QTest::newRow("zor total") << int(Esquema::Zor) << int(TipoComunicacao::Total)
                               << lista({"1|1|5|2|1", "2|1|5|1|2", "3|0|0|2|", "4|1|5|7|", "800|1|5|0|",
                                         "900001|1|5|0|"})
                               << 900001;
    QTest::newRow("zor parcial") << int(Esquema::Zor) << int(TipoComunicacao::Parcial)
                                 << lista(
                                        {"2|1|5|1|2", "3|1|5|0|", "4|1|5|7|", "800|1|5|0|", "900001|1|5|0|"})
                                 << 900001;
    QTest::newRow("gerente total") << int(Esquema::Gerente) << int(TipoComunicacao::Total)
                                   << lista({"1|1|5|2|1", "2|1|5|0|", "3|0|0|2|", "4|1|5|7|", "800|1|5|0|"})
                                   << 2;
    QTest::newRow("gerente parcial") << int(Esquema::Gerente) << int(TipoComunicacao::Parcial)
                                     << lista({"2|1|5|0|", "3|1|5|0|", "4|1|5|7|", "800|1|5|0|"}) << 2;
}

// Stored here before the run: customer 3, which the server now gives to salesperson 6; customer 4 with
// its own payment form; customer 800 holding customer 1's document; and 900001, created here with
// customer 2's document, with an order.
void TestDownloadClientes::clientes() {
    QFETCH(int, esquema);
    QFETCH(int, tipo);
    QFETCH(QStringList, clientes);
    QFETCH(int, clienteDoPedido);
    const bool zor = static_cast<Esquema>(esquema) == Esquema::Zor;
    QAV_SERVIDOR_TESTE(servidor, static_cast<Esquema>(esquema));
    const QString tabela = zor ? QStringLiteral("zor.corrent") : QStringLiteral("gerente.clientes");
    const QString chave = zor ? QStringLiteral("id_corrent") : QStringLiteral("id_cliente");
    const QString documento1 =
        servidor.valor(QStringLiteral("SELECT cgcpf FROM %1 WHERE %2=1").arg(tabela, chave));
    const QString documento2 =
        servidor.valor(QStringLiteral("SELECT cgcpf FROM %1 WHERE %2=2").arg(tabela, chave));
    const QString razao2 =
        servidor.valor(QStringLiteral("SELECT razao FROM %1 WHERE %2=2").arg(tabela, chave));
    Baixa b;
    adicionar(b.pasta.store(), "municip", [](Record& r) {
        r.setInteger("ID", 1);
        r.setText("NOME", QStringLiteral("Florianópolis"));
        r.setText("ESTADO", QStringLiteral("SC"));
    });
    const auto cliente = [&](int id, const QString& documento, int formaPag) {
        adicionar(b.pasta.store(), "clientes", [&](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("ATIVO", 1);
            r.setInteger("COD_VENDEDOR", 5);
            r.setInteger("FORMA_PAG", formaPag);
            r.setText("CGCPF", documento);
            r.setText("RAZAO", QStringLiteral("Local %1").arg(id));
        });
    };
    cliente(3, QStringLiteral("77.888.999/0001-63"), 0);
    cliente(4, QStringLiteral("529.982.247-25"), 7);
    cliente(800, documento1, 0);
    cliente(900001, documento2, 0);
    adicionar(b.pasta.store(), "pedidos", [](Record& r) {
        r.setInteger("ID", 1);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("NUMER", 1);
        r.setInteger("SITUA", 2);
        r.setInteger("CLIEN", 900001);
    });
    const Date corte = static_cast<TipoComunicacao>(tipo) == TipoComunicacao::Total
                           ? Date::fromYmd(2025, 1, 1)
                           : Date::fromYmd(2026, 1, 1);
    QVERIFY(b.conectar(servidor, static_cast<TipoComunicacao>(tipo), corte));
    QVERIFY2((zor ? baixarClientesZor : baixarClientesGerente)(*b.contexto),
             qPrintable(b.ouvinte.mensagens.join(QLatin1Char('\n'))));
    QStringList lidos;
    QString razaoLida, municipioEntrega;
    Table t(b.pasta.store(), "clientes");
    QVERIFY(t.open());
    Status s = t.seekPhysical();
    while (s == Status::Ok && (s = t.next()) == Status::Ok) {
        const Record& r = t.rec();
        lidos << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(r.integer("ID"))
                     .arg(r.integer("ATIVO"))
                     .arg(r.integer("COD_VENDEDOR"))
                     .arg(r.integer("FORMA_PAG"))
                     .arg(r.text("SUF_CGCPF").trimmed());
        if (r.integer("ID") == 2)
            razaoLida = r.text("RAZAO").trimmed();
        if (r.integer("ID") == 1)
            municipioEntrega = r.text("E_MUNIC").trimmed() + QLatin1Char('/') + r.text("E_ESTAD").trimmed();
    }
    lidos.sort();
    QCOMPARE(lidos, clientes);
    Table pedidos(b.pasta.store(), "pedidos");
    QVERIFY(pedidos.open());
    pedidos.clear();
    pedidos.rec().setInteger("ID", 1);
    QCOMPARE(pedidos.get("KEYID"), Status::Ok);
    QCOMPARE(pedidos.rec().integer("CLIEN"), clienteDoPedido);
    if (zor)
        QCOMPARE(razaoLida, razao2); // quotes, backslash and accents as the server holds them
    if (static_cast<TipoComunicacao>(tipo) == TipoComunicacao::Total)
        QCOMPARE(municipioEntrega, QStringLiteral("Florianópolis/SC"));
}

void TestDownloadClientes::receber_data() {
    QTest::addColumn<int>("esquema");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QStringList>("titulos");
    // The paid title 95-1 (paid 3 September) is within the history, but before the cut-off date.
    const QStringList todos = lista({"101-1|1", "101-2|1", "95-1|1", "P-2|2"});
    const QStringList abertos = lista({"101-1|1", "101-2|1", "P-2|2"});
    QTest::newRow("zor total") << int(Esquema::Zor) << int(TipoComunicacao::Total) << todos;
    QTest::newRow("zor parcial") << int(Esquema::Zor) << int(TipoComunicacao::Parcial) << abertos;
    QTest::newRow("gerente total") << int(Esquema::Gerente) << int(TipoComunicacao::Total) << todos;
    QTest::newRow("gerente parcial") << int(Esquema::Gerente) << int(TipoComunicacao::Parcial) << abertos;
}

// Open titles of every company go, paid ones stay, and only the salesperson's titles of the active
// company come back.
void TestDownloadClientes::receber() {
    QFETCH(int, esquema);
    QFETCH(int, tipo);
    QFETCH(QStringList, titulos);
    QAV_SERVIDOR_TESTE(servidor, static_cast<Esquema>(esquema));
    Baixa b;
    titulosLocais(b);
    QVERIFY(b.conectar(servidor, static_cast<TipoComunicacao>(tipo), Date::fromYmd(2026, 10, 1)));
    const Passo passo =
        static_cast<Esquema>(esquema) == Esquema::Zor ? baixarReceberZor : baixarReceberGerente;
    QVERIFY2(passo(*b.contexto), qPrintable(b.ouvinte.mensagens.join(QLatin1Char('\n'))));
    QVERIFY(b.contexto->passoOk);
    QCOMPARE(b.titulos(), titulos);
    QCOMPARE(b.ouvinte.registros.last(),
             QStringLiteral("Atualizados %1 Contas a Receber...").arg(titulos.size() - 1));
    QVERIFY(b.ouvinte.mensagens.isEmpty());
}

void TestDownloadClientes::camposDoTitulo_data() {
    QTest::addColumn<int>("esquema");
    QTest::newRow("zor") << int(Esquema::Zor);
    QTest::newRow("gerente") << int(Esquema::Gerente);
}

// The paid title's columns land in their fields, whatever each server form calls them.
void TestDownloadClientes::camposDoTitulo() {
    QFETCH(int, esquema);
    QAV_SERVIDOR_TESTE(servidor, static_cast<Esquema>(esquema));
    Baixa b;
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2026, 10, 1)));
    QVERIFY((static_cast<Esquema>(esquema) == Esquema::Zor ? baixarReceberZor
                                                           : baixarReceberGerente)(*b.contexto));
    Table ctr(b.pasta.store(), "ctr");
    QVERIFY(ctr.open());
    ctr.clear();
    ctr.rec().setText("NUMER", QStringLiteral("95-1"));
    ctr.rec().setInteger("ID_EMPRESA", 1);
    QCOMPARE(ctr.get("KEYNUMERO"), Status::Ok);
    const Record& r = ctr.rec();
    QCOMPARE(r.text("DOCTO").trimmed(), QStringLiteral("NF 4870/1"));
    QCOMPARE(r.integer("DEVED"), 4);
    QCOMPARE(r.date("EMISS"), Date::fromYmd(2026, 8, 1));
    QCOMPARE(r.date("VECTO"), Date::fromYmd(2026, 9, 1));
    QCOMPARE(r.decimal("VALOR"), *Decimal::parse("97.90"));
    QCOMPARE(r.decimal("JUROS"), *Decimal::parse("1.20"));
    QCOMPARE(r.decimal("DESP_COBRANCA"), *Decimal::parse("2.50"));
    QCOMPARE(r.date("DATA_RECBTO"), Date::fromYmd(2026, 9, 3));
    QCOMPARE(r.decimal("RECBT"), *Decimal::parse("101.60"));
    QCOMPARE(r.decimal("JUDIA"), *Decimal::parse("0.04"));
    QCOMPARE(r.decimal("COMIS"), *Decimal::parse("5.00"));
    QCOMPARE(r.text("PORTADOR").trimmed(), QStringLiteral("3"));
    QCOMPARE(r.text("CARTEIRA").trimmed(), QStringLiteral("2"));
}

void TestDownloadClientes::socios_data() {
    QTest::addColumn<int>("esquema");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QStringList>("socios");
    QTest::addColumn<int>("recebidos");
    // Customer 2 changed on the server after the cut-off date, customer 1 before it. Partner 1 was
    // stored with another name; partner 900 is the workstation's own.
    const QStringList todos = lista({
        "1|1|Antônio Ferreira|123.456.789-09|Brasileira|50000",
        "2|1|Márcia O'Neil|987.654.321-00|Irlandesa|25000",
        "3|2|João D'Ávila \\ Neto|111.444.777-35|Brasileira|10000",
        "900|900001|Sócio Local||Brasileira|1",
    });
    const QStringList parcial = lista({
        "1|1|Antigo Nome|||1",
        "3|2|João D'Ávila \\ Neto|111.444.777-35|Brasileira|10000",
        "900|900001|Sócio Local||Brasileira|1",
    });
    QTest::newRow("zor total") << int(Esquema::Zor) << int(TipoComunicacao::Total) << todos << 3;
    QTest::newRow("zor parcial") << int(Esquema::Zor) << int(TipoComunicacao::Parcial) << parcial << 1;
    QTest::newRow("gerente total") << int(Esquema::Gerente) << int(TipoComunicacao::Total) << todos << 3;
    QTest::newRow("gerente parcial") << int(Esquema::Gerente) << int(TipoComunicacao::Parcial) << parcial
                                     << 1;
}

// The partners of the salesperson's customers are added or changed, with quotes, backslashes and
// accents as the server holds them; partners are never deleted.
void TestDownloadClientes::socios() {
    QFETCH(int, esquema);
    QFETCH(int, tipo);
    QFETCH(QStringList, socios);
    QFETCH(int, recebidos);
    QAV_SERVIDOR_TESTE(servidor, static_cast<Esquema>(esquema));
    Baixa b;
    const auto socio = [&](int id, int cliente, const QString& nome, const QString& naciona) {
        adicionar(b.pasta.store(), "socios", [&](Record& r) {
            r.setInteger("ID_SOCIO", id);
            r.setInteger("ID_CLIENTE", cliente);
            r.setText("NOME", nome);
            r.setText("NACIONA", naciona);
            r.setReal("VL_QUOTAS", 1);
        });
    };
    socio(1, 1, QStringLiteral("Antigo Nome"), QString());
    socio(900, 900001, QStringLiteral("Sócio Local"), QStringLiteral("Brasileira"));
    QVERIFY(b.conectar(servidor, static_cast<TipoComunicacao>(tipo), Date::fromYmd(2026, 1, 1)));
    QVERIFY(
        (static_cast<Esquema>(esquema) == Esquema::Zor ? baixarSociosZor : baixarSociosGerente)(*b.contexto));
    QStringList lidos;
    Table t(b.pasta.store(), "socios");
    QVERIFY(t.open());
    Status s = t.seekFirst("KEYID");
    while (s == Status::Ok && (s = t.next()) == Status::Ok)
        lidos << QStringLiteral("%1|%2|%3|%4|%5|%6")
                     .arg(t.rec().integer("ID_SOCIO"))
                     .arg(t.rec().integer("ID_CLIENTE"))
                     .arg(t.rec().text("NOME").trimmed(), t.rec().text("CPF_CNPJ").trimmed(),
                          t.rec().text("NACIONA").trimmed())
                     .arg(t.rec().real("VL_QUOTAS"));
    QCOMPARE(lidos, socios);
    QCOMPARE(b.ouvinte.registros.last(), QStringLiteral("Atualizados %1 Sócios...").arg(recebidos));
}

void TestDownloadClientes::historico_data() {
    QTest::addColumn<int>("esquema");
    QTest::addColumn<int>("tipo");
    // "number|delivery|situation|invoice" of the history orders, and "number|server id|line|product"
    // of their items. 888 is an invoiced history order the server no longer lists: it stays.
    QTest::addColumn<QStringList>("pedidos");
    QTest::addColumn<QStringList>("itens");
    // The ERP: order 101 with its delivery 9001 (invoiced, situation 5 shown as 4), order 102 closed
    // within 60 days of the last communication, 104 released; a partial run leaves out the delivery
    // made before the cut-off date. The variation 1003 of 104's item is its product.
    QTest::newRow("zor total") << int(Esquema::Zor) << int(TipoComunicacao::Total)
                               << lista(
                                      {"101|0|1|0", "101|9001|4|5001", "102|0|4|0", "104|0|2|0", "888|0|4|0"})
                               << lista({"101|1|1|1001", "101|1|2|1002", "101|4|1|1001", "102|2|1|1004",
                                         "104|3|1|1003", "888|88|1|0"});
    QTest::newRow("zor parcial") << int(Esquema::Zor) << int(TipoComunicacao::Parcial)
                                 << lista({"101|0|1|0", "102|0|4|0", "104|0|2|0", "888|0|4|0"})
                                 << lista({"101|1|1|1001", "101|1|2|1002", "102|2|1|1004", "104|3|1|1003",
                                           "888|88|1|0"});
    // The office: situation 5 is unknown there and shows as 1; a partial run takes the orders
    // invoiced or placed on or after the cut-off date and those not invoiced.
    QTest::newRow("gerente total") << int(Esquema::Gerente) << int(TipoComunicacao::Total)
                                   << lista({"101|0|1|5001", "102|0|1|0", "104|0|1|0", "105|0|2|0",
                                             "106|0|2|0", "888|0|4|0"})
                                   << lista({"101|1|1|1001", "101|1|2|1002", "102|2|1|1004", "104|3|1|1001",
                                             "105|4|1|1001", "105|4|2|1002", "106|5|1|1001", "888|88|1|0"});
    QTest::newRow("gerente parcial") << int(Esquema::Gerente) << int(TipoComunicacao::Parcial)
                                     << lista(
                                            {"102|0|1|0", "104|0|1|0", "105|0|2|0", "106|0|2|0", "888|0|4|0"})
                                     << lista({"102|2|1|1004", "104|3|1|1001", "105|4|1|1001", "105|4|2|1002",
                                               "106|5|1|1001", "888|88|1|0"});
}

// The history orders received are added or changed (their old items dropped), the uninvoiced ones the
// server no longer lists go with their items, and the item step brings the items of the orders
// received; texts arrive as the server holds them.
void TestDownloadClientes::historico() {
    QFETCH(int, esquema);
    QFETCH(int, tipo);
    QFETCH(QStringList, pedidos);
    QFETCH(QStringList, itens);
    const bool zor = static_cast<Esquema>(esquema) == Esquema::Zor;
    QAV_SERVIDOR_TESTE(servidor, static_cast<Esquema>(esquema));
    const QString obs = QStringLiteral("Entregar no \"galpão\" D'Ávila \\ fundos; -- ok");
    servidor.executar(
        QStringLiteral("UPDATE %1.pedidos SET obs=E'Entregar no \"galpão\" D\\'Ávila \\\\ fundos; -- ok' "
                       "WHERE numero=104")
            .arg(zor ? QStringLiteral("zor") : QStringLiteral("gerente")));
    Baixa b;
    const auto historico = [&](int numero, int idPedcon, Date faturado) {
        adicionar(b.pasta.store(), "pedcon", [&](Record& r) {
            r.setInteger("ID_PEDCON", idPedcon);
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("NUMERO", numero);
            r.setInteger("SITUACAO", 4);
            r.setDate("DATA_FATUR", faturado);
        });
        adicionar(b.pasta.store(), "pedicon", [&](Record& r) {
            r.setInteger("ID_PEDCON", idPedcon);
            r.setInteger("ORDEM", numero == 101 ? 5 : 1);
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("NUM_PEDIDO", numero);
        });
    };
    historico(101, 1, Date());
    historico(777, 77, Date());
    historico(888, 88, Date::fromYmd(2025, 3, 1));
    QVERIFY(b.conectar(servidor, static_cast<TipoComunicacao>(tipo), Date::fromYmd(2026, 11, 1)));
    QVERIFY2((zor ? baixarHistoricoZor : baixarHistoricoGerente)(*b.contexto),
             qPrintable(b.ouvinte.mensagens.join(QLatin1Char('\n'))));
    QStringList lidos;
    QString obsLida, volume101, descricao;
    Table pedcon(b.pasta.store(), "pedcon"), pedicon(b.pasta.store(), "pedicon");
    QVERIFY(pedcon.open() && pedicon.open());
    Status s = pedcon.seekPhysical();
    while (s == Status::Ok && (s = pedcon.next()) == Status::Ok) {
        const Record& r = pedcon.rec();
        lidos << QStringLiteral("%1|%2|%3|%4")
                     .arg(r.integer("NUMERO"))
                     .arg(r.integer("NUM_ENTREGA"))
                     .arg(r.integer("SITUACAO"))
                     .arg(r.integer("NUM_NF"));
        if (r.integer("NUMERO") == 104)
            obsLida = r.text("OBS").trimmed();
        if (r.integer("NUMERO") == 101 && r.integer("NUM_ENTREGA") == 0)
            volume101 = QString::fromStdString(r.decimal("VOL_M3").toString(6));
    }
    lidos.sort();
    QCOMPARE(lidos, pedidos);
    QCOMPARE(obsLida, obs);
    lidos.clear();
    s = pedicon.seekPhysical();
    while (s == Status::Ok && (s = pedicon.next()) == Status::Ok) {
        if (pedicon.rec().integer("ID_PRODUTO") == 1001)
            descricao = pedicon.rec().text("DESCR_PRODUTO").trimmed();
        lidos << QStringLiteral("%1|%2|%3|%4")
                     .arg(pedicon.rec().integer("NUM_PEDIDO"))
                     .arg(pedicon.rec().integer("ID_PEDCON"))
                     .arg(pedicon.rec().integer("ORDEM"))
                     .arg(pedicon.rec().integer("ID_PRODUTO"));
    }
    lidos.sort();
    QCOMPARE(lidos, itens);
    QCOMPARE(descricao, QStringLiteral("Perfil \"U\" 3/4' anodizado \\ fosco"));
    // The ERP's volume: 10 × 0.0012 m³ and 4 × 0.0004 m³ (the office's form does not fill it).
    if (zor)
        QCOMPARE(volume101, QStringLiteral("0.013600"));
    QVERIFY(b.ouvinte.mensagens.isEmpty());
}

// Items whose history order was not received are skipped: an order the office enters between the
// history statement and the item statement brings items but no history row; the step ends well
// with the items of the orders it received.
void TestDownloadClientes::itemSemPedidoIgnorado() {
    QAV_SERVIDOR_TESTE(servidor, Esquema::Zor);
    Baixa b;
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2026, 11, 1)));
    b.ouvinte.aoRegistrar = [&](const QString& texto) {
        if (texto == QStringLiteral("Atualizando Itens do Pedido Consulta..."))
            servidor.executar(QStringLiteral(
                "INSERT INTO zor.pedidos (id_pedido, id_empresa, cod_vendedor, tipo, numero, situa, data) "
                "VALUES (60, 1, 5, 'P', 107, 1, '2026-12-08');"
                "INSERT INTO zor.peditens (id_peditem, id_pedido, ordem, produ, qtd, pruni, total) "
                "VALUES (60, 60, 1, 1001, 1, 25.5, 25.5);"));
    };
    QVERIFY2(baixarHistoricoZor(*b.contexto), qPrintable(b.ouvinte.mensagens.join(QLatin1Char('\n'))));
    QCOMPARE(b.ouvinte.registros.last(), QStringLiteral("Atualizados 5 Itens do Pedido Consulta..."));
    Table pedicon(b.pasta.store(), "pedicon");
    QVERIFY(pedicon.open());
    long long itens = 0;
    Status s = pedicon.seekPhysical();
    while (s == Status::Ok && (s = pedicon.next()) == Status::Ok) {
        ++itens;
        QVERIFY(pedicon.rec().integer("NUM_PEDIDO") != 107);
    }
    QCOMPARE(itens, 5);
}

void TestDownloadClientes::passoQueFalhaDeixaTabela_data() {
    QTest::addColumn<int>("esquema");
    QTest::addColumn<bool>("recusa"); // else the run is asked to stop while rows arrive
    QTest::newRow("zor recusado") << int(Esquema::Zor) << true;
    QTest::newRow("gerente recusado") << int(Esquema::Gerente) << true;
    QTest::newRow("zor parado") << int(Esquema::Zor) << false;
    QTest::newRow("gerente parado") << int(Esquema::Gerente) << false;
}

// A receivables step that the server refuses after the open titles were cleared, or that is stopped
// among its rows, leaves the local titles as they were, and says it did not end.
void TestDownloadClientes::passoQueFalhaDeixaTabela() {
    QFETCH(int, esquema);
    QFETCH(bool, recusa);
    QAV_SERVIDOR_TESTE(servidor, static_cast<Esquema>(esquema));
    const QString tabela = static_cast<Esquema>(esquema) == Esquema::Zor ? QStringLiteral("zor.ctr")
                                                                         : QStringLiteral("gerente.ctr");
    if (recusa)
        servidor.executar(QStringLiteral("ALTER TABLE %1 RENAME COLUMN judia TO juros_dia").arg(tabela));
    else
        servidor.executar(
            QStringLiteral("INSERT INTO %1 (id_empresa, cod_vendedor, numero, vecto, situacao) "
                           "SELECT 1, 5, 'S-' || n, '2026-12-20', 'A' FROM generate_series(1, 300) n")
                .arg(tabela));
    Baixa b;
    titulosLocais(b);
    const QStringList antes = b.titulos();
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2026, 10, 1)));
    b.ouvinte.parar = !recusa;
    QVERIFY(!(static_cast<Esquema>(esquema) == Esquema::Zor ? baixarReceberZor
                                                            : baixarReceberGerente)(*b.contexto));
    QVERIFY(!b.contexto->passoOk);
    QCOMPARE(b.titulos(), antes);
    if (recusa) {
        QCOMPARE(b.ouvinte.mensagens.size(), 1);
        QVERIFY2(b.ouvinte.mensagens.first().contains(QStringLiteral("|SELECT numero,docto")),
                 qPrintable(b.ouvinte.mensagens.first()));
    }
}

void TestDownloadClientes::clientesESociosRecusadosSemComando_data() {
    QTest::addColumn<int>("esquema");
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<bool>("socios");
    QTest::newRow("clientes zor") << int(Esquema::Zor)
                                  << QStringLiteral("ALTER TABLE zor.corrent RENAME COLUMN www TO site")
                                  << false;
    QTest::newRow("clientes gerente")
        << int(Esquema::Gerente) << QStringLiteral("ALTER TABLE gerente.clientes RENAME COLUMN www TO site")
        << false;
    QTest::newRow("sócios zor") << int(Esquema::Zor)
                                << QStringLiteral("ALTER TABLE gestao.socios RENAME COLUMN naciona TO pais")
                                << true;
}

// A customer or partner statement that the server refuses ends the step with the server's text alone;
// unlike the receivables and history steps, the statement is not shown.
void TestDownloadClientes::clientesESociosRecusadosSemComando() {
    QFETCH(int, esquema);
    QFETCH(QString, preparo);
    QFETCH(bool, socios);
    QAV_SERVIDOR_TESTE(servidor, static_cast<Esquema>(esquema));
    servidor.executar(preparo);
    Baixa b;
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2026, 10, 1)));
    const bool zor = static_cast<Esquema>(esquema) == Esquema::Zor;
    const auto passo = socios ? (zor ? baixarSociosZor : baixarSociosGerente)
                              : (zor ? baixarClientesZor : baixarClientesGerente);
    QVERIFY(!passo(*b.contexto));
    QCOMPARE(b.ouvinte.mensagens.size(), 1);
    QVERIFY2(b.ouvinte.mensagens.first().startsWith(QStringLiteral(": ")) &&
                 !b.ouvinte.mensagens.first().contains(QStringLiteral("|SELECT")),
             qPrintable(b.ouvinte.mensagens.first()));
}

// A customer download stopped among its rows leaves the customers and orders as they were, also the
// workstation's customer that the office had already taken over.
void TestDownloadClientes::clientesParadoDeixaTabela() {
    QAV_SERVIDOR_TESTE(servidor, Esquema::Gerente);
    servidor.executar(
        QStringLiteral("INSERT INTO gerente.clientes (id_cliente, ativo, pesso, cgcpf, razao, nome, "
                       "cod_vendedor, dt_atual) SELECT 1000 + n, 1, 2, '00.000.' || n, 'Cliente ' || n, "
                       "'C' || n, 5, '2026-11-30' FROM generate_series(1, 300) n"));
    Baixa b;
    adicionar(b.pasta.store(), "clientes", [](Record& r) {
        r.setInteger("ID", 900001);
        r.setInteger("COD_VENDEDOR", 5);
        r.setText("CGCPF", QStringLiteral("44.555.666/0001-72")); // the office's customer 2
    });
    adicionar(b.pasta.store(), "pedidos", [](Record& r) {
        r.setInteger("ID", 1);
        r.setInteger("SITUA", 2);
        r.setInteger("CLIEN", 900001);
    });
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2025, 1, 1)));
    b.ouvinte.parar = true;
    QVERIFY(!baixarClientesGerente(*b.contexto));
    QVERIFY(!b.contexto->passoOk);
    QVERIFY2(b.ouvinte.mensagens.isEmpty(), qPrintable(b.ouvinte.mensagens.join(QLatin1Char('\n'))));
    QList<long long> ids;
    Table clientes(b.pasta.store(), "clientes"), pedidos(b.pasta.store(), "pedidos");
    QVERIFY(clientes.open() && pedidos.open());
    Status s = clientes.seekPhysical();
    while (s == Status::Ok && (s = clientes.next()) == Status::Ok)
        ids << clientes.rec().integer("ID");
    QCOMPARE(ids, QList<long long>{900001});
    pedidos.clear();
    pedidos.rec().setInteger("ID", 1);
    QCOMPARE(pedidos.get("KEYID"), Status::Ok);
    QCOMPARE(pedidos.rec().integer("CLIEN"), 900001);
}

// A customer text the local files cannot hold (a character outside their code page) ends the step
// with a message, as a failed write does, and leaves the customers as they were.
void TestDownloadClientes::textoQueNaoCabeEncerraOPasso() {
    // A character the local code page cannot hold comes down in its nearest plain form: the customer
    // arrives, the run is told once in its log, no message stops it.
    QAV_SERVIDOR_TESTE(servidor, Esquema::Zor);
    servidor.executar(
        QStringLiteral("UPDATE zor.corrent SET razao='Loja Sorriso \U0001F600' WHERE id_corrent=2"));
    Baixa b;
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2025, 1, 1)));
    QVERIFY(baixarClientesZor(*b.contexto));
    QVERIFY(b.ouvinte.mensagens.isEmpty());
    QCOMPARE(b.contexto->textosAjustados, 1);
    Table clientes(b.pasta.store(), "clientes");
    QVERIFY(clientes.open());
    clientes.rec().setInteger("ID", 2);
    QCOMPARE(clientes.get("KEYID"), Status::Ok);
    const QString razao = clientes.rec().text("RAZAO").trimmed();
    QVERIFY2(razao.startsWith(QStringLiteral("Loja Sorriso")) && !razao.contains(QChar(0xD83D)),
             qPrintable(razao));
}

// The same for any other download, here a partner's name.
void TestDownloadClientes::socioComTextoQueNaoCabe() {
    QAV_SERVIDOR_TESTE(servidor, Esquema::Gerente);
    servidor.executar(QStringLiteral("UPDATE gestao.socios SET nome='Ana \U0001F600' WHERE id_socio=3"));
    Baixa b;
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2025, 1, 1)));
    QVERIFY(baixarSociosGerente(*b.contexto));
    QVERIFY(b.ouvinte.mensagens.isEmpty());
    QCOMPARE(b.contexto->textosAjustados, 1);
    Table socios(b.pasta.store(), "socios");
    QVERIFY(socios.open());
    QCOMPARE(socios.seekPhysical(), Status::Ok);
    bool achou = false;
    while (socios.next() == Status::Ok)
        achou = achou || socios.rec().text("NOME").trimmed().startsWith(QStringLiteral("Ana"));
    QVERIFY(achou);
}

// A disk that refuses writes ends the history step with the store's message; the stored history is
// as it was once the disk works again.
void TestDownloadClientes::discoQueFalhaDeixaHistorico() {
    QAV_SERVIDOR_TESTE(servidor, Esquema::Zor);
    test::FailingDisk disco;
    Baixa b;
    adicionar(b.pasta.store(), "pedcon", [](Record& r) {
        r.setInteger("ID_PEDCON", 77);
        r.setInteger("ID_EMPRESA", 1);
        r.setInteger("NUMERO", 777);
    });
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2026, 11, 1)));
    disco.setFailing(true);
    QVERIFY(!baixarHistoricoZor(*b.contexto));
    disco.setFailing(false);
    QVERIFY(!b.contexto->passoOk);
    QCOMPARE(b.ouvinte.mensagens.size(), 1);
    QVERIFY2(b.ouvinte.mensagens.first().contains(QStringLiteral(") ao gravar pedido consulta!")),
             qPrintable(b.ouvinte.mensagens.first()));
    Table pedcon(b.pasta.store(), "pedcon");
    QVERIFY(pedcon.open());
    QList<long long> numeros;
    Status s = pedcon.seekPhysical();
    while (s == Status::Ok && (s = pedcon.next()) == Status::Ok)
        numeros << pedcon.rec().integer("NUMERO");
    QCOMPARE(numeros, QList<long long>{777});
}

// Each form runs only against its own system, and no customer download runs in an orders-only run.
void TestDownloadClientes::formaDeOutroSistemaNaoRoda() {
    QAV_SERVIDOR_TESTE(servidor, Esquema::Zor);
    Baixa b;
    titulosLocais(b);
    const QStringList antes = b.titulos();
    QVERIFY(b.conectar(servidor, TipoComunicacao::Total, Date::fromYmd(2026, 10, 1)));
    QVERIFY(baixarReceberGerente(*b.contexto));
    QVERIFY(baixarSociosGerente(*b.contexto));
    b.contexto->tipo = TipoComunicacao::SomentePedidos;
    QVERIFY(baixarReceberZor(*b.contexto));
    QVERIFY(baixarSociosZor(*b.contexto));
    QCOMPARE(b.titulos(), antes);
    Table socios(b.pasta.store(), "socios");
    QVERIFY(socios.open());
    QCOMPARE(socios.seekPhysical(), Status::Ok);
    QCOMPARE(socios.next(), Status::EndOfFile);
    QVERIFY(b.ouvinte.registros.isEmpty());
}

void TestDownloadClientes::saldoFlex_data() {
    QTest::addColumn<bool>("comConfiguracao");
    // Orders as "situation:flex?:item flex values"; expected debit, credit, balance.
    QTest::addColumn<QStringList>("pedidos");
    QTest::addColumn<QString>("debito");
    QTest::addColumn<QString>("credito");
    QTest::addColumn<QString>("saldo");
    QTest::newRow("um usa, outro gera")
        << true << lista({"1:1:30,20", "2:1:-100,20"}) << QStringLiteral("-80.00") << QStringLiteral("50.00")
        << QStringLiteral("70.00");
    QTest::newRow("transmitidos e cancelados não contam")
        << true << lista({"3:1:500", "4:1:-500", "2:1:10", "3:1:-7"}) << QStringLiteral("0.00")
        << QStringLiteral("10.00") << QStringLiteral("110.00");
    QTest::newRow("pedido sem flex conta zero")
        << true << lista({"1:0:40", "2:1:-5"}) << QStringLiteral("-5.00") << QStringLiteral("0.00")
        << QStringLiteral("95.00");
    QTest::newRow("sem configuração") << false << lista({"1:1:12.34"}) << QStringLiteral("0.00")
                                      << QStringLiteral("12.34") << QStringLiteral("12.34");
    QTest::newRow("sem pedidos") << true << lista({}) << QStringLiteral("0.00") << QStringLiteral("0.00")
                                 << QStringLiteral("100.00");
}

// The server's balance of 100 plus what the orders not yet transmitted used and added.
void TestDownloadClientes::saldoFlex() {
    QFETCH(bool, comConfiguracao);
    QFETCH(QStringList, pedidos);
    QFETCH(QString, debito);
    QFETCH(QString, credito);
    QFETCH(QString, saldo);
    test::TempDataFolder pasta;
    Table cfg(pasta.store(), "qavcfg"), ped(pasta.store(), "pedidos"), itens(pasta.store(), "peditens");
    QVERIFY(cfg.open() && ped.open() && itens.open());
    if (comConfiguracao) {
        cfg.clear();
        cfg.rec().setInteger("ID_EMPRESA", 1);
        cfg.rec().setInteger("PERMITIR_FLEX", 1);
        cfg.rec().setDecimal("SALDO_FLEX", Decimal(100));
        QCOMPARE(cfg.add(), Status::Ok);
    }
    int idItem = 0;
    for (int n = 0; n < pedidos.size(); ++n) {
        const QStringList partes = pedidos[n].split(QLatin1Char(':'));
        ped.clear();
        ped.rec().setInteger("ID", n + 1);
        ped.rec().setInteger("ID_EMPRESA", 1);
        ped.rec().setInteger("NUMER", n + 1);
        ped.rec().setInteger("SITUA", partes[0].toInt());
        ped.rec().setInteger("PED_FLEX", partes[1].toInt());
        QCOMPARE(ped.add(), Status::Ok);
        for (const QString& valor : partes[2].split(QLatin1Char(','))) {
            itens.clear();
            itens.rec().setInteger("ID_VENDASI", ++idItem);
            itens.rec().setInteger("ID_VENDA", n + 1);
            itens.rec().setInteger("PRODU", 1000 + idItem);
            itens.rec().setDecimal("VL_FLEX", *Decimal::parse(valor.toStdString()));
            QCOMPARE(itens.add(), Status::Ok);
        }
    }
    const auto calculado = calcularSaldoFlex(pasta.store(), 1);
    QVERIFY2(calculado.ok(), qPrintable(calculado.erro));
    const auto& valores = calculado.valor;
    QCOMPARE(QString::fromStdString(valores->saldoEmpresa.toString(2)),
             comConfiguracao ? QStringLiteral("100.00") : QStringLiteral("0.00"));
    QCOMPARE(QString::fromStdString(valores->outrosDeb.toString(2)), debito);
    QCOMPARE(QString::fromStdString(valores->outrosCre.toString(2)), credito);
    QCOMPARE(QString::fromStdString(valores->saldo.toString(2)), saldo);
}

QAV_TEST_GUILESS_MAIN(TestDownloadClientes)
#include "tst_downloadclientes.moc"
