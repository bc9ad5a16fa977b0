// The team score sheets: both layouts cell by cell, filling them from the teams, and the marks,
// menus, keys and double clicks a scorer works them with.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/TPlayerExec.h"
#include "hooptally/TPlayerTouroku.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/Codec.h"
#include "platform/StringGrid.h"
#include "platform/StringList.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"
#include "support/SheetHelpers.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

const QString kMiniBasketIni = QStringLiteral("[Initialize]\nMiniBasket=1");

// One row of the layout tables: cells, text, kind, background and menu of its areas.
struct LayoutRow
{
    QString name;
    int firstColumn;
    int lastColumn;
    int firstRow;
    int lastRow;
    enum Shape { Merged, PerRow, PerCell } shape;
    QString text; // "#row": 1 to 15 from the top; "#name": なまえ and the row; "#box": 1 to 4; "#team":
                  // チームＡ/Ｂ
    int kind;
    bool teamColour;
    QString menu;
};

// The normal layout as the score-sheet tables give it.
QList<LayoutRow> normalLayout()
{
    using S = LayoutRow;
    return {
        {"team label", 0, 2, 0, 1, S::Merged, "#team", 0, true, {}},
        {"team name", 3, 8, 0, 1, S::Merged, "", 1, true, "PopupFile"},
        {"time-out label", 9, 15, 0, 0, S::Merged, "Time Out", 0, true, {}},
        {"time-out boxes", 9, 15, 1, 1, S::PerCell, "", 2, false, "PopTimeOut"},
        {"name header", 0, 8, 2, 2, S::Merged, "Name Of Players", 0, true, {}},
        {"number header", 9, 9, 2, 2, S::Merged, "No.", 0, true, {}},
        {"played header", 10, 10, 2, 2, S::Merged, "Pl･in", 0, true, {}},
        {"foul header", 11, 15, 2, 2, S::Merged, "Fouls", 0, true, {}},
        {"row numbers", 0, 0, 3, 17, S::PerCell, "#row", 0, true, {}},
        {"player names", 1, 8, 3, 17, S::PerRow, "#name", 4, false, {}},
        {"player numbers", 9, 9, 3, 17, S::PerCell, "", 3, false, {}},
        {"played-period boxes", 10, 10, 3, 17, S::PerCell, "", 5, false, "PopStarter"},
        {"foul boxes", 11, 15, 3, 17, S::PerCell, "", 6, false, "PopupFoul"},
        {"coach label", 0, 2, 18, 18, S::Merged, "COACH", 0, false, {}},
        {"head coach name", 3, 8, 18, 18, S::Merged, "", 12, false, {}},
        {"assistant label", 0, 2, 19, 19, S::Merged, "ACOACH", 0, false, {}},
        {"assistant coach name", 3, 8, 19, 19, S::Merged, "", 13, false, {}},
        {"signature", 9, 12, 18, 19, S::Merged, "signature", 0, false, {}},
        {"head coach foul boxes", 13, 15, 18, 18, S::PerCell, "", 11, false, "PopupCoach"},
        {"assistant coach foul boxes", 13, 15, 19, 19, S::PerCell, "", 11, false, "PopupCoach"},
        {"team-foul title 1", 17, 18, 2, 2, S::Merged, "チーム", 0, true, {}},
        {"team-foul title 2", 17, 18, 3, 3, S::Merged, "ファウル", 0, true, {}},
        {"period label 1Q", 17, 17, 5, 5, S::Merged, "１Ｑ", 0, true, {}},
        {"period label 2Q", 18, 18, 5, 5, S::Merged, "２Ｑ", 0, true, {}},
        {"team-foul boxes 1Q", 17, 17, 6, 9, S::PerCell, "#box", 7, false, {}},
        {"team-foul boxes 2Q", 18, 18, 6, 9, S::PerCell, "#box", 7, false, {}},
        {"period label 3Q", 17, 17, 11, 11, S::Merged, "３Ｑ", 0, true, {}},
        {"period label 4Q", 18, 18, 11, 11, S::Merged, "４Ｑ", 0, true, {}},
        {"team-foul boxes 3Q", 17, 17, 12, 15, S::PerCell, "#box", 7, false, {}},
        {"team-foul boxes 4Q", 18, 18, 12, 15, S::PerCell, "#box", 7, false, {}},
    };
}

QList<LayoutRow> miniBasketLayout()
{
    using S = LayoutRow;
    return {
        {"team label", 0, 2, 0, 2, S::Merged, "#team", 0, true, {}},
        {"team name", 3, 11, 0, 2, S::Merged, "", 1, true, "PopupFile"},
        {"time-out label", 12, 16, 0, 0, S::Merged, "ﾀｲﾑｱｳﾄ", 0, true, {}},
        {"time-out label 前", 12, 12, 1, 1, S::Merged, "前", 0, true, {}},
        {"time-out label 後", 13, 13, 1, 1, S::Merged, "後", 0, true, {}},
        {"time-out label 延", 14, 14, 1, 1, S::Merged, "延", 0, true, {}},
        {"time-out label 延 again", 15, 15, 1, 1, S::Merged, "延", 0, true, {}},
        {"time-out boxes", 12, 16, 2, 2, S::PerCell, "", 2, false, "PopTimeOut"},
        {"name header", 0, 6, 3, 4, S::Merged, "選 手 氏 名", 0, true, {}},
        {"number header", 7, 7, 3, 4, S::Merged, "No.", 0, true, {}},
        {"played header", 8, 11, 3, 3, S::Merged, "出場時限", 0, true, {}},
        {"quarter ①", 8, 8, 4, 4, S::Merged, "①", 0, true, {}},
        {"quarter ②", 9, 9, 4, 4, S::Merged, "②", 0, true, {}},
        {"quarter ③", 10, 10, 4, 4, S::Merged, "③", 0, true, {}},
        {"quarter ④", 11, 11, 4, 4, S::Merged, "④", 0, true, {}},
        {"foul header", 12, 16, 3, 3, S::Merged, "ファウル", 0, true, {}},
        {"foul １", 12, 12, 4, 4, S::Merged, "１", 0, true, {}},
        {"foul ２", 13, 13, 4, 4, S::Merged, "２", 0, true, {}},
        {"foul ３", 14, 14, 4, 4, S::Merged, "３", 0, true, {}},
        {"foul ４", 15, 15, 4, 4, S::Merged, "４", 0, true, {}},
        {"foul ５", 16, 16, 4, 4, S::Merged, "５", 0, true, {}},
        {"row numbers", 0, 0, 5, 19, S::PerCell, "#row", 0, true, {}},
        {"player names", 1, 6, 5, 19, S::PerRow, "#name", 4, false, {}},
        {"player numbers", 7, 7, 5, 19, S::PerCell, "", 3, false, {}},
        {"first played-period box", 8, 8, 5, 19, S::PerCell, "", 5, false, "PopStarter"},
        {"other played-period boxes", 9, 11, 5, 19, S::PerCell, "", 5, false, "PopCortInOut"},
        {"foul boxes", 12, 16, 5, 19, S::PerCell, "", 6, false, "PopupFoul"},
        {"coach label", 0, 2, 20, 20, S::Merged, "コーチ：", 0, false, {}},
        {"head coach name", 3, 8, 20, 20, S::Merged, "", 12, false, {}},
        {"signature", 9, 12, 20, 20, S::Merged, "signature", 0, false, {}},
        {"head coach foul boxes", 13, 15, 20, 20, S::PerCell, "", 11, false, "PopupCoach"},
        {"team-foul title 1", 18, 19, 3, 3, S::Merged, "チーム", 0, true, {}},
        {"team-foul title 2", 18, 19, 4, 4, S::Merged, "ファウル", 0, true, {}},
        {"period label 1Q", 18, 18, 6, 6, S::Merged, "１Ｑ", 0, true, {}},
        {"period label 2Q", 19, 19, 6, 6, S::Merged, "２Ｑ", 0, true, {}},
        {"team-foul boxes 1Q", 18, 18, 7, 10, S::PerCell, "#box", 7, false, {}},
        {"team-foul boxes 2Q", 19, 19, 7, 10, S::PerCell, "#box", 7, false, {}},
        {"period label 3Q", 18, 18, 12, 12, S::Merged, "３Ｑ", 0, true, {}},
        {"period label 4Q", 19, 19, 12, 12, S::Merged, "４Ｑ", 0, true, {}},
        {"team-foul boxes 3Q", 18, 18, 13, 16, S::PerCell, "#box", 7, false, {}},
        {"team-foul boxes 4Q", 19, 19, 13, 16, S::PerCell, "#box", 7, false, {}},
    };
}

QString expectedText(const LayoutRow& area, int side, int column, int row)
{
    if (area.text == QLatin1String("#team"))
        return side == 1 ? QStringLiteral("チームＡ") : QStringLiteral("チームＢ");
    if (area.text == QLatin1String("#row"))
        return QString::number(row - area.firstRow + 1);
    if (area.text == QLatin1String("#name"))
        return QStringLiteral("なまえ ") + QString::number(row - area.firstRow + 1);
    if (area.text == QLatin1String("#box"))
        return QString::number(row - area.firstRow + 1);
    Q_UNUSED(column);
    return area.text;
}

SheetGridControl& sheetOf(Program& program, int side)
{
    return *program.form().TeamGrids().Team(side);
}

platform::StringGrid& gridOf(Program& program, int side)
{
    return side == 1 ? *program.form().GridTeamA : *program.form().GridTeamB;
}

const TeamSheetAreas& areasOf(Program& program)
{
    return program.form().TeamGrids().areas;
}

const TCell& cellAt(Program& program, int side, int column, int row)
{
    return *sheetOf(program, side).SheetGridCellAt(column, row);
}

// The marks of a row of boxes: "P2" for a foul of kind P with 2 free throws, "x" a time-out, "=" a
// struck-out box, "-" an empty foul box at the game end, "o" a starter, "i" a court-in, "." none.
QString marksOf(Program& program, int side, const SheetArea& boxes)
{
    QString marks;
    for (int column = boxes.firstColumn; column <= boxes.lastColumn; ++column) {
        const GameAction& a = cellAt(program, side, column, boxes.firstRow).action;
        if (!HasAction(a)) {
            marks += QLatin1Char('.');
        } else if (a.category == kPlayerAction && a.code == kFoul) {
            marks += QStringLiteral("PTUDCB").at(a.foulKind);
            if (a.freeThrows >= 1 && a.freeThrows <= 3)
                marks += QString::number(a.freeThrows);
        } else if (a.category == kPlayerAction) {
            marks += a.code == kSetStarter ? QLatin1Char('o') : QLatin1Char('i');
        } else {
            marks += a.command == kTimeout        ? QLatin1Char('x')
                     : a.command == kStruckOutBox ? QLatin1Char('=')
                                                  : QLatin1Char('-');
        }
    }
    return marks;
}

QString foulMarks(Program& program, int side, TPlayer* player)
{
    const int index = SheetRowOfPlayer(&program.form(), player->team, player);
    return index < 0 ? QStringLiteral("no row") : marksOf(program, side, areasOf(program).fouls[index]);
}

QList<TPlayer*> addPlayers(Program& program, int side, int count, int starters = 0, int firstNumber = 4)
{
    QList<TPlayer*> players;
    for (int i = 0; i < count; ++i)
        players << program.addPlayer(side, QString::number(firstNumber + i),
                                     QStringLiteral("P%1").arg(firstNumber + i), i < starters);
    return players;
}

// The player each of the fifteen rows shows, by number ("-" for none).
QStringList rowNumbers(Program& program, int side)
{
    QStringList numbers;
    for (const SheetArea& name : areasOf(program).names) {
        const TPlayer* player = sheetOf(program, side).SheetGridPlayerAt(name.firstColumn, name.firstRow);
        numbers << (player ? player->number : QStringLiteral("-"));
    }
    return numbers;
}

} // namespace

class tst_teamsheet : public QObject
{
    Q_OBJECT
private slots:
    // --- layouts ---------------------------------------------------------------------------------

    void layoutCellByCell_data()
    {
        QTest::addColumn<bool>("miniBasket");
        QTest::addColumn<int>("side");
        QTest::newRow("normal, team A") << false << 1;
        QTest::newRow("normal, team B") << false << 2;
        QTest::newRow("mini-basket, team A") << true << 1;
        QTest::newRow("mini-basket, team B") << true << 2;
    }
    void layoutCellByCell()
    {
        QFETCH(bool, miniBasket);
        QFETCH(int, side);
        Program program(miniBasket ? kMiniBasketIni : QString());
        const SheetGridControl& control = sheetOf(program, side);
        const platform::StringGrid& grid = gridOf(program, side);
        QCOMPARE(control.columns, miniBasket ? 21 : 20);
        QCOMPARE(control.rows, miniBasket ? 21 : 20);
        QCOMPARE(grid.ColCount(), control.columns);
        QCOMPARE(grid.RowCount(), control.rows);
        QCOMPARE(grid.DefaultColWidth(), 21);
        QCOMPARE(control.miniBasket, std::uint8_t(miniBasket));
        const platform::TColor teamColour = GetTeamColor(side);
        QSet<QPair<int, int>> covered;
        for (const LayoutRow& area : miniBasket ? miniBasketLayout() : normalLayout()) {
            for (int row = area.firstRow; row <= area.lastRow; ++row) {
                for (int column = area.firstColumn; column <= area.lastColumn; ++column) {
                    covered.insert({column, row});
                    const TCell& cell = *control.CellAt(column, row);
                    QRect expected(column, row, 1, 1);
                    if (area.shape == LayoutRow::Merged)
                        expected = QRect(QPoint(area.firstColumn, area.firstRow),
                                         QPoint(area.lastColumn, area.lastRow));
                    else if (area.shape == LayoutRow::PerRow)
                        expected = QRect(QPoint(area.firstColumn, row), QPoint(area.lastColumn, row));
                    const QString where = QStringLiteral("%1 at %2,%3").arg(area.name).arg(column).arg(row);
                    QVERIFY2(QRect(QPoint(cell.firstColumn, cell.firstRow),
                                   QPoint(cell.lastColumn, cell.lastRow)) == expected,
                             qPrintable(where));
                    const TCell& anchor = *control.SheetGridCellAt(column, row);
                    QVERIFY2(anchor.kind == area.kind, qPrintable(where));
                    QVERIFY2(anchor.background == (area.teamColour ? teamColour : 0), qPrintable(where));
                    const QString menu = anchor.popup ? anchor.popup->objectName() : QString();
                    QVERIFY2(menu == area.menu, qPrintable(where + QStringLiteral(": ") + menu));
                    QVERIFY2(!anchor.player && !HasAction(anchor.action), qPrintable(where));
                    QCOMPARE(grid.Cells(anchor.firstColumn, anchor.firstRow),
                             expectedText(area, side, anchor.firstColumn, anchor.firstRow));
                }
            }
        }
        // Every other cell is an empty label of its own.
        for (int row = 0; row < control.rows; ++row) {
            for (int column = 0; column < control.columns; ++column) {
                if (covered.contains({column, row}))
                    continue;
                const TCell& cell = *control.CellAt(column, row);
                const QString where = QStringLiteral("%1,%2").arg(column).arg(row);
                QVERIFY2(cell.kind == kLabelArea && cell.background == 0 && !cell.popup, qPrintable(where));
                QVERIFY2(cell.firstColumn == column && cell.lastRow == row, qPrintable(where));
                QVERIFY2(grid.Cells(column, row).isEmpty(), qPrintable(where));
            }
        }
    }

    // The team-foul panel stands apart: invisible lines right of the sheet, but round its parts.
    void sideLinesRightOfTheSheet_data()
    {
        QTest::addColumn<bool>("miniBasket");
        QTest::newRow("normal") << false;
        QTest::newRow("mini-basket") << true;
    }
    void sideLinesRightOfTheSheet()
    {
        QFETCH(bool, miniBasket);
        Program program(miniBasket ? kMiniBasketIni : QString());
        const SheetGridControl& control = sheetOf(program, 1);
        const TeamSheetAreas& a = areasOf(program);
        const int firstHidden = a.fouls[0].lastColumn + 1;
        const auto visible = [](const EdgeStyle& edge) {
            return edge.color == platform::clBlack && edge.width == 1;
        };
        const auto hidden = [](const EdgeStyle& edge) {
            return edge.color == platform::clWindow() && edge.width == 0;
        };
        // The last foul box keeps its right side; the hidden column its left side.
        QVERIFY(visible(control.CellAt(firstHidden - 1, a.fouls[3].firstRow)->right));
        QVERIFY(visible(control.CellAt(firstHidden, a.fouls[3].firstRow)->left));
        QVERIFY(hidden(control.CellAt(firstHidden, a.fouls[3].firstRow)->top));
        QVERIFY(hidden(control.CellAt(firstHidden, 0)->right));
        // Between the titles and the first period labels, and right of the panel: nothing.
        const int gapRow = a.teamFoulTitles[1].firstRow + 1;
        const TCell& gap = *control.CellAt(a.periodLabels[0].firstColumn, gapRow);
        QVERIFY(hidden(gap.left) && hidden(gap.right));
        const TCell& right = *control.CellAt(control.columns - 1, a.teamFoulBoxes[1].firstRow);
        QVERIFY(hidden(right.top) && hidden(right.right));
        // Round the labels and boxes: the default pen.
        for (const SheetArea* area : {&a.teamFoulTitles[0], &a.periodLabels[1], &a.teamFoulBoxes[2]}) {
            const TCell& cell = *control.CellAt(area->lastColumn, area->lastRow);
            QVERIFY(visible(cell.top) && visible(cell.bottom) && visible(cell.left) && visible(cell.right));
        }
    }

    void teamColoursArePerGrid()
    {
        Program program;
        const platform::TColor before = GetTeamColor(kSideB);
        SetTeamColor(2, 0x00AA00);
        RedrawTeamGrids(&program.form(), true, true);
        QCOMPARE(cellAt(program, 2, 0, 0).background, platform::TColor(0x00AA00));
        QCOMPARE(cellAt(program, 2, 0, 3).background, platform::TColor(0x00AA00));
        QCOMPARE(cellAt(program, 1, 0, 0).background, GetTeamColor(kSideA));
        SetTeamColor(2, before);
    }

    void miniBasketSheetHasNoAssistantCoach()
    {
        Program program(kMiniBasketIni);
        TPlayer* head = program.addPlayer(1, {}, QStringLiteral("監督"), false, true, kHeadCoachText);
        TPlayer* assistant =
            program.addPlayer(1, {}, QStringLiteral("補佐"), false, true, kAssistantCoachText);
        FillTeamGrid(&program.form(), &program.teamA());
        const TeamSheetAreas& a = areasOf(program);
        QVERIFY(!a.hasAssistant);
        QCOMPARE(sheetOf(program, 1).SheetGridPlayerAt(a.headCoachName.firstColumn, a.headCoachName.firstRow),
                 head);
        for (const TCell& cell : sheetOf(program, 1).cells)
            QVERIFY(cell.player != assistant);
    }

    // A changed option gets grids of the new size; the layout follows the grids' own flag.
    void changedLayoutOptionRebuildsTheGrids()
    {
        Program program;
        TPlayer* p4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("A"), true);
        program.option().bMiniBasket->setChecked(true);
        QCOMPARE(sheetOf(program, 1).columns, 20); // nothing rebuilt yet
        program.form().PlayLog().ReplayPlayLog();
        QCOMPARE(sheetOf(program, 1).columns, 21);
        QCOMPARE(gridOf(program, 1).ColCount(), 21);
        QCOMPARE(gridOf(program, 2).RowCount(), 21);
        QCOMPARE(sheetOf(program, 2).miniBasket, std::uint8_t(1));
        QCOMPARE(areasOf(program).fouls[0].lastColumn, 16);
        QCOMPARE(SheetRowOfPlayer(&program.form(), &program.teamA(), p4), 0);
        QCOMPARE(program.form().TeamGrids().Run()->columns, 19);
    }

    // --- filling ---------------------------------------------------------------------------------

    void fifteenRowsTakeTheFirstFifteen()
    {
        Program program;
        TTeam& team = program.teamA();
        const QList<TPlayer*> players = addPlayers(program, 1, 20);
        // A coach after the sixteenth player still stands in his row.
        TPlayer* coach = program.addPlayer(1, {}, QStringLiteral("監督"), false, true, kHeadCoachText);
        FillTeamGrid(&program.form(), &team);
        QStringList expected;
        for (int i = 0; i < 15; ++i)
            expected << QString::number(4 + i);
        QCOMPARE(rowNumbers(program, 1), expected);
        QCOMPARE(CountListedPlayers(&team), 15);
        QCOMPARE(OfficialTextOfPlayer(players[14], &team), QStringLiteral("Official"));
        QCOMPARE(OfficialTextOfPlayer(players[15], &team), QString());
        const TeamSheetAreas& a = areasOf(program);
        QCOMPARE(sheetOf(program, 1).SheetGridPlayerAt(a.headCoachName.firstColumn, a.headCoachName.firstRow),
                 coach);
        QCOMPARE(gridOf(program, 1).Cells(a.names[2].firstColumn, a.names[2].firstRow), QStringLiteral("P6"));
        QCOMPARE(gridOf(program, 1).Cells(a.numbers[2].firstColumn, a.numbers[2].firstRow),
                 QStringLiteral("6"));
    }

    void rosterReadListsItsOfficialPlayers()
    {
        Program program;
        const QString path = program.path(QStringLiteral("team.member"));
        writeMemberFile(path,
                        {QStringLiteral("東京,1,4,青木,PG,Starter,,Official"),
                         QStringLiteral("東京,2,5,伊藤,,,,"), QStringLiteral("東京,3,6,上田,,,,Official"),
                         QStringLiteral("東京,4,,監督,ﾍｯﾄﾞｺｰﾁ,,Coach,"),
                         QStringLiteral("東京,5,7,江藤,,Starter,,")});
        TTeam& team = program.teamA();
        platform::StringList lines;
        QVERIFY(lines.loadFromFile(path));
        QVERIFY(program.form().LoadTeamRoster(path, lines, &team));
        FillTeamGrid(&program.form(), &team);
        QCOMPARE(rowNumbers(program, 1).mid(0, 3), (QStringList{"4", "6", "-"}));
        QCOMPARE(team.FindPlayerById(2)->status, std::uint8_t(kNotListed));
        QCOMPARE(team.FindPlayerById(5)->status, std::uint8_t(kNotListed));
        QCOMPARE(team.loaded, std::uint8_t(0));
        // The coach is no player of the list: he stays a coach and stands in the coach row.
        QCOMPARE(team.FindPlayerById(4)->status, std::uint8_t(kHeadCoach));
        const TeamSheetAreas& a = areasOf(program);
        QCOMPARE(sheetOf(program, 1).SheetGridPlayerAt(a.headCoachName.firstColumn, a.headCoachName.firstRow),
                 team.FindPlayerById(4));
        // The starter shows the starter circle; the bench player an empty box.
        QCOMPARE(marksOf(program, 1, a.played[0]), QStringLiteral("o"));
        QCOMPARE(marksOf(program, 1, a.played[1]), QStringLiteral("."));
        QCOMPARE(team.FindPlayerById(3)->status, std::uint8_t(kOnBench));
        QCOMPARE(gridOf(program, 1).Cells(a.teamName.firstColumn, a.teamName.firstRow),
                 QStringLiteral("東京"));
    }

    void startersKeepTheirCircleAfterEveryFill()
    {
        Program program;
        const QList<TPlayer*> players = addPlayers(program, 1, 6, 5);
        for (int pass = 0; pass < 2; ++pass) {
            program.form().PlayLog().ReplayPlayLog();
            const TeamSheetAreas& a = areasOf(program);
            for (int i = 0; i < 6; ++i)
                QCOMPARE(marksOf(program, 1, a.played[i]), i < 5 ? QStringLiteral("o") : QStringLiteral("."));
        }
    }

    // Rows follow the players' IDs: the roster is re-sorted by status before every replay, but a
    // player keeps his row through replays and when the file is opened again.
    void rowsStayThroughReplaysAndReopening()
    {
        Program program;
        const QList<TPlayer*> players = addPlayers(program, 1, 8, 5);
        program.act(players[0], kToBench);
        program.act(players[7], kCourtIn);
        program.act(players[2], kFoul, kPersonalFoul, 1);
        const int fouler = players[2]->id;
        const QStringList live = rowNumbers(program, 1);
        program.form().PlayLog().ReplayPlayLog();
        QCOMPARE(rowNumbers(program, 1), live);
        const QString path = program.path(QStringLiteral("rows.game"));
        program.dialogs().expectSaveFile(path);
        QVERIFY(program.form().SaveGame());
        QVERIFY(program.form().OpenGameFile(path));
        QCOMPARE(rowNumbers(program, 1), live);
        QCOMPARE(foulMarks(program, 1, program.teamA().FindPlayerById(fouler)), QStringLiteral("P1...."));
    }

    // More than fifteen listed players: what is written as "Official" does not move between saves.
    void moreThanFifteenListedPlayersSaveAndReopenStable_data()
    {
        QTest::addColumn<bool>("fromRoster");
        QTest::newRow("registered beyond fifteen, two more starters") << false;
        QTest::newRow("roster with seventeen official players, starters last") << true;
    }
    void moreThanFifteenListedPlayersSaveAndReopenStable()
    {
        QFETCH(bool, fromRoster);
        Program program;
        TTeam& team = program.teamA();
        if (fromRoster) {
            QStringList lines;
            for (int i = 0; i < 17; ++i)
                lines << QStringLiteral("多人数,%1,%2,N%2,,%3,,Official")
                             .arg(17 - i)
                             .arg(4 + i)
                             .arg(i >= 12 ? "Starter" : "");
            const QString path = program.path(QStringLiteral("many.member"));
            writeMemberFile(path, lines);
            program.dialogs().expectOpenFile(path);
            program.form().BitBtn1Click();
        } else {
            team.name = QStringLiteral("多人数");
            addPlayers(program, 1, 16, 5);
            program.addPlayer(1, QStringLiteral("30"), QStringLiteral("S30"), true);
            program.addPlayer(1, QStringLiteral("31"), QStringLiteral("S31"), true);
            program.form().PlayLog().ReplayPlayLog();
        }
        // The IDs written as "Official", and the whole file.
        QList<QStringList> officials;
        QList<QByteArray> saves;
        for (int round = 0; round < 3; ++round) {
            const QString path = program.path(QStringLiteral("many%1.game").arg(round));
            program.dialogs().expectSaveFile(path);
            QVERIFY(program.form().SaveGame());
            saves << readBytes(path);
            QStringList ids;
            for (const QString& line :
                 platform::Codec::fromCp932(saves.back()).split(QStringLiteral("\r\n"))) {
                if (line.endsWith(QStringLiteral(",Official")))
                    ids << line.section(QLatin1Char(','), 1, 1);
            }
            ids.sort();
            officials << ids;
            QVERIFY(program.form().OpenGameFile(path));
            QCOMPARE(CountListedPlayers(&program.teamA()), 15);
        }
        QCOMPARE(officials[0].size(), 15);
        QCOMPARE(officials[1], officials[0]);
        QCOMPARE(officials[2], officials[0]);
        // Once opened, save and open change nothing at all.
        QCOMPARE(saves[2], saves[1]);
    }

    // --- marks from executed actions ---------------------------------------------------------------

    void foulsFillTheRowWithPeriodOutlines()
    {
        Program program;
        const QList<TPlayer*> players = addPlayers(program, 1, 5, 5);
        TPlayer* player = players[1];
        program.act(player, kFoul, kPersonalFoul, 0);
        program.act(player, kFoul, kPersonalFoul, 1);
        program.act(player, kFoul, kPersonalFoul, 2);
        QCOMPARE(foulMarks(program, 1, player), QStringLiteral("PP1P2.."));
        const SheetArea& boxes = areasOf(program).fouls[1];
        const SheetGridControl& control = sheetOf(program, 1);
        // The third box holds the foul with its key; a thick red right side closes the run.
        const TCell& third = *control.CellAt(boxes.firstColumn + 2, boxes.firstRow);
        QCOMPARE(third.action.keyA, boxes.firstColumn + 2);
        QCOMPARE(third.action.keyB, boxes.firstRow);
        QCOMPARE(third.action.player, player);
        QCOMPARE(third.right.width, 4);
        QCOMPARE(third.right.color, platform::clRed);
        // The earlier fouls of the same period have thin sides between them.
        QCOMPARE(control.CellAt(boxes.firstColumn + 1, boxes.firstRow)->right.width, 1);
        QCOMPARE(control.CellAt(boxes.firstColumn + 1, boxes.firstRow)->right.color, platform::clRed);
        // A foul of the next period is outlined in black.
        program.setPeriod(1);
        program.act(player, kFoul, kTechnicalFoul, 0);
        const TCell& fourth = *control.CellAt(boxes.firstColumn + 3, boxes.firstRow);
        QCOMPARE(fourth.right.color, platform::clBlack);
        QCOMPARE(fourth.right.width, 4);
        QCOMPARE(third.right.width, 4);
        // The outline stays in the player's row, with fouls in the rows above and below.
        program.act(players[0], kFoul, kPersonalFoul, 0);
        program.act(players[2], kFoul, kPersonalFoul, 0);
        for (int column = boxes.firstColumn; column <= boxes.lastColumn; ++column)
            QVERIFY(control.CellAt(column, boxes.firstRow - 1)->bottom == EdgeStyle{} &&
                    control.CellAt(column, boxes.firstRow)->bottom == EdgeStyle{});
    }

    void sixthFoulReplacesTheLastBox()
    {
        Program program;
        TPlayer* player = addPlayers(program, 1, 1, 1)[0];
        for (const std::uint8_t kind :
             {kPersonalFoul, kPersonalFoul, kPersonalFoul, kPersonalFoul, kPersonalFoul, kTechnicalFoul})
            program.act(player, kFoul, kind, 0);
        QCOMPARE(foulMarks(program, 1, player), QStringLiteral("PPPPT"));
    }

    void coachFoulsUseTheCoachBoxes_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("assistantRow");
        QTest::newRow("head coach") << kHeadCoachText << int(kHeadCoach) << false;
        QTest::newRow("assistant coach") << kAssistantCoachText << int(kAssistantCoach) << true;
        QTest::newRow("coach of no kind") << QString() << int(kCoach) << true;
    }
    void coachFoulsUseTheCoachBoxes()
    {
        QFETCH(QString, position);
        QFETCH(int, status);
        QFETCH(bool, assistantRow);
        Program program;
        TPlayer* coach = program.addPlayer(1, {}, QStringLiteral("監督"), false, true, position);
        coach->status = static_cast<std::uint8_t>(status);
        platform::SendMessage(&program.form(), kPlayerStatusMessage, 1, platform::Lend(coach));
        program.act(coach, kFoul, kCoachTechnicalFoul, 2);
        program.act(coach, kFoul, kBenchFoul, 1);
        program.act(coach, kFoul, kTechnicalFoul, 0);
        const TeamSheetAreas& a = areasOf(program);
        const SheetArea boxes = assistantRow ? a.assistantFouls : a.headCoachFouls;
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("C2B1T"));
        // Bench fouls are outlined toward the other coach row too, any other foul in its own row.
        const SheetGridControl& control = sheetOf(program, 1);
        QCOMPARE(control.CellAt(boxes.firstColumn, a.headCoachFouls.firstRow)->bottom.width, 4);
        QCOMPARE(control.CellAt(boxes.lastColumn, a.headCoachFouls.firstRow)->bottom.width, 1);
        QCOMPARE(program.teamA().TeamFouls(0), 0);
    }

    void foulWithoutASheetRowLeavesNoMark()
    {
        Program program;
        addPlayers(program, 1, 15, 5);
        TPlayer* sixteenth = program.addPlayer(1, QStringLiteral("40"), QStringLiteral("X"));
        QCOMPARE(sixteenth->status, std::uint8_t(kNotListed));
        const QStringList before = sheetCells(sheetOf(program, 1));
        program.act(sixteenth, kFoul, kPersonalFoul, 2);
        QCOMPARE(sheetCells(sheetOf(program, 1)), before);
    }

    void substitutesTakeTheFirstFreeRow()
    {
        Program program;
        addPlayers(program, 1, 14, 5);
        TPlayer* fifteenth = program.addPlayer(1, QStringLiteral("40"), QStringLiteral("X"));
        QCOMPARE(SheetRowOfPlayer(&program.form(), &program.teamA(), fifteenth), 14);
        // Nobody is left to free a row for the sixteenth: he stands nowhere, even on the court.
        TPlayer* sixteenth = program.addPlayer(1, QStringLiteral("41"), QStringLiteral("Y"));
        program.act(sixteenth, kCourtIn);
        QCOMPARE(SheetRowOfPlayer(&program.form(), &program.teamA(), sixteenth), -1);
        QCOMPARE(sixteenth->status, std::uint8_t(kOnCourt));
        // A player taken off the list frees his row for the next one who comes in.
        program.act(fifteenth, kRemoveFromOfficial);
        QCOMPARE(SheetRowOfPlayer(&program.form(), &program.teamA(), fifteenth), -1);
        program.act(sixteenth, kCourtIn);
        QCOMPARE(SheetRowOfPlayer(&program.form(), &program.teamA(), sixteenth), 14);
    }

    void playedPeriodBoxes_data()
    {
        QTest::addColumn<bool>("miniBasket");
        QTest::addColumn<int>("period");
        QTest::addColumn<QString>("marks");
        QTest::newRow("normal, first period") << false << 0 << "i";
        QTest::newRow("normal, third period: its one box") << false << 2 << "i";
        QTest::newRow("mini-basket, third quarter: box ③") << true << 2 << "..i.";
        QTest::newRow("mini-basket, overtime: box ④") << true << 4 << "...i";
        QTest::newRow("mini-basket, second overtime: box ④") << true << 5 << "...i";
        QTest::newRow("no period: no box") << false << -1 << ".";
    }
    void playedPeriodBoxes()
    {
        QFETCH(bool, miniBasket);
        QFETCH(int, period);
        QFETCH(QString, marks);
        Program program(miniBasket ? kMiniBasketIni : QString());
        TPlayer* player = addPlayers(program, 1, 1)[0];
        program.setPeriod(period);
        program.act(player, kCourtIn);
        QCOMPARE(marksOf(program, 1, areasOf(program).played[0]), marks);
    }

    void playedPeriodShowsACross_data()
    {
        QTest::addColumn<bool>("miniBasket");
        QTest::newRow("normal: any played flag") << false;
        QTest::newRow("mini-basket: time on court in the quarter") << true;
    }
    void playedPeriodShowsACross()
    {
        QFETCH(bool, miniBasket);
        Program program(miniBasket ? kMiniBasketIni : QString());
        TPlayer* player = addPlayers(program, 1, 1)[0];
        const SheetArea played = areasOf(program).played[0];
        const SheetGridControl& control = sheetOf(program, 1);
        // On the mini-basket sheet only time on court counts, and none has passed yet.
        if (miniBasket)
            QCOMPARE(control.AreaText(played.firstColumn + 1, played.firstRow), QString());
        program.setPeriod(1);
        program.setClock(5, 0);
        program.act(player, kCourtIn);
        program.setClock(4, 0);
        program.act(player, kToBench);
        const int box = miniBasket ? played.firstColumn + 1 : played.firstColumn;
        QCOMPARE(control.AreaText(box, played.firstRow), QStringLiteral("×"));
        if (miniBasket)
            QCOMPARE(control.AreaText(played.firstColumn + 2, played.firstRow), QString());
    }

    // --- period and game ends ----------------------------------------------------------------------

    void closingLineAfterThePeriodsLastFoul_data()
    {
        QTest::addColumn<int>("fouls");
        QTest::addColumn<int>("closedBox"); // index of the box with the period colour, -1 none
        QTest::newRow("no foul: the cell before the boxes") << 0 << -1;
        QTest::newRow("one foul") << 1 << 0;
        QTest::newRow("three fouls") << 3 << 2;
        QTest::newRow("four fouls: none") << 4 << -2;
        QTest::newRow("five fouls: none") << 5 << -2;
    }
    void closingLineAfterThePeriodsLastFoul()
    {
        QFETCH(int, fouls);
        QFETCH(int, closedBox);
        Program program;
        TPlayer* player = addPlayers(program, 1, 1, 1)[0];
        for (int i = 0; i < fouls; ++i)
            program.act(player, kFoul, kPersonalFoul, 0);
        program.command(kPeriodEnd);
        const SheetArea& boxes = areasOf(program).fouls[0];
        for (int column = boxes.firstColumn - 1; column <= boxes.lastColumn; ++column) {
            const bool closed = closedBox >= -1 && column == boxes.firstColumn + closedBox;
            QCOMPARE(cellAt(program, 1, column, boxes.firstRow).periodColour,
                     std::uint8_t(closed ? 0 : kNone));
        }
    }

    void timeOutBoxesThroughTheGame()
    {
        Program program;
        addPlayers(program, 1, 5, 5);
        const SheetArea& boxes = areasOf(program).timeOutBoxes;
        program.command(kTimeout, 1);
        program.command(kTimeout, 1);
        program.command(kTimeout, 1);
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("xxx...."));
        program.command(kPeriodEnd);
        program.command(kPeriodEnd);
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("xxx...."));
        QCOMPARE(marksOf(program, 2, boxes), QStringLiteral("==....."));
        program.command(kPeriodEnd);
        program.command(kPeriodEnd);
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("xxx==.."));
        QCOMPARE(marksOf(program, 2, boxes), QStringLiteral("=====.."));
        program.command(kGameEnd);
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("xxx===="));
        QCOMPARE(marksOf(program, 2, boxes), QStringLiteral("======="));
    }

    void miniBasketTimeOutBoxesByHalfAndOvertime()
    {
        Program program(kMiniBasketIni);
        const SheetArea& boxes = areasOf(program).timeOutBoxes;
        CloseTimeOutBoxes(&program.form(), 1, 1);
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("=...."));
        CloseTimeOutBoxes(&program.form(), 3, 1);
        CloseTimeOutBoxes(&program.form(), 5, 1);
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("==.=."));
        CloseTimeOutBoxes(&program.form(), 0, 1);
        CloseTimeOutBoxes(&program.form(), 2, 1);
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("==.=."));
    }

    void gameEndStrikesTheEmptyFoulBoxes()
    {
        Program program;
        TPlayer* player = addPlayers(program, 1, 1, 1)[0];
        program.act(player, kFoul, kPersonalFoul, 0);
        program.act(player, kFoul, kUnsportsmanlikeFoul, 2);
        program.command(kGameEnd);
        QCOMPARE(foulMarks(program, 1, player), QStringLiteral("PU2---"));
        const SheetArea& third = areasOf(program).fouls[0];
        const TCell& box = cellAt(program, 1, third.firstColumn + 2, third.firstRow);
        QCOMPARE(QPoint(box.action.keyA, box.action.keyB), QPoint(third.firstColumn + 2, third.firstRow));
    }

    void teamFoulCrosses_data()
    {
        QTest::addColumn<int>("fouls");
        QTest::addColumn<QList<int>>("crossed");
        QTest::newRow("three fouls") << 3 << QList<int>{3, 3, 3, kNone};
        QTest::newRow("five fouls: all four") << 5 << QList<int>{3, 3, 3, 3};
        QTest::newRow("none") << 0 << QList<int>{kNone, kNone, kNone, kNone};
    }
    void teamFoulCrosses()
    {
        QFETCH(int, fouls);
        QFETCH(QList<int>, crossed);
        Program program;
        const QList<TPlayer*> players = addPlayers(program, 1, 5, 5);
        program.setPeriod(3);
        for (int i = 0; i < fouls; ++i)
            program.act(players[i % 5], kFoul, kPersonalFoul, 0);
        const TeamSheetAreas& a = areasOf(program);
        THooptallyForm& form = program.form();
        for (int box = 0; box < 4; ++box) {
            const SheetArea& column = a.teamFoulBoxes[3];
            QCOMPARE(TeamFoulBoxPeriod(&form, column.firstColumn, column.firstRow + box, &sheetOf(program, 1),
                                       form.GridTeamA),
                     crossed[box]);
            // The third period's boxes are not crossed by the fourth's fouls.
            QCOMPARE(TeamFoulBoxPeriod(&form, a.teamFoulBoxes[2].firstColumn,
                                       a.teamFoulBoxes[2].firstRow + box, &sheetOf(program, 1),
                                       form.GridTeamA),
                     int(kNone));
        }
        QCOMPARE(TeamFoulBoxPeriod(&form, 0, 0, &sheetOf(program, 1), form.GridTeamA), int(kNone));
        // On screen: a black cross over the fourth period's first box when it is crossed.
        showSheets(program);
        const QImage image = renderGrid(*form.GridTeamA);
        const QRect cell =
            form.GridTeamA->CellRect(a.teamFoulBoxes[3].firstColumn, a.teamFoulBoxes[3].firstRow);
        QCOMPARE(image.pixelColor(cell.topLeft() + QPoint(3, 3)) == QColor(Qt::black), fouls > 0);
    }

    // --- status changes ----------------------------------------------------------------------------

    void removedAndDeletedPlayersLeaveTheirRows()
    {
        Program program;
        const QList<TPlayer*> players = addPlayers(program, 1, 6, 5);
        program.act(players[5], kRemoveFromOfficial);
        QCOMPARE(rowNumbers(program, 1).mid(0, 6), (QStringList{"4", "5", "6", "7", "8", "-"}));
        QCOMPARE(OfficialTextOfPlayer(players[5], &program.teamA()), QString());
        program.act(players[4], kFoul, kPersonalFoul, 0);
        // Deleting a player drops every pointer to him before the record goes.
        program.act(players[4], kDeletePlayer);
        QCOMPARE(rowNumbers(program, 1).mid(0, 6), (QStringList{"4", "5", "6", "7", "-", "-"}));
        for (const SheetGridControl* control : {&sheetOf(program, 1), program.form().TeamGrids().Run()}) {
            for (const TCell& cell : control->cells)
                QVERIFY(cell.player != players[4] && cell.action.player != players[4]);
        }
    }

    // --- menus, keys and double clicks ---------------------------------------------------------------

    void foulThroughTheMenus_data()
    {
        QTest::addColumn<QString>("kindItem");
        QTest::addColumn<QString>("throwsItem");
        QTest::addColumn<QString>("marks");
        QTest::newRow("personal, two throws") << "ﾊﾟｰｿﾅﾙ"
                                              << "ﾌﾘｰｽﾛｰ２投"
                                              << "P2....";
        QTest::newRow("technical, none") << "ﾃｸﾆｶﾙ"
                                         << "ﾌﾘｰｽﾛｰなし"
                                         << "T....";
        QTest::newRow("unsportsmanlike, three") << "ｱﾝｽﾎﾟ-ﾂﾏﾝﾗｲｸ"
                                                << "ﾌﾘｰｽﾛｰ３投"
                                                << "U3....";
        QTest::newRow("disqualifying: at once") << "ﾃﾞｨｽｸｵﾘﾌｧｲﾝｸﾞ" << QString() << "D....";
        QTest::newRow("personal, one") << "ﾊﾟｰｿﾅﾙ"
                                       << "ﾌﾘｰｽﾛｰ１投"
                                       << "P1....";
    }
    void foulThroughTheMenus()
    {
        QFETCH(QString, kindItem);
        QFETCH(QString, throwsItem);
        QFETCH(QString, marks);
        Program program;
        TPlayer* player = addPlayers(program, 1, 5, 5)[2];
        showSheets(program);
        const SheetArea& boxes = areasOf(program).fouls[2];
        // Any box of the row: the foul lands in the first free one.
        const int logged = program.form().PlayLog().Count();
        rightClickCell(gridOf(program, 1), boxes.firstColumn + 3, boxes.firstRow);
        QMenu* menu = openPopup(program.form());
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QStringLiteral("PopupFoul"));
        QVERIFY(chooseItem(program.form(), kindItem));
        if (throwsItem.isEmpty()) {
            QVERIFY(!openPopup(program.form()));
        } else {
            QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopupFreeThrow"));
            QCOMPARE(program.form().PlayLog().Count(), logged);
            QVERIFY(chooseItem(program.form(), throwsItem));
        }
        closePopups(program.form());
        QCOMPARE(foulMarks(program, 1, player), marks);
        const GameAction& sent = program.form().PlayLog().Entries().back()->action;
        QCOMPARE(sent.player, player);
        QCOMPARE(sent.keyA, boxes.firstColumn + 3);
        QCOMPARE(sent.keyB, boxes.firstRow);
        QCOMPARE(sent.sheet, &sheetOf(program, 1));
    }

    void coachFoulThroughTheMenus()
    {
        Program program;
        TPlayer* coach = program.addPlayer(2, {}, QStringLiteral("監督"), false, true, kHeadCoachText);
        showSheets(program);
        const SheetArea& boxes = areasOf(program).headCoachFouls;
        rightClickCell(gridOf(program, 2), boxes.lastColumn, boxes.firstRow);
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopupCoach"));
        QVERIFY(chooseItem(program.form(), QStringLiteral("その他")));
        QVERIFY(chooseItem(program.form(), QStringLiteral("ﾌﾘｰｽﾛｰ２投")));
        closePopups(program.form());
        QCOMPARE(marksOf(program, 2, boxes), QStringLiteral("B2.."));
        QCOMPARE(program.form().PlayLog().Entries().back()->action.player, coach);
    }

    void menusOpenOnlyWhereARowShowsAPlayer_data()
    {
        QTest::addColumn<int>("row");       // player row index; 15: head coach row
        QTest::addColumn<bool>("blankRow"); // the row shows the team's blank add row
        QTest::addColumn<bool>("opens");
        QTest::newRow("row of a player") << 0 << false << true;
        QTest::newRow("row without player") << 3 << false << false;
        QTest::newRow("row of the blank add row") << 3 << true << false;
        QTest::newRow("coach row without coach") << 15 << false << false;
    }
    void menusOpenOnlyWhereARowShowsAPlayer()
    {
        QFETCH(int, row);
        QFETCH(bool, blankRow);
        QFETCH(bool, opens);
        Program program;
        addPlayers(program, 1, 1, 1);
        const TeamSheetAreas& a = areasOf(program);
        if (blankRow) {
            for (int i = 0; i < program.teamA().Count(); ++i) {
                if (program.teamA().PlayerAt(i)->status == kBlankRow)
                    sheetOf(program, 1)
                        .SetSheetAreaPlayer(a.names[row].firstColumn, a.names[row].firstRow,
                                            program.teamA().PlayerAt(i));
            }
        }
        showSheets(program);
        const SheetArea& boxes = row < 15 ? a.fouls[row] : a.headCoachFouls;
        rightClickCell(gridOf(program, 1), boxes.firstColumn, boxes.firstRow);
        QCOMPARE(openPopup(program.form()) != nullptr, opens);
        closePopups(program.form());
        // The time-out boxes always have their menu.
        rightClickCell(gridOf(program, 1), a.timeOutBoxes.firstColumn, a.timeOutBoxes.firstRow);
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopTimeOut"));
        closePopups(program.form());
    }

    // One chosen time-out is one action and one marked box.
    void timeOutThroughTheMenu()
    {
        Program program;
        addPlayers(program, 2, 5, 5);
        showSheets(program);
        const SheetArea& boxes = areasOf(program).timeOutBoxes;
        const int logged = program.form().PlayLog().Count();
        rightClickCell(gridOf(program, 2), boxes.lastColumn, boxes.firstRow);
        QVERIFY(chooseItem(program.form(), QStringLiteral("ﾀｲﾑｱｳﾄ")));
        QCOMPARE(program.form().PlayLog().Count(), logged + 1);
        QCOMPARE(program.form().PlayLog().Entries().back()->action.side, 2);
        QCOMPARE(marksOf(program, 2, boxes), QStringLiteral("x......"));
        QCOMPARE(marksOf(program, 1, boxes), QStringLiteral("......."));
    }

    void starterMenu()
    {
        Program program;
        TPlayer* player = addPlayers(program, 1, 2)[1];
        showSheets(program);
        const SheetArea& played = areasOf(program).played[1];
        rightClickCell(gridOf(program, 1), played.firstColumn, played.firstRow);
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopStarter"));
        QVERIFY(chooseItem(program.form(), QStringLiteral("ｽﾀｰﾀｰ")));
        QCOMPARE(player->starter, std::uint8_t(1));
        QCOMPARE(marksOf(program, 1, played), QStringLiteral("o"));
        rightClickCell(gridOf(program, 1), played.firstColumn, played.firstRow);
        QVERIFY(chooseItem(program.form(), QStringLiteral("ｸﾘｱｽﾀｰﾀｰ")));
        QCOMPARE(player->starter, std::uint8_t(0));
        QCOMPARE(marksOf(program, 1, played), QStringLiteral("."));
    }

    void courtInAndOutOnTheMiniBasketSheet()
    {
        Program program(kMiniBasketIni);
        TPlayer* player = addPlayers(program, 1, 6, 5)[5];
        program.setPeriod(2);
        showSheets(program);
        const SheetArea& played = areasOf(program).played[5];
        rightClickCell(gridOf(program, 1), played.firstColumn + 2, played.firstRow);
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopCortInOut"));
        QVERIFY(chooseItem(program.form(), QStringLiteral("ｺｰﾄｲﾝ")));
        QCOMPARE(player->status, std::uint8_t(kOnCourt));
        QCOMPARE(marksOf(program, 1, played), QStringLiteral("..i."));
        rightClickCell(gridOf(program, 1), played.firstColumn + 3, played.firstRow);
        QVERIFY(chooseItem(program.form(), QStringLiteral("ｺｰﾄｱｳﾄ")));
        QCOMPARE(player->status, std::uint8_t(kOnBench));
    }

    void teamNameMenuReadsTheRosterOfItsTeam()
    {
        Program program;
        showSheets(program);
        const QString path = program.path(QStringLiteral("b.member"));
        writeMemberFile(path, {QStringLiteral("大阪,1,9,Ｂ選手,,Starter,,Official")});
        const SheetArea& name = areasOf(program).teamName;
        rightClickCell(gridOf(program, 2), name.lastColumn, name.lastRow);
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopupFile"));
        program.dialogs().expectOpenFile(path);
        QVERIFY(chooseItem(program.form(), QStringLiteral("ﾁｰﾑRead")));
        QCOMPARE(program.teamB().name, QStringLiteral("大阪"));
        QCOMPARE(gridOf(program, 2).Cells(name.firstColumn, name.firstRow), QStringLiteral("大阪"));
        QCOMPARE(program.form().TeamBName->text(), QStringLiteral("大阪"));
        QCOMPARE(rowNumbers(program, 2).first(), QStringLiteral("9"));
    }

    void arrowKeysStepOverMergedAreas_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("right from a name area to its number")
            << QPoint(1, 3) << int(Qt::Key_Right) << QPoint(9, 3);
        QTest::newRow("left from the number to the name area")
            << QPoint(9, 4) << int(Qt::Key_Left) << QPoint(1, 4);
        QTest::newRow("down from the name header to the first name")
            << QPoint(0, 2) << int(Qt::Key_Down) << QPoint(0, 3);
        QTest::newRow("up from the first number to the number header")
            << QPoint(9, 3) << int(Qt::Key_Up) << QPoint(9, 2);
        QTest::newRow("up from the team name to the time-out boxes? no: row 0 stays")
            << QPoint(3, 0) << int(Qt::Key_Up) << QPoint(3, 0);
        QTest::newRow("down from the team label to the header")
            << QPoint(0, 0) << int(Qt::Key_Down) << QPoint(0, 2);
        QTest::newRow("right from the last column stays")
            << QPoint(19, 5) << int(Qt::Key_Right) << QPoint(19, 5);
    }
    void arrowKeysStepOverMergedAreas()
    {
        QFETCH(QPoint, from);
        QFETCH(int, key);
        QFETCH(QPoint, to);
        Program program;
        showSheets(program);
        platform::StringGrid& grid = gridOf(program, 1);
        leftClickCell(grid, from.x(), from.y());
        QTest::keyClick(&grid, static_cast<Qt::Key>(key));
        QCOMPARE(QPoint(grid.Col(), grid.Row()), to);
    }

    void keyCMovesToTheOtherSheet()
    {
        Program program;
        showSheets(program);
        gridOf(program, 1).setFocus();
        QTest::keyClick(&gridOf(program, 1), Qt::Key_C);
        QVERIFY(gridOf(program, 2).hasFocus());
        QTest::keyClick(&gridOf(program, 2), Qt::Key_C, Qt::ShiftModifier);
        QVERIFY(gridOf(program, 1).hasFocus());
    }

    void enterOpensTheMenuOfTheCurrentCell()
    {
        Program program;
        addPlayers(program, 1, 5, 5);
        showSheets(program);
        const SheetArea& boxes = areasOf(program).fouls[0];
        leftClickCell(gridOf(program, 1), boxes.firstColumn, boxes.firstRow);
        QTest::keyClick(&gridOf(program, 1), Qt::Key_Return);
        QCOMPARE(openPopup(program.form())->objectName(), QStringLiteral("PopupFoul"));
        closePopups(program.form());
    }

    // A double click on an empty name area enters a player through the team's blank add row.
    void doubleClickOnAnEmptyNameArea_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("registered") << true;
        QTest::newRow("cancelled: no record left behind") << false;
    }
    void doubleClickOnAnEmptyNameArea()
    {
        QFETCH(bool, confirm);
        Program program;
        addPlayers(program, 1, 2);
        showSheets(program);
        const int count = program.teamA().Count();
        const SheetArea& name = areasOf(program).names[4];
        program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [confirm](QDialog& dialog) {
            auto* touroku = static_cast<TPlayerTouroku*>(&dialog);
            if (!confirm)
                return int(platform::mrCancel);
            auto registration = std::make_unique<PlayerRegistration>();
            registration->player = touroku->Player();
            registration->number = QStringLiteral("99");
            registration->name = QStringLiteral("新人");
            platform::SendMessage(MainForm(), kRegistrationMessage, 0, std::move(registration));
            return int(platform::mrOk);
        });
        doubleClickCell(gridOf(program, 1), name.firstColumn + 2, name.firstRow);
        int blanks = 0;
        for (int i = 0; i < program.teamA().Count(); ++i)
            blanks += program.teamA().PlayerAt(i)->status == kBlankRow ? 1 : 0;
        QCOMPARE(blanks, 1);
        QCOMPARE(program.teamA().Count(), confirm ? count + 1 : count);
        const TPlayer* shown = sheetOf(program, 1).SheetGridPlayerAt(name.firstColumn, name.firstRow);
        if (confirm) {
            QVERIFY(shown);
            QCOMPARE(shown->number, QStringLiteral("99"));
        } else {
            QVERIFY(!shown);
            QCOMPARE(gridOf(program, 1).Cells(name.firstColumn, name.firstRow), QStringLiteral("なまえ 5"));
        }
    }

    // An empty coach row: the blank add row becomes the coach while his dialog is open; closed
    // without a change, it is the team's blank row again.
    void doubleClickOnAnEmptyCoachAreaThenClose()
    {
        Program program;
        addPlayers(program, 1, 1);
        showSheets(program);
        const int count = program.teamA().Count();
        const SheetArea& coach = areasOf(program).headCoachName;
        program.dialogs().expectModal(QStringLiteral("PlayerExec"), [](QDialog& dialog) {
            const TPlayer* shown = static_cast<TPlayerExec&>(dialog).Player();
            return shown->IsCoach() && shown->position == kHeadCoachText ? int(platform::mrCancel) : -1;
        });
        doubleClickCell(gridOf(program, 1), coach.firstColumn + 1, coach.firstRow);
        QCOMPARE(program.teamA().Count(), count);
        QVERIFY(!program.teamA().HasNoBlankRow());
        for (int i = 0; i < program.teamA().Count(); ++i)
            QVERIFY(!program.teamA().PlayerAt(i)->IsCoach());
        QVERIFY(!sheetOf(program, 1).SheetGridPlayerAt(coach.firstColumn, coach.firstRow));
    }
};

QTEST_MAIN(tst_teamsheet)
#include "tst_teamsheet.moc"
