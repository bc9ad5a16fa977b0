#include "hooptally/Tplayer.h"

#include <algorithm>
#include <cmath>

#include "gamefile/GameFileFormat.h"
#include "hooptally/Common.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "platform/DateTime.h"

namespace hooptally {

namespace {

// Storage order: 2P made, 2P missed, 3P made, 3P missed, FT made, FT missed, fouls, assists,
// offensive rebounds, defensive rebounds, blocked shots, turnovers, steals.
constexpr std::array<int, kStatCount> kStorageOfCode = {0, 1, 2, 3, 4, 5, 6, 8, 9, 11, 7, 12, 10};

enum Storage { s2Made = 0, s2Missed = 1, s3Made = 2, s3Missed = 3, sFtMade = 4, sFtMissed = 5 };

} // namespace

int StatIndexOfCode(int code)
{
    return code >= 0 && code < kStatCount ? kStorageOfCode[code] : -1;
}

double ClockReading(int minutes, int seconds)
{
    return platform::DateTime::secondsToDays(minutes * 60.0 + seconds);
}

TPlayer::TPlayer(TTeam* owner)
    : team(owner), m_counters(GetPeriodCount()), m_courtTimes(GetPeriodCount())
{
    for (auto& block : m_counters)
        block.fill(0);
}

void TPlayer::ResetPlayerStats()
{
    m_totals.fill(0);
    m_counters.assign(GetPeriodCount(), {});
    m_courtTimes.assign(GetPeriodCount(), CourtTime{});
}

void TPlayer::SetPlayerIdentity(const QString& newNumber, const QString& newName, std::uint8_t newStatus,
                                std::uint8_t newStarter, const QString& newPosition)
{
    // The roster changed only when the player's identity did.
    if (team && (number != newNumber || name != newName || position != newPosition || status != newStatus ||
                 starter != newStarter))
        team->modified = 1;
    number = newNumber;
    name = newName;
    position = newPosition;
    const ClockState clock = GetClockState();
    const int period = GetCurrentPeriod();
    starter = newStarter;
    // Only a starter can have been left off the list as one.
    if (starter != 1)
        leftOffTheList = false;
    status = newStatus;
    if (period == -1)
        return;
    if (status != kOnCourt) {
        ClockOut(period, clock.minutes, clock.seconds);
    } else {
        ClockIn(period, clock.minutes, clock.seconds);
        played[period] = 1;
    }
}

int TPlayer::AddStat(int period, const GameAction& action)
{
    // Without a period the action still counts, in the first one; the executor tells the scorer.
    if (!ValidPeriod(period))
        period = 0;
    if (action.category != kPlayerAction)
        return 0;
    const int index = StatIndexOfCode(action.code);
    if (index < 0 || m_counters.empty())
        return 0;
    const int before = m_totals[index];
    ++m_counters[period][index];
    ++m_totals[index];
    return before;
}

int TPlayer::StatValue(int period, std::uint8_t type, bool enabled) const
{
    if (!enabled || (period != -1 && !ValidPeriod(period)))
        return 0;
    if (type == kPointsStat)
        return Counter(period, s2Made) * 2 + Counter(period, s3Made) * 3 + Counter(period, sFtMade);
    const int index = StatIndexOfCode(type);
    if (index < 0)
        return 0;
    int factor = 1;
    if (type == kTwoPointMade || type == kTwoPointMissed)
        factor = 2;
    else if (type == kThreePointMade || type == kThreePointMissed)
        factor = 3;
    return Counter(period, index) * factor;
}

const QStringList& TPlayer::BuildDisplayRow()
{
    const int made = m_totals[s2Made] + m_totals[s3Made];
    const int attempted = made + m_totals[s2Missed] + m_totals[s3Missed];
    const int ftMade = m_totals[sFtMade];
    m_displayRow = {number,
                    name,
                    QString::number(StatValue(-1, kPointsStat, true)),
                    QStringLiteral("%1/%2").arg(made).arg(attempted),
                    QStringLiteral("%1/%2").arg(ftMade).arg(ftMade + m_totals[sFtMissed])};
    for (const int code : {kFoul, kOffensiveRebound, kDefensiveRebound, kTurnover, kAssist, kSteal, kBlockedShot})
        m_displayRow << QString::number(m_totals[StatIndexOfCode(code)]);
    m_displayRow << position;
    return m_displayRow;
}

QString TPlayer::StarterText() const
{
    return starter == 1 ? gamefile::kStarterText : QString();
}

QString TPlayer::CoachText() const
{
    return IsCoach() ? gamefile::kCoachText : QString();
}

bool TPlayer::IsCoach() const
{
    return status == kHeadCoach || status == kAssistantCoach || status == kCoach;
}

QString TPlayer::TeamNameOf() const
{
    return team ? team->name : QString();
}

void TPlayer::MakeCoach(bool head)
{
    if (!IsCoach())
        status = kCoach;
    position = head ? kHeadCoachText : kAssistantCoachText;
}

void TPlayer::ClearPlayedFlags()
{
    played.fill(0);
}

void TPlayer::ClockIn(int period, int minutes, int seconds)
{
    // A reading of -1 is no reading at all.
    if (!ValidPeriod(period) || minutes < 0 || seconds < 0)
        return;
    CourtTime& time = m_courtTimes[period];
    if (time.onCourt == 1)
        return;
    time.entry = ClockReading(minutes, seconds);
    time.onCourt = 1;
}

void TPlayer::ClockOut(int period, int minutes, int seconds)
{
    if (!ValidPeriod(period) || minutes < 0 || seconds < 0)
        return;
    CourtTime& time = m_courtTimes[period];
    if (time.entry == -1.0)
        return;
    // The clock counts down; a reading above the entry (the clock set back) adds nothing.
    time.accumulated += std::max(0.0, time.entry - ClockReading(minutes, seconds));
    time.entry = -1.0;
    time.onCourt = 0;
    if (period < kMaxPeriods)
        played[period] = 1;
}

void TPlayer::DropOpenCourtTime()
{
    for (CourtTime& time : m_courtTimes) {
        time.entry = -1.0;
        time.onCourt = 0;
    }
}

double TPlayer::TotalCourtTime() const
{
    double total = 0.0;
    for (const CourtTime& time : m_courtTimes)
        total += time.accumulated;
    return total;
}

QString TPlayer::FormatCourtTime(double dayFraction) const
{
    if (dayFraction == 0.0)
        dayFraction = TotalCourtTime();
    const long long msec = platform::DateTime::daysToMilliseconds(dayFraction);
    const long long totalSeconds = std::max(0LL, msec / 1000);
    // Whole minutes, not minutes within the hour: a 75-minute total stays "75:5".
    return QStringLiteral("%1:%2").arg(totalSeconds / 60).arg(totalSeconds % 60);
}

} // namespace hooptally
