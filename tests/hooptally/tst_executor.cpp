// The action executor: what one action does to players, teams and the log, in which order the sheets
// are told, registrations, and the commands the action path carries.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>

#include "hooptally/Common.h"
#include "hooptally/TPlayerExec.h"
#include "hooptally/TPlayerTouroku.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "platform/Canvas.h"
#include "platform/Fonts.h"
#include "platform/StringGrid.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

enum Who { Starter, Bench, Coach };

// Team A: five starters (4 to 8), bench player 9 and a head coach; team B: starter 5.
struct Roster
{
    TPlayer* starters[5];
    TPlayer* bench;
    TPlayer* coach;
    TPlayer* opponent;

    explicit Roster(Program& program)
    {
        for (int i = 0; i < 5; ++i)
            starters[i] =
                program.addPlayer(1, QString::number(4 + i), QStringLiteral("先発%1").arg(4 + i), true);
        bench = program.addPlayer(1, QStringLiteral("9"), QStringLiteral("控え"));
        coach = program.addPlayer(1, QString(), QStringLiteral("監督"), false, true, kHeadCoachText);
        opponent = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("相手"), true);
    }
    TPlayer* who(Who who) const { return who == Starter ? starters[0] : (who == Bench ? bench : coach); }
};

GameAction makeAction(TPlayer* player, std::uint8_t code, int minutes, int seconds,
                      std::uint8_t foulKind = kNone)
{
    GameAction action;
    action.side = player->team->side;
    action.category = kPlayerAction;
    action.code = code;
    action.foulKind = foulKind;
    action.player = player;
    action.period = static_cast<std::int8_t>(GetCurrentPeriod());
    action.minutes = minutes;
    action.seconds = seconds;
    return action;
}

void registerPlayer(THooptallyForm& form, TPlayer* player, bool starter, bool coach = false,
                    const QString& position = {})
{
    auto registration = std::make_unique<PlayerRegistration>();
    registration->player = player;
    registration->number = player->number.isEmpty() ? QStringLiteral("99") : player->number;
    registration->name = player->name.isEmpty() ? QStringLiteral("新人") : player->name;
    registration->position = position;
    registration->coach = coach ? 1 : 0;
    registration->starter = starter ? 1 : 0;
    platform::SendMessage(&form, kRegistrationMessage, 0, std::move(registration));
}

TPlayer* blankRow(TTeam& team)
{
    for (int i = 0; i < team.Count(); ++i) {
        if (team.PlayerAt(i)->status == kBlankRow)
            return team.PlayerAt(i);
    }
    return nullptr;
}

double seconds(double dayFraction)
{
    return dayFraction * 86400.0;
}

} // namespace

class tst_executor : public QObject
{
    Q_OBJECT
private slots:
    // One statistic at 5:30 of the first period; the starters came on at 6:00.
    void playerAction_data()
    {
        QTest::addColumn<int>("who");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("foulKind");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("teamFouls");
        QTest::addColumn<int>("storage");
        QTest::addColumn<bool>("clockedIn");
        QTest::addColumn<int>("courtSeconds");
        QTest::addColumn<bool>("played");
        QTest::addColumn<QString>("label");

        QTest::newRow("two-pointer by a bench player puts him on court")
            << int(Bench) << int(kTwoPointMade) << int(kNone) << 5 << int(kOnCourt) << 0 << 0 << true << 0
            << true << "２Point 成功";
        QTest::newRow("rebound without a clock reading clocks nobody in")
            << int(Bench) << int(kDefensiveRebound) << int(kNone) << -1 << int(kOnCourt) << 0 << 9 << false
            << 0 << true << "ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ";
        QTest::newRow("personal foul by a bench player leaves him on the bench")
            << int(Bench) << int(kFoul) << int(kPersonalFoul) << 5 << int(kOnBench) << 1 << 6 << false << 0
            << false << "ファール";
        QTest::newRow("unsportsmanlike foul is a team foul")
            << int(Starter) << int(kFoul) << int(kUnsportsmanlikeFoul) << 5 << int(kOnCourt) << 1 << 6 << true
            << 0 << true << "ファール";
        QTest::newRow("technical foul is no team foul")
            << int(Starter) << int(kFoul) << int(kTechnicalFoul) << 5 << int(kOnCourt) << 0 << 6 << true << 0
            << true << "ファール";
        QTest::newRow("disqualifying foul is no team foul")
            << int(Starter) << int(kFoul) << int(kDisqualifyingFoul) << 5 << int(kOnCourt) << 0 << 6 << true
            << 0 << true << "ファール";
        QTest::newRow("coach technical is no team foul")
            << int(Coach) << int(kFoul) << int(kCoachTechnicalFoul) << 5 << int(kHeadCoach) << 0 << 6 << false
            << 0 << false << "ファール";
        QTest::newRow("coach foul of a player kind is no team foul either")
            << int(Coach) << int(kFoul) << int(kPersonalFoul) << 5 << int(kHeadCoach) << 0 << 6 << false << 0
            << false << "ファール";
        QTest::newRow("assist by the coach counts and keeps him coach")
            << int(Coach) << int(kAssist) << int(kNone) << 5 << int(kHeadCoach) << 0 << 7 << false << 0
            << false << "アシスト";
        QTest::newRow("court-in of a bench player")
            << int(Bench) << int(kCourtIn) << int(kNone) << 5 << int(kOnCourt) << 0 << -1 << true << 0 << true
            << "コートイン！";
        QTest::newRow("starter to the bench keeps his thirty seconds")
            << int(Starter) << int(kToBench) << int(kNone) << 5 << int(kOnBench) << 0 << -1 << false << 30
            << true << "ベンチへ";
    }
    void playerAction()
    {
        QFETCH(int, who);
        QFETCH(int, code);
        QFETCH(int, foulKind);
        QFETCH(int, minutes);
        QFETCH(int, status);
        QFETCH(int, teamFouls);
        QFETCH(int, storage);
        QFETCH(bool, clockedIn);
        QFETCH(int, courtSeconds);
        QFETCH(bool, played);
        QFETCH(QString, label);

        Program program;
        Roster roster(program);
        TPlayer* player = roster.who(Who(who));
        const int seconds30 = minutes < 0 ? -1 : 30;
        program.setClock(minutes, seconds30);
        sendAction(program.form(),
                   makeAction(player, std::uint8_t(code), minutes, seconds30, std::uint8_t(foulKind)));

        QCOMPARE(int(player->status), status);
        QCOMPARE(program.teamA().TeamFouls(0), teamFouls);
        for (int slot = 0; slot < kStatCount; ++slot) {
            QCOMPARE(player->Counter(0, slot), slot == storage ? 1 : 0);
            QCOMPARE(player->Total(slot), slot == storage ? 1 : 0);
        }
        const CourtTime& time = player->CourtTimeOf(0);
        QCOMPARE(time.onCourt == 1, clockedIn);
        if (clockedIn && who == Bench)
            QCOMPARE(time.entry, ClockReading(5, 30));
        QCOMPARE(qRound(::seconds(time.accumulated)), courtSeconds);
        QCOMPARE(player->played[0] == 1, played);

        QCOMPARE(program.form().PlayLog().Count(), 1);
        const PlayLogEntry& entry = *program.form().PlayLog().Entries().back();
        QCOMPARE(logTexts(program.form()).last().section(QLatin1Char('|'), 2, 2), label);
        // The log records the court as it is after the action.
        QCOMPARE(program.form().PlayLog().WasOnCourt(entry, player), status == kOnCourt);
        QVERIFY(program.form().IsGameModified());
    }

    // Each message shows the state at that moment: the status and clock change come first, then
    // WM_APP+4, the team foul and the counter, the log entry, and the two notices.
    void effectsComeInOrder_data()
    {
        QTest::addColumn<bool>("foul");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("two-pointer by a bench player")
            << false
            << QStringList{"+8 status=1 in=0 fouls=0 count=0 log=0",
                           "+4(1) status=0 in=1 fouls=0 count=0 log=0",
                           "+1 status=0 in=1 fouls=0 count=1 log=1 court=1 notice=0/255/0",
                           "+2 status=0 in=1 fouls=0 count=1 log=1 court=1 copy=0/255/1"};
        QTest::newRow("personal foul by a bench player")
            << true
            << QStringList{"+8 status=1 in=0 fouls=0 count=0 log=0",
                           "+4(1) status=1 in=0 fouls=0 count=0 log=0",
                           "+1 status=1 in=0 fouls=1 count=1 log=1 court=0 notice=6/2/0",
                           "+2 status=1 in=0 fouls=1 count=1 log=1 court=0 copy=6/2/1"};
    }
    void effectsComeInOrder()
    {
        QFETCH(bool, foul);
        QFETCH(QStringList, expected);
        Program program;
        Roster roster(program);
        TPlayer* player = roster.bench;
        TTeam& team = program.teamA();
        TPlayLog& log = program.form().PlayLog();
        const int slot = foul ? 6 : 0;
        MessageSpy spy(program.form(), [&](const platform::Message& message) {
            QString state = QStringLiteral("status=%1 in=%2 fouls=%3 count=%4 log=%5")
                                .arg(player->status)
                                .arg(player->CourtTimeOf(0).onCourt)
                                .arg(team.TeamFouls(0))
                                .arg(player->Counter(0, slot))
                                .arg(log.Count());
            if (log.Count() > 0)
                state += QStringLiteral(" court=%1").arg(log.WasOnCourt(*log.Entries().back(), player));
            if (message.msg == kScoreMarkMessage) {
                const auto* notice = platform::RecordOf<ScoreMarkNotice>(message);
                state += QStringLiteral(" notice=%1/%2/%3")
                             .arg(notice->code)
                             .arg(notice->freeThrows)
                             .arg(notice->player == player ? 0 : 1);
            } else if (message.msg == kActionForTeamGridMessage) {
                const auto* copy = platform::RecordOf<GameAction>(message);
                state +=
                    QStringLiteral(" copy=%1/%2/%3").arg(copy->code).arg(copy->freeThrows).arg(copy->side);
            }
            return state;
        });
        program.setClock(5, 30);
        program.act(player, foul ? kFoul : kTwoPointMade, foul ? std::uint8_t(kPersonalFoul) : kNone,
                    foul ? std::uint8_t(2) : kNone);

        QStringList seen;
        const QStringList names = spy.names();
        for (int i = 0; i < names.size(); ++i)
            seen << names[i] + QLatin1Char(' ') + spy.seen[i].probed;
        QCOMPARE(seen, expected);
    }

    // Team A has `court` players on court and `bench` on the bench before `subject` is registered.
    void registration_data()
    {
        QTest::addColumn<int>("court");
        QTest::addColumn<int>("bench");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("starter");
        QTest::addColumn<bool>("coach");
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("status");

        QTest::newRow("blank row as starter on a full court")
            << 5 << 0 << "blank" << true << false << "" << 0;
        QTest::newRow("blank row while under five on court")
            << 4 << 0 << "blank" << false << false << "" << 0;
        QTest::newRow("blank row with five on court") << 5 << 0 << "blank" << false << false << "" << 1;
        QTest::newRow("blank row with fourteen listed") << 5 << 9 << "blank" << false << false << "" << 1;
        QTest::newRow("blank row with fifteen listed") << 5 << 10 << "blank" << false << false << "" << 2;
        QTest::newRow("starter with fifteen listed") << 5 << 10 << "blank" << true << false << "" << 0;
        QTest::newRow("head coach") << 5 << 10 << "blank" << false << true << kHeadCoachText << 3;
        QTest::newRow("assistant coach") << 5 << 0 << "blank" << false << true << kAssistantCoachText << 4;
        QTest::newRow("coach kind not exactly head coach")
            << 5 << 0 << "blank" << false << true << QStringLiteral("ﾍｯﾄﾞｺｰﾁ ") << 4;
        QTest::newRow("bench player made starter while under five")
            << 4 << 1 << "bench" << true << false << "" << 0;
        QTest::newRow("bench player made starter on a full court")
            << 5 << 1 << "bench" << true << false << "" << 1;
        QTest::newRow("removed player stays removed") << 4 << 1 << "removed" << false << false << "" << 2;
    }
    void registration()
    {
        QFETCH(int, court);
        QFETCH(int, bench);
        QFETCH(QString, subject);
        QFETCH(bool, starter);
        QFETCH(bool, coach);
        QFETCH(QString, position);
        QFETCH(int, status);

        Program program;
        TTeam& team = program.teamA();
        std::vector<TPlayer*> starters;
        for (int i = 0; i < 5; ++i)
            starters.push_back(program.addPlayer(1, QString::number(4 + i), QStringLiteral("先発"), true));
        for (int i = 0; i < bench; ++i)
            program.addPlayer(1, QString::number(20 + i), QStringLiteral("控え"));
        // A coach never takes one of the fifteen rows.
        program.addPlayer(1, QString(), QStringLiteral("監督"), false, true, kHeadCoachText);
        for (int i = court; i < 5; ++i)
            program.act(starters[i], kToBench);
        TPlayer* player = blankRow(team);
        if (subject != QStringLiteral("blank")) {
            player = nullptr;
            for (int i = 0; i < team.Count() && !player; ++i) {
                if (team.PlayerAt(i)->status == kOnBench && team.PlayerAt(i)->starter == 0)
                    player = team.PlayerAt(i);
            }
            QVERIFY(player);
            if (subject == QStringLiteral("removed"))
                program.act(player, kRemoveFromOfficial);
        }
        QCOMPARE(team.CountOnCourt(), court);
        const int logged = program.form().PlayLog().Count();

        MessageSpy spy(program.form());
        registerPlayer(program.form(), player, starter, coach, position);
        QCOMPARE(int(player->status), status);
        QCOMPARE(player->starter, std::uint8_t(starter ? 1 : 0));
        QCOMPARE(player->CourtTimeOf(0).onCourt == 1, status == kOnCourt);
        // A registration only moves the player on the sheet; it is not logged.
        QCOMPARE(spy.names(), (QStringList{"+9", "+4(1)"}));
        QCOMPARE(program.form().PlayLog().Count(), logged);
    }

    void removeFromOfficial_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("refusal"); // empty: removed
        QTest::newRow("player on court is refused")
            << "court" << "このプレイヤーはプレイ中なのでオフィシャルから削除は出来ません [Quillmarsh]";
        QTest::newRow("bench player who has played is refused")
            << "played" << "このプレイヤーは出場したのでオフィシャルから削除は出来ません [Quillmarsh]";
        QTest::newRow("bench player leaves the official list") << "bench" << QString();
    }
    void removeFromOfficial()
    {
        QFETCH(QString, who);
        QFETCH(QString, refusal);
        Program program;
        Roster roster(program);
        TPlayer* player = who == "court" ? roster.starters[2] : roster.bench;
        if (who == "played") {
            program.setPeriod(0);
            program.setClock(10, 0);
            program.act(player, kCourtIn);
            program.setClock(7, 30);
            program.act(player, kToBench);
        }
        const int logged = program.form().PlayLog().Count();
        const std::uint8_t before = player->status;
        program.form().MarkGameSaved();
        const bool onCourt = !refusal.isEmpty();
        if (onCourt)
            program.dialogs().expectMessage(refusal);
        MessageSpy spy(program.form());
        program.act(player, kRemoveFromOfficial);
        QCOMPARE(player->status, onCourt ? before : std::uint8_t(kNotListed));
        QCOMPARE(spy.names(), onCourt ? QStringList{"+8"} : (QStringList{"+8", "+4(0)", "+1", "+2"}));
        QCOMPARE(program.form().PlayLog().Count(), logged);
        // A refused removal changed nothing, so closing asks nothing.
        if (!onCourt)
            program.dialogs().expectMessage(QStringLiteral("変更されています"), platform::mrNo);
        QVERIFY(program.form().FormCloseQuery());
    }

    void setStarter()
    {
        Program program;
        Roster roster(program);
        program.setPeriod(2);
        program.setClock(3, 0);
        MessageSpy spy(program.form());
        program.act(roster.bench, kSetStarter);
        QCOMPARE(roster.bench->starter, std::uint8_t(1));
        QCOMPARE(roster.bench->played[2], std::uint8_t(1));
        QCOMPARE(roster.bench->status, std::uint8_t(kOnBench));
        QCOMPARE(roster.bench->CourtTimeOf(2).onCourt, std::uint8_t(0));
        QCOMPARE(spy.names(), (QStringList{"+8", "+1", "+2"}));
        QCOMPARE(program.form().PlayLog().Count(), 0);
    }

    // Editing team B's blank row: the dialog's OK sends the registration itself.
    void editPlayer_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK enters the player") << true;
        QTest::newRow("cancel leaves the blank row") << false;
    }
    void editPlayer()
    {
        QFETCH(bool, confirm);
        Program program;
        TTeam& team = program.teamB();
        TPlayer* blank = blankRow(team);
        QVERIFY(blank);
        const int count = team.Count();
        bool keysOffDuringDialog = false;
        program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [&](QDialog& dialog) {
            keysOffDuringDialog = !IsKeyInputEnabled();
            auto& touroku = static_cast<TPlayerTouroku&>(dialog);
            if (!confirm)
                return int(platform::mrCancel);
            auto registration = std::make_unique<PlayerRegistration>();
            registration->player = touroku.Player();
            registration->number = QStringLiteral("12");
            registration->name = QStringLiteral("新入");
            platform::SendMessage(&program.form(), kRegistrationMessage, 0, std::move(registration));
            return int(platform::mrOk);
        });
        MessageSpy spy(program.form(), [](const platform::Message& message) {
            if (message.msg != kActionForTeamGridMessage)
                return QString();
            return QString::number(platform::RecordOf<GameAction>(message)->side);
        });
        GameAction action;
        action.side = 0; // the sender does not know the side of a blank row
        action.category = kPlayerAction;
        action.code = kEditPlayer;
        action.player = blank;
        action.period = 0;
        sendAction(program.form(), action);

        QVERIFY(keysOffDuringDialog);
        QVERIFY(IsKeyInputEnabled());
        QCOMPARE(program.form().PlayLog().Count(), 0);
        if (!confirm) {
            QCOMPARE(spy.names(), QStringList{"+8"});
            QCOMPARE(blank->status, std::uint8_t(kBlankRow));
            QCOMPARE(team.Count(), count);
            QVERIFY(program.form().FormCloseQuery());
            return;
        }
        QCOMPARE(spy.names(), (QStringList{"+8", "+9", "+4(1)", "+1", "+2"}));
        // The sheet learns the side of the team the player was entered in.
        QCOMPARE(spy.seen.last().probed, QStringLiteral("2"));
        QCOMPARE(blank->number, QStringLiteral("12"));
        QCOMPARE(blank->status, std::uint8_t(kOnCourt));
        // The team gets a blank row again for the next player.
        QCOMPARE(team.Count(), count + 1);
        QVERIFY(!team.HasNoBlankRow());
    }

    void deletePlayer()
    {
        Program program;
        Roster roster(program);
        TPlayer* a4 = roster.starters[0];
        TPlayer* a5 = roster.starters[1];
        TPlayer* b5 = roster.opponent;
        program.act(a4, kTwoPointMade);
        program.act(a5, kThreePointMade);
        program.act(b5, kTwoPointMade);
        program.act(a5, kFoul, kPersonalFoul, 2);
        program.act(roster.bench, kCourtIn);
        const int id = a5->id;
        const int count = program.teamA().Count();
        const TPlayer* gone = a5;

        MessageSpy spy(program.form(), [](const platform::Message& message) {
            if (message.msg == kScoreMarkMessage)
                return QString::number(platform::RecordOf<ScoreMarkNotice>(message)->code);
            if (message.msg == kActionForTeamGridMessage)
                return QString::number(platform::RecordOf<GameAction>(message)->code);
            return QString();
        });
        program.act(a5, kDeletePlayer);

        // The sheet lets go of the player first; the deletion itself sends no notices.
        QCOMPARE(spy.names().mid(0, 2), (QStringList{"+8", "+4(0)"}));
        for (const auto& seen : spy.seen)
            QVERIFY(seen.probed != QString::number(kDeletePlayer));
        QCOMPARE(program.teamA().Count(), count - 1);
        QVERIFY(!program.teamA().FindPlayerById(id));
        // The replay recomputed both scores and the fouls without his entries.
        QCOMPARE(program.teamA().TeamPoints(-1), 2);
        QCOMPARE(program.teamB().TeamPoints(-1), 2);
        QCOMPARE(program.teamA().TeamFouls(0), 0);
        QCOMPARE(logTexts(program.form()), (QStringList{"1st.Q(06:00)|先発4(4)|２Point 成功|02 - 00",
                                                        "1st.Q(06:00)|相手(5)|２Point 成功|02 - 02",
                                                        "1st.Q(06:00)|控え(9)|コートイン！|02 - 02"}));
        for (const auto& entry : program.form().PlayLog().Entries()) {
            const std::vector<TPlayer*> court = program.form().PlayLog().OnCourtOf(*entry);
            QCOMPARE(std::count(court.begin(), court.end(), gone), 0);
        }
        QCOMPARE(program.form().PlayLog().PlayerColumns().size(), std::size_t(6));
        QVERIFY(program.form().IsGameModified());
    }

    void askText_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("tournament") << int(kAskTournament) << "Taikaimei"
                                    << "大会名を入力してください" << true;
        QTest::newRow("game number") << int(kAskGameNumber) << "TaikaiNo"
                                     << "Ｎｏ．を入力してください" << true;
        QTest::newRow("place") << int(kAskPlace) << "Basho"
                               << "場所を入力してください" << true;
        QTest::newRow("place cancelled") << int(kAskPlace) << "Basho"
                                         << "場所を入力してください" << false;
    }
    void askText()
    {
        QFETCH(int, command);
        QFETCH(QString, field);
        QFETCH(QString, prompt);
        QFETCH(bool, confirm);
        Program program;
        auto* edit = program.form().findChild<QLineEdit*>(field);
        QVERIFY(edit);
        edit->setText(QStringLiteral("旧"));
        program.dialogs().expectInput(confirm ? std::optional<QString>(QStringLiteral("新")) : std::nullopt);
        program.command(std::uint8_t(command));
        QCOMPARE(program.dialogs().shown().last(), QStringLiteral("input: %1 [Quillmarsh] 旧").arg(prompt));
        QCOMPARE(edit->text(), confirm ? QStringLiteral("新") : QStringLiteral("旧"));
        QVERIFY(IsKeyInputEnabled());
        QCOMPARE(program.form().PlayLog().Count(), 0);
        // A new answer is a change the user must not lose on closing.
        QCOMPARE(program.form().IsGameModified(), confirm);
    }

    // Command 13 reopens the current game file as a caller without a sender does, with no file dialog;
    // unsaved plays are asked about first.
    void openCommandReopensTheCurrentFile_data()
    {
        QTest::addColumn<int>("answer");  // 0: nothing asked
        QTest::addColumn<int>("entries"); // after the command
        QTest::addColumn<int>("points");
        QTest::newRow("yes saves, then reopens") << int(platform::mrYes) << 2 << 5;
        QTest::newRow("no reopens the saved game") << int(platform::mrNo) << 1 << 2;
        QTest::newRow("cancel keeps the play") << int(platform::mrCancel) << 2 << 5;
        QTest::newRow("nothing to reopen") << 0 << 2 << 5;
    }
    void openCommandReopensTheCurrentFile()
    {
        QFETCH(int, answer);
        QFETCH(int, entries);
        QFETCH(int, points);
        Program program;
        Roster roster(program);
        program.act(roster.starters[0], kTwoPointMade);
        const QString path = answer ? program.path(QStringLiteral("current.game")) : QString();
        if (answer) {
            program.dialogs().expectSaveFile(path);
            QVERIFY(program.form().SaveGame());
            program.dialogs().expectMessage(QStringLiteral("ゲーム情報を保存しますか"), answer);
        }
        program.act(roster.starters[0], kThreePointMade);
        if (answer == platform::mrYes)
            program.dialogs().expectSaveFile(path).expectMessage(QStringLiteral("上書き"), platform::mrYes);
        program.command(kOpenGame);
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.form().CurrentGameFile(), path);
        QCOMPARE(program.form().PlayLog().Count(), entries);
        QCOMPARE(program.teamA().TeamPoints(-1), points);
    }

    void clockStartIsNotLoggedTimeoutIs()
    {
        Program program;
        Roster roster(program);
        program.setPeriod(1);
        program.setClock(5, 0);
        program.command(kClockStart);
        for (TTeam* team : {&program.teamA(), &program.teamB()}) {
            QCOMPARE(team->ClockOf(1).running, std::uint8_t(1));
            QCOMPARE(team->ClockOf(1).start, ClockReading(5, 0));
        }
        QCOMPARE(roster.starters[0]->CourtTimeOf(1).onCourt, std::uint8_t(1));
        QCOMPARE(roster.bench->CourtTimeOf(1).onCourt, std::uint8_t(0));
        QCOMPARE(program.form().PlayLog().Count(), 0);

        const QStringList before = gameSnapshot(program.form());
        program.command(kTimeout, 2);
        QCOMPARE(program.form().PlayLog().Count(), 1);
        QCOMPARE(logTexts(program.form()).last(), QStringLiteral("2nd.Q(05:00)|TeamB|タイムアウト|00 - 00"));
        // Only the log grew: teams and players are as they were.
        const int records = 2 + program.teamA().Count() + program.teamB().Count();
        QCOMPARE(gameSnapshot(program.form()).mid(0, records), before.mid(0, records));
    }

    void actionWithNothingToActOn_data()
    {
        QTest::addColumn<int>("category");
        QTest::newRow("player action without a player") << int(kPlayerAction);
        QTest::newRow("category 2") << int(kNoCategory);
    }
    void actionWithNothingToActOn()
    {
        QFETCH(int, category);
        Program program;
        Roster roster(program);
        const QStringList before = gameSnapshot(program.form());
        program.form().MarkGameSaved();
        GameAction action;
        action.category = std::uint8_t(category);
        action.code = kTwoPointMade;
        action.period = 0;
        action.minutes = 6;
        action.seconds = 0;
        sendAction(program.form(), action);
        QCOMPARE(gameSnapshot(program.form()), before);
        QCOMPARE(program.form().PlayLog().Count(), 0);
        // Nothing changed, so closing asks nothing.
        QVERIFY(program.form().FormCloseQuery());
    }

    void focusCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("target");
        QTest::newRow("date") << int(kFocusDate) << "DateTimePicker1";
        QTest::newRow("time") << 25 << "DateTimePicker2";
        QTest::newRow("commentary") << int(kFocusCommentary) << "Senhyou";
        QTest::newRow("referee") << int(kFocusReferee) << "shushin";
        QTest::newRow("operator") << 33 << "Operator";
        QTest::newRow("27 does nothing") << 27 << "";
    }
    void focusCommands()
    {
        QFETCH(int, command);
        QFETCH(QString, target);
        Program program;
        program.form().PageControl1->setCurrentIndex(3);
        program.command(std::uint8_t(command));
        if (target.isEmpty()) {
            QCOMPARE(program.form().PageControl1->currentIndex(), 3);
            return;
        }
        QCOMPARE(program.form().PageControl1->currentWidget(), program.form().TabSheet4);
        QCOMPARE(program.form().focusWidget(), program.form().findChild<QWidget*>(target));
        QCOMPARE(program.form().PlayLog().Count(), 0);
    }

    // The accessors of the main window's state that the action path reads.
    void playKinds_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("index");
        QTest::newRow("game end") << 1 << 255 << 3 << 17;
        QTest::newRow("period end") << 1 << 255 << 0 << 16;
        QTest::newRow("to the bench") << 0 << 14 << 255 << 14;
        QTest::newRow("foul whatever the command byte") << 0 << 6 << 1 << 6;
        QTest::newRow("delete player is no kind") << 0 << 19 << 255 << -1;
        QTest::newRow("clock start is no kind") << 1 << 255 << 35 << -1;
        QTest::newRow("category 2") << 2 << 0 << 0 << -1;
    }
    void playKinds()
    {
        QFETCH(int, category);
        QFETCH(int, code);
        QFETCH(int, command);
        QFETCH(int, index);
        QCOMPARE(FindPlayKind(std::uint8_t(category), std::uint8_t(code), std::uint8_t(command)), index);
        if (index < 0)
            return;
        std::uint8_t bytes[3] = {9, 9, 9};
        GetPlayKind(index, bytes[0], bytes[1], bytes[2]);
        QCOMPARE(FindPlayKind(bytes[0], bytes[1], bytes[2]), index);
        // Past the table nothing changes.
        GetPlayKind(18, bytes[0], bytes[1], bytes[2]);
        GetPlayKind(-1, bytes[0], bytes[1], bytes[2]);
        QCOMPARE(FindPlayKind(bytes[0], bytes[1], bytes[2]), index);
    }

    void stateAccessors()
    {
        Program program;
        THooptallyForm& form = program.form();
        QCOMPARE(GetTeam(1), &program.teamA());
        QCOMPARE(GetTeam(0), &program.teamB());
        QCOMPARE(GetTeam(2), &program.teamB());
        QCOMPARE(GetTeamOfGrid(form.StringGrid1), &program.teamA());
        QCOMPARE(GetTeamOfGrid(form.GridTeamA), &program.teamA());
        QCOMPARE(GetTeamOfGrid(form.GridRun), &program.teamB());
        QCOMPARE(GetPeriodColor(0), platform::TColor(255));
        QCOMPARE(GetPeriodColor(2), platform::TColor(255));
        QCOMPARE(GetPeriodColor(1), platform::TColor(0));
        QCOMPARE(GetPeriodColor(-1), platform::TColor(0));

        form.QuatorCombo->setCurrentIndex(5);
        QCOMPARE(GetCurrentPeriod(), 5);
        QCOMPARE(GetShownPeriodCount(), 4);
        form.LaCountOT1->show();
        QCOMPARE(GetShownPeriodCount(), 5);
        form.LaCountOT2->show();
        QCOMPARE(GetShownPeriodCount(), 6);
        form.QuatorCombo->setCurrentIndex(-1);
        QCOMPARE(GetCurrentPeriod(), -1);
        QCOMPARE(GetClockState().period, -1);

        form.Taikaimei->setText(QStringLiteral("大会"));
        form.Basho->setText(QStringLiteral("体育館"));
        form.TaikaiNo->setText(QStringLiteral("3"));
        form.DateTimePicker1->setDate(QDate(2024, 5, 6));
        form.DateTimePicker2->setTime(QTime(9, 7));
        QStringList lines{QStringLiteral("前")};
        GetGameInfoLines(lines);
        QCOMPARE(lines, (QStringList{"前", "大会", "体育館", "3", "2024.05.06 09:07"}));
        form.shushin->setText(QStringLiteral("主"));
        form.TO_Team->setText(QStringLiteral("TO"));
        lines.clear();
        GetOfficialsLines(lines);
        QCOMPARE(lines, (QStringList{"主", "", "", "", "", "", "TO"}));
    }

    // Right after the period clock started at the full length nothing has run; after a stop at a
    // lower reading the clock has run unless it shows the full length again.
    void clockRunningInPeriod()
    {
        Program program;
        THooptallyForm& form = program.form();
        QCOMPARE(program.teamA().ClockOf(0).running, std::uint8_t(1));
        QVERIFY(!IsClockRunningInPeriod());
        program.setClock(5, 0);
        QVERIFY(!IsClockRunningInPeriod());
        program.teamA().StopQu(0, 5, 0);
        QVERIFY(IsClockRunningInPeriod());
        form.TimeClearBClick();
        QVERIFY(!IsClockRunningInPeriod());
        program.setClock(6, 1);
        QVERIFY(IsClockRunningInPeriod());
    }

    void postGameAction()
    {
        Program program;
        TPlayer* b8 = program.addPlayer(2, QStringLiteral("8"), QStringLiteral("相手"), true);
        program.setPeriod(3);
        program.setClock(2, 15);
        QCOMPARE(PostGameAction(kPlayerAction, kTwoPointMade, nullptr, kNone, kNone, kNone),
                 platform::LRESULT(0));
        QCOMPARE(program.form().PlayLog().Count(), 0);
        PostGameAction(kPlayerAction, kFoul, b8, 1, kUnsportsmanlikeFoul, kNone);
        QCOMPARE(program.form().PlayLog().Count(), 1);
        const GameAction& sent = program.form().PlayLog().Entries().back()->action;
        QCOMPARE(sent.side, 2);
        QCOMPARE(sent.keyA, -1);
        QCOMPARE(sent.keyB, -1);
        QCOMPARE(sent.period, std::int8_t(3));
        QCOMPARE(sent.minutes, 2);
        QCOMPARE(sent.seconds, 15);
        QCOMPARE(sent.freeThrows, std::uint8_t(1));
        QCOMPARE(sent.foulKind, std::uint8_t(kUnsportsmanlikeFoul));
        QCOMPARE(program.teamB().TeamFouls(3), 1);
    }

    void fitFonts_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("fitted");
        QTest::newRow("fits as it is") << 12 << 1000 << 12;
        QTest::newRow("never below 5") << 12 << 3 << 5;
        QTest::newRow("5 or less is left alone") << 4 << 3 << 4;
    }
    void fitFonts()
    {
        QFETCH(int, size);
        QFETCH(int, width);
        QFETCH(int, fitted);
        const QString text = QStringLiteral("東京ﾌｧｲﾀｰｽﾞ");
        QImage image(10, 10, QImage::Format_RGB32);
        platform::Canvas canvas(&image);
        platform::CanvasFont font;
        font.Size = size;
        FitCanvasFont(text, canvas, font, width, -1);
        QCOMPARE(font.Size, fitted);
        QCOMPARE(canvas.Font.Size, fitted);

        QLabel label;
        QFont labelFont(platform::mapFontName(QStringLiteral("ＭＳ Ｐゴシック")));
        labelFont.setPointSize(size);
        FitLabelFont(text, &label, labelFont, width);
        QCOMPARE(labelFont.pointSize(), fitted);
        QCOMPARE(label.font().pointSize(), fitted);
        QCOMPARE(label.text(), text);

        // The programs' own fonts are sized in pixels: they shrink the same way.
        QFont pixelFont = platform::makeFont(QStringLiteral("ＭＳ Ｐゴシック"), size);
        FitLabelFont(text, &label, pixelFont, width);
        QCOMPARE(pixelFont.pixelSize(), platform::pointsToPixels(fitted));
    }

    void statisticWithoutAPeriod()
    {
        Program program;
        Roster roster(program);
        program.setPeriod(-1);
        // Said once when it is recorded, counted in the first period, and replayed silently.
        program.dialogs().expectMessage(QStringLiteral("Ptime Error! debug"));
        program.act(roster.starters[0], kSteal);
        QCOMPARE(roster.starters[0]->StatValue(0, kSteal, true), 1);
        program.form().PlayLog().ReplayPlayLog();
        QCOMPARE(roster.starters[0]->StatValue(0, kSteal, true), 1);
        QCOMPARE(program.form().PlayLog().Entries().back()->action.period, std::int8_t(-1));
    }
};

QTEST_MAIN(tst_executor)
#include "tst_executor.moc"
