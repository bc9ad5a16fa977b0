#include "hoopledger/TAboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"
#include "platform/Shell.h"

namespace hoopledger {

using platform::named;

namespace {

TAboutBox* g_aboutBox = nullptr;

} // namespace

TAboutBox* AboutBox()
{
    return g_aboutBox;
}

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFont(platform::defaultFormFont());
    setFixedSize(286, 232);

    auto* panel = named(new QFrame(this), "Panel1");
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(8, 8, 270, 177);

    ProgramIcon = named(new QLabel(panel), "ProgramIcon");
    ProgramIcon->setGeometry(16, 16, 48, 48);
    ProgramIcon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));

    ProductName = named(new QLabel(QStringLiteral("Hoopledger Summary"), panel), "ProductName");
    ProductName->setGeometry(88, 16, 170, 16);

    Version = named(new QLabel(QStringLiteral("01.00.01"), panel), "Version");
    Version->setGeometry(88, 40, 170, 16);

    Button1 = named(new QPushButton(QStringLiteral("HomePage"), panel), "Button1");
    Button1->setGeometry(88, 130, 100, 27);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TAboutBox::Button1Click);

    OKButton = named(new QPushButton(QStringLiteral("OK"), this), "OKButton");
    OKButton->setGeometry(111, 196, 65, 27);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { done(platform::mrOk); });
    g_aboutBox = this;
}

TAboutBox::~TAboutBox()
{
    if (g_aboutBox == this)
        g_aboutBox = nullptr;
}

void TAboutBox::Button1Click()
{
    platform::shell().ShellOpen(kHomePage);
}

} // namespace hoopledger
