#include "hooptally/TPlayerExec.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"
#include "platform/RadioGroup.h"

namespace hooptally {

using platform::named;

namespace {

constexpr platform::TColor kSkyBlue = 0xF0CAA6;
constexpr int kButtonWidth = 112;
constexpr int kButtonHeight = 34;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left, int top,
                        int width = kButtonWidth)
{
    auto* button = named(new QPushButton(caption, parent), name);
    button->setGeometry(left, top, width, kButtonHeight);
    // Enter belongs to the form (FormKeyDown), never to the focused button.
    button->setAutoDefault(false);
    return button;
}

bool statSwitch(int code)
{
    return !Option() || Option()->StatSwitch(code);
}

// The character after a single '&' of a caption, upper-cased; none when it has no mnemonic.
QChar mnemonicOf(const QString& caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

} // namespace

TPlayerExec::TPlayerExec(TPlayer* player, QWidget* parent) : QDialog(parent), m_player(player)
{
    setObjectName(QStringLiteral("PlayerExec"));
    setWindowTitle(QStringLiteral("Play登録"));
    setFont(platform::defaultFormFont());
    QPalette sky = palette();
    sky.setColor(QPalette::Window, platform::toQColor(kSkyBlue));
    setPalette(sky);
    setAutoFillBackground(true);
    buildControls();
}

void TPlayerExec::buildControls()
{
    setFixedSize(456, 336);
    const QFont big = platform::makeFont(QStringLiteral("ＭＳ Ｐゴシック"), 14, true);
    auto label = [this](const char* name, const QString& text, int left, int top, int width) {
        auto* made = named(new QLabel(text, this), name);
        made->setGeometry(left, top, width, 24);
        return made;
    };
    label("Label1", QStringLiteral("背番号"), 12, 8, 44);
    Label2 = label("Label2", QString(), 58, 8, 60);
    label("Label3", QStringLiteral("名前"), 124, 8, 36);
    Label4 = label("Label4", QString(), 162, 8, 282);
    Label2->setFont(big);
    Label4->setFont(big);

    const int columns[] = {12, 128, 244};
    const int rows[] = {44, 82, 120, 158};
    constexpr int kRightColumn = 360;
    constexpr int kRightWidth = 84;
    BitBtn2POK = makeButton(this, "BitBtn2POK", QStringLiteral("２点ｼｭｰﾄ成功(&2)"), columns[0], rows[0]);
    BitBtn3POK = makeButton(this, "BitBtn3POK", QStringLiteral("３点ｼｭｰﾄ成功(&3)"), columns[1], rows[0]);
    BitBtnFTOK = makeButton(this, "BitBtnFTOK", QStringLiteral("ﾌﾘｰｽﾛｰ成功(&1)"), columns[2], rows[0]);
    BitBtn2PNG = makeButton(this, "BitBtn2PNG", QStringLiteral("２点ｼｭｰﾄ失敗(&4)"), columns[0], rows[1]);
    BitBtn3PNG = makeButton(this, "BitBtn3PNG", QStringLiteral("３点ｼｭｰﾄ失敗(&5)"), columns[1], rows[1]);
    BitBtnFTNG = makeButton(this, "BitBtnFTNG", QStringLiteral("ﾌﾘｰｽﾛｰ失敗(&6)"), columns[2], rows[1]);
    BitBtnOffRebound =
        makeButton(this, "BitBtnOffRebound", QStringLiteral("Off.ﾘﾊﾞｳﾝﾄﾞ(&O)"), columns[0], rows[2]);
    BitBtnDefRebound =
        makeButton(this, "BitBtnDefRebound", QStringLiteral("Def．ﾘﾊﾞｳﾝﾄﾞ(&D)"), columns[1], rows[2]);
    BitBtnTurnOver = makeButton(this, "BitBtnTurnOver", QStringLiteral("ﾀｰﾝｵｰﾊﾞｰ(&T)"), columns[2], rows[2]);
    BitBtnAsist = makeButton(this, "BitBtnAsist", QStringLiteral("ｱｼｽﾄ(&A)"), columns[0], rows[3]);
    BitBtnSteal = makeButton(this, "BitBtnSteal", QStringLiteral("スチール(&S)"), columns[1], rows[3]);
    BitBtnBlockShot =
        makeButton(this, "BitBtnBlockShot", QStringLiteral("ﾌﾞﾛｯｸｼｮｯﾄ(&B)"), columns[2], rows[3]);
    BitBtnFoul =
        makeButton(this, "BitBtnFoul", QStringLiteral("ﾌｧｳﾙ(&F)"), kRightColumn, rows[0], kRightWidth);
    BitBtnChange =
        makeButton(this, "BitBtnChange", QStringLiteral("ﾒﾝﾊﾞｰﾁｪﾝｼﾞ"), kRightColumn, rows[1], kRightWidth);
    BitBtnModify =
        makeButton(this, "BitBtnModify", QStringLiteral("選手の修正"), kRightColumn, rows[2], kRightWidth);
    constexpr int kMoveRow = 202;
    BitBtnToBenchi = makeButton(this, "BitBtnToBenchi", QStringLiteral("ﾍﾞﾝﾁへ"), columns[0], kMoveRow);
    BitBtnToCoat = makeButton(this, "BitBtnToCoat", QStringLiteral("ｺｰﾄへ"), columns[1], kMoveRow);
    BitBtnToMitouroku =
        makeButton(this, "BitBtnToMitouroku", QStringLiteral("ｵﾌｨｼｬﾙから削除"), columns[2], kMoveRow);

    // Indexed by action code: 2P made 0, 2P missed 1, 3P made 2, 3P missed 3, FT made 4, FT missed 5,
    // foul 6, offensive rebound 7, defensive rebound 8, turnover 9, assist 10, steal 11, block 12.
    m_statButtons = {BitBtn2POK,  BitBtn2PNG,  BitBtn3POK,       BitBtn3PNG,       BitBtnFTOK,
                     BitBtnFTNG,  BitBtnFoul,  BitBtnOffRebound, BitBtnDefRebound, BitBtnTurnOver,
                     BitBtnAsist, BitBtnSteal, BitBtnBlockShot};
    m_actionButtons = m_statButtons;
    m_actionButtons.insert(m_actionButtons.end(),
                           {BitBtnChange, BitBtnModify, BitBtnToBenchi, BitBtnToCoat, BitBtnToMitouroku});

    const QFont fixed = platform::makeFont(QStringLiteral("ＭＳ ゴシック"), 10);
    Total3 = label("Total3", QString(), 12, 246, 340);
    Total = label("Total", QString(), 12, 266, 340);
    Total2 = label("Total2", QString(), 12, 286, 340);
    for (QLabel* total : {Total3, Total, Total2})
        total->setFont(fixed);
    CancelBtn = makeButton(this, "CancelBtn", QStringLiteral("Close"), kRightColumn, 290, kRightWidth);

    // The member-change list lies over the statistic buttons.
    ListBox1 = named(new QListWidget(this), "ListBox1");
    const QRect first = BitBtn2POK->geometry();
    ListBox1->setGeometry(first.left(), first.top(), BitBtnFTOK->geometry().right() + 1 - first.left() + 4,
                          BitBtnAsist->geometry().top() - first.top() + BitBtnBlockShot->height());
    ListBox1->hide();
    BitBtnOK = makeButton(this, "BitBtnOK", QString(), 0, 0);
    BitBtnOK->setGeometry(BitBtnModify->geometry());
    BitBtnOK->hide();
    RadioGroup1 = named(new platform::RadioGroup(QStringLiteral("ﾌｧｰﾙ"), this), "RadioGroup1");
    RadioGroup1->setGeometry(first.left(), first.top(), 170, 150);
    RadioGroup1->hide();
    RadioGroup2 = named(new platform::RadioGroup(QStringLiteral("ﾌﾘｰｽﾛｰ"), this), "RadioGroup2");
    RadioGroup2->setGeometry(first.left() + 178, first.top(), 170, 150);
    RadioGroup2->SetItems({QStringLiteral("ﾌﾘｰｽﾛｰなし(&0)"), QStringLiteral("ﾌﾘｰｽﾛｰ１投(&1)"),
                           QStringLiteral("ﾌﾘｰｽﾛｰ２投(&2)"), QStringLiteral("ﾌﾘｰｽﾛｰ３投(&3)")});
    RadioGroup2->hide();

    const std::uint8_t directCodes[] = {
        kTwoPointMade,    kTwoPointMissed,   kThreePointMade,   kThreePointMissed, kFreeThrowMade,
        kFreeThrowMissed, kOffensiveRebound, kDefensiveRebound, kTurnover,         kAssist,
        kSteal,           kBlockedShot};
    for (const std::uint8_t code : directCodes)
        connect(m_statButtons[code], &QPushButton::clicked, this, [this, code] { sendAndClose(code); });
    connect(BitBtnToBenchi, &QPushButton::clicked, this, [this] { sendAndClose(kToBench); });
    connect(BitBtnToCoat, &QPushButton::clicked, this, [this] { sendAndClose(kCourtIn); });
    connect(BitBtnToMitouroku, &QPushButton::clicked, this, [this] { sendAndClose(kRemoveFromOfficial); });
    connect(BitBtnFoul, &QPushButton::clicked, this, &TPlayerExec::BitBtnFoulClick);
    connect(BitBtnChange, &QPushButton::clicked, this, &TPlayerExec::BitBtnChangeClick);
    connect(BitBtnModify, &QPushButton::clicked, this, &TPlayerExec::BitBtnModifyClick);
    connect(BitBtnOK, &QPushButton::clicked, this, &TPlayerExec::BitBtnOKClick);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { BitBtnOKClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
}

void TPlayerExec::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TPlayerExec::FormActivate()
{
    if (m_activated || !m_player)
        return;
    m_activated = true;
    Label2->setText(m_player->number);
    Label4->setText(m_player->name);
    const QStringList totals = TotalsTexts(*m_player);
    Total3->setText(totals[0]);
    Total->setText(totals[1]);
    Total2->setText(totals[2]);
    enableByStatus();
}

QStringList TPlayerExec::TotalsTexts(const TPlayer& player)
{
    auto game = [&player](int type) { return player.StatValue(-1, static_cast<std::uint8_t>(type), true); };
    auto period = [&player](int p) { return player.StatValue(p, kPointsStat, true); };
    return {platform::Format("Point:  %02d(1Q) %02d(2Q) %02d(3Q) %02d(4Q)", period(0), period(1), period(2),
                             period(3)),
            platform::Format("Total   %02d(P)  %02d(AS) %02d(R) %02d(F)", game(kPointsStat), game(kAssist),
                             game(kOffensiveRebound) + game(kDefensiveRebound), game(kFoul)),
            platform::Format("        %02d(TO) %02d(ST) %02d(BS)", game(kTurnover), game(kSteal),
                             game(kBlockedShot))};
}

void TPlayerExec::enableByStatus()
{
    const int status = m_player->status;
    for (QPushButton* button : m_actionButtons)
        button->setEnabled(false);
    BitBtnModify->setEnabled(true);
    const bool coach = m_player->IsCoach();
    BitBtnToMitouroku->setVisible(!coach && (status == kOnCourt || status == kOnBench));
    if (coach) {
        const bool miniBasket = Option() && Option()->MiniBasket();
        BitBtnFoul->setEnabled(statSwitch(kFoul) && (!miniBasket || status == kHeadCoach));
    } else if (status == kOnCourt) {
        for (int code = 0; code < static_cast<int>(m_statButtons.size()); ++code)
            m_statButtons[code]->setEnabled(statSwitch(code));
        BitBtnToBenchi->setEnabled(true);
        BitBtnChange->setEnabled(true);
        BitBtnToMitouroku->setEnabled(true);
    } else if (status == kOnBench) {
        BitBtnToCoat->setEnabled(true);
        BitBtnChange->setEnabled(true);
        BitBtnToMitouroku->setEnabled(true);
    } else {
        BitBtnToBenchi->setEnabled(true);
        BitBtnToCoat->setEnabled(true);
    }
}

void TPlayerExec::sendAndClose(std::uint8_t code)
{
    if (m_player)
        PostGameAction(kPlayerAction, code, m_player, kNone, kNone, kNone);
    done(platform::mrOk);
}

void TPlayerExec::BitBtnModifyClick()
{
    sendAndClose(kEditPlayer);
}

void TPlayerExec::hideActionButtons()
{
    for (QPushButton* button : m_actionButtons)
        button->hide();
    BitBtnOK->show();
}

void TPlayerExec::BitBtnChangeClick()
{
    if (!m_player)
        return;
    hideActionButtons();
    BitBtnOK->setText(QStringLiteral("OK"));
    ListBox1->clear();
    const std::uint8_t wanted = m_player->status == kOnBench ? kOnCourt : kOnBench;
    const TTeam* team = m_player->team;
    for (int i = 0; team && i < team->Count(); ++i) {
        TPlayer* candidate = team->PlayerAt(i);
        if (candidate->status != wanted)
            continue;
        auto* line = new QListWidgetItem(
            candidate->name + QLatin1Char('(') + candidate->number + QLatin1Char(')'), ListBox1);
        line->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(candidate)));
    }
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
    ListBox1->show();
    ListBox1->setFocus();
    m_panel = Panel::MemberChange;
}

void TPlayerExec::BitBtnFoulClick()
{
    if (!m_player)
        return;
    hideActionButtons();
    BitBtnOK->setText(QStringLiteral("SET"));
    if (m_player->IsCoach())
        RadioGroup1->SetItems({QStringLiteral("ｺｰﾁﾃｸﾆｶﾙ(&C)"), QStringLiteral("ｺｰﾁﾃｸﾆｶﾙ以外(&B)")});
    else
        RadioGroup1->SetItems({QStringLiteral("ﾊﾟｰｿﾅﾙﾌｧｳﾙ(&P)"), QStringLiteral("ﾃｸﾆｶﾙﾌｧｳﾙ(&T)"),
                               QStringLiteral("ｱﾝｽﾎﾟ-ﾂﾏﾝﾗｲｸ(&U)"), QStringLiteral("ﾃﾞｨｽｸｵﾘﾌｧｲﾝｸﾞ(&D)")});
    RadioGroup1->SetItemIndex(0);
    RadioGroup2->SetItemIndex(0);
    RadioGroup1->show();
    RadioGroup2->show();
    m_panel = Panel::Foul;
}

void TPlayerExec::BitBtnOKClick()
{
    if (m_panel == Panel::Foul)
        sendFoul();
    else if (m_panel == Panel::MemberChange)
        changeMembers();
}

void TPlayerExec::sendFoul()
{
    const ClockState clock = GetClockState();
    auto action = std::make_unique<GameAction>();
    action->side = m_player->team ? m_player->team->side : 0;
    action->category = kPlayerAction;
    action->code = kFoul;
    action->player = m_player;
    action->period = static_cast<std::int8_t>(GetCurrentPeriod());
    action->minutes = clock.minutes;
    action->seconds = clock.seconds;
    const int kind = std::max(0, RadioGroup1->ItemIndex());
    if (m_player->IsCoach())
        action->foulKind = kind == 1 ? kBenchFoul : kCoachTechnicalFoul;
    else
        action->foulKind = static_cast<std::uint8_t>(kind);
    action->freeThrows = static_cast<std::uint8_t>(std::max(0, RadioGroup2->ItemIndex()));
    if (GetMainWindowHandle())
        platform::SendMessage(GetMainWindowHandle(), kActionMessage, 0, std::move(action));
    done(platform::mrOk);
}

void TPlayerExec::changeMembers()
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (selected.isEmpty())
        return;
    auto* chosen = static_cast<TPlayer*>(selected.first()->data(Qt::UserRole).value<void*>());
    PostGameAction(kPlayerAction, m_player->status == kOnBench ? kCourtIn : kToBench, m_player, kNone, kNone,
                   kNone);
    // The chosen player takes the place the dialog's player has just left or taken.
    PostGameAction(kPlayerAction, m_player->status == kOnBench ? kCourtIn : kToBench, chosen, kNone, kNone,
                   kNone);
    done(platform::mrOk);
}

bool TPlayerExec::pressMnemonic(const QString& text)
{
    if (text.size() != 1 || !text[0].isPrint())
        return false;
    const QChar key = text[0].toUpper();
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(this) && button->isEnabled() && mnemonicOf(button->text()) == key) {
            button->click();
            return true;
        }
    }
    return false;
}

void TPlayerExec::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        BitBtnOKClick();
        return;
    }
    // As the form's accelerators work: the underlined character alone presses its button.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && pressMnemonic(event->text()))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace hooptally
