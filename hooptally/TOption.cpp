#include "hooptally/TOption.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "hooptally/Common.h"
#include "hooptally/Tdbgform.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"

namespace hooptally {

using platform::named;

namespace {

TOption* g_option = nullptr;

const QString kOption = QStringLiteral("Option");
const QString kInitialize = QStringLiteral("Initialize");
const QString kKojin = QStringLiteral("Kojin");

// The setting and the list keep the index of a period length, not its minutes.
constexpr int playTimeOf(int minutes)
{
    return minutes - 1;
}
constexpr int minutesOf(int playTime)
{
    return playTime + 1;
}
constexpr int kDefaultPlayTime = playTimeOf(kDefaultPeriodMinutes);

QString iniPathOf(const QString& programPath)
{
    const QFileInfo info(programPath);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".ini"));
}

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, 180, 16);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TOption* Option()
{
    return g_option;
}

platform::TColor GetTeamColor(int side)
{
    if (const TOption* option = Option())
        return option->TeamColor(side);
    return side == kSideA ? kDefaultTeamAColor : kDefaultTeamBColor;
}

void SetTeamColor(int side, platform::TColor color)
{
    if (TOption* option = Option())
        option->SetTeamColor(side, color);
}

platform::TColor TOption::TeamColor(int side) const
{
    return m_teamColors[side == kSideA ? 0 : 1];
}

void TOption::SetTeamColor(int side, platform::TColor color)
{
    m_teamColors[side == kSideA ? 0 : 1] = color;
}

TOption::TOption(QWidget* parent, const QString& programPath) : QDialog(parent)
{
    const QString program = programPath.isEmpty() ? QCoreApplication::applicationFilePath() : programPath;
    // The folder never ends in a separator, and the root folder stays "/".
    m_programFolder = QFileInfo(program).absolutePath();
    m_ini = std::make_unique<platform::IniFile>(iniPathOf(program));
    buildControls();
    FormCreate();
    g_option = this;
}

TOption::~TOption()
{
    // Nothing to flush: every write reached the file at once, and writing here would create a file
    // that was only ever read.
    if (g_option == this)
        g_option = nullptr;
}

void TOption::buildControls()
{
    setObjectName(QStringLiteral("Option"));
    setWindowTitle(QStringLiteral("オプション"));
    setFont(platform::defaultFormFont());
    setFixedSize(424, 422);

    bMiniBasket =
        named(new QCheckBox(QStringLiteral("Official表示をミニバスで表示する"), this), "bMiniBasket");
    bMiniBasket->setGeometry(16, 6, 300, 20);

    auto makeEdit = [](QWidget* parent, const char* name, const QRect& rect) {
        auto* edit = named(new QLineEdit(parent), name);
        edit->setGeometry(rect);
        return edit;
    };
    auto makeButton = [](QWidget* parent, const char* name, const QString& text, const QRect& rect) {
        auto* button = named(new QPushButton(text, parent), name);
        button->setGeometry(rect);
        button->setAutoDefault(false);
        return button;
    };

    Edit1 = makeEdit(this, "Edit1", QRect(16, 44, 360, 21));
    BitBtn1 = makeButton(this, "BitBtn1", QStringLiteral("..."), QRect(380, 44, 28, 21));
    addLabel(this, QStringLiteral("ﾁｰﾑﾌｧｲﾙﾌｫﾙﾀﾞ"), 16, 28, Edit1);
    Edit2 = makeEdit(this, "Edit2", QRect(16, 84, 360, 21));
    BitBtn4 = makeButton(this, "BitBtn4", QStringLiteral("..."), QRect(380, 84, 28, 21));
    addLabel(this, QStringLiteral("ｹﾞｰﾑﾃﾞｰﾀﾌｫﾙﾀﾞ"), 16, 68, Edit2);

    GroupBox1 = named(new QGroupBox(QStringLiteral("起動時の設定"), this), "GroupBox1");
    GroupBox1->setGeometry(8, 110, 408, 140);
    LabeledEdit1 = makeEdit(GroupBox1, "LabeledEdit1", QRect(8, 34, 356, 21));
    BitBtn2 = makeButton(GroupBox1, "BitBtn2", QStringLiteral("..."), QRect(368, 34, 28, 21));
    addLabel(GroupBox1, QStringLiteral("ﾁｰﾑAﾒﾝﾊﾞｰﾌｧｲﾙ"), 8, 18, LabeledEdit1);
    LabeledEdit2 = makeEdit(GroupBox1, "LabeledEdit2", QRect(8, 74, 356, 21));
    BitBtn3 = makeButton(GroupBox1, "BitBtn3", QStringLiteral("..."), QRect(368, 74, 28, 21));
    addLabel(GroupBox1, QStringLiteral("ﾁｰﾑBﾒﾝﾊﾞｰﾌｧｲﾙ"), 8, 58, LabeledEdit2);
    LabeledEdit3 = makeEdit(GroupBox1, "LabeledEdit3", QRect(8, 114, 150, 21));
    LabeledEdit3->setReadOnly(true);
    BitBtn5 = makeButton(GroupBox1, "BitBtn5", QStringLiteral("..."), QRect(162, 114, 28, 21));
    addLabel(GroupBox1, QStringLiteral("ﾁｰﾑAｶﾗｰ"), 8, 98, LabeledEdit3);
    LabeledEdit4 = makeEdit(GroupBox1, "LabeledEdit4", QRect(210, 114, 150, 21));
    LabeledEdit4->setReadOnly(true);
    BitBtn6 = makeButton(GroupBox1, "BitBtn6", QStringLiteral("..."), QRect(364, 114, 28, 21));
    addLabel(GroupBox1, QStringLiteral("ﾁｰﾑBｶﾗｰ"), 210, 98, LabeledEdit4);

    KojinList = named(new QListWidget(this), "KojinList");
    // Seven rows: the thirteen switches in two columns, none behind a scroll bar.
    KojinList->setGeometry(16, 270, 392, 118);
    KojinList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    KojinList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Two columns: items flow down, then into the next column.
    KojinList->setFlow(QListView::TopToBottom);
    KojinList->setWrapping(true);
    KojinList->setResizeMode(QListView::Adjust);
    KojinList->setGridSize(QSize(190, 16));
    addLabel(this, QStringLiteral("個人記録設定"), 16, 254, KojinList);

    ComboPeriodTime = named(new QComboBox(this), "ComboPeriodTime");
    ComboPeriodTime->setGeometry(16, 394, 80, 22);
    for (int minutes = 1; minutes <= kMaxPeriodMinutes; ++minutes)
        ComboPeriodTime->addItem(QString::number(minutes) + QStringLiteral("分"));
    auto* periodLabel = addLabel(this, QStringLiteral("１ピリオドの時間設定"), 100, 397, ComboPeriodTime);
    periodLabel->setFixedWidth(140);

    OKBtn = makeButton(this, "OKBtn", QStringLiteral("OK"), QRect(250, 393, 75, 25));
    OKBtn->setDefault(true);
    CancelBtn = makeButton(this, "CancelBtn", QStringLiteral("キャンセル"), QRect(333, 393, 75, 25));

    connect(BitBtn1, &QPushButton::clicked, this, &TOption::BitBtn1Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TOption::BitBtn4Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TOption::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TOption::BitBtn3Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TOption::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TOption::BitBtn6Click);
    connect(OKBtn, &QPushButton::clicked, this, &TOption::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
}

void TOption::FormCreate()
{
    KojinList->clear();
    for (int code = 0; code < kStatSwitchCount; ++code) {
        auto* item = new QListWidgetItem(PlayKindTable[code].name, KojinList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    LoadSettings();
    showColors();
}

void TOption::tellIfUnreadable() const
{
    if (!m_ini->isReadable())
        platform::dialogs().messageBox(kUnreadableFile + QLatin1Char('\n') + m_ini->fileName(), kCaption,
                                       platform::Buttons::Ok);
}

void TOption::LoadSettings()
{
    auto loadFolder = [this](QLineEdit* edit, const QString& key) {
        edit->setText(m_ini->readString(kOption, key, QString()));
        if (edit->text().isEmpty())
            edit->setText(m_programFolder);
    };
    loadFolder(Edit1, QStringLiteral("FilePath"));
    loadFolder(Edit2, QStringLiteral("LogPath"));

    // Clamped only so that the conversion cannot overflow: one outside the list stays outside it.
    const int playTime = m_ini->readInteger(kOption, QStringLiteral("PlayTime"), kDefaultPlayTime);
    SetPeriodLength(minutesOf(std::clamp(playTime, playTimeOf(0), playTimeOf(kMaxPeriodMinutes + 1))));

    LabeledEdit1->setText(m_ini->readString(kInitialize, QStringLiteral("TeamA"), QString()));
    LabeledEdit2->setText(m_ini->readString(kInitialize, QStringLiteral("TeamB"), QString()));
    bMiniBasket->setChecked(m_ini->readBool(kInitialize, QStringLiteral("MiniBasket"), false));

    const int colorA = m_ini->readInteger(kInitialize, QStringLiteral("TeamAColor"), -1);
    SetTeamColor(kSideA, colorA == -1 ? kDefaultTeamAColor : colorA);
    const int colorB = m_ini->readInteger(kInitialize, QStringLiteral("TeamBColor"), -1);
    SetTeamColor(kSideB, colorB == -1 ? kDefaultTeamBColor : colorB);

    for (int i = 0; i < KojinList->count(); ++i)
        SetStatSwitch(i, m_ini->readBool(kKojin, QString::number(i), true));
}

bool TOption::SaveSettings()
{
    using platform::IniValue;
    QList<IniValue> values{IniValue::text(kOption, QStringLiteral("FilePath"), Edit1->text()),
                           IniValue::text(kOption, QStringLiteral("LogPath"), Edit2->text()),
                           IniValue::text(kInitialize, QStringLiteral("TeamA"), LabeledEdit1->text()),
                           IniValue::text(kInitialize, QStringLiteral("TeamB"), LabeledEdit2->text())};
    for (int i = 0; i < KojinList->count(); ++i)
        values << IniValue::boolean(kKojin, QString::number(i), StatSwitch(i));
    values << IniValue::integer(kOption, QStringLiteral("PlayTime"), ComboPeriodTime->currentIndex())
           << IniValue::boolean(kInitialize, QStringLiteral("MiniBasket"), bMiniBasket->isChecked())
           << IniValue::integer(kInitialize, QStringLiteral("TeamAColor"), TeamColor(kSideA))
           << IniValue::integer(kInitialize, QStringLiteral("TeamBColor"), TeamColor(kSideB));
    const bool ok = m_ini->writeValues(values);
    NoteWriteResult(ok);
    return ok;
}

bool TOption::SaveWindowPlacement(const QString& section, int top, int left, int height, int width)
{
    using platform::IniValue;
    const bool ok = m_ini->writeValues({IniValue::integer(section, QStringLiteral("Top"), top),
                                        IniValue::integer(section, QStringLiteral("Left"), left),
                                        IniValue::integer(section, QStringLiteral("Height"), height),
                                        IniValue::integer(section, QStringLiteral("Width"), width)});
    NoteWriteResult(ok);
    return ok;
}

void ApplyWindowPlacement(QWidget& window, const WindowPlacement& placement)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    // Twice the desktop holds whatever a desktop saved, also from a larger set of monitors.
    const QRect desktop = screen->availableVirtualGeometry();
    window.setGeometry(std::clamp(placement.left, desktop.left(), desktop.right()),
                       std::clamp(placement.top, desktop.top(), desktop.bottom()),
                       std::min(placement.width, 2 * desktop.width()),
                       std::min(placement.height, 2 * desktop.height()));
}

std::optional<WindowPlacement> TOption::LoadWindowPlacement(const QString& section) const
{
    WindowPlacement placement;
    placement.top = m_ini->readInteger(section, QStringLiteral("Top"), -1);
    if (placement.top == -1)
        return std::nullopt;
    placement.left = m_ini->readInteger(section, QStringLiteral("Left"), -1);
    placement.height = m_ini->readInteger(section, QStringLiteral("Height"), -1);
    placement.width = m_ini->readInteger(section, QStringLiteral("Width"), -1);
    return placement;
}

void TOption::NoteWriteResult(bool ok)
{
    if (ok)
        return;
    LogSaveFailure(m_ini->fileName(), m_ini->errorString());
    if (m_writeFailureShown)
        return;
    m_writeFailureShown = true;
    platform::dialogs().messageBox(kSaveFailed + QLatin1Char('\n') + m_ini->fileName(), kCaption,
                                   platform::Buttons::Ok);
}

QString TOption::TeamFileFolder() const
{
    return Edit1->text();
}

QString TOption::GameDataFolder() const
{
    return Edit2->text();
}

int TOption::PeriodLength() const
{
    const int index = ComboPeriodTime->currentIndex();
    return index < 0 ? kDefaultPeriodMinutes : minutesOf(index);
}

void TOption::SetPeriodLength(int minutes)
{
    // A length outside the list would make every period 0 minutes long.
    if (minutes < 1 || minutes > kMaxPeriodMinutes)
        minutes = kDefaultPeriodMinutes;
    ComboPeriodTime->setCurrentIndex(playTimeOf(minutes));
}

bool TOption::StatSwitch(int index) const
{
    const QListWidgetItem* item = KojinList->item(index);
    return item && item->checkState() == Qt::Checked;
}

void TOption::SetStatSwitch(int index, bool on)
{
    if (QListWidgetItem* item = KojinList->item(index))
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

int TOption::StatSwitchCount() const
{
    return KojinList->count();
}

bool TOption::MiniBasket() const
{
    return bMiniBasket->isChecked();
}

QString TOption::StartupRosterA() const
{
    return LabeledEdit1->text();
}

QString TOption::StartupRosterB() const
{
    return LabeledEdit2->text();
}

void TOption::chooseFolder(QLineEdit* edit)
{
    if (const auto folder = platform::chooseFolder(edit->text(), kCaption))
        edit->setText(*folder);
}

void TOption::BitBtn1Click()
{
    chooseFolder(Edit1);
}

void TOption::BitBtn4Click()
{
    chooseFolder(Edit2);
}

void TOption::chooseRosterFile(QLineEdit* edit)
{
    platform::FileDialogOptions options;
    options.filter = kMemberFilter;
    options.defaultExt = QStringLiteral("member");
    options.initialDir = Edit1->text();
    if (const auto path = platform::dialogs().openFile(options))
        edit->setText(*path);
}

void TOption::BitBtn2Click()
{
    chooseRosterFile(LabeledEdit1);
}

void TOption::BitBtn3Click()
{
    chooseRosterFile(LabeledEdit2);
}

void TOption::chooseTeamColor(int side)
{
    // The colour is in force at once, even when the dialog is cancelled afterwards.
    if (const auto color = platform::dialogs().chooseColor(TeamColor(side)))
        SetTeamColor(side, *color);
    showColors();
}

void TOption::BitBtn5Click()
{
    chooseTeamColor(kSideA);
}

void TOption::BitBtn6Click()
{
    chooseTeamColor(kSideB);
}

void TOption::showColors()
{
    for (const auto& [side, edit] : {std::pair{kSideA, LabeledEdit3}, std::pair{kSideB, LabeledEdit4}}) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, platform::toQColor(TeamColor(side)));
        edit->setPalette(palette);
    }
}

void TOption::OKBtnClick()
{
    constexpr int twoPointMade = 0;
    constexpr int freeThrowMade = 4;
    if (!StatSwitch(twoPointMade) || !StatSwitch(freeThrowMade)) {
        platform::dialogs().messageBox(QStringLiteral("２ポイント成功とフリースロー成功は必須です"), kCaption,
                                       platform::Buttons::Ok);
        SetStatSwitch(twoPointMade, true);
        SetStatSwitch(freeThrowMade, true);
    }
    done(platform::mrOk);
}

} // namespace hooptally
