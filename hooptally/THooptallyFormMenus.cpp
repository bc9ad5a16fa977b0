// The main window's menu bar, tool bar, actions and the play-by-play grid's pop-up.
#include "hooptally/THooptallyForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "hooptally/Tfkey.h"
#include "hooptally/Tsplaying.h"
#include "platform/Named.h"
#include "platform/StringGrid.h"

namespace hooptally {

using platform::named;

namespace {

// An action of the window: its shortcut works wherever the focus is in the main window, and its
// hint shows in the status bar while the pointer is on its menu item or tool button.
QAction* makeAction(QWidget* window, const char* name, const QString& text, const QString& hint = {},
                    const QKeySequence& shortcut = {})
{
    auto* action = named(new QAction(text, window), name);
    action->setShortcut(shortcut);
    // A caption's accelerator, "(&N)" or "&", is no part of its hint.
    static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)|&"));
    action->setStatusTip(hint.isEmpty() ? QString(text).remove(accelerator) : hint);
    action->setToolTip(action->statusTip());
    window->addAction(action);
    return action;
}

// A menu item with a caption of its own that runs an action. It shows the action's shortcut, which
// only the action itself answers (the item's copy acts only while its menu has the focus).
QAction* forwardingItem(QMenu* menu, const char* name, const QString& text, QAction* target)
{
    QAction* item = named(menu->addAction(text), name);
    item->setShortcut(target->shortcut());
    item->setShortcutContext(Qt::WidgetShortcut);
    item->setStatusTip(target->statusTip());
    QObject::connect(item, &QAction::triggered, target, &QAction::trigger);
    return item;
}

// Cut, copy or paste on the edit control that has the focus; nothing when it is not one.
template <typename LineEditCommand, typename TextEditCommand>
void editFocusedControl(LineEditCommand lineCommand, TextEditCommand textCommand)
{
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus))
        (line->*lineCommand)();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(focus))
        (text->*textCommand)();
}

// The keyboard menu (Alt+E) takes the focus, and a line edit that loses it that way drops its
// selection: the menu's cut and copy would find nothing selected. The edit keeps it, as for a pop-up.
class SelectionKeeper : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::FocusOut &&
               static_cast<QFocusEvent*>(event)->reason() == Qt::MenuBarFocusReason;
    }
};

// Runs a handler on a left click of a control that has no click of its own (a label).
class ClickForwarder : public QObject
{
public:
    ClickForwarder(QWidget* control, std::function<void()> onClick)
        : QObject(control), m_onClick(std::move(onClick))
    {
        control->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint()))
            return false;
        m_onClick();
        return true;
    }

private:
    std::function<void()> m_onClick;
};

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

void THooptallyForm::buildActions()
{
    FileNew1 = makeAction(this, "FileNew1", QStringLiteral("新規作成(&N)"), QString(),
                          QKeySequence(Qt::CTRL | Qt::Key_N));
    FileOpen1 = makeAction(this, "FileOpen1", QStringLiteral("開く(&O)..."), QString(),
                           QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSave1 = makeAction(this, "FileSave1", QStringLiteral("上書き保存(&S)"), QString(),
                           QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSaveAs1 = makeAction(this, "FileSaveAs1", QStringLiteral("名前をつけて保存(&A)..."));
    SaveHtml = makeAction(this, "SaveHtml", QStringLiteral("試合結果をHtmlで保存...(&h)"), QString(),
                          QKeySequence(Qt::CTRL | Qt::Key_H));
    OfficialSave = makeAction(this, "OfficialSave", QStringLiteral("試合結果をｵﾌｨｼｬﾙで保存..(&F)"), QString(),
                              QKeySequence(Qt::CTRL | Qt::Key_F));
    FileExit1 = makeAction(this, "FileExit1", QStringLiteral("終了(&X)"));
    EditCut1 = makeAction(this, "EditCut1", QStringLiteral("切り取り(&T)"), QString(),
                          QKeySequence(Qt::CTRL | Qt::Key_X));
    EditCopy1 = makeAction(this, "EditCopy1", QStringLiteral("コピー(&C)"), QString(),
                           QKeySequence(Qt::CTRL | Qt::Key_C));
    EditPaste1 = makeAction(this, "EditPaste1", QStringLiteral("貼り付け(&P)"), QString(),
                            QKeySequence(Qt::CTRL | Qt::Key_V));
    ctrlZ1 = makeAction(this, "ctrlZ1", QStringLiteral("元に戻す(&U)"), QString(),
                        QKeySequence(Qt::CTRL | Qt::Key_Z));
    R1 = makeAction(this, "R1", QStringLiteral("再読み込み(&R)"),
                          QStringLiteral("再読み込み & プレイヤーのソート"));
    ReadTeamA = makeAction(this, "ReadTeamA", QStringLiteral("Ｒｅａｄ(&R)"), QStringLiteral("TeamA Read"));
    WriteTeamA = makeAction(this, "WriteTeamA", QStringLiteral("Write(&W)"), QStringLiteral("TeamA Write"));
    N4 = makeAction(this, "N4", QStringLiteral("チーム名(&N)"), QStringLiteral("TeamA チーム名"));
    ReadTeamB = makeAction(this, "ReadTeamB", QStringLiteral("Read(&R)"), QStringLiteral("TeamB Read"));
    WriteTeamB = makeAction(this, "WriteTeamB", QStringLiteral("Write(&W)"), QStringLiteral("TeamB Write"));
    N5 = makeAction(this, "N5", QStringLiteral("チーム名(&N)"), QStringLiteral("TeamB チーム名"));
    CoatPlayerTeamA =
        makeAction(this, "CoatPlayerTeamA", QStringLiteral("TeamA(&A)"), QStringLiteral("ﾌﾟﾚｲﾔｰ選択(A)"));
    CoatPlayerTeamB =
        makeAction(this, "CoatPlayerTeamB", QStringLiteral("TeamB(&B)"), QStringLiteral("ﾌﾟﾚｲﾔｰ選択(B)"));
    MenuPeriodEnd = makeAction(this, "MenuPeriodEnd", QStringLiteral("ﾋﾟﾘｵﾄﾞ終了(&P)"));
    MenuGameEnd = makeAction(this, "MenuGameEnd", QStringLiteral("試合終了(&G)"));
    Optiono2 = makeAction(this, "Optiono2", QStringLiteral("Option(&O)"));
    Hoopledger1 = makeAction(this, "Hoopledger1", QStringLiteral("Hoopledger起動"));
    HelpAbout1 = makeAction(this, "HelpAbout1", QStringLiteral("バージョン情報(&A)..."));

    // The commands that replace the game ask the close question first when they come from the user.
    auto asking = [this](auto command) {
        return [this, command] { RunAfterCloseQuestion([this, command] { (this->*command)(); }); };
    };
    connect(FileNew1, &QAction::triggered, this, asking(&THooptallyForm::FileNew1Execute));
    connect(FileOpen1, &QAction::triggered, this, [this] { FileOpen1Execute(true); });
    connect(FileSave1, &QAction::triggered, this, &THooptallyForm::FileSave1Execute);
    connect(FileSaveAs1, &QAction::triggered, this, &THooptallyForm::FileSave1Execute);
    connect(SaveHtml, &QAction::triggered, this, &THooptallyForm::FileSaveAsItemClick);
    connect(OfficialSave, &QAction::triggered, this, &THooptallyForm::OfficialSaveClick);
    connect(FileExit1, &QAction::triggered, this, &THooptallyForm::FileExit1Execute);
    connect(ctrlZ1, &QAction::triggered, this, &THooptallyForm::ctrlZ1Click);
    connect(R1, &QAction::triggered, this, &THooptallyForm::ToolButton18Click);
    connect(ReadTeamA, &QAction::triggered, this, asking(&THooptallyForm::BitBtn1Click));
    connect(WriteTeamA, &QAction::triggered, this, &THooptallyForm::BitBtn2Click);
    connect(N4, &QAction::triggered, this, &THooptallyForm::TeamANameMemoClick);
    connect(ReadTeamB, &QAction::triggered, this, asking(&THooptallyForm::BitBtn3Click));
    connect(WriteTeamB, &QAction::triggered, this, &THooptallyForm::BitBtn4Click);
    connect(N5, &QAction::triggered, this, &THooptallyForm::TeamBNameMemoClick);
    connect(CoatPlayerTeamA, &QAction::triggered, this, &THooptallyForm::CoatPlayerTeamAClick);
    connect(CoatPlayerTeamB, &QAction::triggered, this, &THooptallyForm::CoatPlayerTeamBClick);
    connect(MenuPeriodEnd, &QAction::triggered, this, &THooptallyForm::MenuPeriodEndClick);
    connect(MenuGameEnd, &QAction::triggered, this, &THooptallyForm::MenuGameEndClick);
    connect(Optiono2, &QAction::triggered, this, &THooptallyForm::Optiono2Click);
    connect(Hoopledger1, &QAction::triggered, this, &THooptallyForm::Hoopledger1Click);
    connect(HelpAbout1, &QAction::triggered, this, &THooptallyForm::HelpAbout1Execute);
    // The standard edit actions work on the edit control that has the focus.
    connect(EditCut1, &QAction::triggered, this,
            [] { editFocusedControl(&QLineEdit::cut, &QPlainTextEdit::cut); });
    connect(EditCopy1, &QAction::triggered, this,
            [] { editFocusedControl(&QLineEdit::copy, &QPlainTextEdit::copy); });
    connect(EditPaste1, &QAction::triggered, this,
            [] { editFocusedControl(&QLineEdit::paste, &QPlainTextEdit::paste); });
    auto* keeper = new SelectionKeeper(this);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(keeper);
    new ClickForwarder(TeamAName, [this] { TeamANameMemoClick(); });
    new ClickForwarder(TeamBName, [this] { TeamBNameMemoClick(); });
    new ClickForwarder(OpenA, asking(&THooptallyForm::BitBtn1Click));
    new ClickForwarder(OpenB, asking(&THooptallyForm::BitBtn3Click));
    connect(BitBtn1, &QPushButton::clicked, this, asking(&THooptallyForm::BitBtn1Click));
    connect(BitBtn3, &QPushButton::clicked, this, asking(&THooptallyForm::BitBtn3Click));
    connect(BitBtn2, &QPushButton::clicked, this, &THooptallyForm::BitBtn2Click);
    connect(BitBtn4, &QPushButton::clicked, this, &THooptallyForm::BitBtn4Click);
}

void THooptallyForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = named(bar->addMenu(QStringLiteral("ファイル(&F)")), "File1");
    file->addAction(FileNew1);
    forwardingItem(file, "OpenItem", QStringLiteral("試合結果を開く(&O)..."), FileOpen1);
    forwardingItem(file, "SaveItem", QStringLiteral("試合結果を保存(&S)..."), FileSave1);
    file->addAction(FileSaveAs1);
    file->addSeparator();
    file->addAction(SaveHtml);
    file->addAction(OfficialSave);
    file->addSeparator();
    file->addAction(FileExit1);

    QMenu* edit = named(bar->addMenu(QStringLiteral("編集(&E)")), "Edit1");
    edit->addAction(ctrlZ1);
    edit->addSeparator();
    edit->addActions({EditCut1, EditCopy1, EditPaste1});
    edit->addSeparator();
    edit->addAction(R1);

    QMenu* teams = named(bar->addMenu(QStringLiteral("チーム(&T)")), "Team1");
    QMenu* teamA = named(teams->addMenu(QStringLiteral("TeamA(&A)")), "TeamA1");
    teamA->addActions({ReadTeamA, WriteTeamA, N4});
    QMenu* teamB = named(teams->addMenu(QStringLiteral("TeamB(&B)")), "TeamB1");
    teamB->addActions({ReadTeamB, WriteTeamB, N5});
    teams->addSeparator();
    QMenu* court = named(teams->addMenu(QStringLiteral("ｺｰﾄﾌﾟﾚｲﾔｰ選択(&S)")), "CoatPlayer1");
    court->addActions({CoatPlayerTeamA, CoatPlayerTeamB});

    QMenu* game = named(bar->addMenu(QStringLiteral("試合(&G)")), "Game1");
    game->addActions({MenuPeriodEnd, MenuGameEnd});

    QMenu* view = named(bar->addMenu(QStringLiteral("表示(&V)")), "View1");
    buildViewMenu(view);

    QMenu* tools = named(bar->addMenu(QStringLiteral("ツール(&L)")), "Tool1");
    tools->addAction(Optiono2);
    tools->addAction(Hoopledger1);

    QMenu* help = named(bar->addMenu(QStringLiteral("ヘルプ(&H)")), "Help1");
    help->addAction(HelpAbout1);
}

void THooptallyForm::buildViewMenu(QMenu* view)
{
    const std::pair<const char*, QString> pages[] = {{"T1", QStringLiteral("大会情報(&T)")},
                                                     {"OfficialO1", QStringLiteral("Official(&O)")},
                                                     {"StatsS1", QStringLiteral("Stats(&S)")},
                                                     {"PlayingP1", QStringLiteral("Playing(&P)")}};
    for (int page = 0; page < 4; ++page) {
        QAction* item =
            view->addAction(pages[page].second, this, [this, page] { PageControl1->setCurrentIndex(page); });
        named(item, pages[page].first);
    }
    QAction* fkey = view->addAction(QStringLiteral("FKey(&F)"), this, [] {
        if (FKey())
            FKey()->show();
    });
    named(fkey, "FKeyF1");
}

void THooptallyForm::buildToolBar()
{
    const std::pair<QAction*, QStyle::StandardPixmap> iconButtons[] = {
        {FileNew1, QStyle::SP_FileIcon},
        {FileOpen1, QStyle::SP_DialogOpenButton},
        {FileSave1, QStyle::SP_DialogSaveButton},
        {SaveHtml, QStyle::SP_FileDialogDetailedView},
    };
    for (const auto& [action, pixmap] : iconButtons) {
        action->setIcon(standardIcon(pixmap));
        ToolBar1->addAction(action);
    }
    // Buttons that carry a caption of their own (a tool button shows the action's icon text).
    auto captioned = [this](QAction* action, const QString& caption) {
        action->setIconText(caption);
        ToolBar1->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action)))
            button->setToolButtonStyle(action->icon().isNull() ? Qt::ToolButtonTextOnly
                                                               : Qt::ToolButtonTextBesideIcon);
    };
    captioned(OfficialSave, QStringLiteral("シート保存"));
    ToolBar1->addSeparator();
    captioned(ReadTeamA, QStringLiteral("A Read"));
    captioned(WriteTeamA, QStringLiteral("A Write"));
    captioned(ReadTeamB, QStringLiteral("B Read"));
    captioned(WriteTeamB, QStringLiteral("B Write"));
    ToolBar1->addSeparator();
    captioned(CoatPlayerTeamA, QStringLiteral("ﾌﾟﾚｲﾔｰ選択(A)"));
    captioned(CoatPlayerTeamB, QStringLiteral("ﾌﾟﾚｲﾔｰ選択(B)"));
    ToolBar1->addSeparator();
    captioned(R1, QStringLiteral("再読み込み"));
    captioned(ctrlZ1, QStringLiteral("元に戻す"));
    ToolBar1->addSeparator();
    captioned(EditCut1, QStringLiteral("切り取り"));
    captioned(EditCopy1, QStringLiteral("コピー"));
    captioned(EditPaste1, QStringLiteral("貼り付け"));
    ToolBar1->addSeparator();
    Hoopledger1->setIcon(standardIcon(QStyle::SP_ComputerIcon));
    ToolBar1->addAction(Hoopledger1);
}

void THooptallyForm::buildPlayLogPopup()
{
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    TPlayLog* log = m_playLog.get();
    const std::tuple<const char*, QString, int> items[] = {
        {"Modify1", QStringLiteral("修正(&M)"), kModifyEntry},
        {"Delete1", QStringLiteral("削除(&D)"), kDeleteEntry},
        {"Insert1", QStringLiteral("挿入(&I)"), kInsertEntry},
    };
    for (const auto& [name, text, mode] : items) {
        QAction* item = named(PopupMenu1->addAction(text), name);
        connect(item, &QAction::triggered, this, [log, mode = mode] { log->EditPlayLog(mode); });
    }
    GridPlaying->SetPopupMenu(PopupMenu1);
    GridPlaying->OnPopup = [this] { PopupMenu1Popup(); };
}

void THooptallyForm::PopupMenu1Popup()
{
    if (auto* insert = PopupMenu1->findChild<QAction*>(QStringLiteral("Insert1")))
        insert->setEnabled(m_playLog->PlayLogPopup());
}

} // namespace hooptally
