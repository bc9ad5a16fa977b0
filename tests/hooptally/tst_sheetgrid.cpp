// The sheet grid control: areas over a grid, the sides of its cells, the marks it keeps, and what
// its painters put on a canvas.
#include <QImage>
#include <QPainter>
#include <QTest>

#include "hooptally/Tgridctrl.h"
#include "hooptally/Tplayer.h"
#include "platform/StringGrid.h"

using namespace hooptally;

namespace {

constexpr int kColumns = 20;
constexpr int kRows = 20;
const QRect kBox(20, 20, 60, 60);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);

EdgeStyle edge(platform::TColor color, int width)
{
    return EdgeStyle{platform::PenMode::Copy, platform::PenStyle::Solid, color, width};
}

GameAction playerAction(std::uint8_t code, int period, TPlayer* player = nullptr)
{
    GameAction action;
    action.category = kPlayerAction;
    action.code = code;
    action.period = static_cast<std::int8_t>(period);
    action.player = player;
    return action;
}

GameAction command(std::uint8_t code)
{
    GameAction action;
    action.category = kCommand;
    action.command = code;
    return action;
}

// A control over a grid of 20 x 20 cells of 21 pixels, and a white image to paint on.
struct Sheet
{
    explicit Sheet(bool miniBasket = false) : control(&grid, kColumns, kRows, miniBasket)
    {
        grid.SetFixedCols(0);
        grid.SetFixedRows(0);
        grid.SetColCount(kColumns);
        grid.SetRowCount(kRows);
        grid.SetDefaultColWidth(21);
        grid.SetDefaultRowHeight(21);
        image.fill(Qt::white);
    }

    // Puts the action into cell (1, 1) of the given kind and paints its mark into kBox.
    void paintMark(const GameAction& action, std::uint8_t kind = kScoreNumberColumn, int periodColour = kNone)
    {
        control.SetSheetAreaMark(1, 1, kind, nullptr, 0);
        SheetGridControl::SetSheetCellAction(*control.SheetGridCellAt(1, 1), &action);
        control.SetSheetCellColour(1, 1, periodColour);
        platform::Canvas canvas(&image);
        control.SheetGridDrawMark(1, 1, canvas, &kBox);
        penWidthAfter = canvas.Pen.Width;
    }

    int darkPixels(const QRect& area) const
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                count += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
        }
        return count;
    }

    platform::StringGrid grid;
    SheetGridControl control;
    QImage image{100, 100, QImage::Format_RGB32};
    int penWidthAfter = 0;
};

} // namespace

class tst_sheetgrid : public QObject
{
    Q_OBJECT
private slots:
    void newControlHasOneCellAreasWithoutMarks()
    {
        Sheet sheet;
        const EdgeStyle pen;
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const TCell* cell = sheet.control.SheetGridCellAt(column, row);
                QCOMPARE(cell, sheet.control.CellAt(column, row));
                QCOMPARE(cell->kind, std::uint8_t(kLabelArea));
                QVERIFY(!HasAction(cell->action));
                QCOMPARE(cell->periodColour, std::uint8_t(kNone));
                QVERIFY(cell->top == pen && cell->bottom == pen && cell->left == pen && cell->right == pen);
            }
        }
        QCOMPARE(sheet.control.selectedColumn, -1);
        QCOMPARE(sheet.control.previousSelectedRow, -1);
    }

    void mergedAreaAnswersFromItsAnchor()
    {
        Sheet sheet;
        TPlayer player(nullptr);
        QMenu* menu = reinterpret_cast<QMenu*>(&player); // only compared, never used
        sheet.control.MergeSheetCells(2, 1, 4, 3);
        sheet.control.SetSheetAreaMark(4, 3, kNameArea, &player, 0x123456);
        sheet.control.SetSheetAreaPopup(3, 2, menu);
        const QRect anchorBounds = [&] {
            QRect rect = sheet.grid.CellRect(2, 1);
            sheet.control.SheetGridAreaBounds(rect, 2, 1);
            return rect;
        }();
        QCOMPARE(anchorBounds, QRect(2 * 22, 22, 3 * 22 - 1, 3 * 22 - 1));
        for (int row = 1; row <= 3; ++row) {
            for (int column = 2; column <= 4; ++column) {
                QCOMPARE(sheet.control.GetSheetAreaKind(column, row), int(kNameArea));
                QCOMPARE(sheet.control.SheetGridPlayerAt(column, row), &player);
                QCOMPARE(sheet.control.GetSheetAreaPopup(column, row), menu);
                QCOMPARE(sheet.control.SheetGridCellAt(column, row), sheet.control.CellAt(2, 1));
                int c = column;
                int r = row;
                sheet.control.SheetGridArea(c, r);
                QCOMPARE(QPoint(c, r), QPoint(2, 1));
                QRect rect = sheet.grid.CellRect(column, row);
                sheet.control.SheetGridAreaBounds(rect, column, row);
                QCOMPARE(rect, anchorBounds);
            }
        }
        QCOMPARE(sheet.control.CellAt(2, 1)->background, platform::TColor(0x123456));
        // Cells outside keep their own areas.
        QCOMPARE(sheet.control.GetSheetAreaKind(5, 1), int(kLabelArea));
    }

    void positionsOutsideTheCells_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("left of column 0") << -1 << 0;
        QTest::newRow("above row 0") << 0 << -1;
        QTest::newRow("column 20 of row 0, not row 1") << kColumns << 0;
        QTest::newRow("column 23 of row 5, not row 6") << kColumns + 3 << 5;
        QTest::newRow("below the last row") << 0 << kRows;
    }
    void positionsOutsideTheCells()
    {
        QFETCH(int, column);
        QFETCH(int, row);
        Sheet sheet;
        TPlayer player(nullptr);
        QVERIFY(!sheet.control.SheetGridCellAt(column, row));
        sheet.control.SetSheetAreaMark(column, row, kFoulBox, &player, 1);
        sheet.control.SetSheetCellColour(column, row, 0);
        sheet.control.SetSheetCellEdges(column, row, kAllSides, edge(platform::clRed, 4));
        QCOMPARE(sheet.control.GetSheetAreaKind(column, row), -1);
        QVERIFY(!sheet.control.SheetGridPlayerAt(column, row));
        int c = column;
        int r = row;
        sheet.control.SheetGridArea(c, r);
        QCOMPARE(QPoint(c, r), QPoint(column, row));
        // Nothing anywhere took the mark.
        for (const TCell& cell : sheet.control.cells) {
            QCOMPARE(cell.kind, std::uint8_t(kLabelArea));
            QCOMPARE(cell.periodColour, std::uint8_t(kNone));
            QCOMPARE(cell.top.width, 1);
        }
        platform::Canvas canvas(&sheet.image);
        sheet.control.SheetGridDrawMark(column, row, canvas, &kBox);
        sheet.control.SheetGridDrawPeriodCross(column, row, &kBox, 0, canvas);
        QCOMPARE(sheet.darkPixels(sheet.image.rect()), 0);
    }

    // Which side of which neighbour a side of a cell also sets.
    void sidesAndTheirNeighbours_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("side");
        QTest::addColumn<QStringList>("changed"); // "column,row,side" of every side that changes
        QTest::newRow("top in row 1 leaves row 0") << 3 << 1 << int(kTopSide) << QStringList{"3,1,1"};
        QTest::newRow("top in row 2 sets the bottom above")
            << 3 << 2 << int(kTopSide) << QStringList{"3,2,1", "3,1,2"};
        QTest::newRow("bottom sets the top below")
            << 3 << 2 << int(kBottomSide) << QStringList{"3,2,2", "3,3,1"};
        QTest::newRow("bottom in the last row touches no neighbour")
            << 3 << kRows - 1 << int(kBottomSide) << QStringList{QStringLiteral("3,%1,2").arg(kRows - 1)};
        QTest::newRow("left in column 1 leaves column 0") << 1 << 4 << int(kLeftSide) << QStringList{"1,4,3"};
        QTest::newRow("left in column 2 sets the right before")
            << 2 << 4 << int(kLeftSide) << QStringList{"2,4,3", "1,4,4"};
        QTest::newRow("right sets the left after")
            << 2 << 4 << int(kRightSide) << QStringList{"2,4,4", "3,4,3"};
        QTest::newRow("right in the last column touches no neighbour")
            << kColumns - 1 << 4 << int(kRightSide)
            << QStringList{QStringLiteral("%1,4,4").arg(kColumns - 1)};
        QTest::newRow("all four") << 5 << 5 << int(kAllSides)
                                  << QStringList{"5,5,1", "5,5,2", "5,5,3", "5,5,4",
                                                 "5,4,2", "5,6,1", "4,5,4", "6,5,3"};
    }
    void sidesAndTheirNeighbours()
    {
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, side);
        QFETCH(QStringList, changed);
        Sheet sheet;
        sheet.control.SetSheetCellEdges(column, row, side, edge(platform::clRed, 3));
        QStringList found;
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) {
                for (const int s : {int(kTopSide), int(kBottomSide), int(kLeftSide), int(kRightSide)}) {
                    if (SheetGridControl::GetSheetCellEdge(*sheet.control.CellAt(c, r), s) == 3)
                        found << QStringLiteral("%1,%2,%3").arg(c).arg(r).arg(s);
                }
            }
        }
        found.sort();
        changed.sort();
        QCOMPARE(found, changed);
    }

    void edgeWidthOfAnUnknownSideIsTheTop()
    {
        TCell cell;
        cell.top.width = 7;
        cell.bottom.width = 2;
        QCOMPARE(SheetGridControl::GetSheetCellEdge(cell, 9), 7);
        QCOMPARE(SheetGridControl::GetSheetCellEdge(cell, kBottomSide), 2);
    }

    void actionsAndPeriodColours()
    {
        Sheet sheet;
        TCell& cell = *sheet.control.SheetGridCellAt(1, 1);
        sheet.control.SetSheetCellColour(1, 1, 2);
        const GameAction shot = playerAction(kTwoPointMade, 2);
        SheetGridControl::SetSheetCellAction(cell, &shot);
        QCOMPARE(cell.periodColour, std::uint8_t(2)); // a mark keeps the colour
        QCOMPARE(cell.action.code, std::uint8_t(kTwoPointMade));
        SheetGridControl::SetSheetCellAction(cell, nullptr);
        QCOMPARE(cell.action.category, std::uint8_t(kNoCategory));
        QCOMPARE(cell.action.command, std::uint8_t(kNone));
        QCOMPARE(cell.periodColour, std::uint8_t(kNone)); // no mark, no colour

        for (int column = 0; column < 4; ++column)
            sheet.control.SetSheetCellColour(column, 2, column % 2);
        sheet.control.ClearSheetColour(1);
        QCOMPARE(sheet.control.CellAt(0, 2)->periodColour, std::uint8_t(0));
        QCOMPARE(sheet.control.CellAt(1, 2)->periodColour, std::uint8_t(kNone));
        sheet.control.ResetSheetColours(2, 2);
        QCOMPARE(sheet.control.CellAt(2, 2)->periodColour, std::uint8_t(kNone));
        QCOMPARE(sheet.control.CellAt(0, 2)->periodColour, std::uint8_t(0));
        sheet.control.ResetSheetColours(-1, 0);
        QCOMPARE(sheet.control.CellAt(0, 2)->periodColour, std::uint8_t(kNone));
    }

    void clearingKeepsKindMenuAndBackground()
    {
        Sheet sheet;
        TPlayer player(nullptr);
        QMenu* menu = reinterpret_cast<QMenu*>(&player);
        sheet.grid.SetCells(2, 2, QStringLiteral("x"));
        sheet.control.MergeSheetCells(2, 2, 3, 3);
        sheet.control.SetSheetAreaMark(2, 2, kFoulBox, &player, 0xABCDEF);
        sheet.control.SetSheetAreaPopup(2, 2, menu);
        sheet.control.SetSheetCellColour(2, 2, 1);
        const GameAction foul = playerAction(kFoul, 1, &player);
        SheetGridControl::SetSheetCellAction(*sheet.control.SheetGridCellAt(2, 2), &foul);
        sheet.control.selectedColumn = 4;
        sheet.control.ClearSheetGrid(edge(platform::clRed, 2));
        const TCell& cell = *sheet.control.CellAt(2, 2);
        QCOMPARE(sheet.grid.Cells(2, 2), QString());
        QCOMPARE(sheet.control.SheetGridCellAt(3, 3), sheet.control.CellAt(3, 3));
        QCOMPARE(cell.kind, std::uint8_t(kFoulBox));
        QCOMPARE(cell.popup, menu);
        QCOMPARE(cell.background, platform::TColor(0xABCDEF));
        QVERIFY(!cell.player);
        QVERIFY(!HasAction(cell.action));
        QCOMPARE(cell.periodColour, std::uint8_t(kNone));
        QVERIFY(cell.left == edge(platform::clRed, 2));
        QCOMPARE(sheet.control.selectedColumn, -1);
    }

    void forgettingAPlayerClearsAreasAndMarks()
    {
        Sheet sheet;
        TPlayer gone(nullptr);
        TPlayer stays(nullptr);
        sheet.control.SetSheetAreaMark(1, 1, kNameArea, &gone, 0);
        sheet.control.SetSheetAreaMark(2, 1, kNameArea, &stays, 0);
        const GameAction foul = playerAction(kFoul, 0, &gone);
        SheetGridControl::SetSheetCellAction(*sheet.control.SheetGridCellAt(3, 1), &foul);
        sheet.control.ForgetPlayer(&gone);
        QVERIFY(!sheet.control.SheetGridPlayerAt(1, 1));
        QCOMPARE(sheet.control.SheetGridPlayerAt(2, 1), &stays);
        QVERIFY(!sheet.control.SheetGridCellAt(3, 1)->action.player);
        QVERIFY(HasAction(sheet.control.SheetGridCellAt(3, 1)->action));
    }

    // --- painters ---------------------------------------------------------------------------------

    // Where a shot mark leaves paint: the slash corners, the circle's top and the disc's centre.
    void shotMarks_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("periodColour");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("slash");
        QTest::addColumn<bool>("circle");
        QTest::addColumn<bool>("disc");
        QTest::addColumn<bool>("discFillsTheBox");
        QTest::newRow("two-point, first period: red slash")
            << int(kTwoPointMade) << int(kScoreNumberColumn) << 0 << int(kNone) << kRed << true << false
            << false << false;
        QTest::newRow("two-point, second period: black slash")
            << int(kTwoPointMade) << int(kScoreNumberColumn) << 1 << int(kNone) << kBlack << true << false
            << false << false;
        QTest::newRow("three-point, third period: red slash")
            << int(kThreePointMade) << int(kScoreNumberColumn) << 2 << int(kNone) << kRed << true << false
            << false << false;
        QTest::newRow("overtime: black") << int(kTwoPointMade) << int(kScoreNumberColumn) << 4 << int(kNone)
                                         << kBlack << true << false << false << false;
        QTest::newRow("free throw: filled dot, no slash")
            << int(kFreeThrowMade) << int(kScoreNumberColumn) << 0 << int(kNone) << kRed << false << false
            << true << true;
        QTest::newRow("free throw closing a period: circle and smaller dot")
            << int(kFreeThrowMade) << int(kScoreNumberColumn) << 3 << 3 << kBlack << false << true << true
            << false;
        QTest::newRow("last field goal of a period: circle and slash")
            << int(kTwoPointMade) << int(kScoreNumberColumn) << 0 << 0 << kRed << true << true << false
            << false;
        QTest::newRow("scorer column, three-point: circle only")
            << int(kThreePointMade) << int(kScorerColumn) << 0 << int(kNone) << kRed << false << true << false
            << false;
        QTest::newRow("scorer column, two-point: nothing but the number")
            << int(kTwoPointMade) << int(kScorerColumn) << 0 << int(kNone) << kRed << false << false << false
            << false;
        QTest::newRow("scorer column, free throw: nothing but the number")
            << int(kFreeThrowMade) << int(kScorerColumn) << 0 << 0 << kRed << false << false << false
            << false;
    }
    void shotMarks()
    {
        QFETCH(int, code);
        QFETCH(int, kind);
        QFETCH(int, period);
        QFETCH(int, periodColour);
        QFETCH(QColor, colour);
        QFETCH(bool, slash);
        QFETCH(bool, circle);
        QFETCH(bool, disc);
        QFETCH(bool, discFillsTheBox);
        Sheet sheet;
        sheet.paintMark(playerAction(static_cast<std::uint8_t>(code), period),
                        static_cast<std::uint8_t>(kind), periodColour);
        const QImage& image = sheet.image;
        // Slash: top-right to bottom-left.
        const QPoint nearTopRight(kBox.right() - 2, kBox.top() + 2);
        const QPoint nearBottomLeft(kBox.left() + 2, kBox.bottom() - 2);
        const QPoint slashMiddle(kBox.center().x(), kBox.center().y() + 1);
        QCOMPARE(image.pixelColor(nearTopRight) == colour, slash);
        QCOMPARE(image.pixelColor(nearBottomLeft) == colour, slash);
        // Circle: the top of the inscribed ellipse.
        QCOMPARE(image.pixelColor(kBox.center().x(), kBox.top()) == colour, circle || discFillsTheBox);
        QCOMPARE(image.pixelColor(kBox.left(), kBox.center().y()) == colour, circle || discFillsTheBox);
        // Disc: its centre; a dot inside a circle leaves a ring free between them.
        const QPoint centre(kBox.center().x() - 8, kBox.center().y());
        QCOMPARE(image.pixelColor(centre) == colour, disc);
        if (disc)
            QCOMPARE(image.pixelColor(kBox.center().x(), kBox.top() + 3) == colour, discFillsTheBox);
        if (!slash && !circle && !disc)
            QCOMPARE(sheet.darkPixels(image.rect()), 0);
        QCOMPARE(sheet.penWidthAfter, 1);
    }

    // A foul shows its letter at the bottom left and, after it, the small digit (or the prime).
    void foulMarks_data()
    {
        QTest::addColumn<bool>("miniBasket");
        QTest::addColumn<int>("foulKind");
        QTest::addColumn<int>("freeThrows");
        QTest::addColumn<int>("period");
        QTest::addColumn<bool>("afterLetter");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("personal, two free throws") << false << int(kPersonalFoul) << 2 << 0 << true << true;
        QTest::newRow("personal, no free throws") << false << int(kPersonalFoul) << 0 << 0 << false << true;
        QTest::newRow("technical, free throws not given")
            << false << int(kTechnicalFoul) << int(kNone) << 1 << false << true;
        QTest::newRow("disqualifying, two free throws: the letter only")
            << false << int(kDisqualifyingFoul) << 2 << 0 << false << true;
        QTest::newRow("bench foul") << false << int(kBenchFoul) << 1 << 0 << true << true;
        QTest::newRow("unknown kind: nothing") << false << 6 << 2 << 0 << false << false;
        QTest::newRow("mini-basket: the period digit")
            << true << int(kPersonalFoul) << 0 << 2 << true << true;
        QTest::newRow("mini-basket, disqualifying: D and its prime")
            << true << int(kDisqualifyingFoul) << 2 << 2 << true << true;
        QTest::newRow("mini-basket, no period: no digit")
            << true << int(kPersonalFoul) << 0 << -1 << false << true;
    }
    void foulMarks()
    {
        QFETCH(bool, miniBasket);
        QFETCH(int, foulKind);
        QFETCH(int, freeThrows);
        QFETCH(int, period);
        QFETCH(bool, afterLetter);
        QFETCH(bool, drawn);
        GameAction foul = playerAction(kFoul, period);
        foul.foulKind = static_cast<std::uint8_t>(foulKind);
        foul.freeThrows = static_cast<std::uint8_t>(freeThrows);
        Sheet sheet(miniBasket);
        sheet.paintMark(foul, kFoulBox);
        // The same letter alone, for where the letter ends.
        GameAction letterOnly = foul;
        letterOnly.freeThrows = 0;
        letterOnly.period = -1;
        Sheet reference(false);
        reference.paintMark(letterOnly, kFoulBox);
        const auto inkRight = [](const Sheet& painted) {
            for (int x = kBox.right(); x >= kBox.left(); --x) {
                if (painted.darkPixels(QRect(x, kBox.top(), 1, kBox.height())) > 0)
                    return x;
            }
            return -1;
        };
        QCOMPARE(sheet.darkPixels(kBox) > 0, drawn);
        QCOMPARE(inkRight(sheet) > inkRight(reference), afterLetter);
        // The letter stands at the left, both on the bottom: nothing in the top fifth.
        if (drawn)
            QVERIFY(sheet.darkPixels(QRect(kBox.left(), kBox.top(), 3, kBox.height())) > 0);
        QCOMPARE(sheet.darkPixels(QRect(kBox.left(), kBox.top(), kBox.width(), kBox.height() / 5)), 0);
        QCOMPARE(sheet.penWidthAfter, 1);
    }

    void commandMarks_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QList<QPoint>>("inked");
        QTest::addColumn<QList<QPoint>>("clean");
        const int l = kBox.left();
        const int t = kBox.top();
        const int r = kBox.right();
        const int b = kBox.bottom();
        const int h = kBox.height();
        const int mid = kBox.center().x();
        QTest::newRow("time-out: both diagonals")
            << int(kTimeout) << QList<QPoint>{{l + 10, t + 10}, {r - 10, t + 10}, {l + 10, b - 10}}
            << QList<QPoint>{{mid, t + 5}};
        QTest::newRow("struck-out box: lines at a third and two thirds")
            << int(kStruckOutBox) << QList<QPoint>{{mid, t + h / 3}, {mid, t + 2 * h / 3}}
            << QList<QPoint>{{mid, t + h / 2}, {l + 10, t + 10}};
        QTest::newRow("empty foul box: one line at half the height")
            << int(kEmptyFoulBox) << QList<QPoint>{{l + 5, t + h / 2}, {r - 5, t + h / 2}}
            << QList<QPoint>{{mid, t + h / 3}, {l + 10, t + 10}};
        QTest::newRow("game end: a diagonal and a line below the top")
            << int(kGameEndMark) << QList<QPoint>{{l + 20, t + 20}, {r - 5, t + 3}}
            << QList<QPoint>{{l + 10, b - 10}};
        QTest::newRow("struck score: the diagonal") << int(kStruckScore) << QList<QPoint>{{l + 20, t + 20}}
                                                    << QList<QPoint>{{r - 5, t + 3}, {r - 10, t + 10}};
        QTest::newRow("clear: nothing")
            << int(kClearMark) << QList<QPoint>{} << QList<QPoint>{{l + 20, t + 20}};
        QTest::newRow("period end: nothing")
            << int(kPeriodEnd) << QList<QPoint>{} << QList<QPoint>{{l + 20, t + 20}};
    }
    void commandMarks()
    {
        QFETCH(int, command);
        QFETCH(QList<QPoint>, inked);
        QFETCH(QList<QPoint>, clean);
        Sheet sheet;
        sheet.paintMark(::command(static_cast<std::uint8_t>(command)), kTimeOutBox);
        for (const QPoint& point : inked)
            QCOMPARE(sheet.image.pixelColor(point), kBlack);
        for (const QPoint& point : clean)
            QCOMPARE(sheet.image.pixelColor(point), kWhite);
        QCOMPARE(sheet.penWidthAfter, 1);
        // The painter only reads: the mark is still there afterwards.
        QCOMPARE(sheet.control.SheetGridCellAt(1, 1)->action.command, std::uint8_t(command));
    }

    void starterCircleStandsTwoPixelsInside()
    {
        Sheet sheet;
        sheet.paintMark(playerAction(kSetStarter, 3), kPlayedBox);
        QCOMPARE(sheet.image.pixelColor(kBox.center().x(), kBox.top() + 2), kBlack);
        QCOMPARE(sheet.image.pixelColor(kBox.center().x(), kBox.top()), kWhite);
        QCOMPARE(sheet.image.pixelColor(kBox.center()), kWhite);
    }

    void courtInAndOtherActionsDrawNothing()
    {
        for (const std::uint8_t code : {kCourtIn, kTwoPointMissed, kAssist, kToBench}) {
            Sheet sheet;
            sheet.paintMark(playerAction(code, 0), kPlayedBox);
            QCOMPARE(sheet.darkPixels(sheet.image.rect()), 0);
        }
    }

    void periodCrossInThePeriodColour_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("first: red") << 0 << kRed;
        QTest::newRow("second: black") << 1 << kBlack;
        QTest::newRow("third: red") << 2 << kRed;
        QTest::newRow("fourth: black") << 3 << kBlack;
        QTest::newRow("none: black") << int(kNone) << kBlack;
    }
    void periodCrossInThePeriodColour()
    {
        QFETCH(int, period);
        QFETCH(QColor, colour);
        Sheet sheet;
        platform::Canvas canvas(&sheet.image);
        sheet.control.SheetGridDrawPeriodCross(1, 1, &kBox, period, canvas);
        QCOMPARE(sheet.image.pixelColor(kBox.left() + 15, kBox.top() + 15), colour);
        QCOMPARE(sheet.image.pixelColor(kBox.right() - 15, kBox.top() + 15), colour);
        QCOMPARE(sheet.image.pixelColor(kBox.center().x(), kBox.top() + 5), kWhite);
        QCOMPARE(canvas.Pen.Width, 1);
    }

    // The bottom line of a score cell that closes a period is 4 pixels thick in the period's
    // colour; a foul box's closing line stands on its right side. The cells right of it and below
    // are painted after it and draw their own sides there (4 pixels, blue), without hiding it.
    void closingLines_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("periodColour");
        QTest::addColumn<QColor>("bottom");
        QTest::addColumn<QColor>("right");
        QTest::addColumn<int>("width"); // of the bottom line, or a foul box's right line
        QTest::newRow("score number, first period") << int(kScoreNumberColumn) << 0 << kRed << kBlue << 4;
        QTest::newRow("scorer column, second period") << int(kScorerColumn) << 1 << kBlack << kBlue << 4;
        QTest::newRow("score number, no period")
            << int(kScoreNumberColumn) << int(kNone) << kBlue << kBlue << 4;
        QTest::newRow("foul box, third period") << int(kFoulBox) << 2 << kBlue << kRed << 4;
        QTest::newRow("label with a period colour: plain sides")
            << int(kLabelArea) << 0 << kBlue << kBlue << 4;
    }
    void closingLines()
    {
        QFETCH(int, kind);
        QFETCH(int, periodColour);
        QFETCH(QColor, bottom);
        QFETCH(QColor, right);
        QFETCH(int, width);
        Sheet sheet;
        sheet.control.SetSheetAreaMark(1, 1, static_cast<std::uint8_t>(kind), nullptr, 0);
        sheet.control.SetSheetCellColour(1, 1, periodColour);
        for (const int side : {kBottomSide, kRightSide})
            sheet.control.SetSheetCellEdges(1, 1, side, edge(platform::clBlue, 4));
        platform::Canvas canvas(&sheet.image);
        sheet.control.SheetGridDrawArea(1, 1, kBox, canvas);
        sheet.control.SheetGridDrawArea(2, 1, kBox.translated(kBox.width() + 1, 0), canvas);
        sheet.control.SheetGridDrawArea(1, 2, kBox.translated(0, kBox.height() + 1), canvas);
        // The sides lie one pen width outside the cell, on the grid lines.
        const int lineY = kBox.bottom() + 1;
        const int x = kBox.center().x();
        QCOMPARE(sheet.image.pixelColor(x, lineY), bottom);
        QCOMPARE(sheet.image.pixelColor(kBox.right() + 1, kBox.center().y()), right);
        const QPoint line = kind == kFoulBox ? QPoint(kBox.right() + 1, kBox.center().y()) : QPoint(x, lineY);
        const QPoint across = kind == kFoulBox ? QPoint(1, 0) : QPoint(0, 1);
        int thickness = 0;
        for (int d = -4; d <= 4; ++d)
            thickness += sheet.image.pixelColor(line + d * across) == sheet.image.pixelColor(line) ? 1 : 0;
        QCOMPARE(thickness, width);
        // The neighbour's side, under a closing line, shows beyond it.
        QCOMPARE(sheet.image.pixelColor(line + across), kBlue);
        QCOMPARE(sheet.image.pixelColor(kBox.left() - 1, kBox.center().y()), kBlack);
        QCOMPARE(sheet.image.pixelColor(x, kBox.top() - 1), kBlack);
        QCOMPARE(sheet.image.pixelColor(kBox.center()), kWhite);
        QCOMPARE(canvas.Pen.Width, 1);
    }

    void sidesInsideAMergedAreaAreNotDrawn()
    {
        Sheet sheet;
        sheet.control.MergeSheetCells(1, 1, 2, 1);
        platform::Canvas canvas(&sheet.image);
        const QRect left(10, 10, 21, 21);
        sheet.control.SheetGridDrawArea(1, 1, left, canvas);
        // The cell's right side lies inside the area.
        QCOMPARE(sheet.image.pixelColor(left.right() + 1, left.center().y()), kWhite);
        QCOMPARE(sheet.image.pixelColor(left.left() - 1, left.center().y()), kBlack);
    }

    void playersHeaderIsDrawnAtElevenPoints()
    {
        Sheet sheet;
        sheet.grid.SetCells(1, 1, QStringLiteral("選 手 氏 名"));
        sheet.grid.SetCells(2, 1, QStringLiteral("Fouls"));
        {
            platform::Canvas canvas(&sheet.image);
            canvas.Font.Size = 5;
            sheet.control.SheetGridDrawText(1, 1, QRect(0, 0, 40, 10), canvas);
            QCOMPARE(canvas.Font.Size, 11);
        }
        QImage wide(400, 100, QImage::Format_RGB32);
        wide.fill(Qt::white);
        platform::Canvas canvas(&wide);
        canvas.Font.Size = 20;
        sheet.control.FitSheetCellFont(2, 1, wide.rect(), canvas);
        QCOMPARE(canvas.Font.Size, 12);
        sheet.control.SheetGridDrawText(2, 1, wide.rect(), canvas);
        QCOMPARE(canvas.Font.Size, 12);
        canvas.painter()->end();
        // Centred: no ink in the left quarter, some in the middle.
        auto ink = [&wide](const QRect& area) {
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    count += wide.pixelColor(x, y).lightness() < 128 ? 1 : 0;
            return count;
        };
        QCOMPARE(ink(QRect(0, 0, 100, 100)), 0);
        QVERIFY(ink(QRect(150, 0, 100, 100)) > 0);
    }

    void areaTextsByKind()
    {
        Sheet sheet;
        TPlayer player(nullptr);
        player.number = QStringLiteral("23");
        player.name = QStringLiteral("山田");
        sheet.grid.SetCells(1, 1, QStringLiteral("なまえ 1"));
        sheet.control.SetSheetAreaMark(1, 1, kNameArea, nullptr, 0);
        QCOMPARE(sheet.control.AreaText(1, 1), QStringLiteral("なまえ 1"));
        sheet.control.SetSheetAreaPlayer(1, 1, &player);
        QCOMPARE(sheet.control.AreaText(1, 1), QStringLiteral("山田"));
        sheet.control.SetSheetAreaMark(2, 1, kNumberArea, &player, 0);
        QCOMPARE(sheet.control.AreaText(2, 1), QStringLiteral("23"));
        sheet.grid.SetCells(3, 1, QStringLiteral("kept"));
        sheet.control.SetSheetAreaMark(3, 1, kHeadCoachName, nullptr, 0);
        QCOMPARE(sheet.control.AreaText(3, 1), QString());
    }
};

QTEST_MAIN(tst_sheetgrid)
#include "tst_sheetgrid.moc"
