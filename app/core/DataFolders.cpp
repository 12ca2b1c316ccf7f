#include "app/core/DataFolders.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace qav {

QString dataFolderPath(const QString& programFolder, const QString& pasta) {
    return QDir::cleanPath(QDir(programFolder).absoluteFilePath(QStringLiteral("../") + pasta));
}

bool dataFolderExists(const QString& programFolder, const QString& pasta) {
    return QFileInfo(dataFolderPath(programFolder, pasta)).isDir();
}

namespace {

void sortFolders(QStringList& list) {
    std::sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
        const int byCase = a.compare(b, Qt::CaseInsensitive);
        return byCase != 0 ? byCase < 0 : a < b;
    });
}

} // namespace

QStringList buildFolderList(const Settings& settings) {
    QStringList list{pastaPrincipal};
    for (int n = 1; n <= Settings::pastasNumeradas; ++n) {
        const QString pasta = settings.pastaNumerada(n).trimmed();
        if (pasta.isEmpty() || !validFolderName(pasta) || list.contains(pasta))
            continue;
        if (dataFolderExists(settings.programFolder(), pasta))
            list.append(pasta);
    }
    sortFolders(list);
    return list;
}

QStringList withFolder(QStringList list, const QString& pasta) {
    if (!list.contains(pasta))
        list.append(pasta);
    sortFolders(list);
    return list;
}

QStringList numberedFolderKeys(const QStringList& list) {
    QStringList keys;
    for (const QString& pasta : list)
        if (pasta != pastaPrincipal && keys.size() < Settings::pastasNumeradas)
            keys.append(pasta);
    while (keys.size() < Settings::pastasNumeradas)
        keys.append(QString());
    return keys;
}

void saveFolderList(const Settings& settings, const QStringList& list, const QString& current) {
    const QStringList keys = numberedFolderKeys(list);
    for (int n = 1; n <= Settings::pastasNumeradas; ++n)
        settings.setPastaNumerada(n, keys.at(n - 1));
    settings.setPasta(current);
}

bool folderListFull(const QStringList& list) {
    return list.size() - (list.contains(pastaPrincipal) ? 1 : 0) >= Settings::pastasNumeradas;
}

int createDataFolder(const QString& programFolder, const QString& pasta) {
    std::error_code error;
    const std::filesystem::path path = dataFolderPath(programFolder, pasta).toStdU16String();
    if (std::filesystem::create_directory(path, error) || !error)
        return 0;
    if (std::filesystem::is_directory(path))
        return 0;
    return error.value() != 0 ? error.value() : 1;
}

bool ensureMainDataFolder(const QString& programFolder) {
    return createDataFolder(programFolder, pastaPrincipal) == 0;
}

} // namespace qav
