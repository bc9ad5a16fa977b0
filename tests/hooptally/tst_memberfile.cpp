// Member files (*.member): splitting, parsing, reading, writing, and the main window's read and write
// commands for both teams.
#include "gamefile/GameFileFormat.h"
#include "gamefile/GameFileSections.h"
#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/Codec.h"
#include "platform/StringList.h"
#include "platform/testing/NonRegularFiles.h"
#include "platform/testing/ScriptedDialogs.h"
#include "support/Program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace hooptally;
using namespace hooptally::testing;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// "id:number:name:status:starter:official:position" per player, "|" between players.
QString describe(const TTeam& team)
{
    QStringList players;
    for (int i = 0; i < team.Count(); ++i) {
        const TPlayer* p = team.PlayerAt(i);
        players << QStringLiteral("%1:%2:%3:%4:%5:%6:%7")
                       .arg(p->id)
                       .arg(p->number, p->name)
                       .arg(p->status)
                       .arg(p->starter)
                       .arg(p->official)
                       .arg(p->position);
    }
    return players.join(QLatin1Char('|'));
}

TPlayer* addPlayer(TTeam& team, int id, const QString& number, const QString& name, std::uint8_t status,
                   std::uint8_t starter = 0, const QString& position = {})
{
    auto player = std::make_unique<TPlayer>(&team);
    player->id = id;
    player->number = number;
    player->name = name;
    player->status = status;
    player->starter = starter;
    player->position = position;
    return team.AddPlayer(std::move(player));
}

QByteArray memberBytes(const QString& text)
{
    return platform::Codec::toCp932(text);
}

} // namespace

class tst_memberfile : public QObject
{
    Q_OBJECT
private slots:
    void splitCommaLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("written line, empty last two")
            << "A,7,12,Name,PG,Starter,," << QStringList{"A", "7", "12", "Name", "PG", "Starter", ""};
        QTest::newRow("empty field between commas kept") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("leading empty field") << ",a" << QStringList{"", "a"};
        QTest::newRow("single field") << "a" << QStringList{"a"};
        QTest::newRow("lone comma") << "," << QStringList{""};
        QTest::newRow("empty line") << "" << QStringList{};
        QTest::newRow("comment line") << "#A,1,2,N,P" << QStringList{};
        QTest::newRow("hash later is text") << "A,#1" << QStringList{"A", "#1"};
        QTest::newRow("spaces kept") << " a , b " << QStringList{" a ", " b "};
    }
    void splitCommaLine()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, expected);
        QStringList fields{QStringLiteral("kept")};
        SplitCommaLine(line, fields);
        QCOMPARE(fields, QStringList{QStringLiteral("kept")} + expected);
    }

    void parseRosterLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("teamName");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("starter on court")        << "A,7,12,Name,PG,Starter,," << "A" << "7:12:Name:0:1:0:PG";
        QTest::newRow("five fields, not listed") << "A,7,12,Name,PG"           << "A" << "7:12:Name:2:0:0:PG";
        QTest::newRow("assistant coach")         << "A,2,,Coach,ｱｼｽﾀﾝﾄｺｰﾁ,,Coach,"
                                                 << "A" << "2::Coach:4:0:0:ｱｼｽﾀﾝﾄｺｰﾁ";
        QTest::newRow("head coach")              << "A,2,,C,ﾍｯﾄﾞｺｰﾁ,,Coach,"   << "A" << "2::C:3:0:0:ﾍｯﾄﾞｺｰﾁ";
        QTest::newRow("coach of no kind")        << "A,2,,Coach,GM,,Coach"     << "A" << "2::Coach:4:0:0:GM";
        QTest::newRow("coach marked starter")    << "A,2,,C,ﾍｯﾄﾞｺｰﾁ,Starter,Coach"
                                                 << "A" << "2::C:3:1:0:ﾍｯﾄﾞｺｰﾁ";
        QTest::newRow("official")                << "A,5,9,N,F,,,Official"     << "A" << "5:9:N:2:0:1:F";
        QTest::newRow("flags compared exactly")  << "A,5,9,N,F,starter,Coach ,official"
                                                 << "A" << "5:9:N:2:0:0:F";
        QTest::newRow("id not a number")         << "A,x,9,N,F"                << "A" << "1:9:N:2:0:0:F";
        QTest::newRow("negative id")             << "A,-4,9,N,F"               << "A" << "1:9:N:2:0:0:F";
        QTest::newRow("four fields skipped")     << "A,1,2,N"                  << "old" << "";
        QTest::newRow("one field skipped")       << "A"                        << "old" << "";
        QTest::newRow("comment skipped")         << "#A,1,2,N,P,Starter"       << "old" << "";
        QTest::newRow("team name beginning with #")
            << "#A,1,2,N,P,Starter,," << "#A" << "1:2:N:0:1:0:P";
        QTest::newRow("empty line skipped")      << ""                         << "old" << "";
        // clang-format on
    }
    void parseRosterLine()
    {
        QFETCH(QString, line);
        TTeam team(0, 1);
        team.name = QStringLiteral("old");
        team.LoadRosterLines({QStringLiteral("#Hooproster"), line});
        QTEST(team.name, "teamName");
        QTEST(describe(team), "expected");
        QCOMPARE(team.modified, std::uint8_t(team.Count() > 0 ? 1 : 0));
    }

    // Every player keeps an ID of its own, whatever the file says.
    void duplicateIdsGetTheNextFreeId()
    {
        TTeam team(0, 1);
        team.LoadRosterLines(
            {"#Hooproster", "A,1,4,a,P", "A,1,5,b,P", "A,2,6,c,P", "A,0,7,d,P", "A,9,8,e,P"});
        QCOMPARE(describe(team), QStringLiteral("1:4:a:2:0:0:P|2:5:b:2:0:0:P|3:6:c:2:0:0:P|4:7:d:2:0:0:P|"
                                                "9:8:e:2:0:0:P"));
    }

    void loadRoster_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("expected"); // "team name: players"
        const QByteArray header = "#Hooptally\r\n02.03.01\r\nT\r\nP\r\n45000\r\n45000.5\r\n1\r\n";
        const QByteArray game = header + "TeamA-Start\r\nTeamA-End\r\nTeamB-Start\r\nB,4,5,N,P,Starter,,\r\n"
                                         "TeamB-End\r\nLog-Start\r\nX,1,2,3,4\r\n";
        const QByteArray cp932 =
            "#Hooproster\r\n"
            "\x93\x8c\x8b\x9e,1,,\x8d\xb2\x93\xa1,\xcd\xaf\xc4\xde\xba\xb0\xc1,,Coach,\r\n"
            "\x93\x8c\x8b\x9e,2,4,\x96\xbc\x91\x4f,PG,Starter,,Official\r\n";
        // clang-format off
        QTest::newRow("header only")        << QByteArray("#Hooproster\r\n") << "" << false << "old: ";
        QTest::newRow("header without end") << QByteArray("#Hooproster")     << "" << false << "old: ";
        QTest::newRow("empty file")         << QByteArray()                   << "" << false << "old: ";
        QTest::newRow("unknown header")     << QByteArray("#Hoop\r\nA,1,2,N,P\r\n") << "" << false << "old: ";
        QTest::newRow("header compared exactly")
            << QByteArray("#Hooproster \r\nA,1,2,N,P\r\n") << "" << false << "old: ";
        QTest::newRow("CP932 names and coach kinds")
            << cp932 << "" << true << "東京: 1::佐藤:3:0:0:ﾍｯﾄﾞｺｰﾁ|2:4:名前:0:1:1:PG";
        QTest::newRow("last team name wins")
            << QByteArray("#Hooproster\r\nA,1,2,N,P\r\nB,2,3,M,P\r\n") << "" << true
            << "B: 1:2:N:2:0:0:P|2:3:M:2:0:0:P";
        QTest::newRow("LF line ends")
            << QByteArray("#Hooproster\nA,1,2,N,P\nA,2,3,M,P\n") << "" << true
            << "A: 1:2:N:2:0:0:P|2:3:M:2:0:0:P";
        QTest::newRow("CR line ends, no end on the last")
            << QByteArray("#Hooproster\rA,1,2,N,P\rA,2,3,M,P") << "" << true
            << "A: 1:2:N:2:0:0:P|2:3:M:2:0:0:P";
        QTest::newRow("short, comment and empty lines")
            << QByteArray("#Hooproster\r\nA,1,2,N\r\n#B,2,3,M,P\r\n\r\nC,3,4,O,P\r\n") << "" << true
            << "C: 3:4:O:2:0:0:P";
        QTest::newRow("only damaged lines") << QByteArray("#Hooproster\r\nA,1\r\n") << "" << true << "old: ";
        QTest::newRow("missing and taken IDs across the file")
            << QByteArray("#Hooproster\r\nA,0,1,a,P\r\nA,1,2,b,P\r\nA,1,3,c,P\r\nA,3,4,d,P\r\nA,x,5,e,P\r\n"
                          "A,9,6,f,P\r\n")
            << "" << true << "A: 1:1:a:2:0:0:P|2:2:b:2:0:0:P|3:3:c:2:0:0:P|4:4:d:2:0:0:P|5:5:e:2:0:0:P|9:6:f:2:0:0:P";
        QTest::newRow("game file, empty section") << game << "TeamA-" << true << "old: ";
        QTest::newRow("game file, team B")        << game << "TeamB-" << true << "B: 4:5:N:0:1:0:P";
        QTest::newRow("game file, section without end")
            << header + "TeamA-Start\r\nA,1,2,N,P\r\n" << "TeamA-" << true << "A: 1:2:N:2:0:0:P";
        QTest::newRow("game file without the section")
            << header + "TeamB-Start\r\nB,1,2,N,P\r\nTeamB-End\r\n" << "TeamA-" << false << "old: ";
        // clang-format on
    }
    void loadRoster()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, prefix);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("team.member"));
        writeBytes(path, bytes);
        platform::StringList lines;
        QVERIFY(lines.loadFromFile(path));
        TTeam team(0, 1);
        team.name = QStringLiteral("old");
        addPlayer(team, 8, QStringLiteral("99"), QStringLiteral("before"), kOnBench);
        // A game's team is read from the section its file's split found.
        bool read = false;
        if (prefix.isEmpty()) {
            read = team.LoadRosterLines(lines);
        } else {
            const auto sections = gamefile::GameFileSections::split<QString>(lines);
            const auto& section =
                prefix == gamefile::kTeamASection.prefix() ? sections.teamA : sections.teamB;
            team.LoadTeamLines(gamefile::sectionLines<QString>(lines, section));
            read = section.has_value();
        }
        QTEST(read, "result");
        QTEST(team.name + QStringLiteral(": ") + describe(team), "expected");
        QCOMPARE(team.loaded, std::uint8_t(1));
    }

    // Rosters given as "id:number:name:status:starter:position" entries, separated by "|".
    void saveRosterLines_data()
    {
        QTest::addColumn<QString>("roster");
        QTest::addColumn<QString>("expected");
        QTest::newRow("every record but the blank row")
            << "3:4:名前:0:1:PG|1:10:ｱｲｳ:2:0:|0:::6:0:|2::監督:3:0:ﾍｯﾄﾞｺｰﾁ|5:7:X:1:0:"
            << "#Hooproster\r\n東京,3,4,名前,PG,Starter,,Official\r\n東京,1,10,ｱｲｳ,,,,\r\n"
               "東京,2,,監督,ﾍｯﾄﾞｺｰﾁ,,Coach,\r\n東京,5,7,X,,,,Official\r\n";
        QTest::newRow("only the blank row") << "0:::6:0:"
                                            << "#Hooproster\r\n";
        // The score sheet has fifteen player rows.
        QStringList roster;
        QString expected = QStringLiteral("#Hooproster\r\n");
        for (int i = 1; i <= 16; ++i) {
            roster << QStringLiteral("%1:%1:P:1:0:").arg(i);
            expected += QStringLiteral("東京,%1,%1,P,,,,%2\r\n").arg(i).arg(i <= 15 ? "Official" : "");
        }
        QTest::newRow("sixteenth listed player is not official") << roster.join(QLatin1Char('|')) << expected;
    }
    void saveRosterLines()
    {
        QFETCH(QString, roster);
        QFETCH(QString, expected);
        // "Official" is where the score sheet lists the player, so the roster goes onto the sheet first.
        Program program;
        const QString path = program.path(QStringLiteral("team.member"));
        TTeam& team = program.teamA();
        team.ClearPlayers();
        team.name = QStringLiteral("東京");
        for (const QString& entry : roster.split(QLatin1Char('|'))) {
            const QStringList f = entry.split(QLatin1Char(':'));
            addPlayer(team, f[0].toInt(), f[1], f[2], static_cast<std::uint8_t>(f[3].toInt()),
                      static_cast<std::uint8_t>(f[4].toInt()), f[5]);
        }
        FillTeamGrid(&program.form(), &team);
        QCOMPARE(team.SaveRoster(path), RosterSaveResult::Written);
        QCOMPARE(team.filePath, path);
        QCOMPARE(readBytes(path), memberBytes(expected));
        QVERIFY(program.dialogs().shown().isEmpty());
    }

    void saveRosterOutcome_data()
    {
        QTest::addColumn<QString>("target"); // relative to a fresh folder
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("members");
        QTest::addColumn<QString>("name");
        const int written = int(RosterSaveResult::Written);
        const int declined = int(RosterSaveResult::Declined);
        const int failed = int(RosterSaveResult::Failed);
        const QString n = QStringLiteral("N");
        QTest::newRow("new file") << "team.member" << false << 0 << written << 1 << n;
        QTest::newRow("existing, Yes") << "team.member" << true << int(platform::mrYes) << written << 1 << n;
        QTest::newRow("existing, No") << "team.member" << true << int(platform::mrNo) << declined << 1 << n;
        QTest::newRow("folder missing") << "missing/team.member" << false << 0 << failed << 1 << n;
        QTest::newRow("parent is a file") << "plain/team.member" << false << 0 << failed << 1 << n;
        QTest::newRow("target is a folder") << "folder" << true << int(platform::mrYes) << failed << 1 << n;
        // No team read would take the file again.
        QTest::newRow("more members than a team may list")
            << "team.member" << false << 0 << failed << gamefile::kMaxTeamLines + 1 << n;
        QTest::newRow("more bytes than a member file may hold")
            << "team.member" << true << int(platform::mrYes) << failed << 1
            << QString(gamefile::kMaxMemberFileBytes, QLatin1Char('N'));
        QTest::newRow("a longer line than a member file may hold")
            << "team.member" << true << int(platform::mrYes) << failed << 1
            << QString(gamefile::kMaxLineBytes, QLatin1Char('N'));
    }
    void saveRosterOutcome()
    {
        QFETCH(QString, target);
        QFETCH(bool, exists);
        QFETCH(int, answer);
        QFETCH(int, expected);
        QFETCH(int, members);
        QFETCH(QString, name);
        platform::testing::ScriptedDialogs dialogs;
        QTemporaryDir dir;
        writeBytes(dir.filePath(QStringLiteral("plain")), "x");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString path = dir.filePath(target);
        const QByteArray old = "#Hooproster\r\nOld,1,1,O,,,,\r\n";
        if (exists && target != QLatin1String("folder"))
            writeBytes(path, old);
        if (exists)
            dialogs.expectMessage(QStringLiteral("上書きしますよろしいですか？"), answer);
        TTeam team(0, 1);
        team.name = QStringLiteral("New");
        team.filePath = QStringLiteral("before.member");
        for (int id = 2; id < 2 + members; ++id)
            addPlayer(team, id, QStringLiteral("3"), name, kNotListed);
        QString reason;
        const RosterSaveResult result = team.SaveRoster(path, &reason);
        QCOMPARE(int(result), expected);
        if (name.size() >= gamefile::kMaxMemberFileBytes)
            QCOMPARE(reason, QStringLiteral("ファイルの大きさが上限（256 KB）を超えています"));
        else if (name.size() >= gamefile::kMaxLineBytes)
            QCOMPARE(reason, QStringLiteral("1 行の長さが上限（4096 バイト）を超えています"));
        QCOMPARE(team.filePath, result == RosterSaveResult::Written ? path : QStringLiteral("before.member"));
        if (result == RosterSaveResult::Written)
            QCOMPARE(readBytes(path), QByteArray("#Hooproster\r\nNew,2,3,N,,,,\r\n"));
        else if (result == RosterSaveResult::Declined || (exists && QFileInfo(path).isFile()))
            QCOMPARE(readBytes(path), old);
        else
            QVERIFY(!QFileInfo(path).isFile());
        if (exists)
            QVERIFY(dialogs.shown().value(0).endsWith(QStringLiteral("[Quillmarsh]")));
    }

    // Reading a roster restarts the game from the starters of both teams.
    void readRosterCommand_data()
    {
        QTest::addColumn<int>("side");
        QTest::newRow("team A") << 1;
        QTest::newRow("team B") << 2;
    }
    void readRosterCommand()
    {
        QFETCH(int, side);
        const int otherSide = 3 - side;
        Program program;
        TTeam* other = side == 1 ? &program.teamB() : &program.teamA();
        TPlayer* kept = program.addPlayer(otherSide, QStringLiteral("5"), QStringLiteral("Kept"), true);
        program.addPlayer(otherSide, QStringLiteral("6"), QStringLiteral("Bench"));
        TPlayer* scorer = program.addPlayer(side, QStringLiteral("4"), QStringLiteral("Gone"), true);
        for (int i = 0; i < 10; ++i) {
            program.act(scorer, kTwoPointMade);
            program.act(kept, kThreePointMade);
        }
        QCOMPARE(program.form().PlayLog().Count(), 20);

        const QString path = program.path(QStringLiteral("read.member"));
        writeLines(path, {QStringLiteral("#Hooproster"), QStringLiteral("Read,1,7,S1,F,Starter,,"),
                          QStringLiteral("Read,2,8,Sub,G,,,"), QStringLiteral("Read,3,9,S2,C,Starter,,")});
        program.dialogs().expectOpenFile(path);
        if (side == 1)
            program.form().BitBtn1Click();
        else
            program.form().BitBtn3Click();

        const platform::FileDialogOptions& options = program.dialogs().lastFileOptions();
        QCOMPARE(options.defaultExt, QStringLiteral("member"));
        QCOMPARE(options.filter, kMemberFilter);
        QCOMPARE(options.fileName, QString());
        QCOMPARE(options.initialDir, program.option().TeamFileFolder());

        TTeam* team = side == 1 ? &program.teamA() : &program.teamB();
        other = side == 1 ? &program.teamB() : &program.teamA();
        QCOMPARE(team->name, QStringLiteral("Read"));
        QCOMPARE(team->filePath, path);
        QCOMPARE((side == 1 ? program.form().TeamAName : program.form().TeamBName)->text(),
                 QStringLiteral("Read"));
        QCOMPARE(team->Count(), 4);
        QCOMPARE(team->PlayerAt(3)->status, std::uint8_t(kBlankRow));
        QCOMPARE(other->PlayerAt(0), kept);
        QCOMPARE(other->TeamPoints(-1), 0);

        QStringList log;
        for (const auto& entry : program.form().PlayLog().Entries()) {
            QCOMPARE(entry->action.code, std::uint8_t(kCourtIn));
            log << entry->action.player->name;
        }
        const QStringList readStarters = {QStringLiteral("S1"), QStringLiteral("S2")};
        QCOMPARE(log, side == 1 ? readStarters + QStringList{QStringLiteral("Kept")}
                                : QStringList{QStringLiteral("Kept")} + readStarters);
        for (int i = 0; i < 3; ++i) {
            const TPlayer* player = team->PlayerAt(i);
            QCOMPARE(player->CourtTimeOf(0).onCourt, std::uint8_t(player->starter));
        }
    }

    // A roster that cannot be read (a folder, even for root; a pipe nobody writes to; a link to
    // /dev/zero; a name that names nothing) or holds more than a member file may is said once, at once,
    // and changes nothing: read by the menu for either team, or as the start-up roster.
    void readRosterFromAnUnreadableFile_data()
    {
        QTest::addColumn<int>("side"); // 0: team A's start-up roster
        QTest::addColumn<QString>("kind");
        for (const char* kind :
             {"folder", "fifo", "zero", "missing", "too many members", "too many bytes", "a long line"}) {
            QTest::addRow("team A, %s", kind) << 1 << QString::fromLatin1(kind);
            QTest::addRow("team B, %s", kind) << 2 << QString::fromLatin1(kind);
            if (QByteArrayView(kind) != "missing")
                QTest::addRow("start-up, %s", kind) << 0 << QString::fromLatin1(kind);
        }
    }
    void readRosterFromAnUnreadableFile()
    {
        QFETCH(int, side);
        QFETCH(QString, kind);
        QTemporaryDir folder;
        const QString unreadable = folder.filePath(QStringLiteral("unreadable.member"));
        QString said = QStringLiteral("ファイルを読み込めません\n");
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(unreadable));
        } else if (kind == QLatin1String("too many members")) {
            writeBytes(unreadable,
                       "#Hooproster\r\n" + QByteArray("A,1,4,N,P\r\n").repeated(gamefile::kMaxTeamLines + 1));
            said = QStringLiteral("メンバーが上限（1 チーム 255 人）を超えています\n");
        } else if (kind == QLatin1String("too many bytes")) {
            // As many members as a team may list, their names long enough to take the file past its bound.
            const QByteArray member = "A,1,4," + QByteArray(1100, 'N') + ",P\r\n";
            writeBytes(unreadable, "#Hooproster\r\n" + member.repeated(gamefile::kMaxTeamLines));
            said = QStringLiteral("ファイルの大きさが上限（256 KB）を超えています\n");
        } else if (kind == QLatin1String("a long line")) {
            writeBytes(unreadable,
                       "#Hooproster\r\nA,1,4," + QByteArray(gamefile::kMaxLineBytes, 'N') + ",P\r\n");
            said = QStringLiteral("1 行の長さが上限（4096 バイト）を超えています\n");
        } else if (kind != QLatin1String("missing")) {
            QVERIFY(platform::testing::makeNonRegularFile(unreadable, kind));
        }
        if (side == 0) {
            startWithRefusedRoster(unreadable, said + unreadable);
            return;
        }
        Program program;
        TTeam& team = side == 1 ? program.teamA() : program.teamB();
        TPlayer* player = program.addPlayer(side, QStringLiteral("4"), QStringLiteral("Stay"), true);
        program.act(player, kTwoPointMade);
        const QString before = team.filePath;
        program.dialogs().expectOpenFile(unreadable);
        program.dialogs().expectMessage(said + unreadable);
        if (side == 1)
            program.form().BitBtn1Click();
        else
            program.form().BitBtn3Click();
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.form().PlayLog().Count(), 1);
        QCOMPARE(team.PlayerAt(0), player);
        QCOMPARE(team.TeamPoints(-1), 2);
        QCOMPARE(team.filePath, before);
    }

    // A team may list as many members as a game file's team section holds; one more is refused above.
    void rosterAtTheBoundIsTaken()
    {
        QVERIFY(IsRosterText(QStringList{QStringLiteral("#Hooproster")} +
                             QStringList(gamefile::kMaxTeamLines, QStringLiteral("A,1,4,N,P"))));
    }

    void readRosterCancelledChangesNothing()
    {
        Program program;
        TPlayer* player = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("Stay"), true);
        program.act(player, kTwoPointMade);
        program.dialogs().expectOpenFile(std::nullopt);
        program.form().BitBtn1Click();
        QCOMPARE(program.form().PlayLog().Count(), 1);
        QCOMPARE(program.teamA().PlayerAt(0), player);
        QCOMPARE(program.teamA().TeamPoints(-1), 2);
    }

    // Both teams report success and failure; a declined overwrite or a cancel reports nothing.
    void writeRosterCommand_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<QString>("target"); // "" = dialog cancelled
        QTest::addColumn<int>("overwrite");  // answer to the overwrite question, 0 = none asked
        QTest::addColumn<QString>("report");
        QTest::addColumn<bool>("written");
        const QString failed = QStringLiteral("保存に失敗しました");
        const QString done = QStringLiteral("保存が完了しました");
        QTest::newRow("team A written") << 1 << "new.member" << 0 << done << true;
        QTest::newRow("team B written") << 2 << "new.member" << 0 << done << true;
        QTest::newRow("team A failed") << 1 << "missing/new.member" << 0 << failed << false;
        QTest::newRow("team B failed") << 2 << "plain/new.member" << 0 << failed << false;
        QTest::newRow("team A overwrite declined") << 1 << "old.member" << int(platform::mrNo) << "" << false;
        QTest::newRow("team B overwrite declined") << 2 << "old.member" << int(platform::mrNo) << "" << false;
        QTest::newRow("team B overwritten") << 2 << "old.member" << int(platform::mrYes) << done << true;
        QTest::newRow("team A cancelled") << 1 << "" << 0 << "" << false;
        QTest::newRow("team B cancelled") << 2 << "" << 0 << "" << false;
    }
    void writeRosterCommand()
    {
        QFETCH(int, side);
        QFETCH(QString, target);
        QFETCH(int, overwrite);
        QFETCH(QString, report);
        QFETCH(bool, written);
        Program program;
        writeLines(program.path(QStringLiteral("plain")), {QStringLiteral("x")});
        const QByteArray old = "#Hooproster\r\nOld,1,1,O,,,,\r\n";
        writeBytes(program.path(QStringLiteral("old.member")), old);
        TTeam& team = side == 1 ? program.teamA() : program.teamB();
        program.addPlayer(side, QStringLiteral("4"), QStringLiteral("名前"), true, false,
                          QStringLiteral("PG"));
        team.name = QStringLiteral("Team");
        team.filePath = program.path(QStringLiteral("last.member"));

        const QString path = target.isEmpty() ? QString() : program.path(target);
        program.dialogs().expectSaveFile(target.isEmpty() ? std::nullopt : std::optional<QString>(path));
        if (overwrite != 0)
            program.dialogs().expectMessage(QStringLiteral("上書きしますよろしいですか？"), overwrite);
        if (!report.isEmpty())
            program.dialogs().expectMessage(report);
        if (side == 1)
            program.form().BitBtn2Click();
        else
            program.form().BitBtn4Click();

        const platform::FileDialogOptions& options = program.dialogs().lastFileOptions();
        QCOMPARE(options.defaultExt, QStringLiteral("member"));
        QCOMPARE(options.filter, kMemberFilter);
        QCOMPARE(options.fileName, program.path(QStringLiteral("last.member")));
        QVERIFY(program.dialogs().allAnswered());
        // Why a write failed, for whoever diagnoses it: the file and the system's reason.
        const QRegularExpression logged(QRegularExpression::escape(path) + QStringLiteral(": \\S"));
        QCOMPARE(DbgForm()->Memo1->toPlainText().contains(logged), !written && !report.isEmpty());
        if (written) {
            QCOMPARE(readBytes(path),
                     memberBytes(QStringLiteral("#Hooproster\r\nTeam,1,4,名前,PG,Starter,,Official\r\n")));
            QCOMPARE(team.filePath, path);
        } else {
            QCOMPARE(team.filePath, program.path(QStringLiteral("last.member")));
            QCOMPARE(readBytes(program.path(QStringLiteral("old.member"))), old);
        }
    }
};

QTEST_MAIN(tst_memberfile)
#include "tst_memberfile.moc"
