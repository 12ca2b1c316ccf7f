#include "base/core/WindowState.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qav;
using namespace Qt::StringLiterals;

namespace {

WindowGeometry normal(int x, int y, int w, int h, bool resizable = true) {
    WindowGeometry g;
    g.x = x;
    g.y = y;
    g.width = w;
    g.height = h;
    g.resizable = resizable;
    return g;
}

const WindowGeometry defaults = normal(10, 20, 640, 480);

} // namespace

class TestWindowState : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    int counter = 0;
    // A fresh qavplus.INI for each test.
    IniFile freshIni() { return IniFile(dir.filePath(u"qavplus%1.INI"_s.arg(++counter))); }

private Q_SLOTS:
    void normalWindowRoundTrip() {
        IniFile ini = freshIni();
        QVERIFY(saveWindowState(ini, janela::JanelaPedidos, normal(100, 50, 800, 600)));
        QCOMPARE(ini.readString(u"BrowsePEDIDO"_s, u"Maximize"_s), u"No"_s);
        QCOMPARE(ini.readString(u"BrowsePEDIDO"_s, u"Minimize"_s), u"No"_s);
        const auto restored = restoreWindowState(ini, janela::JanelaPedidos, defaults);
        QVERIFY(restored.has_value());
        QCOMPARE(*restored, normal(100, 50, 800, 600));
    }

    void maximisedReopensMaximised() {
        IniFile ini = freshIni();
        QVERIFY(saveWindowState(ini, janela::Main, normal(100, 50, 800, 600)));
        WindowGeometry maximised = normal(0, 0, 1920, 1080);
        maximised.maximized = true;
        QVERIFY(saveWindowState(ini, janela::Main, maximised));
        QCOMPARE(ini.readString(u"Main"_s, u"Maximize"_s), u"Yes"_s);
        // The maximised size is not the window's size: the position keys are removed.
        QVERIFY(!ini.value(u"Main"_s, u"XPos"_s));
        QVERIFY(!ini.value(u"Main"_s, u"Width"_s));
        const auto restored = restoreWindowState(ini, janela::Main, defaults);
        QVERIFY(restored.has_value());
        QVERIFY(restored->maximized);
        QVERIFY(!restored->minimized);
        QCOMPARE(restored->x, defaults.x);
        QCOMPARE(restored->width, defaults.width);
    }

    void minimisedReopensNormalAtLastPosition() {
        IniFile ini = freshIni();
        QVERIFY(saveWindowState(ini, janela::FichaPedido, normal(10, 10, 300, 300)));
        // Closed minimised after being moved and sized: the normal geometry of this close is kept.
        WindowGeometry minimised = normal(300, 200, 700, 500);
        minimised.minimized = true;
        QVERIFY(saveWindowState(ini, janela::FichaPedido, minimised));
        QCOMPARE(ini.readString(u"UpdatePEDIDO"_s, u"Minimize"_s), u"Yes"_s);
        QCOMPARE(ini.readString(u"UpdatePEDIDO"_s, u"Maximize"_s), u"No"_s);
        const auto restored = restoreWindowState(ini, janela::FichaPedido, defaults);
        QVERIFY(restored.has_value());
        QVERIFY(!restored->minimized);
        QVERIFY(!restored->maximized);
        QCOMPARE(*restored, normal(300, 200, 700, 500));
    }

    void neverSavedRestoresNothing_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("other window only") << QByteArray("[Main]\r\nMaximize=No\r\nXPos=5\r\n");
        QTest::newRow("positions without Maximize")
            << QByteArray("[RelatorioContasReceber]\r\nXPos=5\r\nYPos=6\r\n");
        QTest::newRow("Maximize not Yes or No")
            << QByteArray("[RelatorioContasReceber]\r\nMaximize=1\r\nXPos=5\r\n");
    }
    void neverSavedRestoresNothing() {
        QFETCH(QByteArray, content);
        IniFile ini = freshIni();
        if (!content.isEmpty()) {
            QFile file(ini.path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QVERIFY(!restoreWindowState(ini, janela::RelatorioContasReceber, defaults).has_value());
    }

    void missingNumbersKeepDefaults() {
        IniFile ini = freshIni();
        QVERIFY(ini.writeString(u"RelCTR"_s, u"Maximize"_s, u"No"_s));
        QVERIFY(ini.writeInt(u"RelCTR"_s, u"YPos"_s, 99));
        QVERIFY(ini.writeInt(u"RelCTR"_s, u"Height"_s, 333));
        const auto restored = restoreWindowState(ini, janela::RelatorioContasReceber, defaults);
        QVERIFY(restored.has_value());
        QCOMPARE(*restored, normal(10, 99, 640, 333));
    }

    void nonResizableKeepsNoSizeAndRemovesStaleOnes() {
        IniFile ini = freshIni();
        QVERIFY(ini.writeInt(u"UpdSOCIOS"_s, u"Width"_s, 1234));
        QVERIFY(ini.writeInt(u"UpdSOCIOS"_s, u"Height"_s, 999));
        QVERIFY(saveWindowState(ini, janela::UpdSOCIOS, normal(40, 30, 500, 400, false)));
        QCOMPARE(ini.readInt(u"UpdSOCIOS"_s, u"XPos"_s, -1), 40);
        QCOMPARE(ini.readInt(u"UpdSOCIOS"_s, u"YPos"_s, -1), 30);
        QVERIFY(!ini.value(u"UpdSOCIOS"_s, u"Width"_s));
        QVERIFY(!ini.value(u"UpdSOCIOS"_s, u"Height"_s));
    }

    void nonResizableIgnoresStoredSize() {
        IniFile ini = freshIni();
        QVERIFY(ini.writeString(u"EndEntrega"_s, u"Maximize"_s, u"No"_s));
        QVERIFY(ini.writeInt(u"EndEntrega"_s, u"Width"_s, 1234));
        const WindowGeometry fixed = normal(1, 2, 300, 200, false);
        const auto restored = restoreWindowState(ini, janela::EndEntrega, fixed);
        QVERIFY(restored.has_value());
        QCOMPARE(restored->width, 300);
    }

    void sectionNames() {
        const QStringList all = janela::todas();
        QCOMPARE(all.size(), 26);
        QCOMPARE(all.first(), u"Main"_s);
        QCOMPARE(all.last(), u"BrowsePauta"_s);
        QVERIFY(all.contains(u"browseprodutos"_s));
        QVERIFY(all.contains(u"UpdatePED_ITEN"_s));
        QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), all.size());
    }
};

QAV_TEST_GUILESS_MAIN(TestWindowState)
#include "tst_windowstate.moc"
