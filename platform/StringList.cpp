#include "platform/StringList.h"

#include "platform/Codec.h"

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool StringList::loadFromFile(const QString& path, qint64 maxBytes)
{
    clear();
    const std::optional<QByteArray> bytes = readRegularFile(path, maxBytes);
    if (!bytes)
        return false;
    setText(Codec::fromCp932(*bytes));
    return true;
}

bool openRegularFile(QFile& file, const QString& path)
{
    if (path.isEmpty())
        return false;
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    // Looked at before opening, so that no device is ever opened; and again on the open descriptor,
    // since the name may have been replaced in between. Without O_NONBLOCK a pipe would wait for a writer.
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<QByteArray> readAtMost(QFile& file, qint64 maxBytes)
{
    // A regular file: what it holds now, even when it grows meanwhile.
    const qint64 size = file.size() - file.pos();
    if (maxBytes < 0 || size > maxBytes)
        return std::nullopt;
    QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes)
{
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    return readAtMost(file, maxBytes);
}

bool StringList::saveToFile(const QString& path, QString* reason) const
{
    return writeFileAtomically(path, Codec::toCp932(text()), reason);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(path);
    // Flushed before the commit because commit() in Qt 6.4 ignores a failing flush of its buffer
    // (disk full) and would put a truncated file in place. On failure the destructor drops the
    // temporary file.
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit();
    if (!written && reason)
        *reason = file.errorString();
    return written;
}

QString StringList::text() const
{
    QString result;
    for (const QString& line : *this) {
        result += line;
        result += u"\r\n";
    }
    return result;
}

namespace {

// Calls take(start, length) for every line of the text; a final line end gives no empty last line.
template <typename Text, typename Take> void forEachLine(const Text& text, Take take)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        take(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        take(start, text.size() - start);
}

} // namespace

void StringList::setText(const QString& text)
{
    clear();
    const QStringView view(text);
    forEachLine(view,
                [&](qsizetype start, qsizetype length) { append(view.sliced(start, length).toString()); });
}

QByteArrayList splitLines(const QByteArray& bytes)
{
    QByteArrayList lines;
    forEachLine(bytes, [&](qsizetype start, qsizetype length) { lines.append(bytes.sliced(start, length)); });
    return lines;
}

} // namespace platform
