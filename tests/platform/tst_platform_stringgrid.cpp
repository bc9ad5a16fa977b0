#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "platform/StringGrid.h"

#include <memory>
#include <utility>
#include <vector>

using namespace platform;

using Cells = std::vector<std::pair<int, int>>; // (col, row) in call order
Q_DECLARE_METATYPE(Cells)

namespace {

// Cells are 64 x 24 with 1-pixel lines: columns start every 65 pixels, rows every 25.
std::unique_ptr<StringGrid> shownGrid(int cols, int rows, QSize size = QSize(300, 150))
{
    auto grid = std::make_unique<StringGrid>();
    grid->setFrameShape(QFrame::NoFrame);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    grid->setFixedSize(size);
    grid->show();
    return grid;
}

Cells paintedCells(StringGrid& grid)
{
    Cells cells;
    bool canvasAvailable = true;
    grid.OnDrawCell = [&](int col, int row, const QRect&, unsigned) {
        cells.emplace_back(col, row);
        canvasAvailable = canvasAvailable && grid.GridCanvas();
    };
    grid.viewport()->grab();
    grid.OnDrawCell = nullptr;
    if (!canvasAvailable || grid.GridCanvas())
        cells.clear();
    return cells;
}

Cells rowMajor(const std::vector<int>& rows, const std::vector<int>& cols)
{
    Cells cells;
    for (int row : rows)
        for (int col : cols)
            cells.emplace_back(col, row);
    return cells;
}

} // namespace

class TestStringGrid : public QObject
{
    Q_OBJECT
private slots:
    void cellsOutOfRange_data();
    void cellsOutOfRange();
    void resizingKeepsContent();
    void storedCells_data();
    void storedCells();
    void selectionFollowsCurrentCell();
    void cellRect_data();
    void cellRect();
    void paintsVisibleCellsInOrder_data();
    void paintsVisibleCellsInOrder();
    void defaultDrawing();
    void scrollsCurrentRowIntoView();
    void scrollBarsCountRows();
    void filledOutOfSight();
    void focusEvents();
    void keyNavigation_data();
    void keyNavigation();
    void mouseSelects();
    void mouseDragExtends();
    void columnSizing();
    void popupMenu();
};

void TestStringGrid::cellsOutOfRange_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::newRow("negative column") << -1 << 1;
    QTest::newRow("negative row") << 1 << -1;
    QTest::newRow("column past the end") << 5 << 1;
    QTest::newRow("row past the end") << 1 << 5;
}

void TestStringGrid::cellsOutOfRange()
{
    QFETCH(int, col);
    QFETCH(int, row);
    StringGrid grid;
    int player = 7;
    grid.SetCells(col, row, u"x"_qs);
    grid.SetObjects(col, row, &player);
    QCOMPARE(grid.Cells(col, row), QString());
    QCOMPARE(grid.Objects(col, row), nullptr);
    QCOMPARE(grid.ColWidths(col < 0 || col >= 5 ? col : -1), 0);
    grid.SetCells(4, 4, u"corner"_qs);
    grid.SetObjects(0, 0, &player);
    QCOMPARE(grid.Cells(4, 4), u"corner"_qs);
    QCOMPARE(grid.Objects(0, 0), &player);
}

void TestStringGrid::resizingKeepsContent()
{
    StringGrid grid;
    int player = 1;
    grid.SetCells(2, 3, u"23"_qs);
    grid.SetCells(4, 4, u"44"_qs);
    grid.SetObjects(4, 4, &player);
    grid.SetColWidths(2, 30);
    grid.SetSelection(GridRect{4, 4, 4, 4});

    grid.SetRowCount(8);
    grid.SetColCount(7);
    QCOMPARE(grid.Cells(2, 3), u"23"_qs);
    QCOMPARE(grid.Cells(4, 4), u"44"_qs);
    QCOMPARE(grid.ColWidths(2), 30);
    QCOMPARE(grid.ColWidths(6), 64);
    QCOMPARE(grid.RowHeights(7), 24);

    grid.SetRowCount(4);
    grid.SetColCount(4);
    QCOMPARE(grid.Row(), 3);
    QCOMPARE(grid.Col(), 3);
    QCOMPARE(grid.Selection(), (GridRect{3, 3, 3, 3}));
    grid.SetRowCount(5);
    grid.SetColCount(5);
    QCOMPARE(grid.Cells(4, 4), QString()); // dropped, not hidden
    QCOMPARE(grid.Objects(4, 4), nullptr);
    QCOMPARE(grid.Cells(2, 3), u"23"_qs);

    grid.ClearRow(3);
    QCOMPARE(grid.Cells(2, 3), QString());

    // A grid always keeps one row and column that is not fixed.
    grid.SetFixedRows(9);
    QCOMPARE(grid.FixedRows(), 4);
    grid.SetRowCount(2);
    QCOMPARE(grid.FixedRows(), 1);
    QCOMPARE(grid.Row(), 1);
}

void TestStringGrid::storedCells_data()
{
    // Steps on a grid of 5 x 5: "text col row text", "object col row" (an object set), "cols n",
    // "rows n", "clear row"; then what each cell of row 1 holds, "text" or "text+object".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("row1");
    QTest::newRow("past the last cell written")
        << QStringList{"text 1 1 a"} << QStringList{"", "a", "", "", ""};
    QTest::newRow("an empty text stores nothing")
        << QStringList{"text 3 1 x", "text 3 1 "} << QStringList{"", "", "", "", ""};
    QTest::newRow("fewer columns drop the cells past them")
        << QStringList{"text 1 1 a", "object 3 1", "text 4 1 b", "cols 3", "cols 5"}
        << QStringList{"", "a", "", "", ""};
    QTest::newRow("a dropped cell written again has no object")
        << QStringList{"text 4 1 b", "object 4 1", "cols 4", "cols 5", "text 4 1 c"}
        << QStringList{"", "", "", "", "c"};
    QTest::newRow("written after a drop, kept by a later one further right")
        << QStringList{"text 2 1 a", "cols 2", "cols 5", "text 2 1 b", "object 2 1", "cols 4", "cols 5"}
        << QStringList{"", "", "b+object", "", ""};
    QTest::newRow("fewer rows drop theirs")
        << QStringList{"text 0 1 a", "object 0 1", "rows 1", "rows 5"} << QStringList{"", "", "", "", ""};
    QTest::newRow("a cleared row") << QStringList{"text 0 1 a", "object 2 1", "clear 1", "text 1 1 b"}
                                   << QStringList{"", "b", "", "", ""};
}

void TestStringGrid::storedCells()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, row1);
    StringGrid grid;
    int object = 0;
    for (const QString& step : steps) {
        const QStringList words = step.split(u' ');
        const int a = words.value(1).toInt();
        const int b = words.value(2).toInt();
        if (words[0] == u"text")
            grid.SetCells(a, b, words.value(3));
        else if (words[0] == u"object")
            grid.SetObjects(a, b, &object);
        else if (words[0] == u"cols")
            grid.SetColCount(a);
        else if (words[0] == u"rows")
            grid.SetRowCount(a);
        else
            grid.ClearRow(a);
    }
    QStringList cells;
    for (int col = 0; col < grid.ColCount(); ++col)
        cells << grid.Cells(col, 1) + (grid.Objects(col, 1) ? u"+object"_qs : QString());
    QCOMPARE(cells, row1);
}

void TestStringGrid::selectionFollowsCurrentCell()
{
    StringGrid grid;
    QSignalSpy changed(&grid, &StringGrid::selectionChanged);
    grid.SetRow(3);
    grid.SetSelection(GridRect{2, 3, 2, 3});
    QCOMPARE(grid.Selection(), (GridRect{2, 3, 2, 3}));
    grid.SetRow(0); // fixed rows cannot be current
    QCOMPARE(grid.Row(), 3);
    grid.SetOptions(grid.Options() | goRowSelect);
    QCOMPARE(grid.Selection(), (GridRect{1, 3, 4, 3}));
    grid.SetRow(2);
    QCOMPARE(grid.Selection(), (GridRect{1, 2, 4, 2}));
    grid.SetOptions(grid.Options() & ~goRowSelect);
    grid.SetSelection(GridRect{4, 4, 2, 1});
    QCOMPARE(grid.Selection(), (GridRect{2, 1, 4, 4}));
    // Every move above but the refused one, and nothing for a selection that stays.
    QCOMPARE(changed.count(), 6);
    grid.SetSelection(GridRect{2, 1, 4, 4});
    QCOMPARE(changed.count(), 6);
}

void TestStringGrid::cellRect_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("hiddenCol"); // -1 for none
    QTest::addColumn<int>("topRow");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("fixed corner") << 0 << 0 << -1 << 1 << QRect(0, 0, 64, 24);
    QTest::newRow("first cell") << 1 << 1 << -1 << 1 << QRect(65, 25, 64, 24);
    QTest::newRow("further on") << 3 << 2 << -1 << 1 << QRect(195, 50, 64, 24);
    QTest::newRow("after a hidden column") << 3 << 2 << 2 << 1 << QRect(130, 50, 64, 24);
    QTest::newRow("the hidden column") << 2 << 2 << 2 << 1 << QRect();
    QTest::newRow("scrolled: top row under the fixed row") << 1 << 6 << -1 << 6 << QRect(65, 25, 64, 24);
    QTest::newRow("scrolled: fixed row stays") << 2 << 0 << -1 << 6 << QRect(130, 0, 64, 24);
    QTest::newRow("scrolled out above") << 1 << 5 << -1 << 6 << QRect();
    QTest::newRow("below the view") << 1 << 12 << -1 << 1 << QRect();
    QTest::newRow("right of the view") << 5 << 1 << -1 << 1 << QRect();
}

void TestStringGrid::cellRect()
{
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, hiddenCol);
    QFETCH(int, topRow);
    QFETCH(QRect, expected);
    auto grid = shownGrid(6, 40);
    grid->SetColWidths(hiddenCol, 0);
    grid->SetTopRow(topRow);
    QCOMPARE(grid->TopRow(), topRow);
    QCOMPARE(grid->CellRect(col, row), expected);
    if (expected.isEmpty())
        return;
    // Every point of the cell, and the grid line after it, maps back to the cell.
    const int line = grid->GridLineWidth();
    const QPoint corners[] = {expected.topLeft(), expected.center(), expected.bottomRight(),
                              expected.bottomRight() + QPoint(line, line)};
    for (const QPoint& p : corners) {
        int c = -2;
        int r = -2;
        grid->MouseToCell(p.x(), p.y(), c, r);
        QCOMPARE(c, col);
        QCOMPARE(r, row);
    }
}

void TestStringGrid::paintsVisibleCellsInOrder_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("hiddenCol");
    QTest::addColumn<int>("topRow");
    QTest::addColumn<Cells>("expected");
    // 300 x 150 shows columns 0..4 (the last in part) and rows 0..5.
    QTest::newRow("all of a small grid") << 3 << -1 << 1 << rowMajor({0, 1, 2}, {0, 1, 2, 3, 4});
    QTest::newRow("hidden column skipped") << 3 << 2 << 1 << rowMajor({0, 1, 2}, {0, 1, 3, 4, 5});
    QTest::newRow("only the visible of many rows")
        << 1000 << -1 << 1 << rowMajor({0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4});
    QTest::newRow("scrolled") << 1000 << -1 << 500 << rowMajor({0, 500, 501, 502, 503, 504}, {0, 1, 2, 3, 4});
    QTest::newRow("scrolled to the end")
        << 20 << -1 << 19 << rowMajor({0, 15, 16, 17, 18, 19}, {0, 1, 2, 3, 4});
}

void TestStringGrid::paintsVisibleCellsInOrder()
{
    QFETCH(int, rows);
    QFETCH(int, hiddenCol);
    QFETCH(int, topRow);
    QFETCH(Cells, expected);
    auto grid = shownGrid(8, rows);
    grid->SetColWidths(hiddenCol, 0);
    grid->SetTopRow(topRow);
    QCOMPARE(paintedCells(*grid), expected);
}

void TestStringGrid::defaultDrawing()
{
    auto grid = shownGrid(3, 3);
    grid->SetCells(1, 1, u"■■■■"_qs);
    grid->SetSelection(GridRect{2, 2, 2, 2});
    const QImage image = grid->viewport()->grab().toImage();
    // Unfocused, the current cell shows as selected.
    QCOMPARE(image.pixelColor(10, 20), toQColor(clBtnFace()));
    QCOMPARE(image.pixelColor(180, 70), toQColor(clHighlight()));
    QCOMPARE(image.pixelColor(125, 45), toQColor(clWindow()));
    // The text starts two pixels in, dark on the window colour.
    const QRect text = grid->CellRect(1, 1).adjusted(2, 2, 0, 0);
    bool inked = false;
    for (int x = text.left(); x < text.left() + 10; ++x)
        inked = inked || image.pixelColor(x, text.top() + 6).lightness() < 100;
    QVERIFY(inked);
    QCOMPARE(image.pixelColor(text.left() - 1, text.top() + 6), toQColor(clWindow()));
}

void TestStringGrid::scrollsCurrentRowIntoView()
{
    auto grid = shownGrid(5, 1000);
    QCOMPARE(grid->VisibleRowCount(), 5); // 150 - 25 fixed holds five rows of 25
    grid->SetRow(500);
    QCOMPARE(grid->TopRow(), 496); // shown as the last full row
    QVERIFY(!grid->CellRect(1, 500).isEmpty());
    grid->SetRow(20);
    QCOMPARE(grid->TopRow(), 20);
    grid->SetTopRow(5000);
    QCOMPARE(grid->TopRow(), 995); // no scrolling past the last row
    grid->SetRowCount(10);
    QCOMPARE(grid->TopRow(), 5);
    QCOMPARE(grid->Row(), 9);
}

void TestStringGrid::scrollBarsCountRows()
{
    StringGrid grid;
    grid.SetRowCount(1000);
    grid.SetColCount(20);
    grid.resize(300, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCoreApplication::processEvents(); // the bars appear on a queued layout
    QScrollBar* vbar = grid.verticalScrollBar();
    QVERIFY(vbar->isVisible());
    QCOMPARE(vbar->maximum(), 1000 - grid.FixedRows() - grid.VisibleRowCount());
    vbar->setValue(100);
    QCOMPARE(grid.TopRow(), 101);
    grid.horizontalScrollBar()->setValue(3);
    QCOMPARE(grid.LeftCol(), 4);
    QCOMPARE(grid.CellRect(4, 101).topLeft(), QPoint(65, 25));
    grid.SetTopRow(7);
    QCOMPARE(vbar->value(), 6);

    // Out of sight the bars wait; shown again, they follow what changed meanwhile and scroll nowhere else.
    vbar->setValue(900);
    grid.hide();
    grid.SetRowCount(300);
    grid.SetTopRow(5);
    grid.show();
    QCoreApplication::processEvents();
    QCOMPARE(grid.TopRow(), 5);
    QCOMPARE(vbar->value(), 4);
    QCOMPARE(vbar->maximum(), 300 - grid.FixedRows() - grid.VisibleRowCount());
}

// A grid filled before it first shows, scrolled to its last row: the bars it needs took their places
// first, so it shows that row whole.
void TestStringGrid::filledOutOfSight()
{
    QWidget window;
    auto* grid = new StringGrid(&window);
    // Five rows fit under the fixed one without the horizontal bar, four with it.
    grid->setGeometry(0, 0, 300, 160);
    grid->SetColCount(20);
    for (int rows = 2; rows <= 100; ++rows) {
        grid->SetRowCount(rows);
        grid->SetTopRow(rows - 1 - grid->VisibleRowCount() + 1);
        QCoreApplication::processEvents();
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    QVERIFY(grid->horizontalScrollBar()->isVisible());
    const QRect last = grid->CellRect(1, 99);
    QVERIFY(!last.isEmpty());
    QVERIFY(last.bottom() < grid->viewport()->height());
    QCOMPARE(grid->verticalScrollBar()->value(), grid->TopRow() - grid->FixedRows());
}

void TestStringGrid::focusEvents()
{
    QWidget window;
    auto* grid = new StringGrid(&window);
    auto* other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    other->move(0, 200);
    QStringList events;
    grid->OnEnter = [&] { events << u"enter"_qs; };
    grid->OnExit = [&] { events << u"exit"_qs; };
    other->setFocus();
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        QSKIP("the platform cannot activate windows");
    grid->setFocus();
    other->setFocus();
    grid->setFocus();
    QCOMPARE(events, (QStringList{u"enter"_qs, u"exit"_qs, u"enter"_qs}));
    // Another window taking the focus for a while is no exit.
    QWidget popup;
    popup.show();
    popup.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&popup));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(grid->hasFocus());
    QCOMPARE(events.size(), 3);
}

void TestStringGrid::keyNavigation_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<unsigned>("options");
    QTest::addColumn<int>("refusedRow"); // OnSelectCell refuses this row
    QTest::addColumn<int>("swallowedKey");
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<GridRect>("selection");
    const unsigned range = goRangeSelect;
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    // The grid starts at column 2, row 3 of 5 x 8 (5 rows fit the view).
    QTest::newRow("down") << int(Qt::Key_Down) << none << range << -1 << 0 << QPoint(2, 4)
                          << GridRect{2, 4, 2, 4};
    QTest::newRow("up") << int(Qt::Key_Up) << none << range << -1 << 0 << QPoint(2, 2)
                        << GridRect{2, 2, 2, 2};
    QTest::newRow("left") << int(Qt::Key_Left) << none << range << -1 << 0 << QPoint(1, 3)
                          << GridRect{1, 3, 1, 3};
    QTest::newRow("home") << int(Qt::Key_Home) << none << range << -1 << 0 << QPoint(1, 3)
                          << GridRect{1, 3, 1, 3};
    QTest::newRow("end") << int(Qt::Key_End) << none << range << -1 << 0 << QPoint(4, 3)
                         << GridRect{4, 3, 4, 3};
    QTest::newRow("ctrl end") << int(Qt::Key_End) << int(Qt::ControlModifier) << range << -1 << 0
                              << QPoint(2, 7) << GridRect{2, 7, 2, 7};
    QTest::newRow("page down") << int(Qt::Key_PageDown) << none << range << -1 << 0 << QPoint(2, 7)
                               << GridRect{2, 7, 2, 7};
    QTest::newRow("page up stops at the first row")
        << int(Qt::Key_PageUp) << none << range << -1 << 0 << QPoint(2, 1) << GridRect{2, 1, 2, 1};
    QTest::newRow("shift extends") << int(Qt::Key_Down) << shift << range << -1 << 0 << QPoint(2, 4)
                                   << GridRect{2, 3, 2, 4};
    QTest::newRow("shift without range select moves")
        << int(Qt::Key_Down) << shift << 0u << -1 << 0 << QPoint(2, 4) << GridRect{2, 4, 2, 4};
    QTest::newRow("row select spans columns") << int(Qt::Key_Up) << none << unsigned(goRowSelect) << -1 << 0
                                              << QPoint(2, 2) << GridRect{1, 2, 4, 2};
    QTest::newRow("refused") << int(Qt::Key_Down) << none << range << 4 << 0 << QPoint(2, 3)
                             << GridRect{2, 3, 2, 3};
    QTest::newRow("swallowed by OnKeyDown") << int(Qt::Key_Down) << none << range << -1 << int(Qt::Key_Down)
                                            << QPoint(2, 3) << GridRect{2, 3, 2, 3};
}

void TestStringGrid::keyNavigation()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(unsigned, options);
    QFETCH(int, refusedRow);
    QFETCH(int, swallowedKey);
    QFETCH(QPoint, cell);
    QFETCH(GridRect, selection);
    auto grid = shownGrid(5, 8);
    grid->SetOptions(options);
    grid->SetSelection(GridRect{2, 3, 2, 3});
    std::vector<int> keysDown;
    std::vector<int> keysUp;
    grid->OnSelectCell = [&](int, int row, bool& canSelect) { canSelect = row != refusedRow; };
    const auto isModifier = [](int k) { return k == Qt::Key_Shift || k == Qt::Key_Control; };
    grid->OnKeyDown = [&](int& k, Qt::KeyboardModifiers) {
        if (!isModifier(k))
            keysDown.push_back(k);
        if (k == swallowedKey)
            k = 0;
    };
    grid->OnKeyUp = [&](int& k, Qt::KeyboardModifiers) {
        if (!isModifier(k))
            keysUp.push_back(k);
    };
    QTest::keyClick(grid.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QPoint(grid->Col(), grid->Row()), cell);
    QCOMPARE(grid->Selection(), selection);
    QCOMPARE(keysDown, std::vector<int>{key});
    QCOMPARE(keysUp, std::vector<int>{key});
}

void TestStringGrid::mouseSelects()
{
    auto grid = shownGrid(5, 8);
    QStringList events;
    grid->OnMouseDown = [&](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        events << u"down %1,%2 row %3"_qs.arg(x).arg(y).arg(grid->Row());
    };
    grid->OnMouseUp = [&](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { events << u"up"_qs; };
    grid->OnClick = [&] { events << u"click"_qs; };
    grid->OnDblClick = [&] { events << u"double"_qs; };

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(140, 60));
    QCOMPARE(QPoint(grid->Col(), grid->Row()), QPoint(2, 2));
    QCOMPARE(events, (QStringList{u"down 140,60 row 2"_qs, u"click"_qs, u"up"_qs}));

    events.clear(); // fixed cells are not selected and do not click
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(10, 85));
    QCOMPARE(QPoint(grid->Col(), grid->Row()), QPoint(2, 2));
    QCOMPARE(events, (QStringList{u"down 10,85 row 2"_qs, u"up"_qs}));

    events.clear();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(70, 110));
    QCOMPARE(QPoint(grid->Col(), grid->Row()), QPoint(1, 4));
    QVERIFY(events.contains(u"double"_qs));

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 60));
    QCOMPARE(grid->Selection(), (GridRect{1, 2, 3, 4}));
}

void TestStringGrid::mouseDragExtends()
{
    auto grid = shownGrid(5, 8);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(70, 30));
    QTest::mouseMove(grid->viewport(), QPoint(200, 80));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(200, 80));
    QCOMPARE(grid->Selection(), (GridRect{1, 1, 3, 3}));
    QCOMPARE(QPoint(grid->Col(), grid->Row()), QPoint(3, 3));
}

void TestStringGrid::columnSizing()
{
    auto grid = shownGrid(5, 8);
    const auto drag = [&](int fromX, int toX) {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(fromX, 10));
        QTest::mouseMove(grid->viewport(), QPoint(toX, 10));
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(toX, 10));
    };
    drag(129, 150); // the border after column 1
    QCOMPARE(grid->ColWidths(1), 64);
    grid->SetOptions(grid->Options() | goColSizing);
    drag(129, 150);
    QCOMPARE(grid->ColWidths(1), 85);
    QCOMPARE(grid->Row(), 1); // sizing selects nothing
    drag(150, 0);
    QCOMPARE(grid->ColWidths(1), 1);
}

void TestStringGrid::popupMenu()
{
    auto grid = shownGrid(5, 8);
    QMenu menu;
    menu.addAction(u"削除"_qs);
    int popups = 0;
    grid->OnPopup = [&] { ++popups; };
    QContextMenuEvent withoutMenu(QContextMenuEvent::Mouse, QPoint(70, 30),
                                  grid->mapToGlobal(QPoint(70, 30)));
    QCoreApplication::sendEvent(grid->viewport(), &withoutMenu);
    QCOMPARE(popups, 0);

    grid->SetPopupMenu(&menu);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(70, 30), grid->mapToGlobal(QPoint(70, 30)));
    QCoreApplication::sendEvent(grid->viewport(), &event);
    QCOMPARE(popups, 1);
    QVERIFY(menu.isVisible());
    menu.close();
}

QTEST_MAIN(TestStringGrid)
#include "tst_platform_stringgrid.moc"
