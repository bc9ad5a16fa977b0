// Saving and opening a game of 1,000 logged actions; opening includes the replay of the whole log.
// openAtTheBound opens a game of as many log entries as a file may hold once and prints its time and
// the peak memory of the open (target: under 2 s and 500 MB).
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "ProcessMemory.h"
#include "gamefile/GameFileFormat.h"
#include "hooptally/Tsavefile.h"
#include "platform/StringList.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;
using namespace Qt::StringLiterals;

namespace {

constexpr int kActions = 1000;
constexpr int kPeriods = 4;
constexpr int kAtTheBound = gamefile::kMaxLogEntries;
constexpr qint64 kFarPastTheBytes = 63LL << 20;

// Twelve players a side, five of them starters; a substitution every twenty actions, a time-out every
// fifty, and a period end after every quarter of the log.
void recordLongGame(Program& program)
{
    program.teamA().name = u"ベンチA"_s;
    program.teamB().name = u"ベンチB"_s;
    QList<TPlayer*> teams[2];
    for (int side = 1; side <= 2; ++side) {
        for (int i = 0; i < 12; ++i)
            teams[side - 1] << program.addPlayer(side, QString::number(4 + i), u"選手%1"_s.arg(i), i < 5);
    }
    constexpr int perPeriod = kActions / kPeriods;
    for (int period = 0; period < kPeriods; ++period) {
        int logged = 0;
        for (int k = 0; logged + 1 < perPeriod; ++k) {
            const int seconds = 600 - k * 2;
            program.setClock(seconds / 60, seconds % 60);
            QList<TPlayer*>& team = teams[k % 2];
            if (k % 50 == 49) {
                program.command(kTimeout, k % 2 + 1);
                ++logged;
            } else if (k % 20 == 19 && logged + 2 < perPeriod) {
                // A bench player comes in for the court player he replaces.
                const int in = 5 + (k / 20) % 7;
                const int out = (k / 20) % 5;
                program.act(team[in], kCourtIn);
                program.act(team[out], kToBench);
                std::swap(team[in], team[out]);
                logged += 2;
            } else {
                program.act(team[k % 5], static_cast<std::uint8_t>(k % 13));
                ++logged;
            }
        }
        program.setClock(0, 0);
        program.command(kPeriodEnd);
    }
}

} // namespace

class bench_gamefile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_program = std::make_unique<Program>(u"[Option]\nPlayTime=9"_s);
        recordLongGame(*m_program);
        QCOMPARE(m_program->form().PlayLog().Count(), kActions);
        m_path = m_program->path(u"long.game"_s);
    }

    void save()
    {
        QBENCHMARK
        {
            TSaveFile writer(m_path);
            QVERIFY(writer.Save(SaveKind::Game));
        }
    }

    void open()
    {
        TSaveFile writer(m_path);
        QVERIFY(writer.Save(SaveKind::Game));
        const int count = m_program->form().PlayLog().Count();
        QBENCHMARK
        {
            QVERIFY(m_program->form().OpenGameFile(m_path));
        }
        QCOMPARE(m_program->form().PlayLog().Count(), count);
    }

    // The long game's log repeated up to the bound: every entry replays as in a real game.
    void openAtTheBound()
    {
        TSaveFile writer(m_path);
        QVERIFY(writer.Save(SaveKind::Game));
        platform::StringList lines;
        QVERIFY(lines.loadFromFile(m_path));
        const qsizetype first = lines.indexOf(u"Log-Start"_s) + 1;
        const qsizetype end = lines.indexOf(u"Log-End"_s);
        const QStringList log = lines.mid(first, end - first);
        QStringList bounded = lines.mid(0, first);
        for (int i = 0; i < kAtTheBound; ++i)
            bounded << log[i % log.size()];
        bounded << lines.mid(end);
        const QString path = m_program->path(u"bound.game"_s);
        writeLines(path, bounded);

        THooptallyForm& form = m_program->form();
        form.show();
        const qint64 before = bench::residentMb("VmRSS");
        bench::resetPeakMemory();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(form.OpenGameFile(path));
        QApplication::processEvents();
        const qint64 ms = timer.elapsed();
        QCOMPARE(form.PlayLog().Count(), kAtTheBound);
        qInfo("opened %d log entries in %lld ms; peak resident %lld MB (%lld MB before the open)",
              kAtTheBound, ms, bench::residentMb("VmHWM"), before);
    }

    // A game file far past the byte bound, its log repeated to 63 MB: refused before it is decoded,
    // with a message (target: under 0.5 s and 100 MB).
    void refuseFarPastTheBytes()
    {
        TSaveFile writer(m_path);
        QVERIFY(writer.Save(SaveKind::Game));
        const QByteArray saved = readBytes(m_path);
        const qsizetype logStart = saved.indexOf("Log-Start\r\n") + qsizetype(sizeof("Log-Start\r\n") - 1);
        const qsizetype logEnd = saved.indexOf("Log-End\r\n");
        const QByteArray log = saved.mid(logStart, logEnd - logStart);
        const QString path = m_program->path(u"huge.game"_s);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            qint64 size = file.write(saved.left(logStart));
            while (size < kFarPastTheBytes)
                size += file.write(log);
            file.write(saved.mid(logEnd));
        }

        THooptallyForm& form = m_program->form();
        m_program->dialogs().expectMessage(u"ファイルの大きさが上限（2 MB）を超えています\n"_s + path);
        const qint64 before = bench::residentMb("VmRSS");
        bench::resetPeakMemory();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!form.OpenGameFile(path));
        const qint64 ms = timer.elapsed();
        QVERIFY(m_program->dialogs().allAnswered());
        qInfo("refused a game file of %lld MB in %lld ms; peak resident %lld MB (%lld MB before the open)",
              QFileInfo(path).size() >> 20, ms, bench::residentMb("VmHWM"), before);
    }

    void cleanupTestCase() { m_program.reset(); }

private:
    std::unique_ptr<Program> m_program;
    QString m_path;
};

QTEST_MAIN(bench_gamefile)
#include "bench_gamefile.moc"
