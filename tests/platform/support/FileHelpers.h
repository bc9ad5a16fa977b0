#pragma once

#include <csignal>

#include <QByteArray>
#include <QString>

#include <sys/resource.h>

namespace platform::testing {

QByteArray readBytes(const QString& path); // "<unreadable>" when the file cannot be read
void writeBytes(const QString& path, const QByteArray& bytes);

// The tests run as root, who ignores permission bits, so a read-only file or folder would not fail.
// A file size limit binds root too: while it is zero, every write to a regular file fails (EFBIG).
class NoFileWrites
{
public:
    NoFileWrites();
    ~NoFileWrites();
    NoFileWrites(const NoFileWrites&) = delete;
    NoFileWrites& operator=(const NoFileWrites&) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

} // namespace platform::testing
