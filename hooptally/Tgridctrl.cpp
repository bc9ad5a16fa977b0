// The sheet grid control: merged areas over a string grid, and the painters of the score sheets.
#include "hooptally/Tgridctrl.h"

#include "hooptally/Common.h"
#include "hooptally/Tplayer.h"
#include "platform/StringGrid.h"

#include <QPainter>

#include <algorithm>

namespace hooptally {

namespace {

const QString kPlayersHeader = QStringLiteral("選 手 氏 名");
constexpr int kPlayersHeaderPoints = 11;
constexpr int kLargestCellPoints = 12;
// The disc of a free throw that closes a period sits this far inside the circle.
constexpr int kDiscInset = 5;
constexpr int kStarterInset = 2;
constexpr int kClosingLineWidth = 4;
constexpr int kGameEndLineOffset = 3;
const QString kFoulLetters = QStringLiteral("PTUDCB");

void drawLine(platform::Canvas& canvas, const EdgeStyle& edge, QPoint from, QPoint to)
{
    canvas.Pen = platform::CanvasPen{edge.color, edge.width, edge.style, edge.mode};
    canvas.MoveTo(from.x(), from.y());
    // Straight lines of the class library stop short of their end point: sides reach the corner.
    if (from.x() == to.x() || from.y() == to.y()) {
        const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                          (to.y() > from.y()) - (to.y() < from.y()));
        to += step;
    }
    canvas.LineTo(to.x(), to.y());
}

// The line as drawLine draws it, but only inside `clip`.
void drawLineWithin(platform::Canvas& canvas, const EdgeStyle& edge, QPoint from, QPoint to,
                    const QRect& clip)
{
    QPainter* painter = canvas.painter();
    if (!painter)
        return;
    painter->save();
    painter->setClipRect(clip, Qt::IntersectClip);
    drawLine(canvas, edge, from, to);
    painter->restore();
}

void blackLine(platform::Canvas& canvas, int width, QPoint from, QPoint to)
{
    drawLine(canvas, EdgeStyle{platform::PenMode::Copy, platform::PenStyle::Solid, platform::clBlack, width},
             from, to);
}

} // namespace

bool HasAction(const GameAction& action)
{
    return action.category == kPlayerAction || action.category == kCommand;
}

SheetGridControl::SheetGridControl(platform::StringGrid* grid, int columns, int rows, bool miniBasket,
                                   const EdgeStyle& pen)
    : grid(grid), columns(std::max(0, columns)), rows(std::max(0, rows)), miniBasket(miniBasket ? 1 : 0)
{
    cells.resize(static_cast<std::size_t>(this->columns) * static_cast<std::size_t>(this->rows));
    for (int row = 0; row < this->rows; ++row) {
        for (int column = 0; column < this->columns; ++column) {
            TCell& cell = *CellAt(column, row);
            cell.grid = grid;
            cell.owner = this;
            cell.top = cell.bottom = cell.left = cell.right = pen;
            cell.firstColumn = cell.lastColumn = column;
            cell.firstRow = cell.lastRow = row;
        }
    }
}

bool SheetGridControl::Contains(int column, int row) const
{
    // Column and row each in range: a column past the last must not reach into the next row.
    return column >= 0 && column < columns && row >= 0 && row < rows;
}

TCell* SheetGridControl::CellAt(int column, int row)
{
    return Contains(column, row) ? &cells[static_cast<std::size_t>(row) * columns + column] : nullptr;
}

const TCell* SheetGridControl::CellAt(int column, int row) const
{
    return Contains(column, row) ? &cells[static_cast<std::size_t>(row) * columns + column] : nullptr;
}

TCell* SheetGridControl::SheetGridCellAt(int column, int row)
{
    TCell* cell = CellAt(column, row);
    if (!cell)
        return nullptr;
    TCell* anchor = CellAt(cell->firstColumn, cell->firstRow);
    return anchor ? anchor : cell;
}

const TCell* SheetGridControl::SheetGridCellAt(int column, int row) const
{
    return const_cast<SheetGridControl*>(this)->SheetGridCellAt(column, row);
}

void SheetGridControl::ClearSheetGrid(const EdgeStyle& edge)
{
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            TCell& cell = *CellAt(column, row);
            if (grid)
                grid->SetCells(column, row, QString());
            cell.firstColumn = cell.lastColumn = column;
            cell.firstRow = cell.lastRow = row;
            cell.player = nullptr;
            cell.top = cell.bottom = cell.left = cell.right = edge;
            SetSheetCellAction(cell, nullptr);
        }
    }
    selectedColumn = previousSelectedColumn = selectedRow = previousSelectedRow = -1;
}

void SheetGridControl::MergeSheetCells(int firstColumn, int firstRow, int lastColumn, int lastRow)
{
    if (firstColumn > lastColumn)
        std::swap(firstColumn, lastColumn);
    if (firstRow > lastRow)
        std::swap(firstRow, lastRow);
    // An area reaching outside the cells would have an anchor or a member that does not exist.
    if (!Contains(firstColumn, firstRow) || !Contains(lastColumn, lastRow))
        return;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            TCell& cell = *CellAt(column, row);
            cell.firstColumn = firstColumn;
            cell.firstRow = firstRow;
            cell.lastColumn = lastColumn;
            cell.lastRow = lastRow;
        }
    }
}

void SheetGridControl::SheetGridArea(int& column, int& row) const
{
    if (const TCell* cell = CellAt(column, row)) {
        column = cell->firstColumn;
        row = cell->firstRow;
    }
}

void SheetGridControl::SheetGridAreaBounds(QRect& rect, int column, int row) const
{
    if (grid)
        widenToArea(rect, column, row, [this](int c) { return grid->ColWidths(c); },
                    [this](int r) { return grid->RowHeights(r); });
}

void SheetGridControl::SheetGridAreaBounds(QRect& rect, int column, int row,
                                           const std::function<int(int)>& columnWidth, int rowHeight) const
{
    if (grid)
        widenToArea(rect, column, row, columnWidth, [rowHeight](int) { return rowHeight; });
}

void SheetGridControl::widenToArea(QRect& rect, int column, int row, const std::function<int(int)>& columnWidth,
                                   const std::function<int(int)>& rowHeight) const
{
    const TCell* cell = CellAt(column, row);
    if (!cell)
        return;
    const int line = grid->GridLineWidth();
    for (int c = cell->firstColumn; c < column; ++c)
        rect.setLeft(rect.left() - columnWidth(c) - line);
    for (int r = cell->firstRow; r < row; ++r)
        rect.setTop(rect.top() - rowHeight(r) - line);
    for (int c = column + 1; c <= cell->lastColumn; ++c)
        rect.setRight(rect.right() + columnWidth(c) + line);
    for (int r = row + 1; r <= cell->lastRow; ++r)
        rect.setBottom(rect.bottom() + rowHeight(r) + line);
}

void SheetGridControl::SetSheetCellEdges(int column, int row, int side, const EdgeStyle& edge)
{
    TCell* cell = CellAt(column, row);
    if (!cell)
        return;
    const bool all = side == kAllSides;
    if (all || side == kTopSide) {
        cell->top = edge;
        // Row 0 and column 0 never take a side from a neighbour.
        if (row >= 2)
            CellAt(column, row - 1)->bottom = edge;
    }
    if (all || side == kBottomSide) {
        cell->bottom = edge;
        if (TCell* below = CellAt(column, row + 1))
            below->top = edge;
    }
    if (all || side == kLeftSide) {
        cell->left = edge;
        if (column >= 2)
            CellAt(column - 1, row)->right = edge;
    }
    if (all || side == kRightSide) {
        cell->right = edge;
        if (TCell* next = CellAt(column + 1, row))
            next->left = edge;
    }
}

void SheetGridControl::SetSheetAreaEdges(const platform::GridRect& area, const EdgeStyle& edge)
{
    for (int row = area.Top; row <= area.Bottom; ++row) {
        for (int column = area.Left; column <= area.Right; ++column)
            SetSheetCellEdges(column, row, kAllSides, edge);
    }
}

int SheetGridControl::GetSheetCellEdge(const TCell& cell, int side)
{
    switch (side) {
    case kBottomSide:
        return cell.bottom.width;
    case kLeftSide:
        return cell.left.width;
    case kRightSide:
        return cell.right.width;
    default:
        return cell.top.width;
    }
}

void SheetGridControl::SetSheetAreaMark(int column, int row, std::uint8_t kind, TPlayer* player,
                                        platform::TColor background)
{
    if (TCell* area = SheetGridCellAt(column, row)) {
        area->kind = kind;
        area->player = player;
        area->background = background;
    }
}

int SheetGridControl::GetSheetAreaKind(int column, int row) const
{
    const TCell* area = SheetGridCellAt(column, row);
    return area ? area->kind : -1;
}

TPlayer* SheetGridControl::SheetGridPlayerAt(int column, int row) const
{
    const TCell* area = SheetGridCellAt(column, row);
    return area ? area->player : nullptr;
}

void SheetGridControl::SetSheetAreaPlayer(int column, int row, TPlayer* player)
{
    if (TCell* area = SheetGridCellAt(column, row))
        area->player = player;
}

QMenu* SheetGridControl::GetSheetAreaPopup(int column, int row) const
{
    const TCell* area = SheetGridCellAt(column, row);
    return area ? area->popup : nullptr;
}

void SheetGridControl::SetSheetAreaPopup(int column, int row, QMenu* menu)
{
    if (TCell* area = SheetGridCellAt(column, row))
        area->popup = menu;
}

void SheetGridControl::SetSheetCellAction(TCell& cell, const GameAction* action)
{
    if (action) {
        cell.action = *action;
        return;
    }
    cell.action = GameAction{};
    cell.periodColour = kNone;
}

void SheetGridControl::ResetSheetColours(int column, int row)
{
    if (column == -1) {
        for (TCell& cell : cells)
            cell.periodColour = kNone;
        return;
    }
    if (TCell* area = SheetGridCellAt(column, row))
        area->periodColour = kNone;
}

void SheetGridControl::ClearSheetColour(int index)
{
    for (TCell& cell : cells) {
        if (cell.periodColour == index)
            cell.periodColour = kNone;
    }
}

void SheetGridControl::SetSheetCellColour(int column, int row, int index)
{
    if (TCell* area = SheetGridCellAt(column, row))
        area->periodColour = static_cast<std::uint8_t>(index);
}

void SheetGridControl::ForgetPlayer(const TPlayer* player)
{
    if (!player)
        return;
    for (TCell& cell : cells) {
        if (cell.player == player)
            cell.player = nullptr;
        if (cell.action.player == player)
            cell.action.player = nullptr;
    }
}

// --- painters --------------------------------------------------------------------------------------

QRect SheetGridControl::areaRect(int column, int row, const QRect* given) const
{
    if (given)
        return *given;
    QRect rect = grid ? grid->CellRect(column, row) : QRect();
    SheetGridAreaBounds(rect, column, row);
    return rect;
}

bool SheetGridControl::ClosesBelow(int column, int row) const
{
    const TCell* area = SheetGridCellAt(column, row);
    return area && area->lastRow == row && area->periodColour != kNone &&
           (area->kind == kScorerColumn || area->kind == kScoreNumberColumn);
}

bool SheetGridControl::ClosesRight(int column, int row) const
{
    const TCell* area = SheetGridCellAt(column, row);
    return area && area->lastColumn == column && area->periodColour != kNone && area->kind == kFoulBox;
}

void SheetGridControl::SheetGridDrawArea(int column, int row, const QRect& cellRect,
                                         platform::Canvas& canvas) const
{
    const TCell* cell = CellAt(column, row);
    if (!cell)
        return;
    const platform::CanvasPen pen = canvas.Pen;
    const int grow = std::max(0, pen.Width);
    const QRect r = cellRect.adjusted(-grow, -grow, grow, grow);
    // A closing line stays inside its cell and the grid line after it, out of reach of the fill of
    // the cells painted after it.
    const QPoint up(0, -(kClosingLineWidth / 2 - 1));
    const QPoint left(-(kClosingLineWidth / 2 - 1), 0);
    auto closing = [this](int c, int rw) {
        return EdgeStyle{platform::PenMode::Copy, platform::PenStyle::Solid,
                         GetPeriodColor(SheetGridCellAt(c, rw)->periodColour), kClosingLineWidth};
    };
    if (cell->firstRow == row)
        drawLine(canvas, cell->top, r.topLeft(), r.topRight());
    if (cell->lastRow == row) {
        if (ClosesBelow(column, row))
            drawLine(canvas, closing(column, row), r.bottomLeft() + up, r.bottomRight() + up);
        else
            drawLine(canvas, cell->bottom, r.bottomLeft(), r.bottomRight());
    }
    if (cell->firstColumn == column)
        drawLine(canvas, cell->left, r.topLeft(), r.bottomLeft());
    if (cell->lastColumn == column) {
        if (ClosesRight(column, row))
            drawLine(canvas, closing(column, row), r.topRight() + left, r.bottomRight() + left);
        else
            drawLine(canvas, cell->right, r.topRight(), r.bottomRight());
    }
    // This cell's top or left side falls on the closing line of the cell above or to the left
    // (neighbouring sides share their pixels): that line is drawn again where the side covered it.
    if (cell->firstRow == row && ClosesBelow(column, row - 1)) {
        const int w = std::max(1, cell->top.width);
        drawLineWithin(canvas, closing(column, row - 1), r.topLeft() + up, r.topRight() + up,
                       QRect(cellRect.left(), r.top() - w / 2, cellRect.width(), w));
    }
    if (cell->firstColumn == column && ClosesRight(column - 1, row)) {
        const int w = std::max(1, cell->left.width);
        drawLineWithin(canvas, closing(column - 1, row), r.topLeft() + left, r.bottomLeft() + left,
                       QRect(r.left() - w / 2, cellRect.top(), w, cellRect.height()));
    }
    canvas.Pen = pen;
}

void SheetGridControl::FitSheetCellFont(int column, int row, const QRect& rect,
                                        platform::Canvas& canvas) const
{
    const QString text = grid ? grid->Cells(column, row) : QString();
    canvas.Font.Size = kLargestCellPoints;
    while (canvas.Font.Size > 1) {
        if (canvas.TextWidth(text) < rect.width() && canvas.TextHeight(text) <= rect.height())
            return;
        --canvas.Font.Size;
    }
}

QString SheetGridControl::AreaText(int column, int row) const
{
    const TCell* area = SheetGridCellAt(column, row);
    if (!area || !grid)
        return {};
    const QString text = grid->Cells(area->firstColumn, area->firstRow);
    switch (area->kind) {
    case kNumberArea:
        return area->player ? area->player->number : text;
    case kNameArea:
        return area->player ? area->player->name : text;
    case kPlayedBox:
        return PlayedInPeriod(area->firstColumn, area->firstRow, const_cast<SheetGridControl*>(this))
                   ? QStringLiteral("×")
                   : text;
    case kHeadCoachName:
    case kAssistantCoachName:
        return area->player ? area->player->name : QString();
    default:
        return text;
    }
}

void SheetGridControl::SheetGridDrawText(int column, int row, const QRect& rect,
                                         platform::Canvas& canvas) const
{
    if (!grid || row >= grid->RowCount() || !Contains(column, row))
        return;
    const QString text = AreaText(column, row);
    const int line = grid->GridLineWidth();
    const QRect inner = rect.adjusted(line, line, -line, -line);
    platform::CanvasFont font = canvas.Font;
    FitCanvasFont(text, canvas, font, inner.width(), inner.height());
    if (text == kPlayersHeader)
        canvas.Font.Size = kPlayersHeaderPoints;
    const platform::CanvasBrush brush = canvas.Brush;
    canvas.Brush.Style = platform::BrushStyle::Clear;
    canvas.DrawText(inner, text, platform::DT_SINGLELINE | platform::DT_CENTER | platform::DT_VCENTER);
    canvas.Brush = brush;
}

void SheetGridControl::SheetGridDrawMark(int column, int row, platform::Canvas& canvas,
                                         const QRect* given) const
{
    const TCell* area = SheetGridCellAt(column, row);
    if (!area || !HasAction(area->action))
        return;
    const GameAction& action = area->action;
    const QRect rect = areaRect(area->firstColumn, area->firstRow, given);
    const platform::CanvasPen pen = canvas.Pen;
    const platform::CanvasBrush brush = canvas.Brush;
    const platform::CanvasFont font = canvas.Font;
    if (action.category == kPlayerAction) {
        switch (action.code) {
        case kTwoPointMade:
        case kThreePointMade:
        case kFreeThrowMade:
            drawShotMark(*area, rect, canvas);
            break;
        case kFoul:
            drawFoulMark(*area, rect, canvas);
            break;
        case kSetStarter:
            canvas.Pen = platform::CanvasPen{platform::clBlack, 1};
            canvas.Brush.Style = platform::BrushStyle::Clear;
            canvas.Ellipse(rect.adjusted(kStarterInset, kStarterInset, -kStarterInset, -kStarterInset));
            break;
        default:
            break;
        }
    } else {
        const int top = rect.top();
        const int height = rect.height();
        switch (action.command) {
        case kTimeout:
            blackLine(canvas, 2, rect.topLeft(), rect.bottomRight());
            blackLine(canvas, 2, rect.topRight(), rect.bottomLeft());
            break;
        case kStruckOutBox:
            for (const int y : {top + height / 3, top + 2 * height / 3})
                blackLine(canvas, 2, QPoint(rect.left(), y), QPoint(rect.right(), y));
            break;
        case kEmptyFoulBox:
            blackLine(canvas, 2, QPoint(rect.left(), top + height / 2),
                      QPoint(rect.right(), top + height / 2));
            break;
        case kGameEndMark:
            blackLine(canvas, 1, rect.topLeft(), rect.bottomRight());
            blackLine(canvas, 2, QPoint(rect.left(), top + kGameEndLineOffset),
                      QPoint(rect.right(), top + kGameEndLineOffset));
            break;
        case kStruckScore:
            blackLine(canvas, 1, rect.topLeft(), rect.bottomRight());
            break;
        default:
            break;
        }
    }
    canvas.Pen = pen;
    canvas.Pen.Width = 1;
    canvas.Brush = brush;
    canvas.Font = font;
}

void SheetGridControl::drawShotMark(const TCell& area, const QRect& rect, platform::Canvas& canvas) const
{
    const GameAction& action = area.action;
    const platform::TColor color = GetPeriodColor(action.period);
    canvas.Pen = platform::CanvasPen{color, 1};
    canvas.Brush = platform::CanvasBrush{color, platform::BrushStyle::Clear};
    // On the scorer's column the number itself is the mark (written when the mark was placed).
    if (area.kind == kScorerColumn) {
        if (action.code == kThreePointMade)
            canvas.Ellipse(rect);
        return;
    }
    const bool closesPeriod = area.periodColour != kNone;
    if (closesPeriod)
        canvas.Ellipse(rect);
    if (action.code == kFreeThrowMade) {
        canvas.Brush.Style = platform::BrushStyle::Solid;
        canvas.Ellipse(closesPeriod ? rect.adjusted(kDiscInset, kDiscInset, -kDiscInset, -kDiscInset) : rect);
        return;
    }
    drawLine(canvas, EdgeStyle{platform::PenMode::Copy, platform::PenStyle::Solid, color, 2}, rect.topRight(),
             rect.bottomLeft());
}

void SheetGridControl::drawFoulMark(const TCell& area, const QRect& rect, platform::Canvas& canvas) const
{
    const GameAction& action = area.action;
    if (action.foulKind >= kFoulLetters.size())
        return;
    QString letter = kFoulLetters.at(action.foulKind);
    QString digit;
    const bool awarded = action.freeThrows >= 1 && action.freeThrows <= 3;
    if (miniBasket) {
        if (awarded)
            letter += QLatin1Char('\'');
        // The period number; a foul without a period has none.
        if (action.period >= 0 && action.period < kMaxPeriods)
            digit = QString::number(action.period + 1);
    } else if (awarded) {
        digit = QString::number(action.freeThrows);
    }
    platform::CanvasFont font = canvas.Font;
    FitCanvasFont(letter + digit, canvas, font, rect.width(), rect.height());
    canvas.Brush.Style = platform::BrushStyle::Clear;
    const unsigned flags = platform::DT_SINGLELINE | platform::DT_LEFT | platform::DT_BOTTOM;
    canvas.DrawText(rect, letter, flags);
    if (action.foulKind == kDisqualifyingFoul || digit.isEmpty())
        return;
    QRect small = rect;
    small.setLeft(rect.left() + canvas.TextWidth(letter) + 1);
    canvas.Font.Size = canvas.Font.Size * 2 / 3;
    canvas.Font.Color = platform::clBlack;
    canvas.DrawText(small, digit, flags);
}

void SheetGridControl::SheetGridDrawPeriodCross(int column, int row, const QRect* given, int period,
                                                platform::Canvas& canvas) const
{
    if (!Contains(column, row))
        return;
    const QRect rect = areaRect(column, row, given);
    const platform::CanvasPen pen = canvas.Pen;
    const EdgeStyle edge{platform::PenMode::Copy, platform::PenStyle::Solid, GetPeriodColor(period), 2};
    drawLine(canvas, edge, rect.topLeft(), rect.bottomRight());
    drawLine(canvas, edge, rect.topRight(), rect.bottomLeft());
    canvas.Pen = pen;
    canvas.Pen.Width = 1;
}

QRect SheetGridControl::PaintGridCell(int column, int row, const QRect& cellRect, platform::Canvas& canvas,
                                      platform::TColor background, bool sidesOverText) const
{
    int areaColumn = column;
    int areaRow = row;
    SheetGridArea(areaColumn, areaRow);
    int currentColumn = grid->Col();
    int currentRow = grid->Row();
    SheetGridArea(currentColumn, currentRow);
    if (areaColumn == currentColumn && areaRow == currentRow)
        background = grid->hasFocus() ? platform::clYellow : platform::clHighlight();
    QRect bounds = cellRect;
    SheetGridAreaBounds(bounds, column, row);
    PaintAreaCell(column, row, cellRect, bounds, canvas, background, sidesOverText);
    return bounds;
}

void SheetGridControl::PaintAreaCell(int column, int row, const QRect& cellRect, const QRect& bounds,
                                     platform::Canvas& canvas, platform::TColor background,
                                     bool sidesOverText) const
{
    int areaColumn = column;
    int areaRow = row;
    SheetGridArea(areaColumn, areaRow);
    canvas.Brush = platform::CanvasBrush{background, platform::BrushStyle::Solid};
    canvas.FillRect(bounds);
    SheetGridDrawArea(column, row, cellRect, canvas);
    FitSheetCellFont(areaColumn, areaRow, bounds, canvas);
    SheetGridDrawText(areaColumn, areaRow, bounds, canvas);
    if (sidesOverText)
        SheetGridDrawArea(column, row, cellRect, canvas);
    SheetGridDrawMark(areaColumn, areaRow, canvas, &bounds);
}

void SavedCanvas::applyTo(platform::Canvas& canvas) const
{
    canvas.Font = Font;
    canvas.Pen = Pen;
    canvas.Brush = Brush;
}

// --- the main window's sheets ----------------------------------------------------------------------

TeamGridControls::TeamGridControls() = default;
TeamGridControls::~TeamGridControls() = default;

SheetGridControl* TeamGridControls::Team(int side) const
{
    return sheets[Index(side)].get();
}

int TeamSheetAreas::playerRowOf(int row) const
{
    const int index = row - names[0].firstRow;
    return index >= 0 && index < kSheetPlayerRows ? index : -1;
}

} // namespace hooptally
