#pragma once
// What may name a data folder: a plain folder name beside the program folder, never a path. The
// company-selection window (new folders) and the upgrade tool (its folder argument) share this rule
// and its message, so that neither can be led to write tables outside the data folders.

#include <QString>

namespace qav {

// Longest name the company selection offers and remembers in qav.cfg.
inline constexpr int pastaMaxLength = 8;
// Longest folder name the upgrade tool takes on its command line.
inline constexpr int pastaArgumentoMaxLength = 20;

inline const QString textoPastaInvalida = QStringLiteral("Nome de pasta inválido!");

// 1 to `maxLength` characters; no path separators, drive letters or "." / ".."; none of the
// characters the platform refuses in file names; no leading or trailing blank, no trailing dot.
bool validFolderName(const QString& pasta, int maxLength = pastaMaxLength);

} // namespace qav
