#include "base/core/IniFile.h"

#include "store/core/Text.h"

#include <QFile>
#include <QMutex>
#include <QSaveFile>
#include <QStringList>

namespace qav {

namespace {

// Windows on different threads may write the same file; each read-modify-write runs alone so no
// window's value is lost to another's.
QMutex writeMutex;

struct Lines {
    QStringList lines;
    QString newline = QStringLiteral("\r\n");
    bool read = false;
};

Lines load(const QString& path) {
    Lines result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = file.readAll();
    result.read = true;
    QString content = text::decodeUtf8OrWin1252(bytes);
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);
    // Keep the file's own line ending when lines are added.
    if (!content.contains(QStringLiteral("\r\n")) && content.contains(QLatin1Char('\n')))
        result.newline = QStringLiteral("\n");
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.lines = content.split(QLatin1Char('\n'));
    if (!result.lines.isEmpty() && result.lines.last().isEmpty())
        result.lines.removeLast(); // the terminator of the last line
    return result;
}

// The section name of a header line "[name]", or nullopt for any other line.
std::optional<QString> sectionOf(const QString& line) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype end = trimmed.indexOf(QLatin1Char(']'));
    if (end < 0)
        return std::nullopt;
    return trimmed.mid(1, end - 1).trimmed();
}

bool isComment(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

// Key and value of a "key=value" line, or nullopt for blank lines, comments and headers.
std::optional<std::pair<QString, QString>> entryOf(const QString& line) {
    if (isComment(line) || sectionOf(line))
        return std::nullopt;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return std::make_pair(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Position {
    qsizetype header = -1;    // line of the section header, -1 when the section is missing
    qsizetype lastEntry = -1; // last non-blank line of the section (the header when it is empty)
    qsizetype key = -1;       // line of the key, -1 when missing
};

// The first section of that name wins, and in it the first line of that key, as the platform does.
Position locate(const QStringList& lines, const QString& section, const QString& key) {
    Position pos;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionOf(lines[i]);
        if (pos.header < 0) {
            if (name && sameName(*name, section))
                pos.header = pos.lastEntry = i;
            continue;
        }
        if (name)
            break;
        if (!lines[i].trimmed().isEmpty())
            pos.lastEntry = i;
        if (pos.key < 0) {
            const auto entry = entryOf(lines[i]);
            if (entry && sameName(entry->first, key))
                pos.key = i;
        }
    }
    return pos;
}

bool hasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

// Names and values that would not read back as written: a line break splits the line, "=" in a key
// ends the key early, "]" ends a section name, and names are trimmed when read.
bool storable(const QString& section, const QString& key, const std::optional<QString>& value) {
    if (section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return false;
    if (section.trimmed() != section || key.trimmed() != key)
        return false;
    if (hasLineBreak(section) || hasLineBreak(key) || section.contains(QLatin1Char(']')))
        return false;
    if (key.contains(QLatin1Char('=')) || key.startsWith(QLatin1Char('[')) ||
        key.startsWith(QLatin1Char(';')) || key.startsWith(QLatin1Char('#')))
        return false;
    if (value && hasLineBreak(*value))
        return false;
    // The files are Windows-1252: a character outside it would be lost for every older reader.
    return text::isWin1252(section) && text::isWin1252(key) && (!value || text::isWin1252(*value));
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const Lines content = load(m_path);
    const Position pos = locate(content.lines, section, key);
    if (pos.key < 0)
        return std::nullopt;
    return entryOf(content.lines[pos.key])->second;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const {
    const auto text = value(section, key);
    if (!text)
        return defaultValue;
    bool ok = false;
    const int number = text->toInt(&ok, 10);
    return ok ? number : 0;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    return store(section, key, value.trimmed());
}

bool IniFile::writeInt(const QString& section, const QString& key, int value) {
    return store(section, key, QString::number(value));
}

bool IniFile::removeKey(const QString& section, const QString& key) {
    return store(section, key, std::nullopt);
}

bool IniFile::store(const QString& section, const QString& key, const std::optional<QString>& value) {
    if (!storable(section, key, value))
        return false;
    QMutexLocker lock(&writeMutex);
    Lines content = load(m_path);
    if (!content.read && QFile::exists(m_path))
        return false; // present but unreadable: rewriting it would lose its other settings
    QStringList& lines = content.lines;
    const Position pos = locate(lines, section, key);

    if (!value) {
        if (pos.key < 0)
            return true;
        lines.removeAt(pos.key);
    } else {
        const QString line = key + QLatin1Char('=') + *value;
        if (pos.key >= 0) {
            if (lines[pos.key] == line)
                return true;
            lines[pos.key] = line;
        } else if (pos.header >= 0) {
            lines.insert(pos.lastEntry + 1, line);
        } else {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines.append(QString());
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.append(line);
        }
    }

    const QString joined = lines.join(content.newline) + content.newline;
    // Lines kept from a UTF-8 file may hold characters Windows-1252 lacks; the file then stays
    // UTF-8 rather than losing them (the reader accepts both).
    const auto encoded = text::toWin1252(joined);
    const QByteArray bytes = encoded ? *encoded : joined.toUtf8();

    // Written to a temporary file and renamed over the old one: a crash never leaves half a file.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace qav
