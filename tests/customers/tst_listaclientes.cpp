// Which customers each tab of the customer list shows, on a real clientes.tps.
#include "customers/core/ListaClientes.h"
#include "store/core/Table.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"

#include <QtTest>

using namespace qav;
using namespace qav::clientes;
using namespace qav::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(qav::clientes::Ordem)
Q_DECLARE_METATYPE(qav::clientes::Situacao)

class TestListaClientes : public QObject {
    Q_OBJECT

    TempDataFolder* folder = nullptr;

    // In the order of the tab's key (documents in the order of their stored text).
    QList<qint64> ids(Ordem ordem, const ListFilter& filtro) {
        Table clientes(folder->store(), "clientes.tps");
        if (!clientes.open())
            return {-1};
        clientes.setFilter(filtro.condition, filtro.parameters);
        QList<qint64> result;
        if (clientes.seekFirst(chaveDaOrdem(ordem)) != Status::Ok)
            return {-2};
        while (clientes.next() == Status::Ok)
            result << clientes.rec().integer("ID");
        return result;
    }

private Q_SLOTS:
    void initTestCase() {
        folder = new TempDataFolder;
        Table clientes(folder->store(), "clientes.tps");
        QVERIFY(clientes.open());
        const auto add = [&](qint64 id, const QString& razao, int ativo, const QString& doc, qint64 mun) {
            clientes.clear();
            clientes.rec().setInteger("ID", id);
            clientes.rec().setText("RAZAO", razao);
            clientes.rec().setInteger("ATIVO", ativo);
            clientes.rec().setText("CGCPF", doc);
            clientes.rec().setInteger("ID_MUNICIPIO", mun);
            QCOMPARE(clientes.add(), Status::Ok);
        };
        add(1, u"CARLOS"_s, 1, u"706.588.110-53"_s, 10);
        add(2, u"BETA"_s, 0, u"70.658.811/0001-00"_s, 20);
        add(3, u"ALFA"_s, 1, u"11.222.333/0001-81"_s, 10);
        add(4, u"DELTA"_s, 1, u"70658811099"_s, 20); // typed without its punctuation
    }
    void cleanupTestCase() { delete folder; }

    void tabs_data() {
        QTest::addColumn<Ordem>("ordem");
        QTest::addColumn<Situacao>("situacao");
        QTest::addColumn<qint64>("municipio");
        QTest::addColumn<QString>("documento");
        QTest::addColumn<QList<qint64>>("esperados");
        QTest::newRow("ativos por id")
            << Ordem::PorId << Situacao::Ativos << qint64(0) << QString() << QList<qint64>{1, 3, 4};
        QTest::newRow("inativos por nome")
            << Ordem::PorRazao << Situacao::Inativos << qint64(0) << QString() << QList<qint64>{2};
        QTest::newRow("município sem escolha: todos, por nome")
            << Ordem::PorMunicipio << Situacao::Ativos << qint64(0) << QString() << QList<qint64>{3, 2, 1, 4};
        QTest::newRow("município escolhido, qualquer situação")
            << Ordem::PorMunicipio << Situacao::Ativos << qint64(20) << QString() << QList<qint64>{2, 4};
        QTest::newRow("dígitos: CPF, CNPJ e sem pontuação")
            << Ordem::PorDocumento << Situacao::Todos << qint64(0) << u"706588"_s << QList<qint64>{2, 1, 4};
        QTest::newRow("dígitos pontuados como CPF acham o CNPJ")
            << Ordem::PorDocumento << Situacao::Todos << qint64(0) << u"706.588.1"_s
            << QList<qint64>{2, 1, 4};
        QTest::newRow("dígitos com a situação")
            << Ordem::PorDocumento << Situacao::Ativos << qint64(0) << u"7065881"_s << QList<qint64>{1, 4};
        QTest::newRow("dígitos do meio também acham")
            << Ordem::PorDocumento << Situacao::Todos << qint64(0) << u"588110"_s << QList<qint64>{2, 1, 4};
        QTest::newRow("dígitos que nenhum documento tem")
            << Ordem::PorDocumento << Situacao::Todos << qint64(0) << u"999"_s << QList<qint64>{};
        QTest::newRow("texto que não é documento: sem filtro")
            << Ordem::PorDocumento << Situacao::Todos << qint64(0) << u"EX-12"_s << QList<qint64>{3, 2, 1, 4};
    }
    void tabs() {
        QFETCH(Ordem, ordem);
        QFETCH(Situacao, situacao);
        QFETCH(qint64, municipio);
        QFETCH(QString, documento);
        QFETCH(QList<qint64>, esperados);
        QCOMPARE(ids(ordem, filtroLista(ordem, situacao, municipio, documento)), esperados);
    }

    void idDoMunicipio_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<qint64>("id"); // -1: refused
        QTest::newRow("vazio") << u" "_s << qint64(0);
        QTest::newRow("id") << u" 3550308 "_s << qint64(3550308);
        QTest::newRow("maior id") << u"2147483647"_s << qint64(2147483647);
        QTest::newRow("2^31") << u"2147483648"_s << qint64(-1);
        QTest::newRow("vinte dígitos") << u"99999999999999999999"_s << qint64(-1);
        QTest::newRow("negativo") << u"-5"_s << qint64(-1);
        QTest::newRow("letras") << u"12a"_s << qint64(-1);
    }
    void idDoMunicipio() {
        QFETCH(QString, digitado);
        QFETCH(qint64, id);
        const std::optional<std::int64_t> lido = idMunicipioDigitado(digitado);
        QCOMPARE(lido ? *lido : -1, id);
    }
};

QAV_TEST_GUILESS_MAIN(TestListaClientes)
#include "tst_listaclientes.moc"
