// Replay of a long game: every edit of the log rebuilds the whole game from it, so this is the cost
// of one edit. Run: QT_QPA_PLATFORM=offscreen build/<dir>/bench/bench_replay
#include <algorithm>
#include <memory>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTest>

#include "support/ActionPathHelpers.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

constexpr int kActions = 1000;

double medianMs(std::vector<qint64>& nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds[nanoseconds.size() / 2] / 1e6;
}

} // namespace

class bench_replay : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<Program> m_program;

private slots:
    void initTestCase()
    {
        m_program = std::make_unique<Program>();
        THooptallyForm& form = m_program->form();
        form.show();
        form.PageControl1->setCurrentIndex(3);
        QElapsedTimer timer;
        timer.start();
        recordSyntheticGame(*m_program, kActions);
        const double recordMs = timer.nsecsElapsed() / 1e6;
        QCOMPARE(form.PlayLog().Count(), kActions);
        qInfo("recorded live: %d actions in %.1f ms (%.1f us per action)", kActions, recordMs,
              recordMs * 1000.0 / kActions);
    }

    void replay()
    {
        QBENCHMARK
        {
            m_program->form().PlayLog().ReplayPlayLog();
        }
    }

    void replayPerAction()
    {
        constexpr int kRuns = 25;
        std::vector<qint64> replay;
        std::vector<qint64> withPaint;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            m_program->form().PlayLog().ReplayPlayLog();
            replay.push_back(timer.nsecsElapsed());
            // The repaint the user waits for after an edit.
            QApplication::processEvents();
            withPaint.push_back(timer.nsecsElapsed());
        }
        QCOMPARE(m_program->form().PlayLog().Count(), kActions);
        const double replayMs = medianMs(replay);
        qInfo("replay of %d entries: median %.2f ms (%.2f us per action); with the repaint %.2f ms", kActions,
              replayMs, replayMs * 1000.0 / kActions, medianMs(withPaint));
    }

    void cleanupTestCase() { m_program.reset(); }
};

QTEST_MAIN(bench_replay)
#include "bench_replay.moc"
