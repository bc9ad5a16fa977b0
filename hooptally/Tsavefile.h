#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include <QString>
#include <QStringList>

#include "platform/StringList.h"

namespace hooptally {

class TTeam;

// The statistics columns of the HTML report: items 0 to 12 follow the player action codes, item 13 is
// the playing time. The settings' list of statistics switches has only the thirteen actions.
constexpr int kHtmlColumnCount = 14;
constexpr int kHtmlPlayTimeColumn = 13;

// Which players get a row in the report's statistics tables.
enum HtmlPlayerRows { kAllPlayers = 0, kListedPlayers = 1, kPlayersWhoPlayed = 2 };

// A choice the row filter does not have shows every player.
inline int KnownPlayerRows(int choice)
{
    return choice >= kAllPlayers && choice <= kPlayersWhoPlayed ? choice : kAllPlayers;
}

// What the HTML save dialog chose for the report.
struct HtmlReportOptions
{
    std::array<bool, kHtmlColumnCount> columns{};
    std::array<bool, 2> teams{}; // team A, team B
    int playerRows = kAllPlayers;
    bool periodColumns = false;
    bool commentary = false;
    QStringList commentaryLines;
    bool graph = false;
};

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
    // After a failed game save: the bound of what a game file may hold that the game is past, as the
    // user is told; empty when the save failed for another reason.
    const QString& Refusal() const { return m_refusal; }

    // The report's contents; without them an HTML save writes nothing and fails.
    void SetHtmlOptions(const HtmlReportOptions& options) { m_htmlOptions = options; }
    // Draws the score-over-time graph into that JPEG file; false when it was not written.
    bool SaveScoreGraph(const QString& jpegFileName);

private:
    // The game file, built into the line list, then written in one go.
    void WriteGameFile();
    void WriteTeamLines(const TTeam& team);
    void WriteLogLines();
    void WriteStatsBlock(platform::StringList& lines);
    bool WriteHtmlFile();

    QString m_fileName;
    QString m_failure; // why the save failed, for the debug window
    QString m_refusal;
    std::unique_ptr<platform::StringList> m_lines;
    std::optional<HtmlReportOptions> m_htmlOptions;
};

QString ByteToText(std::uint8_t value);

} // namespace hooptally
