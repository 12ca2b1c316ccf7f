#include "tests/support/KillTest.h"

#include <QRandomGenerator>

namespace qav::test {

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

} // namespace qav::test
