#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <QString>
#include <QStringList>

#include "hooptally/Common.h"

namespace hooptally {

class TTeam;
struct GameAction;

// Statuses of a roster entry.
enum PlayerStatus : std::uint8_t {
    kOnCourt = 0,
    kOnBench = 1,
    kNotListed = 2,
    kHeadCoach = 3,
    kAssistantCoach = 4,
    kCoach = 5,
    kBlankRow = 6,
};

constexpr int kStatCount = 13;
// Statistic type of StatValue that gives the points.
constexpr std::uint8_t kPointsStat = 18;

inline const QString kHeadCoachText = QStringLiteral("ﾍｯﾄﾞｺｰﾁ");
inline const QString kAssistantCoachText = QStringLiteral("ｱｼｽﾀﾝﾄｺｰﾁ");

// Storage index of the counter that action code 0 to 12 increments.
int StatIndexOfCode(int code);

// A reading of the count-down game clock as a fraction of a day.
double ClockReading(int minutes, int seconds);

struct CourtTime
{
    double entry = -1.0;      // clock when clocked in; -1.0 while off the court
    double accumulated = 0.0; // day fraction
    std::uint8_t onCourt = 0;
};

// One roster entry: a player, a coach, or the blank row through which a new player is entered.
class TPlayer
{
public:
    explicit TPlayer(TTeam* team);

    void ResetPlayerStats();
    void SetPlayerIdentity(const QString& number, const QString& name, std::uint8_t status,
                           std::uint8_t starter, const QString& position);
    // Counts one player action in the period; returns the game total before the increment.
    int AddStat(int period, const GameAction& action);
    int StatValue(int period, std::uint8_t type, bool enabled) const;
    const QStringList& BuildDisplayRow();
    QString StarterText() const;
    // A starter on the official list from the start; one listed later came on, he did not start.
    bool StartedTheGame() const { return starter == 1 && !leftOffTheList; }
    QString CoachText() const;
    bool IsCoach() const;
    QString TeamNameOf() const;
    void MakeCoach(bool head);
    void ClearPlayedFlags();
    void ClockIn(int period, int minutes, int seconds);
    void ClockOut(int period, int minutes, int seconds);
    // Forgets an open court-time interval in every period, adding no time and marking no period played.
    void DropOpenCourtTime();
    // Court time as minutes:seconds without padding; 0.0 means the player's whole game.
    QString FormatCourtTime(double dayFraction) const;
    double TotalCourtTime() const;

    // Inline: the team's points add it up for every player after every action.
    int Counter(int period, int storageIndex) const
    {
        if (period == -1)
            return m_totals[storageIndex];
        return ValidPeriod(period) ? m_counters[period][storageIndex] : 0;
    }
    int Total(int storageIndex) const { return m_totals[storageIndex]; }
    const CourtTime& CourtTimeOf(int period) const { return m_courtTimes[period]; }
    int PeriodCount() const { return static_cast<int>(m_counters.size()); }
    bool ValidPeriod(int period) const { return period >= 0 && period < PeriodCount(); }

    std::int32_t id = 0;
    QString name;
    QString number;
    QString position;
    std::uint8_t starter = 0;
    TTeam* team; // not owned
    std::uint8_t status = kBlankRow;
    std::uint8_t official = 0;
    // A starter the team sheet left off the official list: he did not start the game, and whatever
    // brings him on later is in the log. Never written as official, never put on court by a reset;
    // made a non-starter, or a starter again from the sheet, he is an ordinary player.
    bool leftOffTheList = false;
    std::array<std::uint8_t, kMaxPeriods> played{};

private:
    std::vector<std::array<std::int32_t, kStatCount>> m_counters;
    std::vector<CourtTime> m_courtTimes;
    std::array<std::int32_t, kStatCount> m_totals{};
    QStringList m_displayRow;
};

} // namespace hooptally
