#pragma once

#include <cstdint>
#include <optional>

#include <QString>

namespace platform {

struct FileVersion
{
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;

    QString toString() const; // "2.3.1.0"
    // Compares as the four numbers in order.
    friend auto operator<=>(const FileVersion&, const FileVersion&) = default;
};

// The block each program embeds once (in its main.cpp) as a used constant, so that the other
// program can read the version from the executable file without running it.
struct VersionBlock
{
    char marker[16];
    std::uint16_t major, minor, release, build;
};

// Builds the block with the marker GetFileVersion looks for. Only at compile time, and only in the
// programs' main.cpp: no other binary may hold the marker, or it would seem to carry a version.
consteval VersionBlock makeVersionBlock(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                                        std::uint16_t build)
{
    return VersionBlock{{'H', 'o', 'o', 'p', '-', 'F', 'i', 'l', 'e', 'V', 'e', 'r', 's', 'i', 'o', 'n'},
                        major, minor, release, build};
}

// The version block found in an executable file; nothing when the file has none or cannot be read.
std::optional<FileVersion> GetFileVersion(const QString& path);

} // namespace platform
