// The game clock, the periods, the score panel, the key hook and the clock-edit dialog.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <limits>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/TTimeModifyDlg.h"
#include "hooptally/Texecute.h"
#include "platform/Convert.h"
#include "platform/StringGrid.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

void showActive(QWidget& window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Gives a widget of the active main window the keyboard focus, on its tab page.
void focus(THooptallyForm& form, QWidget* widget)
{
    for (QWidget* page : {form.TabSheet4, form.TabSheet2}) {
        if (page->isAncestorOf(widget))
            form.PageControl1->setCurrentWidget(page);
    }
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
}

// Counts the key presses that reach a widget past the application's filters.
class KeyPressCounter : public QObject
{
public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++presses;
        return false;
    }
};

// The virtual keys sent to the function-key panel (WM_APP+6) while the spy lived.
QList<int> panelKeys(const MessageSpy& spy)
{
    QList<int> keys;
    for (const MessageSpy::Seen& message : spy.seen) {
        if (message.msg == kFunctionKeyMessage)
            keys << static_cast<int>(message.wParam);
    }
    return keys;
}

// Runs a dialog modally, as the desktop does, and closes it with Esc: a key press of its own.
void closeWithEscape(QDialog& dialog)
{
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    dialog.exec();
}

// A control that answers every key with a dialog and leaves the key to its parents.
class DialogOnKey : public QWidget
{
public:
    explicit DialogOnKey(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        QDialog dialog(this);
        closeWithEscape(dialog);
        event->ignore();
    }
};

// A control that hands every key press on to a child, as an item view hands it to its open editor.
class PassesKeysToAChild : public QWidget
{
public:
    explicit PassesKeysToAChild(QWidget* parent) : QWidget(parent), m_child(new KeyTaker(this))
    {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { QCoreApplication::sendEvent(m_child, event); }

private:
    class KeyTaker : public QWidget
    {
    public:
        using QWidget::QWidget;

    protected:
        void keyPressEvent(QKeyEvent* event) override { event->accept(); }
    };
    KeyTaker* m_child;
};

// A starter of team A has scored, so the 4th, running from 6:00, ends without an overtime.
TPlayer* startUntiedFourth(Program& program)
{
    TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
    program.act(a4, kTwoPointMade);
    program.setPeriod(3);
    program.setClock(6, 0);
    program.form().TimeStartStopBClick();
    return a4;
}

// Opens the clock-edit dialog, checks what it shows first, types both fields and closes it.
void editClock(Program& program, const QString& minutes, const QString& seconds, bool ok = true,
               const std::function<void(TTimeModifyDlg&)>& checkShown = {})
{
    program.dialogs().expectModal(QStringLiteral("TimeModifyDlg"), [&](QDialog& dialog) {
        auto& edit = static_cast<TTimeModifyDlg&>(dialog);
        if (checkShown)
            checkShown(edit);
        edit.Edit1->setText(minutes);
        edit.Edit2->setText(seconds);
        QTest::mouseClick(ok ? edit.OKBtn : edit.CancelBtn, Qt::LeftButton);
        return dialog.result();
    });
    program.form().TimerModifyBClick();
}

QWidget* widgetNamed(THooptallyForm& form, const QString& name)
{
    return name == QLatin1String("HooptallyForm") ? &form : form.findChild<QWidget*>(name);
}

} // namespace

class tst_clock : public QObject
{
    Q_OBJECT
private slots:
    void tick_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("afterMinutes");
        QTest::addColumn<int>("afterSeconds");
        QTest::addColumn<bool>("running");
        QTest::newRow("a minute borrows") << 1 << 0 << 0 << 59 << true;
        QTest::newRow("last second shows 00:00") << 0 << 1 << 0 << 0 << true;
        QTest::newRow("00:00 stops") << 0 << 0 << 0 << 0 << false;
        QTest::newRow("negative minutes stop") << -1 << 30 << -1 << 30 << false;
        QTest::newRow("negative seconds stop") << 0 << -5 << 0 << -5 << false;
        // A clock set by hand has no upper bound; counting never overflows.
        QTest::newRow("largest minutes")
            << std::numeric_limits<int>::max() << 0 << std::numeric_limits<int>::max() - 1 << 59 << true;
        QTest::newRow("largest minutes and seconds")
            << std::numeric_limits<int>::max() << std::numeric_limits<int>::max()
            << std::numeric_limits<int>::max() << std::numeric_limits<int>::max() - 1 << true;
        QTest::newRow("seconds below zero borrow") << 5 << -3 << 4 << 59 << true;
        QTest::newRow("lowest seconds stop")
            << 5 << std::numeric_limits<int>::min() << 5 << std::numeric_limits<int>::min() << false;
    }
    void tick()
    {
        QFETCH(int, afterMinutes);
        QFETCH(int, afterSeconds);
        QFETCH(bool, running);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        Program program;
        THooptallyForm& form = program.form();
        program.setClock(minutes, seconds);
        form.TimeStartStopBClick();
        QVERIFY(form.ClockRunning());
        form.Timer1Timer();
        QCOMPARE(form.ClockMinutes(), afterMinutes);
        QCOMPARE(form.ClockSeconds(), afterSeconds);
        QCOMPARE(form.ClockRunning(), running);
        QCOMPARE(form.Timer1->isActive(), form.ClockRunning());
        QCOMPARE(form.TimerModifyB->isEnabled(), !form.ClockRunning());
        if (form.ClockRunning())
            return;
        // Stopped for good: a further tick moves nothing.
        form.Timer1Timer();
        QCOMPARE(form.ClockMinutes(), afterMinutes);
        QCOMPARE(form.ClockSeconds(), afterSeconds);
        QCOMPARE(form.PlayLog().Count(), 0);
    }

    void startCommandStartsPeriodClocksUnlogged()
    {
        Program program;
        THooptallyForm& form = program.form();
        program.setPeriod(2);
        program.setClock(4, 20);
        form.TimeStartStopBClick();
        QCOMPARE(form.TimeStartStopB->text(), QStringLiteral("Stop"));
        QVERIFY(form.Timer1->isActive());
        QVERIFY(form.TimerMin->isReadOnly());
        QCOMPARE(form.PlayLog().Count(), 0);
        for (TTeam* team : {&program.teamA(), &program.teamB()}) {
            QCOMPARE(team->ClockOf(2).running, std::uint8_t(1));
            QCOMPARE(team->ClockOf(2).start, ClockReading(4, 20));
            QCOMPARE(team->ClockOf(1).running, std::uint8_t(0));
        }
        form.TimeStartStopBClick();
        QCOMPARE(form.TimeStartStopB->text(), QStringLiteral("Start"));
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(form.TimerModifyB->isEnabled());
        QCOMPARE(form.PlayLog().Count(), 0);
    }

    void periodEnd_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("pointsA");
        QTest::addColumn<int>("pointsB");
        QTest::addColumn<int>("expected");
        QTest::newRow("1st advances") << 0 << 2 << 0 << 1;
        QTest::newRow("3rd advances untied") << 2 << 0 << 2 << 3;
        QTest::newRow("4th tied goes to OT1") << 3 << 2 << 2 << 4;
        QTest::newRow("4th untied stays") << 3 << 2 << 0 << 3;
        QTest::newRow("OT1 tied goes to OT2") << 4 << 0 << 0 << 5;
        QTest::newRow("OT1 untied stays") << 4 << 0 << 2 << 4;
        QTest::newRow("OT2 tied never advances") << 5 << 2 << 2 << 5;
    }
    void periodEnd()
    {
        QFETCH(int, pointsA);
        QFETCH(int, pointsB);
        QFETCH(int, period);
        QFETCH(int, expected);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        TPlayer* b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("馬場"), true);
        for (int i = 0; i < pointsA; i += 2)
            program.act(a4, kTwoPointMade);
        for (int i = 0; i < pointsB; i += 2)
            program.act(b5, kTwoPointMade);
        program.setPeriod(period);
        program.setClock(2, 13);
        form.TimeStartStopBClick(); // clocks the players in at 2:13
        program.command(kPeriodEnd);

        QCOMPARE(GetCurrentPeriod(), expected);
        QCOMPARE(form.PeriodMirror(), expected);
        QVERIFY(!form.ClockRunning());
        QCOMPARE(form.ClockMinutes(), 6);
        QCOMPARE(form.ClockSeconds(), 0);
        QCOMPARE(form.TimerMin->text(), QStringLiteral("06"));
        // In the 1st the players came on court with their registration, at 6:00.
        const double played = period == 0 ? ClockReading(6, 0) : ClockReading(2, 13);
        for (TPlayer* player : {a4, b5}) {
            QCOMPARE(player->CourtTimeOf(period).accumulated, played);
            // Only a period that advanced clocks the players in again.
            QCOMPARE(player->CourtTimeOf(period).onCourt, std::uint8_t(0));
            if (expected != period)
                QCOMPARE(player->CourtTimeOf(expected).entry, ClockReading(6, 0));
        }
    }

    void periodEndWithoutPeriodGoesToTheFirst()
    {
        Program program;
        program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        program.setPeriod(-1);
        QCOMPARE(GetCurrentPeriod(), -1);
        program.command(kPeriodEnd);
        QCOMPARE(GetCurrentPeriod(), 0);
        QCOMPARE(program.form().QuatorCombo->currentText(), QStringLiteral("1st"));
        QCOMPARE(program.form().PeriodMirror(), 0);
    }

    // The question guards a period whose clock has not run: after a period end that did not advance,
    // the clock set back to the full length by hand counts as not run, however the fields were typed.
    void periodEndQuestionAfterAClockEdit_data()
    {
        QTest::addColumn<QString>("minutesText");
        QTest::addColumn<QString>("secondsText");
        QTest::addColumn<bool>("asks");
        QTest::newRow("full length without zeros") << QStringLiteral("6") << QStringLiteral("0") << true;
        QTest::newRow("full length with zeros") << QStringLiteral("06") << QStringLiteral("00") << true;
        QTest::newRow("clock not at the full length") << QStringLiteral("5") << QStringLiteral("30") << false;
    }
    void periodEndQuestionAfterAClockEdit()
    {
        QFETCH(QString, minutesText);
        QFETCH(QString, secondsText);
        QFETCH(bool, asks);
        Program program;
        THooptallyForm& form = program.form();
        startUntiedFourth(program);
        program.setClock(1, 0);
        program.command(kPeriodEnd);
        QCOMPARE(GetCurrentPeriod(), 3);
        editClock(program, minutesText, secondsText);
        // The fields read as the clock always writes them.
        QCOMPARE(form.TimerMin->text(), platform::Format("%02d", form.ClockMinutes()));
        QCOMPARE(form.TimerSec->text(), platform::Format("%02d", form.ClockSeconds()));
        const int logged = form.PlayLog().Count();
        if (asks)
            program.dialogs().expectMessage(
                QStringLiteral("ピリオド終了が押されました、本当によろしいですか？"), platform::mrNo);
        form.SpeedButton1Click();
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(form.PlayLog().Count(), logged + (asks ? 0 : 1));
    }

    void gameEndStopsPeriodClocksOnce_data()
    {
        QTest::addColumn<bool>("periodEnd");
        QTest::addColumn<bool>("restart");
        QTest::addColumn<bool>("entryAfter");
        QTest::addColumn<int>("courtMinutes");
        QTest::addColumn<bool>("stillOnCourt");
        QTest::newRow("running period") << false << false << false << 6 << false;
        QTest::newRow("right after a period end") << true << true << false << 6 << true;
        QTest::newRow("entry after an unadvanced period end") << true << false << true << 6 << false;
        QTest::newRow("restarted and an entry") << true << true << true << 12 << false;
    }
    void gameEndStopsPeriodClocksOnce()
    {
        QFETCH(bool, periodEnd);
        QFETCH(bool, restart);
        QFETCH(bool, entryAfter);
        QFETCH(int, courtMinutes);
        QFETCH(bool, stillOnCourt);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = startUntiedFourth(program);
        if (periodEnd) {
            program.setClock(0, 0);
            program.command(kPeriodEnd);
            QCOMPARE(GetCurrentPeriod(), 3);
        }
        if (restart)
            form.TimeStartStopBClick();
        if (entryAfter)
            program.command(kTimeout, 1);
        const bool runningBefore = form.ClockRunning();
        form.GameEndClick();
        QCOMPARE(a4->CourtTimeOf(3).accumulated, ClockReading(courtMinutes, 0));
        QCOMPARE(a4->CourtTimeOf(3).onCourt == 1, stillOnCourt);
        QCOMPARE(form.ClockRunning(), runningBefore);
        const GameAction& last = form.PlayLog().Entries().back()->action;
        QCOMPARE(last.command, std::uint8_t(kGameEnd));
        QCOMPARE(last.minutes, 0);
    }

    // The log changed under the game end: undone, reloaded, a player's entries dropped. Each replays,
    // which stops the clock; it is started again before the game ends.
    void gameEndAfterAnEdit_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("closed");
        QTest::newRow("the entry after the period end undone")
            << QStringList{"period end", "timeout", "undo 3"} << true;
        QTest::newRow("the period end undone") << QStringList{"timeout", "period end", "undo 3"} << false;
        QTest::newRow("a game end, then the entry before it undone")
            << QStringList{"period end", "timeout", "game end", "undo 3"} << true;
        QTest::newRow("a game end, then the period end before it undone")
            << QStringList{"timeout", "period end", "game end", "undo 3"} << false;
        QTest::newRow("the first of two period ends undone")
            << QStringList{"period end", "period end", "undo 2"} << true;
        QTest::newRow("a reload after an entry after the period end")
            << QStringList{"period end", "timeout", "reload"} << false;
        QTest::newRow("the entries of a player deleted after the period end")
            << QStringList{"period end", "bench foul", "delete"} << true;
        QTest::newRow("a timeout after the period end, another player's entries deleted")
            << QStringList{"bench foul", "period end", "timeout", "delete"} << false;
    }
    void gameEndAfterAnEdit()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, closed);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = startUntiedFourth(program);
        TPlayer* b9 = program.addPlayer(2, QStringLiteral("9"), QStringLiteral("控え"));
        b9->status = kOnBench;
        for (const QString& step : steps) {
            program.setClock(0, 0);
            if (step == u"period end") {
                program.command(kPeriodEnd);
            } else if (step == u"timeout") {
                program.command(kTimeout, 1);
            } else if (step == u"game end") {
                form.GameEndClick();
            } else if (step == u"bench foul") {
                program.act(b9, kFoul, kPersonalFoul, 0);
            } else if (step == u"delete") {
                program.act(b9, kDeletePlayer);
            } else if (step == u"reload") {
                form.PlayLog().ReplayPlayLog();
            } else {
                form.GridPlaying->SetRow(step.section(u' ', 1).toInt());
                form.PlayLog().DeleteSelectedLogEntry();
            }
        }
        QCOMPARE(GetCurrentPeriod(), 3);
        program.setClock(3, 0);
        form.TimeStartStopBClick();
        form.GameEndClick();
        QCOMPARE(a4->CourtTimeOf(3).onCourt == 1, closed);
        QCOMPARE(a4->CourtTimeOf(3).accumulated, closed ? 0.0 : ClockReading(3, 0));
    }

    void periodChoice_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("clockRan");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("answer"); // 0: no question
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("logged");
        QTest::newRow("3rd while 1st") << 0 << false << 2 << 0 << 2 << 0;
        QTest::newRow("2nd while 1st declined") << 0 << false << 1 << int(platform::mrNo) << 0 << 0;
        QTest::newRow("2nd while 1st confirmed") << 0 << false << 1 << int(platform::mrYes) << 1 << 1;
        QTest::newRow("earlier period") << 2 << false << 0 << 0 << 0 << 0;
        // Setting the 2nd in code asked nothing; the 3rd is then the next period.
        QTest::newRow("3rd after the 2nd was set") << 1 << false << 2 << int(platform::mrNo) << 1 << 0;
        QTest::newRow("OT1 after the 4th ran untied") << 3 << true << 4 << 0 << 3 << 1;
    }
    void periodChoice()
    {
        QFETCH(int, current);
        QFETCH(bool, clockRan);
        QFETCH(int, answer);
        QFETCH(int, expected);
        QFETCH(int, logged);
        QFETCH(int, chosen);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        program.act(a4, kTwoPointMade);
        program.setPeriod(current);
        if (clockRan) {
            form.TimeStartStopBClick();
            program.setClock(0, 0);
            program.command(kPeriodEnd);
            program.setClock(3, 0);
        }
        const int before = form.PlayLog().Count();
        if (answer != 0)
            program.dialogs().expectMessage(
                QStringLiteral("ピリオド終了が押されました、本当によろしいですか？"), answer);
        // What the user's pick does to the selector before the handler runs.
        form.QuatorCombo->setCurrentIndex(chosen);
        emit form.QuatorCombo->activated(chosen);
        QCOMPARE(GetCurrentPeriod(), expected);
        QCOMPARE(form.PeriodMirror(), GetCurrentPeriod());
        QCOMPARE(form.PlayLog().Count() - before, logged);
    }

    void scorePanelTexts()
    {
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        TPlayer* b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("馬場"), true);
        program.act(a4, kTwoPointMade);
        program.setPeriod(1);
        program.act(b5, kThreePointMade);
        program.act(a4, kFoul, kPersonalFoul, 0);
        program.act(a4, kFoul, kUnsportsmanlikeFoul, 2);
        program.act(b5, kFoul, kTechnicalFoul, 1);
        program.act(b5, kFoul, kDisqualifyingFoul, 2);
        QCOMPARE(form.LaCount1st->text(), QStringLiteral("02  -  00"));
        QCOMPARE(form.LaCount2nd->text(), QStringLiteral("00  -  03"));
        QCOMPARE(form.LaCount4th->text(), QStringLiteral("00  -  00"));
        QCOMPARE(form.TeamAFoulCnt->text(), QStringLiteral("ﾁｰﾑﾌｧｳﾙ(2)"));
        QCOMPARE(form.TeamBFoulCnt->text(), QStringLiteral("ﾁｰﾑﾌｧｳﾙ(0)"));
        QCOMPARE(form.TeamATotalCnt->text(), QStringLiteral("002"));
        QCOMPARE(form.TeamBTotalCnt->text(), QStringLiteral("003"));
        // Team fouls are those of the current period.
        program.setPeriod(2);
        form.UpdateScorePanel();
        QCOMPARE(form.TeamAFoulCnt->text(), QStringLiteral("ﾁｰﾑﾌｧｳﾙ(0)"));
        for (int i = 0; i < 5; ++i)
            program.act(b5, kTwoPointMade);
        QCOMPARE(form.LaCount3rd->text(), QStringLiteral("00  -  10"));
        QCOMPARE(form.TeamBTotalCnt->text(), QStringLiteral("013"));
    }

    void overtimeLabels_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<bool>("ot1");
        QTest::addColumn<bool>("ot2");
        QTest::newRow("4th") << 3 << false << false;
        QTest::newRow("OT1") << 4 << true << false;
        QTest::newRow("OT2") << 5 << true << true;
    }
    void overtimeLabels()
    {
        QFETCH(int, period);
        QFETCH(bool, ot1);
        QFETCH(bool, ot2);
        Program program;
        THooptallyForm& form = program.form();
        showActive(form);
        program.setPeriod(period);
        form.UpdateScorePanel();
        QCOMPARE(!form.LaCountOT1->isHidden(), ot1);
        QCOMPARE(!form.LaCountOT2->isHidden(), ot2);
        QLabel* labels[] = {form.LaCount1st, form.LaCount2nd, form.LaCount3rd,
                            form.LaCount4th, form.LaCountOT1, form.LaCountOT2};
        const int shown = 4 + (ot1 ? 1 : 0) + (ot2 ? 1 : 0);
        // The labels shown stand in order, apart, inside the panel.
        QCOMPARE(labels[0]->y(), 8);
        for (int i = 1; i < shown; ++i)
            QVERIFY2(labels[i]->y() >= labels[i - 1]->geometry().bottom(),
                     qPrintable(labels[i]->objectName()));
        QVERIFY(labels[shown - 1]->geometry().bottom() < form.PanelCount->height());

        // A new game keeps the overtime labels that were shown.
        form.FileNew1Execute();
        form.UpdateScorePanel();
        QCOMPARE(GetCurrentPeriod(), 0);
        QCOMPARE(!form.LaCountOT1->isHidden(), ot1);
        QCOMPARE(!form.LaCountOT2->isHidden(), ot2);
        if (ot1)
            QCOMPARE(form.LaCountOT1->text(), QStringLiteral("00  -  00"));
    }

    void functionKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("keyInput");
        QTest::addColumn<int>("virtualKey"); // -1: nothing reaches the panel
        QTest::addColumn<bool>("reachesField");
        QTest::addColumn<QString>("text"); // the field's text after "abc" and the key
        const QString abc = QStringLiteral("abc");
        QTest::newRow("F1") << int(Qt::Key_F1) << true << 0x70 << false << abc;
        QTest::newRow("F3") << int(Qt::Key_F3) << true << 0x72 << false << abc;
        QTest::newRow("F4 passes on") << int(Qt::Key_F4) << true << 0x73 << true << abc;
        QTest::newRow("F5") << int(Qt::Key_F5) << true << 0x74 << false << abc;
        QTest::newRow("F12") << int(Qt::Key_F12) << true << 0x7B << false << abc;
        QTest::newRow("Backspace edits and passes on")
            << int(Qt::Key_Backspace) << true << 0x08 << true << QStringLiteral("ab");
        QTest::newRow("Esc passes on") << int(Qt::Key_Escape) << true << 0x1B << true << abc;
        QTest::newRow("F5 with key input off") << int(Qt::Key_F5) << false << -1 << true << abc;
        QTest::newRow("Backspace with key input off")
            << int(Qt::Key_Backspace) << false << -1 << true << QStringLiteral("ab");
        QTest::newRow("letter") << int(Qt::Key_A) << true << -1 << true << QStringLiteral("abca");
    }
    void functionKeys()
    {
        QFETCH(int, key);
        QFETCH(bool, keyInput);
        QFETCH(int, virtualKey);
        QFETCH(bool, reachesField);
        QFETCH(QString, text);
        Program program;
        THooptallyForm& form = program.form();
        showActive(form);
        focus(form, form.shushin);
        QTest::keyClicks(form.shushin, QStringLiteral("abc"));
        KeyPressCounter counter;
        form.shushin->installEventFilter(&counter);
        SetKeyInputEnabled(keyInput);
        // F1 on the first page is team A's add key: the panel asks for the new player.
        if (virtualKey == 0x70)
            program.dialogs().expectModal(QStringLiteral("PlayerTouroku"),
                                          [](QDialog&) { return int(platform::mrCancel); });
        MessageSpy spy(form);
        QTest::keyClick(form.shushin, Qt::Key(key));
        QCOMPARE(panelKeys(spy), virtualKey < 0 ? QList<int>() : QList<int>{virtualKey});
        QCOMPARE(counter.presses == 1, reachesField);
        QCOMPARE(form.shushin->text(), text);
        QVERIFY(!form.ClockRunning());
    }

    // A dialog with keys of its own runs while a hooked key is handled: inside the hook (F4 is the
    // panel's add key) or inside the focused control the key goes on to; or the control hands the key on
    // to a child. The key acts once all the same, and a second press of it acts again.
    void keyActsOnceWhateverRunsInside_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("inside"); // "hook": a dialog in the hook; "control": in the control
        QTest::addColumn<int>("virtualKey"); // -1: the clock's key
        QTest::newRow("F4 on the add key") << int(Qt::Key_F4) << u"hook"_s << 0x73;
        QTest::newRow("F4 into a control") << int(Qt::Key_F4) << u"control"_s << 0x73;
        QTest::newRow("Esc into a control") << int(Qt::Key_Escape) << u"control"_s << 0x1B;
        QTest::newRow("Backspace into a control") << int(Qt::Key_Backspace) << u"control"_s << 0x08;
        QTest::newRow("Space kept from a control") << int(Qt::Key_Space) << u"control"_s << -1;
        QTest::newRow("F4 handed to a child") << int(Qt::Key_F4) << u"child"_s << 0x73;
        QTest::newRow("Esc handed to a child") << int(Qt::Key_Escape) << u"child"_s << 0x1B;
        QTest::newRow("Backspace handed to a child") << int(Qt::Key_Backspace) << u"child"_s << 0x08;
    }
    void keyActsOnceWhateverRunsInside()
    {
        QFETCH(int, key);
        QFETCH(QString, inside);
        QFETCH(int, virtualKey);
        Program program;
        THooptallyForm& form = program.form();
        QWidget* target = form.ToolBar1;
        QWidget* page = form.PageControl1->currentWidget();
        if (inside == u"hook"_s) {
            for (const char* name : {"青木", "井上", "上田"})
                program.addPlayer(1, QString::number(program.teamA().Count()), QString::fromUtf8(name));
            FKey()->RebuildFunctionKeyPages();
            for (int press = 0; press < 2; ++press) {
                program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [](QDialog& dialog) {
                    closeWithEscape(dialog);
                    return int(platform::mrCancel);
                });
            }
        } else if (inside == u"control"_s) {
            target = new DialogOnKey(page);
        } else {
            target = new PassesKeysToAChild(page);
        }
        showActive(form);
        target->show();
        target->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), target);
        MessageSpy spy(form);
        for (int press = 1; press <= 2; ++press) {
            QTest::keyClick(target, Qt::Key(key));
            QCOMPARE(panelKeys(spy), virtualKey < 0 ? QList<int>() : QList<int>(press, virtualKey));
            QCOMPARE(form.ClockRunning(), virtualKey < 0 && press == 1);
        }
    }

    void functionKeysWhileTheSettingsAreActive()
    {
        Program program;
        showActive(program.form());
        showActive(program.option());
        program.option().Edit1->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), program.option().Edit1);
        MessageSpy spy(program.form());
        QTest::keyClick(program.option().Edit1, Qt::Key_F5);
        QTest::keyClick(program.option().Edit1, Qt::Key_Space);
        QVERIFY(panelKeys(spy).isEmpty());
        QVERIFY(!program.form().ClockRunning());
        program.option().hide();
    }

    // Space on a control outside the text and clock fields runs the clock and nothing else: no button
    // clicks (the period end would ask, "B Read" would open its file, "Reset" reset the clock), no check
    // box, grid or list takes it, and an item view opening its editor does not hand it on a second time.
    void space_data()
    {
        QTest::addColumn<QString>("target"); // a component, or a control added to the clock bar
        QTest::addColumn<bool>("toggles");
        QTest::addColumn<bool>("reachesControl");
        QTest::addColumn<QString>("typed");
        QTest::newRow("Stats grid") << u"StringGrid1"_s << true << false << QString();
        QTest::newRow("play-by-play grid") << u"GridPlaying"_s << true << false << QString();
        QTest::newRow("no focused control") << u"HooptallyForm"_s << true << false << QString();
        QTest::newRow("period end button") << u"Button1"_s << true << false << QString();
        QTest::newRow("B Read") << u"BitBtn3"_s << true << false << QString();
        QTest::newRow("Reset") << u"TimeClearB"_s << true << false << QString();
        QTest::newRow("check box") << u"added check box"_s << true << false << QString();
        QTest::newRow("list") << u"added list"_s << true << false << QString();
        QTest::newRow("table opening its editor on any key")
            << u"added table"_s << true << false << QString();
        QTest::newRow("referee field") << u"shushin"_s << false << true << u" "_s;
        QTest::newRow("clock button presses itself once") << u"TimeStartStopB"_s << true << true << QString();
    }
    void space()
    {
        QFETCH(QString, target);
        QFETCH(bool, toggles);
        QFETCH(bool, reachesControl);
        QFETCH(QString, typed);
        Program program;
        THooptallyForm& form = program.form();
        program.setClock(3, 21);
        QWidget* widget = widgetNamed(form, target);
        if (target == u"added check box"_s) {
            widget = new QCheckBox(u"x"_s, form.Panel3);
        } else if (target == u"added list"_s) {
            widget = new QListWidget(form.Panel3);
        } else if (target == u"added table"_s) {
            auto* table = new QTableWidget(1, 1, form.Panel3);
            table->setEditTriggers(QAbstractItemView::AnyKeyPressed);
            table->setItem(0, 0, new QTableWidgetItem(u"x"_s));
            table->setCurrentCell(0, 0);
            widget = table;
        }
        QVERIFY(widget);
        showActive(form);
        if (widget == &form) {
            if (QApplication::focusWidget())
                QApplication::focusWidget()->clearFocus();
            QCOMPARE(QApplication::focusWidget(), nullptr);
        } else {
            widget->show();
            focus(form, widget);
        }
        KeyPressCounter counter;
        widget->installEventFilter(&counter);
        QTest::keyClick(widget, Qt::Key_Space);
        QCOMPARE(form.ClockRunning(), toggles);
        QCOMPARE(counter.presses, reachesControl ? 1 : 0);
        QCOMPARE(form.TimerMin->text() + form.TimerSec->text(), u"0321"_s);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            QCOMPARE(edit->text(), typed);
    }

    void spaceTwiceAcrossAFocusChange()
    {
        Program program;
        THooptallyForm& form = program.form();
        showActive(form);
        focus(form, form.StringGrid1);
        QTest::keyClick(form.StringGrid1, Qt::Key_Space);
        QVERIFY(form.ClockRunning());
        // The next press goes to the window itself, an ancestor of the grid: it is a new key all the same.
        form.StringGrid1->clearFocus();
        QTest::keyClick(&form, Qt::Key_Space);
        QVERIFY(!form.ClockRunning());
        focus(form, form.StringGrid1);
        QTest::keyClick(form.StringGrid1, Qt::Key_Space);
        QVERIFY(form.ClockRunning());
    }

    void spaceWhileAModalDialogIsOpen()
    {
        Program program;
        THooptallyForm& form = program.form();
        showActive(form);
        QDialog dialog(&form);
        dialog.setWindowModality(Qt::ApplicationModal);
        showActive(dialog);
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        MessageSpy spy(form);
        QTest::keyClick(&dialog, Qt::Key_Space);
        QTest::keyClick(&dialog, Qt::Key_F5);
        QVERIFY(!form.ClockRunning());
        QVERIFY(panelKeys(spy).isEmpty());
    }

    void clockEdit_data()
    {
        QTest::addColumn<QString>("minutesText");
        QTest::addColumn<QString>("secondsText");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::newRow("numbers") << QStringLiteral("7") << QStringLiteral("5") << true << 7 << 5;
        QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("00") << true << 0 << 0;
        QTest::newRow("largest") << QStringLiteral("99") << QStringLiteral("59") << true << 99 << 59;
        QTest::newRow("blanks around") << QStringLiteral(" 8 ") << QStringLiteral("09") << true << 8 << 9;
        QTest::newRow("cancel") << QStringLiteral("1") << QStringLiteral("1") << false << 4 << 30;
    }
    void clockEdit()
    {
        QFETCH(QString, minutesText);
        QFETCH(QString, secondsText);
        QFETCH(bool, ok);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        Program program;
        THooptallyForm& form = program.form();
        program.setClock(4, 30);
        editClock(program, minutesText, secondsText, ok, [](TTimeModifyDlg& edit) {
            // Shown without padding.
            QCOMPARE(edit.Edit1->text(), QStringLiteral("4"));
            QCOMPARE(edit.Edit2->text(), QStringLiteral("30"));
        });
        QCOMPARE(form.ClockMinutes(), minutes);
        QCOMPARE(form.ClockSeconds(), seconds);
        // Shown as the clock always shows itself.
        QCOMPARE(form.TimerMin->text(), platform::Format("%02d", minutes));
        QCOMPARE(form.TimerSec->text(), platform::Format("%02d", seconds));
    }

    // Anything but minutes 0 to 99 and seconds 0 to 59 in digits is refused with a message: the clock keeps
    // its value and the dialog stays open on the wrong field, so the scorer corrects it.
    void clockEditRefuses_data()
    {
        QTest::addColumn<QString>("minutesText");
        QTest::addColumn<QString>("secondsText");
        QTest::addColumn<QString>("wrongField");
        QTest::newRow("minutes not a number")
            << QStringLiteral("x") << QStringLiteral("15") << QStringLiteral("Edit1");
        QTest::newRow("minutes empty") << QString() << QStringLiteral("15") << QStringLiteral("Edit1");
        QTest::newRow("seconds empty") << QStringLiteral("9") << QString() << QStringLiteral("Edit2");
        QTest::newRow("seconds past a minute")
            << QStringLiteral("25") << QStringLiteral("75") << QStringLiteral("Edit2");
        QTest::newRow("seconds 60") << QStringLiteral("25") << QStringLiteral("60")
                                    << QStringLiteral("Edit2");
        QTest::newRow("minutes past two digits")
            << QStringLiteral("100") << QStringLiteral("0") << QStringLiteral("Edit1");
        QTest::newRow("negative") << QStringLiteral("-1") << QStringLiteral("-1") << QStringLiteral("Edit1");
        QTest::newRow("plus sign") << QStringLiteral("5") << QStringLiteral("+5") << QStringLiteral("Edit2");
        QTest::newRow("fraction") << QStringLiteral("1.5") << QStringLiteral("0") << QStringLiteral("Edit1");
        QTest::newRow("overflow") << QStringLiteral("99999999999") << QStringLiteral("0")
                                  << QStringLiteral("Edit1");
        QTest::newRow("full-width digits")
            << QStringLiteral("５") << QStringLiteral("0") << QStringLiteral("Edit1");
    }
    void clockEditRefuses()
    {
        QFETCH(QString, minutesText);
        QFETCH(QString, secondsText);
        QFETCH(QString, wrongField);
        Program program;
        THooptallyForm& form = program.form();
        program.setClock(4, 30);
        program.dialogs().expectModal(QStringLiteral("TimeModifyDlg"), [&](QDialog& dialog) {
            auto& edit = static_cast<TTimeModifyDlg&>(dialog);
            showActive(edit);
            edit.Edit1->setText(minutesText);
            edit.Edit2->setText(secondsText);
            program.dialogs().expectMessage(
                QStringLiteral("分は0～99、秒は0～59の数字で入力してください [Quillmarsh]"));
            QTest::mouseClick(edit.OKBtn, Qt::LeftButton);
            [&] { QVERIFY(program.dialogs().allAnswered()); }();
            [&] {
                QVERIFY(edit.isVisible());
                QCOMPARE(QApplication::focusWidget()->objectName(), wrongField);
                QCOMPARE(form.ClockMinutes(), 4);
                QCOMPARE(form.ClockSeconds(), 30);
            }();
            // Corrected, it is taken.
            edit.Edit1->setText(QStringLiteral("3"));
            edit.Edit2->setText(QStringLiteral("20"));
            QTest::mouseClick(edit.OKBtn, Qt::LeftButton);
            return dialog.result();
        });
        form.TimerModifyBClick();
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(form.ClockMinutes(), 3);
        QCOMPARE(form.ClockSeconds(), 20);
        QCOMPARE(form.TimerSec->text(), QStringLiteral("20"));
    }

    void clockEditTypingIsNotOverwritten()
    {
        Program program;
        THooptallyForm& form = program.form();
        showActive(form);
        program.setClock(4, 30);
        form.TimeStartStopBClick();
        auto drive = [&](TTimeModifyDlg& edit) {
            // Before any focus the fields follow the running clock.
            QTRY_COMPARE_WITH_TIMEOUT(edit.Edit2->text(), QString::number(form.ClockSeconds()), 3000);
            QTRY_VERIFY_WITH_TIMEOUT(edit.Edit2->text() != QStringLiteral("30"), 3000);
            showActive(edit);
            edit.Edit1->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), edit.Edit1);
            QVERIFY(!edit.Timer1->isActive());
            edit.Edit1->selectAll();
            QTest::keyClicks(edit.Edit1, QStringLiteral("3"));
            const QString seconds = edit.Edit2->text();
            QTRY_VERIFY_WITH_TIMEOUT(form.ClockSeconds() != seconds.toInt(), 5000);
            QTest::qWait(1100); // a whole period of the dialog's own timer
            QCOMPARE(edit.Edit1->text(), QStringLiteral("3"));
            QCOMPARE(edit.Edit2->text(), seconds);
            QTest::mouseClick(edit.OKBtn, Qt::LeftButton);
        };
        program.dialogs().expectModal(QStringLiteral("TimeModifyDlg"), [&](QDialog& dialog) {
            drive(static_cast<TTimeModifyDlg&>(dialog));
            return dialog.result();
        });
        form.TimerModifyBClick();
        QCOMPARE(form.ClockMinutes(), 3);
    }
};

QTEST_MAIN(tst_clock)
#include "tst_clock.moc"
