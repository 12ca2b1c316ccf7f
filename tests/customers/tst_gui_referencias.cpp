#include "base/core/Session.h"
#include "customers/widgets/JanelaFormasPagamento.h"
#include "customers/widgets/JanelaMunicipios.h"
#include "customers/widgets/JanelaPautas.h"
#include "customers/widgets/JanelaVendedores.h"
#include "customers/widgets/ReferenceWindows.h"
#include "tests/customers/ProdutoFixture.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiReferencias : public QObject {
    Q_OBJECT

private:
    TempDataFolder* folder = nullptr;
    QTemporaryDir programFolder;

    ListContext context() const { return {folder->path(), 1, programFolder.path()}; }

    static QStringList column(ListWindow& list, int col) {
        QStringList values;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            values << list.model()->index(row, col).data().toString();
        return values;
    }
    static QStringList headers(ListWindow& list) {
        QStringList values;
        for (int c = 0; c < list.model()->columnCount(); ++c)
            values << list.model()->headerData(c, Qt::Horizontal).toString();
        return values;
    }
    static QStringList tabNames(ListWindow& list) {
        QStringList names;
        for (int i = 0; i < list.tabs()->count(); ++i)
            names << list.tabs()->tabText(i);
        return names;
    }

private Q_SLOTS:
    void initTestCase() {
        folder = new TempDataFolder;
        Store& store = folder->store();
        Table ven(store, "vendedor");
        QVERIFY(ven.open());
        const auto vendedor = [&](int id, int emp, int codigo, int ativo, const QString& nome) {
            ven.clear();
            ven.rec().setInteger("ID_VENDEDOR", id);
            ven.rec().setInteger("ID_EMPRESA", emp);
            ven.rec().setInteger("CODIGO", codigo);
            ven.rec().setInteger("ATIVO", ativo);
            ven.rec().setText("NOME", nome);
            QCOMPARE(ven.add(), Status::Ok);
        };
        vendedor(1, 1, 7, 1, u"Zélia"_s);
        vendedor(2, 2, 3, 1, u"Antônio"_s);
        vendedor(3, 1, 5, 0, u"Bruno inativo"_s);
        vendedor(4, 1, 12, 1, u"carlos"_s);

        Table fp(store, "formapag");
        QVERIFY(fp.open());
        const auto forma = [&](int emp, int codigo, const QString& descr, const QString& acresc, int banco) {
            fp.clear();
            fp.rec().setInteger("ID_FORMAPAG", codigo * 10000 + emp);
            fp.rec().setInteger("ID_EMPRESA", emp);
            fp.rec().setInteger("CODIGO", codigo);
            fp.rec().setText("DESCR", descr);
            fp.rec().setDecimal("ACRESC", dec(acresc));
            fp.rec().setInteger("COBR_BAN", banco);
            QCOMPARE(fp.add(), Status::Ok);
        };
        forma(1, 7, u"Boleto 30 dias"_s, u"2.5"_s, 1);
        forma(1, 2, u"A vista"_s, u"0"_s, 0);
        forma(2, 1, u"Outra empresa"_s, u"0"_s, 0);

        Table mun(store, "municip");
        QVERIFY(mun.open());
        for (const auto& [id, nome, uf] :
             {std::tuple{3550308, u"São Paulo"_s, u"SP"_s}, std::tuple{4106902, u"Curitiba"_s, u"PR"_s},
              std::tuple{3509502, u"Campinas"_s, u"SP"_s}, std::tuple{3552205, u"Sorocaba"_s, u"SP"_s}}) {
            mun.clear();
            mun.rec().setInteger("ID", id);
            mun.rec().setText("NOME", nome);
            mun.rec().setText("ESTADO", uf);
            QCOMPARE(mun.add(), Status::Ok);
        }

        addPauta(store, 250001, 1, 25, u"Tabela Sul"_s);
        addPauta(store, 30001, 1, 3, u"Atacado"_s);
        addPauta(store, 90001, 1, 9, u"Exclusiva de um cliente"_s, 1);
        addPauta(store, 250002, 2, 25, u"Tabela da outra empresa"_s);
        Table pauta(store, "pauta");
        QVERIFY(pauta.open());
        pauta.rec().setInteger("ID", 30001);
        QCOMPARE(pauta.get("KEYID"), Status::Ok);
        pauta.rec().setDate("DT_INI", Date::fromYmd(2026, 1, 1));
        pauta.rec().setDate("DT_FIM", Date::fromYmd(2026, 12, 31));
        QCOMPARE(pauta.put(), Status::Ok);
    }
    void cleanupTestCase() { delete folder; }

    // A folder with many municipalities, more than a page and a window hold.
    static void manyMunicipalities(TempDataFolder& many) {
        Table mun(many.store(), "municip");
        QVERIFY(mun.open());
        QVERIFY(mun.beginBatch());
        for (int i = 0; i < 300; ++i) {
            mun.clear();
            mun.rec().setInteger("ID", 1000 + i);
            mun.rec().setText("NOME", u"MUNICIPIO %1"_s.arg(i, 3, 10, QLatin1Char('0')));
            mun.rec().setText("ESTADO", u"SP"_s);
            QCOMPARE(mun.add(), Status::Ok);
        }
        QVERIFY(mun.endBatch());
    }
    static bool currentRowInView(QTableView* view) {
        return view->currentIndex().isValid() &&
               view->viewport()->rect().contains(view->visualRect(view->currentIndex()));
    }

    void vendedores() {
        JanelaVendedores list(context());
        QCOMPARE(list.windowTitle(), u"Vendedores"_s);
        QCOMPARE(headers(list), (QStringList{u"Id"_s, u"Nome"_s}));
        QCOMPARE(tabNames(list), (QStringList{u"Id"_s, u"Nome"_s}));
        // Active salespeople of every company, none inactive.
        QCOMPARE(column(list, JanelaVendedores::Id), (QStringList{u"003"_s, u"007"_s, u"012"_s}));
        list.tabs()->setCurrentIndex(1);
        QCOMPARE(column(list, JanelaVendedores::Nome), (QStringList{u"Antônio"_s, u"carlos"_s, u"Zélia"_s}));
        QTest::keyClicks(list.findChild<QLineEdit*>(u"localizador"_s), u"Z"_s);
        QCOMPARE(list.current()->text("NOME"), u"Zélia"_s);
    }

    void formasDePagamento() {
        JanelaFormasPagamento list(context());
        QCOMPARE(list.windowTitle(), u"Formas de Pagamento"_s);
        QCOMPARE(headers(list), (QStringList{u"Código"_s, u"Descrição"_s, u"Acrescimo"_s, u"Cobrança"_s}));
        QCOMPARE(tabNames(list), (QStringList{u"Descrição"_s, u"Código"_s}));
        // Only the active company's, in description order.
        QCOMPARE(column(list, JanelaFormasPagamento::Codigo), (QStringList{u"000002"_s, u"000007"_s}));
        QCOMPARE(column(list, JanelaFormasPagamento::Acrescimo), (QStringList{u"0,00"_s, u"2,50"_s}));
        QCOMPARE(column(list, JanelaFormasPagamento::Cobranca), (QStringList{u"Carteira"_s, u"Bancaria"_s}));
        list.tabs()->setCurrentIndex(1);
        QTest::keyClicks(list.findChild<QLineEdit*>(u"localizador"_s), u"5"_s);
        QCOMPARE(list.current()->integer("CODIGO"), 7);
        // Not a number: refused with a message, the list stays.
        MessageBox::clearShown();
        MessageBox::setNextAnswers({Button::Ok});
        QTest::keyClicks(list.findChild<QLineEdit*>(u"localizador"_s), u"x"_s);
        QCOMPARE(list.current()->integer("CODIGO"), 7);
        QCOMPARE(list.findChild<QLineEdit*>(u"localizador"_s)->text(), u"5"_s);
        QCOMPARE(MessageBox::shown().size(), 1);
    }

    void municipios() {
        JanelaMunicipios list(context());
        QCOMPARE(list.windowTitle(), u"Municípios"_s);
        QCOMPARE(headers(list), (QStringList{u"Id"_s, u"Município"_s, u"UF"_s}));
        QCOMPARE(tabNames(list), (QStringList{u"Município"_s, u"Id"_s}));
        QCOMPARE(column(list, JanelaMunicipios::Municipio),
                 (QStringList{u"Campinas"_s, u"Curitiba"_s, u"São Paulo"_s, u"Sorocaba"_s}));
        auto* localizador = list.findChild<QLineEdit*>(u"localizador"_s);
        QTest::keyClicks(localizador, u"cu"_s);
        QCOMPARE(list.current()->text("ESTADO"), u"PR"_s);
        // Typed without the accent, the name is found all the same.
        localizador->clear();
        QTest::keyClicks(localizador, u"sao"_s);
        QCOMPARE(list.current()->text("NOME"), u"São Paulo"_s);
        localizador->clear();
        QTest::keyClicks(localizador, u"so"_s);
        QCOMPARE(list.current()->text("NOME"), u"Sorocaba"_s);
        list.tabs()->setCurrentIndex(1);
        QCOMPARE(column(list, JanelaMunicipios::Id),
                 (QStringList{u"3509502"_s, u"3550308"_s, u"3552205"_s, u"4106902"_s}));
    }

    void pautas_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("codigos");
        QTest::newRow("Código") << 0 << QStringList{u"000003"_s, u"000025"_s};
        QTest::newRow("Descrição") << 1 << QStringList{u"000003"_s, u"000025"_s};
    }
    void pautas() {
        QFETCH(int, tab);
        QFETCH(QStringList, codigos);
        JanelaPautas list(context());
        QCOMPARE(list.windowTitle(), u"Pauta de Preços"_s);
        QCOMPARE(headers(list), (QStringList{u"Código"_s, u"Nº Pauta"_s, u"Validade Inicial"_s,
                                             u"Validade Final"_s, u"Descrição"_s}));
        QCOMPARE(tabNames(list), (QStringList{u"Código"_s, u"Descrição"_s}));
        list.tabs()->setCurrentIndex(tab);
        // The active company's lists open to every customer, under both orders.
        QCOMPARE(column(list, JanelaPautas::Codigo), codigos);
        QCOMPARE(column(list, JanelaPautas::ValidadeInicial), (QStringList{u"01/01/2026"_s, u""_s}));
        QCOMPARE(column(list, JanelaPautas::ValidadeFinal), (QStringList{u"31/12/2026"_s, u""_s}));
    }

    void selectionsReturnTheirCodes() {
        whenModal([](QWidget* modal) {
            auto* view = modal->findChild<QTableView*>(u"lista"_s);
            view->setCurrentIndex(view->model()->index(2, 0));
            modal->findChild<QPushButton*>(u"botaoSelecionar"_s)->click();
        });
        QCOMPARE(JanelaVendedores::selecionar(nullptr, context()), std::optional<int>(12));
        whenModal([](QWidget* modal) {
            auto* view = modal->findChild<QTableView*>(u"lista"_s);
            view->setCurrentIndex(view->model()->index(1, 0));
            Q_EMIT view->doubleClicked(view->model()->index(1, 0));
        });
        QCOMPARE(JanelaFormasPagamento::selecionar(nullptr, context()), std::optional<int>(7));
        whenModal([](QWidget* modal) {
            QTest::keyClick(modal->findChild<QTableView*>(u"lista"_s), Qt::Key_Return);
        });
        QCOMPARE(JanelaMunicipios::selecionar(nullptr, context()), std::optional<int>(3509502));
        whenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(JanelaPautas::selecionar(nullptr, context()), std::nullopt);
    }

    void emptyListOffersNothingToSelect() {
        TempDataFolder empty;
        bool enabled = true;
        whenModal([&](QWidget* modal) {
            auto* select = modal->findChild<QPushButton*>(u"botaoSelecionar"_s);
            enabled = select->isEnabled();
            select->click();
            QTest::keyClick(modal->findChild<QTableView*>(u"lista"_s), Qt::Key_Return);
            modal->findChild<QPushButton*>(u"botaoFechar"_s)->click();
        });
        QCOMPARE(JanelaMunicipios::selecionar(nullptr, {empty.path(), 1, programFolder.path()}),
                 std::nullopt);
        QVERIFY(!enabled);
    }

    void menuEntriesOpenTheLists() {
        bindFolder({u"dados"_s, folder->path()});
        setIdEmpAtiva(1);
        registerReferenceWindows();
        QMdiArea area;
        WindowContext ctx;
        ctx.frame = &area;
        ctx.mdiArea = &area;
        ctx.programFolder = programFolder.path();
        const QList<std::pair<QStringView, QString>> entries{
            {janelaMenu::browseprodutos, u"Produtos"_s},
            {janelaMenu::BrowseFORMAPAG, u"Formas de Pagamento"_s},
            {janelaMenu::BrowseVendedor, u"Vendedores"_s},
            {janelaMenu::BrowseMunic, u"Municípios"_s}};
        for (const auto& [name, title] : entries) {
            QVERIFY(WindowRegistry::has(name));
            QVERIFY(WindowRegistry::open(name, ctx));
            QCOMPARE(area.subWindowList().last()->widget()->windowTitle(), title);
            QCOMPARE(area.subWindowList().last()->widget()->objectName(), name.toString());
        }
        QCOMPARE(area.subWindowList().size(), 4);
        // "&Fechar" closes the child window.
        auto* list = qobject_cast<ListWindow*>(area.subWindowList().last()->widget());
        QVERIFY(list);
        QCOMPARE(list->model()->rowCount(), 4); // the four municipalities
        list->findChild<QPushButton*>(u"botaoFechar"_s)->click();
        QTRY_COMPARE(area.subWindowList().size(), 3);
    }

    void modelsUnderTheModelTester() {
        for (int tab = 0; tab < 2; ++tab) {
            JanelaMunicipios munic(context());
            QAbstractItemModelTester t1(munic.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
            JanelaPautas pauta(context());
            QAbstractItemModelTester t2(pauta.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
            JanelaVendedores vendedor(context());
            QAbstractItemModelTester t3(vendedor.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
            JanelaFormasPagamento forma(context());
            QAbstractItemModelTester t4(forma.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
            for (ListWindow* list : std::initializer_list<ListWindow*>{&munic, &pauta, &vendedor, &forma}) {
                list->tabs()->setCurrentIndex(tab);
                const bool numeric =
                    list->tabs()->tabText(tab) == u"Id"_s || list->tabs()->tabText(tab) == u"Código"_s;
                QTest::keyClicks(list->findChild<QLineEdit*>(u"localizador"_s),
                                 numeric ? u"99999999"_s : u"zz"_s);
                // Typed past the last record: the list stays on its last records.
                QVERIFY(list->model()->rowCount() > 0);
                QCOMPARE(list->currentRow(), list->model()->rowCount() - 1);
            }
        }
    }

    void foundRowIsScrolledIntoView() {
        TempDataFolder many;
        manyMunicipalities(many);
        const ListContext manyContext{many.path(), 1, programFolder.path()};
        JanelaMunicipios list(manyContext);
        list.resize(600, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTest::keyClicks(list.findChild<QLineEdit*>(u"localizador"_s), u"municipio 25"_s);
        QCOMPARE(list.current()->text("NOME"), u"MUNICIPIO 250"_s);
        QTRY_VERIFY(currentRowInView(list.view()));

        bool inView = false;
        QString name;
        whenModal([&](QWidget* modal) {
            QTest::keyClicks(modal->findChild<QLineEdit*>(u"localizador"_s), u"municipio 28"_s);
            auto* view = modal->findChild<QTableView*>(u"lista"_s);
            QTRY_VERIFY(currentRowInView(view));
            inView = true;
            name = view->currentIndex().siblingAtColumn(JanelaMunicipios::Municipio).data().toString();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QCOMPARE(JanelaMunicipios::selecionar(nullptr, manyContext), std::nullopt);
        QVERIFY(inView);
        QCOMPARE(name, u"MUNICIPIO 280"_s);
    }

    void opensWithTheCursorInTheSearch() {
        JanelaMunicipios list(context());
        list.show();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        QTRY_COMPARE(QApplication::focusWidget(), list.findChild<QLineEdit*>(u"localizador"_s));

        // A look-up: the letters typed at once find the row, Enter chooses it.
        whenModal([](QWidget* modal) {
            // The letters go to the search entry once it has the focus (a loaded machine may take a
            // moment to give it).
            QTRY_COMPARE(QApplication::focusWidget(), modal->findChild<QLineEdit*>(u"localizador"_s));
            QTest::keyClicks(QApplication::focusWidget(), u"cu"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            if (modal->isVisible())
                QTest::keyClick(modal, Qt::Key_Escape); // Enter chose nothing
        });
        QCOMPARE(JanelaMunicipios::selecionar(nullptr, context()), std::optional<int>(4106902));
    }

    void lookupsShowTheirColumns() {
        for (int list = 0; list < 2; ++list) {
            int needed = 0;
            int shown = 0;
            whenModal([&](QWidget* modal) {
                auto* view = modal->findChild<QTableView*>(u"lista"_s);
                needed = view->horizontalHeader()->length();
                shown = view->viewport()->width();
                QTest::keyClick(modal, Qt::Key_Escape);
            });
            if (list == 0)
                JanelaPautas::selecionar(nullptr, context());
            else
                JanelaMunicipios::selecionar(nullptr, context());
            QVERIFY2(needed > 0 && needed <= shown, qPrintable(u"%1 > %2"_s.arg(needed).arg(shown)));
        }
    }
};

QAV_TEST_MAIN(TestGuiReferencias)
#include "tst_gui_referencias.moc"
