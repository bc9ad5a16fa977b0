#include "hoopledger/TSaveHtmlDlg.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"

namespace hoopledger {

namespace {

using platform::named;

const QString kExistsText = QStringLiteral("ファイルが存在します上書きしますか？");
const QString kNewFileText = QStringLiteral("下記ファイル名に書き込みますか？");

constexpr int kWidth = 470;
constexpr int kAskHeight = 112;
constexpr int kListHeight = 280;

} // namespace

TSaveHtmlDlg::TSaveHtmlDlg(QWidget* parent, int mode, const QString& text)
    : QDialog(parent), m_mode(mode == kListMode ? kListMode : kAskMode)
{
    if (m_mode == kAskMode)
        m_fileName = text;
    else
        m_list = text;
    buildControls();
}

void TSaveHtmlDlg::buildControls()
{
    setObjectName(QStringLiteral("SaveHtmlDlg"));
    setWindowTitle(QStringLiteral("Html作成"));
    setFont(platform::defaultFormFont());

    Label1 = named(new QLabel(this), "Label1");
    Label1->setGeometry(8, 8, kWidth - 16, 20);
    Label1->setFont(platform::makeFont(QStringLiteral("ＭＳ Ｐゴシック"), 10, true));
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(palette);

    Label2 = named(new QLabel(QStringLiteral("File名："), this), "Label2");
    Label2->setGeometry(8, 42, 56, 20);
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setGeometry(64, 40, kWidth - 72, 22);
    Edit1->setReadOnly(true);
    Label2->setBuddy(Edit1);

    Memo1 = named(new QPlainTextEdit(this), "Memo1");
    Memo1->setGeometry(8, 34, kWidth - 16, kListHeight - 42);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    struct ButtonItem
    {
        QPushButton** button;
        const char* name;
        QString text;
        int result; // 0: no result of its own
    };
    const ButtonItem buttons[] = {
        {&YesBtn, "YesBtn", QStringLiteral("はい"), platform::mrYes},
        {&NoBtn, "NoBtn", QStringLiteral("いいえ"), platform::mrNo},
        {&AllBtn, "AllBtn", QStringLiteral("全て上書き"), mrAll},
        {&CancelBtn, "CancelBtn", QStringLiteral("キャンセル"), platform::mrCancel},
        {&FileBtn, "FileBtn", QStringLiteral("File名変更"), 0},
    };
    int x = 8;
    for (const ButtonItem& item : buttons) {
        QPushButton* button = named(new QPushButton(item.text, this), item.name);
        button->setGeometry(x, 76, 84, 27);
        button->setAutoDefault(false);
        x += 84 + 8;
        if (item.result != 0)
            connect(button, &QPushButton::clicked, this, [this, result = item.result] { done(result); });
        *item.button = button;
    }
    YesBtn->setDefault(true);
    connect(FileBtn, &QPushButton::clicked, this, &TSaveHtmlDlg::FileBtnClick);
}

void TSaveHtmlDlg::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TSaveHtmlDlg::FormActivate()
{
    const bool ask = m_mode == kAskMode;
    setFixedSize(kWidth, ask ? kAskHeight : kListHeight);
    Label1->setText(ask ? kExistsText : QStringLiteral("書き込みファイル一覧"));
    Label2->setVisible(ask);
    Edit1->setVisible(ask);
    Edit1->setText(m_fileName);
    Memo1->setVisible(!ask);
    Memo1->setPlainText(QString(m_list).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // The list is closed with the window's close box.
    for (QPushButton* button : {YesBtn, NoBtn, AllBtn, CancelBtn, FileBtn})
        button->setVisible(ask);
}

void TSaveHtmlDlg::FileBtnClick()
{
    const QFileInfo current(m_fileName);
    platform::FileDialogOptions options;
    options.defaultExt = QStringLiteral("html");
    options.filter = QStringLiteral("*.html|*.html|*.*|*.*");
    options.initialDir = current.absolutePath();
    options.fileName = current.fileName();
    const std::optional<QString> chosen = platform::dialogs().saveFile(options);
    if (!chosen || chosen->isEmpty())
        return;
    m_fileName = *chosen;
    Edit1->setText(m_fileName);
    Label1->setText(QFileInfo::exists(m_fileName) ? kExistsText : kNewFileText);
}

} // namespace hoopledger
