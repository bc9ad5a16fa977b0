#include "support/FileHelpers.h"

#include <QFile>
#include <QTest>

namespace platform::testing {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

NoFileWrites::NoFileWrites()
{
    getrlimit(RLIMIT_FSIZE, &m_saved);
    rlimit none = m_saved;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
    m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
}

NoFileWrites::~NoFileWrites()
{
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_savedHandler);
}

} // namespace platform::testing
