#pragma once
// The test files of one folder share a program (the window tests one of their own): each file
// registers its test under its own name ("tst_edicaopedido") and the program runs the test its first
// argument names, handing QtTest the rest of the arguments:
//   tests_orders_core tst_edicaopedido [functions] [QtTest options]
// Without a name, or with one the program does not hold, it lists the names it holds and fails.
//
// In a test file, QAV_TEST_MAIN(Class) and QAV_TEST_GUILESS_MAIN(Class) stand where QtTest's
// QTEST_MAIN and QTEST_GUILESS_MAIN would, and make the same application before the test runs:
// QAV_TEST_MAIN a QApplication when the program links the widgets, a QGuiApplication when it links
// only the GUI module, a QCoreApplication otherwise; QAV_TEST_GUILESS_MAIN always a QCoreApplication.
// A file with a main of its own (an application of its own, a child mode) registers it with
// QAV_TEST_MAIN_FUNCTION(function or capture-less lambda taking argc and argv).

#include <QString>
#include <QTest>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
#endif

namespace qav::test {

using TestMainFunction = int (*)(int argc, char** argv);

// Registers `run` under the base name of `sourceFile` (the file's __FILE__) while the program
// starts; a name registered twice ends the program at once.
bool registerTestMain(const char* sourceFile, TestMainFunction run);

// The name of the test the program runs. A test that starts its own program again as a child passes
// it as the child's first argument, so that the child runs the same test file.
QString currentTestName();

// The program's main: runs the test its first argument names with the remaining arguments.
int runRegisteredTest(int argc, char** argv);

} // namespace qav::test

#define QAV_TEST_MAIN_FUNCTION(...)                                                                          \
    namespace {                                                                                              \
    [[maybe_unused]] const bool qavTestRegistered = qav::test::registerTestMain(__FILE__, __VA_ARGS__);      \
    }

// The application QtTest's own macros make, with the same attributes.
#define QAV_TEST_APPLICATION(Application)                                                                    \
    Application app(argc, argv);                                                                             \
    app.setAttribute(Qt::AA_Use96Dpi, true);

#if defined(QT_WIDGETS_LIB)
#define QAV_TEST_APPLICATION_SETUP()                                                                         \
    QAV_TEST_APPLICATION(QApplication)                                                                       \
    QTEST_DISABLE_KEYPAD_NAVIGATION
#elif defined(QT_GUI_LIB)
#define QAV_TEST_APPLICATION_SETUP() QAV_TEST_APPLICATION(QGuiApplication)
#else
#define QAV_TEST_APPLICATION_SETUP() QAV_TEST_APPLICATION(QCoreApplication)
#endif

// What QtTest's main does for a test class, in a function of the file's own: the class's initMain()
// first, then the application, then the test with the file's folder as its source path (QFINDTESTDATA).
#define QAV_TEST_MAIN_WITH(TestObject, ...)                                                                  \
    namespace {                                                                                              \
    int qavTestMain(int argc, char** argv) {                                                                 \
        TESTLIB_SELFCOVERAGE_START(#TestObject)                                                              \
        QTest::Internal::callInitMain<TestObject>();                                                         \
        __VA_ARGS__                                                                                          \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }                                                                                                        \
    }                                                                                                        \
    QAV_TEST_MAIN_FUNCTION(qavTestMain)

#define QAV_TEST_MAIN(TestObject) QAV_TEST_MAIN_WITH(TestObject, QAV_TEST_APPLICATION_SETUP())
#define QAV_TEST_GUILESS_MAIN(TestObject)                                                                    \
    QAV_TEST_MAIN_WITH(TestObject, QAV_TEST_APPLICATION(QCoreApplication))
