#pragma once
// The build of the program and the table structure version it needs. qavplus upgrades a data folder
// whose bd.ver is lower than versaoBdRequerida; qavbd writes it there after the upgrade.

#include <QStringView>

namespace qav {

// 187: the case-insensitive keys sort names as if written without accents ("São Paulo" before
// "Sorocaba"); folders of 186 and earlier keep their keys in the older form and are upgraded.
inline constexpr int versaoBdRequerida = 187;
// "2026." followed by the build number; shown in the frame caption and sent in the server's log rows.
inline constexpr QStringView versaoPrograma = u"2026.187";

} // namespace qav
