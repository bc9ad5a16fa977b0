// Game records and the game-file loader: what a file gives, and what damaged and foreign files do.
#include <tuple>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "gamefile/GameFileFormat.h"
#include "hoopledger/Tgamelist.h"
#include "support/Ledger.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;
using LoadResult = TGameList::LoadResult;

Q_DECLARE_METATYPE(LoadResult)

namespace {

// Counters in the record's slot order, to compare whole players at once.
QString describe(const TStatPlayer& player)
{
    QStringList counters;
    for (const int value : player.counters)
        counters << QString::number(value);
    return QStringList{player.GetNumber(),
                       player.GetName(),
                       player.GetPosition(),
                       QString::number(player.IsStarter()),
                       QString::number(player.kind),
                       counters.join(u' '),
                       FormatPlayTime(player.PlayTime())}
        .join(u'|');
}

QStringList describe(const TGameSide& side)
{
    QStringList players = {side.GetName()};
    for (const TStatPlayer* player : side.Players())
        players << describe(*player);
    return players;
}

// The small game the scoring program's writer tests expect, as the file it writes.
QStringList smallGameFile()
{
    QFile file(QStringLiteral(HOOP_TEST_DATA "/expected_small.game.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class tst_gamerecords : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    // Loads the lines as one game file into a fresh list.
    LoadResult load(TGameList& list, const QStringList& lines, const QString& lineEnd = u"\r\n"_s)
    {
        const QString path = m_dir.filePath(u"g%1.game"_s.arg(++m_files));
        writeText(path, lines, lineEnd);
        return list.AddGameFile(path);
    }

private slots:
    void writtenGameLoads()
    {
        TGameList list;
        QCOMPARE(load(list, smallGameFile()), LoadResult::Added);
        QCOMPARE(list.Count(), 1);
        const TGame& game = *list.At(0);
        QCOMPARE(game.tournament, u"第5回市民大会"_s);
        QCOMPARE(game.place, u"市民体育館"_s);
        QCOMPARE(game.gameNumber, u"3"_s);
        QCOMPARE(game.date, 45430.0);
        QCOMPARE(game.time, 45430.6041666667);
        QCOMPARE(game.hasStats, 1);
        QCOMPARE(game.enabled, 1);
        // The coaches have no number: no players. Ten minutes written with 15 digits show as 10:00.
        QCOMPARE(
            describe(game.sideA),
            (QStringList{u"東京ホークス"_s, u"4|佐藤 一郎|PG|1|0|2 0 0 0 1 1 0 0 0 0 0 0 0|00:10:00"_s}));
        QCOMPARE(describe(game.sideB),
                 (QStringList{u"Osaka Bears"_s, u"7|田中|ｾﾝﾀｰ|1|0|0 2 0 0 0 0 1 0 0 1 0 0 0|00:10:00"_s}));
        QCOMPARE(game.sideA.Score(), 3);
        QCOMPARE(game.sideB.Score(), 0);
    }

    void blockLinesGoToTheirSlots()
    {
        TGameList list;
        // File order: 3P made and missed points, 2P made and missed points, FT made and missed, fouls,
        // assists, offensive and defensive rebounds, blocks, turnovers, steals.
        const QStringList blocks = playerBlock(u"Sato"_s, u"4"_s, {9, 6, 4, 2, 5, 3, 1, 7, 8, 10, 11, 12, 13},
                                               u"0.0104166666666667"_s, true);
        QCOMPARE(load(list, gameFile(u"45000"_s, u"A"_s, blocks, u"B"_s, {})), LoadResult::Added);
        QCOMPARE(describe(list.At(0)->sideA),
                 (QStringList{u"A"_s, u"4|Sato|PG|1|0|4 2 9 6 5 3 1 7 8 10 11 12 13|00:15:00"_s}));
        QCOMPARE(list.At(0)->sideA.Score(), 4 + 9 + 5);
    }

    void playerBlocks_data()
    {
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<QStringList>("players");
        const QString zeros = u"0 0 0 0 0 0 0 0 0 0 0 0 0"_s;
        QTest::newRow("empty number drops the block")
            << playerBlock(u"Coach"_s, QString()) + playerBlock(u"Ito"_s, u"5"_s)
            << QStringList{u"5|Ito|PG|0|0|"_s + zeros + u"|00:00:00"_s};
        QTest::newRow("number 0 is a player")
            << playerBlock(u"Ito"_s, u"0"_s) << QStringList{u"0|Ito|PG|0|0|"_s + zeros + u"|00:00:00"_s};
        QTest::newRow("same name and number: the second dropped")
            << playerBlock(u"Ito"_s, u"5"_s, {3}) + playerBlock(u"Ito"_s, u"5"_s, {6})
            << QStringList{u"5|Ito|PG|0|0|0 0 3 0 0 0 0 0 0 0 0 0 0|00:00:00"_s};
        QTest::newRow("an empty name is no wildcard")
            << playerBlock(u"Ito"_s, u"5"_s) + playerBlock(QString(), u"5"_s)
            << QStringList{u"5|Ito|PG|0|0|"_s + zeros + u"|00:00:00"_s,
                           u"5||PG|0|0|"_s + zeros + u"|00:00:00"_s};
        QTest::newRow("07 and 7 are two players")
            << playerBlock(u"Ito"_s, u"7"_s) + playerBlock(u"Ito"_s, u"07"_s)
            << QStringList{u"7|Ito|PG|0|0|"_s + zeros + u"|00:00:00"_s,
                           u"07|Ito|PG|0|0|"_s + zeros + u"|00:00:00"_s};
        QStringList oddNumbers = playerBlock(u"Ito"_s, u"5"_s, {1, 2});
        oddNumbers[4] = u"2"_s;           // any non-zero starter value
        oddNumbers[5] = u"x"_s;           // not a whole number: 0
        oddNumbers[6] = u"99999999999"_s; // beyond 32 bits: 0
        oddNumbers[7] = u"2147483647"_s;
        oddNumbers[8] = u"-4"_s;
        QTest::newRow("odd counters")
            << oddNumbers << QStringList{u"5|Ito|PG|1|0|2147483647 -4 0 0 0 0 0 0 0 0 0 0 0|00:00:00"_s};
        QStringList endInside = playerBlock(u"Ito"_s, u"5"_s);
        endInside[0] = u"#STATS-END"_s;
        QTest::newRow("#STATS-END inside a team is a block's first line")
            << endInside << QStringList{u"5|Ito|PG|0|0|"_s + zeros + u"|00:00:00"_s};
        QStringList atTheBound;
        for (int i = 0; i < gamefile::kMaxStatsEntries; ++i)
            atTheBound << playerBlock(u"Ito"_s, u"5"_s);
        QTest::newRow("as many entries as a file may hold")
            << atTheBound << QStringList{u"5|Ito|PG|0|0|"_s + zeros + u"|00:00:00"_s};
    }

    void playerBlocks()
    {
        QFETCH(QStringList, blocks);
        QFETCH(QStringList, players);
        TGameList list;
        QCOMPARE(load(list, gameFile(u"45000"_s, u"A"_s, blocks, u"B"_s, {})), LoadResult::Added);
        QCOMPARE(describe(list.At(0)->sideA), QStringList{u"A"_s} + players);
    }

    void markers_data()
    {
        QTest::addColumn<QString>("teamEnd");
        QTest::addColumn<LoadResult>("result");
        QTest::newRow("text after the marker") << u"#TEAM-END and more"_s << LoadResult::Added;
        // A blank before it: the line opens a player block that runs past the end of the file.
        QTest::newRow("blank before the marker") << u" #TEAM-END"_s << LoadResult::Damaged;
    }

    void markers()
    {
        QFETCH(QString, teamEnd);
        QFETCH(LoadResult, result);
        QStringList lines = gameFile(u"45000"_s, u"A"_s, playerBlock(u"Ito"_s, u"5"_s), u"B"_s, {});
        lines.replace(lines.indexOf(u"#TEAM-END"_s), teamEnd);
        TGameList list;
        QCOMPARE(load(list, lines), result);
    }

    // The block is the last whole one, found by its marker at the beginning of a line: the same lines
    // the scoring program takes for it, whatever else reads like it.
    void linesThatReadLikeTheBlock_data()
    {
        QTest::addColumn<QString>("before"); // the line they stand before
        QTest::addColumn<QStringList>("inserted");
        QTest::newRow("marker inside a line")
            << u"Log-End"_s << QStringList{u"メモ #STATS-START"_s, u"x#STATS-START"_s};
        QTest::newRow("commentary with the block's markers")
            << u"#STATS-START"_s
            << QStringList{u"Senhyou-Start"_s, u"#STATS-START"_s, u"#STATS-END"_s, u"Senhyou-End"_s};
        QTest::newRow("commentary with a whole empty block")
            << u"#STATS-START"_s
            << QStringList{u"Senhyou-Start"_s, u"#STATS-START"_s, u"#TEAM-START"_s, u"X"_s, u"0"_s,
                           u"#TEAM-END"_s,     u"#STATS-END"_s,   u"Senhyou-End"_s};
    }

    void linesThatReadLikeTheBlock()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, inserted);
        QStringList lines = gameFile(u"45000"_s, u"A"_s, playerBlock(u"伊藤"_s, u"5"_s), u"B"_s, {});
        const qsizetype at = lines.indexOf(before);
        for (qsizetype i = 0; i < inserted.size(); ++i)
            lines.insert(at + i, inserted[i]);
        TGameList list;
        QCOMPARE(load(list, lines), LoadResult::Added);
        QCOMPARE(list.At(0)->hasStats, 1);
        QCOMPARE(describe(list.At(0)->sideA).size(), 2);
        QCOMPARE(list.At(0)->sideA.Players().At(0)->GetName(), u"伊藤"_s);
    }

    void header_data()
    {
        QTest::addColumn<QString>("line7");
        QTest::addColumn<QString>("gameNumber");
        // The oldest format has neither game number nor officials: team A's marker stands at line 7.
        QTest::newRow("oldest format") << QString() << QString();
        QTest::newRow("number") << u"12"_s << u"12"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("text") << u"Ａ-3"_s << u"Ａ-3"_s;
        // Followed by the officials, as the scoring program reads it back.
        QTest::newRow("typed like team A's marker") << u"TeamA-Start"_s << u"TeamA-Start"_s;
    }

    void header()
    {
        QFETCH(QString, line7);
        QFETCH(QString, gameNumber);
        QStringList lines = gameFile(u"45000"_s, u"A"_s, {}, u"B"_s, {});
        if (QByteArrayView(QTest::currentDataTag()) == "oldest format") {
            lines.removeAll(u"Official-Start"_s);
            lines.removeAll(u"Official-End"_s);
            lines.removeAt(6);
        } else {
            lines[6] = line7;
        }
        TGameList list;
        QCOMPARE(load(list, lines), LoadResult::Added);
        QCOMPARE(list.At(0)->gameNumber, gameNumber);
    }

    // Older writers wrote no statistics block.
    void withoutStatistics()
    {
        QStringList lines = gameFile(u"45000"_s, u"A"_s, playerBlock(u"Ito"_s, u"5"_s), u"B"_s, {});
        lines = lines.mid(0, lines.indexOf(u"#STATS-START"_s));
        lines[1] = u"02.02.08"_s;
        TGameList list;
        QCOMPARE(load(list, lines), LoadResult::Added);
        QCOMPARE(list.At(0)->hasStats, 0);
        QCOMPARE(describe(list.At(0)->sideA), QStringList{QString()});
        QCOMPARE(describe(list.At(0)->sideB), QStringList{QString()});
    }

    void damaged_data()
    {
        QTest::addColumn<QStringList>("lines");
        const QStringList good = gameFile(u"45000"_s, u"A"_s, playerBlock(u"Ito"_s, u"5"_s), u"B"_s, {});
        auto with = [&good](int index, const QString& line) {
            QStringList lines = good;
            lines[index] = line;
            return lines;
        };
        for (const QString& bad : {u"nan"_s, u"inf"_s, u"-inf"_s, u"1e400"_s, u"abc"_s, QString()}) {
            QTest::addRow("date %s", qPrintable(bad)) << with(4, bad);
            QTest::addRow("time %s", qPrintable(bad)) << with(5, bad);
            QTest::addRow("playing time %s", qPrintable(bad)) << with(good.indexOf(u"#TEAM-END"_s) - 1, bad);
        }
        QTest::newRow("six lines") << good.mid(0, 6);
        QStringList third = good;
        third.insert(third.indexOf(u"#STATS-END"_s), u"#TEAM-START"_s);
        third.insert(third.indexOf(u"#STATS-END"_s), u"C"_s);
        third.insert(third.indexOf(u"#STATS-END"_s), u"0"_s);
        third.insert(third.indexOf(u"#STATS-END"_s), u"#TEAM-END"_s);
        QTest::newRow("third team block") << third;
        QTest::newRow("file ends inside a player block") << good.mid(0, good.indexOf(u"#TEAM-END"_s) - 5);
        QStringList pastTheBound;
        for (int i = 0; i < 10002; ++i)
            pastTheBound << playerBlock(u"Ito"_s, u"5"_s);
        QTest::newRow("more entries in a team than a file may hold")
            << gameFile(u"45000"_s, u"A"_s, pastTheBound, u"B"_s, {});
        // The current writer always ends with the block; a start marker without a whole block after it
        // is a block cut short, whatever the version.
        QTest::newRow("current version cut before its block") << good.mid(0, good.indexOf(u"#STATS-START"_s));
        QStringList olderCut = good.mid(0, good.indexOf(u"#TEAM-END"_s));
        olderCut[1] = u"02.02.08"_s;
        QTest::newRow("older version cut in its block") << olderCut;
    }

    void damaged()
    {
        QFETCH(QStringList, lines);
        TGameList list;
        QCOMPARE(load(list, lines), LoadResult::Damaged);
        QCOMPARE(list.Count(), 0);
    }

    // What the scoring program refuses, past a bound of what a file may hold, is named with the
    // damaged files; at the bound it loads.
    void bounds_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<qint64>("bytes"); // the file grown to this size, 0 as written
        QTest::addColumn<LoadResult>("result");
        const QStringList good = gameFile(u"45000"_s, u"A"_s, playerBlock(u"Ito"_s, u"5"_s), u"B"_s, {});
        // A section's lines, put in the writer's place; what they hold does not count.
        auto with = [&good](const QString& section, const QString& after, qsizetype count) {
            QStringList lines = good;
            const qsizetype start = lines.indexOf(section + u"-Start"_s);
            if (start >= 0)
                lines.remove(start, lines.indexOf(section + u"-End"_s) - start + 1);
            const QStringList body = QStringList{section + u"-Start"_s} + QStringList(count, u"x"_s) +
                                     QStringList{section + u"-End"_s};
            qsizetype at = lines.indexOf(after) + 1;
            for (const QString& line : body)
                lines.insert(at++, line);
            return lines;
        };
        const std::tuple<const char*, QString, int> sections[] = {
            {"log", u"Log"_s, gamefile::kMaxLogEntries},
            {"team", u"TeamB"_s, gamefile::kMaxTeamLines},
            {"options", u"Option"_s, gamefile::kMaxOptionLines},
            {"commentary", u"Senhyou"_s, gamefile::kMaxCommentaryLines}};
        const QString after[] = {u"TeamB-End"_s, u"TeamA-End"_s, u"TeamB-End"_s, u"Log-End"_s};
        for (std::size_t i = 0; i < std::size(sections); ++i) {
            const auto& [name, section, most] = sections[i];
            QTest::addRow("%s at its bound", name)
                << with(section, after[i], most) << qint64(0) << LoadResult::Added;
            QTest::addRow("%s past its bound", name)
                << with(section, after[i], most + 1) << qint64(0) << LoadResult::Damaged;
        }
        QStringList entries;
        for (int i = 0; i <= gamefile::kMaxStatsEntries; ++i)
            entries << playerBlock(u"Ito"_s, QString());
        QTest::newRow("statistics entries past their bound")
            << gameFile(u"45000"_s, u"A"_s, {}, u"B"_s, entries) << qint64(0) << LoadResult::Damaged;
        // Grown with empty lines after the block, which no reader looks at.
        QTest::newRow("bytes at their bound") << good << gamefile::kMaxGameFileBytes << LoadResult::Added;
        QTest::newRow("bytes past their bound")
            << good << gamefile::kMaxGameFileBytes + 1 << LoadResult::Damaged;
        for (const qsizetype length : {gamefile::kMaxLineBytes, gamefile::kMaxLineBytes + 1}) {
            QStringList lines = good;
            lines.insert(lines.indexOf(u"Log-End"_s) + 1, u"Senhyou-End"_s);
            lines.insert(lines.indexOf(u"Log-End"_s) + 1, QString(length, u'x'));
            lines.insert(lines.indexOf(u"Log-End"_s) + 1, u"Senhyou-Start"_s);
            QTest::addRow("a line %s its bound", length > gamefile::kMaxLineBytes ? "past" : "at")
                << lines << qint64(0)
                << (length > gamefile::kMaxLineBytes ? LoadResult::Damaged : LoadResult::Added);
        }
    }

    void bounds()
    {
        QFETCH(QStringList, lines);
        QFETCH(qint64, bytes);
        QFETCH(LoadResult, result);
        const QString path = m_dir.filePath(u"bound.game"_s);
        writeText(path, lines);
        if (bytes > 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::Append));
            QVERIFY(file.write(QByteArray(bytes - file.size(), '\n')) > 0);
        }
        TGameList list;
        QCOMPARE(list.AddGameFile(path), result);
        QCOMPARE(list.Count(), result == LoadResult::Added ? 1 : 0);
    }

    // A game file cut after every line: never half a game. The current writer always writes the
    // statistics block; a file of an older one without it loads, without statistics.
    void cutAtEveryLine_data()
    {
        QTest::addColumn<QString>("version");
        QTest::newRow("current version") << u"02.03.01"_s;
        QTest::newRow("older version") << u"02.02.08"_s;
    }

    void cutAtEveryLine()
    {
        QFETCH(QString, version);
        QStringList full = smallGameFile();
        full[1] = version;
        const bool older = version != gamefile::kVersion;
        const qsizetype statsStart = full.indexOf(u"#STATS-START"_s);
        for (qsizetype kept = 0; kept <= full.size(); ++kept) {
            TGameList list;
            const LoadResult result = load(list, full.mid(0, kept));
            const LoadResult expected = kept == 0                     ? LoadResult::NotAGame
                                        : kept < 7                    ? LoadResult::Damaged
                                        : older && kept <= statsStart ? LoadResult::Added
                                        : kept < full.size()          ? LoadResult::Damaged
                                                                      : LoadResult::Added;
            QVERIFY2(result == expected, qPrintable(u"kept %1 lines"_s.arg(kept)));
            QCOMPARE(list.Count(), result == LoadResult::Added ? 1 : 0);
            if (result == LoadResult::Added)
                QCOMPARE(list.At(0)->hasStats, kept == full.size() ? 1 : 0);
        }
    }

    void notAGame_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("wrong magic") << QByteArray("#Hooptaly\r\n02.03.01\r\n");
        QTest::newRow("magic with a blank") << QByteArray("#Hooptally \r\n02.03.01\r\n");
        QTest::newRow("member file") << QByteArray("#Hooproster\r\nA,1,4,Sato,PG,Starter,,\r\n");
        QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe\x81", 5);
    }

    void notAGame()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(u"foreign.game"_s);
        writeBytes(path, bytes);
        TGameList list;
        QCOMPARE(list.AddGameFile(path), LoadResult::NotAGame);
        QCOMPARE(list.AddGameFile(m_dir.filePath(u"missing.game"_s)), LoadResult::NotAGame);
        QCOMPARE(list.AddGameFile(m_dir.path()), LoadResult::NotAGame);
        QCOMPARE(list.Count(), 0);
    }

    void lineEnds_data()
    {
        QTest::addColumn<QString>("lineEnd");
        QTest::newRow("CRLF") << u"\r\n"_s;
        QTest::newRow("LF") << u"\n"_s;
        QTest::newRow("CR") << u"\r"_s;
    }

    void lineEnds()
    {
        QFETCH(QString, lineEnd);
        TGameList list;
        QCOMPARE(load(list, smallGameFile(), lineEnd), LoadResult::Added);
        QCOMPARE(list.At(0)->sideA.Players().Count(), 1);
        QCOMPARE(list.At(0)->sideB.GetName(), u"Osaka Bears"_s);
    }

    void formatPlayTime_data()
    {
        QTest::addColumn<double>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0.0 << u"00:00:00"_s;
        QTest::newRow("ten minutes as written") << 0.00694444444444444 << u"00:10:00"_s;
        QTest::newRow("ten minutes exactly") << 1.0 / 144 << u"00:10:00"_s;
        QTest::newRow("a day and a half") << 1.5 << u"36:00:00"_s;
        QTest::newRow("123:04:05") << (123 * 3600 + 4 * 60 + 5) / 86400.0 << u"123:04:05"_s;
        QTest::newRow("59.4 seconds") << 59.4 / 86400 << u"00:00:59"_s;
        QTest::newRow("59.6 seconds") << 59.6 / 86400 << u"00:01:00"_s;
        QTest::newRow("negative") << -61.0 / 86400 << u"-00:01:01"_s;
        QTest::newRow("huge") << 1e300 << u"277777777777:46:40"_s;
    }

    void formatPlayTime()
    {
        QFETCH(double, time);
        QFETCH(QString, text);
        QCOMPARE(FormatPlayTime(time), text);
    }

    void sortByDate()
    {
        TGameList list;
        for (const QString& date : {u"45413"_s, u"45415"_s, u"45413.9"_s, u"45413"_s})
            QCOMPARE(load(list, gameFile(date, date, {}, u"B"_s, {})), LoadResult::Added);
        list.SortByDate();
        QStringList order;
        for (const TGame* game : list)
            order << game->sideA.GetName();
        // Equal dates keep their load order; the time of day in a date counts.
        QCOMPARE(order, (QStringList{u"45413"_s, u"45413"_s, u"45413.9"_s, u"45415"_s}));
    }

    void scoreAndSides()
    {
        const QStringList a = playerBlock(u"Ito"_s, u"5"_s, {3, 0, 4, 0, 2}) +
                              playerBlock(u"Sato"_s, u"6"_s, {0, 0, -10, 0, 1}) +
                              playerBlock(u"Kato"_s, u"7"_s, {0, 9, 0, 9, 0, 9, 9, 9, 9, 9, 9, 9, 9});
        TGameList list;
        QCOMPARE(load(list, gameFile(u"45000"_s, u"Same"_s, a, u"Same"_s, {})), LoadResult::Added);
        TGame& game = *list.At(0);
        // Misses, fouls and the rest are no points; a player below zero adds nothing.
        QCOMPARE(game.sideA.Score(), 9);
        QCOMPARE(game.FindSide(u"Same"_s), &game.sideA);
        game.sideA.SetName(u"Other"_s);
        QCOMPARE(game.FindSide(u"Same"_s), &game.sideB);
        QCOMPARE(game.FindSide(u"Other"_s), &game.sideA);
        QCOMPARE(game.FindSide(u"other"_s), nullptr);
        QCOMPARE(PeriodCount(), 7);
    }
};

QTEST_MAIN(tst_gamerecords)
#include "tst_gamerecords.moc"
