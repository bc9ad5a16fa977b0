#include <QApplication>

#include "hoopledger/TMainForm.h"
#include "platform/Version.h"

// Read by the other program from this file without running it.
[[gnu::used]] static const platform::VersionBlock kFileVersion = platform::makeVersionBlock(1, 0, 1, 0);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hoopledger Summary"));
    hoopledger::TMainForm mainForm;
    mainForm.setWindowTitle(QStringLiteral("Hoopledger Summary"));
    mainForm.show();
    return app.exec();
}
