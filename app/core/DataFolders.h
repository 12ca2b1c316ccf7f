#pragma once
// The data folders beside the program folder: each holds the tables of one local database. The
// folders offered for choice are remembered in qav.cfg ("Pasta 1" .. "Pasta 9"); "dados" is always
// offered, and a remembered folder that no longer exists is dropped.

#include "base/core/FolderName.h"
#include "base/core/Settings.h"

#include <QString>
#include <QStringList>

namespace qav {

inline const QString pastaPrincipal = QStringLiteral("dados");

// Absolute path of the data folder `pasta`, a sibling of the program folder.
QString dataFolderPath(const QString& programFolder, const QString& pasta);
bool dataFolderExists(const QString& programFolder, const QString& pasta);

// "dados" and every numbered folder that is not blank and exists, sorted without regard to case,
// each name once.
QStringList buildFolderList(const Settings& settings);
// Adds a name to a folder list, keeping it sorted.
QStringList withFolder(QStringList list, const QString& pasta);
// The nine numbered keys as they are written back: key n holds the n-th folder of the sorted list
// other than "dados" (which is always offered and needs no key); the keys left over are empty.
QStringList numberedFolderKeys(const QStringList& list);
// Writes the folder list and the current folder to qav.cfg.
void saveFolderList(const Settings& settings, const QStringList& list, const QString& current);
// How many folders besides "dados" the keys can remember.
bool folderListFull(const QStringList& list);

// Start-up: the main data folder "dados" must exist beside the program folder; it is created when
// missing. False when it cannot be created (or something that is not a folder has its name).
bool ensureMainDataFolder(const QString& programFolder);

// Creates the data folder. 0 on success or when it already exists, otherwise the system's error
// number (shown in "Erro (n) ao criar pasta ...").
int createDataFolder(const QString& programFolder, const QString& pasta);

} // namespace qav
