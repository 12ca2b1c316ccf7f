#include "tests/support/KillTest.h"

#include <QCoreApplication>
#include <QTest>
#include <cstdio>
#include <utility>

namespace qav::test {

void reportProgress(int done, int total, int step) {
    if (done % step == 0)
        std::printf("at %d\n", done);
    if (done == total)
        std::puts("committing");
    std::fflush(stdout);
}

bool waitForLine(QProcess& child, const QByteArray& line) {
    while (true) {
        while (child.canReadLine())
            if (child.readLine().trimmed() == line)
                return true;
        if (!child.waitForReadyRead(30000))
            return false;
    }
}

quint32 killSeed() {
    bool given = false;
    const quint32 seed = qEnvironmentVariable("QAV_KILL_SEED").toUInt(&given);
    return given ? seed : QRandomGenerator::global()->generate();
}

KillMoments::KillMoments(int total, int step, QString label)
    : m_total(total), m_step(step), m_label(std::move(label)), m_seed(killSeed()), m_random(m_seed) {
    qInfo("kill moments drawn from seed %u (QAV_KILL_SEED=%u draws them again)", m_seed, m_seed);
}

KillMoment KillMoments::draw(int round) {
    const bool midItems = round <= 2;
    const int mark = midItems ? static_cast<int>(m_random.bounded(1, marks())) : marks() + 1;
    const int delayMs = static_cast<int>(midItems ? m_random.bounded(20) : m_random.bounded(40));
    return at(round, mark, delayMs);
}

KillMoment KillMoments::at(int round, int mark, int delayMs) const {
    KillMoment moment;
    moment.line =
        mark > marks() ? QByteArray("committing") : QByteArray("at ") + QByteArray::number(mark * m_step);
    moment.delayMs = delayMs;
    moment.text = QStringLiteral("seed %1, round %2: %3 ms after \"%4\"")
                      .arg(m_seed)
                      .arg(round)
                      .arg(delayMs)
                      .arg(QString::fromLatin1(moment.line));
    if (!m_label.isEmpty())
        moment.text = m_label + QStringLiteral(", ") + moment.text;
    return moment;
}

QString killChildAt(const QString& mode, const QString& folder, const KillMoment& moment) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {currentTestName(), QStringLiteral("--child"), mode, folder});
    if (!child.waitForStarted())
        return QStringLiteral("%1: the child did not start (%2)").arg(moment.text, child.errorString());
    if (!waitForLine(child, moment.line))
        return QStringLiteral("%1: the child never printed the line").arg(moment.text);
    QTest::qWait(moment.delayMs); // the moment itself, not a wait for something
    child.kill();
    child.waitForFinished(); // false when the child had already ended by itself
    if (child.state() != QProcess::NotRunning)
        return QStringLiteral("%1: the child is still running").arg(moment.text);
    if (child.exitStatus() == QProcess::NormalExit && child.exitCode() != 0)
        return QStringLiteral("%1: the child failed with exit code %2")
            .arg(moment.text)
            .arg(child.exitCode());
    return {};
}

} // namespace qav::test
