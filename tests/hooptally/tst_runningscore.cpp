// The running-score sheet: its four blocks, the marks of made shots, period and game ends, and a
// shot entered directly on the sheet.
#include <QApplication>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include "hooptally/Runscore.h"
#include "hooptally/TOption.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/StringGrid.h"
#include "support/Program.h"
#include "support/SheetHelpers.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

SheetGridControl& run(Program& program)
{
    return *program.form().TeamGrids().Run();
}

const TCell& cell(Program& program, int column, int row)
{
    return *run(program).SheetGridCellAt(column, row);
}

// Scores `points` for the player's team with two-pointers and a last free throw when odd.
void score(Program& program, TPlayer* player, int points)
{
    for (int i = 0; i + 1 < points; i += 2)
        program.act(player, kTwoPointMade);
    if (points % 2 == 1)
        program.act(player, kFreeThrowMade);
}

// Every cell that holds a mark, as "column,row:category/code/command".
QStringList marks(Program& program)
{
    QStringList found;
    const SheetGridControl& control = run(program);
    for (int row = 0; row < control.rows; ++row) {
        for (int column = 0; column < control.columns; ++column) {
            const GameAction& a = control.CellAt(column, row)->action;
            if (HasAction(a))
                found << QStringLiteral("%1,%2:%3/%4/%5")
                             .arg(column)
                             .arg(row)
                             .arg(a.category)
                             .arg(a.code)
                             .arg(a.command);
        }
    }
    return found;
}

} // namespace

class tst_runningscore : public QObject
{
    Q_OBJECT
private slots:
    void layoutOfTheFourBlocks()
    {
        Program program;
        const SheetGridControl& control = run(program);
        const platform::StringGrid& grid = *program.form().GridRun;
        QCOMPARE(control.columns, 19);
        QCOMPARE(control.rows, 41);
        QCOMPARE(grid.DefaultColWidth(), 25);
        for (int column = 0; column < 19; ++column)
            QCOMPARE(grid.ColWidths(column), column % 5 == 4 ? 10 : 25);
        for (int block = 0; block < 4; ++block) {
            const int first = 5 * block;
            for (const int side : kSides) {
                const int headerColumn = side == 1 ? first : first + 2;
                const TCell& header = cell(program, headerColumn + 1, 0);
                QCOMPARE(QPoint(header.firstColumn, header.lastColumn),
                         QPoint(headerColumn, headerColumn + 1));
                QCOMPARE(header.kind, std::uint8_t(kLabelArea));
                QCOMPARE(header.background, GetTeamColor(side));
                QCOMPARE(grid.Cells(headerColumn, 0),
                         side == 1 ? QStringLiteral("Ａ") : QStringLiteral("Ｂ"));
            }
            for (int row = 1; row <= 40; ++row) {
                const QString number = QString::number(40 * block + row);
                for (const int column : {first + 1, first + 2}) {
                    QCOMPARE(grid.Cells(column, row), number);
                    QCOMPARE(cell(program, column, row).kind, std::uint8_t(kScoreNumberColumn));
                    QCOMPARE(cell(program, column, row).background, platform::TColor(0xD8E9EC));
                }
                for (const int column : {first, first + 3}) {
                    QCOMPARE(grid.Cells(column, row), QString());
                    QCOMPARE(cell(program, column, row).kind, std::uint8_t(kScorerColumn));
                    QCOMPARE(cell(program, column, row).background, platform::TColor(0));
                }
            }
            if (block < 3) {
                for (int row = 0; row <= 40; ++row) {
                    QCOMPARE(cell(program, first + 4, row).kind, std::uint8_t(kLabelArea));
                    QCOMPARE(cell(program, first + 4, row).background, platform::TColor(0xACFFFF));
                    QCOMPARE(cell(program, first + 4, row).firstColumn, first + 4);
                }
            }
        }
    }

    void placeOfATotal_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("points");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("team A without points") << 1 << 0 << QPoint(0, 0);
        QTest::newRow("team B without points") << 2 << 0 << QPoint(3, 0);
        QTest::newRow("team A at 2") << 1 << 2 << QPoint(0, 2);
        QTest::newRow("team B at 43") << 2 << 43 << QPoint(8, 3);
        QTest::newRow("team A at 40") << 1 << 40 << QPoint(0, 40);
        QTest::newRow("team A at 80") << 1 << 80 << QPoint(5, 40);
        QTest::newRow("team B at 160") << 2 << 160 << QPoint(18, 40);
        QTest::newRow("team A at 161: beyond the sheet") << 1 << 161 << QPoint(20, 1);
    }
    void placeOfATotal()
    {
        QFETCH(int, side);
        QFETCH(int, points);
        QFETCH(QPoint, place);
        Program program;
        TPlayer* player = program.addPlayer(side, QStringLiteral("7"), QStringLiteral("X"), true);
        score(program, player, points);
        int column = -1;
        int row = -1;
        RunningScorePlace(side, player->team, column, row);
        QCOMPARE(QPoint(column, row), place);
    }

    void firstBasketOfTeamA()
    {
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("7"), QStringLiteral("X"), true);
        program.act(player, kTwoPointMade);
        QCOMPARE(program.form().GridRun->Cells(0, 2), QStringLiteral("7"));
        QCOMPARE(cell(program, 0, 2).action.code, std::uint8_t(kTwoPointMade));
        QCOMPARE(cell(program, 1, 2).action.code, std::uint8_t(kTwoPointMade));
        QCOMPARE(cell(program, 1, 2).action.player, player);
        QCOMPARE(marks(program), (QStringList{"0,2:0/0/255", "1,2:0/0/255"}));
        // On screen: the number is slashed in the first period's red, the 1 untouched.
        showSheets(program);
        const QImage image = renderGrid(*program.form().GridRun);
        const QRect two = program.form().GridRun->CellRect(1, 2);
        QCOMPARE(image.pixelColor(two.topRight() + QPoint(-2, 2)), QColor(Qt::red));
        QCOMPARE(image.pixelColor(two.bottomLeft() + QPoint(2, -2)), QColor(Qt::red));
        const QRect one = program.form().GridRun->CellRect(1, 1);
        QVERIFY(image.pixelColor(one.topRight() + QPoint(-2, 2)) != QColor(Qt::red));
    }

    void threePointerFrom38To41MovesToTheNextBlock()
    {
        Program program;
        TPlayer* player = program.addPlayer(2, QStringLiteral("11"), QStringLiteral("Y"), true);
        score(program, player, 38);
        program.act(player, kThreePointMade);
        QCOMPARE(program.form().GridRun->Cells(8, 1), QStringLiteral("11"));
        QCOMPARE(cell(program, 8, 1).action.code, std::uint8_t(kThreePointMade));
        QCOMPARE(cell(program, 7, 1).action.code, std::uint8_t(kThreePointMade));
        // The scorer's number is circled: the top of the cell's circle is in the first period's red.
        showSheets(program);
        const QImage image = renderGrid(*program.form().GridRun);
        const QRect mark = program.form().GridRun->CellRect(8, 1);
        QCOMPARE(image.pixelColor(mark.center().x(), mark.top()), QColor(Qt::red));
    }

    void freeThrowTo40ThenTheNextBlock()
    {
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("X"), true);
        score(program, player, 39);
        program.act(player, kFreeThrowMade);
        QCOMPARE(cell(program, 1, 40).action.code, std::uint8_t(kFreeThrowMade));
        program.act(player, kFreeThrowMade);
        QCOMPARE(cell(program, 6, 1).action.code, std::uint8_t(kFreeThrowMade));
        QCOMPARE(program.form().GridRun->Cells(5, 1), QStringLiteral("4"));
    }

    void missesFoulsAndCommandsLeaveNoMark()
    {
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("X"), true);
        for (const std::uint8_t code : {kTwoPointMissed, kThreePointMissed, kFreeThrowMissed, kAssist})
            program.act(player, code);
        program.act(player, kFoul, kPersonalFoul, 2);
        program.command(kTimeout, 1);
        QVERIFY(marks(program).isEmpty());
        // A notice without a player is dropped.
        auto notice = std::make_unique<ScoreMarkNotice>();
        notice->category = kPlayerAction;
        notice->code = kTwoPointMade;
        platform::SendMessage(&program.form(), kScoreMarkMessage, 0, std::move(notice));
        QVERIFY(marks(program).isEmpty());
    }

    // Past 160 points the sheet has no room: the score lands nowhere, not in another row.
    void beyond160LeavesNoMark()
    {
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("X"), true);
        score(program, player, 160);
        const QStringList full = marks(program);
        QCOMPARE(full.size(), 2 * 80);
        program.act(player, kFreeThrowMade);
        program.act(player, kThreePointMade);
        QCOMPARE(marks(program), full);
        // At the game end team B, without points, gets its marks; team A none.
        program.command(kGameEnd);
        QStringList teamA;
        for (const QString& mark : marks(program)) {
            if (mark.section(QLatin1Char(','), 0, 0).toInt() % 5 < 2)
                teamA << mark;
        }
        QCOMPARE(teamA, full);
    }

    void periodEndLines()
    {
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("X"), true);
        score(program, player, 17);
        program.command(kPeriodEnd);
        QCOMPARE(cell(program, 0, 17).periodColour, std::uint8_t(0));
        QCOMPARE(cell(program, 1, 17).periodColour, std::uint8_t(0));
        // Team B without points: its header takes the colour and shows nothing.
        QCOMPARE(cell(program, 2, 0).periodColour, std::uint8_t(0));
        showSheets(program);
        QImage image = renderGrid(*program.form().GridRun);
        const QRect seventeen = program.form().GridRun->CellRect(1, 17);
        const int lineY = seventeen.bottom() + 1;
        // Four pixels thick, and the row below paints none of it over.
        for (const int y : {lineY - 3, lineY - 2, lineY - 1, lineY})
            QCOMPARE(image.pixelColor(seventeen.center().x(), y), QColor(Qt::red));
        QVERIFY(image.pixelColor(seventeen.center().x(), lineY + 1) != QColor(Qt::red));
        QCOMPARE(image.pixelColor(seventeen.center().x(), seventeen.top()), QColor(Qt::red)); // circled
        // The second period's line stands under the score of then, in black.
        score(program, player, 4);
        program.command(kPeriodEnd);
        QCOMPARE(cell(program, 1, 21).periodColour, std::uint8_t(1));
        QCOMPARE(cell(program, 1, 17).periodColour, std::uint8_t(0));
        image = renderGrid(*program.form().GridRun);
        const QRect twentyOne = program.form().GridRun->CellRect(1, 21);
        for (int y = twentyOne.bottom() - 2; y <= twentyOne.bottom() + 1; ++y)
            QCOMPARE(image.pixelColor(twentyOne.center().x(), y), QColor(Qt::black));
    }

    void gameEndMarks_data()
    {
        QTest::addColumn<int>("pointsA");
        QTest::addColumn<int>("pointsB");
        QTest::addColumn<QPoint>("markA"); // (-1, -1): none
        QTest::addColumn<QPoint>("markB");
        QTest::newRow("both without points") << 0 << 0 << QPoint(0, 1) << QPoint(3, 1);
        QTest::newRow("A at 40, B at 3") << 40 << 3 << QPoint(5, 1) << QPoint(3, 4);
        QTest::newRow("A at 160: no mark for A") << 160 << 79 << QPoint(-1, -1) << QPoint(8, 40);
        QTest::newRow("B at 159") << 2 << 159 << QPoint(0, 3) << QPoint(18, 40);
    }
    void gameEndMarks()
    {
        QFETCH(int, pointsA);
        QFETCH(int, pointsB);
        QFETCH(QPoint, markA);
        QFETCH(QPoint, markB);
        Program program;
        score(program, program.addPlayer(1, QStringLiteral("4"), QStringLiteral("X"), true), pointsA);
        score(program, program.addPlayer(2, QStringLiteral("5"), QStringLiteral("Y"), true), pointsB);
        QStringList before;
        for (const QString& mark : marks(program))
            before << mark;
        program.command(kGameEnd);
        QStringList expected = before;
        for (const QPoint& mark : {markA, markB}) {
            if (mark.x() < 0)
                continue;
            expected << QStringLiteral("%1,%2:1/255/4").arg(mark.x()).arg(mark.y());
            for (int row = mark.y() + 1; row <= 40; ++row)
                expected << QStringLiteral("%1,%2:1/255/5").arg(mark.x()).arg(row);
            const GameAction& end = cell(program, mark.x(), mark.y()).action;
            QCOMPARE(QPoint(end.keyA, end.keyB), mark);
        }
        QStringList found = marks(program);
        expected.sort();
        found.sort();
        QCOMPARE(found, expected);
    }

    // --- direct entry on the sheet ----------------------------------------------------------------

    void rightClickListsThePlayersOnCourtOfThatTeam()
    {
        Program program;
        program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        program.addPlayer(2, QStringLiteral("7"), QStringLiteral("田中"), true);
        program.addPlayer(2, QStringLiteral("8"), QStringLiteral("中村"), true);
        TPlayer* bench = program.addPlayer(2, QStringLiteral("9"), QStringLiteral("控え"));
        program.act(bench, kToBench);
        showSheets(program);
        platform::StringGrid& grid = *program.form().GridRun;
        rightClickCell(grid, 4, 10);
        QVERIFY(!openPopup(program.form()));
        rightClickCell(grid, 12, 10);
        QMenu* menu = openPopup(program.form());
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QStringLiteral("PopupMember"));
        QStringList items;
        for (QAction* action : menu->actions())
            items << action->text();
        QCOMPARE(items, (QStringList{"田中(7)", "中村(8)"}));
        closePopups(program.form());
    }

    void noMenuWithoutPlayersOnCourt()
    {
        Program program;
        program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        showSheets(program);
        rightClickCell(*program.form().GridRun, 3, 5);
        QVERIFY(!openPopup(program.form()));
    }

    void shotEnteredOnTheSheet_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("points");
        QTest::newRow("two points") << "２ﾎﾟｲﾝﾄ" << int(kTwoPointMade) << 2;
        QTest::newRow("three points") << "３ﾎﾟｲﾝﾄ" << int(kThreePointMade) << 3;
        QTest::newRow("free throw") << "ﾌﾘｰｽﾛｰ" << int(kFreeThrowMade) << 1;
    }
    void shotEnteredOnTheSheet()
    {
        QFETCH(QString, item);
        QFETCH(int, code);
        QFETCH(int, points);
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        // A foul chosen on a team sheet before leaves its free throws in the pending target.
        program.act(player, kFoul, kPersonalFoul, 2);
        showSheets(program);
        const int logged = program.form().PlayLog().Count();
        // The clicked cell does not matter: the mark goes where the new total falls.
        rightClickCell(*program.form().GridRun, 6, 30);
        QVERIFY(chooseItem(program.form(), QStringLiteral("青木(4)")));
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopupCount"));
        QVERIFY(chooseItem(program.form(), item));
        closePopups(program.form());
        QCOMPARE(program.form().PlayLog().Count(), logged + 1);
        const GameAction& sent = program.form().PlayLog().Entries().back()->action;
        QCOMPARE(sent.code, std::uint8_t(code));
        QCOMPARE(sent.player, player);
        QCOMPARE(sent.freeThrows, std::uint8_t(kNone));
        QCOMPARE(sent.foulKind, std::uint8_t(kNone));
        QCOMPARE(program.teamA().TeamPoints(-1), points);
        QCOMPARE(cell(program, 1, points).action.code, std::uint8_t(code));
        QCOMPARE(program.form().GridRun->Cells(0, points), QStringLiteral("4"));
    }

    void enterAndDoubleClickActAsTheRightButton()
    {
        Program program;
        program.addPlayer(2, QStringLiteral("7"), QStringLiteral("田中"), true);
        showSheets(program);
        platform::StringGrid& grid = *program.form().GridRun;
        leftClickCell(grid, 7, 3);
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopupMember"));
        closePopups(program.form());
        doubleClickCell(grid, 17, 20);
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopupMember"));
        closePopups(program.form());
        doubleClickCell(grid, 9, 20);
        QVERIFY(!openPopup(program.form()));
    }

    // A deleted player leaves no item behind in the player menu.
    void deletedPlayerLeavesThePlayerMenu()
    {
        Program program;
        TPlayer* gone = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        program.addPlayer(1, QStringLiteral("5"), QStringLiteral("伊藤"), true);
        program.act(gone, kTwoPointMade);
        showSheets(program);
        rightClickCell(*program.form().GridRun, 0, 5);
        QCOMPARE(program.form().PopupMember->actions().size(), 2);
        closePopups(program.form());
        program.act(gone, kDeletePlayer);
        QCOMPARE(program.form().PopupMember->actions().size(), 1);
        QVERIFY(marks(program).isEmpty());
    }

    // A clearing choice empties its cell when it is placed; the painter never changes the sheet.
    void clearingChoiceEmptiesTheCell()
    {
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("7"), QStringLiteral("X"), true);
        program.act(player, kTwoPointMade);
        QCOMPARE(program.form().GridRun->Cells(0, 2), QStringLiteral("7"));
        SetPopupTarget(&program.form(), 0, 2, nullptr, &run(program), 0, kSideA);
        ApplyPopupChoice(&program.form(), SheetChoice{kCommand, kNone, kNone, kNone, kClearMark});
        QCOMPARE(program.form().GridRun->Cells(0, 2), QString());
        QVERIFY(!HasAction(cell(program, 0, 2).action));
        QCOMPARE(cell(program, 1, 2).action.code, std::uint8_t(kTwoPointMade));
    }
};

QTEST_MAIN(tst_runningscore)
#include "tst_runningscore.moc"
