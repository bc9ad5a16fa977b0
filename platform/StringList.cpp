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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = Codec::toCp932(text());
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

void StringList::setText(const QString& text)
{
    clear();
    const QStringView view(text);
    qsizetype start = 0;
    for (qsizetype i = 0; i < view.size(); ++i) {
        const QChar c = view[i];
        if (c != u'\r' && c != u'\n')
            continue;
        append(view.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < view.size() && view[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < view.size())
        append(view.sliced(start).toString());
}

} // namespace platform
