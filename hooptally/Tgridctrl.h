#pragma once

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

// The merged-cell layer over one score-sheet grid.
class SheetGridControl
{
};

// Form side of the team score sheets.
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
