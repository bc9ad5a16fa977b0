#include "hoopledger/TPlayerTouroku.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "hoopledger/TOption.h"
#include "hoopledger/Tplayer.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"

namespace hoopledger {

using platform::named;

TPlayerTouroku::TPlayerTouroku(TStatPlayer* player, QWidget* parent) : QDialog(parent), m_player(player)
{
    setObjectName(QStringLiteral("PlayerTouroku"));
    setWindowTitle(QStringLiteral("プレイヤー登録"));
    setFont(platform::defaultFormFont());
    setFixedSize(260, 200);

    auto makeEdit = [this](const char* name, const QString& caption, int y) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(16, y, 120, 16);
        auto* edit = named(new QLineEdit(this), name);
        edit->setGeometry(16, y + 16, 228, 21);
        label->setBuddy(edit);
        return edit;
    };
    LabeledEdit1 = makeEdit("LabeledEdit1", QStringLiteral("背番号"), 8);
    auto* required = named(new QLabel(QStringLiteral("(必須)"), this), "Label1");
    required->setGeometry(64, 8, 60, 16);
    required->setStyleSheet(QStringLiteral("color: red"));
    LabeledEdit2 = makeEdit("LabeledEdit2", QStringLiteral("名前"), 48);
    LabeledEdit3 = makeEdit("LabeledEdit3", QStringLiteral("ポジション"), 88);
    CheckBox1 = named(new QCheckBox(QStringLiteral("ｽﾀｰﾀｰ(&S)"), this), "CheckBox1");
    CheckBox1->setGeometry(16, 132, 120, 20);

    OKBtn = named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    OKBtn->setGeometry(88, 164, 75, 25);
    OKBtn->setDefault(true);
    CancelBtn = named(new QPushButton(QStringLiteral("キャンセル"), this), "CancelBtn");
    CancelBtn->setGeometry(169, 164, 75, 25);
    connect(OKBtn, &QPushButton::clicked, this, &TPlayerTouroku::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
}

void TPlayerTouroku::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TPlayerTouroku::FormActivate()
{
    if (!m_player || m_player->kind == kIdentityKind)
        return;
    LabeledEdit1->setText(m_player->GetNumber());
    LabeledEdit2->setText(m_player->GetName());
    LabeledEdit3->setText(m_player->GetPosition());
    CheckBox1->setChecked(m_player->StarterText() == QStringLiteral("Starter"));
}

void TPlayerTouroku::OKBtnClick()
{
    const QString number = LabeledEdit1->text();
    if (number.isEmpty()) {
        platform::dialogs().messageBox(QStringLiteral("背番号は必須です"), kCaption, platform::Buttons::Ok);
        return;
    }
    for (const QLineEdit* edit : {LabeledEdit1, LabeledEdit2, LabeledEdit3}) {
        if (edit->text().contains(QLatin1Char(','))) {
            platform::dialogs().messageBox(QStringLiteral("カンマ(,)は使用できません"), kCaption,
                                           platform::Buttons::Ok);
            return;
        }
    }
    if (m_player)
        m_player->SetIdentity(number, LabeledEdit2->text(), kIdentityKind, CheckBox1->isChecked() ? 1 : 0,
                              LabeledEdit3->text());
    done(platform::mrOk);
}

} // namespace hoopledger
