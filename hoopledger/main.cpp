#include <QApplication>

#include "hoopledger/TAboutBox.h"
#include "hoopledger/TMainForm.h"
#include "hoopledger/TOption.h"
#include "platform/Dialogs.h"
#include "platform/Version.h"

// Read by the other program from this file without running it.
[[gnu::used]] static const platform::VersionBlock kFileVersion = platform::makeVersionBlock(1, 0, 1, 0);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hoopledger Summary"));
    QApplication::setApplicationDisplayName(QStringLiteral("Hoopledger Summary"));
    platform::installQtTranslations();

    // The three start-up forms, in this order; the settings are read while TOption is created. The
    // main window's first activation (once it is on screen) probes the scoring program and loads.
    hoopledger::TMainForm mainForm;
    hoopledger::TAboutBox aboutBox(&mainForm);
    hoopledger::TOption option(&mainForm);
    mainForm.show();
    return app.exec();
}
