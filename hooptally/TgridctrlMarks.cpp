// What the user does on the team sheets and what executed actions write on them: the pending
// target of the pop-up menus, the marks in the boxes, period and game ends, keys and double clicks.
#include <algorithm>
#include <memory>

#include <QMenu>

#include "hooptally/Common.h"
#include "hooptally/Runscore.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/Named.h"
#include "platform/StringGrid.h"

namespace hooptally {

using platform::named;

namespace {

PendingTarget& pending(THooptallyForm* form)
{
    return form->TeamGrids().pending;
}

bool isTeamControl(THooptallyForm* form, const SheetGridControl* control)
{
    return control && (control == form->TeamGrids().Team(kSideA) || control == form->TeamGrids().Team(kSideB));
}

// The time-out boxes (numbered from 1) that the end of a half or an overtime closes.
struct ClosedTimeOuts
{
    int period; // the period whose end closes them
    int first;  // normal sheet
    int last;
    int miniBox; // mini-basket sheet: one box each
};
constexpr int kFirstHalfEnd = 1;
constexpr int kSecondHalfEnd = 3;
constexpr int kFirstOvertime = kRegularPeriods;
constexpr int kSecondOvertime = kRegularPeriods + 1;
constexpr ClosedTimeOuts kClosedTimeOuts[] = {{kFirstHalfEnd, 1, 2, 1},
                                              {kSecondHalfEnd, 3, 5, 2},
                                              {kFirstOvertime, 6, 6, 3},
                                              {kSecondOvertime, 7, 7, 4}};

bool validPeriod(int period)
{
    return period >= 0 && period < kMaxPeriods;
}

// The player that a row of a team sheet shows: the head coach row, the assistant coach row or a
// player row, each by its name area.
TPlayer* rowPlayer(THooptallyForm* form, const SheetGridControl* control, int row)
{
    if (!isTeamControl(form, control))
        return nullptr;
    const TeamSheetAreas& a = form->TeamGrids().areas;
    const SheetArea* name = nullptr;
    if (row == a.headCoachName.firstRow)
        name = &a.headCoachName;
    else if (a.hasAssistant && row == a.assistantName.firstRow)
        name = &a.assistantName;
    else if (const int index = a.playerRowOf(row); index >= 0)
        name = &a.names[index];
    return name ? control->SheetGridPlayerAt(name->firstColumn, name->firstRow) : nullptr;
}

// The boxes of the family of a box kind in a row, as a range of columns; false for other kinds.
bool boxFamily(THooptallyForm* form, int kind, int row, int& first, int& last)
{
    const TeamSheetAreas& a = form->TeamGrids().areas;
    const SheetArea* boxes = nullptr;
    if (kind == kTimeOutBox)
        boxes = &a.timeOutBoxes;
    else if (kind == kFoulBox && a.playerRowOf(row) >= 0)
        boxes = &a.fouls[a.playerRowOf(row)];
    else if (kind == kCoachFoulBox)
        boxes = &a.headCoachFouls;
    if (!boxes)
        return false;
    first = boxes->firstColumn;
    last = boxes->lastColumn;
    return true;
}

// Whether (column, row) belongs to the family of the foul's box, of that kind, in row keyB. Only a
// bench foul in a coach box reaches the other coach row; every other foul, a player's above all,
// is outlined within its own row.
bool inFoulFamily(THooptallyForm* form, const GameAction& foul, int kind, int column, int row)
{
    const TeamSheetAreas& a = form->TeamGrids().areas;
    const bool benchFoul = foul.foulKind == kCoachTechnicalFoul || foul.foulKind == kBenchFoul;
    if (row != foul.keyB && !(kind == kCoachFoulBox && benchFoul))
        return false;
    if (kind == kFoulBox)
        return a.playerRowOf(row) >= 0 && a.fouls[0].firstColumn <= column && column <= a.fouls[0].lastColumn;
    const bool coachRow =
        row == a.headCoachName.firstRow || (a.hasAssistant && row == a.assistantName.firstRow);
    return coachRow && a.headCoachFouls.firstColumn <= column && column <= a.headCoachFouls.lastColumn;
}

bool isShot(const GameAction& action)
{
    return action.category == kPlayerAction &&
           (action.code == kTwoPointMade || action.code == kThreePointMade || action.code == kFreeThrowMade);
}

void refresh(const SheetGridControl* control)
{
    if (control)
        RefreshIfEnabled(control->grid);
}

// A box's mark that no executed action made: a struck-out box or a game-end line.
GameAction boxMark(int column, int row, std::uint8_t command)
{
    GameAction mark;
    mark.keyA = column;
    mark.keyB = row;
    mark.category = kCommand;
    mark.command = command;
    return mark;
}

bool holdsTimeOut(const TCell& box)
{
    return box.action.category == kCommand && box.action.command == kTimeout;
}

void strikeOutTimeOutBox(SheetGridControl* control, int column, int row)
{
    TCell* box = control->SheetGridCellAt(column, row);
    if (!box || holdsTimeOut(*box))
        return;
    const GameAction mark = boxMark(column, row, kStruckOutBox);
    SheetGridControl::SetSheetCellAction(*box, &mark);
}

void openMenu(QMenu* menu, QPoint point)
{
    if (menu)
        menu->popup(point);
}

} // namespace

void SetPopupTarget(THooptallyForm* form, int column, int row, TPlayer* player, SheetGridControl* control,
                    int period, int side)
{
    GameAction& target = pending(form).action;
    target.side = side;
    target.keyA = column;
    target.keyB = row;
    target.player = player;
    target.period = static_cast<std::int8_t>(period);
    target.sheet = control;
}

bool ApplyPopupChoice(THooptallyForm* form, const SheetChoice& choice)
{
    GameAction& target = pending(form).action;
    target.category = choice.category;
    target.code = choice.code;
    target.freeThrows = choice.freeThrows;
    target.foulKind = choice.foulKind;
    target.command = choice.command;
    if (choice.category == kPlayerAction) {
        switch (choice.code) {
        case kTwoPointMade:
        case kThreePointMade:
        case kFreeThrowMade:
        case kCourtIn:
        case kSetStarter:
            DrawPendingMark(form);
            return true;
        case kFoul:
            return false;
        default:
            return true;
        }
    }
    if (choice.category == kCommand) {
        if (choice.command == kTimeout || choice.command == kStruckOutBox) {
            DrawPendingMark(form);
        } else if (choice.command == kClearMark) {
            if (target.sheet && target.sheet->grid)
                target.sheet->grid->SetCells(target.keyA, target.keyB, QString());
            DrawPendingMark(form);
        }
    }
    return true;
}

void ApplyFreeThrowChoice(THooptallyForm* form, std::uint8_t freeThrows)
{
    pending(form).action.freeThrows = freeThrows;
    DrawPendingMark(form);
}

void DrawPendingMark(THooptallyForm* form)
{
    GameAction& target = pending(form).action;
    // Only a control the main window still holds: the target may outlive a rebuilt sheet.
    SheetGridControl* control =
        isTeamControl(form, target.sheet) || target.sheet == form->TeamGrids().Run() ? target.sheet : nullptr;
    const int row = target.keyB;
    const int kind = control ? control->GetSheetAreaKind(target.keyA, row) : -1;
    if (kind < 0)
        return;
    int column = target.keyA;
    int first = 0;
    int last = 0;
    if (isTeamControl(form, control) && boxFamily(form, kind, row, first, last)) {
        // The first free box of the family; the last one when all before it are taken.
        column = first;
        while (column < last) {
            const TCell* box = control->SheetGridCellAt(column, row);
            if (!box || box->kind != kind || !HasAction(box->action))
                break;
            ++column;
        }
        if (control->GetSheetAreaKind(column, row) != kind)
            return;
    }
    target.keyA = column;
    if (!validPeriod(target.period))
        target.period = static_cast<std::int8_t>(GetCurrentPeriod());
    if (!target.player)
        target.player = rowPlayer(form, control, row);
    TCell* box = control->SheetGridCellAt(column, row);
    // What a mark changes in the sheet is done here, once, and never by the painters.
    if (target.category == kCommand && target.command == kClearMark) {
        SheetGridControl::SetSheetCellAction(*box, nullptr);
    } else {
        SheetGridControl::SetSheetCellAction(*box, &target);
        if (box->kind == kScorerColumn && isShot(target)) {
            const QString number = target.player ? target.player->number : QString();
            control->grid->SetCells(box->firstColumn, box->firstRow, number);
        }
    }
    OutlineFoulBox(form, target);
    refresh(control);
}

void SendPendingAction(THooptallyForm* form, GameAction copy)
{
    if (!copy.player)
        copy.player = rowPlayer(form, copy.sheet, copy.keyB);
    bool send = copy.category == kCommand;
    if (copy.category == kPlayerAction) {
        switch (copy.code) {
        case kTwoPointMade:
        case kThreePointMade:
        case kFreeThrowMade:
        case kCourtIn:
        case kToBench:
        case kSetStarter:
            send = true;
            break;
        case kFoul:
            send = copy.foulKind <= kBenchFoul;
            break;
        default:
            break;
        }
    }
    if (!send)
        return;
    auto action = std::make_unique<GameAction>(copy);
    const ClockState clock = GetClockState();
    action->period = static_cast<std::int8_t>(GetCurrentPeriod());
    action->minutes = clock.minutes;
    action->seconds = clock.seconds;
    // The main window executes the record and owns it.
    platform::SendMessage(form, kActionMessage, 0, std::move(action));
}

bool PopupAllowed(THooptallyForm* form, const SheetGridControl* control, int column, int row)
{
    const int kind = control ? control->GetSheetAreaKind(column, row) : -1;
    const bool needsPlayer =
        (kind >= kNumberArea && kind <= kFoulBox) || (kind >= kCoachFoulBox && kind <= kAssistantCoachName);
    if (!needsPlayer)
        return true;
    const TPlayer* player = rowPlayer(form, control, row);
    return player && player->status != kBlankRow;
}

void OutlineFoulBox(THooptallyForm* form, GameAction action)
{
    SheetGridControl* control = action.sheet;
    if (action.category != kPlayerAction || action.code != kFoul || action.foulKind > kBenchFoul ||
        !isTeamControl(form, control))
        return;
    const int column = action.keyA;
    const int row = action.keyB;
    // The family is that of the box the foul stands in: the row's foul boxes or the coach boxes.
    const int kind = control->GetSheetAreaKind(column, row);
    if (kind != kFoulBox && kind != kCoachFoulBox)
        return;
    const EdgeStyle pen = EdgeStyle::of(form->TeamGrids().TeamCanvas(action.side).Pen);
    const EdgeStyle thick{pen.mode, pen.style, GetPeriodColor(action.period), 4};
    const EdgeStyle thin{pen.mode, pen.style, GetPeriodColor(action.period), 1};
    auto samePeriod = [&](int c, int r) {
        const TCell* box = control->SheetGridCellAt(c, r);
        return box && HasAction(box->action) && box->action.period == action.period;
    };
    control->SetSheetCellEdges(column, row, kRightSide, thick);
    if (inFoulFamily(form, action, kind, column - 1, row) && samePeriod(column - 1, row))
        control->SetSheetCellEdges(column - 1, row, kRightSide, thin);
    if (inFoulFamily(form, action, kind, column, row - 1)) {
        if (samePeriod(column, row - 1))
            control->SetSheetCellEdges(column, row - 1, kBottomSide, thin);
        else if (control->CellAt(column, row - 1)->bottom.width <= 1)
            control->SetSheetCellEdges(column, row - 1, kBottomSide, thick);
    }
    if (inFoulFamily(form, action, kind, column, row + 1)) {
        if (samePeriod(column, row + 1))
            control->SetSheetCellEdges(column, row, kBottomSide, thin);
        else if (control->CellAt(column, row)->bottom.width <= 1)
            control->SetSheetCellEdges(column, row, kBottomSide, thick);
    }
}

void CompactFoulBoxes(THooptallyForm* form, int firstColumn, int lastColumn, SheetGridControl* control,
                      int row)
{
    if (!control)
        return;
    bool moved = true;
    while (moved) {
        moved = false;
        bool gap = false;
        for (int column = firstColumn; column <= lastColumn && !moved; ++column) {
            TCell* box = control->SheetGridCellAt(column, row);
            if (!box)
                break;
            if (!HasAction(box->action)) {
                gap = true;
                continue;
            }
            if (!gap)
                continue;
            TCell* left = control->SheetGridCellAt(column - 1, row);
            GameAction shifted = box->action;
            shifted.keyA = column - 1;
            shifted.keyB = row;
            shifted.sheet = control;
            SheetGridControl::SetSheetCellAction(*left, &shifted);
            OutlineFoulBox(form, shifted);
            box->action = GameAction{};
            moved = true;
        }
    }
}

void MarkPeriodEndOnTeamGrid(THooptallyForm* form, int period, platform::StringGrid* grid)
{
    SheetGridControl* control = form->TeamGrids().Team(SideOfTeamGrid(form, grid));
    if (!control || !validPeriod(period))
        return;
    for (const SheetArea& fouls : form->TeamGrids().areas.fouls) {
        const int row = fouls.firstRow;
        CompactFoulBoxes(form, fouls.firstColumn, fouls.lastColumn, control, row);
        for (int column = fouls.firstColumn; column <= fouls.lastColumn; ++column) {
            if (control->SheetGridCellAt(column, row)->periodColour == period)
                control->ResetSheetColours(column, row);
        }
        int firstEmpty = fouls.firstColumn;
        while (firstEmpty <= fouls.lastColumn && HasAction(control->SheetGridCellAt(firstEmpty, row)->action))
            ++firstEmpty;
        // A closing line after the last foul; none with four or five fouls.
        if (firstEmpty < fouls.lastColumn)
            control->SetSheetCellColour(firstEmpty - 1, row, period);
    }
    refresh(control);
}

void CloseTimeOutBoxes(THooptallyForm* form, int period, int side)
{
    SheetGridControl* control = form->TeamGrids().Team(side);
    if (!control)
        return;
    const SheetArea& boxes = form->TeamGrids().areas.timeOutBoxes;
    const bool miniBasket = form->TeamGrids().areas.miniBasket;
    int first = 0;
    int last = -1;
    for (const ClosedTimeOuts& closed : kClosedTimeOuts) {
        if (closed.period == period) {
            first = miniBasket ? closed.miniBox : closed.first;
            last = miniBasket ? closed.miniBox : closed.last;
        }
    }
    for (int box = first; box <= last; ++box)
        strikeOutTimeOutBox(control, boxes.firstColumn + box - 1, boxes.firstRow);
    refresh(control);
}

void MarkGameEndOnTeamGrid(THooptallyForm* form, platform::StringGrid* grid)
{
    SheetGridControl* control = form->TeamGrids().Team(SideOfTeamGrid(form, grid));
    if (!control)
        return;
    const TeamSheetAreas& a = form->TeamGrids().areas;
    for (int column = a.timeOutBoxes.firstColumn; column <= a.timeOutBoxes.lastColumn; ++column)
        strikeOutTimeOutBox(control, column, a.timeOutBoxes.firstRow);
    for (const SheetArea& fouls : a.fouls) {
        const int row = fouls.firstRow;
        CompactFoulBoxes(form, fouls.firstColumn, fouls.lastColumn, control, row);
        for (int column = fouls.firstColumn; column <= fouls.lastColumn; ++column) {
            TCell* box = control->SheetGridCellAt(column, row);
            if (!HasAction(box->action)) {
                const GameAction mark = boxMark(column, row, kEmptyFoulBox);
                SheetGridControl::SetSheetCellAction(*box, &mark);
            }
        }
    }
    refresh(control);
}

namespace {

// The coach row whose name area shows the coach, or -1.
int coachRowOf(THooptallyForm* form, const SheetGridControl* control, const TPlayer* coach)
{
    const TeamSheetAreas& a = form->TeamGrids().areas;
    for (const SheetArea* name : {&a.headCoachName, &a.assistantName}) {
        if (name == &a.assistantName && !a.hasAssistant)
            continue;
        if (control->SheetGridPlayerAt(name->firstColumn, name->firstRow) == coach)
            return name->firstRow;
    }
    return -1;
}

void markFoul(THooptallyForm* form, const GameAction& c, SheetGridControl* control, int side)
{
    const TeamSheetAreas& a = form->TeamGrids().areas;
    TPlayer* player = c.player;
    int column = -1;
    int row = -1;
    if (player->IsCoach()) {
        row = coachRowOf(form, control, player);
        column = a.headCoachFouls.firstColumn;
    } else if (const int index = SheetRowOfPlayer(form, player->team, player); index >= 0) {
        row = a.fouls[index].firstRow;
        column = a.fouls[index].firstColumn;
    }
    // A player or coach the sheet does not show gets no mark.
    if (row < 0)
        return;
    SetPopupTarget(form, column, row, player, control, c.period, side);
    ApplyPopupChoice(form, SheetChoice{c.category, c.code, c.freeThrows, c.foulKind, c.command});
    ApplyFreeThrowChoice(form, c.freeThrows);
}

// A coach's name area; the mini-basket sheet has none for an assistant.
const SheetArea* coachArea(const TeamSheetAreas& a, const TPlayer* coach, std::uint8_t& kind)
{
    if (coach->status == kHeadCoach) {
        kind = kHeadCoachName;
        return &a.headCoachName;
    }
    kind = kAssistantCoachName;
    return a.hasAssistant ? &a.assistantName : nullptr;
}

void showCoach(THooptallyForm* form, SheetGridControl* control, TPlayer* coach)
{
    const TeamSheetAreas& a = form->TeamGrids().areas;
    std::uint8_t kind = kHeadCoachName;
    const SheetArea* area = coachArea(a, coach, kind);
    if (!area)
        return;
    // A coach stands in one coach row only.
    if (const int row = coachRowOf(form, control, coach); row >= 0 && row != area->firstRow)
        control->SetSheetAreaPlayer(a.headCoachName.firstColumn, row, nullptr);
    control->SetSheetAreaMark(area->firstColumn, area->firstRow, kind, coach, 0);
}

void markPlayed(THooptallyForm* form, const GameAction& c, SheetGridControl* control, int side)
{
    const TeamSheetAreas& a = form->TeamGrids().areas;
    TPlayer* player = c.player;
    int index = SheetRowOfPlayer(form, player->team, player);
    if (player->IsCoach()) {
        if (index >= 0)
            EmptySheetRow(form, control, index, QString());
        showCoach(form, control, player);
        return;
    }
    // Players not on the official list are not on the sheet.
    const bool unlisted = player->status == kBlankRow || player->status == kNotListed;
    if (index >= 0 && unlisted) {
        EmptySheetRow(form, control, index, QString());
        index = -1;
    } else if (index >= 0) {
        PutPlayerInSheetRow(form, control, index, player);
    } else if (!unlisted) {
        for (int i = 0; i < kSheetPlayerRows && index < 0; ++i) {
            const TPlayer* shown = control->SheetGridPlayerAt(a.names[i].firstColumn, a.names[i].firstRow);
            if (!shown || shown->status == kBlankRow)
                index = i;
        }
        if (index >= 0)
            PutPlayerInSheetRow(form, control, index, player);
    }
    // A court-in without a period has no box to mark.
    if (index < 0 || !validPeriod(c.period))
        return;
    const SheetArea& played = a.played[index];
    const int column = std::min(played.firstColumn + c.period, played.lastColumn);
    SetPopupTarget(form, column, played.firstRow, player, control, c.period, side);
    const bool starterBox = player->StartedTheGame() && column == played.firstColumn;
    ApplyPopupChoice(form, SheetChoice{kPlayerAction, starterBox ? kSetStarter : kCourtIn});
}

} // namespace

void OnActionForTeamGrid(THooptallyForm* form, platform::Message& message)
{
    const auto copy = platform::TakeRecord<GameAction>(message);
    if (!copy)
        return;
    GameAction& c = *copy;
    // During a replay the clock was set from the log entry first.
    const ClockState clock = GetClockState();
    c.period = static_cast<std::int8_t>(GetCurrentPeriod());
    c.minutes = clock.minutes;
    c.seconds = clock.seconds;
    const int side = c.player && c.player->team ? c.player->team->side : c.side;
    SheetGridControl* control = side == kSideA || side == kSideB ? form->TeamGrids().Team(side) : nullptr;
    if (control) {
        c.sheet = control;
        if (c.category == kPlayerAction && c.player) {
            if (c.code == kFoul)
                markFoul(form, c, control, side);
            else if (c.code == kCourtIn || c.code == kSetStarter || c.code == kEditPlayer)
                markPlayed(form, c, control, side);
        } else if (c.category == kCommand && c.command == kTimeout) {
            const SheetArea& boxes = form->TeamGrids().areas.timeOutBoxes;
            SetPopupTarget(form, boxes.firstColumn, boxes.firstRow, c.player, control, c.period, side);
            ApplyPopupChoice(form, SheetChoice{c.category, c.code, c.freeThrows, c.foulKind, c.command});
        }
        refresh(control);
    }
    // The score panel is the WM_APP+8 receiver's to update.
}

void OnPlayerStatusChanged(THooptallyForm* form, platform::Message& message)
{
    // The player stays its team's.
    TPlayer* player = platform::RecordOf<TPlayer>(message);
    if (!player || !player->team)
        return;
    SheetGridControl* control = form->TeamGrids().Team(player->team->side);
    if (!control)
        return;
    const TeamSheetAreas& a = form->TeamGrids().areas;
    const bool stays = message.wParam != 0;
    if (player->IsCoach()) {
        std::uint8_t kind = kHeadCoachName;
        const SheetArea* area = coachArea(a, player, kind);
        if (!area)
            return;
        if (stays) {
            showCoach(form, control, player);
        } else if (control->SheetGridPlayerAt(area->firstColumn, area->firstRow) == player) {
            control->grid->SetCells(area->firstColumn, area->firstRow, QString());
            control->SetSheetAreaPlayer(area->firstColumn, area->firstRow, nullptr);
            ClearSheetBoxes(control, SheetArea{a.headCoachFouls.firstColumn,
                                               area->firstRow,
                                               a.headCoachFouls.lastColumn,
                                               area->firstRow,
                                               {}});
        }
        refresh(control);
        return;
    }
    int index = SheetRowOfPlayer(form, player->team, player);
    if (!stays) {
        if (index >= 0) {
            EmptySheetRow(form, control, index, QString());
            ClearSheetBoxes(control, a.played[index]);
        }
        refresh(control);
        return;
    }
    for (int i = 0; i < kSheetPlayerRows && index < 0; ++i) {
        const TPlayer* shown = control->SheetGridPlayerAt(a.names[i].firstColumn, a.names[i].firstRow);
        if (!shown || shown->status == kBlankRow || shown->status == kNotListed)
            index = i;
    }
    if (index < 0) {
        refresh(control);
        return;
    }
    PutPlayerInSheetRow(form, control, index, player);
    ClearSheetBoxes(control, a.played[index]);
    if (player->StartedTheGame())
        PlaceStarterMark(form, control, index, player);
    refresh(control);
}

void ForgetPlayerOnTeamGrids(THooptallyForm* form, const TPlayer* player)
{
    for (const int side : kSides) {
        if (SheetGridControl* control = form->TeamGrids().Team(side))
            control->ForgetPlayer(player);
    }
    GameAction& target = pending(form).action;
    if (target.player == player)
        target.player = nullptr;
}

// --- grid events -----------------------------------------------------------------------------------

namespace {

void selectCurrentCell(SheetGridControl* control, const platform::StringGrid* grid)
{
    control->previousSelectedColumn = control->selectedColumn;
    control->previousSelectedRow = control->selectedRow;
    control->selectedColumn = grid->Col();
    control->selectedRow = grid->Row();
}

void makeCurrent(platform::StringGrid* grid, int column, int row)
{
    grid->SetSelection(platform::GridRect{column, row, column, row});
}

bool sameArea(const SheetGridControl* control, int column, int row, int areaColumn, int areaRow)
{
    int c = column;
    int r = row;
    control->SheetGridArea(c, r);
    return c == areaColumn && r == areaRow;
}

// A double click on a name area enters a player there through the team's blank add row, so that a
// cancelled entry leaves no record behind.
void enterPlayerInNameArea(THooptallyForm* form, platform::StringGrid* grid, int column, int row, int kind)
{
    const int side = SideOfTeamGrid(form, grid);
    TTeam* team = TeamOfSide(form, side);
    SheetGridControl* control = form->TeamGrids().Team(side);
    TPlayer* player = control->SheetGridPlayerAt(column, row);
    if (!player) {
        form->EnsureAddRow(team);
        for (int i = 0; i < team->Count() && !player; ++i) {
            if (team->PlayerAt(i)->status == kBlankRow)
                player = team->PlayerAt(i);
        }
        if (!player)
            return;
        control->SetSheetAreaPlayer(column, row, player);
    }
    if (player->status == kBlankRow) {
        player->id = 0;
        player->id = team->NextFreePlayerId();
    }
    const bool madeCoach =
        player->status == kBlankRow && (kind == kHeadCoachName || kind == kAssistantCoachName);
    if (kind == kHeadCoachName)
        player->MakeCoach(true);
    else if (kind == kAssistantCoachName)
        player->MakeCoach(false);
    const int id = player->id;
    team->OpenPlayer(player);
    // The dialog may have deleted the record: only a record still in the team is looked at.
    control = form->TeamGrids().Team(side);
    const bool alive = team->IndexOf(player) >= 0 && player->id == id;
    const bool untouched = alive && player->name.isEmpty() && player->number.isEmpty() &&
                           (player->status == kBlankRow || (madeCoach && player->status == kCoach));
    if (untouched) {
        player->status = kBlankRow;
        player->position.clear();
        if (control && control->SheetGridPlayerAt(column, row) == player)
            control->SetSheetAreaPlayer(column, row, nullptr);
    }
    RefreshIfEnabled(grid);
}

} // namespace

void TeamGridClick(THooptallyForm* form, platform::StringGrid* grid)
{
    if (SheetGridControl* control = form->TeamGrids().Team(SideOfTeamGrid(form, grid)))
        selectCurrentCell(control, grid);
    grid->Invalidate();
}

void TeamGridKeyUp(THooptallyForm* form, platform::StringGrid* grid, int key)
{
    SheetGridControl* control = form->TeamGrids().Team(SideOfTeamGrid(form, grid));
    if (!control || (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down))
        return;
    int fromColumn = control->selectedColumn;
    int fromRow = control->selectedRow;
    control->SheetGridArea(fromColumn, fromRow);
    int column = grid->Col();
    int row = grid->Row();
    // Steps over the rest of the area the key started from, one area at a time.
    while (control->Contains(column, row) && sameArea(control, column, row, fromColumn, fromRow)) {
        if (key == Qt::Key_Right) {
            if (column >= control->columns - 1)
                break;
            ++column;
        } else if (key == Qt::Key_Down) {
            if (row >= control->rows - 1)
                break;
            ++row;
        } else if (key == Qt::Key_Left) {
            if (column == 0)
                return;
            --column;
        } else {
            if (row == 0)
                return;
            --row;
        }
    }
    control->SheetGridArea(column, row);
    makeCurrent(grid, column, row);
    selectCurrentCell(control, grid);
    grid->Invalidate();
}

void TeamGridKeyDown(THooptallyForm* form, platform::StringGrid* grid, int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        TeamGridDblClick(form, grid);
    } else if (key == Qt::Key_C) {
        platform::StringGrid* other = grid == form->GridTeamA ? form->GridTeamB : form->GridTeamA;
        other->setFocus(Qt::OtherFocusReason);
        form->GridTeamA->Invalidate();
        form->GridTeamB->Invalidate();
    }
}

void TeamGridMouseUp(THooptallyForm* form, platform::StringGrid* grid, Qt::MouseButton button, int x, int y)
{
    const int side = SideOfTeamGrid(form, grid);
    SheetGridControl* control = form->TeamGrids().Team(side);
    int column = -1;
    int row = -1;
    grid->MouseToCell(x, y, column, row);
    if (!control || !control->Contains(column, row))
        return;
    makeCurrent(grid, column, row);
    selectCurrentCell(control, grid);
    RefreshIfEnabled(grid);
    QMenu* menu = control->GetSheetAreaPopup(column, row);
    if (!menu || !PopupAllowed(form, control, column, row))
        return;
    SetPopupTarget(form, column, row, nullptr, control, GetCurrentPeriod(), side);
    pending(form).popupPoint = grid->viewport()->mapToGlobal(QPoint(x, y));
    if (button == Qt::RightButton)
        openMenu(menu, pending(form).popupPoint);
}

void TeamGridDblClick(THooptallyForm* form, platform::StringGrid* grid)
{
    const int side = SideOfTeamGrid(form, grid);
    SheetGridControl* control = form->TeamGrids().Team(side);
    int column = grid->Col();
    int row = grid->Row();
    if (!control || !control->Contains(column, row))
        return;
    const int kind = control->GetSheetAreaKind(column, row);
    if (kind == kNameArea || kind == kHeadCoachName || kind == kAssistantCoachName) {
        control->SheetGridArea(column, row);
        enterPlayerInNameArea(form, grid, column, row, kind);
        return;
    }
    QMenu* menu = control->GetSheetAreaPopup(column, row);
    if (!menu || !PopupAllowed(form, control, column, row))
        return;
    pending(form).popupPoint = grid->viewport()->mapToGlobal(grid->CellRect(column, row).topLeft());
    SetPopupTarget(form, column, row, nullptr, control, GetCurrentPeriod(), side);
    openMenu(menu, pending(form).popupPoint);
}

// --- menus -----------------------------------------------------------------------------------------

namespace {

void chooseFoul(THooptallyForm* form, std::uint8_t foulKind)
{
    if (!ApplyPopupChoice(form, SheetChoice{kPlayerAction, kFoul, kNone, foulKind}))
        openMenu(form->PopupFreeThrow, pending(form).popupPoint);
}

// The executed copy comes back and writes the mark: nothing is drawn before it is sent.
void sendWithFreeThrows(THooptallyForm* form, std::uint8_t freeThrows)
{
    GameAction copy = pending(form).action;
    copy.freeThrows = freeThrows;
    SendPendingAction(form, copy);
}

TTeam* pendingTeam(THooptallyForm* form)
{
    return TeamOfSide(form, pending(form).action.side);
}

} // namespace

void personalClick(THooptallyForm* form)
{
    chooseFoul(form, kPersonalFoul);
}

void TechnicalClick(THooptallyForm* form)
{
    chooseFoul(form, kTechnicalFoul);
}

void UnSportsManClick(THooptallyForm* form)
{
    chooseFoul(form, kUnsportsmanlikeFoul);
}

void DisqoryFoulClick(THooptallyForm* form)
{
    ApplyPopupChoice(form, SheetChoice{kPlayerAction, kFoul, 0, kDisqualifyingFoul});
    SendPendingAction(form, pending(form).action);
}

void CoachTecFoulClick(THooptallyForm* form)
{
    chooseFoul(form, kCoachTechnicalFoul);
}

void CoachOtherFoulClick(THooptallyForm* form)
{
    chooseFoul(form, kBenchFoul);
}

void N10Click(THooptallyForm* form)
{
    sendWithFreeThrows(form, 0);
}

void MenuItem3Click(THooptallyForm* form)
{
    sendWithFreeThrows(form, 1);
}

void N11Click(THooptallyForm* form)
{
    sendWithFreeThrows(form, 2);
}

void MenuItem4Click(THooptallyForm* form)
{
    sendWithFreeThrows(form, 3);
}

void GTimeOutClick(THooptallyForm* form)
{
    GameAction& target = pending(form).action;
    target.category = kCommand;
    target.command = kTimeout;
    target.code = target.freeThrows = target.foulKind = kNone;
    // One time-out, one box: the executed copy marks it.
    SendPendingAction(form, target);
}

void GStarterClick(THooptallyForm* form)
{
    ApplyPopupChoice(form, SheetChoice{kPlayerAction, kSetStarter});
    SendPendingAction(form, pending(form).action);
}

void PopClearClick(THooptallyForm* form)
{
    const GameAction& target = pending(form).action;
    TPlayer* player = rowPlayer(form, target.sheet, target.keyB);
    PostStarterRegistration(player, false);
}

void MenuItemCortIn(THooptallyForm* form)
{
    ApplyPopupChoice(form, SheetChoice{kPlayerAction, kCourtIn});
    SendPendingAction(form, pending(form).action);
}

void MenuItemCortOut(THooptallyForm* form)
{
    ApplyPopupChoice(form, SheetChoice{kPlayerAction, kToBench});
    SendPendingAction(form, pending(form).action);
}

void ReadFileClick(THooptallyForm* form)
{
    // The menu opened on the grid that has the focus: the pending target's side. Reading a roster
    // restarts the game, so the unsaved game is offered for saving first.
    if (pending(form).action.side == kSideA)
        form->RunAfterCloseQuestion([form] { form->BitBtn1Click(); });
    else
        form->RunAfterCloseQuestion([form] { form->BitBtn3Click(); });
}

void WriteFileClick(THooptallyForm* form)
{
    if (pending(form).action.side == kSideA)
        form->BitBtn2Click();
    else
        form->BitBtn4Click();
}

void new1Click(THooptallyForm* form)
{
    // A new team clears the log as a new game does.
    TTeam* team = pendingTeam(form);
    if (team)
        form->RunAfterCloseQuestion([form, team] { form->ClearTeam(team); });
}

void N7Click(THooptallyForm* form)
{
    if (pending(form).action.side == kSideA)
        form->TeamANameMemoClick();
    else if (pending(form).action.side == kSideB)
        form->TeamBNameMemoClick();
}

void CreateSheetMenus(THooptallyForm* form)
{
    auto menu = [form](const char* name) { return named(new QMenu(form), name); };
    auto item = [form](QMenu* owner, const char* name, const QString& text,
                       void (*handler)(THooptallyForm*)) {
        QAction* action = named(owner->addAction(text), name);
        QObject::connect(action, &QAction::triggered, form, [form, handler] { handler(form); });
    };
    form->PopupFoul = menu("PopupFoul");
    item(form->PopupFoul, "personal", QStringLiteral("ﾊﾟｰｿﾅﾙ"), personalClick);
    item(form->PopupFoul, "Technical", QStringLiteral("ﾃｸﾆｶﾙ"), TechnicalClick);
    item(form->PopupFoul, "UnSportsMan", QStringLiteral("ｱﾝｽﾎﾟ-ﾂﾏﾝﾗｲｸ"), UnSportsManClick);
    item(form->PopupFoul, "DisqoryFoul", QStringLiteral("ﾃﾞｨｽｸｵﾘﾌｧｲﾝｸﾞ"), DisqoryFoulClick);
    form->PopupCoach = menu("PopupCoach");
    item(form->PopupCoach, "CoachTecFoul", QStringLiteral("ｺｰﾁﾃｸﾆｶﾙ"), CoachTecFoulClick);
    item(form->PopupCoach, "CoachOtherFoul", QStringLiteral("その他"), CoachOtherFoulClick);
    form->PopupFreeThrow = menu("PopupFreeThrow");
    item(form->PopupFreeThrow, "N10", QStringLiteral("ﾌﾘｰｽﾛｰなし"), N10Click);
    item(form->PopupFreeThrow, "MenuItem3", QStringLiteral("ﾌﾘｰｽﾛｰ１投"), MenuItem3Click);
    item(form->PopupFreeThrow, "N11", QStringLiteral("ﾌﾘｰｽﾛｰ２投"), N11Click);
    item(form->PopupFreeThrow, "MenuItem4", QStringLiteral("ﾌﾘｰｽﾛｰ３投"), MenuItem4Click);
    form->PopTimeOut = menu("PopTimeOut");
    item(form->PopTimeOut, "GTimeOut", QStringLiteral("ﾀｲﾑｱｳﾄ"), GTimeOutClick);
    form->PopStarter = menu("PopStarter");
    item(form->PopStarter, "GStarter", QStringLiteral("ｽﾀｰﾀｰ"), GStarterClick);
    item(form->PopStarter, "PopClear", QStringLiteral("ｸﾘｱｽﾀｰﾀｰ"), PopClearClick);
    form->PopCortInOut = menu("PopCortInOut");
    item(form->PopCortInOut, "CortIn", QStringLiteral("ｺｰﾄｲﾝ"), MenuItemCortIn);
    item(form->PopCortInOut, "CortOut", QStringLiteral("ｺｰﾄｱｳﾄ"), MenuItemCortOut);
    form->PopupFile = menu("PopupFile");
    item(form->PopupFile, "ReadFile", QStringLiteral("ﾁｰﾑRead"), ReadFileClick);
    item(form->PopupFile, "WriteFile", QStringLiteral("ﾁｰﾑWrite"), WriteFileClick);
    item(form->PopupFile, "new1", QStringLiteral("新規"), new1Click);
    item(form->PopupFile, "N7", QStringLiteral("チーム名"), N7Click);
    form->PopupMember = menu("PopupMember");
    form->PopupCount = menu("PopupCount");
    const QString points[] = {QStringLiteral("２ﾎﾟｲﾝﾄ"), QStringLiteral("３ﾎﾟｲﾝﾄ"), QStringLiteral("ﾌﾘｰｽﾛｰ")};
    for (int index = 0; index < 3; ++index) {
        QAction* action =
            named(form->PopupCount->addAction(points[index]), QStringLiteral("PopupPoint%1").arg(index));
        QObject::connect(action, &QAction::triggered, form,
                         [form, index] { RunningScorePointChosen(form, index); });
    }
}

} // namespace hooptally
