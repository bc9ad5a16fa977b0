#include "hooptally/Tteam.h"

#include <algorithm>

#include "hooptally/Common.h"
#include "platform/Convert.h"

namespace hooptally {

TTeam::TTeam(platform::TColor teamColor, int teamSide)
    : color(teamColor), side(teamSide), m_teamFouls(GetPeriodCount(), 0), m_periodClocks(GetPeriodCount())
{
}

QString TTeam::TeamColorHex() const
{
    const unsigned value = static_cast<unsigned>(color);
    const unsigned rgb = ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
    return platform::Format("%06x", rgb);
}

void TTeam::StartPeriodClock(int period, int minutes, int seconds)
{
    if (!ValidPeriod(period))
        return;
    PeriodClock& clock = m_periodClocks[period];
    // A period that is already running keeps its first start.
    if (clock.running == 0 && minutes >= 0 && seconds >= 0) {
        clock.start = ClockReading(minutes, seconds);
        clock.running = 1;
    }
    for (int i = 0; i < Count(); ++i) {
        if (PlayerAt(i)->status == kOnCourt)
            PlayerAt(i)->ClockIn(period, minutes, seconds);
    }
}

void TTeam::StopQu(int period, int minutes, int seconds)
{
    if (!ValidPeriod(period))
        return;
    PeriodClock& clock = m_periodClocks[period];
    // The time from the start to the latest stop, not a sum over stops; a clock set back above its
    // start gives no time rather than a negative one.
    if (clock.running == 1 && minutes >= 0 && seconds >= 0)
        clock.elapsed = std::max(0.0, clock.start - ClockReading(minutes, seconds));
    for (int i = 0; i < Count(); ++i) {
        if (PlayerAt(i)->status == kOnCourt)
            PlayerAt(i)->ClockOut(period, minutes, seconds);
    }
}

double TTeam::PeriodElapsed(int period) const
{
    if (period == kAllPeriods) {
        double sum = 0.0;
        for (const PeriodClock& clock : m_periodClocks)
            sum += clock.elapsed;
        return sum;
    }
    return ValidPeriod(period) ? m_periodClocks[period].elapsed : 0.0;
}

double TTeam::ElapsedGameTime(int period, int minutes, int seconds) const
{
    if (!ValidPeriod(period))
        return 0.0;
    double sum = 0.0;
    for (int p = 0; p < period; ++p)
        sum += m_periodClocks[p].elapsed;
    const PeriodClock& clock = m_periodClocks[period];
    if (clock.running == 1 && minutes >= 0 && seconds >= 0)
        sum += std::max(0.0, clock.start - ClockReading(minutes, seconds));
    return sum;
}

void TTeam::ResetTeamFouls(int period)
{
    if (period == kAllPeriods)
        std::fill(m_teamFouls.begin(), m_teamFouls.end(), 0);
    else if (ValidPeriod(period))
        m_teamFouls[period] = 0;
}

void TTeam::ResetPeriodClocks()
{
    std::fill(m_periodClocks.begin(), m_periodClocks.end(), PeriodClock{});
}

bool TTeam::AnyonePlayedInPeriod(int period) const
{
    if (period < 0 || period >= kMaxPeriods)
        return false;
    for (int i = 0; i < Count(); ++i) {
        if (PlayerAt(i)->played[period])
            return true;
    }
    return false;
}

int TTeam::TeamFouls(int period) const
{
    return ValidPeriod(period) ? m_teamFouls[period] : 0;
}

void TTeam::AddTeamFoul(int period)
{
    if (ValidPeriod(period))
        ++m_teamFouls[period];
}

} // namespace hooptally
