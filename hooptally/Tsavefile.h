#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "platform/StringList.h"

namespace hooptally {

class TTeam;

// Writes one file of the game: the game file ("game") or the HTML report ("html").
class TSaveFile
{
public:
    explicit TSaveFile(const QString& fileName);
    ~TSaveFile();

    // 1 when written, 0 on any failure; an existing file is left as it was on failure.
    int Save(const QString& kind);

    void WriteGameFile();
    void WriteTeamLines(const TTeam& team);
    void WriteLogLines();
    void WriteStatsBlock(platform::StringList& lines);

private:
    bool WriteHtmlFile();

    QString m_fileName;
    std::unique_ptr<platform::StringList> m_lines;
};

QString ByteToText(std::uint8_t value);

} // namespace hooptally
