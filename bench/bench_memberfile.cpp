// Reading the largest rosters: a member file of as many members as a team may list, the read command
// that restarts the game from it, and a game file with two such rosters.
#include <memory>

#include <QTest>

#include "gamefile/GameFileFormat.h"
#include "hooptally/Tsavefile.h"
#include "platform/StringList.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;
using namespace Qt::StringLiterals;

namespace {

// Jersey numbers in no order; every third line has no ID and every fifth repeats one, so the roster
// gives many IDs itself. Five starters.
QStringList rosterLines(int count, const QString& team)
{
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const int id = i % 3 == 0 ? 0 : (i % 5 == 0 ? i / 2 : i + 1);
        const QString number = QString::number((i * 7919) % 100000);
        lines << u"%1,%2,%3,選手%4,PG,%5,,"_s.arg(team).arg(id).arg(number).arg(i).arg(i < 5 ? u"Starter"_s
                                                                                             : QString());
    }
    return lines;
}

} // namespace

class bench_memberfile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_program = std::make_unique<Program>();
        m_member = m_program->path(u"large.member"_s);
        writeMemberFile(m_member, rosterLines(gamefile::kMaxTeamLines, u"大人数"_s));
    }

    void loadRoster()
    {
        TTeam team(0, 1);
        QBENCHMARK_ONCE
        {
            platform::StringList lines;
            QVERIFY(lines.loadFromFile(m_member, gamefile::kMaxMemberFileBytes));
            QVERIFY(team.LoadRosterLines(lines));
        }
        QCOMPARE(team.Count(), gamefile::kMaxTeamLines);
    }

    void readRosterCommand()
    {
        QBENCHMARK_ONCE
        {
            m_program->dialogs().expectOpenFile(m_member);
            m_program->form().BitBtn1Click();
        }
        QCOMPARE(m_program->teamA().Count(), gamefile::kMaxTeamLines + 1);
    }

    void openGameWithLargeRosters()
    {
        Program program;
        for (TTeam* team : {&program.teamA(), &program.teamB()}) {
            const QString path = program.path(u"team%1.member"_s.arg(team->side));
            writeMemberFile(path, rosterLines(gamefile::kMaxTeamLines, u"チーム%1"_s.arg(team->side)));
            program.dialogs().expectOpenFile(path);
            team->side == 1 ? program.form().BitBtn1Click() : program.form().BitBtn3Click();
        }
        const QString game = program.path(u"large.game"_s);
        TSaveFile writer(game);
        QVERIFY(writer.Save(SaveKind::Game));
        QBENCHMARK_ONCE
        {
            QVERIFY(program.form().OpenGameFile(game));
        }
        QCOMPARE(program.teamB().Count(), gamefile::kMaxTeamLines + 1);
    }

    void cleanupTestCase() { m_program.reset(); }

private:
    std::unique_ptr<Program> m_program;
    QString m_member;
};

QTEST_MAIN(bench_memberfile)
#include "bench_memberfile.moc"
