#pragma once
// What the tests that kill a working child process share: reading the child's progress lines, and
// the seed of the kill moments.

#include <QByteArray>
#include <QProcess>

namespace qav::test {

// Reads the child's lines until `line` comes; false when the child ends or stays silent first.
bool waitForLine(QProcess& child, const QByteArray& line);

// The kill moments come from a seed that the test prints; QAV_KILL_SEED gives it back to replay
// the moments of a failed run.
quint32 killSeed();

} // namespace qav::test
