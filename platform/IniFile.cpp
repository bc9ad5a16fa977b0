#include "platform/IniFile.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include "platform/Codec.h"
#include "platform/Convert.h"

#include <algorithm>
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

bool sameName(QStringView a, QStringView b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Long enough for another program's read-change-write, short enough that a window waiting for it
// is not taken for hung.
constexpr int kLockWaitMs = 3000;
constexpr int kLockRetryMs = 5;

// QLockFile's own wait doubles its pauses from 100 ms; short pauses keep two busy writers fair.
// A lock left by a program that ended without releasing it is taken over by QLockFile.
bool lockWithin(QLockFile& lock, int waitMs)
{
    const QDeadlineTimer deadline(waitMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(kLockRetryMs);
    }
    return true;
}

} // namespace

IniValue IniValue::text(const QString& section, const QString& key, const QString& value)
{
    return {section, key, value};
}

IniValue IniValue::integer(const QString& section, const QString& key, int value)
{
    return {section, key, QString::number(value)};
}

IniValue IniValue::boolean(const QString& section, const QString& key, bool value)
{
    return {section, key, value ? QStringLiteral("1") : QStringLiteral("0")};
}

IniFile::IniFile(const QString& path) : m_path(path)
{
    // A file that cannot be read gives the defaults; a write reads it again before it changes anything.
    m_readable = load();
}

bool IniFile::load()
{
    if (!QFileInfo::exists(m_path)) {
        m_lines.clear();
        m_bytes.clear();
        return true;
    }
    // Not a regular file (a folder, a pipe, a device) or past the bound: nothing to read, and nothing
    // that may be replaced.
    const std::optional<QByteArray> bytes = readRegularFile(m_path, kMaxIniFileSize);
    if (!bytes)
        return false;
    m_bytes = splitLines(*bytes);
    m_lines.clear();
    m_lines.reserve(m_bytes.size());
    for (const QByteArray& line : std::as_const(m_bytes))
        m_lines.append(Codec::fromCp932(line));
    return true;
}

bool IniFile::save()
{
    QByteArray bytes;
    for (const QByteArray& line : m_bytes) {
        bytes += line;
        bytes += "\r\n";
    }
    // The next read would refuse the file, and with it every setting it holds.
    if (bytes.size() > kMaxIniFileSize) {
        m_error = QStringLiteral("the file would be larger than %1 bytes").arg(kMaxIniFileSize);
        return false;
    }
    return writeFileAtomically(m_path, bytes, &m_error);
}

int IniFile::findSection(const QString& section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key) const
{
    for (int i = sectionLine + 1; i < m_lines.size() && !sectionName(m_lines[i]); ++i) {
        const auto name = keyName(m_lines[i]);
        if (name && sameName(*name, key))
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

void IniFile::setLine(int index, const QString& text)
{
    m_lines[index] = text;
    m_bytes[index] = Codec::toCp932(text);
}

void IniFile::insertLine(int index, const QString& text)
{
    m_lines.insert(index, text);
    m_bytes.insert(index, Codec::toCp932(text));
}

void IniFile::apply(const IniValue& value)
{
    const QString line = value.key.trimmed() + u'=' + value.value;
    int sectionLine = findSection(value.section);
    if (sectionLine < 0) {
        insertLine(int(m_lines.size()), u'[' + value.section.trimmed() + u']');
        sectionLine = int(m_lines.size()) - 1;
    }
    if (const int keyLine = findKey(sectionLine, value.key); keyLine >= 0) {
        setLine(keyLine, line);
        return;
    }
    // After the section's last non-blank line, so that a blank line before the next section stays there.
    int last = sectionLine;
    for (int i = sectionLine + 1; i < m_lines.size() && !sectionName(m_lines[i]); ++i) {
        if (!m_lines[i].trimmed().isEmpty())
            last = i;
    }
    insertLine(last + 1, line);
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeValues({IniValue::integer(section, key, value)});
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeValues({IniValue::boolean(section, key, value)});
}

bool IniFile::writeValues(const QList<IniValue>& values)
{
    for (const IniValue& value : values) {
        // A key waits once, with its latest value, where it was first written.
        const auto waiting = std::find_if(m_pending.begin(), m_pending.end(), [&](const IniValue& old) {
            return sameName(old.section, value.section) && sameName(old.key, value.key);
        });
        if (waiting != m_pending.end())
            waiting->value = value.value;
        else
            m_pending.append(value);
    }
    // Another program may write the file at the same time: without the lock, one of the two
    // read-change-writes would put back the file as it was before the other's.
    m_error.clear();
    const QString lockPath = m_path + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!lockWithin(lock, kLockWaitMs)) {
        m_error = lock.error() == QLockFile::LockFailedError
                      ? QStringLiteral("still locked by another program after %1 ms: %2")
                            .arg(QString::number(kLockWaitMs), lockPath)
                      : QStringLiteral("cannot make the lock file %1").arg(lockPath);
    } else if (!load()) {
        m_error = QStringLiteral("the file cannot be read");
    }
    if (!m_error.isEmpty()) {
        // The file stays untouched; the values are in force in memory all the same.
        for (const IniValue& value : values)
            apply(value);
        return false;
    }
    for (const IniValue& value : std::as_const(m_pending))
        apply(value);
    if (!save())
        return false;
    m_pending.clear();
    return true;
}

} // namespace platform
