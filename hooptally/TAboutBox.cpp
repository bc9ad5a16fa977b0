#include "hooptally/TAboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Named.h"

namespace hooptally {

using platform::named;

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

    ProductName = named(new QLabel(QStringLiteral("Hooptally"), panel), "ProductName");
    ProductName->setGeometry(88, 16, 170, 16);

    Version = named(new QLabel(kFormatVersion, panel), "Version");
    Version->setGeometry(88, 40, 170, 16);

    OKButton = named(new QPushButton(QStringLiteral("OK"), this), "OKButton");
    OKButton->setGeometry(111, 196, 65, 27);
    OKButton->setDefault(true);
    OKButton->setFocus();
    connect(OKButton, &QPushButton::clicked, this, [this] { done(platform::mrOk); });
}

} // namespace hooptally
