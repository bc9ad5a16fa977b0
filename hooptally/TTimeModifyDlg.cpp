#include "hooptally/TTimeModifyDlg.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"

#include <algorithm>
#include <optional>

namespace hooptally {

using platform::named;

TTimeModifyDlg::TTimeModifyDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TimeModifyDlg"));
    setWindowTitle(QStringLiteral("開始時間修正"));
    setFont(platform::defaultFormFont());
    setFixedSize(200, 110);
    auto* label = new QLabel(QStringLiteral("時計の修正"), this);
    label->setGeometry(12, 8, 120, 16);
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setGeometry(12, 32, 50, 22);
    auto* colon = new QLabel(QStringLiteral("："), this);
    colon->setGeometry(66, 35, 12, 16);
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit2->setGeometry(80, 32, 50, 22);
    OKBtn = named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    OKBtn->setGeometry(24, 72, 75, 25);
    OKBtn->setDefault(true);
    // Not an edit: focusing one stops the fields from following the running clock.
    OKBtn->setFocus();
    CancelBtn = named(new QPushButton(QStringLiteral("キャンセル"), this), "CancelBtn");
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

// A clock field: digits only, within 0 to highest (what the clock can show and a game file hold).
std::optional<int> clockField(const QString& text, int highest)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

void TTimeModifyDlg::OKBtnClick()
{
    const std::optional<int> minutes = clockField(Edit1->text(), kMaxClockMinutes);
    const std::optional<int> seconds = clockField(Edit2->text(), kMaxClockSeconds);
    if (!minutes || !seconds) {
        // The clock keeps its value and the dialog stays open for the correction.
        platform::dialogs().messageBox(QStringLiteral("分は0～99、秒は0～59の数字で入力してください"),
                                       kCaption, platform::Buttons::Ok);
        QLineEdit* wrong = minutes ? Edit2 : Edit1;
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    // The main window shows the fields as it always does ("%02d").
    if (THooptallyForm* form = MainForm())
        form->SetClock(*minutes, *seconds);
    done(platform::mrOk);
}

} // namespace hooptally
