#pragma once

#include <algorithm>
#include <array>

#include <QByteArrayView>
#include <QLatin1StringView>

// The game file (*.game) as the scoring program writes it and both programs read it: CP932 lines with
// CRLF, fields separated by single commas without quoting. The order of the file:
//   header (kHeaderLines lines), officials, team A, team B, options, time, log, [commentary],
//   statistics block.
// Markers and keys are ASCII, so the scoring program compares its decoded lines with them as they are
// and the statistics program its raw lines with their bytes (asBytes), neither converting a line.
namespace gamefile {

inline constexpr QLatin1StringView kMagic("#Hooptally");
inline constexpr QLatin1StringView kVersion("02.03.01");

// The header's lines.
enum HeaderLine {
    kMagicLine,
    kVersionLine,
    kTournamentLine,
    kPlaceLine,
    kDateLine,       // a day serial
    kTimeOfDayLine,  // the date's day serial with the time of day as its fraction
    kGameNumberLine, // missing in files of the oldest writers: team A's start marker stands here
    kHeaderLines
};

inline constexpr QLatin1StringView kStartTag("Start");
inline constexpr QLatin1StringView kEndTag("End");

// A section is every line between "<name>-Start" and "<name>-End".
struct Section
{
    constexpr Section(const char* start, const char* end) : start(start), end(end) {}

    // What the roster loader takes to find a team's section: "<name>-".
    constexpr QLatin1StringView prefix() const { return start.chopped(kStartTag.size()); }

    QLatin1StringView start;
    QLatin1StringView end;
};

inline constexpr Section kOfficialSection("Official-Start", "Official-End");
inline constexpr Section kTeamASection("TeamA-Start", "TeamA-End");
inline constexpr Section kTeamBSection("TeamB-Start", "TeamB-End");
inline constexpr Section kOptionSection("Option-Start", "Option-End");
inline constexpr Section kTimeSection("Time-Start", "Time-End");
inline constexpr Section kLogSection("Log-Start", "Log-End");
inline constexpr Section kCommentarySection("Senhyou-Start", "Senhyou-End");

// One line per official of the score sheet, in the sheet's order; empty for one not named.
constexpr int kOfficialLines = 7;

// The one line of the time section: the key, then the period length in minutes.
inline constexpr QLatin1StringView kTimeKey("Time=");

// Team lines have the fields of a member file's player line: team name, player ID, number, name,
// position, then the three flag texts.
constexpr int kTeamLineFields = 8;
inline constexpr QLatin1StringView kStarterText("Starter");
inline constexpr QLatin1StringView kCoachText("Coach");
inline constexpr QLatin1StringView kOfficialText("Official");

// Log lines.
enum LogField {
    kSideField,     // kLetterA, kLetterB, kLetterOfNoTeam; empty for an action without a player
    kPlayerIdField, // empty for an action without a player
    kPeriodField,   // -1 for none
    kMinutesField,  // empty with the seconds when the clock was not set
    kSecondsField,
    kCategoryField, // signed
    kCodeField,
    kFoulKindField, // foul kind before free throws: the reverse of the action record
    kFreeThrowsField,
    kCommandField,
    kTeamNumberField, // the action's side: 1, 2 or 0
    kLogFields
};
inline constexpr QLatin1StringView kLetterA("A");
inline constexpr QLatin1StringView kLetterB("B");
// Written for a player of neither team; never read back.
inline constexpr QLatin1StringView kLetterOfNoTeam("?");

// The statistics block, for programs that do not replay the log. Per team the start marker, the team
// name, the number of entries, kStatsLinesPerPlayer lines for each entry, the end marker.
inline constexpr QLatin1StringView kStatsStart("#STATS-START");
inline constexpr QLatin1StringView kStatsEnd("#STATS-END");
inline constexpr QLatin1StringView kStatsTeamStart("#TEAM-START");
inline constexpr QLatin1StringView kStatsTeamEnd("#TEAM-END");

// The block holds team A's, then team B's.
constexpr int kStatsTeams = 2;

// A team's lines, counted from its start marker.
enum StatsTeamLine { kStatsTeamStartLine, kStatsTeamNameLine, kStatsEntryCountLine, kStatsFirstEntryLine };

// An entry's lines: every player of the team's list, coaches and the blank row included.
enum StatsEntryLine {
    kStatsPlayerIdLine,
    kStatsNameLine,
    kStatsNumberLine, // empty for a coach and the blank row
    kStatsPositionLine,
    kStatsStarterLine, // 1 or 0
    kStatsFirstCountLine
};

// What a count line holds: field goals in points (2 or 3 a shot, made or missed), the rest in times.
enum class Stat {
    ThreePointsMade,
    ThreePointsMissed,
    TwoPointsMade,
    TwoPointsMissed,
    FreeThrowsMade,
    FreeThrowsMissed,
    Fouls,
    Assists,
    OffensiveRebounds,
    DefensiveRebounds,
    BlockedShots,
    Turnovers,
    Steals,
};

// The count lines from kStatsFirstCountLine on, in the order of the file.
inline constexpr std::array kStatsCountLines{Stat::ThreePointsMade,
                                             Stat::ThreePointsMissed,
                                             Stat::TwoPointsMade,
                                             Stat::TwoPointsMissed,
                                             Stat::FreeThrowsMade,
                                             Stat::FreeThrowsMissed,
                                             Stat::Fouls,
                                             Stat::Assists,
                                             Stat::OffensiveRebounds,
                                             Stat::DefensiveRebounds,
                                             Stat::BlockedShots,
                                             Stat::Turnovers,
                                             Stat::Steals};

// The playing time after the counts, a day fraction; the entry's last line.
constexpr int kStatsPlayTimeLine = kStatsFirstCountLine + int(kStatsCountLines.size());
constexpr int kStatsLinesPerPlayer = kStatsPlayTimeLine + 1;

// What one file may hold, far above any real game: a long game logs under 1,000 actions, a team lists
// a few dozen people, a commentary is a few paragraphs, the whole file some tens of kilobytes. A file
// past one is refused whole, and the bounds are chosen so that the worst file within them still opens
// in a moment: every cost of an open grows with what it holds.
constexpr int kMaxLogEntries = 20000;
constexpr int kMaxTeamLines = 255; // per team; a member file's player lines too
constexpr int kMaxOptionLines = 100;
constexpr int kMaxCommentaryLines = 1000;
constexpr int kMaxStatsEntries = kMaxTeamLines + 1; // per team: its people and the blank row
// Bytes, checked before a file is decoded: lines within the bounds above need far less.
constexpr qint64 kMaxGameFileBytes = 2LL << 20;
constexpr qint64 kMaxMemberFileBytes = 256LL << 10;
// The bytes of one line, its end not counted, in game and member files: a name is a few dozen, a
// commentary paragraph some hundreds. One text of the whole file's bytes would take the sheets'
// fitting and the commentary's wrapping tens of seconds.
constexpr qsizetype kMaxLineBytes = 4096;

// The bytes of the longest line of a file's CP932 bytes. CR and LF end a line, and neither is ever part
// of a two-byte character.
inline qsizetype longestLine(QByteArrayView bytes)
{
    qsizetype longest = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            longest = std::max(longest, i - start);
            start = i + 1;
        }
    }
    return std::max(longest, bytes.size() - start);
}
// The bound of lines or entries that a file is past (GameFileSections::pastBound). The scoring program
// refuses such a file and says which; the statistics program lists it with the damaged files.
enum class Bound { None, LogEntries, TeamLines, OptionLines, CommentaryLines, StatsEntries };

// A marker or key as the bytes of a raw line.
constexpr QByteArrayView asBytes(QLatin1StringView text)
{
    return {text.data(), text.size()};
}

} // namespace gamefile
