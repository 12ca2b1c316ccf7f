// Every window the menu opens, over the demonstration folder, in a frame of 1366x768 (a common
// notebook screen): each child window lies whole inside the frame's area, none is forced below the
// size its contents need (which would cut its buttons), and the toolbar and status line show the
// work waiting. With $QAV_SCREENSHOT_DIR set, a picture of the frame with each window is saved there
// (for a look by eye).
#include "app/core/FrameConfig.h"
#include "app/core/FrameText.h"
#include "app/widgets/AppFrame.h"
#include "app/widgets/RegisteredWindows.h"
#include "app/widgets/SelecionaEmpresa.h"
#include "base/core/Settings.h"
#include "orders/core/SituacaoPedido.h"
#include "queries/widgets/RelatoriosMenu.h"
#include "store/core/Clock.h"
#include "store/core/Table.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "tools/qavdemo/DemoData.h"
#include "ui/widgets/DadosAlterados.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

const Date kHoje = Date::fromYmd(2026, 12, 8);

void escolherEmpresa() {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dlg = qobject_cast<SelecionaEmpresa*>(w); dlg && dlg->isVisible()) {
                poll->stop();
                poll->deleteLater();
                dlg->findChild<QLineEdit*>(u"idEmpresa"_s)->setText(u"1"_s);
                dlg->findChild<QPushButton*>(u"ok"_s)->click();
                return;
            }
    });
    poll->start();
}

} // namespace

class TestGuiJanelasMenu : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_raiz;
    QString m_fotos;

    QString programa() const { return m_raiz.filePath(u"pgms"_s); }

    // The frame open on the demo company, in a window of 1366x768 shown on the screen.
    [[nodiscard]] bool abrirNaTela(AppFrame& frame) {
        escolherEmpresa();
        if (!frame.open())
            return false;
        frame.setWindowState(Qt::WindowNoState);
        frame.setGeometry(0, 0, 1366, 768);
        return QTest::qWaitForWindowExposed(&frame);
    }

    void foto(QWidget& janela, const QString& nome) {
        if (!m_fotos.isEmpty())
            QVERIFY(janela.grab().save(m_fotos + u'/' + nome + u".png"_s));
    }

private Q_SLOTS:
    void initTestCase() {
        Clock::setOverride([] { return DateTimeParts{kHoje, 10, 0, 0}; });
        m_fotos = qEnvironmentVariable("QAV_SCREENSHOT_DIR");
        QVERIFY(QDir().mkpath(programa()));
        demo::Options opcoes;
        opcoes.hoje = kHoje;
        const demo::Outcome gerado = demo::generate(m_raiz.filePath(u"demo"_s), opcoes);
        QVERIFY2(gerado.ok, qPrintable(gerado.error));
        QVERIFY(demo::selectFolder(programa(), u"demo"_s, 1));
        registerWindows();
        MessageBox::setNextAnswers(QList<Button>(100, Button::No));
    }
    void cleanupTestCase() { Clock::setOverride({}); }

    void everyWindowFitsInside_data() {
        QTest::addColumn<QString>("entrada");
        for (QStringView e :
             {janelaMenu::browseprodutos, janelaMenu::BrowseFORMAPAG, janelaMenu::BrowseVendedor,
              janelaMenu::BrowseMunic, janelaMenu::BrowseCLIENTES, janelaMenu::BrowsePEDIDO,
              janelaMenu::ConsultaPedidos, janelaMenu::ConsultaCTR, janelaMenu::ConsultaSaldoFlex,
              janelaMenu::RelClientes, janelaMenu::RelPedidos, janelaMenu::RelCTR, janelaMenu::RelComissao,
              janelaMenu::RelPedidoConsulta, janelaMenu::RelClientesInativos, janelaMenu::Comunicacao,
              janelaMenu::CopiaDeSeguranca, janelaMenu::RestauraCopia})
            QTest::newRow(e.toString().toLatin1().constData()) << e.toString();
    }

    void everyWindowFitsInside() {
        QFETCH(QString, entrada);
        AppFrame frame{Settings(programa())};
        QVERIFY(abrirNaTela(frame));
        QAction* acao = frame.action(entrada);
        QVERIFY(acao);
        if (!acao->isEnabled())
            QSKIP("this build has no window for the entry");

        // A window shown modally is pictured and closed; a child stays in the frame.
        QSize modal;
        QTimer vigia;
        vigia.setInterval(20);
        connect(&vigia, &QTimer::timeout, this, [&] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible())
                return;
            vigia.stop();
            modal = w->frameGeometry().size();
            foto(*w, entrada);
            if (auto* d = qobject_cast<QDialog*>(w))
                d->reject();
            else
                w->close();
        });
        vigia.start();
        acao->trigger();
        QTest::qWait(100);
        const QSize area = frame.mdiArea()->viewport()->size();
        if (modal.isValid()) {
            QVERIFY2(modal.width() <= 1366 && modal.height() <= 768,
                     qPrintable(u"%1x%2"_s.arg(modal.width()).arg(modal.height())));
            return;
        }
        QMdiSubWindow* janela = frame.mdiArea()->activeSubWindow();
        if (!janela) // started nothing that stays (a report that found nothing to print)
            return;
        const QRect dentro(QPoint(0, 0), area);
        QVERIFY2(dentro.contains(janela->geometry()), qPrintable(u"%1 at %2,%3 %4x%5 in %6x%7"_s.arg(entrada)
                                                                     .arg(janela->x())
                                                                     .arg(janela->y())
                                                                     .arg(janela->width())
                                                                     .arg(janela->height())
                                                                     .arg(area.width())
                                                                     .arg(area.height())));
        QWidget* conteudo = janela->widget();
        const QSize precisa = conteudo->minimumSizeHint().expandedTo(conteudo->minimumSize());
        QVERIFY2(conteudo->width() >= precisa.width() && conteudo->height() >= precisa.height(),
                 qPrintable(u"%1 needs %2x%3, has %4x%5"_s.arg(entrada)
                                .arg(precisa.width())
                                .arg(precisa.height())
                                .arg(conteudo->width())
                                .arg(conteudo->height())));
        foto(frame, entrada);
        frame.mdiArea()->closeAllSubWindows();
    }

    void reportsFromTheMenu_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("filtro"); // the heading line the answers give
        QTest::newRow("clientes") << janelaMenu::RelClientes.toString()
                                  << u"Ordem: município    Situação: todos"_s;
        QTest::newRow("pedidos")
            << janelaMenu::RelPedidos.toString()
            << u"Data: 01/12/2026 a 08/12/2026    Situação: Pendente    Subtotais por cliente"_s;
        QTest::newRow("comissao") << janelaMenu::RelComissao.toString()
                                  << u"Data: a partir de 01/11/2026    Pedidos cancelados não entram"_s;
        QTest::newRow("pedidos consulta") << janelaMenu::RelPedidoConsulta.toString()
                                          << u"Data do pedido: todos    Situação: Faturado    Com os itens"_s;
        QTest::newRow("clientes inativos")
            << janelaMenu::RelClientesInativos.toString()
            << u"Clientes ativos sem pedido há 45 dias ou mais (desde 24/10/2026)"_s;
    }
    // Each report opens from the menu as its filter dialog; the answers given there are the report's
    // (a period that ends before it starts is refused first); "Ok" shows the preview with its pages,
    // and closing the preview ends the dialog.
    void reportsFromTheMenu() {
        QFETCH(QString, entrada);
        QFETCH(QString, filtro);
        AppFrame frame{Settings(programa())};
        escolherEmpresa();
        QVERIFY(frame.open());
        QAction* acao = frame.action(entrada);
        QVERIFY(acao && acao->isEnabled() && acao->isVisible());
        int paginas = -1;
        QString lido;
        bool respondido = false;
        QStringList avisos;
        bool ficouAberto = false;
        QString janela;
        // Nothing in here may return early: the dialog would stay open over the test.
        whenModal<DialogoRelatorio>([&](DialogoRelatorio* d) {
            janela = d->objectName();
            const auto escolher = [d](const char* nome, const QString& texto) {
                auto* c = child<QComboBox>(d, nome);
                c->setCurrentIndex(c->findText(texto));
            };
            if (entrada == janelaMenu::RelClientes) {
                escolher("ordem", u"Município"_s);
                escolher("situacao", u"Todos"_s);
            } else if (entrada == janelaMenu::RelPedidos) {
                child<QLineEdit>(d, "dataInicial")->setText(u"08/12/2026"_s);
                child<QLineEdit>(d, "dataFinal")->setText(u"01/12/2026"_s);
                MessageBox::clearShown();
                child<QPushButton>(d, "ok")->click();
                avisos = shownBoxes();
                ficouAberto = d->isVisible();
                child<QLineEdit>(d, "dataInicial")->setText(u"01/12/2026"_s);
                child<QLineEdit>(d, "dataFinal")->setText(u"08/12/2026"_s);
                escolher("situacao", u"Pendente"_s);
                escolher("subtotal", u"Por cliente"_s);
            } else if (entrada == janelaMenu::RelComissao) {
                child<QLineEdit>(d, "dataInicial")->setText(u"01/11/2026"_s);
            } else if (entrada == janelaMenu::RelPedidoConsulta) {
                escolher("situacao", u"Faturado"_s);
                child<QCheckBox>(d, "itens")->setChecked(true);
            } else {
                child<QSpinBox>(d, "dias")->setValue(45);
            }
            if (const auto fonte = d->montar())
                lido = fonte->filtros().value(0);
            whenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* previa) {
                if (auto* w = previa->findChild<QPrintPreviewWidget*>())
                    paginas = w->pageCount();
                foto(*previa, u"previa-"_s + entrada);
                previa->reject();
            });
            child<QPushButton>(d, "ok")->click();
            respondido = true;
        });
        acao->trigger();
        QTRY_VERIFY(respondido);
        QCOMPARE(janela, entrada);
        QCOMPARE(lido, filtro);
        if (entrada == janelaMenu::RelPedidos) {
            QCOMPARE(avisos, QStringList{u"Aviso: Período inicial maior que o período final!\nVerifique!"_s});
            QVERIFY(ficouAberto);
        }
        QVERIFY(paginas >= 1);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // The toolbar under the menu opens the order list, and the status line counts the released order
    // of the demo as waiting to be sent.
    void toolbarAndStatusLine() {
        AppFrame frame{Settings(programa())};
        QVERIFY(abrirNaTela(frame));
        auto* barra = child<QToolBar>(&frame, "barraAtalhos");
        QStringList textos;
        for (QAction* a : barra->actions())
            textos << a->text();
        QCOMPARE(textos, (QStringList{u"Pedidos (F5)"_s, u"Clientes (F6)"_s, u"Contas a Receber (F7)"_s,
                                      u"Comunicação (F8)"_s}));
        QCOMPARE(child<QLabel>(&frame, "zonaComunicacao")->text(),
                 u"Última comunicação: 08/12/2026 | 1 pedido a enviar"_s);
        QTest::keyClick(&frame, Qt::Key_F5);
        QTRY_VERIFY(frame.mdiArea()->activeSubWindow());
        QCOMPARE(frame.mdiArea()->activeSubWindow()->widget()->windowTitle(), u"Pedidos"_s);
        foto(frame, u"inicio"_s);
        frame.mdiArea()->closeAllSubWindows();
    }

    // When a run ends, the open order list and the status line show what it did: here the run's
    // thread (tables of its own) transmitted the released order 3 as 60006.
    void orderListAfterARun() {
        AppFrame frame{Settings(programa())};
        QVERIFY(abrirNaTela(frame));
        frame.action(janelaMenu::BrowsePEDIDO)->trigger();
        QTRY_VERIFY(frame.mdiArea()->activeSubWindow());
        auto* lista = frame.mdiArea()->activeSubWindow()->widget()->findChild<QTableView*>(u"lista"_s);
        QVERIFY(lista);
        const auto celula = [&](int coluna) { return lista->model()->index(2, coluna).data().toString(); };
        QCOMPARE(celula(0), u"00000003"_s);
        QCOMPARE(celula(2), u"L"_s);
        {
            Store run(m_raiz.filePath(u"demo"_s));
            Table pedidos(run, "pedidos");
            QVERIFY(pedidos.open());
            pedidos.clear();
            pedidos.rec().setInteger("ID", 3);
            QCOMPARE(pedidos.get("KEYID"), Status::Ok);
            pedidos.rec().setInteger("SITUA", 3);
            pedidos.rec().setInteger("NUM_ERP", 60006);
            QCOMPARE(pedidos.put(), Status::Ok);
        }
        DadosAlterados::avisar();
        QCOMPARE(celula(2), u"T"_s);
        QCOMPARE(celula(1), u"000060006"_s);
        QCOMPARE(child<QLabel>(&frame, "zonaComunicacao")->text(),
                 u"Última comunicação: 08/12/2026 | nenhum pedido a enviar"_s);
        QTest::qWait(50); // the status bar lays out its longer line
        foto(frame, u"pedidos-apos-comunicacao"_s);
        frame.mdiArea()->closeAllSubWindows();
    }

    // An order released in a dialog (the order form is one, not a window of the area) is counted as
    // waiting to be sent as soon as the dialog closes.
    void statusLineAfterADialogSaves() {
        AppFrame frame{Settings(programa())};
        QVERIFY(abrirNaTela(frame));
        auto* status = child<QLabel>(&frame, "zonaComunicacao");
        const QString antes = status->text();
        Store store(m_raiz.filePath(u"demo"_s));
        const long long aEnviar = pedidosAEnviar(store, 1);

        QDialog formulario(&frame);
        formulario.setModal(true);
        formulario.show();
        QVERIFY(QTest::qWaitForWindowActive(&formulario));
        {
            Table pedidos(store, "pedidos");
            QVERIFY(pedidos.open());
            pedidos.clear();
            pedidos.rec().setInteger("ID", 2);
            QCOMPARE(pedidos.get("KEYID"), Status::Ok);
            QVERIFY(pedidos.rec().integer("SITUA") != situacao::Liberado);
            pedidos.rec().setInteger("SITUA", situacao::Liberado);
            QCOMPARE(pedidos.put(), Status::Ok);
        }
        QCOMPARE(pedidosAEnviar(store, 1), aEnviar + 1);
        QCOMPARE(status->text(), antes);
        formulario.accept();
        QTRY_COMPARE(status->text(), statusComunicacaoText(Date::fromYmd(2026, 12, 8), aEnviar + 1));
    }
};

QAV_TEST_MAIN(TestGuiJanelasMenu)
#include "tst_gui_janelasmenu.moc"
