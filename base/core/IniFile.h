#pragma once
// One INI-style settings file: "[section]" headers and "key=value" lines. Section and key names are
// looked up without regard to case and written with the case the caller gives, so files written by
// older installations (in Windows-1252, names such as "Usuário" or "Pasta 1") stay compatible.
// Every call reads the file afresh, as the platform's profile functions do: two windows writing the
// same file never work on stale copies.

#include <QString>
#include <optional>

namespace qav {

class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    // The value as written (spaces around it removed); nullopt when the file, section or key is
    // missing or the file cannot be read.
    std::optional<QString> value(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // The default applies only when the key is missing; a value that is not a whole number reads 0.
    int readInt(const QString& section, const QString& key, int defaultValue = 0) const;

    // Creates the file, the section and the key when missing and keeps every other line as it was.
    // False when the file cannot be written or the text cannot be stored (a line break, a name that
    // would not read back, a character outside Windows-1252); the file is then left untouched.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);
    // Removes the key; a key that is not there is not an error.
    bool removeKey(const QString& section, const QString& key);

private:
    bool store(const QString& section, const QString& key, const std::optional<QString>& value);

    QString m_path;
};

} // namespace qav
