#include "hoopledger/Tteam.h"

namespace hoopledger {

void TGameSide::AddPlayer(std::unique_ptr<TStatPlayer> player)
{
    m_players.AddMember(std::move(player));
}

qint64 TGameSide::Score() const
{
    qint64 score = 0;
    for (const TStatPlayer* player : m_players) {
        const qint64 own = qint64(player->counters[kTwoMadePoints]) + player->counters[kThreeMadePoints] +
                           player->counters[kFreeThrowsMade];
        if (own > 0)
            score += own;
    }
    return score;
}

} // namespace hoopledger
