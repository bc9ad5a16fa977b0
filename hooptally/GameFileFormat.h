#pragma once

#include <QString>

// The game file (*.game) as the writer puts it out and the reader takes it in: CP932 lines with CRLF,
// fields separated by single commas without quoting. The order of the file:
//   header (kHeaderLines lines), officials, team A, team B, options, time, log, [commentary],
//   statistics block.
namespace hooptally::gamefile {

inline const QString kMagic = QStringLiteral("#Hooptally");
inline const QString kVersion = QStringLiteral("02.03.01");

// Magic, version, tournament, place, date serial, time serial, game number.
constexpr int kHeaderLines = 7;

inline const QString kStartTag = QStringLiteral("Start");
inline const QString kEndTag = QStringLiteral("End");

// A section is every line between "<name>-Start" and "<name>-End".
struct Section
{
    QString name;

    // What the roster loader takes to find a team's section.
    QString prefix() const { return name + QLatin1Char('-'); }
    QString start() const { return prefix() + kStartTag; }
    QString end() const { return prefix() + kEndTag; }
};

inline const Section kOfficialSection{QStringLiteral("Official")};
inline const Section kTeamASection{QStringLiteral("TeamA")};
inline const Section kTeamBSection{QStringLiteral("TeamB")};
inline const Section kOptionSection{QStringLiteral("Option")};
inline const Section kTimeSection{QStringLiteral("Time")};
inline const Section kLogSection{QStringLiteral("Log")};
inline const Section kCommentarySection{QStringLiteral("Senhyou")};

// The one line of the time section: the key, then the period length in minutes.
inline const QString kTimeKey = QStringLiteral("Time=");

// Team lines have the fields of a member file's player line: team name, player ID, number, name,
// position, then the three flag texts.
constexpr int kTeamLineFields = 8;
inline const QString kStarterText = QStringLiteral("Starter");
inline const QString kCoachText = QStringLiteral("Coach");
inline const QString kOfficialText = QStringLiteral("Official");

// Log lines.
enum LogField {
    kSideField,     // kSideA, kSideB, kSideOfNoTeam; empty for an action without a player
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
inline const QString kLetterA = QStringLiteral("A");
inline const QString kLetterB = QStringLiteral("B");
// Written for a player of neither team; never read back.
inline const QString kLetterOfNoTeam = QStringLiteral("?");

// The statistics block, for programs that do not replay the log: per team its name, the number of
// entries, then kStatsLinesPerPlayer lines for each entry.
inline const QString kStatsStart = QStringLiteral("#STATS-START");
inline const QString kStatsEnd = QStringLiteral("#STATS-END");
inline const QString kStatsTeamStart = QStringLiteral("#TEAM-START");
inline const QString kStatsTeamEnd = QStringLiteral("#TEAM-END");
constexpr int kStatsLinesPerPlayer = 19;

} // namespace hooptally::gamefile
