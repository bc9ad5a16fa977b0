#include "hooptally/Tfkey.h"

#include <algorithm>
#include <thread>

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "platform/Fonts.h"
#include "platform/Named.h"

namespace hooptally {

using platform::named;

namespace {

TFKey* g_fkey = nullptr;

// The system button face, resolved from the palette when a page is shown.
constexpr platform::TColor kButtonFace = static_cast<platform::TColor>(0x8000000F);
constexpr platform::TColor kBlack = 0x000000;
constexpr platform::TColor kBlue = 0xFF0000;
constexpr platform::TColor kPurple = 0x800080;
constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kDisabledKey = 0x808080;
constexpr platform::TColor kBenchKey = 0xFFFFFF;
constexpr platform::TColor kNotListedKey = 0xE0DFE3;
constexpr platform::TColor kNoPlayerKey = 0x595959;
// Foul keys by the free throws they award (0 to 3).
constexpr platform::TColor kPersonalColors[] = {0xD2D5FF, 0xACB0FF, 0x8086FF, 0x5B64FF};
constexpr platform::TColor kTechnicalColors[] = {0xD2D506, 0xACB006, 0x909006, 0x707606};

constexpr int kPanelWidth = 109;
constexpr int kPanelHeight = 25;
constexpr int kKeysPerRow = 6;
constexpr int kPlayersPerTeam = 5;
constexpr int kTeamBFirstKey = 6;
// Statistic switches per action page: F1 to F11.
constexpr int kSwitchesPerPage = 11;

// The kinds of the menu's items.
enum ItemKind : int {
    kEmptyKey = 0,
    kPlayerKey = 1,
    kMorePlayersKey = 2,
    kOthersKey = 3,
    kTwoPointMadeKey = 4,
    kTwoPointMissedKey = 5,
    kThreePointMadeKey = 6,
    kThreePointMissedKey = 7,
    kFreeThrowMadeKey = 8,
    kFreeThrowMissedKey = 9,
    kFoulKey = 10,
    kOffensiveReboundKey = 11,
    kDefensiveReboundKey = 12,
    kTurnoverKey = 13,
    kAssistKey = 14,
    kOtherActionsKey = 15,
    kStealKey = 16,
    kBlockedShotKey = 17,
    kToCourtKey = 18,
    kToBenchKey = 19,
    kRemoveFromOfficialKey = 20,
    kEditPlayerKey = 21,
    // Foul keys run in fours, one a number of free throws (0 to 3), in the order of the foul kinds.
    kPersonalFoulKeys = 22,
    kTechnicalFoulKeys = 26,
    kUnsportsmanlikeFoulKeys = 30,
    kDisqualifyingFoulKeys = 34,
    kCoachTechnicalFoulKeys = 38,
    kBenchFoulKeys = 42,
    kLastFoulKey = 45,
    kOtherFoulsKey = 46,
    kPeriodEndKey = 47,
    kTimeoutAKey = 48,
    kTimeoutBKey = 49,
    kFileKey = 50,
    kNewGameKey = 51,
    kReadRosterAKey = 52,
    kReadRosterBKey = 53,
    kWriteRosterAKey = 54,
    kWriteRosterBKey = 55,
    kOpenGameKey = 56,
    kSaveGameKey = 57,
    kSaveHtmlKey = 58,
    kSaveOfficialKey = 59,
    kTeamNameAKey = 60,
    kTeamNameBKey = 61,
    kGameInfoKey = 62,
    kSettingsKey = 63,
    kTournamentKey = 64,
    kGameNumberKey = 65,
    kPlaceKey = 66,
    kDateKey = 67,
    kTimeKey = 68,
    kCommentaryKey = 69,
    kOfficialsKey = 70,
    // The officials' keys run in the order of their focus commands.
    kRefereeKey = 71,
    kTeamOfficialsKey = 77,
};

constexpr int kFreeThrowChoices = 4;
static_assert(kLastFoulKey - kPersonalFoulKeys + 1 == (kBenchFoul + 1) * kFreeThrowChoices);
static_assert(kTeamOfficialsKey - kRefereeKey == kFocusTeamOfficials - kFocusReferee);

// What a leaf sends: a player action or a command; a side of its own for the team commands.
struct LeafAction
{
    ItemKind kind;
    ActionCategory category;
    int code;
    int side = kNoSide;
};

constexpr LeafAction kLeafActions[] = {
    {kTwoPointMadeKey, kPlayerAction, kTwoPointMade},
    {kTwoPointMissedKey, kPlayerAction, kTwoPointMissed},
    {kThreePointMadeKey, kPlayerAction, kThreePointMade},
    {kThreePointMissedKey, kPlayerAction, kThreePointMissed},
    {kFreeThrowMadeKey, kPlayerAction, kFreeThrowMade},
    {kFreeThrowMissedKey, kPlayerAction, kFreeThrowMissed},
    {kOffensiveReboundKey, kPlayerAction, kOffensiveRebound},
    {kDefensiveReboundKey, kPlayerAction, kDefensiveRebound},
    {kTurnoverKey, kPlayerAction, kTurnover},
    {kAssistKey, kPlayerAction, kAssist},
    {kStealKey, kPlayerAction, kSteal},
    {kBlockedShotKey, kPlayerAction, kBlockedShot},
    {kToCourtKey, kPlayerAction, kCourtIn},
    {kToBenchKey, kPlayerAction, kToBench},
    {kRemoveFromOfficialKey, kPlayerAction, kRemoveFromOfficial},
    {kEditPlayerKey, kPlayerAction, kEditPlayer},
    {kPeriodEndKey, kCommand, kPeriodEnd},
    {kTimeoutAKey, kCommand, kTimeout, kSideA},
    {kTimeoutBKey, kCommand, kTimeout, kSideB},
    {kNewGameKey, kCommand, kNewGame},
    {kReadRosterAKey, kCommand, kReadRosterA},
    {kReadRosterBKey, kCommand, kReadRosterB},
    {kWriteRosterAKey, kCommand, kWriteRosterA},
    {kWriteRosterBKey, kCommand, kWriteRosterB},
    {kOpenGameKey, kCommand, kOpenGame},
    {kSaveGameKey, kCommand, kSaveGame},
    {kSaveHtmlKey, kCommand, kSaveHtml},
    {kSaveOfficialKey, kCommand, kSaveOfficial},
    {kTeamNameAKey, kCommand, kTeamNameA, kSideA},
    {kTeamNameBKey, kCommand, kTeamNameB, kSideB},
    {kSettingsKey, kCommand, kSettings},
    {kTournamentKey, kCommand, kAskTournament},
    {kGameNumberKey, kCommand, kAskGameNumber},
    {kPlaceKey, kCommand, kAskPlace},
    {kDateKey, kCommand, kFocusDate},
    {kTimeKey, kCommand, kFocusTime},
    {kCommentaryKey, kCommand, kFocusCommentary},
};

FKeyMenuItem item(int kind, const QString& caption, platform::TColor captionColor = kBlack,
                  FKeyPage next = FKeyPage::None, platform::TColor panelColor = kButtonFace)
{
    return {kind, caption, panelColor, captionColor, next, 0};
}

FKeyMenuItem teamItem(int kind, const QString& caption, int side)
{
    FKeyMenuItem made = item(kind, caption);
    made.teamColorSide = side;
    return made;
}

// Foul keys of one kind: first kind, caption before "(FTn)", the free throws offered and their colours.
void addFouls(FKeyMenuPage& page, int firstKey, int firstKind, const QString& caption, int count,
              const platform::TColor* colors)
{
    for (int i = 0; i < count; ++i)
        page.items[firstKey + i] =
            item(firstKind + i, caption + QStringLiteral("(FT%1)").arg(i), kBlack, FKeyPage::None, colors[i]);
}

std::vector<FKeyMenuPage> buildMenu()
{
    std::vector<FKeyMenuPage> pages(static_cast<std::size_t>(FKeyPage::Officials) + 1);
    auto page = [&pages](FKeyPage id, int kind) -> FKeyMenuPage& {
        FKeyMenuPage& made = pages[static_cast<std::size_t>(id)];
        made.kind = kind;
        for (FKeyMenuItem& empty : made.items)
            empty = item(kEmptyKey, QString());
        return made;
    };

    FKeyMenuPage& root = page(FKeyPage::Root, kPlayerPage);
    for (int i = 0; i < kPlayersPerTeam; ++i) {
        root.items[i] = item(kPlayerKey, QString(), kBlack, FKeyPage::Action1);
        root.items[kTeamBFirstKey + i] = item(kPlayerKey, QString(), kBlack, FKeyPage::Action1);
    }
    root.items[5] = item(kMorePlayersKey, QStringLiteral("他の選手"), kBlack, FKeyPage::Root);
    root.items[11] = item(kOthersKey, QStringLiteral("その他"), kBlack, FKeyPage::Others);

    FKeyMenuPage& action1 = page(FKeyPage::Action1, kActionPage);
    action1.items = {item(kTwoPointMadeKey, QStringLiteral("2Point成功"), kBlue),
                     item(kTwoPointMissedKey, QStringLiteral("2Point失敗"), kPurple),
                     item(kThreePointMadeKey, QStringLiteral("3Point成功"), kBlue),
                     item(kThreePointMissedKey, QStringLiteral("3Point失敗"), kPurple),
                     item(kFreeThrowMadeKey, QStringLiteral("ﾌﾘｰｽﾛｰ成功"), kBlue),
                     item(kFreeThrowMissedKey, QStringLiteral("ﾌﾘｰｽﾛｰ失敗"), kPurple),
                     item(kFoulKey, QStringLiteral("ﾌｧｳﾙ"), kRed, FKeyPage::Foul1),
                     item(kOffensiveReboundKey, QStringLiteral("ｵﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ"), kBlue),
                     item(kDefensiveReboundKey, QStringLiteral("ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ"), kBlue),
                     item(kTurnoverKey, QStringLiteral("ﾀｰﾝｵｰﾊﾞｰ"), kPurple),
                     item(kAssistKey, QStringLiteral("ｱｼｽﾄ"), kBlue),
                     item(kOtherActionsKey, QStringLiteral("他の動作"), kBlack, FKeyPage::Action2)};

    FKeyMenuPage& action2 = page(FKeyPage::Action2, kActionPage);
    action2.items[0] = item(kStealKey, QStringLiteral("ｽﾁｰﾙ"), kBlue);
    action2.items[1] = item(kBlockedShotKey, QStringLiteral("ﾌﾞﾛｯｸｼｮｯﾄ"), kBlue);
    action2.items[2] = item(kToCourtKey, QStringLiteral("コートへ"));
    action2.items[3] = item(kToBenchKey, QStringLiteral("ベンチへ"));
    action2.items[4] = item(kRemoveFromOfficialKey, QStringLiteral("ﾍﾞﾝﾁから削除"));
    action2.items[5] = item(kEditPlayerKey, QStringLiteral("選手修正"), kRed);
    action2.items[11] = item(kOthersKey, QStringLiteral("その他"));

    FKeyMenuPage& foul1 = page(FKeyPage::Foul1, kFoulPage);
    addFouls(foul1, 0, kPersonalFoulKeys, QStringLiteral("ﾊﾟｰｿﾅﾙ"), 4, kPersonalColors);
    addFouls(foul1, 4, kTechnicalFoulKeys, QStringLiteral("ﾃｸﾆｶﾙ"), 4, kTechnicalColors);
    addFouls(foul1, 8, kUnsportsmanlikeFoulKeys, QStringLiteral("ｱﾝｽﾎﾟ"), 3, kPersonalColors);
    foul1.items[11] = item(kOtherFoulsKey, QStringLiteral("他ﾌｧｳﾙ"), kBlack, FKeyPage::Foul2);

    FKeyMenuPage& foul2 = page(FKeyPage::Foul2, kFoulPage);
    foul2.items[0] = item(kUnsportsmanlikeFoulKeys + 3, QStringLiteral("ｱﾝｽﾎﾟ(FT3)"), kBlack, FKeyPage::None,
                          kPersonalColors[3]);
    foul2.items[1] =
        item(kDisqualifyingFoulKeys, QStringLiteral("ﾃﾞｨｽｸｵﾘ"), kBlack, FKeyPage::None, kTechnicalColors[0]);

    FKeyMenuPage& coach = page(FKeyPage::Coach, kCoachPage);
    addFouls(coach, 0, kCoachTechnicalFoulKeys, QStringLiteral("ﾃｸﾆｶﾙ"), 4, kTechnicalColors);
    addFouls(coach, 4, kBenchFoulKeys, QStringLiteral("ﾃｸﾆｶﾙ以外"), 4, kPersonalColors);
    coach.items[8] = item(kEditPlayerKey, QStringLiteral("修正"), kRed);
    coach.items[11] = item(kOthersKey, QStringLiteral("その他"));

    FKeyMenuPage& others = page(FKeyPage::Others, kOthersPage);
    others.items[0] = item(kPeriodEndKey, QStringLiteral("ﾋﾟﾘｵﾄﾞ終了"));
    others.items[1] = teamItem(kTimeoutAKey, QStringLiteral("TeamATimeOut"), kSideA);
    others.items[2] = teamItem(kTimeoutBKey, QStringLiteral("TeamBTimeOut"), kSideB);
    others.items[6] = item(kGameInfoKey, QStringLiteral("大会情報"), kBlue, FKeyPage::GameInfo);
    others.items[7] = item(kFileKey, QStringLiteral("Ｆｉｌｅ"), kBlack, FKeyPage::File);
    others.items[8] = item(kNewGameKey, QStringLiteral("新規Game"));
    others.items[11] = item(kSettingsKey, QStringLiteral("オプション"));

    FKeyMenuPage& file = page(FKeyPage::File, kFilePage);
    file.items[0] = item(kNewGameKey, QStringLiteral("新規Game"));
    file.items[1] = teamItem(kReadRosterAKey, QStringLiteral("TeamARead"), kSideA);
    file.items[2] = teamItem(kReadRosterBKey, QStringLiteral("TeamBRead"), kSideB);
    file.items[3] = teamItem(kWriteRosterAKey, QStringLiteral("TeamAWrite"), kSideA);
    file.items[4] = teamItem(kWriteRosterBKey, QStringLiteral("TeamBWrite"), kSideB);
    file.items[5] = item(kOpenGameKey, QStringLiteral("GameRead"));
    file.items[6] = item(kSaveGameKey, QStringLiteral("GameWrite"));
    file.items[7] = item(kSaveHtmlKey, QStringLiteral("GameWite(Html)"));
    file.items[8] = item(kSaveOfficialKey, QStringLiteral("GameWite(Off)"));

    FKeyMenuPage& info = page(FKeyPage::GameInfo, kGameInfoPage);
    info.items[0] = item(kTournamentKey, QStringLiteral("大会名"));
    info.items[1] = teamItem(kTeamNameAKey, QStringLiteral("Ａﾁｰﾑ名"), kSideA);
    info.items[2] = teamItem(kTeamNameBKey, QStringLiteral("Ｂﾁｰﾑ名"), kSideB);
    info.items[3] = item(kGameNumberKey, QStringLiteral("Ｎｏ．"));
    info.items[4] = item(kPlaceKey, QStringLiteral("場所"));
    info.items[5] = item(kDateKey, QStringLiteral("日付"));
    info.items[6] = item(kTimeKey, QStringLiteral("時間"));
    info.items[7] = item(kCommentaryKey, QStringLiteral("戦評"));
    info.items[8] = item(kOfficialsKey, QStringLiteral("審判"), kBlack, FKeyPage::Officials);

    FKeyMenuPage& officials = page(FKeyPage::Officials, kOfficialsPage);
    const QString officialCaptions[] = {QStringLiteral("主審"),     QStringLiteral("副審"),
                                        QStringLiteral("ｽｺｱｷｰﾊﾟｰ"), QStringLiteral("A.ｽｺｱｷｰﾊﾟｰ"),
                                        QStringLiteral("ﾀｲﾑｷｰﾊﾟｰ"), QStringLiteral("24秒ｵﾍﾟﾚｰﾀ"),
                                        QStringLiteral("TO担当ﾁｰﾑ")};
    for (int i = 0; i < 7; ++i)
        officials.items[i] = item(kRefereeKey + i, officialCaptions[i]);
    return pages;
}

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

platform::TColor resolve(platform::TColor color)
{
    return color == kButtonFace ? platform::clBtnFace() : color;
}

} // namespace

const FKeyMenuPage& FKeyMenu(FKeyPage page)
{
    static const std::vector<FKeyMenuPage> pages = buildMenu();
    return pages[static_cast<std::size_t>(page)];
}

std::unique_ptr<GameAction> BuildFKeyAction(const FKeyMenuItem& menuItem, TPlayer* player)
{
    auto action = std::make_unique<GameAction>();
    const ClockState clock = GetClockState();
    action->period = static_cast<std::int8_t>(GetCurrentPeriod());
    action->minutes = clock.minutes;
    action->seconds = clock.seconds;
    action->player = player;
    // A command needs no player: it then belongs to no team.
    action->side = player && player->team ? player->team->side : 0;
    const int kind = menuItem.kind;
    auto playerAction = [&](int code) {
        action->category = kPlayerAction;
        action->code = static_cast<std::uint8_t>(code);
    };
    auto command = [&](int code) {
        action->category = kCommand;
        action->command = static_cast<std::uint8_t>(code);
    };
    const auto leaf = std::find_if(std::begin(kLeafActions), std::end(kLeafActions),
                                   [kind](const LeafAction& candidate) { return candidate.kind == kind; });
    if (leaf != std::end(kLeafActions)) {
        if (leaf->category == kPlayerAction)
            playerAction(leaf->code);
        else
            command(leaf->code);
        if (leaf->side != kNoSide)
            action->side = leaf->side;
    } else if (inRange(kind, kPersonalFoulKeys, kLastFoulKey)) {
        playerAction(kFoul);
        action->freeThrows = static_cast<std::uint8_t>((kind - kPersonalFoulKeys) % kFreeThrowChoices);
        action->foulKind = static_cast<std::uint8_t>((kind - kPersonalFoulKeys) / kFreeThrowChoices);
    } else if (inRange(kind, kRefereeKey, kTeamOfficialsKey)) {
        command(kFocusReferee + (kind - kRefereeKey));
    }
    // A player action needs its player: without one nothing is sent.
    if (action->category == kPlayerAction && !player)
        action->category = kNoCategory;
    return action;
}

TFKey* FKey()
{
    return g_fkey;
}

TFKey::TFKey(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FKey"));
    setWindowTitle(QStringLiteral("FKey"));
    setFont(platform::defaultFormFont());
    constexpr int kGap = 2;
    for (int i = 0; i < kFunctionKeyCount; ++i) {
        auto* panel = named(new QLabel(this), QStringLiteral("Panel%1").arg(i + 1));
        panel->setGeometry(kGap + (i % kKeysPerRow) * (kPanelWidth + kGap),
                           kGap + (i / kKeysPerRow) * (kPanelHeight + kGap), kPanelWidth, kPanelHeight);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAlignment(Qt::AlignCenter);
        panel->setAutoFillBackground(true);
        panel->installEventFilter(this);
        Panels[i] = panel;
        m_fonts[i] = font();
        m_buttons[i].panel = panel;
    }
    Label1 = named(new QLabel(this), "Label1");
    Label1->hide();
    setFixedSize(kGap + kKeysPerRow * (kPanelWidth + kGap), kGap + 2 * (kPanelHeight + kGap));
    g_fkey = this;
}

TFKey::~TFKey()
{
    FormDestroy();
    if (g_fkey == this)
        g_fkey = nullptr;
}

void TFKey::FormDestroy()
{
    if (!m_activated || !Option())
        return;
    const QRect frame = geometry();
    Option()->SaveWindowPlacement(QStringLiteral("FKey"), frame.top(), frame.left(), frame.height(),
                                  frame.width());
}

void TFKey::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormActivate();
}

void TFKey::closeEvent(QCloseEvent* event)
{
    // The panel lives for the whole run: closing only hides it.
    event->ignore();
    hide();
}

bool TFKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        for (int i = 0; i < kFunctionKeyCount; ++i) {
            if (watched == Panels[i] && mouse->button() == Qt::LeftButton &&
                Panels[i]->rect().contains(mouse->position().toPoint())) {
                PressKey(i + 1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFKey::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    if (Option()) {
        if (const auto placement = Option()->LoadWindowPlacement(QStringLiteral("FKey")))
            ApplyWindowPlacement(*this, *placement);
    }
    RebuildFunctionKeyPages();
}

void TFKey::OnFunctionKeyRefresh(platform::Message&)
{
    // Only waits for a key being handled, which on one thread has always ended.
}

void TFKey::OnFunctionKeyMessage(platform::Message& message)
{
    const platform::WPARAM key = message.wParam;
    if (key == platform::VK_BACK || key == platform::VK_ESCAPE) {
        if (m_handlingKey)
            return;
        m_handlingKey = true;
        if (key == platform::VK_BACK)
            backspace();
        else
            escape();
        m_handlingKey = false;
        return;
    }
    if (key >= platform::VK_F1 && key <= platform::VK_F12)
        PressKey(static_cast<int>(key - platform::VK_F1) + 1);
}

void TFKey::RebuildFunctionKeyPages()
{
    if (m_handlingKey) {
        m_rebuildPending = true;
        return;
    }
    m_rebuildPending = false;
    clearPages();
    showPage(FKeyPage::Root, 0);
}

void TFKey::clearPages()
{
    for (int i = 0; i < kFunctionKeyCount; ++i)
        m_buttons[i] = TTButton{Panels[i], nullptr, {}};
    m_history.clear();
    m_pageNumber = 0;
}

FKeyPage TFKey::CurrentPage() const
{
    return m_history.empty() ? FKeyPage::None : m_history.back().page;
}

TPlayer* TFKey::selectedPlayer() const
{
    for (const FKeyHistoryEntry& entry : m_history) {
        if (entry.pressed && entry.pressed->player)
            return entry.pressed->player;
    }
    return nullptr;
}

bool TFKey::hasPlayerAt(int index) const
{
    for (const TTeam* team : {GetTeam(kSideA), GetTeam(kSideB)}) {
        const TPlayer* player = team ? team->PlayerAt(index) : nullptr;
        if (player && player->status != kBlankRow)
            return true;
    }
    return false;
}

void TFKey::paintPanel(QLabel* panel, platform::TColor color, platform::TColor captionColor)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, platform::toQColor(resolve(color)));
    palette.setColor(QPalette::WindowText, platform::toQColor(captionColor));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, platform::toQColor(platform::clSilver));
    panel->setPalette(palette);
}

void TFKey::setCaption(QLabel* panel, const QString& caption)
{
    const int index = static_cast<int>(std::find(Panels.begin(), Panels.end(), panel) - Panels.begin());
    // Fonts only ever shrink: a key keeps the smallest size any caption needed.
    FitLabelFont(caption, Label1, m_fonts[index], panel->contentsRect().width());
    panel->setFont(m_fonts[index]);
    panel->setText(caption);
}

void TFKey::showPage(FKeyPage page, int pageNumber)
{
    const FKeyMenuPage& menu = FKeyMenu(page);
    m_pageNumber = pageNumber;
    const TPlayer* selected = menu.kind == kActionPage ? selectedPlayer() : nullptr;
    for (int i = 0; i < kFunctionKeyCount; ++i) {
        TTButton& button = m_buttons[i];
        button = TTButton{Panels[i], nullptr, menu.items[i]};
        if (button.item.teamColorSide != 0)
            button.item.panelColor = GetTeamColor(button.item.teamColorSide);
        button.panel->setEnabled(true);
        if (menu.kind == kPlayerPage && button.item.kind == kPlayerKey)
            showPlayerKey(button, i, pageNumber);
        if (menu.kind == kActionPage)
            enableActionKey(button, i, pageNumber, selected);
        const platform::TColor color = button.panel->isEnabled() ? button.item.panelColor : kDisabledKey;
        paintPanel(button.panel, color, button.item.captionColor);
        setCaption(button.panel, button.item.caption + QStringLiteral("[F%1]").arg(i + 1));
    }
    m_history.push_back({std::nullopt, std::nullopt, page, pageNumber});
}

void TFKey::showPlayerKey(TTButton& button, int index, int pageNumber)
{
    const bool teamA = index < kTeamBFirstKey;
    const TTeam* team = GetTeam(teamA ? kSideA : kSideB);
    const int listIndex = pageNumber * kPlayersPerTeam + (teamA ? index : index - kTeamBFirstKey);
    TPlayer* player = team ? team->PlayerAt(listIndex) : nullptr;
    button.player = player;
    if (!player) {
        button.item.panelColor = kNoPlayerKey;
        return;
    }
    if (player->status == kBlankRow) {
        // The blank row is the key that enters a new player.
        button.item.kind = kEditPlayerKey;
        button.item.next = FKeyPage::None;
        button.item.caption = QStringLiteral("選手追加");
        button.item.panelColor = kButtonFace;
        button.item.captionColor = kRed;
        return;
    }
    button.item.caption = player->name + QLatin1Char('(') + player->number + QLatin1Char(')');
    if (player->IsCoach())
        button.item.next = FKeyPage::Coach;
    switch (player->status) {
    case kOnCourt:
        button.item.panelColor = team->color;
        break;
    case kOnBench:
        button.item.panelColor = kBenchKey;
        break;
    case kNotListed:
        button.item.panelColor = kNotListedKey;
        break;
    default:
        button.item.panelColor = kNoPlayerKey;
        break;
    }
}

void TFKey::enableActionKey(TTButton& button, int index, int pageNumber, const TPlayer* player)
{
    const int kind = button.item.kind;
    // Only keys of a statistic have a switch: F1 to F11 of the first page, F1 and F2 of the second.
    auto listed = [&] { return !Option() || Option()->StatSwitch(pageNumber * kSwitchesPerPage + index); };
    const bool statisticKey =
        inRange(kind, kTwoPointMadeKey, kAssistKey) || kind == kStealKey || kind == kBlockedShotKey;
    const int status = player ? int(player->status) : int(kBlankRow);
    bool enabled = true;
    if (status == kOnCourt) {
        if (statisticKey)
            enabled = listed();
        else if (kind == kToCourtKey)
            enabled = false;
    } else if (status == kOnBench) {
        if (kind == kFoulKey)
            enabled = listed();
        else if (statisticKey || kind == kToBenchKey)
            enabled = false;
    } else if (pageNumber == 0) {
        if (kind == kFoulKey) {
            const bool miniBasket = Option() && Option()->MiniBasket();
            enabled = player && player->IsCoach() && (!miniBasket || status == kHeadCoach) && listed();
        } else {
            enabled = kind == kOtherActionsKey;
        }
    } else {
        enabled = kind == kToBenchKey;
    }
    button.panel->setEnabled(enabled);
}

bool TFKey::refused(const TTButton& button) const
{
    const int kind = button.item.kind;
    if (!button.panel->isEnabled() || kind == kEmptyKey)
        return true;
    if (kind == kPlayerKey && !button.player)
        return true;
    // The next page must have someone to show.
    return kind == kMorePlayersKey && !hasPlayerAt((m_pageNumber + 1) * kPlayersPerTeam);
}

void TFKey::flash(QLabel* panel)
{
    const QPalette restore = panel->palette();
    QPalette red = restore;
    red.setColor(QPalette::Window, platform::toQColor(kRed));
    panel->setPalette(red);
    panel->repaint();
    std::this_thread::sleep_for(m_flash);
    panel->setPalette(restore);
}

void TFKey::PressKey(int key)
{
    if (key < 1 || key > kFunctionKeyCount || m_handlingKey)
        return;
    m_handlingKey = true;
    handleKey(key);
    m_handlingKey = false;
    if (m_rebuildPending)
        RebuildFunctionKeyPages();
}

void TFKey::handleKey(int key)
{
    if (m_history.empty())
        return;
    const TTButton button = m_buttons[key - 1];
    FKeyHistoryEntry& newest = m_history.back();
    newest.pressedItem = button.item;
    newest.pressed = button;
    if (refused(button))
        return;
    flash(button.panel);
    if (button.item.next != FKeyPage::None) {
        const bool samePageKind = FKeyMenu(button.item.next).kind == FKeyMenu(newest.page).kind;
        showPage(button.item.next, samePageKind ? m_pageNumber + 1 : 0);
        return;
    }
    std::unique_ptr<GameAction> action = BuildFKeyAction(button.item, selectedPlayer());
    // What the action does may rebuild the pages (a new game, a deleted player): they are walked no more
    // from here, and rebuilt once the handler is done.
    m_rebuildPending = true;
    m_escToggled = false;
    if (action->category != kNoCategory && GetMainWindowHandle())
        platform::SendMessage(GetMainWindowHandle(), kActionMessage, 0, std::move(action));
}

void TFKey::backspace()
{
    if (m_history.size() < 2)
        return;
    m_history.pop_back();
    const FKeyHistoryEntry previous = m_history.back();
    m_history.pop_back();
    showPage(previous.page, previous.pageNumber);
}

void TFKey::escape()
{
    const bool rootOnly = m_history.size() == 1;
    clearPages();
    if (rootOnly && !m_escToggled) {
        showPage(FKeyPage::Others, 0);
        m_escToggled = true;
    } else {
        showPage(FKeyPage::Root, 0);
        m_escToggled = false;
    }
}

} // namespace hooptally
