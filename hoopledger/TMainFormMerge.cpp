// Merging and deleting: the commands of the tree and the grid, drag and drop in the tree, and starting
// the scoring program on a game. Everything changes the season model in memory only.
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTreeWidget>

#include "hoopledger/TMainForm.h"
#include "hoopledger/TMarge.h"
#include "hoopledger/TOption.h"
#include "hoopledger/TPlayerTouroku.h"
#include "hoopledger/Teamlist.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/StringGrid.h"

namespace hoopledger {

namespace {

// The caption of the two delete questions of the grid.
const QString kDeleteCaption = QStringLiteral("quillmarsh");
const QString kOldScorerWarning =
    QStringLiteral("フープタリソフトのバージョンが古いか、同じフォルダに入っていません");
const QString kNameTaken = QStringLiteral("同じ名前のチームが既にあります");
// How close to the tree's top or bottom edge a drag scrolls it by a line.
constexpr int kDragScrollMargin = 15;

QString memberLabel(const TStatPlayer* member)
{
    return member->GetName() + QLatin1Char('[') + member->GetNumber() + QLatin1Char(']');
}

// Nodes of the tree itself; the dragged node is always the tree's selected one. A drag whose source
// is unknown (one posted without the window system's drag loop) counts when it carries item rows.
bool isTreeDrag(const QDropEvent* event, const QWidget* tree)
{
    const QObject* source = event->source();
    return source == tree ||
           (!source && event->mimeData() &&
            event->mimeData()->hasFormat(QStringLiteral("application/x-qabstractitemmodeldatalist")));
}

bool mergeable(int draggedKind, int targetKind)
{
    return draggedKind == targetKind && (draggedKind == kTeamView || draggedKind == kMemberView);
}

} // namespace

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeView1 && event->type() == QEvent::KeyRelease) {
        // A held key repeats its release too: one edit per press.
        if (const auto* key = static_cast<QKeyEvent*>(event); !key->isAutoRepeat())
            TreeView1KeyUp(key->key());
        return false;
    }
    if (watched == TreeView1->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            bool accept = isTreeDrag(drag, TreeView1);
            if (accept)
                TreeView1DragOver(drag->position().toPoint().x(), drag->position().toPoint().y(), accept);
            drag->setDropAction(Qt::CopyAction);
            // Accepted on entering, so the tree goes on receiving moves over nodes that take no drop.
            if (accept || (event->type() == QEvent::DragEnter && isTreeDrag(drag, TreeView1)))
                drag->accept();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            // A copy for the view: a move would have it remove the dragged rows itself.
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (isTreeDrag(drop, TreeView1))
                TreeView1DragDrop(drop->position().toPoint().x(), drop->position().toPoint().y());
            return true;
        }
        default:
            break;
        }
    }
    if (GridAll && watched == GridAll->viewport() && event->type() == QEvent::ContextMenu) {
        GridAllContextPopup(static_cast<QContextMenuEvent*>(event)->pos());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::DeleteTreeNode(QTreeWidgetItem* node)
{
    delete node;
}

void TMainForm::TreeView1DragOver(int x, int y, bool& accept)
{
    QTreeWidgetItem* dragged = selectedNode();
    QTreeWidgetItem* target = TreeView1->itemAt(x, y);
    accept = dragged && target && dragged != target && mergeable(GetViewKind(dragged), GetViewKind(target)) &&
             dragged->parent() == target->parent();
    QScrollBar* bar = TreeView1->verticalScrollBar();
    if (y < kDragScrollMargin)
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (TreeView1->viewport()->height() - y < kDragScrollMargin)
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

void TMainForm::TreeView1DragDrop(int x, int y)
{
    QTreeWidgetItem* dragged = selectedNode();
    QTreeWidgetItem* target = TreeView1->itemAt(x, y);
    if (!dragged || !target || dragged == target || !nodeData(dragged) ||
        nodeData(dragged) == nodeData(target))
        return;
    const int kind = GetViewKind(dragged);
    if (!mergeable(kind, GetViewKind(target)))
        return;
    if (kind == kTeamView) {
        auto* from = static_cast<TGTeam*>(nodeData(dragged));
        auto* into = static_cast<TGTeam*>(nodeData(target));
        const QString question = from->GetName() + QStringLiteral("を") + into->GetName() +
                                 QStringLiteral("に合体します\nよろしいですか？");
        if (!m_teamList || platform::dialogs().messageBox(question, QStringLiteral("チームの合体"),
                                                          platform::Buttons::OkCancel) != platform::mrOk)
            return;
        m_teamList->MergeTeams(into, from);
        DeleteTreeNode(dragged);
        RefreshMemberNodes(target, true);
        return;
    }
    // A member goes only onto a member of its own team: merging across teams would rename entries of
    // one team after a player of another.
    if (dragged->parent() != target->parent())
        return;
    auto* from = static_cast<TStatPlayer*>(nodeData(dragged));
    auto* into = static_cast<TStatPlayer*>(nodeData(target));
    const QString question = memberLabel(from) + QStringLiteral("を") + memberLabel(into) +
                             QStringLiteral("に合体します\nよろしいですか？");
    if (platform::dialogs().messageBox(question, QStringLiteral("プレイヤーの合体"),
                                       platform::Buttons::OkCancel) != platform::mrOk)
        return;
    static_cast<TGTeam*>(nodeData(dragged->parent()))->MergePlayer(*into, *from);
    DeleteTreeNode(dragged);
}

void TMainForm::TreeView1KeyUp(int key)
{
    if (key == Qt::Key_F2)
        M1Click();
}

void TMainForm::M1Click()
{
    QTreeWidgetItem* node = selectedNode();
    switch (GetViewKind(node)) {
    case kTeamView:
        renameTeam(node);
        break;
    case kMemberView:
        editMember(node);
        break;
    default:
        break;
    }
}

bool TMainForm::teamNameTaken(const TGTeam* team, const QString& name) const
{
    if (name == team->GetName())
        return false;
    if (m_teamList) {
        for (const TGTeam* other : *m_teamList) {
            if (other != team && other->GetName() == name)
                return true;
        }
    }
    // An opponent of that name, also one deleted from the list, would share the games' sides.
    for (const TTeamGame& listing : team->Listings()) {
        if (listing.them && listing.them->GetName() == name)
            return true;
    }
    return false;
}

void TMainForm::renameTeam(QTreeWidgetItem* node)
{
    auto* team = static_cast<TGTeam*>(nodeData(node));
    const std::optional<QString> name = platform::dialogs().inputQuery(
        kCaption, QStringLiteral("チーム名を入力してください"), team->GetName());
    if (!name)
        return;
    // Two teams of one name would be one team to every game they share, and to the next load.
    if (teamNameTaken(team, *name)) {
        platform::dialogs().messageBox(kNameTaken, kCaption, platform::Buttons::Ok);
        return;
    }
    team->Rename(*name);
    node->setText(0, *name);
}

void TMainForm::editMember(QTreeWidgetItem* node)
{
    auto* member = static_cast<TStatPlayer*>(nodeData(node));
    QTreeWidgetItem* teamItem = node->parent();
    auto* team = static_cast<TGTeam*>(nodeData(teamItem));
    auto copy = std::make_unique<TStatPlayer>();
    copy->SetIdentity(member->GetNumber(), member->GetName(), kIdentityKind, member->IsStarter(),
                      member->GetPosition());
    // Kind 0: the dialog shows the fields of a player rather than an empty form.
    copy->kind = kGamePlayerKind;
    {
        TPlayerTouroku dialog(copy.get(), this);
        if (platform::dialogs().showModal(dialog) != platform::mrOk)
            return;
    }
    team->MergePlayer(*copy, *member);
    // Null when another member already has the new identity: its node takes the entries.
    TStatPlayer* added = team->Members().AddMember(std::move(copy));
    team->Members().Sort();
    RefreshMemberNodes(teamItem, true);
    teamItem->setExpanded(true);
    for (int i = 1; added && i < teamItem->childCount(); ++i) {
        if (nodeData(teamItem->child(i)) == added)
            TreeView1->setCurrentItem(teamItem->child(i));
    }
}

void TMainForm::D1Click()
{
    QTreeWidgetItem* node = selectedNode();
    switch (GetViewKind(node)) {
    case kTeamView:
        if (m_teamList)
            m_teamList->DeleteTeam(static_cast<TGTeam*>(nodeData(node)));
        BuildTree();
        break;
    case kMemberView:
        static_cast<TGTeam*>(nodeData(node->parent()))
            ->Members()
            .DeleteMember(*static_cast<TStatPlayer*>(nodeData(node)));
        DeleteTreeNode(node);
        break;
    default:
        break;
    }
}

void TMainForm::openMergeDialog(int mode)
{
    TMarge dialog(this, mode);
    platform::dialogs().showModal(dialog);
}

void TMainForm::T1Click()
{
    openMergeDialog(TMarge::kTeams);
}

void TMainForm::P1Click()
{
    const int kind = GetViewKind();
    if (kind != kGameListView && kind != kNoView)
        openMergeDialog(TMarge::kMembers);
}

void TMainForm::M3Click()
{
    const int kind = GetViewKind();
    openMergeDialog(kind == kGameListView || kind == kNoView ? TMarge::kTeams : TMarge::kMembers);
}

void TMainForm::ToolButton4Click()
{
    // The delete button of the tool bar has no command of its own.
}

QTreeWidgetItem* TMainForm::teamNode(const TGTeam* team) const
{
    QTreeWidgetItem* root = TreeView1->topLevelItemCount() > 0 ? TreeView1->topLevelItem(0) : nullptr;
    for (int i = 0; root && team && i < root->childCount(); ++i) {
        if (nodeData(root->child(i)) == team)
            return root->child(i);
    }
    return nullptr;
}

void* TMainForm::popupRowObject() const
{
    // The header and the last row (totals, or the empty row) carry no object.
    if (m_popupRow < 1 || m_popupRow >= GridAll->RowCount())
        return nullptr;
    return GridAll->Objects(0, m_popupRow);
}

void TMainForm::GridAllContextPopup(const QPoint& mousePos)
{
    int column = -1;
    GridAll->MouseToCell(mousePos.x(), mousePos.y(), column, m_popupRow);
    // The grid's own view decides, not the tree's selection, which may have moved on since.
    switch (m_gridKind) {
    case kTeamView:
        GameDelM->setEnabled(true);
        MemDelM->setEnabled(false);
        break;
    case kPersonalTotalsView:
        GameDelM->setEnabled(false);
        MemDelM->setEnabled(true);
        break;
    default:
        return;
    }
    PopupMenu2->popup(GridAll->viewport()->mapToGlobal(mousePos));
}

void TMainForm::GameDelMClick()
{
    TGTeam* team = m_gridTeam;
    auto* game = m_gridKind == kTeamView && team ? static_cast<TGame*>(popupRowObject()) : nullptr;
    if (!game)
        return;
    const QString question = game->sideA.GetName() + QStringLiteral("vs") + game->sideB.GetName() +
                             QStringLiteral("の試合を削除しますよろしいですか？");
    if (platform::dialogs().messageBox(question, kDeleteCaption, platform::Buttons::YesNo) != platform::mrYes)
        return;
    game->enabled = 0;
    ShowTeamResults(team);
    if (QTreeWidgetItem* node = teamNode(team); node && node->isExpanded())
        RefreshMemberNodes(node, false);
}

void TMainForm::MemDelMClick()
{
    TGTeam* team = m_gridTeam;
    auto* member =
        m_gridKind == kPersonalTotalsView && team ? static_cast<TStatPlayer*>(popupRowObject()) : nullptr;
    if (!member)
        return;
    const QString question = memberLabel(member) + QStringLiteral("を削除しますよろしいですか？");
    if (platform::dialogs().messageBox(question, kDeleteCaption, platform::Buttons::YesNo) != platform::mrYes)
        return;
    team->Members().DeleteMember(*member);
    ShowPersonalTotals(team);
}

void TMainForm::GridAllDblClick()
{
    // Rows carry games in the team results, a member's games and the game list.
    if (m_gridKind != kTeamView && m_gridKind != kMemberView && m_gridKind != kGameListView)
        return;
    const int row = GridAll->Row();
    const auto* game =
        row >= 1 && row < GridAll->RowCount() ? static_cast<const TGame*>(GridAll->Objects(0, row)) : nullptr;
    m_probeResult = CheckScoreProgram(m_scoreProgramPath);
    if (game && m_probeResult == 0) {
        platform::shell().StartProgram(m_scoreProgramPath, {game->path},
                                       QFileInfo(m_scoreProgramPath).absolutePath());
    } else if (m_probeResult == 1) {
        setLabel1Red(true);
        setLabel1(kOldScorerWarning);
    }
}

} // namespace hoopledger
