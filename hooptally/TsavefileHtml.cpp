// The HTML game report: one page with the game, the score per period, a statistics table per
// chosen team, the legend, the commentary and the score graph.
#include "hooptally/Tsavefile.h"

#include <initializer_list>

#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimeEdit>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tsaveofficial.h"
#include "hooptally/Tteam.h"
#include "platform/DateTime.h"

namespace hooptally {

namespace {

// The ideographic space the page writes for an empty value.
const QString kBlank = QStringLiteral("　");
const QString kCourtTimeZero = QStringLiteral("0:0");
const QString kRateCell =
    QStringLiteral(R"(<td align="center" nowrap="nowrap"  width="41" colspan="%1"><span >%2</span></td>)");
const QString kHeadValueCell =
    QStringLiteral(R"(<td width="20" align="center" nowrap="nowrap" ><span >%1</span></td>)");
const QString kValueCell = QStringLiteral(R"(<td align="right" nowrap="nowrap">%1</td>)");

// Values of the game become text, never markup.
QString escaped(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    result.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    result.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    result.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    return result;
}

QString escapedOrBlank(const QString& text)
{
    return text.isEmpty() ? kBlank : escaped(text);
}

// made / attempts as a per-mille value written "33.3%"; no attempts give "0.0%".
QString rateText(int made, int missed)
{
    const int attempts = made + missed;
    const int perMille = attempts > 0 ? made * 1000 / attempts : 0;
    return QStringLiteral("%1.%2%").arg(perMille / 10).arg(perMille % 10);
}

// A relative address of the graph: characters that would end or escape the path are encoded.
QString imageAddress(const QString& fileName)
{
    QString address = fileName;
    address.replace(QLatin1Char('%'), QStringLiteral("%25"));
    address.replace(QLatin1Char('#'), QStringLiteral("%23"));
    address.replace(QLatin1Char('?'), QStringLiteral("%3F"));
    return escaped(address);
}

// The report's name with its extension replaced, in the same folder.
QString graphFileName(const QString& reportName)
{
    const QFileInfo info(reportName);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return reportName.left(reportName.size() - name.size()) + base + QStringLiteral(".jpeg");
}

class HtmlPage
{
public:
    HtmlPage(platform::StringList& lines, const HtmlReportOptions& options)
        : m_lines(lines), m_options(options), m_rows(KnownPlayerRows(options.playerRows))
    {
    }

    void writeHead(const QString& tournament, const QString& dateText);
    void writeGameTable(const QString& tournament, const QString& venue, const QString& dateText,
                        const QString& timeText);
    void writeScoreTable(const TTeam& teamA, const TTeam& teamB, const QStringList& periodNames);
    void writeTeamTable(TTeam& team, int shownPeriods);
    void writeLegend();
    void writeCommentary();
    void writeGraphLink(const QString& jpegName);
    void writeEnd();

private:
    struct ShotTotals
    {
        int threeMade = 0;
        int threeMissed = 0;
        int twoMade = 0;
        int twoMissed = 0;
        int freeMade = 0;
        int freeMissed = 0;
    };

    void add(int tabs, const QString& text) { m_lines << QString(tabs, QLatin1Char('\t')) + text; }
    bool column(int item) const { return m_options.columns[item]; }
    int checkedAmong(std::initializer_list<int> items) const;
    void writePeriodRow(const TTeam& teamA, const TTeam& teamB, int period, const QString& name);
    bool skipped(const TPlayer& player, const QString& courtTime) const;
    void writePlayerRow(const TPlayer& player, const QString& courtTime, int shownPeriods,
                        ShotTotals& totals);

    platform::StringList& m_lines;
    const HtmlReportOptions& m_options;
    int m_rows;
};

int HtmlPage::checkedAmong(std::initializer_list<int> items) const
{
    int count = 0;
    for (const int item : items)
        count += column(item) ? 1 : 0;
    return count;
}

void HtmlPage::writeHead(const QString& tournament, const QString& dateText)
{
    add(0, QStringLiteral(R"(<?xml version="1.0" encoding="x-sjis"?>)"));
    add(0, QStringLiteral(R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" )"
                          R"("http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">)"));
    add(0, QStringLiteral(R"(<html lang="ja" xml:lang="ja" xmlns="http://www.w3.org/1999/xhtml">)"));
    add(0, QStringLiteral("<head>"));
    // The bytes are CP932 ("①" and the other extensions included): a parser taking the label
    // "Shift-JIS" strictly rejects them, browsers read both labels alike.
    add(0, QStringLiteral(R"(<meta http-equiv="Content-Type" content="text/html; charset=Windows-31J" /> )"));
    add(0, QStringLiteral(R"(<meta http-equiv="Content-Style-Type" content="text/css" />)"));
    add(0, QStringLiteral("<title>バスケットボール試合結果【") + escaped(tournament) + QStringLiteral("】") +
               dateText + QStringLiteral("</title>"));
    add(0, QStringLiteral("</head>"));
    add(0, QStringLiteral("<body>"));
    add(0, QStringLiteral("<center>"));
}

void HtmlPage::writeGameTable(const QString& tournament, const QString& venue, const QString& dateText,
                              const QString& timeText)
{
    add(0, QStringLiteral(R"(<table border="1" cellpadding="1" cellspacing="1" width="600" height="30">)"));
    add(0, QStringLiteral(R"(<tr valign="middle">)"));
    add(0, QStringLiteral(R"(<td width="300"><b><font size="6">)") + escapedOrBlank(tournament) +
               QStringLiteral("</font></b></td>"));
    add(0, QStringLiteral("<td><b>") + escapedOrBlank(venue) + QStringLiteral("</b></td>"));
    add(0, QStringLiteral("<td><b>") + dateText + kBlank + timeText + QStringLiteral("</b></td>"));
    add(0, QStringLiteral("</tr>"));
    add(0, QStringLiteral("</table>"));
}

void HtmlPage::writePeriodRow(const TTeam& teamA, const TTeam& teamB, int period, const QString& name)
{
    add(5, QStringLiteral("<tr>"));
    add(6, QStringLiteral(R"(<td align="right" width="25"><b>)") + QString::number(teamA.TeamPoints(period)) +
               QStringLiteral("</b></td>"));
    add(6, QStringLiteral(R"(<td align="center" width="40"><font size = "1">-)") + escaped(name) +
               QStringLiteral("-</font></td>"));
    add(6, QStringLiteral(R"(<td align="right" width="16"><b>)") + QString::number(teamB.TeamPoints(period)) +
               QStringLiteral("</b></td>"));
    add(5, QStringLiteral("</tr>"));
}

void HtmlPage::writeScoreTable(const TTeam& teamA, const TTeam& teamB, const QStringList& periodNames)
{
    const int pointsA = teamA.TeamPoints(-1);
    const int pointsB = teamB.TeamPoints(-1);
    auto mark = [](int own, int other) {
        return own > other ? QStringLiteral("○") : own < other ? QStringLiteral("●") : QStringLiteral("■");
    };
    const QString blankRow = QStringLiteral(R"(<td colspan="3" align="right" >　</td>)");

    add(1, QStringLiteral(R"(<table border="1" cellpadding="1" cellspacing="1" width="600" height="110">)"));
    add(2, QStringLiteral(R"(<tr valign="middle">)"));
    add(3, QStringLiteral("<!--■上チーム■-->"));
    add(3, QStringLiteral(R"(<td align="center" width="188" valign="middle">)"));
    add(3, QStringLiteral(R"(<b><font COLOR="#)") + teamA.TeamColorHex() + QStringLiteral(R"(">)") +
               escapedOrBlank(teamA.name) + QStringLiteral("</font></b>"));
    add(3, QStringLiteral("</td>"));
    add(3, QStringLiteral(R"(<td width="60" align="center" valign="middle" >)"));
    add(4, QStringLiteral("<span>") + mark(pointsA, pointsB) +
               QStringLiteral("<br />\t\t\t<!--■勝ちは○／負けは●■-->"));
    add(4, QStringLiteral("<b>") + QString::number(pointsA) +
               QStringLiteral("</b><br /></span>\t\t<!--■左チームスコア■-->"));
    add(3, QStringLiteral("</td>"));
    add(3, QStringLiteral(R"(<td width="98">)"));
    add(3, QStringLiteral("<!--■ピリオドスコア■-->"));
    add(4, QStringLiteral(R"(<table width="91" border="0" cellspacing="0" cellpadding="0">)"));
    add(5, QStringLiteral("<tr>"));
    add(6, blankRow);
    add(5, QStringLiteral("</tr>"));
    for (int period = 0; period < kMaxPeriods; ++period) {
        // An overtime is shown once both teams have played in it.
        if (period >= kRegularPeriods &&
            !(teamA.AnyonePlayedInPeriod(period) && teamB.AnyonePlayedInPeriod(period)))
            continue;
        writePeriodRow(teamA, teamB, period, periodNames.value(period));
    }
    add(5, QStringLiteral("<tr>"));
    add(6, blankRow);
    add(5, QStringLiteral("</tr>"));
    add(4, QStringLiteral("</table>"));
    add(3, QStringLiteral("</td>"));
    add(3, QStringLiteral("<!--■右チーム■-->"));
    add(3, QStringLiteral(R"(<td align="center" valign="middle" width="60">)"));
    add(4, QStringLiteral("<span  >") + mark(pointsB, pointsA) +
               QStringLiteral("<br /><!--■勝ちは○／負けは●■-->"));
    add(4, QStringLiteral("<b>") + QString::number(pointsB) +
               QStringLiteral("</b></span><span ><br /></span><!--■右チームスコア■-->"));
    add(3, QStringLiteral("</td>"));
    add(3, QStringLiteral(R"(<td align="center" width="188">)"));
    add(4, QStringLiteral(R"(<b><font color="#)") + teamB.TeamColorHex() + QStringLiteral(R"(">)") +
               escapedOrBlank(teamB.name) + QStringLiteral("</font></b>"));
    add(3, QStringLiteral("</td>"));
    add(2, QStringLiteral("</tr>"));
    add(1, QStringLiteral("</table>"));
    add(0, QStringLiteral("<br /><br />"));
}

bool HtmlPage::skipped(const TPlayer& player, const QString& courtTime) const
{
    if (player.status == kBlankRow)
        return true;
    if (m_rows == kListedPlayers)
        return player.starter == 0 && player.status == kNotListed;
    if (m_rows == kPlayersWhoPlayed)
        return player.starter == 0 && courtTime == kCourtTimeZero;
    return false;
}

void HtmlPage::writePlayerRow(const TPlayer& player, const QString& courtTime, int shownPeriods,
                              ShotTotals& totals)
{
    auto value = [&player](std::uint8_t code) { return player.StatValue(-1, code, true); };
    const int threeMade = value(kThreePointMade) / 3;
    const int threeMissed = value(kThreePointMissed) / 3;
    const int twoMade = value(kTwoPointMade) / 2;
    const int twoMissed = value(kTwoPointMissed) / 2;
    const int freeMade = value(kFreeThrowMade);
    const int freeMissed = value(kFreeThrowMissed);
    totals.threeMade += threeMade;
    totals.threeMissed += threeMissed;
    totals.twoMade += twoMade;
    totals.twoMissed += twoMissed;
    totals.freeMade += freeMade;
    totals.freeMissed += freeMissed;

    add(0, QStringLiteral("<tr >"));
    add(0, kValueCell.arg(escapedOrBlank(player.number)));
    add(0, QStringLiteral(R"(<td align="center" nowrap="nowrap">)") +
               (player.starter == 1 ? QStringLiteral("S") : kBlank) + QStringLiteral("</td>"));
    add(0, QStringLiteral(R"(<td width="100" nowrap="nowrap">)") + escapedOrBlank(player.name) +
               QStringLiteral("</td>"));
    if (m_options.periodColumns) {
        for (int period = 0; period < shownPeriods; ++period) {
            const bool played = player.ValidPeriod(period) && player.CourtTimeOf(period).accumulated != 0.0;
            add(3, QStringLiteral(R"(<td align="center" nowrap="nowrap" ><span >)") +
                       (played ? QStringLiteral("×") : kBlank) + QStringLiteral("</span></td>"));
        }
    }
    // The columns in the order of the head; the points always come first.
    const std::pair<int, QString> cells[] = {
        {-1, QString::number(value(kPointsStat))},
        {kThreePointMade, QString::number(threeMade)},
        {kThreePointMissed, QString::number(threeMade + threeMissed)},
        {kTwoPointMade, QString::number(twoMade)},
        {kTwoPointMissed, QString::number(twoMade + twoMissed)},
        {kFreeThrowMade, QString::number(freeMade)},
        {kFreeThrowMissed, QString::number(freeMade + freeMissed)},
        {kFoul, QString::number(value(kFoul))},
        {kAssist, QString::number(value(kAssist))},
        {kOffensiveRebound, QString::number(value(kOffensiveRebound))},
        {kDefensiveRebound, QString::number(value(kDefensiveRebound))},
        {kBlockedShot, QString::number(value(kBlockedShot))},
        {kSteal, QString::number(value(kSteal))},
        {kTurnover, QString::number(value(kTurnover))},
        {kHtmlPlayTimeColumn, courtTime},
    };
    for (const auto& [item, text] : cells) {
        if (item < 0 || column(item))
            add(0, kValueCell.arg(text));
    }
    add(0, QStringLiteral("</tr>"));
}

void HtmlPage::writeTeamTable(TTeam& team, int shownPeriods)
{
    const int threeSpan = checkedAmong({kThreePointMade, kThreePointMissed});
    const int twoSpan = checkedAmong({kTwoPointMade, kTwoPointMissed});
    const int freeSpan = checkedAmong({kFreeThrowMade, kFreeThrowMissed});
    const int reboundSpan = checkedAmong({kOffensiveRebound, kDefensiveRebound});
    const int restSpan = checkedAmong({kFoul, kAssist, kOffensiveRebound, kDefensiveRebound, kBlockedShot,
                                       kSteal, kTurnover, kHtmlPlayTimeColumn});
    const QString periods = QString::number(shownPeriods);

    add(1, QStringLiteral(R"(<table width="598" border="1" cellspacing="1" cellpadding="0" >)"));
    add(2, QStringLiteral("<tr>"));
    add(3, QStringLiteral(R"(<td width="598" colspan="20" ><b><font color="#)") + team.TeamColorHex() +
               QStringLiteral(R"(">)") + escaped(team.name) + QStringLiteral("</font></b></td>"));
    add(2, QStringLiteral("</tr>"));

    add(2, QStringLiteral("<tr>"));
    add(3, QStringLiteral(R"(<td align="center" rowspan="2" ><span >No.</span></td>)"));
    add(3, QStringLiteral(R"(<td align="center" rowspan="2" ><span >S</span></td>)"));
    add(3, QStringLiteral(R"(<td rowspan="2" ><span >　選手名</span></td>)"));
    if (m_options.periodColumns)
        add(3,
            QStringLiteral(R"(<td colspan="%1" align="center" ><span >出場時限</span></td>)").arg(periods));
    add(3, QStringLiteral(R"(<td align="center" rowspan="2" ><span >PTS</span></td>)"));
    const QString groupHead = QStringLiteral(R"(<td colspan="%1" align="center" ><span >%2</span></td>)");
    if (threeSpan > 0)
        add(3, groupHead.arg(threeSpan).arg(QStringLiteral("3PFG")));
    if (twoSpan > 0)
        add(3, groupHead.arg(twoSpan).arg(QStringLiteral("2PFG")));
    if (freeSpan > 0)
        add(3, groupHead.arg(freeSpan).arg(QStringLiteral("<span >FT</span>")));
    if (column(kFoul))
        add(3, QStringLiteral(R"(<td align="center" rowspan="2" ><span >F</span></td>)"));
    if (column(kAssist))
        add(3, QStringLiteral(R"(<td align="center" rowspan="2" ><span >AS</span></td>)"));
    if (reboundSpan > 0)
        add(3, QStringLiteral(R"(<td colspan="%1" align="center" rowspan="1" ><span >REB</span></td>)")
                   .arg(reboundSpan));
    const std::pair<int, const char*> singles[] = {
        {kBlockedShot, "BS"}, {kSteal, "ST"}, {kTurnover, "TO"}, {kHtmlPlayTimeColumn, "MIN"}};
    for (const auto& [item, label] : singles) {
        if (column(item))
            add(3, QStringLiteral(R"(<td rowspan="2" align="center" ><span >%1</span></td>)")
                       .arg(QLatin1String(label)));
    }
    add(2, QStringLiteral("</tr>"));

    add(2, QStringLiteral(R"(<tr valign="middle" >)"));
    if (m_options.periodColumns) {
        const QString labels[] = {QStringLiteral("①"), QStringLiteral("②"),   QStringLiteral("③"),
                                  QStringLiteral("④"), QStringLiteral("OT1"), QStringLiteral("OT2")};
        for (int period = 0; period < shownPeriods && period < kMaxPeriods; ++period)
            add(3, QStringLiteral(R"(<td align="center" nowrap="nowrap" ><span >)") + labels[period] +
                       QStringLiteral("</span></td>"));
    }
    const std::pair<int, const char*> subHeads[] = {{kThreePointMade, "M"},    {kThreePointMissed, "A"},
                                                    {kTwoPointMade, "M"},      {kTwoPointMissed, "A"},
                                                    {kFreeThrowMade, "M"},     {kFreeThrowMissed, "A"},
                                                    {kOffensiveRebound, "OR"}, {kDefensiveRebound, "DR"}};
    for (const auto& [item, label] : subHeads) {
        if (column(item))
            add(3, kHeadValueCell.arg(QLatin1String(label)));
    }
    add(2, QStringLiteral("</tr>"));

    team.SortPlayers(SortMode::ByNumber);
    ShotTotals totals;
    for (int i = 0; i < team.Count(); ++i) {
        const TPlayer& player = *team.PlayerAt(i);
        const QString courtTime = player.FormatCourtTime(0.0);
        if (!skipped(player, courtTime))
            writePlayerRow(player, courtTime, shownPeriods, totals);
    }

    add(2, QStringLiteral(R"(<tr valign="middle">)"));
    add(3, QStringLiteral(R"(<td align="center" colspan="3" nowrap="nowrap">　</td>)"));
    if (m_options.periodColumns)
        add(3, QStringLiteral(R"(<td align="center" colspan="%1" nowrap="nowrap">　</td>)").arg(periods));
    add(3, QStringLiteral(R"(<td align="center" nowrap="nowrap">　</td>)"));
    if (threeSpan > 0)
        add(3, kRateCell.arg(threeSpan).arg(
                   column(kThreePointMissed) ? rateText(totals.threeMade, totals.threeMissed) : kBlank));
    if (twoSpan > 0)
        add(3, kRateCell.arg(twoSpan).arg(column(kTwoPointMissed) ? rateText(totals.twoMade, totals.twoMissed)
                                                                  : kBlank));
    if (freeSpan > 0)
        add(3, kRateCell.arg(freeSpan).arg(
                   column(kFreeThrowMissed) ? rateText(totals.freeMade, totals.freeMissed) : kBlank));
    add(3, kRateCell.arg(restSpan).arg(kBlank));
    add(2, QStringLiteral("</tr>"));
    add(0, QStringLiteral("</table>"));
    add(0, QStringLiteral("<span><br /></span>"));
    add(0, QStringLiteral("<span><br /></span>"));
}

void HtmlPage::writeLegend()
{
    // The small font encloses the whole table: inside a row it would be markup that parsers reject.
    add(0, QStringLiteral(R"(<font size="1">)"));
    add(1, QStringLiteral(
               R"(<table style="font-size:10px;line-height:10px" width="600" border="1" cellspacing="0" )"
               R"(cellpadding="1">)"));
    const QString label = QStringLiteral(R"(<td width="24" align="right" nowrap="nowrap">%1</td>)");
    // The last label of the first two rows has two spaces after its width.
    const QString lastLabel = QStringLiteral(R"(<td width="24"  align="right" nowrap="nowrap">%1</td>)");
    const QString text = QStringLiteral(R"(<td width="%1" >%2</td>)");
    const int widths[] = {76, 106, 116, 96, 86};
    const char* const pairs[2][10] = {{"PTS:", "ポイント", "FG:", "フィールドゴール", "F:", "ファール",
                                       "TO:", "ターンオーバー", "MIN:", "出場時間"},
                                      {"M:", "成功", "3P:", "3ポイントシュート",
                                       "OR:", "オフェンスリバウンド", "AS:", "アシスト", "S:", "スターター"}};
    for (const auto& row : pairs) {
        add(2, QStringLiteral("<tr>"));
        for (int i = 0; i < 5; ++i) {
            add(3, (i < 4 ? label : lastLabel).arg(QString::fromUtf8(row[2 * i])));
            add(3, text.arg(widths[i]).arg(QString::fromUtf8(row[2 * i + 1])));
        }
        add(2, QStringLiteral("</tr>"));
    }
    add(2, QStringLiteral("<tr>"));
    add(3, label.arg(QStringLiteral("A:")));
    add(3, text.arg(76).arg(QStringLiteral("試投")));
    add(3, label.arg(QStringLiteral("2P:")));
    add(3, text.arg(106).arg(QStringLiteral("2ポイントシュート")));
    add(3, label.arg(QStringLiteral("DR:")));
    add(3, text.arg(116).arg(QStringLiteral("ディフェンスリバウンド")));
    add(3, QStringLiteral(R"(<td align="right" width="24" nowrap="nowrap">ST:</td>)"));
    add(3, QStringLiteral(R"(<td class="txt9" width="96">スティール</td>)"));
    add(3, QStringLiteral(R"(<td class="txt9" align="right" nowrap="nowrap">OT:</td>)"));
    add(3, QStringLiteral(R"(<td class="txt9">延長</td>)"));
    add(2, QStringLiteral("</tr>"));
    add(2, QStringLiteral("<tr>"));
    add(3, QStringLiteral(R"(<td align="right" width="24" nowrap="nowrap">%:</td>)"));
    add(3, QStringLiteral(R"(<td class="txt9" width="76">シュート率</td>)"));
    add(3, QStringLiteral(R"(<td align="right" width="24" nowrap="nowrap">FT:</td>)"));
    add(3, QStringLiteral(R"(<td class="txt9" width="106">フリースロー</td>)"));
    add(3, QStringLiteral(R"(<td align="right" width="24" nowrap="nowrap">TOT:</td>)"));
    add(3, QStringLiteral(R"(<td class="txt9" width="116">トータルリバウンド</td>)"));
    add(3, QStringLiteral(R"(<td width="24" align="right" class="txt9" nowrap="nowrap">BS:</td>)"));
    add(3, QStringLiteral(R"(<td colspan="3" >ブロックショット</td>)"));
    add(2, QStringLiteral("</tr>"));
    add(1, QStringLiteral("</table>"));
    add(1, QStringLiteral("</font>"));
    add(0, QStringLiteral("<br /><br />"));
}

void HtmlPage::writeCommentary()
{
    add(1, QStringLiteral(R"(<table width="598" border="1" cellspacing="1" cellpadding="0" >)"));
    add(2, QStringLiteral("<tr>"));
    add(3, QStringLiteral(R"(<td width="598" colspan="19" ><b><font COLOR=Black>戦評</font></b></td>)"));
    add(2, QStringLiteral("</tr>"));
    add(2, QStringLiteral("<tr>"));
    add(3, QStringLiteral(R"(<td align="left" nowrap="nowrap">)"));
    // As typed: the user may mark up the commentary on purpose.
    for (const QString& line : m_options.commentaryLines)
        add(0, line + QStringLiteral("<br />"));
    add(3, QStringLiteral("</td>"));
    add(2, QStringLiteral("</tr>"));
    add(0, QStringLiteral("</table>"));
}

void HtmlPage::writeGraphLink(const QString& jpegName)
{
    add(0, QStringLiteral(R"(<br /><img src=")") + imageAddress(QFileInfo(jpegName).fileName()) +
               QStringLiteral(R"(" alt="" /><br />)"));
}

void HtmlPage::writeEnd()
{
    add(0, QStringLiteral(R"(<p><font size="1">Hooptally</font></p>)"));
    add(0, QStringLiteral("</center>"));
    add(0, QStringLiteral("</body>"));
    add(0, QStringLiteral("</html>"));
}

} // namespace

bool TSaveFile::WriteHtmlFile()
{
    THooptallyForm* form = MainForm();
    const HtmlReportOptions& options = *m_htmlOptions;
    TTeam* teamA = GetTeam(kSideA);
    TTeam* teamB = GetTeam(kSideB);
    if (!form || !teamA || !teamB) {
        m_failure = QStringLiteral("no teams");
        return false;
    }
    m_lines = std::make_unique<platform::StringList>();
    HtmlPage page(*m_lines, options);

    form->DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    const QDate date = form->DateTimePicker1->date();
    const QTime time = form->DateTimePicker2->time();
    const QString dateText =
        platform::DateTime::ShortDate(platform::DateTime::encodeDate(date.year(), date.month(), date.day()));
    const QString timeText = platform::DateTime::LongTime(
        platform::DateTime::encodeTime(time.hour(), time.minute(), time.second(), time.msec()));
    const QString tournament = form->Taikaimei->text();
    QStringList periodNames;
    for (int i = 0; i < form->QuatorCombo->count(); ++i)
        periodNames << form->QuatorCombo->itemText(i);

    page.writeHead(tournament, dateText);
    page.writeGameTable(tournament, form->Basho->text(), dateText, timeText);
    page.writeScoreTable(*teamA, *teamB, periodNames);
    const int shownPeriods = GetShownPeriodCount();
    if (options.teams[0])
        page.writeTeamTable(*teamA, shownPeriods);
    if (options.teams[1])
        page.writeTeamTable(*teamB, shownPeriods);
    page.writeLegend();
    if (options.commentary && !options.commentaryLines.isEmpty())
        page.writeCommentary();
    if (options.graph) {
        const QString jpegName = graphFileName(m_fileName);
        if (!SaveScoreGraph(jpegName)) {
            m_failure = QStringLiteral("the graph %1 was not written").arg(jpegName);
            return false;
        }
        page.writeGraphLink(jpegName);
    }
    page.writeEnd();
    return m_lines->saveToFile(m_fileName, &m_failure);
}

bool TSaveFile::SaveScoreGraph(const QString& jpegFileName)
{
    TSaveOfficial picture(jpegFileName);
    return picture.Render(TSaveOfficial::kScoreGraph) == 1;
}

} // namespace hooptally
