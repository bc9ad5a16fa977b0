#include "hoopledger/Tplayer.h"

namespace hoopledger {

void TPlayerTotals::Add(const TPlayerTotals& other)
{
    for (int i = 0; i < kStatCount; ++i)
        values[i] += other.values[i];
}

qint64 TPlayerTotals::Points() const
{
    return values[kTwoMadePoints] + values[kThreeMadePoints] + values[kFreeThrowsMade];
}

TStatPlayerBase::~TStatPlayerBase() = default;

void TStatPlayer::SetIdentity(const QString& newNumber, const QString& newName, std::uint8_t newKind,
                              std::uint8_t newStarter, const QString& newPosition)
{
    number = newNumber;
    name = newName;
    kind = newKind;
    starter = newStarter;
    position = newPosition;
}

QString TStatPlayer::StarterText() const
{
    return starter == 1 ? QStringLiteral("Starter") : QString();
}

void TStatPlayer::SetPlayTime(double dayFraction)
{
    m_periodTimes[0].accumulated = dayFraction;
}

void TStatPlayer::CopyCounters(TPlayerTotals& out) const
{
    for (int i = 0; i < kStatCount; ++i)
        out.values[i] = counters[i];
}

} // namespace hoopledger
