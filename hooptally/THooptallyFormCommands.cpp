// Menu and button commands of the main window.
#include "hooptally/THooptallyForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>

#include "hooptally/Common.h"
#include "hooptally/TAboutBox.h"
#include "hooptally/TOption.h"
#include "hooptally/TSaveHtmlDlg.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tmember.h"
#include "hooptally/Tsavefile.h"
#include "hooptally/Tsaveofficial.h"
#include "hooptally/Ttourokumenber.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

namespace hooptally {

namespace {

const QString kNotShownInBrowser = QStringLiteral("保存しましたが、ブラウザで表示できませんでした");

QString dateText(const QDateEdit* picker)
{
    return picker->date().toString(QStringLiteral("yyyy.MM.dd"));
}

QString timeText(const QTimeEdit* picker)
{
    return picker->time().toString(QStringLiteral("hh:mm"));
}

} // namespace

void THooptallyForm::FileNew1Execute()
{
    // The labels first: the reset names the new teams after them.
    TeamAName->clear();
    TeamBName->clear();
    ResetGame(false, false);
    for (QLineEdit* field : {Taikaimei, Basho})
        field->clear();
}

bool THooptallyForm::AskToSaveChanges()
{
    if (m_replaying || !IsGameModified())
        return true;
    const int answer =
        platform::dialogs().messageBox(kAskSaveChanges, kCaption, platform::Buttons::YesNoCancel);
    if (answer == platform::mrYes)
        return SaveGame();
    return answer == platform::mrNo;
}

void THooptallyForm::RunAfterCloseQuestion(const std::function<void()>& command)
{
    if (AskToSaveChanges())
        command();
}

void THooptallyForm::FileSave1Execute()
{
    SaveGame();
}

std::optional<QString> THooptallyForm::chooseSaveTarget(const QString& extension, const QString& filter,
                                                        const QString& fileName) const
{
    platform::FileDialogOptions options;
    options.defaultExt = extension;
    options.filter = filter;
    options.initialDir = m_currentGameFile.isEmpty() ? (Option() ? Option()->GameDataFolder() : QString())
                                                     : QFileInfo(m_currentGameFile).absolutePath();
    options.fileName = fileName;
    const auto chosen = platform::dialogs().saveFile(options);
    if (!chosen)
        return std::nullopt;
    if (QFileInfo::exists(*chosen) &&
        platform::dialogs().messageBox(kAskOverwrite, kCaption, platform::Buttons::YesNo) != platform::mrYes)
        return std::nullopt;
    return chosen;
}

bool THooptallyForm::SaveGame()
{
    const QString name = m_currentGameFile.isEmpty() ? QString() : QFileInfo(m_currentGameFile).fileName();
    const auto chosen = chooseSaveTarget(QStringLiteral("game"), kGameFilter, name);
    if (!chosen)
        return false;
    m_currentGameFile = *chosen;
    TSaveFile writer(*chosen);
    if (!writer.Save(SaveKind::Game)) {
        // A game past a bound can be saved once the scorer has cut it down: say which.
        const QString refusal = writer.Refusal().isEmpty() ? QString() : QLatin1Char('\n') + writer.Refusal();
        platform::dialogs().messageBox(kSaveFailed + refusal, kCaption, platform::Buttons::Ok);
        return false;
    }
    MarkGameSaved();
    return true;
}

bool THooptallyForm::IsGameModified() const
{
    if (m_playLog->Count() != m_savedLogCount || m_changeCount != m_savedChangeCount)
        return true;
    for (const QLineEdit* field : {Taikaimei, Basho, TaikaiNo, shushin, fukusin, Scorekeeper, AScorekeeper, TimeKeeper,
                                   Operator, TO_Team}) {
        if (field->isModified())
            return true;
    }
    if (!m_savedDateText.isEmpty() && m_savedDateText != dateText(DateTimePicker1))
        return true;
    if (!m_savedTimeText.isEmpty() && m_savedTimeText != timeText(DateTimePicker2))
        return true;
    return m_teamA->modified != 0 || m_teamB->modified != 0;
}

void THooptallyForm::MarkGameSaved()
{
    for (QLineEdit* field : {Taikaimei, Basho, TaikaiNo, shushin, fukusin, Scorekeeper, AScorekeeper, TimeKeeper,
                             Operator, TO_Team})
        field->setModified(false);
    m_teamA->modified = 0;
    m_teamB->modified = 0;
    m_savedDateText = dateText(DateTimePicker1);
    m_savedTimeText = timeText(DateTimePicker2);
    m_savedLogCount = m_playLog->Count();
    m_savedChangeCount = m_changeCount;
}

void THooptallyForm::FileSaveAsItemClick()
{
    TSaveHtmlDlg dialog(this, m_lastHtmlFile);
    int result = platform::mrCancel;
    {
        const KeyInputOff keysOff;
        result = platform::dialogs().showModal(dialog);
    }
    if (result != platform::mrOk)
        return;
    const QString fileName = dialog.LabeledEdit1->text();
    if (fileName.isEmpty()) {
        platform::dialogs().messageBox(QStringLiteral("ファイル名を指定してください"), kCaption,
                                       platform::Buttons::Ok);
        return;
    }
    if (QFileInfo::exists(fileName) &&
        platform::dialogs().messageBox(kAskOverwrite, kCaption, platform::Buttons::YesNo) != platform::mrYes)
        return;
    m_teamA->SortPlayers(SortMode::ByStatus);
    m_teamB->SortPlayers(SortMode::ByStatus);
    TSaveFile writer(fileName);
    writer.SetHtmlOptions(dialog.ReportOptions());
    const bool saved = writer.Save(SaveKind::Html);
    if (!saved)
        platform::dialogs().messageBox(kSaveFailed, kCaption, platform::Buttons::Ok);
    // The dialog edits the commentary, whatever became of the report.
    Senhyou->setPlainText(dialog.RichEdit1->toPlainText());
    // The report sorted the players by number: back to the game's order, players on court first, so
    // that the Stats rows name the players they open and the function-key panel pages as before.
    m_teamA->SortPlayers(SortMode::ByStatus);
    m_teamB->SortPlayers(SortMode::ByStatus);
    RebuildGridsIfEnabled();
    // Without a program to show it the page is still saved; the user must not wait for it.
    if (saved && dialog.CheckBox2->isChecked() && !platform::shell().ShellOpen(fileName))
        platform::dialogs().messageBox(kNotShownInBrowser + QLatin1Char('\n') + fileName, kCaption,
                                       platform::Buttons::Ok);
}

void THooptallyForm::OfficialSaveClick()
{
    const QString name =
        m_currentGameFile.isEmpty() ? QString() : QFileInfo(m_currentGameFile).completeBaseName() + ".jpeg";
    const auto chosen = chooseSaveTarget(QStringLiteral("jpeg"), kJpegFilter, name);
    if (!chosen)
        return;
    TSaveOfficial writer(*chosen);
    if (!writer.Render(TSaveOfficial::kOfficialSheet))
        platform::dialogs().messageBox(kSaveFailed, kCaption, platform::Buttons::Ok);
}

void THooptallyForm::readRoster(int side)
{
    platform::FileDialogOptions options;
    options.defaultExt = QStringLiteral("member");
    options.filter = kMemberFilter;
    options.initialDir = Option() ? Option()->TeamFileFolder() : QString();
    const auto chosen = platform::dialogs().openFile(options);
    if (!chosen)
        return;
    // Read before anything changes: a file that cannot be read leaves the game as it is.
    const auto lines = readRosterFile(*chosen);
    if (!lines)
        return;
    ResetGame(side != kSideA, side == kSideA);
    SetGridUpdate(false);
    TTeam* team = side == kSideA ? m_teamA.get() : m_teamB.get();
    LoadTeamRoster(*chosen, *lines, team);
    ShowTeamNames(side == kSideA ? team : nullptr, side == kSideA ? nullptr : team);
    FillStatsGrid(m_teamA.get(), StringGrid1);
    FillStatsGrid(m_teamB.get(), StringGrid2);
    FillTeamGrid(this, team);
    sendCourtInOfStarters();
    SetGridUpdate(true);
    m_playLog->ReplayPlayLog();
    MarkGameChanged();
}

void THooptallyForm::writeRoster(int side)
{
    TTeam* team = side == kSideA ? m_teamA.get() : m_teamB.get();
    platform::FileDialogOptions options;
    options.defaultExt = QStringLiteral("member");
    options.filter = kMemberFilter;
    options.initialDir = Option() ? Option()->TeamFileFolder() : QString();
    options.fileName = team->filePath;
    const auto chosen = platform::dialogs().saveFile(options);
    if (!chosen)
        return;
    QString reason;
    switch (team->SaveRoster(*chosen, &reason)) {
    case RosterSaveResult::Failed:
        LogSaveFailure(*chosen, reason);
        // Either team, success and failure alike: the scorer must know where the roster stands.
        platform::dialogs().messageBox(kSaveFailed, kCaption, platform::Buttons::Ok);
        break;
    case RosterSaveResult::Written:
        platform::dialogs().messageBox(QStringLiteral("保存が完了しました"), kCaption, platform::Buttons::Ok);
        break;
    case RosterSaveResult::Declined:
        break;
    }
}

void THooptallyForm::BitBtn1Click()
{
    readRoster(kSideA);
}

void THooptallyForm::BitBtn3Click()
{
    readRoster(kSideB);
}

void THooptallyForm::BitBtn2Click()
{
    writeRoster(kSideA);
}

void THooptallyForm::BitBtn4Click()
{
    writeRoster(kSideB);
}

void THooptallyForm::TeamANameMemoClick()
{
    askTeamName(kSideA);
}

void THooptallyForm::TeamBNameMemoClick()
{
    askTeamName(kSideB);
}

void THooptallyForm::askTeamName(int side)
{
    TTeam* team = side == kSideA ? m_teamA.get() : m_teamB.get();
    QLabel* nameLabel = side == kSideA ? TeamAName : TeamBName;
    const KeyInputOff keysOff;
    QString text = nameLabel->text();
    // The name goes into roster and game files: a text they cannot hold is refused and asked again.
    for (;;) {
        const auto answer =
            platform::dialogs().inputQuery(kCaption, QStringLiteral("チーム名を入力してください"), text);
        if (!answer)
            return;
        text = *answer;
        const QString problem = RecordTextProblem(text);
        if (problem.isEmpty())
            break;
        platform::dialogs().messageBox(problem, kCaption, platform::Buttons::Ok);
    }
    if (text == team->name && text == nameLabel->text())
        return;
    team->name = text;
    ShowNameInLabel(nameLabel, text);
    (side == kSideA ? TeamALabel : TeamBLabel)->setText(text);
    ShowTeamName(this, text, team);
    MarkGameChanged();
    RebuildGridsIfEnabled();
}

void THooptallyForm::Optiono2Click()
{
    TOption* option = Option();
    if (!option)
        return;
    const KeyInputOff keysOff;
    const bool miniBasket = option->bMiniBasket->isChecked();
    if (platform::dialogs().showModal(*option) != platform::mrOk)
        return;
    option->SaveSettings();
    ApplyStatsColumns();
    TimeClearBClick();
    ApplyTeamColors();
    if (option->bMiniBasket->isChecked() != miniBasket) {
        const QString question =
            QStringLiteral("Official表示が変更されました。終了しますので再起動して下さい。\r\n"
                           "よろしいですか？\r\n"
                           "保存していなければ、情報が失われる可能性があります。");
        if (platform::dialogs().messageBox(question, kCaption, platform::Buttons::YesNo) == platform::mrYes) {
            // The scorer was warned of the loss: no close question, no window placement.
            if (quitProgram)
                quitProgram();
            return;
        }
        platform::dialogs().messageBox(QStringLiteral("Official表示の変更が無効になりました"), kCaption,
                                       platform::Buttons::Ok);
        option->bMiniBasket->setChecked(miniBasket);
        option->SaveSettings();
    }
    m_playLog->ReplayPlayLog();
}

void THooptallyForm::ClearTeam(TTeam* team)
{
    if (!team)
        return;
    const bool clearA = team == m_teamA.get();
    if (!clearA && team != m_teamB.get())
        return;
    // The emptied label names the new team; the other team keeps its roster and its starters.
    (clearA ? TeamAName : TeamBName)->clear();
    ResetGame(!clearA, clearA);
    MarkGameChanged();
}

void THooptallyForm::ChooseCourtPlayers(TTeam* team)
{
    if (!team)
        return;
    const KeyInputOff keysOff;
    TTourokuMember dialog(team);
    const int page = PageControl1->currentIndex();
    PageControl1->setCurrentIndex(0);
    if (platform::dialogs().showModal(dialog) == platform::mrOk) {
        struct Line
        {
            TPlayer* player;
            bool checked;
        };
        std::vector<Line> lines;
        for (int i = 0; i < dialog.ItemCount(); ++i) {
            if (TPlayer* player = dialog.ItemPlayer(i))
                lines.push_back({player, dialog.ItemChecked(i)});
        }
        for (const Line& line : lines) {
            const bool onCourt = line.player->status == kOnCourt;
            if (line.checked != onCourt)
                PostGameAction(kPlayerAction, line.checked ? kCourtIn : kToBench, line.player, kNone, kNone,
                               kNone);
        }
        if (dialog.StarterChkBx->isChecked()) {
            const ClockState clock = GetClockState();
            for (const Line& line : lines) {
                TPlayer* player = line.player;
                if (clock.period >= 0 && clock.period < kMaxPeriods)
                    player->played[clock.period] = 0;
                if (line.checked != (player->starter == 1))
                    PostStarterRegistration(player, line.checked);
            }
        }
    }
    m_playLog->ReplayPlayLog(TPlayLog::ClockAfterReplay::AsBefore);
    PageControl1->setCurrentIndex(page);
}

void THooptallyForm::CoatPlayerTeamAClick()
{
    ChooseCourtPlayers(m_teamA.get());
}

void THooptallyForm::CoatPlayerTeamBClick()
{
    ChooseCourtPlayers(m_teamB.get());
}

void THooptallyForm::ctrlZ1Click()
{
    m_playLog->DeleteSelectedLogEntry();
}

void THooptallyForm::ToolButton18Click()
{
    m_playLog->ReplayPlayLog();
}

void THooptallyForm::MenuPeriodEndClick()
{
    SpeedButton1Click();
}

void THooptallyForm::MenuGameEndClick()
{
    GameEndClick();
}

void THooptallyForm::Hoopledger1Click()
{
    // The two programs are built side by side.
    const QString folder = Option() ? Option()->ProgramFolder() : QCoreApplication::applicationDirPath();
    const QString path = QDir(folder).filePath(QStringLiteral("Hoopledger"));
    if (!QFileInfo(path).isFile()) {
        platform::dialogs().messageBox(QStringLiteral("Hoopledgerが見つかりません"), kCaption,
                                       platform::Buttons::Ok);
        return;
    }
    platform::shell().StartProgram(path, {}, folder);
}

void THooptallyForm::TaikaimeiExit()
{
    setWindowTitle(kProgramTitle + QLatin1Char('[') + Taikaimei->text() + QLatin1Char(']'));
}

void THooptallyForm::HelpAbout1Execute()
{
    const KeyInputOff keysOff;
    TAboutBox box(this);
    platform::dialogs().showModal(box);
}

void THooptallyForm::FileExit1Execute()
{
    close();
}

} // namespace hooptally
