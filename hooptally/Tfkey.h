#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include <QString>
#include <QWidget>

#include "platform/Colors.h"
#include "platform/Messages.h"

class QLabel;

namespace hooptally {

class TPlayer;
class TTeam;
struct GameAction;

// The pages of the function-key menu tree.
enum class FKeyPage { None, Root, Action1, Action2, Foul1, Foul2, Coach, Others, File, GameInfo, Officials };

// Page kinds; pages of the same kind count up the page number when one leads to the other.
enum FKeyPageKind : int {
    kPlayerPage = 1,
    kActionPage = 2,
    kCoachPage = 3,
    kGameInfoPage = 4,
    kOfficialsPage = 5,
    kFoulPage = 6,
    kOthersPage = 7,
    kFilePage = 8,
};

constexpr int kFunctionKeyCount = 12;

struct FKeyMenuItem
{
    int kind = 0;
    QString caption;
    platform::TColor panelColor = 0;
    platform::TColor captionColor = 0;
    FKeyPage next = FKeyPage::None;
    int teamColorSide = 0; // kSideA or kSideB: shown in that team's colour instead of panelColor
};

struct FKeyMenuPage
{
    int kind = 0;
    std::array<FKeyMenuItem, kFunctionKeyCount> items;
};

// The fixed menu tree.
const FKeyMenuPage& FKeyMenu(FKeyPage page);

// One key of the page on show.
struct TTButton
{
    QLabel* panel = nullptr;
    TPlayer* player = nullptr; // not owned
    FKeyMenuItem item;
};

// One page walked since the root.
struct FKeyHistoryEntry
{
    std::optional<FKeyMenuItem> pressedItem;
    std::optional<TTButton> pressed; // none until a key is pressed on this page
    FKeyPage page = FKeyPage::None;
    int pageNumber = 0;
};

// The function-key panel: a small tool window that walks a menu tree of actions with F1 to F12
// and sends the action of a leaf to the main window as every other sender does (WM_APP+8).
class TFKey : public QWidget
{
    Q_OBJECT
public:
    explicit TFKey(QWidget* parent = nullptr);
    ~TFKey() override;

    void FormActivate(); // the first call reads the placement and builds the pages
    void OnFunctionKeyRefresh(platform::Message& message);
    void OnFunctionKeyMessage(platform::Message& message);
    // Back to the root page with the current teams; deferred while a key is being handled.
    void RebuildFunctionKeyPages();
    // Key 1 to 12, as clicked or pressed (F1 to F12).
    void PressKey(int key);

    // What is on show.
    FKeyPage CurrentPage() const;
    int PageNumber() const { return m_pageNumber; }
    const TTButton& Button(int key) const { return m_buttons[key - 1]; }
    int HistoryCount() const { return static_cast<int>(m_history.size()); }

    // How long a pressed key shows red; the message loop waits meanwhile.
    void SetFlashDuration(std::chrono::milliseconds duration) { m_flash = duration; }

    std::array<QLabel*, kFunctionKeyCount> Panels{};
    QLabel* Label1;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormDestroy();
    void showPage(FKeyPage page, int pageNumber);
    void showPlayerKey(TTButton& button, int index, int pageNumber);
    void enableActionKey(TTButton& button, int index, int pageNumber, const TPlayer* player);
    void paintPanel(QLabel* panel, platform::TColor color, platform::TColor captionColor);
    void setCaption(QLabel* panel, const QString& caption);
    bool refused(const TTButton& button) const;
    void flash(QLabel* panel);
    void handleKey(int key);
    void backspace();
    void escape();
    void clearPages();
    TPlayer* selectedPlayer() const;
    bool hasPlayerAt(int index) const;

    std::array<TTButton, kFunctionKeyCount> m_buttons;
    std::vector<FKeyHistoryEntry> m_history;
    TTeam* m_teamA = nullptr;
    TTeam* m_teamB = nullptr;
    int m_pageNumber = 0;
    bool m_escToggled = false;
    bool m_activated = false;
    // A key is being handled: a key that arrives meanwhile (from a dialog the action opened) is refused
    // and a rebuild waits until the handler is done with the pages.
    bool m_handlingKey = false;
    bool m_rebuildPending = false;
    std::array<QFont, kFunctionKeyCount> m_fonts;
    std::chrono::milliseconds m_flash{100};
};

// Builds the action of a leaf item for the player (none for commands); category 2 when the item
// sends nothing.
std::unique_ptr<GameAction> BuildFKeyAction(const FKeyMenuItem& item, TPlayer* player);

// The function-key panel of the running program; null before start-up.
TFKey* FKey();

} // namespace hooptally
