#pragma once

#include <array>
#include <memory>

#include <QRect>
#include <QString>

#include "platform/Messages.h"

namespace platform {
class StringGrid;
}

namespace hooptally {

class THooptallyForm;
class TTeam;
class TPlayer;

constexpr int kSheetPlayerRows = 15;

// The merged-cell layer over one score-sheet grid. For now it holds which player stands in each of
// the sheet's fifteen player rows; the areas, kinds and painters come with the score sheets.
class SheetGridControl
{
public:
    std::array<TPlayer*, kSheetPlayerRows> playerRows{}; // not owned

    int RowOf(const TPlayer* player) const;
};

// What the main window holds for the team score sheets.
struct TeamGridControls
{
    std::array<std::unique_ptr<SheetGridControl>, 2> sheets; // team A, team B
};

// Form side of the team score sheets.
SheetGridControl* TeamSheet(int side); // GetTeamRoster
// Puts the team's players into the fifteen rows (statuses as the sheet decides them).
void ListTeamPlayers(THooptallyForm* form, TTeam* team);
void CreateTeamGrids(THooptallyForm* form);
void FreeTeamGrids(THooptallyForm* form);
void RedrawTeamGrids(THooptallyForm* form, bool refillA, bool refillB);
void FillTeamGrid(THooptallyForm* form, TTeam* team);
void ShowTeamName(THooptallyForm* form, const QString& name, TTeam* team);
void TeamGridDrawCell(THooptallyForm* form, platform::StringGrid* grid, int col, int row, const QRect& rect);
// "Official" when the player stands in one of the team's fifteen player rows of the sheet.
QString OfficialTextOfPlayer(const TPlayer* player, const TTeam* team);
// Players of the sheet's fifteen rows who are on court or on the bench.
int CountListedPlayers(const TTeam* team);
void MarkPeriodEndOnTeamGrid(THooptallyForm* form, int period, platform::StringGrid* grid);
void CloseTimeOutBoxes(THooptallyForm* form, int period, int side);
void MarkGameEndOnTeamGrid(THooptallyForm* form, platform::StringGrid* grid);
void OnActionForTeamGrid(THooptallyForm* form, platform::Message& message);
void OnPlayerStatusChanged(THooptallyForm* form, platform::Message& message);
// Every sheet cell and pending target drops its pointer to the player.
void ForgetPlayerOnTeamGrids(const TPlayer* player);

} // namespace hooptally
