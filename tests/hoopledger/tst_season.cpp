// The season model: teams and members built from the games, their order, and the operations that
// merge, rename and delete them.
#include <algorithm>

#include <QTemporaryDir>
#include <QTest>

#include "hoopledger/Teamlist.h"
#include "support/Ledger.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;

namespace {

QStringList names(const TeamList& teams)
{
    QStringList result;
    for (const TGTeam* team : teams)
        result << team->GetName();
    return result;
}

QStringList members(const TMemList& list)
{
    QStringList result;
    for (const TStatPlayer* member : list)
        result << member->GetNumber() + u' ' + member->GetName();
    return result;
}

// Each game of the team as "date:side name:players of our side".
QStringList listings(const TGTeam& team)
{
    QStringList result;
    for (const TTeamGame& listing : team.Listings()) {
        QString side = listing.us == &listing.game->sideA ? u"A"_s : (listing.us ? u"B"_s : u"-"_s);
        result << QString::number(listing.game->date) + u':' + side + u':' +
                      (listing.us ? members(listing.us->Players()).join(u',') : QString());
    }
    return result;
}

TGTeam* team(const TeamList& teams, const QString& name)
{
    for (TGTeam* t : teams) {
        if (t->GetName() == name)
            return t;
    }
    return nullptr;
}

TStatPlayer player(const QString& number, const QString& name)
{
    TStatPlayer p;
    p.SetIdentity(number, name, 0, 0, QString());
    return p;
}

} // namespace

class tst_season : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;
    std::unique_ptr<TGameList> m_games;

    // A list of games, one per entry: date, side A name and players, side B name and players; each
    // player "number name", with two-point made points 2 and ten minutes on court.
    struct GamePlan
    {
        QString date;
        QString a;
        QStringList playersA;
        QString b;
        QStringList playersB;
    };
    TGameList& load(const QList<GamePlan>& plans)
    {
        m_games = std::make_unique<TGameList>();
        for (const GamePlan& plan : plans) {
            auto blocks = [](const QStringList& players) {
                QStringList lines;
                for (const QString& p : players) {
                    const QString number = p.section(u' ', 0, 0);
                    const QString name = p.section(u' ', 1);
                    lines << playerBlock(name, number, {0, 0, 2}, u"0.00694444444444444"_s,
                                         name.startsWith(u'*'));
                }
                return lines;
            };
            const QString path = m_dir.filePath(u"g%1.game"_s.arg(++m_files));
            writeText(path,
                      gameFile(plan.date, plan.a, blocks(plan.playersA), plan.b, blocks(plan.playersB)));
            if (m_games->AddGameFile(path) != TGameList::LoadResult::Added)
                qFatal("game not loaded");
        }
        return *m_games;
    }

private slots:
    void teamsAreBuiltByExactName()
    {
        TeamList teams(&load({{u"45002"_s, u"Hawks"_s, {}, u"Eagles"_s, {}},
                              {u"45001"_s, u"eagles"_s, {}, u"Hawks"_s, {}},
                              {u"45003"_s, u"Owls"_s, {}, u"Owls"_s, {}}}));
        QCOMPARE(names(teams), (QStringList{u"Hawks"_s, u"Eagles"_s, u"eagles"_s, u"Owls"_s}));
        teams.SortByName();
        const QStringList sorted = names(teams);
        QCOMPARE(sorted.mid(2), (QStringList{u"Hawks"_s, u"Owls"_s}));
        QVERIFY(sorted.mid(0, 2).contains(u"Eagles"_s) && sorted.mid(0, 2).contains(u"eagles"_s));
        // Game lists by date; a game of two sides of one name stands twice, side A first.
        QCOMPARE(listings(*team(teams, u"Hawks"_s)), (QStringList{u"45001:B:"_s, u"45002:A:"_s}));
        QCOMPARE(listings(*team(teams, u"Owls"_s)), (QStringList{u"45003:A:"_s, u"45003:B:"_s}));
    }

    void membersAreIdentityCopies()
    {
        TeamList teams(&load({{u"45002"_s, u"Hawks"_s, {u"4 Sato"_s, u"04 Sato"_s, u"4 Ito"_s}, u"B"_s, {}},
                              {u"45001"_s, u"Hawks"_s, {u"4 *Kato"_s, u"4 Sato"_s, u"4 "_s}, u"B"_s, {}}}));
        TGTeam* hawks = team(teams, u"Hawks"_s);
        // In game-list order (load order, not date); sorted by number, equal numbers in their order.
        QCOMPARE(members(hawks->Members()),
                 (QStringList{u"4 Sato"_s, u"04 Sato"_s, u"4 Ito"_s, u"4 *Kato"_s, u"4 "_s}));
        for (const TStatPlayer* member : hawks->Members()) {
            QCOMPARE(member->kind, kIdentityKind);
            QCOMPARE(member->visible, 1);
            QCOMPARE(member->PlayTime(), 0.0);
            QVERIFY(
                std::all_of(member->counters.begin(), member->counters.end(), [](int v) { return v == 0; }));
        }
        QCOMPARE(hawks->Members().At(3)->IsStarter(), 1);
        // Copies, not the games' players.
        QVERIFY(hawks->Members().At(0) != m_games->At(0)->sideA.Players().At(0));
    }

    void memberOrder_data()
    {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("integers") << QStringList{u"10"_s, u"9"_s, u"2"_s}
                                  << QStringList{u"2"_s, u"9"_s, u"10"_s};
        QTest::newRow("text after integers")
            << QStringList{u"10"_s, u"9"_s, u"9a"_s} << QStringList{u"9"_s, u"10"_s, u"9a"_s};
        // Compared pairwise as integers or text these would go round in a circle.
        QTest::newRow("no circle") << QStringList{u"1a"_s, u"10"_s, u"2"_s}
                                   << QStringList{u"2"_s, u"10"_s, u"1a"_s};
        QTest::newRow("texts by bytes") << QStringList{u"B"_s, u"ｱ"_s, u"A"_s, u"あ"_s, u"AB"_s}
                                        << QStringList{u"A"_s, u"AB"_s, u"B"_s, u"あ"_s, u"ｱ"_s};
        QTest::newRow("blanks and signs") << QStringList{u"+3"_s, u" 2"_s, u"-1"_s, QString()}
                                          << QStringList{u"-1"_s, u" 2"_s, u"+3"_s, QString()};
    }

    void memberOrder()
    {
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, sorted);
        TMemList list;
        for (const QString& number : numbers)
            QVERIFY(list.AddMember(player(number, u"P"_s)));
        list.Sort();
        QStringList result;
        for (const TStatPlayer* member : list)
            result << member->GetNumber();
        QCOMPARE(result, sorted);
        for (const QString& a : numbers) {
            QCOMPARE(CompareNumbers(a, a), 0);
            for (const QString& b : numbers)
                QCOMPARE(CompareNumbers(a, b) < 0, CompareNumbers(b, a) > 0);
        }
    }

    void memberList()
    {
        TMemList list;
        TStatPlayer* sato = list.AddMember(std::make_unique<TStatPlayer>(player(u"4"_s, u"Sato"_s)));
        QVERIFY(sato);
        // The same player again, by itself or copied: nothing added (the duplicate record is released).
        QCOMPARE(list.AddMember(std::make_unique<TStatPlayer>(player(u"4"_s, u"Sato"_s))), nullptr);
        QCOMPARE(list.AddMember(player(u"4"_s, u"Sato"_s)), nullptr);
        TStatPlayer* anonymous = list.AddMember(player(u"4"_s, QString()));
        QVERIFY(anonymous);
        QCOMPARE(list.FindMember(player(u"4"_s, QString())), anonymous);
        QCOMPARE(list.FindMember(player(u"4"_s, u"Sato"_s)), sato);
        QCOMPARE(list.FindMember(player(u"04"_s, u"Sato"_s)), nullptr);
        list.SetVisibleAll(0);
        QCOMPARE(sato->visible, 0);
        list.DeleteMember(player(u"4"_s, u"Sato"_s));
        QCOMPARE(members(list), QStringList{u"4 "_s});
        // Taken out of the list, still alive for whoever points at it.
        QCOMPARE(sato->GetName(), u"Sato"_s);
        list.DeleteMember(player(u"9"_s, u"Nobody"_s));
        QCOMPARE(list.Count(), 1);
    }

    void mergeTeams()
    {
        TeamList teams(&load({{u"45001"_s, u"Hawks"_s, {u"4 Sato"_s}, u"Hawkz"_s, {u"7 Ito"_s}},
                              {u"45002"_s, u"Hawkz"_s, {u"5 Kato"_s}, u"Owls"_s, {}},
                              {u"45003"_s, u"Hawks"_s, {u"4 Sato"_s}, u"Owls"_s, {}}}));
        TGTeam* hawks = team(teams, u"Hawks"_s);
        TGTeam* hawkz = team(teams, u"Hawkz"_s);
        teams.MergeTeams(hawks, hawks);
        QCOMPARE(teams.Count(), 3);
        teams.MergeTeams(hawks, hawkz);
        QCOMPARE(names(teams), (QStringList{u"Hawks"_s, u"Owls"_s}));
        QVERIFY(!teams.Contains(hawkz));
        QCOMPARE(hawkz->GetName(), u"Hawkz"_s); // merged away, still alive
        // The game they met in has both sides named Hawks and stands twice.
        QCOMPARE(listings(*hawks), (QStringList{u"45001:A:4 Sato"_s, u"45001:B:7 Ito"_s, u"45002:A:5 Kato"_s,
                                                u"45003:A:4 Sato"_s}));
        QCOMPARE(m_games->At(1)->sideA.GetName(), u"Hawks"_s);
        QCOMPARE(members(hawks->Members()), (QStringList{u"4 Sato"_s, u"5 Kato"_s, u"7 Ito"_s}));
        teams.MergeTeams(hawks, hawkz); // no longer in the list
        QCOMPARE(listings(*hawks).size(), 4);
    }

    void mergePlayer()
    {
        TeamList teams(&load({{u"45001"_s, u"Hawks"_s, {u"4 Sato"_s, u"14 Sato"_s}, u"Owls"_s, {}},
                              {u"45002"_s, u"Hawks"_s, {u"14 Sato"_s}, u"Owls"_s, {u"14 Sato"_s}}}));
        TGTeam* hawks = team(teams, u"Hawks"_s);
        TStatPlayer* four = hawks->Members().At(0);
        TStatPlayer* fourteen = hawks->Members().At(1);
        four->starter = 1;
        four->position = u"C"_s;
        hawks->MergePlayer(*four, *fourteen);
        QCOMPARE(members(hawks->Members()), QStringList{u"4 Sato"_s});
        // Both of the first game's entries now carry 4's identity, each with its own counters.
        QCOMPARE(listings(*hawks), (QStringList{u"45001:A:4 Sato,4 Sato"_s, u"45002:A:4 Sato"_s}));
        const TStatPlayer* merged = m_games->At(1)->sideA.Players().At(0);
        QCOMPARE(merged->kind, kIdentityKind);
        QCOMPARE(merged->IsStarter(), 1);
        QCOMPARE(merged->GetPosition(), u"C"_s);
        QCOMPARE(merged->counters[kTwoMadePoints], 2);
        // The opponents' player of the same identity is not the team's.
        QCOMPARE(m_games->At(1)->sideB.Players().At(0)->GetNumber(), u"14"_s);
        hawks->MergePlayer(*four, *four);
        QCOMPARE(hawks->Members().Count(), 1);
    }

    void intraSquadGameUsesEachSide()
    {
        TeamList teams(&load({{u"45001"_s, u"Owls"_s, {u"4 Sato"_s}, u"Owls"_s, {u"7 Ito"_s}}}));
        TGTeam* owls = team(teams, u"Owls"_s);
        QCOMPARE(members(owls->Members()), (QStringList{u"4 Sato"_s, u"7 Ito"_s}));
        owls->MergePlayer(*owls->Members().At(0), *owls->Members().At(1));
        QCOMPARE(listings(*owls), (QStringList{u"45001:A:4 Sato"_s, u"45001:B:4 Sato"_s}));
        owls->Rename(u"Hoots"_s);
        QCOMPARE(m_games->At(0)->sideA.GetName(), u"Hoots"_s);
        QCOMPARE(m_games->At(0)->sideB.GetName(), u"Hoots"_s);
    }

    void renameAndDelete()
    {
        TeamList teams(&load({{u"45001"_s, u"Hawks"_s, {u"4 Sato"_s}, u"Owls"_s, {}},
                              {u"45002"_s, u"Owls"_s, {}, u"Hawks"_s, {u"4 Sato"_s}}}));
        TGTeam* hawks = team(teams, u"Hawks"_s);
        hawks->Rename(u"Owls"_s);
        QCOMPARE(names(teams), (QStringList{u"Owls"_s, u"Owls"_s}));
        QCOMPARE(listings(*hawks), (QStringList{u"45001:A:4 Sato"_s, u"45002:A:"_s}));
        TGTeam* owls = teams.At(1);
        teams.DeleteTeam(owls);
        QCOMPARE(teams.Count(), 1);
        teams.DeleteTeam(owls);
        QCOMPARE(teams.Count(), 1);
        // The games keep their sides and players.
        QCOMPARE(m_games->At(1)->sideB.Players().Count(), 1);
        hawks->Members().DeleteMember(*hawks->Members().At(0));
        QCOMPARE(hawks->Members().Count(), 0);
        QCOMPARE(m_games->At(0)->sideA.Players().Count(), 1);
    }
};

QTEST_MAIN(tst_season)
#include "tst_season.moc"
