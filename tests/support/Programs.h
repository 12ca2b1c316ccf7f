#pragma once
// The programs of this build, for the tests that run them as a user would.

#include <QString>

namespace qav::test {

// Path of a program built in this build tree: "qavbd", "qavtool", "qavplus", "qavdemo".
QString programPath(const QString& name);

} // namespace qav::test
