#include "app/widgets/ButtonCaptions.h"
#include "app/widgets/Startup.h"
#include "store/core/Connection.h"
#include "store/core/Table.h"
#include "tests/app/ShellFixture.h"
#include "tests/support/Programs.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

QString realQavbd() {
    return qav::test::programPath(QStringLiteral("qavbd"));
}

} // namespace

class TestGuiStartup : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Installation> inst;
    UpgradeRecorder recorder;

private Q_SLOTS:
    void init() {
        inst = std::make_unique<Installation>();
        recorder = {};
        setUpgradeRunner(recorder.runner());
        MessageBox::clearShown();
        MessageBox::setNextAnswers(QList<Button>(5, Button::Ok));
    }

    void cleanup() { setUpgradeRunner({}); }

    void missingDataFolderIsCreatedAndUpgraded() {
        QCOMPARE(prepareStart(inst->settings()), 0);
        QVERIFY(dataFolderExists(inst->programFolder(), u"dados"_s));
        // A new folder has no bd.ver: the upgrade tool runs on the main folder, without a folder argument.
        QCOMPARE(recorder.runs, QStringList{QString()});
        QCOMPARE(inst->settings().versaoBd(u"dados"_s), versaoBdRequerida);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void dataFolderThatCannotBeCreatedEndsWithExitCode1() {
        QFile blocker(inst->folder(u"dados"_s)); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(prepareStart(inst->settings()), 1);
        QCOMPARE(shownBoxes(), QStringList{u"Erro: Erro ao criar diretório de dados."_s});
        QVERIFY(recorder.runs.isEmpty()); // nothing else runs
    }

    void upgradeToolOnlyBelowTheRequiredVersion_data() {
        QTest::addColumn<int>("versao");
        QTest::addColumn<bool>("runs");
        QTest::newRow("bd.ver 185") << 185 << true;
        QTest::newRow("bd.ver 1") << 1 << true;
        QTest::newRow("bd.ver 186") << 186 << false;
        QTest::newRow("bd.ver 187") << 187 << false;
        QTest::newRow("bd.ver 188") << 188 << false;
    }

    void upgradeToolOnlyBelowTheRequiredVersion() {
        QFETCH(int, versao);
        QFETCH(bool, runs);
        inst->createFolder(u"dados"_s, versao);
        QCOMPARE(prepareStart(inst->settings()), 0);
        QCOMPARE(recorder.runs.size(), runs ? 1 : 0);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void bdVerWithoutTheSectionReadsZero() {
        inst->createFolder(u"dados"_s, 0);
        QFile bdVer(inst->folder(u"dados"_s) + u"/bd.ver"_s);
        QVERIFY(bdVer.open(QIODevice::WriteOnly));
        bdVer.write("[Outra]\nVersaoBD=186\n");
        bdVer.close();
        QCOMPARE(prepareStart(inst->settings()), 0);
        QCOMPARE(recorder.runs.size(), 1);
    }

    // A folder that could not be upgraded must not lock the user out: backup, restore and the
    // communication run are the ways to repair it.
    void upgradeToolThatCannotStartLetsTheProgramGoOn() {
        inst->createFolder(u"dados"_s, 185);
        recorder.failToStart = true;
        QCOMPARE(prepareStart(inst->settings()), 0);
        const QStringList texts = shownBoxes();
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts.at(0).startsWith(
            u"Erro: Não foi possível executar o programa de atualização do banco de dados (qavbd) para a pasta \"..\\dados\"."_s));
        QVERIFY(!texts.at(0).contains(u"encerrado"_s));
    }

    void missingUpgradeToolBesideTheProgramLetsTheProgramGoOn() {
        // The default runner looks for qavbd beside the running program; there is none beside the tests.
        setUpgradeRunner({});
        inst->createFolder(u"dados"_s, 185);
        QCOMPARE(prepareStart(inst->settings()), 0);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().at(0).text.contains(u"qavbd"_s));
        QCOMPARE(inst->settings().versaoBd(u"dados"_s), 185);
    }

    void failedUpgradeNamesTheTablesLeftBehind_data() {
        QTest::addColumn<bool>("crash");
        QTest::newRow("tool crashed") << true;
        QTest::newRow("tool ended without the version") << false;
    }

    void failedUpgradeNamesTheTablesLeftBehind() {
        QFETCH(bool, crash);
        inst->createFolder(u"dados"_s, 185);
        const QString dados = inst->folder(u"dados"_s);
        // Old customer and product tables; the others are current. (A file that cannot be read at all
        // is asked about before anything else: emptyTableFileIsToldAtStartUp.)
        for (const auto& [arquivo, tabela] :
             {std::pair{"clientes", "clientes"}, std::pair{"produto", "produto"}}) {
            const QString caminho = dados + u'/' + QString::fromLatin1(arquivo) + u".tps"_s;
            QVERIFY(QFile::remove(caminho));
            StoreError error;
            auto connection = Connection::open(caminho, true, &error);
            QVERIFY(connection);
            QVERIFY(
                connection->exec(std::string("CREATE TABLE ") + tabela + " (ID INTEGER, NOME TEXT)", &error));
        }
        setUpgradeRunner([crash, dados](const QString&, const QString&) {
            UpgradeRun run;
            if (crash) {
                run.outcome = UpgradeRun::Outcome::Crashed;
                run.errorText = u"Process crashed"_s;
            } else {
                // What the tool leaves when it refuses a value.
                QFile log(dados + u"/qavbd.log"_s);
                if (log.open(QIODevice::WriteOnly | QIODevice::Append))
                    log.write("2026-01-05 08:00:00  clientes.tps  ID=1  LIMCRED: valor \"x\" recusado\n");
                run.exitCode = 1;
            }
            return run;
        });
        QCOMPARE(prepareStart(inst->settings()), 0);
        QCOMPARE(MessageBox::shown().size(), 1);
        const QString text = MessageBox::shown().at(0).text;
        QCOMPARE(MessageBox::shown().at(0).caption, u"Erro"_s);
        QVERIFY2(text.contains(u"clientes.tps, produto.tps"_s), qPrintable(text));
        QVERIFY(!text.contains(u"pedidos.tps"_s));
        QVERIFY(!text.contains(u"encerrado"_s));
        QCOMPARE(text.contains(u"..\\dados\\qavbd.log"_s), !crash);
    }

    void realUpgradeToolBuildsTheMainFolder() {
        QVERIFY(QFile::exists(realQavbd()));
        setUpgradeRunner([](const QString& programFolder, const QString& pasta) {
            return runUpgradeTool(realQavbd(), programFolder, pasta);
        });
        QCOMPARE(prepareStart(inst->settings()), 0);
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(inst->settings().versaoBd(u"dados"_s), versaoBdRequerida);
        for (const TableDef& table : catalogue())
            QVERIFY2(QFile::exists(inst->folder(u"dados"_s) + u'/' + QString::fromLatin1(table.fileName)),
                     table.fileName);
        // Current now: a second start does not run it again.
        int runs = 0;
        setUpgradeRunner([&runs](const QString&, const QString&) {
            ++runs;
            return UpgradeRun{};
        });
        QCOMPARE(prepareStart(inst->settings()), 0);
        QCOMPARE(runs, 0);
    }

    void emptyTableFileIsToldAtStartUp_data() {
        QTest::addColumn<bool>("recriar");
        QTest::newRow("user ends the program") << false;
        QTest::newRow("user recreates it empty") << true;
    }

    // A 0-byte clientes.tps with the real upgrade tool: the tool leaves it alone, start-up names it and
    // offers the backup (declined here), then asks before recreating it empty; declining ends the
    // program with the file untouched.
    void emptyTableFileIsToldAtStartUp() {
        QFETCH(bool, recriar);
        inst->createFolder(u"dados"_s);
        const QString clientes = inst->folder(u"dados"_s) + u"/clientes.tps"_s;
        QFile vazio(clientes);
        QVERIFY(vazio.open(QIODevice::WriteOnly | QIODevice::Truncate));
        vazio.close();
        setUpgradeRunner([](const QString& programFolder, const QString& pasta) {
            return runUpgradeTool(realQavbd(), programFolder, pasta);
        });
        MessageBox::setNextAnswers({Button::No, recriar ? Button::Yes : Button::No});
        QCOMPARE(prepareStart(inst->settings()), recriar ? 0 : 2);
        const QStringList caixas = shownBoxes();
        QCOMPARE(caixas.size(), 2);
        QVERIFY2(caixas[0].contains(u"clientes.tps está vazio ou danificado."_s), qPrintable(caixas[0]));
        QVERIFY2(caixas[1].contains(u"ficarão faltando"_s), qPrintable(caixas[1]));
        if (!recriar) {
            QCOMPARE(QFileInfo(clientes).size(), 0);
            return;
        }
        QVERIFY(QFileInfo::exists(clientes + u".danificado"_s));
        Store store(inst->folder(u"dados"_s));
        Table t(store, "clientes");
        QVERIFY(t.open());
        QCOMPARE(t.count(), 0);
    }

    void realUpgradeToolOnANamedFolder() {
        QDir().mkpath(inst->folder(u"filial"_s));
        const UpgradeRun run = runUpgradeTool(realQavbd(), inst->programFolder(), u"filial"_s);
        QCOMPARE(run.outcome, UpgradeRun::Outcome::Finished);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(inst->settings().versaoBd(u"filial"_s), versaoBdRequerida);
        QVERIFY(!QFile::exists(inst->folder(u"dados"_s) + u"/bd.ver"_s));
    }

    void standardButtonsCarryThePortugueseCaptions() {
        installButtonCaptions();
        installButtonCaptions(); // once is enough; twice changes nothing
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort |
                               QMessageBox::Retry | QMessageBox::Ignore | QMessageBox::Cancel |
                               QMessageBox::Help);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), u"&Ok"_s);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), u"&Sim"_s);
        QCOMPARE(box.button(QMessageBox::No)->text(), u"&Não"_s);
        QCOMPARE(box.button(QMessageBox::Abort)->text(), u"&Abortar"_s);
        QCOMPARE(box.button(QMessageBox::Retry)->text(), u"&Repetir"_s);
        QCOMPARE(box.button(QMessageBox::Ignore)->text(), u"&Ignorar"_s);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), u"&Cancelar"_s);
        QCOMPARE(box.button(QMessageBox::Help)->text(), u"&Ajuda"_s);
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), u"&Ok"_s);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"&Cancelar"_s);
        // Other texts are left alone.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Save"), u"Save"_s);
    }
};

QAV_TEST_MAIN(TestGuiStartup)
#include "tst_gui_startup.moc"
