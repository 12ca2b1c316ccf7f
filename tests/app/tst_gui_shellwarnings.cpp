// The standard warnings as qavplus shows them: real message boxes with the process-wide captions,
// answered by clicking, after real failures of the local tables.
#include "app/widgets/ButtonCaptions.h"
#include "tests/app/ShellFixture.h"
#include "tests/support/TestMain.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace qav::test;
using namespace Qt::StringLiterals;

namespace {

// Clicks the button captioned `caption` of the next message box, and records what the box showed.
struct BoxClicker {
    QString title;
    QString text;
    QStringList buttons;

    void clickWhenShown(const QString& caption) {
        auto* poll = new QTimer;
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, caption] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll->stop();
            poll->deleteLater();
            title = box->windowTitle();
            text = box->text();
            const auto all = box->buttons();
            for (QAbstractButton* b : all)
                buttons << b->text();
            for (QAbstractButton* b : all)
                if (b->text() == caption) {
                    b->click();
                    return;
                }
            box->reject();
        });
        poll->start();
    }
};

} // namespace

class TestGuiShellWarnings : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Installation> inst;

private Q_SLOTS:
    void init() {
        installButtonCaptions();
        inst = std::make_unique<Installation>();
        inst->createFolder(u"dados"_s);
        inst->addConfiguracao(u"dados"_s, 1, [](Record& r) { r.setInteger("DIAS_BLOQUEIO", 5); });
        MessageBox::setNextAnswers({});
        MessageBox::clearShown();
    }

    void warning15AfterARecordChangedByAnotherStation() {
        Store first(inst->folder(u"dados"_s));
        Store second(inst->folder(u"dados"_s));
        Table a(first, "qavcfg.tps");
        Table b(second, "qavcfg.tps");
        QVERIFY(a.open() && b.open());
        a.rec().setInteger("ID_EMPRESA", 1);
        b.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(a.get("KEYID_EMPRESA"), Status::Ok);
        QCOMPARE(b.get("KEYID_EMPRESA"), Status::Ok);
        a.rec().setInteger("DIAS_BLOQUEIO", 7);
        QCOMPARE(a.put(), Status::Ok);
        b.rec().setInteger("DIAS_BLOQUEIO", 9);
        QCOMPARE(b.put(), Status::Error);
        QCOMPARE(b.error().number(), 89);

        BoxClicker clicker;
        clicker.clickWhenShown(u"&Ok"_s);
        QCOMPARE(standardWarning(15, b.error(), u"qavcfg"_s), 0);
        QCOMPARE(clicker.title, u"Erro ao gravar alteração"_s);
        QCOMPARE(clicker.text, u"Este registro foi alterado por outra estação."_s);
        QCOMPARE(clicker.buttons, QStringList{u"&Ok"_s});
        QCOMPARE(inst->configuracao(u"dados"_s, 1).integer("DIAS_BLOQUEIO"), 7);
    }

    // `writer` fails to write the company's settings that `holder` holds (error 43).
    static void failWithRecordHeld(Table& holder, Table& writer) {
        QVERIFY(holder.open() && writer.open());
        holder.rec().setInteger("ID_EMPRESA", 1);
        writer.rec().setInteger("ID_EMPRESA", 1);
        QCOMPARE(holder.get("KEYID_EMPRESA"), Status::Ok);
        QCOMPARE(holder.hold(0), Status::Ok);
        QCOMPARE(writer.get("KEYID_EMPRESA"), Status::Ok);
        QCOMPARE(writer.put(), Status::Error);
        QCOMPARE(writer.error().number(), 43);
    }

    void warning15AfterAnotherFailureNamesTheTable() {
        Store first(inst->folder(u"dados"_s));
        Store second(inst->folder(u"dados"_s));
        Table holder(first, "qavcfg.tps");
        Table writer(second, "qavcfg.tps");
        failWithRecordHeld(holder, writer);
        if (QTest::currentTestFailed())
            return;

        BoxClicker clicker;
        clicker.clickWhenShown(u"&Ok"_s);
        standardWarning(15, writer.error(), u"qavcfg"_s);
        QCOMPARE(clicker.title, u"Erro ao Gravar Registro"_s);
        QCOMPARE(clicker.text, u"Ocorreu um erro durante a operação!\n%1\nTabela: qavcfg."_s.arg(
                                   errorDescription(writer.error())));
        QVERIFY(clicker.text.contains(u"(43)"_s));
    }

    void warning29AsksAboutTheEndOrTheBeginning_data() {
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("Down")
            << u"Down"_s << u"End of File Error"_s
            << u"The end of the viewed file was encountered.  Do you want to start again from the "
               u"beginning?"_s;
        QTest::newRow("Up")
            << u"Up"_s << u"Beginning of File Error"_s
            << u"The beginning of the viewed file was encountered.  Do you want to start again from "
               u"the end of the file?"_s;
        QTest::newRow("empty")
            << QString() << u"Beginning of File Error"_s
            << u"The beginning of the viewed file was encountered.  Do you want to start again "
               u"from the end of the file?"_s;
    }

    void warning29AsksAboutTheEndOrTheBeginning() {
        QFETCH(QString, direction);
        QFETCH(QString, title);
        QFETCH(QString, text);
        BoxClicker clicker;
        clicker.clickWhenShown(u"&Não"_s);
        QCOMPARE(standardWarning(29, direction), int(Button::No));
        QCOMPARE(clicker.title, title);
        QCOMPARE(clicker.text, text);
        QCOMPARE(clicker.buttons, (QStringList{u"&Sim"_s, u"&Não"_s}));
    }

    void warningShowsTheErrorItIsGiven() {
        // A failure of this form's table...
        Store store(inst->folder(u"dados"_s));
        Table broken(store, "qavcfg.tps");
        QVERIFY(broken.open());
        QCOMPARE(broken.put(), Status::Error); // nothing read: record not available (33)
        StoreError driver;
        driver.code = ErrorCode::FileSystemError;
        driver.text = errorText(driver.code);
        driver.driverText = u"disk I/O error"_s;
        driver.driverCode = u"S1000"_s;

        BoxClicker first;
        first.clickWhenShown(u"&Ok"_s);
        standardWarning(30, driver, u"qavcfg.tps"_s);
        QCOMPARE(first.title, u"File Access Error"_s);
        QCOMPARE(first.text, u"File (qavcfg.tps) could not be opened.  Error: disk I/O error (S1000)."_s);

        // ...then another table fails before the warning about the first is shown: the warning still
        // describes the failure it is given, not the latest one.
        Store other(inst->folder(u"dados"_s));
        Table holder(store, "qavcfg.tps");
        Table writer(other, "qavcfg.tps");
        failWithRecordHeld(holder, writer);
        if (QTest::currentTestFailed())
            return;

        BoxClicker second;
        second.clickWhenShown(u"&Ok"_s);
        standardWarning(30, broken.error(), u"qavcfg.tps"_s);
        QVERIFY(!second.text.contains(u"disk I/O error"_s));
        QVERIFY(second.text.contains(u"(33)"_s));
        QVERIFY(!second.text.contains(u"(43)"_s));
    }
};

QAV_TEST_MAIN(TestGuiShellWarnings)
#include "tst_gui_shellwarnings.moc"
