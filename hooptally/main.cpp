#include <QApplication>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Tfkey.h"
#include "platform/Dialogs.h"
#include "platform/Version.h"

// Read by the statistics program from this file without running it.
[[gnu::used]] static const platform::VersionBlock kFileVersion = platform::makeVersionBlock(2, 3, 1, 0);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(hooptally::kProgramTitle);
    QApplication::setApplicationDisplayName(hooptally::kProgramTitle);
    platform::installQtTranslations();

    // The four start-up forms, in this order; the settings are read while TOption is created.
    hooptally::THooptallyForm mainForm;
    hooptally::TOption option(&mainForm);
    hooptally::TDbgForm dbgForm;
    hooptally::TFKey fkey(&mainForm);
    mainForm.show();
    // An offscreen or unfocused start may never activate the window.
    mainForm.FormActivate();
    return app.exec();
}
