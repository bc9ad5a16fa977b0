// The game file: what the writer puts out, what the reader rebuilds from it, and what neither may do
// with a damaged file or unsaved changes.
#include <ctime>
#include <optional>
#include <tuple>

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimeEdit>

#include "gamefile/GameFileFormat.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tsavefile.h"
#include "platform/Codec.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/StringList.h"
#include "platform/testing/NonRegularFiles.h"
#include "platform/testing/NumericLocale.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;
using namespace Qt::StringLiterals;

namespace {

const QString kModifiedQuestion = u"変更されています、ゲーム情報を保存しますか？"_s;

QStringList fileLines(const QString& path)
{
    platform::StringList lines;
    lines.loadFromFile(path);
    return lines;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray cp932File(const QStringList& lines)
{
    return platform::Codec::toCp932(lines.join(u"\r\n"_s) + u"\r\n"_s);
}

bool saveTo(Program& program, const QString& path)
{
    program.dialogs().expectSaveFile(path);
    return program.form().SaveGame();
}

// True when `run` stands in `lines` as consecutive lines.
bool containsRun(const QStringList& lines, const QStringList& run)
{
    for (qsizetype i = 0; i + run.size() <= lines.size(); ++i) {
        if (lines.mid(i, run.size()) == run)
            return true;
    }
    return false;
}

// The small game of tests/data/expected_small.game.txt (10-minute periods, foul switch off).
void recordSmallGame(Program& program)
{
    THooptallyForm& form = program.form();
    program.teamA().name = u"東京ホークス"_s;
    program.teamB().name = u"Osaka Bears"_s;
    TPlayer* a4 = program.addPlayer(1, u"4"_s, u"佐藤 一郎"_s, true, false, u"PG"_s);
    program.addPlayer(1, {}, u"鈴木"_s, false, true, kHeadCoachText);
    TPlayer* b7 = program.addPlayer(2, u"7"_s, u"田中"_s, true, false, u"ｾﾝﾀｰ"_s);
    program.addPlayer(2, {}, u"山本"_s, false, true, kAssistantCoachText);
    program.setClock(9, 30);
    program.act(a4, kTwoPointMade);
    program.setClock(8, 5);
    program.act(b7, kFoul, kPersonalFoul, 2);
    program.act(a4, kFreeThrowMade);
    program.act(a4, kFreeThrowMissed);
    program.setClock(7, 0);
    program.command(kTimeout, 2);
    program.setClock(6, 12);
    program.act(b7, kDefensiveRebound);
    program.setClock(0, 0);
    program.command(kPeriodEnd);
    program.setClock(9, 45);
    program.act(b7, kTwoPointMissed);

    form.Taikaimei->setText(u"第5回市民大会"_s);
    form.Basho->setText(u"市民体育館"_s);
    form.TaikaiNo->setText(u"3"_s);
    form.DateTimePicker1->setDate(QDate(2024, 5, 18));
    form.DateTimePicker2->setTime(QTime(14, 30));
    form.shushin->setText(u"審判 一"_s);
    form.fukusin->setText(u"審判 二"_s);
    form.Scorekeeper->setText(u"記録 花子"_s);
    form.AScorekeeper->clear();
    form.TimeKeeper->setText(u"計時 太郎"_s);
    form.Operator->setText(u"24秒 次郎"_s);
    form.TO_Team->setText(u"中央TO"_s);
    form.Senhyou->setPlainText(u"前半は接戦。\n\n後半に突き放した。"_s);
}

// A longer game with substitutions, three periods and a game end (6-minute periods).
void recordLongerGame(Program& program)
{
    program.teamA().name = u"Aチーム"_s;
    program.teamB().name = u"Bチーム"_s;
    QList<TPlayer*> a, b;
    // Starters first: a later non-starter then sits on the bench, as the file's reader puts him.
    for (int i = 0; i < 5; ++i) {
        a << program.addPlayer(1, QString::number(4 + i), u"青木%1"_s.arg(i), true);
        b << program.addPlayer(2, QString::number(10 + i), u"ﾆｼ%1"_s.arg(i), true);
    }
    a << program.addPlayer(1, u"9"_s, u"加藤"_s);
    b << program.addPlayer(2, u"15"_s, u"ﾐﾅﾐ"_s);
    a << program.addPlayer(1, {}, u"監督"_s, false, true, kHeadCoachText);

    // side 0 is a command of `code` for the team in `index`; otherwise a player's action.
    struct Step
    {
        int minutes, seconds, side, index, code, foulKind = kNone, freeThrows = kNone;
    };
    // clang-format off
    const Step steps[] = {
        {5, 40, 1, 0, kTwoPointMade}, {5, 10, 2, 0, kFoul, kPersonalFoul, 2}, {5, 10, 1, 0, kFreeThrowMade},
        {5, 10, 1, 0, kFreeThrowMissed}, {4, 30, 1, 1, kThreePointMade}, {4, 30, 2, 1, kDefensiveRebound},
        {4, 0, 0, 1, kTimeout}, {3, 20, 1, 5, kCourtIn}, {3, 20, 1, 1, kToBench}, {2, 0, 2, 2, kTurnover},
        {2, 0, 1, 2, kSteal}, {2, 0, 1, 2, kTwoPointMade}, {1, 0, 1, 3, kFoul, kUnsportsmanlikeFoul, 2},
        {1, 0, 2, 3, kFreeThrowMade}, {1, 0, 2, 3, kFreeThrowMade}, {0, 0, 0, 0, kPeriodEnd},
        {5, 0, 2, 4, kThreePointMissed}, {5, 0, 1, 4, kOffensiveRebound}, {5, 0, 1, 4, kTwoPointMissed},
        {5, 0, 2, 0, kBlockedShot}, {3, 0, 2, 5, kCourtIn}, {3, 0, 2, 0, kToBench}, {3, 0, 0, 2, kTimeout},
        {2, 15, 1, 6, kFoul, kCoachTechnicalFoul, 1}, {2, 15, 2, 5, kFreeThrowMade}, {0, 0, 0, 0, kPeriodEnd},
        {4, 4, 1, 5, kAssist}, {4, 4, 2, 1, kTwoPointMade}, {0, 0, 0, 0, kGameEnd}};
    // clang-format on
    for (const Step& step : steps) {
        program.setClock(step.minutes, step.seconds);
        const auto code = static_cast<std::uint8_t>(step.code);
        if (step.side == 0)
            program.command(code, step.index);
        else
            program.act((step.side == 1 ? a : b)[step.index], code, static_cast<std::uint8_t>(step.foulKind),
                        static_cast<std::uint8_t>(step.freeThrows));
    }

    THooptallyForm& form = program.form();
    form.Taikaimei->setText(u"春季リーグ"_s);
    form.TaikaiNo->setText(u"12"_s);
    form.DateTimePicker1->setDate(QDate(2023, 4, 2));
    form.DateTimePicker2->setTime(QTime(19, 5, 37));
    form.TO_Team->setText(u"Cチーム"_s);
    form.Senhyou->setPlainText(u"一行目\n\n三行目"_s);
}

// What must survive a save and an open: the log, and per player (in any roster order) the counters
// and court time of every period, and the team fouls.
QStringList describeGame(THooptallyForm& form)
{
    QStringList out = {u"period %1"_s.arg(GetCurrentPeriod())};
    for (const auto& entry : form.PlayLog().Entries()) {
        const GameAction& a = entry->action;
        QStringList fields = {entry->teamName, entry->playerName, entry->number};
        for (const int value : {a.side, int(a.category), int(a.code), int(a.freeThrows), int(a.foulKind),
                                int(a.command), int(a.period), a.minutes, a.seconds, a.keyA, a.keyB})
            fields << QString::number(value);
        out << u"log "_s + fields.join(QLatin1Char('|'));
    }
    for (const TTeam* team : {form.TeamA(), form.TeamB()}) {
        QStringList fouls;
        for (int period = 0; period < kMaxPeriods; ++period)
            fouls << QString::number(team->TeamFouls(period));
        out << u"team "_s + team->name + u" fouls "_s + fouls.join(QLatin1Char(' '));
        QStringList players;
        for (int i = 0; i < team->Count(); ++i) {
            const TPlayer* player = team->PlayerAt(i);
            if (player->status == kBlankRow)
                continue;
            QStringList fields = {player->number, player->name, player->position, QString::number(player->id),
                                  QString::number(player->starter)};
            for (int period = 0; period < kMaxPeriods; ++period) {
                QStringList counters;
                for (int stat = 0; stat < kStatCount; ++stat)
                    counters << QString::number(player->Counter(period, stat));
                fields << counters.join(QLatin1Char(' '))
                       << platform::FloatToStr(player->CourtTimeOf(period).accumulated);
            }
            players << fields.join(QLatin1Char('|'));
        }
        players.sort();
        out << players;
    }
    return out;
}

// A game file as the program writes one, with the sections that the reader tests change.
QStringList baseGameFile()
{
    QStringList lines = {u"#Hooptally"_s, u"02.03.01"_s, u"大会"_s, u"会場"_s,
                         u"45430"_s,      u"45430.5"_s,  u"7"_s,    u"Official-Start"_s};
    for (int i = 1; i <= 7; ++i)
        lines << u"係%1"_s.arg(i);
    lines << u"Official-End"_s << u"TeamA-Start"_s << u"Aチーム,3,4,青木,PG,Starter,,Official"_s
          << u"Aチーム,5,5,井上,SG,,,"_s << u"TeamA-End"_s << u"TeamB-Start"_s
          << u"Bチーム,1,10,田中,C,Starter,,Official"_s << u"TeamB-End"_s << u"Option-Start"_s;
    for (int i = 0; i < kStatSwitchCount; ++i)
        lines << u"%1=1"_s.arg(i);
    lines << u"Option-End"_s << u"Time-Start"_s << u"Time=10"_s << u"Time-End"_s << u"Log-Start"_s
          << u"Log-End"_s << u"#STATS-START"_s << u"#STATS-END"_s;
    return lines;
}

// Replaces the lines between the section's start and end markers.
QStringList withSection(QStringList lines, const QString& section, const QStringList& body)
{
    const qsizetype start = lines.indexOf(section + u"-Start"_s);
    const qsizetype end = lines.indexOf(section + u"-End"_s);
    lines.remove(start + 1, end - start - 1);
    for (qsizetype i = 0; i < body.size(); ++i)
        lines.insert(start + 1 + i, body[i]);
    return lines;
}

QStringList withLog(const QStringList& logLines)
{
    return withSection(baseGameFile(), u"Log"_s, logLines);
}

// Whether the first played-period box of the player's sheet row holds the starter circle.
bool hasStarterCircle(THooptallyForm& form, const TPlayer* player)
{
    const int row = SheetRowOfPlayer(&form, player->team, player);
    if (row < 0)
        return false;
    const SheetArea& box = form.TeamGrids().areas.played[row];
    const GameAction& mark =
        form.TeamGrids().Team(player->team->side)->SheetGridCellAt(box.firstColumn, box.firstRow)->action;
    return HasAction(mark) && mark.category == kPlayerAction && mark.code == kSetStarter;
}

// Runs the test in another local time zone and restores the old one.
class TimeZoneGuard
{
public:
    explicit TimeZoneGuard(const char* zone) : m_old(qgetenv("TZ")), m_had(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneGuard()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_old;
    bool m_had;
};

const QString kValidLogLine = u"A,3,0,5,12,0,0,255,255,255,1"_s;

} // namespace

class tst_gamefile : public QObject
{
    Q_OBJECT
private slots:
    void writesTheSmallGameByteForByte_data();
    void writesTheSmallGameByteForByte();
    void writerEdgeCases_data();
    void writerEdgeCases();
    void statisticsBlockOrderAndPoints();
    void roundTripKeepsTheGame();
    void unlistedPlayerRoundTrips_data();
    void unlistedPlayerRoundTrips();
    void starterLeftOffTheListMadeNonStarter();
    void officialPastAFullSheetRoundTrips();
    void starterPastAFullSheetGetsNoCourtTime_data();
    void starterPastAFullSheetGetsNoCourtTime();
    void fileWithoutGameNumber();
    void optionSectionStopsAtTheFirstBadLine_data();
    void optionSectionStopsAtTheFirstBadLine();
    void timeSection_data();
    void timeSection();
    void shortOfficialSectionKeepsTheRest();
    void logLineReplaysAsAction();
    void logLineSide_data();
    void logLineSide();
    void openingAFileWithLogThenClosingAsks();
    void damagedFiles_data();
    void damagedFiles();
    void unreadableGameFileIsSaidOnce_data();
    void unreadableGameFileIsSaidOnce();
    void typedMarkersReadBackAsTyped_data();
    void typedMarkersReadBackAsTyped();
    void openFromMenuWithUnsavedChanges_data();
    void openFromMenuWithUnsavedChanges();
    void commandLineOpenDoesNotAsk();
    void saveOntoExistingFile_data();
    void saveOntoExistingFile();
    void failedSaveMarksNothingSaved_data();
    void failedSaveMarksNothingSaved();
    void closingAfterSave_data();
    void closingAfterSave();
};

void tst_gamefile::writesTheSmallGameByteForByte_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C locale") << u"C"_s;
    // Numbers keep "." where the user's locale writes "," or a separator of two bytes.
    QTest::newRow("German locale") << u"de_DE.UTF-8"_s;
    QTest::newRow("Pashto locale") << u"ps_AF.UTF-8"_s;
}

void tst_gamefile::writesTheSmallGameByteForByte()
{
    QFETCH(QString, locale);
    const QLocale previous;
    QLocale::setDefault(QLocale(locale.section(QLatin1Char('.'), 0, 0)));
    std::optional<platform::testing::NumericLocale> numeric(std::in_place, locale);
    const QString localeError = numeric->error();
    const QByteArray separator = platform::testing::NumericLocale::decimalPoint();

    QByteArray written;
    {
        Program program(u"[Option]\nPlayTime=9\n[Kojin]\n6=0"_s);
        recordSmallGame(program);
        const QString path = program.path(u"small.game"_s);
        const bool saved = saveTo(program, path);
        written = readBytes(path);
        numeric.reset();
        QLocale::setDefault(previous);
        // The locale was really in force while the game was written.
        QVERIFY2(localeError.isEmpty(), qPrintable(localeError));
        QCOMPARE(separator == ".", locale == u"C"_s);
        QVERIFY(saved);
        QCOMPARE(program.form().CurrentGameFile(), path);
    }

    QFile expectedFile(QStringLiteral(HOOP_TEST_DATA "/expected_small.game.txt"));
    QVERIFY(expectedFile.open(QIODevice::ReadOnly));
    QString expectedText = QString::fromUtf8(expectedFile.readAll());
    const QStringList expectedLines = expectedText.split(QLatin1Char('\n'));
    expectedText.replace(QLatin1Char('\n'), u"\r\n"_s);
    // Line by line first, for a readable difference; then every byte.
    QCOMPARE(platform::Codec::fromCp932(written).split(u"\r\n"_s), expectedLines);
    QCOMPARE(written, platform::Codec::toCp932(expectedText));
    QVERIFY(written.endsWith("#STATS-END\r\n"));
}

enum class WriterCase {
    NothingRecorded,
    UnsetClock,
    NoPeriod,
    LineBreaksInTexts,
    SingleLineCommentary,
    ClockChangeGap
};
Q_DECLARE_METATYPE(WriterCase)

void tst_gamefile::writerEdgeCases_data()
{
    QTest::addColumn<WriterCase>("scenario");
    QTest::addColumn<QList<QStringList>>("runs");
    QTest::addColumn<QStringList>("absent");

    const QStringList addRowStats = QStringList{u"#TEAM-START"_s, {}, u"1"_s, u"1"_s, {}, {}, {}} +
                                    QStringList(15, u"0"_s) + QStringList{u"#TEAM-END"_s};
    QTest::newRow("nothing recorded") << WriterCase::NothingRecorded
                                      << QList<QStringList>{{u"TeamA-Start"_s, u"TeamA-End"_s},
                                                            {u"Log-Start"_s, u"Log-End"_s, u"#STATS-START"_s},
                                                            addRowStats}
                                      << QStringList{u"Senhyou-Start"_s};
    QTest::newRow("unset clock") << WriterCase::UnsetClock
                                 << QList<QStringList>{{u"A,1,0,,,0,0,255,255,255,1"_s}} << QStringList();
    QTest::newRow("no period") << WriterCase::NoPeriod
                               << QList<QStringList>{{u",,-1,6,0,1,255,255,255,1,1"_s}} << QStringList();
    QTest::newRow("line breaks in single-line texts")
        << WriterCase::LineBreaksInTexts
        << QList<QStringList>{{u"#Hooptally"_s, u"02.03.01"_s, u"大 会"_s, u"体 育館"_s},
                              {u"TeamA-Start"_s, u"上 下,1,4,一 二,P G,Starter,,Official"_s, u"TeamA-End"_s},
                              {u"#TEAM-START"_s, u"上 下"_s, u"2"_s, u"1"_s, u"一 二"_s, u"4"_s, u"P G"_s}}
        << QStringList{u"上"_s, u"下"_s, u"大"_s, u"二"_s};
    QTest::newRow("one-line commentary") << WriterCase::SingleLineCommentary
                                         << QList<QStringList>{{u"Log-End"_s, u"Senhyou-Start"_s, u"好試合"_s,
                                                                u"Senhyou-End"_s, u"#STATS-START"_s}}
                                         << QStringList();
    // 2:30 does not exist on that night in New York; the game's date and time are still written.
    QTest::newRow("time in a daylight-saving gap")
        << WriterCase::ClockChangeGap << QList<QStringList>{{u"45361"_s, u"45361.1041666667"_s}}
        << QStringList();
}

void tst_gamefile::writerEdgeCases()
{
    QFETCH(WriterCase, scenario);
    QFETCH(QList<QStringList>, runs);
    QFETCH(QStringList, absent);

    Program program;
    THooptallyForm& form = program.form();
    std::optional<TimeZoneGuard> timeZone;
    switch (scenario) {
    case WriterCase::NothingRecorded:
        break;
    case WriterCase::UnsetClock: {
        TPlayer* player = program.addPlayer(1, u"4"_s, u"青木"_s, true);
        program.setClock(-1, -1);
        program.act(player, kTwoPointMade);
        break;
    }
    case WriterCase::NoPeriod:
        program.setPeriod(-1);
        program.command(kTimeout, 1);
        break;
    case WriterCase::LineBreaksInTexts:
        program.teamA().name = u"上\r\n下"_s;
        program.addPlayer(1, u"4"_s, u"一\n二"_s, true, false, u"P\rG"_s);
        form.Taikaimei->setText(u"大\r\n会"_s);
        form.Basho->setText(u"体\n育館"_s);
        break;
    case WriterCase::SingleLineCommentary:
        form.Senhyou->setPlainText(u"好試合"_s);
        break;
    case WriterCase::ClockChangeGap:
        timeZone.emplace("America/New_York");
        form.DateTimePicker1->setDate(QDate(2024, 3, 10));
        form.DateTimePicker2->setTime(QTime(2, 30));
        break;
    }
    const QString path = program.path(u"edge.game"_s);
    QVERIFY(saveTo(program, path));
    const QStringList lines = fileLines(path);
    for (const QStringList& run : runs)
        QVERIFY2(containsRun(lines, run), qPrintable(run.join(u" / "_s)));
    for (const QString& line : absent)
        QVERIFY2(!lines.contains(line), qPrintable(line));
    QVERIFY(readBytes(path).endsWith("#STATS-END\r\n"));
}

void tst_gamefile::statisticsBlockOrderAndPoints()
{
    Program program;
    // Switched off, yet written: other programs read the block for every statistic.
    for (int i = 0; i < kStatSwitchCount; ++i)
        program.option().SetStatSwitch(i, false);
    program.teamA().name = u"A"_s;
    TPlayer* player = program.addPlayer(1, u"8"_s, u"八"_s, true, false, u"F"_s);
    // A distinct count per statistic, so that any two lines in the wrong order show.
    // clang-format off
    const std::pair<std::uint8_t, int> counts[] = {
        {kThreePointMade, 3}, {kThreePointMissed, 2}, {kTwoPointMade, 1}, {kTwoPointMissed, 2},
        {kFreeThrowMade, 1}, {kFreeThrowMissed, 3}, {kFoul, 5}, {kAssist, 7}, {kOffensiveRebound, 8},
        {kDefensiveRebound, 10}, {kBlockedShot, 11}, {kTurnover, 12}, {kSteal, 13}};
    // clang-format on
    program.setClock(5, 0);
    for (const auto& [code, count] : counts) {
        for (int i = 0; i < count; ++i)
            program.act(player, code);
    }
    program.setClock(0, 0);
    program.command(kPeriodEnd);

    const QString path = program.path(u"stats.game"_s);
    QVERIFY(saveTo(program, path));
    const QStringList lines = fileLines(path);
    // Three-pointers and two-pointers as points; on court for the whole first period of 6 minutes.
    QStringList expected = {u"#TEAM-START"_s, u"A"_s, u"2"_s, u"1"_s, u"八"_s, u"8"_s, u"F"_s, u"1"_s};
    for (const int value : {9, 6, 2, 4, 1, 3, 5, 7, 8, 10, 11, 12, 13})
        expected << QString::number(value);
    expected << u"0.00416666666666667"_s << u"2"_s;
    QVERIFY2(containsRun(lines, expected), qPrintable(lines.join(QLatin1Char('|'))));
    QVERIFY(containsRun(lines, {u"Option-Start"_s, u"0=0"_s}));
}

void tst_gamefile::roundTripKeepsTheGame()
{
    Program program;
    recordLongerGame(program);
    THooptallyForm& form = program.form();
    const QStringList recorded = describeGame(form);
    QVERIFY(recorded.size() > 40);

    const QString first = program.path(u"first.game"_s);
    QVERIFY(saveTo(program, first));
    QVERIFY(form.OpenGameFile(first));
    QCOMPARE(describeGame(form), recorded);
    QCOMPARE(form.Taikaimei->text(), u"春季リーグ"_s);
    QCOMPARE(form.TaikaiNo->text(), u"12"_s);
    QCOMPARE(form.DateTimePicker1->date(), QDate(2023, 4, 2));
    QCOMPARE(form.DateTimePicker2->time(), QTime(19, 5, 37));
    QCOMPARE(form.TO_Team->text(), u"Cチーム"_s);
    QCOMPARE(form.Senhyou->toPlainText(), u"一行目\n\n三行目"_s);
    QCOMPARE(form.TeamAName->text(), u"Aチーム"_s);

    // Once written and opened, the game is a fixed point of save and open.
    const QString second = program.path(u"second.game"_s);
    const QString third = program.path(u"third.game"_s);
    QVERIFY(saveTo(program, second));
    QVERIFY(form.OpenGameFile(second));
    QCOMPARE(describeGame(form), recorded);
    QVERIFY(saveTo(program, third));
    QCOMPARE(readBytes(third), readBytes(second));
    QCOMPARE(form.CurrentGameFile(), third);
}

void tst_gamefile::unlistedPlayerRoundTrips_data()
{
    QTest::addColumn<QString>("roster");  // player 7's line as read
    QTest::addColumn<QString>("logLine"); // his one action in the first period
    QTest::addColumn<QString>("written"); // his line as saved
    QTest::addColumn<int>("seconds");     // his court time

    // A foul leaves him unlisted though it gives him a sheet row; as "Official" he would come back
    // listed, a starter on court from the start.
    QTest::newRow("starter not official who fouls")
        << u"Aチーム,7,8,上田,F,Starter,,"_s << u"A,7,0,5,0,0,6,0,0,255,1"_s
        << u"Aチーム,7,8,上田,F,Starter,,"_s << 0;
    QTest::newRow("player not official who scores")
        << u"Aチーム,7,8,上田,F,,,"_s << u"A,7,0,5,0,0,0,255,255,255,1"_s
        << u"Aチーム,7,8,上田,F,,,Official"_s << 300;
    // Off the list at the start, he comes on court with a rebound at 6:12 and takes a free row: he did
    // not start. As an official starter he would come back on court from 10:00.
    QTest::newRow("starter not official who comes on court")
        << u"Aチーム,7,8,上田,F,Starter,,"_s << u"A,7,0,6,12,0,8,255,255,255,1"_s
        << u"Aチーム,7,8,上田,F,Starter,,"_s << 372;
}

void tst_gamefile::unlistedPlayerRoundTrips()
{
    QFETCH(QString, roster);
    QFETCH(QString, logLine);
    QFETCH(QString, written);
    QFETCH(int, seconds);
    Program program;
    THooptallyForm& form = program.form();
    QStringList lines = withLog({logLine, u",,0,0,0,1,255,255,255,0,1"_s});
    lines.insert(lines.indexOf(u"TeamA-End"_s), roster);
    const QString path = program.path(u"in.game"_s);
    writeLines(path, lines);

    const QString first = program.path(u"first.game"_s);
    const QString second = program.path(u"second.game"_s);
    for (const auto& [from, to] : {std::pair{path, first}, std::pair{first, second}}) {
        QVERIFY(form.OpenGameFile(from));
        const TPlayer* player = program.teamA().FindPlayerById(7);
        QVERIFY(player);
        QCOMPARE(player->TotalCourtTime(), seconds / 86400.0);
        // A replay of the log (an edited or deleted entry) rebuilds the same game.
        form.PlayLog().ReplayPlayLog();
        QCOMPARE(player->TotalCourtTime(), seconds / 86400.0);
        // He did not start, whatever row he holds now.
        QVERIFY(!hasStarterCircle(form, player));
        QVERIFY(saveTo(program, to));
    }
    QVERIFY(fileLines(first).contains(written));
    QCOMPARE(readBytes(second), readBytes(first));
}

// Off the list at the start, he came on court at 6:12; the scorer then takes away his starter mark:
// an ordinary player, listed on the bench from the start and written as official.
void tst_gamefile::starterLeftOffTheListMadeNonStarter()
{
    Program program;
    THooptallyForm& form = program.form();
    QStringList lines = withLog({u"A,7,0,6,12,0,8,255,255,255,1"_s, u",,0,0,0,1,255,255,255,0,1"_s});
    lines.insert(lines.indexOf(u"TeamA-End"_s), u"Aチーム,7,8,上田,F,Starter,,"_s);
    const QString path = program.path(u"in.game"_s);
    writeLines(path, lines);
    QVERIFY(form.OpenGameFile(path));
    PostStarterRegistration(program.teamA().FindPlayerById(7), false);
    form.PlayLog().ReplayPlayLog();
    const QStringList recorded = describeGame(form);

    const QString saved = program.path(u"saved.game"_s);
    QVERIFY(saveTo(program, saved));
    QVERIFY(fileLines(saved).contains(u"Aチーム,7,8,上田,F,,,Official"_s));
    QVERIFY(form.OpenGameFile(saved));
    QCOMPARE(program.teamA().FindPlayerById(7)->TotalCourtTime() * 86400.0, 372.0);
    QCOMPARE(describeGame(form), recorded);
}

void tst_gamefile::officialPastAFullSheetRoundTrips()
{
    // Sixteen official players for fifteen sheet rows: the last ID, a starter, gets no row, so he is
    // off the list and off court, as the saved file (no row, not official) brings him back.
    Program program;
    THooptallyForm& form = program.form();
    QStringList lines = withLog({u",,0,0,0,1,255,255,255,0,1"_s});
    for (int id = 10; id < 25; ++id)
        lines.insert(lines.indexOf(u"TeamA-End"_s),
                     u"Aチーム,%1,%1,選手,F,%2,,Official"_s.arg(id).arg(id == 24 ? u"Starter"_s : QString()));
    const QString path = program.path(u"in.game"_s);
    writeLines(path, lines);

    const QString first = program.path(u"first.game"_s);
    const QString second = program.path(u"second.game"_s);
    for (const auto& [from, to] : {std::pair{path, first}, std::pair{first, second}}) {
        QVERIFY(form.OpenGameFile(from));
        const TPlayer* player = program.teamA().FindPlayerById(24);
        QVERIFY(player);
        QCOMPARE(player->status, kNotListed);
        QCOMPARE(player->TotalCourtTime(), 0.0);
        QVERIFY(saveTo(program, to));
    }
    QVERIFY(fileLines(first).contains(u"Aチーム,24,24,選手,F,Starter,,"_s));
    QCOMPARE(readBytes(second), readBytes(first));
}

void tst_gamefile::starterPastAFullSheetGetsNoCourtTime_data()
{
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<int>("seconds"); // court time of the starter put off the list
    const QString periodEnd = u",,0,0,0,1,255,255,255,0,1"_s;
    QTest::newRow("the period runs out") << QStringList{periodEnd} << 0;
    QTest::newRow("sent to the bench") << QStringList{u"A,24,0,2,0,0,14,255,255,255,1"_s, periodEnd} << 0;
    QTest::newRow("sent on court later") << QStringList{u"A,24,0,3,0,0,13,255,255,255,1"_s, periodEnd} << 180;
}

// Sixteen listed starters for fifteen sheet rows: the reset clocks every starter in, and the one put off
// the list has no court time from that reading, whatever the clock and the log do afterwards.
void tst_gamefile::starterPastAFullSheetGetsNoCourtTime()
{
    QFETCH(QStringList, log);
    QFETCH(int, seconds);
    Program program;
    THooptallyForm& form = program.form();
    QStringList lines = withLog(log);
    for (int id = 10; id < 25; ++id)
        lines.insert(lines.indexOf(u"TeamA-End"_s), u"Aチーム,%1,%1,選手,F,Starter,,Official"_s.arg(id));
    const QString path = program.path(u"in.game"_s);
    writeLines(path, lines);

    const QString first = program.path(u"first.game"_s);
    const QString second = program.path(u"second.game"_s);
    QStringList described;
    for (const auto& [from, to] : {std::pair{path, first}, std::pair{first, second}}) {
        QVERIFY(form.OpenGameFile(from));
        const TPlayer* player = program.teamA().FindPlayerById(24);
        QVERIFY(player);
        QCOMPARE(player->TotalCourtTime() * 86400.0, double(seconds));
        QCOMPARE(player->played[0], std::uint8_t(seconds ? 1 : 0));
        // A starter with a row plays the whole period.
        QCOMPARE(program.teamA().FindPlayerById(23)->TotalCourtTime(), ClockReading(form.ClockMinutes(), 0));
        QVERIFY(saveTo(program, to));
        if (described.isEmpty())
            described = describeGame(form);
        else
            QCOMPARE(describeGame(form), described);
    }
    QCOMPARE(readBytes(second), readBytes(first));
}

void tst_gamefile::fileWithoutGameNumber()
{
    Program program;
    program.form().TaikaiNo->setText(u"old"_s);
    // Files of that age have no officials either: line 7 is the start of team A.
    QStringList lines = baseGameFile();
    lines.remove(6, lines.indexOf(u"TeamA-Start"_s) - 6);
    QCOMPARE(lines[6], u"TeamA-Start"_s);
    lines[5] = u"45430,75"_s; // a decimal comma, as some machines wrote it
    const QString path = program.path(u"nonumber.game"_s);
    writeLines(path, lines);
    QVERIFY(program.form().OpenGameFile(path));
    QCOMPARE(program.form().TaikaiNo->text(), QString());
    QCOMPARE(program.teamA().name, u"Aチーム"_s);
    QCOMPARE(program.form().Basho->text(), u"会場"_s);
    QCOMPARE(program.form().DateTimePicker1->date(), QDate(2024, 5, 18));
    QCOMPARE(program.form().DateTimePicker2->time(), QTime(18, 0));
}

void tst_gamefile::optionSectionStopsAtTheFirstBadLine_data()
{
    QTest::addColumn<QStringList>("section");
    QTest::addColumn<QList<bool>>("switches"); // items 0, 1, 6 and 12 afterwards; before: off, on, on, off
    QTest::newRow("key past the list") << QStringList{u"0=1"_s, u"6=0"_s, u"12=1"_s, u"13=1"_s, u"1=0"_s}
                                       << QList<bool>{true, true, false, true};
    QTest::newRow("full-width digit")
        << QStringList{u"0=1"_s, u"12=０"_s, u"6=0"_s} << QList<bool>{true, true, true, false};
    QTest::newRow("no key") << QStringList{u"0=1"_s, u"=0"_s, u"6=0"_s}
                            << QList<bool>{true, true, true, false};
    QTest::newRow("nothing after the sign")
        << QStringList{u"6="_s, u"0=1"_s} << QList<bool>{false, true, true, false};
}

void tst_gamefile::optionSectionStopsAtTheFirstBadLine()
{
    QFETCH(QStringList, section);
    QFETCH(QList<bool>, switches);
    Program program;
    TOption& option = program.option();
    const int items[] = {0, 1, 6, 12};
    for (int i = 0; i < 4; ++i)
        option.SetStatSwitch(items[i], i == 1 || i == 2);
    const QString path = program.path(u"options.game"_s);
    writeLines(path, withSection(baseGameFile(), u"Option"_s, section));
    QVERIFY(program.form().OpenGameFile(path));
    for (int i = 0; i < 4; ++i)
        QVERIFY2(option.StatSwitch(items[i]) == switches[i], qPrintable(QString::number(items[i])));
}

void tst_gamefile::timeSection_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nine minutes") << u"Time=9"_s << 9 << u"09"_s;
    QTest::newRow("twenty minutes") << u"Time=20"_s << 20 << u"20"_s;
    QTest::newRow("zero") << u"Time=0"_s << 6 << u"06"_s;
    QTest::newRow("twenty-one") << u"Time=21"_s << 6 << u"06"_s;
    QTest::newRow("negative") << u"Time=-3"_s << 6 << u"06"_s;
    QTest::newRow("not a number") << u"Time=ten"_s << 6 << u"06"_s;
}

void tst_gamefile::timeSection()
{
    QFETCH(QString, line);
    QFETCH(int, minutes);
    QFETCH(QString, shown);
    Program program(u"[Option]\nPlayTime=14"_s);
    const QString path = program.path(u"time.game"_s);
    // The log ends at 2:00; the opened game still shows a full period.
    writeLines(path, withSection(withLog({u"A,3,0,2,0,0,0,255,255,255,1"_s}), u"Time"_s, {line}));
    QVERIFY(program.form().OpenGameFile(path));
    QCOMPARE(program.option().PeriodLength(), minutes);
    QCOMPARE(program.form().TimerMin->text(), shown);
    QCOMPARE(program.form().TimerSec->text(), u"00"_s);
    QCOMPARE(program.form().PlayLog().Count(), 1);
}

void tst_gamefile::shortOfficialSectionKeepsTheRest()
{
    Program program;
    THooptallyForm& form = program.form();
    form.Operator->setText(u"op"_s);
    form.TO_Team->setText(u"to"_s);
    const QString path = program.path(u"officials.game"_s);
    writeLines(path,
               withSection(baseGameFile(), u"Official"_s, {u"主"_s, u"副"_s, u"記"_s, QString(), u"計"_s}));
    QVERIFY(form.OpenGameFile(path));
    QCOMPARE(form.shushin->text(), u"主"_s);
    QCOMPARE(form.fukusin->text(), u"副"_s);
    QCOMPARE(form.Scorekeeper->text(), u"記"_s);
    QCOMPARE(form.AScorekeeper->text(), QString());
    QCOMPARE(form.TimeKeeper->text(), u"計"_s);
    QCOMPARE(form.Operator->text(), u"op"_s);
    QCOMPARE(form.TO_Team->text(), u"to"_s);
}

void tst_gamefile::logLineReplaysAsAction()
{
    Program program;
    const QString path = program.path(u"log.game"_s);
    writeLines(path, withLog({kValidLogLine}));
    THooptallyForm& form = program.form();
    QVERIFY(form.OpenGameFile(path));
    QCOMPARE(form.PlayLog().Count(), 1);
    const PlayLogEntry& entry = *form.PlayLog().Entries().front();
    QVERIFY(entry.action.player);
    QCOMPARE(entry.action.player->id, 3);
    QCOMPARE(entry.action.player->team, form.TeamA());
    QCOMPARE(entry.playerName, u"青木"_s);
    QCOMPARE(entry.teamName, u"Aチーム"_s);
    QCOMPARE(int(entry.action.category), int(kPlayerAction));
    QCOMPARE(int(entry.action.code), int(kTwoPointMade));
    QCOMPARE(int(entry.action.period), 0);
    QCOMPARE(entry.action.minutes, 5);
    QCOMPARE(entry.action.seconds, 12);
    QCOMPARE(entry.action.side, 1);
    QCOMPARE(program.teamA().TeamPoints(0), 2);
    QCOMPARE(program.teamB().TeamPoints(-1), 0);
    QCOMPARE(form.CurrentGameFile(), path);
}

void tst_gamefile::logLineSide_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("team"); // of the acting player; empty for a command

    // Team B's player 1 is found by any side that is not "A": every refused line would otherwise
    // give him a rebound.
    QTest::newRow("A") << u"A,3,0,5,12,0,7,255,255,255,1"_s << true << u"Aチーム"_s;
    QTest::newRow("B") << u"B,1,0,5,12,0,7,255,255,255,2"_s << true << u"Bチーム"_s;
    QTest::newRow("a command has no side") << u",,0,5,12,1,255,255,255,1,2"_s << true << QString();
    QTest::newRow("neither team") << u"?,1,0,5,12,0,7,255,255,255,2"_s << false << QString();
    QTest::newRow("lower case") << u"b,1,0,5,12,0,7,255,255,255,2"_s << false << QString();
    QTest::newRow("another letter") << u"C,1,0,5,12,0,7,255,255,255,2"_s << false << QString();
    QTest::newRow("a player without a side") << u",1,0,5,12,0,7,255,255,255,2"_s << false << QString();
}

void tst_gamefile::logLineSide()
{
    QFETCH(QString, line);
    QFETCH(bool, read);
    QFETCH(QString, team);
    Program program;
    const QString path = program.path(u"side.game"_s);
    writeLines(path, withLog({line}));
    if (!read)
        program.dialogs().expectMessage(u"1行のログを読み込めませんでした"_s);
    QVERIFY(program.form().OpenGameFile(path));
    const PlayLogEntries& entries = program.form().PlayLog().Entries();
    QCOMPARE(entries.size(), std::size_t(read ? 1 : 0));
    if (read) {
        const TPlayer* player = entries.front()->action.player;
        QCOMPARE(player ? player->team->name : QString(), team);
    }
}

void tst_gamefile::openingAFileWithLogThenClosingAsks()
{
    Program program;
    const QString path = program.path(u"log.game"_s);
    writeLines(path, withLog({kValidLogLine}));
    QVERIFY(program.form().OpenGameFile(path));
    program.dialogs().expectMessage(kModifiedQuestion, platform::mrCancel);
    QVERIFY(!program.form().FormCloseQuery());
}

void tst_gamefile::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("messages"); // in the order shown
    QTest::addColumn<int>("logCount");

    QByteArray garbage;
    for (int i = 0; i < 600; ++i)
        garbage.append(static_cast<char>((i * 37 + 11) % 256));
    QStringList badDate = baseGameFile();
    badDate[4] = u"2024年5月"_s;
    QStringList badTime = baseGameFile();
    badTime[5] = QString();
    QStringList wrongMagic = baseGameFile();
    wrongMagic[0] = u"#Hooproster"_s;
    QStringList cutInLog = withLog({kValidLogLine});
    cutInLog = cutInLog.mid(0, cutInLog.indexOf(u"Log-End"_s));
    cutInLog << u"A,3,0,5"_s;
    QStringList thirdTeam = baseGameFile();
    const qsizetype afterB = thirdTeam.indexOf(u"TeamB-End"_s) + 1;
    thirdTeam.insert(afterB, u"TeamB-End"_s);
    thirdTeam.insert(afterB, u"Zチーム,1,1,余,,,,"_s);
    thirdTeam.insert(afterB, u"TeamB-Start"_s);
    thirdTeam = withSection(thirdTeam, u"Log"_s, {u"B,1,0,5,0,0,7,255,255,255,2"_s});

    const QString noLog = u"行のログを読み込めませんでした"_s;
    QTest::newRow("empty file") << QByteArray() << true << QStringList() << 0;
    QTest::newRow("binary garbage") << garbage << true << QStringList() << 0;
    QTest::newRow("cut short in the header")
        << cp932File({u"#Hooptally"_s, u"02.03.01"_s, u"大会"_s}) << true << QStringList() << 0;
    QTest::newRow("wrong magic") << cp932File(wrongMagic) << true << QStringList() << 0;
    QTest::newRow("bad date number") << cp932File(badDate) << true << QStringList() << 0;
    QTest::newRow("empty time line") << cp932File(badTime) << true << QStringList() << 0;
    const QString endsEarly =
        u"ファイルが途中で終わっています（メンバー %1 人、ログ %2 件を読み込みました）\n"_s;
    QStringList olderEndsInLog = withLog({kValidLogLine, kValidLogLine});
    olderEndsInLog = olderEndsInLog.mid(0, olderEndsInLog.indexOf(u"Log-End"_s));
    olderEndsInLog[1] = u"02.02.08"_s;
    QStringList endsWithoutLogEnd = withLog({kValidLogLine});
    endsWithoutLogEnd.removeAll(u"Log-End"_s);
    QTest::newRow("cut inside a log line")
        << cp932File(cutInLog) << false << QStringList{endsEarly.arg(3).arg(1), u"1"_s + noLog} << 1;
    // As many entries as were saved before, and nothing else that differs: still not a saved game.
    QStringList sameCounts = withSection(withSection(baseGameFile(), u"TeamA"_s, {}), u"TeamB"_s, {});
    sameCounts = withSection(sameCounts, u"Log"_s, {u",,0,7,0,1,255,255,255,1,2"_s});
    sameCounts = sameCounts.mid(0, sameCounts.indexOf(u"Log-End"_s));
    QTest::newRow("ends after as many entries as were saved")
        << cp932File(sameCounts) << false << QStringList{endsEarly.arg(0).arg(1)} << 1;
    QTest::newRow("older version ending in the log")
        << cp932File(olderEndsInLog) << false << QStringList() << 2;
    QTest::newRow("log end missing before the statistics")
        << cp932File(endsWithoutLogEnd) << false << QStringList() << 1;
    // Cut before the log (the cut falls after the line named), in an older version, after the log.
    const QStringList whole = baseGameFile();
    const qsizetype stats = whole.indexOf(u"#STATS-START"_s);
    const std::pair<QString, int> cuts[] = {
        {u"Official-Start"_s, 0}, {u"TeamB-Start"_s, 2}, {u"Option-Start"_s, 3}, {u"Time-End"_s, 3}};
    for (const auto& [last, members] : cuts)
        QTest::addRow("cut after %s", qPrintable(last))
            << cp932File(whole.mid(0, whole.indexOf(last) + 1)) << false
            << QStringList{endsEarly.arg(members).arg(0)} << 0;
    QStringList olderCut = whole.mid(0, whole.indexOf(u"TeamB-Start"_s) + 1);
    olderCut[1] = u"02.02.08"_s;
    QTest::newRow("older version cut before the log") << cp932File(olderCut) << false << QStringList() << 0;
    QTest::newRow("cut in the statistics block")
        << cp932File(whole.mid(0, stats + 1)) << false << QStringList() << 0;
    // At a bound of what a file may hold it opens; past it, it is refused and says which. Lines the
    // readers skip keep these quick.
    QStringList bounded = whole;
    bounded.insert(stats, u"Senhyou-End"_s);
    bounded.insert(stats, u"Senhyou-Start"_s);
    const std::tuple<QString, int, QString> bounds[] = {
        {u"Log"_s, 20000, u"ログが上限（20000 件）を超えています"_s},
        {u"TeamB"_s, 255, u"メンバーが上限（1 チーム 255 人）を超えています"_s},
        {u"Option"_s, 100, u"オプションが上限（100 行）を超えています"_s},
        {u"Senhyou"_s, 1000, u"戦評が上限（1000 行）を超えています"_s},
        {u"#STATS"_s, 256, u"統計の記録が上限（1 チーム 256 件）を超えています"_s}};
    for (const auto& [section, most, said] : bounds) {
        for (const int count : {most, most + 1}) {
            const QStringList lines =
                section != u"#STATS" ? withSection(bounded, section, QStringList(count, u"#"_s))
                                     : whole.mid(0, stats + 1) +
                                           QStringList{u"#TEAM-START"_s, u"A"_s, QString::number(count)} +
                                           QStringList(count * gamefile::kStatsLinesPerPlayer, u"0"_s) +
                                           QStringList{u"#TEAM-END"_s, u"#STATS-END"_s};
            QTest::addRow("%s %s its bound", qPrintable(section), count > most ? "past" : "at")
                << cp932File(lines) << (count > most) << QStringList(count > most ? 1 : 0, said) << 0;
        }
    }
    // Bytes are counted before the file is decoded; lines of zero bytes after the block stand in for any.
    const QByteArray written = cp932File(whole);
    const QByteArray zeros = QByteArray(gamefile::kMaxLineBytes, '\0') + "\r\n";
    for (const qint64 size : {gamefile::kMaxGameFileBytes, gamefile::kMaxGameFileBytes + 1}) {
        const bool past = size > gamefile::kMaxGameFileBytes;
        const qint64 padding = size - written.size();
        QTest::addRow("bytes %s their bound", past ? "past" : "at")
            << written + zeros.repeated(padding / zeros.size()) + QByteArray(padding % zeros.size(), '\n')
            << past << QStringList(past ? 1 : 0, u"ファイルの大きさが上限（2 MB）を超えています"_s) << 0;
    }
    for (const qsizetype length : {gamefile::kMaxLineBytes, gamefile::kMaxLineBytes + 1}) {
        const bool past = length > gamefile::kMaxLineBytes;
        QTest::addRow("a line %s its bound", past ? "past" : "at")
            << cp932File(withSection(bounded, u"Senhyou"_s, {QString(length, u'x')})) << past
            << QStringList(past ? 1 : 0, u"1 行の長さが上限（4096 バイト）を超えています"_s) << 0;
    }
    QTest::newRow("unknown player IDs")
        << cp932File(withLog({u"A,99,0,5,0,0,0,255,255,255,1"_s, u"B,42,0,5,0,0,1,255,255,255,2"_s})) << false
        << QStringList{u"2"_s + noLog} << 0;
    QTest::newRow("period 7") << cp932File(withLog({u"A,3,7,5,0,0,0,255,255,255,1"_s})) << false
                              << QStringList{u"1"_s + noLog} << 0;
    QTest::newRow("code 200") << cp932File(withLog({u"A,3,0,5,0,0,200,255,255,255,1"_s})) << false
                              << QStringList{u"1"_s + noLog} << 0;
    QTest::newRow("good and bad lines mixed")
        << cp932File(withLog({u"A,3,0,5,0,1,9,255,255,255,1"_s, kValidLogLine, u"A,3,0,5,0,0,6,9,255,255,1"_s,
                              QString(), u"A,3,0,5,0,0,6,0,7,255,1"_s}))
        << false << QStringList{u"3"_s + noLog} << 1;
    // A reading the clock cannot show makes the line unreadable; one that is no number is none.
    QTest::newRow("huge clock reading") << cp932File(withLog({u"A,3,0,2147483647,59,0,0,255,255,255,1"_s,
                                                              u"A,3,0,99999999999,5,0,1,255,255,255,1"_s}))
                                        << false << QStringList{u"1"_s + noLog} << 1;
    QTest::newRow("minutes past two digits")
        << cp932File(withLog({u"A,3,0,100,0,0,0,255,255,255,1"_s, kValidLogLine})) << false
        << QStringList{u"1"_s + noLog} << 1;
    QTest::newRow("seconds past a minute")
        << cp932File(withLog({u"A,3,0,5,60,0,0,255,255,255,1"_s, kValidLogLine})) << false
        << QStringList{u"1"_s + noLog} << 1;
    QTest::newRow("negative seconds") << cp932File(withLog({u"A,3,0,5,-2,0,0,255,255,255,1"_s})) << false
                                      << QStringList{u"1"_s + noLog} << 0;
    QTest::newRow("largest reading and none")
        << cp932File(withLog({u"A,3,0,99,59,0,0,255,255,255,1"_s, u"A,3,0,,,0,1,255,255,255,1"_s})) << false
        << QStringList() << 2;
    // The add rows get IDs 1 (team A) and 2 (team B): nobody plays under them.
    QTest::newRow("IDs of the add rows")
        << cp932File(
               withLog({u"A,1,0,5,0,0,0,255,255,255,1"_s, u"B,2,0,5,0,0,0,255,255,255,2"_s, kValidLogLine}))
        << false << QStringList{u"2"_s + noLog} << 1;
    QTest::newRow("third team block") << cp932File(thirdTeam) << false << QStringList() << 1;
}

void tst_gamefile::damagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);
    QFETCH(QStringList, messages);
    QFETCH(int, logCount);

    Program program;
    THooptallyForm& form = program.form();
    program.teamA().name = u"前のチーム"_s;
    form.ShowTeamNames(form.TeamA(), nullptr);
    form.Taikaimei->setText(u"前の大会"_s);
    TPlayer* player = program.addPlayer(1, u"4"_s, u"前"_s, true);
    program.act(player, kTwoPointMade);
    const QString before = program.path(u"before.game"_s);
    form.SetCurrentGameFile(before);
    // The date and time of the files below, so that only what the file lacks can tell it from the saved game.
    form.DateTimePicker1->setDate(platform::DateTime::toQDateTime(45430).date());
    form.DateTimePicker2->setTime(platform::DateTime::toQDateTime(45430.5).time());
    form.MarkGameSaved();

    const QString path = program.path(u"damaged.game"_s);
    writeBytes(path, bytes);
    const qsizetype shownBefore = program.dialogs().shown().size();
    // A refused file is named in its message, after why; any prompt not queued here fails the test.
    if (refused)
        messages = QStringList{messages.value(0) + u"\n"_s + path};
    for (const QString& message : std::as_const(messages))
        program.dialogs().expectMessage(message);
    const bool opened = form.OpenGameFile(path);
    QCOMPARE(program.dialogs().shown().size(), shownBefore + messages.size());
    QCOMPARE(opened, !refused);
    if (refused) {
        QCOMPARE(program.teamA().name, u"前のチーム"_s);
        QCOMPARE(form.TeamAName->text(), u"前のチーム"_s);
        QCOMPARE(form.Taikaimei->text(), u"前の大会"_s);
        QCOMPARE(form.PlayLog().Count(), 1);
        QCOMPARE(program.teamA().TeamPoints(-1), 2);
        QCOMPARE(form.CurrentGameFile(), before);
        return;
    }
    QCOMPARE(form.PlayLog().Count(), logCount);
    QCOMPARE(form.CurrentGameFile(), path);
    if (bytes.contains(platform::Codec::toCp932(u"Bチーム,"_s)))
        QCOMPARE(program.teamB().name, u"Bチーム"_s);
    // Half a game is never taken for a saved one, whatever the counts.
    if (messages.value(0).startsWith(u"ファイルが途中で"_s))
        QVERIFY(form.IsGameModified());
}

void tst_gamefile::unreadableGameFileIsSaidOnce_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("kind"); // what stands at the name instead of a game file
    for (const char* route : {"chosen in the dialog", "opened by name", "command line", "reopened"}) {
        // A folder cannot be read as a file, even by root; a pipe nobody writes to would make the
        // open wait for ever, a link to /dev/zero would read until memory is gone.
        for (const char* kind : {"folder", "fifo", "zero"})
            QTest::addRow("%s, %s", route, kind) << QString::fromLatin1(route) << QString::fromLatin1(kind);
    }
}

void tst_gamefile::unreadableGameFileIsSaidOnce()
{
    QFETCH(QString, route);
    QFETCH(QString, kind);
    Program program;
    THooptallyForm& form = program.form();
    TPlayer* player = program.addPlayer(1, u"4"_s, u"前"_s, true);
    program.act(player, kTwoPointMade);
    form.MarkGameSaved();
    const QString path = program.path(u"odd.game"_s);
    if (kind == u"folder")
        QVERIFY(QDir().mkdir(path));
    else
        QVERIFY(platform::testing::makeNonRegularFile(path, kind));
    if (route == u"chosen in the dialog")
        program.dialogs().expectOpenFile(path);
    program.dialogs().expectMessage(u"ファイルを読み込めません\n"_s + path);
    if (route == u"chosen in the dialog")
        form.FileOpen1Execute(true);
    else if (route == u"opened by name")
        QVERIFY(!form.OpenGameFile(path));
    else if (route == u"command line")
        form.OpenCommandLineFile({path});
    else {
        form.SetCurrentGameFile(path);
        form.FileOpen1Execute(false);
    }
    QVERIFY(program.dialogs().allAnswered());
    QCOMPARE(form.PlayLog().Count(), 1);
    QCOMPARE(program.teamA().PlayerAt(0), player);
    QCOMPARE(program.teamA().TeamPoints(-1), 2);
    QCOMPARE(form.CurrentGameFile(), route == u"reopened" ? path : QString());
}

// Whatever the user typed reads back as typed, also a text that reads like a section marker.
void tst_gamefile::typedMarkersReadBackAsTyped_data()
{
    QTest::addColumn<QString>("text");
    const char* markers[] = {"#Hooptally",   "Official-Start", "Official-End", "TeamA-Start",   "TeamA-End",
                             "TeamB-Start",  "TeamB-End",      "Option-Start", "Option-End",    "Time-Start",
                             "Time-End",     "Log-Start",      "Log-End",      "Senhyou-Start", "Senhyou-End",
                             "#STATS-START", "#STATS-END",     "#TEAM-START",  "#TEAM-END"};
    for (const char* marker : markers) {
        QTest::newRow(marker) << QString::fromLatin1(marker);
        QTest::newRow(qPrintable(QString::fromLatin1(marker) + u" and more"_s))
            << QString::fromLatin1(marker) + u" 続き"_s;
    }
}

void tst_gamefile::typedMarkersReadBackAsTyped()
{
    QFETCH(QString, text);
    Program program;
    THooptallyForm& form = program.form();
    program.teamA().name = text;
    program.teamB().name = text;
    TPlayer* a = program.addPlayer(1, text, text, true, false, text);
    program.addPlayer(1, text, text, false, true, text);
    TPlayer* b = program.addPlayer(2, text, text, true, false, text);
    program.setClock(5, 0);
    program.act(a, kTwoPointMade);
    program.act(b, kFoul, kPersonalFoul, 2);
    program.command(kTimeout, 1);
    program.act(a, kThreePointMissed);
    QList<QLineEdit*> fields = {form.Taikaimei, form.Basho,       form.TaikaiNo,     form.shushin,
                                form.fukusin,   form.Scorekeeper, form.AScorekeeper, form.TimeKeeper,
                                form.Operator,  form.TO_Team};
    for (QLineEdit* field : fields)
        field->setText(text);
    const QString commentary = text + u"\n"_s + text + u"\n\n後半も"_s + text;
    form.Senhyou->setPlainText(commentary);
    const QStringList recorded = describeGame(form);

    const QString path = program.path(u"typed.game"_s);
    QVERIFY(saveTo(program, path));
    form.FileNew1Execute();
    for (QLineEdit* field : fields)
        field->clear();
    form.Senhyou->clear();
    QVERIFY(form.OpenGameFile(path));
    QCOMPARE(describeGame(form), recorded);
    for (QLineEdit* field : fields)
        QVERIFY2(field->text() == text, qPrintable(field->objectName() + u": "_s + field->text()));
    QCOMPARE(form.Senhyou->toPlainText(), commentary);
    QCOMPARE(program.teamA().Count(), 3); // two players and the add row
    QCOMPARE(program.teamB().Count(), 2);
    // And written again, byte for byte the same.
    const QString again = program.path(u"again.game"_s);
    QVERIFY(saveTo(program, again));
    QCOMPARE(readBytes(again), readBytes(path));
}

void tst_gamefile::openFromMenuWithUnsavedChanges_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saves");
    QTest::addColumn<bool>("opens");
    QTest::newRow("cancel") << int(platform::mrCancel) << false << false;
    QTest::newRow("yes") << int(platform::mrYes) << true << true;
    QTest::newRow("no") << int(platform::mrNo) << false << true;
}

void tst_gamefile::openFromMenuWithUnsavedChanges()
{
    QFETCH(int, answer);
    QFETCH(bool, saves);
    QFETCH(bool, opens);
    Program program;
    THooptallyForm& form = program.form();
    const QString game = program.path(u"other.game"_s);
    writeLines(game, withLog({kValidLogLine, kValidLogLine}));
    TPlayer* player = program.addPlayer(1, u"4"_s, u"今"_s, true);
    program.act(player, kThreePointMade);

    const QString saved = program.path(u"saved.game"_s);
    program.dialogs().expectMessage(kModifiedQuestion, answer);
    if (saves)
        program.dialogs().expectSaveFile(saved);
    if (opens)
        program.dialogs().expectOpenFile(game);
    form.FileOpen1Execute(true);

    QCOMPARE(QFileInfo::exists(saved), saves);
    if (saves)
        QVERIFY(fileLines(saved).contains(u"A,1,0,6,0,0,2,255,255,255,1"_s));
    QCOMPARE(form.PlayLog().Count(), opens ? 2 : 1);
    QCOMPARE(program.teamA().TeamPoints(-1), opens ? 4 : 3);
    QCOMPARE(form.CurrentGameFile(), opens ? game : (saves ? saved : QString()));
}

void tst_gamefile::commandLineOpenDoesNotAsk()
{
    Program program;
    THooptallyForm& form = program.form();
    TPlayer* player = program.addPlayer(1, u"4"_s, u"今"_s, true);
    program.act(player, kThreePointMade);
    QVERIFY(form.IsGameModified());
    const QString game = program.path(u"command line.game"_s);
    writeLines(game, withLog({kValidLogLine}));
    form.SetCurrentGameFile(game);
    form.FileOpen1Execute(false);
    QVERIFY(program.dialogs().shown().isEmpty());
    QCOMPARE(program.teamA().name, u"Aチーム"_s);
    QCOMPARE(program.teamA().TeamPoints(-1), 2);

    // A current game file that has gone away opens nothing, silently.
    form.SetCurrentGameFile(program.path(u"gone.game"_s));
    form.FileOpen1Execute(false);
    QCOMPARE(program.teamA().TeamPoints(-1), 2);
}

void tst_gamefile::saveOntoExistingFile_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("no") << int(platform::mrNo);
    QTest::newRow("yes") << int(platform::mrYes);
}

void tst_gamefile::saveOntoExistingFile()
{
    QFETCH(int, answer);
    Program program;
    THooptallyForm& form = program.form();
    const QString existing = program.path(u"existing.game"_s);
    writeBytes(existing, "keep\r\n");
    const QString current = program.path(u"current.game"_s);
    form.SetCurrentGameFile(current);
    TPlayer* player = program.addPlayer(1, u"4"_s, u"今"_s, true);
    program.act(player, kTwoPointMade);

    program.dialogs().expectSaveFile(existing).expectMessage(u"上書きしますよろしいですか？"_s, answer);
    const bool written = form.SaveGame();
    QCOMPARE(written, answer == platform::mrYes);
    QCOMPARE(program.dialogs().lastFileOptions().fileName, u"current.game"_s);
    if (!written) {
        QCOMPARE(readBytes(existing), QByteArray("keep\r\n"));
        QCOMPARE(form.CurrentGameFile(), current);
        QVERIFY(form.IsGameModified());
        return;
    }
    QVERIFY(readBytes(existing).startsWith("#Hooptally\r\n"));
    QCOMPARE(form.CurrentGameFile(), existing);
    QVERIFY(!form.IsGameModified());
}

void tst_gamefile::failedSaveMarksNothingSaved_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("commentaryLines");
    QTest::addColumn<QString>("commentaryLine");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder missing") << u"missing/folder.game"_s << 1 << u"戦評"_s << u"保存に失敗しました"_s;
    // A file the program would refuse to open is not written; the scorer is told what to cut.
    QTest::newRow("commentary past its bound")
        << u"long.game"_s << gamefile::kMaxCommentaryLines + 1 << u"戦評"_s
        << u"保存に失敗しました\n戦評が上限（1000 行）を超えています"_s;
    // As many lines as a commentary may hold, each long enough to take the file past its bytes.
    QTest::newRow("commentary past the bytes of a file")
        << u"long.game"_s << gamefile::kMaxCommentaryLines
        << QString(int(gamefile::kMaxGameFileBytes / gamefile::kMaxCommentaryLines / 2 + 1), u'戦')
        << u"保存に失敗しました\nファイルの大きさが上限（2 MB）を超えています"_s;
    QTest::newRow("a commentary line past the bytes of a line")
        << u"long.game"_s << 1 << QString(gamefile::kMaxLineBytes / 2 + 1, u'戦')
        << u"保存に失敗しました\n1 行の長さが上限（4096 バイト）を超えています"_s;
}

void tst_gamefile::failedSaveMarksNothingSaved()
{
    QFETCH(QString, target);
    QFETCH(int, commentaryLines);
    QFETCH(QString, commentaryLine);
    QFETCH(QString, message);
    Program program;
    THooptallyForm& form = program.form();
    TPlayer* player = program.addPlayer(1, u"4"_s, u"今"_s, true);
    program.act(player, kTwoPointMade);
    form.Senhyou->setPlainText(QStringList(commentaryLines, commentaryLine).join(u'\n'));
    target = program.path(target);
    program.dialogs().expectSaveFile(target).expectMessage(message);
    QVERIFY(!form.SaveGame());
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(form.CurrentGameFile(), target);
    QVERIFY(form.IsGameModified());
    program.dialogs().expectMessage(kModifiedQuestion, platform::mrCancel);
    QVERIFY(!form.FormCloseQuery());
}

enum class AfterSave { Nothing, Date, Time, Action, Tournament, Commentary };
Q_DECLARE_METATYPE(AfterSave)

void tst_gamefile::closingAfterSave_data()
{
    QTest::addColumn<AfterSave>("change");
    QTest::addColumn<bool>("asks");
    QTest::newRow("nothing changed") << AfterSave::Nothing << false;
    QTest::newRow("date picker changed") << AfterSave::Date << true;
    QTest::newRow("time picker changed") << AfterSave::Time << true;
    QTest::newRow("action recorded") << AfterSave::Action << true;
    QTest::newRow("tournament typed") << AfterSave::Tournament << true;
    QTest::newRow("commentary alone") << AfterSave::Commentary << false;
}

void tst_gamefile::closingAfterSave()
{
    QFETCH(AfterSave, change);
    QFETCH(bool, asks);
    Program program;
    THooptallyForm& form = program.form();
    TPlayer* player = program.addPlayer(1, u"4"_s, u"今"_s, true);
    program.act(player, kTwoPointMade);
    form.DateTimePicker1->setDate(QDate(2024, 1, 10));
    form.DateTimePicker2->setTime(QTime(10, 0));
    QVERIFY(saveTo(program, program.path(u"saved.game"_s)));

    switch (change) {
    case AfterSave::Nothing:
        break;
    case AfterSave::Date:
        form.DateTimePicker1->setDate(QDate(2024, 1, 11));
        break;
    case AfterSave::Time:
        form.DateTimePicker2->setTime(QTime(10, 1));
        break;
    case AfterSave::Action:
        program.act(player, kAssist);
        break;
    case AfterSave::Tournament:
        QTest::keyClicks(form.Taikaimei, u"x"_s);
        break;
    case AfterSave::Commentary:
        form.Senhyou->setPlainText(u"後で書いた"_s);
        break;
    }
    if (asks)
        program.dialogs().expectMessage(kModifiedQuestion, platform::mrCancel);
    QCOMPARE(form.FormCloseQuery(), !asks);
}

QTEST_MAIN(tst_gamefile)
#include "tst_gamefile.moc"
