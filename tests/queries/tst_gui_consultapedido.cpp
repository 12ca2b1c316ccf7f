// The order-history query over real table files: a customer's orders newest first with the situation
// and billing-state texts, the warnings shown when a customer is chosen, the grouped headings, sorting
// the total by value, the items of the highlighted order in the history order form, and the print
// button that asks for the printer before the preview.
#include "queries/widgets/CabecalhoGrupos.h"
#include "queries/widgets/ConsultaPedido.h"
#include "queries/widgets/FichaPedidoHistorico.h"
#include "queries/widgets/ItensHistoricoModelo.h"
#include "queries/widgets/PedidosHistoricoModelo.h"
#include "tests/queries/ConsultasFixture.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"

#include <QAbstractItemModelTester>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;
using M = PedidosHistoricoModelo;

// Counts the print previews shown while it lives, closing each at once.
class VigiaPrevia : public QObject {
public:
    VigiaPrevia() { qApp->installEventFilter(this); }
    ~VigiaPrevia() override { qApp->removeEventFilter(this); }
    int previas = 0;
    int paginas = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (auto* p = qobject_cast<QPrintPreviewDialog*>(watched); p && event->type() == QEvent::Show) {
            ++previas;
            if (auto* vista = p->findChild<QPrintPreviewWidget*>())
                paginas = vista->pageCount();
            QMetaObject::invokeMethod(p, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }
};

class TestGuiConsultaPedido : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ConsultasFixture> m_f;

    ListContext contexto() const {
        return {m_f->pastaDados(), ConsultasFixture::kEmpresa, m_f->pastaPrograma()};
    }

    static QStringList coluna(const QTableView* lista, int c) {
        QStringList valores;
        for (int linha = 0; linha < lista->model()->rowCount(); ++linha)
            valores << lista->model()->index(linha, c).data().toString();
        return valores;
    }

private Q_SLOTS:
    void init() {
        m_f = std::make_unique<ConsultasFixture>();
        MessageBox::clearShown();
        m_f->pedido({10, 1001, 501, -60, 3, "", 4, "1500.00"});
        m_f->pedido({11, 1002, 501, -2, 2, "", 5, "9.50"});
        m_f->pedido({12, 1003, 501, -30, 1, "Aguardando estoque", 3, "10.00"});
        m_f->pedido({13, 1004, 501, -10, 4, "", 6, "250.00"});
        m_f->pedido({14, 1005, 502, -1, 2, "", 0, "77.00"});
        m_f->pedido({15, 1006, 501, -1, 2, "", 0, "88.00", 2}); // another company's
        m_f->produto(7001, "PAR-10", "Parafuso sextavado 10 mm", "0.125");
        m_f->item(11, 2, 7001, "Parafuso", "100.00", "0.8000", "10.00");
        m_f->item(11, 1, 7999, "Arruela lisa (fora de linha)", "50.00", "0.1000");
    }
    void cleanup() { m_f.reset(); }

    void historicoDoClienteMaisNovoPrimeiro_data() {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QStringList>("valores");
        QTest::newRow("Pedido") << int(M::Pedido) << QStringList{u"1002"_s, u"1004"_s, u"1003"_s, u"1001"_s};
        // The back office's description first, else the text of the situation code.
        QTest::newRow("Situação") << int(M::Situacao)
                                  << QStringList{u"Liberado"_s, u"Cancelado"_s, u"Aguardando estoque"_s,
                                                 u"Faturado"_s};
        // 5 is no billing state: blank.
        QTest::newRow("Sit") << int(M::Sit) << QStringList{QString(), u"CA"_s, u"FP"_s, u"FT"_s};
        QTest::newRow("Valor Total") << int(M::ValorTotal)
                                     << QStringList{u"9,50"_s, u"250,00"_s, u"10,00"_s, u"1.500,00"_s};
        QTest::newRow("Data") << int(M::Data)
                              << QStringList{u"06/12/2026"_s, u"28/11/2026"_s, u"08/11/2026"_s,
                                             u"09/10/2026"_s};
    }
    void historicoDoClienteMaisNovoPrimeiro() {
        QFETCH(int, coluna);
        QFETCH(QStringList, valores);
        ConsultaPedido janela(contexto());
        QAbstractItemModelTester tester(janela.lista()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        janela.setCliente(501);
        QCOMPARE(TestGuiConsultaPedido::coluna(janela.lista(), coluna), valores);
    }

    // The credit warning comes before the note; a customer with credit and no note shows neither.
    void avisosAoEscolherCliente() {
        ConsultaPedido janela(contexto());
        MessageBox::setNextAnswers({Button::Ok, Button::Ok});
        QLineEdit* cliente = child<QLineEdit>(&janela, "cliente");
        cliente->setText(u"502"_s);
        QTest::keyClick(cliente, Qt::Key_Return);
        QCOMPARE(shownBoxes(), (QStringList{u"Aviso: Crédito não liberado para o cliente!"_s,
                                            u"Alerta Anotação Cliente: Pagar só à vista"_s}));
        QCOMPARE(coluna(janela.lista(), M::Pedido), QStringList{u"1005"_s});
        MessageBox::clearShown();
        cliente->setText(u"501"_s);
        QTest::keyClick(cliente, Qt::Key_Return);
        QCOMPARE(shownBoxes(), QStringList());
        QCOMPARE(janela.lista()->model()->rowCount(), 4);
    }

    // "Número" over the four numbers and "Pedido" over the dates and the billing state; the total
    // sorts by value.
    void cabecalhosAgrupadosEOrdemPorValor() {
        ConsultaPedido janela(contexto());
        janela.resize(1100, 500);
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        janela.setCliente(501);
        auto* cabecalho = qobject_cast<CabecalhoGrupos*>(janela.lista()->horizontalHeader());
        QVERIFY(cabecalho);
        QStringList grupos;
        for (int c = 0; c < M::Colunas; ++c)
            grupos << cabecalho->tituloDoGrupo(c);
        QCOMPARE(grupos,
                 (QStringList{u"Número"_s, u"Número"_s, u"Número"_s, u"Número"_s, QString(), u"Pedido"_s,
                              u"Pedido"_s, u"Pedido"_s, u"Pedido"_s, QString(), QString(), QString()}));
        const int x =
            cabecalho->sectionViewportPosition(M::ValorTotal) + cabecalho->sectionSize(M::ValorTotal) / 2;
        QTest::mouseClick(cabecalho->viewport(), Qt::LeftButton, {}, QPoint(x, cabecalho->height() / 2));
        QCOMPARE(coluna(janela.lista(), M::ValorTotal),
                 (QStringList{u"9,50"_s, u"10,00"_s, u"250,00"_s, u"1.500,00"_s}));
        // The highlighted order is the one under the highlight, whatever the order shown.
        janela.lista()->setCurrentIndex(janela.lista()->model()->index(3, 0));
        QCOMPARE(janela.atual()->numero, 1001);
    }

    // "&Consultar" on the highlighted order shows its items in their order; the item whose product
    // is missing says so when highlighted.
    void consultarMostraItensDoPedido() {
        ConsultaPedido janela(contexto());
        janela.setCliente(501);
        QCOMPARE(janela.atual()->numero, 1002);
        QStringList produtos;
        QStringList descricoes;
        QStringList mensagens;
        QString titulo;
        whenModal<FichaPedidoHistorico>([&](FichaPedidoHistorico* f) {
            titulo = f->windowTitle();
            produtos = coluna(f->lista(), ItensHistoricoModelo::Produto);
            descricoes = coluna(f->lista(), ItensHistoricoModelo::Descricao);
            mensagens << f->mensagem();
            f->lista()->setCurrentIndex(f->itens()->index(1, 0));
            mensagens << f->mensagem();
            QCOMPARE(child<QLineEdit>(f, "situacao")->text(), u"Liberado"_s);
            QCOMPARE(child<QLineEdit>(f, "tipoVenda")->text(), u"Normal"_s);
            f->reject();
        });
        child<QPushButton>(&janela, "consultar")->click();
        QCOMPARE(titulo, u"Update the pedcon File"_s);
        QCOMPARE(produtos, (QStringList{u"7999"_s, u"7001"_s}));
        QCOMPARE(descricoes, (QStringList{u"Arruela lisa (fora de linha)"_s, u"Parafuso sextavado 10 mm"_s}));
        QCOMPARE(mensagens, (QStringList{u"Id # 7999 do produto não encontrado!"_s, QString()}));
    }

    // In the main frame, whose menu bar has "&Cadastros", Alt+C is the window's "&Consultar": the
    // history order opens, the menu does not, and nothing is typed into the field with the focus.
    void altCConsulta() {
        QMainWindow quadro;
        QMenu* cadastros = quadro.menuBar()->addMenu(u"&Cadastros"_s);
        cadastros->addAction(u"&Clientes"_s);
        int menusAbertos = 0;
        connect(cadastros, &QMenu::aboutToShow, this, [&] { ++menusAbertos; });
        auto* janela = new ConsultaPedido(contexto());
        quadro.setCentralWidget(janela);
        quadro.show();
        QVERIFY(QTest::qWaitForWindowExposed(&quadro));
        janela->setCliente(501);
        auto* cliente = janela->findChild<QLineEdit*>();
        QVERIFY(cliente);
        const QString antes = cliente->text();
        int consultas = 0;
        for (QWidget* foco :
             {static_cast<QWidget*>(child<QTableView>(janela, "lista")), static_cast<QWidget*>(cliente)}) {
            quadro.activateWindow();
            foco->setFocus();
            whenModal<FichaPedidoHistorico>([&](FichaPedidoHistorico* f) {
                ++consultas;
                f->reject();
            });
            QTest::keyClick(foco, Qt::Key_C, Qt::AltModifier);
            QTRY_COMPARE(consultas, foco == cliente ? 2 : 1);
        }
        QCOMPARE(menusAbertos, 0);
        QCOMPARE(cliente->text(), antes);
    }

    // The printer dialog comes first: cancelled, nothing is previewed; accepted, the order is previewed.
    void imprimirPassaPelaImpressora() {
        ConsultaPedido janela(contexto());
        janela.setCliente(501);
        janela.show();
        VigiaPrevia vigia;
        QString titulo;
        whenModal<QPrintDialog>([&](QPrintDialog* d) {
            titulo = d->windowTitle();
            d->reject();
        });
        child<QPushButton>(&janela, "imprimir")->click();
        QCOMPARE(titulo, u"Imprimir"_s);
        QCOMPARE(vigia.previas, 0);

        // Accepted, the order goes to the preview.
        whenModal<QPrintDialog>([&](QPrintDialog* d) { d->accept(); });
        child<QPushButton>(&janela, "imprimir")->click();
        QCOMPARE(vigia.previas, 1);
        QCOMPARE(vigia.paginas, 1);
    }
};

QAV_TEST_MAIN(TestGuiConsultaPedido)
#include "tst_gui_consultapedido.moc"
