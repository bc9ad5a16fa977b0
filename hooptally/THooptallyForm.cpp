#include "hooptally/THooptallyForm.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "hooptally/Common.h"
#include "hooptally/Runscore.h"
#include "hooptally/TOption.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tfkey.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tstats.h"
#include "platform/Codec.h"
#include "platform/DateTime.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"
#include "platform/StringGrid.h"
#include "platform/StringList.h"

namespace hooptally {

namespace {

using platform::named;

QLabel* scoreLabel(QWidget* parent, const char* name, const QString& text, int points)
{
    auto* label = named(new QLabel(text, parent), name);
    label->setFont(platform::makeFont(QStringLiteral("ＭＳ Ｐゴシック"), points, true));
    return label;
}

} // namespace

THooptallyForm::THooptallyForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("HooptallyForm"));
    setWindowTitle(kProgramTitle);
    setFont(platform::defaultFormFont());
    resize(1024, 740);

    ToolBar1 = named(addToolBar(QString()), "ToolBar1");
    ToolBar1->setMovable(false);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildScorePanel(central);
    buildClockBar(central);
    PageControl1 = named(new QTabWidget(central), "PageControl1");
    layout->addWidget(Panel12);
    layout->addWidget(Panel3);
    layout->addWidget(PageControl1, 1);
    setCentralWidget(central);
    buildGameInfoPage();
    buildOfficialPage();
    buildStatsPage();
    buildPlayByPlayPage();
    StatusBar = named(statusBar(), "StatusBar");
    buildActions();
    buildMenus();
    buildToolBar();

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &THooptallyForm::Timer1Timer);
    connect(PageControl1, &QTabWidget::currentChanged, this, &THooptallyForm::PageControl1Change);

    // A new game has two empty teams until the first activation resets the game.
    m_teamA = std::make_unique<TTeam>(GetTeamColor(kSideA), kSideA);
    m_teamB = std::make_unique<TTeam>(GetTeamColor(kSideB), kSideB);
    // The settings' restart leaves the message loop: the windows are not closed, so neither the close
    // question nor the window placement comes.
    quitProgram = [] { QCoreApplication::exit(0); };
    SetMainForm(this);
    FormCreate();
    buildPlayLogPopup();
}

THooptallyForm::~THooptallyForm()
{
    FormDestroy();
    if (MainForm() == this)
        SetMainForm(nullptr);
}

void THooptallyForm::buildScorePanel(QWidget* parent)
{
    Panel12 = named(new QFrame(parent), "Panel12");
    Panel12->setFixedHeight(112);
    auto* row = new QHBoxLayout(Panel12);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    auto buildTeam = [this](const char* panel, const char* nameLabel, const char* total, const char* fouls,
                            const char* open, QLabel*& nameOut, QLabel*& totalOut, QLabel*& foulsOut,
                            QLabel*& openOut) {
        auto* frame = named(new QFrame(Panel12), panel);
        frame->setFrameShape(QFrame::StyledPanel);
        auto* grid = new QGridLayout(frame);
        nameOut = scoreLabel(frame, nameLabel, QString(), 14);
        totalOut = scoreLabel(frame, total, QStringLiteral("999"), 36);
        totalOut->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        foulsOut = scoreLabel(frame, fouls, QStringLiteral("ﾁｰﾑﾌｧｳﾙ(0)"), 10);
        openOut = named(new QLabel(frame), open);
        openOut->setPixmap(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16, 16));
        openOut->setToolTip(QStringLiteral("Read"));
        grid->addWidget(nameOut, 0, 0, 1, 2);
        grid->addWidget(totalOut, 0, 2, 2, 1);
        grid->addWidget(foulsOut, 1, 0);
        grid->addWidget(openOut, 1, 1);
        return frame;
    };
    PanelTeamA = buildTeam("PanelTeamA", "TeamAName", "TeamATotalCnt", "TeamAFoulCnt", "OpenA", TeamAName,
                           TeamATotalCnt, TeamAFoulCnt, OpenA);
    PanelTeamB = buildTeam("PanelTeamB", "TeamBName", "TeamBTotalCnt", "TeamBFoulCnt", "OpenB", TeamBName,
                           TeamBTotalCnt, TeamBFoulCnt, OpenB);
    SplitTeamA = named(new QFrame(Panel12), "SplitTeamA");
    SplitTeamA->setFixedWidth(3);
    SplitTeamB = named(new QFrame(Panel12), "SplitTeamB");
    SplitTeamB->setFixedWidth(3);
    SplitTeamB->setMinimumHeight(1);
    PanelCount = named(new QFrame(Panel12), "PanelCount");
    PanelCount->setFrameShape(QFrame::StyledPanel);
    // Its height places the period labels, also before the window is first shown.
    PanelCount->setFixedHeight(Panel12->height());
    const char* names[] = {"LaCount1st", "LaCount2nd", "LaCount3rd",
                           "LaCount4th", "LaCountOT1", "LaCountOT2"};
    QLabel** labels[] = {&LaCount1st, &LaCount2nd, &LaCount3rd, &LaCount4th, &LaCountOT1, &LaCountOT2};
    static_assert(std::size(labels) == kMaxPeriods);
    for (int i = 0; i < kMaxPeriods; ++i) {
        *labels[i] = scoreLabel(PanelCount, names[i], QStringLiteral("99  -  99"), 9);
        (*labels[i])->adjustSize();
        (*labels[i])->move(8, 8 + i * 16);
    }
    row->addWidget(PanelTeamA);
    row->addWidget(SplitTeamA);
    row->addWidget(PanelCount, 1);
    row->addWidget(SplitTeamB);
    row->addWidget(PanelTeamB);
}

void THooptallyForm::buildClockBar(QWidget* parent)
{
    Panel3 = named(new QFrame(parent), "Panel3");
    auto* row = new QHBoxLayout(Panel3);
    row->setContentsMargins(4, 2, 4, 2);
    QuatorCombo = named(new QComboBox(Panel3), "QuatorCombo");
    QuatorCombo->addItems({QStringLiteral("1st"), QStringLiteral("2nd"), QStringLiteral("3rd"),
                           QStringLiteral("4th"), QStringLiteral("OT1"), QStringLiteral("OT2")});
    Button1 = named(new QPushButton(QStringLiteral("ピリオド終了"), Panel3), "Button1");
    GameEnd = named(new QPushButton(QStringLiteral("試合終了"), Panel3), "GameEnd");
    auto clockField = [this](const char* name) {
        auto* edit = named(new QLineEdit(QStringLiteral("00"), Panel3), name);
        edit->setReadOnly(true);
        edit->setFixedWidth(44);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFont(platform::makeFont(QStringLiteral("ＭＳ ゴシック"), 16, true));
        return edit;
    };
    TimerMin = clockField("TimerMin");
    TimerSec = clockField("TimerSec");
    TimeStartStopB = named(new QPushButton(QStringLiteral("Start"), Panel3), "TimeStartStopB");
    TimeClearB = named(new QPushButton(QStringLiteral("Reset"), Panel3), "TimeClearB");
    TimerModifyB = named(new QPushButton(QStringLiteral("Modify"), Panel3), "TimerModifyB");
    row->addWidget(QuatorCombo);
    row->addWidget(Button1);
    row->addWidget(GameEnd);
    row->addSpacing(16);
    row->addWidget(TimerMin);
    row->addWidget(new QLabel(QStringLiteral(":"), Panel3));
    row->addWidget(TimerSec);
    row->addWidget(TimeStartStopB);
    row->addWidget(TimeClearB);
    row->addWidget(TimerModifyB);
    row->addStretch(1);

    connect(QuatorCombo, &QComboBox::activated, this, &THooptallyForm::QuatorComboChange);
    connect(Button1, &QPushButton::clicked, this, &THooptallyForm::SpeedButton1Click);
    connect(GameEnd, &QPushButton::clicked, this, &THooptallyForm::GameEndClick);
    connect(TimeStartStopB, &QPushButton::clicked, this, &THooptallyForm::TimeStartStopBClick);
    connect(TimeClearB, &QPushButton::clicked, this, &THooptallyForm::TimeClearBClick);
    connect(TimerModifyB, &QPushButton::clicked, this, &THooptallyForm::TimerModifyBClick);
}

void THooptallyForm::buildGameInfoPage()
{
    TabSheet4 = named(new QWidget, "TabSheet4");
    auto* grid = new QGridLayout(TabSheet4);
    int row = 0;
    auto addField = [&](const QString& label, QWidget* field) {
        grid->addWidget(new QLabel(label, TabSheet4), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    auto edit = [this](const char* name) { return named(new QLineEdit(TabSheet4), name); };
    Taikaimei = edit("Taikaimei");
    Basho = edit("Basho");
    TaikaiNo = edit("TaikaiNo");
    DateTimePicker1 = named(new QDateEdit(TabSheet4), "DateTimePicker1");
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker2 = named(new QTimeEdit(TabSheet4), "DateTimePicker2");
    DateTimePicker2->setDisplayFormat(QStringLiteral("H:mm:ss"));
    addField(QStringLiteral("大会名"), Taikaimei);
    addField(QStringLiteral("場所"), Basho);
    addField(QStringLiteral("No."), TaikaiNo);
    addField(QStringLiteral("日付"), DateTimePicker1);
    addField(QStringLiteral("時間"), DateTimePicker2);
    shushin = edit("shushin");
    fukusin = edit("fukusin");
    Scorekeeper = edit("Scorekeeper");
    AScorekeeper = edit("AScorekeeper");
    TimeKeeper = edit("TimeKeeper");
    Operator = edit("Operator");
    TO_Team = edit("TO_Team");
    addField(QStringLiteral("主審:Referee"), shushin);
    addField(QStringLiteral("副審：Umpire"), fukusin);
    addField(QStringLiteral("ｽｺｱｷｰﾊﾟｰ:ScoreKeeper"), Scorekeeper);
    addField(QStringLiteral("A.ｽｺｱｷｰﾊﾟｰ:A.ScoreKeeper"), AScorekeeper);
    addField(QStringLiteral("ﾀｲﾑｷｰﾊﾟｰ：Timekeeper"), TimeKeeper);
    addField(QStringLiteral("24(30)秒ｵﾍﾟﾚｲﾀｰ：Operator"), Operator);
    addField(QStringLiteral("TO担当ﾁｰﾑ(男,女)"), TO_Team);
    grid->itemAtPosition(row - 1, 0)->widget()->hide();
    TO_Team->hide();
    Senhyou = named(new QPlainTextEdit(TabSheet4), "Senhyou");
    grid->addWidget(new QLabel(QStringLiteral("戦評"), TabSheet4), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Htmlタグを使用することも可能です"), TabSheet4), 0, 3);
    grid->addWidget(Senhyou, 1, 2, row - 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 2);
    PageControl1->addTab(TabSheet4, QStringLiteral("GameInfo"));
    connect(Taikaimei, &QLineEdit::editingFinished, this, &THooptallyForm::TaikaimeiExit);
}

void THooptallyForm::buildOfficialPage()
{
    TabSheet1 = named(new QWidget, "TabSheet1");
    auto* page = new QVBoxLayout(TabSheet1);
    page->setContentsMargins(0, 0, 0, 0);
    // The sheets keep the size of the paper form; the page scrolls when the window is smaller.
    auto* scroll = named(new QScrollArea(TabSheet1), "OfficialScroll");
    scroll->setWidgetResizable(false);
    auto* sheets = new QWidget(scroll);
    auto* row = new QHBoxLayout(sheets);
    row->setSizeConstraint(QLayout::SetFixedSize);
    GridTeamA = named(new platform::StringGrid(sheets), "GridTeamA");
    GridTeamB = named(new platform::StringGrid(sheets), "GridTeamB");
    GridRun = named(new platform::StringGrid(sheets), "GridRun");
    auto* teams = new QVBoxLayout;
    teams->addWidget(GridTeamA);
    teams->addWidget(GridTeamB);
    teams->addStretch(1);
    row->addLayout(teams);
    row->addWidget(GridRun, 0, Qt::AlignTop);
    scroll->setWidget(sheets);
    page->addWidget(scroll);
    PageControl1->addTab(TabSheet1, QStringLiteral("Official"));
    for (platform::StringGrid* grid : {GridTeamA, GridTeamB}) {
        grid->OnDrawCell = [this, grid](int col, int r, const QRect& rect, unsigned) {
            if (IsGridUpdateOn())
                TeamGridDrawCell(this, grid, col, r, rect);
        };
        grid->OnClick = [this, grid] { TeamGridClick(this, grid); };
        grid->OnDblClick = [this, grid] { TeamGridDblClick(this, grid); };
        grid->OnKeyUp = [this, grid](int& key, Qt::KeyboardModifiers) { TeamGridKeyUp(this, grid, key); };
        grid->OnKeyDown = [this, grid](int& key, Qt::KeyboardModifiers) { TeamGridKeyDown(this, grid, key); };
        // The press, whatever the handler's name: the box under a right press becomes current and its menu
        // opens at once, as context menus open on the press (the grid moves only on a left press).
        grid->OnMouseDown = [this, grid](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
            TeamGridMouseUp(this, grid, button, x, y);
        };
    }
    GridRun->OnDrawCell = [this](int col, int r, const QRect& rect, unsigned) {
        if (IsGridUpdateOn())
            RunningScoreDrawCell(this, col, r, rect);
    };
    GridRun->OnClick = [this] { RunningScoreClick(this); };
    GridRun->OnDblClick = [this] { RunningScoreDblClick(this); };
    GridRun->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            RunningScoreDblClick(this);
    };
    GridRun->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        RunningScoreMouseUp(this, button, x, y);
    };
    for (platform::StringGrid* grid : {GridTeamA, GridTeamB, GridRun}) {
        grid->OnEnter = [grid] { grid->Invalidate(); };
        grid->OnExit = [grid] { grid->Invalidate(); };
    }
    CreateSheetMenus(this);
}

void THooptallyForm::buildStatsPage()
{
    TabSheet2 = named(new QWidget, "TabSheet2");
    auto* column = new QVBoxLayout(TabSheet2);
    auto bar = [this](const char* panel, const char* label, const char* read, const char* write,
                      QLabel*& labelOut, QPushButton*& readOut, QPushButton*& writeOut) {
        auto* frame = named(new QFrame(TabSheet2), panel);
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(4, 2, 4, 2);
        labelOut = named(new QLabel(frame), label);
        labelOut->setFont(platform::makeFont(QStringLiteral("ＭＳ Ｐゴシック"), 12, true));
        readOut = named(new QPushButton(QStringLiteral("Read"), frame), read);
        writeOut = named(new QPushButton(QStringLiteral("Write"), frame), write);
        row->addWidget(labelOut, 1);
        row->addWidget(readOut);
        row->addWidget(writeOut);
        return frame;
    };
    Panel5 = bar("Panel5", "TeamALabel", "BitBtn1", "BitBtn2", TeamALabel, BitBtn1, BitBtn2);
    StringGrid1 = named(new platform::StringGrid(TabSheet2), "StringGrid1");
    Panel8 = bar("Panel8", "TeamBLabel", "BitBtn3", "BitBtn4", TeamBLabel, BitBtn3, BitBtn4);
    StringGrid2 = named(new platform::StringGrid(TabSheet2), "StringGrid2");
    column->addWidget(Panel5);
    column->addWidget(StringGrid1, 1);
    column->addWidget(Panel8);
    column->addWidget(StringGrid2, 1);
    PageControl1->addTab(TabSheet2, QStringLiteral("Stats"));

    for (platform::StringGrid* grid : {StringGrid1, StringGrid2}) {
        // One fixed header row and no fixed column: a click on the number selects its row.
        grid->SetFixedCols(0);
        grid->SetOptions(grid->Options() | platform::goRowSelect | platform::goColSizing);
        grid->OnDrawCell = [this, grid](int col, int row, const QRect& rect, unsigned) {
            if (IsGridUpdateOn())
                DrawStatsCell(grid, col, row, rect);
        };
        // A double click on the header opens nothing, though the grid's current row stays selected.
        grid->OnMouseDown = [this, grid](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
            int col = -1;
            grid->MouseToCell(x, y, col, m_pressedStatsRow);
        };
        grid->OnDblClick = [this, grid] {
            if (m_pressedStatsRow >= grid->FixedRows())
                OpenStatsRow(grid);
        };
        grid->OnKeyDown = [this, grid](int& key, Qt::KeyboardModifiers) {
            if (key != Qt::Key_Return && key != Qt::Key_Enter)
                return;
            // Opening a row runs a dialog: Enter must not open it again meanwhile.
            if (grid == StringGrid1) {
                if (m_enterGuard)
                    return;
                m_enterGuard = 1;
                OpenStatsRow(grid);
                m_enterGuard = 0;
                return;
            }
            OpenStatsRow(grid);
        };
    }
}

void THooptallyForm::buildPlayByPlayPage()
{
    TabSheet3 = named(new QWidget, "TabSheet3");
    auto* column = new QVBoxLayout(TabSheet3);
    GridPlaying = named(new platform::StringGrid(TabSheet3), "GridPlaying");
    GridPlaying->SetFixedCols(0);
    GridPlaying->SetOptions(GridPlaying->Options() | platform::goRangeSelect | platform::goRowSelect);
    column->addWidget(GridPlaying, 1);
    auto* buttons = new QHBoxLayout;
    PModifyBtn = named(new QPushButton(QStringLiteral("修正"), TabSheet3), "PModifyBtn");
    PInsertBtn = named(new QPushButton(QStringLiteral("挿入"), TabSheet3), "PInsertBtn");
    PDeleteBtn = named(new QPushButton(QStringLiteral("削除"), TabSheet3), "PDeleteBtn");
    PAddBtn = named(new QPushButton(QStringLiteral("追加"), TabSheet3), "PAddBtn");
    PDataReloadBtn =
        named(new QPushButton(QStringLiteral("データの再読み込み"), TabSheet3), "PDataReloadBtn");
    for (QPushButton* button : {PModifyBtn, PInsertBtn, PDeleteBtn, PAddBtn, PDataReloadBtn})
        buttons->addWidget(button);
    buttons->addStretch(1);
    column->addLayout(buttons);
    PageControl1->addTab(TabSheet3, QStringLiteral("PlayByPlay"));
}

void THooptallyForm::FormCreate()
{
    m_currentGameFile.clear();
    qApp->installEventFilter(this);
    m_activated = 0;
    QuatorCombo->setCurrentIndex(0);
    m_playLog = std::make_unique<TPlayLog>(this, GridPlaying);
    m_savedLogCount = 0;

    TPlayLog* log = m_playLog.get();
    GridPlaying->OnDrawCell = [log](int col, int row, const QRect& rect, unsigned) {
        log->PlayLogDrawCell(col, row, rect);
    };
    GridPlaying->OnSelectCell = [log](int col, int row, bool& canSelect) {
        log->PlayLogSelectCell(col, row, canSelect);
    };
    GridPlaying->OnKeyDown = [log](int& key, Qt::KeyboardModifiers) { log->PlayLogKeyDown(key); };
    GridPlaying->OnDblClick = [log] { log->EditPlayLog(kModifyEntry); };
    connect(GridPlaying, &platform::StringGrid::selectionChanged, this, [log] { log->updateEditButtons(); });
    log->updateEditButtons();
    connect(PModifyBtn, &QPushButton::clicked, this, [log] { log->EditPlayLog(kModifyEntry); });
    connect(PInsertBtn, &QPushButton::clicked, this, [log] { log->EditPlayLog(kInsertEntry); });
    connect(PDeleteBtn, &QPushButton::clicked, this, [log] { log->EditPlayLog(kDeleteEntry); });
    connect(PAddBtn, &QPushButton::clicked, this, [log] { log->EditPlayLog(kAppendEntry); });
    connect(PDataReloadBtn, &QPushButton::clicked, this, &THooptallyForm::ToolButton18Click);
}

void THooptallyForm::FormDestroy()
{
    // Children outlive this object by a moment: none of their signals may reach it any more.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    qApp->removeEventFilter(this);
    Timer1->stop();
    if (m_playLog) {
        m_playLog->ClearPlayLog();
        // The sheets let go of the players before the teams free them.
        ForgetTeam(m_teamA.get());
        ForgetTeam(m_teamB.get());
    }
    m_teamA.reset();
    m_teamB.reset();
    m_executor.reset();
    m_requestHandler.reset();
    FreeRunningScore(this);
    FreeTeamGrids(this);
}

void THooptallyForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormResize();
}

void THooptallyForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void THooptallyForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void THooptallyForm::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void THooptallyForm::FormActivate()
{
    if (m_activated)
        return;
    m_executor = std::make_unique<TActionExecutor>(*this);
    m_requestHandler = std::make_unique<TStatsRequestHandler>(this);
    if (Option()) {
        if (const auto placement = Option()->LoadWindowPlacement(QStringLiteral("Main")))
            ApplyWindowPlacement(*this, *placement);
    }
    m_activated = 1;
    CreateTeamGrids(this);
    CreateRunningScore(this);
    ResetGame(false, false);
    StopClock();
    TimeClearBClick();
    ShowClock();
    const QDateTime now = platform::DateTime::toQDateTime(platform::DateTime::Now());
    DateTimePicker1->setDate(now.date());
    DateTimePicker2->setTime(now.time());
    LaCountOT1->hide();
    LaCountOT2->hide();
    if (Option()) {
        loadStartupRoster(Option()->StartupRosterA(), m_teamA.get());
        loadStartupRoster(Option()->StartupRosterB(), m_teamB.get());
    }
    sendCourtInOfStarters();
    const int page =
        Option() ? Option()->IniFile().readInteger(QStringLiteral("Option"), QStringLiteral("ActivePage"), 1)
                 : 1;
    PageControl1->setCurrentIndex(std::clamp(page, 0, PageControl1->count() - 1));
    UpdateScorePanel();
    if (FKey())
        FKey()->show();
    ToolBar1->setFocus();
    m_periodMirror = 0;
    ApplyTeamColors();
    m_playLog->ReplayPlayLog();
    // Said once the window is up and answers requests: a message waiting for the scorer at start must
    // not keep other programs waiting too.
    if (Option())
        Option()->tellIfUnreadable();
    OpenCommandLineFile(QCoreApplication::arguments().mid(1));
}

void THooptallyForm::loadStartupRoster(const QString& path, TTeam* team)
{
    if (!QFileInfo::exists(path)) {
        EnsureAddRow(team);
        return;
    }
    // What the menu's team read refuses is refused here too: a game file named here would otherwise
    // become the team's roster file, and the next roster write would go over the game.
    const auto lines = readRosterFile(path);
    if (!lines) {
        EnsureAddRow(team);
        return;
    }
    LoadTeamRoster(path, *lines, team);
    FillStatsGrid(team, team->side == kSideA ? StringGrid1 : StringGrid2);
    FillTeamGrid(this, team);
    ShowTeamNames(team->side == kSideA ? team : nullptr, team->side == kSideA ? nullptr : team);
}

std::optional<QStringList> THooptallyForm::readChosenFile(const QString& path, qint64 maxBytes)
{
    QString refusal = kUnreadableFile;
    // Refused before it is read, or decoded: decoding a file far past the bound takes seconds and much
    // memory, and one line of a whole file's bytes would hold the sheets as long.
    if (const QFileInfo info(path); info.isFile() && info.size() > maxBytes) {
        refusal = FileSizeBoundText(maxBytes);
    } else if (const auto bytes = platform::readRegularFile(path, maxBytes)) {
        refusal = BytesBoundText(*bytes, maxBytes);
        if (refusal.isEmpty()) {
            platform::StringList lines;
            lines.setText(platform::Codec::fromCp932(*bytes));
            return lines;
        }
    }
    platform::dialogs().messageBox(refusal + QLatin1Char('\n') + path, kCaption, platform::Buttons::Ok);
    return std::nullopt;
}

std::optional<QStringList> THooptallyForm::readRosterFile(const QString& path)
{
    auto lines = readChosenFile(path, gamefile::kMaxMemberFileBytes);
    QString refusal = kUnreadableFile;
    if (lines && !IsRosterText(*lines, &refusal)) {
        platform::dialogs().messageBox(refusal + QLatin1Char('\n') + path, kCaption, platform::Buttons::Ok);
        return std::nullopt;
    }
    return lines;
}

void THooptallyForm::sendCourtInOfStarters()
{
    for (TTeam* team : {m_teamA.get(), m_teamB.get()}) {
        // Collected first: the actions run while the roster is being walked.
        std::vector<TPlayer*> starters;
        for (int i = 0; i < team->Count(); ++i) {
            // A coach marked "Starter" in a roster stays a coach: he does not come onto the court.
            if (team->PlayerAt(i)->starter == 1 && !team->PlayerAt(i)->IsCoach())
                starters.push_back(team->PlayerAt(i));
        }
        for (TPlayer* player : starters)
            PostGameAction(kPlayerAction, kCourtIn, player, kNone, kNone, kNone);
    }
}

void THooptallyForm::OpenCommandLineFile(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return;
    const QString path = arguments.join(QLatin1Char(' '));
    // No such file: nothing is said. Something there that is no game file is refused with a message,
    // and the current game file stays as it was.
    if (!QFileInfo::exists(path))
        return;
    OpenGameFile(path);
}

bool THooptallyForm::FormCloseQuery()
{
    return AskToSaveChanges();
}

void THooptallyForm::FormClose()
{
    if (!Option())
        return;
    const QRect frame = geometry();
    Option()->SaveWindowPlacement(QStringLiteral("Main"), frame.top(), frame.left(), frame.height(),
                                  frame.width());
    Option()->NoteWriteResult(Option()->IniFile().writeInteger(
        QStringLiteral("Option"), QStringLiteral("ActivePage"), PageControl1->currentIndex()));
}

void THooptallyForm::FormResize()
{
    const int half = (width() - 96 + 2) / 2;
    PanelTeamA->setFixedWidth(std::max(0, half - SplitTeamA->width() - 1));
    PanelTeamB->setFixedWidth(std::max(0, half - SplitTeamB->width() - 1));
    const int digits = QFontMetrics(TeamATotalCnt->font()).horizontalAdvance(QStringLiteral("999"));
    TeamAName->setFixedWidth(std::max(0, PanelTeamA->width() - digits - 10));
    TeamBName->setFixedWidth(std::max(0, PanelTeamB->width() - digits - 10));
}

void THooptallyForm::PageControl1Change(int index)
{
    if (index != 1)
        return;
    FillStatsGrid(m_teamA.get(), StringGrid1);
    FillStatsGrid(m_teamB.get(), StringGrid2);
    UpdateScorePanel();
}

void THooptallyForm::resetTeam(std::unique_ptr<TTeam>& team, bool keep, int side)
{
    platform::StringGrid* grid = side == kSideA ? StringGrid1 : StringGrid2;
    if (!keep) {
        grid->SetTag(0);
        ForgetTeam(team.get());
        team = std::make_unique<TTeam>(GetTeamColor(side), side);
        return;
    }
    const ClockState clock = GetClockState();
    for (int i = 0; i < team->Count(); ++i) {
        TPlayer* player = team->PlayerAt(i);
        player->ResetPlayerStats();
        player->ClearPlayedFlags();
        // Coaches stay coaches even when a roster marks them as starters.
        if (player->leftOffTheList) {
            player->status = kNotListed;
        } else if (player->starter == 1 && !player->IsCoach()) {
            player->status = kOnCourt;
            player->ClockIn(clock.period, clock.minutes, clock.seconds);
        } else if (player->status == kOnCourt) {
            player->status = kOnBench;
        }
    }
    team->ResetTeamFouls(kAllPeriods);
    team->ResetPeriodClocks();
    team->StartPeriodClock(clock.period, clock.minutes, clock.seconds);
}

void THooptallyForm::ResetGame(bool keepA, bool keepB)
{
    SetGridUpdate(false);
    QuatorCombo->setCurrentIndex(0);
    m_periodMirror = 0;
    TimeClearBClick();
    // Emptied before the teams: a replaced team's players must not outlive the entries naming them.
    m_playLog->ResetPlayLogGrid(true);
    resetTeam(m_teamA, keepA, kSideA);
    resetTeam(m_teamB, keepB, kSideB);
    InitStatsGrids();
    SyncTeamLabels();
    if (!keepA)
        EnsureAddRow(m_teamA.get());
    if (!keepB)
        EnsureAddRow(m_teamB.get());
    RedrawTeamGrids(this, keepA, keepB);
    ResetRunningScore(this);
    if (FKey())
        FKey()->RebuildFunctionKeyPages();
    // A replay brings the panel up to date once, at its end.
    if (!m_replaying)
        UpdateScorePanel();
    SetGridUpdate(true);
}

void THooptallyForm::ForgetTeam(const TTeam* team)
{
    if (!team)
        return;
    for (int i = 0; i < team->Count(); ++i)
        ForgetPlayer(team->PlayerAt(i));
}

void THooptallyForm::ForgetPlayer(const TPlayer* player)
{
    m_playLog->DropPlayerLogEntries(player);
    ForgetPlayerOnTeamGrids(this, player);
    ForgetPlayerOnRunningScore(this, player);
}

void THooptallyForm::Dispatch(platform::Message& message)
{
    if (messageSpy)
        messageSpy(message);
    switch (message.msg) {
    case platform::WM_COPYDATA:
        OnCopyDataMessage(message);
        break;
    case kScoreMarkMessage:
        OnScoreMarkMessage(this, message);
        break;
    case kActionForTeamGridMessage:
        OnActionForTeamGrid(this, message);
        break;
    case kDeleteByKeyMessage:
        OnDeleteByKeyMessage(message);
        break;
    case kPlayerStatusMessage:
        OnPlayerStatusChanged(this, message);
        break;
    case kFunctionKeyRefreshMessage:
        if (FKey())
            FKey()->OnFunctionKeyRefresh(message);
        break;
    case kFunctionKeyMessage:
        if (FKey())
            FKey()->OnFunctionKeyMessage(message);
        break;
    case kActionMessage:
        OnActionMessage(message);
        break;
    case kRegistrationMessage:
        OnRegistrationMessage(message);
        break;
    default:
        MessageWindow::Dispatch(message);
        break;
    }
}

void THooptallyForm::OnCopyDataMessage(platform::Message& message)
{
    message.result = m_requestHandler ? m_requestHandler->HandleStatsRequest(message) : 0;
}

void THooptallyForm::OnDeleteByKeyMessage(platform::Message& message)
{
    if (const auto action = platform::TakeRecord<GameAction>(message))
        m_playLog->DeleteLogEntryByKey(action->keyA, action->keyB);
}

namespace {

// Runs one action; true when it changed the recorded game.
bool executeAction(const GameAction& action)
{
    return ActionExecutor() && ActionExecutor()->ExecuteAction(action);
}

} // namespace

void THooptallyForm::OnActionMessage(platform::Message& message)
{
    const auto action = platform::TakeRecord<GameAction>(message);
    ReceiveAction(action.get());
}

void THooptallyForm::ReceiveAction(const GameAction* action)
{
    if (action && executeAction(*action) && !m_replaying)
        MarkGameChanged();
    // The sheets' handlers leave the score panel to the receivers: an action shows on it at once. A
    // replay brings it up to date once, at its end.
    if (!m_replaying)
        UpdateScorePanel();
    RebuildGridsIfEnabled();
}

void THooptallyForm::OnRegistrationMessage(platform::Message& message)
{
    const auto registration = platform::TakeRecord<PlayerRegistration>(message);
    if (registration && ActionExecutor() && ActionExecutor()->ExecuteRegistration(*registration))
        MarkGameChanged();
    UpdateScorePanel();
    RebuildGridsIfEnabled();
}

} // namespace hooptally
