// A whole game on the score sheets: recorded, replayed, saved and opened again, and what the
// scorer sees of it.
#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>

#include "hooptally/THooptallyForm.h"
#include "hooptally/Tgridctrl.h"
#include "platform/StringGrid.h"
#include "support/Program.h"
#include "support/SheetHelpers.h"

using namespace hooptally;
using namespace hooptally::testing;

class tst_sheetgame : public QObject
{
    Q_OBJECT
private slots:
    void screenshotOfTheOfficialPage()
    {
        Program program;
        THooptallyForm& form = program.form();
        recordSheetGame(program);
        form.resize(1400, 1200);
        form.show();
        form.PageControl1->setCurrentIndex(1);
        QApplication::processEvents();
        auto* scroll = form.findChild<QScrollArea*>(QStringLiteral("OfficialScroll"));
        QVERIFY(scroll);
        const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/official_sheet.png");
        const QImage page = scroll->widget()->grab().toImage();
        QVERIFY(page.save(path));
        if (qEnvironmentVariableIsSet("SHEET_ZOOM")) {
            const QStringList parts = qEnvironmentVariable("SHEET_ZOOM").split(QLatin1Char(','));
            const QRect area(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt());
            page.copy(area).scaled(area.size() * 3).save(QStringLiteral("/tmp/zoom.png"));
        }
        qInfo("score sheet page: %s", qPrintable(path));
    }
};

QTEST_MAIN(tst_sheetgame)
#include "tst_sheetgame.moc"
