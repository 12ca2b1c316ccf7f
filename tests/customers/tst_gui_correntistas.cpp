// The customer list "Correntistas" driven through its widgets on real table files.
#include "base/core/Session.h"
#include "customers/widgets/BrowseClientes.h"
#include "customers/widgets/UpdateClientes.h"
#include "tests/customers/FixtureClientes.h"
#include "tests/customers/ModalHelper.h"
#include "ui/widgets/WindowRegistry.h"

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

    template <typename T> static T* campo(QWidget* w, const char* nome) {
        T* f = w->findChild<T*>(QString::fromLatin1(nome));
        if (!f)
            qFatal("no child %s", nome);
        return f;
    }

    static QList<qint64> ids(BrowseClientes& b) {
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

    void colunasEAtivos() {
        BrowseClientes b(fx->contexto(), false);
        QCOMPARE(b.windowTitle(), u"Correntistas"_s);
        QCOMPARE(ids(b), (QList<qint64>{1500, 900001}));
        QCOMPARE(b.modelo().data(b.modelo().index(0, 0)).toString(), u"001500"_s);
        QCOMPARE(b.modelo().data(b.modelo().index(0, 2)).toString(), u"11.222.333/0001-81"_s);
        QCOMPARE(b.modelo().data(b.modelo().index(0, 3)).toString(), u"CAMPINAS"_s);
        QCOMPARE(b.modelo().data(b.modelo().index(0, 4)).toString(), u"SP"_s);
        QCOMPARE(b.modelo().headerData(1, Qt::Horizontal).toString(), u"Nome / Razão Social"_s);
    }

    void situacao() {
        BrowseClientes b(fx->contexto(), false);
        campo<QRadioButton>(&b, "todos")->click();
        QCOMPARE(ids(b), (QList<qint64>{1500, 900001, 900002}));
        campo<QRadioButton>(&b, "inativos")->click();
        QCOMPARE(ids(b), (QList<qint64>{900002}));
    }

    void ordemPorNomeELocalizador() {
        BrowseClientes b(fx->contexto(), false);
        campo<QRadioButton>(&b, "todos")->click();
        campo<QTabWidget>(&b, "abas")->setCurrentIndex(1);
        QCOMPARE(ids(b), (QList<qint64>{900001, 900002, 1500}));
        QTest::keyClicks(campo<QLineEdit>(&b, "localizaRazao"), u"ser"_s);
        QCOMPARE(b.idAtual(), 1500);
    }

    void localizadorDeDocumento() {
        BrowseClientes b(fx->contexto(), false);
        campo<QTabWidget>(&b, "abas")->setCurrentIndex(2);
        QLineEdit* e = campo<QLineEdit>(&b, "localizaDocumento");
        QTest::keyClicks(e, u"11222333000181"_s);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(e->text(), u"11.222.333/0001-81"_s);
        QCOMPARE(b.idAtual(), 1500);
    }

    void municipioMostraTodasAsSituacoes() {
        BrowseClientes b(fx->contexto(), false);
        campo<QTabWidget>(&b, "abas")->setCurrentIndex(4);
        QLineEdit* e = campo<QLineEdit>(&b, "municipio");
        QTest::keyClicks(e, u"10"_s);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(campo<QLabel>(&b, "municipioNome")->text(), u"CAMPINAS - SP"_s);
        QCOMPARE(ids(b).size(), 3); // by name, whatever their situation
    }

    void municipioDesconhecidoAbreALista() {
        BrowseClientes b(fx->contexto(), false);
        campo<QTabWidget>(&b, "abas")->setCurrentIndex(4);
        QString aberta;
        whenModal([&aberta](QWidget* modal) {
            aberta = modal->objectName();
            QTest::keyClick(modal->findChild<QTableView*>(u"lista"_s), Qt::Key_Return);
        });
        QLineEdit* e = campo<QLineEdit>(&b, "municipio");
        QTest::keyClicks(e, u"99"_s);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(aberta, u"BrowseMunic"_s);
        QCOMPARE(e->text(), u"10"_s);
        QCOMPARE(campo<QLabel>(&b, "municipioNome")->text(), u"CAMPINAS - SP"_s);
        QCOMPARE(ids(b).size(), 3);
    }

    void clienteDoServidorSomenteLeitura() {
        BrowseClientes b(fx->contexto(), false);
        b.posicionar(1500);
        campo<QPushButton>(&b, "editar")->click();
        campo<QPushButton>(&b, "excluir")->click();
        QCOMPARE(FixtureClientes::mensagens(),
                 (QStringList{u"Aviso: Sem permissão para editar cliente!"_s,
                              u"Aviso: Impossivel excluir cliente selecionado!"_s}));
        QVERIFY(fx->lerCliente(1500));
    }

    void clienteLocalEditavelEExcluivel() {
        BrowseClientes b(fx->contexto(), false);
        b.posicionar(900001);
        FixtureClientes::quandoAbrir<UpdateClientes>([](UpdateClientes* f) {
            QCOMPARE(f->windowTitle(), u"Edita"_s);
            QCOMPARE(f->idAtual(), 900001);
            f->reject();
        });
        campo<QPushButton>(&b, "editar")->click();
        QVERIFY(FixtureClientes::mensagens().isEmpty());
        campo<QPushButton>(&b, "excluir")->click(); // warning 32 answered OK
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown()[0].caption, u"Confirma Excluir"_s);
        QVERIFY(!fx->lerCliente(900001));
        QCOMPARE(ids(b), (QList<qint64>{1500}));
    }

    void excluirComPedidosRecusado() {
        fx->adicionar("pedidos.tps", [](Record& r) {
            r.setInteger("ID", 1);
            r.setInteger("CLIEN", 900001);
        });
        BrowseClientes b(fx->contexto(), false);
        b.posicionar(900001);
        campo<QPushButton>(&b, "excluir")->click();
        QCOMPARE(MessageBox::shown().size(), 2);
        QCOMPARE(MessageBox::shown()[1].caption, u"Erro de integridade referencial"_s);
        QVERIFY(fx->lerCliente(900001));
    }

    void novoRecusadoPeloBloqueio() {
        fx->bloqueios(8 | 1);
        BrowseClientes b(fx->contexto(), false);
        campo<QPushButton>(&b, "novo")->click();
        QCOMPARE(FixtureClientes::mensagens(),
                 QStringList{u"Aviso: Sem permissão para cadastrar novo cliente!"_s});
        QCOMPARE(fx->contar("clientes.tps"), 3);
    }

    void novoPelaListaECancelado() {
        BrowseClientes b(fx->contexto(), false);
        FixtureClientes::quandoAbrir<UpdateClientes>([this](UpdateClientes* f) {
            QCOMPARE(f->idAtual(), 900003);
            QCOMPARE(fx->contar("clientes.tps"), 4);
            f->reject();
        });
        campo<QPushButton>(&b, "novo")->click();
        QCOMPARE(fx->contar("clientes.tps"), 3);
    }

    void selecaoDevolveOCliente() {
        FixtureClientes::quandoAbrir<QDialog>([](QDialog* d) {
            auto* lista = d->findChild<BrowseClientes*>();
            QVERIFY(lista);
            QVERIFY(lista->findChild<QPushButton*>(u"selecionar"_s)->isVisible());
            lista->posicionar(900001);
            lista->findChild<QPushButton*>(u"selecionar"_s)->click();
        });
        QCOMPARE(selecionarCliente(fx->contexto()), std::optional<std::int64_t>(900001));
        FixtureClientes::quandoAbrir<QDialog>(
            [](QDialog* d) { d->findChild<QPushButton*>(u"fechar"_s)->click(); });
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
        auto* lista = qobject_cast<BrowseClientes*>(area.subWindowList()[0]->widget());
        QVERIFY(lista);
        QCOMPARE(ids(*lista), (QList<qint64>{1500, 900001})); // the session's folder
        QVERIFY(MessageBox::shown().isEmpty());
        area.closeAllSubWindows();
    }
};

QTEST_MAIN(TestGuiCorrentistas)
#include "tst_gui_correntistas.moc"
