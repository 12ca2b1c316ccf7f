// The last guard of both programs: an exception that escapes an event handler is reported with the
// standard error box, and the window it happened in stays open and working.
#include "store/core/Record.h"
#include "tests/support/TestMain.h"
#include "ui/widgets/GuardedApplication.h"
#include "ui/widgets/MessageBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <stdexcept>

using namespace qav;
using namespace Qt::StringLiterals;

class TestGuiLastGuard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        MessageBox::clearShown();
        MessageBox::setNextAnswers(QList<Button>(5, Button::Ok));
    }
    void cleanup() { MessageBox::setNextAnswers({}); }

    void slotQueLancaNaoEncerra_data() {
        QTest::addColumn<int>("como");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("button clicked") << 0 << u"CLI:CXPOSTAL: valor fora do intervalo"_s;
        QTest::newRow("text typed") << 1 << u"CLI:RAZAO: caractere"_s;
        QTest::newRow("timer") << 2 << u"temporizador"_s;
    }
    void slotQueLancaNaoEncerra() {
        QFETCH(int, como);
        QFETCH(QString, mensagem);
        QWidget janela;
        auto* layout = new QVBoxLayout(&janela);
        auto* botao = new QPushButton(u"&OK"_s, &janela);
        auto* entrada = new QLineEdit(&janela);
        layout->addWidget(botao);
        layout->addWidget(entrada);
        int chamadas = 0;
        connect(botao, &QPushButton::clicked, &janela, [&] {
            ++chamadas;
            throw FieldValueError(mensagem.toStdString());
        });
        connect(entrada, &QLineEdit::textEdited, &janela, [&] {
            ++chamadas;
            throw FieldValueError(mensagem.toStdString());
        });
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        if (como == 0) {
            QTest::mouseClick(botao, Qt::LeftButton);
        } else if (como == 1) {
            QTest::keyClicks(entrada, u"x"_s);
        } else {
            QTimer::singleShot(0, &janela, [&] {
                ++chamadas;
                throw std::runtime_error(mensagem.toStdString());
            });
        }
        QTRY_COMPARE(MessageBox::shown().size(), 1);
        const MessageBox::Shown caixa = MessageBox::shown().at(0);
        QCOMPARE(caixa.caption, u"Erro"_s);
        QCOMPARE(caixa.icon, Icon::Critical);
        QVERIFY2(caixa.text.contains(mensagem), qPrintable(caixa.text));
        // The window goes on: still shown, and the same action runs again.
        QVERIFY(janela.isVisible());
        if (como == 0)
            QTest::mouseClick(botao, Qt::LeftButton);
        else if (como == 1)
            QTest::keyClicks(entrada, u"y"_s);
        if (como != 2) {
            QCOMPARE(chamadas, 2);
            QTRY_COMPARE(MessageBox::shown().size(), 2);
        }
        QVERIFY(janela.isVisible());
    }
};

namespace {
int run(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qav::GuardedApplication app(argc, argv);
    TestGuiLastGuard test;
    return QTest::qExec(&test, argc, argv);
}
} // namespace
QAV_TEST_MAIN_FUNCTION(run)

#include "tst_gui_lastguard.moc"
