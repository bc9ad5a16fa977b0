#include "hoopledger/Tgame.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Codec.h"
#include "platform/Convert.h"

namespace hoopledger {

namespace {

// Lines of one player block: ID, name, number, position, starter, thirteen counters, playing time.
constexpr qsizetype kBlockLines = 19;
constexpr qsizetype kFirstCounterLine = 5;
// The counters as the block lists them, into the record's slots.
constexpr StatIndex kBlockCounters[] = {kThreeMadePoints,
                                        kThreeMissedPoints,
                                        kTwoMadePoints,
                                        kTwoMissedPoints,
                                        kFreeThrowsMade,
                                        kFreeThrowsMissed,
                                        kFouls,
                                        kAssists,
                                        kOffensiveRebounds,
                                        kDefensiveRebounds,
                                        kBlockedShots,
                                        kTurnovers,
                                        kSteals};
static_assert(std::size(kBlockCounters) == kStatCount);

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
    while (at < end && (maxLines < 0 || lines.size() < maxLines)) {
        const char* stop = at;
        while (stop < end && *stop != '\n' && *stop != '\r')
            ++stop;
        lines.append(QByteArrayView(at, stop - at));
        if (stop < end && *stop == '\r' && stop + 1 < end && stop[1] == '\n')
            ++stop;
        at = stop + 1;
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

TGame::StatsResult TGame::ReadStats(const QList<QByteArrayView>& lines)
{
    enum class State { BeforeBlock, BetweenTeams, InTeam, Done };
    State state = State::BeforeBlock;
    TGameSide* sides[] = {&sideA, &sideB};
    int sidesOpened = 0;
    const qsizetype count = lines.size();
    qsizetype at = 0;
    while (at < count && state != State::Done) {
        const QByteArrayView line = lines[at];
        switch (state) {
        case State::BeforeBlock:
            if (line.startsWith("#STATS-START")) {
                hasStats = 1;
                state = State::BetweenTeams;
            }
            ++at;
            break;
        case State::BetweenTeams:
            if (line.startsWith("#TEAM-START")) {
                // The record has two sides; the name and the count line must both be there.
                if (sidesOpened == 2 || at + 2 >= count)
                    return StatsResult::Damaged;
                sides[sidesOpened++]->SetName(LineText(lines[at + 1]));
                at += 3;
                state = State::InTeam;
            } else {
                if (line.startsWith("#STATS-END"))
                    state = State::Done;
                ++at;
            }
            break;
        case State::InTeam:
            if (line.startsWith("#TEAM-END")) {
                state = State::BetweenTeams;
                ++at;
                break;
            }
            if (at + kBlockLines > count)
                return StatsResult::Damaged;
            if (!lines[at + 2].isEmpty()) {
                const std::optional<double> playTime = finiteNumber(lines[at + kBlockLines - 1]);
                if (!playTime)
                    return StatsResult::Damaged;
                auto player = std::make_unique<TStatPlayer>();
                player->SetIdentity(LineText(lines[at + 2]), LineText(lines[at + 1]), kGamePlayerKind,
                                    wholeNumberOr0(lines[at + 4]) != 0 ? 1 : 0, LineText(lines[at + 3]));
                for (qsizetype i = 0; i < kStatCount; ++i)
                    player->counters[kBlockCounters[i]] = wholeNumberOr0(lines[at + kFirstCounterLine + i]);
                player->SetPlayTime(*playTime);
                sides[sidesOpened - 1]->AddPlayer(std::move(player));
            }
            at += kBlockLines;
            break;
        case State::Done:
            break;
        }
    }
    switch (state) {
    case State::BeforeBlock:
        return StatsResult::NoBlock;
    case State::Done:
        return StatsResult::Read;
    default:
        return StatsResult::Damaged; // the file ends inside the block
    }
}

} // namespace hoopledger
