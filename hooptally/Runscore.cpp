#include "hooptally/Runscore.h"

#include <memory>

#include <QMenu>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/StringGrid.h"

namespace hooptally {

namespace {

constexpr int kRunColumns = 19;
constexpr int kRunRows = 41; // the header row and forty points
constexpr int kRunCellSize = 25;
constexpr int kSpacerWidth = 10;
constexpr int kBlockPoints = 40;
constexpr int kBlocks = 4;
constexpr int kBlockColumns = 5; // mark and number of team A, number and mark of team B, spacer
constexpr platform::TColor kNumberBackground = 0xD8E9EC;
constexpr platform::TColor kSpacerBackground = 0xACFFFF;

bool isSpacer(int column)
{
    return column % kBlockColumns == kBlockColumns - 1;
}

// The side whose columns hold the column: team A left of a block's middle, team B right of it.
int sideOfColumn(int column)
{
    if (column < 0 || column >= kRunColumns || isSpacer(column))
        return 0;
    return column % kBlockColumns < 2 ? kSideA : kSideB;
}

int numberColumnOf(int side, int markColumn)
{
    return side == kSideA ? markColumn + 1 : markColumn - 1;
}

TPlayer* playerOfItem(const QAction* item)
{
    return item ? static_cast<TPlayer*>(item->data().value<void*>()) : nullptr;
}

} // namespace

void CreateRunningScore(THooptallyForm* form)
{
    TeamGridControls& grids = form->TeamGrids();
    platform::StringGrid* grid = form->GridRun;
    PrepareSheetGrid(grid);
    SizeSheetGrid(grid, kRunColumns, kRunRows, kRunCellSize);
    grids.runCanvas = LayoutCanvas(grid);
    grids.run = std::make_unique<SheetGridControl>(
        grid, kRunColumns, kRunRows, Option() && Option()->MiniBasket(), EdgeStyle::of(grids.runCanvas.Pen));
    BuildRunningScoreLayout(form);
}

void FreeRunningScore(THooptallyForm* form)
{
    TeamGridControls& grids = form->TeamGrids();
    if (grids.pending.action.sheet == grids.run.get())
        grids.pending = PendingTarget{};
    grids.run.reset();
    if (form->PopupMember)
        form->PopupMember->clear();
}

void ResetRunningScore(THooptallyForm* form)
{
    TeamGridControls& grids = form->TeamGrids();
    if (!grids.run)
        return;
    grids.run->ClearSheetGrid(EdgeStyle::of(grids.runCanvas.Pen));
    BuildRunningScoreLayout(form);
}

void BuildRunningScoreLayout(THooptallyForm* form)
{
    TeamGridControls& grids = form->TeamGrids();
    SheetGridControl* control = grids.run.get();
    platform::StringGrid* grid = form->GridRun;
    if (!control)
        return;
    for (int block = 0; block + 1 < kBlocks; ++block)
        grid->SetColWidths(block * kBlockColumns + kBlockColumns - 1, kSpacerWidth);
    FitSheetGridWidget(grid);
    for (int row = 0; row < kRunRows; ++row) {
        for (int column = 0; column < kRunColumns; ++column)
            grid->SetCells(column, row, QString());
    }
    grids.runCanvas = LayoutCanvas(grid);
    for (int block = 0; block < kBlocks; ++block) {
        const int first = block * kBlockColumns;
        grid->SetCells(first, 0, QStringLiteral("Ａ"));
        control->MergeSheetCells(first, 0, first + 1, 0);
        control->SetSheetAreaMark(first, 0, kLabelArea, nullptr, GetTeamColor(kSideA));
        grid->SetCells(first + 2, 0, QStringLiteral("Ｂ"));
        control->MergeSheetCells(first + 2, 0, first + 3, 0);
        control->SetSheetAreaMark(first + 2, 0, kLabelArea, nullptr, GetTeamColor(kSideB));
        for (int row = 1; row < kRunRows; ++row) {
            const QString points = QString::number(block * kBlockPoints + row);
            for (const int column : {first + 1, first + 2}) {
                grid->SetCells(column, row, points);
                control->SetSheetAreaMark(column, row, kScoreNumberColumn, nullptr, kNumberBackground);
            }
            for (const int column : {first, first + 3})
                control->SetSheetAreaMark(column, row, kScorerColumn, nullptr, 0);
        }
        if (block + 1 < kBlocks) {
            for (int row = 0; row < kRunRows; ++row)
                control->SetSheetAreaMark(first + kBlockColumns - 1, row, kLabelArea, nullptr,
                                          kSpacerBackground);
        }
    }
}

void RunningScorePlace(int side, const TTeam* team, int& column, int& row)
{
    const int points = team ? team->TeamPoints(-1) : 0;
    int blockColumn = 0;
    row = 0;
    if (points > 0) {
        row = points % kBlockPoints == 0 ? kBlockPoints : points % kBlockPoints;
        blockColumn = kBlockColumns * ((points - 1) / kBlockPoints);
    }
    column = side == kSideA ? blockColumn : blockColumn + 3;
}

void OnScoreMarkMessage(THooptallyForm* form, platform::Message& message)
{
    const auto notice = platform::TakeRecord<ScoreMarkNotice>(message);
    SheetGridControl* control = form->TeamGrids().Run();
    if (!notice || !notice->player || !notice->player->team || !control)
        return;
    const bool made =
        notice->code == kTwoPointMade || notice->code == kThreePointMade || notice->code == kFreeThrowMade;
    if (notice->category == kPlayerAction && made) {
        const int side = notice->player->team->side;
        int column = 0;
        int row = 0;
        RunningScorePlace(side, notice->player->team, column, row);
        // Past 160 points the sheet has no room: such a score leaves no mark.
        if (row > 0 && control->Contains(column, row)) {
            const SheetChoice choice{notice->category, notice->code, notice->freeThrows, notice->foulKind,
                                     notice->command};
            for (const int target : {column, numberColumnOf(side, column)}) {
                SetPopupTarget(form, target, row, notice->player, control, notice->period, side);
                ApplyPopupChoice(form, choice);
            }
        }
    }
    // The score panel is the WM_APP+8 receiver's to update.
}

void MarkPeriodEndOnRunningScore(THooptallyForm* form, int period)
{
    SheetGridControl* control = form->TeamGrids().Run();
    if (!control || period < 0 || period >= kMaxPeriods)
        return;
    control->ClearSheetColour(period);
    for (const int side : kSides) {
        int column = 0;
        int row = 0;
        RunningScorePlace(side, TeamOfSide(form, side), column, row);
        // Without points the index lands on the team's header, which shows nothing.
        control->SetSheetCellColour(column, row, period);
        control->SetSheetCellColour(numberColumnOf(side, column), row, period);
    }
    RefreshIfEnabled(form->GridRun);
}

void MarkGameEndOnRunningScore(THooptallyForm* form)
{
    SheetGridControl* control = form->TeamGrids().Run();
    if (!control)
        return;
    for (const int side : kSides) {
        int column = 0;
        int row = 0;
        RunningScorePlace(side, TeamOfSide(form, side), column, row);
        // The cell below the last score; after row 40 the first row of the next block.
        ++row;
        if (row > kBlockPoints) {
            row = 1;
            column += kBlockColumns;
        }
        if (!control->Contains(column, row))
            continue;
        for (int r = row; r <= kBlockPoints; ++r) {
            GameAction mark;
            mark.side = side;
            mark.keyA = column;
            mark.keyB = r;
            mark.category = kCommand;
            mark.command = r == row ? kGameEndMark : kStruckScore;
            SheetGridControl::SetSheetCellAction(*control->SheetGridCellAt(column, r), &mark);
        }
    }
    RefreshIfEnabled(form->GridRun);
}

bool IsRunSpacerColumn(int column)
{
    return isSpacer(column);
}

void RunningScoreDrawCell(THooptallyForm* form, int col, int row, const QRect& rect)
{
    TeamGridControls& grids = form->TeamGrids();
    const SheetGridControl* control = grids.Run();
    platform::StringGrid* grid = form->GridRun;
    platform::Canvas* canvas = grid->GridCanvas();
    if (!control || !canvas || !control->Contains(col, row))
        return;
    grids.runCanvas.applyTo(*canvas);
    const TCell& area = *control->SheetGridCellAt(col, row);
    control->PaintGridCell(col, row, rect, *canvas,
                           area.background != 0 ? area.background : platform::clWindow(), false);
    grids.runCanvas.applyTo(*canvas);
}

void RunningScoreClick(THooptallyForm* form)
{
    if (SheetGridControl* control = form->TeamGrids().Run()) {
        control->previousSelectedColumn = control->selectedColumn;
        control->previousSelectedRow = control->selectedRow;
        control->selectedColumn = form->GridRun->Col();
        control->selectedRow = form->GridRun->Row();
    }
    form->GridRun->Invalidate();
}

void RunningScoreMouseUp(THooptallyForm* form, Qt::MouseButton button, int x, int y)
{
    SheetGridControl* control = form->TeamGrids().Run();
    platform::StringGrid* grid = form->GridRun;
    if (button != Qt::RightButton || !control)
        return;
    int column = -1;
    int row = -1;
    grid->MouseToCell(x, y, column, row);
    const int side = control->Contains(column, row) ? sideOfColumn(column) : 0;
    if (side == 0)
        return;
    QMenu* menu = form->PopupMember;
    menu->clear();
    const TTeam* team = TeamOfSide(form, side);
    for (int i = 0; i < team->Count(); ++i) {
        TPlayer* player = team->PlayerAt(i);
        if (player->status != kOnCourt)
            continue;
        QAction* item = menu->addAction(player->name + QLatin1Char('(') + player->number + QLatin1Char(')'));
        item->setData(QVariant::fromValue(static_cast<void*>(player)));
        QObject::connect(item, &QAction::triggered, form,
                         [form, item] { RunningScorePlayerChosen(form, item); });
    }
    if (menu->isEmpty())
        return;
    SetPopupTarget(form, column, row, nullptr, control, GetCurrentPeriod(), side);
    form->TeamGrids().pending.popupPoint = grid->viewport()->mapToGlobal(QPoint(x, y));
    menu->popup(form->TeamGrids().pending.popupPoint);
}

void RunningScoreDblClick(THooptallyForm* form)
{
    const QRect cell = form->GridRun->CellRect(form->GridRun->Col(), form->GridRun->Row());
    if (!cell.isEmpty())
        RunningScoreMouseUp(form, Qt::RightButton, cell.left(), cell.top());
}

void RunningScorePlayerChosen(THooptallyForm* form, QAction* item)
{
    TPlayer* player = playerOfItem(item);
    if (!player)
        return;
    form->TeamGrids().pending.action.player = player;
    form->PopupCount->popup(form->TeamGrids().pending.popupPoint);
}

void RunningScorePointChosen(THooptallyForm* form, int index)
{
    static constexpr std::uint8_t kCodes[] = {kTwoPointMade, kThreePointMade, kFreeThrowMade};
    if (index < 0 || index >= static_cast<int>(std::size(kCodes)))
        return;
    // A made shot carries no free throws or foul kind of an earlier choice.
    PostGameAction(kPlayerAction, kCodes[index], form->TeamGrids().pending.action.player, kNone, kNone, kNone);
}

void ForgetPlayerOnRunningScore(THooptallyForm* form, const TPlayer* player)
{
    if (SheetGridControl* control = form->TeamGrids().Run())
        control->ForgetPlayer(player);
    if (!form->PopupMember)
        return;
    const auto items = form->PopupMember->actions();
    for (QAction* item : items) {
        if (playerOfItem(item) == player) {
            form->PopupMember->removeAction(item);
            item->deleteLater();
        }
    }
}

} // namespace hooptally
