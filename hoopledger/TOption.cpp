#include "hoopledger/TOption.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/IniFile.h"
#include "platform/Named.h"
#include "platform/SaveFailure.h"

namespace hoopledger {

using platform::named;

namespace {

TOption* g_option = nullptr;

const QString kOption = QStringLiteral("Option");
const QString kKojin = QStringLiteral("Kojin");
const QString kScoringIniName = QStringLiteral("Hooptally.ini");

const char16_t* const kKojinItems[kKojinItemCount] = {
    u"２ﾎﾟｲﾝﾄ成功", u"２ﾎﾟｲﾝﾄ失敗",  u"３ﾎﾟｲﾝﾄ成功",    u"３ﾎﾟｲﾝﾄ失敗", u"ﾌﾘｰｽﾛｰ成功", u"ﾌﾘｰｽﾛｰ失敗",
    u"ﾌｧｳﾙ",        u"ｵﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ", u"ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ", u"ﾀｰﾝｵｰﾊﾞｰ",    u"ｱｼｽﾄ",       u"ｽﾁｰﾙ",
    u"ﾌﾞﾛｯｸｼｮｯﾄ",   u"時間"};

QString iniPathOf(const QString& programPath)
{
    const QFileInfo info(programPath);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".ini"));
}

} // namespace

TOption* Option()
{
    return g_option;
}

TOption::TOption(QWidget* parent, const QString& programPath) : QDialog(parent)
{
    const QString program = programPath.isEmpty() ? QCoreApplication::applicationFilePath() : programPath;
    m_iniPath = iniPathOf(program);
    m_scoringIniPath = QFileInfo(program).absoluteDir().filePath(kScoringIniName);
    buildControls();
    FormCreate();
    g_option = this;
}

TOption::~TOption()
{
    if (g_option == this)
        g_option = nullptr;
}

void TOption::buildControls()
{
    setObjectName(QStringLiteral("Option"));
    setWindowTitle(QStringLiteral("Option"));
    setFont(platform::defaultFormFont());
    setFixedSize(424, 330);

    auto makeEdit = [this](const char* name, const QString& caption, int y) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(16, y, 200, 16);
        auto* edit = named(new QLineEdit(this), name);
        edit->setGeometry(16, y + 16, 360, 21);
        label->setBuddy(edit);
        return edit;
    };
    auto makeButton = [this](const char* name, const QString& text, const QRect& rect) {
        auto* button = named(new QPushButton(text, this), name);
        button->setGeometry(rect);
        button->setAutoDefault(false);
        return button;
    };

    FilePath = makeEdit("FilePath", QStringLiteral("GameFilePath"), 8);
    SpeedButton1 = makeButton("SpeedButton1", QStringLiteral("..."), QRect(380, 24, 28, 21));
    SaveFilePath = makeEdit("SaveFilePath", QStringLiteral("SaveFilePath"), 52);
    SpeedButton2 = makeButton("SpeedButton2", QStringLiteral("..."), QRect(380, 68, 28, 21));

    ChkGameFileRead = named(new QCheckBox(QStringLiteral("起動時にGameFilePathからｹﾞｰﾑを全て読み込む"), this),
                            "ChkGameFileRead");
    ChkGameFileRead->setGeometry(16, 100, 392, 20);

    auto* kojinLabel = new QLabel(QStringLiteral("個人記録表示項目"), this);
    kojinLabel->setGeometry(16, 128, 200, 16);
    KojinList = named(new QListWidget(this), "KojinList");
    // Seven rows in two columns: every item in view.
    KojinList->setGeometry(16, 146, 392, 134);
    KojinList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    KojinList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    KojinList->setFlow(QListView::TopToBottom);
    KojinList->setWrapping(true);
    KojinList->setResizeMode(QListView::Adjust);
    KojinList->setGridSize(QSize(190, 18));
    kojinLabel->setBuddy(KojinList);
    for (const char16_t* text : kKojinItems) {
        auto* item = new QListWidgetItem(QString::fromUtf16(text), KojinList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }

    OKBtn = makeButton("OKBtn", QStringLiteral("OK"), QRect(250, 294, 75, 25));
    OKBtn->setDefault(true);
    CancelBtn = makeButton("CancelBtn", QStringLiteral("キャンセル"), QRect(333, 294, 75, 25));

    connect(SpeedButton1, &QPushButton::clicked, this, &TOption::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TOption::SpeedButton2Click);
    connect(OKBtn, &QPushButton::clicked, this, &TOption::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
}

void TOption::FormCreate()
{
    const bool own = QFileInfo::exists(m_iniPath);
    const platform::IniFile ini(own ? m_iniPath : m_scoringIniPath);
    if (!ini.isReadable())
        m_unreadableIni = ini.fileName();
    if (own) {
        FilePath->setText(ini.readString(kOption, QStringLiteral("FilePath"), QString()));
        SaveFilePath->setText(ini.readString(kOption, QStringLiteral("SaveFilePath"), QString()));
        ChkGameFileRead->setChecked(ini.readBool(kOption, QStringLiteral("ActiveRead"), true));
        for (int i = 0; i < kKojinItemCount; ++i)
            SetKojinItem(i, ini.readBool(kKojin, QString::number(i), true));
        return;
    }
    // Taken once from the scoring program's settings, only read. Its game-data folder is where its
    // games are saved, so both folders start there.
    const QString gameData = ini.readString(kOption, QStringLiteral("LogPath"), QString());
    FilePath->setText(gameData);
    SaveFilePath->setText(gameData);
    ChkGameFileRead->setChecked(true);
    for (int i = 0; i < kKojinItemCount; ++i)
        SetKojinItem(i, ini.readBool(kKojin, QString::number(i), true));
}

void TOption::tellIfUnreadable() const
{
    // The defaults are in force then: the user must know why.
    if (!m_unreadableIni.isEmpty())
        platform::dialogs().messageBox(QStringLiteral("ファイルを読み込めません\n") + m_unreadableIni,
                                       kCaption, platform::Buttons::Ok);
}

void TOption::OKBtnClick()
{
    using platform::IniValue;
    QList<IniValue> values{
        IniValue::text(kOption, QStringLiteral("FilePath"), FilePath->text()),
        IniValue::text(kOption, QStringLiteral("SaveFilePath"), SaveFilePath->text()),
        IniValue::boolean(kOption, QStringLiteral("ActiveRead"), ChkGameFileRead->isChecked())};
    for (int i = 0; i < kKojinItemCount; ++i)
        values << IniValue::boolean(kKojin, QString::number(i), KojinItem(i));
    platform::IniFile ini(m_iniPath);
    // The settings are in force all the same; the user must know they were not stored.
    if (!ini.writeValues(values)) {
        platform::logSaveFailure(m_iniPath, ini.errorString());
        platform::dialogs().messageBox(QStringLiteral("保存に失敗しました\n") + m_iniPath, kCaption,
                                       platform::Buttons::Ok);
    }
    done(platform::mrOk);
}

void TOption::chooseFolder(QLineEdit* edit)
{
    if (const auto folder = platform::chooseFolder(edit->text(), kCaption))
        edit->setText(*folder);
}

void TOption::SpeedButton1Click()
{
    chooseFolder(FilePath);
}

void TOption::SpeedButton2Click()
{
    chooseFolder(SaveFilePath);
}

QString TOption::GameFileFolder() const
{
    return FilePath->text();
}

QString TOption::SaveFolder() const
{
    return SaveFilePath->text();
}

bool TOption::ReadAtStart() const
{
    return ChkGameFileRead->isChecked();
}

bool TOption::KojinItem(int index) const
{
    const QListWidgetItem* item = KojinList->item(index);
    return item && item->checkState() == Qt::Checked;
}

void TOption::SetKojinItem(int index, bool on)
{
    if (QListWidgetItem* item = KojinList->item(index))
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

} // namespace hoopledger
