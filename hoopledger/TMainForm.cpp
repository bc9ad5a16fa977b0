#include "hoopledger/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "hoopledger/TAboutBox.h"
#include "hoopledger/TOption.h"
#include "hoopledger/TSaveHtmlDlg.h"
#include "hoopledger/Teamlist.h"
#include "hoopledger/Tgamelist.h"
#include "hoopledger/Tsavehtmlx.h"
#include "platform/DateTime.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"
#include "platform/Shell.h"
#include "platform/StringGrid.h"
#include "platform/Version.h"
#include "platform/WaitCursor.h"

namespace hoopledger {

namespace {

using platform::named;

const QString kScoreProgramName = QStringLiteral("Hooptally");
// The oldest scoring program that can be started on a game of the list.
constexpr platform::FileVersion kOldestScoreProgram{2, 2, 8, 0};
const QString kProbeWarning = QStringLiteral(
    "フープタリーソフトに問題があります【バージョンアップが古い】【同じフォルダに入ってない】");
const QString kOldFileWarning =
    QStringLiteral("古いバージョンのフープタリで、書き込まれたgameファイルがあります");
const QString kResetQuestion = QStringLiteral("初期状態に戻しますよろしいですか？");
const QString kGameFilter = QStringLiteral("game(*.game)|*.game|すべてのファイル (*.*)|*.*");
const QString kRootText = QStringLiteral("全試合");
const QString kTotalsNodeText = QStringLiteral("個人ﾄｰﾀﾙ一覧");
const QString kTreeHint = QStringLiteral("ドラッグ＆ドロップでチームやプレイヤの合体が出来ます");
// The most damaged files named in the message after a load; the rest are counted.
constexpr int kDamagedNamesShown = 20;
// How often a long load lets the window draw itself.
constexpr int kRedrawIntervalMs = 100;

QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& text, void* data)
{
    auto* node = new QTreeWidgetItem(parent, QStringList{text});
    node->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
    return node;
}

QString memberText(const TStatPlayer* member)
{
    return member->GetName() + QLatin1Char('[') + member->GetNumber() + QLatin1Char(']');
}

} // namespace

TMainForm::TMainForm(QWidget* parent, const QString& programPath) : QMainWindow(parent)
{
    const QString program = programPath.isEmpty() ? QCoreApplication::applicationFilePath() : programPath;
    m_scoreProgramPath = QFileInfo(program).absoluteDir().filePath(kScoreProgramName);

    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Hoopledger"));
    setFont(platform::defaultFormFont());
    resize(1000, 640);

    buildMenus();
    buildToolBar();
    Splitter3 = named(new QSplitter(Qt::Horizontal, this), "Splitter3");
    buildTree(Splitter3);
    auto* right = new QWidget(Splitter3);
    buildRightPane(right);
    Splitter3->setStretchFactor(0, 0);
    Splitter3->setStretchFactor(1, 1);
    Splitter3->setSizes({220, 780});
    setCentralWidget(Splitter3);
    named(statusBar(), "StatusBar");
    FormCreate();
}

TMainForm::~TMainForm()
{
    // The views drop their pointers before the records go.
    ClearLists();
}

void TMainForm::buildMenus()
{
    auto action = [this](QMenu* menu, const char* name, const QString& text, void (TMainForm::*handler)(),
                         const QKeySequence& shortcut = {}) {
        QAction* item = named(menu->addAction(text), name);
        item->setShortcut(shortcut);
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    FileOpen1 = action(file, "FileOpen1", QStringLiteral("開く(&O)..."), &TMainForm::FileOpen1Execute,
                       QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSave1 = action(file, "FileSave1", QStringLiteral("選択項目保存(&S)"), &TMainForm::FileSave1Execute,
                       QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSaveAsItem = action(file, "FileSaveAsItem", QStringLiteral("チーム全データ保存(&A)..."),
                            &TMainForm::FileSaveAsItemClick, QKeySequence(Qt::CTRL | Qt::Key_A));
    file->addSeparator();
    FileExit1 = action(file, "FileExit1", QStringLiteral("終了(&X)"), &TMainForm::FileExit1Execute);
    QMenu* merge = menuBar()->addMenu(QStringLiteral("マージ(&M)"));
    T1 = action(merge, "T1", QStringLiteral("チーム(&T)"), &TMainForm::T1Click);
    P1 = action(merge, "P1", QStringLiteral("選手(&P)"), &TMainForm::P1Click);
    QMenu* option = menuBar()->addMenu(QStringLiteral("Option(&O)"));
    OptionO2 = action(option, "OptionO2", QStringLiteral("Option(&O)"), &TMainForm::OptionO2Click);
    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    HelpAbout1 =
        action(help, "HelpAbout1", QStringLiteral("バージョン情報(&A)..."), &TMainForm::HelpAbout1Execute);

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    M1 = action(PopupMenu1, "M1", QStringLiteral("編集(&E)"), &TMainForm::M1Click);
    D1 = action(PopupMenu1, "D1", QStringLiteral("削除(&D)"), &TMainForm::D1Click);
    M3 = action(PopupMenu1, "M3", QStringLiteral("合体・削除(&M)"), &TMainForm::M3Click);
    PopupMenu2 = named(new QMenu(this), "PopupMenu2");
    GameDelM = action(PopupMenu2, "GameDelM", QStringLiteral("ゲーム削除(&D)"), &TMainForm::GameDelMClick);
    MemDelM = action(PopupMenu2, "MemDelM", QStringLiteral("メンバー削除"), &TMainForm::MemDelMClick);
}

void TMainForm::buildToolBar()
{
    ToolBar1 = named(addToolBar(QString()), "ToolBar1");
    ToolBar1->setMovable(false);
    // Hints are "short|long": the short one on the button, the long one in the status bar.
    auto button = [this](const char* name, QStyle::StandardPixmap icon, const QString& hint,
                         void (TMainForm::*handler)()) {
        const QStringList parts = hint.split(QLatin1Char('|'));
        QAction* item = named(ToolBar1->addAction(style()->standardIcon(icon), parts.first()), name);
        item->setStatusTip(parts.last());
        connect(item, &QAction::triggered, this, handler);
    };
    button("ToolButton1", QStyle::SP_DialogOpenButton, QString(), &TMainForm::FileOpen1Execute);
    button("ToolButton2", QStyle::SP_DialogSaveButton, QStringLiteral("保存|選択情報を保存"),
           &TMainForm::FileSave1Execute);
    button("ToolButton3", QStyle::SP_DriveHDIcon, QStringLiteral("全部保存|チーム情報全てを保存"),
           &TMainForm::FileSaveAsItemClick);
    ToolBar1->addSeparator();
    button("ToolButton4", QStyle::SP_TrashIcon, QStringLiteral("削除"), &TMainForm::ToolButton4Click);
    button("ToolButton5", QStyle::SP_FileDialogListView, QStringLiteral("チーム結合"), &TMainForm::T1Click);
    button("ToolButton6", QStyle::SP_FileDialogDetailedView, QStringLiteral("プレイヤー結合"),
           &TMainForm::P1Click);
}

void TMainForm::buildTree(QWidget* parent)
{
    TreeView1 = named(new QTreeWidget(parent), "TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setToolTip(kTreeHint);
    TreeView1->setStatusTip(kTreeHint);
    // A click may re-list the clicked node's siblings: the view is chosen after the click is done
    // with the node.
    auto dispatchLater = [this] { QTimer::singleShot(0, this, &TMainForm::TreeView1DblClick); };
    connect(TreeView1, &QTreeWidget::itemClicked, this, dispatchLater);
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, dispatchLater);
    // Nodes are dragged onto nodes to merge them; the drop itself is handled in eventFilter, so the
    // view never moves or removes an item on its own.
    TreeView1->setDragEnabled(true);
    TreeView1->setAcceptDrops(true);
    TreeView1->setDragDropMode(QAbstractItemView::DragDrop);
    TreeView1->setDefaultDropAction(Qt::CopyAction);
    TreeView1->setAutoScroll(false);
    TreeView1->viewport()->installEventFilter(this);
    TreeView1->installEventFilter(this);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(pos)); });
}

void TMainForm::buildRightPane(QWidget* parent)
{
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    Label1 = named(new QLabel(parent), "Label1");
    Label1->setFont(platform::makeFont(QStringLiteral("ＭＳ Ｐゴシック"), 12, true));
    // A long warning wraps rather than widening the window.
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText); // names from the files are text, never markup
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(Label1);

    auto* range = new QHBoxLayout;
    auto makePicker = [parent](const char* name) {
        auto* picker = named(new QDateEdit(parent), name);
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        return picker;
    };
    DateTimePicker1 = makePicker("DateTimePicker1");
    Label2 = named(new QLabel(QStringLiteral("～"), parent), "Label2");
    DateTimePicker2 = makePicker("DateTimePicker2");
    Button1 = named(new QPushButton(QStringLiteral("検索"), parent), "Button1");
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    range->addWidget(DateTimePicker1);
    range->addWidget(Label2);
    range->addWidget(DateTimePicker2);
    range->addWidget(Button1);
    range->addStretch(1);
    layout->addLayout(range);

    GridAll = named(new platform::StringGrid(parent), "GridAll");
    GridAll->SetFixedCols(0);
    GridAll->SetFixedRows(1);
    GridAll->SetLeftCol(0); // without fixed columns the first column is the first one shown
    GridAll->SetDefaultRowHeight(20);
    GridAll->SetOptions(platform::goFixedVertLine | platform::goFixedHorzLine | platform::goVertLine |
                        platform::goHorzLine | platform::goRangeSelect | platform::goColSizing);
    GridAll->OnDrawCell = [this](int col, int row, const QRect& rect, unsigned state) {
        GridAllDrawCell(col, row, rect, state);
    };
    GridAll->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
        GridAllMouseUp(button, modifiers, x, y);
    };
    GridAll->OnDblClick = [this] { GridAllDblClick(); };
    GridAll->viewport()->installEventFilter(this);
    layout->addWidget(GridAll, 1);

    Label3 = named(new QLabel(parent), "Label3");
    layout->addWidget(Label3);
}

void TMainForm::FormCreate()
{
    m_firstActivation = true;
    m_gameList.reset();
    m_teamList.reset();
    m_fromTime = platform::DateTime::encodeTime(0, 0, 0);
    m_toTime = platform::DateTime::encodeTime(23, 59, 59);
    DateTimePicker1->setDate(QDate(1990, 1, 1));
    DateTimePicker2->setDate(QDate(2099, 1, 1));
    m_sortColumn = -1;
    m_sortDirection = 1;
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Run after the window is on screen, so the load draws into a visible window.
    QTimer::singleShot(0, this, &TMainForm::FormActivate);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // A load lets the window draw itself; it must not be closed under it.
    if (m_loading) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TMainForm::FormActivate()
{
    // A load lets queued events run; a second activation must not start another load inside it.
    if (!m_firstActivation || m_loading)
        return;
    m_probeResult = CheckScoreProgram(m_scoreProgramPath);
    setLabel1(QString());
    if (m_probeResult == 1) {
        setLabel1Red(true);
        setLabel1(kProbeWarning);
    }
    ClearGrid();
    if (Option() && Option()->ReadAtStart()) {
        LoadFolder();
        // The game list's heading would hide the warning at once.
        if (m_probeResult == 1)
            setLabel1(m_oldFileSeen ? kProbeWarning + QStringLiteral("　") + kOldFileWarning : kProbeWarning);
    }
    m_firstActivation = false;
    // Said where the scoring program says it: once the window is up.
    if (Option())
        Option()->tellIfUnreadable();
}

int TMainForm::CheckScoreProgram(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return 1;
    const std::optional<platform::FileVersion> version = platform::GetFileVersion(path);
    return !version || *version < kOldestScoreProgram ? 1 : 0;
}

QStringList TMainForm::ListGameFiles(const QString& folder)
{
    platform::WaitCursor wait;
    // An empty setting names no folder (it would otherwise be taken as the root or the working folder).
    if (folder.trimmed().isEmpty())
        return {};
    QString path = folder;
    if (path.size() > 1 && (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'))))
        path.chop(1);
    const QDir dir(path);
    QStringList files;
    const QFileInfoList entries =
        dir.entryInfoList({QStringLiteral("*.game")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries)
        files << dir.filePath(entry.fileName());
    return files;
}

void TMainForm::LoadFolder()
{
    loadGames(ListGameFiles(Option() ? Option()->GameFileFolder() : QString()));
}

void TMainForm::loadGames(const QStringList& paths)
{
    if (m_loading)
        return;
    QStringList damaged;
    {
        platform::WaitCursor wait;
        m_loading = true;
        ClearLists();
        m_gameList = std::make_unique<TGameList>();
        QElapsedTimer sinceDrawn;
        sinceDrawn.start();
        for (const QString& path : paths) {
            if (m_gameList->AddGameFile(path) == TGameList::LoadResult::Damaged)
                damaged << path;
            if (sinceDrawn.elapsed() >= kRedrawIntervalMs) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                sinceDrawn.restart();
            }
        }
        m_teamList = std::make_unique<TeamList>(m_gameList.get());
        m_teamList->SortByName();
        BuildTree();
        ShowGameList();
        m_loading = false;
    }
    reportDamagedFiles(damaged);
}

void TMainForm::reportDamagedFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QStringList lines = {QStringLiteral("壊れているため読み込めなかったgameファイルがあります")};
    lines << paths.mid(0, kDamagedNamesShown);
    if (paths.size() > kDamagedNamesShown)
        lines << QStringLiteral("ほか%1件").arg(paths.size() - kDamagedNamesShown);
    platform::dialogs().messageBox(lines.join(QLatin1Char('\n')), kCaption, platform::Buttons::Ok);
}

void TMainForm::ClearLists()
{
    // Nothing may point at a record once it is gone.
    ClearTree();
    ClearGrid();
    m_teamList.reset();
    if (m_gameList)
        m_gameList->FreeGames();
    m_gameList.reset();
}

void TMainForm::ClearGrid()
{
    for (int row = 0; row < GridAll->RowCount(); ++row)
        GridAll->ClearRow(row);
    m_gridKind = kNoView;
    m_gridTeam = nullptr;
    m_gridMember = nullptr;
}

void TMainForm::ClearTree()
{
    TreeView1->clear();
}

void TMainForm::FileOpen1Execute()
{
    platform::FileDialogOptions options;
    options.filter = kGameFilter;
    options.initialDir = Option() ? Option()->GameFileFolder() : QString();
    const std::optional<QStringList> paths = platform::dialogs().openFiles(options);
    if (!paths)
        return;
    if (m_gameList && m_gameList->Count() > 0 &&
        platform::dialogs().messageBox(kResetQuestion, kCaption, platform::Buttons::YesNo) != platform::mrYes)
        return;
    loadGames(*paths);
}

void TMainForm::FileExit1Execute()
{
    close();
}

void TMainForm::OptionO2Click()
{
    if (!Option() || platform::dialogs().showModal(*Option()) != platform::mrOk)
        return;
    if (platform::dialogs().messageBox(kResetQuestion, kCaption, platform::Buttons::YesNo) != platform::mrYes)
        return;
    LoadFolder();
}

void TMainForm::HelpAbout1Execute()
{
    if (AboutBox())
        platform::dialogs().showModal(*AboutBox());
}

void TMainForm::ShowGameList()
{
    setLabel1(QStringLiteral("全試合情報"));
    std::vector<GridLine> lines;
    m_oldFileSeen = false;
    const int loaded = m_gameList ? m_gameList->Count() : 0;
    if (m_gameList) {
        m_gameList->SortByDate();
        lines.reserve(loaded);
        for (TGame* game : *m_gameList) {
            if (!game->hasStats)
                m_oldFileSeen = true;
            if (!InRange(game->date))
                continue;
            const QString score = game->sideA.GetName() + QLatin1Char('(') +
                                  QString::number(game->sideA.Score()) + QStringLiteral(") - ") +
                                  game->sideB.GetName() + QLatin1Char('(') +
                                  QString::number(game->sideB.Score()) + QLatin1Char(')');
            lines.push_back({{game->tournament, game->place,
                              platform::DateTime::FormatDateTime(QStringLiteral("yy/mm/dd"), game->date),
                              platform::DateTime::FormatDateTime(QStringLiteral("hh:nn"), game->time), score},
                             game});
        }
    }
    fillGrid(kGameListView, nullptr, nullptr,
             {QStringLiteral("大会名"), QStringLiteral("場所"), QStringLiteral("日付"),
              QStringLiteral("時間"), QStringLiteral("得点")},
             lines, {});
    AdjustColumnWidths();
    if (m_oldFileSeen)
        setLabel1(kOldFileWarning);
    // At start-up the range narrows to the loaded games; later loads keep the user's range.
    if (m_firstActivation && loaded > 0 && m_gameList->At(0)->date != 0) {
        setPickerDate(DateTimePicker1, m_gameList->At(0)->date);
        setPickerDate(DateTimePicker2, m_gameList->At(loaded - 1)->date);
    }
    Label3->setText(QStringLiteral("全%1試合中%2試合を表示").arg(loaded).arg(lines.size()));
}

void TMainForm::BuildTree()
{
    TreeView1->setUpdatesEnabled(false);
    ClearTree();
    auto* root = new QTreeWidgetItem(TreeView1, QStringList{kRootText});
    if (m_teamList) {
        for (TGTeam* team : *m_teamList) {
            QTreeWidgetItem* teamNode = addNode(root, team->GetName(), team);
            addNode(teamNode, kTotalsNodeText, team);
            for (TStatPlayer* member : team->Members()) {
                if (member->visible == 1)
                    addNode(teamNode, memberText(member), member);
            }
        }
    }
    TreeView1->setUpdatesEnabled(true);
    root->setExpanded(true);
    TreeView1->setCurrentItem(root);
}

void* TMainForm::nodeData(const QTreeWidgetItem* node)
{
    return node ? reinterpret_cast<void*>(node->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

QTreeWidgetItem* TMainForm::selectedNode() const
{
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

int TMainForm::GetViewKind(QTreeWidgetItem* node) const
{
    if (!node)
        node = selectedNode();
    if (!node)
        return kNoView;
    QTreeWidgetItem* parent = node->parent();
    if (!parent)
        return kGameListView;
    if (!parent->parent())
        return kTeamView;
    if (parent->parent()->parent())
        return kNoView;
    return parent->indexOfChild(node) == 0 ? kPersonalTotalsView : kMemberView;
}

TStatPlayer* TMainForm::GetSelectedPlayer(TGTeam*& team) const
{
    QTreeWidgetItem* node = selectedNode();
    if (GetViewKind(node) != kMemberView)
        return nullptr;
    team = static_cast<TGTeam*>(nodeData(node->parent()));
    return static_cast<TStatPlayer*>(nodeData(node));
}

void TMainForm::TreeView1DblClick()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node)
        return;
    switch (GetViewKind(node)) {
    case kTeamView: {
        auto* team = static_cast<TGTeam*>(nodeData(node));
        setLabel1Red(false);
        setLabel1(team->GetName() + QStringLiteral("【チーム成績一覧】"));
        ShowTeamResults(team);
        if (node->isExpanded())
            RefreshMemberNodes(node, true);
        TreeView1->setCurrentItem(node);
        break;
    }
    case kPersonalTotalsView: {
        auto* team = static_cast<TGTeam*>(nodeData(node));
        setLabel1Red(false);
        setLabel1(team->GetName() + QStringLiteral("【個人トータル一覧】"));
        ShowPersonalTotals(team);
        if (node->parent()->isExpanded())
            RefreshMemberNodes(node->parent(), true);
        break;
    }
    case kMemberView: {
        auto* member = static_cast<TStatPlayer*>(nodeData(node));
        auto* team = static_cast<TGTeam*>(nodeData(node->parent()));
        setLabel1Red(false);
        setLabel1(memberText(member) + team->GetName() + QStringLiteral("【個人成績一覧】"));
        ShowPlayerGames(member, team);
        if (node->parent()->isExpanded())
            RefreshMemberNodes(node->parent(), true);
        break;
    }
    case kGameListView:
        ShowGameList();
        break;
    default:
        break;
    }
}

void TMainForm::RefreshMemberNodes(QTreeWidgetItem* node, bool select)
{
    if (!node)
        return;
    QString rememberedName = QStringLiteral("--");
    QString rememberedNumber = QStringLiteral("--");
    TGTeam* selectedTeam = nullptr;
    if (const TStatPlayer* selected = GetSelectedPlayer(selectedTeam)) {
        rememberedName = selected->GetName();
        rememberedNumber = selected->GetNumber();
    }
    auto* team = static_cast<TGTeam*>(nodeData(node));
    std::vector<std::pair<QString, void*>> wanted = {{kTotalsNodeText, team}};
    for (TStatPlayer* member : team->Members()) {
        if (member->visible == 1)
            wanted.emplace_back(memberText(member), member);
    }
    // The same children are kept rather than made again: the node being clicked may be one of them.
    bool same = node->childCount() == int(wanted.size());
    for (int i = 0; same && i < node->childCount(); ++i)
        same = node->child(i)->text(0) == wanted[i].first && nodeData(node->child(i)) == wanted[i].second;
    if (!same) {
        qDeleteAll(node->takeChildren());
        for (const auto& [text, data] : wanted)
            addNode(node, text, data);
    }
    QTreeWidgetItem* toSelect = node->child(0);
    for (int i = 1; i < node->childCount(); ++i) {
        const auto* member = static_cast<TStatPlayer*>(nodeData(node->child(i)));
        if (member->GetName() == rememberedName && member->GetNumber() == rememberedNumber)
            toSelect = node->child(i);
    }
    node->setExpanded(true);
    if (select && toSelect)
        TreeView1->setCurrentItem(toSelect);
}

double TMainForm::RangeFrom() const
{
    const QDate date = DateTimePicker1->date();
    return platform::DateTime::encodeDate(date.year(), date.month(), date.day()) + m_fromTime;
}

double TMainForm::RangeTo() const
{
    const QDate date = DateTimePicker2->date();
    return platform::DateTime::encodeDate(date.year(), date.month(), date.day()) + m_toTime;
}

bool TMainForm::InRange(double date) const
{
    return !(RangeFrom() > date) && !(date > RangeTo());
}

bool TMainForm::Counts(const TGame* game) const
{
    return game->enabled != 0 && InRange(game->date);
}

void TMainForm::setPickerDate(QDateEdit* picker, double serial)
{
    // Only the day changes: the start keeps 00:00:00 and the end 23:59:59.
    const QDateTime dateTime = platform::DateTime::toQDateTime(serial);
    if (dateTime.isValid())
        picker->setDate(dateTime.date());
}

void TMainForm::setLabel1(const QString& text)
{
    Label1->setText(text);
}

void TMainForm::setLabel1Red(bool red)
{
    m_label1Red = red;
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, red ? Qt::red : Qt::black);
    Label1->setPalette(palette);
}

void TMainForm::FileSave1Execute()
{
    // The page is what the grid holds, which a node chosen with the keys has not shown yet.
    const int viewKind = m_gridKind;
    platform::FileDialogOptions options;
    options.filter = QStringLiteral("html (*.html)|*.html|すべてのファイル (*.*)|*.*");
    options.defaultExt = QStringLiteral("html");
    options.initialDir = HtmlOutputFolder();
    options.fileName = DefaultPageName(viewKind, m_gridMember);
    const std::optional<QString> path = platform::dialogs().saveFile(options);
    if (!path || path->isEmpty())
        return;
    if (QFileInfo::exists(*path) &&
        platform::dialogs().messageBox(QStringLiteral("上書きしてもよろしいですか？"), kCaption,
                                       platform::Buttons::OkCancel) != platform::mrOk)
        return;
    const int kind = PageKindOf(viewKind);
    if (kind == kNoPage) {
        platform::dialogs().messageBox(QStringLiteral("選択されていません"), kCaption, platform::Buttons::Ok);
        return;
    }
    THtmlWriter writer(*this);
    writer.Write(kind, *path);
    if (writer.Failed()) {
        platform::dialogs().messageBox(QStringLiteral("保存に失敗しました\n") + *path, kCaption,
                                       platform::Buttons::Ok);
        return;
    }
    // Without a program to show it the page is still saved; the user must not wait for it.
    if (!platform::shell().ShellOpen(writer.LastFile()))
        platform::dialogs().messageBox(QStringLiteral("保存しましたが、ブラウザで表示できませんでした\n") +
                                           writer.LastFile(),
                                       kCaption, platform::Buttons::Ok);
}

void TMainForm::FileSaveAsItemClick()
{
    QTreeWidgetItem* node = selectedNode();
    const int selectedKind = GetViewKind(node);
    if (selectedKind == kPersonalTotalsView || selectedKind == kMemberView)
        node = node->parent();
    else if (selectedKind != kTeamView)
        node = nullptr;
    QTreeWidgetItem* root = node ? node->parent() : nullptr;
    if (!root) {
        platform::dialogs().messageBox(QStringLiteral("TreeViewでチームを選択してください"), kCaption,
                                       platform::Buttons::Ok);
        return;
    }
    auto* team = static_cast<TGTeam*>(nodeData(node));
    const int teamIndex = root->indexOfChild(node);
    const std::optional<QString> prefix =
        platform::dialogs().inputQuery(kCaption, QStringLiteral("先頭に付加するファイル名を入力してください"),
                                       SafeFileName(team->GetName()));
    if (!prefix)
        return;

    THtmlSaveAll saveAll(*this, HtmlOutputFolder() + QLatin1Char('/') + *prefix);
    // The team node is found by its place again before each page: showing a view may list the
    // team's member nodes anew.
    auto teamNode = [this, teamIndex, team]() -> QTreeWidgetItem* {
        QTreeWidgetItem* top = TreeView1->topLevelItemCount() > 0 ? TreeView1->topLevelItem(0) : nullptr;
        QTreeWidgetItem* found = top && teamIndex < top->childCount() ? top->child(teamIndex) : nullptr;
        return found && nodeData(found) == team ? found : nullptr;
    };
    // Shows the view of the team node's child (-1: the team node itself) and writes its page. False
    // when the save-all stops there.
    auto writePage = [&](int child, int kind, const QString& name) {
        QTreeWidgetItem* teamItem = teamNode();
        QTreeWidgetItem* item = teamItem && child < teamItem->childCount()
                                    ? (child < 0 ? teamItem : teamItem->child(child))
                                    : nullptr;
        if (!item)
            return false;
        // Showing the view may list the member nodes anew: nothing of the item is used after it.
        const void* shown = nodeData(item);
        const int viewKind = GetViewKind(item);
        TreeView1->setCurrentItem(item);
        TreeView1DblClick();
        if (m_gridKind != viewKind || PageKindOf(viewKind) != kind ||
            (kind == kMemberGamesPage ? m_gridMember : static_cast<void*>(m_gridTeam)) != shown)
            return false;
        const THtmlSaveAll::Outcome outcome = saveAll.WritePage(kind, name);
        if (outcome == THtmlSaveAll::Outcome::Failed)
            platform::dialogs().messageBox(QStringLiteral("保存に失敗しました\n") + saveAll.FailedFile(),
                                           kCaption, platform::Buttons::Ok);
        return outcome == THtmlSaveAll::Outcome::GoOn;
    };

    // The personal totals link row n to page n: both list the visible members in member order once
    // the member nodes are listed anew.
    RefreshMemberNodes(node, false);
    bool goOn = writePage(-1, kTeamResultsPage, QStringLiteral("Team_.html"));
    for (int i = 0; goOn && teamNode() && i < teamNode()->childCount(); ++i) {
        goOn = i == 0 ? writePage(0, kPersonalTotalsPage, QStringLiteral("AllKojin_.html"))
                      : writePage(i, kMemberGamesPage, QString::number(i) + QStringLiteral("_.html"));
    }
    if (saveAll.Wrote()) {
        TSaveHtmlDlg list(this, TSaveHtmlDlg::kListMode, saveAll.Report());
        platform::dialogs().showModal(list);
    }
}

} // namespace hoopledger
