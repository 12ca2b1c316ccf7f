// The order list over real table files: what each situation and tab shows, the remembered filter,
// the duplicate of an order, the delete with its items and accessories, and the buttons of the
// header form while no form is registered.
#include "base/core/Settings.h"
#include "customers/widgets/JanelaClientes.h"
#include "orders/widgets/FormularioPedido.h"
#include "orders/widgets/JanelaPedidos.h"
#include "store/core/Clock.h"
#include "tests/orders/PedidosFixture.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/DadosAlterados.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {
const Date kHoje = Date::fromYmd(2026, 12, 8);
const Date kDia = Date::fromYmd(2026, 11, 3);
} // namespace

class TestGuiBrowsePedido : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<QTemporaryDir> m_program;

    ListContext context() const { return {m_folder->path(), 1, m_program->path()}; }
    Store& store() { return m_folder->store(); }

    static QStringList column(JanelaPedidos& list, int col) {
        QStringList values;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            values << list.model()->index(row, col).data().toString();
        return values;
    }
    static int rowOfNumber(JanelaPedidos& list, const QString& numero) {
        return static_cast<int>(column(list, JanelaPedidos::Qav).indexOf(numero));
    }
    std::size_t contar(const char* tabela, const char* key, const std::string& condition) {
        return registros(store(), tabela, key, condition).size();
    }

private Q_SLOTS:
    void init() {
        m_folder = std::make_unique<TempDataFolder>();
        m_program = std::make_unique<QTemporaryDir>();
        MessageBox::clearShown();
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
        janelasPedido::registrarFormulario({});
        Store& s = store();
        for (const auto& [id, razao] :
             {std::pair{501, "Casa das Ferragens Ltda"}, {502, "Mercadão São João"}})
            adicionar(s, "clientes", [&](Record& r) {
                r.setInteger("ID", id);
                r.setText("RAZAO", QString::fromUtf8(razao));
                r.setInteger("ATIVO", 1);
            });
        adicionar(s, "vendedor", [](Record& r) {
            r.setInteger("CODIGO", 101);
            r.setInteger("ID_EMPRESA", 1);
            r.setText("NOME", u"Ana Representante"_s);
            r.setInteger("ATIVO", 1);
        });
        const int d = kDia.dayNumber();
        pedido(s, {.id = 10,
                   .numero = 41,
                   .situa = 1,
                   .cliente = 501,
                   .vendedor = 101,
                   .data = d,
                   .total = 1234.5});
        pedido(s, {.id = 11, .numero = 42, .situa = 2, .cliente = 502, .vendedor = 102, .data = d});
        pedido(s, {.id = 12, .numero = 43, .situa = 3, .cliente = 501, .vendedor = 101, .numErp = 123});
        pedido(s, {.id = 13, .numero = 44, .situa = 4, .cliente = 502, .vendedor = 101});
        pedido(s, {.id = 14, .numero = 45, .situa = 1, .cliente = 503, .vendedor = 102}); // customer gone
        // Another company of the same folder holds the highest id and number.
        pedido(s, {.id = 90, .empresa = 2, .numero = 57, .situa = 1, .cliente = 501, .vendedor = 101});
        // Order 41: three items, entered in this order, two of them with accessories.
        item(s, 100, 10, 7, "2");
        item(s, 101, 10, 9, "1.5");
        item(s, 102, 10, 8, "3");
        acessorio(s, 100, 1);
        acessorio(s, 100, 2);
        acessorio(s, 102, 1);
        item(s, 110, 12, 7, "1"); // of the transmitted order
        acessorio(s, 110, 1);
        item(s, 300, 90, 7, "1"); // the highest item id
    }
    void cleanup() {
        Clock::setOverride({});
        janelasPedido::registrarFormulario({});
        m_folder.reset();
        m_program.reset();
    }

    void rowsShowTheOrder() {
        JanelaPedidos list(context());
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(list.windowTitle(), u"Pedidos"_s);
        QCOMPARE(list.tabs()->tabText(0), u"Número"_s);
        const int r41 = rowOfNumber(list, u"00000041"_s);
        const int r43 = rowOfNumber(list, u"00000043"_s);
        const int r45 = rowOfNumber(list, u"00000045"_s);
        QVERIFY(r41 >= 0 && r43 >= 0 && r45 >= 0);
        const auto cell = [&](int row, int col) { return list.model()->index(row, col).data().toString(); };
        QCOMPARE(cell(r41, JanelaPedidos::Erp), QString());
        QCOMPARE(cell(r43, JanelaPedidos::Erp), u"000000123"_s);
        QCOMPARE(cell(r41, JanelaPedidos::Data), u"03/11/2026"_s);
        QCOMPARE(cell(r43, JanelaPedidos::Data), QString());
        QCOMPARE(cell(r41, JanelaPedidos::Cliente), u"Casa das Ferragens Ltda"_s);
        QCOMPARE(cell(r45, JanelaPedidos::Cliente), QString());
        QCOMPARE(cell(r41, JanelaPedidos::Total), u"1.234,50"_s);
    }

    // Every situation and all of them: only the active company's orders, in number order.
    void filtersBySituationAndCompany_data() {
        QTest::addColumn<int>("qsit");
        QTest::addColumn<QStringList>("numeros");
        QTest::addColumn<QStringList>("letras");
        QTest::newRow("Pendente") << 1 << QStringList{u"00000041"_s, u"00000045"_s}
                                  << QStringList{u"P"_s, u"P"_s};
        QTest::newRow("Liberado") << 2 << QStringList{u"00000042"_s} << QStringList{u"L"_s};
        QTest::newRow("Transmitido") << 3 << QStringList{u"00000043"_s} << QStringList{u"T"_s};
        QTest::newRow("Cancelado") << 4 << QStringList{u"00000044"_s} << QStringList{u"C"_s};
        QTest::newRow("Todas") << 5
                               << QStringList{u"00000041"_s, u"00000042"_s, u"00000043"_s, u"00000044"_s,
                                              u"00000045"_s}
                               << QStringList{u"P"_s, u"L"_s, u"T"_s, u"C"_s, u"P"_s};
    }
    void filtersBySituationAndCompany() {
        QFETCH(int, qsit);
        QFETCH(QStringList, numeros);
        QFETCH(QStringList, letras);
        JanelaPedidos list(context());
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        auto* situacao = child<QComboBox>(&list, "situacao");
        QCOMPARE(situacao->currentText(), u"Todas"_s); // no preference yet
        situacao->setCurrentIndex(qsit == 5 ? 0 : 4);  // away and back: the choice reloads
        situacao->setCurrentIndex(qsit - 1);
        QCOMPARE(column(list, JanelaPedidos::Qav), numeros);
        QCOMPARE(column(list, JanelaPedidos::Situacao), letras);
    }

    // The situation chosen comes back when the list opens again; a value that is no situation gives
    // every order.
    void situationRemembered_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("chosen") << QString() << u"Cancelado"_s;
        QTest::newRow("out of range") << u"9"_s << u"Todas"_s;
        QTest::newRow("not a number") << u"abc"_s << u"Todas"_s;
    }
    void situationRemembered() {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        {
            JanelaPedidos list(context());
            child<QComboBox>(&list, "situacao")->setCurrentIndex(3);
        }
        QCOMPARE(Settings(m_program->path()).pedidosSituacao(), 4);
        if (!stored.isEmpty())
            QVERIFY(Settings(m_program->path()).qavIni().writeString(u"Pedidos"_s, u"Situação"_s, stored));
        JanelaPedidos again(context());
        QCOMPARE(child<QComboBox>(&again, "situacao")->currentText(), shown);
        QCOMPARE(again.model()->rowCount(), shown == u"Todas"_s ? 5 : 1);
    }

    void customerAndRepresentativeTabs() {
        JanelaPedidos list(context());
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.tabs()->setCurrentIndex(JanelaPedidos::TabCliente);
        QCOMPARE(list.model()->rowCount(), 0); // no customer chosen yet
        whenModal<QDialog>([](QDialog* d) {
            auto* clientes = d->findChild<JanelaClientes*>();
            QVERIFY(clientes);
            clientes->posicionar(501);
            clientes->selecionar();
        });
        child<QPushButton>(&list, "selecionaCliente")->click();
        QCOMPARE(column(list, JanelaPedidos::Qav), (QStringList{u"00000041"_s, u"00000043"_s}));
        QCOMPARE(child<QLabel>(&list, "selecionaClienteNome")->text(), u"Casa das Ferragens Ltda"_s);
        child<QComboBox>(&list, "situacao")->setCurrentIndex(2);
        QCOMPARE(column(list, JanelaPedidos::Qav), (QStringList{u"00000043"_s}));

        list.tabs()->setCurrentIndex(JanelaPedidos::TabVendedor);
        child<QComboBox>(&list, "situacao")->setCurrentIndex(4);
        whenModal<QWidget>([](QWidget* modal) {
            auto* view = modal->findChild<QTableView*>(u"lista"_s);
            view->setCurrentIndex(view->model()->index(0, 0));
            modal->findChild<QPushButton*>(u"botaoSelecionar"_s)->click();
        });
        child<QPushButton>(&list, "selecionaVendedor")->click();
        QCOMPARE(child<QLabel>(&list, "selecionaVendedorNome")->text(), u"Ana Representante"_s);
        QCOMPARE(column(list, JanelaPedidos::Qav),
                 (QStringList{u"00000041"_s, u"00000043"_s, u"00000044"_s}));
    }

    void locatorFindsTheNumber() {
        JanelaPedidos list(context());
        list.show();
        auto* locator = child<QLineEdit>(&list, "localizador");
        QTest::keyClicks(locator, u"43"_s);
        QCOMPARE(list.current()->integer("NUMER"), 43);
        QTest::keyClick(locator, Qt::Key_Backspace);
        QTest::keyClick(locator, Qt::Key_4);
        QCOMPARE(list.current()->integer("NUMER"), 44);
        QTest::keyClick(locator, Qt::Key_9); // 449: no order from there on, the highlight stays
        QCOMPARE(list.current()->integer("NUMER"), 44);
        QCOMPARE(list.model()->rowCount(), 5);
    }

    void duplicateCopiesTheOrderAsANewPendingOne() {
        JanelaPedidos list(context());
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.setCurrentRow(rowOfNumber(list, u"00000041"_s));
        MessageBox::setNextAnswers({Button::No});
        child<QPushButton>(&list, "botaoDuplicar")->click();
        QCOMPARE(list.model()->rowCount(), 5);

        MessageBox::setNextAnswers({Button::Yes});
        child<QPushButton>(&list, "botaoDuplicar")->click();
        QCOMPARE(shownBoxes(), (QStringList{u"CONFIRME?: Confirma duplicar pedido # 41?"_s,
                                            u"CONFIRME?: Confirma duplicar pedido # 41?"_s}));
        // Id and number above the highest of every company; today; pending; no release code; the
        // rest as it was.
        QCOMPARE(list.current()->integer("NUMER"), 58);
        const std::vector<Record> novo = registros(store(), "pedidos", "KEYID", "ID = 91");
        QCOMPARE(novo.size(), 1u);
        const Record& n = novo.front();
        QCOMPARE(n.integer("NUMER"), 58);
        QCOMPARE(n.integer("SITUA"), 1);
        QCOMPARE(n.integer("DATA"), kHoje.dayNumber());
        QCOMPARE(n.integer("ID_EMPRESA"), 1);
        QCOMPARE(n.integer("CLIEN"), 501);
        QCOMPARE(n.real("TOTAL"), 1234.5);
        // The release code was given for number 41: it could never match 58.
        QCOMPARE(n.integer("COD_LIBERACAO"), 0);
        QCOMPARE(n.integer("NUM_ERP"), 0);
        QCOMPARE(n.text("OBS").trimmed(), u"Entregar pela manhã"_s);
        // Items in their order with new ids, and their accessory rows with them.
        const std::vector<Record> itens = registros(store(), "peditens", "KEYORDEM", "ID_VENDA = 91");
        QStringList copiados;
        for (const Record& i : itens)
            copiados << u"%1:%2:%3:%4"_s.arg(i.integer("ID_VENDASI"))
                            .arg(i.integer("PRODU"))
                            .arg(QString::fromStdString(i.decimal("QTD").toString(3)))
                            .arg(i.text("OBS").trimmed());
        QCOMPARE(copiados,
                 (QStringList{u"301:7:2.000:item 7"_s, u"302:9:1.500:item 9"_s, u"303:8:3.000:item 8"_s}));
        QCOMPARE(contar("pedacess", "KEYID_ACESSORIO", "ID_VENDASI = 301"), 2u);
        QCOMPARE(contar("pedacess", "KEYID_ACESSORIO", "ID_VENDASI = 302"), 0u);
        QCOMPARE(contar("pedacess", "KEYID_ACESSORIO", "ID_VENDASI = 303"), 1u);
        // The original is untouched.
        QCOMPARE(contar("peditens", "KEYORDEM", "ID_VENDA = 10"), 3u);
        QCOMPARE(contar("pedacess", "KEYID_ACESSORIO", "ID_VENDASI BETWEEN 100 AND 102"), 3u);
        QCOMPARE(registros(store(), "pedidos", "KEYID", "ID = 10").front().integer("SITUA"), 1);
    }

    // A communication run changes orders under the open list (here through tables of its own, as the
    // run's thread does): the list shows the transmission as soon as the run says it has ended, with
    // the highlight where it was.
    void runEndRefreshesTheList() {
        JanelaPedidos list(context());
        list.show();
        const int r42 = rowOfNumber(list, u"00000042"_s);
        list.setCurrentRow(r42);
        const auto cell = [&](int col) { return list.model()->index(r42, col).data().toString(); };
        QCOMPARE(cell(JanelaPedidos::Erp), QString());
        {
            Store run(m_folder->path());
            Table pedidos(run, "pedidos");
            QVERIFY(pedidos.open());
            pedidos.clear();
            pedidos.rec().setInteger("ID", 11);
            QCOMPARE(pedidos.get("KEYID"), Status::Ok);
            pedidos.rec().setInteger("SITUA", 3);
            pedidos.rec().setInteger("NUM_ERP", 60006);
            QCOMPARE(pedidos.put(), Status::Ok);
        }
        DadosAlterados::avisar();
        QCOMPARE(rowOfNumber(list, u"00000042"_s), r42);
        QCOMPARE(cell(JanelaPedidos::Erp), u"000060006"_s);
        QCOMPARE(cell(JanelaPedidos::Situacao), u"T"_s);
        QCOMPARE(list.currentRow(), r42);
    }

    void transmittedOrderIsNotDeleted() {
        JanelaPedidos list(context());
        list.show();
        list.setCurrentRow(rowOfNumber(list, u"00000043"_s));
        MessageBox::setNextAnswers({Button::Ok});
        QTest::keyClick(list.view(), Qt::Key_Delete);
        QCOMPARE(shownBoxes(), (QStringList{u"Aviso: Pedido já transmitido! Impossivel excluir!"_s}));
        QCOMPARE(contar("pedidos", "KEYID", "ID = 12"), 1u);
        QCOMPARE(contar("peditens", "KEYORDEM", "ID_VENDA = 12"), 1u);
        QCOMPARE(contar("pedacess", "KEYID_ACESSORIO", "ID_VENDASI = 110"), 1u);
    }

    // The delete asks first; confirmed, the order goes with its items and their accessories.
    void deleteRemovesItemsAndAccessories_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("confirmed") << static_cast<int>(Button::Ok) << true;
        QTest::newRow("cancelled") << static_cast<int>(Button::Cancel) << false;
    }
    void deleteRemovesItemsAndAccessories() {
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        JanelaPedidos list(context());
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.setCurrentRow(rowOfNumber(list, u"00000041"_s));
        MessageBox::setNextAnswers({static_cast<Button>(answer)});
        child<QPushButton>(&list, "botaoExcluir")->click();
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().front().caption, u"Confirma Excluir"_s);
        const std::size_t left = deleted ? 0u : 1u;
        QCOMPARE(contar("pedidos", "KEYID", "ID = 10"), left);
        QCOMPARE(contar("peditens", "KEYORDEM", "ID_VENDA = 10"), 3 * left);
        QCOMPARE(contar("pedacess", "KEYID_ACESSORIO", "ID_VENDASI BETWEEN 100 AND 102"), 3 * left);
        QCOMPARE(list.model()->rowCount(), deleted ? 4 : 5);
        QCOMPARE(rowOfNumber(list, u"00000041"_s) >= 0, !deleted);
        // The other orders keep theirs.
        QCOMPARE(contar("peditens", "KEYORDEM", "ID_VENDA = 12"), 1u);
        QCOMPARE(contar("pedacess", "KEYID_ACESSORIO", "ID_VENDASI = 110"), 1u);
    }

    // The popup of the list: the record's items greyed while the list is empty.
    void popupGreyedWhenEmpty() {
        janelasPedido::registrarFormulario(
            [](QWidget*, const ListContext&, const PedidoAberto&) -> std::optional<int> { return {}; });
        JanelaPedidos list(context());
        list.show();
        const auto popup = [&list] {
            QStringList items;
            QTimer::singleShot(50, [&items] {
                if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    for (QAction* a : menu->actions())
                        items << (a->isEnabled() ? u""_s : u"~"_s) + a->text();
                    menu->close();
                }
            });
            Q_EMIT list.view()->customContextMenuRequested(QPoint(5, 5));
            return items;
        };
        QCOMPARE(popup(), (QStringList{u"&Novo"_s, u"&Editar"_s, u"E&xcluir"_s, u"&Imprimir / PDF / e-mail"_s,
                                       u"Duplicar"_s}));
        list.tabs()->setCurrentIndex(JanelaPedidos::TabCliente); // no customer chosen: no rows
        QCOMPARE(popup(), (QStringList{u"&Novo"_s, u"~&Editar"_s, u"~E&xcluir"_s,
                                       u"~&Imprimir / PDF / e-mail"_s, u"~Duplicar"_s}));
    }

    void formButtonsWaitForTheForm() {
        {
            JanelaPedidos list(context());
            for (const char* name : {"botaoNovo", "botaoEditar", "botaoImprimir"}) {
                auto* button = child<QPushButton>(&list, name);
                QVERIFY2(!button->isEnabled(), name);
                QCOMPARE(button->toolTip(), unavailableEntryTip());
            }
            list.setCurrentRow(1);
            QVERIFY(!child<QPushButton>(&list, "botaoEditar")->isEnabled());
            QVERIFY(child<QPushButton>(&list, "botaoExcluir")->isEnabled());
        }
        // With a form: Insert on the customer tab starts a new order for the chosen customer, and
        // the list comes back positioned on the order the form saved.
        QList<std::pair<Requisicao, std::int64_t>> calls;
        janelasPedido::registrarFormulario(
            [&](QWidget*, const ListContext&, const PedidoAberto& aberto) -> std::optional<int> {
                calls.append({aberto.requisicao, aberto.pedido->integer("CLIEN")});
                return 13;
            });
        JanelaPedidos list(context());
        list.show();
        QVERIFY(child<QPushButton>(&list, "botaoNovo")->isEnabled());
        list.tabs()->setCurrentIndex(JanelaPedidos::TabCliente);
        list.setCliente(502);
        QTest::keyClick(list.view(), Qt::Key_Insert);
        QCOMPARE(list.current()->integer("ID"), 13);
        QTest::keyClick(list.view(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(calls, (QList<std::pair<Requisicao, std::int64_t>>{{Requisicao::Inserir, 502},
                                                                    {Requisicao::Alterar, 502}}));
    }
};

QAV_TEST_MAIN(TestGuiBrowsePedido)
#include "tst_gui_browsepedido.moc"
