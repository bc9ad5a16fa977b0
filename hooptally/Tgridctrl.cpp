#include "hooptally/Tgridctrl.h"

#include <algorithm>

#include "hooptally/THooptallyForm.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"

namespace hooptally {

namespace {

SheetGridControl* sheetOf(const TTeam* team)
{
    return team ? TeamSheet(team->side) : nullptr;
}

} // namespace

int SheetGridControl::RowOf(const TPlayer* player) const
{
    for (int row = 0; row < kSheetPlayerRows; ++row) {
        if (player && playerRows[row] == player)
            return row;
    }
    return -1;
}

SheetGridControl* TeamSheet(int side)
{
    return GetTeamRoster(side);
}

void CreateTeamGrids(THooptallyForm* form)
{
    for (auto& sheet : form->TeamGrids().sheets)
        sheet = std::make_unique<SheetGridControl>();
}

void FreeTeamGrids(THooptallyForm* form)
{
    for (auto& sheet : form->TeamGrids().sheets)
        sheet.reset();
}

void RedrawTeamGrids(THooptallyForm* form, bool refillA, bool refillB)
{
    for (int side : {1, 2}) {
        if (SheetGridControl* sheet = TeamSheet(side))
            sheet->playerRows.fill(nullptr);
    }
    if (refillA)
        FillTeamGrid(form, GetTeam(1));
    if (refillB)
        FillTeamGrid(form, GetTeam(2));
}

void FillTeamGrid(THooptallyForm* form, TTeam* team)
{
    if (!team)
        return;
    ListTeamPlayers(form, team);
    ShowTeamName(form, team->name, team);
}

void ListTeamPlayers(THooptallyForm*, TTeam* team)
{
    SheetGridControl* sheet = sheetOf(team);
    if (!sheet)
        return;
    sheet->playerRows.fill(nullptr);
    int row = 0;
    for (int i = 0; i < team->Count(); ++i) {
        TPlayer* player = team->PlayerAt(i);
        if (player->status == kBlankRow || player->IsCoach())
            continue;
        // A roster just read lists the players its file marked "Official"; otherwise everyone listed.
        if (team->loaded == 1 && player->official != 1) {
            player->status = kNotListed;
            continue;
        }
        if (team->loaded != 1 && player->status == kNotListed)
            continue;
        if (row == kSheetPlayerRows)
            break;
        sheet->playerRows[row++] = player;
        if (player->starter != 1 && player->status != kOnCourt)
            player->status = kOnBench;
    }
    team->loaded = 0;
}

void ShowTeamName(THooptallyForm*, const QString&, TTeam*)
{
    // The sheet's team-name area comes with the team score sheets.
}

void TeamGridDrawCell(THooptallyForm*, platform::StringGrid*, int, int, const QRect&)
{
    // The sheet painters come with the sheet grid control.
}

QString OfficialTextOfPlayer(const TPlayer* player, const TTeam* team)
{
    // A row held by an unlisted player is a free row (a foul puts him there without listing him):
    // written as official, he would come back listed, and a starter on court.
    const SheetGridControl* sheet = sheetOf(team);
    return sheet && player->status != kNotListed && sheet->RowOf(player) >= 0 ? QStringLiteral("Official")
                                                                               : QString();
}

int CountListedPlayers(const TTeam* team)
{
    const SheetGridControl* sheet = sheetOf(team);
    if (!sheet)
        return 0;
    return static_cast<int>(std::count_if(sheet->playerRows.begin(), sheet->playerRows.end(), [](const TPlayer* p) {
        return p && (p->status == kOnCourt || p->status == kOnBench);
    }));
}

void MarkPeriodEndOnTeamGrid(THooptallyForm*, int, platform::StringGrid*)
{
    // Period-end lines come with the team score-sheet marks.
}

void CloseTimeOutBoxes(THooptallyForm*, int, int)
{
    // Time-out boxes come with the team score-sheet marks.
}

void MarkGameEndOnTeamGrid(THooptallyForm*, platform::StringGrid*)
{
    // Game-end marks come with the team score-sheet marks.
}

void OnActionForTeamGrid(THooptallyForm*, platform::Message& message)
{
    // The copy is the receiver's; the marks come with the team score-sheet marks.
    const std::unique_ptr<GameAction> action = platform::TakeRecord<GameAction>(message);
}

void OnPlayerStatusChanged(THooptallyForm*, platform::Message& message)
{
    auto* player = platform::RecordOf<TPlayer>(message);
    SheetGridControl* sheet = player ? sheetOf(player->team) : nullptr;
    // Coaches stand in the coach rows, which come with the team score sheets.
    if (!sheet || player->IsCoach())
        return;
    const int row = sheet->RowOf(player);
    if (message.wParam == 0) {
        if (row >= 0)
            sheet->playerRows[row] = nullptr;
        return;
    }
    if (row >= 0)
        return;
    for (TPlayer*& slot : sheet->playerRows) {
        if (!slot || slot->status == kBlankRow || slot->status == kNotListed) {
            slot = player;
            return;
        }
    }
}

void ForgetPlayerOnTeamGrids(const TPlayer* player)
{
    for (SheetGridControl* sheet : {TeamSheet(kSideA), TeamSheet(kSideB)}) {
        if (!sheet)
            continue;
        for (TPlayer*& slot : sheet->playerRows) {
            if (slot == player)
                slot = nullptr;
        }
    }
}

} // namespace hooptally
