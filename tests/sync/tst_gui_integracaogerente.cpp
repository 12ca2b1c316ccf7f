// The "Integração Gerente" window driven through its widgets: the settings read from qav.cfg when it
// opens and written back when it closes, and an update against the test server that runs on a thread
// of its own, shows its log and closes the window at its end.
#include "base/core/Session.h"
#include "base/core/Settings.h"
#include "store/core/Clock.h"
#include "sync/widgets/IntegracaoGerente.h"
#include "tests/support/ProxyFalho.h"
#include "tests/support/ServidorTeste.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "tests/sync/GerenteFixture.h"
#include "ui/widgets/MessageBox.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiIntegracaoGerente : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        Clock::setOverride([] { return DateTimeParts{Date::fromYmd(2026, 12, 8), 10, 0, 0}; });
        if (!ServidorTeste::configured())
            QFAIL(qPrintable(ServidorTeste::missingConfiguration()));
    }
    void cleanupTestCase() { Clock::setOverride({}); }

    void atualizaEFecha() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        TempDataFolder dados, tps;
        QTemporaryDir programa;
        prepararHub(dados.store());
        setIdEmpAtiva(1);
        BdGerente g = configuracao(s, QString());
        QVERIFY(Settings(programa.path()).setBdGerente(g));

        IntegracaoGerente janela(dados.path(), programa.path());
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        QCOMPARE(child<QLineEdit>(&janela, "host")->text(), g.host);
        QCOMPARE(child<QLineEdit>(&janela, "porta")->text(), g.porta);
        QCOMPARE(child<QLineEdit>(&janela, "senha")->echoMode(), QLineEdit::Password);
        QCOMPARE(child<QLineEdit>(&janela, "empresa")->text(), u"1"_s);
        // A folder typed now is used by this update and kept for the next.
        child<QLineEdit>(&janela, "pastaTps")->setText(tps.path());

        MessageBox::clearShown();
        MessageBox::setNextAnswers({Button::Ok});
        QTest::mouseClick(child<QPushButton>(&janela, "atualizar"), Qt::LeftButton);
        QCOMPARE(child<QTabWidget>(&janela, "abas")->currentWidget()->objectName(), u"abaLog"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!janela.isVisible(), 60000);
        QCOMPARE(janela.result(), int(QDialog::Accepted));
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Fim de atualização!"_s});

        QStringList log;
        const auto* arvore = child<QTreeWidget>(&janela, "log");
        for (int i = 0; i < arvore->topLevelItemCount(); ++i)
            log << arvore->topLevelItem(i)->text(1);
        QVERIFY2(log.contains(u"Importados 1 Pedidos..."_s), qPrintable(log.join(u'\n')));
        QCOMPARE(s.valor(u"SELECT num_ped_qav FROM gerente.pedidos WHERE numero=105"_s), u"QAV#41"_s);
        QCOMPARE(contar(dados.store(), "pedidos"), 2);
        QCOMPARE(contar(tps.store(), "produto"), 3);
        QCOMPARE(Settings(programa.path()).bdGerente().pastaTps, tps.path());
    }

    // "Interromper" on an update whose server stopped answering in the middle of the products: after
    // the confirmation the update ends within seconds, says so once in its log and in no box, the
    // window stays open, and the next update completes.
    void interromperEncerraAtualizacaoParada() {
        QAV_SERVIDOR_TESTE(s, ServidorTeste::Esquema::Gerente);
        ProxyFalho proxy(s.host(), s.port());
        TempDataFolder dados, tps;
        QTemporaryDir programa;
        prepararHub(dados.store());
        setIdEmpAtiva(1);
        BdGerente g = configuracao(s, tps.path());
        g.porta = QString::number(proxy.porta());
        QVERIFY(Settings(programa.path()).setBdGerente(g));
        proxy.pararQuando("INSERT INTO gestao.produto(", ProxyFalho::Momento::AntesDoComando);

        IntegracaoGerente janela(dados.path(), programa.path());
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        auto* interromper = child<QPushButton>(&janela, "interromper");
        QVERIFY(!interromper->isEnabled());
        MessageBox::clearShown();
        QTest::mouseClick(child<QPushButton>(&janela, "atualizar"), Qt::LeftButton);
        QVERIFY(interromper->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(proxy.parou(), 30000);
        QTest::qWait(300);
        QElapsedTimer relogio;
        relogio.start();
        MessageBox::setNextAnswers({Button::Yes});
        QTest::mouseClick(interromper, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!janela.emAtualizacao(), 20000);
        QVERIFY2(relogio.elapsed() < 5000,
                 qPrintable(u"the update took %1 ms to stop"_s.arg(relogio.elapsed())));
        QVERIFY(janela.isVisible());
        QCOMPARE(shownBoxes(), QStringList{u"Confirma: Interromper a atualização?"_s});
        QStringList log;
        const auto* arvore = child<QTreeWidget>(&janela, "log");
        for (int i = 0; i < arvore->topLevelItemCount(); ++i)
            log << arvore->topLevelItem(i)->text(1);
        QCOMPARE(log.count(u"Atualização interrompida pelo usuário..."_s), 1);
        QVERIFY(!interromper->isEnabled());

        // The link answers again: the next update goes to its end.
        child<QLineEdit>(&janela, "porta")->setText(QString::number(s.port()));
        MessageBox::setNextAnswers({Button::Ok});
        QTest::mouseClick(child<QPushButton>(&janela, "atualizar"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!janela.isVisible(), 60000);
        QCOMPARE(janela.result(), int(QDialog::Accepted));
        QCOMPARE(contar(tps.store(), "produto"), 3);
    }
};

QAV_TEST_MAIN(TestGuiIntegracaoGerente)
#include "tst_gui_integracaogerente.moc"
