#include "hoopledger/TMarge.h"

#include <algorithm>

#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "hoopledger/TMainForm.h"
#include "hoopledger/TOption.h"
#include "hoopledger/Teamlist.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"
#include "platform/RadioGroup.h"

namespace hoopledger {

namespace {

using platform::named;

TMarge* g_marge = nullptr;

constexpr int kWidth = 460;
constexpr int kPanel2Height = 160;
constexpr int kPanel1Height = 296;

QTreeWidgetItem* nodeOf(const QVariant& value)
{
    return reinterpret_cast<QTreeWidgetItem*>(value.value<quintptr>());
}

QVariant valueOf(QTreeWidgetItem* node)
{
    return QVariant::fromValue(reinterpret_cast<quintptr>(node));
}

TGTeam* teamOf(const QTreeWidgetItem* node)
{
    return static_cast<TGTeam*>(TMainForm::nodeData(node));
}

} // namespace

TMarge* Marge()
{
    return g_marge;
}

TMarge::TMarge(TMainForm* owner, int mode) : QDialog(owner), m_owner(owner), m_mode(mode)
{
    setObjectName(QStringLiteral("Marge"));
    setWindowTitle(QStringLiteral("合体・削除"));
    setFont(platform::defaultFormFont());
    setFixedSize(kWidth, kPanel2Height + kPanel1Height);

    Panel2 = named(new QWidget(this), "Panel2");
    Panel2->setGeometry(0, 0, kWidth, kPanel2Height);
    ComboBox1 = named(new QComboBox(Panel2), "ComboBox1");
    ComboBox1->setGeometry(8, 8, 260, 22);
    RadioGroup1 = named(new platform::RadioGroup(QStringLiteral("合体方法"), Panel2), "RadioGroup1");
    RadioGroup1->setGeometry(8, 36, kWidth - 16, 100);
    RadioGroup1->SetItems({QStringLiteral("個別にチェックを入れて合体する"),
                           QStringLiteral("名前で合体する(自動)"),
                           QStringLiteral("名前で合体する(自動)(スペースは無視する）"),
                           QStringLiteral("番号で合体する(自動)")});
    RadioGroup1->SetItemIndex(kManual);
    Label4 =
        named(new QLabel(QStringLiteral("自動の場合、合体先のチェックの変更は可能です"), Panel2), "Label4");
    Label4->setGeometry(12, 138, kWidth - 24, 18);

    Panel1 = named(new QWidget(this), "Panel1");
    Panel1->setGeometry(0, kPanel2Height, kWidth, kPanel1Height);
    Label2 = named(new QLabel(QStringLiteral("合体元/削除"), Panel1), "Label2");
    Label2->setGeometry(8, 4, 184, 16);
    Label3 = named(new QLabel(QStringLiteral("合体先"), Panel1), "Label3");
    Label3->setGeometry(268, 4, 184, 16);
    auto makeList = [this](const char* name, int x) {
        auto* list = named(new QListWidget(Panel1), name);
        list->setGeometry(x, 22, 184, 230);
        connect(list, &QListWidget::itemChanged, this,
                [this, list](QListWidgetItem* item) { listChanged(list, item); });
        return list;
    };
    CheckListBox1 = makeList("CheckListBox1", 8);
    CheckListBox2 = makeList("CheckListBox2", 268);
    Label1 = named(new QLabel(QStringLiteral("Marge"), Panel1), "Label1");
    Label1->setGeometry(196, 104, 68, 16);
    Label1->setAlignment(Qt::AlignCenter);
    BitBtn1 = named(new QPushButton(QStringLiteral("⇒"), Panel1), "BitBtn1");
    BitBtn1->setGeometry(202, 124, 56, 28);
    Button1 = named(new QPushButton(QStringLiteral("削除(&D)"), Panel1), "Button1");
    Button1->setGeometry(8, 262, 90, 25);
    CancelBtn = named(new QPushButton(QStringLiteral("Close"), Panel1), "CancelBtn");
    CancelBtn->setGeometry(kWidth - 98, 262, 90, 25);

    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
    connect(BitBtn1, &QPushButton::clicked, this, &TMarge::BitBtn1Click);
    connect(Button1, &QPushButton::clicked, this, &TMarge::Button1Click);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });

    g_marge = this;
}

TMarge::~TMarge()
{
    if (g_marge == this)
        g_marge = nullptr;
}

void TMarge::reject()
{
    done(platform::mrCancel);
}

void TMarge::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TMarge::FormActivate()
{
    // Laid out and filled once: the dialog lives for one use.
    if (m_laidOut)
        return;
    m_laidOut = true;
    if (m_mode != kMembers) {
        ComboBox1->hide();
        Button1->hide();
        Label2->setText(QStringLiteral("合体元"));
        Panel1->move(0, Panel2->y());
        Panel1->show();
        Panel2->hide();
        setFixedSize(width(), height() - Panel2->height());
        FillTeamLists();
        return;
    }
    ComboBox1->show();
    Button1->show();
    Panel1->show();
    Panel2->show();
    Label2->setText(QStringLiteral("合体元/削除"));
    ComboBox1->clear();
    QTreeWidget* tree = m_owner->TreeView1;
    QTreeWidgetItem* root = tree->topLevelItemCount() > 0 ? tree->topLevelItem(0) : nullptr;
    for (int i = 0; root && i < root->childCount(); ++i)
        ComboBox1->addItem(root->child(i)->text(0), valueOf(root->child(i)));
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
    const int kind = m_owner->GetViewKind(node);
    if (kind == kPersonalTotalsView || kind == kMemberView)
        node = node->parent();
    if (node && (kind == kTeamView || kind == kPersonalTotalsView || kind == kMemberView)) {
        const int index = ComboBox1->findData(valueOf(node));
        if (index >= 0)
            ComboBox1->setCurrentIndex(index);
    }
    FillMemberLists(chosenTeamNode());
}

QTreeWidgetItem* TMarge::chosenTeamNode() const
{
    return ComboBox1->currentIndex() >= 0 ? nodeOf(ComboBox1->currentData()) : nullptr;
}

void TMarge::clearLists()
{
    const bool changing = std::exchange(m_changing, true);
    CheckListBox1->clear();
    CheckListBox2->clear();
    m_changing = changing;
}

void TMarge::setRows(const QList<QTreeWidgetItem*>& nodes)
{
    clearLists();
    QList<QTreeWidgetItem*> sorted = nodes;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&collator](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                         return collator.compare(a->text(0), b->text(0)) < 0;
                     });
    m_lastTargetRow = -1;
    const bool changing = std::exchange(m_changing, true);
    for (QTreeWidgetItem* node : sorted) {
        for (QListWidget* list : {CheckListBox1, CheckListBox2}) {
            auto* item = new QListWidgetItem(node->text(0), list);
            item->setData(Qt::UserRole, valueOf(node));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    m_changing = changing;
}

void TMarge::FillTeamLists()
{
    QTreeWidget* tree = m_owner->TreeView1;
    QTreeWidgetItem* root = tree->topLevelItemCount() > 0 ? tree->topLevelItem(0) : nullptr;
    QList<QTreeWidgetItem*> teams;
    for (int i = 0; root && i < root->childCount(); ++i)
        teams << root->child(i);
    setRows(teams);
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    for (int row = 0; !selected.isEmpty() && row < CheckListBox1->count(); ++row) {
        if (RowNode(row) != selected.first())
            continue;
        SetChecked(CheckListBox1, row, true);
        SetChecked(CheckListBox2, row, false);
        CheckListBox1->setCurrentRow(row);
        CheckListBox2->setCurrentRow(row);
    }
}

void TMarge::FillMemberLists(QTreeWidgetItem* node)
{
    const int kind = m_owner->GetViewKind(node);
    if (node && (kind == kPersonalTotalsView || kind == kMemberView))
        node = node->parent();
    QList<QTreeWidgetItem*> members;
    // Only a team node has members: the root, no node or a stale one lists nothing.
    if (node && m_owner->GetViewKind(node) == kTeamView) {
        for (int i = 1; i < node->childCount(); ++i)
            members << node->child(i);
    }
    setRows(members);
}

void TMarge::ComboBox1Change()
{
    if (QTreeWidgetItem* node = chosenTeamNode())
        FillMemberLists(node);
}

QTreeWidgetItem* TMarge::RowNode(int row) const
{
    const QListWidgetItem* item = CheckListBox1->item(row);
    return item ? nodeOf(item->data(Qt::UserRole)) : nullptr;
}

bool TMarge::Checked(const QListWidget* list, int row) const
{
    const QListWidgetItem* item = list->item(row);
    return item && item->checkState() == Qt::Checked;
}

void TMarge::SetChecked(QListWidget* list, int row, bool checked)
{
    QListWidgetItem* item = list->item(row);
    if (!item)
        return;
    const bool changing = std::exchange(m_changing, true);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    m_changing = changing;
}

void TMarge::listChanged(QListWidget* list, QListWidgetItem* item)
{
    if (m_changing)
        return;
    if (list == CheckListBox1)
        CheckListBox1ClickCheck();
    else
        CheckListBox2ClickCheck(list->row(item));
}

void TMarge::CheckListBox1ClickCheck()
{
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        if (Checked(CheckListBox1, row) && Checked(CheckListBox2, row))
            SetChecked(CheckListBox2, row, false);
    }
}

void TMarge::CheckListBox2ClickCheck(int row)
{
    for (int r = 0; r < CheckListBox2->count(); ++r) {
        if (Checked(CheckListBox1, r) && Checked(CheckListBox2, r))
            SetChecked(CheckListBox1, r, false);
    }
    if (m_method != kManual)
        return;
    // One target at most: the row just checked.
    const bool checked = Checked(CheckListBox2, row);
    for (int r = 0; r < CheckListBox2->count(); ++r) {
        if (r != row)
            SetChecked(CheckListBox2, r, false);
    }
    m_lastTargetRow = checked ? row : -1;
}

TStatPlayer* TMarge::rowMember(int row) const
{
    QTreeWidgetItem* node = RowNode(row);
    return node && m_owner->GetViewKind(node) == kMemberView
               ? static_cast<TStatPlayer*>(TMainForm::nodeData(node))
               : nullptr;
}

QString TMarge::StripSpaces(const QString& text)
{
    // On the decoded text: a full-width space is one character, never half of another one's bytes.
    QString stripped = text;
    stripped.remove(QLatin1Char(' '));
    stripped.remove(QChar(0x3000));
    return stripped;
}

QString TMarge::key(int method, int row) const
{
    const TStatPlayer* member = rowMember(row);
    if (!member)
        return {};
    switch (method) {
    case kByName:
        return member->GetName();
    case kByNameWithoutSpaces:
        return StripSpaces(member->GetName());
    case kByNumber:
        return member->GetNumber();
    default:
        return {};
    }
}

int TMarge::FindNextMatch(int method, int baseRow, int startRow) const
{
    if (method == kManual || !rowMember(baseRow))
        return -1;
    if (startRow == -1)
        startRow = baseRow;
    const QString wanted = key(method, baseRow);
    for (int row = startRow + 1; row < CheckListBox1->count(); ++row) {
        if (rowMember(row) && key(method, row) == wanted)
            return row;
    }
    return -1;
}

void TMarge::RadioGroup1Click()
{
    const int chosen = RadioGroup1->ItemIndex();
    bool anyChecked = false;
    for (int row = 0; row < CheckListBox1->count() && !anyChecked; ++row)
        anyChecked = Checked(CheckListBox1, row) || Checked(CheckListBox2, row);
    if (anyChecked &&
        platform::dialogs().messageBox(QStringLiteral("全てのチェックを初期化します。よろしいですか？"),
                                       kCaption, platform::Buttons::YesNo) != platform::mrYes) {
        // The checks were made for the method in force: it stays in force.
        RadioGroup1->SetItemIndex(m_method);
        return;
    }
    m_method = chosen < 0 ? kManual : chosen;
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        SetChecked(CheckListBox1, row, false);
        SetChecked(CheckListBox2, row, false);
    }
    m_lastTargetRow = -1;
    if (m_method == kManual)
        return;
    // Each group of equal keys: its last row the target, the others sources.
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        if (Checked(CheckListBox1, row))
            continue;
        int last = -1;
        for (int match = FindNextMatch(m_method, row, last); match != -1;
             match = FindNextMatch(m_method, row, last)) {
            SetChecked(CheckListBox1, match, true);
            last = match;
        }
        if (last == -1)
            continue;
        SetChecked(CheckListBox1, last, false);
        SetChecked(CheckListBox2, last, true);
        SetChecked(CheckListBox1, row, true);
    }
}

void TMarge::BitBtn1Click()
{
    if (m_mode == kMembers && m_method != kManual)
        AutoMerge();
    else
        ManualMerge();
}

void TMarge::ManualMerge()
{
    int targetRow = -1;
    for (int row = 0; row < CheckListBox2->count(); ++row) {
        if (Checked(CheckListBox2, row))
            targetRow = row;
    }
    QTreeWidgetItem* target = RowNode(targetRow);
    if (!target)
        return;
    // The nodes first: merged rows' nodes are deleted on the way.
    QList<QTreeWidgetItem*> sources;
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        if (Checked(CheckListBox1, row) && RowNode(row) != target)
            sources << RowNode(row);
    }
    if (m_mode == kMembers) {
        auto* into = rowMember(targetRow);
        TGTeam* team = teamOf(target->parent());
        if (!into || !team)
            return;
        for (QTreeWidgetItem* node : sources) {
            auto* member = static_cast<TStatPlayer*>(TMainForm::nodeData(node));
            if (node->parent() != target->parent() || !member)
                continue;
            team->MergePlayer(*into, *member);
            m_owner->DeleteTreeNode(node);
        }
        FillMemberLists(chosenTeamNode());
        return;
    }
    TeamList* teams = m_owner->Teams();
    TGTeam* into = teamOf(target);
    if (!teams || !into)
        return;
    for (QTreeWidgetItem* node : sources) {
        teams->MergeTeams(into, teamOf(node));
        m_owner->DeleteTreeNode(node);
    }
    m_owner->RefreshMemberNodes(target, true);
    FillTeamLists();
}

void TMarge::AutoMerge()
{
    QTreeWidgetItem* lastTarget = nullptr;
    for (int t = 0; t < CheckListBox2->count(); ++t) {
        if (!Checked(CheckListBox2, t))
            continue;
        QTreeWidgetItem* targetNode = RowNode(t);
        TStatPlayer* target = rowMember(t);
        TGTeam* team = target ? teamOf(targetNode->parent()) : nullptr;
        const QString targetKey = key(m_method, t);
        for (int s = 0; team && s < CheckListBox1->count(); ++s) {
            // A merged row is unchecked at once, so its deleted node is never looked at again.
            if (!Checked(CheckListBox1, s) || RowNode(s) == targetNode || !rowMember(s) ||
                key(m_method, s) != targetKey)
                continue;
            team->MergePlayer(*target, *rowMember(s));
            m_owner->DeleteTreeNode(RowNode(s));
            SetChecked(CheckListBox1, s, false);
        }
        SetChecked(CheckListBox2, t, false);
        lastTarget = targetNode;
    }
    if (lastTarget)
        FillMemberLists(lastTarget);
}

void TMarge::Button1Click()
{
    if (m_mode != kMembers)
        return;
    QList<QTreeWidgetItem*> doomed;
    for (int row = 0; row < CheckListBox1->count(); ++row) {
        if (Checked(CheckListBox1, row) && rowMember(row))
            doomed << RowNode(row);
    }
    for (QTreeWidgetItem* node : doomed) {
        if (TGTeam* team = teamOf(node->parent()))
            team->Members().DeleteMember(*static_cast<TStatPlayer*>(TMainForm::nodeData(node)));
        m_owner->DeleteTreeNode(node);
    }
    // The team the dialog shows, not the tree's selection: that may have been one of the deleted nodes.
    FillMemberLists(chosenTeamNode());
}

} // namespace hoopledger
