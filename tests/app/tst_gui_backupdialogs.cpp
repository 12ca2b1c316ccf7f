// The backup and restore entries of the main frame: cancelling does nothing, success returns true
// (the caller ends the program), refusals and the confirmation leave the folder alone.
#include "app/widgets/BackupDialogs.h"
#include "base/core/IniFile.h"
#include "store/core/Clock.h"
#include "store/core/Connection.h"
#include "store/core/Table.h"
#include "tests/support/TempDataFolder.h"
#include "tests/support/TestMain.h"
#include "ui/widgets/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace qav;

namespace {

std::int64_t countOf(const QString& folder, const char* table) {
    Store store(folder);
    Table t(store, table);
    return t.open() ? t.count().value_or(-1) : -1;
}

void addGrupo(const QString& folder, int id) {
    Store store(folder);
    Table grupo(store, "grupo");
    QVERIFY(grupo.open());
    grupo.rec().setInteger("ID_EMPRESA", 1);
    grupo.rec().setInteger("ID", id);
    grupo.rec().setText("NOME", QStringLiteral("Ferragens %1").arg(id));
    QCOMPARE(grupo.add(), Status::Ok);
}

} // namespace

class TestBackupDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { MessageBox::clearShown(); }
    void cancelledDialogsDoNothing();
    void backupThenRestore();
    void foreignArchiveIsRefusedWithAMessage();
    void restoreNotConfirmedChangesNothing();
    void namesFollowTheClock();
    void folderLeftByAFailedUpgradeIsBackedUpAndRestored();
};

void TestBackupDialogs::cancelledDialogsDoNothing() {
    test::TempDataFolder folder;
    setNextBackupFileName(QString());
    QVERIFY(!copiaDeSeguranca(nullptr, folder.path()));
    setNextBackupFileName(QString());
    QVERIFY(!restauraCopia(nullptr, folder.path()));
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestBackupDialogs::backupThenRestore() {
    test::TempDataFolder folder;
    addGrupo(folder.path(), 1);
    QTemporaryDir elsewhere;
    setNextBackupFileName(elsewhere.filePath(QStringLiteral("copia"))); // ".zip" is added
    MessageBox::setNextAnswers({Button::Ok});
    QVERIFY(copiaDeSeguranca(nullptr, folder.path()));
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    QVERIFY(QFile::exists(archive));
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().front().caption, QStringLiteral("Aviso"));
    QVERIFY(MessageBox::shown().front().text.contains(QDir::toNativeSeparators(archive)));

    addGrupo(folder.path(), 2);
    QCOMPARE(countOf(folder.path(), "grupo"), 2);
    MessageBox::clearShown();
    setNextBackupFileName(archive);
    MessageBox::setNextAnswers({Button::Yes, Button::Ok});
    QVERIFY(restauraCopia(nullptr, folder.path()));
    QCOMPARE(countOf(folder.path(), "grupo"), 1);
    const auto boxes = MessageBox::shown();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes[0].caption, QStringLiteral("Confirma"));
    QCOMPARE(boxes[0].defaultButton, Button::No);
    QCOMPARE(boxes[1].caption, QStringLiteral("Aviso"));
    QVERIFY(boxes[1].text.contains(QStringLiteral("-anterior-")));
    // The kept copy lies beside the temporary folder: remove it with it.
    QDir parent(folder.path());
    parent.cdUp();
    const QStringList kept =
        parent.entryList({QDir(folder.path()).dirName() + QStringLiteral("-anterior-*")}, QDir::Dirs);
    QCOMPARE(kept.size(), 1);
    QVERIFY(QDir(parent.filePath(kept.front())).removeRecursively());
}

void TestBackupDialogs::foreignArchiveIsRefusedWithAMessage() {
    test::TempDataFolder folder;
    addGrupo(folder.path(), 1);
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("fotos.zip"));
    QFile file(archive);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not an archive");
    file.close();
    setNextBackupFileName(archive);
    MessageBox::setNextAnswers({Button::Ok});
    QVERIFY(!restauraCopia(nullptr, folder.path()));
    QCOMPARE(MessageBox::shown().size(), 1); // no confirmation asked for a refused archive
    QCOMPARE(MessageBox::shown().front().caption, QStringLiteral("Erro"));
    QCOMPARE(MessageBox::shown().front().icon, Icon::Critical);
    QCOMPARE(countOf(folder.path(), "grupo"), 1);
}

void TestBackupDialogs::restoreNotConfirmedChangesNothing() {
    test::TempDataFolder folder;
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    setNextBackupFileName(archive);
    MessageBox::setNextAnswers({Button::Ok});
    QVERIFY(copiaDeSeguranca(nullptr, folder.path()));
    addGrupo(folder.path(), 1);
    MessageBox::clearShown();
    setNextBackupFileName(archive);
    MessageBox::setNextAnswers({Button::No});
    QVERIFY(!restauraCopia(nullptr, folder.path()));
    QCOMPARE(countOf(folder.path(), "grupo"), 1);
    QDir parent(folder.path());
    parent.cdUp();
    QVERIFY(parent.entryList({QDir(folder.path()).dirName() + QStringLiteral("-anterior-*")}, QDir::Dirs)
                .isEmpty());
}

void TestBackupDialogs::namesFollowTheClock() {
    Clock::setOverride([] { return DateTimeParts{Date::fromYmd(2025, 12, 31), 23, 59, 58}; });
    test::TempDataFolder folder;
    addGrupo(folder.path(), 1);
    setNextBackupFileName(QString());
    QVERIFY(!copiaDeSeguranca(nullptr, folder.path()));
    QCOMPARE(QFileInfo(lastProposedBackupFileName()).fileName(), QStringLiteral("QAV_2025-12-31.zip"));

    // The restore keeps the replaced files in a folder named with the clock's date and time.
    QTemporaryDir elsewhere;
    const QString archive = elsewhere.filePath(QStringLiteral("copia.zip"));
    setNextBackupFileName(archive);
    MessageBox::setNextAnswers({Button::Ok});
    QVERIFY(copiaDeSeguranca(nullptr, folder.path()));
    setNextBackupFileName(archive);
    MessageBox::setNextAnswers({Button::Yes, Button::Ok});
    QVERIFY(restauraCopia(nullptr, folder.path()));
    Clock::setOverride({});
    QDir parent(folder.path());
    parent.cdUp();
    const QString kept = QDir(folder.path()).dirName() + QStringLiteral("-anterior-2025-12-31_23-59-58");
    QVERIFY(parent.exists(kept));
    QVERIFY(QDir(parent.filePath(kept)).removeRecursively());
}

// A failed upgrade can leave a damaged table and an old one behind: the backup keeps them as they
// are, and a good copy can be restored over them.
void TestBackupDialogs::folderLeftByAFailedUpgradeIsBackedUpAndRestored() {
    test::TempDataFolder folder;
    addGrupo(folder.path(), 1);
    QTemporaryDir elsewhere;
    const QString good = elsewhere.filePath(QStringLiteral("boa.zip"));
    setNextBackupFileName(good);
    MessageBox::setNextAnswers({Button::Ok});
    QVERIFY(copiaDeSeguranca(nullptr, folder.path()));

    const QByteArray damaged(4096, 'x');
    QFile clientes(folder.filePath("clientes.tps"));
    QVERIFY(clientes.open(QIODevice::WriteOnly | QIODevice::Truncate));
    clientes.write(damaged);
    clientes.close();
    QVERIFY(QFile::remove(folder.filePath("produto.tps")));
    {
        StoreError error;
        auto old = Connection::open(folder.filePath("produto.tps"), true, &error);
        QVERIFY(old);
        QVERIFY(old->exec("CREATE TABLE produto (ID INTEGER, NOME TEXT); INSERT INTO produto VALUES (1, 'x')",
                          &error));
    }

    MessageBox::clearShown();
    const QString asItIs = elsewhere.filePath(QStringLiteral("danificada.zip"));
    setNextBackupFileName(asItIs);
    MessageBox::setNextAnswers({Button::Ok});
    QVERIFY(copiaDeSeguranca(nullptr, folder.path()));
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().front().caption, QStringLiteral("Aviso"));
    QVERIFY(
        MessageBox::shown().front().text.contains(QStringLiteral("copiadas como estavam: clientes.tps.")));

    setNextBackupFileName(good);
    MessageBox::setNextAnswers({Button::Yes, Button::Ok});
    QVERIFY(restauraCopia(nullptr, folder.path()));
    QCOMPARE(countOf(folder.path(), "grupo"), 1);
    QCOMPARE(countOf(folder.path(), "clientes"), 0);
    QCOMPARE(countOf(folder.path(), "produto"), 0);
    // The damaged file was kept beside the folder, byte for byte.
    QDir parent(folder.path());
    parent.cdUp();
    const QStringList kept =
        parent.entryList({QDir(folder.path()).dirName() + QStringLiteral("-anterior-*")}, QDir::Dirs);
    QCOMPARE(kept.size(), 1);
    QFile keptClientes(parent.filePath(kept.front()) + QStringLiteral("/clientes.tps"));
    QVERIFY(keptClientes.open(QIODevice::ReadOnly));
    QCOMPARE(keptClientes.readAll(), damaged);
    keptClientes.close();
    QVERIFY(QDir(parent.filePath(kept.front())).removeRecursively());
}

QAV_TEST_MAIN(TestBackupDialogs)
#include "tst_gui_backupdialogs.moc"
