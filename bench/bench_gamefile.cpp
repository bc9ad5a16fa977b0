// Saving and opening a game of 1,000 logged actions; opening includes the replay of the whole log.
#include <memory>

#include <QTest>

#include "hooptally/Tsavefile.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;
using namespace Qt::StringLiterals;

namespace {

constexpr int kActions = 1000;
constexpr int kPeriods = 4;

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

    void cleanupTestCase() { m_program.reset(); }

private:
    std::unique_ptr<Program> m_program;
    QString m_path;
};

QTEST_MAIN(bench_gamefile)
#include "bench_gamefile.moc"
