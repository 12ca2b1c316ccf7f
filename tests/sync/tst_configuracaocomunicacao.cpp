// The company's communication settings as the window saves them, and the move of a company's orders
// to its head office, on real table files.
#include "store/core/Table.h"
#include "sync/core/execucao/ConfiguracaoComunicacao.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/Registros.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>
#include <functional>

using namespace qav;
using namespace qav::sync;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

void configuracao(Store& store, int idEmpresa, const QString& host) {
    adicionar(store, "qavcfg", [&](Record& r) {
        r.setInteger("ID_EMPRESA", idEmpresa);
        r.setText("BD_HOST", host);
    });
}

void pedido(Store& store, int id, int idEmpresa, int situa) {
    adicionar(store, "pedidos", [&](Record& r) {
        r.setInteger("ID", id);
        r.setInteger("ID_EMPRESA", idEmpresa);
        r.setInteger("SITUA", situa);
        r.setInteger("NUMER", id);
    });
}

// (company, situation) of an order as stored.
QPair<int, int> lerPedido(Store& store, int id) {
    Table t(store, "pedidos");
    if (!t.open())
        return {-1, -1};
    t.clear();
    t.rec().setInteger("ID", id);
    if (t.get("KEYID") != Status::Ok)
        return {-1, -1};
    return {static_cast<int>(t.rec().integer("ID_EMPRESA")), static_cast<int>(t.rec().integer("SITUA"))};
}

} // namespace

class TestConfiguracaoComunicacao : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Only what the window edits goes over the stored record: the date of the last communication, the
    // lock and the values the server sent stay as they were.
    void saveCopiesOnlyTheEditedFields() {
        TempDataFolder dados;
        adicionar(dados.store(), "qavcfg", [](Record& r) {
            r.setInteger("ID_EMPRESA", 7);
            r.setText("BD_HOST", u"antigo"_s);
            r.setDate("DT_ULT_COM", Date(45000));
            r.setInteger("MODELO_PEDIDO", 3);
            r.setInteger("SISTEMA_BLOQUEADO", 1);
            r.setText("TP_COM", u"C"_s);
            r.setInteger("DIAS_BLOQUEIO", 30);
        });
        Record editada = configuracaoDaEmpresa(dados.store(), 7);
        editada.setText("BD_HOST", u"servidor.empresa"_s);
        editada.setText("BD_NOME", u"vendas"_s);
        editada.setInteger("COD_VENDEDOR", 12);
        editada.setText("SENHA_VENDEDOR", u"abc123"_s);
        editada.setInteger("ID_EMPMATRIZ", 1);
        editada.setInteger("QAV_HUB", 1);
        editada.setInteger("ID_ESTLOCAL", 4);
        // Values the window does not edit, as a stale copy would hold them.
        editada.setDate("DT_ULT_COM", Date(1));
        editada.setInteger("MODELO_PEDIDO", 9);
        editada.setInteger("SISTEMA_BLOQUEADO", 0);
        editada.setText("TP_COM", u"P"_s);

        const ResultadoGravacao r = gravarConfiguracao(dados.store(), editada);
        QCOMPARE(r.situacao, ResultadoGravacao::Gravada);
        const std::optional<Record> lida = lerConfiguracao(dados.store(), 7);
        QVERIFY(lida);
        QCOMPARE(lida->text("BD_HOST"), u"servidor.empresa"_s);
        QCOMPARE(lida->text("BD_NOME"), u"vendas"_s);
        QCOMPARE(lida->integer("BD_PORTA"), 5432); // the default the window showed is saved
        QCOMPARE(lida->text("BD_USUARIO"), u"qavplus"_s);
        QCOMPARE(lida->integer("COD_VENDEDOR"), 12);
        QCOMPARE(lida->text("SENHA_VENDEDOR"), u"abc123"_s);
        QCOMPARE(lida->integer("ID_EMPMATRIZ"), 1);
        QCOMPARE(lida->integer("QAV_HUB"), 1);
        QCOMPARE(lida->integer("ID_ESTLOCAL"), 4);
        QCOMPARE(lida->text("PONTO_INSTALACAO"), u"A"_s);
        QCOMPARE(lida->integer("DIAS_HISTORICO"), 360);
        QCOMPARE(lida->date("DT_ULT_COM"), Date(45000));
        QCOMPARE(lida->integer("MODELO_PEDIDO"), 3);
        QCOMPARE(lida->integer("SISTEMA_BLOQUEADO"), 1);
        QCOMPARE(lida->text("TP_COM").trimmed(), u"C"_s);
        QCOMPARE(lida->integer("DIAS_BLOQUEIO"), 30);
        QVERIFY(r.gravada && *r.gravada == *lida);
    }

    void saveAddsTheCompanyThatHadNone() {
        TempDataFolder dados;
        configuracao(dados.store(), 1, u"um"_s);
        Record editada = configuracaoDaEmpresa(dados.store(), 2);
        editada.setText("BD_HOST", u"dois"_s);
        QCOMPARE(gravarConfiguracao(dados.store(), editada).situacao, ResultadoGravacao::Gravada);
        QCOMPARE(lerConfiguracao(dados.store(), 2)->text("BD_HOST"), u"dois"_s);
        QCOMPARE(lerConfiguracao(dados.store(), 1)->text("BD_HOST"), u"um"_s);
    }

    void saveRefusesCompanyZero() {
        TempDataFolder dados;
        Record editada = configuracaoDaEmpresa(dados.store(), 0);
        editada.setText("BD_HOST", u"x"_s);
        QCOMPARE(gravarConfiguracao(dados.store(), editada).situacao, ResultadoGravacao::EmpresaInvalida);
        Table t(dados.store(), "qavcfg");
        QVERIFY(t.open());
        QCOMPARE(t.count(), 0);
    }

    // The window opens on the active company, else on the first configuration of the folder, else
    // on an empty one for the active company; always with the defaults.
    void openingRecord_data() {
        QTest::addColumn<QList<int>>("empresas");
        QTest::addColumn<int>("ativa");
        QTest::addColumn<int>("esperada");
        QTest::addColumn<QString>("host");
        QTest::newRow("active company") << QList<int>{3, 5, 8} << 5 << 5 << u"h5"_s;
        QTest::newRow("no record: the first") << QList<int>{8, 3} << 4 << 3 << u"h3"_s;
        QTest::newRow("no company active") << QList<int>{6} << 0 << 6 << u"h6"_s;
        QTest::newRow("empty file") << QList<int>{} << 4 << 4 << QString();
    }
    void openingRecord() {
        QFETCH(QList<int>, empresas);
        QFETCH(int, ativa);
        QFETCH(int, esperada);
        QFETCH(QString, host);
        TempDataFolder dados;
        for (int id : empresas)
            configuracao(dados.store(), id, u"h"_s + QString::number(id));
        const Record r = configuracaoInicial(dados.store(), ativa);
        QCOMPARE(r.integer("ID_EMPRESA"), esperada);
        QCOMPARE(r.text("BD_HOST").trimmed(), host);
        QCOMPARE(r.integer("BD_PORTA"), 5432);
        QCOMPARE(r.text("BD_SENHA").trimmed().size(), 12);
        QCOMPARE(r.integer("DIAS_HISTORICO"), 360);
    }

    // Every order of the company goes to the head office; a released one must be released again
    // there; other companies' orders stay.
    void transferMovesTheCompanysOrders() {
        TempDataFolder dados;
        pedido(dados.store(), 1, 2, 1);
        pedido(dados.store(), 2, 2, 2);
        pedido(dados.store(), 3, 3, 2);
        pedido(dados.store(), 4, 2, 3);
        pedido(dados.store(), 5, 2, 4);
        const ResultadoTransferencia r = transferirPedidos(dados.store(), 2, 1);
        QVERIFY(r.ok);
        QCOMPARE(r.pedidos, 4);
        QCOMPARE(lerPedido(dados.store(), 1), qMakePair(1, 1));
        QCOMPARE(lerPedido(dados.store(), 2), qMakePair(1, 1));
        QCOMPARE(lerPedido(dados.store(), 3), qMakePair(3, 2));
        QCOMPARE(lerPedido(dados.store(), 4), qMakePair(1, 3));
        QCOMPARE(lerPedido(dados.store(), 5), qMakePair(1, 4));
    }

    // A company that is its own head office has nothing to move: its released orders stay released.
    void transferToItselfChangesNothing() {
        TempDataFolder dados;
        pedido(dados.store(), 1, 2, 2);
        const ResultadoTransferencia r = transferirPedidos(dados.store(), 2, 2);
        QVERIFY(r.ok);
        QCOMPARE(r.pedidos, 0);
        QCOMPARE(lerPedido(dados.store(), 1), qMakePair(2, 2));
    }

    // An order held by a form elsewhere cannot be written: no order moves, so that the company's
    // orders are never split between the two companies.
    void transferIsAllOrNothing() {
        TempDataFolder dados;
        pedido(dados.store(), 1, 2, 2);
        pedido(dados.store(), 2, 2, 2);
        pedido(dados.store(), 3, 2, 2);
        Store outra(dados.path());
        Table formulario(outra, "pedidos");
        QVERIFY(formulario.open());
        formulario.clear();
        formulario.rec().setInteger("ID", 2);
        QCOMPARE(formulario.get("KEYID"), Status::Ok);
        QCOMPARE(formulario.hold(), Status::Ok);

        const ResultadoTransferencia r = transferirPedidos(dados.store(), 2, 1);
        QVERIFY(!r.ok);
        QCOMPARE(r.codigoErro, static_cast<int>(ErrorCode::RecordHeld));
        for (int id : {1, 2, 3})
            QCOMPARE(lerPedido(dados.store(), id), qMakePair(2, 2));
    }
};

QAV_TEST_GUILESS_MAIN(TestConfiguracaoComunicacao)
#include "tst_configuracaocomunicacao.moc"
