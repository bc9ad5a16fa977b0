#include "support/ActionPathHelpers.h"

#include <algorithm>
#include <random>
#include <vector>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/Tteam.h"
#include "platform/StringGrid.h"
#include "support/Program.h"

namespace hooptally::testing {

MessageSpy::MessageSpy(THooptallyForm& form, Probe probe) : m_form(form)
{
    m_form.messageSpy = [this, probe](const platform::Message& message) {
        seen.append({message.msg, message.wParam, probe ? probe(message) : QString()});
    };
}

MessageSpy::~MessageSpy()
{
    m_form.messageSpy = nullptr;
}

QStringList MessageSpy::names(const QList<unsigned>& only) const
{
    QStringList result;
    for (const Seen& message : seen) {
        if (!only.isEmpty() && !only.contains(message.msg))
            continue;
        QString name = message.msg > platform::WM_APP && message.msg <= platform::WM_APP + 9
                           ? QStringLiteral("+%1").arg(message.msg - platform::WM_APP)
                           : QStringLiteral("0x%1").arg(message.msg, 0, 16);
        if (message.msg == kPlayerStatusMessage)
            name += QStringLiteral("(%1)").arg(message.wParam);
        result << name;
    }
    return result;
}

QStringList gridRows(const platform::StringGrid& grid)
{
    QStringList rows;
    for (int row = 0; row < grid.RowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid.ColCount(); ++col)
            cells << grid.Cells(col, row);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void writeMemberFile(const QString& path, const QStringList& entries)
{
    writeLines(path, QStringList{QStringLiteral("#Hooproster")} + entries);
}

void sendAction(THooptallyForm& form, const GameAction& action)
{
    platform::SendMessage(&form, kActionMessage, 0, std::make_unique<GameAction>(action));
}

QStringList logTexts(THooptallyForm& form)
{
    QStringList rows;
    for (int row = 1; row < form.GridPlaying->RowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < 4; ++col)
            cells << form.GridPlaying->Cells(col, row);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

namespace {

QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

QString numbersOf(const std::vector<TPlayer*>& players)
{
    QStringList numbers;
    for (const TPlayer* player : players)
        numbers << QString::number(player->id);
    return numbers.join(QLatin1Char(','));
}

std::vector<TPlayer*> playersWithStatus(const TTeam& team, std::uint8_t status)
{
    std::vector<TPlayer*> players;
    for (int i = 0; i < team.Count(); ++i) {
        if (team.PlayerAt(i)->status == status)
            players.push_back(team.PlayerAt(i));
    }
    return players;
}

} // namespace

QStringList gameSnapshot(THooptallyForm& form)
{
    QStringList lines;
    for (const TTeam* team : {form.TeamA(), form.TeamB()}) {
        QStringList teamLine{QStringLiteral("team"), QString::number(team->side), team->name};
        for (int period = 0; period < kMaxPeriods; ++period) {
            const PeriodClock& clock = team->ClockOf(period);
            teamLine << QString::number(team->TeamFouls(period)) << exact(clock.elapsed) << exact(clock.start)
                     << QString::number(clock.running);
        }
        lines << teamLine.join(QLatin1Char(' '));
        std::vector<const TPlayer*> players;
        for (int i = 0; i < team->Count(); ++i)
            players.push_back(team->PlayerAt(i));
        std::sort(players.begin(), players.end(), [](const auto* a, const auto* b) { return a->id < b->id; });
        for (const TPlayer* player : players) {
            QStringList line{QString::number(player->id), player->number, player->name,
                             QString::number(player->status), QString::number(player->starter)};
            for (int period = 0; period < kMaxPeriods; ++period) {
                line << QStringLiteral("p%1:").arg(period) << QString::number(player->played[period]);
                for (int stat = 0; stat < kStatCount; ++stat)
                    line << QString::number(player->Counter(period, stat));
                const CourtTime& time = player->CourtTimeOf(period);
                line << exact(time.accumulated) << exact(time.entry) << QString::number(time.onCourt);
            }
            lines << line.join(QLatin1Char(' '));
        }
    }
    for (const auto& entry : form.PlayLog().Entries()) {
        const GameAction& a = entry->action;
        lines << QStringList{entry->teamName,
                             entry->playerName,
                             entry->number,
                             QString::number(a.side),
                             QString::number(a.keyA),
                             QString::number(a.keyB),
                             QString::number(a.category),
                             QString::number(a.code),
                             QString::number(a.freeThrows),
                             QString::number(a.foulKind),
                             QString::number(a.command),
                             QString::number(a.player ? a.player->id : 0),
                             QString::number(a.period),
                             QString::number(a.minutes),
                             QString::number(a.seconds),
                             numbersOf(form.PlayLog().OnCourtOf(*entry))}
                     .join(QLatin1Char('|'));
    }
    lines << gridRows(*form.GridPlaying);
    return lines;
}

void recordSyntheticGame(Program& program, int loggedActions)
{
    constexpr int kPlayersPerTeam = 12;
    constexpr int kStarters = 5;
    constexpr int kPeriods = 4;
    for (const int side : {1, 2}) {
        const QChar letter = side == 1 ? QLatin1Char('A') : QLatin1Char('B');
        for (int i = 0; i < kPlayersPerTeam; ++i)
            program.addPlayer(side, QString::number(4 + i), QStringLiteral("選手%1%2").arg(letter).arg(4 + i),
                              i < kStarters);
        program.addPlayer(side, QString(), QStringLiteral("監督%1").arg(letter), false, true, kHeadCoachText);
    }

    THooptallyForm& form = program.form();
    std::minstd_rand random(20240601);
    auto pick = [&random](std::size_t n) { return static_cast<int>(random() % n); };
    const int periodSeconds = program.form().ClockMinutes() * 60;
    for (int period = 0; period < kPeriods; ++period) {
        const int first = form.PlayLog().Count();
        const int target = period + 1 < kPeriods ? loggedActions / kPeriods : loggedActions - first;
        const int last = first + target - 1; // the period end takes the last entry
        // Sets the clock for the next entry; false when the period's budget is spent.
        auto next = [&]() {
            const int done = form.PlayLog().Count() - first;
            if (form.PlayLog().Count() >= last)
                return false;
            const int left = periodSeconds - 1 - done * (periodSeconds - 2) / std::max(1, target);
            program.setClock(left / 60, left % 60);
            return true;
        };
        auto act = [&](TPlayer* player, std::uint8_t code, std::uint8_t foulKind = kNone,
                       std::uint8_t freeThrows = kNone) {
            if (player && next())
                program.act(player, code, foulKind, freeThrows);
        };
        while (form.PlayLog().Count() < last) {
            const bool sideA = pick(2) == 0;
            TTeam& team = sideA ? program.teamA() : program.teamB();
            TTeam& other = sideA ? program.teamB() : program.teamA();
            const auto court = playersWithStatus(team, kOnCourt);
            const auto opponents = playersWithStatus(other, kOnCourt);
            if (court.empty() || opponents.empty())
                break;
            TPlayer* player = court[pick(court.size())];
            const int roll = pick(100);
            if (roll < 35) {
                const auto code = static_cast<std::uint8_t>(pick(4));
                act(player, code);
                if (code == kTwoPointMissed || code == kThreePointMissed) {
                    if (pick(3) == 0)
                        act(court[pick(court.size())], kOffensiveRebound);
                    else
                        act(opponents[pick(opponents.size())], kDefensiveRebound);
                } else if (pick(2) == 0) {
                    act(court[pick(court.size())], kAssist);
                }
            } else if (roll < 50) {
                const int kindRoll = pick(10);
                const std::uint8_t kind =
                    kindRoll < 8 ? kPersonalFoul : (kindRoll == 8 ? kUnsportsmanlikeFoul : kTechnicalFoul);
                const auto throws = static_cast<std::uint8_t>(pick(3));
                act(player, kFoul, kind, throws);
                TPlayer* shooter = opponents[pick(opponents.size())];
                for (int t = 0; t < throws; ++t)
                    act(shooter, pick(4) == 0 ? kFreeThrowMissed : kFreeThrowMade);
            } else if (roll < 62) {
                const auto bench = playersWithStatus(team, kOnBench);
                if (!bench.empty()) {
                    act(player, kToBench);
                    act(bench[pick(bench.size())], kCourtIn);
                }
            } else if (roll < 66) {
                if (next())
                    program.command(kTimeout, team.side);
            } else if (roll < 68) {
                const auto coaches = playersWithStatus(team, kHeadCoach);
                if (!coaches.empty())
                    act(coaches.front(), kFoul, pick(2) == 0 ? kCoachTechnicalFoul : kBenchFoul, 2);
            } else {
                act(player, static_cast<std::uint8_t>(kTurnover + pick(4)));
            }
        }
        program.setClock(0, 0);
        program.command(kPeriodEnd);
    }
}

} // namespace hooptally::testing
