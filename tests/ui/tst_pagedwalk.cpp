#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "ui/core/PagedWalk.h"

#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestPagedWalk : public QObject {
    Q_OBJECT

private:
    TempDataFolder* folder = nullptr;
    // Municipalities: several share a name, one has none (left out of the opt name key).
    const QList<std::pair<int, QString>> rows{{1, u"Santos"_s},  {2, u"Campinas"_s},  {3, u"São Paulo"_s},
                                              {4, u"Bauru"_s},   {5, u"São Paulo"_s}, {6, u"Americana"_s},
                                              {7, u"Jundiaí"_s}, {8, u""_s},          {9, u"são paulo"_s},
                                              {10, u"Itu"_s}};

    static QList<int> ids(const std::vector<Record>& records) {
        QList<int> result;
        for (const Record& r : records)
            result << static_cast<int>(r.integer("ID"));
        return result;
    }

private Q_SLOTS:
    void init() {
        folder = new TempDataFolder;
        Table municip(folder->store(), "municip");
        QVERIFY(municip.open());
        for (const auto& [id, nome] : rows) {
            municip.clear();
            municip.rec().setInteger("ID", id);
            municip.rec().setText("NOME", nome);
            municip.rec().setText("ESTADO", u"SP"_s);
            QCOMPARE(municip.add(), Status::Ok);
        }
    }
    void cleanup() {
        delete folder;
        folder = nullptr;
    }

    void forwardInPagesGivesTheWholeOrder() {
        PagedWalk walk(folder->store(), *findTable("municip"));
        QVERIFY(walk.open());
        walk.setOrder("KEYNOME");
        QCOMPARE(walk.startAtFirst(), Status::Ok);
        std::vector<Record> read;
        QCOMPARE(walk.readForward(4, read), Status::Ok);
        QCOMPARE(walk.readForward(4, read), Status::Ok);
        QCOMPARE(walk.readForward(4, read), Status::EndOfFile);
        QVERIFY(walk.atEnd());
        QVERIFY(walk.atStart());
        // Names folded for the order, equal names in the order they were added, no blank name.
        QCOMPARE(ids(read), (QList<int>{6, 4, 2, 10, 7, 1, 3, 5, 9}));
        std::vector<Record> before;
        QCOMPARE(walk.readBackward(5, before), Status::EndOfFile);
        QVERIFY(before.empty());
    }

    void locateThenBothWays_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<QList<int>>("before");
        QTest::newRow("between names") << u"s"_s << QList<int>{1, 3, 5, 9} << QList<int>{7, 10, 2, 4, 6};
        QTest::newRow("first of equal names")
            << u"SÃO PAULO"_s << QList<int>{3, 5, 9} << QList<int>{1, 7, 10, 2, 4, 6};
        QTest::newRow("before everything")
            << u"A"_s << QList<int>{6, 4, 2, 10, 7, 1, 3, 5, 9} << QList<int>{};
        QTest::newRow("past the end") << u"Z"_s << QList<int>{} << QList<int>{};
    }
    void locateThenBothWays() {
        QFETCH(QString, nome);
        QFETCH(QList<int>, after);
        QFETCH(QList<int>, before);
        PagedWalk walk(folder->store(), *findTable("municip"));
        QVERIFY(walk.open());
        walk.setOrder("KEYNOME");
        Record values(*findTable("municip"));
        values.setText("NOME", nome);
        QCOMPARE(walk.startAt(values, 1), Status::Ok);
        std::vector<Record> forward;
        walk.readForward(2, forward);
        walk.readForward(20, forward);
        QCOMPARE(ids(forward), after);
        std::vector<Record> backward;
        walk.readBackward(2, backward);
        walk.readBackward(20, backward);
        QCOMPARE(ids(backward), before);
    }

    void filterAndCount() {
        PagedWalk walk(folder->store(), *findTable("municip"));
        QVERIFY(walk.open());
        walk.setOrder("KEYNOME");
        walk.setFilter("instr(\"_ci_NOME\", ?) > 0", {u"SÃO"_s});
        QCOMPARE(walk.countMatching(), 3);
        QCOMPARE(walk.startAtFirst(), Status::Ok);
        std::vector<Record> read;
        walk.readForward(10, read);
        QCOMPARE(ids(read), (QList<int>{3, 5, 9}));
        // The blank name is out of the name order but in the id order.
        walk.setFilter({});
        QCOMPARE(walk.countMatching(), 9);
        walk.setOrder("KEYID");
        QCOMPARE(walk.countMatching(), 10);
    }

    // The count a list shows agrees with the records it walks when the filter compares a price.
    void countComparesDecimalsByValue() {
        Table produto(folder->store(), "produto");
        QVERIFY(produto.open());
        int id = 0;
        for (const char* preco : {"9.50", "10.00", "100.00", "2.00", "-7.00"}) {
            produto.clear();
            produto.rec().setInteger("ID", ++id);
            produto.rec().setText("CODIGO", QString::number(id));
            produto.rec().setDecimal("PRECO", *Decimal::parse(preco));
            QCOMPARE(produto.add(), Status::Ok);
        }
        PagedWalk walk(folder->store(), *findTable("produto"));
        QVERIFY(walk.open());
        walk.setOrder("KEYID");
        walk.setFilter("PRECO > ?", {5});
        QCOMPARE(walk.countMatching(), 3);
        QCOMPARE(walk.startAtFirst(), Status::Ok);
        std::vector<Record> read;
        walk.readForward(10, read);
        QCOMPARE(ids(read), (QList<int>{1, 2, 3}));
    }

    void badFilterIsReported() {
        PagedWalk walk(folder->store(), *findTable("municip"));
        QVERIFY(walk.open());
        walk.setOrder("KEYNOME");
        walk.setFilter("no_such_column = 1");
        walk.startAtFirst();
        std::vector<Record> read;
        QCOMPARE(walk.readForward(5, read), Status::Error);
        QVERIFY(read.empty());
        QVERIFY(walk.atEnd());
        QVERIFY(!walk.error().text.isEmpty());
        QVERIFY(!walk.countMatching());
        QVERIFY(!walk.error().text.isEmpty());
    }

    void openFailsWithoutTheFile() {
        TempDataFolder empty(false);
        PagedWalk walk(empty.store(), *findTable("municip"));
        QVERIFY(!walk.open());
        QVERIFY(!walk.error().text.isEmpty());
    }
};

QAV_TEST_GUILESS_MAIN(TestPagedWalk)
#include "tst_pagedwalk.moc"
