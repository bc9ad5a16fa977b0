#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include <QByteArrayView>
#include <QLatin1StringView>
#include <QList>
#include <QString>

#include "gamefile/GameFileFormat.h"

// Where the parts of a game file stand, found the same way by both programs: the scoring program over
// its decoded lines (QString), the statistics program over its raw CP932 lines (QByteArrayView). The
// markers are ASCII, and CP932 never puts the bytes of a line end, "," or "#" inside a two-byte
// character, so both find the same lines.
namespace gamefile {

// Lines [first, first + count) of a file.
struct LineRange
{
    qsizetype first = 0;
    qsizetype count = 0;
};

// The lines of a section in the file's list; none when the file has no such section.
template <typename Line>
std::span<const Line> sectionLines(const QList<Line>& lines, const std::optional<LineRange>& section)
{
    if (!section)
        return {};
    return {lines.constData() + section->first, std::size_t(section->count)};
}

// A team of a whole statistics block: its name line and its entries of kStatsLinesPerPlayer lines.
struct StatsTeam
{
    qsizetype nameLine = 0;
    qsizetype firstEntry = 0;
    qsizetype entries = 0;
};

struct StatsBlock
{
    qsizetype start = 0; // the line of its start marker
    int teams = 0;       // team A's, then team B's
    std::array<StatsTeam, kStatsTeams> team{};
};

namespace detail {

inline bool startsWith(const QString& line, QLatin1StringView marker)
{
    return line.startsWith(marker);
}
inline bool startsWith(QByteArrayView line, QLatin1StringView marker)
{
    return line.startsWith(asBytes(marker));
}
inline bool isText(const QString& line, QLatin1StringView text)
{
    return line == text;
}
inline bool isText(QByteArrayView line, QLatin1StringView text)
{
    return line == asBytes(text);
}
inline bool hasComma(const QString& line)
{
    return line.contains(QLatin1Char(','));
}
inline bool hasComma(QByteArrayView line)
{
    return line.contains(',');
}
inline char16_t unitOf(QChar c)
{
    return c.unicode();
}
inline char16_t unitOf(char c)
{
    return static_cast<unsigned char>(c);
}

// Records hold commas and marker lines none: a name that reads like a marker stays a record.
template <typename Line> bool isMarker(const Line& line, QLatin1StringView marker)
{
    return startsWith(line, marker) && !hasComma(line);
}

// A count as the writer writes it: decimal digits only.
template <typename Line> std::optional<qsizetype> plainCount(const Line& line)
{
    constexpr qsizetype kMaxDigits = 9;
    if (line.isEmpty() || line.size() > kMaxDigits)
        return std::nullopt;
    qsizetype value = 0;
    for (const auto c : line) {
        const char16_t unit = unitOf(c);
        if (unit < u'0' || unit > u'9')
            return std::nullopt;
        value = value * 10 + (unit - u'0');
    }
    return value;
}

// The lines of section `name` from `at` on, up to its end marker or `limit`; `at` moves past the section.
// Without a start marker before `limit`, nothing, and `at` stays. A section without its end marker runs
// to `limit` (and `ended` is false), and the next section is looked for right after its start.
template <typename Line>
std::optional<LineRange> takeSection(const QList<Line>& lines, qsizetype& at, qsizetype limit,
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
    return LineRange{first, last - first};
}

// A whole statistics block from line `start` on: its start marker, the teams with as many entries as
// they say, its end marker; nothing when the block is not whole. Markers match at the beginning of a
// line, as the statistics program reads them. The writer writes both teams and no more: a longer chain
// of team blocks is none, and every candidate start of a crafted file is checked in a few steps.
template <typename Line> std::optional<StatsBlock> wholeStatsBlock(const QList<Line>& lines, qsizetype start)
{
    StatsBlock block;
    block.start = start;
    qsizetype i = start + 1;
    while (block.teams < kStatsTeams && i < lines.size() && startsWith(lines[i], kStatsTeamStart)) {
        const qsizetype countLine = i + kStatsEntryCountLine;
        const auto entries = countLine < lines.size() ? plainCount(lines[countLine]) : std::nullopt;
        if (!entries || *entries > (lines.size() - i) / kStatsLinesPerPlayer)
            return std::nullopt;
        block.team[block.teams++] = {i + kStatsTeamNameLine, i + kStatsFirstEntryLine, *entries};
        i += kStatsFirstEntryLine + *entries * kStatsLinesPerPlayer;
        if (i >= lines.size() || !startsWith(lines[i], kStatsTeamEnd))
            return std::nullopt;
        ++i;
    }
    if (i < lines.size() && startsWith(lines[i], kStatsEnd))
        return block;
    return std::nullopt;
}

} // namespace detail

// The parts of a game file, taken in the order the writer puts them: the header, the officials, team A,
// team B, the options, the period length, the log, the commentary and the statistics block. Texts the
// user typed (names, officials, commentary) are never taken for section markers, so they read back as
// typed. Files of older writers, without game number and officials or without commentary, read too.
struct GameFileSections
{
    bool magic = false;          // line 1 begins with the magic
    bool currentVersion = false; // line 2 is the version the writer writes now
    bool header = false;         // the file holds the header's lines
    bool gameNumber = false;     // line 7 is the game number; files of the oldest writers have none
    // Each section's lines between its markers; nothing when the file has no such section.
    std::optional<LineRange> officials;
    std::optional<LineRange> teamA;
    std::optional<LineRange> teamB;
    std::optional<LineRange> options;
    std::optional<LineRange> periodTime;
    std::optional<LineRange> log;
    std::optional<LineRange> commentary;
    // The last whole statistics block: a commentary line or a name may read like its start marker too.
    std::optional<StatsBlock> stats;
    // A line after the first begins with the block's start marker.
    bool statsStart = false;
    // A file of the current writer that ends before the end of its log: a log without its end marker,
    // or none, and neither commentary nor a whole statistics block after it. The writer always writes
    // every section up to the log, closes it and adds the statistics block, so the file was cut short.
    bool cutShort = false;

    template <typename Line> static GameFileSections split(const QList<Line>& lines);

    // The statistics block is missing or cut where a writer put one: the current writer always writes
    // it, and a start marker without a whole block is a block cut short. A file of an older writer may
    // have none.
    bool statsCut() const { return !stats && (currentVersion || statsStart); }

    // The first bound the file is past, None when it is within them all. The reader refuses such a
    // file and the writer never writes one.
    Bound pastBound() const
    {
        auto size = [](const std::optional<LineRange>& section) { return section ? section->count : 0; };
        qsizetype statsEntries = 0;
        for (int i = 0; stats && i < stats->teams; ++i)
            statsEntries = std::max(statsEntries, stats->team[i].entries);
        if (size(log) > kMaxLogEntries)
            return Bound::LogEntries;
        if (std::max(size(teamA), size(teamB)) > kMaxTeamLines)
            return Bound::TeamLines;
        if (size(options) > kMaxOptionLines)
            return Bound::OptionLines;
        if (size(commentary) > kMaxCommentaryLines)
            return Bound::CommentaryLines;
        if (statsEntries > kMaxStatsEntries)
            return Bound::StatsEntries;
        return Bound::None;
    }
};

template <typename Line> GameFileSections GameFileSections::split(const QList<Line>& lines)
{
    using namespace detail;
    GameFileSections sections;
    sections.magic = !lines.isEmpty() && startsWith(lines[kMagicLine], kMagic);
    sections.currentVersion = lines.size() > kVersionLine && isText(lines[kVersionLine], kVersion);
    sections.header = lines.size() >= kHeaderLines;
    // Sections are looked for from line 2 in files without the writer's header.
    qsizetype at = 1;
    if (sections.header) {
        // Files of the oldest writers have neither game number nor officials: team A starts at line 7.
        // A game number that reads like team A's marker is followed by the officials or by the marker itself.
        const QLatin1StringView teamAStart = kTeamASection.start;
        const qsizetype next = kGameNumberLine + 1;
        const bool withoutNumber =
            isText(lines[kGameNumberLine], teamAStart) &&
            !(next < lines.size() &&
              (startsWith(lines[next], kOfficialSection.start) || isText(lines[next], teamAStart)));
        at = withoutNumber ? kGameNumberLine : kGameNumberLine + 1;
        sections.gameNumber = !withoutNumber;
    }

    // The officials stand right after the header: seven lines and the end marker, whatever the seven read.
    // A shorter section ends at its end marker.
    if (at < lines.size() && startsWith(lines[at], kOfficialSection.start)) {
        ++at;
        const QLatin1StringView end = kOfficialSection.end;
        LineRange officials{at, 0};
        if (at + kOfficialLines < lines.size() && isMarker(lines[at + kOfficialLines], end)) {
            officials.count = kOfficialLines;
            at += kOfficialLines + 1;
        } else {
            while (at < lines.size() && officials.count < kOfficialLines && !isMarker(lines[at], end)) {
                ++officials.count;
                ++at;
            }
            if (at < lines.size() && isMarker(lines[at], end))
                ++at;
        }
        sections.officials = officials;
    }

    for (qsizetype i = lines.size() - 1; i > 0 && !sections.stats; --i) {
        if (startsWith(lines[i], kStatsStart)) {
            sections.statsStart = true;
            sections.stats = wholeStatsBlock(lines, i);
        }
    }
    const qsizetype limit = sections.stats ? sections.stats->start : lines.size();
    sections.teamA = takeSection(lines, at, limit, kTeamASection);
    sections.teamB = takeSection(lines, at, limit, kTeamBSection);
    sections.options = takeSection(lines, at, limit, kOptionSection);
    sections.periodTime = takeSection(lines, at, limit, kTimeSection);
    bool logEnded = true;
    sections.log = takeSection(lines, at, limit, kLogSection, &logEnded);

    // The commentary runs to its last end marker before the statistics block: a commentary line may
    // begin with the end marker itself.
    while (at < limit && !startsWith(lines[at], kCommentarySection.start))
        ++at;
    if (at < limit) {
        qsizetype end = limit;
        for (qsizetype i = limit - 1; i > at; --i) {
            if (startsWith(lines[i], kCommentarySection.end)) {
                end = i;
                break;
            }
        }
        sections.commentary = LineRange{at + 1, end - at - 1};
    }
    sections.cutShort =
        !(sections.log && logEnded) && !sections.commentary && !sections.stats && sections.currentVersion;
    return sections;
}

} // namespace gamefile
