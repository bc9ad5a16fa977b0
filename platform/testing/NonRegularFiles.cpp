#include "platform/testing/NonRegularFiles.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace platform::testing {

bool makeNonRegularFile(const QString& path, const QString& kind)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(name.constData(), 0600) == 0;
    if (kind == QLatin1String("zero"))
        return ::symlink("/dev/zero", name.constData()) == 0;
    return false;
}

} // namespace platform::testing
