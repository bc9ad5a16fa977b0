// The play-by-play log: its rows and columns, its colours, and every edit that rebuilds the game.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/TPlayinModify.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"
#include "support/UserInput.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

GameAction actionAt(TPlayer* player, std::uint8_t code, int minutes, int seconds, int keyA = -1,
                    int keyB = -1)
{
    GameAction action;
    action.side = player->team->side;
    action.keyA = keyA;
    action.keyB = keyB;
    action.category = kPlayerAction;
    action.code = code;
    action.player = player;
    action.period = 0;
    action.minutes = minutes;
    action.seconds = seconds;
    return action;
}

// The Who and Execute cells of every log row.
QStringList whoAndWhat(THooptallyForm& form)
{
    QStringList rows;
    for (const QString& row : logTexts(form))
        rows << row.section(QLatin1Char('|'), 1, 2);
    return rows;
}

QStringList playerHeaders(const platform::StringGrid& grid)
{
    QStringList headers;
    for (int col = 4; col < grid.ColCount(); ++col)
        headers << grid.Cells(col, 0);
    return headers;
}

QStringList clockReadings(THooptallyForm& form)
{
    QStringList readings;
    for (const auto& entry : form.PlayLog().Entries())
        readings << QStringLiteral("%1:%2:%3")
                        .arg(entry->action.period)
                        .arg(entry->action.minutes * 60 + entry->action.seconds)
                        .arg(entry->playerName);
    return readings;
}

void selectRows(platform::StringGrid* grid, int first, int last)
{
    grid->SetSelection({0, first, grid->ColCount() - 1, last});
}

// A, B and the log of three shots: A4 two at 5:50, A5 three at 5:40, B5 two at 5:30.
struct ThreeShots
{
    TPlayer* a4;
    TPlayer* a5;
    TPlayer* b5;
    explicit ThreeShots(Program& program)
    {
        a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        a5 = program.addPlayer(1, QStringLiteral("5"), QStringLiteral("石井"), true);
        b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("上田"), true);
        sendAction(program.form(), actionAt(a4, kTwoPointMade, 5, 50));
        sendAction(program.form(), actionAt(a5, kThreePointMade, 5, 40));
        sendAction(program.form(), actionAt(b5, kTwoPointMade, 5, 30));
    }
};

enum Edit {
    ModifyKind,
    ModifyPlayer,
    ModifyToTimeoutOfB,
    ModifyWithoutPlayer,
    DeleteConfirmed,
    DeleteDeclined,
    InsertAssist,
    AppendAssist,
    Cancel,
    RangeDelete,
    InsertIntoEmptyLog,
    ModifyNothing,
};

// Clicks a player of the dialog's list, as the user picks one.
void choosePlayer(TPlayinModify& dialog, const QString& text)
{
    const auto items = dialog.ListBox1->findItems(text, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    const QRect line = dialog.ListBox1->visualItemRect(items.first());
    QTest::mouseClick(dialog.ListBox1->viewport(), Qt::LeftButton, {}, line.center());
}

// Steps the kind list to the item with the arrow keys, as the user picks one.
void chooseKind(TPlayinModify& dialog, int index)
{
    QComboBox* kinds = dialog.ComboBox1;
    if (index == kinds->count() - 1)
        QTest::keyClick(kinds, Qt::Key_End);
    while (kinds->currentIndex() < index)
        QTest::keyClick(kinds, Qt::Key_Down);
    while (kinds->currentIndex() > index)
        QTest::keyClick(kinds, Qt::Key_Up);
}

// What the log-edit dialog shows, in one line.
QString shown(TPlayinModify& dialog)
{
    auto group = [](const platform::RadioGroup* radio) {
        if (radio->isHidden())
            return QStringLiteral("-");
        return radio->Items().join(QLatin1Char(',')) + QLatin1Char('@') +
               QString::number(radio->ItemIndex()) +
               (radio->isEnabled() ? QString() : QStringLiteral("(off)"));
    };
    QStringList players;
    for (int i = 0; i < dialog.ListBox1->count(); ++i)
        players << dialog.ListBox1->item(i)->text() +
                       (i == dialog.ListBox1->currentRow() ? QStringLiteral("*") : QString());
    return QStringList{QStringLiteral("period=%1").arg(dialog.QuatorCombo->currentIndex()),
                       QStringLiteral("clock=%1:%2").arg(dialog.Edit1->text(), dialog.Edit2->text()),
                       QStringLiteral("kind=%1%2")
                           .arg(dialog.ComboBox1->currentIndex())
                           .arg(dialog.ComboBox1->isEnabled() ? QString() : QStringLiteral("(off)")),
                       QStringLiteral("team=") + group(dialog.RadioGroup1),
                       QStringLiteral("players=") + (dialog.ListBox1->isHidden()
                                                         ? QStringLiteral("-")
                                                         : players.join(QLatin1Char(','))),
                       QStringLiteral("foul=") + group(dialog.RadioGroup2),
                       QStringLiteral("throws=") + group(dialog.RadioGroup3)}
        .join(QLatin1Char(' '));
}

// A log of every kind the dialog shows differently, by teams 東京 (A) and 大阪 (B):
// 1 A4 two at 5:50, 2 B5 technical foul with two throws in the second period, 3 the coach's
// bench foul with one throw, 4 a time-out of B, 5 a period end.
struct EveryKind
{
    TPlayer* a4;
    TPlayer* coach;
    TPlayer* b5;
    explicit EveryKind(Program& program)
    {
        THooptallyForm& form = program.form();
        form.TeamAName->setText(QStringLiteral("東京"));
        form.TeamBName->setText(QStringLiteral("大阪"));
        form.SyncTeamLabels();
        a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        coach = program.addPlayer(1, QString(), QStringLiteral("監督"), false, true, kHeadCoachText);
        b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("上田"), true);
        sendAction(form, actionAt(a4, kTwoPointMade, 5, 50));
        GameAction foul = actionAt(b5, kFoul, 4, 7);
        foul.period = 1;
        foul.foulKind = kTechnicalFoul;
        foul.freeThrows = 2;
        sendAction(form, foul);
        GameAction bench = actionAt(coach, kFoul, 4, 0);
        bench.foulKind = kBenchFoul;
        bench.freeThrows = 1;
        sendAction(form, bench);
        program.setClock(3, 9);
        program.command(kTimeout, 2);
        program.setClock(0, 0);
        program.command(kPeriodEnd);
    }
};
} // namespace

class tst_playlog : public QObject
{
    Q_OBJECT
private slots:
    void rowTexts_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("texts"); // Time|Who|Execute

        QTest::newRow("player action") << 0 << 0 << 1 << 0 << 5 << 7 << "1st.Q(05:07)|佐藤(4)|２Point 成功";
        QTest::newRow("bench in overtime")
            << 0 << 14 << 1 << 4 << 0 << 9 << "OverTime1st(00:09)|佐藤(4)|ベンチへ";
        QTest::newRow("code 15 has no label") << 0 << 15 << 1 << 1 << 3 << 0 << "2nd.Q(03:00)|佐藤(4)|";
        QTest::newRow("period end") << 1 << 0 << 0 << 2 << 0 << 0 << "3rd.Q(00:00)||ピリオド終了";
        QTest::newRow("timeout of team A") << 1 << 1 << 1 << 3 << 1 << 2 << "4th.Q(01:02)|TeamA|タイムアウト";
        QTest::newRow("timeout of team B")
            << 1 << 1 << 2 << 5 << 1 << 2 << "OverTime2nd(01:02)|TeamB|タイムアウト";
        QTest::newRow("timeout without a side")
            << 1 << 1 << 0 << 6 << 1 << 2 << "OverTime3rd(01:02)|TeamB|タイムアウト";
        QTest::newRow("game end") << 1 << 3 << 0 << 7 << 0 << 0 << "OverTime4th(00:00)||Game終了";
        QTest::newRow("no minutes") << 0 << 0 << 1 << 0 << -1 << 7 << "1st.Q()|佐藤(4)|２Point 成功";
        QTest::newRow("no seconds") << 0 << 0 << 1 << 0 << 5 << -1 << "1st.Q()|佐藤(4)|２Point 成功";
        QTest::newRow("no period") << 1 << 0 << 0 << -1 << 0 << 0 << "その他(00:00)||ピリオド終了";
        QTest::newRow("period past the labels")
            << 1 << 0 << 0 << 8 << 0 << 0 << "その他(00:00)||ピリオド終了";
        QTest::newRow("category 2") << 2 << 0 << 0 << 0 << 12 << 0 << "1st.Q(12:00)|佐藤(4)|";
    }
    void rowTexts()
    {
        QFETCH(int, category);
        QFETCH(int, code);
        QFETCH(int, side);
        QFETCH(int, period);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        Program program;
        PlayLogEntry entry;
        entry.playerName = QStringLiteral("佐藤");
        entry.number = QStringLiteral("4");
        entry.action.category = std::uint8_t(category);
        (category == kCommand ? entry.action.command : entry.action.code) = std::uint8_t(code);
        entry.action.side = side;
        entry.action.period = std::int8_t(period);
        entry.action.minutes = minutes;
        entry.action.seconds = seconds;
        QString execute, who, time;
        program.form().PlayLog().BuildLogRowTexts(entry, execute, who, time);
        QTEST(QStringList({time, who, execute}).join(QLatin1Char('|')), "texts");
    }

    void firstActionFillsRowOne()
    {
        Program program;
        platform::StringGrid* grid = program.form().GridPlaying;
        QCOMPARE(gridRows(*grid), (QStringList{"Time|Who|Execute|Point", "|||"}));
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        program.setClock(5, 9);
        program.act(a4, kThreePointMade);
        QCOMPARE(gridRows(*grid),
                 (QStringList{"Time|Who|Execute|Point|[4]", "1st.Q(05:09)|青木(4)|３Point 成功|03 - 00|"}));
        QCOMPARE(grid->Row(), 1);
        // The texts fit their columns without a paint.
        const QFontMetrics metrics(grid->CanvasFont());
        for (int col = 0; col < 4; ++col)
            QVERIFY(grid->ColWidths(col) >= metrics.horizontalAdvance(grid->Cells(col, 1)) + 5);
        program.setPeriod(1);
        program.command(kPeriodEnd);
        QCOMPARE(grid->RowCount(), 3);
        QCOMPARE(logTexts(program.form()).last(), QStringLiteral("2nd.Q(05:09)||ピリオド終了|03 - 00"));
        QCOMPARE(grid->Row(), 2);
    }

    // A roster entry is the team's letter and the number, "*" for a starter (the others sit on the
    // bench), and "/..." to tell apart players of the same number. A step is a roster entry without
    // its "*": a defensive rebound of a starter or a foul of a bench player (who stays there),
    // "entry=number" a new number, "-entry" the player's deletion. What is wanted is the entries in the
    // order of their columns; every header reads its player's number and is as wide as its text.
    void playerColumns_data()
    {
        QTest::addColumn<QStringList>("roster");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("columns");
        const QStringList game{"A4*", "A10*", "A7*", "B5*", "B12"};
        QTest::newRow("first action seeds the players on court")
            << game << QStringList{"A10"} << QStringList{"A4", "A7", "A10", "B5"};
        QTest::newRow("a bench fouler joins after the seeding")
            << game << QStringList{"A10", "B12"} << QStringList{"A4", "A7", "A10", "B5", "B12"};
        QTest::newRow("a bench fouler who seeds gets no column")
            << game << QStringList{"B12"} << QStringList{"A4", "A7", "A10", "B5"};
        QTest::newRow("repeated actors get one column")
            << game << QStringList{"A10", "B12", "A10", "B12"} << QStringList{"A4", "A7", "A10", "B5", "B12"};
        QTest::newRow("newcomers go to their places")
            << QStringList{"A12*", "A3*", "A100*", "A25*", "A7*", "A40", "A5", "B9*", "B10*", "B1"}
            << QStringList{"A12", "B1", "A40", "A5"}
            << QStringList{"A3", "A5", "A7", "A12", "A25", "A40", "A100", "B1", "B9", "B10"};
        QStringList descending;
        QStringList ascending;
        for (int number = 30; number >= 1; --number) {
            descending << QStringLiteral("A%1%2").arg(number).arg(number % 2 == 0 ? "*" : "");
            ascending.prepend(QStringLiteral("A%1").arg(number));
        }
        QStringList everyBenchPlayer{"A30"};
        for (int number = 29; number >= 1; number -= 2)
            everyBenchPlayer << QStringLiteral("A%1").arg(number);
        QTest::newRow("many newcomers, each before the others") << descending << everyBenchPlayer << ascending;
        QTest::newRow("equal numbers keep their order of arrival")
            << QStringList{"A8/late", "A8*", "A8/later", "A6"} << QStringList{"A8", "A8/later", "A6", "A8/late"}
            << QStringList{"A6", "A8", "A8/later", "A8/late"};
        QTest::newRow("numbers compare by their bytes in CP932")
            << QStringList{"A１*", "A10*", "Aｱ*", "A9*"} << QStringList{"A9"}
            << QStringList{"A9", "Aｱ", "A10", "A１"};
        QTest::newRow("a changed number puts every column in order again")
            << QStringList{"A4*", "A10*", "A7"} << QStringList{"A4", "A4=11", "A7"}
            << QStringList{"A7", "A10", "A4"};
        QTest::newRow("a deleted player's column goes")
            << QStringList{"A4*", "A10*", "A7"} << QStringList{"A4", "A10", "-A10", "A7"}
            << QStringList{"A4", "A7"};
    }
    void playerColumns()
    {
        QFETCH(QStringList, roster);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, columns);
        Program program;
        QMap<QString, TPlayer*> players;
        for (const QString& entry : roster) {
            const bool starter = entry.contains(QLatin1Char('*'));
            const QString key = QString(entry).remove(QLatin1Char('*'));
            const QString number = key.mid(1).section(QLatin1Char('/'), 0, 0);
            players[key] = program.addPlayer(key.startsWith(QLatin1Char('A')) ? 1 : 2, number, key, starter);
        }
        for (const QString& entry : roster) {
            if (!entry.contains(QLatin1Char('*')))
                players[entry]->status = kOnBench;
        }
        for (const QString& step : steps) {
            if (step.startsWith(QLatin1Char('-'))) {
                program.act(players.take(step.mid(1)), kDeletePlayer);
            } else if (step.contains(QLatin1Char('='))) {
                TPlayer* player = players[step.section(QLatin1Char('='), 0, 0)];
                auto registration = std::make_unique<PlayerRegistration>();
                registration->player = player;
                registration->number = step.section(QLatin1Char('='), 1);
                registration->name = player->name;
                registration->starter = player->starter;
                platform::SendMessage(&program.form(), kRegistrationMessage, 0, std::move(registration));
            } else {
                TPlayer* player = players[step];
                const bool bench = player->status == kOnBench;
                program.act(player, bench ? kFoul : kDefensiveRebound, kPersonalFoul);
                QCOMPARE(player->status, std::uint8_t(bench ? kOnBench : kOnCourt));
            }
        }
        const platform::StringGrid& grid = *program.form().GridPlaying;
        const QFontMetrics metrics(grid.CanvasFont());
        QStringList keys;
        int col = 4;
        for (const TPlayer* player : program.form().PlayLog().PlayerColumns()) {
            keys << player->name;
            const QString header = QLatin1Char('[') + player->number + QLatin1Char(']');
            QCOMPARE(grid.Cells(col, 0), header);
            QCOMPARE(grid.ColWidths(col), std::max(metrics.horizontalAdvance(header) + 2, 5));
            ++col;
        }
        QCOMPARE(keys, columns);
        QCOMPARE(grid.ColCount(), col);
    }

    void undo_data()
    {
        QTest::addColumn<bool>("withLog");
        QTest::newRow("empty log does nothing") << false;
        QTest::newRow("selected entry is undone") << true;
    }
    void undo()
    {
        QFETCH(bool, withLog);
        Program program;
        if (!withLog) {
            program.form().PlayLog().DeleteSelectedLogEntry();
            // Modify and delete need an entry: no dialog opens.
            program.form().PlayLog().EditPlayLog(kModifyEntry);
            program.form().PlayLog().EditPlayLog(kDeleteEntry);
            QCOMPARE(program.form().PlayLog().Count(), 0);
            QCOMPARE(program.form().GridPlaying->RowCount(), 2);
            QVERIFY(!program.form().IsGameModified());
            return;
        }
        ThreeShots shots(program);
        program.form().MarkGameSaved();
        program.form().GridPlaying->SetRow(2);
        program.form().PlayLog().DeleteSelectedLogEntry();
        QCOMPARE(logTexts(program.form()), (QStringList{"1st.Q(05:50)|青木(4)|２Point 成功|02 - 00",
                                                        "1st.Q(05:30)|上田(5)|２Point 成功|02 - 02"}));
        QCOMPARE(program.teamA().TeamPoints(-1), 2);
        QVERIFY(program.form().IsGameModified());
    }

    void deleteByKey_data()
    {
        QTest::addColumn<int>("keyA");
        QTest::addColumn<int>("keyB");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("pointsA");
        const QString first = QStringLiteral("青木(4)|２Point 成功");
        const QString second = QStringLiteral("青木(4)|３Point 成功");
        const QString third = QStringLiteral("上田(5)|２Point 成功");
        QTest::newRow("first key") << 2 << 5 << QStringList{second, third} << 3;
        QTest::newRow("last key") << 3 << 5 << QStringList{first, second} << 5;
        QTest::newRow("no such key") << 9 << 9 << QStringList{first, second, third} << 5;
        QTest::newRow("-1 pair identifies nothing") << -1 << -1 << QStringList{first, second, third} << 5;
        QTest::newRow("half -1 pair identifies nothing") << -1 << 5 << QStringList{first, second, third} << 5;
    }
    void deleteByKey()
    {
        QFETCH(int, keyA);
        QFETCH(int, keyB);
        QFETCH(QStringList, left);
        QFETCH(int, pointsA);
        Program program;
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        TPlayer* b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("上田"), true);
        sendAction(program.form(), actionAt(a4, kTwoPointMade, 5, 0, 2, 5));
        sendAction(program.form(), actionAt(a4, kThreePointMade, 4, 0));
        sendAction(program.form(), actionAt(b5, kTwoPointMade, 3, 0, 3, 5));
        program.form().MarkGameSaved();
        auto key = std::make_unique<GameAction>();
        key->keyA = keyA;
        key->keyB = keyB;
        platform::SendMessage(&program.form(), kDeleteByKeyMessage, 0, std::move(key));
        QCOMPARE(whoAndWhat(program.form()), left);
        const bool deleted = left.size() == 2;
        QCOMPARE(program.form().IsGameModified(), deleted);
        QCOMPARE(program.teamA().TeamPoints(-1), pointsA);
    }

    // Four entries at 5:00, 4:50, 4:40 and 4:30; rows first..last are edited in the range form.
    void rangeEdit_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("operation");
        QTest::addColumn<QStringList>("fields"); // Edit3, Edit4, Edit1, Edit2
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("readings");
        const QStringList unchanged{"0:300:a", "0:290:b", "0:280:c", "0:270:d"};
        QTest::newRow("three rows from 05:00 to 04:00")
            << 1 << 3 << 1 << QStringList{"05", "00", "04", "00"} << ""
            << QStringList{"0:300:a", "0:270:b", "0:240:c", "0:270:d"};
        QTest::newRow("step truncates toward zero")
            << 1 << 4 << 1 << QStringList{"05", "00", "04", "59"} << ""
            << QStringList{"0:300:a", "0:300:b", "0:300:c", "0:300:d"};
        QTest::newRow("equal start and end") << 2 << 4 << 1 << QStringList{"04", "00", "04", "00"} << ""
                                             << QStringList{"0:300:a", "0:240:b", "0:240:c", "0:240:d"};
        QTest::newRow("reversed") << 1 << 3 << 1 << QStringList{"04", "00", "05", "00"}
                                  << "開始Timeと終了Timeが逆転しています。" << unchanged;
        QTest::newRow("two rows") << 2 << 3 << 1 << QStringList{"05", "00", "04", "00"}
                                  << "２行の場合はTime変更ができません。" << unchanged;
        QTest::newRow("negative minutes")
            << 1 << 3 << 1 << QStringList{"05", "00", "-1", "00"} << "Timeに誤りがあります" << unchanged;
        QTest::newRow("seconds above 59")
            << 1 << 3 << 1 << QStringList{"05", "60", "04", "00"} << "Timeに誤りがあります" << unchanged;
        QTest::newRow("not a number")
            << 1 << 3 << 1 << QStringList{"05", "00", "04", "ab"} << "Timeに誤りがあります" << unchanged;
        QTest::newRow("move to the third period")
            << 2 << 3 << 0 << QStringList{} << "" << QStringList{"0:300:a", "2:290:b", "2:280:c", "0:270:d"};
    }
    void rangeEdit()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, operation);
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        QFETCH(QStringList, readings);
        Program program;
        const char* names[] = {"a", "b", "c", "d"};
        for (int i = 0; i < 4; ++i) {
            TPlayer* player = program.addPlayer(1, QString::number(4 + i), QLatin1String(names[i]), true);
            sendAction(program.form(),
                       actionAt(player, kDefensiveRebound, (300 - 10 * i) / 60, (300 - 10 * i) % 60));
        }
        selectRows(program.form().GridPlaying, first, last);
        QString shownStart, shownEnd;
        program.dialogs().expectModal(QStringLiteral("PlayinModify"), [&](QDialog& dialog) {
            auto& modify = static_cast<TPlayinModify&>(dialog);
            modify.RadioGroup1->SetItemIndex(operation);
            modify.RadioGroup1Click();
            if (operation == 0) {
                modify.QuatorCombo->setCurrentIndex(2);
                return int(platform::mrOk);
            }
            shownStart = modify.Edit3->text() + QLatin1Char(':') + modify.Edit4->text();
            shownEnd = modify.Edit1->text() + QLatin1Char(':') + modify.Edit2->text();
            for (QLineEdit* edit : {modify.Edit3, modify.Edit4, modify.Edit1, modify.Edit2})
                edit->setText(fields.takeFirst());
            return int(platform::mrOk);
        });
        if (!message.isEmpty())
            program.dialogs().expectMessage(message + QStringLiteral(" [Quillmarsh]"));
        program.form().PlayLog().EditPlayLog(kModifyEntry);
        QCOMPARE(clockReadings(program.form()), readings);
        if (operation == 1) {
            // The re-spacing layout shows the first and the last selected readings.
            const int start = 300 - 10 * (first - 1);
            const int end = 300 - 10 * (last - 1);
            QCOMPARE(shownStart, QStringLiteral("%1:%2")
                                     .arg(start / 60, 2, 10, QLatin1Char('0'))
                                     .arg(start % 60, 2, 10, QLatin1Char('0')));
            QCOMPARE(shownEnd, QStringLiteral("%1:%2")
                                   .arg(end / 60, 2, 10, QLatin1Char('0'))
                                   .arg(end % 60, 2, 10, QLatin1Char('0')));
        }
    }

    void editEntry_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QStringList>("log");
        const QString a4 = QStringLiteral("青木(4)|２Point 成功");
        const QString a5 = QStringLiteral("石井(5)|３Point 成功");
        const QString b5 = QStringLiteral("上田(5)|２Point 成功");
        QTest::newRow("modify the kind") << int(ModifyKind) << int(kModifyEntry) << 1 << false
                                         << QStringList{"青木(4)|３Point 成功", a5, b5};
        QTest::newRow("modify by Enter") << int(ModifyKind) << int(kModifyEntry) << 1 << true
                                         << QStringList{"青木(4)|３Point 成功", a5, b5};
        QTest::newRow("modify the player") << int(ModifyPlayer) << int(kModifyEntry) << 1 << false
                                           << QStringList{"石井(5)|２Point 成功", a5, b5};
        QTest::newRow("modify into a timeout of team B in the second overtime")
            << int(ModifyToTimeoutOfB) << int(kModifyEntry) << 2 << false
            << QStringList{a4, "TeamB|タイムアウト", b5};
        QTest::newRow("modify without a player keeps the entry")
            << int(ModifyWithoutPlayer) << int(kModifyEntry) << 2 << false << QStringList{a4, a5, b5};
        QTest::newRow("delete confirmed")
            << int(DeleteConfirmed) << int(kDeleteEntry) << 2 << false << QStringList{a4, b5};
        QTest::newRow("delete declined")
            << int(DeleteDeclined) << int(kDeleteEntry) << 2 << false << QStringList{a4, a5, b5};
        QTest::newRow("insert before the selected entry")
            << int(InsertAssist) << int(kInsertEntry) << 2 << false
            << QStringList{a4, "青木(4)|アシスト", a5, b5};
        QTest::newRow("append") << int(AppendAssist) << int(kAppendEntry) << 1 << false
                                << QStringList{a4, a5, b5, "青木(4)|アシスト"};
        QTest::newRow("cancel") << int(Cancel) << int(kModifyEntry) << 3 << false << QStringList{a4, a5, b5};
        QTest::newRow("delete a range")
            << int(RangeDelete) << int(kDeleteEntry) << 2 << false << QStringList{a4};
        QTest::newRow("modify changing nothing")
            << int(ModifyNothing) << int(kModifyEntry) << 2 << false << QStringList{a4, a5, b5};
        QTest::newRow("insert into an empty log appends")
            << int(InsertIntoEmptyLog) << int(kInsertEntry) << 1 << false << QStringList{"青木(4)|アシスト"};
    }
    void editEntry()
    {
        QFETCH(int, edit);
        QFETCH(int, mode);
        QFETCH(int, row);
        QFETCH(bool, byEnter);
        QFETCH(QStringList, log);
        Program program;
        if (edit == InsertIntoEmptyLog)
            program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        else
            ThreeShots shots(program);
        platform::StringGrid* grid = program.form().GridPlaying;
        if (edit == RangeDelete)
            selectRows(grid, 2, 3);
        else
            grid->SetRow(row);
        program.form().MarkGameSaved();
        // The game clock stands where it stood: an edit does not move the game on.
        program.form().SetClock(2, 22);

        bool keysOff = false;
        bool stayedOpen = false;
        program.dialogs().expectModal(QStringLiteral("PlayinModify"), [&](QDialog& dialog) {
            auto& modify = static_cast<TPlayinModify&>(dialog);
            keysOff = !IsKeyInputEnabled();
            if (byEnter) {
                // A second Enter while the edit runs opens nothing.
                int key = Qt::Key_Return;
                grid->OnKeyDown(key, Qt::NoModifier);
            }
            switch (Edit(edit)) {
            case ModifyKind:
                chooseKind(modify, kThreePointMade);
                break;
            case ModifyPlayer:
                choosePlayer(modify, QStringLiteral("石井(5)"));
                break;
            case ModifyToTimeoutOfB:
                chooseKind(modify, 15);
                modify.RadioGroup1->SetItemIndex(1);
                modify.QuatorCombo->setCurrentIndex(5);
                break;
            case ModifyWithoutPlayer:
                modify.ListBox1->setCurrentItem(nullptr);
                break;
            case DeleteConfirmed:
            case RangeDelete:
                modify.OKBtn->click();
                return modify.result();
            case DeleteDeclined:
                modify.OKBtn->click();
                stayedOpen = modify.isVisible() && modify.result() == platform::mrNone;
                modify.CancelBtn->click();
                return modify.result();
            case InsertAssist:
            case AppendAssist:
            case InsertIntoEmptyLog:
                chooseKind(modify, kAssist);
                choosePlayer(modify, QStringLiteral("青木(4)"));
                break;
            case Cancel:
                chooseKind(modify, kAssist);
                return int(platform::mrCancel);
            case ModifyNothing:
                break;
            }
            return int(platform::mrOk);
        });
        // The delete question is asked inside the dialog, when OK is pressed.
        if (edit == DeleteConfirmed || edit == RangeDelete)
            program.dialogs().expectMessage(
                QStringLiteral("削除しますよろしいですか？\n(元に戻す事ができません) [Quillmarsh]"),
                platform::mrYes);
        if (edit == DeleteDeclined)
            program.dialogs().expectMessage(QStringLiteral("削除しますよろしいですか？"), platform::mrNo);
        if (byEnter) {
            int key = Qt::Key_Enter;
            grid->OnKeyDown(key, Qt::NoModifier);
        } else {
            program.form().PlayLog().EditPlayLog(mode);
        }

        QVERIFY(keysOff);
        QVERIFY(IsKeyInputEnabled());
        QCOMPARE(whoAndWhat(program.form()), log);
        QCOMPARE(program.form().ClockMinutes() * 60 + program.form().ClockSeconds(), 2 * 60 + 22);
        if (edit == DeleteDeclined)
            QVERIFY(stayedOpen);
        if (edit == ModifyToTimeoutOfB)
            QCOMPARE(program.form().PlayLog().Entries()[1]->action.period, std::int8_t(5));
        // An edit that changed nothing leaves the game as saved.
        if (edit == Cancel || edit == DeleteDeclined || edit == ModifyWithoutPlayer ||
            edit == ModifyNothing) {
            QVERIFY(!program.form().IsGameModified());
            return;
        }
        // Every edit that changed the log replays the game and marks it changed.
        const int points = program.teamA().TeamPoints(-1) + program.teamB().TeamPoints(-1);
        int expected = 0;
        for (const QString& entry : log)
            expected += entry.endsWith(QStringLiteral("２Point 成功"))
                            ? 2
                            : (entry.endsWith(QStringLiteral("３Point 成功")) ? 3 : 0);
        QCOMPARE(points, expected);
        QVERIFY(program.form().IsGameModified());
    }

    void editDialogShows_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("row"); // 6: past the last entry
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("fields");
        const QString teams = QStringLiteral("team=東京,大阪@");
        QTest::newRow("a shot") << int(kModifyEntry) << 1 << "修正"
                                << "period=0 clock=05:50 kind=0 " + teams +
                                       "0 players=青木(4)*,監督() foul=- throws=-";
        QTest::newRow("a player's foul")
            << int(kModifyEntry) << 2 << "修正"
            << "period=1 clock=04:07 kind=6 " + teams +
                   "1 players=上田(5)* foul=ﾊﾟｰｿﾅﾙﾌｧｳﾙ,ﾃｸﾆｶﾙﾌｧｳﾙ,ｱﾝｽﾎﾟ-ﾂﾏﾝﾗｲｸ,ﾃﾞｨｽｸｵﾘﾌｧｲﾝｸﾞ@1 "
                   "throws=ﾌﾘｰｽﾛｰなし,ﾌﾘｰｽﾛｰ１投,ﾌﾘｰｽﾛｰ２投,ﾌﾘｰｽﾛｰ３投@2";
        QTest::newRow("a coach's foul: the kind is fixed")
            << int(kDeleteEntry) << 3 << "削除"
            << "period=0 clock=04:00 kind=6(off) " + teams +
                   "0 players=青木(4),監督()* foul=ｺｰﾁﾃｸﾆｶﾙ,ｺｰﾁﾃｸﾆｶﾙ以外@1 "
                   "throws=ﾌﾘｰｽﾛｰなし,ﾌﾘｰｽﾛｰ１投,ﾌﾘｰｽﾛｰ２投,ﾌﾘｰｽﾛｰ３投@1";
        QTest::newRow("a time-out") << int(kInsertEntry) << 4 << "挿入"
                                    << "period=0 clock=03:09 kind=15 " + teams +
                                           "1 players=- foul=- throws=-";
        QTest::newRow("a period end")
            << int(kModifyEntry) << 5 << "修正"
            << "period=0 clock=00:00 kind=16 " + teams + "1(off) players=- foul=- throws=-";
        QTest::newRow("past the last entry: the clock and team A")
            << int(kAppendEntry) << 6 << "追加"
            << "period=1 clock=06:00 kind=0 " + teams + "0 players=青木(4)*,監督() foul=- throws=-";
    }
    void editDialogShows()
    {
        QFETCH(int, mode);
        QFETCH(int, row);
        QFETCH(QString, caption);
        QFETCH(QString, fields);
        Program program;
        EveryKind log(program);
        platform::StringGrid* grid = program.form().GridPlaying;
        grid->SetRowCount(7);
        grid->SetRow(row);
        program.dialogs().expectModal(QStringLiteral("PlayinModify"), [&](QDialog& dialog) {
            auto& modify = static_cast<TPlayinModify&>(dialog);
            [&] {
                QCOMPARE(shown(modify), fields);
                QCOMPARE(modify.windowTitle(), caption);
                QCOMPARE(modify.OKBtn->text(), caption);
                QCOMPARE(modify.focusWidget(), modify.OKBtn);
            }();
            return int(platform::mrCancel);
        });
        program.form().PlayLog().EditPlayLog(mode);
        QVERIFY(program.dialogs().allAnswered());
    }

    void editDialogChoices_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("kind");     // -1: left as it is
        QTest::addColumn<QString>("pick"); // a player to click, or "team B"
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("built"); // "category/code/throws/foul kind/command/side/team name"
        const QString teams = QStringLiteral("team=東京,大阪@");
        const QString fouls = QStringLiteral("foul=ﾊﾟｰｿﾅﾙﾌｧｳﾙ,ﾃｸﾆｶﾙﾌｧｳﾙ,ｱﾝｽﾎﾟ-ﾂﾏﾝﾗｲｸ,ﾃﾞｨｽｸｵﾘﾌｧｲﾝｸﾞ@0 "
                                             "throws=ﾌﾘｰｽﾛｰなし,ﾌﾘｰｽﾛｰ１投,ﾌﾘｰｽﾛｰ２投,ﾌﾘｰｽﾛｰ３投@0");
        QTest::newRow("a shot made a foul shows the foul choices")
            << 1 << 6 << ""
            << "period=0 clock=05:50 kind=6 " + teams + "0 players=青木(4)*,監督() " + fouls
            << "0/6/0/0/255/1/東京";
        QTest::newRow("a shot made a time-out")
            << 1 << 15 << ""
            << "period=0 clock=05:50 kind=15 " + teams + "0 players=- foul=- throws=-"
            << "1/255/255/255/1/1/東京";
        QTest::newRow("a time-out of team B")
            << 4 << -1 << "team B"
            << "period=0 clock=03:09 kind=15 " + teams + "1 players=- foul=- throws=-"
            << "1/255/255/255/1/2/大阪";
        QTest::newRow("a period end made a shot shows the players")
            << 5 << 2 << ""
            << "period=0 clock=00:00 kind=2 " + teams + "1 players=上田(5)* foul=- throws=-"
            << "0/2/255/255/255/2/大阪";
        QTest::newRow("the coach chosen: fouls only")
            << 1 << -1 << "監督()"
            << "period=0 clock=05:50 kind=6(off) " + teams +
                   "0 players=青木(4),監督()* foul=ｺｰﾁﾃｸﾆｶﾙ,ｺｰﾁﾃｸﾆｶﾙ以外@0 "
                   "throws=ﾌﾘｰｽﾛｰなし,ﾌﾘｰｽﾛｰ１投,ﾌﾘｰｽﾛｰ２投,ﾌﾘｰｽﾛｰ３投@0"
            << "0/6/0/4/255/1/東京";
        QTest::newRow("the coach's foul, second kind")
            << 3 << -1 << ""
            << "period=0 clock=04:00 kind=6(off) " + teams +
                   "0 players=青木(4),監督()* foul=ｺｰﾁﾃｸﾆｶﾙ,ｺｰﾁﾃｸﾆｶﾙ以外@1 "
                   "throws=ﾌﾘｰｽﾛｰなし,ﾌﾘｰｽﾛｰ１投,ﾌﾘｰｽﾛｰ２投,ﾌﾘｰｽﾛｰ３投@1"
            << "0/6/1/5/255/1/東京";
        QTest::newRow("game end keeps the controls")
            << 1 << 17 << ""
            << "period=0 clock=05:50 kind=17 " + teams + "0 players=青木(4)*,監督() foul=- throws=-"
            << "1/255/255/255/3/0/";
    }
    void editDialogChoices()
    {
        QFETCH(int, row);
        QFETCH(int, kind);
        QFETCH(QString, pick);
        QFETCH(QString, fields);
        QFETCH(QString, built);
        Program program;
        EveryKind log(program);
        program.form().GridPlaying->SetRow(row);
        program.dialogs().expectModal(QStringLiteral("PlayinModify"), [&](QDialog& dialog) {
            auto& modify = static_cast<TPlayinModify&>(dialog);
            [&] {
                if (kind >= 0)
                    chooseKind(modify, kind);
                if (pick == QStringLiteral("team B"))
                    clickRadioItem(modify.RadioGroup1, 1);
                else if (!pick.isEmpty())
                    choosePlayer(modify, pick);
                QCOMPARE(shown(modify), fields);
                const auto entry = modify.BuildLogEntry(-1, 0);
                QVERIFY(entry);
                const GameAction& a = entry->action;
                QCOMPARE(QStringLiteral("%1/%2/%3/%4/%5/%6/%7")
                             .arg(a.category)
                             .arg(a.code)
                             .arg(a.freeThrows)
                             .arg(a.foulKind)
                             .arg(a.command)
                             .arg(a.side)
                             .arg(entry->teamName),
                         built);
            }();
            return int(platform::mrCancel);
        });
        program.form().PlayLog().EditPlayLog(kModifyEntry);
        QVERIFY(program.dialogs().allAnswered());
    }

    // Without a kind there is nothing to build: the entry stays and the game is not marked changed.
    void editDialogWithoutKind()
    {
        Program program;
        ThreeShots shots(program);
        program.form().MarkGameSaved();
        program.form().GridPlaying->SetRow(2);
        program.dialogs().expectModal(QStringLiteral("PlayinModify"), [&](QDialog& dialog) {
            auto& modify = static_cast<TPlayinModify&>(dialog);
            modify.ComboBox1->setCurrentIndex(-1);
            [&] { QVERIFY(!modify.BuildLogEntry(-1, 0)); }();
            QTest::mouseClick(modify.OKBtn, Qt::LeftButton);
            return modify.result();
        });
        program.form().PlayLog().EditPlayLog(kModifyEntry);
        QCOMPARE(whoAndWhat(program.form()),
                 (QStringList{"青木(4)|２Point 成功", "石井(5)|３Point 成功", "上田(5)|２Point 成功"}));
        QVERIFY(!program.form().IsGameModified());
    }

    // A range of rows has no kind to insert or append: the form refuses to confirm.
    void rangeRefusesInsertAndAppend_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("insert") << int(kInsertEntry);
        QTest::newRow("append") << int(kAppendEntry);
    }
    void rangeRefusesInsertAndAppend()
    {
        QFETCH(int, mode);
        Program program;
        ThreeShots shots(program);
        selectRows(program.form().GridPlaying, 1, 3);
        // Without a paint: the offscreen form is never drawn.
        QVERIFY(!program.form().PInsertBtn->isEnabled());
        QVERIFY(!program.form().PAddBtn->isEnabled());
        bool refused = false;
        program.dialogs().expectModal(QStringLiteral("PlayinModify"), [&](QDialog& dialog) {
            auto& modify = static_cast<TPlayinModify&>(dialog);
            QTest::mouseClick(modify.OKBtn, Qt::LeftButton);
            QTest::keyClick(&modify, Qt::Key_Return);
            modify.done(platform::mrOk);
            refused = !modify.OKBtn->isEnabled() && modify.result() == platform::mrNone &&
                      !modify.BuildLogEntry(-1, 0) && !modify.BuildLogEntry(0, 0);
            QTest::mouseClick(modify.CancelBtn, Qt::LeftButton);
            return modify.result();
        });
        program.form().PlayLog().EditPlayLog(mode);
        QVERIFY(refused);
        QCOMPARE(program.form().PlayLog().Count(), 3);
    }

    void replayKeepsRows()
    {
        Program program;
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        TPlayer* a5 = program.addPlayer(1, QStringLiteral("5"), QStringLiteral("石井"), true);
        TPlayer* b7 = program.addPlayer(2, QStringLiteral("7"), QStringLiteral("上田"), true);
        for (int i = 0; i < 5; ++i)
            program.addPlayer(2, QString::number(10 + i), QStringLiteral("控え"), true);
        TPlayer* b20 = program.addPlayer(2, QStringLiteral("20"), QStringLiteral("交代"));
        program.setClock(5, 10);
        program.act(a4, kTwoPointMade);
        program.act(b7, kFoul, kPersonalFoul, 2);
        program.act(a5, kFreeThrowMade);
        program.setClock(4, 0);
        program.act(b7, kToBench);
        program.act(b20, kCourtIn);
        program.command(kTimeout, 1);
        program.setClock(0, 0);
        program.command(kPeriodEnd);
        program.act(b20, kThreePointMade);
        const QStringList before = gridRows(*program.form().GridPlaying);
        QCOMPARE(before.size(), 9);
        program.form().PDataReloadBtn->click();
        QCOMPARE(gridRows(*program.form().GridPlaying), before);
        // Entries refer to the live records: a renamed player shows his new name after a replay.
        a4->name = QStringLiteral("青山");
        program.form().PlayLog().ReplayPlayLog();
        QCOMPARE(logTexts(program.form()).first(),
                 QStringLiteral("1st.Q(05:10)|青山(4)|２Point 成功|02 - 00"));
    }

    void drawColours()
    {
        Program program;
        SetTeamColor(1, 0x00FFFF); // yellow
        SetTeamColor(2, 0x00FF00); // lime
        ApplyTeamColors();
        THooptallyForm& form = program.form();
        form.show();
        form.PageControl1->setCurrentIndex(3);
        platform::StringGrid* grid = form.GridPlaying;
        auto colourAt = [grid](int col, int row) {
            const QImage image = grid->viewport()->grab().toImage();
            const QRect rect = grid->CellRect(col, row);
            return rect.isEmpty() ? QColor() : image.pixelColor(rect.right() - 2, rect.bottom() - 2);
        };
        const QColor white(Qt::white);
        const QColor blue(0, 0, 255);
        const QColor yellow = platform::toQColor(0x00FFFF);
        const QColor lime = platform::toQColor(0x00FF00);
        // The empty row of an empty log is white, selected or not.
        QCOMPARE(colourAt(0, 1), white);
        QCOMPARE(colourAt(3, 1), white);

        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        TPlayer* a5 = program.addPlayer(1, QStringLiteral("5"), QStringLiteral("石井"), true);
        TPlayer* b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("上田"), true);
        program.act(a4, kTwoPointMade); // row 1: everyone on court
        program.command(kTimeout, 2);   // row 2: a command
        program.act(a5, kToBench);      // row 3: A5 leaves
        program.act(a4, kAssist);       // row 4: A5 off court
        program.act(b5, kTwoPointMade); // row 5: selected
        QCOMPARE(playerHeaders(*grid), (QStringList{"[4]", "[5]", "[5]"}));
        QCOMPARE(grid->Row(), 5);

        const QList<QList<QColor>> expected = {
            {yellow, yellow, yellow, white, yellow, yellow, lime},
            {white, white, white, white, white, white, white},
            {yellow, yellow, yellow, white, yellow, yellow, lime},
            {yellow, yellow, yellow, white, yellow, white, lime},
            {blue, blue, blue, blue, blue, blue, blue},
        };
        for (int row = 1; row <= 5; ++row) {
            for (int col = 0; col < 7; ++col)
                QVERIFY2(
                    colourAt(col, row) == expected[row - 1][col],
                    qPrintable(
                        QStringLiteral("cell %1,%2 is %3").arg(col).arg(row).arg(colourAt(col, row).name())));
        }
        QVERIFY(form.PInsertBtn->isEnabled());
        QVERIFY(form.PlayLog().PlayLogPopup());
        selectRows(grid, 2, 4);
        QCOMPARE(colourAt(0, 3), blue);
        QCOMPARE(colourAt(0, 1), yellow);
        QVERIFY(!form.PInsertBtn->isEnabled());
        QVERIFY(!form.PAddBtn->isEnabled());
        QVERIFY(!form.PlayLog().PlayLogPopup());
        form.hide();
    }
};

QTEST_MAIN(tst_playlog)
#include "tst_playlog.moc"
