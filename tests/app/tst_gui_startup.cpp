#include "app/widgets/ButtonCaptions.h"
#include "app/widgets/Startup.h"
#include "tests/app/ShellFixture.h"
#include "tests/support/Programs.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"

#include <QDialogButtonBox>
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
        QCOMPARE(inst->settings().versaoBd(u"dados"_s), 186);
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

    void upgradeToolThatCannotStartEndsTheProgram() {
        inst->createFolder(u"dados"_s, 185);
        recorder.failToStart = true;
        QCOMPARE(prepareStart(inst->settings()), 1);
        const QStringList texts = shownBoxes();
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts.at(0).startsWith(
            u"Erro: Não foi possível executar o programa de atualização do banco de dados (qavbd) para a pasta \"..\\dados\"."_s));
        QVERIFY(texts.at(0).endsWith(u"O programa será encerrado."_s));
    }

    void missingUpgradeToolBesideTheProgramEndsTheProgram() {
        // The default runner looks for qavbd beside the running program; there is none beside the tests.
        setUpgradeRunner({});
        inst->createFolder(u"dados"_s, 185);
        QCOMPARE(prepareStart(inst->settings()), 1);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().at(0).text.contains(u"qavbd"_s));
        QCOMPARE(inst->settings().versaoBd(u"dados"_s), 185);
    }

    void realUpgradeToolBuildsTheMainFolder() {
        QVERIFY(QFile::exists(realQavbd()));
        setUpgradeRunner([](const QString& programFolder, const QString& pasta) {
            return runUpgradeTool(realQavbd(), programFolder, pasta);
        });
        QCOMPARE(prepareStart(inst->settings()), 0);
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(inst->settings().versaoBd(u"dados"_s), 186);
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

    void realUpgradeToolOnANamedFolder() {
        QDir().mkpath(inst->folder(u"filial"_s));
        const UpgradeRun run = runUpgradeTool(realQavbd(), inst->programFolder(), u"filial"_s);
        QCOMPARE(run.outcome, UpgradeRun::Outcome::Finished);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(inst->settings().versaoBd(u"filial"_s), 186);
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

QTEST_MAIN(TestGuiStartup)
#include "tst_gui_startup.moc"
