// The roster list and the team record: ids, ordering, lookup, removal, colours, period clocks.
#include "hooptally/Common.h"
#include "hooptally/TPlayerExec.h"
#include "hooptally/TPlayerTouroku.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "support/Program.h"

#include <QTest>

using namespace hooptally;
using namespace hooptally::testing;

namespace {

// Roster entries written as "status:number:name", separated by spaces.
void addEntries(TTeam& team, const QString& entries)
{
    for (const QString& entry : entries.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = entry.split(QLatin1Char(':'));
        auto player = std::make_unique<TPlayer>(&team);
        player->status = static_cast<std::uint8_t>(parts[0].toInt());
        player->number = parts[1];
        player->name = parts[2];
        team.AddPlayer(std::move(player));
    }
}

QString rosterNames(const TTeam& team)
{
    QStringList names;
    for (int i = 0; i < team.Count(); ++i)
        names << team.PlayerAt(i)->name;
    return names.join(QLatin1Char(' '));
}

TPlayer* addWithId(TTeam& team, int id, std::uint8_t status = kOnBench)
{
    auto player = std::make_unique<TPlayer>(&team);
    player->id = id;
    player->status = status;
    return team.AddPlayer(std::move(player));
}

double seconds(double dayFraction)
{
    return dayFraction * 86400.0;
}

} // namespace

class tst_team : public QObject
{
    Q_OBJECT
private slots:
    void newTeam()
    {
        TTeam team(0x00FF8040, 2);
        QCOMPARE(team.side, 2);
        QCOMPARE(team.color, platform::TColor(0x00FF8040));
        QCOMPARE(team.modified, std::uint8_t(0));
        QCOMPARE(team.loaded, std::uint8_t(0));
        QCOMPARE(team.Count(), 0);
        QVERIFY(team.HasNoBlankRow());
        for (int period = 0; period < kMaxPeriods; ++period) {
            QCOMPARE(team.TeamFouls(period), 0);
            QCOMPARE(team.ClockOf(period).start, -1.0);
            QCOMPARE(team.ClockOf(period).running, std::uint8_t(0));
        }
    }

    void nextFreePlayerId_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<int>("expected");
        QTest::newRow("gap at 3") << QList<int>{1, 2, 4} << 3;
        QTest::newRow("empty list") << QList<int>{} << 1;
        QTest::newRow("1 missing") << QList<int>{3, 2} << 1;
        QTest::newRow("no gap") << QList<int>{2, 1, 3} << 4;
    }
    void nextFreePlayerId()
    {
        QFETCH(QList<int>, ids);
        QFETCH(int, expected);
        TTeam team(0, 1);
        for (const int id : ids)
            addWithId(team, id);
        QCOMPARE(team.NextFreePlayerId(), expected);
        // A record without an ID takes that one; one with an ID keeps it.
        QCOMPARE(addWithId(team, 0)->id, expected);
        QCOMPARE(addWithId(team, 99)->id, 99);
        QCOMPARE(team.Count(), ids.size() + 2);
    }

    void sortPlayers_data()
    {
        QTest::addColumn<SortMode>("mode");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("expected");
        const SortMode status = SortMode::ByStatus, number = SortMode::ByNumber;
        // clang-format off
        QTest::newRow("numbers by length first")       << status << "1:10:a 1:4:b 1:7:c"       << "b c a";
        QTest::newRow("status order")                  << status << "6::z 0:9:x 1:9:y"         << "x y z";
        QTest::newRow("all statuses reversed")         << status << "6::g 5:1:f 4:1:e 3:1:d 2:1:c 1:1:b 0:1:a"
                                                                 << "a b c d e f g";
        QTest::newRow("status before number")          << status << "1:4:a 0:10:b 0:5:c 6::d"  << "c b a d";
        QTest::newRow("equal keys keep their order")   << status << "1:8:a 1:5:b 1:8:c 1:5:d"  << "b d a c";
        QTest::newRow("length counted in CP932 bytes") << status << "1:一:kanji 1:10:ten"       << "ten kanji";
        QTest::newRow("half-width kana is one byte")   << status << "1:10:ten 1:ｱ:kana"        << "kana ten";
        QTest::newRow("one record")                    << status << "1:10:a"                   << "a";
        QTest::newRow("reversed numbers")              << status << "1:9:e 1:8:d 1:7:c 1:6:b 1:5:a"
                                                                 << "a b c d e";
        QTest::newRow("mixed, equal keys in order")    << status << "1:3:a 0:3:b 1:3:c 0:12:d 2:1:e 0:3:f 6::g 1:12:h"
                                                                 << "b f d a c h e g";
        QTest::newRow("past six bytes")                << status << "1:1234567:a 1:1234566:b 1:1234567:c"
                                                                 << "b a c";
        // clang-format on
        QStringList interleaved;
        QStringList courtFirst;
        for (int i = 0; i < 20; ++i) {
            interleaved << QStringLiteral("1:5:a%1 0:5:b%1").arg(i);
            courtFirst.insert(i, QStringLiteral("b%1").arg(i));
            courtFirst << QStringLiteral("a%1").arg(i);
        }
        QTest::newRow("many equal keys keep their order")
            << status << interleaved.join(u' ') << courtFirst.join(u' ');
        // clang-format off
        QTest::newRow("by number, coach in front")     << number << "3:1:coach 1:9:x 1:5:y"    << "coach y x";
        QTest::newRow("by number, status ignored")     << number << "0:7:a 1:5:b 2:10:c"       << "b a c";
        QTest::newRow("by number, coach stays behind") << number << "1:10:p 3:4:coach"         << "p coach";
        QTest::newRow("by number, passing a coach")    << number << "3:10:coach 1:4:p"         << "p coach";
        QTest::newRow("by number, coaches stay last")  << number << "0:9:c 1:12:a 1:5:b 3:3:coach 4:1:asst"
                                                                 << "b c a coach asst";
        // clang-format on
    }
    void sortPlayers()
    {
        QFETCH(SortMode, mode);
        QFETCH(QString, entries);
        TTeam team(0, 1);
        addEntries(team, entries);
        team.SortPlayers(mode);
        QTEST(rosterNames(team), "expected");
    }

    void lookupAndRemoval()
    {
        TTeam team(0, 1);
        TTeam other(0, 2);
        TPlayer* first = addWithId(team, 3);
        TPlayer* second = addWithId(team, 3);
        TPlayer* foreign = addWithId(other, 1);
        QCOMPARE(team.PlayerAt(team.Count()), nullptr);
        QCOMPARE(team.PlayerAt(-1), nullptr);
        QCOMPARE(team.PlayerAt(1), second);
        QCOMPARE(team.FindPlayerById(3), first);
        QCOMPARE(team.FindPlayerById(1), nullptr);

        QVERIFY(!team.RemovePlayer(foreign));
        QVERIFY(!team.RemovePlayer(nullptr));
        QCOMPARE(team.Count(), 2);
        QCOMPARE(other.Count(), 1);
        QVERIFY(team.RemovePlayer(first));
        QCOMPARE(team.Count(), 1);
        QCOMPARE(team.PlayerAt(0), second);
        QCOMPARE(team.FindPlayerById(3), second);
        QVERIFY(!team.RemovePlayer(first));
        team.ClearPlayers();
        QCOMPARE(team.Count(), 0);
        QCOMPARE(other.PlayerAt(0), foreign);
    }

    // The blank row is nobody: no lookup by ID finds it, yet no other record may take its ID.
    void blankRowIsFoundByNoId()
    {
        TTeam team(0, 1);
        addWithId(team, 1);
        TPlayer* blank = addWithId(team, 2, kBlankRow);
        QCOMPARE(team.FindPlayerById(1), team.PlayerAt(0));
        QCOMPARE(team.FindPlayerById(2), nullptr);
        QCOMPARE(team.NextFreePlayerId(), 3);
        blank->status = kOnBench;
        QCOMPARE(team.FindPlayerById(2), blank);
    }

    void countsAndPoints()
    {
        TTeam team(0, 1);
        TPlayer* a = addWithId(team, 1, kOnCourt);
        TPlayer* b = addWithId(team, 2, kOnBench);
        addWithId(team, 3, kOnCourt);
        addWithId(team, 4, kHeadCoach);
        GameAction three;
        three.category = kPlayerAction;
        three.code = kThreePointMade;
        GameAction freeThrow = three;
        freeThrow.code = kFreeThrowMade;
        a->AddStat(0, three);
        b->AddStat(3, three);
        b->AddStat(3, freeThrow);
        QCOMPARE(team.CountOnCourt(), 2);
        QCOMPARE(team.TeamPoints(-1), 7);
        QCOMPARE(team.TeamPoints(3), 4);
        QCOMPARE(team.TeamPoints(1), 0);
        QCOMPARE(team.TeamPoints(kMaxPeriods), 0);
        QVERIFY(team.HasNoBlankRow());
        addWithId(team, 5, kBlankRow);
        QVERIFY(!team.HasNoBlankRow());
    }

    void teamColorHex_data()
    {
        QTest::addColumn<unsigned>("color");
        QTest::addColumn<QString>("expected");
        QTest::newRow("light blue") << 0xFFBF7Fu << "7fbfff";
        QTest::newRow("red") << 0x0000FFu << "ff0000";
        QTest::newRow("blue") << 0xFF0000u << "0000ff";
        QTest::newRow("black keeps six digits") << 0x000000u << "000000";
        QTest::newRow("distinct bytes") << 0x123456u << "563412";
        QTest::newRow("high byte ignored") << 0x01123456u << "563412";
    }
    void teamColorHex()
    {
        QFETCH(unsigned, color);
        TTeam team(static_cast<platform::TColor>(color), 1);
        QTEST(team.TeamColorHex(), "expected");
    }

    void teamFouls()
    {
        TTeam team(0, 1);
        for (int period = 0; period < kMaxPeriods; ++period) {
            for (int i = 0; i <= period; ++i)
                team.AddTeamFoul(period);
        }
        team.AddTeamFoul(-1);
        team.AddTeamFoul(kMaxPeriods);
        team.ResetTeamFouls(2);
        team.ResetTeamFouls(-1);
        QCOMPARE(team.TeamFouls(1), 2);
        QCOMPARE(team.TeamFouls(2), 0);
        QCOMPARE(team.TeamFouls(5), 6);
        team.ResetTeamFouls(kAllPeriods);
        for (int period = 0; period < kMaxPeriods; ++period)
            QCOMPARE(team.TeamFouls(period), 0);
    }

    // Steps: "start P M:S" or "stop P M:S" (-1:-1 = no reading). Elapsed values in seconds.
    void periodClocks_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("period");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<int>("clockMinutes");
        QTest::addColumn<int>("clockSeconds");
        QTest::addColumn<double>("gameTime"); // ElapsedGameTime(period, clock)
        QTest::newRow("two periods played, third at 5:00")
            << "start 0 10:00, stop 0 0:00, start 1 10:00, stop 1 0:00, start 2 10:00" << 2 << 0.0 << 5 << 0
            << 1500.0;
        QTest::newRow("third not started")
            << "start 0 10:00, stop 0 0:00, start 1 10:00, stop 1 0:00" << 2 << 0.0 << 5 << 0 << 1200.0;
        QTest::newRow("restart keeps the first start")
            << "start 0 10:00, stop 0 8:00, start 0 7:00, stop 0 5:00" << 0 << 300.0 << 5 << 0 << 300.0;
        QTest::newRow("stop without start") << "stop 1 5:00" << 1 << 0.0 << 5 << 0 << 0.0;
        QTest::newRow("start without a reading") << "start 0 -1:-1, stop 0 5:00" << 0 << 0.0 << 5 << 0 << 0.0;
        QTest::newRow("stop without a reading")
            << "start 0 10:00, stop 0 -1:-1" << 0 << 0.0 << 8 << 0 << 120.0;
        QTest::newRow("game time without a reading")
            << "start 0 10:00, stop 0 0:00, start 1 10:00" << 1 << 0.0 << -1 << -1 << 600.0;
        QTest::newRow("clock set back above the start")
            << "start 0 5:00, stop 0 6:00" << 0 << 0.0 << 6 << 0 << 0.0;
        QTest::newRow("all periods")
            << "start 0 10:00, stop 0 9:00, start 3 10:00, stop 3 8:00, start 5 5:00, "
               "stop 5 0:00"
            << kAllPeriods << 480.0 << 0 << 0 << 0.0;
        QTest::newRow("periods out of range")
            << "start -1 10:00, stop -1 0:00, start 6 10:00, stop 6 0:00" << 6 << 0.0 << 0 << 0 << 0.0;
    }
    void periodClocks()
    {
        QFETCH(QString, steps);
        QFETCH(int, period);
        QFETCH(double, elapsed);
        QFETCH(int, clockMinutes);
        QFETCH(int, clockSeconds);
        QFETCH(double, gameTime);
        TTeam team(0, 1);
        for (const QString& step : steps.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList parts = step.trimmed().split(QLatin1Char(' '));
            const QStringList clock = parts[2].split(QLatin1Char(':'));
            if (parts[0] == QLatin1String("start"))
                team.StartPeriodClock(parts[1].toInt(), clock[0].toInt(), clock[1].toInt());
            else
                team.StopQu(parts[1].toInt(), clock[0].toInt(), clock[1].toInt());
        }
        QCOMPARE(qRound(seconds(team.PeriodElapsed(period)) * 1000), qRound(elapsed * 1000));
        QCOMPARE(qRound(seconds(team.ElapsedGameTime(period, clockMinutes, clockSeconds)) * 1000),
                 qRound(gameTime * 1000));
    }

    void elapsedGameTimeOfAllPeriodsIsZero()
    {
        TTeam team(0, 1);
        team.StartPeriodClock(0, 10, 0);
        team.StopQu(0, 0, 0);
        QCOMPARE(team.ElapsedGameTime(kAllPeriods, 0, 0), 0.0);
    }

    // The period clocks move the players on court, and only them.
    void periodClocksClockTheCourtPlayers()
    {
        TTeam team(0, 1);
        TPlayer* court = addWithId(team, 1, kOnCourt);
        TPlayer* bench = addWithId(team, 2, kOnBench);
        // A period stopped that was never started still takes the players off.
        court->ClockIn(1, 10, 0);
        team.StopQu(1, 9, 0);
        QCOMPARE(team.PeriodElapsed(1), 0.0);
        QCOMPARE(qRound(seconds(court->CourtTimeOf(1).accumulated)), 60);
        QCOMPARE(court->CourtTimeOf(1).onCourt, std::uint8_t(0));

        team.StartPeriodClock(2, 10, 0);
        QCOMPARE(court->CourtTimeOf(2).onCourt, std::uint8_t(1));
        QCOMPARE(bench->CourtTimeOf(2).onCourt, std::uint8_t(0));
        team.StopQu(2, 7, 0);
        QCOMPARE(qRound(seconds(court->CourtTimeOf(2).accumulated)), 180);
        QCOMPARE(bench->played[2], std::uint8_t(0));
        QVERIFY(team.AnyonePlayedInPeriod(2));
        QVERIFY(!team.AnyonePlayedInPeriod(3));
        QVERIFY(!team.AnyonePlayedInPeriod(-1));
        QVERIFY(!team.AnyonePlayedInPeriod(kMaxPeriods));

        team.ResetPeriodClocks();
        QCOMPARE(team.PeriodElapsed(kAllPeriods), 0.0);
        QCOMPARE(team.ClockOf(2).running, std::uint8_t(0));
    }

    // A blank row opens the registration through the executor; any other record its action dialog.
    void openPlayer()
    {
        Program program;
        TTeam& team = program.teamA();
        TPlayer* blank = team.PlayerAt(team.Count() - 1);
        QCOMPARE(blank->status, std::uint8_t(kBlankRow));
        bool keysDuringDialog = true;
        program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [&](QDialog&) {
            keysDuringDialog = IsKeyInputEnabled();
            return platform::mrCancel;
        });
        team.OpenPlayer(blank);
        QVERIFY(!keysDuringDialog);
        QVERIFY(IsKeyInputEnabled());
        QCOMPARE(program.form().PlayLog().Count(), 0);

        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("佐藤"));
        keysDuringDialog = true;
        TPlayer* shown = nullptr;
        program.dialogs().expectModal(QStringLiteral("PlayerExec"), [&](QDialog& dialog) {
            keysDuringDialog = IsKeyInputEnabled();
            shown = static_cast<TPlayerExec&>(dialog).Player();
            return platform::mrCancel;
        });
        team.OpenPlayer(player);
        QCOMPARE(shown, player);
        QVERIFY(!keysDuringDialog);
        QVERIFY(IsKeyInputEnabled());
        team.OpenPlayer(nullptr);
    }

    // A dialog opened from another one (the edit of a player from his action dialog) leaves the keys
    // off when it closes: the outer dialog still runs.
    void nestedDialogsKeepKeysOffUntilTheOuterCloses()
    {
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("佐藤"));
        bool keysAfterInner = true;
        program.dialogs().expectModal(QStringLiteral("PlayerExec"), [&](QDialog&) {
            PostGameAction(kPlayerAction, kEditPlayer, player, kNone, kNone, kNone);
            keysAfterInner = IsKeyInputEnabled();
            return platform::mrCancel;
        });
        program.dialogs().expectModal(QStringLiteral("PlayerTouroku"),
                                      [](QDialog&) { return platform::mrCancel; });
        program.teamA().OpenPlayer(player);
        QVERIFY(!keysAfterInner);
        QVERIFY(IsKeyInputEnabled());
    }
};

QTEST_MAIN(tst_team)
#include "tst_team.moc"
