#include "app/widgets/SelecionaEmpresa.h"
#include "base/core/Session.h"
#include "tests/app/ShellFixture.h"
#include "tests/support/TestMain.h"
#include "tests/support/gui/GuiSupport.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WindowRegistry.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

class TestGuiSelecionaEmpresa : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Installation> inst;
    UpgradeRecorder recorder;

    // Two folders: "dados" with companies 1 and 2, "outra" with company 5.
    void twoFolders() {
        inst->createFolder(u"dados"_s);
        inst->createFolder(u"outra"_s);
        inst->addEmpresa(u"dados"_s, 1, u"PRIMEIRA"_s);
        inst->addEmpresa(u"dados"_s, 2, u"SEGUNDA"_s);
        inst->addEmpresa(u"outra"_s, 5, u"QUINTA"_s);
        inst->settings().setPastaNumerada(1, u"outra"_s);
    }

private Q_SLOTS:
    void init() {
        inst = std::make_unique<Installation>();
        recorder = {};
        setUpgradeRunner(recorder.runner());
        MessageBox::clearShown();
        // Every box is answered at once, so none waits for a click.
        MessageBox::setNextAnswers(QList<Button>(20, Button::Ok));
        WindowRegistry::remove(janelaMenu::Comunicacao);
        setIdEmpAtiva(0);
    }

    void cleanup() {
        setUpgradeRunner({});
        WindowRegistry::remove(janelaMenu::Comunicacao);
    }

    void withoutPastaKeyDadosIsSelected() {
        inst->createFolder(u"dados"_s);
        inst->addEmpresa(u"dados"_s, 1, u"PRIMEIRA"_s);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QCOMPARE(dlg.currentFolder(), u"dados"_s);
        QCOMPARE(boundFolder().name, u"dados"_s);
        QCOMPARE(boundFolder().path, inst->folder(u"dados"_s));
        QCOMPARE(child<QTreeWidget>(&dlg, "listaEmpresas")->topLevelItemCount(), 1);
        // One folder only: the drop-down and the new-folder button stay disabled.
        QVERIFY(!child<QComboBox>(&dlg, "pasta")->isEnabled());
        QVERIFY(!child<QPushButton>(&dlg, "novaPasta")->isEnabled());
        QVERIFY(recorder.runs.isEmpty());
    }

    void companiesListedInPhysicalOrderAndRowFillsTheId() {
        inst->createFolder(u"dados"_s);
        inst->addEmpresa(u"dados"_s, 9, u"NONA"_s);
        inst->addEmpresa(u"dados"_s, 3, u"TERCEIRA"_s);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        auto* lista = child<QTreeWidget>(&dlg, "listaEmpresas");
        QCOMPARE(lista->topLevelItem(0)->text(0), u"NONA"_s);
        QCOMPARE(lista->topLevelItem(1)->text(1), u"3"_s);
        lista->setCurrentItem(lista->topLevelItem(1));
        QCOMPARE(child<QLineEdit>(&dlg, "idEmpresa")->text(), u"3"_s);
    }

    void missingNumberedFolderIsDroppedAndForgotten() {
        twoFolders();
        inst->settings().setPastaNumerada(2, u"sumiu"_s);
        inst->settings().setPastaNumerada(3, u"outra"_s);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QCOMPARE(dlg.folderList(), (QStringList{u"dados"_s, u"outra"_s}));
        QVERIFY(child<QComboBox>(&dlg, "pasta")->isEnabled()); // more than one folder
        QCOMPARE(child<QComboBox>(&dlg, "pasta")->count(), 2);
        child<QPushButton>(&dlg, "cancelar")->click();
        const Settings s = inst->settings();
        QCOMPARE(s.pastaNumerada(1), u"outra"_s);
        QCOMPARE(s.pastaNumerada(2), QString());
        QCOMPARE(s.pastaNumerada(3), QString());
        QCOMPARE(s.pasta(), u"dados"_s);
    }

    void rememberedFolderThatVanishedFallsBackToDados() {
        inst->createFolder(u"dados"_s);
        inst->settings().setPasta(u"sumiu"_s);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QCOMPARE(dlg.currentFolder(), u"dados"_s);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void upgradeStartedOnlyBelowTheRequiredVersion_data() {
        QTest::addColumn<int>("versao");
        QTest::addColumn<bool>("runs");
        QTest::newRow("185") << 185 << true;
        QTest::newRow("no bd.ver") << 0 << true;
        QTest::newRow("186") << 186 << false;
        QTest::newRow("187") << 187 << false;
        QTest::newRow("200") << 200 << false;
    }

    void upgradeStartedOnlyBelowTheRequiredVersion() {
        QFETCH(int, versao);
        QFETCH(bool, runs);
        inst->createFolder(u"dados"_s);
        inst->createFolder(u"outra"_s, versao);
        inst->settings().setPastaNumerada(1, u"outra"_s);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QVERIFY(recorder.runs.isEmpty());
        auto* combo = child<QComboBox>(&dlg, "pasta");
        combo->setCurrentIndex(combo->findText(u"outra"_s));
        Q_EMIT combo->activated(combo->currentIndex());
        QCOMPARE(dlg.currentFolder(), u"outra"_s);
        QCOMPARE(recorder.runs, runs ? QStringList{u"outra"_s} : QStringList{});
        QVERIFY(inst->settings().versaoBd(u"outra"_s) >= versaoBdRequerida);
    }

    void companyRememberedPerFolder() {
        twoFolders();
        {
            SelecionaEmpresa dlg(inst->settings());
            dlg.prepare();
            child<QLineEdit>(&dlg, "idEmpresa")->setText(u"2"_s);
            child<QPushButton>(&dlg, "ok")->click();
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QCOMPARE(idEmpAtiva(), 2);
            QCOMPARE(dlg.nomeEmpresa(), u"SEGUNDA"_s);
        }
        QCOMPARE(inst->settings().empresaDaPasta(u"dados"_s), 2);
        {
            SelecionaEmpresa dlg(inst->settings());
            dlg.prepare();
            QCOMPARE(child<QLineEdit>(&dlg, "idEmpresa")->text(), u"2"_s);
            QCOMPARE(child<QTreeWidget>(&dlg, "listaEmpresas")->currentItem()->text(0), u"SEGUNDA"_s);
            QVERIFY(dlg.selectFolder(u"outra"_s));
            // Company 2 of "dados" does not leak into "outra".
            QCOMPARE(child<QLineEdit>(&dlg, "idEmpresa")->text(), QString());
            QCOMPARE(idEmpAtiva(), 0);
            child<QLineEdit>(&dlg, "idEmpresa")->setText(u"5"_s);
            child<QPushButton>(&dlg, "ok")->click();
            QCOMPARE(idEmpAtiva(), 5);
        }
        const Settings s = inst->settings();
        QCOMPARE(s.empresaDaPasta(u"dados"_s), 2);
        QCOMPARE(s.empresaDaPasta(u"outra"_s), 5);
        QCOMPARE(s.pasta(), u"outra"_s);
        {
            SelecionaEmpresa dlg(inst->settings());
            dlg.prepare();
            QCOMPARE(dlg.currentFolder(), u"outra"_s);
            QCOMPARE(child<QLineEdit>(&dlg, "idEmpresa")->text(), u"5"_s);
            QVERIFY(dlg.selectFolder(u"dados"_s));
            QCOMPARE(child<QLineEdit>(&dlg, "idEmpresa")->text(), u"2"_s);
        }
    }

    void companyOfAnotherFolderIsInvalidHere() {
        twoFolders();
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        dlg.show();
        child<QLineEdit>(&dlg, "idEmpresa")->setText(u"5"_s); // exists only in "outra"
        child<QPushButton>(&dlg, "ok")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Empresa inválida!"_s});
        QVERIFY(dlg.isVisible());
        QCOMPARE(idEmpAtiva(), 0);
        QCOMPARE(inst->settings().empresaDaPasta(u"dados"_s), 0);
    }

    void emptyIdIsInvalid() {
        twoFolders();
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        dlg.show();
        child<QLineEdit>(&dlg, "idEmpresa")->clear();
        child<QPushButton>(&dlg, "ok")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Empresa inválida!"_s});
        QVERIFY(dlg.isVisible());
    }

    void cancelLeavesNoCompany() {
        twoFolders();
        inst->settings().setEmpresaDaPasta(u"dados"_s, 1);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QCOMPARE(idEmpAtiva(), 1);
        dlg.show();
        child<QPushButton>(&dlg, "cancelar")->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(idEmpAtiva(), 0);
        QCOMPARE(inst->settings().empresaDaPasta(u"dados"_s), 1); // remembered choice kept
    }

    void modalRunReturnsTheResult() {
        twoFolders();
        SelecionaEmpresa dlg(inst->settings());
        QTimer::singleShot(0, &dlg, [&dlg] {
            dlg.findChild<QLineEdit*>(u"idEmpresa"_s)->setText(u"1"_s);
            dlg.findChild<QPushButton*>(u"ok"_s)->click();
        });
        QCOMPARE(dlg.run(), int(SelecionaEmpresa::Escolhida));
        QCOMPARE(idEmpAtiva(), 1);

        SelecionaEmpresa again(inst->settings());
        QTimer::singleShot(0, &again, [&again] { again.close(); }); // the window's close box
        QCOMPARE(again.run(), int(SelecionaEmpresa::Cancelada));
        QCOMPARE(idEmpAtiva(), 0);
    }

    void ctrlKUnlocksTheAdministration() {
        inst->createFolder(u"dados"_s);
        inst->addEmpresa(u"dados"_s, 1, u"PRIMEIRA"_s);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* combo = child<QComboBox>(&dlg, "pasta");
        auto* nova = child<QPushButton>(&dlg, "novaPasta");
        auto* comunicacao = child<QPushButton>(&dlg, "comunicacao");
        QVERIFY(!combo->isEnabled() && !nova->isEnabled() && !comunicacao->isEnabled());
        QTest::keyClick(&dlg, Qt::Key_K, Qt::ControlModifier);
        QVERIFY(combo->isEnabled());
        QVERIFY(nova->isEnabled());
        // No communication window in this build: the button stays disabled and says why.
        QVERIFY(!comunicacao->isEnabled());
        QCOMPARE(comunicacao->toolTip(), unavailableEntryTip());
    }

    void communicationButtonFollowsTheCompanyList() {
        inst->createFolder(u"dados"_s);
        inst->createFolder(u"vazia"_s);
        inst->addEmpresa(u"dados"_s, 1, u"PRIMEIRA"_s);
        inst->settings().setPastaNumerada(1, u"vazia"_s);
        int runs = 0;
        QString folderDuringRun;
        WindowRegistry::add(janelaMenu::Comunicacao, [&](const WindowContext& c) {
            ++runs;
            folderDuringRun = boundFolder().name;
            QVERIFY(c.frame);
            // What a communication run does: the folder gets its company.
            inst->addEmpresa(u"vazia"_s, 7, u"SETIMA"_s);
        });
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        auto* comunicacao = child<QPushButton>(&dlg, "comunicacao");
        QVERIFY(!comunicacao->isEnabled()); // the folder has companies
        QVERIFY(dlg.selectFolder(u"vazia"_s));
        QVERIFY(comunicacao->isEnabled()); // no company yet: communicate first
        QVERIFY(comunicacao->toolTip().isEmpty());
        comunicacao->click();
        QCOMPARE(runs, 1);
        QCOMPARE(folderDuringRun, u"vazia"_s);
        // The list is filled again after the run.
        QCOMPARE(child<QTreeWidget>(&dlg, "listaEmpresas")->topLevelItemCount(), 1);
        QVERIFY(!comunicacao->isEnabled());
    }

    void newFolderIsCreatedUpgradedAndSelected() {
        inst->createFolder(u"dados"_s);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        dlg.unlockAdministration();
        auto* combo = child<QComboBox>(&dlg, "pasta");
        combo->setEditText(u"nova"_s);
        child<QPushButton>(&dlg, "novaPasta")->click();
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(recorder.runs, QStringList{u"nova"_s});
        QCOMPARE(dlg.currentFolder(), u"nova"_s);
        QVERIFY(QFile::exists(inst->folder(u"nova"_s) + u"/empresa.tps"_s));
        QCOMPARE(dlg.folderList(), (QStringList{u"dados"_s, u"nova"_s}));

        combo->setEditText(u"nova"_s);
        child<QPushButton>(&dlg, "novaPasta")->click();
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Pasta já esiste!"_s});

        dlg.reject();
        QCOMPARE(inst->settings().pastaNumerada(1), u"nova"_s);
        QCOMPARE(inst->settings().pasta(), u"nova"_s);
    }

    void unsafeFolderNameIsRefused() {
        inst->createFolder(u"dados"_s);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        dlg.createFolder(u".."_s);
        dlg.createFolder(u"a\\b"_s);
        QCOMPARE(shownBoxes(),
                 (QStringList{u"Aviso: Nome de pasta inválido!"_s, u"Aviso: Nome de pasta inválido!"_s}));
        QCOMPARE(dlg.folderList(), QStringList{u"dados"_s});
        QVERIFY(recorder.runs.isEmpty());
    }

    void folderThatCannotBeCreatedIsReportedAndTheStepsGoOn() {
        inst->createFolder(u"dados"_s);
        QFile blocker(inst->folder(u"ruim"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        dlg.createFolder(u"ruim"_s);
        const QStringList texts = shownBoxes();
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts.at(0), u"Erro: Erro (%1) ao criar pasta \"..\\ruim\"!"_s.arg(EEXIST));
        // The name is listed and selected, which runs the upgrade; that cannot make the folder either,
        // so the old folder stays bound.
        QVERIFY(texts.at(1).startsWith(u"Erro: O banco de dados da pasta \"..\\ruim\" não foi atualizado"_s));
        QCOMPARE(recorder.runs, QStringList{u"ruim"_s});
        QVERIFY(dlg.folderList().contains(u"ruim"_s));
        QCOMPARE(dlg.currentFolder(), u"dados"_s);
        QCOMPARE(boundFolder().name, u"dados"_s);
    }

    void typedFolderNotInTheListDoesNotExist() {
        twoFolders();
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QVERIFY(!dlg.selectFolder(u"xyz"_s));
        QCOMPARE(shownBoxes(), QStringList{u"Aviso: Pasta \"..\\xyz\" não existe!"_s});
        QCOMPARE(dlg.currentFolder(), u"dados"_s);
        QCOMPARE(child<QTreeWidget>(&dlg, "listaEmpresas")->topLevelItemCount(), 2);
    }

    // Enter in the folder field switches the folder and nothing more: the window stays open, with
    // no company chosen for the user.
    void enterInTheFolderFieldOnlySwitchesTheFolder_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("empresa");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("another folder") << u"outra"_s << u"outra"_s << u"5"_s << QStringList{};
        QTest::newRow("folder without a remembered company")
            << u"vazia"_s << u"vazia"_s << QString() << QStringList{};
        QTest::newRow("folder that does not exist")
            << u"xyz"_s << u"dados"_s << u"1"_s << QStringList{u"Aviso: Pasta \"..\\xyz\" não existe!"_s};
    }

    void enterInTheFolderFieldOnlySwitchesTheFolder() {
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        QFETCH(QString, empresa);
        QFETCH(QStringList, texts);
        twoFolders();
        inst->createFolder(u"vazia"_s);
        inst->settings().setPastaNumerada(2, u"vazia"_s);
        inst->settings().setEmpresaDaPasta(u"dados"_s, 1);
        inst->settings().setEmpresaDaPasta(u"outra"_s, 5);
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        // The keys go where the keyboard sends them when the folder field has the focus: the combo
        // box, which hands them to its line edit.
        auto* combo = child<QComboBox>(&dlg, "pasta");
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, typed);
        QCOMPARE(combo->currentText(), typed);
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(shownBoxes(), texts);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);
        QCOMPARE(dlg.currentFolder(), folder);
        QCOMPARE(child<QLineEdit>(&dlg, "idEmpresa")->text(), empresa);
        QCOMPARE(inst->settings().empresaDaPasta(u"dados"_s), 1); // nothing chosen, nothing written
        // Enter in the company field is still OK.
        if (!empresa.isEmpty()) {
            child<QLineEdit>(&dlg, "idEmpresa")->setFocus();
            QTest::keyClick(child<QLineEdit>(&dlg, "idEmpresa"), Qt::Key_Return);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QCOMPARE(idEmpAtiva(), empresa.toInt());
        }
    }

    // A folder whose upgrade failed is still opened, after saying so: its companies can be chosen,
    // and backup, restore and communication can repair it.
    void upgradeToolThatCannotStartStillOpensTheFolder() {
        twoFolders();
        settingsVersion(u"outra"_s, 185);
        recorder.failToStart = true;
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QVERIFY(dlg.selectFolder(u"outra"_s));
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().at(0).text.startsWith(
            u"Não foi possível executar o programa de atualização do banco de dados (qavbd) para a pasta \"..\\outra\"."_s));
        QCOMPARE(dlg.currentFolder(), u"outra"_s);
        QCOMPARE(boundFolder().name, u"outra"_s);
        child<QLineEdit>(&dlg, "idEmpresa")->setText(u"5"_s);
        child<QPushButton>(&dlg, "ok")->click();
        QCOMPARE(idEmpAtiva(), 5);
    }

    // Choosing the folder again in the same session does not run the tool again, nor repeat what
    // was already said about it.
    void failedUpgradeIsTriedOncePerSession() {
        twoFolders();
        settingsVersion(u"outra"_s, 185);
        recorder.failToStart = true;
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QVERIFY(dlg.selectFolder(u"outra"_s));
        QVERIFY(dlg.selectFolder(u"dados"_s));
        QVERIFY(dlg.selectFolder(u"outra"_s));
        QCOMPARE(recorder.runs, QStringList{u"outra"_s});
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(dlg.currentFolder(), u"outra"_s);
    }

    void folderWithADamagedCompanyTableStaysUsable() {
        twoFolders();
        settingsVersion(u"outra"_s, 185);
        QFile empresa(inst->folder(u"outra"_s) + u"/empresa.tps"_s);
        QVERIFY(empresa.open(QIODevice::WriteOnly | QIODevice::Truncate));
        empresa.write(QByteArray(4096, 'x'));
        empresa.close();
        recorder.failToStart = true;
        SelecionaEmpresa dlg(inst->settings());
        dlg.prepare();
        QVERIFY(dlg.selectFolder(u"outra"_s));
        QCOMPARE(MessageBox::shown().size(), 1); // the tables are named once
        QVERIFY(MessageBox::shown().at(0).text.contains(u"empresa.tps"_s));
        QCOMPARE(child<QTreeWidget>(&dlg, "listaEmpresas")->topLevelItemCount(), 0);
        // No company to choose here, but another folder can still be chosen.
        QVERIFY(dlg.selectFolder(u"dados"_s));
        QCOMPARE(child<QTreeWidget>(&dlg, "listaEmpresas")->topLevelItemCount(), 2);
    }

private:
    void settingsVersion(const QString& pasta, int versao) { inst->settings().setVersaoBd(pasta, versao); }
};

QAV_TEST_MAIN(TestGuiSelecionaEmpresa)
#include "tst_gui_selecionaempresa.moc"
