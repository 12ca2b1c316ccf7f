#include "base/core/FolderName.h"

#include <algorithm>

namespace qav {

bool validFolderName(const QString& pasta, int maxLength) {
    if (pasta.isEmpty() || pasta.size() > maxLength || pasta == QLatin1String(".") ||
        pasta == QLatin1String("..") || pasta.trimmed() != pasta || pasta.endsWith(QLatin1Char('.')))
        return false;
    static const QString refused = QStringLiteral("<>:\"/\\|?*");
    return std::none_of(pasta.begin(), pasta.end(),
                        [](QChar c) { return c.unicode() < 32 || refused.contains(c); });
}

} // namespace qav
