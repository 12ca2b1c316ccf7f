// The receivables query over real table files: what each situation lists and its totals, the red
// due dates and days late at the day boundary, sorting a balance column by value, the customer
// entry, the situation and customer the menu and the order form pass, and the report's period check.
#include "base/core/Session.h"
#include "customers/widgets/JanelaClientes.h"
#include "queries/widgets/CelulaDestaque.h"
#include "queries/widgets/ConsultaContasReceber.h"
#include "queries/widgets/QueryWindows.h"
#include "queries/widgets/RelatorioContasReceber.h"
#include "queries/widgets/TitulosModelo.h"
#include "tests/queries/ConsultasFixture.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiConsultaCtr : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ConsultasFixture> m_f;

    ListContext contexto() const {
        return {m_f->pastaDados(), ConsultasFixture::kEmpresa, m_f->pastaPrograma()};
    }

    // The column as the list shows it, top to bottom.
    static QStringList coluna(const ConsultaContasReceber& janela, int c) {
        QStringList valores;
        const QAbstractItemModel* m = janela.lista()->model();
        for (int linha = 0; linha < m->rowCount(); ++linha)
            valores << m->index(linha, c).data().toString();
        return valores;
    }
    static QModelIndex celula(const ConsultaContasReceber& janela, const QString& numero, int c) {
        const QAbstractItemModel* m = janela.lista()->model();
        for (int linha = 0; linha < m->rowCount(); ++linha)
            if (m->index(linha, TitulosModelo::Numero).data().toString() == numero)
                return m->index(linha, c);
        return {};
    }

private Q_SLOTS:
    void init() {
        m_f = std::make_unique<ConsultasFixture>();
        MessageBox::clearShown();
        // Customer 501: titles due around today, paid late, paid early, with cents left over.
        m_f->titulo({"A-ONTEM", 501, -1, "0.50"});
        m_f->titulo({"B-ONTEM", 501, -1, "1.01"});
        m_f->titulo({"C-HOJE", 501, 0, "500.00"});
        m_f->titulo({"D-TARDE", 501, -40, "0.00", 3, true});
        m_f->titulo({"E-CEDO", 501, -20, "0.00", -2, true});
        m_f->titulo({"F-CENTAV", 501, -10, "0.05", 0, true});
        m_f->titulo({"G-DEZ", 501, 30, "10.00"});
        m_f->titulo({"H-NOVE", 501, 31, "9.50"});
        // Not this customer's, not this company's.
        m_f->titulo({"OUTRO", 502, -5, "70.00"});
        m_f->titulo({"EMP2", 501, -5, "80.00", 0, false, 2});
    }
    void cleanup() { m_f.reset(); }

    void situacaoFiltraPeloSaldo_data() {
        QTest::addColumn<QString>("botao");
        QTest::addColumn<QStringList>("numeros");
        QTest::addColumn<QString>("saldo");
        QTest::addColumn<QString>("valor");
        // In due-date order; a balance of 0,05 is neither paid nor open.
        QTest::newRow("Pagas") << u"pagas"_s << QStringList{u"D-TARDE"_s, u"E-CEDO"_s} << u"0,00"_s
                               << u"200,00"_s;
        QTest::newRow("Em Aberto") << u"emAberto"_s
                                   << QStringList{u"A-ONTEM"_s, u"B-ONTEM"_s, u"C-HOJE"_s, u"G-DEZ"_s,
                                                  u"H-NOVE"_s}
                                   << u"521,01"_s << u"500,00"_s;
        QTest::newRow("Todas") << u"todas"_s
                               << QStringList{u"D-TARDE"_s, u"E-CEDO"_s, u"F-CENTAV"_s, u"A-ONTEM"_s,
                                              u"B-ONTEM"_s, u"C-HOJE"_s, u"G-DEZ"_s,    u"H-NOVE"_s}
                               << u"521,06"_s << u"800,00"_s;
    }
    void situacaoFiltraPeloSaldo() {
        QFETCH(QString, botao);
        QFETCH(QStringList, numeros);
        QFETCH(QString, saldo);
        QFETCH(QString, valor);
        ConsultaContasReceber janela(contexto());
        QAbstractItemModelTester tester(janela.lista()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        janela.setDevedor(501);
        child<QRadioButton>(&janela, botao.toLatin1().constData())->click();
        QCOMPARE(coluna(janela, TitulosModelo::Numero), numeros);
        QCOMPARE(child<QLabel>(&janela, "totalSaldo")->text(), saldo);
        QCOMPARE(child<QLabel>(&janela, "totalValor")->text(), valor);
    }

    void vencidosEmVermelhoNoLimiteDoDia_data() {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<bool>("vencimentoVermelho");
        QTest::addColumn<QString>("dias");
        QTest::addColumn<bool>("diasVermelho");
        QTest::newRow("due yesterday, 0,50 owed") << u"A-ONTEM"_s << false << u"1"_s << true;
        QTest::newRow("due yesterday, 1,01 owed") << u"B-ONTEM"_s << true << u"1"_s << true;
        QTest::newRow("due today") << u"C-HOJE"_s << false << u"0"_s << false;
        QTest::newRow("received 3 days late") << u"D-TARDE"_s << false << u"3"_s << true;
        QTest::newRow("received 2 days early") << u"E-CEDO"_s << false << u"-2"_s << false;
        QTest::newRow("due next month") << u"G-DEZ"_s << false << u"-30"_s << false;
    }
    void vencidosEmVermelhoNoLimiteDoDia() {
        QFETCH(QString, numero);
        QFETCH(bool, vencimentoVermelho);
        QFETCH(QString, dias);
        QFETCH(bool, diasVermelho);
        ConsultaContasReceber janela(contexto());
        janela.setDevedor(501);
        janela.setSituacao(ctr::Situacao::Todas);
        const QModelIndex vencimento = celula(janela, numero, TitulosModelo::Vencimento);
        const QModelIndex nd = celula(janela, numero, TitulosModelo::Dias);
        QVERIFY(vencimento.isValid());
        QCOMPARE(nd.data().toString(), dias);
        const auto vermelho = [](const QModelIndex& i) {
            return i.data(Qt::ForegroundRole) == QVariant(QColor(Qt::red));
        };
        QCOMPARE(vermelho(vencimento), vencimentoVermelho);
        QCOMPARE(vermelho(nd), diasVermelho);

        // Highlighted, a red cell turns white on red; the others keep the list's own colours.
        auto* delegate = qobject_cast<CelulaDestaque*>(janela.lista()->itemDelegate());
        QVERIFY(delegate);
        QStyleOptionViewItem opcao;
        opcao.initFrom(janela.lista());
        const QColor realceNormal = opcao.palette.color(QPalette::Highlight);
        const QColor textoRealceNormal = opcao.palette.color(QPalette::HighlightedText);
        delegate->prepararOpcao(&opcao, vencimento);
        QCOMPARE(opcao.palette.color(QPalette::Highlight),
                 vencimentoVermelho ? QColor(Qt::red) : realceNormal);
        QCOMPARE(opcao.palette.color(QPalette::HighlightedText),
                 vencimentoVermelho ? QColor(Qt::white) : textoRealceNormal);
    }

    // Clicking the heading sorts by the balance's value: 9,50 comes before 10,00 (as text it would not).
    void ordenaSaldoPeloValor() {
        ConsultaContasReceber janela(contexto());
        janela.resize(1000, 500);
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        janela.setDevedor(501);
        janela.setSituacao(ctr::Situacao::EmAberto);
        QHeaderView* cabecalho = janela.lista()->horizontalHeader();
        const int x = cabecalho->sectionViewportPosition(TitulosModelo::Saldo) +
                      cabecalho->sectionSize(TitulosModelo::Saldo) / 2;
        QTest::mouseClick(cabecalho->viewport(), Qt::LeftButton, {}, QPoint(x, cabecalho->height() / 2));
        QCOMPARE(coluna(janela, TitulosModelo::Saldo),
                 (QStringList{u"0,50"_s, u"1,01"_s, u"9,50"_s, u"10,00"_s, u"500,00"_s}));
        QTest::mouseClick(cabecalho->viewport(), Qt::LeftButton, {}, QPoint(x, cabecalho->height() / 2));
        QCOMPARE(coluna(janela, TitulosModelo::Saldo),
                 (QStringList{u"500,00"_s, u"10,00"_s, u"9,50"_s, u"1,01"_s, u"0,50"_s}));
        // A new situation keeps the order chosen and the title under the highlight.
        janela.lista()->setCurrentIndex(janela.lista()->model()->index(2, 0));
        QCOMPARE(janela.lista()->currentIndex().data().toString(), u"H-NOVE"_s);
        child<QRadioButton>(&janela, "todas")->click();
        QCOMPARE(coluna(janela, TitulosModelo::Saldo).first(), u"500,00"_s);
        QCOMPARE(coluna(janela, TitulosModelo::Saldo).last(), u"0,00"_s);
        QCOMPARE(janela.lista()->currentIndex().data().toString(), u"H-NOVE"_s);
        // Not listed any more: the highlight goes to the first row.
        child<QRadioButton>(&janela, "pagas")->click();
        QCOMPARE(janela.lista()->currentIndex().row(), 0);
    }

    // The order form passes "2" and its customer and gets that customer's open titles over it,
    // modally; the menu passes "3" and "" and gets an empty list that asks for a debtor.
    void argumentosDoChamador() {
        bindFolder({u"dados"_s, m_f->pastaDados()});
        setIdEmpAtiva(ConsultasFixture::kEmpresa);
        registerQueryWindows();
        WindowContext formulario;
        formulario.programFolder = m_f->pastaPrograma();
        formulario.arguments = {u"2"_s, u"501"_s};
        QStringList numeros;
        std::optional<ctr::Situacao> situacao;
        whenModal<QDialog>([&](QDialog* d) {
            if (auto* janela = d->findChild<ConsultaContasReceber*>()) {
                numeros = coluna(*janela, TitulosModelo::Numero);
                situacao = janela->situacao();
            }
            child<QPushButton>(d, "fechar")->click();
        });
        QVERIFY(WindowRegistry::open(janelaMenu::ConsultaCTR, formulario));
        QCOMPARE(situacao, std::optional(ctr::Situacao::EmAberto));
        QCOMPARE(numeros, (QStringList{u"A-ONTEM"_s, u"B-ONTEM"_s, u"C-HOJE"_s, u"G-DEZ"_s, u"H-NOVE"_s}));

        // From the menu both queries become children of the frame's area.
        QMdiArea area;
        WindowContext menuContexto;
        menuContexto.mdiArea = &area;
        menuContexto.programFolder = m_f->pastaPrograma();
        menuContexto.arguments = {u"3"_s, QString()};
        QVERIFY(WindowRegistry::open(janelaMenu::ConsultaCTR, menuContexto));
        menuContexto.arguments.clear();
        QVERIFY(WindowRegistry::open(janelaMenu::ConsultaPedidos, menuContexto));
        QCOMPARE(area.subWindowList().size(), 2);
        auto* ctrFilha = qobject_cast<ConsultaContasReceber*>(area.subWindowList().at(0)->widget());
        QVERIFY(ctrFilha);
        QCOMPARE(ctrFilha->situacao(), ctr::Situacao::Todas);
        QCOMPARE(ctrFilha->devedor(), 0);
        QCOMPARE(area.subWindowList().at(1)->widget()->windowTitle(), u"Consulta Pedidos"_s);
        area.closeAllSubWindows();
        WindowRegistry::remove(janelaMenu::ConsultaCTR);
        WindowRegistry::remove(janelaMenu::ConsultaPedidos);

        ConsultaContasReceber menu(contexto());
        menu.aplicarArgumentos({u"3"_s, QString()});
        QCOMPARE(menu.situacao(), ctr::Situacao::Todas);
        QVERIFY(child<QRadioButton>(&menu, "todas")->isChecked());
        QCOMPARE(menu.devedor(), 0);
        QCOMPARE(menu.lista()->model()->rowCount(), 0);
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        child<QPushButton>(&menu, "relatorio")->setFocus();
        child<QLineEdit>(&menu, "devedor")->setFocus();
        QTRY_COMPARE(child<QLabel>(&menu, "mensagem")->text(), u"Selecione um Devedor!"_s);
        menu.setDevedor(501);
        QCOMPARE(child<QLabel>(&menu, "mensagem")->text(), QString());
    }

    // An unknown id (or none) opens the customer list; cancelling it leaves the customer shown as it
    // was.
    void devedorDesconhecidoAbreALista() {
        ConsultaContasReceber janela(contexto());
        janela.setDevedor(502);
        QCOMPARE(coluna(janela, TitulosModelo::Numero), QStringList{u"OUTRO"_s});
        QLineEdit* devedor = child<QLineEdit>(&janela, "devedor");
        devedor->setText(u"777"_s);
        whenModal<QDialog>([](QDialog* d) { d->reject(); });
        QTest::keyClick(devedor, Qt::Key_Return);
        QCOMPARE(janela.devedor(), 502);
        QCOMPARE(devedor->text(), u"502"_s);

        // An empty entry opens the list too.
        bool listaAberta = false;
        whenModal<QDialog>([&](QDialog* d) {
            listaAberta = true;
            d->reject();
        });
        devedor->clear();
        QTest::keyClick(devedor, Qt::Key_Return);
        QTRY_VERIFY(listaAberta);
        QCOMPARE(janela.devedor(), 502);

        devedor->setText(u"0"_s);
        whenModal<QDialog>([](QDialog* d) {
            auto* clientes = d->findChild<JanelaClientes*>();
            QVERIFY(clientes);
            clientes->posicionar(501);
            clientes->selecionar();
        });
        QTest::keyClick(devedor, Qt::Key_Return);
        QCOMPARE(janela.devedor(), 501);
        QCOMPARE(child<QLabel>(&janela, "nomeCliente")->text(), u"Casa das Ferragens Ltda"_s);
        QCOMPARE(coluna(janela, TitulosModelo::Numero).size(), 5);
    }

    // Titles that cannot be read leave nothing to show: the standard warning for "ctr", and the
    // window closes.
    void tabelaIlegivelFechaAJanela() {
        ConsultaContasReceber janela(contexto());
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        QFile ctr(QDir(m_f->pastaDados()).filePath(u"ctr.tps"_s));
        QVERIFY(ctr.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ctr.write(QByteArray(4096, 'x'));
        ctr.close();
        MessageBox::setNextAnswers({Button::Ok});
        janela.setDevedor(501);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().caption, u"Record Retrieval Error"_s);
        QVERIFY(MessageBox::shown().first().text.contains(u"ctr"_s));
        QTRY_VERIFY(!janela.isVisible());
    }

    // From the menu the report asks about every customer's open titles; left blank, the dates do not
    // limit it.
    void relatorioDoMenu() {
        bindFolder({u"dados"_s, m_f->pastaDados()});
        setIdEmpAtiva(ConsultasFixture::kEmpresa);
        registerQueryWindows();
        QStringList numeros;
        QString situacao;
        whenModal<RelatorioContasReceber>([&](RelatorioContasReceber* d) {
            situacao = child<QComboBox>(d, "situacao")->currentText();
            if (const auto r = d->montar())
                for (const ctr::Titulo& t : r->titulos)
                    numeros << t.numero;
            d->reject();
        });
        WindowContext menu;
        menu.programFolder = m_f->pastaPrograma();
        QVERIFY(WindowRegistry::open(janelaMenu::RelCTR, menu));
        for (QStringView nome : {janelaMenu::ConsultaCTR, janelaMenu::ConsultaPedidos, janelaMenu::RelCTR})
            WindowRegistry::remove(nome);
        QCOMPARE(situacao, u"Em Aberto"_s);
        QCOMPARE(numeros,
                 (QStringList{u"A-ONTEM"_s, u"B-ONTEM"_s, u"C-HOJE"_s, u"G-DEZ"_s, u"H-NOVE"_s, u"OUTRO"_s}));
    }

    // A period that ends before it starts is refused and nothing is printed.
    void relatorioRecusaPeriodoInvertido() {
        RelatorioContasReceber dialogo(contexto(), 501, ctr::Situacao::EmAberto);
        child<QLineEdit>(&dialogo, "dataInicial")->setText(u"10/12/2026"_s);
        child<QLineEdit>(&dialogo, "dataFinal")->setText(u"01/12/2026"_s);
        MessageBox::setNextAnswers({Button::Ok});
        QVERIFY(!dialogo.montar());
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Período Inicail maior que Período Final!\nVerifique!"_s});
        child<QLineEdit>(&dialogo, "dataInicial")->setText(u"01/12/2026"_s);
        child<QLineEdit>(&dialogo, "dataFinal")->setText(u"31/12/2026"_s);
        const auto relatorio = dialogo.montar();
        QVERIFY(relatorio);
        QCOMPARE(shownBoxes().size(), 1);
        // The open titles due in December, by due date; the others fall outside or are paid.
        QStringList numeros;
        for (const ctr::Titulo& t : relatorio->titulos)
            numeros << t.numero;
        QCOMPARE(numeros, (QStringList{u"A-ONTEM"_s, u"B-ONTEM"_s, u"C-HOJE"_s}));

        // An emptied customer means every customer; the list does not open for it.
        bool listaAberta = false;
        whenModal<QDialog>([&](QDialog* d) {
            listaAberta = true;
            d->reject();
        });
        QLineEdit* cliente = child<QLineEdit>(&dialogo, "cliente");
        cliente->clear();
        QTest::keyClick(cliente, Qt::Key_Return);
        const auto todos = dialogo.montar();
        QVERIFY(todos);
        QCOMPARE(todos->devedor, 0);
        QCOMPARE(todos->titulos.back().numero, u"OUTRO"_s);
        QVERIFY(!listaAberta);
        cliente->setText(u"0"_s);
        QTest::keyClick(cliente, Qt::Key_Return); // zero is no customer: the list opens
        QTRY_VERIFY(listaAberta);
    }
};

QAV_TEST_MAIN(TestGuiConsultaCtr)
#include "tst_gui_consultactr.moc"
