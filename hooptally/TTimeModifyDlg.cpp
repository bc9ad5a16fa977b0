#include "hooptally/TTimeModifyDlg.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"

namespace hooptally {

TTimeModifyDlg::TTimeModifyDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TimeModifyDlg"));
    setWindowTitle(QStringLiteral("開始時間修正"));
    setFont(platform::defaultFormFont());
    setFixedSize(200, 110);
    auto* label = new QLabel(QStringLiteral("時計の修正"), this);
    label->setGeometry(12, 8, 120, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 32, 50, 22);
    auto* colon = new QLabel(QStringLiteral("："), this);
    colon->setGeometry(66, 35, 12, 16);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(80, 32, 50, 22);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(24, 72, 75, 25);
    OKBtn->setDefault(true);
    // Not an edit: focusing one stops the fields from following the running clock.
    OKBtn->setFocus();
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(108, 72, 75, 25);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer1->start();
    connect(Timer1, &QTimer::timeout, this, &TTimeModifyDlg::Timer1Timer);
    connect(OKBtn, &QPushButton::clicked, this, &TTimeModifyDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
}

void TTimeModifyDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

bool TTimeModifyDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == Edit1 || watched == Edit2))
        Edit1Enter();
    return QDialog::eventFilter(watched, event);
}

void TTimeModifyDlg::showClock()
{
    if (const THooptallyForm* form = MainForm()) {
        Edit1->setText(QString::number(form->ClockMinutes()));
        Edit2->setText(QString::number(form->ClockSeconds()));
    }
}

void TTimeModifyDlg::FormActivate()
{
    showClock();
}

void TTimeModifyDlg::Timer1Timer()
{
    if (MainForm() && MainForm()->ClockRunning())
        showClock();
}

void TTimeModifyDlg::Edit1Enter()
{
    // Typing must not be overwritten by the running clock.
    Timer1->stop();
}

namespace {

// A typed value that is no number, or one the clock cannot show (and a game file could not hold),
// keeps the clock's own.
int clockValue(const QString& text, int current, int highest)
{
    const int value = platform::StrToIntDef(text, current);
    return value >= 0 && value <= highest ? value : current;
}

} // namespace

void TTimeModifyDlg::OKBtnClick()
{
    THooptallyForm* form = MainForm();
    // The main window shows the fields as it always does ("%02d").
    if (form)
        form->SetClock(clockValue(Edit1->text(), form->ClockMinutes(), kMaxClockMinutes),
                       clockValue(Edit2->text(), form->ClockSeconds(), kMaxClockSeconds));
    done(platform::mrOk);
}

} // namespace hooptally
