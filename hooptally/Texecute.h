#pragma once

#include <cstdint>
#include <memory>

#include <QString>

#include "hooptally/Common.h"

class QLineEdit;

namespace hooptally {

class TPlayer;

// Player action codes (category 0).
enum ActionCode : std::uint8_t {
    kTwoPointMade = 0,
    kTwoPointMissed = 1,
    kThreePointMade = 2,
    kThreePointMissed = 3,
    kFreeThrowMade = 4,
    kFreeThrowMissed = 5,
    kFoul = 6,
    kOffensiveRebound = 7,
    kDefensiveRebound = 8,
    kTurnover = 9,
    kAssist = 10,
    kSteal = 11,
    kBlockedShot = 12,
    kCourtIn = 13,
    kToBench = 14,
    kRemoveFromOfficial = 15,
    kSetStarter = 16,
    kEditPlayer = 17,
    kDeletePlayer = 19,
};

enum ActionCategory : std::uint8_t { kPlayerAction = 0, kCommand = 1, kNoCategory = 2 };

enum FoulKind : std::uint8_t {
    kPersonalFoul = 0,
    kTechnicalFoul = 1,
    kUnsportsmanlikeFoul = 2,
    kDisqualifyingFoul = 3,
    kCoachTechnicalFoul = 4,
    kBenchFoul = 5,
};

// Command codes (category 1).
enum CommandCode : std::uint8_t {
    kPeriodEnd = 0,
    kTimeout = 1,
    kGameEnd = 3,
    kNewGame = 8,
    kReadRosterA = 9,
    kReadRosterB = 10,
    kWriteRosterA = 11,
    kWriteRosterB = 12,
    kOpenGame = 13,
    kSaveGame = 14,
    kSaveHtml = 15,
    kSaveOfficial = 16,
    kTeamNameA = 17,
    kTeamNameB = 18,
    kSettings = 20,
    kAskTournament = 21,
    kAskGameNumber = 22,
    kAskPlace = 23,
    kFocusDate = 24,
    kFocusTime = 25,
    kFocusCommentary = 26,
    kFocusReferee = 28,
    kFocusTeamOfficials = 34,
    kClockStart = 35,
};

class SheetGridControl;

// One action of the game, as sent to the main window and kept in the log and in sheet cells.
struct GameAction
{
    std::int32_t side = kNoSide; // a TeamSide: kSideA, kSideB, or kNoSide for game commands
    std::int32_t keyA = -1; // sheet box column of an action chosen on a team sheet
    std::int32_t keyB = -1; // its row
    std::uint8_t category = kNoCategory;
    std::uint8_t code = kNone;
    std::uint8_t freeThrows = kNone;
    std::uint8_t foulKind = kNone;
    std::uint8_t command = kNone;
    TPlayer* player = nullptr; // not owned
    std::int8_t period = -1;
    std::int32_t minutes = -1;
    std::int32_t seconds = -1;
    // The sheet control of an action chosen on a team sheet; null otherwise.
    SheetGridControl* sheet = nullptr;
};

// Enters or changes a player (WM_APP+9).
struct PlayerRegistration
{
    TPlayer* player = nullptr;
    QString number;
    QString name;
    QString position;
    std::uint8_t coach = 0;
    std::uint8_t starter = 0;
    std::int32_t period = -1;
    std::int32_t minutes = -1;
    std::int32_t seconds = -1;
};

// What the running-score sheet learns of an executed action (WM_APP+1).
struct ScoreMarkNotice
{
    TPlayer* player = nullptr;
    std::uint8_t category = kNoCategory;
    std::uint8_t code = kNone;
    std::uint8_t freeThrows = kNone;
    std::uint8_t foulKind = kNone;
    std::uint8_t command = kNone;
    std::int8_t period = -1;
};

class THooptallyForm;

// Applies actions and registrations to the players, teams and log. It holds no state; the main
// window that owns it runs the commands.
class TActionExecutor
{
public:
    explicit TActionExecutor(THooptallyForm& form) : m_form(form) {}

    // True when the action changed the game; false when it ended without an effect (no player, a
    // refused removal, a cancelled dialog or prompt) or only ran a command that keeps its own state.
    bool ExecuteAction(const GameAction& action);
    // True when the registration changed the player's number, name, position, status or starter flag.
    bool ExecuteRegistration(const PlayerRegistration& registration);
    // The text prompt of the game-information commands; true when the user confirmed.
    bool AskText(const QString& prompt, QString& text);

private:
    // False when the action ends here (nothing logged, no notices). May set the action's side.
    bool applyPlayerAction(GameAction& action);
    // True when the command changed the game.
    bool applyCommand(const GameAction& action);
    bool askField(const QString& prompt, QLineEdit* field);

    THooptallyForm& m_form;
};

// The main window's executor; null before its first activation.
TActionExecutor* ActionExecutor();

} // namespace hooptally
