#pragma once

#include <QByteArray>
#include <QFile>

// The process's memory as the kernel counts it, for the benchmarks that print it.
namespace bench {

// A field of /proc/self/status in MB: "VmHWM" the peak, "VmRSS" now; -1 when it cannot be read. The
// file tells no size, so it is read as a stream (the programs' reader would get nothing).
inline qint64 residentMb(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong() / 1024;
    }
    return -1;
}

// The peak starts again from what the process holds now.
inline void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace bench
