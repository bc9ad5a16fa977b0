// Opening, replaying and painting games of 1,000 and 10,000 logged actions with the score sheets:
// every edit of the log replays the whole game, and the sheets are rebuilt with it.
// Run: QT_QPA_PLATFORM=offscreen build/<dir>/bench/bench_sheets
#include <algorithm>
#include <memory>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>

#include "gamefile/GameFileFormat.h"
#include "hooptally/THooptallyForm.h"
#include "platform/StringGrid.h"
#include "platform/StringList.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

constexpr int kRuns = 5;

double medianMs(std::vector<qint64> nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds[nanoseconds.size() / 2] / 1e6;
}

template <typename Step> double timeMs(Step step)
{
    std::vector<qint64> runs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        runs.push_back(timer.nsecsElapsed());
    }
    return medianMs(runs);
}

// The same game with a game end after its tenth entry: every entry after it is replayed after a
// game end.
void insertEarlyGameEnd(const QString& path, const QString& target)
{
    platform::StringList lines;
    QVERIFY(lines.loadFromFile(path));
    const int start = static_cast<int>(lines.indexOf(gamefile::kLogSection.start));
    QVERIFY(start > 0);
    lines.insert(start + 11, QStringLiteral(",,0,5,0,1,255,255,255,3,0"));
    QVERIFY(lines.saveToFile(target));
}

} // namespace

class bench_sheets : public QObject
{
    Q_OBJECT
private slots:
    void openReplayAndRepaint_data()
    {
        QTest::addColumn<int>("actions");
        QTest::addColumn<bool>("earlyGameEnd");
        QTest::newRow("1,000 actions") << 1000 << false;
        QTest::newRow("10,000 actions") << 10000 << false;
        QTest::newRow("1,000 actions after a game end") << 1000 << true;
        QTest::newRow("10,000 actions after a game end") << 10000 << true;
    }
    void openReplayAndRepaint()
    {
        QFETCH(int, actions);
        QFETCH(bool, earlyGameEnd);
        Program program;
        THooptallyForm& form = program.form();
        recordSyntheticGame(program, actions);
        QString path = program.path(QStringLiteral("bench.game"));
        program.dialogs().expectSaveFile(path);
        QVERIFY(form.SaveGame());
        if (earlyGameEnd) {
            const QString ended = program.path(QStringLiteral("ended.game"));
            insertEarlyGameEnd(path, ended);
            path = ended;
        }
        form.resize(1400, 1100);
        form.show();
        form.PageControl1->setCurrentIndex(1);
        QApplication::processEvents();

        const double open = timeMs([&] { QVERIFY(form.OpenGameFile(path)); });
        QCOMPARE(form.PlayLog().Count(), actions + (earlyGameEnd ? 1 : 0));
        const double replay = timeMs([&] { form.PlayLog().ReplayPlayLog(); });
        auto* page = form.findChild<QScrollArea*>(QStringLiteral("OfficialScroll"))->widget();
        // Every cell of the three sheets painted through the painters, as the page shows them.
        const double repaint = timeMs([&] { QVERIFY(!page->grab().isNull()); });
        qInfo("%5d actions%s: open %7.1f ms, replay %7.1f ms, score-sheet page repaint %5.1f ms", actions,
              earlyGameEnd ? " after a game end" : "", open, replay, repaint);
    }
};

QTEST_MAIN(bench_sheets)
#include "bench_sheets.moc"
