#include "hooptally/TPlayinModify.h"

#include <algorithm>
#include <iterator>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "hooptally/Common.h"
#include "hooptally/Tteam.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"
#include "platform/RadioGroup.h"

namespace hooptally {

using platform::named;

namespace {

const QStringList kPlayerFouls = {QStringLiteral("ﾊﾟｰｿﾅﾙﾌｧｳﾙ"), QStringLiteral("ﾃｸﾆｶﾙﾌｧｳﾙ"),
                                  QStringLiteral("ｱﾝｽﾎﾟ-ﾂﾏﾝﾗｲｸ"), QStringLiteral("ﾃﾞｨｽｸｵﾘﾌｧｲﾝｸﾞ")};
const QStringList kCoachFouls = {QStringLiteral("ｺｰﾁﾃｸﾆｶﾙ"), QStringLiteral("ｺｰﾁﾃｸﾆｶﾙ以外")};
// Indexes of the play-kind table.
constexpr int kFoulKind = 6;
constexpr int kTimeoutKind = 15;
constexpr int kPeriodEndKind = 16;
constexpr int kGameEndKind = 17;
// Choices of the range form's operation group.
constexpr int kMoveToPeriod = 0;
constexpr int kRespace = 1;

QString twoDigits(int value)
{
    return platform::Format("%02d", value);
}

// The period choices are the game's six periods; no period (-1) shows no choice and is kept.
int itemOfPeriod(int period)
{
    return period >= 0 && period < kMaxPeriods ? period : -1;
}

std::int8_t periodOfItem(int item)
{
    return static_cast<std::int8_t>(item >= 0 && item < kMaxPeriods ? item : -1);
}

} // namespace

TPlayinModify::TPlayinModify(int mode, const PlayLogEntry* entry, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_range(false), m_entry(std::make_unique<PlayLogEntry>()),
      m_hasEntry(entry != nullptr)
{
    if (entry)
        AssignLogEntry(*m_entry, *entry);
    buildControls();
}

TPlayinModify::TPlayinModify(int mode, int first, int last, const PlayLogEntries* entries, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_range(true), m_entries(entries), m_first(first), m_last(last)
{
    buildControls();
}

TPlayinModify::~TPlayinModify() = default;

void TPlayinModify::buildControls()
{
    setObjectName(QStringLiteral("PlayinModify"));
    setFont(platform::defaultFormFont());
    setFixedSize(263, 449);

    QuatorCombo = named(new QComboBox(this), "QuatorCombo");
    QuatorCombo->addItems({QStringLiteral("１ｓｔ．"), QStringLiteral("２nd．"), QStringLiteral("３rd．"),
                           QStringLiteral("４ｔｈ．"), QStringLiteral("ＯＴ１st."),
                           QStringLiteral("OT２nd.")});
    QuatorCombo->setGeometry(8, 8, 100, 22);
    auto makeEdit = [this](const char* name, int x) {
        auto* edit = named(new QLineEdit(this), name);
        edit->setGeometry(x, 8, 28, 22);
        return edit;
    };
    auto colon = [this](int x) {
        auto* label = new QLabel(QStringLiteral(":"), this);
        label->setGeometry(x, 11, 8, 16);
        return label;
    };
    Edit3 = makeEdit("Edit3", 8);
    Colon2 = colon(38);
    Edit4 = makeEdit("Edit4", 46);
    Label4 = new QLabel(QStringLiteral("～"), this);
    Label4->setGeometry(80, 11, 16, 16);
    Edit1 = makeEdit("Edit1", 116);
    Colon1 = colon(146);
    Edit2 = makeEdit("Edit2", 154);
    showRespaceFields(false);

    RadioGroup1 = named(new platform::RadioGroup(QStringLiteral("ﾁｰﾑ選択"), this), "RadioGroup1");
    RadioGroup1->setGeometry(8, 38, 247, 64);
    Label2 = new QLabel(QStringLiteral("選手"), this);
    Label2->setGeometry(8, 106, 60, 16);
    ListBox1 = named(new QListWidget(this), "ListBox1");
    ListBox1->setGeometry(8, 122, 247, 110);
    ComboBox1 = named(new QComboBox(this), "ComboBox1");
    ComboBox1->setGeometry(8, 238, 247, 22);
    for (const PlayKind& kind : PlayKindTable)
        ComboBox1->addItem(kind.name);
    RadioGroup2 = named(new platform::RadioGroup(QStringLiteral("ﾌｧｰﾙ"), this), "RadioGroup2");
    RadioGroup2->setGeometry(8, 268, 122, 116);
    RadioGroup2->SetItems(kPlayerFouls);
    RadioGroup3 = named(new platform::RadioGroup(QStringLiteral("ﾌﾘｰｽﾛｰ"), this), "RadioGroup3");
    RadioGroup3->setGeometry(134, 268, 121, 116);
    RadioGroup3->SetItems({QStringLiteral("ﾌﾘｰｽﾛｰなし"), QStringLiteral("ﾌﾘｰｽﾛｰ１投"),
                           QStringLiteral("ﾌﾘｰｽﾛｰ２投"), QStringLiteral("ﾌﾘｰｽﾛｰ３投")});
    OKBtn = named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    OKBtn->setGeometry(92, 416, 75, 25);
    OKBtn->setDefault(true);
    CancelBtn = named(new QPushButton(QStringLiteral("キャンセル"), this), "CancelBtn");
    CancelBtn->setGeometry(176, 416, 75, 25);

    connect(OKBtn, &QPushButton::clicked, this, [this] { done(platform::mrOk); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
    connect(ComboBox1, &QComboBox::activated, this, [this](int) { ComboBox1Click(); });
    connect(ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { ListBox1Click(); });
    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
}

void TPlayinModify::showRespaceFields(bool shown)
{
    for (QWidget* widget : {static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Edit4),
                            static_cast<QWidget*>(Colon2), static_cast<QWidget*>(Label4)})
        widget->setVisible(shown);
}

void TPlayinModify::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

QString TPlayinModify::modeCaption() const
{
    static const QStringList captions = {QStringLiteral("修正"), QStringLiteral("削除"),
                                         QStringLiteral("挿入"), QStringLiteral("追加")};
    return captions.value(m_mode);
}

// The range form has no play kind to build an entry from: it inserts and appends nothing.
bool TPlayinModify::refusesEntries() const
{
    return m_range && (m_mode == kInsertEntry || m_mode == kAppendEntry);
}

void TPlayinModify::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    m_teamA = GetTeam(kSideA);
    m_teamB = GetTeam(kSideB);
    if (m_range)
        activateRange();
    else
        activateSingle();
    OKBtn->setText(modeCaption());
    OKBtn->setEnabled(!refusesEntries());
    setWindowTitle(modeCaption());
    OKBtn->setFocus();
}

void TPlayinModify::activateSingle()
{
    Edit1->clear();
    Edit2->clear();
    if (m_hasEntry) {
        const GameAction& action = m_entry->action;
        ComboBox1->setCurrentIndex(FindPlayKind(action.category, action.code, action.command));
        QuatorCombo->setCurrentIndex(itemOfPeriod(action.period));
        Edit1->setText(twoDigits(action.minutes));
        Edit2->setText(twoDigits(action.seconds));
        // A coach has fouls only.
        ComboBox1->setEnabled(!(action.player && action.player->IsCoach()));
    } else {
        const ClockState clock = GetClockState();
        QuatorCombo->setCurrentIndex(itemOfPeriod(clock.period));
        Edit1->setText(twoDigits(clock.minutes));
        Edit2->setText(twoDigits(clock.seconds));
        ComboBox1->setCurrentIndex(0);
        m_entry->action.side = kSideA;
    }
    ComboBox1Click();
    showEntry();
}

void TPlayinModify::showEntry()
{
    RadioGroup2->hide();
    RadioGroup3->hide();
    const GameAction& action = m_entry->action;
    // The foul choices show whenever the kind is a foul, also when it was just changed to one.
    if (ComboBox1->currentIndex() == kFoulKind) {
        RadioGroup2->show();
        RadioGroup3->show();
    }
    if (action.category == kPlayerAction && action.code == kFoul) {
        static const int itemOfKind[] = {0, 1, 2, 3, 0, 1};
        if (action.foulKind < std::size(itemOfKind))
            RadioGroup2->SetItemIndex(itemOfKind[action.foulKind]);
        if (action.freeThrows < static_cast<std::uint8_t>(RadioGroup3->Items().size()))
            RadioGroup3->SetItemIndex(action.freeThrows);
    }
    RadioGroup1->setTitle(QStringLiteral("ﾁｰﾑ選択"));
    RadioGroup1->SetItems({m_teamA ? m_teamA->name : QString(), m_teamB ? m_teamB->name : QString()});
    const TPlayer* player = action.player;
    if (player)
        RadioGroup1->SetItemIndex(player->team == m_teamA ? 0 : 1);
    else
        RadioGroup1->SetItemIndex(action.side == kSideA ? 0 : 1);
    fillPlayers(chosenTeam(), player);
}

void TPlayinModify::fillPlayers(TTeam* team, const TPlayer* select)
{
    ListBox1->clear();
    if (!team)
        return;
    for (int i = 0; i < team->Count(); ++i) {
        TPlayer* player = team->PlayerAt(i);
        if (player->status == kBlankRow)
            continue;
        auto* item = new QListWidgetItem(player->name + QLatin1Char('(') + player->number + QLatin1Char(')'),
                                         ListBox1);
        item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(player)));
        if (player == select)
            ListBox1->setCurrentItem(item);
    }
    if (!ListBox1->currentItem() && ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
}

TTeam* TPlayinModify::chosenTeam() const
{
    return RadioGroup1->ItemIndex() == 1 ? m_teamB : m_teamA;
}

TPlayer* TPlayinModify::chosenPlayer() const
{
    const QListWidgetItem* item = ListBox1->currentItem();
    return item ? static_cast<TPlayer*>(item->data(Qt::UserRole).value<void*>()) : nullptr;
}

void TPlayinModify::ComboBox1Click()
{
    const int kind = ComboBox1->currentIndex();
    if (kind == kGameEndKind || kind < 0)
        return; // the controls stay as they are
    if (kind == kFoulKind) {
        const TPlayer* player = m_entry ? m_entry->action.player : nullptr;
        RadioGroup2->SetItems(player && player->IsCoach() ? kCoachFouls : kPlayerFouls);
        RadioGroup2->SetItemIndex(0);
        RadioGroup3->SetItemIndex(0);
        RadioGroup2->setEnabled(true);
        RadioGroup3->setEnabled(true);
        // A foul is a player action: the player stays to be chosen.
        RadioGroup2->show();
        RadioGroup3->show();
        RadioGroup1->setEnabled(true);
        ListBox1->show();
        Label2->show();
        return;
    }
    const bool playerAction = kind < kTimeoutKind;
    RadioGroup2->SetItemIndex(-1);
    RadioGroup3->SetItemIndex(-1);
    RadioGroup2->setEnabled(false);
    RadioGroup3->setEnabled(false);
    // Shown for a foul only: a kind changed away from a foul hides them again.
    RadioGroup2->hide();
    RadioGroup3->hide();
    RadioGroup1->setEnabled(kind != kPeriodEndKind);
    ListBox1->setVisible(playerAction);
    Label2->setVisible(playerAction);
}

void TPlayinModify::ListBox1Click()
{
    if (m_range)
        return;
    TPlayer* player = chosenPlayer();
    m_entry->action.player = player;
    if (player && player->IsCoach()) {
        ComboBox1->setCurrentIndex(kFoulKind);
        ComboBox1->setEnabled(false);
    } else {
        ComboBox1->setEnabled(true);
    }
    ComboBox1Click();
    showEntry();
}

void TPlayinModify::activateRange()
{
    const int count = m_entries ? static_cast<int>(m_entries->size()) : 0;
    const PlayLogEntry* first = m_first >= 0 && m_first < count ? (*m_entries)[m_first].get() : nullptr;
    if (first) {
        QuatorCombo->setCurrentIndex(itemOfPeriod(first->action.period));
        Edit1->setText(twoDigits(first->action.minutes));
        Edit2->setText(twoDigits(first->action.seconds));
    }
    if (m_mode == kDeleteEntry) {
        RadioGroup1->setTitle(QStringLiteral("削除"));
        RadioGroup1->SetItems({QStringLiteral("選択された行を削除する")});
    } else {
        RadioGroup1->setTitle(QStringLiteral("動作"));
        // One point smaller; the form's fonts are sized in pixels at 96 dpi.
        QFont smaller = RadioGroup1->font();
        const int points = (QFontInfo(smaller).pixelSize() * 72 + 48) / 96;
        smaller.setPixelSize(platform::pointsToPixels(std::max(1, points - 1)));
        RadioGroup1->setFont(smaller);
        RadioGroup1->SetItems({QStringLiteral("選択されたピリオドに全て変更する"),
                               QStringLiteral("選択されたタイマーを滑らかにする")});
    }
    RadioGroup1->SetItemIndex(kMoveToPeriod);
    RadioGroup1Click();
}

void TPlayinModify::RadioGroup1Click()
{
    if (!m_range) {
        QuatorCombo->show();
        showRespaceFields(false);
        fillPlayers(chosenTeam(), nullptr);
        return;
    }
    for (QWidget* widget : {static_cast<QWidget*>(ListBox1), static_cast<QWidget*>(ComboBox1),
                            static_cast<QWidget*>(RadioGroup2), static_cast<QWidget*>(RadioGroup3)})
        widget->setEnabled(false);
    const bool respace = m_mode != kDeleteEntry && RadioGroup1->ItemIndex() == kRespace;
    QuatorCombo->setVisible(!respace);
    QuatorCombo->setEnabled(!respace);
    Edit1->setReadOnly(!respace);
    Edit1->setEnabled(respace);
    Edit2->setEnabled(respace);
    showRespaceFields(respace);
    const int count = m_entries ? static_cast<int>(m_entries->size()) : 0;
    if (!respace || m_first < 0 || m_last >= count || m_first > m_last)
        return;
    const GameAction& start = (*m_entries)[m_first]->action;
    const GameAction& end = (*m_entries)[m_last]->action;
    Edit3->setText(twoDigits(start.minutes));
    Edit4->setText(twoDigits(start.seconds));
    Edit1->setText(twoDigits(end.minutes));
    Edit2->setText(twoDigits(end.seconds));
}

std::unique_ptr<PlayLogEntry> TPlayinModify::BuildLogEntry(int index, int seconds) const
{
    if (m_range) {
        if (refusesEntries() || !m_entries || index < 0 || index >= static_cast<int>(m_entries->size()))
            return nullptr;
        auto entry = std::make_unique<PlayLogEntry>();
        AssignLogEntry(*entry, *(*m_entries)[index]);
        if (RadioGroup1->ItemIndex() == kMoveToPeriod) {
            entry->action.period = periodOfItem(QuatorCombo->currentIndex());
        } else {
            entry->action.minutes = seconds / 60;
            entry->action.seconds = seconds % 60;
        }
        return entry;
    }
    const int kind = ComboBox1->currentIndex();
    if (index != -1 || kind < 0 || kind >= static_cast<int>(PlayKindTable.size()))
        return nullptr;
    auto entry = std::make_unique<PlayLogEntry>();
    GameAction& action = entry->action;
    GetPlayKind(kind, action.category, action.code, action.command);
    action.period = periodOfItem(QuatorCombo->currentIndex());
    action.minutes = platform::StrToIntDef(Edit1->text(), 0);
    action.seconds = platform::StrToIntDef(Edit2->text(), 0);
    if (action.category == kPlayerAction) {
        TPlayer* player = chosenPlayer();
        if (!player)
            return nullptr;
        entry->teamName = RadioGroup1->ItemText(RadioGroup1->ItemIndex());
        entry->playerName = player->name;
        entry->number = player->number;
        action.player = player;
        action.side = player->team ? player->team->side : 0;
        if (action.code == kFoul) {
            const int item = std::max(0, RadioGroup2->ItemIndex());
            if (player->IsCoach())
                action.foulKind = item == 1 ? kBenchFoul : kCoachTechnicalFoul;
            else
                action.foulKind = static_cast<std::uint8_t>(item);
            action.freeThrows = static_cast<std::uint8_t>(std::max(0, RadioGroup3->ItemIndex()));
        }
    } else if (kind == kTimeoutKind) {
        entry->teamName = RadioGroup1->ItemText(RadioGroup1->ItemIndex());
        action.side = RadioGroup1->ItemIndex() + 1;
    }
    return entry;
}

void TPlayinModify::done(int result)
{
    if (result == platform::mrOk && refusesEntries())
        return;
    if (result == platform::mrOk && m_mode == kDeleteEntry &&
        platform::dialogs().messageBox(QStringLiteral("削除しますよろしいですか？\n(元に戻す事ができません)"),
                                       kCaption, platform::Buttons::YesNo) != platform::mrYes)
        return;
    QDialog::done(result);
}

} // namespace hooptally
