#include "hooptally/GameFileSections.h"

#include "gamefile/GameFileFormat.h"
#include "hooptally/Tmember.h"
#include "platform/Convert.h"

#include <algorithm>

namespace hooptally {

namespace {

using gamefile::Section;

constexpr qsizetype kOfficials = gamefile::kOfficialLines;
constexpr qsizetype kStatsLinesPerPlayer = gamefile::kStatsLinesPerPlayer;
using gamefile::kGameNumberLine;
constexpr QLatin1StringView kTeamAStart = gamefile::kTeamASection.start;
constexpr QLatin1StringView kOfficialStart = gamefile::kOfficialSection.start;
constexpr QLatin1StringView kOfficialEnd = gamefile::kOfficialSection.end;

// Records hold commas and marker lines none: a name that reads like a marker stays a record.
bool isMarker(const QString& line, QLatin1StringView marker)
{
    return line.startsWith(marker) && !line.contains(QLatin1Char(','));
}

// The lines of section `name` from `at` on, up to its end marker or `limit`; `at` moves past the section.
// Without a start marker before `limit`, nothing, and `at` stays. A section without its end marker runs
// to `limit` (and `ended` is false), and the next section is looked for right after its start.
std::optional<QStringList> takeSection(const QStringList& lines, qsizetype& at, qsizetype limit,
                                       const Section& section, bool* ended = nullptr)
{
    qsizetype first = at;
    while (first < limit && !isMarker(lines[first], section.start))
        ++first;
    if (first >= limit)
        return std::nullopt;
    ++first;
    qsizetype last = first;
    while (last < limit && !isMarker(lines[last], section.end))
        ++last;
    at = last < limit ? last + 1 : first;
    if (ended)
        *ended = last < limit;
    return lines.mid(first, last - first);
}

// A whole statistics block from line `start` on: its start marker, the teams with as many entries as
// they say, its end marker. The most entries of one team; nothing when the block is not whole. The
// writer writes both teams and no more: a longer chain of team blocks is none, and every candidate
// start of a crafted file is checked in a few steps.
std::optional<qsizetype> statsBlockEntries(const QStringList& lines, qsizetype start)
{
    qsizetype most = 0;
    qsizetype i = start + 1;
    for (int teams = 0;
         teams < gamefile::kStatsTeams && i < lines.size() && lines[i] == gamefile::kStatsTeamStart;
         ++teams) {
        const qsizetype count = i + gamefile::kStatsEntryCountLine;
        const auto players = count < lines.size() ? platform::StrToInt(lines[count]) : std::nullopt;
        if (!players || *players < 0 || *players > lines.size() / kStatsLinesPerPlayer)
            return std::nullopt;
        most = std::max<qsizetype>(most, *players);
        i += gamefile::kStatsFirstEntryLine + *players * kStatsLinesPerPlayer;
        if (i >= lines.size() || lines[i] != gamefile::kStatsTeamEnd)
            return std::nullopt;
        ++i;
    }
    if (i < lines.size() && lines[i] == gamefile::kStatsEnd)
        return most;
    return std::nullopt;
}

struct StatsBlock
{
    qsizetype start; // the end of the file when there is none
    qsizetype mostEntries = 0;
};

// The last whole statistics block: a commentary line or a name may read like its start marker too.
StatsBlock statsBlock(const QStringList& lines)
{
    for (qsizetype i = lines.size() - 1; i > 0; --i) {
        if (lines[i] != gamefile::kStatsStart)
            continue;
        if (const auto entries = statsBlockEntries(lines, i))
            return {i, *entries};
    }
    return {lines.size()};
}

} // namespace

GameFileSections GameFileSections::split(const QStringList& lines)
{
    GameFileSections sections;
    sections.magic = !lines.isEmpty() && lines[0].startsWith(gamefile::kMagic);
    // Sections are looked for from line 2 in files without the writer's header.
    qsizetype at = 1;
    sections.header = lines.size() > kGameNumberLine && platform::StrToFloat(lines[gamefile::kDateLine]) &&
                      platform::StrToFloat(lines[gamefile::kTimeOfDayLine]);
    if (sections.header) {
        sections.tournament = lines[gamefile::kTournamentLine];
        sections.place = lines[gamefile::kPlaceLine];
        sections.date = lines[gamefile::kDateLine];
        sections.time = lines[gamefile::kTimeOfDayLine];
        // Files of the oldest writers have neither game number nor officials: team A starts at line 7.
        // A game number that reads like team A's marker is followed by the officials or by the marker itself.
        const QString next = lines.value(kGameNumberLine + 1);
        const bool withoutNumber =
            lines[kGameNumberLine] == kTeamAStart && !next.startsWith(kOfficialStart) && next != kTeamAStart;
        at = withoutNumber ? kGameNumberLine : kGameNumberLine + 1;
        if (!withoutNumber)
            sections.gameNumber = lines[kGameNumberLine];
    }

    // The officials stand right after the header: seven lines and the end marker, whatever the seven read.
    // A shorter section ends at its end marker.
    if (at < lines.size() && lines[at].startsWith(kOfficialStart)) {
        ++at;
        QStringList officials;
        if (at + kOfficials < lines.size() && isMarker(lines[at + kOfficials], kOfficialEnd)) {
            officials = lines.mid(at, kOfficials);
            at += kOfficials + 1;
        } else {
            while (at < lines.size() && officials.size() < kOfficials && !isMarker(lines[at], kOfficialEnd))
                officials << lines[at++];
            if (at < lines.size() && isMarker(lines[at], kOfficialEnd))
                ++at;
        }
        sections.officials = officials;
    }

    const StatsBlock stats = statsBlock(lines);
    const qsizetype limit = stats.start;
    sections.statsEntries = stats.mostEntries;
    sections.teamA = takeSection(lines, at, limit, gamefile::kTeamASection);
    sections.teamB = takeSection(lines, at, limit, gamefile::kTeamBSection);
    sections.options = takeSection(lines, at, limit, gamefile::kOptionSection);
    sections.periodTime = takeSection(lines, at, limit, gamefile::kTimeSection);
    bool logEnded = true;
    sections.log = takeSection(lines, at, limit, gamefile::kLogSection, &logEnded);

    // The commentary runs to its last end marker before the statistics block: a commentary line may
    // begin with the end marker itself.
    const QLatin1StringView commentaryStart = gamefile::kCommentarySection.start;
    const QLatin1StringView commentaryEnd = gamefile::kCommentarySection.end;
    while (at < limit && !lines[at].startsWith(commentaryStart))
        ++at;
    if (at < limit) {
        qsizetype end = limit;
        for (qsizetype i = limit - 1; i > at; --i) {
            if (lines[i].startsWith(commentaryEnd)) {
                end = i;
                break;
            }
        }
        sections.commentary = lines.mid(at + 1, end - at - 1);
    }
    sections.cutShort = !(sections.log && logEnded) && !sections.commentary && limit == lines.size() &&
                        lines.value(gamefile::kVersionLine) == gamefile::kVersion;
    return sections;
}

QString GameFileSections::pastBound() const
{
    auto size = [](const std::optional<QStringList>& section) { return section ? section->size() : 0; };
    if (size(log) > gamefile::kMaxLogEntries)
        return QStringLiteral("ログが上限（%1 件）を超えています").arg(gamefile::kMaxLogEntries);
    if (std::max(size(teamA), size(teamB)) > gamefile::kMaxTeamLines)
        return TooManyMembersText();
    if (size(options) > gamefile::kMaxOptionLines)
        return QStringLiteral("オプションが上限（%1 行）を超えています").arg(gamefile::kMaxOptionLines);
    if (size(commentary) > gamefile::kMaxCommentaryLines)
        return QStringLiteral("戦評が上限（%1 行）を超えています").arg(gamefile::kMaxCommentaryLines);
    if (statsEntries > gamefile::kMaxStatsEntries)
        return QStringLiteral("統計の記録が上限（1 チーム %1 件）を超えています")
            .arg(gamefile::kMaxStatsEntries);
    return {};
}

} // namespace hooptally
