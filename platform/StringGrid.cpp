#include "platform/StringGrid.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScrollBar>

#include <algorithm>

namespace platform {

namespace {

// How far from a column border the mouse may be and still grab it.
constexpr int kSizingSlack = 3;

struct VisibleCol
{
    int col;
    int left;
    int width;
};

GridRect normalized(int col1, int row1, int col2, int row2)
{
    return GridRect{std::min(col1, col2), std::min(row1, row2), std::max(col1, col2), std::max(row1, row2)};
}

bool contains(const GridRect& rect, int col, int row)
{
    return col >= rect.Left && col <= rect.Right && row >= rect.Top && row <= rect.Bottom;
}

// How many rows (or columns) from `first` on fit whole into `available` pixels.
template <typename Extent> int fittingCount(int first, int end, int available, Extent extent)
{
    int used = 0;
    int count = 0;
    for (int i = first; i < end && used + extent(i) <= available; ++i) {
        used += extent(i);
        ++count;
    }
    return count;
}

// The first of the run ending at `last` that fits whole into `available` pixels (at least `last`).
template <typename Extent> int fittingRunStart(int last, int lowest, int available, Extent extent)
{
    int first = last;
    int used = extent(last);
    while (first - 1 >= lowest && used + extent(first - 1) <= available)
        used += extent(--first);
    return first;
}

} // namespace

StringGrid::StringGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    m_rows.resize(m_rowCount);
    m_colWidths.assign(m_colCount, m_defaultColWidth);
    m_rowHeights.assign(m_rowCount, m_defaultRowHeight);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true); // the sizing cursor over column borders
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

StringGrid::~StringGrid() = default;

// --- counts and contents ---------------------------------------------------------------------------

void StringGrid::SetColCount(int count)
{
    count = std::max(1, count);
    if (count == m_colCount)
        return;
    // More columns leave the rows as they are: a row holds its cells up to the last one written.
    if (count < m_colCount) {
        for (std::vector<Cell>& cells : m_rows) {
            if (cells.size() > std::size_t(count))
                cells.resize(count);
        }
    }
    m_colCount = count;
    m_colWidths.resize(count, m_defaultColWidth);
    m_fixedCols = std::min(m_fixedCols, count - 1);
    layoutChanged();
}

void StringGrid::SetRowCount(int count)
{
    count = std::max(1, count);
    if (count == m_rowCount)
        return;
    m_rowCount = count;
    m_rows.resize(count);
    m_rowHeights.resize(count, m_defaultRowHeight);
    m_fixedRows = std::min(m_fixedRows, count - 1);
    layoutChanged();
}

void StringGrid::SetFixedCols(int count)
{
    count = std::clamp(count, 0, m_colCount - 1);
    if (count == m_fixedCols)
        return;
    m_fixedCols = count;
    layoutChanged();
}

void StringGrid::SetFixedRows(int count)
{
    count = std::clamp(count, 0, m_rowCount - 1);
    if (count == m_fixedRows)
        return;
    m_fixedRows = count;
    layoutChanged();
}

bool StringGrid::inGrid(int col, int row) const
{
    return col >= 0 && col < m_colCount && row >= 0 && row < m_rowCount;
}

const StringGrid::Cell* StringGrid::storedCell(int col, int row) const
{
    if (!inGrid(col, row))
        return nullptr;
    const std::vector<Cell>& cells = m_rows[row];
    return std::size_t(col) < cells.size() ? &cells[col] : nullptr;
}

StringGrid::Cell& StringGrid::writableCell(int col, int row)
{
    std::vector<Cell>& cells = m_rows[row];
    if (std::size_t(col) >= cells.size())
        cells.resize(col + 1);
    return cells[col];
}

QString StringGrid::Cells(int col, int row) const
{
    const Cell* cell = storedCell(col, row);
    return cell ? cell->text : QString();
}

void StringGrid::SetCells(int col, int row, const QString& text)
{
    if (!inGrid(col, row))
        return;
    // A cell never written reads as empty already.
    const Cell* cell = storedCell(col, row);
    if (cell ? cell->text == text : text.isEmpty())
        return;
    writableCell(col, row).text = text;
    viewport()->update(); // coalesced: filling a grid cell by cell paints once
}

void* StringGrid::Objects(int col, int row) const
{
    const Cell* cell = storedCell(col, row);
    return cell ? cell->object : nullptr;
}

void StringGrid::SetObjects(int col, int row, void* object)
{
    if (!inGrid(col, row))
        return;
    const Cell* cell = storedCell(col, row);
    if (cell ? cell->object == object : !object)
        return;
    writableCell(col, row).object = object;
}

void StringGrid::ClearRow(int row)
{
    if (row < 0 || row >= m_rowCount)
        return;
    std::vector<Cell>().swap(m_rows[row]);
    viewport()->update();
}

// --- sizes -----------------------------------------------------------------------------------------

void StringGrid::SetDefaultColWidth(int width)
{
    m_defaultColWidth = std::max(0, width);
    m_colWidths.assign(m_colCount, m_defaultColWidth);
    layoutChanged();
}

void StringGrid::SetDefaultRowHeight(int height)
{
    m_defaultRowHeight = std::max(0, height);
    m_rowHeights.assign(m_rowCount, m_defaultRowHeight);
    layoutChanged();
}

int StringGrid::ColWidths(int col) const
{
    return col >= 0 && col < m_colCount ? m_colWidths[col] : 0;
}

void StringGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= m_colCount || m_colWidths[col] == std::max(0, width))
        return;
    m_colWidths[col] = std::max(0, width);
    layoutChanged();
}

int StringGrid::RowHeights(int row) const
{
    return row >= 0 && row < m_rowCount ? m_rowHeights[row] : 0;
}

void StringGrid::SetOptions(unsigned options)
{
    m_options = options;
    updateSelection();
    viewport()->update();
}

int StringGrid::colExtent(int col) const
{
    const int width = ColWidths(col);
    return width > 0 ? width + kGridLineWidth : 0;
}

int StringGrid::rowExtent(int row) const
{
    const int height = RowHeights(row);
    return height > 0 ? height + kGridLineWidth : 0;
}

int StringGrid::fixedWidth() const
{
    int width = 0;
    for (int col = 0; col < m_fixedCols; ++col)
        width += colExtent(col);
    return width;
}

int StringGrid::fixedHeight() const
{
    int height = 0;
    for (int row = 0; row < m_fixedRows; ++row)
        height += rowExtent(row);
    return height;
}

// --- current cell and selection --------------------------------------------------------------------

void StringGrid::SetRow(int row)
{
    moveTo(m_col, row, false);
}

void StringGrid::SetSelection(const GridRect& rect)
{
    const GridRect r = normalized(rect.Left, rect.Top, rect.Right, rect.Bottom);
    m_anchorCol = std::clamp(r.Left, m_fixedCols, m_colCount - 1);
    m_anchorRow = std::clamp(r.Top, m_fixedRows, m_rowCount - 1);
    m_col = std::clamp(r.Right, m_fixedCols, m_colCount - 1);
    m_row = std::clamp(r.Bottom, m_fixedRows, m_rowCount - 1);
    updateSelection();
    viewport()->update();
}

void StringGrid::updateSelection()
{
    const GridRect before = m_selection;
    m_selection = normalized(m_anchorCol, m_anchorRow, m_col, m_row);
    if (m_options & goRowSelect) {
        m_selection.Left = m_fixedCols;
        m_selection.Right = m_colCount - 1;
    }
    if (m_selection != before)
        emit selectionChanged();
}

bool StringGrid::moveTo(int col, int row, bool extend)
{
    const auto inRange = [this](int c, int r) {
        return c >= m_fixedCols && c < m_colCount && r >= m_fixedRows && r < m_rowCount;
    };
    if (!inRange(col, row))
        return false;
    if (col != m_col || row != m_row) {
        bool canSelect = true;
        if (OnSelectCell)
            OnSelectCell(col, row, canSelect);
        // The handler may also have shrunk the grid.
        if (!canSelect || !inRange(col, row))
            return false;
    }
    m_col = col;
    m_row = row;
    if (!extend || !(m_options & goRangeSelect)) {
        m_anchorCol = col;
        m_anchorRow = row;
    }
    updateSelection();
    scrollIntoView(col, row);
    viewport()->update();
    return true;
}

// --- scrolling -------------------------------------------------------------------------------------

void StringGrid::SetTopRow(int row)
{
    row = std::clamp(row, m_fixedRows, maxTopRow());
    if (row == m_topRow)
        return;
    m_topRow = row;
    // Bars left behind get the position when they catch up.
    if (!m_barsBehind)
        verticalScrollBar()->setValue(m_topRow - m_fixedRows);
    viewport()->update();
}

void StringGrid::SetLeftCol(int col)
{
    col = std::clamp(col, m_fixedCols, maxLeftCol());
    if (col == m_leftCol)
        return;
    m_leftCol = col;
    if (!m_barsBehind)
        horizontalScrollBar()->setValue(m_leftCol - m_fixedCols);
    viewport()->update();
}

int StringGrid::VisibleRowCount() const
{
    return fittingCount(m_topRow, m_rowCount, viewport()->height() - fixedHeight(),
                        [this](int row) { return rowExtent(row); });
}

int StringGrid::VisibleColCount() const
{
    return fittingCount(m_leftCol, m_colCount, viewport()->width() - fixedWidth(),
                        [this](int col) { return colExtent(col); });
}

// The top row that shows the last row at the bottom: scrolling further would only show empty space.
int StringGrid::maxTopRow() const
{
    return std::max(m_fixedRows,
                    fittingRunStart(m_rowCount - 1, m_fixedRows, viewport()->height() - fixedHeight(),
                                    [this](int row) { return rowExtent(row); }));
}

int StringGrid::maxLeftCol() const
{
    return std::max(m_fixedCols,
                    fittingRunStart(m_colCount - 1, m_fixedCols, viewport()->width() - fixedWidth(),
                                    [this](int col) { return colExtent(col); }));
}

void StringGrid::scrollIntoView(int col, int row)
{
    // A cell below or right of the view becomes the last one fully shown.
    const auto rowExtentOf = [this](int r) { return rowExtent(r); };
    const int height = viewport()->height() - fixedHeight();
    if (row < m_topRow)
        SetTopRow(row);
    else if (fittingCount(m_topRow, row + 1, height, rowExtentOf) <= row - m_topRow)
        SetTopRow(fittingRunStart(row, m_fixedRows, height, rowExtentOf));

    const auto colExtentOf = [this](int c) { return colExtent(c); };
    const int width = viewport()->width() - fixedWidth();
    if (col < m_leftCol)
        SetLeftCol(col);
    else if (fittingCount(m_leftCol, col + 1, width, colExtentOf) <= col - m_leftCol)
        SetLeftCol(fittingRunStart(col, m_fixedCols, width, colExtentOf));
}

void StringGrid::updateScrollBars()
{
    // The bars count rows and columns, not pixels: the class library scrolls a whole row at a time.
    QScrollBar* vbar = verticalScrollBar();
    QScrollBar* hbar = horizontalScrollBar();
    const int rowRange = maxTopRow() - m_fixedRows;
    const int colRange = maxLeftCol() - m_fixedCols;
    // Out of sight (on a page not shown, or filled row by row during a replay) a bar follows only
    // whether it is needed, which decides the size of the view; its range and position wait until the
    // grid shows.
    if (!isVisible() && (rowRange > 0) == (vbar->maximum() > 0) && (colRange > 0) == (hbar->maximum() > 0)) {
        m_barsBehind = true;
        return;
    }
    m_barsBehind = false;
    // A new range may move a bar left behind, which scrolls: where to scroll is taken first.
    const int top = m_topRow;
    const int left = m_leftCol;
    vbar->setRange(0, rowRange);
    vbar->setValue(top - m_fixedRows);
    vbar->setPageStep(std::max(1, VisibleRowCount()));
    hbar->setRange(0, colRange);
    hbar->setValue(left - m_fixedCols);
    hbar->setPageStep(std::max(1, VisibleColCount()));
}

void StringGrid::layoutChanged()
{
    m_col = std::clamp(m_col, m_fixedCols, m_colCount - 1);
    m_row = std::clamp(m_row, m_fixedRows, m_rowCount - 1);
    m_anchorCol = std::clamp(m_anchorCol, m_fixedCols, m_colCount - 1);
    m_anchorRow = std::clamp(m_anchorRow, m_fixedRows, m_rowCount - 1);
    updateSelection();
    m_topRow = std::clamp(m_topRow, m_fixedRows, maxTopRow());
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, maxLeftCol());
    updateScrollBars();
    viewport()->update();
}

void StringGrid::scrollContentsBy(int, int)
{
    // Repainted from the new top row and left column rather than by moving pixels.
    m_topRow = std::clamp(m_fixedRows + verticalScrollBar()->value(), m_fixedRows, m_rowCount - 1);
    m_leftCol = std::clamp(m_fixedCols + horizontalScrollBar()->value(), m_fixedCols, m_colCount - 1);
    viewport()->update();
}

void StringGrid::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (m_barsBehind)
        updateScrollBars();
}

void StringGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    layoutChanged();
}

// --- geometry --------------------------------------------------------------------------------------

int StringGrid::colLeft(int col) const
{
    if (col < 0 || col >= m_colCount || (col >= m_fixedCols && col < m_leftCol))
        return -1;
    int left = 0;
    // Stops past the view's edge: the caller has no use for a position out of sight.
    for (int c = firstCol(); c != col && c < m_colCount && left < viewport()->width(); c = nextCol(c))
        left += colExtent(c);
    return left;
}

int StringGrid::rowTop(int row) const
{
    if (row < 0 || row >= m_rowCount || (row >= m_fixedRows && row < m_topRow))
        return -1;
    int top = 0;
    for (int r = firstRow(); r != row && r < m_rowCount && top < viewport()->height(); r = nextRow(r))
        top += rowExtent(r);
    return top;
}

QRect StringGrid::CellRect(int col, int row) const
{
    const int width = ColWidths(col);
    const int height = RowHeights(row);
    if (width <= 0 || height <= 0)
        return {};
    const int left = colLeft(col);
    const int top = rowTop(row);
    if (left < 0 || top < 0 || left >= viewport()->width() || top >= viewport()->height())
        return {};
    return QRect(left, top, width, height);
}

int StringGrid::colAt(int x) const
{
    if (x < 0)
        return -1;
    int left = 0;
    for (int col = firstCol(); col < m_colCount; col = nextCol(col)) {
        left += colExtent(col);
        if (x < left)
            return col;
    }
    return -1;
}

int StringGrid::rowAt(int y) const
{
    if (y < 0)
        return -1;
    int top = 0;
    for (int row = firstRow(); row < m_rowCount; row = nextRow(row)) {
        top += rowExtent(row);
        if (y < top)
            return row;
    }
    return -1;
}

void StringGrid::MouseToCell(int x, int y, int& col, int& row) const
{
    col = colAt(x);
    row = rowAt(y);
}

int StringGrid::sizingColAt(const QPoint& pos) const
{
    if (!(m_options & goColSizing) || pos.y() < 0 || pos.y() >= fixedHeight())
        return -1;
    int left = 0;
    for (int col = firstCol(); col < m_colCount && left <= viewport()->width(); col = nextCol(col)) {
        if (ColWidths(col) <= 0)
            continue;
        const int border = left + ColWidths(col);
        if (pos.x() >= border - kSizingSlack && pos.x() < border + kGridLineWidth + kSizingSlack)
            return col;
        left += colExtent(col);
    }
    return -1;
}

// --- painting --------------------------------------------------------------------------------------

QFont StringGrid::CanvasFont() const
{
    return font();
}

QMenu* StringGrid::PopupMenu() const
{
    return m_popupMenu;
}

void StringGrid::SetPopupMenu(QMenu* menu)
{
    m_popupMenu = menu;
}

void StringGrid::cellColors(unsigned state, TColor& back, TColor& text) const
{
    // The focused cell stays unhighlighted (it carries the focus frame) unless the options say otherwise.
    const bool highlighted =
        (state & gdSelected) && (!(state & gdFocused) || (m_options & (goDrawFocusSelected | goRowSelect)));
    if (state & gdFixed) {
        back = clBtnFace();
        text = clWindowText();
    } else if (highlighted) {
        back = clHighlight();
        text = clHighlightText();
    } else {
        back = clWindow();
        text = clWindowText();
    }
}

void StringGrid::DefaultDrawCell(int col, int row, const QRect& rect, unsigned state)
{
    if (!m_canvas)
        return;
    TColor back = clWindow();
    TColor text = clWindowText();
    cellColors(state, back, text);
    m_canvas->Brush.Color = back;
    m_canvas->Brush.Style = BrushStyle::Solid;
    m_canvas->FillRect(rect);
    m_canvas->Font.Color = text;
    m_canvas->DrawText(rect.adjusted(kTextInset, kTextInset, 0, 0), Cells(col, row), DT_LEFT);
}

void StringGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    Canvas canvas(&painter);
    m_canvas = &canvas;
    const auto resetCanvas = qScopeGuard([this] { m_canvas = nullptr; });

    const QRect dirty = event->rect();
    const int viewWidth = viewport()->width();
    const int viewHeight = viewport()->height();
    const bool focused = hasFocus();
    const platform::CanvasFont gridFont = platform::CanvasFont::fromQFont(font());
    const QColor fixedLine = toQColor(clBtnShadow());
    const QColor cellLine = toQColor(clSilver);

    std::vector<VisibleCol> cols;
    for (int col = firstCol(), left = 0; col < m_colCount && left < viewWidth; col = nextCol(col)) {
        if (m_colWidths[col] > 0)
            cols.push_back({col, left, m_colWidths[col]});
        left += colExtent(col);
    }

    // Bounds are re-read on every step: a drawing handler may change the grid under us.
    for (int row = firstRow(), top = 0; row < m_rowCount && top < viewHeight; row = nextRow(row)) {
        const int height = m_rowHeights[row];
        const int rowTopY = top;
        top += rowExtent(row);
        if (height <= 0 || !dirty.intersects(QRect(0, rowTopY, viewWidth, height + kGridLineWidth)))
            continue;
        for (const VisibleCol& vc : cols) {
            if (vc.col >= m_colCount || row >= m_rowCount)
                break;
            const QRect rect(vc.left, rowTopY, vc.width, height);
            const bool fixed = vc.col < m_fixedCols || row < m_fixedRows;
            unsigned state = 0;
            if (fixed)
                state |= gdFixed;
            else if (contains(m_selection, vc.col, row))
                state |= gdSelected;
            if (focused && vc.col == m_col && row == m_row)
                state |= gdFocused;

            if (kGridLineWidth > 0) {
                if (m_options & (fixed ? goFixedVertLine : goVertLine))
                    painter.fillRect(
                        QRect(rect.right() + 1, rect.top(), kGridLineWidth, rect.height() + kGridLineWidth),
                        fixed ? fixedLine : cellLine);
                if (m_options & (fixed ? goFixedHorzLine : goHorzLine))
                    painter.fillRect(QRect(rect.left(), rect.bottom() + 1, rect.width(), kGridLineWidth),
                                     fixed ? fixedLine : cellLine);
            }

            TColor back = clWindow();
            TColor text = clWindowText();
            cellColors(state, back, text);
            canvas.Pen = CanvasPen();
            canvas.Brush = CanvasBrush{back, BrushStyle::Solid};
            canvas.Font = gridFont;
            canvas.Font.Color = text;
            if (OnDrawCell)
                OnDrawCell(vc.col, row, rect, state);
            else
                DefaultDrawCell(vc.col, row, rect, state);

            if ((state & gdFocused) && !(m_options & goRowSelect)) {
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
                painter.setBrush(Qt::NoBrush);
                painter.setPen(QPen(toQColor(text), 1, Qt::DotLine));
                painter.drawRect(rect.adjusted(0, 0, -1, -1));
            }
        }
    }
}

void StringGrid::Repaint()
{
    viewport()->repaint();
}

void StringGrid::Invalidate()
{
    viewport()->update();
}

// --- mouse -----------------------------------------------------------------------------------------

void StringGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        const int sizing = sizingColAt(pos);
        if (sizing >= 0) {
            m_sizingCol = sizing;
            m_sizingLeft = colLeft(sizing);
        } else {
            int col = -1;
            int row = -1;
            MouseToCell(pos.x(), pos.y(), col, row);
            if (col >= m_fixedCols && row >= m_fixedRows) {
                m_selecting = true;
                const bool extend = (event->modifiers() & Qt::ShiftModifier) && (m_options & goRangeSelect);
                moveTo(col, row, extend);
            }
        }
    }
    if (OnMouseDown)
        OnMouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void StringGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_sizingCol >= 0 && (event->buttons() & Qt::LeftButton)) {
        // At least a pixel: a column dragged to nothing could never be grabbed again.
        SetColWidths(m_sizingCol, std::max(1, pos.x() - m_sizingLeft));
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        if (sizingColAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else
            viewport()->unsetCursor();
        return;
    }
    if (m_selecting && (event->buttons() & Qt::LeftButton) && (m_options & goRangeSelect)) {
        int col = -1;
        int row = -1;
        MouseToCell(pos.x(), pos.y(), col, row);
        if (col >= m_fixedCols && row >= m_fixedRows && (col != m_col || row != m_row))
            moveTo(col, row, true);
    }
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    m_sizingCol = -1;
    const bool clicked = m_selecting && event->button() == Qt::LeftButton;
    if (event->button() == Qt::LeftButton)
        m_selecting = false;
    if (clicked && OnClick)
        OnClick();
    if (OnMouseUp)
        OnMouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick();
    // Qt delivers this in place of the second press.
    mousePressEvent(event);
}

void StringGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popupMenu) {
        event->ignore();
        return;
    }
    if (OnPopup)
        OnPopup();
    if (m_popupMenu) // the handler may have dropped it
        m_popupMenu->popup(event->globalPos());
}

// --- keyboard and focus ----------------------------------------------------------------------------

void StringGrid::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    if (OnKeyDown) {
        OnKeyDown(key, event->modifiers());
        if (key == 0) {
            event->accept();
            return;
        }
    }
    if (navigate(key, event->modifiers()))
        event->accept();
    else
        event->ignore();
}

void StringGrid::keyReleaseEvent(QKeyEvent* event)
{
    // A held key sends one release at the end, not one per repeat.
    if (event->isAutoRepeat() || !OnKeyUp) {
        event->ignore();
        return;
    }
    int key = event->key();
    OnKeyUp(key, event->modifiers());
}

bool StringGrid::navigate(int key, Qt::KeyboardModifiers modifiers)
{
    const bool rowSelect = m_options & goRowSelect;
    const bool extend = (modifiers & Qt::ShiftModifier) && (m_options & goRangeSelect);
    const int page = std::max(1, VisibleRowCount());
    const auto visibleCol = [this](int col, int step) {
        while (col >= m_fixedCols && col < m_colCount && m_colWidths[col] <= 0)
            col += step;
        return col;
    };
    const int firstVisible = visibleCol(m_fixedCols, 1);
    const int lastVisible = visibleCol(m_colCount - 1, -1);
    int col = m_col;
    int row = m_row;
    switch (key) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // With whole rows selected the arrows scroll sideways instead.
        if (rowSelect) {
            SetLeftCol(m_leftCol + (key == Qt::Key_Left ? -1 : 1));
            return true;
        }
        col = visibleCol(col + (key == Qt::Key_Left ? -1 : 1), key == Qt::Key_Left ? -1 : 1);
        break;
    case Qt::Key_Home:
        if (rowSelect || (modifiers & Qt::ControlModifier))
            row = m_fixedRows;
        else
            col = firstVisible;
        break;
    case Qt::Key_End:
        if (rowSelect || (modifiers & Qt::ControlModifier))
            row = m_rowCount - 1;
        else
            col = lastVisible;
        break;
    default:
        return false;
    }
    if (col < m_fixedCols || col >= m_colCount)
        col = m_col; // no visible column that way
    row = std::clamp(row, m_fixedRows, m_rowCount - 1);
    moveTo(col, row, extend);
    return true;
}

void StringGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    // Focus coming back from a menu or another window is no new entry into the grid.
    if (!m_entered && event->reason() != Qt::PopupFocusReason) {
        m_entered = true;
        if (OnEnter)
            OnEnter();
    }
}

void StringGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    if (m_entered && event->reason() != Qt::PopupFocusReason &&
        event->reason() != Qt::ActiveWindowFocusReason) {
        m_entered = false;
        if (OnExit)
            OnExit();
    }
}

} // namespace platform
