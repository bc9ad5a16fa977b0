// The team score sheets: the two layouts, filling them from the team records, painting a cell.
#include <algorithm>

#include <QLabel>
#include <QMenu>

#include "gamefile/GameFileFormat.h"
#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/Convert.h"
#include "platform/Fonts.h"
#include "platform/StringGrid.h"

namespace hooptally {

namespace {

constexpr int kTeamCellSize = 21;
constexpr int kLayoutFontPoints = 14;
constexpr int kNormalColumns = 20;
constexpr int kMiniColumns = 21;
constexpr int kTeamFoulBoxCount = 4;
const QString kSheetFontName = QStringLiteral("ＭＳ 明朝");
const QString kNamePlaceholder = QStringLiteral("なまえ ");

SheetArea cellArea(int column, int row, const QString& text = {})
{
    return SheetArea{column, row, column, row, text};
}

SheetArea rowArea(int firstColumn, int lastColumn, int row, const QString& text = {})
{
    return SheetArea{firstColumn, row, lastColumn, row, text};
}

platform::GridRect gridRect(const SheetArea& area)
{
    return platform::GridRect{area.firstColumn, area.firstRow, area.lastColumn, area.lastRow};
}

// Writes the area's text, merges it and gives it kind and background.
void placeArea(platform::StringGrid* grid, SheetGridControl* control, const SheetArea& area,
               std::uint8_t kind, platform::TColor background)
{
    grid->SetCells(area.firstColumn, area.firstRow, area.text);
    control->MergeSheetCells(area.firstColumn, area.firstRow, area.lastColumn, area.lastRow);
    control->SetSheetAreaMark(area.firstColumn, area.firstRow, kind, nullptr, background);
}

// Every cell of a row of one-cell boxes gets a kind.
void markBoxes(SheetGridControl* control, const SheetArea& boxes, std::uint8_t kind)
{
    for (int row = boxes.firstRow; row <= boxes.lastRow; ++row) {
        for (int column = boxes.firstColumn; column <= boxes.lastColumn; ++column)
            control->SetSheetAreaMark(column, row, kind, nullptr, 0);
    }
}

void setBoxesPopup(SheetGridControl* control, const SheetArea& boxes, QMenu* menu)
{
    for (int row = boxes.firstRow; row <= boxes.lastRow; ++row) {
        for (int column = boxes.firstColumn; column <= boxes.lastColumn; ++column)
            control->SetSheetAreaPopup(column, row, menu);
    }
}

} // namespace

int SideOfTeamGrid(const THooptallyForm* form, const platform::StringGrid* grid)
{
    return grid == form->GridTeamA ? kSideA : kSideB;
}

platform::StringGrid* TeamGridOfSide(const THooptallyForm* form, int side)
{
    return side == kSideA ? form->GridTeamA : form->GridTeamB;
}

TTeam* TeamOfSide(const THooptallyForm* form, int side)
{
    return side == kSideA ? form->TeamA() : form->TeamB();
}

// Each area is placed from the one before it: the time-out label right of the team name, the
// headers below, the player rows below the headers, the coach rows below them, the team-foul panel
// one column right of the foul boxes.
TeamSheetAreas BuildTeamSheetAreas(bool miniBasket)
{
    TeamSheetAreas a;
    a.miniBasket = miniBasket;
    a.columns = miniBasket ? kMiniColumns : kNormalColumns;
    a.rows = kSheetPlayerRows + (miniBasket ? 6 : 5);
    const int titleRows = miniBasket ? 3 : 2;
    const int nameLast = miniBasket ? 6 : 8;
    const int numberColumn = nameLast + 1;
    const int playedFirst = numberColumn + 1;
    const int playedLast = playedFirst + (miniBasket ? 3 : 0);
    const int foulFirst = playedLast + 1;
    const int foulLast = foulFirst + 4;
    const int timeOutCount = miniBasket ? 5 : 7;
    const int timeOutFirst = foulLast - timeOutCount + 1;

    a.teamLabel = SheetArea{0, 0, 2, titleRows - 1, {}};
    a.teamName = SheetArea{3, 0, timeOutFirst - 1, titleRows - 1, {}};
    a.timeOutLabel = rowArea(timeOutFirst, foulLast, 0,
                             miniBasket ? QStringLiteral("ﾀｲﾑｱｳﾄ") : QStringLiteral("Time Out"));
    a.timeOutBoxes = rowArea(timeOutFirst, foulLast, titleRows - 1);
    if (miniBasket) {
        const QString labels[] = {QStringLiteral("前"), QStringLiteral("後"), QStringLiteral("延"),
                                  QStringLiteral("延")};
        for (int i = 0; i < 4; ++i)
            a.timeOutPeriodLabels.push_back(cellArea(timeOutFirst + i, 1, labels[i]));
    }

    const int headerTop = titleRows;
    const int headerBottom = miniBasket ? headerTop + 1 : headerTop;
    a.nameHeader = SheetArea{0, headerTop, nameLast, headerBottom,
                             miniBasket ? QStringLiteral("選 手 氏 名") : QStringLiteral("Name Of Players")};
    a.numberHeader = SheetArea{numberColumn, headerTop, numberColumn, headerBottom, QStringLiteral("No.")};
    a.playedHeader = rowArea(playedFirst, playedLast, headerTop,
                             miniBasket ? QStringLiteral("出場時限") : QStringLiteral("Pl･in"));
    a.foulHeader = rowArea(foulFirst, foulLast, headerTop,
                           miniBasket ? QStringLiteral("ファウル") : QStringLiteral("Fouls"));
    if (miniBasket) {
        const QString quarters[] = {QStringLiteral("①"), QStringLiteral("②"), QStringLiteral("③"),
                                    QStringLiteral("④")};
        for (int i = 0; i < 4; ++i)
            a.playedSubHeaders.push_back(cellArea(playedFirst + i, headerBottom, quarters[i]));
        const QString boxes[] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３"),
                                 QStringLiteral("４"), QStringLiteral("５")};
        for (int i = 0; i < 5; ++i)
            a.foulSubHeaders.push_back(cellArea(foulFirst + i, headerBottom, boxes[i]));
    }

    const int firstPlayerRow = headerBottom + 1;
    for (int i = 0; i < kSheetPlayerRows; ++i) {
        const int row = firstPlayerRow + i;
        a.rowNumbers[i] = cellArea(0, row, QString::number(i + 1));
        a.names[i] = rowArea(1, nameLast, row, kNamePlaceholder + QString::number(i + 1));
        a.numbers[i] = cellArea(numberColumn, row);
        a.played[i] = rowArea(playedFirst, playedLast, row);
        a.fouls[i] = rowArea(foulFirst, foulLast, row);
    }

    const int coachRow = firstPlayerRow + kSheetPlayerRows;
    a.coachLabel = rowArea(0, 2, coachRow, miniBasket ? QStringLiteral("コーチ：") : QStringLiteral("COACH"));
    a.headCoachName = rowArea(3, 8, coachRow);
    a.headCoachFouls = rowArea(13, 15, coachRow);
    a.hasAssistant = !miniBasket;
    if (a.hasAssistant) {
        a.assistantLabel = rowArea(0, 2, coachRow + 1, QStringLiteral("ACOACH"));
        a.assistantName = rowArea(3, 8, coachRow + 1);
        a.assistantFouls = rowArea(13, 15, coachRow + 1);
    }
    a.signature =
        SheetArea{9, coachRow, 12, a.hasAssistant ? coachRow + 1 : coachRow, QStringLiteral("signature")};

    const int panel = foulLast + 2;
    a.teamFoulTitles[0] = rowArea(panel, panel + 1, headerTop, QStringLiteral("チーム"));
    a.teamFoulTitles[1] = rowArea(panel, panel + 1, headerTop + 1, QStringLiteral("ファウル"));
    const int firstLabelRow = headerTop + 3;
    const int labelRows[] = {firstLabelRow, firstLabelRow + kTeamFoulBoxCount + 2};
    const QString periodTexts[] = {QStringLiteral("１Ｑ"), QStringLiteral("２Ｑ"), QStringLiteral("３Ｑ"),
                                   QStringLiteral("４Ｑ")};
    for (int period = 0; period < 4; ++period) {
        const int column = panel + period % 2;
        const int labelRow = labelRows[period / 2];
        a.periodLabels[period] = cellArea(column, labelRow, periodTexts[period]);
        a.teamFoulBoxes[period] = SheetArea{column, labelRow + 1, column, labelRow + kTeamFoulBoxCount, {}};
    }
    return a;
}

void SizeSheetGrid(platform::StringGrid* grid, int columns, int rows, int cellSize)
{
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetColCount(columns);
    grid->SetRowCount(rows);
    grid->SetDefaultColWidth(cellSize);
    grid->SetDefaultRowHeight(cellSize);
    FitSheetGridWidget(grid);
}

void FitSheetGridWidget(platform::StringGrid* grid)
{
    int width = 0;
    for (int column = 0; column < grid->ColCount(); ++column)
        width += grid->ColWidths(column) + grid->GridLineWidth();
    int height = 0;
    for (int row = 0; row < grid->RowCount(); ++row)
        height += grid->RowHeights(row) + grid->GridLineWidth();
    const int frame = 2 * grid->frameWidth();
    grid->setFixedSize(width + frame, height + frame);
}

void PrepareSheetGrid(platform::StringGrid* grid)
{
    grid->setFont(platform::makeFont(kSheetFontName, kLayoutFontPoints));
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->SetOptions(platform::goVertLine | platform::goHorzLine);
}

SavedCanvas LayoutCanvas(const platform::StringGrid* grid)
{
    SavedCanvas saved;
    saved.Font = platform::CanvasFont::fromQFont(grid->font(), platform::clBlack);
    saved.Font.Name = kSheetFontName;
    saved.Font.Size = kLayoutFontPoints;
    saved.Pen = platform::CanvasPen();
    saved.Brush = platform::CanvasBrush{platform::clWindow(), platform::BrushStyle::Solid};
    return saved;
}

namespace {

// The controls over both team grids in the size of the layout: the mini-basket flag is fixed here.
void createTeamControls(THooptallyForm* form, bool miniBasket)
{
    TeamGridControls& grids = form->TeamGrids();
    const TeamSheetAreas layout = BuildTeamSheetAreas(miniBasket);
    for (const int side : kSides) {
        platform::StringGrid* grid = TeamGridOfSide(form, side);
        PrepareSheetGrid(grid);
        SizeSheetGrid(grid, layout.columns, layout.rows, kTeamCellSize);
        SavedCanvas& saved = grids.TeamCanvas(side);
        saved = LayoutCanvas(grid);
        grids.sheets[TeamGridControls::Index(side)] = std::make_unique<SheetGridControl>(
            grid, layout.columns, layout.rows, miniBasket, EdgeStyle::of(saved.Pen));
        grid->SetTag(0);
    }
    grids.areas = layout;
}

} // namespace

void CreateTeamGrids(THooptallyForm* form)
{
    createTeamControls(form, Option() && Option()->MiniBasket());
}

void FreeTeamGrids(THooptallyForm* form)
{
    TeamGridControls& grids = form->TeamGrids();
    for (auto& control : grids.sheets)
        control.reset();
    grids.pending = PendingTarget{};
}

void RedrawTeamGrids(THooptallyForm* form, bool refillA, bool refillB)
{
    TeamGridControls& grids = form->TeamGrids();
    // A changed layout option gets grids of its own size, never a layout on the other's grid.
    const bool miniBasket = Option() && Option()->MiniBasket();
    if (!grids.Team(kSideA) || !grids.Team(kSideB) ||
        grids.Team(kSideA)->miniBasket != (miniBasket ? 1 : 0)) {
        grids.pending = PendingTarget{};
        createTeamControls(form, miniBasket);
    }
    for (const int side : kSides) {
        platform::StringGrid* grid = TeamGridOfSide(form, side);
        SheetGridControl* control = grids.Team(side);
        grid->SetTag(0);
        control->ClearSheetGrid(EdgeStyle::of(grids.TeamCanvas(side).Pen));
        BuildTeamSheetLayout(form, grid, control, grids.TeamCanvas(side));
        if (side == kSideA ? refillA : refillB)
            FillTeamGrid(form, TeamOfSide(form, side));
    }
}

void BuildTeamSheetLayout(THooptallyForm* form, platform::StringGrid* grid, SheetGridControl* control,
                          SavedCanvas& saved)
{
    if (!grid || !control)
        return;
    TeamSheetAreas& a = form->TeamGrids().areas;
    a = BuildTeamSheetAreas(control->miniBasket != 0);
    const int side = SideOfTeamGrid(form, grid);
    const platform::TColor teamColour = GetTeamColor(side);

    SheetArea label = a.teamLabel;
    label.text = side == kSideA ? QStringLiteral("チームＡ") : QStringLiteral("チームＢ");
    placeArea(grid, control, label, kLabelArea, teamColour);
    placeArea(grid, control, a.teamName, kTeamNameArea, teamColour);
    placeArea(grid, control, a.timeOutLabel, kLabelArea, teamColour);
    for (const SheetArea& periodLabel : a.timeOutPeriodLabels)
        placeArea(grid, control, periodLabel, kLabelArea, teamColour);
    markBoxes(control, a.timeOutBoxes, kTimeOutBox);

    for (const SheetArea* header : {&a.nameHeader, &a.numberHeader, &a.playedHeader, &a.foulHeader})
        placeArea(grid, control, *header, kLabelArea, teamColour);
    for (const auto* subHeaders : {&a.playedSubHeaders, &a.foulSubHeaders}) {
        for (const SheetArea& subHeader : *subHeaders)
            placeArea(grid, control, subHeader, kLabelArea, teamColour);
    }
    for (int i = 0; i < kSheetPlayerRows; ++i) {
        placeArea(grid, control, a.rowNumbers[i], kLabelArea, teamColour);
        placeArea(grid, control, a.names[i], kNameArea, 0);
        placeArea(grid, control, a.numbers[i], kNumberArea, 0);
        markBoxes(control, a.fouls[i], kFoulBox);
    }
    placeArea(grid, control, a.coachLabel, kLabelArea, 0);
    placeArea(grid, control, a.headCoachName, kHeadCoachName, 0);
    if (a.hasAssistant) {
        placeArea(grid, control, a.assistantLabel, kLabelArea, 0);
        placeArea(grid, control, a.assistantName, kAssistantCoachName, 0);
    }
    placeArea(grid, control, a.signature, kLabelArea, 0);
    markBoxes(control, a.headCoachFouls, kCoachFoulBox);
    if (a.hasAssistant)
        markBoxes(control, a.assistantFouls, kCoachFoulBox);
    for (const SheetArea& played : a.played)
        markBoxes(control, played, kPlayedBox);

    // The team-foul panel stands apart: no lines right of the sheet but round its labels and boxes.
    const EdgeStyle pen = EdgeStyle::of(saved.Pen);
    const EdgeStyle invisible{pen.mode, pen.style, platform::clWindow(), 0};
    const int firstHidden = a.fouls[0].lastColumn + 1;
    for (int row = 0; row < control->rows; ++row) {
        for (const int edge : {kTopSide, kBottomSide, kRightSide})
            control->SetSheetCellEdges(firstHidden, row, edge, invisible);
        for (int column = firstHidden + 1; column < control->columns; ++column)
            control->SetSheetCellEdges(column, row, kAllSides, invisible);
    }
    for (const SheetArea& title : a.teamFoulTitles) {
        placeArea(grid, control, title, kLabelArea, teamColour);
        control->SetSheetAreaEdges(gridRect(title), pen);
    }
    for (const SheetArea& periodLabel : a.periodLabels) {
        placeArea(grid, control, periodLabel, kLabelArea, teamColour);
        control->SetSheetAreaEdges(gridRect(periodLabel), pen);
    }
    for (const SheetArea& boxes : a.teamFoulBoxes) {
        for (int row = boxes.firstRow; row <= boxes.lastRow; ++row) {
            grid->SetCells(boxes.firstColumn, row, QString::number(row - boxes.firstRow + 1));
            control->SetSheetAreaMark(boxes.firstColumn, row, kTeamFoulBox, nullptr, 0);
        }
        control->SetSheetAreaEdges(gridRect(boxes), pen);
    }

    setBoxesPopup(control, a.timeOutBoxes, form->PopTimeOut);
    for (int i = 0; i < kSheetPlayerRows; ++i) {
        const SheetArea& played = a.played[i];
        control->SetSheetAreaPopup(played.firstColumn, played.firstRow, form->PopStarter);
        if (a.miniBasket)
            setBoxesPopup(control, rowArea(played.firstColumn + 1, played.lastColumn, played.firstRow),
                          form->PopCortInOut);
        setBoxesPopup(control, a.fouls[i], form->PopupFoul);
    }
    setBoxesPopup(control, a.headCoachFouls, form->PopupCoach);
    if (a.hasAssistant)
        setBoxesPopup(control, a.assistantFouls, form->PopupCoach);
    setBoxesPopup(control, a.teamName, form->PopupFile);

    saved = LayoutCanvas(grid);
}

void FillTeamGrid(THooptallyForm* form, TTeam* team)
{
    if (!team)
        return;
    ListTeamPlayers(form, team);
    ShowTeamName(form, team->name, team);
    RefreshIfEnabled(TeamGridOfSide(form, team->side));
}

namespace {

void putCoach(SheetGridControl* control, const SheetArea& area, std::uint8_t kind, TPlayer* coach)
{
    control->SetSheetAreaMark(area.firstColumn, area.firstRow, kind, coach, 0);
}

// The reset clocked every starter in; one off the list was never on court, so that reading must not count.
void putOffTheList(TPlayer* player)
{
    player->status = kNotListed;
    player->leftOffTheList = player->starter == 1;
    player->DropOpenCourtTime();
}

} // namespace

void ListTeamPlayers(THooptallyForm* form, TTeam* team)
{
    if (!team)
        return;
    TeamGridControls& grids = form->TeamGrids();
    SheetGridControl* control = grids.Team(team->side);
    if (!control)
        return;
    const TeamSheetAreas& a = grids.areas;
    // The fill depends on the team alone, never on what an earlier fill left in the rows.
    for (int i = 0; i < kSheetPlayerRows; ++i) {
        EmptySheetRow(form, control, i, a.names[i].text);
        ClearSheetBoxes(control, a.played[i]);
        ClearSheetBoxes(control, a.fouls[i]);
    }
    putCoach(control, a.headCoachName, kHeadCoachName, nullptr);
    if (a.hasAssistant)
        putCoach(control, a.assistantName, kAssistantCoachName, nullptr);

    std::vector<TPlayer*> listed;
    for (int i = 0; i < team->Count(); ++i) {
        TPlayer* player = team->PlayerAt(i);
        if (player->status == kBlankRow)
            continue;
        // Coaches stand in the coach rows whatever the official list says.
        if (player->IsCoach()) {
            if (player->status == kHeadCoach)
                putCoach(control, a.headCoachName, kHeadCoachName, player);
            else if (a.hasAssistant)
                putCoach(control, a.assistantName, kAssistantCoachName, player);
            continue;
        }
        if (team->loaded == 1) {
            // A roster just read lists the players its file marked "Official".
            if (player->official != 1) {
                putOffTheList(player);
                continue;
            }
        } else if (player->status == kNotListed) {
            continue;
        }
        listed.push_back(player);
    }
    // Rows in the order of the player IDs: the roster's order is re-sorted by status before every
    // replay, the IDs stay, so a replay or a reopened file gives every player the same row.
    std::stable_sort(listed.begin(), listed.end(),
                     [](const TPlayer* a, const TPlayer* b) { return a->id < b->id; });
    // A full sheet leaves the rest off the official list: only a sheet row is written as official, so
    // one kept listed (a starter on court) would come back unlisted, without his court time.
    for (std::size_t i = kSheetPlayerRows; i < listed.size(); ++i)
        putOffTheList(listed[i]);
    for (int row = 0; row < std::min<int>(kSheetPlayerRows, static_cast<int>(listed.size())); ++row) {
        TPlayer* player = listed[row];
        player->leftOffTheList = false;
        PutPlayerInSheetRow(form, control, row, player);
        if (player->StarterText() == QStringLiteral("Starter")) {
            PlaceStarterMark(form, control, row, player);
        } else {
            if (player->status != kOnCourt)
                player->status = kOnBench;
        }
    }
    team->loaded = 0;
    RefreshIfEnabled(TeamGridOfSide(form, team->side));
}

void PutPlayerInSheetRow(THooptallyForm* form, SheetGridControl* control, int index, TPlayer* player)
{
    const TeamSheetAreas& a = form->TeamGrids().areas;
    if (index < 0 || index >= kSheetPlayerRows || !player)
        return;
    // The number and name of the player's display row, without building the whole row.
    const SheetArea& name = a.names[index];
    const SheetArea& number = a.numbers[index];
    control->grid->SetCells(number.firstColumn, number.firstRow, player->number);
    control->grid->SetCells(name.firstColumn, name.firstRow, player->name);
    control->SetSheetAreaMark(name.firstColumn, name.firstRow, kNameArea, player, 0);
    control->SetSheetAreaMark(number.firstColumn, number.firstRow, kNumberArea, player, 0);
}

void EmptySheetRow(THooptallyForm* form, SheetGridControl* control, int index, const QString& nameText)
{
    const TeamSheetAreas& a = form->TeamGrids().areas;
    if (index < 0 || index >= kSheetPlayerRows)
        return;
    const SheetArea& name = a.names[index];
    const SheetArea& number = a.numbers[index];
    control->grid->SetCells(name.firstColumn, name.firstRow, nameText);
    control->grid->SetCells(number.firstColumn, number.firstRow, QString());
    control->SetSheetAreaMark(name.firstColumn, name.firstRow, kNameArea, nullptr, 0);
    control->SetSheetAreaMark(number.firstColumn, number.firstRow, kNumberArea, nullptr, 0);
}

void PlaceStarterMark(THooptallyForm* form, SheetGridControl* control, int index, TPlayer* player)
{
    if (index < 0 || index >= kSheetPlayerRows || !player || !player->team)
        return;
    const SheetArea& played = form->TeamGrids().areas.played[index];
    SetPopupTarget(form, played.firstColumn, played.firstRow, player, control, kNone, player->team->side);
    ApplyPopupChoice(form, SheetChoice{kPlayerAction, kSetStarter});
}

void ClearSheetBoxes(SheetGridControl* control, const SheetArea& boxes)
{
    for (int row = boxes.firstRow; row <= boxes.lastRow; ++row) {
        for (int column = boxes.firstColumn; column <= boxes.lastColumn; ++column) {
            if (TCell* box = control->SheetGridCellAt(column, row))
                SheetGridControl::SetSheetCellAction(*box, nullptr);
        }
    }
}

void ShowTeamName(THooptallyForm* form, const QString& name, TTeam* team)
{
    if (!team)
        return;
    const TeamSheetAreas& a = form->TeamGrids().areas;
    platform::StringGrid* grid = TeamGridOfSide(form, team->side);
    grid->SetCells(a.teamName.firstColumn, a.teamName.firstRow, name);
    form->ShowNameInLabel(team->side == kSideA ? form->TeamAName : form->TeamBName, name);
    RefreshIfEnabled(grid);
}

void TeamGridDrawCell(THooptallyForm* form, platform::StringGrid* grid, int col, int row, const QRect& rect)
{
    TeamGridControls& grids = form->TeamGrids();
    const int side = SideOfTeamGrid(form, grid);
    const SheetGridControl* control = grids.Team(side);
    platform::Canvas* canvas = grid->GridCanvas();
    if (!control || !canvas || !control->Contains(col, row))
        return;
    const SavedCanvas& saved = grids.TeamCanvas(side);
    saved.applyTo(*canvas);
    const TCell& area = *control->SheetGridCellAt(col, row);
    platform::TColor back = platform::clWindow();
    if (area.background != 0) {
        back = area.background;
    } else if (area.player && area.player->status == kOnCourt) {
        // Players on court light up in their team's colour.
        back = GetTeamColor(area.player->team ? area.player->team->side : side);
    }
    const QRect bounds = control->PaintGridCell(col, row, rect, *canvas, back, true);
    const int period = TeamFoulBoxPeriod(form, col, row, control, grid);
    if (period >= 0 && period != kNone)
        control->SheetGridDrawPeriodCross(col, row, &bounds, period, *canvas);
    saved.applyTo(*canvas);
}

int TeamFoulBoxPeriod(THooptallyForm* form, int column, int row, const SheetGridControl* control,
                      const platform::StringGrid* grid)
{
    const TTeam* team = form && grid ? GetTeamOfGrid(grid) : nullptr;
    if (!team || !control)
        return -1;
    if (control->GetSheetAreaKind(column, row) != kTeamFoulBox)
        return kNone;
    const auto& boxes = form->TeamGrids().areas.teamFoulBoxes;
    for (int period = 0; period < static_cast<int>(boxes.size()); ++period) {
        if (!boxes[period].contains(column, row))
            continue;
        const int number = platform::StrToIntDef(grid->Cells(column, row), 0);
        return number >= 1 && team->TeamFouls(period) >= number ? period : kNone;
    }
    return kNone;
}

int SheetRowOfPlayer(THooptallyForm* form, const TTeam* team, const TPlayer* player)
{
    const SheetGridControl* control = form && team ? form->TeamGrids().Team(team->side) : nullptr;
    if (!control || !player)
        return -1;
    const TeamSheetAreas& a = form->TeamGrids().areas;
    for (int i = 0; i < kSheetPlayerRows; ++i) {
        if (control->SheetGridPlayerAt(a.names[i].firstColumn, a.names[i].firstRow) == player)
            return i;
    }
    return -1;
}

QString OfficialTextOfPlayer(const TPlayer* player, const TTeam* team)
{
    // A row held by an unlisted player is a free row (a foul puts him there without listing him):
    // written as official, he would come back listed, and a starter on court. So would a starter left
    // off the list at the start whom a later action listed.
    return player && player->status != kNotListed && !player->leftOffTheList &&
                   SheetRowOfPlayer(MainForm(), team, player) >= 0
               ? gamefile::kOfficialText
               : QString();
}

int CountListedPlayers(const TTeam* team)
{
    THooptallyForm* form = MainForm();
    const SheetGridControl* control = form && team ? form->TeamGrids().Team(team->side) : nullptr;
    if (!control)
        return 0;
    int count = 0;
    for (const SheetArea& name : form->TeamGrids().areas.names) {
        const TPlayer* player = control->SheetGridPlayerAt(name.firstColumn, name.firstRow);
        if (player && (player->status == kOnCourt || player->status == kOnBench))
            ++count;
    }
    return count;
}

} // namespace hooptally
