#include "hooptally/Texecute.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimeEdit>

#include "hooptally/THooptallyForm.h"
#include "hooptally/TPlayerTouroku.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/Dialogs.h"

namespace hooptally {

namespace {

void sendStatusChanged(TPlayer* player, bool staysListed)
{
    platform::SendMessage(GetMainWindowHandle(), kPlayerStatusMessage, staysListed ? 1 : 0,
                          platform::Lend(player));
}

bool isTeamFoul(const GameAction& action)
{
    return action.code == kFoul && !action.player->IsCoach() && action.foulKind != kTechnicalFoul &&
           action.foulKind != kDisqualifyingFoul;
}

} // namespace

TActionExecutor* ActionExecutor()
{
    return MainForm() ? MainForm()->Executor() : nullptr;
}

bool TActionExecutor::ExecuteAction(const GameAction& sent)
{
    THooptallyForm* form = &m_form;
    GameAction action = sent;
    bool changed = false;
    if (action.category == kPlayerAction) {
        // A player action without a player has nothing to act on.
        if (!action.player || !applyPlayerAction(action))
            return false;
        // The player dialog's registration counts itself, and only when it changed the player.
        changed = action.code != kEditPlayer;
    } else if (action.category == kCommand) {
        changed = applyCommand(action);
    }
    const int logged = form->PlayLog().Count();
    form->PlayLog().LogAction(action);
    changed = changed || form->PlayLog().Count() != logged;

    auto notice = std::make_unique<ScoreMarkNotice>();
    notice->player = action.player;
    notice->category = action.category;
    notice->code = action.code;
    notice->freeThrows = action.freeThrows;
    notice->foulKind = action.foulKind;
    notice->command = action.command;
    notice->period = action.period;
    platform::SendMessage(GetMainWindowHandle(), kScoreMarkMessage, 0, std::move(notice));
    platform::SendMessage(GetMainWindowHandle(), kActionForTeamGridMessage, 0,
                          std::make_unique<GameAction>(action));
    return changed;
}

bool TActionExecutor::applyPlayerAction(GameAction& action)
{
    TPlayer* player = action.player;
    const int period = action.period;
    const bool hasPeriod = period >= 0 && period < kMaxPeriods;
    switch (action.code) {
    case kFoul:
        sendStatusChanged(player, true);
        break;
    case kToBench:
        player->status = kOnBench;
        if (hasPeriod)
            player->ClockOut(period, action.minutes, action.seconds);
        sendStatusChanged(player, true);
        break;
    case kRemoveFromOfficial:
        if (player->status == kOnCourt) {
            platform::dialogs().messageBox(
                QStringLiteral("このプレイヤーはプレイ中なのでオフィシャルから削除は出来ません"), kCaption,
                platform::Buttons::Ok);
            return false;
        }
        // His court time is in no log line: off the list it would be lost at the next reopen.
        if (player->TotalCourtTime() > 0.0) {
            platform::dialogs().messageBox(
                QStringLiteral("このプレイヤーは出場したのでオフィシャルから削除は出来ません"), kCaption,
                platform::Buttons::Ok);
            return false;
        }
        player->status = kNotListed;
        if (hasPeriod)
            player->ClockOut(period, action.minutes, action.seconds);
        sendStatusChanged(player, false);
        break;
    case kSetStarter:
        // The scorer's word: he started, whatever the sheet's first fill made of him.
        player->starter = 1;
        player->leftOffTheList = false;
        if (hasPeriod)
            player->played[period] = 1;
        break;
    case kEditPlayer: {
        const KeyInputOff keysOff;
        TPlayerTouroku dialog(player);
        if (platform::dialogs().showModal(dialog) != platform::mrOk)
            return false;
        if (player->team) {
            // The sender of a blank row's edit may not know the side; the sheets learn it here.
            action.side = player->team->side;
            m_form.EnsureAddRow(player->team);
        }
        break;
    }
    case kDeletePlayer: {
        sendStatusChanged(player, false);
        TTeam* team = player->team;
        // Every holder lets go of the record before it is destroyed.
        m_form.ForgetPlayer(player);
        if (team)
            team->RemovePlayer(player);
        m_form.MarkGameChanged();
        m_form.PlayLog().ReplayPlayLog(TPlayLog::ClockAfterReplay::AsBefore);
        return false;
    }
    default:
        if (action.code <= kCourtIn) {
            if (!player->IsCoach()) {
                player->status = kOnCourt;
                if (hasPeriod) {
                    player->played[period] = 1;
                    player->ClockIn(period, action.minutes, action.seconds);
                }
            }
            sendStatusChanged(player, true);
        }
        break;
    }
    if (action.code == kFoul && isTeamFoul(action) && player->team)
        player->team->AddTeamFoul(GetCurrentPeriod());
    // A statistic with no period is counted in the first; said once when recorded, not at every replay.
    if (GetCurrentPeriod() == -1 && StatIndexOfCode(action.code) >= 0 && !m_form.Replaying())
        platform::dialogs().messageBox(QStringLiteral("Ptime Error! debug"), kCaption, platform::Buttons::Ok);
    player->AddStat(GetCurrentPeriod(), action);
    return true;
}

bool TActionExecutor::applyCommand(const GameAction& action)
{
    THooptallyForm* form = &m_form;
    switch (action.command) {
    case kPeriodEnd:
        form->EndPeriod(action);
        break;
    case kGameEnd:
        form->EndGame(action);
        break;
    case kNewGame:
        form->RunAfterCloseQuestion([form] { form->FileNew1Execute(); });
        break;
    case kReadRosterA:
        form->RunAfterCloseQuestion([form] { form->BitBtn1Click(); });
        break;
    case kReadRosterB:
        form->RunAfterCloseQuestion([form] { form->BitBtn3Click(); });
        break;
    case kWriteRosterA:
        form->BitBtn2Click();
        break;
    case kWriteRosterB:
        form->BitBtn4Click();
        break;
    case kOpenGame:
        // Reopens the current game file, as a caller without a sender does; unsaved plays are asked about.
        // A game never saved has no file to reopen: nothing to ask.
        if (QFileInfo::exists(form->CurrentGameFile()))
            form->RunAfterCloseQuestion([form] { form->FileOpen1Execute(false); });
        break;
    case kSaveGame:
        form->FileSave1Execute();
        break;
    case kSaveHtml:
        form->FileSaveAsItemClick();
        break;
    case kSaveOfficial:
        form->OfficialSaveClick();
        break;
    case kTeamNameA:
        form->TeamANameMemoClick();
        break;
    case kTeamNameB:
        form->TeamBNameMemoClick();
        break;
    case kSettings:
        form->Optiono2Click();
        break;
    case kAskTournament:
        return askField(QStringLiteral("大会名を入力してください"), form->Taikaimei);
    case kAskGameNumber:
        return askField(QStringLiteral("Ｎｏ．を入力してください"), form->TaikaiNo);
    case kAskPlace:
        return askField(QStringLiteral("場所を入力してください"), form->Basho);
    case kClockStart:
        form->TeamA()->StartPeriodClock(action.period, action.minutes, action.seconds);
        form->TeamB()->StartPeriodClock(action.period, action.minutes, action.seconds);
        break;
    default: {
        QWidget* focusTargets[] = {form->DateTimePicker1, form->DateTimePicker2, form->Senhyou, nullptr,
                                   form->shushin,         form->fukusin,         form->Scorekeeper,
                                   form->AScorekeeper,    form->TimeKeeper,      form->Operator,
                                   form->TO_Team};
        if (action.command >= kFocusDate && action.command <= kFocusTeamOfficials) {
            if (QWidget* target = focusTargets[action.command - kFocusDate]) {
                form->PageControl1->setCurrentWidget(form->TabSheet4);
                target->setFocus();
            }
        }
        break;
    }
    }
    return false;
}

bool TActionExecutor::askField(const QString& prompt, QLineEdit* field)
{
    QString text = field->text();
    // The same text again changes nothing; setting it would also drop the mark of what was typed.
    if (!AskText(prompt, text) || text == field->text())
        return false;
    field->setText(text);
    return true;
}

bool TActionExecutor::AskText(const QString& prompt, QString& text)
{
    const KeyInputOff keysOff;
    const auto answer = platform::dialogs().inputQuery(kCaption, prompt, text);
    if (!answer)
        return false;
    text = *answer;
    return true;
}

bool TActionExecutor::ExecuteRegistration(const PlayerRegistration& registration)
{
    TPlayer* player = registration.player;
    if (!player)
        return false;
    TTeam* team = player->team;
    constexpr int kCourtPlayers = 5;
    std::uint8_t status = player->status;
    if (registration.coach == 1) {
        status = registration.position == kHeadCoachText ? kHeadCoach : kAssistantCoach;
    } else if (status == kBlankRow) {
        if (registration.starter)
            status = kOnCourt;
        else if (team && CountListedPlayers(team) >= kSheetPlayerRows)
            status = kNotListed;
        else
            status = team && team->CountOnCourt() < kCourtPlayers ? kOnCourt : kOnBench;
    }
    if (status == kOnBench && registration.starter == 1 && team && team->CountOnCourt() < kCourtPlayers)
        status = kOnCourt;
    const bool changed = player->number != registration.number || player->name != registration.name ||
                         player->position != registration.position || player->status != status ||
                         player->starter != registration.starter;
    player->SetPlayerIdentity(registration.number, registration.name, status, registration.starter,
                              registration.position);
    sendStatusChanged(player, true);
    return changed;
}

} // namespace hooptally
