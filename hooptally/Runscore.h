#pragma once

#include <Qt>

#include "platform/Messages.h"

class QAction;
class QRect;

namespace hooptally {

class THooptallyForm;
class TPlayer;
class TTeam;

// The running-score sheet: four blocks of forty points a team, marked by every made shot.
void CreateRunningScore(THooptallyForm* form);
void FreeRunningScore(THooptallyForm* form);
void ResetRunningScore(THooptallyForm* form);
void BuildRunningScoreLayout(THooptallyForm* form);
// Column and row of the team's current total in its mark column; beyond the last column past 160.
void RunningScorePlace(int side, const TTeam* team, int& column, int& row);
void OnScoreMarkMessage(THooptallyForm* form, platform::Message& message);
void MarkPeriodEndOnRunningScore(THooptallyForm* form, int period);
void MarkGameEndOnRunningScore(THooptallyForm* form);
// The narrow column after each block of the running score.
bool IsRunSpacerColumn(int column);
void RunningScoreDrawCell(THooptallyForm* form, int col, int row, const QRect& rect);
void RunningScoreClick(THooptallyForm* form);
void RunningScoreMouseUp(THooptallyForm* form, Qt::MouseButton button, int x, int y);
void RunningScoreDblClick(THooptallyForm* form);
void RunningScorePlayerChosen(THooptallyForm* form, QAction* item);
void RunningScorePointChosen(THooptallyForm* form, int index);
// The sheet's marks and the player menu's items drop their pointer to the player.
void ForgetPlayerOnRunningScore(THooptallyForm* form, const TPlayer* player);

} // namespace hooptally
