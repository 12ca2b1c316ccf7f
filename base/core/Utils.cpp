#include "base/core/Utils.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace qav {

namespace {

QString settingsKey(const QString& area, const QString& key, const QString& name) {
    // "/" separates groups in the settings store; the parts themselves must not add levels.
    const auto part = [](QString text) { return text.replace(QLatin1Char('/'), QLatin1Char('_')); };
    return part(area) + QLatin1Char('/') + part(key) + QLatin1Char('/') + part(name);
}

} // namespace

bool CREATEDIR(const QString& folder) {
    if (folder.trimmed().isEmpty())
        return false;
    QDir().mkpath(folder);
    return QFileInfo(folder).isDir();
}

bool GRAVAREGISTRO(const QString& area, const QString& key, const QString& name, const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QAV"),
                       QStringLiteral("QAVPlus"));
    settings.setValue(settingsKey(area, key, name), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString leRegistro(const QString& area, const QString& key, const QString& name) {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QAV"),
                             QStringLiteral("QAVPlus"));
    return settings.value(settingsKey(area, key, name)).toString();
}

} // namespace qav
