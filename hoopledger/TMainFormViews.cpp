// The team and player views of the grid, its column widths, drawing and sorting, and the search.
#include <algorithm>

#include <QFontMetrics>
#include <QLabel>
#include <QSet>
#include <QTreeWidget>

#include "hoopledger/TMainForm.h"
#include "hoopledger/TOption.h"
#include "hoopledger/Teamlist.h"
#include "hoopledger/Tgamelist.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/StringGrid.h"

namespace hoopledger {

namespace {

// Which line a statistic cell stands on: attempts are summed differently on some of them.
enum class LineKind { MemberTotals, GameLine, TotalsLine };

struct KojinColumns
{
    const char16_t* headers[2];
};

const KojinColumns kKojinColumns[kKojinItemCount] = {{{u"2P(M)"}}, {{u"2P(A)", u"2P(%)"}},
                                                     {{u"3P(M)"}}, {{u"3P(A)", u"3P(%)"}},
                                                     {{u"FP(M)"}}, {{u"FP(A)", u"FP(%)"}},
                                                     {{u"F"}},     {{u"OR"}},
                                                     {{u"DR"}},    {{u"TO"}},
                                                     {{u"AS"}},    {{u"ST"}},
                                                     {{u"BS"}},    {{u"TIME"}}};

bool itemOn(int item)
{
    return !Option() || Option()->KojinItem(item);
}

QStringList statHeaders()
{
    QStringList headers;
    for (int item = 0; item < kKojinItemCount; ++item) {
        if (!itemOn(item))
            continue;
        for (const char16_t* header : kKojinColumns[item].headers) {
            if (header)
                headers << QString::fromUtf16(header);
        }
    }
    return headers;
}

QString count(qint64 value, bool padded)
{
    return padded ? QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')) : QString::number(value);
}

QString percent(qint64 made, qint64 attempts)
{
    const double a = double(attempts);
    if (a == 0.0)
        return QStringLiteral("--");
    return platform::Format("%02.1f", double(made) / a * 100.0) + QLatin1Char('%');
}

// The switched-on statistic cells of one line.
QStringList statCells(const TPlayerTotals& t, double time, LineKind kind, bool padded)
{
    const qint64 twoMade = t[kTwoMadePoints] / 2;
    const qint64 twoAttempts = kind == LineKind::TotalsLine ? t[kTwoMissedPoints] / 2 + t[kTwoMadePoints] / 2
                                                            : (t[kTwoMadePoints] + t[kTwoMissedPoints]) / 2;
    const qint64 threeMade = t[kThreeMadePoints] / 3;
    const qint64 threeAttempts = kind == LineKind::MemberTotals
                                     ? (t[kThreeMadePoints] + t[kThreeMissedPoints]) / 3
                                     : t[kThreeMissedPoints] / 3 + t[kThreeMadePoints] / 3;
    const qint64 freeMade = t[kFreeThrowsMade];
    const qint64 freeAttempts = t[kFreeThrowsMade] + t[kFreeThrowsMissed];
    const auto n = [padded](qint64 value) { return count(value, padded); };

    QStringList cells;
    for (int item = 0; item < kKojinItemCount; ++item) {
        if (!itemOn(item))
            continue;
        switch (item) {
        case 0:
            cells << n(twoMade);
            break;
        case 1:
            cells << n(twoAttempts) << percent(twoMade, twoAttempts);
            break;
        case 2:
            cells << n(threeMade);
            break;
        case 3:
            cells << n(threeAttempts) << percent(threeMade, threeAttempts);
            break;
        case 4:
            cells << n(freeMade);
            break;
        case 5:
            cells << n(freeAttempts) << percent(freeMade, freeAttempts);
            break;
        case 6:
            cells << n(t[kFouls]);
            break;
        case 7:
            cells << n(t[kOffensiveRebounds]);
            break;
        case 8:
            cells << n(t[kDefensiveRebounds]);
            break;
        case 9:
            cells << n(t[kTurnovers]);
            break;
        case 10:
            cells << n(t[kAssists]);
            break;
        case 11:
            cells << n(t[kSteals]);
            break;
        case 12:
            cells << n(t[kBlockedShots]);
            break;
        case kTimeItem:
            cells << FormatPlayTime(time);
            break;
        }
    }
    return cells;
}

TPlayerTotals totalsOf(const TStatPlayer& player)
{
    TPlayerTotals totals;
    player.CopyCounters(totals);
    return totals;
}

// Adds up the member's entries in a side: after a merge one side may hold two entries of one member.
bool addEntries(const TGameSide* side, const TStatPlayer& member, TPlayerTotals& totals, double& time)
{
    if (!side)
        return false;
    bool found = false;
    for (const TStatPlayer* player : side->Players()) {
        if (!TMemList::SamePlayer(*player, member))
            continue;
        totals.Add(totalsOf(*player));
        time += player->PlayTime();
        found = true;
    }
    return found;
}

QString shortDate(double date)
{
    return platform::DateTime::FormatDateTime(QStringLiteral("yy/mm/dd"), date);
}

} // namespace

void TMainForm::fillGrid(int kind, TGTeam* team, TStatPlayer* member, const QStringList& headers,
                         const std::vector<GridLine>& lines, const QStringList& lastRow)
{
    ClearGrid();
    GridAll->SetColCount(int(headers.size()));
    GridAll->SetRowCount(int(lines.size()) + 2);
    for (int col = 0; col < headers.size(); ++col)
        GridAll->SetCells(col, 0, headers[col]);
    int row = 1;
    for (const GridLine& line : lines) {
        for (int col = 0; col < line.cells.size(); ++col)
            GridAll->SetCells(col, row, line.cells[col]);
        GridAll->SetObjects(0, row, line.object);
        ++row;
    }
    for (int col = 0; col < lastRow.size(); ++col)
        GridAll->SetCells(col, row, lastRow[col]);
    m_gridKind = kind;
    m_gridTeam = team;
    m_gridMember = member;
}

void TMainForm::ShowTeamResults(TGTeam* team)
{
    std::vector<GridLine> lines;
    int wins = 0, losses = 0, draws = 0;
    qint64 ourTotal = 0, theirTotal = 0;
    for (const TTeamGame& listing : team->Listings()) {
        TGame* game = listing.game;
        if (!Counts(game))
            continue;
        const TGameSide* us = listing.us ? listing.us : &game->sideB;
        const TGameSide* them = us == &game->sideA ? &game->sideB : &game->sideA;
        const qint64 ours = us->Score();
        const qint64 theirs = them->Score();
        QString result = QStringLiteral("--");
        if (ours > theirs) {
            result = QStringLiteral("勝");
            ++wins;
        } else if (ours < theirs) {
            result = QStringLiteral("負");
            ++losses;
        } else {
            ++draws;
        }
        ourTotal += ours;
        theirTotal += theirs;
        lines.push_back({{shortDate(game->date), game->tournament, game->place, them->GetName(),
                          count(ours, true) + QStringLiteral(" - ") + count(theirs, true), result},
                         game});
    }
    const QString record = draws != 0 ? QStringLiteral("%1勝%2敗%3引き分け").arg(wins).arg(losses).arg(draws)
                                      : QStringLiteral("%1勝%2敗").arg(wins).arg(losses);
    fillGrid(kTeamView, team, nullptr,
             {QStringLiteral("日付"), QStringLiteral("大会名"), QStringLiteral("場所"),
              QStringLiteral("対戦相手"), QStringLiteral("得点"), QStringLiteral("勝敗")},
             lines,
             {QStringLiteral("合計"), QString(), QString(), QString(),
              count(ourTotal, true) + QStringLiteral(" - ") + count(theirTotal, true), record});
    AdjustColumnWidths();
    Label3->setText(QStringLiteral("全%1試合 ").arg(wins + losses + draws) + record);
}

void TMainForm::ShowPersonalTotals(TGTeam* team)
{
    std::vector<TTeamGame> counting;
    for (const TTeamGame& listing : team->Listings()) {
        if (Counts(listing.game))
            counting.push_back(listing);
    }
    std::vector<GridLine> lines;
    TPlayerTotals teamSums;
    double teamTime = 0.0;
    int games = 0;
    for (TStatPlayer* member : team->Members()) {
        TPlayerTotals sums;
        double time = 0.0;
        games = 0;
        for (const TTeamGame& listing : counting) {
            ++games;
            addEntries(listing.us, *member, sums, time);
        }
        if (member->visible == 1)
            lines.push_back(
                {QStringList{member->GetName(), member->GetNumber(), QString::number(sums.Points())} +
                     statCells(sums, time, LineKind::MemberTotals, false),
                 member});
        // A hidden member still counts in the team's sums.
        teamSums.Add(sums);
        teamTime += time;
    }
    fillGrid(kPersonalTotalsView, team, nullptr,
             QStringList{QStringLiteral("名前"), QStringLiteral("番号"), QStringLiteral("得点")} +
                 statHeaders(),
             lines,
             QStringList{QStringLiteral("合計"), QString(), QString::number(teamSums.Points())} +
                 statCells(teamSums, teamTime, LineKind::TotalsLine, false));
    AdjustColumnWidths();
    Label3->setText(QStringLiteral("全%1試合 全得点%2").arg(games).arg(teamSums.Points()));
}

void TMainForm::ShowPlayerGames(TStatPlayer* member, TGTeam* team)
{
    std::vector<GridLine> lines;
    TPlayerTotals sums;
    double time = 0.0;
    int games = 0;
    for (const TTeamGame& listing : team->Listings()) {
        TPlayerTotals totals;
        double played = 0.0;
        if (!addEntries(listing.us, *member, totals, played) || played == 0.0 || !Counts(listing.game))
            continue;
        ++games;
        lines.push_back({QStringList{listing.game->tournament, shortDate(listing.game->date),
                                     listing.them->GetName(), count(totals.Points(), true)} +
                             statCells(totals, played, LineKind::GameLine, true),
                         listing.game});
        sums.Add(totals);
        time += played;
    }
    fillGrid(kMemberView, team, member,
             QStringList{QStringLiteral("ｹﾞｰﾑ名"), QStringLiteral("日付"), QStringLiteral("相手"),
                         QStringLiteral("得点")} +
                 statHeaders(),
             lines,
             QStringList{QStringLiteral("合計"), QString(), QString(), count(sums.Points(), true)} +
                 statCells(sums, time, LineKind::TotalsLine, true));
    AdjustColumnWidths();
    Label3->setText(QStringLiteral("全%1試合 全得点%2").arg(games).arg(sums.Points()));
}

void TMainForm::AdjustColumnWidths()
{
    const QFontMetrics metrics(GridAll->CanvasFont());
    const int least = metrics.horizontalAdvance(QStringLiteral("3P(M)"));
    // Measuring text is the slow part of a long list, and its columns repeat their texts.
    QSet<QString> measured;
    for (int col = 0; col < GridAll->ColCount(); ++col) {
        // The header shows whole: its text is drawn inset from the cell's left, and as much room is kept
        // on its right, also over a column whose lines are short or missing.
        const int header =
            metrics.horizontalAdvance(GridAll->Cells(col, 0)) + 2 * platform::StringGrid::kTextInset;
        int width = std::max(least, header);
        measured.clear();
        for (int row = 1; row < GridAll->RowCount(); ++row) {
            const QString text = GridAll->Cells(col, row);
            if (!measured.contains(text)) {
                measured.insert(text);
                width = std::max(width, metrics.horizontalAdvance(text) + 15);
            }
        }
        GridAll->SetColWidths(col, width);
    }
    GridAll->Invalidate();
}

void TMainForm::GridAllDrawCell(int col, int row, const QRect& rect, unsigned state)
{
    // Games without a statistics block are greyed where the rows carry games of a team or the root.
    const bool gameRows = m_gridKind == kTeamView || m_gridKind == kGameListView;
    const auto* game = gameRows && row > 0 ? static_cast<const TGame*>(GridAll->Objects(0, row)) : nullptr;
    platform::Canvas* canvas = GridAll->GridCanvas();
    if (!game || game->hasStats != 0 || !canvas) {
        GridAll->DefaultDrawCell(col, row, rect, state);
        return;
    }
    canvas->Brush.Color = platform::clBtnShadow();
    canvas->Brush.Style = platform::BrushStyle::Solid;
    canvas->FillRect(rect);
    canvas->TextOut(rect.left(), rect.top(), GridAll->Cells(col, row));
}

void TMainForm::GridAllMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    int col = -1, row = -1;
    GridAll->MouseToCell(x, y, col, row);
    if (row != 0 || col < 0)
        return;
    m_sortDirection = col != m_sortColumn ? 1 : (m_sortDirection == 1 ? 0 : 1);
    // Rows 1 to RowCount - 2: the last row (totals, or the game list's empty row) stays last. A stable
    // sort puts them where passes of neighbour swaps would, without their cost on a long list.
    struct Row
    {
        int value;
        QStringList cells;
        std::vector<void*> objects;
    };
    std::vector<Row> rows;
    for (int r = 1; r <= GridAll->RowCount() - 2; ++r) {
        Row line{platform::StrToIntDef(GridAll->Cells(col, r), -1), {}, {}};
        for (int c = 0; c < GridAll->ColCount(); ++c) {
            line.cells << GridAll->Cells(c, r);
            line.objects.push_back(GridAll->Objects(c, r));
        }
        rows.push_back(std::move(line));
    }
    const bool descending = m_sortDirection == 1;
    std::stable_sort(rows.begin(), rows.end(), [descending](const Row& a, const Row& b) {
        return descending ? a.value > b.value : a.value < b.value;
    });
    for (int i = 0; i < int(rows.size()); ++i) {
        for (int c = 0; c < GridAll->ColCount(); ++c) {
            GridAll->SetCells(c, i + 1, rows[i].cells[c]);
            GridAll->SetObjects(c, i + 1, rows[i].objects[c]);
        }
    }
    m_sortColumn = col;
}

void TMainForm::Button1Click()
{
    QTreeWidgetItem* root = TreeView1->topLevelItemCount() > 0 ? TreeView1->topLevelItem(0) : nullptr;
    for (int i = 0; root && i < root->childCount(); ++i) {
        auto* team = static_cast<TGTeam*>(nodeData(root->child(i)));
        team->Members().SetVisibleAll(0);
        for (const TTeamGame& listing : team->Listings()) {
            if (!listing.us || !Counts(listing.game))
                continue;
            for (const TStatPlayer* player : listing.us->Players()) {
                if (TStatPlayer* member = team->Members().FindMember(*player))
                    member->visible = 1;
            }
        }
    }
    TreeView1DblClick();
}

} // namespace hoopledger
