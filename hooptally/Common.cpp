#include "hooptally/Common.h"

#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tfkey.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/Canvas.h"
#include "platform/Codec.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Fonts.h"
#include "platform/StringGrid.h"

#include <QDateEdit>
#include <QTimeEdit>

namespace hooptally {

const std::array<PlayKind, 18> PlayKindTable = {{
    {0, 0, kNone, QStringLiteral("２ﾎﾟｲﾝﾄ成功")},
    {0, 1, kNone, QStringLiteral("２ﾎﾟｲﾝﾄ失敗")},
    {0, 2, kNone, QStringLiteral("３ﾎﾟｲﾝﾄ成功")},
    {0, 3, kNone, QStringLiteral("３ﾎﾟｲﾝﾄ失敗")},
    {0, 4, kNone, QStringLiteral("ﾌﾘｰｽﾛｰ成功")},
    {0, 5, kNone, QStringLiteral("ﾌﾘｰｽﾛｰ失敗")},
    {0, 6, kNone, QStringLiteral("ﾌｧｳﾙ")},
    {0, 7, kNone, QStringLiteral("ｵﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ")},
    {0, 8, kNone, QStringLiteral("ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ")},
    {0, 9, kNone, QStringLiteral("ﾀｰﾝｵｰﾊﾞｰ")},
    {0, 10, kNone, QStringLiteral("ｱｼｽﾄ")},
    {0, 11, kNone, QStringLiteral("ｽﾁｰﾙ")},
    {0, 12, kNone, QStringLiteral("ﾌﾞﾛｯｸｼｮｯﾄ")},
    {0, 13, kNone, QStringLiteral("ｺｰﾄｲﾝ")},
    {0, 14, kNone, QStringLiteral("ｺｰﾄｱｳﾄ")},
    {1, kNone, 1, QStringLiteral("ﾀｲﾑｱｳﾄ")},
    {1, kNone, 0, QStringLiteral("ﾋﾟﾘｵﾄﾞ終了")},
    {1, kNone, 3, QStringLiteral("Game終了")},
}};

namespace {

THooptallyForm* g_mainForm = nullptr;

CommonSwitches* switches()
{
    return g_mainForm ? &g_mainForm->Switches() : nullptr;
}

} // namespace

THooptallyForm* MainForm()
{
    return g_mainForm;
}

void SetMainForm(THooptallyForm* form)
{
    g_mainForm = form;
}

int GetPeriodCount()
{
    return g_mainForm ? g_mainForm->QuatorCombo->count() : kMaxPeriods;
}

int GetCurrentPeriod()
{
    if (!g_mainForm)
        return -1;
    const int index = g_mainForm->QuatorCombo->currentIndex();
    return index >= 0 && index < kMaxPeriods ? index : -1;
}

ClockState GetClockState()
{
    if (!g_mainForm)
        return {};
    return {g_mainForm->QuatorCombo->currentIndex(), g_mainForm->ClockMinutes(), g_mainForm->ClockSeconds()};
}

platform::MessageWindow* GetMainWindowHandle()
{
    return g_mainForm;
}

TTeam* GetTeam(int side)
{
    if (!g_mainForm)
        return nullptr;
    return side == kSideA ? g_mainForm->TeamA() : g_mainForm->TeamB();
}

TTeam* GetTeamOfGrid(const platform::StringGrid* grid)
{
    if (!g_mainForm)
        return nullptr;
    if (grid == g_mainForm->GridTeamA || grid == g_mainForm->StringGrid1)
        return g_mainForm->TeamA();
    return g_mainForm->TeamB();
}

SheetGridControl* GetTeamRoster(int side)
{
    return g_mainForm ? g_mainForm->TeamGrids().Team(side) : nullptr;
}

int GetShownPeriodCount()
{
    if (!g_mainForm)
        return kRegularPeriods;
    if (!g_mainForm->LaCountOT2->isHidden())
        return kMaxPeriods;
    return g_mainForm->LaCountOT1->isHidden() ? kRegularPeriods : kRegularPeriods + 1;
}

void GetOfficialsLines(QStringList& lines)
{
    if (!g_mainForm)
        return;
    for (const QLineEdit* edit :
         {g_mainForm->shushin, g_mainForm->fukusin, g_mainForm->Scorekeeper, g_mainForm->AScorekeeper,
          g_mainForm->TimeKeeper, g_mainForm->Operator, g_mainForm->TO_Team})
        lines << edit->text();
}

void GetGameInfoLines(QStringList& lines)
{
    if (!g_mainForm)
        return;
    lines << g_mainForm->Taikaimei->text() << g_mainForm->Basho->text() << g_mainForm->TaikaiNo->text();
    lines << g_mainForm->DateTimePicker1->date().toString(QStringLiteral("yyyy.MM.dd")) + QLatin1Char(' ') +
                 g_mainForm->DateTimePicker2->time().toString(QStringLiteral("hh:mm"));
}

int FindPlayKind(std::uint8_t category, std::uint8_t code, std::uint8_t command)
{
    for (std::size_t i = 0; i < PlayKindTable.size(); ++i) {
        const PlayKind& kind = PlayKindTable[i];
        if (category == kPlayerAction && kind.kind == kPlayerAction && kind.code == code)
            return static_cast<int>(i);
        if (category == kCommand && kind.kind == kCommand && kind.subCode == command)
            return static_cast<int>(i);
    }
    return -1;
}

void GetPlayKind(int index, std::uint8_t& category, std::uint8_t& code, std::uint8_t& command)
{
    if (index < 0 || index >= static_cast<int>(PlayKindTable.size()))
        return;
    category = PlayKindTable[index].kind;
    code = PlayKindTable[index].code;
    command = PlayKindTable[index].subCode;
}

platform::TColor GetPeriodColor(int period)
{
    return period == 0 || period == 2 ? platform::clRed : platform::clBlack;
}

void RefreshIfEnabled(QWidget* control)
{
    if (IsRefreshOn() && control)
        control->update();
}

void SetRefreshEnabled(bool on)
{
    if (CommonSwitches* state = switches())
        state->refresh = on;
    if (on && g_mainForm)
        g_mainForm->ShowClock();
    SetGridUpdate(on);
}

void SetGridUpdate(bool on)
{
    if (CommonSwitches* state = switches())
        state->gridUpdate = on;
    if (!on || !g_mainForm)
        return;
    g_mainForm->FillStatsGrid(g_mainForm->TeamA(), g_mainForm->StringGrid1);
    g_mainForm->FillStatsGrid(g_mainForm->TeamB(), g_mainForm->StringGrid2);
    for (platform::StringGrid* grid : {g_mainForm->StringGrid1, g_mainForm->StringGrid2,
                                       g_mainForm->GridTeamA, g_mainForm->GridTeamB, g_mainForm->GridRun})
        grid->Invalidate();
    if (FKey())
        FKey()->RebuildFunctionKeyPages();
}

void RebuildGridsIfEnabled()
{
    if (IsGridUpdateOn())
        SetGridUpdate(true);
}

bool IsGridUpdateOn()
{
    const CommonSwitches* state = switches();
    return !state || state->gridUpdate;
}

bool IsRefreshOn()
{
    const CommonSwitches* state = switches();
    return !state || state->refresh;
}

void SetKeyInputEnabled(bool on)
{
    if (CommonSwitches* state = switches())
        state->keyInput = on;
}

bool IsKeyInputEnabled()
{
    const CommonSwitches* state = switches();
    return !state || state->keyInput;
}

KeyInputOff::KeyInputOff() : m_wasOn(IsKeyInputEnabled())
{
    SetKeyInputEnabled(false);
}

KeyInputOff::~KeyInputOff()
{
    SetKeyInputEnabled(m_wasOn);
}

void ApplyTeamColors()
{
    if (!g_mainForm)
        return;
    if (g_mainForm->TeamA())
        g_mainForm->TeamA()->color = GetTeamColor(kSideA);
    if (g_mainForm->TeamB())
        g_mainForm->TeamB()->color = GetTeamColor(kSideB);
    auto paint = [](QWidget* panel, platform::TColor color) {
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, platform::toQColor(color));
        panel->setPalette(palette);
        panel->setAutoFillBackground(true);
    };
    paint(g_mainForm->PanelTeamA, GetTeamColor(kSideA));
    paint(g_mainForm->Panel5, GetTeamColor(kSideA));
    paint(g_mainForm->PanelTeamB, GetTeamColor(kSideB));
    paint(g_mainForm->Panel8, GetTeamColor(kSideB));
}

bool IsClockRunningInPeriod()
{
    if (!g_mainForm || !g_mainForm->TeamA() || g_mainForm->TeamA()->PeriodElapsed(GetCurrentPeriod()) == 0.0)
        return false;
    // The clock's numbers, not its texts: a text may be written with or without a leading zero.
    const int length = Option() ? Option()->PeriodLength() : kDefaultPeriodMinutes;
    return !(g_mainForm->ClockMinutes() == length && g_mainForm->ClockSeconds() == 0);
}

bool PlayedInPeriod(int column, int row, SheetGridControl* sheet)
{
    if (!sheet || !g_mainForm)
        return false;
    const TeamSheetAreas& areas = g_mainForm->TeamGrids().areas;
    const int index = areas.playerRowOf(row);
    if (index < 0)
        return false;
    const TPlayer* player =
        sheet->SheetGridPlayerAt(areas.names[index].firstColumn, areas.names[index].firstRow);
    if (!player)
        return false;
    // The sheet's own layout decides, not the option as it may have changed since.
    if (sheet->miniBasket) {
        const int period = column - areas.played[index].firstColumn;
        return player->ValidPeriod(period) && player->CourtTimeOf(period).accumulated != 0.0;
    }
    return std::any_of(player->played.begin(), player->played.end(),
                       [](std::uint8_t flag) { return flag != 0; });
}

void FitLabelFont(const QString& text, QLabel* control, QFont& font, int maximum)
{
    constexpr int kSmallest = 5;
    // The programs' fonts are sized in pixels at 96 dpi; sizes count in points all the same.
    const bool inPixels = font.pointSize() <= 0;
    int points = inPixels ? (font.pixelSize() * 72 + 48) / 96 : font.pointSize();
    control->setFont(font);
    control->setText(text);
    control->adjustSize();
    while (control->width() > maximum && points > kSmallest) {
        --points;
        if (inPixels)
            font.setPixelSize(platform::pointsToPixels(points));
        else
            font.setPointSize(points);
        control->setFont(font);
        control->adjustSize();
    }
}

int TextWidths::width(const QFont& font, const QString& text)
{
    if (font != m_font) {
        m_font = font;
        m_widths.clear();
    }
    auto width = m_widths.constFind(text);
    if (width == m_widths.constEnd())
        width = m_widths.insert(text, QFontMetrics(font).horizontalAdvance(text));
    return *width;
}

void FitCanvasFont(const QString& text, platform::Canvas& canvas, platform::CanvasFont& font, int width,
                   int height)
{
    constexpr int kSmallest = 5;
    canvas.Font.Size = font.Size;
    while (font.Size > kSmallest) {
        if (canvas.TextWidth(text) <= width && (height == -1 || canvas.TextHeight(text) <= height))
            return;
        --font.Size;
        canvas.Font.Size = font.Size;
    }
}

QString RecordTextProblem(const QString& text)
{
    if (text.contains(QLatin1Char(',')))
        return QStringLiteral("カンマ(,)は使用できません");
    if (text.startsWith(QLatin1Char('#')))
        return QStringLiteral("先頭に#は使用できません");
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return QStringLiteral("改行は使用できません");
    const QString unwritable = platform::Codec::unwritableChars(text);
    if (!unwritable.isEmpty())
        return QStringLiteral("使用できない文字が含まれています: ") + unwritable;
    return {};
}

QString PastBoundText(gamefile::Bound bound)
{
    switch (bound) {
    case gamefile::Bound::None:
        break;
    case gamefile::Bound::LogEntries:
        return QStringLiteral("ログが上限（%1 件）を超えています").arg(gamefile::kMaxLogEntries);
    case gamefile::Bound::TeamLines:
        return TooManyMembersText();
    case gamefile::Bound::OptionLines:
        return QStringLiteral("オプションが上限（%1 行）を超えています").arg(gamefile::kMaxOptionLines);
    case gamefile::Bound::CommentaryLines:
        return QStringLiteral("戦評が上限（%1 行）を超えています").arg(gamefile::kMaxCommentaryLines);
    case gamefile::Bound::StatsEntries:
        return QStringLiteral("統計の記録が上限（1 チーム %1 件）を超えています")
            .arg(gamefile::kMaxStatsEntries);
    }
    return {};
}

QString FileSizeBoundText(qint64 maxBytes)
{
    constexpr qint64 kMegabyte = 1 << 20;
    const QString size = maxBytes % kMegabyte == 0 ? QStringLiteral("%1 MB").arg(maxBytes / kMegabyte)
                                                   : QStringLiteral("%1 KB").arg(maxBytes >> 10);
    return QStringLiteral("ファイルの大きさが上限（%1）を超えています").arg(size);
}

QString BytesBoundText(QByteArrayView bytes, qint64 maxBytes)
{
    if (bytes.size() > maxBytes)
        return FileSizeBoundText(maxBytes);
    if (gamefile::longestLine(bytes) > gamefile::kMaxLineBytes)
        return QStringLiteral("1 行の長さが上限（%1 バイト）を超えています").arg(gamefile::kMaxLineBytes);
    return {};
}

platform::LRESULT PostGameAction(std::uint8_t category, std::uint8_t code, TPlayer* player,
                                 std::uint8_t freeThrows, std::uint8_t foulKind, std::uint8_t command)
{
    if (!player || !GetMainWindowHandle())
        return 0;
    const ClockState clock = GetClockState();
    auto action = std::make_unique<GameAction>();
    action->period = static_cast<std::int8_t>(GetCurrentPeriod());
    action->minutes = clock.minutes;
    action->seconds = clock.seconds;
    action->side = player->team ? player->team->side : kNoSide;
    action->player = player;
    action->category = category;
    action->code = code;
    action->freeThrows = freeThrows;
    action->foulKind = foulKind;
    action->command = command;
    return platform::SendMessage(GetMainWindowHandle(), kActionMessage, 0, std::move(action));
}

platform::LRESULT PostStarterRegistration(TPlayer* player, bool starter)
{
    if (!player || !GetMainWindowHandle())
        return 0;
    const ClockState clock = GetClockState();
    auto registration = std::make_unique<PlayerRegistration>();
    registration->player = player;
    registration->number = player->number;
    registration->name = player->name;
    registration->position = player->position;
    registration->coach = player->IsCoach() ? 1 : 0;
    registration->starter = starter ? 1 : 0;
    registration->period = clock.period;
    registration->minutes = clock.minutes;
    registration->seconds = clock.seconds;
    return platform::SendMessage(GetMainWindowHandle(), kRegistrationMessage, 0, std::move(registration));
}

} // namespace hooptally
