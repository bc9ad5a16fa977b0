// The player record: counters, statistics, display row, court time and identity.
#include "hooptally/Texecute.h"
#include "hooptally/Tplayer.h"
#include "hooptally/Tteam.h"
#include "platform/testing/ScriptedDialogs.h"
#include "support/Program.h"

#include <QTest>

using namespace hooptally;
using namespace hooptally::testing;

namespace {

GameAction playerAction(std::uint8_t code, std::uint8_t category = kPlayerAction)
{
    GameAction action;
    action.category = category;
    action.code = code;
    return action;
}

// Runs clock steps written as "in 0 10:00, out 0 7:30" (period, minutes:seconds; -1:-1 = no reading).
void runClockSteps(TPlayer& player, const QString& steps)
{
    for (const QString& step : steps.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = step.trimmed().split(QLatin1Char(' '));
        const int period = parts[1].toInt();
        const QStringList clock = parts[2].split(QLatin1Char(':'));
        if (parts[0] == QLatin1String("in"))
            player.ClockIn(period, clock[0].toInt(), clock[1].toInt());
        else
            player.ClockOut(period, clock[0].toInt(), clock[1].toInt());
    }
}

double seconds(double dayFraction)
{
    return dayFraction * 86400.0;
}

} // namespace

class tst_player : public QObject
{
    Q_OBJECT
private slots:
    void newRecordIsABlankRow()
    {
        TTeam team(0, 1);
        TPlayer player(&team);
        QCOMPARE(player.status, std::uint8_t(kBlankRow));
        QVERIFY(!player.IsCoach());
        QCOMPARE(player.id, 0);
        QCOMPARE(player.PeriodCount(), kMaxPeriods);
        for (int period = 0; period < kMaxPeriods; ++period) {
            QCOMPARE(player.CourtTimeOf(period).entry, -1.0);
            QCOMPARE(player.CourtTimeOf(period).onCourt, std::uint8_t(0));
        }
        QCOMPARE(player.FormatCourtTime(0.0), QStringLiteral("0:0"));
        QCOMPARE(player.TeamNameOf(), QString());
        team.name = QStringLiteral("東京");
        QCOMPARE(player.TeamNameOf(), QStringLiteral("東京"));
    }

    void makeCoach_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("head");
        QTest::addColumn<int>("expectedStatus");
        QTest::addColumn<QString>("expectedPosition");
        QTest::newRow("blank row, assistant")
            << int(kBlankRow) << false << int(kCoach) << kAssistantCoachText;
        QTest::newRow("head coach stays head coach")
            << int(kHeadCoach) << true << int(kHeadCoach) << kHeadCoachText;
        QTest::newRow("assistant made head keeps status")
            << int(kAssistantCoach) << true << int(kAssistantCoach) << kHeadCoachText;
        QTest::newRow("player on court") << int(kOnCourt) << true << int(kCoach) << kHeadCoachText;
    }
    void makeCoach()
    {
        QFETCH(int, status);
        QFETCH(bool, head);
        TTeam team(0, 1);
        TPlayer player(&team);
        player.status = static_cast<std::uint8_t>(status);
        player.position = QStringLiteral("PG");
        player.MakeCoach(head);
        QTEST(int(player.status), "expectedStatus");
        QTEST(player.position, "expectedPosition");
        QVERIFY(player.IsCoach());
        QCOMPARE(player.CoachText(), QStringLiteral("Coach"));
    }

    // Files and the snapshot read the counters by their storage slot.
    void actionCodeCountsInItsSlot_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("slot");
        for (int code = 0; code <= kFoul; ++code)
            QTest::addRow("code %d", code) << code << code;
        QTest::newRow("offensive rebound") << int(kOffensiveRebound) << 8;
        QTest::newRow("defensive rebound") << int(kDefensiveRebound) << 9;
        QTest::newRow("turnover") << int(kTurnover) << 11;
        QTest::newRow("assist") << int(kAssist) << 7;
        QTest::newRow("steal") << int(kSteal) << 12;
        QTest::newRow("blocked shot") << int(kBlockedShot) << 10;
    }
    void actionCodeCountsInItsSlot()
    {
        QFETCH(int, code);
        QFETCH(int, slot);
        TTeam team(0, 1);
        TPlayer player(&team);
        const GameAction action = playerAction(static_cast<std::uint8_t>(code));
        QCOMPARE(player.AddStat(2, action), 0);
        QCOMPARE(player.AddStat(3, action), 1);
        for (int index = 0; index < kStatCount; ++index) {
            QCOMPARE(player.Total(index), index == slot ? 2 : 0);
            QCOMPARE(player.Counter(2, index), index == slot ? 1 : 0);
            QCOMPARE(player.Counter(1, index), 0);
        }
    }

    void addStatCountsNothing_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("code");
        QTest::newRow("command") << int(kCommand) << int(kTwoPointMade);
        QTest::newRow("court in") << int(kPlayerAction) << int(kCourtIn);
        QTest::newRow("edit player") << int(kPlayerAction) << int(kEditPlayer);
        QTest::newRow("code 255") << int(kPlayerAction) << 255;
    }
    void addStatCountsNothing()
    {
        QFETCH(int, category);
        QFETCH(int, code);
        TTeam team(0, 1);
        TPlayer player(&team);
        player.AddStat(0, playerAction(kTwoPointMade));
        const GameAction action =
            playerAction(static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(category));
        QCOMPARE(player.AddStat(0, action), 0);
        QCOMPARE(player.StatValue(-1, kPointsStat, true), 2);
        for (int index = 1; index < kStatCount; ++index)
            QCOMPARE(player.Total(index), 0);
    }

    void addStatWithoutAPeriodCountsInTheFirst_data()
    {
        QTest::addColumn<int>("period");
        QTest::newRow("no period") << -1;
        QTest::newRow("past the last period") << kMaxPeriods;
    }
    void addStatWithoutAPeriodCountsInTheFirst()
    {
        QFETCH(int, period);
        platform::testing::ScriptedDialogs dialogs;
        TTeam team(0, 1);
        TPlayer player(&team);
        QCOMPARE(player.AddStat(period, playerAction(kSteal)), 0);
        QCOMPARE(player.StatValue(0, kSteal, true), 1);
        QCOMPARE(player.StatValue(-1, kSteal, true), 1);
    }

    void statValue_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("expected");
        QTest::newRow("disabled points") << -1 << int(kPointsStat) << false << 0;
        QTest::newRow("disabled fouls") << 1 << int(kFoul) << false << 0;
        QTest::newRow("game turnovers") << -1 << int(kTurnover) << true << 3;
        QTest::newRow("free throws missed in period") << 1 << int(kFreeThrowMissed) << true << 2;
        QTest::newRow("free throws missed other period") << 0 << int(kFreeThrowMissed) << true << 0;
        QTest::newRow("two made counts two each") << -1 << int(kTwoPointMade) << true << 4;
        QTest::newRow("three missed counts three each") << 1 << int(kThreePointMissed) << true << 3;
        QTest::newRow("game points") << -1 << int(kPointsStat) << true << 2 * 2 + 3 + 1;
        QTest::newRow("period points") << 0 << int(kPointsStat) << true << 2 + 3;
        QTest::newRow("type 13") << -1 << 13 << true << 0;
        QTest::newRow("type 17") << -1 << 17 << true << 0;
        QTest::newRow("type 19") << -1 << 19 << true << 0;
        QTest::newRow("type 255") << -1 << 255 << true << 0;
        QTest::newRow("period past the last") << kMaxPeriods << int(kTurnover) << true << 0;
        QTest::newRow("period -2") << -2 << int(kTurnover) << true << 0;
    }
    void statValue()
    {
        QFETCH(int, period);
        QFETCH(int, type);
        QFETCH(bool, enabled);
        TTeam team(0, 1);
        TPlayer player(&team);
        const std::pair<int, int> actions[] = {
            {0, kTwoPointMade},    {0, kThreePointMade},  {1, kTwoPointMade},     {1, kFreeThrowMade},
            {1, kFreeThrowMissed}, {1, kFreeThrowMissed}, {1, kThreePointMissed}, {0, kTurnover},
            {2, kTurnover},        {5, kTurnover}};
        for (const auto& [actionPeriod, code] : actions)
            player.AddStat(actionPeriod, playerAction(static_cast<std::uint8_t>(code)));
        QTEST(player.StatValue(period, static_cast<std::uint8_t>(type), enabled), "expected");
        for (int anyType = 0; anyType <= 255; ++anyType)
            QCOMPARE(player.StatValue(period, static_cast<std::uint8_t>(anyType), false), 0);
    }

    void displayRowHoldsTheGameTotalsInColumnOrder()
    {
        TTeam team(0, 1);
        TPlayer player(&team);
        player.number = QStringLiteral("12");
        player.name = QStringLiteral("佐藤");
        player.position = QStringLiteral("PG");
        const auto add = [&player](std::uint8_t code, int times, int period = 0) {
            for (int i = 0; i < times; ++i)
                player.AddStat(period, playerAction(code));
        };
        // Three field goals made of seven attempted; the fouls to blocks columns get 1 to 7.
        add(kTwoPointMade, 2);
        add(kThreePointMade, 1, 4);
        add(kTwoPointMissed, 3);
        add(kThreePointMissed, 1);
        add(kFreeThrowMade, 2);
        add(kFreeThrowMissed, 1);
        add(kFoul, 1);
        add(kOffensiveRebound, 2);
        add(kDefensiveRebound, 3);
        add(kTurnover, 4);
        add(kAssist, 5);
        add(kSteal, 6);
        add(kBlockedShot, 7, 3);
        const QStringList expected = {QStringLiteral("12"),  QStringLiteral("佐藤"), QStringLiteral("9"),
                                      QStringLiteral("3/7"), QStringLiteral("2/3"),  QStringLiteral("1"),
                                      QStringLiteral("2"),   QStringLiteral("3"),    QStringLiteral("4"),
                                      QStringLiteral("5"),   QStringLiteral("6"),    QStringLiteral("7"),
                                      QStringLiteral("PG")};
        QCOMPARE(player.BuildDisplayRow(), expected);
        // Rebuilding replaces the row rather than adding to it.
        QCOMPARE(player.BuildDisplayRow().size(), 13);
    }

    void courtTime_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<double>("accumulated"); // seconds in period 0
        QTest::addColumn<bool>("onCourt");
        QTest::addColumn<bool>("played");
        QTest::newRow("in at 10:00, out at 7:30") << "in 0 10:00, out 0 7:30" << 150.0 << false << true;
        QTest::newRow("second clock-in keeps the first entry")
            << "in 0 10:00, in 0 9:00, out 0 8:00" << 120.0 << false << true;
        QTest::newRow("out without in") << "out 0 5:00" << 0.0 << false << false;
        QTest::newRow("two stints add up")
            << "in 0 10:00, out 0 8:00, in 0 6:00, out 0 5:30" << 150.0 << false << true;
        QTest::newRow("still on court") << "in 0 10:00" << 0.0 << true << false;
        QTest::newRow("clock set back above the entry") << "in 0 5:00, out 0 6:00" << 0.0 << false << true;
        QTest::newRow("no reading never clocks in") << "in 0 -1:-1, out 0 2:00" << 0.0 << false << false;
        QTest::newRow("no reading never clocks out") << "in 0 10:00, out 0 -1:-1" << 0.0 << true << false;
        QTest::newRow("no reading then a reading")
            << "in 0 10:00, out 0 -1:-1, out 0 9:00" << 60.0 << false << true;
        QTest::newRow("periods out of range touch nothing")
            << "in -1 10:00, in 6 10:00, out 6 0:00, out -1 0:00" << 0.0 << false << false;
    }
    void courtTime()
    {
        QFETCH(QString, steps);
        QFETCH(double, accumulated);
        QFETCH(bool, onCourt);
        QFETCH(bool, played);
        TTeam team(0, 1);
        TPlayer player(&team);
        runClockSteps(player, steps);
        const CourtTime& time = player.CourtTimeOf(0);
        QCOMPARE(qRound(seconds(time.accumulated) * 1000), qRound(accumulated * 1000));
        QCOMPARE(time.onCourt == 1, onCourt);
        // The entry reading is set exactly while the player is clocked in.
        QCOMPARE(time.entry != -1.0, onCourt);
        QCOMPARE(player.played[0] == 1, played);
        QCOMPARE(player.TotalCourtTime(), time.accumulated);
    }

    void courtTimeIsFormattedInWholeMinutes_data()
    {
        QTest::addColumn<double>("secondsPlayed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("65 seconds") << 65.0 << "1:5";
        QTest::newRow("2:30") << 150.0 << "2:30";
        QTest::newRow("under a second") << 0.4 << "0:0";
        QTest::newRow("rounded to the millisecond") << 59.9996 << "1:0";
        QTest::newRow("just under a minute") << 59.9984 << "0:59";
        QTest::newRow("an hour") << 3600.0 << "60:0";
        QTest::newRow("75:05") << 4505.0 << "75:5";
        QTest::newRow("negative") << -30.0 << "0:0";
    }
    void courtTimeIsFormattedInWholeMinutes()
    {
        QFETCH(double, secondsPlayed);
        TTeam team(0, 1);
        TPlayer player(&team);
        QTEST(player.FormatCourtTime(secondsPlayed / 86400.0), "expected");
    }

    void formatOfZeroSumsEveryPeriod()
    {
        TTeam team(0, 1);
        TPlayer player(&team);
        runClockSteps(
            player, QStringLiteral("in 0 10:00, out 0 7:30, in 3 1:05, out 3 0:00, in 5 20:00, out 5 0:00"));
        QCOMPARE(player.FormatCourtTime(0.0), QStringLiteral("23:35"));
        // Only the accumulated time counts, not a stint still running.
        player.ClockIn(1, 10, 0);
        QCOMPARE(player.FormatCourtTime(0.0), QStringLiteral("23:35"));
        QCOMPARE(player.FormatCourtTime(65.0 / 86400.0), QStringLiteral("1:5"));
    }

    void resetKeepsIdentityAndPlayedFlags()
    {
        TTeam team(0, 1);
        TPlayer player(&team);
        player.id = 4;
        player.number = QStringLiteral("7");
        player.status = kOnCourt;
        runClockSteps(player, QStringLiteral("in 2 10:00, out 2 9:00, in 3 5:00"));
        player.AddStat(2, playerAction(kAssist));
        player.ResetPlayerStats();
        QCOMPARE(player.StatValue(-1, kAssist, true), 0);
        QCOMPARE(player.StatValue(2, kAssist, true), 0);
        QCOMPARE(player.TotalCourtTime(), 0.0);
        QCOMPARE(player.CourtTimeOf(3).entry, -1.0);
        QCOMPARE(player.CourtTimeOf(3).onCourt, std::uint8_t(0));
        QCOMPARE(player.id, 4);
        QCOMPARE(player.status, std::uint8_t(kOnCourt));
        QCOMPARE(player.played[2], std::uint8_t(1));
        player.ClearPlayedFlags();
        QCOMPARE(player.played[2], std::uint8_t(0));
    }

    // The identity clocks the player at the main window's period and clock.
    void identityClocksAtTheCurrentPeriod()
    {
        Program program;
        program.setPeriod(2);
        program.setClock(7, 0);
        TTeam& team = program.teamA();
        team.modified = 0;
        TPlayer player(&team);
        player.SetPlayerIdentity(QStringLiteral("4"), QStringLiteral("佐藤"), kOnCourt, 1,
                                 QStringLiteral("C"));
        QCOMPARE(team.modified, std::uint8_t(1));
        QCOMPARE(player.starter, std::uint8_t(1));
        QCOMPARE(player.StarterText(), QStringLiteral("Starter"));
        QCOMPARE(qRound(seconds(player.CourtTimeOf(2).entry)), 420);
        QCOMPARE(player.played[2], std::uint8_t(1));
        program.setClock(5, 0);
        player.SetPlayerIdentity(QStringLiteral("4"), QStringLiteral("佐藤"), kOnBench, 0,
                                 QStringLiteral("C"));
        QCOMPARE(player.StarterText(), QString());
        QCOMPARE(qRound(seconds(player.CourtTimeOf(2).accumulated)), 120);
        QCOMPARE(player.CourtTimeOf(2).onCourt, std::uint8_t(0));
    }

    void identityWithoutAPeriodChangesNoCourtTime()
    {
        Program program;
        program.setPeriod(-1);
        TTeam& team = program.teamA();
        TPlayer player(&team);
        player.SetPlayerIdentity(QStringLiteral("4"), QStringLiteral("佐藤"), kOnCourt, 1, QString());
        QCOMPARE(player.status, std::uint8_t(kOnCourt));
        QCOMPARE(player.number, QStringLiteral("4"));
        QCOMPARE(player.name, QStringLiteral("佐藤"));
        for (int period = 0; period < kMaxPeriods; ++period) {
            QCOMPARE(player.CourtTimeOf(period).onCourt, std::uint8_t(0));
            QCOMPARE(player.played[period], std::uint8_t(0));
        }
    }
};

QTEST_MAIN(tst_player)
#include "tst_player.moc"
