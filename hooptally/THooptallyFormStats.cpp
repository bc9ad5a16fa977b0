// The "Stats" page: both teams' players with their running statistics.
#include "hooptally/THooptallyForm.h"

#include <QLabel>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "platform/StringGrid.h"

namespace hooptally {

namespace {

constexpr int kStatsColumns = 13;
constexpr int kStatsRows = 7;
constexpr int kNameColumn = 1;
constexpr int kPointsColumn = 2;
constexpr int kPositionColumn = 12;
constexpr int kFirstSwitchedColumn = 5;
constexpr int kLastSwitchedColumn = 11;
const QString kAddRowText = QStringLiteral("追加");

const QStringList& statsHeaders()
{
    static const QStringList headers = {
        QStringLiteral("番号"),     QStringLiteral("名前"),       QStringLiteral("得点"),
        QStringLiteral("ｼｭｰﾄ"),     QStringLiteral("ﾌﾘｰｽﾛｰ"),     QStringLiteral("ﾌｧｳﾙ"),
        QStringLiteral("O.ﾘﾊﾞｳﾝﾄﾞ"), QStringLiteral("D.ﾘﾊﾞｳﾝﾄﾞ"), QStringLiteral("ﾀｰﾝｵｰﾊﾞｰ"),
        QStringLiteral("ｱｼｽﾄ"),     QStringLiteral("ｽﾁｰﾙ"),       QStringLiteral("B.ｼｮｯﾄ"),
        QStringLiteral("ﾎﾟｼﾞｼｮﾝ")};
    return headers;
}

QString initialWidthText(int col)
{
    if (col == 0)
        return QStringLiteral("1番号1");
    if (col == kNameColumn)
        return QStringLiteral("------123-------");
    if (col == kPositionColumn)
        return QStringLiteral("-123-");
    return QStringLiteral("ﾌﾘｰｽﾛｰ---");
}

platform::TColor rowColor(const TPlayer* player, bool selected)
{
    const platform::TColor teamColor = player->team ? player->team->color : platform::clWhite;
    if (selected)
        return teamColor + 0xF97; // the sum may carry into the next byte; the colour keeps 24 bits
    switch (player->status) {
    case kOnCourt:
        return teamColor;
    case kOnBench:
        return 0xFFFFFF;
    case kNotListed:
        return 0xE0DFE3;
    case kHeadCoach:
    case kAssistantCoach:
    case kCoach:
        return 0xAE45BC;
    default:
        return 0x595959;
    }
}

} // namespace

int THooptallyForm::statsTextWidth(const platform::StringGrid* grid, const QString& text)
{
    return m_statsTextWidths.width(grid->CanvasFont(), text);
}

void THooptallyForm::InitStatsGrids()
{
    for (platform::StringGrid* grid : {StringGrid1, StringGrid2}) {
        grid->SetColCount(kStatsColumns);
        grid->SetRowCount(kStatsRows);
        for (int row = 0; row < kStatsRows; ++row)
            grid->ClearRow(row);
        for (int col = 0; col < kStatsColumns; ++col) {
            grid->SetCells(col, 0, statsHeaders()[col]);
            const int widest = std::max(statsTextWidth(grid, initialWidthText(col)),
                                        statsTextWidth(grid, statsHeaders()[col]));
            grid->SetColWidths(col, widest + 4);
        }
        for (int row = 1; row < kStatsRows; ++row)
            grid->SetCells(0, row, kAddRowText);
    }
    ApplyStatsColumns();
}

void THooptallyForm::ApplyStatsColumns()
{
    for (int col = kFirstSwitchedColumn; col <= kLastSwitchedColumn; ++col) {
        const bool shown = Option() ? Option()->StatSwitch(col + 1) : true;
        for (platform::StringGrid* grid : {StringGrid1, StringGrid2}) {
            if (!shown)
                grid->SetColWidths(col, 0);
            else if (grid->ColWidths(col) < grid->ColWidths(kPointsColumn))
                grid->SetColWidths(col, grid->ColWidths(kPointsColumn));
        }
    }
    StringGrid1->Invalidate();
    StringGrid2->Invalidate();
}

void THooptallyForm::FillStatsGrid(TTeam* team, platform::StringGrid* grid)
{
    if (!team || !grid)
        return;
    grid->SetRowCount(team->Count() > 0 ? team->Count() + 1 : 2);
    int widestName = 0;
    int widestPosition = 0;
    for (int i = 0; i < team->Count(); ++i) {
        const QStringList& row = team->PlayerAt(i)->BuildDisplayRow();
        for (int col = 0; col < kStatsColumns && col < row.size(); ++col)
            grid->SetCells(col, i + 1, row[col]);
        widestName = std::max(widestName, statsTextWidth(grid, row.value(kNameColumn)));
        widestPosition = std::max(widestPosition, statsTextWidth(grid, row.value(kPositionColumn)));
    }
    if (team->Count() == 0)
        grid->ClearRow(1);
    // A column is never narrower than its header.
    grid->SetColWidths(kPositionColumn,
                       std::max(widestPosition, statsTextWidth(grid, statsHeaders()[kPositionColumn])) + 4);
    grid->SetColWidths(kNameColumn,
                       std::max(widestName, statsTextWidth(grid, statsHeaders()[kNameColumn])) + 4);
    grid->Invalidate();
}

void THooptallyForm::EnsureAddRow(TTeam* team)
{
    if (!team)
        return;
    platform::StringGrid* grid = team->side == kSideA ? StringGrid1 : StringGrid2;
    if (team->HasNoBlankRow()) {
        const int row = grid->RowCount();
        grid->SetRowCount(row + 1);
        grid->ClearRow(row);
        grid->SetCells(0, row, kAddRowText);
        team->AddPlayer(std::make_unique<TPlayer>(team));
    }
    grid->Invalidate();
}

void THooptallyForm::SyncTeamLabels()
{
    TeamALabel->setText(TeamAName->text());
    TeamBLabel->setText(TeamBName->text());
    m_teamA->name = TeamALabel->text();
    m_teamB->name = TeamBLabel->text();
    for (platform::StringGrid* grid : {StringGrid1, StringGrid2}) {
        grid->SetTag(0);
        for (int row = 1; row < grid->RowCount(); ++row) {
            grid->SetCells(2, row, QStringLiteral("0"));
            grid->SetCells(3, row, QStringLiteral("0/0"));
            grid->SetCells(4, row, QStringLiteral("0/0"));
            grid->SetCells(5, row, QStringLiteral("0"));
        }
    }
}

void THooptallyForm::OpenStatsRow(platform::StringGrid* grid)
{
    const int row = grid->Row();
    if (row < 1 || row >= grid->RowCount())
        return;
    TTeam* team = GetTeamOfGrid(grid);
    TPlayer* player = team->PlayerAt(row - 1);
    if (!player) {
        player = team->AddPlayer(std::make_unique<TPlayer>(team));
    } else if (player->status == kBlankRow) {
        // The smallest ID no other player of the team has.
        player->id = 0;
        player->id = team->NextFreePlayerId();
    }
    team->OpenPlayer(player);
}

void THooptallyForm::DrawStatsCell(platform::StringGrid* grid, int col, int row, const QRect& rect)
{
    const TTeam* team = GetTeamOfGrid(grid);
    const TPlayer* player = row >= 1 && team ? team->PlayerAt(row - 1) : nullptr;
    if (!player) {
        grid->DefaultDrawCell(col, row, rect, row == 0 ? unsigned(platform::gdFixed) : 0u);
        return;
    }
    platform::Canvas* canvas = grid->GridCanvas();
    if (!canvas)
        return;
    canvas->Brush.Style = platform::BrushStyle::Solid;
    canvas->Brush.Color = rowColor(player, row == grid->Row());
    canvas->FillRect(rect);
    canvas->Brush.Style = platform::BrushStyle::Clear;
    canvas->Font.Color = platform::clBlack;
    canvas->TextOut(rect.left(), rect.top(), grid->Cells(col, row));
}

} // namespace hooptally
