// The HTML game report: the page line by line for one full case, the structure of every option
// combination as libxml2's HTML parser reads it, escaping, the graph link, and the save command.
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/TSaveHtmlDlg.h"
#include "hooptally/Tfkey.h"
#include "hooptally/Tsavefile.h"
#include "hooptally/Tteam.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"
#include "platform/StringList.h"
#include "support/ActionPathHelpers.h"
#include "support/HtmlPage.h"
#include "support/Program.h"
#include "support/ReportGame.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

HtmlReportOptions everything()
{
    HtmlReportOptions options;
    options.columns.fill(true);
    options.teams = {true, true};
    options.playerRows = kAllPlayers;
    options.periodColumns = true;
    options.commentary = true;
    options.commentaryLines = {QStringLiteral("前半は接戦。"),
                               QStringLiteral("<b>後半</b>に東京が逃げ切った。")};
    options.graph = true;
    return options;
}

bool writeReport(const QString& path, const HtmlReportOptions& options)
{
    TSaveFile writer(path);
    writer.SetHtmlOptions(options);
    return writer.Save(SaveKind::Html);
}

QString line(int tabs, const QString& text)
{
    return QString(tabs, QLatin1Char('\t')) + text;
}

// The statistics tables: the top-level tables between the score table and the legend.
std::vector<const HtmlNode*> teamTables(const ParsedHtml& page)
{
    std::vector<const HtmlNode*> tables;
    for (const HtmlNode* table : page.topTables()) {
        const auto rows = table->rows();
        if (!rows.empty() && rows[0]->cells().size() == 1 &&
            rows[0]->cells()[0]->attributes.value(QStringLiteral("colspan")) == QStringLiteral("20"))
            tables.push_back(table);
    }
    return tables;
}

// The player rows of a statistics table: between the two head rows and the totals row.
std::vector<const HtmlNode*> playerRows(const HtmlNode& table)
{
    const auto rows = table.rows();
    if (rows.size() < 4)
        return {};
    return std::vector<const HtmlNode*>(rows.begin() + 3, rows.end() - 1);
}

QStringList playerNames(const HtmlNode& table)
{
    QStringList names;
    for (const HtmlNode* row : playerRows(table))
        names << row->cellTexts().value(2);
    return names;
}

} // namespace

class tst_htmlreport : public QObject
{
    Q_OBJECT
private:
    // Parses the page and fails on anything the parser says about it.
    static ParsedHtml parsed(const QString& path)
    {
        ParsedHtml page = parseHtmlFile(path);
        if (!page.errors.isEmpty())
            qWarning().noquote() << page.errors;
        [&] { QVERIFY2(page.errors.isEmpty(), qPrintable(path)); }();
        [&] { QVERIFY(page.root); }();
        return page;
    }

private slots:
    void jpegWriterAvailable() { QVERIFY(QImageWriter::supportedImageFormats().contains("jpeg")); }

    void fullPageLineByLine()
    {
        Program program;
        playReportGame(program);
        const QString path = program.path(QStringLiteral("game1.html"));
        QVERIFY(writeReport(path, everything()));

        const QString score = QStringLiteral("<td colspan=\"3\" align=\"right\" >　</td>");
        QStringList expected{
            "<?xml version=\"1.0\" encoding=\"x-sjis\"?>",
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">",
            "<html lang=\"ja\" xml:lang=\"ja\" xmlns=\"http://www.w3.org/1999/xhtml\">",
            "<head>",
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-31J\" /> ",
            "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\" />",
            "<title>バスケットボール試合結果【春季大会】2024/06/01</title>",
            "</head>",
            "<body>",
            "<center>",
            "<table border=\"1\" cellpadding=\"1\" cellspacing=\"1\" width=\"600\" height=\"30\">",
            "<tr valign=\"middle\">",
            "<td width=\"300\"><b><font size=\"6\">春季大会</font></b></td>",
            "<td><b>市民体育館</b></td>",
            "<td><b>2024/06/01　18:30:05</b></td>",
            "</tr>",
            "</table>",
            line(1, "<table border=\"1\" cellpadding=\"1\" cellspacing=\"1\" width=\"600\" height=\"110\">"),
            line(2, "<tr valign=\"middle\">"),
            line(3, "<!--■上チーム■-->"),
            line(3, "<td align=\"center\" width=\"188\" valign=\"middle\">"),
            line(3, "<b><font COLOR=\"#7fbfff\">東京</font></b>"),
            line(3, "</td>"),
            line(3, "<td width=\"60\" align=\"center\" valign=\"middle\" >"),
            line(4, "<span>○<br />\t\t\t<!--■勝ちは○／負けは●■-->"),
            line(4, "<b>6</b><br /></span>\t\t<!--■左チームスコア■-->"),
            line(3, "</td>"),
            line(3, "<td width=\"98\">"),
            line(3, "<!--■ピリオドスコア■-->"),
            line(4, "<table width=\"91\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">"),
            line(5, "<tr>"),
            line(6, score),
            line(5, "</tr>"),
        };
        const QStringList periods[] = {
            {"3", "1st", "3"}, {"3", "2nd", "0"}, {"0", "3rd", "0"}, {"0", "4th", "0"}};
        for (const QStringList& period : periods) {
            expected << line(5, "<tr>")
                     << line(6,
                             QStringLiteral("<td align=\"right\" width=\"25\"><b>%1</b></td>").arg(period[0]))
                     << line(6, QStringLiteral(
                                    "<td align=\"center\" width=\"40\"><font size = \"1\">-%1-</font></td>")
                                    .arg(period[1]))
                     << line(6,
                             QStringLiteral("<td align=\"right\" width=\"16\"><b>%1</b></td>").arg(period[2]))
                     << line(5, "</tr>");
        }
        expected << line(5, "<tr>") << line(6, score) << line(5, "</tr>") << line(4, "</table>")
                 << line(3, "</td>") << line(3, "<!--■右チーム■-->")
                 << line(3, "<td align=\"center\" valign=\"middle\" width=\"60\">")
                 << line(4, "<span  >●<br /><!--■勝ちは○／負けは●■-->")
                 << line(4, "<b>3</b></span><span ><br /></span><!--■右チームスコア■-->") << line(3, "</td>")
                 << line(3, "<td align=\"center\" width=\"188\">")
                 << line(4, "<b><font color=\"#f7734a\">大阪</font></b>") << line(3, "</td>")
                 << line(2, "</tr>") << line(1, "</table>") << "<br /><br />";

        auto teamHead = [&](const QString& color, const QString& name) {
            expected << line(1, "<table width=\"598\" border=\"1\" cellspacing=\"1\" cellpadding=\"0\" >")
                     << line(2, "<tr>")
                     << line(
                            3,
                            QStringLiteral(
                                "<td width=\"598\" colspan=\"20\" ><b><font color=\"#%1\">%2</font></b></td>")
                                .arg(color, name))
                     << line(2, "</tr>") << line(2, "<tr>")
                     << line(3, "<td align=\"center\" rowspan=\"2\" ><span >No.</span></td>")
                     << line(3, "<td align=\"center\" rowspan=\"2\" ><span >S</span></td>")
                     << line(3, "<td rowspan=\"2\" ><span >　選手名</span></td>")
                     << line(3, "<td colspan=\"4\" align=\"center\" ><span >出場時限</span></td>")
                     << line(3, "<td align=\"center\" rowspan=\"2\" ><span >PTS</span></td>")
                     << line(3, "<td colspan=\"2\" align=\"center\" ><span >3PFG</span></td>")
                     << line(3, "<td colspan=\"2\" align=\"center\" ><span >2PFG</span></td>")
                     << line(3, "<td colspan=\"2\" align=\"center\" ><span ><span >FT</span></span></td>")
                     << line(3, "<td align=\"center\" rowspan=\"2\" ><span >F</span></td>")
                     << line(3, "<td align=\"center\" rowspan=\"2\" ><span >AS</span></td>")
                     << line(3, "<td colspan=\"2\" align=\"center\" rowspan=\"1\" ><span >REB</span></td>")
                     << line(3, "<td rowspan=\"2\" align=\"center\" ><span >BS</span></td>")
                     << line(3, "<td rowspan=\"2\" align=\"center\" ><span >ST</span></td>")
                     << line(3, "<td rowspan=\"2\" align=\"center\" ><span >TO</span></td>")
                     << line(3, "<td rowspan=\"2\" align=\"center\" ><span >MIN</span></td>")
                     << line(2, "</tr>") << line(2, "<tr valign=\"middle\" >");
            for (const char* label : {"①", "②", "③", "④"})
                expected << line(
                    3, QStringLiteral("<td align=\"center\" nowrap=\"nowrap\" ><span >%1</span></td>")
                           .arg(QString::fromUtf8(label)));
            for (const char* label : {"M", "A", "M", "A", "M", "A", "OR", "DR"})
                expected << line(
                    3, QStringLiteral(
                           "<td width=\"20\" align=\"center\" nowrap=\"nowrap\" ><span >%1</span></td>")
                           .arg(QLatin1String(label)));
            expected << line(2, "</tr>");
        };
        // number, starter, name, periods played (four), then PTS 3PM 3PA 2PM 2PA FTM FTA F AS OR DR BS ST TO
        // MIN
        auto playerRow = [&](const QString& number, bool starter, const QString& name, const QString& played,
                             const QStringList& values) {
            expected
                << "<tr >" << QStringLiteral("<td align=\"right\" nowrap=\"nowrap\">%1</td>").arg(number)
                << QStringLiteral("<td align=\"center\" nowrap=\"nowrap\">%1</td>").arg(starter ? "S" : "　")
                << QStringLiteral("<td width=\"100\" nowrap=\"nowrap\">%1</td>").arg(name);
            for (const QChar mark : played)
                expected << line(
                    3, QStringLiteral("<td align=\"center\" nowrap=\"nowrap\" ><span >%1</span></td>")
                           .arg(mark == u'x' ? QStringLiteral("×") : QStringLiteral("　")));
            for (const QString& value : values)
                expected << QStringLiteral("<td align=\"right\" nowrap=\"nowrap\">%1</td>").arg(value);
            expected << "</tr>";
        };
        auto totals = [&](const QString& three, const QString& two, const QString& free) {
            const QString rate = QStringLiteral(
                "<td align=\"center\" nowrap=\"nowrap\"  width=\"41\" colspan=\"%1\"><span >%2</span></td>");
            expected << line(2, "<tr valign=\"middle\">")
                     << line(3, "<td align=\"center\" colspan=\"3\" nowrap=\"nowrap\">　</td>")
                     << line(3, "<td align=\"center\" colspan=\"4\" nowrap=\"nowrap\">　</td>")
                     << line(3, "<td align=\"center\" nowrap=\"nowrap\">　</td>")
                     << line(3, rate.arg("2", three)) << line(3, rate.arg("2", two))
                     << line(3, rate.arg("2", free)) << line(3, rate.arg("8", "　")) << line(2, "</tr>")
                     << "</table>"
                     << "<span><br /></span>"
                     << "<span><br /></span>";
        };

        teamHead("7fbfff", "東京");
        // By jersey number; the coach keeps his place behind the players.
        playerRow("4", true, "鈴木", "x...",
                  {"0", "0", "0", "0", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "2:0"});
        playerRow("8", false, "高橋", "xx..",
                  {"1", "0", "0", "0", "0", "1", "2", "0", "1", "0", "1", "0", "0", "0", "10:0"});
        playerRow("10", true, "佐藤", "xx..",
                  {"5", "1", "1", "1", "2", "0", "0", "1", "0", "1", "0", "0", "1", "0", "12:0"});
        playerRow("12", false, "山本", "....",
                  {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0:0"});
        playerRow("　", false, "監督", "....",
                  {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0:0"});
        totals("100.0%", "33.3%", "50.0%");
        teamHead("f7734a", "大阪");
        playerRow("5", true, "田中", "xx..",
                  {"3", "1", "2", "0", "0", "0", "0", "0", "0", "0", "1", "1", "0", "1", "12:0"});
        playerRow("6", false, "中村", "....",
                  {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0:0"});
        totals("50.0%", "0.0%", "0.0%");

        const QString label = QStringLiteral("<td width=\"24\" align=\"right\" nowrap=\"nowrap\">%1</td>");
        const QString text = QStringLiteral("<td width=\"%1\" >%2</td>");
        expected << "<font size=\"1\">"
                 << line(1, "<table style=\"font-size:10px;line-height:10px\" width=\"600\" border=\"1\" "
                            "cellspacing=\"0\" cellpadding=\"1\">")
                 << line(2, "<tr>") << line(3, label.arg("PTS:")) << line(3, text.arg("76", "ポイント"))
                 << line(3, label.arg("FG:")) << line(3, text.arg("106", "フィールドゴール"))
                 << line(3, label.arg("F:")) << line(3, text.arg("116", "ファール"))
                 << line(3, label.arg("TO:")) << line(3, text.arg("96", "ターンオーバー"))
                 << line(3, "<td width=\"24\"  align=\"right\" nowrap=\"nowrap\">MIN:</td>")
                 << line(3, text.arg("86", "出場時間")) << line(2, "</tr>") << line(2, "<tr>")
                 << line(3, label.arg("M:")) << line(3, text.arg("76", "成功")) << line(3, label.arg("3P:"))
                 << line(3, text.arg("106", "3ポイントシュート")) << line(3, label.arg("OR:"))
                 << line(3, text.arg("116", "オフェンスリバウンド")) << line(3, label.arg("AS:"))
                 << line(3, text.arg("96", "アシスト"))
                 << line(3, "<td width=\"24\"  align=\"right\" nowrap=\"nowrap\">S:</td>")
                 << line(3, text.arg("86", "スターター")) << line(2, "</tr>") << line(2, "<tr>")
                 << line(3, label.arg("A:")) << line(3, text.arg("76", "試投")) << line(3, label.arg("2P:"))
                 << line(3, text.arg("106", "2ポイントシュート")) << line(3, label.arg("DR:"))
                 << line(3, text.arg("116", "ディフェンスリバウンド"))
                 << line(3, "<td align=\"right\" width=\"24\" nowrap=\"nowrap\">ST:</td>")
                 << line(3, "<td class=\"txt9\" width=\"96\">スティール</td>")
                 << line(3, "<td class=\"txt9\" align=\"right\" nowrap=\"nowrap\">OT:</td>")
                 << line(3, "<td class=\"txt9\">延長</td>") << line(2, "</tr>") << line(2, "<tr>")
                 << line(3, "<td align=\"right\" width=\"24\" nowrap=\"nowrap\">%:</td>")
                 << line(3, "<td class=\"txt9\" width=\"76\">シュート率</td>")
                 << line(3, "<td align=\"right\" width=\"24\" nowrap=\"nowrap\">FT:</td>")
                 << line(3, "<td class=\"txt9\" width=\"106\">フリースロー</td>")
                 << line(3, "<td align=\"right\" width=\"24\" nowrap=\"nowrap\">TOT:</td>")
                 << line(3, "<td class=\"txt9\" width=\"116\">トータルリバウンド</td>")
                 << line(3, "<td width=\"24\" align=\"right\" class=\"txt9\" nowrap=\"nowrap\">BS:</td>")
                 << line(3, "<td colspan=\"3\" >ブロックショット</td>") << line(2, "</tr>")
                 << line(1, "</table>") << line(1, "</font>") << "<br /><br />";

        expected << line(1, "<table width=\"598\" border=\"1\" cellspacing=\"1\" cellpadding=\"0\" >")
                 << line(2, "<tr>")
                 << line(3, "<td width=\"598\" colspan=\"19\" ><b><font COLOR=Black>戦評</font></b></td>")
                 << line(2, "</tr>") << line(2, "<tr>") << line(3, "<td align=\"left\" nowrap=\"nowrap\">")
                 << "前半は接戦。<br />"
                 << "<b>後半</b>に東京が逃げ切った。<br />" << line(3, "</td>") << line(2, "</tr>")
                 << "</table>";
        expected << "<br /><img src=\"game1.jpeg\" alt=\"\" /><br />"
                 << "<p><font size=\"1\">Hooptally</font></p>"
                 << "</center>"
                 << "</body>"
                 << "</html>";

        // The file itself: CP932, CRLF after every line, no byte-order mark.
        const QByteArray bytes = readBytes(path);
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("</html>\r\n"));
        platform::StringList written;
        QVERIFY(written.loadFromFile(path));
        QCOMPARE(written.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(
                written[i] == expected[i],
                qPrintable(QStringLiteral("line %1:\n  %2\n  %3").arg(i + 1).arg(written[i], expected[i])));

        const ParsedHtml page = parsed(path);
        QCOMPARE(page.topTables().size(), std::size_t(6));
        // The picture beside the page, referred to by its bare name.
        const QImage graph(program.path(QStringLiteral("game1.jpeg")));
        QCOMPARE(graph.size(), QSize(640, 480));
        QCOMPARE(program.form().DateTimePicker1->displayFormat(), QStringLiteral("yyyy.MM.dd"));
    }

    void teamsAndRows_data()
    {
        QTest::addColumn<bool>("teamA");
        QTest::addColumn<bool>("teamB");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("expected"); // per written table: its players' names joined by ","
        QTest::newRow("both, all players")
            << true << true << 0 << QStringList{"鈴木,高橋,佐藤,山本,監督", "田中,中村"};
        QTest::newRow("both, bench and court")
            << true << true << 1 << QStringList{"鈴木,高橋,佐藤,監督", "田中"};
        QTest::newRow("both, who played") << true << true << 2 << QStringList{"鈴木,高橋,佐藤", "田中"};
        QTest::newRow("team A only") << true << false << 0 << QStringList{"鈴木,高橋,佐藤,山本,監督"};
        QTest::newRow("team B only") << false << true << 2 << QStringList{"田中"};
        QTest::newRow("no team") << false << false << 0 << QStringList{};
        QTest::newRow("unknown row choice shows all")
            << true << false << 7 << QStringList{"鈴木,高橋,佐藤,山本,監督"};
    }
    void teamsAndRows()
    {
        QFETCH(bool, teamA);
        QFETCH(bool, teamB);
        QFETCH(int, rows);
        QFETCH(QStringList, expected);
        Program program;
        playReportGame(program);
        HtmlReportOptions options = everything();
        options.teams = {teamA, teamB};
        options.playerRows = rows;
        const QString path = program.path(QStringLiteral("report.html"));
        QVERIFY(writeReport(path, options));
        const ParsedHtml page = parsed(path);
        QStringList names;
        for (const HtmlNode* table : teamTables(page))
            names << playerNames(*table).join(QLatin1Char(','));
        QCOMPARE(names, expected);
    }

    void columns_data()
    {
        QTest::addColumn<QList<int>>("items");
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QStringList>("head");       // the first head row after the name
        QTest::addColumn<QStringList>("satoValues"); // 佐藤's cells after his name
        QTest::addColumn<QStringList>("totals");     // the totals row's texts
        QTest::addColumn<QString>("lastColspan");
        QTest::newRow("none") << QList<int>{} << true << QStringList{"PTS"} << QStringList{"5"}
                              << QStringList{"　", "　", "　"} << "0";
        QTest::newRow("two-point missed only")
            << QList<int>{1} << true << QStringList{"PTS", "2PFG"} << QStringList{"5", "2"}
            << QStringList{"　", "　", "33.3%", "　"} << "0";
        QTest::newRow("two-point made only")
            << QList<int>{0} << true << QStringList{"PTS", "2PFG"} << QStringList{"5", "1"}
            << QStringList{"　", "　", "　", "　"} << "0";
        QTest::newRow("no three-point attempts")
            << QList<int>{3} << false << QStringList{"PTS", "3PFG"} << QStringList{}
            << QStringList{"　", "　", "0.0%", "　"} << "0";
        QTest::newRow("rest of the columns") << QList<int>{6, 7, 8, 9, 10, 11, 12, 13} << true
                                             << QStringList{"PTS", "F", "AS", "REB", "BS", "ST", "TO", "MIN"}
                                             << QStringList{"5", "1", "0", "1", "0", "0", "1", "0", "12:0"}
                                             << QStringList{"　", "　", "　"} << "8";
    }
    void columns()
    {
        QFETCH(QList<int>, items);
        QFETCH(bool, recorded);
        QFETCH(QStringList, head);
        QFETCH(QStringList, satoValues);
        QFETCH(QStringList, totals);
        QFETCH(QString, lastColspan);
        Program program;
        if (recorded)
            playReportGame(program);
        HtmlReportOptions options = everything();
        options.periodColumns = false;
        options.columns.fill(false);
        for (const int item : items)
            options.columns[item] = true;
        const QString path = program.path(QStringLiteral("columns.html"));
        QVERIFY(writeReport(path, options));
        const ParsedHtml page = parsed(path);
        const HtmlNode& table = *teamTables(page).at(0);
        const auto rows = table.rows();
        QCOMPARE(rows[1]->cellTexts().mid(3), head);
        if (recorded) {
            const auto players = playerRows(table);
            const auto sato = std::find_if(players.begin(), players.end(), [](const HtmlNode* row) {
                return row->cellTexts().value(2) == "佐藤";
            });
            QVERIFY(sato != players.end());
            QCOMPARE((*sato)->cellTexts().mid(3), satoValues);
            // Every row covers the columns of the head.
            for (const HtmlNode* row : players)
                QCOMPARE(row->columnSpan(), rows.back()->columnSpan());
        }
        QCOMPARE(rows.back()->cellTexts(), totals);
        QCOMPARE(rows.back()->cells().back()->attributes.value("colspan"), lastColspan);
    }

    void periodColumnsAndOvertime()
    {
        Program program;
        playReportGame(program);
        TPlayer* sato = playerNamed(program.teamA(), QStringLiteral("佐藤"));
        TPlayer* tanaka = playerNamed(program.teamB(), QStringLiteral("田中"));
        const QString path = program.path(QStringLiteral("overtime.html"));
        auto periodRows = [&] {
            const ParsedHtml page = parsed(path);
            const HtmlNode& scores = *page.topTables().at(1);
            QStringList periods;
            for (const HtmlNode* row : scores.descendants(QStringLiteral("table")).at(0)->rows())
                periods << row->cellTexts().join(QLatin1Char(' '));
            return periods;
        };
        QVERIFY(writeReport(path, everything()));
        QCOMPARE(periodRows(), (QStringList{"　", "3 -1st- 3", "3 -2nd- 0", "0 -3rd- 0", "0 -4th- 0", "　"}));

        // Tied after the fourth: overtime, where both teams play and the period shows.
        program.setClock(5, 0);
        program.act(tanaka, kThreePointMade);
        program.setClock(0, 0);
        program.command(kPeriodEnd);
        program.command(kPeriodEnd);
        QCOMPARE(GetCurrentPeriod(), 4);
        program.setClock(4, 0);
        program.act(sato, kTwoPointMade);
        program.setClock(0, 0);
        program.command(kPeriodEnd);
        QCOMPARE(GetShownPeriodCount(), 5);
        QVERIFY(writeReport(path, everything()));
        QCOMPARE(periodRows(),
                 (QStringList{"　", "3 -1st- 3", "3 -2nd- 0", "0 -3rd- 3", "0 -4th- 0", "2 -OT1- 0", "　"}));
        const ParsedHtml page = parsed(path);
        const HtmlNode& table = *teamTables(page).at(0);
        QCOMPARE(table.rows()[2]->cellTexts().mid(0, 5), (QStringList{"①", "②", "③", "④", "OT1"}));
        const QStringList satoRow = playerRows(table).at(2)->cellTexts();
        QCOMPARE(satoRow.mid(2, 6), (QStringList{"佐藤", "×", "×", "×", "×", "×"}));
        QCOMPARE(QStringList(table.rows().back()->cellTexts().mid(0, 2)), (QStringList{"　", "　"}));
        QCOMPARE(table.rows().back()->cells()[1]->attributes.value("colspan"), QStringLiteral("5"));
    }

    void marks_data()
    {
        QTest::addColumn<int>("pointsA");
        QTest::addColumn<int>("pointsB");
        QTest::addColumn<QString>("markA");
        QTest::addColumn<QString>("markB");
        QTest::newRow("A wins") << 2 << 0 << "○"
                                << "●";
        QTest::newRow("B wins") << 0 << 3 << "●"
                                << "○";
        QTest::newRow("tied") << 2 << 2 << "■"
                              << "■";
        QTest::newRow("no points") << 0 << 0 << "■"
                                   << "■";
    }
    void marks()
    {
        QFETCH(int, pointsA);
        QFETCH(int, pointsB);
        QFETCH(QString, markA);
        QFETCH(QString, markB);
        Program program;
        loadRosters(program, {"東京,1,10,佐藤,F,Starter,,"}, {"大阪,1,5,田中,F,Starter,,"});
        for (int i = 0; i < pointsA; ++i)
            program.act(playerNamed(program.teamA(), "佐藤"), kFreeThrowMade);
        for (int i = 0; i < pointsB; ++i)
            program.act(playerNamed(program.teamB(), "田中"), kFreeThrowMade);
        const QString path = program.path(QStringLiteral("marks.html"));
        QVERIFY(writeReport(path, everything()));
        const ParsedHtml page = parsed(path);
        const HtmlNode& scores = *page.topTables().at(1);
        const QStringList cells = scores.rows().at(0)->cellTexts();
        const QRegularExpression layout(QStringLiteral("[\t\r\n ]"));
        QCOMPARE(QString(cells.value(1)).remove(layout), markA + QString::number(pointsA));
        QCOMPARE(QString(cells.value(3)).remove(layout), markB + QString::number(pointsB));
    }

    void valuesAreText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("tag") << "<b>太字</b>";
        QTest::newRow("ampersand") << "A&B";
        QTest::newRow("quote") << "\"引用\"";
        QTest::newRow("entity-like") << "&lt;x&gt;";
    }
    void valuesAreText()
    {
        QFETCH(QString, text);
        Program program;
        loadRosters(program, {text + ",1,1,x,F,Starter,,"}, {"大阪,1,5,田中,F,Starter,,"});
        TPlayer* player = playerNamed(program.teamA(), "x");
        player->name = text;
        player->number = text;
        program.form().Taikaimei->setText(text);
        program.form().Basho->setText(text);
        const QString path = program.path(QStringLiteral("escape.html"));
        QVERIFY(writeReport(path, everything()));
        const ParsedHtml page = parsed(path);
        QCOMPARE(page.root->descendants("title").at(0)->innerText(),
                 QStringLiteral("バスケットボール試合結果【") + text + QStringLiteral("】") +
                     program.form().DateTimePicker1->date().toString("yyyy/MM/dd"));
        const HtmlNode& game = *page.topTables().at(0);
        QCOMPARE(game.rows()[0]->cellTexts().mid(0, 2), (QStringList{text, text}));
        QCOMPARE(page.topTables().at(1)->rows()[0]->cellTexts().value(0), text);
        const HtmlNode& team = *teamTables(page).at(0);
        QCOMPARE(team.rows()[0]->cellTexts(), QStringList{text});
        QCOMPARE(playerRows(team).at(0)->cellTexts().mid(0, 3), (QStringList{text, "S", text}));
        // Nothing the user typed became an element.
        for (const HtmlNode* bold : page.root->descendants("b"))
            QVERIFY(bold->innerText() != QStringLiteral("太字"));
    }

    void emptyTexts()
    {
        Program program;
        const QString path = program.path(QStringLiteral("empty.html"));
        QVERIFY(writeReport(path, everything()));
        platform::StringList lines;
        QVERIFY(lines.loadFromFile(path));
        QVERIFY(lines.contains("<title>バスケットボール試合結果【】" +
                               program.form().DateTimePicker1->date().toString("yyyy/MM/dd") + "</title>"));
        QVERIFY(lines.contains("<td width=\"300\"><b><font size=\"6\">　</font></b></td>"));
        QVERIFY(lines.contains("<td><b>　</b></td>"));
        QVERIFY(lines.contains(line(3, "<b><font COLOR=\"#7fbfff\">　</font></b>")));
        const ParsedHtml page = parsed(path);
        // Only the blank add rows: no player rows, the rates of nothing.
        for (const HtmlNode* table : teamTables(page))
            QCOMPARE(playerRows(*table).size(), std::size_t(0));
    }

    void commentary_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("written");
        QTest::newRow("checked with text") << true << QStringList{"一行目", "二行目"} << true;
        QTest::newRow("checked, empty") << true << QStringList{} << false;
        QTest::newRow("not checked") << false << QStringList{"一行目"} << false;
        QTest::newRow("tags stay markup") << true << QStringList{"<i>好守</i>が光った"} << true;
    }
    void commentary()
    {
        QFETCH(bool, checked);
        QFETCH(QStringList, lines);
        QFETCH(bool, written);
        Program program;
        HtmlReportOptions options = everything();
        options.commentary = checked;
        options.commentaryLines = lines;
        const QString path = program.path(QStringLiteral("commentary.html"));
        QVERIFY(writeReport(path, options));
        const ParsedHtml page = parsed(path);
        const auto tables = page.topTables();
        QCOMPARE(tables.size(), std::size_t(written ? 6 : 5));
        if (!written)
            return;
        const HtmlNode& commentary = *tables.back();
        QCOMPARE(commentary.rows()[0]->cellTexts(), QStringList{"戦評"});
        QString text;
        for (const QString& l : lines)
            text += QString(l).remove("<i>").remove("</i>");
        QCOMPARE(commentary.rows()[1]->cellTexts().value(0).remove('\n').remove('\r'), text);
        QCOMPARE(commentary.descendants("br").size(), std::size_t(lines.size()));
        QCOMPARE(commentary.descendants("i").size(), std::size_t(lines.join("").count("<i>")));
    }

    void graphLink_data()
    {
        QTest::addColumn<QString>("reportName");
        QTest::addColumn<QString>("graphName");
        QTest::addColumn<QString>("src");
        QTest::newRow("html") << "game1.html"
                              << "game1.jpeg"
                              << "game1.jpeg";
        QTest::newRow("two dots") << "春.決勝.htm"
                                  << "春.決勝.jpeg"
                                  << "春.決勝.jpeg";
        QTest::newRow("no extension") << "report"
                                      << "report.jpeg"
                                      << "report.jpeg";
        QTest::newRow("address characters") << "a#1 & 2%.html"
                                            << "a#1 & 2%.jpeg"
                                            << "a%231 & 2%25.jpeg";
    }
    void graphLink()
    {
        QFETCH(QString, reportName);
        QFETCH(QString, graphName);
        QFETCH(QString, src);
        Program program;
        playReportGame(program);
        const QString path = program.path(reportName);
        QVERIFY(writeReport(path, everything()));
        QCOMPARE(QImage(program.path(graphName)).size(), QSize(640, 480));
        const ParsedHtml page = parsed(path);
        const auto images = page.root->descendants("img");
        QCOMPARE(images.size(), std::size_t(1));
        QCOMPARE(images[0]->attributes.value("src"), src);

        HtmlReportOptions options = everything();
        options.graph = false;
        QFile::remove(program.path(graphName));
        QVERIFY(writeReport(path, options));
        QVERIFY(!QFileInfo::exists(program.path(graphName)));
        QCOMPARE(parsed(path).root->descendants("img").size(), std::size_t(0));
    }

    // Every combination of the choices that change the page, over a long recorded game.
    void everyCombinationParses()
    {
        Program program;
        recordSyntheticGame(program, 200);
        const QString path = program.path(QStringLiteral("combination.html"));
        for (int teams = 0; teams < 4; ++teams) {
            for (int rows = 0; rows < 3; ++rows) {
                for (int flags = 0; flags < 8; ++flags) {
                    HtmlReportOptions options = everything();
                    options.teams = {(teams & 1) != 0, (teams & 2) != 0};
                    options.playerRows = rows;
                    options.periodColumns = (flags & 1) != 0;
                    options.commentary = (flags & 2) != 0;
                    options.graph = (flags & 4) != 0;
                    QVERIFY(writeReport(path, options));
                    const ParsedHtml page = parsed(path);
                    const auto tables = teamTables(page);
                    QCOMPARE(int(tables.size()), (teams & 1) + (teams >> 1));
                    for (const HtmlNode* table : tables) {
                        const auto players = playerRows(*table);
                        QCOMPARE(int(players.size()), rows == 2 ? int(players.size()) : 13);
                        for (const HtmlNode* row : players) {
                            QCOMPARE(row->columnSpan(), table->rows().back()->columnSpan());
                            const QStringList cells = row->cellTexts();
                            if (rows == 2)
                                QVERIFY(cells[1] == "S" || cells.back() != "0:0");
                        }
                    }
                    QCOMPARE(page.root->descendants("img").size(), std::size_t(options.graph ? 1 : 0));
                }
            }
        }
    }

    void saveCommand_data()
    {
        QTest::addColumn<bool>("shown"); // whether a program can show the page
        QTest::newRow("shown in the browser") << true;
        QTest::newRow("no program to show it") << false;
    }
    void saveCommand()
    {
        QFETCH(bool, shown);
        Program program;
        program.shell().opens = shown;
        playReportGame(program);
        program.form().Senhyou->setPlainText(QStringLiteral("古い戦評"));
        const QString path = program.path(QStringLiteral("command.html"));
        program.dialogs().expectModal("SaveHtmlDlg", [&](QDialog& dialog) {
            auto& html = static_cast<TSaveHtmlDlg&>(dialog);
            html.LabeledEdit1->setText(path);
            html.RichEdit1->setPlainText(QStringLiteral("新しい戦評"));
            html.OKBtnClick();
            return dialog.result();
        });
        if (!shown)
            program.dialogs().expectMessage(
                QStringLiteral("保存しましたが、ブラウザで表示できませんでした\n") + path);
        program.form().FileSaveAsItemClick();
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(program.form().Senhyou->toPlainText(), QStringLiteral("新しい戦評"));
        QCOMPARE(program.shell().opened, QStringList{path});
        QVERIFY(IsKeyInputEnabled());
        // The report's order by number is not kept: players on court stay first, on the panel too.
        QStringList order;
        for (int i = 0; i < program.teamA().Count(); ++i)
            order << program.teamA().PlayerAt(i)->name;
        for (int key = 1; key <= 3; ++key)
            order << FKey()->Panels[key - 1]->text();
        QCOMPARE(order, (QStringList{"高橋", "佐藤", "鈴木", "山本", "監督", "", "高橋(8)[F1]", "佐藤(10)[F2]",
                                     "鈴木(4)[F3]"}));
        for (int row = 1; row < program.teamA().Count(); ++row)
            QCOMPARE(program.form().StringGrid1->Cells(1, row), program.teamA().PlayerAt(row - 1)->name);
    }

    void saveCommandRefusals_data()
    {
        QTest::addColumn<QString>("refusal");
        QTest::newRow("cancelled") << "cancel";
        QTest::newRow("empty name") << "empty";
        QTest::newRow("existing file kept") << "exists";
        QTest::newRow("folder missing") << "missing";
    }
    void saveCommandRefusals()
    {
        QFETCH(QString, refusal);
        Program program;
        playReportGame(program);
        program.form().Senhyou->setPlainText(QStringLiteral("古い戦評"));
        QString path = program.path(QStringLiteral("kept.html"));
        if (refusal == "exists")
            writeLines(path, {"old"});
        if (refusal == "empty")
            path.clear();
        if (refusal == "missing")
            path = program.path(QStringLiteral("nowhere/report.html"));
        program.dialogs().expectModal("SaveHtmlDlg", [&](QDialog& dialog) {
            auto& html = static_cast<TSaveHtmlDlg&>(dialog);
            html.LabeledEdit1->setText(path);
            html.RichEdit1->setPlainText(QStringLiteral("新しい戦評"));
            if (refusal == "cancel")
                return int(platform::mrCancel);
            html.OKBtnClick();
            return dialog.result();
        });
        if (refusal == "empty")
            program.dialogs().expectMessage("ファイル名を指定してください");
        if (refusal == "exists")
            program.dialogs().expectMessage("上書きしますよろしいですか？", platform::mrNo);
        if (refusal == "missing")
            program.dialogs().expectMessage("保存に失敗しました");
        program.form().FileSaveAsItemClick();
        QVERIFY(program.dialogs().allAnswered());
        QVERIFY(program.shell().opened.isEmpty());
        QVERIFY(IsKeyInputEnabled());
        if (refusal == "exists")
            QCOMPARE(readBytes(path), QByteArray("old\r\n"));
        if (refusal == "missing") {
            QVERIFY(!QFileInfo::exists(QFileInfo(path).absolutePath()));
            // The dialog's commentary is taken even when the report failed.
            QCOMPARE(program.form().Senhyou->toPlainText(), QStringLiteral("新しい戦評"));
        } else {
            QCOMPARE(program.form().Senhyou->toPlainText(), QStringLiteral("古い戦評"));
        }
    }

    void saveWithoutOptionsFails()
    {
        Program program;
        TSaveFile writer(program.path(QStringLiteral("none.html")));
        QVERIFY(!writer.Save(SaveKind::Html));
        QVERIFY(!QFileInfo::exists(program.path(QStringLiteral("none.html"))));
    }
};

QTEST_MAIN(tst_htmlreport)
#include "tst_htmlreport.moc"
