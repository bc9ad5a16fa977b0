// Menu and button commands of the main window.
#include "hooptally/THooptallyForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/TSaveHtmlDlg.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tsavefile.h"
#include "hooptally/Tsaveofficial.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

namespace hooptally {

namespace {

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
    ResetGame(false, false);
    for (QLineEdit* field : {Taikaimei, Basho})
        field->clear();
    TeamAName->clear();
    TeamBName->clear();
    SyncTeamLabels();
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
        platform::dialogs().messageBox(kSaveFailed, kCaption, platform::Buttons::Ok);
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
    m_teamA->SortPlayers(0);
    m_teamB->SortPlayers(0);
    TSaveFile writer(fileName);
    writer.SetHtmlOptions(dialog.ReportOptions());
    const bool saved = writer.Save(SaveKind::Html);
    if (!saved)
        platform::dialogs().messageBox(kSaveFailed, kCaption, platform::Buttons::Ok);
    // The dialog edits the commentary, whatever became of the report.
    Senhyou->setPlainText(dialog.RichEdit1->toPlainText());
    // The report sorted the players: the Stats rows must name the players they open.
    RebuildGridsIfEnabled();
    if (saved && dialog.CheckBox2->isChecked())
        platform::shell().ShellOpen(fileName);
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
    const auto lines = readChosenFile(*chosen);
    if (!lines)
        return;
    ResetGame(side != kSideA, side == kSideA);
    SetGridUpdate(false);
    TTeam* team = side == kSideA ? m_teamA.get() : m_teamB.get();
    LoadTeamRoster(*chosen, *lines, team, QString());
    ShowTeamNames(side == kSideA ? team : nullptr, side == kSideA ? nullptr : team);
    FillStatsGrid(m_teamA.get(), StringGrid1);
    FillStatsGrid(m_teamB.get(), StringGrid2);
    FillTeamGrid(this, team);
    sendCourtInOfStarters();
    SetGridUpdate(true);
    m_playLog->ReplayPlayLog();
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
    switch (team->SaveRoster(*chosen)) {
    case RosterSaveResult::Failed:
        // Either team: a roster that was not written must never pass unnoticed.
        platform::dialogs().messageBox(kSaveFailed, kCaption, platform::Buttons::Ok);
        break;
    case RosterSaveResult::Written:
        if (side != kSideA)
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
    // The team-name prompt comes with the main-window commands.
}

void THooptallyForm::TeamBNameMemoClick()
{
    // The team-name prompt comes with the main-window commands.
}

void THooptallyForm::Optiono2Click()
{
    // The settings command comes with the main-window commands.
}

void THooptallyForm::ClearTeam(TTeam*)
{
    // A new empty team comes with the main-window commands.
}

} // namespace hooptally
