#include "base/core/IniFile.h"
#include "base/core/WindowState.h"
#include "tests/support/TestMain.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QDialog>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using namespace qav;
using namespace Qt::StringLiterals;

class TestGuiWindowStateBinder : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString ini() const { return dir.filePath(u"qavplus.INI"_s); }

private Q_SLOTS:
    void closedWindowReopensWhereItWas() {
        {
            QWidget w;
            w.setGeometry(50, 60, 400, 300);
            WindowStateBinder::attach(&w, janela::JanelaPautas, ini());
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.setGeometry(120, 130, 500, 350);
            w.close();
        }
        const IniFile file(ini());
        QCOMPARE(file.readString(u"BrowsePauta"_s, u"Maximize"_s), u"No"_s);
        QCOMPARE(file.readInt(u"BrowsePauta"_s, u"Width"_s), 500);

        QWidget again;
        again.setGeometry(0, 0, 200, 100);
        WindowStateBinder::attach(&again, janela::JanelaPautas, ini());
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.geometry(), QRect(120, 130, 500, 350));
        again.close();
    }

    // A form ended by its OK or Cancel button is hidden, not closed: its place is kept all the same.
    void dialogEndedByItsButtonsIsSaved_data() {
        QTest::addColumn<bool>("aceito");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancelar") << false;
    }
    void dialogEndedByItsButtonsIsSaved() {
        QFETCH(bool, aceito);
        const QString secao = aceito ? u"UpdatePEDIDO"_s : u"UpdatePED_ITEN"_s;
        {
            QDialog d;
            d.setGeometry(50, 60, 400, 300);
            WindowStateBinder::attach(&d, secao, ini());
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            d.setGeometry(140, 150, 420, 310);
            aceito ? d.accept() : d.reject();
        }
        QCOMPARE(IniFile(ini()).readInt(secao, u"Width"_s), 420);
    }

    void fixedSizeWindowKeepsItsSize() {
        {
            QWidget w;
            w.setFixedSize(300, 200);
            w.move(40, 40);
            WindowStateBinder::attach(&w, janela::EndCobranca, ini());
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.close();
        }
        const IniFile file(ini());
        QVERIFY(file.value(u"EndCobranca"_s, u"XPos"_s).has_value());
        QVERIFY(!file.value(u"EndCobranca"_s, u"Width"_s).has_value());
    }

    void maximisedWindowReopensMaximised() {
        {
            QWidget w;
            w.setGeometry(10, 10, 300, 200);
            WindowStateBinder::attach(&w, janela::Main, ini());
            w.showMaximized();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QTRY_VERIFY(w.isMaximized());
            w.close();
        }
        QCOMPARE(IniFile(ini()).readString(u"Main"_s, u"Maximize"_s), u"Yes"_s);
        QWidget again;
        WindowStateBinder::attach(&again, janela::Main, ini());
        again.show();
        QTRY_VERIFY(again.isMaximized());
        again.close();
    }

    void neverSavedWindowKeepsItsOwnPlace() {
        QWidget w;
        w.setGeometry(70, 80, 320, 240);
        WindowStateBinder::attach(&w, janela::RelatorioContasReceber, ini());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.geometry(), QRect(70, 80, 320, 240));
        w.hide(); // hidden, not closed: nothing saved
        QVERIFY(!IniFile(ini()).value(u"RelCTR"_s, u"Maximize"_s).has_value());
    }
};

QAV_TEST_MAIN(TestGuiWindowStateBinder)
#include "tst_gui_windowstatebinder.moc"
