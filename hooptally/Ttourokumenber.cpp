#include "hooptally/Ttourokumenber.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/Tteam.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"

namespace hooptally {

using platform::named;

namespace {

constexpr int kCourtPlayers = 5;
constexpr int kFirstPeriod = 0;
const QString kNumberNotSet = QStringLiteral("未設定");

} // namespace

TTourokuMember::TTourokuMember(TTeam* team, QWidget* parent) : QDialog(parent), m_team(team)
{
    setObjectName(QStringLiteral("TourokuMember"));
    setWindowTitle(QStringLiteral("登録ﾒﾝﾊﾞｰ設定"));
    setFont(platform::defaultFormFont());
    setFixedSize(300, 400);
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(8, 8, 284, 300);
    Label1 = named(new QLabel(Panel1), "Label1");
    Label1->setGeometry(8, 6, 268, 18);
    Label1->setFont(platform::makeFont(QStringLiteral("ＭＳ Ｐゴシック"), 11, true));
    CheckListBox1 = named(new QListWidget(Panel1), "CheckListBox1");
    CheckListBox1->setGeometry(8, 28, 268, 264);
    Label2 = named(new QLabel(this), "Label2");
    Label2->setGeometry(8, 314, 284, 18);
    StarterChkBx = named(new QCheckBox(QStringLiteral("ｽﾀｰﾀｰとして登録する"), this), "StarterChkBx");
    StarterChkBx->setGeometry(8, 336, 200, 20);
    OK = named(new QPushButton(QStringLiteral("OK"), this), "OK");
    OK->setGeometry(128, 366, 75, 25);
    OK->setDefault(true);
    Cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "Cancel");
    Cancel->setGeometry(212, 366, 75, 25);
    connect(OK, &QPushButton::clicked, this, [this] { done(platform::mrOk); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
    connect(CheckListBox1, &QListWidget::itemChanged, this,
            [this](QListWidgetItem*) { CheckListBox1ClickCheck(); });
}

void TTourokuMember::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TTourokuMember::FormActivate()
{
    if (m_activated || !m_team)
        return;
    m_activated = true;
    setWindowTitle(QStringLiteral("コートプレイヤーを一括設定します"));
    Label1->setText(m_team->name);
    m_team->SortPlayers(SortMode::ByNumber);
    const ClockState clock = GetClockState();
    const int periodLength = Option() ? Option()->PeriodLength() : clock.minutes;
    const bool gameStart =
        clock.period == kFirstPeriod && clock.minutes == periodLength && clock.seconds == 0;
    const QColor courtColor = platform::toQColor(GetTeamColor(m_team->side));
    const QSignalBlocker quiet(CheckListBox1);
    CheckListBox1->clear();
    for (int i = 0; i < m_team->Count(); ++i) {
        TPlayer* player = m_team->PlayerAt(i);
        if (player->IsCoach() || player->number == kNumberNotSet || player->status == kBlankRow ||
            player->status == kNotListed)
            continue;
        auto* line = new QListWidgetItem(player->name + QLatin1Char('(') + player->number + QLatin1Char(')'),
                                         CheckListBox1);
        line->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(player)));
        line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool ticked = gameStart ? player->starter == 1 : player->status == kOnCourt;
        line->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        line->setBackground(player->status == kOnCourt ? courtColor : QColor(Qt::white));
    }
    StarterChkBx->setChecked(GetCurrentPeriod() == kFirstPeriod);
    CheckListBox1ClickCheck();
}

int TTourokuMember::ItemCount() const
{
    return CheckListBox1->count();
}

TPlayer* TTourokuMember::ItemPlayer(int index) const
{
    const QListWidgetItem* line = CheckListBox1->item(index);
    return line ? static_cast<TPlayer*>(line->data(Qt::UserRole).value<void*>()) : nullptr;
}

bool TTourokuMember::ItemChecked(int index) const
{
    const QListWidgetItem* line = CheckListBox1->item(index);
    return line && line->checkState() == Qt::Checked;
}

QString TTourokuMember::CountText(int ticked)
{
    if (ticked < kCourtPlayers)
        return QStringLiteral("現在%1名です").arg(ticked);
    if (ticked == kCourtPlayers)
        return QStringLiteral("現在 Max人数の5名です");
    return QStringLiteral("☆人数オーバーです☆　現在[%1]人です").arg(ticked);
}

void TTourokuMember::CheckListBox1ClickCheck()
{
    int ticked = 0;
    for (int i = 0; i < ItemCount(); ++i)
        ticked += ItemChecked(i) ? 1 : 0;
    Label2->setText(CountText(ticked));
}

} // namespace hooptally
