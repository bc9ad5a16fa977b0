#include "hoopledger/Tgame.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "gamefile/GameFileFormat.h"
#include "platform/Codec.h"
#include "platform/Convert.h"

namespace hoopledger {

namespace {

// The record's slot of a count line.
constexpr StatIndex slotOf(gamefile::Stat stat)
{
    switch (stat) {
    case gamefile::Stat::ThreePointsMade:
        return kThreeMadePoints;
    case gamefile::Stat::ThreePointsMissed:
        return kThreeMissedPoints;
    case gamefile::Stat::TwoPointsMade:
        return kTwoMadePoints;
    case gamefile::Stat::TwoPointsMissed:
        return kTwoMissedPoints;
    case gamefile::Stat::FreeThrowsMade:
        return kFreeThrowsMade;
    case gamefile::Stat::FreeThrowsMissed:
        return kFreeThrowsMissed;
    case gamefile::Stat::Fouls:
        return kFouls;
    case gamefile::Stat::Assists:
        return kAssists;
    case gamefile::Stat::OffensiveRebounds:
        return kOffensiveRebounds;
    case gamefile::Stat::DefensiveRebounds:
        return kDefensiveRebounds;
    case gamefile::Stat::BlockedShots:
        return kBlockedShots;
    case gamefile::Stat::Turnovers:
        return kTurnovers;
    case gamefile::Stat::Steals:
        return kSteals;
    }
    return kStatCount;
}
static_assert(gamefile::kStatsCountLines.size() == kStatCount);

bool isAscii(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Number lines are short ASCII in every file the scoring program writes: they are converted from a
// buffer on the stack, through the same conversions as any other text.
template <typename Convert> auto number(QByteArrayView line, Convert convert)
{
    constexpr qsizetype kBuffer = 64;
    if (line.size() > kBuffer || !isAscii(line))
        return convert(LineText(line));
    char16_t wide[kBuffer];
    std::copy(line.begin(), line.end(), wide);
    return convert(QString::fromRawData(reinterpret_cast<const QChar*>(wide), line.size()));
}

// The counters of the files are plain decimals: read at once, anything else by the general rule.
std::optional<int> plainDecimal(QByteArrayView line)
{
    const bool negative = !line.isEmpty() && line[0] == '-';
    const QByteArrayView digits = negative ? line.sliced(1) : line;
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

int wholeNumberOr0(QByteArrayView line)
{
    if (const std::optional<int> value = plainDecimal(line))
        return *value;
    return number(line, [](const QString& text) { return platform::StrToIntDef(text, 0); });
}

std::optional<double> finiteNumber(QByteArrayView line)
{
    return number(line, [](const QString& text) { return platform::StrToFloat(text); });
}

} // namespace

TGameSide* TGame::FindSide(const QString& teamName)
{
    if (sideA.GetName() == teamName)
        return &sideA;
    if (sideB.GetName() == teamName)
        return &sideB;
    return nullptr;
}

QList<QByteArrayView> SplitLines(QByteArrayView bytes, qsizetype maxLines)
{
    QList<QByteArrayView> lines;
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    auto next = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, std::size_t(end - from));
        return found ? static_cast<const char*>(found) : end;
    };
    // The next CR and the next LF, each looked for again once passed: a whole file is split at the
    // pace of memchr, not byte by byte.
    const char* cr = nullptr;
    const char* lf = nullptr;
    while (at < end && (maxLines < 0 || lines.size() < maxLines)) {
        if (!cr || cr < at)
            cr = next(at, '\r');
        if (!lf || lf < at)
            lf = next(at, '\n');
        const char* stop = std::min(cr, lf);
        lines.append(QByteArrayView(at, stop - at));
        if (stop < end && stop == cr && lf == stop + 1)
            ++stop;
        at = stop < end ? stop + 1 : end;
    }
    return lines;
}

QString LineText(QByteArrayView line)
{
    // Names repeat from game to game: each is decoded once and then shared, which also keeps a
    // season's many copies of a name in one piece of memory.
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    constexpr size_t kMaxTexts = 50000;
    thread_local std::unordered_map<std::string, QString, Hash, std::equal_to<>> texts;
    const std::string_view key(line.data(), size_t(line.size()));
    if (const auto found = texts.find(key); found != texts.end())
        return found->second;
    const QString text = isAscii(line) ? QString::fromLatin1(line.data(), line.size())
                                       : platform::Codec::fromCp932(line.toByteArray());
    if (texts.size() >= kMaxTexts)
        texts.clear();
    texts.emplace(key, text);
    return text;
}

bool TGame::ReadStats(const QList<QByteArrayView>& lines, const gamefile::StatsBlock& block)
{
    TGameSide* sides[] = {&sideA, &sideB};
    for (int t = 0; t < block.teams; ++t) {
        const gamefile::StatsTeam& team = block.team[t];
        sides[t]->SetName(LineText(lines[team.nameLine]));
        for (qsizetype entry = 0; entry < team.entries; ++entry) {
            const qsizetype at = team.firstEntry + entry * gamefile::kStatsLinesPerPlayer;
            // The blank row and a coach without a number are nobody to count.
            if (lines[at + gamefile::kStatsNumberLine].isEmpty())
                continue;
            const std::optional<double> playTime = finiteNumber(lines[at + gamefile::kStatsPlayTimeLine]);
            if (!playTime)
                return false;
            auto player = std::make_unique<TStatPlayer>();
            player->SetIdentity(LineText(lines[at + gamefile::kStatsNumberLine]),
                                LineText(lines[at + gamefile::kStatsNameLine]), kGamePlayerKind,
                                wholeNumberOr0(lines[at + gamefile::kStatsStarterLine]) != 0 ? 1 : 0,
                                LineText(lines[at + gamefile::kStatsPositionLine]));
            qsizetype countLine = at + gamefile::kStatsFirstCountLine;
            for (const gamefile::Stat stat : gamefile::kStatsCountLines)
                player->counters[slotOf(stat)] = wholeNumberOr0(lines[countLine++]);
            player->SetPlayTime(*playTime);
            sides[t]->AddPlayer(std::move(player));
        }
    }
    hasStats = 1;
    return true;
}

} // namespace hoopledger
