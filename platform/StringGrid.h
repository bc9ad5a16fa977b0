#pragma once

#include <functional>
#include <vector>

#include <QAbstractScrollArea>
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QString>

#include "platform/Canvas.h"

class QMenu;

namespace platform {

// A rectangle of cells, inclusive on all sides (the class library's grid rectangle).
struct GridRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const GridRect&) const = default;
};

enum GridOption : unsigned {
    goFixedVertLine = 0x1,
    goFixedHorzLine = 0x2,
    goVertLine = 0x4,
    goHorzLine = 0x8,
    goRangeSelect = 0x10,
    goDrawFocusSelected = 0x20,
    goRowSizing = 0x40,
    goColSizing = 0x80,
    goEditing = 0x200,
    goRowSelect = 0x800,
    goThumbTracking = 0x4000,
};

enum GridDrawState : unsigned { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };

// The class library's string grid: every grid of both programs is one of these. Its state is plain
// data (testable without painting); painting calls OnDrawCell for every visible cell in row-major
// order with a Canvas on the grid, or draws the cell itself when no handler is set.
class StringGrid : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);
    ~StringGrid() override;

    int ColCount() const { return m_colCount; }
    void SetColCount(int count);
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int count);
    void SetFixedCols(int count);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int count);

    // Out-of-range cells read as empty and ignore writes. A row stores only the cells up to the last one
    // written, so a long grid with many columns costs what its rows hold.
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    void* Objects(int col, int row) const; // not owned
    void SetObjects(int col, int row, void* object);
    void ClearRow(int row); // texts and objects of a row emptied

    int DefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int width); // resets every column width
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height); // resets every row height
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    int GridLineWidth() const { return kGridLineWidth; }

    unsigned Options() const { return m_options; }
    void SetOptions(unsigned options);

    // Current cell; setting it moves the selection to that cell (or its row with goRowSelect).
    int Col() const { return m_col; }
    int Row() const { return m_row; }
    void SetRow(int row);
    GridRect Selection() const { return m_selection; }
    void SetSelection(const GridRect& rect);

    int TopRow() const { return m_topRow; }
    void SetTopRow(int row);
    int LeftCol() const { return m_leftCol; }
    void SetLeftCol(int col);
    int VisibleRowCount() const; // fully visible scrollable rows
    int VisibleColCount() const;

    // The cell's rectangle in the viewport; empty when the cell is not visible.
    QRect CellRect(int col, int row) const;
    // The cell under a viewport point (a grid line belongs to the cell before it); -1 for the column
    // or row when the point lies beyond the columns or rows.
    void MouseToCell(int x, int y, int& col, int& row) const;

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* menu); // not owned; forgotten when the menu is destroyed

    // The canvas while a cell is painted (valid only inside OnDrawCell).
    Canvas* GridCanvas() const { return m_canvas; }
    QFont CanvasFont() const; // the font the default drawing and text measurements use

    // Where the default drawing puts a cell's text: this far right of the cell's left and below its top.
    static constexpr int kTextInset = 2;
    // Draws a cell the way the grid does without a handler (fixed cells in button face, selected
    // cells highlighted, text at left + 2, top + 2).
    void DefaultDrawCell(int col, int row, const QRect& rect, unsigned state);

    void Repaint(); // paints at once
    void Invalidate();

    // Events, named as the class library names them.
    std::function<void(int col, int row, const QRect& rect, unsigned state)> OnDrawCell;
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> OnKeyUp;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)> OnMouseUp;
    std::function<void()> OnPopup; // before the pop-up menu opens
    std::function<void()> OnEnter;
    std::function<void()> OnExit;

signals:
    // The selection rectangle moved, whatever moved it: the user, a setter or a change of size.
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Moves the current cell (after OnSelectCell agrees); extend grows the selection from its anchor.
    bool moveTo(int col, int row, bool extend);
    bool navigate(int key, Qt::KeyboardModifiers modifiers);
    void scrollIntoView(int col, int row);
    void updateScrollBars();
    // After counts, sizes or fixed counts change: clamps the current cell and scrolling, repaints.
    void layoutChanged();
    void updateSelection();
    int colLeft(int col) const; // -1 when scrolled out above or left; past the view when beyond it
    int rowTop(int row) const;
    int colExtent(int col) const; // width and grid line; 0 for a hidden column
    int rowExtent(int row) const;
    int fixedWidth() const;
    int fixedHeight() const;
    int maxTopRow() const;
    int maxLeftCol() const;
    // Display order: the fixed columns, then the scrolled ones from LeftCol.
    int firstCol() const { return m_fixedCols > 0 ? 0 : m_leftCol; }
    int nextCol(int col) const { return col + 1 == m_fixedCols ? m_leftCol : col + 1; }
    int firstRow() const { return m_fixedRows > 0 ? 0 : m_topRow; }
    int nextRow(int row) const { return row + 1 == m_fixedRows ? m_topRow : row + 1; }
    int colAt(int x) const;
    int rowAt(int y) const;
    int sizingColAt(const QPoint& pos) const; // the column whose right border is under pos, or -1
    void cellColors(unsigned state, TColor& back, TColor& text) const;

    struct Cell
    {
        QString text;
        void* object = nullptr;
    };
    bool inGrid(int col, int row) const;
    // The cell when it is stored; none for a cell never written.
    const Cell* storedCell(int col, int row) const;
    Cell& writableCell(int col, int row);

    int m_colCount = 5;
    int m_rowCount = 5;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    static constexpr int kGridLineWidth = 1;
    unsigned m_options = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    std::vector<std::vector<Cell>> m_rows; // [row][col], each row up to its last written cell
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    int m_col = 1;
    int m_row = 1;
    int m_anchorCol = 1;
    int m_anchorRow = 1;
    GridRect m_selection{1, 1, 1, 1};
    int m_topRow = 1;
    int m_leftCol = 1;
    int m_tag = 0;
    QPointer<QMenu> m_popupMenu;
    Canvas* m_canvas = nullptr;
    bool m_selecting = false;
    int m_sizingCol = -1; // the column whose width the mouse drags
    int m_sizingLeft = 0;
    bool m_entered = false;    // between OnEnter and OnExit
    bool m_barsBehind = false; // hidden since the counts or scrolling changed
};

} // namespace platform
