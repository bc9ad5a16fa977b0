#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include <QMainWindow>

#include "gamefile/GameFileSections.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tsplaying.h"
#include "hooptally/Tteam.h"
#include "platform/Messages.h"

class QAction;
class QComboBox;
class QDateEdit;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimeEdit;
class QTimer;
class QToolBar;

namespace platform {
class StringGrid;
}

namespace hooptally {

class TStatsRequestHandler;

// A game file read whole: its lines and where its parts stand in them.
struct GameFile
{
    QStringList lines;
    gamefile::GameFileSections sections;

    std::span<const QString> linesOf(const std::optional<gamefile::LineRange>& section) const
    {
        return gamefile::sectionLines(lines, section);
    }
};

// What the game clock can show: two digits of minutes, the seconds of a minute.
constexpr int kMaxClockMinutes = 99;
constexpr int kMaxClockSeconds = 59;

// One key press as its shortcut override announces it and its press event brings it.
struct KeyAnnouncement
{
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    quint64 timestamp = 0;
    bool autoRepeat = false;

    static KeyAnnouncement of(const QKeyEvent& event);
    bool operator==(const KeyAnnouncement&) const = default;
};

// The scoring program's main window: it owns both teams, the log and the grids, runs the clock and
// executes every scoring action that reaches it as a private message.
class THooptallyForm : public QMainWindow, public platform::MessageWindow
{
    Q_OBJECT
public:
    explicit THooptallyForm(QWidget* parent = nullptr);
    ~THooptallyForm() override;

    // Start-up and lifecycle.
    void FormActivate(); // the first call runs the first activation; later calls do nothing
    bool Activated() const { return m_activated != 0; }
    bool FormCloseQuery();
    void FormClose();
    void FormResize();
    void ResetGame(bool keepA, bool keepB);
    // Opens the game file named by the arguments joined with single spaces, when it exists.
    void OpenCommandLineFile(const QStringList& arguments);
    void PageControl1Change(int index);
    void Dispatch(platform::Message& message) override;
    // Sees every message before it is handled; for tests that check the order of the notices.
    std::function<void(const platform::Message&)> messageSpy;

    // Message receivers.
    void OnCopyDataMessage(platform::Message& message);
    void OnDeleteByKeyMessage(platform::Message& message);
    void OnActionMessage(platform::Message& message);
    // What WM_APP+8 does with its record; the replay calls it directly with each logged action.
    void ReceiveAction(const GameAction* action);
    void OnRegistrationMessage(platform::Message& message);

    // Game clock, periods and score panel.
    void TimeStartStopBClick();
    void TimeClearBClick();
    void TimerModifyBClick();
    void Timer1Timer();
    void ShowClock();
    void StopClock(); // the standing state: timer off, "Start", "Modify" enabled
    bool ClockRunning() const;
    void SetClock(int minutes, int seconds);
    int ClockMinutes() const { return m_clockMinutes; }
    int ClockSeconds() const { return m_clockSeconds; }
    void SpeedButton1Click();
    void GameEndClick();
    void QuatorComboChange(int index);
    void SetPeriod(int period); // sets the selector without a period-end request
    void EndPeriod(const GameAction& action);
    void EndGame(const GameAction& action);
    void UpdateScorePanel();
    void ShowOvertimeLabels(int period);
    bool IsTextFieldFocused() const;
    bool eventFilter(QObject* watched, QEvent* event) override; // ApplicationKeyHook
    bool ApplicationKeyHook(int key, bool isKeyDown);

    // Statistics tab.
    void InitStatsGrids();
    void ApplyStatsColumns();
    void FillStatsGrid(TTeam* team, platform::StringGrid* grid);
    void EnsureAddRow(TTeam* team);
    void SyncTeamLabels();
    void OpenStatsRow(platform::StringGrid* grid);
    void DrawStatsCell(platform::StringGrid* grid, int col, int row, const QRect& rect);

    // Game-file reader.
    void FileOpen1Execute(bool withDialog);
    // Over the lines of a member file, read by the caller before anything changed; the file becomes
    // the team's roster file.
    bool LoadTeamRoster(const QString& fileName, const QStringList& lines, TTeam* team);
    // Over the lines of a game file's team section: a game file is no team's roster file.
    void LoadTeamSection(std::span<const QString> lines, TTeam* team);
    void ShowTeamNames(TTeam* teamA, TTeam* teamB);
    // The label shows the name at 14 points, shrunk until it fits the label's width.
    void ShowNameInLabel(QLabel* label, const QString& name);
    // Opens a checked game file; false (with a message) when it was refused and nothing changed.
    bool OpenGameFile(const QString& path);
    // The open command for a file another program names: as OpenGameFile, and unsaved changes are
    // offered for saving first, as the menu's Open does. False when refused or cancelled.
    bool OpenRequestedGame(const QString& path);
    // The section readers, over the file loaded once.
    struct LogRead
    {
        int read = 0;       // entries replayed
        int unreadable = 0; // log lines not read
    };
    LogRead ReadLogSection(const GameFile& file); // replays
    std::unique_ptr<PlayLogEntry> ParseLogLine(const QStringList& fields);
    void ReplayActions(const PlayLogEntries& entries);
    void ReadGameHeader(const GameFile& file);
    void ReadTimeAndOptionSections(const GameFile& file);
    void ReadSenhyouSection(const GameFile& file);
    void ReadOfficialSection(const GameFile& file);

    // Main-window commands.
    void FileNew1Execute();
    void FileSave1Execute();
    void FileSaveAsItemClick();
    void OfficialSaveClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void TeamANameMemoClick();
    void TeamBNameMemoClick();
    void Optiono2Click();
    void ClearTeam(TTeam* team);
    void ChooseCourtPlayers(TTeam* team);
    void CoatPlayerTeamAClick();
    void CoatPlayerTeamBClick();
    void ctrlZ1Click();
    void ToolButton18Click();
    void MenuPeriodEndClick();
    void MenuGameEndClick();
    void Hoopledger1Click();
    void TaikaimeiExit();
    void HelpAbout1Execute();
    void FileExit1Execute();
    void PopupMenu1Popup();
    // The close question before a command that replaces the game (new game, open, roster read): true
    // when the command may go on. A replay runs its commands without asking.
    bool AskToSaveChanges();
    // What the menus, buttons and keys run for such a command: the question first.
    void RunAfterCloseQuestion(const std::function<void()>& command);
    // Ends the program at once, without the close question (the settings' restart); replaceable in tests.
    std::function<void()> quitProgram;
    bool SaveGame();
    bool IsGameModified() const;
    void MarkGameSaved();
    // Every executed action and every edit of the log.
    void MarkGameChanged() { ++m_changeCount; }

    CommonSwitches& Switches() { return m_switches; }
    TActionExecutor* Executor() const { return m_executor.get(); }
    // The score sheets: the controls over GridTeamA, GridTeamB and GridRun and the pending target.
    TeamGridControls& TeamGrids() { return m_teamGrids; }
    const TeamGridControls& TeamGrids() const { return m_teamGrids; }
    TTeam* TeamA() const { return m_teamA.get(); }
    TTeam* TeamB() const { return m_teamB.get(); }
    TPlayLog& PlayLog() { return *m_playLog; }
    int PeriodMirror() const { return m_periodMirror; }
    const QString& CurrentGameFile() const { return m_currentGameFile; }
    void SetCurrentGameFile(const QString& path) { m_currentGameFile = path; }
    bool Replaying() const { return m_replaying; }
    // Drops every pointer to a player that is about to be destroyed.
    void ForgetPlayer(const TPlayer* player);
    void ForgetTeam(const TTeam* team);

    // Components, named as the program names them.
    QToolBar* ToolBar1;
    QFrame* Panel12;
    QFrame* PanelTeamA;
    QLabel* TeamAName;
    QLabel* TeamATotalCnt;
    QLabel* TeamAFoulCnt;
    QLabel* OpenA;
    QFrame* SplitTeamA;
    QFrame* PanelCount;
    QLabel* LaCount1st;
    QLabel* LaCount2nd;
    QLabel* LaCount3rd;
    QLabel* LaCount4th;
    QLabel* LaCountOT1;
    QLabel* LaCountOT2;
    QFrame* SplitTeamB;
    QFrame* PanelTeamB;
    QLabel* TeamBName;
    QLabel* TeamBTotalCnt;
    QLabel* TeamBFoulCnt;
    QLabel* OpenB;
    QFrame* Panel3;
    QComboBox* QuatorCombo;
    QPushButton* Button1;
    QPushButton* GameEnd;
    QLineEdit* TimerMin;
    QLineEdit* TimerSec;
    QPushButton* TimeStartStopB;
    QPushButton* TimeClearB;
    QPushButton* TimerModifyB;
    QTimer* Timer1;
    QTabWidget* PageControl1;
    QWidget* TabSheet4;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QLineEdit* Taikaimei;
    QLineEdit* Basho;
    QLineEdit* TaikaiNo;
    QDateEdit* DateTimePicker1;
    QTimeEdit* DateTimePicker2;
    QPlainTextEdit* Senhyou;
    QLineEdit* shushin;
    QLineEdit* fukusin;
    QLineEdit* Scorekeeper;
    QLineEdit* AScorekeeper;
    QLineEdit* TimeKeeper;
    QLineEdit* Operator;
    QLineEdit* TO_Team;
    platform::StringGrid* GridTeamA;
    platform::StringGrid* GridTeamB;
    platform::StringGrid* GridRun;
    QFrame* Panel5;
    QLabel* TeamALabel;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    platform::StringGrid* StringGrid1;
    QFrame* Panel8;
    QLabel* TeamBLabel;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    platform::StringGrid* StringGrid2;
    platform::StringGrid* GridPlaying;
    QPushButton* PModifyBtn;
    QPushButton* PInsertBtn;
    QPushButton* PDeleteBtn;
    QPushButton* PAddBtn;
    QPushButton* PDataReloadBtn;
    QStatusBar* StatusBar;
    // Actions and menu items of the menu bar and the tool bar.
    QAction* FileNew1 = nullptr;
    QAction* FileOpen1 = nullptr;
    QAction* FileSave1 = nullptr;
    QAction* FileSaveAs1 = nullptr;
    QAction* SaveHtml = nullptr;
    QAction* OfficialSave = nullptr;
    QAction* FileExit1 = nullptr;
    QAction* EditCut1 = nullptr;
    QAction* EditCopy1 = nullptr;
    QAction* EditPaste1 = nullptr;
    QAction* ctrlZ1 = nullptr;
    QAction* R1 = nullptr;
    QAction* ReadTeamA = nullptr;
    QAction* WriteTeamA = nullptr;
    QAction* N4 = nullptr;
    QAction* ReadTeamB = nullptr;
    QAction* WriteTeamB = nullptr;
    QAction* N5 = nullptr;
    QAction* CoatPlayerTeamA = nullptr;
    QAction* CoatPlayerTeamB = nullptr;
    QAction* MenuPeriodEnd = nullptr;
    QAction* MenuGameEnd = nullptr;
    QAction* Optiono2 = nullptr;
    QAction* Hoopledger1 = nullptr;
    QAction* HelpAbout1 = nullptr;
    // The play-by-play grid's pop-up.
    QMenu* PopupMenu1 = nullptr;
    // Pop-up menus of the score sheets.
    QMenu* PopupFoul = nullptr;
    QMenu* PopupCoach = nullptr;
    QMenu* PopupFreeThrow = nullptr;
    QMenu* PopTimeOut = nullptr;
    QMenu* PopStarter = nullptr;
    QMenu* PopCortInOut = nullptr;
    QMenu* PopupFile = nullptr;
    QMenu* PopupMember = nullptr;
    QMenu* PopupCount = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The save dialog in the current game's folder, then the overwrite question; nothing when either
    // is declined.
    std::optional<QString> chooseSaveTarget(const QString& extension, const QString& filter,
                                            const QString& fileName) const;
    void FormCreate();
    void FormDestroy();
    void buildScorePanel(QWidget* parent);
    void buildClockBar(QWidget* parent);
    void buildGameInfoPage();
    void buildOfficialPage();
    void buildStatsPage();
    void buildPlayByPlayPage();
    void resetTeam(std::unique_ptr<TTeam>& team, bool keep, int side);
    void loadStartupRoster(const QString& path, TTeam* team);
    // The lines of a file that the user named; nothing, after a message, when it cannot be read or
    // holds more than maxBytes, which is checked before the file is decoded.
    std::optional<QStringList> readChosenFile(const QString& path, qint64 maxBytes);
    // A member file's lines; anything else is refused with a message.
    std::optional<QStringList> readRosterFile(const QString& path);
    // A game file that may be opened; nothing, after a message, when it may not.
    std::optional<GameFile> readGameFile(const QString& path);
    void sendCourtInOfStarters();
    void readRoster(int side);
    void writeRoster(int side);
    void buildViewMenu(QMenu* view);
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildPlayLogPopup();
    void askTeamName(int side);
    int statsTextWidth(const platform::StringGrid* grid, const QString& text);

    std::uint8_t m_enterGuard = 0;
    int m_pressedStatsRow = -1;
    std::uint8_t m_activated = 0;
    std::int8_t m_periodMirror = -1;
    QString m_savedDateText;
    QString m_savedTimeText;
    std::unique_ptr<TTeam> m_teamA;
    std::unique_ptr<TTeam> m_teamB;
    TeamGridControls m_teamGrids;
    int m_clockMinutes = 0;
    int m_clockSeconds = 0;
    std::unique_ptr<TStatsRequestHandler> m_requestHandler;
    QString m_currentGameFile;
    // The HTML report file last picked in the report dialog during this run.
    QString m_lastHtmlFile;
    std::unique_ptr<TPlayLog> m_playLog;
    int m_savedLogCount = 0;
    // Changes since the last save: the test for unsaved changes compares the two counts.
    std::uint64_t m_changeCount = 0;
    std::uint64_t m_savedChangeCount = 0;
    bool m_replaying = false;
    TextWidths m_statsTextWidths;
    CommonSwitches m_switches;
    std::unique_ptr<TActionExecutor> m_executor;
    // The key press announced and not yet taken by the key hook.
    std::optional<KeyAnnouncement> m_announcedKey;
    // The press the key hook took, until its key is released.
    std::optional<KeyAnnouncement> m_takenKey;
};

} // namespace hooptally
