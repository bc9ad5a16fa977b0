#include "platform/Version.h"

#include <QByteArrayMatcher>
#include <QFile>
#include <QtEndian>

#include "platform/StringList.h"

namespace platform {

static_assert(sizeof(VersionBlock) == 24, "the block is read from files byte by byte: no padding allowed");

namespace {

// The marker backwards, read through volatile so the compiler cannot fold it back: were the marker
// itself in this library, every program linking it would seem to carry a version block.
const volatile char kReversedMarker[] = "noisreVeliF-pooH";
constexpr qsizetype kMarkerSize = sizeof(kReversedMarker) - 1;
static_assert(kMarkerSize == sizeof(VersionBlock::marker));

constexpr qsizetype kBlockSize = sizeof(VersionBlock);
constexpr qint64 kChunkSize = 1 << 20;

QByteArray marker()
{
    QByteArray result(kMarkerSize, '\0');
    for (qsizetype i = 0; i < kMarkerSize; ++i)
        result[i] = kReversedMarker[kMarkerSize - 1 - i];
    return result;
}

// The numbers after a marker at `at`; nothing when they look like anything but a version (the marker
// may also turn up inside text or unrelated data).
std::optional<FileVersion> blockAt(const QByteArray& buffer, qsizetype at)
{
    const uchar* numbers = reinterpret_cast<const uchar*>(buffer.constData() + at + kMarkerSize);
    FileVersion version;
    version.major = qFromLittleEndian<quint16>(numbers);
    version.minor = qFromLittleEndian<quint16>(numbers + 2);
    version.release = qFromLittleEndian<quint16>(numbers + 4);
    version.build = qFromLittleEndian<quint16>(numbers + 6);
    constexpr std::uint16_t kLimit = 10000; // four decimal digits per number
    if (version == FileVersion{})
        return std::nullopt;
    if (version.major >= kLimit || version.minor >= kLimit || version.release >= kLimit ||
        version.build >= kLimit)
        return std::nullopt;
    return version;
}

} // namespace

QString FileVersion::toString() const
{
    return QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build);
}

std::optional<FileVersion> GetFileVersion(const QString& path)
{
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    const QByteArrayMatcher matcher(marker());
    // Read in chunks; the last block size - 1 bytes are carried over so a block across two chunks is
    // still seen whole.
    QByteArray buffer;
    for (;;) {
        const QByteArray chunk = file.read(kChunkSize);
        if (chunk.isEmpty())
            return std::nullopt;
        buffer += chunk;
        for (qsizetype at = matcher.indexIn(buffer); at >= 0 && at + kBlockSize <= buffer.size();
             at = matcher.indexIn(buffer, at + 1)) {
            if (const auto version = blockAt(buffer, at))
                return version;
        }
        buffer = buffer.right(kBlockSize - 1);
    }
}

} // namespace platform
