#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

namespace platform {

// A list of text lines as the programs' files hold them: CP932, lines ended by CRLF.
class StringList : public QStringList
{
public:
    using QStringList::QStringList;
    StringList() = default;
    StringList(const QStringList& lines) : QStringList(lines) {}

    // Reads a CP932 file, splitting on CRLF, LF or CR; a final line end gives no empty last line.
    // Returns false (and leaves the list empty) when the file cannot be read.
    bool loadFromFile(const QString& path);

    // Writes every line followed by CRLF, atomically: on failure the old file stays as it was.
    bool saveToFile(const QString& path) const;

    // The lines joined by CRLF with a CRLF after the last, as saveToFile writes them (decoded).
    QString text() const;
    // Replaces the list by the lines of a text, split like loadFromFile does.
    void setText(const QString& text);
};

// Puts the bytes in place of the file atomically: on failure the old file stays as it was.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

// The lines of a file's bytes, split on CRLF, LF or CR like StringList::loadFromFile, undecoded.
QByteArrayList splitLines(const QByteArray& bytes);

} // namespace platform
