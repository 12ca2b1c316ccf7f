// Folder creation and the settings-store write of the utility library.
#include "base/core/Utils.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace qav;

class TestUtils : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void createDirMakesParents();
    void createDirOnExistingFolderIsTrue();
    void createDirRefusesAFileAndEmptyName();
    void gravaRegistroRecordsTheFourTexts();
};

void TestUtils::createDirMakesParents() {
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("a/b/dados"));
    QVERIFY(CREATEDIR(folder));
    QVERIFY(QFileInfo(folder).isDir());
}

void TestUtils::createDirOnExistingFolderIsTrue() {
    QTemporaryDir root;
    QVERIFY(CREATEDIR(root.path()));
}

void TestUtils::createDirRefusesAFileAndEmptyName() {
    QTemporaryDir root;
    const QString taken = root.filePath(QStringLiteral("dados"));
    QFile file(taken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(!CREATEDIR(taken));
    QVERIFY(!CREATEDIR(root.filePath(QStringLiteral("dados/sub"))));
    QVERIFY(!CREATEDIR(QString()));
    QVERIFY(!CREATEDIR(QStringLiteral("   ")));
}

void TestUtils::gravaRegistroRecordsTheFourTexts() {
    QVERIFY(GRAVAREGISTRO(QStringLiteral("gerente"), QStringLiteral("QAV.Hub"), QStringLiteral("Ativo"),
                          QStringLiteral("1")));
    QCOMPARE(leRegistro(QStringLiteral("gerente"), QStringLiteral("QAV.Hub"), QStringLiteral("Ativo")),
             QStringLiteral("1"));
    QVERIFY(GRAVAREGISTRO(QStringLiteral("gerente"), QStringLiteral("QAV.Hub"), QStringLiteral("Ativo"),
                          QStringLiteral("0")));
    QCOMPARE(leRegistro(QStringLiteral("gerente"), QStringLiteral("QAV.Hub"), QStringLiteral("Ativo")),
             QStringLiteral("0"));
    // A "/" inside a text does not open another level of the store.
    QVERIFY(
        GRAVAREGISTRO(QStringLiteral("a/b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("x")));
    QCOMPARE(leRegistro(QStringLiteral("a/b"), QStringLiteral("c"), QStringLiteral("d")),
             QStringLiteral("x"));
    QVERIFY(leRegistro(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")).isEmpty());
    QVERIFY(
        leRegistro(QStringLiteral("gerente"), QStringLiteral("QAV.Hub"), QStringLiteral("Outro")).isEmpty());
}

QAV_TEST_GUILESS_MAIN(TestUtils)
#include "tst_utils.moc"
