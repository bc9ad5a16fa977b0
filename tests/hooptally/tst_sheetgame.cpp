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
    // Every mark comes back after a replay and after opening the saved game.
    void marksComeBackAfterReplayAndReopening_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::newRow("normal sheets") << QString();
        QTest::newRow("mini-basket sheets") << QStringLiteral("[Initialize]\nMiniBasket=1");
    }
    void marksComeBackAfterReplayAndReopening()
    {
        QFETCH(QString, ini);
        Program program(ini);
        THooptallyForm& form = program.form();
        recordSheetGame(program);
        const QStringList recorded = sheetSnapshot(form);
        QCOMPARE(recorded.filter(QStringLiteral("act=0/6/")).size(), 11); // the fouls
        form.PlayLog().ReplayPlayLog();
        QCOMPARE(sheetSnapshot(form), recorded);
        const QString path = program.path(QStringLiteral("sheets.game"));
        program.dialogs().expectSaveFile(path);
        QVERIFY(form.SaveGame());
        QVERIFY(form.OpenGameFile(path));
        QCOMPARE(sheetSnapshot(form), recorded);
    }

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
