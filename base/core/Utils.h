#pragma once
// The folder and settings services of the utility library: create a folder with its parents, and
// mark the installation in the program's own platform settings store (the registry on Windows, a
// settings file elsewhere).

#include <QString>

namespace qav {

// Creates the folder and any missing parent; true when the folder exists afterwards (also when it
// existed already), false when it could not be created or the name is taken by a file.
bool CREATEDIR(const QString& folder);

// Records `value` under `area` / `key` / `name` in the settings store of organisation "QAV",
// application "QAVPlus" (the manager hub writes "gerente", "QAV.Hub", "Ativo", "1"). True when the
// store was written.
bool GRAVAREGISTRO(const QString& area, const QString& key, const QString& name, const QString& value);

// Reads back what GRAVAREGISTRO recorded; empty when nothing is there.
QString leRegistro(const QString& area, const QString& key, const QString& name);

} // namespace qav
