// The main window's life: start-up and first activation, the reset of the game, the close question,
// the message map, and rebuilding a whole recorded game by replaying its log.
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tfkey.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/IniFile.h"
#include "platform/StringGrid.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

QStringList rosterNumbers(const TTeam& team)
{
    QStringList numbers;
    for (int i = 0; i < team.Count(); ++i)
        numbers << team.PlayerAt(i)->number + QLatin1Char(':') + QString::number(team.PlayerAt(i)->status);
    return numbers;
}

QStringList whoAndWhat(THooptallyForm& form)
{
    QStringList rows;
    for (const QString& row : logTexts(form))
        rows << row.section(QLatin1Char('|'), 0, 2);
    return rows;
}

TPlayer* findNumber(const TTeam& team, const QString& number)
{
    for (int i = 0; i < team.Count(); ++i) {
        if (team.PlayerAt(i)->number == number && team.PlayerAt(i)->status != kBlankRow)
            return team.PlayerAt(i);
    }
    return nullptr;
}

enum Close {
    Unchanged,
    NoCloses,
    CancelKeeps,
    SaveCancelled,
    YesSaves,
    SavedAsksNothing,
    UndoAndActAfterSave
};

} // namespace

class tst_mainwindow : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_rosters;
    QString m_rosterA;
    QString m_rosterB;

    QString startupIni(const QString& rosterA, const QString& extra = {}) const
    {
        return QStringLiteral("[Initialize]\nTeamA=%1\nTeamB=%2\n%3").arg(rosterA, m_rosterB, extra);
    }

private slots:
    void initTestCase()
    {
        m_rosterA = m_rosters.filePath(QStringLiteral("東京.member"));
        m_rosterB = m_rosters.filePath(QStringLiteral("大阪.member"));
        // Starters 10 and 4 in that order, a player off the official list and a coach marked starter.
        writeMemberFile(m_rosterA, {"東京,1,10,佐藤,F,Starter,,", "東京,2,4,鈴木,G,Starter,,",
                                    "東京,3,8,高橋,C,,,", "東京,4,,監督,ﾍｯﾄﾞｺｰﾁ,Starter,Coach,"});
        writeMemberFile(m_rosterB, {"大阪,1,5,田中,F,Starter,,", "大阪,2,6,中村,G,,,"});
    }

    void startUpBeforeActivation()
    {
        Program program(startupIni(m_rosterA), false);
        QCOMPARE(MainForm(), &program.form());
        QCOMPARE(Option(), &program.option());
        QVERIFY(DbgForm());
        QVERIFY(DbgForm()->isHidden());
        QVERIFY(FKey());
        QVERIFY(!program.form().Activated());
        QVERIFY(!ActionExecutor());
        QVERIFY(FKey()->isHidden());
        // The log and its grid exist from the window's creation.
        QCOMPARE(gridRows(*program.form().GridPlaying), (QStringList{"Time|Who|Execute|Point", "|||"}));
        program.form().FormActivate();
        QVERIFY(ActionExecutor());
        QVERIFY(program.form().Activated());
    }

    // The switches, the colours, the executor and the sheets belong to the program: what one run
    // leaves behind never reaches the next, and without a program there is none.
    void stateEndsWithTheProgram()
    {
        {
            Program first;
            TPlayer* player = first.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
            QVERIFY(GetTeamRoster(kSideA));
            QCOMPARE(SheetRowOfPlayer(&first.form(), &first.teamA(), player), 0);
            SetKeyInputEnabled(false);
            SetRefreshEnabled(false);
            SetTeamColor(1, 0x123456);
            SetTeamColor(2, 0x654321);
        }
        QVERIFY(!ActionExecutor());
        QVERIFY(!GetTeamRoster(1));
        QCOMPARE(GetTeamColor(1), kDefaultTeamAColor);
        QVERIFY(IsKeyInputEnabled());

        Program second;
        QVERIFY(IsKeyInputEnabled());
        QVERIFY(IsRefreshOn());
        QVERIFY(IsGridUpdateOn());
        QCOMPARE(second.teamA().color, kDefaultTeamAColor);
        QCOMPARE(second.teamB().color, kDefaultTeamBColor);
        QVERIFY(ActionExecutor());
        for (const int side : kSides) {
            QVERIFY(GetTeamRoster(side));
            for (const SheetArea& name : second.form().TeamGrids().areas.names)
                QVERIFY(!GetTeamRoster(side)->SheetGridPlayerAt(name.firstColumn, name.firstRow));
        }
    }

    void firstActivation_data()
    {
        QTest::addColumn<bool>("rosterA");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<int>("page");
        QTest::newRow("both rosters, default page") << true << "" << 1;
        QTest::newRow("page from the settings") << true << "[Option]\nActivePage=3" << 3;
        QTest::newRow("missing roster of team A") << false << "" << 1;
    }
    void firstActivation()
    {
        QFETCH(bool, rosterA);
        QFETCH(QString, extra);
        QFETCH(int, page);
        Program program(
            startupIni(rosterA ? m_rosterA : m_rosters.filePath(QStringLiteral("なし.member")), extra));
        THooptallyForm& form = program.form();

        QStringList log{"1st.Q(06:00)|田中(5)|コートイン！"};
        if (rosterA)
            log = QStringList{"1st.Q(06:00)|佐藤(10)|コートイン！", "1st.Q(06:00)|鈴木(4)|コートイン！"} + log;
        QCOMPARE(whoAndWhat(form), log);
        // The replay sorted the rosters (status, then number); the coach stays a coach.
        const QStringList rosterOfA =
            rosterA ? QStringList{"4:0", "10:0", "8:2", ":3", ":6"} : QStringList{":6"};
        QCOMPARE(rosterNumbers(program.teamA()), rosterOfA);
        QCOMPARE(rosterNumbers(program.teamB()), (QStringList{"5:0", "6:2", ":6"}));
        QCOMPARE(form.TeamAName->text(), rosterA ? QStringLiteral("東京") : QString());
        QCOMPARE(form.TeamBName->text(), QStringLiteral("大阪"));
        for (TTeam* team : {&program.teamA(), &program.teamB()}) {
            for (int i = 0; i < team->Count(); ++i) {
                const TPlayer* player = team->PlayerAt(i);
                QCOMPARE(player->CourtTimeOf(0).onCourt == 1, player->status == kOnCourt);
                if (player->status == kOnCourt)
                    QCOMPARE(player->CourtTimeOf(0).entry, ClockReading(6, 0));
            }
            QCOMPARE(team->ClockOf(0).running, std::uint8_t(1));
        }
        QCOMPARE(form.PageControl1->currentIndex(), page);
        QCOMPARE(form.QuatorCombo->currentIndex(), 0);
        QCOMPARE(form.PeriodMirror(), std::int8_t(0));
        QCOMPARE(form.TimerMin->text(), QStringLiteral("06"));
        QCOMPARE(form.TimerSec->text(), QStringLiteral("00"));
        QCOMPARE(form.TimeStartStopB->text(), QStringLiteral("Start"));
        QVERIFY(form.LaCountOT1->isHidden());
        QVERIFY(form.LaCountOT2->isHidden());
        QVERIFY(!FKey()->isHidden());
        QCOMPARE(program.teamA().color, GetTeamColor(1));
    }

    void secondActivationChangesNothing()
    {
        Program program(startupIni(m_rosterA));
        TPlayer* starter = findNumber(program.teamA(), QStringLiteral("4"));
        program.setClock(5, 0);
        program.act(starter, kTwoPointMade);
        program.form().PageControl1->setCurrentIndex(2);
        FKey()->hide();
        const TTeam* teamA = &program.teamA();
        const QStringList before = gameSnapshot(program.form());
        program.form().FormActivate();
        QCOMPARE(&program.teamA(), teamA);
        QCOMPARE(gameSnapshot(program.form()), before);
        QCOMPARE(program.form().PageControl1->currentIndex(), 2);
        QCOMPARE(program.form().TimerMin->text(), QStringLiteral("05"));
        QVERIFY(FKey()->isHidden());
    }

    void resetGame_data()
    {
        QTest::addColumn<bool>("keepA");
        QTest::addColumn<bool>("keepB");
        QTest::newRow("keep both") << true << true;
        QTest::newRow("new team A") << false << true;
        QTest::newRow("new team B") << true << false;
        QTest::newRow("new game") << false << false;
    }
    void resetGame()
    {
        QFETCH(bool, keepA);
        QFETCH(bool, keepB);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("先発"), true);
        TPlayer* a6 = program.addPlayer(1, QStringLiteral("6"), QStringLiteral("途中"));
        TPlayer* coach = program.addPlayer(1, QString(), QStringLiteral("監督"), true, true, kHeadCoachText);
        TPlayer* a7 = program.addPlayer(1, QStringLiteral("7"), QStringLiteral("外れ"));
        TPlayer* b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("相手"), true);
        TPlayer* b9 = program.addPlayer(2, QStringLiteral("9"), QStringLiteral("相手控え"));
        program.act(a7, kToBench);
        program.act(a7, kRemoveFromOfficial);
        program.setClock(4, 0);
        program.act(a4, kTwoPointMade);
        program.act(a6, kFoul, kPersonalFoul, 2);
        program.act(b9, kThreePointMade);
        program.act(coach, kFoul, kCoachTechnicalFoul, 2);
        program.setPeriod(1);
        program.setClock(5, 0);
        program.command(kClockStart);
        program.act(b5, kFoul, kPersonalFoul, 0);
        QCOMPARE(a6->status, std::uint8_t(kOnCourt));
        QCOMPARE(b9->status, std::uint8_t(kOnCourt));

        form.ResetGame(keepA, keepB);

        QCOMPARE(form.QuatorCombo->currentIndex(), 0);
        QCOMPARE(form.PeriodMirror(), std::int8_t(0));
        QCOMPARE(form.ClockMinutes(), 6);
        QCOMPARE(form.ClockSeconds(), 0);
        QCOMPARE(form.PlayLog().Count(), 0);
        QCOMPARE(gridRows(*form.GridPlaying), (QStringList{"Time|Who|Execute|Point", "|||"}));
        for (const int side : {1, 2}) {
            TTeam& team = side == 1 ? program.teamA() : program.teamB();
            QCOMPARE(team.side, side);
            QCOMPARE(team.TeamPoints(-1), 0);
            for (int period = 0; period < kMaxPeriods; ++period)
                QCOMPARE(team.TeamFouls(period), 0);
            if (!(side == 1 ? keepA : keepB)) {
                QCOMPARE(rosterNumbers(team), QStringList{":6"});
                QCOMPARE(team.color, GetTeamColor(side));
                continue;
            }
            // The period clocks start again from the first period at the full length.
            QCOMPARE(team.ClockOf(0).running, std::uint8_t(1));
            QCOMPARE(team.ClockOf(0).start, ClockReading(6, 0));
            QCOMPARE(team.ClockOf(1).running, std::uint8_t(0));
            for (int i = 0; i < team.Count(); ++i) {
                const TPlayer* player = team.PlayerAt(i);
                for (int period = 0; period < kMaxPeriods; ++period) {
                    for (int slot = 0; slot < kStatCount; ++slot)
                        QCOMPARE(player->Counter(period, slot), 0);
                    QCOMPARE(player->CourtTimeOf(period).accumulated, 0.0);
                }
                QCOMPARE(player->CourtTimeOf(0).onCourt == 1, player->status == kOnCourt);
            }
        }
        if (keepA) {
            // Starters on court, others off it, coaches stay coaches even when marked starter.
            QCOMPARE(rosterNumbers(program.teamA()), (QStringList{"4:0", "6:1", ":3", "7:2", ":6"}));
            QCOMPARE(coach->CourtTimeOf(0).onCourt, std::uint8_t(0));
        }
        if (keepB)
            QCOMPARE(rosterNumbers(program.teamB()), (QStringList{"5:0", "9:1", ":6"}));
    }

    void closeQuestion_data()
    {
        QTest::addColumn<int>("scenario");
        QTest::addColumn<bool>("closes");
        QTest::newRow("unchanged game asks nothing") << int(Unchanged) << true;
        QTest::newRow("one action, No closes") << int(NoCloses) << true;
        QTest::newRow("one action, Cancel keeps the window") << int(CancelKeeps) << false;
        QTest::newRow("Yes, save dialog cancelled") << int(SaveCancelled) << false;
        QTest::newRow("Yes saves and closes") << int(YesSaves) << true;
        QTest::newRow("saved game asks nothing") << int(SavedAsksNothing) << true;
        QTest::newRow("undo and a new action after a save") << int(UndoAndActAfterSave) << true;
    }
    void closeQuestion()
    {
        QFETCH(int, scenario);
        QFETCH(bool, closes);
        Program program;
        THooptallyForm& form = program.form();
        const QString file = program.path(QStringLiteral("試合.game"));
        const QString question = QStringLiteral("変更されています、ゲーム情報を保存しますか？ [Quillmarsh]");
        if (scenario != Unchanged) {
            TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
            program.act(a4, kTwoPointMade);
            if (scenario == SavedAsksNothing || scenario == UndoAndActAfterSave) {
                program.act(a4, kThreePointMade);
                program.dialogs().expectSaveFile(file);
                QVERIFY(form.SaveGame());
                QVERIFY(!form.IsGameModified());
            }
            if (scenario == UndoAndActAfterSave) {
                form.GridPlaying->SetRow(2);
                form.PlayLog().DeleteSelectedLogEntry();
                program.act(a4, kFreeThrowMade);
                // As many entries as at the save, but not the same game.
                QCOMPARE(form.PlayLog().Count(), 2);
            }
        }
        switch (Close(scenario)) {
        case Unchanged:
        case SavedAsksNothing:
            break;
        case NoCloses:
        case UndoAndActAfterSave:
            program.dialogs().expectMessage(question, platform::mrNo);
            break;
        case CancelKeeps:
            program.dialogs().expectMessage(question, platform::mrCancel);
            break;
        case SaveCancelled:
            program.dialogs().expectMessage(question, platform::mrYes).expectSaveFile(std::nullopt);
            break;
        case YesSaves:
            program.dialogs().expectMessage(question, platform::mrYes).expectSaveFile(file);
            break;
        }
        QCOMPARE(form.FormCloseQuery(), closes);
        QVERIFY(program.dialogs().allAnswered());
        if (scenario == CancelKeeps || scenario == SaveCancelled) {
            QCOMPARE(form.PlayLog().Count(), 1);
            QCOMPARE(program.teamA().TeamPoints(-1), 2);
            QVERIFY(form.IsGameModified());
        }
        if (scenario == YesSaves) {
            QVERIFY(QFileInfo::exists(file));
            QVERIFY(!form.IsGameModified());
        }
    }

    void closeKeepsPageAndPlacement()
    {
        {
            Program program;
            program.form().setGeometry(30, 40, 900, 700);
            program.form().PageControl1->setCurrentIndex(2);
            program.form().FormClose();
            const platform::IniFile& ini = program.option().IniFile();
            QCOMPARE(ini.readInteger(QStringLiteral("Option"), QStringLiteral("ActivePage"), -1), 2);
            QCOMPARE(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Top"), -1), 40);
            QCOMPARE(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Left"), -1), 30);
            QCOMPARE(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Height"), -1), 700);
            QCOMPARE(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Width"), -1), 900);
        }
        Program program(
            QStringLiteral("[Main]\nTop=40\nLeft=30\nHeight=700\nWidth=900\n[Option]\nActivePage=2"));
        QCOMPARE(program.form().geometry(), QRect(30, 40, 900, 700));
        QCOMPARE(program.form().PageControl1->currentIndex(), 2);
    }

    // A basket keyed on the function-key panel shows on the score panel at once.
    void panelActionUpdatesTheScorePanel()
    {
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        form.PageControl1->setCurrentIndex(0);
        FKey()->SetFlashDuration({});
        FKey()->PressKey(1);
        FKey()->PressKey(3); // 3Point成功
        QCOMPARE(program.teamA().TeamPoints(-1), 3);
        QCOMPARE(form.PlayLog().Count(), 1);
        QCOMPARE(form.TeamATotalCnt->text(), QStringLiteral("003"));
        QCOMPARE(form.LaCount1st->text(), QStringLiteral("03  -  00"));
        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(form.TeamATotalCnt->text(), QStringLiteral("003"));
        program.act(a4, kTwoPointMade);
        QCOMPARE(form.TeamATotalCnt->text(), QStringLiteral("005"));
    }

    void unknownMessageGetsTheDefault()
    {
        Program program;
        MessageSpy spy(program.form());
        const QStringList before = gameSnapshot(program.form());
        QCOMPARE(platform::SendMessage(&program.form(), platform::WM_APP + 20, 1, 2), platform::LRESULT(0));
        platform::Message message{platform::WM_APP + 10, 3, 4, 99};
        program.form().Dispatch(message);
        QCOMPARE(message.result, platform::LRESULT(0));
        QCOMPARE(spy.names(), (QStringList{"0x8014", "0x800a"}));
        QCOMPARE(gameSnapshot(program.form()), before);
        QVERIFY(program.form().FormCloseQuery());
    }

    // The whole game rebuilt from its log equals the game as it was recorded, and replaying again
    // changes nothing.
    void replayRebuildsTheRecordedGame()
    {
        Program program;
        recordSyntheticGame(program, 300);
        THooptallyForm& form = program.form();
        QCOMPARE(form.PlayLog().Count(), 300);
        const QStringList live = gameSnapshot(form);
        const QString panel = form.TeamATotalCnt->text() + QLatin1Char('-') + form.TeamBTotalCnt->text();
        form.PlayLog().ReplayPlayLog();
        QCOMPARE(gameSnapshot(form), live);
        QCOMPARE(form.TeamATotalCnt->text() + QLatin1Char('-') + form.TeamBTotalCnt->text(), panel);
        form.PlayLog().ReplayPlayLog();
        QCOMPARE(gameSnapshot(form), live);
    }

    // The arguments are one path, joined with single spaces; a path that names no file is ignored.
    void commandLineOpensTheJoinedPath_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("opened");
        QTest::newRow("two spaces, three arguments") << QStringList{"a", "b", "c.game"} << true;
        QTest::newRow("no such file") << QStringList{"a", "b", "d.game"} << false;
        QTest::newRow("no arguments") << QStringList{} << false;
    }
    void commandLineOpensTheJoinedPath()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, opened);
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("佐藤"), true);
        program.act(player, kTwoPointMade);
        const QString path = program.path(QStringLiteral("a b c.game"));
        program.dialogs().expectSaveFile(path);
        QVERIFY(program.form().SaveGame());
        program.form().FileNew1Execute();
        QCOMPARE(program.form().PlayLog().Count(), 0);

        if (!arguments.isEmpty())
            arguments.first() = program.path(arguments.first());
        program.form().OpenCommandLineFile(arguments);
        QCOMPARE(program.form().PlayLog().Count(), opened ? 1 : 0);
        QCOMPARE(program.teamA().TeamPoints(-1), opened ? 2 : 0);
        QCOMPARE(program.form().CurrentGameFile(), path);
    }
};

QTEST_MAIN(tst_mainwindow)
#include "tst_mainwindow.moc"
