#pragma once

#include <QByteArrayList>
#include <QList>
#include <QString>

#include "platform/StringList.h"

namespace platform {

// The most a settings file may hold: far above any real one, small enough that reading and writing
// it stays instant. A larger file reads like one that cannot be read, and no write makes one.
constexpr qint64 kMaxIniFileSize = 1LL << 20;

// One key to write, with its value as the file holds it.
struct IniValue
{
    QString section;
    QString key;
    QString value;

    static IniValue text(const QString& section, const QString& key, const QString& value);
    static IniValue integer(const QString& section, const QString& key, int value);
    static IniValue boolean(const QString& section, const QString& key, bool value);
};

// Private-profile ini semantics over a CP932 file: sections and keys case-insensitive, keys and
// values trimmed, first match wins, a present but empty key reads as "", integers decimal (a value
// that is not a number gives the default), booleans written 1/0 and read non-zero = true, values raw
// text (no escaping: "\" and "," are ordinary). Comments (";") and lines without "=" are kept and
// ignored. A missing file reads as all defaults.
//
// The file is shared: another program or a person may change it while the program runs. Every write
// therefore reads the file again, changes only the keys being written and puts the file back
// atomically, so whatever else it holds stays; a lock file beside it ("<name>.lock") keeps two
// programs from doing so at once. A new key goes to the end of its own section (after its last
// non-blank line, so a blank line before the next section stays there), a new section to the end of
// the file. Lines are written CRLF-ended; every line the write does not change keeps its bytes, also
// bytes that are no CP932 text. A write that cannot lock, read or write the file returns false,
// leaves the file as it was and keeps the reason for errorString(); the values stay in force in
// memory and go to the file with the next write that succeeds. Only a regular file of at most
// kMaxIniFileSize bytes is read (see readRegularFile): anything else in its place reads as all
// defaults, takes no write and makes isReadable() false.
class IniFile
{
public:
    explicit IniFile(const QString& path);

    const QString& fileName() const { return m_path; }
    // False when something stood at the path that could not be read when the object was made: a
    // missing file is readable, and empty.
    bool isReadable() const { return m_readable; }
    // Why the last write failed: the lock, a file that cannot be read, or the system's error text.
    const QString& errorString() const { return m_error; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);
    // Writes several keys, in order, with one read and one write of the file, and with them the keys
    // still waiting from a write that failed.
    bool writeValues(const QList<IniValue>& values);

private:
    // Replaces the lines by the file's; false (lines kept) when the file exists but cannot be read.
    bool load();
    bool save();
    void apply(const IniValue& value);
    void setLine(int index, const QString& text);
    void insertLine(int index, const QString& text);
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;

    QString m_path;
    StringList m_lines;        // decoded, for finding and reading
    QByteArrayList m_bytes;    // each line's bytes as the file holds them, without its line end
    QList<IniValue> m_pending; // written in memory, not yet in the file
    bool m_readable = true;
    QString m_error;
};

} // namespace platform
