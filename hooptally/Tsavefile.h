#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "platform/StringList.h"

namespace hooptally {

class TTeam;

// What TSaveFile::Save writes.
enum class SaveKind { Game, Html };

// Writes one file of the game: the game file or the HTML report.
class TSaveFile
{
public:
    explicit TSaveFile(const QString& fileName);
    ~TSaveFile();

    // True when written; false on any failure, which leaves an existing file as it was.
    bool Save(SaveKind kind);

private:
    // The game file, built into the line list, then written in one go.
    void WriteGameFile();
    void WriteTeamLines(const TTeam& team);
    void WriteLogLines();
    void WriteStatsBlock(platform::StringList& lines);
    bool WriteHtmlFile();

    QString m_fileName;
    std::unique_ptr<platform::StringList> m_lines;
};

QString ByteToText(std::uint8_t value);

} // namespace hooptally
