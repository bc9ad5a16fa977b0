#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include "platform/Colors.h"

#include <memory>

class QPainter;
class QPaintDevice;

namespace platform {

enum class PenStyle { Solid, Dash, Dot, DashDot, Clear };
enum class PenMode { Copy, Xor, Not };
enum class BrushStyle { Solid, Clear };

// DrawText flags (single line only).
enum DrawTextFlag : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_SINGLELINE = 0x20,
    DT_NOCLIP = 0x100,
};

struct CanvasPen
{
    TColor Color = clBlack;
    int Width = 1;
    PenStyle Style = PenStyle::Solid;
    PenMode Mode = PenMode::Copy;
};

struct CanvasBrush
{
    TColor Color = clWhite;
    BrushStyle Style = BrushStyle::Solid;
};

struct CanvasFont
{
    QString Name = QStringLiteral("ＭＳ Ｐゴシック");
    int Size = 9; // points at 96 dpi
    TColor Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    QFont toQFont() const;
    // The grid's widget font as a canvas font (pixel sizes become points at 96 dpi).
    static CanvasFont fromQFont(const QFont& font, TColor color = clBlack);
    bool operator==(const CanvasFont&) const = default;
};

// The class library's rectangle from its edges: right and bottom are exclusive, as in every call below.
inline QRect Rect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Drawing with the class library's model: a pen position, pen, brush and font that each call uses.
// Draws on any paint device, so grids on screen and pictures in a QImage share their painters.
class Canvas
{
public:
    explicit Canvas(QPaintDevice* device); // paints until destroyed
    explicit Canvas(QPainter* painter);    // borrows a painter that is already active
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    CanvasPen Pen;
    CanvasBrush Brush;
    CanvasFont Font;

    void MoveTo(int x, int y);
    void LineTo(int x, int y); // draws from the pen position, excluding the end point, then moves
    QPoint PenPos() const { return m_penPos; }
    void FillRect(const QRect& rect);  // brush only
    void Rectangle(const QRect& rect); // pen outline, brush inside
    void Ellipse(const QRect& rect);
    void TextOut(int x, int y, const QString& text); // top-left at (x, y); brush fills behind unless clear
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    void DrawText(const QRect& rect, const QString& text, unsigned flags);

    QPainter* painter() const { return m_painter; }

private:
    bool active() const;
    void applyPen();
    void applyBrush();
    const QFont& currentFont() const;

    std::unique_ptr<QPainter> m_ownedPainter;
    QPainter* m_painter;
    QPoint m_penPos;
    // toQFont() resolved once per distinct font, not per call: grids draw text in every cell.
    mutable CanvasFont m_fontKey;
    mutable QFont m_font;
    mutable bool m_fontResolved = false;
};

} // namespace platform
