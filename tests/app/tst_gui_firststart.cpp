// How qavplus finds its program folder: the current folder from a shell, the user's own from the
// menu (with the demonstration folder offered on the first start), or the one named; and the
// answers it gives without a window.

#include "app/core/CommandLine.h"
#include "app/core/DataFolders.h"
#include "app/core/DatabaseUpgrade.h"
#include "app/widgets/FirstStart.h"
#include "app/widgets/Startup.h"
#include "base/core/Settings.h"
#include "base/core/Version.h"
#include "tests/support/Programs.h"
#include "tests/support/TestMain.h"
#include "ui/widgets/MessageBox.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace qav;
using namespace Qt::StringLiterals;

class TestGuiFirstStart : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> home; // a new user's home for each case

    void useRealQavbd() {
        setUpgradeRunner([](const QString& programFolder, const QString& pasta) {
            return runUpgradeTool(test::programPath(u"qavbd"_s), programFolder, pasta);
        });
    }

private Q_SLOTS:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(home->isValid());
        qputenv("XDG_DATA_HOME", home->filePath(u"share"_s).toLocal8Bit());
        MessageBox::clearShown();
    }
    void cleanup() { setUpgradeRunner({}); }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<bool>("userFolder");
        using A = CommandLine::Action;
        QTest::newRow("none") << QStringList{} << int(A::Run) << QString() << false;
        QTest::newRow("menu") << QStringList{u"--menu"_s} << int(A::Run) << QString() << true;
        QTest::newRow("folder") << QStringList{u"--pasta-programa"_s, u"/x/pgms"_s} << int(A::Run)
                                << u"/x/pgms"_s << false;
        QTest::newRow("folder=") << QStringList{u"--pasta-programa=pgms"_s} << int(A::Run) << u"pgms"_s
                                 << false;
        QTest::newRow("folder missing")
            << QStringList{u"--pasta-programa"_s} << int(A::Error) << QString() << false;
        QTest::newRow("menu and folder")
            << QStringList{u"--menu"_s, u"--pasta-programa"_s, u"p"_s} << int(A::Error) << u"p"_s << true;
        QTest::newRow("version") << QStringList{u"--version"_s} << int(A::Version) << QString() << false;
        QTest::newRow("help") << QStringList{u"-h"_s} << int(A::Help) << QString() << false;
        QTest::newRow("unknown option") << QStringList{u"--pasta"_s} << int(A::Error) << QString() << false;
        QTest::newRow("stray argument") << QStringList{u"dados"_s} << int(A::Error) << QString() << false;
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, programFolder);
        QFETCH(bool, userFolder);
        const CommandLine line = parseCommandLine(arguments);
        QCOMPARE(int(line.action), action);
        QCOMPARE(line.error.isEmpty(), action != int(CommandLine::Action::Error));
        if (action != int(CommandLine::Action::Error)) {
            QCOMPARE(line.programFolder, programFolder);
            QCOMPARE(line.userFolder, userFolder);
        }
    }

    // From the menu, a new user gets a program folder of their own with an empty data folder that
    // qavbd prepared; the demonstration folder, when accepted, becomes the one the program opens.
    void firstStartFromTheMenu_data() {
        QTest::addColumn<bool>("acceptDemo");
        QTest::newRow("demo accepted") << true;
        QTest::newRow("demo declined") << false;
    }

    void firstStartFromTheMenu() {
        QFETCH(bool, acceptDemo);
        CommandLine line;
        line.userFolder = true;
        const ProgramFolder folder = resolveProgramFolder(line, home->path());
        QVERIFY(folder.error.isEmpty());
        QVERIFY(folder.created);
        QCOMPARE(folder.path, home->filePath(u"share/qavplus/pgms"_s));
        QVERIFY(QFileInfo(folder.path).isDir());

        useRealQavbd();
        const Settings settings(folder.path);
        QCOMPARE(prepareStart(settings), 0);
        QCOMPARE(settings.versaoBd(pastaPrincipal), versaoBdRequerida);
        QVERIFY(QFile::exists(dataFolderPath(folder.path, pastaPrincipal) + u"/pedidos.tps"_s));

        MessageBox::setNextAnswers({acceptDemo ? Button::Yes : Button::No});
        QVERIFY(offerDemoFolder(folder.path, test::programPath(u"qavdemo"_s)));
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().at(0).text.contains(u"demonstração"_s));
        const QString demo = dataFolderPath(folder.path, u"demo"_s);
        QCOMPARE(QFile::exists(demo + u"/pedidos.tps"_s), acceptDemo);
        QCOMPARE(Settings(folder.path).pasta(), acceptDemo ? u"demo"_s : pastaPrincipal);

        // The next start finds the folder: nothing is offered again.
        QVERIFY(!resolveProgramFolder(line, home->path()).created);
    }

    void demoThatCannotBeMadeIsReported() {
        const QString programFolder = home->filePath(u"pgms"_s);
        QVERIFY(QDir().mkpath(programFolder));
        MessageBox::setNextAnswers({Button::Yes, Button::Ok});
        QVERIFY(!offerDemoFolder(programFolder, home->filePath(u"nenhum/qavdemo"_s)));
        QCOMPARE(MessageBox::shown().size(), 2);
        QCOMPARE(MessageBox::shown().at(1).caption, u"Erro"_s);
        QVERIFY(!QFile::exists(dataFolderPath(programFolder, u"demo"_s)));
    }

    void programFolderThatIsAFileIsRefused() {
        QFile file(home->filePath(u"arquivo"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        CommandLine line;
        line.programFolder = u"arquivo"_s;
        const ProgramFolder folder = resolveProgramFolder(line, home->path());
        QVERIFY(!folder.error.isEmpty());
        QVERIFY(!folder.created);
    }

    // The installed program answers --version and --help without a display, in Portuguese.
    void programAnswersWithoutAWindow() {
        const auto run = [](const QStringList& args, int expectedExit) {
            QProcess qavplus;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(u"QT_QPA_PLATFORM"_s);
            env.remove(u"DISPLAY"_s);
            qavplus.setProcessEnvironment(env);
            qavplus.start(test::programPath(u"qavplus"_s), args);
            if (!qavplus.waitForFinished(30000))
                return QString(u"(did not end)"_s);
            if (qavplus.exitCode() != expectedExit)
                return QString(u"(exit %1)"_s).arg(qavplus.exitCode());
            return QString::fromUtf8(qavplus.readAllStandardOutput() + qavplus.readAllStandardError());
        };
        QCOMPARE(run({u"--version"_s}, 0), u"qavplus "_s + versaoPrograma.toString() + u'\n');
        const QString help = run({u"--help"_s}, 0);
        QVERIFY2(help.startsWith(u"Uso: qavplus"_s), qPrintable(help));
        QVERIFY(help.contains(u"--pasta-programa"_s));
        QVERIFY(run({u"--pastaprograma"_s}, 2).contains(u"opção desconhecida"_s));
    }
};

QAV_TEST_MAIN(TestGuiFirstStart)
#include "tst_gui_firststart.moc"
