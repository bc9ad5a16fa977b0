#include "platform/StringList.h"

#include "platform/Codec.h"

#include <QFile>
#include <QSaveFile>

namespace platform {

bool StringList::loadFromFile(const QString& path)
{
    clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    setText(Codec::fromCp932(bytes));
    return true;
}

bool StringList::saveToFile(const QString& path) const
{
    return writeFileAtomically(path, Codec::toCp932(text()));
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Flushed here because commit() in Qt 6.4 ignores a failing flush of its buffer (disk full) and
    // would put a truncated file in place. On failure the destructor drops the temporary file.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    return file.commit();
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
