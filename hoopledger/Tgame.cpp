#include "hoopledger/Tgame.h"

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

// Without a copy: the view's text stays where the file's decoded text is.
QString borrowed(QStringView view)
{
    return QString::fromRawData(view.data(), view.size());
}

int wholeNumberOr0(QStringView line)
{
    return platform::StrToIntDef(borrowed(line), 0);
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

TGame::StatsResult TGame::ReadStats(const QList<QStringView>& lines)
{
    enum class State { BeforeBlock, BetweenTeams, InTeam, Done };
    State state = State::BeforeBlock;
    TGameSide* sides[] = {&sideA, &sideB};
    int sidesOpened = 0;
    const qsizetype count = lines.size();
    qsizetype at = 1;
    while (at < count && state != State::Done) {
        const QStringView line = lines[at];
        switch (state) {
        case State::BeforeBlock:
            if (line.startsWith(u"#STATS-START")) {
                hasStats = 1;
                state = State::BetweenTeams;
            }
            ++at;
            break;
        case State::BetweenTeams:
            if (line.startsWith(u"#TEAM-START")) {
                // The record has two sides; the name and the count line must both be there.
                if (sidesOpened == 2 || at + 2 >= count)
                    return StatsResult::Damaged;
                sides[sidesOpened++]->SetName(lines[at + 1].toString());
                at += 3;
                state = State::InTeam;
            } else {
                if (line.startsWith(u"#STATS-END"))
                    state = State::Done;
                ++at;
            }
            break;
        case State::InTeam:
            if (line.startsWith(u"#TEAM-END")) {
                state = State::BetweenTeams;
                ++at;
                break;
            }
            if (at + kBlockLines > count)
                return StatsResult::Damaged;
            if (!lines[at + 2].isEmpty()) {
                const auto playTime = platform::StrToFloat(borrowed(lines[at + kBlockLines - 1]));
                if (!playTime)
                    return StatsResult::Damaged;
                auto player = std::make_unique<TStatPlayer>();
                player->SetIdentity(lines[at + 2].toString(), lines[at + 1].toString(), kGamePlayerKind,
                                    wholeNumberOr0(lines[at + 4]) != 0 ? 1 : 0, lines[at + 3].toString());
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
