#include "platform/IniFile.h"

#include <QFileInfo>

#include "platform/Convert.h"

#include <optional>

namespace platform {

namespace {

// The name of a "[name]" line, or nothing when the line is no section header.
std::optional<QStringView> sectionName(QStringView line)
{
    line = line.trimmed();
    if (!line.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = line.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return line.sliced(1, close - 1).trimmed();
}

// The key of a "key=value" line; nothing for comments and lines without "=".
std::optional<QStringView> keyName(QStringView line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0 || line.trimmed().startsWith(u';'))
        return std::nullopt;
    return line.first(eq).trimmed();
}

} // namespace

IniFile::IniFile(const QString& path) : m_path(path)
{
    // A missing file is an empty one; a file that exists but cannot be read is never overwritten.
    m_unreadable = !m_lines.loadFromFile(path) && QFileInfo::exists(path);
}

int IniFile::findSection(const QString& section) const
{
    const QStringView wanted = QStringView(section).trimmed();
    for (int i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i]);
        if (name && name->compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key) const
{
    const QStringView wanted = QStringView(key).trimmed();
    for (int i = sectionLine + 1; i < m_lines.size() && !sectionName(m_lines[i]); ++i) {
        const auto name = keyName(m_lines[i]);
        if (name && name->compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const int sectionLine = findSection(section);
    const int keyLine = sectionLine < 0 ? -1 : findKey(sectionLine, key);
    if (keyLine < 0)
        return defaultValue;
    const QString& line = m_lines[keyLine];
    return line.sliced(line.indexOf(u'=') + 1).trimmed();
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    return StrToInt(readString(section, key, QString())).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    const int sectionLine = findSection(section);
    return sectionLine >= 0 && findKey(sectionLine, key) >= 0;
}

bool IniFile::sectionExists(const QString& section) const
{
    return findSection(section) >= 0;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString line = key.trimmed() + u'=' + value;
    int sectionLine = findSection(section);
    if (sectionLine < 0) {
        m_lines.append(u'[' + section.trimmed() + u']');
        sectionLine = int(m_lines.size()) - 1;
    }
    if (const int keyLine = findKey(sectionLine, key); keyLine >= 0) {
        m_lines[keyLine] = line;
    } else {
        // After the section's last non-blank line, so that a blank line before the next section stays
        // there.
        int last = sectionLine;
        for (int i = sectionLine + 1; i < m_lines.size() && !sectionName(m_lines[i]); ++i) {
            if (!m_lines[i].trimmed().isEmpty())
                last = i;
        }
        m_lines.insert(last + 1, line);
    }
    return updateFile();
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::updateFile()
{
    return !m_unreadable && m_lines.saveToFile(m_path);
}

} // namespace platform
