#pragma once

#include <array>
#include <cstdint>

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>

#include "gamefile/GameFileFormat.h"
#include "platform/Colors.h"
#include "platform/Messages.h"

class QFont;
class QLabel;
class QWidget;

namespace platform {
class Canvas;
class StringGrid;
struct CanvasFont;
} // namespace platform

// The one place through which the other units reach the main window's state.
namespace hooptally {

class THooptallyForm;
class TTeam;
class TPlayer;
class SheetGridControl;

// Texts that more than one place shows; kCaption is the caption of every message box and input box.
inline const QString kCaption = QStringLiteral("Quillmarsh");
inline const QString kProgramTitle = QStringLiteral("フープタリ");
inline const QString kMemberFilter = QStringLiteral("ﾒﾝﾊﾞｰﾌｧｲﾙ(*.member)|*.member|すべてのファイル (*.*)|*.*");
inline const QString kGameFilter = QStringLiteral("game(*.game)|*.game|すべてのファイル (*.*)|*.*");
inline const QString kJpegFilter = QStringLiteral("jpeg(*.jpeg)|*.jpeg|すべてのファイル (*.*)|*.*");
inline const QString kAskSaveChanges = QStringLiteral("変更されています、ゲーム情報を保存しますか？");
inline const QString kAskOverwrite = QStringLiteral("上書きしますよろしいですか？");
inline const QString kSaveFailed = QStringLiteral("保存に失敗しました");
// A game, member or settings file that exists but cannot be read (a folder, no permission, no roster).
inline const QString kUnreadableFile = QStringLiteral("ファイルを読み込めません");
// The clock button: what it offers, so "Start" while the clock stands.
inline const QString kClockStartText = QStringLiteral("Start");
inline const QString kClockStopText = QStringLiteral("Stop");

// The two sides of a game; an action of neither (a game command) has side kNoSide.
enum TeamSide : int { kNoSide = 0, kSideA = 1, kSideB = 2 };

// Periods 0 to 3 are the regular ones, 4 and 5 the two overtimes.
constexpr int kMaxPeriods = 6;
constexpr int kRegularPeriods = 4;

// 255 marks a byte field of an action that is not used.
constexpr std::uint8_t kNone = 255;

// Private messages of the main window.
enum AppMessage : unsigned {
    kScoreMarkMessage = platform::WM_APP + 1,
    kActionForTeamGridMessage = platform::WM_APP + 2,
    kDeleteByKeyMessage = platform::WM_APP + 3,
    kPlayerStatusMessage = platform::WM_APP + 4,
    kFunctionKeyRefreshMessage = platform::WM_APP + 5,
    kFunctionKeyMessage = platform::WM_APP + 6,
    kActionMessage = platform::WM_APP + 8,
    kRegistrationMessage = platform::WM_APP + 9,
};

struct PlayKind
{
    std::uint8_t kind;    // action category
    std::uint8_t code;    // player action code
    std::uint8_t subCode; // command code
    QString name;
};

// The vocabulary of the log-edit dialog (all entries) and of the statistics switches (0 to 12).
extern const std::array<PlayKind, 18> PlayKindTable;
constexpr int kStatSwitchCount = 13;

// The three switches of the program, held by the main window; all start on.
struct CommonSwitches
{
    bool refresh = true;    // controls may be repainted at once
    bool gridUpdate = true; // the statistics grids and the sheets are rebuilt on change
    bool keyInput = true;   // the main window acts on shortcut keys
};

struct ClockState
{
    int period = -1; // the selector's index as it stands
    int minutes = 0;
    int seconds = 0;
};

// The main window of the running program; every accessor below needs it.
THooptallyForm* MainForm();
void SetMainForm(THooptallyForm* form);

int GetPeriodCount();
// The selected period, -1 when none is selected.
int GetCurrentPeriod();
ClockState GetClockState();
platform::MessageWindow* GetMainWindowHandle();
TTeam* GetTeam(int side);
TTeam* GetTeamOfGrid(const platform::StringGrid* grid);
SheetGridControl* GetTeamRoster(int side);
int GetShownPeriodCount();
void GetOfficialsLines(QStringList& lines);
void GetGameInfoLines(QStringList& lines);

int FindPlayKind(std::uint8_t category, std::uint8_t code, std::uint8_t command);
// Fills the action bytes from entry `index`; an index past the table changes nothing.
void GetPlayKind(int index, std::uint8_t& category, std::uint8_t& code, std::uint8_t& command);
platform::TColor GetPeriodColor(int period);

// Without a main window the switches read as on and setting them does nothing.
void RefreshIfEnabled(QWidget* control);
void SetRefreshEnabled(bool on);
void SetGridUpdate(bool on);
void RebuildGridsIfEnabled();
bool IsGridUpdateOn();
bool IsRefreshOn();
void SetKeyInputEnabled(bool on);
bool IsKeyInputEnabled();

// Shortcut keys off for the life of the object: every modal dialog and prompt of the recording code
// (not the clock edit) runs inside one. The switch is back as it was on every way out of the scope.
class KeyInputOff
{
public:
    KeyInputOff();
    ~KeyInputOff();
    KeyInputOff(const KeyInputOff&) = delete;
    KeyInputOff& operator=(const KeyInputOff&) = delete;

private:
    bool m_wasOn;
};

// Text widths in one font, each text measured once: a replay and every refill of a grid measure the
// same texts again, and a name may be long.
class TextWidths
{
public:
    int width(const QFont& font, const QString& text);
    const QFont& font() const { return m_font; }

private:
    QFont m_font;
    QHash<QString, int> m_widths;
};

void ApplyTeamColors();
bool IsClockRunningInPeriod();
bool PlayedInPeriod(int column, int row, SheetGridControl* sheet);
void FitLabelFont(const QString& text, QLabel* control, QFont& font, int maximum);
void FitCanvasFont(const QString& text, platform::Canvas& canvas, platform::CanvasFont& font, int width,
                   int height);

// Why a typed text cannot go into a line of a roster or game file: a comma, a leading '#', a line
// break or a character CP932 cannot hold; empty when it can.
QString RecordTextProblem(const QString& text);

// What the scorer is told of a game file past a bound of what it may hold, read or written; empty for
// none.
QString PastBoundText(gamefile::Bound bound);
// What the scorer is told of a file larger than it may be.
QString FileSizeBoundText(qint64 maxBytes);
// What the scorer is told of a game or member file's bytes past the file's or a line's bound; empty
// when they are within both.
QString BytesBoundText(QByteArrayView bytes, qint64 maxBytes);

// Sends the player's own identity with a new starter flag, at the current period and clock (WM_APP+9).
platform::LRESULT PostStarterRegistration(TPlayer* player, bool starter);

// Builds a player action at the current period and clock and sends it to the main window (WM_APP+8).
platform::LRESULT PostGameAction(std::uint8_t category, std::uint8_t code, TPlayer* player,
                                 std::uint8_t freeThrows, std::uint8_t foulKind, std::uint8_t command);

} // namespace hooptally
