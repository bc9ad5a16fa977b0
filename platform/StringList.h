#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <optional>

class QFile;

namespace platform {

// The most any file of the programs is read to: far above a real one, so that a device or a runaway
// file cannot take the memory.
constexpr qint64 kMaxReadFileSize = 64LL << 20;

// A list of text lines as the programs' files hold them: CP932, lines ended by CRLF.
class StringList : public QStringList
{
public:
    using QStringList::QStringList;
    StringList() = default;
    StringList(const QStringList& lines) : QStringList(lines) {}

    // Reads a CP932 file of at most maxBytes, splitting on CRLF, LF or CR; a final line end gives no
    // empty last line. Returns false (and leaves the list empty) when the file cannot be read (see
    // readRegularFile).
    bool loadFromFile(const QString& path, qint64 maxBytes = kMaxReadFileSize);

    // Writes every line followed by CRLF, atomically: on failure the old file stays as it was, and
    // the reason (the system's error text) goes to `reason` when given.
    bool saveToFile(const QString& path, QString* reason = nullptr) const;

    // The lines joined by CRLF with a CRLF after the last, as saveToFile writes them (decoded).
    QString text() const;
    // Replaces the list by the lines of a text, split like loadFromFile does.
    void setText(const QString& text);
};

// Opens a regular file (a link is followed) for reading without ever waiting: a pipe, a device, a
// socket, a folder or a missing file gives false at once.
bool openRegularFile(QFile& file, const QString& path);

// The rest of an open regular file, at most maxBytes; nothing when there is more or a read fails.
std::optional<QByteArray> readAtMost(QFile& file, qint64 maxBytes);

// The bytes of a regular file of at most maxBytes; nothing for anything else. Every file the programs
// read goes through here.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes = kMaxReadFileSize);

// Puts the bytes in place of the file atomically: on failure the old file stays as it was, and the
// reason goes to `reason` when given.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// The lines of a file's bytes, split on CRLF, LF or CR like StringList::loadFromFile, undecoded.
QByteArrayList splitLines(const QByteArray& bytes);

} // namespace platform
