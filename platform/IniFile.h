#pragma once

#include <QString>

#include "platform/StringList.h"

namespace platform {

// Private-profile ini semantics over a CP932 file: sections and keys case-insensitive, keys and
// values trimmed, first match wins, a present but empty key reads as "", integers decimal (a value
// that is not a number gives the default), booleans written 1/0 and read non-zero = true, values raw
// text (no escaping: "\" and "," are ordinary). Every write reaches the file at once (CRLF); a new
// key goes to the end of its own section (after its last non-blank line, so a blank line before the
// next section stays there), a new section to the end of the file. Comments (";") and lines without
// "=" are kept and ignored. A missing file reads as all defaults. A write that cannot reach the file
// returns false; the value stays in force in memory for the run.
class IniFile
{
public:
    explicit IniFile(const QString& path);

    const QString& fileName() const { return m_path; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    bool valueExists(const QString& section, const QString& key) const;
    bool sectionExists(const QString& section) const;

    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);

    // Writes the whole file again; false when it cannot be written.
    bool updateFile();

private:
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;

    QString m_path;
    StringList m_lines;
    bool m_unreadable = false;
};

} // namespace platform
