// The "Comunicação" window driven through its widgets on real table files: the locked settings, the
// defaults, the save, the transfer of orders, and runs that stop before or at the connection, with
// the run on a thread of its own.
#include "base/core/Session.h"
#include "orders/widgets/FichaPedido.h"
#include "store/core/Table.h"
#include "sync/core/execucao/ConfiguracaoComunicacao.h"
#include "sync/widgets/Comunicacao.h"
#include "sync/widgets/SyncWindows.h"
#include "tests/support/ProxyFalho.h"
#include "tests/support/QtTestTexts.h"
#include "tests/support/Registros.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <arpa/inet.h>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

// A port of this machine on which nothing listens: bound and let go again.
int portaLivre() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    endereco.sin_port = 0;
    socklen_t tamanho = sizeof endereco;
    if (::bind(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0)
        qFatal("no free port");
    ::close(s);
    return ntohs(endereco.sin_port);
}

} // namespace

class TestGuiComunicacao : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataFolder> dados;

    // A company's settings that pass every check before connecting.
    void configuracao(int idEmpresa, const std::function<void(Record&)>& ajustar = {}) {
        adicionar(dados->store(), "qavcfg", [&](Record& r) {
            r.setInteger("ID_EMPRESA", idEmpresa);
            r.setText("BD_NOME", u"vendas"_s);
            r.setText("BD_HOST", u"127.0.0.1"_s);
            r.setInteger("COD_VENDEDOR", 12);
            r.setText("SENHA_VENDEDOR", u"abc123"_s);
            if (ajustar)
                ajustar(r);
        });
    }

    void pedido(int id, int idEmpresa, int situa) {
        adicionar(dados->store(), "pedidos", [&](Record& r) {
            r.setInteger("ID", id);
            r.setInteger("NUMER", id);
            r.setInteger("ID_EMPRESA", idEmpresa);
            r.setInteger("SITUA", situa);
        });
    }

    QPair<int, int> lerPedido(int id) {
        Table t(dados->store(), "pedidos");
        if (!t.open())
            return {-1, -1};
        t.clear();
        t.rec().setInteger("ID", id);
        if (t.get("KEYID") != Status::Ok)
            return {-1, -1};
        return {static_cast<int>(t.rec().integer("ID_EMPRESA")), static_cast<int>(t.rec().integer("SITUA"))};
    }

    std::unique_ptr<Comunicacao> abrir() {
        auto janela = std::make_unique<Comunicacao>(dados->path());
        janela->show();
        if (!QTest::qWaitForWindowExposed(janela.get()))
            qFatal("window not exposed");
        return janela;
    }

    static void digitar(QLineEdit* e, const QString& texto) {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, texto);
        QTest::keyClick(e, Qt::Key_Return);
    }

    static bool abaHabilitada(Comunicacao* j, const char* nome) {
        auto* abas = child<QTabWidget>(j, "abas");
        return abas->isTabEnabled(abas->indexOf(child<QWidget>(j, nome)));
    }

    static QStringList linhasLog(Comunicacao* j) {
        QStringList linhas;
        auto* log = child<QTreeWidget>(j, "log");
        for (int i = 0; i < log->topLevelItemCount(); ++i)
            linhas << log->topLevelItem(i)->text(1);
        return linhas;
    }

private Q_SLOTS:
    void init() {
        dados = std::make_unique<TempDataFolder>();
        setIdEmpAtiva(1);
        MessageBox::setNextAnswers({});
        MessageBox::clearShown();
    }

    void settingsTabsLockedUntilCtrlK() {
        configuracao(1);
        auto j = abrir();
        QVERIFY(!abaHabilitada(j.get(), "abaConfiguracao"));
        QVERIFY(!abaHabilitada(j.get(), "abaAvancada"));
        auto* supervisor = child<QCheckBox>(j.get(), "SUPERVISOR");
        QVERIFY(supervisor->isHidden());
        QTest::keyClick(j.get(), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(abaHabilitada(j.get(), "abaConfiguracao"));
        QVERIFY(abaHabilitada(j.get(), "abaAvancada"));
        QVERIFY(supervisor->isHidden());
        QTest::keyClick(j.get(), Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!supervisor->isHidden());
        QCOMPARE(child<QLineEdit>(j.get(), "BD_SENHA")->echoMode(), QLineEdit::Password);
        QCOMPARE(child<QLineEdit>(j.get(), "SENHA_VENDEDOR")->echoMode(), QLineEdit::Password);
    }

    // A configuration never filled in opens with the installation's defaults; a lock that only a
    // full run lifts opens on "Total".
    void openingDefaultsAndChoice_data() {
        QTest::addColumn<int>("bloqueado");
        QTest::addColumn<QString>("tpCom");
        QTest::addColumn<QString>("escolha");
        QTest::newRow("free") << 0 << u"C"_s << u"tipoParcial"_s;
        QTest::newRow("locked, any run counts") << 1 << u"P"_s << u"tipoParcial"_s;
        QTest::newRow("locked, only a full run counts") << 1 << u"C"_s << u"tipoTotal"_s;
    }
    void openingDefaultsAndChoice() {
        QFETCH(int, bloqueado);
        QFETCH(QString, tpCom);
        QFETCH(QString, escolha);
        adicionar(dados->store(), "qavcfg", [&](Record& r) {
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("SISTEMA_BLOQUEADO", bloqueado);
            r.setText("TP_COM", tpCom);
        });
        auto j = abrir();
        QCOMPARE(child<QLineEdit>(j.get(), "ID_EMPRESA")->text(), u"1"_s);
        QCOMPARE(child<QLineEdit>(j.get(), "BD_PORTA")->text(), u"5432"_s);
        QCOMPARE(child<QLineEdit>(j.get(), "BD_USUARIO")->text(), u"qavplus"_s);
        QCOMPARE(child<QLineEdit>(j.get(), "BD_SENHA")->text().size(), 12);
        QCOMPARE(child<QLineEdit>(j.get(), "PONTO_INSTALACAO")->text(), u"A"_s);
        QCOMPARE(child<QLineEdit>(j.get(), "DIAS_HISTORICO")->text(), u"360"_s);
        QVERIFY(child<QRadioButton>(j.get(), qPrintable(escolha))->isChecked());
    }

    // "&Grava" writes what the window edits over the stored record; what the server sent stays.
    void saveKeepsTheFieldsTheWindowDoesNotEdit() {
        setIdEmpAtiva(9);
        configuracao(2, [](Record& r) {
            r.setDate("DT_ULT_COM", Date(45000));
            r.setInteger("MODELO_PEDIDO", 3);
            r.setInteger("SISTEMA_BLOQUEADO", 1);
        });
        auto j = abrir(); // company 9 has none: the first of the file, company 2
        QTest::keyClick(j.get(), Qt::Key_K, Qt::ControlModifier);
        digitar(child<QLineEdit>(j.get(), "BD_NOME"), u"matriz"_s);
        digitar(child<QLineEdit>(j.get(), "ID_EMPMATRIZ"), u"1"_s);
        child<QComboBox>(j.get(), "QAV_HUB")->setCurrentIndex(1);
        child<QCheckBox>(j.get(), "ATIVA_LEIT_COD_BARRAS")->setChecked(true);
        MessageBox::setNextAnswers({Button::Ok});
        child<QPushButton>(j.get(), "gravaAvancada")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Configurações gravadas com sucesso!"_s});
        const std::optional<Record> r = sync::lerConfiguracao(dados->store(), 2);
        QVERIFY(r);
        QCOMPARE(r->text("BD_NOME"), u"matriz"_s);
        QCOMPARE(r->integer("ID_EMPMATRIZ"), 1);
        QCOMPARE(r->integer("QAV_HUB"), 1);
        QCOMPARE(r->integer("ATIVA_LEIT_COD_BARRAS"), 1);
        QCOMPARE(r->integer("BD_PORTA"), 5432);
        QCOMPARE(r->date("DT_ULT_COM"), Date(45000));
        QCOMPARE(r->integer("MODELO_PEDIDO"), 3);
        QCOMPARE(r->integer("SISTEMA_BLOQUEADO"), 1);
        QCOMPARE(idEmpAtiva(), 2);
    }

    void saveRefusesCompanyZero() {
        configuracao(1);
        auto j = abrir();
        QTest::keyClick(j.get(), Qt::Key_K, Qt::ControlModifier);
        auto* empresa = child<QLineEdit>(j.get(), "ID_EMPRESA");
        digitar(empresa, u"0"_s);
        MessageBox::setNextAnswers({Button::Ok});
        child<QPushButton>(j.get(), "grava")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Empresa inválida!"_s});
        QCOMPARE(j->focusWidget(), empresa);
        QVERIFY(!sync::lerConfiguracao(dados->store(), 0));
        QCOMPARE(idEmpAtiva(), 1);
    }

    // A company id typed in "Empresa" brings that company's settings, or empty ones with the
    // defaults for a company without any.
    void companyIdReloads() {
        configuracao(1);
        configuracao(2, [](Record& r) { r.setText("BD_HOST", u"servidor2"_s); });
        auto j = abrir();
        QTest::keyClick(j.get(), Qt::Key_K, Qt::ControlModifier);
        auto* empresa = child<QLineEdit>(j.get(), "ID_EMPRESA");
        auto* host = child<QLineEdit>(j.get(), "BD_HOST");
        QCOMPARE(host->text(), u"127.0.0.1"_s);
        digitar(empresa, u"2"_s);
        QCOMPARE(host->text(), u"servidor2"_s);
        QCOMPARE(j->registro().integer("ID_EMPRESA"), 2);
        digitar(empresa, u"3"_s);
        QCOMPARE(host->text(), QString());
        QCOMPARE(child<QLineEdit>(j.get(), "BD_PORTA")->text(), u"5432"_s);
        QCOMPARE(child<QLineEdit>(j.get(), "COD_VENDEDOR")->text(), QString());
    }

    void transferOfOrdersToTheHeadOffice() {
        configuracao(2);
        setIdEmpAtiva(2);
        pedido(1, 2, 1);
        pedido(2, 2, 2);
        pedido(3, 5, 2);
        auto j = abrir();
        QTest::keyClick(j.get(), Qt::Key_K, Qt::ControlModifier);
        auto* transferir = child<QPushButton>(j.get(), "transferirPedidos");
        // No head office typed: the focus goes there, nothing else.
        transferir->click();
        QVERIFY(shownBoxes().isEmpty());
        QCOMPARE(j->focusWidget(), child<QLineEdit>(j.get(), "ID_EMPMATRIZ"));
        // The company itself is no head office to move to.
        digitar(child<QLineEdit>(j.get(), "ID_EMPMATRIZ"), u"2"_s);
        j->findChild<QLineEdit*>(u"BD_NOME"_s)->setFocus();
        transferir->click();
        QVERIFY(shownBoxes().isEmpty());
        QCOMPARE(j->focusWidget(), child<QLineEdit>(j.get(), "ID_EMPMATRIZ"));
        QCOMPARE(lerPedido(2), qMakePair(2, 2));
        digitar(child<QLineEdit>(j.get(), "ID_EMPMATRIZ"), u"1"_s);
        MessageBox::setNextAnswers({Button::No});
        transferir->click();
        QCOMPARE(lerPedido(2), qMakePair(2, 2));
        MessageBox::clearShown();
        MessageBox::setNextAnswers({Button::Yes, Button::Ok});
        transferir->click();
        QCOMPARE(shownBoxes(),
                 (QStringList{u"Confirme: Confirma transferir pedidos da empresa 2 para empresa 1?"_s,
                              u"Aviso: Fim do processamento!"_s}));
        QCOMPARE(lerPedido(1), qMakePair(1, 1));
        QCOMPARE(lerPedido(2), qMakePair(1, 1));
        QCOMPARE(lerPedido(3), qMakePair(5, 2));
    }

    void refusedWhileAnOrderFormIsOpen() {
        configuracao(1);
        QTemporaryDir programa;
        auto j = abrir();
        {
            FichaPedido formulario(ListContext{dados->path(), 1, programa.path()}, Requisicao::Inserir);
            MessageBox::setNextAnswers({Button::Ok});
            child<QPushButton>(j.get(), "comunicar")->click();
            QTRY_VERIFY(!j->emComunicacao());
        }
        QCOMPARE(shownBoxes(),
                 QStringList{u"Aviso: Cadastro de pedidos está aberto!\nImpossível fazer comunicação!"_s});
        QVERIFY(j->isVisible());
        QVERIFY(child<QPushButton>(j.get(), "comunicar")->isEnabled());
    }

    // A missing setting stops the run before connecting; the settings tab opens on its entry.
    void missingSettingPointsAtItsEntry_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("database") << u"BD_NOME"_s << u"Sem nome do BD!"_s;
        QTest::newRow("host") << u"BD_HOST"_s << u"Sem Host do BD!"_s;
        QTest::newRow("salesperson") << u"COD_VENDEDOR"_s << u"Código vendedor/representante inválido!"_s;
    }
    void missingSettingPointsAtItsEntry() {
        QFETCH(QString, campo);
        QFETCH(QString, mensagem);
        configuracao(1, [&](Record& r) {
            if (campo == u"COD_VENDEDOR"_s)
                r.setInteger("COD_VENDEDOR", 0);
            else
                r.setText(campo.toStdString(), QString());
        });
        auto j = abrir();
        MessageBox::setNextAnswers({Button::Yes, Button::Ok});
        child<QPushButton>(j.get(), "comunicar")->click();
        QTRY_VERIFY(!j->emComunicacao());
        QCOMPARE(shownBoxes(), (QStringList{u"Confirma: Confirma comunicação?"_s, u"Aviso: "_s + mensagem}));
        QCOMPARE(linhasLog(j.get()), QStringList{u"Conectando Servidor..."_s});
        QVERIFY(j->isVisible());
        auto* abas = child<QTabWidget>(j.get(), "abas");
        QCOMPARE(abas->currentWidget(), child<QWidget>(j.get(), "abaConfiguracao"));
        QVERIFY(abaHabilitada(j.get(), "abaConfiguracao"));
        QVERIFY(!abaHabilitada(j.get(), "abaAvancada"));
        QCOMPARE(j->focusWidget(), child<QLineEdit>(j.get(), qPrintable(campo)));
    }

    // What the settings tab shows is what the run connects with, saved or not: the entry the
    // message pointed at is fixed there and the run started again.
    void typedSettingCountsForTheRun() {
        configuracao(1, [&](Record& r) {
            r.setText("BD_NOME", QString());
            r.setInteger("BD_PORTA", portaLivre());
        });
        auto j = abrir();
        MessageBox::setNextAnswers({Button::Yes, Button::Ok});
        child<QPushButton>(j.get(), "comunicar")->click();
        QTRY_VERIFY(!j->emComunicacao());
        digitar(child<QLineEdit>(j.get(), "BD_NOME"), u"vendas"_s);
        MessageBox::clearShown();
        MessageBox::setNextAnswers({Button::Yes, Button::Ok});
        child<QPushButton>(j.get(), "comunicar")->click();
        QTRY_VERIFY(!j->emComunicacao());
        const QStringList caixas = shownBoxes();
        QCOMPARE(caixas.size(), 2);
        QVERIFY2(caixas[1].startsWith(u"Erro: ERRO CONEXÃO BANCO DE DADOS."_s), qPrintable(caixas[1]));
        // Each run starts its own log.
        QCOMPARE(linhasLog(j.get()), QStringList{u"Conectando Servidor..."_s});
    }

    // Nothing answers at the server's address: the run says so and the window stays open with its
    // log. The run works on a thread of its own: the click returns while it still waits for its
    // first question, which only the window's event loop can answer.
    void serverThatDoesNotAnswer() {
        const int porta = portaLivre();
        configuracao(1, [&](Record& r) { r.setInteger("BD_PORTA", porta); });
        auto j = abrir();
        auto* comunicar = child<QPushButton>(j.get(), "comunicar");
        child<QRadioButton>(j.get(), "tipoTotal")->setChecked(true);
        MessageBox::setNextAnswers({Button::Yes, Button::Ok});
        comunicar->click();
        QVERIFY(j->emComunicacao());
        QVERIFY(!comunicar->isEnabled());
        QVERIFY(!child<QWidget>(j.get(), "tipo")->isEnabled());
        comunicar->click(); // a second run cannot start
        QTRY_VERIFY(!j->emComunicacao());
        const QStringList caixas = shownBoxes();
        QCOMPARE(caixas.size(), 2);
        QCOMPARE(caixas[0], u"Confirma: Confirma comunicação?"_s);
        QVERIFY2(caixas[1].startsWith(u"Erro: ERRO CONEXÃO BANCO DE DADOS.\n"_s), qPrintable(caixas[1]));
        QVERIFY(!caixas[1].contains(QLatin1Char('\t'))); // the server indents with a tab
        QCOMPARE(linhasLog(j.get()), QStringList{u"Conectando Servidor..."_s});
        auto* log = child<QTreeWidget>(j.get(), "log");
        QCOMPARE(log->currentItem(), log->topLevelItem(log->topLevelItemCount() - 1));
        QVERIFY(j->isVisible());
        QCOMPARE(j->result(), int(QDialog::Rejected));
        QVERIFY(comunicar->isEnabled());
        QVERIFY(child<QWidget>(j.get(), "tipo")->isEnabled());
        QVERIFY(!abaHabilitada(j.get(), "abaConfiguracao"));
        QVERIFY(child<QLineEdit>(j.get(), "progresso")->text().isEmpty());
    }

    // A whole run against a real server one of whose statements is slow: the window keeps painting
    // while the run waits for the server, the log shows each step, and the window closes at the end.
    void runRepaintsDuringASlowStatement() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        servidor.executar(u"ALTER TABLE gestao.qavtipoped RENAME TO qavtipoped_dados; "
                          "CREATE VIEW gestao.qavtipoped AS SELECT t.* FROM gestao.qavtipoped_dados t, "
                          "(SELECT pg_sleep(3)) AS espera; GRANT SELECT ON gestao.qavtipoped TO qavplus"_s);
        configuracao(1, [&](Record& r) {
            r.setText("BD_NOME", servidor.database());
            r.setText("BD_HOST", servidor.host());
            r.setInteger("BD_PORTA", servidor.port());
            r.setText("BD_USUARIO", servidor.passwordUser());
            r.setText("BD_SENHA", servidor.password());
            r.setInteger("COD_VENDEDOR", 5);
        });
        auto j = abrir();
        struct Pinturas : QObject {
            int n = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                n += e->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
        } pinturas;
        auto* log = child<QTreeWidget>(j.get(), "log");
        log->viewport()->installEventFilter(&pinturas);
        MessageBox::setNextAnswers({Button::Yes, Button::Ok});
        child<QPushButton>(j.get(), "comunicar")->click();
        QTRY_VERIFY_WITH_TIMEOUT(linhasLog(j.get()).contains(u"Atualizando Tipos de Pedido..."_s), 30000);
        // The server sleeps in the order-type statement: ask for paints and see them happen.
        const int antes = pinturas.n;
        QTimer pede;
        QObject::connect(&pede, &QTimer::timeout, log->viewport(), [log] { log->viewport()->update(); });
        pede.start(50);
        QTRY_VERIFY_WITH_TIMEOUT(pinturas.n >= antes + 5, 2500);
        QVERIFY2(!linhasLog(j.get()).contains(u"Atualizados 2 Tipos de Pedido..."_s),
                 "the statement was not slow");
        QVERIFY(j->emComunicacao());
        QTRY_VERIFY_WITH_TIMEOUT(!j->emComunicacao(), 30000);
        const QStringList linhas = linhasLog(j.get());
        QVERIFY2(linhas.contains(u"Atualizados 2 Tipos de Pedido..."_s) &&
                     linhas.last() == u"Comunicação Finalizada..."_s,
                 qPrintable(linhas.join(u'\n')));
        QCOMPARE(shownBoxes().last(), u"Aviso: Comunicação concluida com sucesso!"_s);
        QCOMPARE(j->result(), int(QDialog::Accepted));
        QCOMPARE(
            servidor.valor(u"SELECT count(*) FROM gestao.log WHERE descricao LIKE 'Sucesso - Parcial/%'"_s),
            u"1"_s);
    }

    // The menu entry and the company selection's button open the window modally over the bound
    // folder, on the active company.
    // The window's run sends the released orders: the order reaches the ERP and is transmitted here.
    void runSendsTheReleasedOrders() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        configuracao(1, [&](Record& r) {
            r.setText("BD_NOME", servidor.database());
            r.setText("BD_HOST", servidor.host());
            r.setInteger("BD_PORTA", servidor.port());
            r.setText("BD_USUARIO", servidor.passwordUser());
            r.setText("BD_SENHA", servidor.password());
            r.setInteger("COD_VENDEDOR", 5);
        });
        adicionar(dados->store(), "municip", [](Record& r) {
            r.setInteger("ID", 1);
            r.setText("ESTADO", u"SC"_s);
        });
        adicionar(dados->store(), "clientes", [](Record& r) {
            r.setInteger("ID", 1);
            r.setInteger("ID_MUNICIPIO", 1);
        });
        adicionar(dados->store(), "produto", [](Record& r) {
            r.setInteger("ID", 1004);
            r.setInteger("ID_EMPRESA", 1);
            r.setText("UNIDA", u"UN"_s);
        });
        adicionar(dados->store(), "pedidos", [](Record& r) {
            r.setInteger("ID", 1);
            r.setInteger("ID_EMPRESA", 1);
            r.setInteger("COD_VENDEDOR", 5);
            r.setInteger("NUMER", 41);
            r.setInteger("SITUA", 2);
            r.setInteger("CLIEN", 1);
        });
        adicionar(dados->store(), "peditens", [](Record& r) {
            r.setInteger("ID_VENDASI", 1);
            r.setInteger("ID_VENDA", 1);
            r.setInteger("PRODU", 1004);
            r.setDecimal("QTD", Decimal(2));
        });
        auto j = abrir();
        MessageBox::setNextAnswers({Button::Yes, Button::Ok});
        child<QPushButton>(j.get(), "comunicar")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!j->emComunicacao(), 30000);
        QVERIFY2(linhasLog(j.get()).contains(u"Transferindo Pedido # 41..."_s),
                 qPrintable(shownBoxes().join(u'\n')));
        QCOMPARE(servidor.valor(u"SELECT numero FROM zor.pedidos WHERE num_ped_qav='000005.A.00000041'"_s),
                 u"103"_s);
        QCOMPARE(lerPedido(1).second, 3);
    }

    void registeredForTheMenu() {
        configuracao(1);
        configuracao(4, [](Record& r) { r.setText("BD_HOST", u"quatro"_s); });
        setIdEmpAtiva(4);
        bindFolder({u"dados"_s, dados->path()});
        registerSyncWindows();
        QVERIFY(WindowRegistry::has(janelaMenu::Comunicacao));
        QWidget frame;
        frame.show();
        int empresa = 0;
        bool modal = false;
        whenModal<Comunicacao>([&](Comunicacao* janela) {
            empresa = static_cast<int>(janela->registro().integer("ID_EMPRESA"));
            modal = janela->isModal() && janela->parentWidget() == &frame;
            janela->reject();
        });
        WindowContext contexto;
        contexto.frame = &frame;
        QVERIFY(WindowRegistry::open(janelaMenu::Comunicacao, contexto));
        WindowRegistry::remove(janelaMenu::Comunicacao);
        QCOMPARE(empresa, 4);
        QVERIFY(modal);
    }

    // Closing during a run asks first; Yes lets the run stop and closes the window when it has.
    void closingDuringARunAsksFirst_data() {
        QTest::addColumn<bool>("interromper");
        QTest::newRow("stop") << true;
        QTest::newRow("go on") << false;
    }
    void closingDuringARunAsksFirst() {
        QFETCH(bool, interromper);
        configuracao(1, [&](Record& r) { r.setInteger("BD_PORTA", portaLivre()); });
        auto j = abrir();
        bool emCurso = false;
        // The run waits on its first question: the window is closed meanwhile.
        whenModal<QMessageBox>([&](QMessageBox* caixa) {
            emCurso = j->emComunicacao();
            MessageBox::setNextAnswers({interromper ? Button::Yes : Button::No, Button::Ok});
            j->reject(); // what Esc, "&Fechar" and the close box do
            for (QAbstractButton* b : caixa->buttons())
                if (b->property("qavButton").toInt() == int(Button::Yes))
                    b->click();
        });
        child<QPushButton>(j.get(), "comunicar")->click();
        QTRY_VERIFY(!j->emComunicacao());
        QVERIFY(emCurso);
        const QStringList caixas = shownBoxes();
        // A run the user stopped does not try to connect any more: only the log says it stopped.
        QCOMPARE(caixas.size(), interromper ? 2 : 3);
        QCOMPARE(caixas[0], u"Confirma: Interromper a comunicação?"_s);
        QCOMPARE(caixas[1], u"Confirma: Confirma comunicação?"_s);
        if (!interromper)
            QVERIFY(caixas[2].startsWith(u"Erro: ERRO CONEXÃO BANCO DE DADOS."_s));
        QCOMPARE(j->isVisible(), !interromper);
    }

    // A link that stops answering right after the login: "&Interromper" asks, then ends the run within
    // seconds (the wait limit is the default two minutes), and the window stays open with its log.
    void interruptButtonEndsAStalledRun() {
        QAV_SERVIDOR_TESTE(servidor, ServidorTeste::Esquema::Zor);
        ProxyFalho proxy(servidor.host(), servidor.port());
        proxy.pararQuando("SELECT schemaname", ProxyFalho::Momento::AntesDoComando);
        configuracao(1, [&](Record& r) {
            r.setText("BD_NOME", servidor.database());
            r.setText("BD_HOST", servidor.host());
            r.setInteger("BD_PORTA", proxy.porta());
            r.setText("BD_USUARIO", servidor.passwordUser());
            r.setText("BD_SENHA", servidor.password());
            r.setInteger("COD_VENDEDOR", 5);
        });
        auto j = abrir();
        auto* interromper = child<QPushButton>(j.get(), "interromper");
        QVERIFY(!interromper->isEnabled());
        MessageBox::setNextAnswers({Button::Yes});
        child<QPushButton>(j.get(), "comunicar")->click();
        QTRY_VERIFY_WITH_TIMEOUT(proxy.parou(), 20000);
        QVERIFY(j->emComunicacao());
        QVERIFY(interromper->isEnabled());
        MessageBox::setNextAnswers({Button::Yes});
        QElapsedTimer relogio;
        relogio.start();
        interromper->click();
        QTRY_VERIFY_WITH_TIMEOUT(!j->emComunicacao(), 5000);
        QVERIFY2(relogio.elapsed() < 5000, qPrintable(QString::number(relogio.elapsed())));
        QCOMPARE(shownBoxes(), (QStringList{u"Confirma: Confirma comunicação?"_s,
                                            u"Confirma: Interromper a comunicação?"_s}));
        // The stop is logged, and the run ends as every run that connected does.
        const QStringList log = linhasLog(j.get());
        QVERIFY2(log.contains(u"Comunicação interrompida pelo usuário..."_s), qPrintable(log.join(u'\n')));
        QCOMPARE(log.last(), u"Desconectando do Servidor..."_s);
        QVERIFY(j->isVisible());
        QVERIFY(!interromper->isEnabled());
        QVERIFY(child<QPushButton>(j.get(), "comunicar")->isEnabled());
    }
};

QAV_TEST_MAIN(TestGuiComunicacao)
#include "tst_gui_comunicacao.moc"
