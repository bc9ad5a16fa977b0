#include "hooptally/Tgridctrl.h"

#include <algorithm>

#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"

namespace hooptally {

void CreateTeamGrids(THooptallyForm*)
{
    // The sheet layout comes with the team score sheets.
}

void FreeTeamGrids(THooptallyForm*)
{
    // Nothing is created yet.
}

void RedrawTeamGrids(THooptallyForm*, bool, bool)
{
    // The sheet layout comes with the team score sheets.
}

void FillTeamGrid(THooptallyForm*, TTeam*)
{
    // The sheet layout comes with the team score sheets.
}

void ShowTeamName(THooptallyForm*, const QString&, TTeam*)
{
    // The sheet's team-name area comes with the team score sheets.
}

void TeamGridDrawCell(THooptallyForm*, platform::StringGrid*, int, int, const QRect&)
{
    // The sheet painters come with the sheet grid control.
}

namespace {

// Until the sheet places players itself: the first fifteen players of the roster who are on the
// official list, in roster order, as the sheet lists them.
bool standsOnSheet(const TPlayer* player, const TTeam* team)
{
    constexpr int kPlayerRows = 15;
    int row = 0;
    for (int i = 0; i < team->Count() && row < kPlayerRows; ++i) {
        const TPlayer* candidate = team->PlayerAt(i);
        if (candidate->status == kBlankRow || candidate->IsCoach() || candidate->status == kNotListed)
            continue;
        if (candidate == player)
            return true;
        ++row;
    }
    return false;
}

} // namespace

QString OfficialTextOfPlayer(const TPlayer* player, const TTeam* team)
{
    return player && team && standsOnSheet(player, team) ? QStringLiteral("Official") : QString();
}

int CountListedPlayers(const TTeam* team)
{
    int listed = 0;
    for (int i = 0; i < team->Count(); ++i) {
        if (standsOnSheet(team->PlayerAt(i), team))
            ++listed;
    }
    return listed;
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
    // The copy is the receiver's to free; the marks come with the team score-sheet marks.
    std::unique_ptr<GameAction> action(platform::fromLParam<GameAction>(message.lParam));
}

void OnPlayerStatusChanged(THooptallyForm*, platform::Message&)
{
    // Moving players on the sheet comes with the team score-sheet marks.
}

void ForgetPlayerOnTeamGrids(const TPlayer*)
{
    // No sheet cell holds a player yet.
}

} // namespace hooptally
