#pragma once
// What the tests that kill a working child process share: the child's progress lines, the moments
// drawn to kill it at, and the round itself (start this test program as a child, kill it at the
// moment, see it end).

#include "tests/support/TestMain.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>
#include <QTest>

namespace qav::test {

// The child's side: after `done` of `total` items, a line "at <done>" every `step` items, and
// "committing" once the last one is written.
void reportProgress(int done, int total, int step);

// Reads the child's lines until `line` comes; false when the child ends or stays silent first.
bool waitForLine(QProcess& child, const QByteArray& line);

// The kill moments come from a seed that the test prints; QAV_KILL_SEED gives it back to replay
// the moments of a failed run.
quint32 killSeed();

// A moment to kill the child at: `delayMs` after it prints `line`.
struct KillMoment {
    QByteArray line;
    int delayMs = 0;
    QString text; // names the moment in messages, with the seed and round that draw it again
};

// The moments of one kill test, drawn from killSeed() (printed once, when the moments are made) for a
// child that writes `total` items and tells every `step`. `label` starts each moment's text.
class KillMoments {
public:
    KillMoments(int total, int step, QString label = {});

    quint32 seed() const { return m_seed; }
    QRandomGenerator& random() { return m_random; }
    int marks() const { return m_total / m_step; }

    // Rounds 1 and 2 a little after a progress line in the middle of the items, rounds 3 and 4 a
    // little after "committing", around the commit.
    KillMoment draw(int round);
    // `delayMs` after progress line `mark` (1 to marks()), or after "committing" past the last.
    KillMoment at(int round, int mark, int delayMs) const;

private:
    int m_total;
    int m_step;
    QString m_label;
    quint32 m_seed;
    QRandomGenerator m_random;
};

// Starts this test program as a child with "<test> --child <mode> <folder>" (<test> the running test's
// name, so that the child runs the same test file), kills it at `moment` and waits
// for it to end. Empty when it was killed, or had already ended by itself with exit code 0; otherwise
// what went wrong (it did not start, never printed the line, did not end, or failed).
QString killChildAt(const QString& mode, const QString& folder, const KillMoment& moment);

// The main of a test that kills its own program as a child: started with "--child <mode> <folder>"
// (after the test's name) it runs `childMain` (what the child does, its exit code), otherwise the
// tests of `Test`. QAV_KILL_TEST_MAIN(Test, childMain) registers it as the file's test.
template <typename Test>
int killTestMain(int argc, char** argv, int (*childMain)(const QString& mode, const QString& folder)) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return childMain(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace qav::test

#define QAV_KILL_TEST_MAIN(Test, childMain)                                                                  \
    QAV_TEST_MAIN_FUNCTION(                                                                                  \
        [](int argc, char** argv) { return qav::test::killTestMain<Test>(argc, argv, childMain); })
