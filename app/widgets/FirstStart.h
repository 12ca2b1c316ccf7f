#pragma once
// The first start in a user's own program folder: the data folder is empty, so the program offers a
// demonstration folder to look around in before the company's data arrive.

#include <QString>

namespace qav {

// Where qavdemo is looked for: beside the running program.
QString qavdemoExecutable();

// Asks whether to create the demonstration folder "demo" beside `programFolder` and, when the user
// agrees, creates it with qavdemo (found beside this program) and makes it the folder the program
// opens. False only when the user agreed and it could not be created (the user was told why).
bool offerDemoFolder(const QString& programFolder, const QString& qavdemo = qavdemoExecutable());

} // namespace qav
