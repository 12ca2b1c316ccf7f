// The customer list "Correntistas" driven through its widgets on real table files.
#include "base/core/Session.h"
#include "customers/widgets/FichaCliente.h"
#include "customers/widgets/JanelaClientes.h"
#include "tests/customers/FixtureClientes.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/WindowRegistry.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiCorrentistas : public QObject {
    Q_OBJECT

    std::unique_ptr<FixtureClientes> fx;

    static QList<qint64> ids(JanelaClientes& b) {
        QList<qint64> lista;
        for (int i = 0; i < b.modelo().rowCount(); ++i)
            lista << b.modelo().idDaLinha(i);
        return lista;
    }

private Q_SLOTS:
    void init() {
        fx = std::make_unique<FixtureClientes>();
        fx->cliente(1500, u"SERVIDOR"_s, 1, u"11.222.333/0001-81"_s);
        fx->cliente(900001, u"ALFA LOCAL"_s, 1);
        fx->cliente(900002, u"INATIVO LOCAL"_s, 0);
        MessageBox::clearShown();
        MessageBox::setNextAnswers(QList<Button>(20, Button::Ok));
    }
    void cleanup() { MessageBox::setNextAnswers({}); }

    // A customer with its trade name and document, in municipality `municipio`.
    void clienteCompleto(std::int64_t id, const QString& razao, const QString& fantasia, const QString& cgcpf,
                         std::int64_t municipio = 10) {
        adicionar(fx->store(), "clientes.tps", [&](Record& r) {
            r.setInteger("ID", id);
            r.setText("RAZAO", razao);
            r.setText("NOME", fantasia);
            r.setText("CGCPF", cgcpf);
            r.setInteger("ATIVO", 1);
            r.setInteger("ID_MUNICIPIO", municipio);
        });
    }

    static int linhasVisiveis(QTableView* lista) {
        return lista->viewport()->height() / std::max(1, lista->verticalHeader()->defaultSectionSize());
    }

    void colunasEAtivos() {
        JanelaClientes b(fx->contexto(), false);
        QCOMPARE(b.windowTitle(), u"Correntistas"_s);
        QCOMPARE(ids(b), (QList<qint64>{1500, 900001}));
        QCOMPARE(b.modelo().data(b.modelo().index(0, 0)).toString(), u"001500"_s);
        QCOMPARE(b.modelo().data(b.modelo().index(0, 2)).toString(), u"11.222.333/0001-81"_s);
        QCOMPARE(b.modelo().data(b.modelo().index(0, 3)).toString(), u"CAMPINAS"_s);
        QCOMPARE(b.modelo().data(b.modelo().index(0, 4)).toString(), u"SP"_s);
        QCOMPARE(b.modelo().headerData(1, Qt::Horizontal).toString(), u"Nome / Razão Social"_s);
    }

    void situacao() {
        JanelaClientes b(fx->contexto(), false);
        child<QRadioButton>(&b, "todos")->click();
        QCOMPARE(ids(b), (QList<qint64>{1500, 900001, 900002}));
        child<QRadioButton>(&b, "inativos")->click();
        QCOMPARE(ids(b), (QList<qint64>{900002}));
    }

    void ordemPorNomeELocalizador() {
        JanelaClientes b(fx->contexto(), false);
        child<QRadioButton>(&b, "todos")->click();
        child<QTabWidget>(&b, "abas")->setCurrentIndex(1);
        QCOMPARE(ids(b), (QList<qint64>{900001, 900002, 1500}));
        QTest::keyClicks(child<QLineEdit>(&b, "localizaRazao"), u"ser"_s);
        QCOMPARE(b.idAtual(), 1500);
    }

    void localizadorDeDocumento() {
        JanelaClientes b(fx->contexto(), false);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(2);
        QLineEdit* e = child<QLineEdit>(&b, "localizaDocumento");
        QTest::keyClicks(e, u"11222333000181"_s);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(e->text(), u"11.222.333/0001-81"_s);
        QCOMPARE(b.idAtual(), 1500);
    }

    void municipioMostraTodasAsSituacoes() {
        JanelaClientes b(fx->contexto(), false);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(4);
        QLineEdit* e = child<QLineEdit>(&b, "municipio");
        QTest::keyClicks(e, u"10"_s);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(child<QLabel>(&b, "municipioNome")->text(), u"CAMPINAS - SP"_s);
        QCOMPARE(ids(b).size(), 3); // by name, whatever their situation
    }

    void municipioDesconhecidoAbreALista() {
        JanelaClientes b(fx->contexto(), false);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(4);
        QString aberta;
        whenModal([&aberta](QWidget* modal) {
            aberta = modal->objectName();
            QTest::keyClick(modal->findChild<QTableView*>(u"lista"_s), Qt::Key_Return);
        });
        QLineEdit* e = child<QLineEdit>(&b, "municipio");
        QTest::keyClicks(e, u"99"_s);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(aberta, u"BrowseMunic"_s);
        QCOMPARE(e->text(), u"10"_s);
        QCOMPARE(child<QLabel>(&b, "municipioNome")->text(), u"CAMPINAS - SP"_s);
        QCOMPARE(ids(b).size(), 3);
    }

    void clienteDoServidorSomenteLeitura() {
        JanelaClientes b(fx->contexto(), false);
        b.posicionar(1500);
        child<QPushButton>(&b, "editar")->click();
        child<QPushButton>(&b, "excluir")->click();
        QCOMPARE(shownBoxes(), (QStringList{u"Aviso: Sem permissão para editar cliente!"_s,
                                            u"Aviso: Impossivel excluir cliente selecionado!"_s}));
        QVERIFY(fx->lerCliente(1500));
    }

    void clienteLocalEditavelEExcluivel() {
        JanelaClientes b(fx->contexto(), false);
        b.posicionar(900001);
        whenModal<FichaCliente>([](FichaCliente* f) {
            QCOMPARE(f->windowTitle(), u"Edita"_s);
            QCOMPARE(f->idAtual(), 900001);
            f->reject();
        });
        child<QPushButton>(&b, "editar")->click();
        QVERIFY(shownBoxes().isEmpty());
        child<QPushButton>(&b, "excluir")->click(); // warning 32 answered OK
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown()[0].caption, u"Confirma Excluir"_s);
        QVERIFY(!fx->lerCliente(900001));
        QCOMPARE(ids(b), (QList<qint64>{1500}));
    }

    void excluirComPedidosRecusado() {
        adicionar(fx->store(), "pedidos.tps", [](Record& r) {
            r.setInteger("ID", 1);
            r.setInteger("CLIEN", 900001);
        });
        JanelaClientes b(fx->contexto(), false);
        b.posicionar(900001);
        child<QPushButton>(&b, "excluir")->click();
        QCOMPARE(MessageBox::shown().size(), 2);
        QCOMPARE(MessageBox::shown()[1].caption, u"Erro de integridade referencial"_s);
        QVERIFY(fx->lerCliente(900001));
    }

    void novoRecusadoPeloBloqueio() {
        fx->bloqueios(8 | 1);
        JanelaClientes b(fx->contexto(), false);
        child<QPushButton>(&b, "novo")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Sem permissão para cadastrar novo cliente!"_s});
        QCOMPARE(fx->contar("clientes.tps"), 3);
    }

    void novoPelaListaECancelado() {
        JanelaClientes b(fx->contexto(), false);
        whenModal<FichaCliente>([this](FichaCliente* f) {
            QCOMPARE(f->idAtual(), 900003);
            QCOMPARE(fx->contar("clientes.tps"), 4);
            f->reject();
        });
        child<QPushButton>(&b, "novo")->click();
        QCOMPARE(fx->contar("clientes.tps"), 3);
    }

    void selecaoDevolveOCliente() {
        whenModal<QDialog>([](QDialog* d) {
            auto* lista = d->findChild<JanelaClientes*>();
            QVERIFY(lista);
            QVERIFY(lista->findChild<QPushButton*>(u"selecionar"_s)->isVisible());
            lista->posicionar(900001);
            lista->findChild<QPushButton*>(u"selecionar"_s)->click();
        });
        QCOMPARE(selecionarCliente(fx->contexto()), std::optional<std::int64_t>(900001));
        whenModal<QDialog>([](QDialog* d) { d->findChild<QPushButton*>(u"fechar"_s)->click(); });
        QCOMPARE(selecionarCliente(fx->contexto()), std::nullopt);
    }

    void registradaNoMenu() {
        WindowRegistry::remove(janelaMenu::BrowseCLIENTES);
        registerCustomerWindows();
        QVERIFY(WindowRegistry::has(janelaMenu::BrowseCLIENTES));
        QMdiArea area;
        WindowContext c;
        c.mdiArea = &area;
        c.programFolder = fx->contexto().pastaPrograma;
        bindFolder({u"dados"_s, fx->contexto().pastaDados});
        setIdEmpAtiva(FixtureClientes::idEmpresa);
        QVERIFY(WindowRegistry::open(janelaMenu::BrowseCLIENTES, c));
        QCOMPARE(area.subWindowList().size(), 1);
        auto* lista = qobject_cast<JanelaClientes*>(area.subWindowList()[0]->widget());
        QVERIFY(lista);
        QCOMPARE(ids(*lista), (QList<qint64>{1500, 900001})); // the session's folder
        QVERIFY(MessageBox::shown().isEmpty());
        area.closeAllSubWindows();
    }

    void modeloSobOTesterDeModelos() {
        for (int i = 0; i < 150; ++i)
            clienteCompleto(910000 + i, u"CLIENTE %1"_s.arg(i, 3, 10, QLatin1Char('0')), {}, {});
        JanelaClientes b(fx->contexto(), false);
        QAbstractItemModelTester tester(&b.modelo(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (int aba = 0; aba < 5; ++aba)
            child<QTabWidget>(&b, "abas")->setCurrentIndex(aba);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(1);
        child<QRadioButton>(&b, "todos")->click();
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        QTest::keyClicks(child<QLineEdit>(&b, "localizaRazao"), u"cliente 1"_s);
        QCOMPARE(b.idAtual(), 910100);
        // The customer found is in sight.
        auto* lista = child<QTableView>(&b, "lista");
        QTRY_VERIFY(lista->viewport()->rect().contains(lista->visualRect(lista->currentIndex())));
        // Only the pages around the customer found are read; the rest comes as the user scrolls.
        QVERIFY(b.modelo().rowCount() < 153);
        while (b.modelo().canFetchBefore())
            b.modelo().fetchBefore();
        while (b.modelo().canFetchMore({}))
            b.modelo().fetchMore({});
        QCOMPARE(b.modelo().rowCount(), 153);
        QCOMPARE(b.modelo().idDaLinha(0), 900001);
    }

    void municipioSemEscolhaMostraTodos() {
        fx->municipio(20, u"JUNDIAI"_s, u"SP"_s);
        clienteCompleto(900003, u"BETA"_s, {}, {}, 20);
        JanelaClientes b(fx->contexto(), false);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(4);
        // No municipality typed: every customer, by name, whatever its situation.
        QCOMPARE(ids(b), (QList<qint64>{900001, 900003, 900002, 1500}));
        QLineEdit* e = child<QLineEdit>(&b, "municipio");
        QTest::keyClicks(e, u"20"_s);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(ids(b), (QList<qint64>{900003}));
        QCOMPARE(child<QLabel>(&b, "municipioNome")->text(), u"JUNDIAI - SP"_s);
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(ids(b), (QList<qint64>{900001, 900003, 900002, 1500}));
    }

    void municipioForaDoIntervalo_data() {
        QTest::addColumn<QString>("digitado");
        QTest::newRow("2^31") << u"2147483648"_s;
        QTest::newRow("dez noves") << u"9999999999"_s;
        QTest::newRow("mais do que cabe") << u"99999999999999"_s;
    }
    void municipioForaDoIntervalo() {
        QFETCH(QString, digitado);
        JanelaClientes b(fx->contexto(), false);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(4);
        QLineEdit* e = child<QLineEdit>(&b, "municipio");
        QTest::keyClicks(e, digitado);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown()[0].caption, u"Range Error"_s);
        QCOMPARE(ids(b).size(), 3); // the list as it was
    }

    void teclasDaLista_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("formulario"); // caption of the form opened; empty: none
        QTest::addColumn<bool>("excluido");
        QTest::newRow("Insert: novo") << int(Qt::Key_Insert) << u"Novo"_s << false;
        QTest::newRow("Enter: editar") << int(Qt::Key_Return) << u"Edita"_s << false;
        QTest::newRow("Delete: excluir") << int(Qt::Key_Delete) << QString() << true;
    }
    void teclasDaLista() {
        QFETCH(int, tecla);
        QFETCH(QString, formulario);
        QFETCH(bool, excluido);
        JanelaClientes b(fx->contexto(), false);
        b.posicionar(900001);
        QString aberto;
        if (!formulario.isEmpty())
            whenModal<FichaCliente>([&aberto](FichaCliente* f) {
                aberto = f->windowTitle();
                f->reject();
            });
        QTest::keyClick(child<QTableView>(&b, "lista"), Qt::Key(tecla));
        if (!formulario.isEmpty())
            QTRY_COMPARE(aberto, formulario);
        QCOMPARE(!fx->lerCliente(900001), excluido);
    }

    void enterNaBuscaAbreOCliente() {
        JanelaClientes b(fx->contexto(), false);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(1);
        qint64 editado = 0;
        whenModal<FichaCliente>([&editado](FichaCliente* f) {
            editado = f->idAtual();
            f->reject();
        });
        QLineEdit* e = child<QLineEdit>(&b, "localizaRazao");
        QTest::keyClicks(e, u"alf"_s);
        QTest::keyClick(e, Qt::Key_Return);
        QTRY_COMPARE(editado, 900001);
    }

    void enterNaBuscaEscolheNaConsulta() {
        whenModal<QDialog>([](QDialog* d) {
            auto* lista = d->findChild<JanelaClientes*>();
            lista->findChild<QTabWidget*>(u"abas"_s)->setCurrentIndex(1);
            QLineEdit* e = lista->findChild<QLineEdit*>(u"localizaRazao"_s);
            QTest::keyClicks(e, u"ser"_s);
            QTest::keyClick(e, Qt::Key_Return);
            if (d->isVisible())
                d->reject(); // Enter chose nothing
        });
        QCOMPARE(selecionarCliente(fx->contexto()), std::optional<std::int64_t>(1500));
    }

    void abreComOCursorNaBusca() {
        JanelaClientes b(fx->contexto(), false);
        b.show();
        QVERIFY(QTest::qWaitForWindowActive(&b));
        QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>(&b, "localizaId"));
        child<QTabWidget>(&b, "abas")->setCurrentIndex(1);
        QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>(&b, "localizaRazao"));
        // The letters typed at once go to the search.
        QTest::keyClicks(QApplication::focusWidget(), u"ser"_s);
        QCOMPARE(b.idAtual(), 1500);

        QString foco;
        whenModal<QDialog>([&foco](QDialog* d) {
            // The focus reaches the look-up a moment after it shows; until then it is still in the list.
            QTRY_VERIFY(QApplication::focusWidget() && d->isAncestorOf(QApplication::focusWidget()));
            foco = QApplication::focusWidget()->objectName();
            d->reject();
        });
        selecionarCliente(fx->contexto());
        QCOMPARE(foco, u"localizaId"_s);
    }

    void buscaComoOUsuarioDigita_data() {
        QTest::addColumn<int>("aba");
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<qint64>("esperado");
        QTest::newRow("nome sem acentos") << 1 << u"antonio r"_s << qint64(900010);
        QTest::newRow("nome com acentos") << 1 << u"ANTÔNIO S"_s << qint64(900011);
        QTest::newRow("fantasia sem acentos") << 3 << u"ze d"_s << qint64(900010);
        QTest::newRow("CPF só com dígitos") << 2 << u"706588"_s << qint64(900010);
        QTest::newRow("CPF pontuado pela metade") << 2 << u"706.58"_s << qint64(900010);
        QTest::newRow("CNPJ só com dígitos") << 2 << u"112223"_s << qint64(1500);
    }
    void buscaComoOUsuarioDigita() {
        QFETCH(int, aba);
        QFETCH(QString, digitado);
        QFETCH(qint64, esperado);
        clienteCompleto(900010, u"Antônio Ribeiro"_s, u"Zé do Boné"_s, u"706.588.110-53"_s);
        clienteCompleto(900011, u"ANTONIO SILVA"_s, u"ZEBRA"_s, u"800.000.000-00"_s);
        JanelaClientes b(fx->contexto(), false);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(aba);
        static const char* const entradas[] = {"localizaId", "localizaRazao", "localizaDocumento",
                                               "localizaFantasia"};
        QTest::keyClicks(child<QLineEdit>(&b, entradas[aba]), digitado);
        QCOMPARE(b.idAtual(), esperado);
    }

    void painelDeBuscaNaoTomaAsLinhas() {
        for (int i = 0; i < 60; ++i)
            clienteCompleto(910000 + i, u"CLIENTE %1"_s.arg(i), {}, {});
        // The list as the menu opens it in a 1366x768 screen: the frame's menu, tool and status bars
        // leave about 640 pixels to the window.
        QMdiArea area;
        area.resize(1366, 640);
        auto* b = new JanelaClientes(fx->contexto(), false);
        QMdiSubWindow* janela = area.addSubWindow(b);
        area.show();
        janela->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QTRY_VERIFY(linhasVisiveis(child<QTableView>(b, "lista")) >= 12);
    }

    void colunaDoNomeLegivelLadoALado() {
        QMdiArea area;
        area.resize(1366, 640);
        for (int i = 0; i < 6; ++i)
            area.addSubWindow(new JanelaClientes(fx->contexto(), false))->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        area.tileSubWindows();
        auto* lista = child<QTableView>(area.subWindowList().first()->widget(), "lista");
        // At least some 30 characters of the name, never a column collapsed to "…".
        QTRY_VERIFY(lista->columnWidth(1) >= lista->fontMetrics().averageCharWidth() * 30);
    }

    void buscaRecusaOQueOCampoNaoGuarda() {
        JanelaClientes b(fx->contexto(), false);
        child<QTabWidget>(&b, "abas")->setCurrentIndex(1);
        QLineEdit* e = child<QLineEdit>(&b, "localizaRazao");
        QKeyEvent tecla(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"Ł"_s); // not in the files
        QApplication::sendEvent(e, &tecla);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(e->text(), QString());
        QCOMPARE(ids(b), (QList<qint64>{900001, 1500}));
    }
};

QAV_TEST_MAIN(TestGuiCorrentistas)
#include "tst_gui_correntistas.moc"
