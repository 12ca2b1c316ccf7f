#pragma once
// The build of the program and the table structure version it needs. qavplus upgrades a data folder
// whose bd.ver is lower than versaoBdRequerida; qavbd writes it there after the upgrade.

#include <QStringView>

namespace qav {

inline constexpr int versaoBdRequerida = 186;
// "2026." followed by the build number; shown in the frame caption and sent in the server's log rows.
inline constexpr QStringView versaoPrograma = u"2026.186";

} // namespace qav
