#include "hooptally/TSaveHtmlDlg.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Tteam.h"
#include "platform/Colors.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"
#include "platform/RadioGroup.h"

namespace hooptally {

namespace {

using platform::named;

const QString kColumnsSection = QStringLiteral("HtmlKojin");
const QString kHtmlSection = QStringLiteral("Html");
const QString kPlayerDispKey = QStringLiteral("PlayerDisp");
const QString kPeriodDispKey = QStringLiteral("PeriodDisp");

// The report's own column list: the playing time is a column here, unlike in the settings.
const QStringList& htmlColumnNames()
{
    static const QStringList names = {
        QStringLiteral("２ﾎﾟｲﾝﾄ成功"), QStringLiteral("２ﾎﾟｲﾝﾄ失敗"),  QStringLiteral("３ﾎﾟｲﾝﾄ成功"),
        QStringLiteral("３ﾎﾟｲﾝﾄ失敗"), QStringLiteral("ﾌﾘｰｽﾛｰ成功"),   QStringLiteral("ﾌﾘｰｽﾛｰ失敗"),
        QStringLiteral("ﾌｧｰﾙ"),        QStringLiteral("ｵﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ"), QStringLiteral("ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ"),
        QStringLiteral("ﾀｰﾝｵｰﾊﾞｰ"),    QStringLiteral("ｱｼｽﾄ"),         QStringLiteral("ｽﾁｰﾙ"),
        QStringLiteral("ﾌﾞﾛｯｸｼｮｯﾄ"),   QStringLiteral("ﾌﾟﾚｲﾀｲﾑ")};
    return names;
}

QListWidgetItem* addCheckItem(QListWidget* list, const QString& text, bool checked)
{
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

bool isChecked(const QListWidget* list, int row)
{
    const QListWidgetItem* item = list->item(row);
    return item && item->checkState() == Qt::Checked;
}

} // namespace

TSaveHtmlDlg::TSaveHtmlDlg(QWidget* parent, QString& lastReportFile)
    : QDialog(parent), m_lastReportFile(lastReportFile)
{
    buildControls();
    FormCreate();
}

void TSaveHtmlDlg::buildControls()
{
    setObjectName(QStringLiteral("SaveHtmlDlg"));
    setWindowTitle(QStringLiteral("Htmlで保存"));
    setFont(platform::defaultFormFont());
    setFixedSize(411, 478);

    LabeledEdit1 = named(new QLineEdit(this), "LabeledEdit1");
    LabeledEdit1->setGeometry(8, 24, 328, 22);
    LabeledEdit1Label = named(new QLabel(QStringLiteral("ファイル名"), this), "LabeledEdit1Label");
    LabeledEdit1Label->setGeometry(8, 8, 200, 16);
    LabeledEdit1Label->setBuddy(LabeledEdit1);
    BitBtn2 = named(new QPushButton(QStringLiteral("参照"), this), "BitBtn2");
    BitBtn2->setGeometry(344, 23, 59, 24);
    BitBtn2->setAutoDefault(false);

    Label1 = named(new QLabel(QStringLiteral("チームスコア表示"), this), "Label1");
    Label1->setGeometry(8, 56, 200, 16);
    TeamListBox1 = named(new QListWidget(this), "TeamListBox1");
    TeamListBox1->setGeometry(8, 72, 395, 40);
    Label1->setBuddy(TeamListBox1);

    Label3 = named(new QLabel(QStringLiteral("個人スコア表示"), this), "Label3");
    Label3->setGeometry(8, 120, 200, 16);
    KojinList = named(new QListWidget(this), "KojinList");
    // Two columns of seven: every item in sight, no scroll bar.
    KojinList->setGeometry(8, 136, 395, 118);
    KojinList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    KojinList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    KojinList->setFlow(QListView::TopToBottom);
    KojinList->setWrapping(true);
    KojinList->setResizeMode(QListView::Adjust);
    KojinList->setGridSize(QSize(192, 16));
    Label3->setBuddy(KojinList);

    KojinDispRGp = named(new platform::RadioGroup(QStringLiteral("個人リスト"), this), "KojinDispRGp");
    KojinDispRGp->setGeometry(8, 262, 200, 86);
    KojinDispRGp->SetItems({QStringLiteral("全員表示する"), QStringLiteral("ベンチメンバーまで表示する"),
                            QStringLiteral("プレイした人のみ表示する")});

    TimeGraph = named(new QCheckBox(QStringLiteral("ﾀｲﾑ＆ｽｺｱｸﾞﾗﾌを表示する"), this), "TimeGraph");
    TimeGraph->setGeometry(218, 268, 185, 20);
    CheckBox2 = named(new QCheckBox(QStringLiteral("保存後、ブラウザで表示する"), this), "CheckBox2");
    CheckBox2->setGeometry(218, 292, 185, 20);
    PeriodDispChk = named(new QCheckBox(QStringLiteral("ﾋﾟﾘｵﾄﾞ毎の出場情報を入れる"), this), "PeriodDispChk");
    PeriodDispChk->setGeometry(218, 316, 185, 20);

    CheckBox1 = named(new QCheckBox(QStringLiteral("戦評を表示する"), this), "CheckBox1");
    CheckBox1->setGeometry(8, 354, 200, 20);
    RichEdit1 = named(new QPlainTextEdit(this), "RichEdit1");
    RichEdit1->setGeometry(8, 376, 395, 62);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    OKBtn = named(new QPushButton(QStringLiteral("保存"), this), "OKBtn");
    OKBtn->setGeometry(240, 446, 75, 25);
    OKBtn->setDefault(true);
    CancelBtn = named(new QPushButton(QStringLiteral("キャンセル"), this), "CancelBtn");
    CancelBtn->setGeometry(328, 446, 75, 25);
    CancelBtn->setAutoDefault(false);

    connect(BitBtn2, &QPushButton::clicked, this, &TSaveHtmlDlg::BitBtn2Click);
    for (QCheckBox* box : {CheckBox1, TimeGraph, PeriodDispChk})
        connect(box, &QCheckBox::clicked, this, &TSaveHtmlDlg::CheckBox1Click);
    connect(OKBtn, &QPushButton::clicked, this, &TSaveHtmlDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
}

void TSaveHtmlDlg::FormCreate()
{
    platform::IniFile* ini = Option() ? &Option()->IniFile() : nullptr;
    KojinList->clear();
    for (int i = 0; i < kHtmlColumnCount; ++i) {
        const bool checked = !ini || ini->readInteger(kColumnsSection, QString::number(i), 1) != 0;
        addCheckItem(KojinList, htmlColumnNames()[i], checked);
    }
    KojinDispRGp->SetItemIndex(
        KnownPlayerRows(ini ? ini->readInteger(kHtmlSection, kPlayerDispKey, kAllPlayers) : kAllPlayers));
    PeriodDispChk->setChecked(ini && ini->readBool(kHtmlSection, kPeriodDispKey, false));
    TimeGraph->setChecked(true);
    CheckBox2->setChecked(true);
    CheckBox1->setChecked(true);

    TeamListBox1->clear();
    for (const TeamSide side : {kSideA, kSideB}) {
        const TTeam* team = GetTeam(side);
        addCheckItem(TeamListBox1, team ? team->name : QString(), true);
    }

    RichEdit1->clear();
    THooptallyForm* form = MainForm();
    if (form)
        RichEdit1->setPlainText(form->Senhyou->toPlainText());
    CheckBox1Click();

    LabeledEdit1->setText(m_lastReportFile);
    if (LabeledEdit1->text().isEmpty() && form) {
        const QString name = form->DateTimePicker1->date().toString(QStringLiteral("yyyyMMdd")) +
                             form->DateTimePicker2->time().toString(QStringLiteral("hhmm")) +
                             QStringLiteral(".html");
        LabeledEdit1->setText(QDir(outputFolder()).filePath(name));
    }
}

QString TSaveHtmlDlg::outputFolder() const
{
    if (!Option())
        return QString();
    // An empty game-data folder means the program's own folder, never the root of the file system.
    const QString folder = Option()->GameDataFolder();
    return folder.isEmpty() ? Option()->ProgramFolder() : folder;
}

void TSaveHtmlDlg::BitBtn2Click()
{
    platform::FileDialogOptions options;
    options.defaultExt = QStringLiteral("html");
    options.initialDir = outputFolder();
    options.filter = QStringLiteral("html(*.html)|*.html|すべてのファイル (*.*)|*.*");
    const auto chosen = platform::dialogs().saveFile(options);
    if (!chosen)
        return;
    LabeledEdit1->setText(*chosen);
    m_lastReportFile = *chosen;
}

void TSaveHtmlDlg::CheckBox1Click()
{
    const bool on = CheckBox1->isChecked();
    RichEdit1->setEnabled(on);
    QPalette colors = RichEdit1->palette();
    const QColor background =
        on ? platform::toQColor(platform::clWindow()) : palette().color(QPalette::Disabled, QPalette::Text);
    colors.setColor(QPalette::Active, QPalette::Base, background);
    colors.setColor(QPalette::Inactive, QPalette::Base, background);
    colors.setColor(QPalette::Disabled, QPalette::Base, background);
    // The commentary stays readable on the grey.
    colors.setColor(QPalette::Disabled, QPalette::Text, palette().color(QPalette::Active, QPalette::Text));
    RichEdit1->setPalette(colors);
}

void TSaveHtmlDlg::OKBtnClick()
{
    if (TOption* option = Option()) {
        platform::IniFile& ini = option->IniFile();
        bool ok = true;
        for (int i = 0; i < kHtmlColumnCount; ++i)
            ok = ini.writeBool(kColumnsSection, QString::number(i), isChecked(KojinList, i)) && ok;
        ok = ini.writeInteger(kHtmlSection, kPlayerDispKey, KojinDispRGp->ItemIndex()) && ok;
        ok = ini.writeBool(kHtmlSection, kPeriodDispKey, PeriodDispChk->isChecked()) && ok;
        option->NoteWriteResult(ok);
    }
    done(platform::mrOk);
}

HtmlReportOptions TSaveHtmlDlg::ReportOptions() const
{
    HtmlReportOptions options;
    for (int i = 0; i < kHtmlColumnCount; ++i)
        options.columns[i] = isChecked(KojinList, i);
    options.teams = {isChecked(TeamListBox1, 0), isChecked(TeamListBox1, 1)};
    options.playerRows = KnownPlayerRows(KojinDispRGp->ItemIndex());
    options.periodColumns = PeriodDispChk->isChecked();
    const QString commentary = RichEdit1->toPlainText();
    options.commentary = CheckBox1->isChecked() && !commentary.isEmpty();
    options.commentaryLines = commentary.isEmpty() ? QStringList() : commentary.split(QLatin1Char('\n'));
    options.graph = TimeGraph->isChecked();
    return options;
}

} // namespace hooptally
