// The upgrade tool's window: nothing is converted until the user confirms.
#include "base/core/IniFile.h"
#include "base/core/Version.h"
#include "dbtool/widgets/ConverteBdWindow.h"
#include "store/core/Connection.h"
#include "tests/support/TestMain.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace qav;

class TestConverteBd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convertsOnlyAfterConfirmation();
    void closeConvertsNothing();
    void finalMessageNamesTheLogOfCutValues();
};

void TestConverteBd::convertsOnlyAfterConfirmation() {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("dados"));
    ConverteBdWindow window(folder);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Converte BD"));
    auto* convert = window.findChild<QPushButton*>(QStringLiteral("converte"));
    QVERIFY(convert);
    QCOMPARE(convert->text(), QStringLiteral("&Converte"));

    MessageBox::clearShown();
    MessageBox::setNextAnswers({Button::No});
    QTest::mouseClick(convert, Qt::LeftButton);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().front().caption, QStringLiteral("Confirme"));
    QCOMPARE(MessageBox::shown().front().text,
             QStringLiteral("Confirma executar rotina de conversão de base de dados?"));
    QVERIFY(window.isVisible()); // No leaves the window open...
    QVERIFY(
        QDir(folder).entryList({QStringLiteral("*.tps")}, QDir::Files).isEmpty()); // ...and converts nothing

    MessageBox::setNextAnswers({Button::Yes});
    QTest::mouseClick(convert, Qt::LeftButton);
    QVERIFY(!window.isVisible()); // Yes converts and closes
    QCOMPARE(QDir(folder).entryList({QStringLiteral("*.tps")}, QDir::Files).size(), 29);
    QCOMPARE(IniFile(QDir(folder).filePath(QStringLiteral("bd.ver")))
                 .readInt(QStringLiteral("QAVPlus"), QStringLiteral("VersaoBD"), 0),
             versaoBdRequerida);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("acao"))->text(),
             QStringLiteral("Verificando Arquivos..."));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("tabela"))->text(), QStringLiteral("qavtrans"));
}

void TestConverteBd::closeConvertsNothing() {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("dados"));
    ConverteBdWindow window(folder);
    window.show();
    MessageBox::clearShown();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("fechar")), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(MessageBox::shown().isEmpty());
    QVERIFY(!QDir(folder).exists());
}

void TestConverteBd::finalMessageNamesTheLogOfCutValues() {
    QTemporaryDir dir;
    {
        StoreError error;
        auto old = Connection::open(QDir(dir.path()).filePath(QStringLiteral("grupo.tps")), true, &error);
        QVERIFY(old);
        // NOME is text(40) now.
        QVERIFY(old->exec(
            "CREATE TABLE grupo (ID INTEGER, NOME TEXT);"
            "INSERT INTO grupo VALUES (1, 'Ferragens, parafusos, porcas, arruelas e pregos de aço');",
            &error));
    }
    ConverteBdWindow window(dir.path());
    window.show();
    MessageBox::clearShown();
    MessageBox::setNextAnswers({Button::Ok});
    window.convertNow();
    QVERIFY(window.result().completed);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().front().caption, QStringLiteral("Aviso"));
    QVERIFY(MessageBox::shown().front().text.contains(
        QDir::toNativeSeparators(QDir(dir.path()).filePath(QStringLiteral("qavbd.log")))));

    // A run with nothing cut ends without a message.
    QTemporaryDir clean;
    ConverteBdWindow quiet(clean.path());
    quiet.show();
    MessageBox::clearShown();
    quiet.convertNow();
    QVERIFY(quiet.result().completed);
    QVERIFY(MessageBox::shown().isEmpty());
}

QAV_TEST_MAIN(TestConverteBd)
#include "tst_gui_convertebd.moc"
