// Searches as the user types: any part of a name, whatever the case and the accents, and the digits
// of a document whatever its punctuation, run on real table files.
#include "store/core/Table.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "ui/core/TextSearch.h"

#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestTextSearch : public QObject {
    Q_OBJECT

private:
    struct Cliente {
        int id;
        QString razao;
        QString cgcpf;
        QString ender;
    };
    const QList<Cliente> clientes{
        {1, u"ANTÔNIO RIBEIRO"_s, u"706.588.110-53"_s, u"Rua São João, 10"_s},
        {2, u"Antonio Carlos Rocha"_s, u"70658811053"_s, u"Av. Brasil"_s},
        {3, u"Ferragens Dobradiça Ltda"_s, u"11.222.333/0001-81"_s, u"Rua Sao Joao"_s},
        {4, u"Maria da Conceição"_s, u""_s, u"Praça XV"_s},
        {5, u"Comércio Sao Jose"_s, u"111.444.777-35"_s, u"Rua Piauí 706"_s},
    };

    // Ids of the customers the filter lets through, in id order.
    QList<int> ids(const ListFilter& filter) {
        TempDataFolder folder;
        Table cli(folder.store(), "clientes");
        if (!cli.open())
            return {-1};
        for (const Cliente& c : clientes) {
            cli.clear();
            cli.rec().setInteger("ID", c.id);
            cli.rec().setText("RAZAO", c.razao);
            cli.rec().setText("CGCPF", c.cgcpf);
            cli.rec().setText("ENDER", c.ender);
            if (cli.add() != Status::Ok)
                return {-2};
        }
        cli.setFilter(filter.condition, filter.parameters);
        QList<int> result;
        cli.seekFirst("KEYID");
        while (cli.next() == Status::Ok)
            result << static_cast<int>(cli.rec().integer("ID"));
        return result;
    }

private Q_SLOTS:
    void containsText_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("expected");
        // RAZAO belongs to a case-insensitive key (its shadow column is searched); ENDER does not.
        QTest::newRow("without the accent") << u"RAZAO"_s << u"antonio"_s << QList<int>{1, 2};
        QTest::newRow("with an accent the name lacks") << u"RAZAO"_s << u"SÃO JOSÉ"_s << QList<int>{5};
        QTest::newRow("two words as one piece") << u"RAZAO"_s << u"antonio r"_s << QList<int>{1};
        QTest::newRow("cedilla") << u"RAZAO"_s << u"dobradica"_s << QList<int>{3};
        QTest::newRow("word then space, at the end") << u"RAZAO"_s << u"conceicao "_s << QList<int>{4};
        QTest::newRow("word then space, not a whole word") << u"RAZAO"_s << u"concei "_s << QList<int>{};
        QTest::newRow("only spaces: no condition") << u"RAZAO"_s << u"   "_s << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("field without a key") << u"ENDER"_s << u"sao joao"_s << QList<int>{1, 3};
        QTest::newRow("field without a key, word at the end") << u"ENDER"_s << u"joão "_s << QList<int>{3};
        QTest::newRow("quotes are plain text") << u"RAZAO"_s << u"') OR 1=1 --"_s << QList<int>{};
    }
    void containsText() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QList<int>, expected);
        QCOMPARE(ids(qav::containsText(*findTable("clientes"), field.toStdString(), typed)), expected);
    }

    void containsDigits_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("digits of a formatted CPF") << u"706588"_s << QList<int>{1, 2};
        QTest::newRow("typed with the punctuation") << u"706.588"_s << QList<int>{1, 2};
        QTest::newRow("across the dash") << u"1053"_s << QList<int>{1, 2};
        QTest::newRow("across the slash") << u"30001"_s << QList<int>{3};
        QTest::newRow("a whole CNPJ") << u"11222333000181"_s << QList<int>{3};
        QTest::newRow("digits not next to each other") << u"7068"_s << QList<int>{};
        QTest::newRow("no digit typed: no condition") << u"abc"_s << QList<int>{1, 2, 3, 4, 5};
    }
    void containsDigits() {
        QFETCH(QString, typed);
        QFETCH(QList<int>, expected);
        QCOMPARE(ids(qav::containsDigits(*findTable("clientes"), "CGCPF", typed)), expected);
    }

    void unknownFieldIsRefused() {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 qav::containsText(*findTable("clientes"), "NAOEXISTE", u"x"_s));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 qav::containsDigits(*findTable("clientes"), "ID", u"1"_s));
    }
};

QAV_TEST_GUILESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
