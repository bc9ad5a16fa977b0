#pragma once

#include <array>
#include <cstdint>

#include <QString>

namespace hoopledger {

// Slots of a player's counters, in the order the records keep them. Field goals are kept as points
// (2 per two-pointer, 3 per three-pointer), everything else as counts.
enum StatIndex : int {
    kTwoMadePoints,
    kTwoMissedPoints,
    kThreeMadePoints,
    kThreeMissedPoints,
    kFreeThrowsMade,
    kFreeThrowsMissed,
    kFouls,
    kAssists,
    kOffensiveRebounds,
    kDefensiveRebounds,
    kBlockedShots,
    kTurnovers,
    kSteals,
    kStatCount
};

// Per-period slots of a player record.
constexpr int kPeriodCount = 7;

// What a player record is after SetIdentity (and at creation); players read from a game file are kind 0.
constexpr std::uint8_t kIdentityKind = 6;
constexpr std::uint8_t kGamePlayerKind = 0;

// Summed counters of the views, in counter order. 64 bits: a season's sums must not wrap.
struct TPlayerTotals
{
    std::array<qint64, kStatCount> values{};

    qint64 operator[](int index) const { return values[index]; }
    void Add(const TPlayerTotals& other);
    qint64 Points() const;
};

struct TPeriodTime
{
    double entryTime = -1.0;
    double accumulated = 0.0; // a fraction of a day
    std::uint8_t played = 0;
};

// The per-period part of a player record. Only the time of slot 0 is used here (the whole game's
// playing time); the scoring program's per-period counters are never filled by this program and are
// not kept, which keeps a season of thousands of games small.
class TStatPlayerBase
{
public:
    virtual ~TStatPlayerBase();

protected:
    std::array<TPeriodTime, kPeriodCount> m_periodTimes{};
};

// The statistics program's player record: a game side's player read from a game file, or a season
// member (an identity copy without statistics).
class TStatPlayer : public TStatPlayerBase
{
public:
    std::array<std::int32_t, kStatCount> counters{};
    QString name;
    QString number; // a text: 7, 07 and A are three different numbers
    QString position;
    std::uint8_t starter = 0;
    std::uint8_t kind = kIdentityKind;
    std::uint8_t visible = 1;

    void SetIdentity(const QString& newNumber, const QString& newName, std::uint8_t newKind,
                     std::uint8_t newStarter, const QString& newPosition);
    const QString& GetName() const { return name; }
    const QString& GetNumber() const { return number; }
    const QString& GetPosition() const { return position; }
    std::uint8_t IsStarter() const { return starter; }
    QString StarterText() const;
    void SetPlayTime(double dayFraction);
    double PlayTime() const { return m_periodTimes[0].accumulated; }
    void CopyCounters(TPlayerTotals& out) const;
};

} // namespace hoopledger
