// Texts between the workstation and servers in the encodings the sales offices run (UTF8, LATIN1,
// WIN1252, SQL_ASCII and another single-byte one), as whole communication runs against real
// databases of the test cluster: accented names come down as the office wrote them, new customers and
// order notes go up readable by the office's programs, characters one side cannot hold cross in their
// nearest plain form with a line in the run's log, and neither such a text nor a server's date style
// nor a throwing step ends the run badly.
#include "OuvinteGravador.h"
#include "store/core/Table.h"
#include "store/core/Text.h"
#include "sync/core/envio/Pedidos.h"
#include "sync/core/execucao/Comunicacao.h"
#include "sync/core/roteiro/Passos.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/sync/EnvioFixture.h"

#include <QtTest>

using namespace qav;
using namespace qav::sync;
using namespace Qt::StringLiterals;
using qav::test::ServidorTeste;

namespace {

using Ouvinte = test::OuvinteGravador;

Desfecho rodar(Store& store, Ouvinte& ouvinte, TipoComunicacao tipo = TipoComunicacao::Total) {
    PedidoComunicacao pedido;
    pedido.idEmpresa = 1;
    pedido.tipo = tipo;
    pedido.confirmado = true;
    return comunicar(store, ouvinte, pedido, passosPadrao());
}

sync::ParametrosConexao parametros(const ServidorTeste& s) {
    return {s.database(), s.host(), s.port(), s.passwordUser(), s.password()};
}

// The record of `tabela` whose `campo` is `id`; blank when there is none.
Record ler(Store& store, const char* tabela, const char* campo, long long id) {
    Table t(store, tabela);
    t.open();
    t.setFilter(std::string(campo) + " = ?", {QVariant::fromValue(id)});
    if (t.seekPhysical() != Status::Ok || t.next() != Status::Ok)
        t.clear();
    return t.rec();
}

// A workstation of salesperson 5 with one released order for one new customer; the customer's name
// and the order's note are the texts that go up.
void prepararEnvio(Store& store, const ServidorTeste& s, const QString& razao, const QString& obs) {
    test::prepararEnvio(store, parametros(s), {.pedidos = 1, .itens = 1, .clientes = 1});
    Table clientes(store, "clientes"), pedidos(store, "pedidos");
    QVERIFY(clientes.open() && pedidos.open());
    clientes.clear();
    clientes.rec().setInteger("ID", 900001);
    QCOMPARE(clientes.get("KEYID"), Status::Ok);
    clientes.rec().setText("RAZAO", razao);
    QCOMPARE(clientes.put(), Status::Ok);
    pedidos.clear();
    pedidos.rec().setInteger("ID", 1);
    QCOMPARE(pedidos.get("KEYID"), Status::Ok);
    pedidos.rec().setText("OBS", obs);
    QCOMPARE(pedidos.put(), Status::Ok);
}

const QString kRazaoServidor = u"Ação Çarpintaria Fábrica Ñandu"_s;
const QString kRazaoNova = u"Serralheria São Cristóvão D'Ávila"_s;
const QString kObs = u"Preço 5€ “especial” – já…"_s;

} // namespace

class TestCodificacao : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void idaEVolta_data();
    void idaEVolta();
    void caracteresQueNaoDescem();
    void vendedorETipoDePedidoComCaracteresForaDoCodigo();
    void estiloDeDataDoServidor();
    void dataIlegivelParaARodada();
    void passoQueLancaFalhaSemEncerrarOPrograma();
    void recusaNaTabelaDeTaxasAparece();
};

// The same round trip on each encoding: what an office program of that encoding wrote comes down
// unchanged, and what this workstation sends reads right there.
void TestCodificacao::idaEVolta_data() {
    QTest::addColumn<QString>("banco");
    QTest::addColumn<QString>("clienteDoEscritorio"); // how the office's program connects
    QTest::addColumn<QString>("obsNoServidor");       // the order's note as the office reads it
    QTest::newRow("UTF8") << u"UTF8"_s << u"UTF8"_s << kObs;
    QTest::newRow("WIN1252") << u"WIN1252"_s << u"WIN1252"_s << kObs;
    QTest::newRow("SQL_ASCII") << u"SQL_ASCII"_s << u"SQL_ASCII"_s << kObs;
    QTest::newRow("LATIN1") << u"LATIN1"_s << u"LATIN1"_s << u"Preço 5EUR \"especial\" - já..."_s;
    // Another single-byte encoding, whose characters the workstation learns from the server: it has
    // the euro, not the typographic quotes.
    QTest::newRow("LATIN9") << u"LATIN9"_s << u"UTF8"_s << u"Preço 5€ \"especial\" - já..."_s;
}

void TestCodificacao::idaEVolta() {
    QFETCH(QString, banco);
    QFETCH(QString, clienteDoEscritorio);
    QFETCH(QString, obsNoServidor);
    QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Zor, ServidorTeste::Dados::Teste, banco);
    QCOMPARE(s.valor(u"SHOW server_encoding"_s), banco);
    s.executarComo(clienteDoEscritorio,
                   u"UPDATE zor.corrent SET razao='"_s + kRazaoServidor + u"' WHERE id_corrent=1;"_s);
    test::TempDataFolder pasta;
    prepararEnvio(pasta.store(), s, kRazaoNova, kObs);

    Ouvinte ouvinte;
    QCOMPARE(rodar(pasta.store(), ouvinte).resultado, ResultadoComunicacao::Sucesso);

    QCOMPARE(text::rtrim(ler(pasta.store(), "clientes", "ID", 1).text("RAZAO")), kRazaoServidor);
    const QString documento = test::documentoEnvio(1);
    const QString clienteNoServidor = u"SELECT razao FROM zor.corrent WHERE cgcpf='"_s + documento + u"'"_s;
    const QString obsDoPedido = u"SELECT obs FROM zor.pedidos ORDER BY id_pedido DESC LIMIT 1"_s;
    if (banco == u"SQL_ASCII"_s) {
        // The office's programs read Windows-1252 bytes.
        QCOMPARE(s.bytes(clienteNoServidor), *text::toWin1252(kRazaoNova));
        QCOMPARE(s.bytes(obsDoPedido), *text::toWin1252(obsNoServidor));
    } else {
        QCOMPARE(s.valor(clienteNoServidor), kRazaoNova);
        QCOMPARE(s.valor(obsDoPedido), obsNoServidor);
    }
    // A note that lost characters on the way says so once, naming the order and the column.
    const QStringList ajustes = ouvinte.linhasCom(u"Texto ajustado no envio"_s);
    if (obsNoServidor == kObs) {
        QVERIFY2(ajustes.isEmpty(), qPrintable(ouvinte.tudo()));
    } else {
        QCOMPARE(ajustes.size(), 1);
        QVERIFY2(ajustes.front().contains(u"Pedido # 1, zor.pedidos.obs"_s), qPrintable(ajustes.front()));
        QVERIFY(ouvinte.registros.contains(u"1 texto ajustado"_s));
    }
}

// A UTF8 server holds characters the local tables cannot: the rows come in their nearest plain form,
// every other row arrives, and the run counts them instead of stopping.
void TestCodificacao::caracteresQueNaoDescem() {
    // What every step brings from the test data as it stands, for comparison.
    QStringList contagensSemAjuste;
    {
        QAV_SERVIDOR_TESTE(referencia, ServidorTeste::Esquema::Zor);
        test::TempDataFolder pasta;
        prepararEnvio(pasta.store(), referencia, kRazaoNova, kObs);
        Ouvinte ouvinte;
        QVERIFY2(rodar(pasta.store(), ouvinte).resultado == ResultadoComunicacao::Sucesso,
                 qPrintable(ouvinte.tudo()));
        contagensSemAjuste = ouvinte.linhasCom(u"Atualizad"_s);
    }
    QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Zor);
    s.executar(u"UPDATE zor.corrent SET obs='Cliente 😀 pontual' WHERE id_corrent=2;"
               "UPDATE gestao.produto SET descr_det='Tubo ⌀ 25 mm' WHERE id_produto=1;"_s);
    test::TempDataFolder pasta;
    prepararEnvio(pasta.store(), s, kRazaoNova, kObs);

    Ouvinte ouvinte;
    QVERIFY2(rodar(pasta.store(), ouvinte).resultado == ResultadoComunicacao::Sucesso,
             qPrintable(ouvinte.tudo()));

    QCOMPARE(text::rtrim(ler(pasta.store(), "clientes", "ID", 2).text("OBS")), u"Cliente ? pontual"_s);
    QCOMPARE(text::rtrim(ler(pasta.store(), "produto", "ID", 1001).text("NOME")), u"Tubo Ø 25 mm"_s);
    // Every step brought as many rows as without those two characters.
    QCOMPARE(ouvinte.linhasCom(u"Atualizad"_s), contagensSemAjuste);
    QCOMPARE(ouvinte.linhasCom(u"Texto ajustado (Clientes 2): obs"_s).size(), 1);
    QCOMPARE(ouvinte.linhasCom(u"Texto ajustado (Produtos "_s).size(), 1);
    // The product's text comes down again in the items of the order history; the end of the run
    // counts every line.
    const qsizetype ajustados = ouvinte.linhasCom(u"Texto ajustado ("_s).size();
    QVERIFY(ajustados > 2);
    QVERIFY2(ouvinte.registros.contains(u"%1 textos ajustados"_s.arg(ajustados)), qPrintable(ouvinte.tudo()));
    QVERIFY2(ouvinte.mensagens == QStringList{u"Aviso: Comunicação concluida com sucesso!"_s},
             qPrintable(ouvinte.mensagens.join(QLatin1Char('\n'))));
}

// A zero-width space pasted into the salesperson's name and an emoji in an order type: the settings
// steps store them as the downloads do, and the run completes.
void TestCodificacao::vendedorETipoDePedidoComCaracteresForaDoCodigo() {
    QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Zor);
    s.executar(u"UPDATE gestao.vendedor SET nome='José\u200B Conceição' WHERE id_vendedor=10;"
               "UPDATE gestao.qavtipoped SET descricao='Bonificação 🎁' WHERE id_qavtipoped=2;"_s);
    test::TempDataFolder pasta;
    prepararEnvio(pasta.store(), s, kRazaoNova, u"Sem pressa"_s);

    Ouvinte ouvinte;
    QVERIFY2(rodar(pasta.store(), ouvinte, TipoComunicacao::Parcial).resultado ==
                 ResultadoComunicacao::Sucesso,
             qPrintable(ouvinte.tudo()));
    QCOMPARE(text::rtrim(ler(pasta.store(), "vendedor", "ID_VENDEDOR", 10).text("NOME")),
             u"José Conceição"_s);
    QCOMPARE(text::rtrim(ler(pasta.store(), "qavtipoped", "ID", 2).text("DESCRICAO")), u"Bonificação ?"_s);
    QCOMPARE(ouvinte.linhasCom(u"Texto ajustado (Vendedor/Representante 5): nome"_s).size(), 1);
    QCOMPARE(ouvinte.linhasCom(u"Texto ajustado (Tipo de Pedido 2): descricao"_s).size(), 1);
    QVERIFY(ouvinte.registros.contains(u"2 textos ajustados"_s));
    // The order went as well.
    QCOMPARE(ler(pasta.store(), "pedidos", "ID", 1).integer("SITUA"), 3);
}

// The server's date is read by position: a server set up with another DateStyle still gives the
// right date of the last communication.
void TestCodificacao::estiloDeDataDoServidor() {
    QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Zor);
    s.executar(u"ALTER DATABASE "_s + s.database() + u" SET DateStyle = 'SQL, DMY';"_s);
    QVERIFY(ServidorTeste::tryConnect(s.database(), s.passwordUser(), s.password(),
                                      u"DO $$ BEGIN IF now()::text NOT LIKE '__/__/____%' THEN "
                                      "RAISE 'DateStyle not applied'; END IF; END $$"_s)
                .isEmpty());
    const auto hoje = Date::fromIso(s.valor(u"SELECT to_char(current_date, 'YYYY-MM-DD')"_s).toStdString());
    QVERIFY(hoje);
    test::TempDataFolder pasta;
    prepararEnvio(pasta.store(), s, kRazaoNova, u"Sem pressa"_s);

    Ouvinte ouvinte;
    QVERIFY2(rodar(pasta.store(), ouvinte).resultado == ResultadoComunicacao::Sucesso,
             qPrintable(ouvinte.tudo()));
    QCOMPARE(ler(pasta.store(), "qavcfg", "ID_EMPRESA", 1).date("DT_ULT_COM"), *hoje);
    QVERIFY(
        ouvinte.registros.contains(u"Data no servidor "_s + QString::fromStdString(hoje->toBr()) + u"..."_s));
}

// A date the run cannot read stops the run with a clear message; the last communication stays as
// it was (a blank one would lock the installation at its next start).
void TestCodificacao::dataIlegivelParaARodada() {
    QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Zor);
    // A now() of the database's own, found before the system's one.
    s.executar(u"CREATE FUNCTION public.now() RETURNS text LANGUAGE sql AS $$ SELECT 'amanhã'::text $$;"
               "GRANT USAGE ON SCHEMA public TO "_s +
               s.passwordUser() + u"; ALTER DATABASE "_s + s.database() +
               u" SET search_path = public, pg_catalog;"_s);
    test::TempDataFolder pasta;
    prepararEnvio(pasta.store(), s, kRazaoNova, u"Sem pressa"_s);
    const Date antes = ler(pasta.store(), "qavcfg", "ID_EMPRESA", 1).date("DT_ULT_COM");

    Ouvinte ouvinte;
    QCOMPARE(rodar(pasta.store(), ouvinte).resultado, ResultadoComunicacao::Falhou);
    QVERIFY2(ouvinte.mensagens.filter(u"Data do servidor ilegível: \"amanhã\""_s).size() == 1,
             qPrintable(ouvinte.tudo()));
    QCOMPARE(ler(pasta.store(), "qavcfg", "ID_EMPRESA", 1).date("DT_ULT_COM"), antes);
    QCOMPARE(ler(pasta.store(), "pedidos", "ID", 1).integer("SITUA"), 2);
}

// A value the salesperson step works out that its field cannot hold (two commission rates that each
// fit, summed past it) makes the step throw: the run fails as that step, with the reason, and the
// program goes on. A server value that does not fit (a byte field given 300) is only logged.
void TestCodificacao::passoQueLancaFalhaSemEncerrarOPrograma() {
    QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Zor);
    s.executar(u"UPDATE gestao.qavcfg SET preco_com_ipi=300 WHERE id_empresa=1;"
               u"UPDATE gestao.vendedor SET com_ven=60000, com_rec=50000;"_s);
    test::TempDataFolder pasta;
    prepararEnvio(pasta.store(), s, kRazaoNova, u"Sem pressa"_s);

    Ouvinte ouvinte;
    QCOMPARE(rodar(pasta.store(), ouvinte).resultado, ResultadoComunicacao::Falhou);
    const QStringList falhas = ouvinte.mensagens.filter(u"Erro: Falha inesperada na comunicação!|"_s);
    QCOMPARE(falhas.size(), 1);
    QVERIFY2(falhas.front().contains(u"too large for its field"_s), qPrintable(falhas.front()));
    QVERIFY2(ouvinte.registros.contains(u"Valor não cabe no campo PRECO_COM_IPI (Configuração): 300"_s),
             qPrintable(ouvinte.tudo()));
    // The closing row of the run says it failed.
    QCOMPARE(
        s.valor(u"SELECT count(*) FROM gestao.log WHERE descricao LIKE 'Erro - Completa/0 Pedido(s)%'"_s),
        u"1"_s);
}

// The company's rates of the ERP: a refusal is shown as every refused statement of the run is.
void TestCodificacao::recusaNaTabelaDeTaxasAparece() {
    QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Zor);
    s.executar(u"REVOKE SELECT ON zor.tabdesp FROM "_s + s.passwordUser() + u";"_s);
    test::TempDataFolder pasta;
    prepararEnvio(pasta.store(), s, kRazaoNova, u"Sem pressa"_s);

    Ouvinte ouvinte;
    rodar(pasta.store(), ouvinte);
    const QStringList erros = ouvinte.mensagens.filter(u"Erro SQL (42501)"_s);
    QCOMPARE(erros.size(), 1);
    QVERIFY2(erros.front().contains(u"zor.tabdesp"_s), qPrintable(erros.front()));
}

QAV_TEST_GUILESS_MAIN(TestCodificacao)
#include "tst_codificacao.moc"
