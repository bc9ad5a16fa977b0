#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QString>

#include "hooptally/Common.h"
#include "hooptally/Texecute.h"
#include "platform/Canvas.h"
#include "platform/Messages.h"

class QAction;
class QMenu;

namespace platform {
class StringGrid;
struct GridRect;
} // namespace platform

namespace hooptally {

class THooptallyForm;
class TTeam;
class TPlayer;

constexpr int kSheetPlayerRows = 15;

// The sides of the sheets, team A first.
constexpr std::array<TeamSide, 2> kSides = {kSideA, kSideB};

// What a sheet area is; the painters interpret some of them.
enum SheetKind : std::uint8_t {
    kLabelArea = 0,
    kTeamNameArea = 1,
    kTimeOutBox = 2,
    kNumberArea = 3,
    kNameArea = 4,
    kPlayedBox = 5,
    kFoulBox = 6,
    kTeamFoulBox = 7,
    kScorerColumn = 9,
    kScoreNumberColumn = 10,
    kCoachFoulBox = 11,
    kHeadCoachName = 12,
    kAssistantCoachName = 13,
};

// Sides of a cell for SetSheetCellEdges and GetSheetCellEdge.
enum SheetSide { kAllSides = 0, kTopSide = 1, kBottomSide = 2, kLeftSide = 3, kRightSide = 4 };

// Command codes that exist only as marks in sheet cells.
enum SheetMarkCommand : std::uint8_t {
    kStruckOutBox = 2, // an unused time-out box: two horizontal lines
    kEmptyFoulBox = 3, // a foul box left empty at the game end: one line
    kGameEndMark = 4,  // running score: below the last score
    kStruckScore = 5,  // running score: the numbers after the game-end mark
    kClearMark = 7,    // empties the box it lands in
};

// The line of one side of a cell.
struct EdgeStyle
{
    platform::PenMode mode = platform::PenMode::Copy;
    platform::PenStyle style = platform::PenStyle::Solid;
    platform::TColor color = platform::clBlack;
    int width = 1;
    bool operator==(const EdgeStyle&) const = default;

    static EdgeStyle of(const platform::CanvasPen& pen)
    {
        return {pen.Mode, pen.Style, pen.Color, pen.Width};
    }
};

class SheetGridControl;

// One cell of a sheet. Kind, player, pop-up menu, background, action and period colour of an area
// are those of its anchor (first column, first row); sides and bounds are every cell's own.
struct TCell
{
    platform::StringGrid* grid = nullptr; // not owned
    SheetGridControl* owner = nullptr;
    EdgeStyle top;
    EdgeStyle bottom;
    EdgeStyle right;
    EdgeStyle left;
    GameAction action; // the mark the area shows; category 2 is none
    std::uint8_t kind = kLabelArea;
    std::int32_t firstColumn = 0;
    std::int32_t firstRow = 0;
    std::int32_t lastColumn = 0;
    std::int32_t lastRow = 0;
    TPlayer* player = nullptr;       // not owned
    QMenu* popup = nullptr;          // not owned
    platform::TColor background = 0; // 0: the owner's default
    std::uint8_t periodColour = kNone;
};

bool HasAction(const GameAction& action);

// A merged-cell layer over one score-sheet grid, with the painters of the score sheets. It never
// paints by itself: the owner's draw-cell handler calls the painters, which only read the model.
class SheetGridControl
{
public:
    // CreateSheetGrid: every cell its own area, all sides the given pen, no kind, player or mark.
    SheetGridControl(platform::StringGrid* grid, int columns, int rows, bool miniBasket,
                     const EdgeStyle& pen = {});
    SheetGridControl(const SheetGridControl&) = delete;
    SheetGridControl& operator=(const SheetGridControl&) = delete;

    void ClearSheetGrid(const EdgeStyle& edge);
    void MergeSheetCells(int firstColumn, int firstRow, int lastColumn, int lastRow);
    // The anchor cell of the area that holds the position; null outside the cells.
    TCell* SheetGridCellAt(int column, int row);
    const TCell* SheetGridCellAt(int column, int row) const;
    // This very cell (not its anchor); null outside.
    TCell* CellAt(int column, int row);
    const TCell* CellAt(int column, int row) const;
    bool Contains(int column, int row) const;
    void SheetGridArea(int& column, int& row) const;
    void SheetGridAreaBounds(QRect& rect, int column, int row) const;
    // The same for cells of other sizes than the live grid's (a picture of the sheet).
    void SheetGridAreaBounds(QRect& rect, int column, int row, const std::function<int(int)>& columnWidth,
                             int rowHeight) const;
    void SetSheetCellEdges(int column, int row, int side, const EdgeStyle& edge);
    void SetSheetAreaEdges(const platform::GridRect& area, const EdgeStyle& edge);
    static int GetSheetCellEdge(const TCell& cell, int side);
    void SetSheetAreaMark(int column, int row, std::uint8_t kind, TPlayer* player,
                          platform::TColor background);
    int GetSheetAreaKind(int column, int row) const; // -1 outside
    TPlayer* SheetGridPlayerAt(int column, int row) const;
    void SetSheetAreaPlayer(int column, int row, TPlayer* player);
    QMenu* GetSheetAreaPopup(int column, int row) const;
    void SetSheetAreaPopup(int column, int row, QMenu* menu);
    // With an action: a copy of it (period colour kept); with none: no mark, no period colour.
    static void SetSheetCellAction(TCell& cell, const GameAction* action);
    void ResetSheetColours(int column, int row);
    void ClearSheetColour(int index);
    void SetSheetCellColour(int column, int row, int index);
    // Every cell lets go of the player (its own and that of its mark).
    void ForgetPlayer(const TPlayer* player);

    // Painters, on any canvas: the live grid or a picture.
    void SheetGridDrawArea(int column, int row, const QRect& cellRect, platform::Canvas& canvas) const;
    void FitSheetCellFont(int column, int row, const QRect& rect, platform::Canvas& canvas) const;
    void SheetGridDrawText(int column, int row, const QRect& areaRect, platform::Canvas& canvas) const;
    void SheetGridDrawMark(int column, int row, platform::Canvas& canvas,
                           const QRect* areaRect = nullptr) const;
    void SheetGridDrawPeriodCross(int column, int row, const QRect* rect, int period,
                                  platform::Canvas& canvas) const;
    // A cell of the live grid as the sheets' draw-cell handlers paint it: its area filled (the area
    // of the grid's current cell highlighted, others in `background`), then sides, text and mark;
    // the team sheets draw the sides once more over the text. Returns the area's rectangle.
    QRect PaintGridCell(int column, int row, const QRect& cellRect, platform::Canvas& canvas,
                        platform::TColor background, bool sidesOverText) const;
    // As above without the highlight of the current cell, the area's rectangle given.
    void PaintAreaCell(int column, int row, const QRect& cellRect, const QRect& bounds,
                       platform::Canvas& canvas, platform::TColor background, bool sidesOverText) const;
    // Whether the cell is the last row of a score area, or the last column of a foul box, whose
    // line in a period's colour closes a period.
    bool ClosesBelow(int column, int row) const;
    bool ClosesRight(int column, int row) const;
    // The text SheetGridDrawText shows for an area, by its kind.
    QString AreaText(int column, int row) const;

    platform::StringGrid* grid; // not owned
    std::vector<TCell> cells;   // cell (c, r) is element r * columns + c
    std::int32_t columns;
    std::int32_t rows;
    std::uint8_t miniBasket;
    std::int32_t selectedColumn = -1;
    std::int32_t previousSelectedColumn = -1;
    std::int32_t selectedRow = -1;
    std::int32_t previousSelectedRow = -1;

private:
    QRect areaRect(int column, int row, const QRect* given) const;
    void widenToArea(QRect& rect, int column, int row, const std::function<int(int)>& columnWidth,
                     const std::function<int(int)>& rowHeight) const;
    void drawShotMark(const TCell& area, const QRect& rect, platform::Canvas& canvas) const;
    void drawFoulMark(const TCell& area, const QRect& rect, platform::Canvas& canvas) const;
};

// What a paint starts from and ends with: the grid canvas's font, pen and brush of the layout.
struct SavedCanvas
{
    platform::CanvasFont Font;
    platform::CanvasPen Pen;
    platform::CanvasBrush Brush;

    void applyTo(platform::Canvas& canvas) const;
};

// One area of the team sheet layout: its cells and its text.
struct SheetArea
{
    int firstColumn = 0;
    int firstRow = 0;
    int lastColumn = 0;
    int lastRow = 0;
    QString text;

    bool contains(int column, int row) const
    {
        return column >= firstColumn && column <= lastColumn && row >= firstRow && row <= lastRow;
    }
};

// The areas of the team sheet layout now built; both team sheets share it.
struct TeamSheetAreas
{
    bool miniBasket = false;
    int columns = 0;
    int rows = 0;
    SheetArea teamLabel;
    SheetArea teamName;
    SheetArea timeOutLabel;
    SheetArea timeOutBoxes; // one row of one-cell boxes
    std::vector<SheetArea> timeOutPeriodLabels;
    SheetArea nameHeader;
    SheetArea numberHeader;
    SheetArea playedHeader;
    SheetArea foulHeader;
    std::vector<SheetArea> playedSubHeaders;
    std::vector<SheetArea> foulSubHeaders;
    std::array<SheetArea, kSheetPlayerRows> rowNumbers;
    std::array<SheetArea, kSheetPlayerRows> names;
    std::array<SheetArea, kSheetPlayerRows> numbers;
    std::array<SheetArea, kSheetPlayerRows> played; // one-cell boxes
    std::array<SheetArea, kSheetPlayerRows> fouls;  // one-cell boxes
    SheetArea coachLabel;
    SheetArea headCoachName;
    SheetArea headCoachFouls;
    bool hasAssistant = false;
    SheetArea assistantLabel;
    SheetArea assistantName;
    SheetArea assistantFouls;
    SheetArea signature;
    std::array<SheetArea, 2> teamFoulTitles;
    std::array<SheetArea, 4> periodLabels;
    std::array<SheetArea, 4> teamFoulBoxes; // one column each; index = period index

    // The player row (0 to 14) of a grid row, or -1.
    int playerRowOf(int row) const;
};

TeamSheetAreas BuildTeamSheetAreas(bool miniBasket);

// A menu choice: the five bytes that an item names; every other byte is 255.
struct SheetChoice
{
    std::uint8_t category = kNone;
    std::uint8_t code = kNone;
    std::uint8_t freeThrows = kNone;
    std::uint8_t foulKind = kNone;
    std::uint8_t command = kNone;
};

// The target of the sheets' pop-up menus and of the marks placed from executed actions.
struct PendingTarget
{
    GameAction action; // side, key A/B = column/row, choice, player, period, control, grid
    QPoint popupPoint; // screen position at which the pending menus open
};

// Everything of the score sheets that the main window owns: the controls over its three sheet
// grids, their saved canvases, the layout table and the pending pop-up target.
class TeamGridControls
{
public:
    TeamGridControls();
    ~TeamGridControls();
    TeamGridControls(const TeamGridControls&) = delete;
    TeamGridControls& operator=(const TeamGridControls&) = delete;

    SheetGridControl* Team(int side) const;
    SheetGridControl* Run() const { return run.get(); }
    SavedCanvas& TeamCanvas(int side) { return teamCanvas[Index(side)]; }
    // Team A's sheet is the first, any other side's the second.
    static int Index(int side) { return side == kSideA ? 0 : 1; }

    std::array<std::unique_ptr<SheetGridControl>, 2> sheets; // team A, team B
    std::array<SavedCanvas, 2> teamCanvas;
    std::unique_ptr<SheetGridControl> run;
    SavedCanvas runCanvas;
    TeamSheetAreas areas;
    PendingTarget pending;
};

// --- team score-sheet grids ------------------------------------------------------------------------

// GridTeamA is team A's; any other grid team B's.
int SideOfTeamGrid(const THooptallyForm* form, const platform::StringGrid* grid);
platform::StringGrid* TeamGridOfSide(const THooptallyForm* form, int side);
TTeam* TeamOfSide(const THooptallyForm* form, int side);

// A sheet grid as the sheets need it: no fixed cells, no scroll bars, the sheet font, its widget
// exactly as large as its cells.
void PrepareSheetGrid(platform::StringGrid* grid);
void SizeSheetGrid(platform::StringGrid* grid, int columns, int rows, int cellSize);
void FitSheetGridWidget(platform::StringGrid* grid);
// The grid canvas's font, pen and brush as a layout leaves them.
SavedCanvas LayoutCanvas(const platform::StringGrid* grid);

void CreateTeamGrids(THooptallyForm* form);
void FreeTeamGrids(THooptallyForm* form);
void RedrawTeamGrids(THooptallyForm* form, bool refillA, bool refillB);
void BuildTeamSheetLayout(THooptallyForm* form, platform::StringGrid* grid, SheetGridControl* control,
                          SavedCanvas& saved);
void FillTeamGrid(THooptallyForm* form, TTeam* team);
// Puts the team's players into the fifteen rows and its coaches into the coach rows.
void ListTeamPlayers(THooptallyForm* form, TTeam* team);
void ShowTeamName(THooptallyForm* form, const QString& name, TTeam* team);
void TeamGridDrawCell(THooptallyForm* form, platform::StringGrid* grid, int col, int row, const QRect& rect);
// The period whose colour crosses a team-foul box; 255 when none, -1 when the grid has no team.
int TeamFoulBoxPeriod(THooptallyForm* form, int column, int row, const SheetGridControl* control,
                      const platform::StringGrid* grid);
// "Official" when the player stands in one of the team's fifteen name areas.
QString OfficialTextOfPlayer(const TPlayer* player, const TTeam* team);
// Players of the fifteen name areas who are on court or on the bench.
int CountListedPlayers(const TTeam* team);
// The player row (0 to 14) that shows the player, or -1.
int SheetRowOfPlayer(THooptallyForm* form, const TTeam* team, const TPlayer* player);
// Name and number of a player row show the player.
void PutPlayerInSheetRow(THooptallyForm* form, SheetGridControl* control, int index, TPlayer* player);
// A player row without player: the name area shows the text, the number nothing.
void EmptySheetRow(THooptallyForm* form, SheetGridControl* control, int index, const QString& nameText);
// The starter circle in the first played-period box of a player row, as the "ｽﾀｰﾀｰ" item puts it.
void PlaceStarterMark(THooptallyForm* form, SheetGridControl* control, int index, TPlayer* player);
// No box of the row of boxes holds a mark.
void ClearSheetBoxes(SheetGridControl* control, const SheetArea& boxes);

// --- marks and menus -------------------------------------------------------------------------------

void SetPopupTarget(THooptallyForm* form, int column, int row, TPlayer* player, SheetGridControl* control,
                    int period, int side);
// False only for a foul, which waits for its free throws.
bool ApplyPopupChoice(THooptallyForm* form, const SheetChoice& choice);
void ApplyFreeThrowChoice(THooptallyForm* form, std::uint8_t freeThrows);
void DrawPendingMark(THooptallyForm* form);
void SendPendingAction(THooptallyForm* form, GameAction action);
bool PopupAllowed(THooptallyForm* form, const SheetGridControl* control, int column, int row);
void OutlineFoulBox(THooptallyForm* form, GameAction action);
void CompactFoulBoxes(THooptallyForm* form, int firstColumn, int lastColumn, SheetGridControl* control,
                      int row);
void MarkPeriodEndOnTeamGrid(THooptallyForm* form, int period, platform::StringGrid* grid);
void CloseTimeOutBoxes(THooptallyForm* form, int period, int side);
void MarkGameEndOnTeamGrid(THooptallyForm* form, platform::StringGrid* grid);
void OnActionForTeamGrid(THooptallyForm* form, platform::Message& message);
void OnPlayerStatusChanged(THooptallyForm* form, platform::Message& message);
// Every sheet cell, menu item and the pending target drop their pointer to the player.
void ForgetPlayerOnTeamGrids(THooptallyForm* form, const TPlayer* player);

// Grid events of GridTeamA and GridTeamB.
void TeamGridClick(THooptallyForm* form, platform::StringGrid* grid);
void TeamGridKeyUp(THooptallyForm* form, platform::StringGrid* grid, int key);
void TeamGridKeyDown(THooptallyForm* form, platform::StringGrid* grid, int key);
void TeamGridMouseUp(THooptallyForm* form, platform::StringGrid* grid, Qt::MouseButton button, int x, int y);
void TeamGridDblClick(THooptallyForm* form, platform::StringGrid* grid);

// The pop-up menus of the sheets, children of the main window, and their handlers.
void CreateSheetMenus(THooptallyForm* form);
void personalClick(THooptallyForm* form);
void TechnicalClick(THooptallyForm* form);
void UnSportsManClick(THooptallyForm* form);
void DisqoryFoulClick(THooptallyForm* form);
void CoachTecFoulClick(THooptallyForm* form);
void CoachOtherFoulClick(THooptallyForm* form);
void N10Click(THooptallyForm* form);
void MenuItem3Click(THooptallyForm* form);
void N11Click(THooptallyForm* form);
void MenuItem4Click(THooptallyForm* form);
void GTimeOutClick(THooptallyForm* form);
void GStarterClick(THooptallyForm* form);
void PopClearClick(THooptallyForm* form);
void MenuItemCortIn(THooptallyForm* form);
void MenuItemCortOut(THooptallyForm* form);
void ReadFileClick(THooptallyForm* form);
void WriteFileClick(THooptallyForm* form);
void new1Click(THooptallyForm* form);
void N7Click(THooptallyForm* form);

} // namespace hooptally
