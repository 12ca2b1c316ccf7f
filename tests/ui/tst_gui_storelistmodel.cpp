#include "tests/customers/ProdutoFixture.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/StoreListModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {
// A list offering insert, change and delete, counting the requests.
class EditableList : public ListWindow {
public:
    using ListWindow::ListWindow;
    void offerAll() { setActions(Insert | Change | Delete); }
    int inserts = 0, changes = 0, deletes = 0;

protected:
    void inserir() override { ++inserts; }
    void alterar(const Record&) override { ++changes; }
    void excluir(const Record&) override { ++deletes; }
};

std::vector<ListColumn> columns() {
    const TableDef& t = *findTable("produto");
    ListColumn preco = ListColumn::decimal(t, u"Preço"_s, "PRECO", 2);
    preco.background = [](const Record& r) {
        return r.integer("PRECO_PROMOCIONAL") ? QVariant(QColor(0, 255, 0)) : QVariant();
    };
    return {ListColumn::digits(t, u"Id"_s, "ID", 8), ListColumn::text(t, u"Nome"_s, "NOME"), preco,
            ListColumn::date(t, u"Data"_s, "DATAP"), ListColumn::computed(u"Dobro"_s, [](const Record& r) {
                return QString::fromStdString((r.decimal("PRECO") * Decimal(2)).toString(1));
            })};
}
} // namespace

class TestGuiStoreListModel : public QObject {
    Q_OBJECT

private:
    TempDataFolder* folder = nullptr;
    static constexpr int products = 1000;

private Q_SLOTS:
    void initTestCase() {
        folder = new TempDataFolder;
        Table produto(folder->store(), "produto");
        QVERIFY(produto.open());
        QVERIFY(produto.beginBatch());
        for (int i = 1; i <= products; ++i) {
            NovoProduto p =
                produtoDe(1, i, u"%1"_s.arg(i, 6, 10, QLatin1Char('0')),
                          u"PRODUTO %1"_s.arg(i, 4, 10, QLatin1Char('0')), 1, u"%1.5"_s.arg(i * 1000));
            p.promocional = i % 2 == 0;
            addProduto(produto, p);
        }
        QVERIFY(produto.endBatch());
        produto.rec().setInteger("ID", 7);
        produto.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(produto.get("KEYID"), Status::Ok);
        produto.rec().setDate("DATAP", Date::fromYmd(2026, 7, 5));
        QCOMPARE(produto.put(), Status::Ok);
    }
    void cleanupTestCase() { delete folder; }

    void pagesComeAsTheViewNeedsThem() {
        StoreListModel model(folder->store(), *findTable("produto"), columns());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setPageSize(50);
        model.setOrder("KEYNOME");
        QVERIFY(model.open());
        QVERIFY(model.reload());
        QCOMPARE(model.rowCount(), 50);
        QVERIFY(model.canFetchMore({}));
        model.fetchMore({});
        QCOMPARE(model.rowCount(), 100);
        QCOMPARE(model.countMatching(), products);
        while (model.canFetchMore({}))
            model.fetchMore({});
        QCOMPARE(model.rowCount(), products);
        QCOMPARE(model.record(products - 1).integer("ID"), products);
        QVERIFY(!model.canFetchBefore());
        QCOMPARE(model.fetchBefore(), 0);
    }

    void formatsAndRoles() {
        StoreListModel model(folder->store(), *findTable("produto"), columns());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setOrder("KEYID");
        QVERIFY(model.open());
        QVERIFY(model.reload());
        QCOMPARE(model.columnCount(), 5);
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), u"Preço"_s);
        QCOMPARE(model.index(0, 0).data().toString(), u"00000001"_s);
        QCOMPARE(model.index(0, 1).data().toString(), u"PRODUTO 0001"_s);
        QCOMPARE(model.index(0, 2).data().toString(), u"1.000,50"_s);
        QCOMPARE(model.index(6, 2).data().toString(), u"7.000,50"_s);
        QCOMPARE(model.index(0, 3).data().toString(), QString());
        QCOMPARE(model.index(6, 3).data().toString(), u"05/07/2026"_s);
        QCOMPARE(model.index(0, 4).data().toString(), u"2001.0"_s);
        QCOMPARE(model.index(0, 2).data(Qt::BackgroundRole), QVariant());
        QCOMPARE(model.index(1, 2).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 0));
        QCOMPARE(model.index(1, 1).data(Qt::BackgroundRole), QVariant());
        QVERIFY(model.index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
        QVERIFY(model.index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft);
    }

    void locateLoadsAroundTheRecord() {
        StoreListModel model(folder->store(), *findTable("produto"), columns());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setPageSize(20);
        model.setOrder("KEYCODIGO");
        QVERIFY(model.open());
        Record values(*findTable("produto"));
        values.setText("CODIGO", u"000500"_s);
        const std::optional<int> row = model.locate(values, 1);
        QVERIFY(row);
        QCOMPARE(*row, 20);
        QCOMPARE(model.record(*row).integer("ID"), 500);
        QCOMPARE(model.record(0).integer("ID"), 480);
        QCOMPARE(model.rowCount(), 40);
        QVERIFY(model.canFetchBefore());
        QCOMPARE(model.fetchBefore(), 20);
        QCOMPARE(model.record(0).integer("ID"), 460);
        QCOMPARE(model.findLoaded(model.def().fieldIndex("ID"), 500), 40);
        values.setText("CODIGO", u"999999"_s);
        QVERIFY(!model.locate(values, 1));
        QCOMPARE(model.rowCount(), 0);
    }

    void filterLimitsTheRows() {
        StoreListModel model(folder->store(), *findTable("produto"), columns());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setOrder("KEYNOME");
        model.setFilter("instr(\"_ci_NOME\", ?) > 0", {u"099"_s});
        QVERIFY(model.open());
        QVERIFY(model.reload());
        QCOMPARE(model.rowCount(), 11); // 0099 and 0990..0999
        QCOMPARE(model.countMatching(), 11);
        QVERIFY(!model.canFetchMore({}));
    }

    void failedViewRaisesItsWarning() {
        StoreListModel model(folder->store(), *findTable("produto"), columns());
        QSignalSpy spy(&model, &StoreListModel::loadFailed);
        model.setOrder("KEYNOME");
        model.setFilter("no_such_column = 1");
        QVERIFY(model.open());
        QVERIFY(!model.reload());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<Aviso>(), Aviso::ErroAbrirVisao);
        QCOMPARE(model.rowCount(), 0);
    }

    void listWindowButtonsKeysAndPopup() {
        EditableList list(std::make_shared<Store>(folder->path()), *findTable("produto"), columns(),
                          u"Lista"_s);
        list.offerAll();
        list.model()->setOrder("KEYID");
        QVERIFY(list.model()->open());
        list.model()->setFilter("\"ID\" > ?", {products}); // empty
        list.model()->reload();
        list.show();
        auto* editar = list.findChild<QPushButton*>(u"botaoEditar"_s);
        auto* excluir = list.findChild<QPushButton*>(u"botaoExcluir"_s);
        auto* novo = list.findChild<QPushButton*>(u"botaoNovo"_s);
        QVERIFY(editar && excluir && novo);
        QVERIFY(!editar->isEnabled());
        QVERIFY(!excluir->isEnabled());
        QVERIFY(novo->isEnabled());

        QStringList items;
        QList<bool> enabled;
        const auto readPopup = [&] {
            QTimer::singleShot(50, [&] {
                if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    for (QAction* a : menu->actions()) {
                        items << a->text();
                        enabled << a->isEnabled();
                    }
                    menu->close();
                }
            });
            Q_EMIT list.view()->customContextMenuRequested(QPoint(5, 5));
        };
        readPopup();
        QCOMPARE(items, (QStringList{u"&Novo"_s, u"&Editar"_s, u"E&xcluir"_s}));
        QCOMPARE(enabled, (QList<bool>{true, false, false}));

        list.model()->setFilter({});
        list.model()->reload();
        QVERIFY(editar->isEnabled());
        items.clear();
        enabled.clear();
        readPopup();
        QCOMPARE(enabled, (QList<bool>{true, true, true}));

        QTest::keyClick(list.view(), Qt::Key_Insert);
        QTest::keyClick(list.view(), Qt::Key_Delete);
        QTest::keyClick(list.view(), Qt::Key_Return);
        QCOMPARE(list.inserts, 1);
        QCOMPARE(list.deletes, 1);
        QCOMPARE(list.changes, 1);
    }

    void scrollingUpBringsThePageBefore() {
        EditableList list(std::make_shared<Store>(folder->path()), *findTable("produto"), columns(),
                          u"Lista"_s);
        list.model()->setOrder("KEYID");
        list.model()->setPageSize(10);
        QVERIFY(list.model()->open());
        Record values(*findTable("produto"));
        values.setInteger("ID", 500);
        const std::optional<int> row = list.model()->locate(values, 1);
        QVERIFY(row);
        list.setCurrentRow(0);
        QCOMPARE(list.current()->integer("ID"), 490);
        QTest::keyClick(list.view(), Qt::Key_Up);
        QCOMPARE(list.current()->integer("ID"), 489);
        QCOMPARE(list.model()->record(0).integer("ID"), 480);
    }
};

QAV_TEST_MAIN(TestGuiStoreListModel)
#include "tst_gui_storelistmodel.moc"
