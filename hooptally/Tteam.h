#pragma once

#include <cstdint>
#include <vector>

#include "hooptally/Tmember.h"
#include "platform/Colors.h"

namespace hooptally {

// Optional periods of the team operations: 255 means every period.
constexpr int kAllPeriods = 255;

struct PeriodClock
{
    double start = -1.0;
    double elapsed = 0.0;
    std::uint8_t running = 0;
};

// A team of the game: its roster plus team fouls, colour, period clocks and side.
class TTeam : public TMemberList
{
public:
    TTeam(platform::TColor color, int side);

    QString TeamColorHex() const;
    void StartPeriodClock(int period, int minutes, int seconds);
    void StopQu(int period, int minutes, int seconds);
    double PeriodElapsed(int period) const;
    double ElapsedGameTime(int period, int minutes, int seconds) const;
    void ResetTeamFouls(int period);
    // Back to no period started, as a new team.
    void ResetPeriodClocks();
    bool AnyonePlayedInPeriod(int period) const;

    int TeamFouls(int period) const;
    void AddTeamFoul(int period);
    const PeriodClock& ClockOf(int period) const { return m_periodClocks[period]; }
    bool ValidPeriod(int period) const { return period >= 0 && period < static_cast<int>(m_teamFouls.size()); }

    platform::TColor color;
    std::int32_t side;
    std::uint8_t modified = 0;

protected:
    TTeam* owningTeam() override { return this; }

private:
    std::vector<std::int32_t> m_teamFouls;
    std::vector<PeriodClock> m_periodClocks;
};

} // namespace hooptally
