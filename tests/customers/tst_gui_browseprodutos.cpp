#include "base/core/Settings.h"
#include "customers/widgets/JanelaProdutos.h"
#include "tests/customers/ProdutoFixture.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"

#include <QAbstractItemModelTester>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiBrowseProdutos : public QObject {
    Q_OBJECT

private:
    TempDataFolder* folder = nullptr;
    QTemporaryDir programFolder;

    ListContext context() const { return {folder->path(), 1, programFolder.path()}; }

    static QStringList column(JanelaProdutos& list, int col) {
        QStringList values;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            values << list.model()->index(row, col).data().toString();
        return values;
    }
    static QLineEdit* entry(QWidget& w, const QString& name) { return w.findChild<QLineEdit*>(name); }

private Q_SLOTS:
    void initTestCase() {
        folder = new TempDataFolder;
        Table produto(folder->store(), "produto");
        QVERIFY(produto.open());
        const auto add = [&](int id, const QString& codigo, const QString& nome, int ativo,
                             const QString& preco, const QString& refer, const QString& qtdEmb = u"0"_s,
                             bool promo = false, int emp = 1) {
            NovoProduto p = produtoDe(emp, id, codigo, nome, ativo, preco);
            p.refer = refer;
            p.qtdEmbalagem = qtdEmb;
            p.promocional = promo;
            addProduto(produto, p);
        };
        add(1, u"000045"_s, u"Parafuso Sextavado 1/2"_s, 1, u"24.00"_s, u"R-300"_s, u"12"_s);
        add(2, u"B10"_s, u"ARRUELA P/ PARAFUSO"_s, 1, u"3.50"_s, u"R-100"_s, u"0"_s, true);
        add(3, u"A20"_s, u"Porca M8"_s, 0, u"1.20"_s, u"R-200"_s);
        add(4, u"C30"_s, u"Cano de cobre"_s, 1, u"80.00"_s, u"R-050"_s);
        add(5, u"000046"_s, u"Zarcão parafusado"_s, 0, u"5.00"_s, u"R-400"_s);
        add(6, u"000045"_s, u"Parafuso de outra empresa"_s, 1, u"9.00"_s, u"R-000"_s, u"0"_s, false, 2);
        addPauta(folder->store(), 250001, 1, 25, u"Tabela Sul"_s);
        addPauta(folder->store(), 260001, 1, 26, u"Tabela Norte"_s);
        addPreco(folder->store(), 250001, 1, u"18.00"_s);
        addPreco(folder->store(), 250001, 2, u"3.00"_s);
    }
    void cleanupTestCase() { delete folder; }

    void opensOnActiveProductsOfTheCompanyInCodeOrder() {
        JanelaProdutos list(context());
        QCOMPARE(list.windowTitle(), u"Produtos"_s);
        QCOMPARE(list.tabs()->tabText(0), u"Código"_s);
        QVERIFY(list.findChild<QRadioButton*>(u"situacaoAtivos"_s)->isChecked());
        QCOMPARE(column(list, JanelaProdutos::Codigo), (QStringList{u"000045"_s, u"B10"_s, u"C30"_s}));
        QCOMPARE(column(list, JanelaProdutos::Id),
                 (QStringList{u"00000001"_s, u"00000002"_s, u"00000004"_s}));
        QCOMPARE(list.model()->headerData(JanelaProdutos::Preco1, Qt::Horizontal).toString(), u"Preço 1"_s);
    }

    void situationOption_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow(" Todos") << u"situacaoTodos"_s
                                << QStringList{u"00000001"_s, u"00000005"_s, u"00000003"_s, u"00000002"_s,
                                               u"00000004"_s};
        QTest::newRow(" Inativos") << u"situacaoInativos"_s << QStringList{u"00000005"_s, u"00000003"_s};
        QTest::newRow(" Ativos") << u"situacaoAtivos"_s
                                 << QStringList{u"00000001"_s, u"00000002"_s, u"00000004"_s};
    }
    void situationOption() {
        QFETCH(QString, button);
        QFETCH(QStringList, ids);
        JanelaProdutos list(context());
        list.show();
        if (button != u"situacaoAtivos"_s)
            list.findChild<QRadioButton*>(u"situacaoInativos"_s)->click();
        auto* radio = list.findChild<QRadioButton*>(button);
        QVERIFY(radio);
        QCOMPARE(radio->text(), u" "_s + QString(button).remove(u"situacao"_s));
        radio->click();
        QCOMPARE(column(list, JanelaProdutos::Id), ids);
    }

    void fourOrders_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("Código") << 0 << u"Código"_s
                                << QStringList{u"00000001"_s, u"00000005"_s, u"00000003"_s, u"00000002"_s,
                                               u"00000004"_s};
        QTest::newRow("Nome") << 1 << u"Nome"_s
                              << QStringList{u"00000002"_s, u"00000004"_s, u"00000001"_s, u"00000003"_s,
                                             u"00000005"_s};
        QTest::newRow("Nome - Filtro")
            << 2 << u"Nome - Filtro"_s
            << QStringList{u"00000002"_s, u"00000004"_s, u"00000001"_s, u"00000003"_s, u"00000005"_s};
        QTest::newRow("Referência") << 3 << u"Referência"_s
                                    << QStringList{u"00000004"_s, u"00000002"_s, u"00000003"_s, u"00000001"_s,
                                                   u"00000005"_s};
    }
    void fourOrders() {
        QFETCH(int, tab);
        QFETCH(QString, name);
        QFETCH(QStringList, ids);
        JanelaProdutos list(context());
        list.show();
        list.findChild<QRadioButton*>(u"situacaoTodos"_s)->click();
        list.tabs()->setCurrentIndex(tab);
        QCOMPARE(list.tabs()->tabText(tab), name);
        QCOMPARE(column(list, JanelaProdutos::Id), ids);
    }

    void lowerCaseSearchFindsTheWordAnywhere_data() {
        QTest::addColumn<int>("tab");
        QTest::newRow("Nome - Filtro") << 2;
        QTest::newRow("Nome") << 1;
    }
    void lowerCaseSearchFindsTheWordAnywhere() {
        QFETCH(int, tab);
        JanelaProdutos list(context());
        list.show();
        list.tabs()->setCurrentIndex(tab);
        list.findChild<QRadioButton*>(u"situacaoTodos"_s)->click();
        QLineEdit* search = entry(list, u"localizador"_s);
        QTest::keyClicks(search, u"par"_s);
        QCOMPARE(column(list, JanelaProdutos::Id),
                 (QStringList{u"00000002"_s, u"00000001"_s, u"00000005"_s}));
        QTest::keyClicks(search, u"afuso"_s);
        // Every product of the company with the word, whatever its case or place; not the other
        // company's.
        QCOMPARE(column(list, JanelaProdutos::Nome),
                 (QStringList{u"ARRUELA P/ PARAFUSO"_s, u"Parafuso Sextavado 1/2"_s}));
        QTest::keyClicks(search, u" s"_s);
        QCOMPARE(column(list, JanelaProdutos::Nome), (QStringList{u"Parafuso Sextavado 1/2"_s}));
        search->clear();
        QTest::keyClicks(search, u"zarc"_s);
        search->insert(u"ã"_s); // typed as the keyboard would (QTest types ASCII only)
        QCOMPARE(column(list, JanelaProdutos::Id), (QStringList{u"00000005"_s}));
        // Typed without the accent, as most keyboards in the field are used, and two words as one piece.
        search->clear();
        QTest::keyClicks(search, u"ZARCAO P"_s);
        QCOMPARE(column(list, JanelaProdutos::Nome), (QStringList{u"Zarcão parafusado"_s}));
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(search, Qt::Key_Delete);
        QCOMPARE(list.model()->rowCount(), 5); // an empty entry removes the condition
        // Leaving the tab drops the search.
        QTest::keyClicks(search, u"cano"_s);
        QCOMPARE(list.model()->rowCount(), 1);
        list.tabs()->setCurrentIndex(0);
        QCOMPARE(list.model()->rowCount(), 5);
    }

    void codeLocator_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("codigo");
        QTest::newRow("45 finds 000045") << u"45"_s << u"000045"_s;
        QTest::newRow("46 finds 000046") << u"46"_s << u"000046"_s;
        QTest::newRow("as typed, lower case") << u"c30"_s << u"C30"_s;
        QTest::newRow("not found: the next code") << u"B"_s << u"B10"_s;
        QTest::newRow("not found as number: the next code") << u"47"_s << u"A20"_s;
    }
    void codeLocator() {
        QFETCH(QString, typed);
        QFETCH(QString, codigo);
        JanelaProdutos list(context());
        list.show();
        list.findChild<QRadioButton*>(u"situacaoTodos"_s)->click();
        QTest::keyClicks(entry(list, u"localizador"_s), typed);
        QVERIFY(list.current());
        QCOMPARE(list.current()->text("CODIGO"), codigo);
        QCOMPARE(list.current()->integer("ID_EMPRESA"), 1);
    }

    void codeTypedAsItIsWinsOverTheZeros() {
        TempDataFolder own;
        Table produto(own.store(), "produto");
        QVERIFY(produto.open());
        addProduto(produto, produtoDe(1, 1, u"000045"_s, u"Com zeros"_s));
        addProduto(produto, produtoDe(1, 2, u"45"_s, u"Sem zeros"_s));
        JanelaProdutos list({own.path(), 1, programFolder.path()});
        list.show();
        QTest::keyClicks(entry(list, u"localizador"_s), u"45"_s);
        QCOMPARE(list.current()->text("NOME"), u"Sem zeros"_s);
    }

    void pricePerSingleUnit() {
        JanelaProdutos list(context());
        list.show();
        QTest::keyClicks(entry(list, u"localizador"_s), u"45"_s);
        QCOMPARE(list.current()->integer("ID"), 1);
        QCOMPARE(list.model()->index(list.currentRow(), JanelaProdutos::Preco1).data().toString(),
                 u"24,0000"_s);
        QCOMPARE(entry(list, u"precoItemUnico"_s)->text(), u"2,0000"_s);
        list.setCurrentRow(list.model()->findLoaded(list.model()->def().fieldIndex("ID"), 4));
        QCOMPARE(entry(list, u"precoItemUnico"_s)->text(), u"80,0000"_s); // no package quantity
    }

    void priceListPrices() {
        JanelaProdutos list(context());
        list.show();
        QLineEdit* pauta = entry(list, u"pauta"_s);
        pauta->setText(u"25"_s);
        Q_EMIT pauta->editingFinished();
        QCOMPARE(list.findChild<QLabel*>(u"pautaDescricao"_s)->text(), u"Tabela Sul"_s);
        // 000045 and B10 have prices in the list; C30 has none and shows zero.
        QCOMPARE(column(list, JanelaProdutos::Preco1), (QStringList{u"18,0000"_s, u"3,0000"_s, u"0,0000"_s}));
        list.setCurrentRow(2);
        QCOMPARE(entry(list, u"precoItemUnico"_s)->text(), u"0,0000"_s);
        list.setCurrentRow(0);
        QCOMPARE(entry(list, u"precoItemUnico"_s)->text(), u"1,5000"_s);
        // A list without any of these products: all zero.
        pauta->setText(u"26"_s);
        Q_EMIT pauta->editingFinished();
        QCOMPARE(column(list, JanelaProdutos::Preco1), (QStringList{u"0,0000"_s, u"0,0000"_s, u"0,0000"_s}));
        // No list: the products' own prices; the records were not changed.
        pauta->clear();
        Q_EMIT pauta->editingFinished();
        QCOMPARE(column(list, JanelaProdutos::Preco1),
                 (QStringList{u"24,0000"_s, u"3,5000"_s, u"80,0000"_s}));
        QCOMPARE(list.findChild<QLabel*>(u"pautaDescricao"_s)->text(), QString());
    }

    void unknownPriceListCodeOpensThePriceListLookup() {
        JanelaProdutos list(context());
        list.show();
        QLineEdit* pauta = entry(list, u"pauta"_s);
        QString title;
        whenModal([&](QWidget* modal) {
            title = modal->windowTitle();
            auto* view = modal->findChild<QTableView*>(u"lista"_s);
            view->setCurrentIndex(view->model()->index(1, 0)); // code order: 25, 26
            modal->findChild<QPushButton*>(u"botaoSelecionar"_s)->click();
        });
        pauta->setText(u"99"_s);
        Q_EMIT pauta->editingFinished();
        QCOMPARE(title, u"Pauta de Preços"_s);
        QCOMPARE(pauta->text(), u"26"_s);
        QCOMPARE(list.findChild<QLabel*>(u"pautaDescricao"_s)->text(), u"Tabela Norte"_s);

        whenModal([](QWidget* modal) { modal->findChild<QPushButton*>(u"botaoFechar"_s)->click(); });
        pauta->setText(u"98"_s);
        Q_EMIT pauta->editingFinished();
        QCOMPARE(pauta->text(), QString()); // nothing chosen: no price list
        QCOMPARE(column(list, JanelaProdutos::Preco1),
                 (QStringList{u"24,0000"_s, u"3,5000"_s, u"80,0000"_s}));
    }

    void promotionalCellIsGreenAlsoHighlighted() {
        JanelaProdutos list(context());
        list.resize(900, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const int promo = list.model()->findLoaded(list.model()->def().fieldIndex("ID"), 2);
        QCOMPARE(list.model()->index(promo, JanelaProdutos::Preco1).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0, 255, 0));
        QVERIFY(!list.model()->index(promo, JanelaProdutos::Nome).data(Qt::BackgroundRole).isValid());
        QVERIFY(!list.model()->index(0, JanelaProdutos::Preco1).data(Qt::BackgroundRole).isValid());
        list.setCurrentRow(promo);
        QTableView* view = list.view();
        const auto pixel = [&](int row, int col) {
            const QRect cell = view->visualRect(list.model()->index(row, col));
            return view->viewport()->grab().toImage().pixelColor(cell.left() + 2, cell.top() + 2);
        };
        QCOMPARE(pixel(promo, JanelaProdutos::Preco1), QColor(0, 255, 0));
        QVERIFY(pixel(promo, JanelaProdutos::Nome) != QColor(0, 255, 0));
        QVERIFY(pixel(0, JanelaProdutos::Preco1) != QColor(0, 255, 0));
    }

    void consultarOpensTheReadOnlyForm() {
        JanelaProdutos list(context());
        list.show();
        QMap<QString, QString> seen;
        bool readOnly = true;
        QStringList tabs;
        whenModal([&](QWidget* modal) {
            seen[u"title"_s] = modal->windowTitle();
            seen[u"name"_s] = modal->objectName();
            for (const char* f : {"CODIGO", "NOME", "PRECO", "QTD_EMBALAGEM"}) {
                auto* e = modal->findChild<QLineEdit*>(QString::fromLatin1(f));
                seen[QString::fromLatin1(f)] = e ? e->text() : u"<none>"_s;
                readOnly = readOnly && e && e->isReadOnly();
            }
            if (auto* bar = modal->findChild<QTabBar*>())
                for (int i = 0; i < bar->count(); ++i)
                    tabs << bar->tabText(i);
            modal->findChild<QPushButton*>(u"botaoFechar"_s)->click();
        });
        list.findChild<QPushButton*>(u"botaoConsultar"_s)->click();
        QCOMPARE(seen[u"title"_s], u"Form produto"_s);
        QCOMPARE(seen[u"name"_s], u"UpdProduto"_s);
        QCOMPARE(seen[u"CODIGO"_s], u"000045"_s);
        QCOMPARE(seen[u"NOME"_s], u"Parafuso Sextavado 1/2"_s);
        QCOMPARE(seen[u"PRECO"_s], u"24,0000"_s);
        QCOMPARE(seen[u"QTD_EMBALAGEM"_s], u"12,0000"_s);
        QVERIFY(readOnly);
        QCOMPARE(tabs, (QStringList{u"Produto"_s, u"Preço"_s}));
    }

    void lookupReturnsAndRemembersTheProduct() {
        const Settings settings(programFolder.path());
        settings.setConsultaProdutoId(0);
        whenModal([](QWidget* modal) {
            auto* view = modal->findChild<QTableView*>(u"lista"_s);
            view->setCurrentIndex(view->model()->index(2, 0)); // C30, id 4
            QTest::keyClick(view, Qt::Key_Return);
        });
        QCOMPARE(JanelaProdutos::selecionar(nullptr, context()), std::optional<int>(4));
        QCOMPARE(settings.consultaProdutoId(), 4);

        int openedOn = 0;
        whenModal([&](QWidget* modal) {
            auto* view = modal->findChild<QTableView*>(u"lista"_s);
            openedOn = view->currentIndex().siblingAtColumn(JanelaProdutos::Id).data().toString().toInt();
            modal->findChild<QPushButton*>(u"botaoFechar"_s)->click();
        });
        QCOMPARE(JanelaProdutos::selecionar(nullptr, context()), std::nullopt);
        QCOMPARE(openedOn, 4);
        QCOMPARE(settings.consultaProdutoId(), 4); // closing without a choice keeps it
    }

    void modelUnderTheModelTester() {
        JanelaProdutos list(context());
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.findChild<QRadioButton*>(u"situacaoTodos"_s)->click();
        for (int tab = 0; tab < 4; ++tab) {
            list.tabs()->setCurrentIndex(tab);
            QTest::keyClicks(entry(list, u"localizador"_s), u"par"_s);
        }
        list.setPauta(u"25"_s);
        QVERIFY(list.model()->rowCount() > 0);
    }

    void enterInTheSearchOpensTheProduct() {
        JanelaProdutos list(context());
        list.show();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        QTRY_COMPARE(QApplication::focusWidget(), entry(list, u"localizador"_s));
        QString opened;
        whenModal([&](QWidget* modal) {
            opened = modal->findChild<QLineEdit*>(u"CODIGO"_s)->text();
            modal->findChild<QPushButton*>(u"botaoFechar"_s)->click();
        });
        QTest::keyClicks(QApplication::focusWidget(), u"c3"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(opened, u"C30"_s);
    }
};

QAV_TEST_MAIN(TestGuiBrowseProdutos)
#include "tst_gui_browseprodutos.moc"
