#include "store/core/StoreError.h"
#include "tests/support/TestMain.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/StandardWarningBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace qav;
using namespace Qt::StringLiterals;

class TestGuiMessageBox : public QObject {
    Q_OBJECT

private:
    QStringList endedWith;

private Q_SLOTS:
    void init() {
        MessageBox::setNextAnswers({});
        MessageBox::clearShown();
        endedWith.clear();
        setEndProgramFunction([this](const QString& text) { endedWith << text; });
    }

    void buttonCaptions_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Ok") << int(Button::Ok) << u"&Ok"_s;
        QTest::newRow("Yes") << int(Button::Yes) << u"&Sim"_s;
        QTest::newRow("No") << int(Button::No) << u"&Não"_s;
        QTest::newRow("Abort") << int(Button::Abort) << u"&Abortar"_s;
        QTest::newRow("Retry") << int(Button::Retry) << u"&Repetir"_s;
        QTest::newRow("Ignore") << int(Button::Ignore) << u"&Ignorar"_s;
        QTest::newRow("Cancel") << int(Button::Cancel) << u"&Cancelar"_s;
        QTest::newRow("Help") << int(Button::Help) << u"&Ajuda"_s;
    }
    void buttonCaptions() {
        QFETCH(int, button);
        QFETCH(QString, caption);
        QCOMPARE(MessageBox::buttonCaption(static_cast<Button>(button)), caption);
    }

    void builtBoxShowsCaptionsTextAndDefault() {
        const auto box = MessageBox::build(u"Linha 1|Linha 2"_s, u"Confirma"_s, Icon::Question,
                                           {Button::Yes, Button::No, Button::Cancel}, Button::No);
        QCOMPARE(box->windowTitle(), u"Confirma"_s);
        QCOMPARE(box->text(), u"Linha 1\nLinha 2"_s);
        QCOMPARE(box->icon(), QMessageBox::Question);
        QStringList texts;
        for (QAbstractButton* b : box->buttons())
            texts << b->text();
        texts.sort();
        QCOMPARE(texts, QStringList({u"&Cancelar"_s, u"&Não"_s, u"&Sim"_s}));
        QVERIFY(box->defaultButton());
        QCOMPARE(box->defaultButton()->text(), u"&Não"_s);
        QVERIFY(box->escapeButton());
        QCOMPARE(box->escapeButton()->text(), u"&Cancelar"_s);
    }

    void realBoxReturnsTheClickedButton() {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == u"&Repetir"_s)
                    b->click();
        });
        const Button answer = MessageBox::show(u"Tentar de novo?"_s, u"Erro"_s, Icon::Critical,
                                               {Button::Retry, Button::Cancel}, Button::Cancel);
        QCOMPARE(answer, Button::Retry);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().answer, Button::Retry);
    }

    void escapeAnswersCancel() {
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(MessageBox::show(u"?"_s, u"Confirme"_s, Icon::Question,
                                  {Button::Yes, Button::No, Button::Cancel}, Button::Yes),
                 Button::Cancel);
    }

    void nextAnswersAnswerWithoutAWindow() {
        MessageBox::setNextAnswers({Button::No, Button::Yes});
        QCOMPARE(MessageBox::show(u"a|b"_s, u"Um"_s, Icon::Question, {Button::Yes, Button::No}), Button::No);
        QCOMPARE(MessageBox::show(u"c"_s, u"Dois"_s, Icon::Question, {Button::Yes, Button::No}), Button::Yes);
        const auto shown = MessageBox::shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].caption, u"Um"_s);
        QCOMPARE(shown[0].text, u"a\nb"_s);
        QCOMPARE(shown[1].caption, u"Dois"_s);
        QCOMPARE(shown[1].answer, Button::Yes);
        MessageBox::clearShown();
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void standardWarningReturnsTheAnswer() {
        MessageBox::setNextAnswers({Button::Ok});
        QCOMPARE(standardWarning(32), int(Button::Ok));
        MessageBox::setNextAnswers({Button::Cancel});
        QCOMPARE(standardWarning(32), int(Button::Cancel));
        QCOMPARE(MessageBox::shown().last().caption, u"Confirma Excluir"_s);
        QCOMPARE(MessageBox::shown().last().defaultButton, Button::Cancel);
        QVERIFY(endedWith.isEmpty());
    }

    void fatalWarningEndsTheProgram() {
        StoreError e;
        e.code = ErrorCode::AccessDenied;
        MessageBox::setNextAnswers({Button::Ok});
        QCOMPARE(standardWarning(1, e, u"Clientes"_s), 0);
        QCOMPARE(endedWith, QStringList{u"Invalid File!"_s});
        QCOMPARE(MessageBox::shown().last().text,
                 u"Error: (Access Denied (5)) accessing Clientes.  Press OK to end this application."_s);
    }

    void invalidKeyRebuildOrEnd() {
        MessageBox::setNextAnswers({Button::Yes, Button::No});
        QCOMPARE(standardWarning(2, u"Pedidos"_s), 2);
        QVERIFY(endedWith.isEmpty());
        QCOMPARE(standardWarning(2, u"Pedidos"_s), 0);
        QCOMPARE(endedWith, QStringList{u"Invalid Key!"_s});
    }

    void eachWarningShowsTheErrorItIsGiven() {
        StoreError duplicate;
        duplicate.code = ErrorCode::CreatesDuplicateKey;
        StoreError held;
        held.code = ErrorCode::RecordHeld;
        MessageBox::setNextAnswers({Button::Ok, Button::Ok});
        standardWarning(17, duplicate, u"Clientes"_s);
        standardWarning(17, held, u"Clientes"_s);
        const auto shown = MessageBox::shown();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].text.contains(u"Creates Duplicate Key (40)"_s));
        QVERIFY(!shown[1].text.contains(u"Creates Duplicate Key"_s));
        QVERIFY(shown[1].text.contains(u"Record Is Already Held (43)"_s));
    }

    void unknownWarningShowsNothing() {
        QCOMPARE(standardWarning(99, u"x"_s), 0);
        QVERIFY(MessageBox::shown().isEmpty());
    }
};

QAV_TEST_MAIN(TestGuiMessageBox)
#include "tst_gui_messagebox.moc"
