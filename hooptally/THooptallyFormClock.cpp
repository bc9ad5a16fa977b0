// The game clock, the periods and the score panel of the main window.
#include "hooptally/THooptallyForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>

#include <cstdint>

#include "hooptally/Common.h"
#include "hooptally/Runscore.h"
#include "hooptally/TOption.h"
#include "hooptally/TTimeModifyDlg.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tfkey.h"
#include "hooptally/Tgridctrl.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/StringGrid.h"

namespace hooptally {

namespace {

constexpr int kLastRegularIndex = kRegularPeriods - 1;

void setButtonColor(QPushButton* button, platform::TColor color)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, platform::toQColor(color));
    button->setPalette(palette);
}

std::unique_ptr<GameAction> clockAction(std::uint8_t command, int period, int minutes, int seconds)
{
    auto action = std::make_unique<GameAction>();
    action->side = kNoSide;
    action->category = kCommand;
    action->command = command;
    action->period = static_cast<std::int8_t>(period);
    action->minutes = minutes;
    action->seconds = seconds;
    return action;
}

} // namespace

bool THooptallyForm::ClockRunning() const
{
    return TimeStartStopB->text() != kClockStartText;
}

void THooptallyForm::StopClock()
{
    // However it stopped, a standing clock can be corrected.
    TimeStartStopB->setText(kClockStartText);
    setButtonColor(TimeStartStopB, platform::clBlue);
    Timer1->stop();
    TimerModifyB->setEnabled(true);
}

void THooptallyForm::SetClock(int minutes, int seconds)
{
    m_clockMinutes = minutes;
    m_clockSeconds = seconds;
    ShowClock();
}

void THooptallyForm::TimeStartStopBClick()
{
    auto action = clockAction(kClockStart, GetCurrentPeriod(), m_clockMinutes, m_clockSeconds);
    if (!ClockRunning()) {
        platform::SendMessage(this, kActionMessage, 0, std::move(action));
        TimeStartStopB->setText(kClockStopText);
        setButtonColor(TimeStartStopB, platform::clRed);
        Timer1->start();
        TimerModifyB->setEnabled(false);
        for (QLineEdit* field : {TimerMin, TimerSec}) {
            QPalette palette = field->palette();
            palette.setColor(QPalette::Base, Qt::white);
            field->setPalette(palette);
            field->setReadOnly(true);
        }
        return;
    }
    StopClock();
}

void THooptallyForm::Timer1Timer()
{
    // The countdown ends at 0:00 and never runs past it, nor on from a reading below it. Counted in
    // 64 bits: a clock set by hand has no upper bound.
    if (m_clockMinutes < 0 || std::int64_t(m_clockMinutes) * 60 + m_clockSeconds <= 0) {
        if (ClockRunning())
            TimeStartStopBClick();
        else
            Timer1->stop();
        return;
    }
    // Here minutes > 0 whenever seconds <= 0: a minute is borrowed.
    if (m_clockSeconds <= 0) {
        m_clockSeconds = kMaxClockSeconds;
        --m_clockMinutes;
    } else {
        --m_clockSeconds;
    }
    ShowClock();
}

void THooptallyForm::TimeClearBClick()
{
    m_clockSeconds = 0;
    m_clockMinutes = Option() ? Option()->PeriodLength() : kDefaultPeriodMinutes;
    ShowClock();
}

void THooptallyForm::TimerModifyBClick()
{
    TTimeModifyDlg dialog(this);
    platform::dialogs().showModal(dialog);
}

void THooptallyForm::ShowClock()
{
    // Every write of the clock fields comes here. While the display is not refreshed (a replay sets
    // the clock for every entry) the fields wait for the refresh to come back on.
    if (!IsRefreshOn())
        return;
    TimerMin->setText(platform::Format("%02d", m_clockMinutes));
    TimerSec->setText(platform::Format("%02d", m_clockSeconds));
}

void THooptallyForm::SpeedButton1Click()
{
    if (!IsClockRunningInPeriod() &&
        platform::dialogs().messageBox(QStringLiteral("ピリオド終了が押されました、本当によろしいですか？"),
                                       kCaption, platform::Buttons::YesNo) != platform::mrYes)
        return;
    auto action = clockAction(kPeriodEnd, GetCurrentPeriod(), m_clockMinutes, m_clockSeconds);
    platform::SendMessage(this, kActionMessage, 0, std::move(action));
}

void THooptallyForm::GameEndClick()
{
    auto action = clockAction(kGameEnd, GetCurrentPeriod(), 0, 0);
    platform::SendMessage(this, kActionMessage, 0, std::move(action));
}

void THooptallyForm::SetPeriod(int period)
{
    QuatorCombo->setCurrentIndex(period >= 0 && period < QuatorCombo->count() ? period : -1);
    m_periodMirror = static_cast<std::int8_t>(QuatorCombo->currentIndex());
}

void THooptallyForm::QuatorComboChange(int index)
{
    // Only the user's choice arrives here: code that sets the selector does not.
    if (m_periodMirror != -1 && index != m_periodMirror && index == m_periodMirror + 1) {
        QuatorCombo->setCurrentIndex(m_periodMirror);
        SpeedButton1Click();
    }
    m_periodMirror = static_cast<std::int8_t>(QuatorCombo->currentIndex());
}

void THooptallyForm::EndPeriod(const GameAction& action)
{
    const int period = action.period;
    MarkPeriodEndOnTeamGrid(this, period, GridTeamA);
    MarkPeriodEndOnTeamGrid(this, period, GridTeamB);
    CloseTimeOutBoxes(this, period, kSideA);
    CloseTimeOutBoxes(this, period, kSideB);
    MarkPeriodEndOnRunningScore(this, period);
    if (ClockRunning())
        TimeStartStopBClick();
    m_teamA->StopQu(period, 0, 0);
    m_teamB->StopQu(period, 0, 0);
    TimeClearBClick();
    // With no period selected (-1) the next one is the first.
    const int current = QuatorCombo->currentIndex();
    // The score is asked only where a tie decides.
    if (current + 1 < QuatorCombo->count() &&
        (current < kLastRegularIndex || m_teamA->TeamPoints(-1) == m_teamB->TeamPoints(-1))) {
        SetPeriod(current + 1);
        // Only a period that advanced is clocked in again: an entry after a period end that did not
        // advance must not count a whole period of court time twice.
        const ClockState clock = GetClockState();
        m_teamA->StartPeriodClock(clock.period, clock.minutes, clock.seconds);
        m_teamB->StartPeriodClock(clock.period, clock.minutes, clock.seconds);
    }
    // A replay brings the panel up to date once, at its end.
    if (!m_replaying)
        UpdateScorePanel();
}

void THooptallyForm::EndGame(const GameAction& action)
{
    const int period = action.period;
    // A game ended right after its period's end does not stop the clocks twice.
    if (!m_playLog->PeriodClosed(period)) {
        m_teamA->StopQu(period, 0, 0);
        m_teamB->StopQu(period, 0, 0);
    }
    MarkGameEndOnTeamGrid(this, GridTeamA);
    MarkGameEndOnTeamGrid(this, GridTeamB);
    MarkGameEndOnRunningScore(this);
    // A replay keeps the grids still until its end: switching updates on here would refill the
    // statistics grids after every action that follows the game end.
    RebuildGridsIfEnabled();
}

void THooptallyForm::UpdateScorePanel()
{
    QLabel* labels[] = {LaCount1st, LaCount2nd, LaCount3rd, LaCount4th, LaCountOT1, LaCountOT2};
    const int period = GetCurrentPeriod();
    ShowOvertimeLabels(period);
    int shown = kRegularPeriods;
    if (!LaCountOT1->isHidden()) {
        ++shown;
        if (!LaCountOT2->isHidden())
            ++shown;
    }
    const int labelHeight = LaCount1st->height();
    const int gap = (PanelCount->height() - 16 - shown * labelHeight) / (shown - 1);
    for (int i = 0; i < kMaxPeriods; ++i)
        labels[i]->move(labels[i]->x(), i == 0 ? 8 : i * (labelHeight + gap) + 8);

    for (const TTeam* team : {m_teamA.get(), m_teamB.get()}) {
        const bool left = team->side == kSideA;
        for (int i = 0; i < kMaxPeriods; ++i) {
            if (labels[i]->isHidden())
                continue;
            QString text = labels[i]->text();
            const QString points = platform::Format("%02d", team->TeamPoints(i));
            // Each side writes exactly its own two characters of "99  -  99".
            if (left)
                text.replace(0, 2, points.right(2));
            else
                text.replace(text.size() - 2, 2, points.right(2));
            labels[i]->setText(text);
        }
        QLabel* fouls = left ? TeamAFoulCnt : TeamBFoulCnt;
        QLabel* total = left ? TeamATotalCnt : TeamBTotalCnt;
        fouls->setText(QStringLiteral("ﾁｰﾑﾌｧｳﾙ(") + QString::number(team->TeamFouls(period)) +
                       QLatin1Char(')'));
        total->setText(platform::Format("%03d", team->TeamPoints(-1)));
    }
}

void THooptallyForm::ShowOvertimeLabels(int period)
{
    // Once shown, they stay until the program ends.
    if (period == kRegularPeriods) {
        LaCountOT1->show();
    } else if (period == kRegularPeriods + 1) {
        LaCountOT1->show();
        LaCountOT2->show();
    }
}

bool THooptallyForm::IsTextFieldFocused() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return false;
    const QWidget* fields[] = {TaikaiNo, Basho,       Taikaimei,  DateTimePicker1, DateTimePicker2, Senhyou,
                               shushin,  Scorekeeper, TimeKeeper, fukusin,         AScorekeeper,    Operator,
                               TO_Team,  TimerMin,    TimerSec,   TimeStartStopB,  QuatorCombo};
    for (const QWidget* field : fields) {
        if (focus == field || field->isAncestorOf(focus))
            return true;
    }
    return false;
}

KeyAnnouncement KeyAnnouncement::of(const QKeyEvent& event)
{
    return {event.key(), event.modifiers(), event.timestamp(), event.isAutoRepeat()};
}

bool THooptallyForm::eventFilter(QObject* watched, QEvent* event)
{
    // Every key press is announced by a shortcut override just before it arrives: the press is acted on
    // at its first receiver, once. Its way up the parent chain comes after the announcement was taken,
    // and so does its way after a dialog that ran inside the hook or inside the focused control: that
    // dialog's own keys announce and end their own presses. A control that hands the press on to a
    // child (an item view to its editor) makes Qt announce it once more, alike in every field: until
    // its key is released, the press taken is no new one.
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        const auto announcement = KeyAnnouncement::of(*static_cast<QKeyEvent*>(event));
        if (announcement != m_takenKey)
            m_announcedKey = announcement;
        break;
    }
    case QEvent::KeyRelease: {
        m_announcedKey.reset();
        // Test events carry no time: only the release tells two presses of a key apart.
        if (m_takenKey && m_takenKey->key == static_cast<QKeyEvent*>(event)->key())
            m_takenKey.reset();
        break;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!watched->isWidgetType() || m_announcedKey != KeyAnnouncement::of(*key))
            break;
        m_takenKey = m_announcedKey;
        m_announcedKey.reset();
        if (ApplicationKeyHook(key->key(), true))
            return true;
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool THooptallyForm::ApplicationKeyHook(int key, bool isKeyDown)
{
    if (!isKeyDown || !IsKeyInputEnabled())
        return false;
    // Modal dialogs other than the clock edit own the keyboard; neither do keys in the settings act.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && !qobject_cast<const TTimeModifyDlg*>(modal))
        return false;
    if (Option() && Option()->isActiveWindow())
        return false;
    const bool functionKey = key >= Qt::Key_F1 && key <= Qt::Key_F12;
    if (functionKey || key == Qt::Key_Backspace || key == Qt::Key_Escape) {
        const unsigned virtualKey = functionKey                ? platform::VK_F1 + (key - Qt::Key_F1)
                                    : key == Qt::Key_Backspace ? platform::VK_BACK
                                                               : platform::VK_ESCAPE;
        platform::SendMessage(this, kFunctionKeyMessage, virtualKey, 0);
        // F4, Backspace and Esc also reach the focused control.
        return functionKey && key != Qt::Key_F4;
    }
    // The clock's Space is no key of the focused control: a button would click, a check box toggle.
    if (key == Qt::Key_Space && !IsTextFieldFocused()) {
        TimeStartStopBClick();
        return true;
    }
    return false;
}

} // namespace hooptally
