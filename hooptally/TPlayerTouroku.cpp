#include "hooptally/TPlayerTouroku.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "hooptally/Common.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tplayer.h"
#include "hooptally/Tteam.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"

namespace hooptally {

using platform::named;

namespace {

bool isCoachStatus(int status)
{
    return status == kHeadCoach || status == kAssistantCoach || status == kCoach;
}

} // namespace

TPlayerTouroku::TPlayerTouroku(TPlayer* player, QWidget* parent)
    : QDialog(parent), m_player(player), m_openingStatus(player ? player->status : std::uint8_t(kBlankRow))
{
    setObjectName(QStringLiteral("PlayerTouroku"));
    setWindowTitle(QStringLiteral("プレイヤー登録"));
    setFont(platform::defaultFormFont());
    setFixedSize(264, 212);

    auto labeledEdit = [this](const char* name, const QString& caption, int top, int width, QLabel*& label) {
        label = new QLabel(caption, this);
        label->setGeometry(16, top, 120, 14);
        auto* edit = named(new QLineEdit(this), name);
        edit->setGeometry(16, top + 16, width, 21);
        return edit;
    };
    LabeledEdit1 = labeledEdit("LabeledEdit1", QStringLiteral("背番号"), 8, 80, LabeledEdit1Label);
    LabeledEdit2 = labeledEdit("LabeledEdit2", QStringLiteral("名前"), 52, 160, LabeledEdit2Label);
    LabeledEdit3 = labeledEdit("LabeledEdit3", QStringLiteral("ポジション"), 96, 160, LabeledEdit3Label);
    Label1 = named(new QLabel(QStringLiteral("(必須)"), this), "Label1");
    Label1->setGeometry(102, 28, 60, 14);
    Label2 = named(new QLabel(QStringLiteral("(必須)"), this), "Label2");
    Label2->setGeometry(182, 72, 60, 14);
    CoachCombo = named(new QComboBox(this), "CoachCombo");
    CoachCombo->addItems({kHeadCoachText, kAssistantCoachText});
    CoachCombo->setGeometry(16, 112, 160, 21);
    CoachCombo->hide();
    CheckBox1 = named(new QCheckBox(QStringLiteral("ｽﾀｰﾀｰ(&S)"), this), "CheckBox1");
    CheckBox1->setGeometry(16, 142, 90, 20);
    CoachChk = named(new QCheckBox(QStringLiteral("ｺｰﾁ(&C)"), this), "CoachChk");
    CoachChk->setGeometry(112, 142, 90, 20);
    OKBtn = named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    OKBtn->setGeometry(16, 176, 72, 25);
    OKBtn->setDefault(true);
    CancelBtn = named(new QPushButton(QStringLiteral("キャンセル"), this), "CancelBtn");
    CancelBtn->setGeometry(96, 176, 72, 25);
    DeleteB = named(new QPushButton(QStringLiteral("削除"), this), "DeleteB");
    DeleteB->setGeometry(176, 176, 72, 25);

    connect(CoachChk, &QCheckBox::clicked, this, &TPlayerTouroku::CoachChkClick);
    connect(OKBtn, &QPushButton::clicked, this, &TPlayerTouroku::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
    connect(DeleteB, &QPushButton::clicked, this, &TPlayerTouroku::DeleteBClick);
}

void TPlayerTouroku::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TPlayerTouroku::FormActivate()
{
    if (m_activated || !m_player)
        return;
    m_activated = true;
    // The blank row is not a player yet: there is nothing to delete.
    DeleteB->setEnabled(m_openingStatus != kBlankRow);
    layoutByStatus();
    loadEdits();
}

void TPlayerTouroku::layoutByStatus()
{
    const int status = m_player->status;
    const bool coach = isCoachStatus(status);
    Label1->setVisible(!coach);
    Label2->setVisible(coach);
    for (QWidget* widget : {static_cast<QWidget*>(LabeledEdit1), static_cast<QWidget*>(LabeledEdit1Label),
                            static_cast<QWidget*>(LabeledEdit3), static_cast<QWidget*>(LabeledEdit3Label),
                            static_cast<QWidget*>(CheckBox1)})
        widget->setVisible(!coach);
    CoachChk->setChecked(coach);
    CoachChk->setVisible(status != kOnCourt && status != kOnBench);
    // A hidden starter box would still register a coach as a starter.
    if (status != kOnCourt && status != kOnBench)
        CheckBox1->setChecked(false);
    CoachCombo->setVisible(coach);
    if (coach)
        selectCoachKind();
}

void TPlayerTouroku::selectCoachKind()
{
    const QString& position = m_player->position;
    const bool fixed = position == kHeadCoachText || position == kAssistantCoachText;
    CoachCombo->setCurrentIndex(position == kAssistantCoachText ? 1 : 0);
    CoachCombo->setEnabled(!fixed);
}

// Only at the first activation: what the user typed outlives a click on the coach box.
void TPlayerTouroku::loadEdits()
{
    const int status = m_player->status;
    if (status == kBlankRow)
        return;
    LabeledEdit1->setText(m_player->number);
    LabeledEdit2->setText(m_player->name);
    LabeledEdit3->setText(m_player->position);
    CheckBox1->setChecked(m_player->starter == 1 && (status == kOnCourt || status == kOnBench));
}

void TPlayerTouroku::CoachChkClick()
{
    if (!m_player)
        return;
    if (CoachChk->isChecked())
        m_player->status = CoachCombo->currentIndex() != 0 ? kAssistantCoach : kHeadCoach;
    else
        m_player->status = m_openingStatus;
    layoutByStatus();
}

void TPlayerTouroku::OKBtnClick()
{
    if (!m_player)
        return;
    if (LabeledEdit1->text().isEmpty() && !isCoachStatus(m_player->status)) {
        platform::dialogs().messageBox(QStringLiteral("背番号は必須です"), kCaption, platform::Buttons::Ok);
        return;
    }
    for (const QLineEdit* edit : {LabeledEdit1, LabeledEdit2, LabeledEdit3}) {
        const QString problem = RecordTextProblem(edit->text());
        if (!problem.isEmpty()) {
            platform::dialogs().messageBox(problem, kCaption, platform::Buttons::Ok);
            return;
        }
    }
    if (CoachChk->isChecked())
        LabeledEdit3->setText(CoachCombo->currentText());
    const ClockState clock = GetClockState();
    auto registration = std::make_unique<PlayerRegistration>();
    registration->player = m_player;
    registration->number = LabeledEdit1->text();
    registration->name = LabeledEdit2->text();
    registration->position = LabeledEdit3->text();
    registration->coach = CoachChk->isChecked() ? 1 : 0;
    registration->starter = CheckBox1->isChecked() ? 1 : 0;
    registration->period = clock.period;
    registration->minutes = clock.minutes;
    registration->seconds = clock.seconds;
    if (GetMainWindowHandle())
        platform::SendMessage(GetMainWindowHandle(), kRegistrationMessage, 0, std::move(registration));
    done(platform::mrOk);
}

void TPlayerTouroku::DeleteBClick()
{
    if (!m_player || m_openingStatus == kBlankRow)
        return;
    if (platform::dialogs().messageBox(QStringLiteral("選手を削除します、よろしいですか？"), kCaption,
                                       platform::Buttons::YesNo) != platform::mrYes)
        return;
    const ClockState clock = GetClockState();
    auto action = std::make_unique<GameAction>();
    action->side = m_player->team ? m_player->team->side : 0;
    action->category = kPlayerAction;
    action->code = kDeletePlayer;
    action->player = m_player;
    action->period = static_cast<std::int8_t>(clock.period);
    action->minutes = clock.minutes;
    action->seconds = clock.seconds;
    // The record is destroyed while the action runs: nothing may touch it afterwards.
    m_player = nullptr;
    if (GetMainWindowHandle())
        platform::SendMessage(GetMainWindowHandle(), kActionMessage, 0, std::move(action));
    done(kDeleted);
}

void TPlayerTouroku::done(int result)
{
    if (result != platform::mrOk && result != kDeleted && m_player)
        m_player->status = m_openingStatus;
    QDialog::done(result);
}

} // namespace hooptally
