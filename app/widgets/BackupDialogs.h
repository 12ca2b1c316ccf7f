#pragma once
// The "Cópia de Segurança" and "Restaura Cópia de Segurança" entries of the main frame: the user
// chooses the archive, the work runs on the caller's thread, and the outcome is shown in a message
// box. Both return true when they completed; the caller then ends the program, so that no table
// stays open over the files a restore replaced.

#include <QString>
#include <optional>

class QWidget;

namespace qav {

// The data folder backed up and restored when the caller names none: "..\dados" from the current
// (program) folder.
QString defaultBackupDataFolder();

bool copiaDeSeguranca(QWidget* parent, const QString& dataFolder = {});
bool restauraCopia(QWidget* parent, const QString& dataFolder = {});

// Test hook: the next file dialog answers this file name without appearing (an empty name answers
// as a cancelled dialog).
void setNextBackupFileName(std::optional<QString> fileName);
// The file name the last dialog proposed (what the user would have seen in it).
QString lastProposedBackupFileName();

} // namespace qav
