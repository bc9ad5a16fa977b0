// Saving and opening a game of 1,000 logged actions; opening includes the replay of the whole log.
// openAtTheBound opens a game of as many log entries as a file may hold once, openEverySectionAtTheBound
// the worst files of every section at its bound and the bytes filled, openGameEndsAtTheBound a log of
// nothing but game ends; each prints the time and the peak memory of the open (target: under 2 s and
// 500 MB). refuseFarPastTheBytes refuses a file of 63 MB (target: under 0.5 s and 100 MB). Each is best run
// on its own (name it on the command line): the peak counts from what the process holds before it.
#include <algorithm>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "ProcessMemory.h"
#include "gamefile/GameFileFormat.h"
#include "hooptally/Tsavefile.h"
#include "platform/Codec.h"
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

// The texts that fill a file up to its byte bound (which of them grow), and what the log does once
// everybody is on court.
struct Filling
{
    bool names = false;
    bool numbers = false;
    bool commentary = false;
    int growing = -1; // how many of the names, numbers or commentary lines grow, from the first; -1 all
    // Every entry a period end of the fourth period, each clocking everybody out and asking for a tie.
    bool periodEnds = false;
};

// An ASCII text of `length` characters: a CP932 byte each, two bytes each once read.
QString padded(const QString& text, int length, QChar fill)
{
    return length > text.size() ? text + QString(length - text.size(), fill) : text;
}

// Every section at its bound: both teams of as many players as a team may list, all of them on court
// at once and named in the log (every entry's on-court list as long as it gets, every person a column
// of the play log), substitutions throughout, every option and commentary line, the statistics block of
// every entry. `extra` characters are added to each grown text.
QStringList everySectionAtTheBound(const Filling& filling, int extra)
{
    using namespace gamefile;
    const QString teams[] = {u"ホーム"_s, u"ビジター"_s};
    const auto grows = [&](bool text, int side, int i) {
        return text && (filling.growing < 0 || side * gamefile::kMaxTeamLines + i < filling.growing);
    };
    const auto number = [&](int side, int i) {
        return QString(grows(filling.numbers, side, i) ? extra : 0, u'0') + QString::number(i);
    };
    const auto name = [&](int side, int i) {
        return padded(u"Player%1-%2"_s.arg(side).arg(i), 12 + (grows(filling.names, side, i) ? extra : 0),
                      u'x');
    };
    QStringList lines{QString(kMagic), QString(kVersion),     u"大会"_s, u"会場"_s,
                      u"45430"_s,      u"45430.6041666667"_s, u"1"_s,    QString(kOfficialSection.start)};
    for (int i = 0; i < kOfficialLines; ++i)
        lines << u"審判%1"_s.arg(i);
    lines << QString(kOfficialSection.end);
    for (int side = 0; side < 2; ++side) {
        lines << QString(side == 0 ? kTeamASection.start : kTeamBSection.start);
        for (int i = 0; i < kMaxTeamLines; ++i)
            lines << QStringList{teams[side],
                                 QString::number(i + 1),
                                 number(side, i),
                                 name(side, i),
                                 u"F"_s,
                                 {},
                                 {},
                                 QString(kOfficialText)}
                         .join(u',');
        lines << QString(side == 0 ? kTeamASection.end : kTeamBSection.end);
    }
    lines << QString(kOptionSection.start);
    for (int i = 0; i < kMaxOptionLines; ++i)
        lines << u"%1=1"_s.arg(i % 13);
    lines << QString(kOptionSection.end) << QString(kTimeSection.start) << u"Time=10"_s
          << QString(kTimeSection.end) << QString(kLogSection.start);
    // Everybody comes on court, then plays; every fortieth entry a player leaves and comes back.
    constexpr int kPerPeriod = kMaxLogEntries / 4;
    int entries = 0;
    const auto log = [&](int side, int player, int code, const char* foul = "255,255") {
        const int period = std::min(3, entries / kPerPeriod);
        const int seconds = 599 - (entries % kPerPeriod) * 600 / kPerPeriod;
        lines << u"%1,%2,%3,%4,%5,0,%6,%7,255,%8"_s.arg(side == 0 ? u"A"_s : u"B"_s)
                     .arg(player + 1)
                     .arg(period)
                     .arg(seconds / 60)
                     .arg(seconds % 60)
                     .arg(code)
                     .arg(QLatin1StringView(foul))
                     .arg(side + 1);
        ++entries;
    };
    for (int i = 0; i < kMaxTeamLines; ++i) {
        log(0, i, kCourtIn);
        log(1, i, kCourtIn);
    }
    for (int k = 0; entries < kMaxLogEntries; ++k) {
        const int side = k % 2;
        const int player = (k / 2) % kMaxTeamLines;
        if (filling.periodEnds) {
            lines << u",,3,0,0,1,255,255,255,0,0"_s;
            ++entries;
        } else if (k % 40 == 39 && entries + 2 <= kMaxLogEntries) {
            log(side, player, kToBench);
            log(side, player, kCourtIn);
        } else if (k % 13 == kFoul) {
            log(side, player, kFoul, "0,2");
        } else {
            log(side, player, k % 13);
        }
    }
    lines << QString(kLogSection.end) << QString(kCommentarySection.start);
    for (int i = 0; i < kMaxCommentaryLines; ++i)
        lines << padded(u"戦評%1"_s.arg(i), 8 + (grows(filling.commentary, 0, i) ? extra : 0), u'c');
    lines << QString(kCommentarySection.end) << QString(kStatsStart);
    for (int side = 0; side < 2; ++side) {
        lines << QString(kStatsTeamStart) << teams[side] << QString::number(kMaxStatsEntries);
        for (int i = 0; i < kMaxStatsEntries; ++i) {
            const bool blank = i == kMaxTeamLines;
            lines << QString::number(i + 1) << (blank ? QString() : name(side, i))
                  << (blank ? QString() : number(side, i)) << u"F"_s << u"0"_s;
            for (std::size_t c = 0; c < kStatsCountLines.size(); ++c)
                lines << u"0"_s;
            lines << u"0"_s;
        }
        lines << QString(kStatsTeamEnd);
    }
    lines << QString(kStatsEnd);
    return lines;
}

qint64 fileBytes(const QStringList& lines)
{
    qint64 bytes = 0;
    for (const QString& line : lines)
        bytes += platform::Codec::byteLength(line) + 2;
    return bytes;
}

qsizetype longestLine(const QStringList& lines)
{
    qsizetype longest = 0;
    for (const QString& line : lines)
        longest = std::max<qsizetype>(longest, platform::Codec::byteLength(line));
    return longest;
}

// The longest texts that keep the file within its byte bound and every line within its own.
QStringList filledToTheBound(const Filling& filling)
{
    const qint64 base = fileBytes(everySectionAtTheBound(filling, 0));
    const qint64 perCharacter = fileBytes(everySectionAtTheBound(filling, 1)) - base;
    int extra = perCharacter > 0 ? int((gamefile::kMaxGameFileBytes - base) / perCharacter) : 0;
    // The grown texts are ASCII: a character more is a byte more on their lines.
    extra -= int(std::max<qsizetype>(0, longestLine(everySectionAtTheBound(filling, extra)) -
                                            gamefile::kMaxLineBytes));
    return everySectionAtTheBound(filling, extra);
}

// A log of nothing but game ends, as many as a file may hold.
QStringList gameEndsAtTheBound(const QStringList& game)
{
    const qsizetype first = game.indexOf(QString(gamefile::kLogSection.start)) + 1;
    const qsizetype end = game.indexOf(QString(gamefile::kLogSection.end));
    QStringList lines = game.mid(0, first);
    for (int i = 0; i < gamefile::kMaxLogEntries; ++i)
        lines << u",,0,0,0,1,255,255,255,3,0"_s;
    return lines << game.mid(end);
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
        measureOpen(bounded, kAtTheBound);
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

    void openEverySectionAtTheBound_data()
    {
        QTest::addColumn<bool>("names");
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<bool>("commentary");
        QTest::addColumn<int>("growing");
        QTest::addColumn<bool>("periodEnds");
        QTest::newRow("long names") << true << false << false << -1 << false;
        QTest::newRow("long numbers") << false << true << false << -1 << false;
        QTest::newRow("long commentary") << false << false << true << -1 << false;
        QTest::newRow("period ends, long commentary") << false << false << true << -1 << true;
        // Texts as long as a line may be: one, or as many as the bytes allow.
        QTest::newRow("one long name") << true << false << false << 1 << false;
        QTest::newRow("one long number") << false << true << false << 1 << false;
        QTest::newRow("one long commentary line") << false << false << true << 1 << false;
        QTest::newRow("names as long as lines") << true << false << false << 170 << false;
        QTest::newRow("numbers as long as lines") << false << true << false << 170 << false;
        QTest::newRow("commentary lines as long as lines") << false << false << true << 340 << false;
    }

    void openEverySectionAtTheBound()
    {
        QFETCH(bool, names);
        QFETCH(bool, numbers);
        QFETCH(bool, commentary);
        QFETCH(int, growing);
        QFETCH(bool, periodEnds);
        const QStringList lines = filledToTheBound({names, numbers, commentary, growing, periodEnds});
        QVERIFY(fileBytes(lines) <= gamefile::kMaxGameFileBytes &&
                longestLine(lines) <= gamefile::kMaxLineBytes);
        measureOpen(lines, gamefile::kMaxLogEntries);
    }

    void openGameEndsAtTheBound()
    {
        TSaveFile writer(m_path);
        QVERIFY(writer.Save(SaveKind::Game));
        platform::StringList lines;
        QVERIFY(lines.loadFromFile(m_path));
        measureOpen(gameEndsAtTheBound(lines), gamefile::kMaxLogEntries);
    }

    void cleanupTestCase() { m_program.reset(); }

private:
    // Opens the lines as a game file, once, and prints what it took.
    void measureOpen(const QStringList& lines, int entries)
    {
        const QString path = m_program->path(u"measured.game"_s);
        writeLines(path, lines);
        THooptallyForm& form = m_program->form();
        form.show();
        const qint64 before = bench::residentMb("VmRSS");
        bench::resetPeakMemory();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(form.OpenGameFile(path));
        QApplication::processEvents();
        const qint64 ms = timer.elapsed();
        QCOMPARE(form.PlayLog().Count(), entries);
        qInfo(
            "opened %lld bytes, %d log entries, in %lld ms; peak resident %lld MB (%lld MB before the open)",
            fileBytes(lines), entries, ms, bench::residentMb("VmHWM"), before);
    }

    std::unique_ptr<Program> m_program;
    QString m_path;
};

QTEST_MAIN(bench_gamefile)
#include "bench_gamefile.moc"
