// The player dialogs: registration (TPlayerTouroku), player actions (TPlayerExec) and the court
// players of a team (TTourokuMember), driven through the program's own entry points.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/TPlayerExec.h"
#include "hooptally/TPlayerTouroku.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "hooptally/Ttourokumenber.h"
#include "platform/RadioGroup.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"
#include "support/UserInput.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

void retype(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    typeText(field, text);
}

// What reached the main window: registrations as "number|name|position|coach|starter", actions
// as "code/free throws/foul kind/player".
MessageSpy::Probe sentRecords()
{
    return [](const platform::Message& message) {
        if (message.msg == kRegistrationMessage) {
            const auto* r = platform::RecordOf<PlayerRegistration>(message);
            return QStringList{r->number, r->name, r->position, QString::number(r->coach),
                               QString::number(r->starter)}
                .join(QLatin1Char('|'));
        }
        if (message.msg == kActionMessage) {
            const auto* a = platform::RecordOf<GameAction>(message);
            return QStringLiteral("%1/%2/%3/%4")
                .arg(a->code)
                .arg(a->freeThrows)
                .arg(a->foulKind)
                .arg(a->player ? a->player->name : QStringLiteral("-"));
        }
        return QString();
    };
}

QStringList records(const MessageSpy& spy, unsigned msg)
{
    QStringList found;
    for (const MessageSpy::Seen& seen : spy.seen) {
        if (seen.msg == msg)
            found << seen.probed;
    }
    return found;
}

// Expects the registration dialog that the edit-player action opens, driven by `drive`.
void expectRegistration(Program& program, const std::function<void(TPlayerTouroku&)>& drive)
{
    program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [drive](QDialog& dialog) {
        auto& touroku = static_cast<TPlayerTouroku&>(dialog);
        drive(touroku);
        return touroku.result();
    });
}

// Expects the action dialog that a roster's OpenPlayer opens, driven by `drive`.
void expectPlayerExec(Program& program, const std::function<void(TPlayerExec&)>& drive)
{
    program.dialogs().expectModal(QStringLiteral("PlayerExec"), [drive](QDialog& dialog) {
        auto& exec = static_cast<TPlayerExec&>(dialog);
        drive(exec);
        return exec.result();
    });
}

// Expects the court-players dialog, driven by `drive`.
void expectCourtPlayers(Program& program, const std::function<void(TTourokuMember&)>& drive)
{
    program.dialogs().expectModal(QStringLiteral("TourokuMember"), [drive](QDialog& dialog) {
        auto& member = static_cast<TTourokuMember&>(dialog);
        drive(member);
        return member.result();
    });
}

void editPlayer(Program& program, TPlayer* player, const std::function<void(TPlayerTouroku&)>& drive)
{
    expectRegistration(program, drive);
    program.act(player, kEditPlayer);
}

void openPlayer(Program& program, TPlayer* player, const std::function<void(TPlayerExec&)>& drive)
{
    expectPlayerExec(program, drive);
    player->team->OpenPlayer(player);
}

QString visibleWidgets(TPlayerTouroku& dialog)
{
    QStringList shown;
    for (QWidget* widget :
         {static_cast<QWidget*>(dialog.LabeledEdit1), static_cast<QWidget*>(dialog.LabeledEdit2),
          static_cast<QWidget*>(dialog.LabeledEdit3), static_cast<QWidget*>(dialog.Label1),
          static_cast<QWidget*>(dialog.Label2), static_cast<QWidget*>(dialog.CheckBox1),
          static_cast<QWidget*>(dialog.CoachChk), static_cast<QWidget*>(dialog.CoachCombo)}) {
        if (widget->isVisible())
            shown << widget->objectName();
    }
    return shown.join(QLatin1Char(' '));
}

// The player of team A in each state: 4 on court (starter), 5 on the bench, 6 off the official list,
// a head coach, an assistant coach named "ｺｰﾁ" as the roster's position says, and the add row.
struct Roster
{
    TPlayer* court;
    TPlayer* bench;
    TPlayer* notListed;
    TPlayer* head;
    TPlayer* assistant;
    TPlayer* blank;
    explicit Roster(Program& program)
    {
        court = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true, false,
                                  QStringLiteral("PG"));
        bench = program.addPlayer(1, QStringLiteral("5"), QStringLiteral("石井"));
        notListed = program.addPlayer(1, QStringLiteral("6"), QStringLiteral("高橋"));
        head = program.addPlayer(1, QString(), QStringLiteral("監督"), false, true, kHeadCoachText);
        assistant = program.addPlayer(1, QStringLiteral("99"), QStringLiteral("助手"), false, true,
                                      kAssistantCoachText);
        program.act(bench, kToBench);
        program.act(notListed, kToBench);
        program.act(notListed, kRemoveFromOfficial);
        blank = program.teamA().PlayerAt(program.teamA().Count() - 1);
    }
    TPlayer* byName(const QString& name) const
    {
        for (TPlayer* player : {court, bench, notListed, head, assistant, blank}) {
            if (player->name == name || (name.isEmpty() && player == blank))
                return player;
        }
        return nullptr;
    }
};

QString enabledButtons(TPlayerExec& exec)
{
    QStringList names;
    for (QPushButton* button : exec.findChildren<QPushButton*>()) {
        if (button->isVisible() && button->isEnabled() && button != exec.CancelBtn)
            names << button->objectName();
    }
    names.sort();
    return names.join(QLatin1Char(' '));
}

} // namespace

class tst_playerdialogs : public QObject
{
    Q_OBJECT
private slots:
    void registrationLayout_data()
    {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("visible");
        QTest::addColumn<QStringList>("texts"); // number, name, position
        QTest::addColumn<bool>("starter");
        QTest::addColumn<int>("coachKind"); // combo item, -1: not a coach
        QTest::addColumn<bool>("comboEnabled");
        QTest::addColumn<bool>("deletable");
        const QString playerLayout =
            QStringLiteral("LabeledEdit1 LabeledEdit2 LabeledEdit3 Label1 CheckBox1");
        QTest::newRow("on court") << "青木" << playerLayout << QStringList{"4", "青木", "PG"} << true << -1
                                  << true << true;
        QTest::newRow("bench") << "石井" << playerLayout << QStringList{"5", "石井", ""} << false << -1
                               << true << true;
        QTest::newRow("not listed") << "高橋" << playerLayout + " CoachChk" << QStringList{"6", "高橋", ""}
                                    << false << -1 << true << true;
        QTest::newRow("add row") << "" << playerLayout + " CoachChk" << QStringList{"", "", ""} << false << -1
                                 << true << false;
        QTest::newRow("head coach") << "監督"
                                    << "LabeledEdit2 Label2 CoachChk CoachCombo"
                                    << QStringList{"", "監督", "ﾍｯﾄﾞｺｰﾁ"} << false << 0 << false << true;
        QTest::newRow("assistant coach")
            << "助手"
            << "LabeledEdit2 Label2 CoachChk CoachCombo" << QStringList{"99", "助手", "ｱｼｽﾀﾝﾄｺｰﾁ"} << false
            << 1 << false << true;
    }
    void registrationLayout()
    {
        QFETCH(QString, player);
        QFETCH(QString, visible);
        QFETCH(QStringList, texts);
        QFETCH(bool, starter);
        QFETCH(int, coachKind);
        QFETCH(bool, comboEnabled);
        QFETCH(bool, deletable);
        Program program;
        Roster roster(program);
        editPlayer(program, roster.byName(player), [&](TPlayerTouroku& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("プレイヤー登録"));
            QCOMPARE(visibleWidgets(dialog), visible);
            QCOMPARE(dialog.LabeledEdit1->text(), texts[0]);
            QCOMPARE(dialog.LabeledEdit2->text(), texts[1]);
            QCOMPARE(dialog.LabeledEdit3->text(), texts[2]);
            QCOMPARE(dialog.CheckBox1->isChecked(), starter);
            QCOMPARE(dialog.CoachChk->isChecked(), coachKind >= 0);
            if (coachKind >= 0) {
                QCOMPARE(dialog.CoachCombo->currentIndex(), coachKind);
                QCOMPARE(dialog.CoachCombo->isEnabled(), comboEnabled);
            }
            QCOMPARE(dialog.DeleteB->isEnabled(), deletable);
            QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
        });
    }

    // Ticking the coach box keeps what was typed; unticking it and cancelling put the status back.
    void coachCheckBox()
    {
        Program program;
        Roster roster(program);
        editPlayer(program, roster.notListed, [&](TPlayerTouroku& dialog) {
            retype(dialog.LabeledEdit2, QStringLiteral("高橋二郎"));
            QTest::mouseClick(dialog.CoachChk, Qt::LeftButton);
            QCOMPARE(roster.notListed->status, std::uint8_t(kHeadCoach));
            QCOMPARE(visibleWidgets(dialog), QStringLiteral("LabeledEdit2 Label2 CoachChk CoachCombo"));
            QCOMPARE(dialog.LabeledEdit2->text(), QStringLiteral("高橋二郎"));
            QVERIFY(dialog.CoachCombo->isEnabled());
            QTest::mouseClick(dialog.CoachChk, Qt::LeftButton);
            QCOMPARE(roster.notListed->status, std::uint8_t(kNotListed));
            QCOMPARE(visibleWidgets(dialog),
                     QStringLiteral("LabeledEdit1 LabeledEdit2 LabeledEdit3 Label1 CheckBox1 CoachChk"));
            QCOMPARE(dialog.LabeledEdit2->text(), QStringLiteral("高橋二郎"));
            QTest::mouseClick(dialog.CoachChk, Qt::LeftButton);
            QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
        });
        QCOMPARE(roster.notListed->status, std::uint8_t(kNotListed));
        QCOMPARE(roster.notListed->name, QStringLiteral("高橋"));
        // The window's close box cancels as well.
        editPlayer(program, roster.notListed, [&](TPlayerTouroku& dialog) {
            QTest::mouseClick(dialog.CoachChk, Qt::LeftButton);
            dialog.reject();
        });
        QCOMPARE(roster.notListed->status, std::uint8_t(kNotListed));
    }

    void registrationOk_data()
    {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QStringList>("typed"); // number, name, position; empty entries are kept
        QTest::addColumn<int>("boxes"); // 1: tick the coach box; 2: the starter box, then the coach box
        QTest::addColumn<int>("coachKind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("registration");
        QTest::newRow("a new player") << "" << QStringList{"12", "森", "C"} << 0 << 0 << ""
                                      << "12|森|C|0|0";
        QTest::newRow("empty number") << "" << QStringList{"", "森", ""} << 0 << 0 << "背番号は必須です"
                                      << "";
        QTest::newRow("a coach needs no number") << "監督" << QStringList{"", "監督二", ""} << 0 << 0 << ""
                                                 << "|監督二|ﾍｯﾄﾞｺｰﾁ|1|0";
        QTest::newRow("comma in a coach's name")
            << "監督" << QStringList{"", "Smith, John", ""} << 0 << 0 << "カンマ(,)は使用できません"
            << "";
        QTest::newRow("comma in the number")
            << "青木" << QStringList{"4,5", "", ""} << 0 << 0 << "カンマ(,)は使用できません"
            << "";
        QTest::newRow("comma in the position")
            << "青木" << QStringList{"", "", "F,C"} << 0 << 0 << "カンマ(,)は使用できません"
            << "";
        QTest::newRow("leading #") << "" << QStringList{"#7", "森", ""} << 0 << 0 << "先頭に#は使用できません"
                                   << "";
        QTest::newRow("# inside is fine") << "" << QStringList{"7", "森#2", ""} << 0 << 0 << ""
                                          << "7|森#2||0|0";
        QTest::newRow("not in CP932")
            << "" << QStringList{"7", "김", ""} << 0 << 0 << "使用できない文字が含まれています: 김"
            << "";
        QTest::newRow("a look-alike CP932 holds") << "" << QStringList{"7", "A〜B", ""} << 0 << 0 << ""
                                                  << "7|A〜B||0|0";
        QTest::newRow("add row as assistant coach") << "" << QStringList{"", "コーチ", ""} << 1 << 1 << ""
                                                    << "|コーチ|ｱｼｽﾀﾝﾄｺｰﾁ|1|0";
        QTest::newRow("not listed made head coach") << "高橋" << QStringList{"", "", ""} << 1 << 0 << ""
                                                    << "6|高橋|ﾍｯﾄﾞｺｰﾁ|1|0";
        QTest::newRow("a starter made coach is no starter")
            << "" << QStringList{"", "コーチ", ""} << 2 << 0 << ""
            << "|コーチ|ﾍｯﾄﾞｺｰﾁ|1|0";
    }
    void registrationOk()
    {
        QFETCH(QString, player);
        QFETCH(QStringList, typed);
        QFETCH(int, boxes);
        QFETCH(int, coachKind);
        QFETCH(QString, message);
        QFETCH(QString, registration);
        Program program;
        Roster roster(program);
        TPlayer* edited = roster.byName(player);
        MessageSpy spy(program.form(), sentRecords());
        bool keptOpen = false;
        expectRegistration(program, [&](TPlayerTouroku& dialog) {
            QLineEdit* edits[] = {dialog.LabeledEdit1, dialog.LabeledEdit2, dialog.LabeledEdit3};
            for (int i = 0; i < 3; ++i) {
                if (!typed[i].isEmpty() || player.isEmpty())
                    retype(edits[i], typed[i]);
            }
            if (boxes == 2)
                QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
            if (boxes > 0) {
                QTest::mouseClick(dialog.CoachChk, Qt::LeftButton);
                dialog.CoachCombo->setCurrentIndex(coachKind);
            }
            QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
            if (!message.isEmpty()) {
                keptOpen = dialog.isVisible() && dialog.result() == platform::mrNone &&
                           dialog.LabeledEdit2->text() ==
                               (player.isEmpty() || !typed[1].isEmpty() ? typed[1] : player);
                QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
            }
        });
        if (!message.isEmpty())
            program.dialogs().expectMessage(message + QStringLiteral(" [Quillmarsh]"));
        program.act(edited, kEditPlayer);
        QCOMPARE(records(spy, kRegistrationMessage),
                 registration.isEmpty() ? QStringList() : QStringList{registration});
        QCOMPARE(keptOpen, !message.isEmpty());
        QVERIFY(IsKeyInputEnabled());
        if (registration.isEmpty())
            return;
        QCOMPARE(edited->name, registration.section(QLatin1Char('|'), 1, 1));
        // The registered blank row is replaced by a new one.
        QVERIFY(!program.teamA().HasNoBlankRow());
    }

    void deletePlayer_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes deletes") << int(platform::mrYes);
        QTest::newRow("no keeps the dialog open") << int(platform::mrNo);
    }
    void deletePlayer()
    {
        QFETCH(int, answer);
        Program program;
        Roster roster(program);
        program.act(roster.bench, kFoul, kPersonalFoul, 1);
        const int count = program.teamA().Count();
        bool open = false;
        expectRegistration(program, [&](TPlayerTouroku& dialog) {
            QTest::mouseClick(dialog.DeleteB, Qt::LeftButton);
            open = dialog.result() == platform::mrNone;
            if (open)
                QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
            else
                QCOMPARE(dialog.result(), TPlayerTouroku::kDeleted);
        });
        program.dialogs().expectMessage(QStringLiteral("選手を削除します、よろしいですか？"), answer);
        program.act(roster.bench, kEditPlayer);
        QCOMPARE(open, answer != platform::mrYes);
        QCOMPARE(program.teamA().Count(), answer == platform::mrYes ? count - 1 : count);
        QCOMPARE(program.teamA().TeamFouls(0), answer == platform::mrYes ? 0 : 1);
        QVERIFY(IsKeyInputEnabled());
    }

    void execButtons_data()
    {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QList<int>>("switchesOff");
        QTest::addColumn<bool>("miniBasket");
        QTest::addColumn<QString>("enabled");
        const QString all =
            QStringLiteral("BitBtn2PNG BitBtn2POK BitBtn3PNG BitBtn3POK BitBtnAsist BitBtnBlockShot "
                           "BitBtnChange BitBtnDefRebound BitBtnFTNG BitBtnFTOK BitBtnFoul "
                           "BitBtnModify BitBtnOffRebound BitBtnSteal BitBtnToBenchi "
                           "BitBtnToMitouroku BitBtnTurnOver");
        QTest::newRow("on court") << "青木" << QList<int>{} << false << all;
        QTest::newRow("on court, rebounds off") << "青木" << QList<int>{7, 8} << false
                                                << QString(all)
                                                       .remove(QStringLiteral("BitBtnDefRebound "))
                                                       .remove(QStringLiteral("BitBtnOffRebound "));
        QTest::newRow("bench") << "石井" << QList<int>{} << false
                               << "BitBtnChange BitBtnModify BitBtnToCoat BitBtnToMitouroku";
        QTest::newRow("not listed") << "高橋" << QList<int>{} << false
                                    << "BitBtnModify BitBtnToBenchi BitBtnToCoat";
        QTest::newRow("head coach") << "監督" << QList<int>{} << false << "BitBtnFoul BitBtnModify";
        QTest::newRow("head coach, fouls off") << "監督" << QList<int>{6} << false << "BitBtnModify";
        QTest::newRow("assistant coach in mini-basket") << "助手" << QList<int>{} << true << "BitBtnModify";
        QTest::newRow("head coach in mini-basket")
            << "監督" << QList<int>{} << true << "BitBtnFoul BitBtnModify";
    }
    void execButtons()
    {
        QFETCH(QString, player);
        QFETCH(QList<int>, switchesOff);
        QFETCH(bool, miniBasket);
        QFETCH(QString, enabled);
        Program program;
        Roster roster(program);
        for (int index : switchesOff)
            program.option().SetStatSwitch(index, false);
        program.option().bMiniBasket->setChecked(miniBasket);
        openPlayer(program, roster.byName(player), [&](TPlayerExec& exec) {
            QCOMPARE(exec.windowTitle(), QStringLiteral("Play登録"));
            QCOMPARE(exec.Label4->text(), player);
            QCOMPARE(enabledButtons(exec), enabled);
            QTest::mouseClick(exec.CancelBtn, Qt::LeftButton);
        });
    }

    void execActions_data()
    {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("sent");
        QTest::newRow("2P made") << "青木"
                                 << "BitBtn2POK"
                                 << "0/255/255/青木";
        QTest::newRow("2P missed") << "青木"
                                   << "BitBtn2PNG"
                                   << "1/255/255/青木";
        QTest::newRow("3P made") << "青木"
                                 << "BitBtn3POK"
                                 << "2/255/255/青木";
        QTest::newRow("3P missed") << "青木"
                                   << "BitBtn3PNG"
                                   << "3/255/255/青木";
        QTest::newRow("FT made") << "青木"
                                 << "BitBtnFTOK"
                                 << "4/255/255/青木";
        QTest::newRow("FT missed") << "青木"
                                   << "BitBtnFTNG"
                                   << "5/255/255/青木";
        QTest::newRow("offensive rebound") << "青木"
                                           << "BitBtnOffRebound"
                                           << "7/255/255/青木";
        QTest::newRow("defensive rebound") << "青木"
                                           << "BitBtnDefRebound"
                                           << "8/255/255/青木";
        QTest::newRow("turnover") << "青木"
                                  << "BitBtnTurnOver"
                                  << "9/255/255/青木";
        QTest::newRow("assist") << "青木"
                                << "BitBtnAsist"
                                << "10/255/255/青木";
        QTest::newRow("steal") << "青木"
                               << "BitBtnSteal"
                               << "11/255/255/青木";
        QTest::newRow("block") << "青木"
                               << "BitBtnBlockShot"
                               << "12/255/255/青木";
        QTest::newRow("to the bench") << "青木"
                                      << "BitBtnToBenchi"
                                      << "14/255/255/青木";
        QTest::newRow("onto the court") << "石井"
                                        << "BitBtnToCoat"
                                        << "13/255/255/石井";
        QTest::newRow("off the official list") << "石井"
                                               << "BitBtnToMitouroku"
                                               << "15/255/255/石井";
    }
    void execActions()
    {
        QFETCH(QString, player);
        QFETCH(QString, button);
        QFETCH(QString, sent);
        Program program;
        Roster roster(program);
        MessageSpy spy(program.form(), sentRecords());
        bool closed = false;
        openPlayer(program, roster.byName(player), [&](TPlayerExec& exec) {
            QTest::mouseClick(exec.findChild<QPushButton*>(button), Qt::LeftButton);
            closed = exec.result() == platform::mrOk;
        });
        QCOMPARE(records(spy, kActionMessage), QStringList{sent});
        QVERIFY(closed);
        QVERIFY(IsKeyInputEnabled());
    }

    // The underlined character alone presses its button, as the form's accelerators do.
    void execKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("sent");
        QTest::newRow("2: 2P made") << int(Qt::Key_2) << "0/255/255/青木";
        QTest::newRow("1: FT made") << int(Qt::Key_1) << "4/255/255/青木";
        QTest::newRow("a: assist") << int(Qt::Key_A) << "10/255/255/青木";
        QTest::newRow("Enter does nothing here") << int(Qt::Key_Return) << "";
        QTest::newRow("x is no accelerator") << int(Qt::Key_X) << "";
    }
    void execKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, sent);
        Program program;
        Roster roster(program);
        MessageSpy spy(program.form(), sentRecords());
        openPlayer(program, roster.court, [&](TPlayerExec& exec) {
            exec.BitBtn2POK->setFocus();
            QTest::keyClick(exec.BitBtn2POK, Qt::Key(key));
            if (exec.result() == platform::mrNone)
                QTest::mouseClick(exec.CancelBtn, Qt::LeftButton);
        });
        QCOMPARE(records(spy, kActionMessage), sent.isEmpty() ? QStringList() : QStringList{sent});
    }

    void execTotals()
    {
        Program program;
        Roster roster(program);
        program.act(roster.court, kTwoPointMade);
        program.act(roster.court, kFreeThrowMade);
        program.setPeriod(2);
        program.act(roster.court, kThreePointMade);
        for (std::uint8_t code : {kAssist, kOffensiveRebound, kDefensiveRebound, kDefensiveRebound, kTurnover,
                                  kSteal, kBlockedShot, kBlockedShot})
            program.act(roster.court, code);
        program.act(roster.court, kFoul, kPersonalFoul, 0);
        openPlayer(program, roster.court, [&](TPlayerExec& exec) {
            QCOMPARE(exec.Label2->text(), QStringLiteral("4"));
            QCOMPARE(exec.Total3->text(), QStringLiteral("Point:  03(1Q) 00(2Q) 03(3Q) 00(4Q)"));
            QCOMPARE(exec.Total->text(), QStringLiteral("Total   06(P)  01(AS) 03(R) 01(F)"));
            QCOMPARE(exec.Total2->text(), QStringLiteral("        01(TO) 01(ST) 02(BS)"));
            QTest::mouseClick(exec.CancelBtn, Qt::LeftButton);
        });
    }

    void memberChange_data()
    {
        QTest::addColumn<QString>("player");
        QTest::addColumn<int>("how"); // 0 OK button, 1 Enter, 2 double click
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("from the bench, OK") << "石井" << 0 << QStringList{"青木(4)", "B(7)"}
                                            << QStringList{"13/255/255/石井", "14/255/255/青木"};
        QTest::newRow("from the court, Enter")
            << "青木" << 1 << QStringList{"石井(5)"} << QStringList{"14/255/255/青木", "13/255/255/石井"};
        QTest::newRow("double click") << "石井" << 2 << QStringList{"青木(4)", "B(7)"}
                                      << QStringList{"13/255/255/石井", "14/255/255/青木"};
    }
    void memberChange()
    {
        QFETCH(QString, player);
        QFETCH(int, how);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, sent);
        Program program;
        Roster roster(program);
        TPlayer* other = program.addPlayer(1, QStringLiteral("7"), QStringLiteral("B"));
        QCOMPARE(other->status, std::uint8_t(kOnCourt));
        MessageSpy spy(program.form(), sentRecords());
        openPlayer(program, roster.byName(player), [&](TPlayerExec& exec) {
            QTest::mouseClick(exec.BitBtnChange, Qt::LeftButton);
            QVERIFY(exec.BitBtn2POK->isHidden());
            QVERIFY(exec.BitBtnChange->isHidden());
            QCOMPARE(exec.BitBtnOK->text(), QStringLiteral("OK"));
            QCOMPARE(exec.BitBtnOK->geometry(), exec.BitBtnModify->geometry());
            QStringList lines;
            for (int i = 0; i < exec.ListBox1->count(); ++i)
                lines << exec.ListBox1->item(i)->text();
            QCOMPARE(lines, listed);
            QCOMPARE(exec.ListBox1->currentRow(), 0);
            if (how == 0) {
                QTest::mouseClick(exec.BitBtnOK, Qt::LeftButton);
            } else if (how == 1) {
                QTest::keyClick(exec.ListBox1, Qt::Key_Return);
            } else {
                const QRect line = exec.ListBox1->visualItemRect(exec.ListBox1->item(0));
                QTest::mouseClick(exec.ListBox1->viewport(), Qt::LeftButton, {}, line.center());
                QTest::mouseDClick(exec.ListBox1->viewport(), Qt::LeftButton, {}, line.center());
            }
        });
        QCOMPARE(records(spy, kActionMessage), sent);
        // Either way round, the two have changed places.
        QCOMPARE(roster.bench->status, std::uint8_t(kOnCourt));
        QCOMPARE(roster.court->status, std::uint8_t(kOnBench));
    }

    // With no one to change with, the list is empty and OK does nothing.
    void memberChangeWithNobody()
    {
        Program program;
        TPlayer* only = program.addPlayer(2, QStringLiteral("4"), QStringLiteral("一人"), true);
        MessageSpy spy(program.form(), sentRecords());
        bool stillOpen = false;
        openPlayer(program, only, [&](TPlayerExec& exec) {
            QTest::mouseClick(exec.BitBtnChange, Qt::LeftButton);
            QCOMPARE(exec.ListBox1->count(), 0);
            QTest::mouseClick(exec.BitBtnOK, Qt::LeftButton);
            QTest::keyClick(exec.ListBox1, Qt::Key_Return);
            stillOpen = exec.result() == platform::mrNone;
            QTest::mouseClick(exec.CancelBtn, Qt::LeftButton);
        });
        QVERIFY(stillOpen);
        QVERIFY(records(spy, kActionMessage).isEmpty());
    }

    void foulPanel_data()
    {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("throws");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("sent");
        const QStringList playerKinds{"ﾊﾟｰｿﾅﾙﾌｧｳﾙ(&P)", "ﾃｸﾆｶﾙﾌｧｳﾙ(&T)", "ｱﾝｽﾎﾟ-ﾂﾏﾝﾗｲｸ(&U)",
                                      "ﾃﾞｨｽｸｵﾘﾌｧｲﾝｸﾞ(&D)"};
        const QStringList coachKinds{"ｺｰﾁﾃｸﾆｶﾙ(&C)", "ｺｰﾁﾃｸﾆｶﾙ以外(&B)"};
        QTest::newRow("personal, as it opens") << "青木" << playerKinds << 0 << 0 << false << "6/0/0/青木";
        QTest::newRow("technical, 2 throws, Enter")
            << "青木" << playerKinds << 1 << 2 << true << "6/2/1/青木";
        QTest::newRow("disqualifying, 3 throws") << "青木" << playerKinds << 3 << 3 << false << "6/3/3/青木";
        QTest::newRow("coach technical") << "監督" << coachKinds << 0 << 1 << false << "6/1/4/監督";
        QTest::newRow("coach other, 2 throws") << "監督" << coachKinds << 1 << 2 << false << "6/2/5/監督";
    }
    void foulPanel()
    {
        QFETCH(QString, player);
        QFETCH(QStringList, kinds);
        QFETCH(int, kind);
        QFETCH(int, throws);
        QFETCH(bool, byEnter);
        QFETCH(QString, sent);
        Program program;
        Roster roster(program);
        MessageSpy spy(program.form(), sentRecords());
        openPlayer(program, roster.byName(player), [&](TPlayerExec& exec) {
            QTest::mouseClick(exec.BitBtnFoul, Qt::LeftButton);
            QCOMPARE(exec.BitBtnOK->text(), QStringLiteral("SET"));
            QVERIFY(exec.BitBtnFoul->isHidden());
            QCOMPARE(exec.RadioGroup1->Items(), kinds);
            QCOMPARE(exec.RadioGroup1->ItemIndex(), 0);
            QCOMPARE(exec.RadioGroup2->ItemIndex(), 0);
            clickRadioItem(exec.RadioGroup1, kind);
            clickRadioItem(exec.RadioGroup2, throws);
            if (byEnter)
                QTest::keyClick(exec.RadioGroup2->findChildren<QRadioButton*>()[throws], Qt::Key_Return);
            else
                QTest::mouseClick(exec.BitBtnOK, Qt::LeftButton);
        });
        QCOMPARE(records(spy, kActionMessage), QStringList{sent});
    }

    void courtPlayers_data()
    {
        QTest::addColumn<bool>("gameStart");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<bool>("starterBox");
        QTest::newRow("at the start: the starters") << true << QStringList{"A(4)", "C(10)"} << true;
        QTest::newRow("second period: who is on court")
            << false << QStringList{"A(4)", "B(9)", "E(12)"} << false;
    }
    void courtPlayers()
    {
        QFETCH(bool, gameStart);
        QFETCH(QStringList, ticked);
        QFETCH(bool, starterBox);
        Program program;
        TTeam& team = program.teamB();
        team.name = QStringLiteral("大阪");
        program.addPlayer(2, QStringLiteral("10"), QStringLiteral("C"), true);
        TPlayer* b = program.addPlayer(2, QStringLiteral("9"), QStringLiteral("B"));
        program.addPlayer(2, QStringLiteral("4"), QStringLiteral("A"), true);
        TPlayer* e = program.addPlayer(2, QStringLiteral("12"), QStringLiteral("E"));
        program.addPlayer(2, QStringLiteral("未設定"), QStringLiteral("番号なし"));
        TPlayer* off = program.addPlayer(2, QStringLiteral("3"), QStringLiteral("外"));
        program.act(off, kToBench);
        program.act(off, kRemoveFromOfficial);
        program.addPlayer(2, QString(), QStringLiteral("監督"), false, true, kHeadCoachText);
        if (!gameStart) {
            program.setPeriod(1);
            program.act(team.PlayerAt(0), kToBench); // C leaves
            QCOMPARE(b->status, std::uint8_t(kOnCourt));
            QCOMPARE(e->status, std::uint8_t(kOnCourt));
        }
        TTourokuMember shown(&team);
        expectCourtPlayers(program, [&](TTourokuMember& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("コートプレイヤーを一括設定します"));
            QCOMPARE(dialog.Label1->text(), QStringLiteral("大阪"));
            QStringList lines;
            QStringList checked;
            for (int i = 0; i < dialog.ItemCount(); ++i) {
                lines << dialog.CheckListBox1->item(i)->text();
                if (dialog.ItemChecked(i))
                    checked << dialog.CheckListBox1->item(i)->text();
                QCOMPARE(dialog.ItemPlayer(i)->name + QLatin1Char('(') + dialog.ItemPlayer(i)->number +
                             QLatin1Char(')'),
                         lines.last());
            }
            // By number, without the coach, the unnumbered, the one off the list and the add row.
            QCOMPARE(lines, (QStringList{"A(4)", "B(9)", "C(10)", "E(12)"}));
            QCOMPARE(checked, ticked);
            QCOMPARE(dialog.StarterChkBx->isChecked(), starterBox);
            QCOMPARE(dialog.Label2->text(), QStringLiteral("現在%1名です").arg(ticked.size()));
            // On-court lines carry the team colour, the others white.
            for (int i = 0; i < dialog.ItemCount(); ++i) {
                const QColor expected = dialog.ItemPlayer(i)->status == kOnCourt
                                            ? platform::toQColor(GetTeamColor(2))
                                            : QColor(Qt::white);
                QCOMPARE(dialog.CheckListBox1->item(i)->background().color(), expected);
            }
            QTest::mouseClick(dialog.OK, Qt::LeftButton);
        });
        QCOMPARE(platform::dialogs().showModal(shown), int(platform::mrOk));
    }

    void courtPlayersCount_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << "現在0名です";
        QTest::newRow("four") << 4 << "現在4名です";
        QTest::newRow("five") << 5 << "現在 Max人数の5名です";
        QTest::newRow("six") << 6 << "☆人数オーバーです☆　現在[6]人です";
        QTest::newRow("seven") << 7 << "☆人数オーバーです☆　現在[7]人です";
    }
    void courtPlayersCount()
    {
        QFETCH(int, ticks);
        QFETCH(QString, text);
        Program program;
        for (int i = 0; i < 8; ++i)
            program.addPlayer(1, QString::number(i + 4), QStringLiteral("P"));
        TTourokuMember shown(&program.teamA());
        // As the main window shows it: Space is the list's, not the clock's.
        const KeyInputOff keysOff;
        expectCourtPlayers(program, [&](TTourokuMember& dialog) {
            QListWidget* list = dialog.CheckListBox1;
            for (int i = 0; i < list->count(); ++i) {
                if (dialog.ItemChecked(i) != (i < ticks)) {
                    list->setCurrentRow(i);
                    QTest::keyClick(list, Qt::Key_Space);
                }
            }
            QCOMPARE(dialog.Label2->text(), text);
            // More than five is told, not refused.
            QTest::mouseClick(dialog.OK, Qt::LeftButton);
        });
        QCOMPARE(platform::dialogs().showModal(shown), int(platform::mrOk));
    }
};

QTEST_MAIN(tst_playerdialogs)
#include "tst_playerdialogs.moc"
