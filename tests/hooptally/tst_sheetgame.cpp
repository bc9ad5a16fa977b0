// A whole game on the score sheets: recorded, replayed, saved and opened again, and what the
// scorer sees of it.
#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/Tgridctrl.h"
#include "platform/StringGrid.h"
#include "support/ActionPathHelpers.h"
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

    // A replay keeps every grid still until its end, also for the actions after a game end.
    void replayRefreshesTheGridsOnceAtItsEnd()
    {
        Program program;
        THooptallyForm& form = program.form();
        recordSheetGame(program);
        TPlayer* player = program.teamA().PlayerAt(0);
        program.act(player, kTwoPointMade);
        program.act(player, kFoul, kPersonalFoul, 1);
        QStringList updates;
        {
            MessageSpy spy(form, [](const platform::Message&) { return QString::number(IsGridUpdateOn()); });
            form.PlayLog().ReplayPlayLog();
            for (const MessageSpy::Seen& seen : spy.seen)
                updates << seen.probed;
        }
        QVERIFY(updates.size() > 100);
        QCOMPARE(updates.filter(QStringLiteral("1")).size(), 0);
        QVERIFY(IsGridUpdateOn());
    }

    // What the scorer sees of a recorded game, saved for a look: build/<dir>/tests/official_*.png.
    void screenshotOfTheOfficialPage_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("name");
        QTest::newRow("normal sheets") << QString() << QStringLiteral("official_sheet.png");
        QTest::newRow("mini-basket sheets") << QStringLiteral("[Initialize]\nMiniBasket=1")
                                            << QStringLiteral("official_sheet_minibasket.png");
    }
    void screenshotOfTheOfficialPage()
    {
        QFETCH(QString, ini);
        QFETCH(QString, name);
        Program program(ini);
        THooptallyForm& form = program.form();
        recordSheetGame(program);
        form.resize(1400, 1200);
        form.show();
        form.PageControl1->setCurrentIndex(1);
        QApplication::processEvents();
        auto* scroll = form.findChild<QScrollArea*>(QStringLiteral("OfficialScroll"));
        QVERIFY(scroll);
        const QImage page = scroll->widget()->grab().toImage();
        // The sheets stand side by side as on the paper form, running score right of the teams.
        QVERIFY(form.GridRun->x() > form.GridTeamA->x() + form.GridTeamA->width());
        QVERIFY(form.GridTeamB->y() > form.GridTeamA->y() + form.GridTeamA->height() - 1);
        const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
        QVERIFY(page.save(path));
        qInfo("score sheet page: %s", qPrintable(path));
    }
};

QTEST_MAIN(tst_sheetgame)
#include "tst_sheetgame.moc"
