#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/Fonts.h"

#include <cmath>

namespace platform {

namespace {

Qt::PenStyle qtPenStyle(PenStyle style)
{
    switch (style) {
    case PenStyle::Solid:
        return Qt::SolidLine;
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::Clear:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QPainter::CompositionMode compositionMode(PenMode mode)
{
    switch (mode) {
    case PenMode::Copy:
        return QPainter::CompositionMode_SourceOver;
    case PenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case PenMode::Not:
        return QPainter::RasterOp_NotDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

QFont CanvasFont::toQFont() const
{
    QFont font = makeFont(Name, Size, Bold, Italic);
    font.setUnderline(Underline);
    return font;
}

CanvasFont CanvasFont::fromQFont(const QFont& font, TColor color)
{
    CanvasFont result;
    result.Name = font.family();
    result.Size = font.pixelSize() > 0 ? static_cast<int>(std::lround(font.pixelSize() * 72.0 / 96.0))
                                       : static_cast<int>(std::lround(font.pointSizeF()));
    result.Color = color;
    result.Bold = font.bold();
    result.Italic = font.italic();
    result.Underline = font.underline();
    return result;
}

Canvas::Canvas(QPaintDevice* device)
    : m_ownedPainter(device ? std::make_unique<QPainter>(device) : nullptr), m_painter(m_ownedPainter.get())
{
}

Canvas::Canvas(QPainter* painter) : m_painter(painter) {}

Canvas::~Canvas() = default;

bool Canvas::active() const
{
    return m_painter && m_painter->isActive();
}

void Canvas::applyPen()
{
    QPen pen(toQColor(Pen.Color));
    pen.setStyle(qtPenStyle(Pen.Style));
    pen.setWidth(std::max(1, Pen.Width));
    // A thin line ends short of its last pixel as the class library's lines do; wide ones are round.
    pen.setCapStyle(Pen.Width > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(Pen.Width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    m_painter->setPen(pen);
    m_painter->setCompositionMode(compositionMode(Pen.Mode));
    m_painter->setRenderHint(QPainter::Antialiasing, false);
}

void Canvas::applyBrush()
{
    if (Brush.Style == BrushStyle::Clear)
        m_painter->setBrush(Qt::NoBrush);
    else
        m_painter->setBrush(toQColor(Brush.Color));
}

const QFont& Canvas::currentFont() const
{
    if (!m_fontResolved || !(m_fontKey == Font)) {
        m_fontKey = Font;
        m_font = Font.toQFont();
        m_fontResolved = true;
    }
    return m_font;
}

void Canvas::MoveTo(int x, int y)
{
    m_penPos = QPoint(x, y);
}

void Canvas::LineTo(int x, int y)
{
    const QPoint from = m_penPos;
    const QPoint to(x, y);
    m_penPos = to;
    if (!active() || Pen.Style == PenStyle::Clear || from == to)
        return;
    applyPen();
    if (Pen.Width <= 1 && (from.x() == to.x() || from.y() == to.y())) {
        // Straight thin lines land exactly on the pixels from the start up to, not including, the end.
        const QPoint last = to - QPoint(sign(to.x() - from.x()), sign(to.y() - from.y()));
        QPen pen = m_painter->pen();
        pen.setCapStyle(Qt::SquareCap);
        m_painter->setPen(pen);
        if (last == from)
            m_painter->drawPoint(from);
        else
            m_painter->drawLine(from, last);
    } else {
        m_painter->drawLine(from, to);
    }
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::FillRect(const QRect& rect)
{
    if (!active() || rect.isEmpty() || Brush.Style == BrushStyle::Clear)
        return;
    m_painter->fillRect(rect, toQColor(Brush.Color));
}

void Canvas::Rectangle(const QRect& rect)
{
    if (!active() || rect.isEmpty())
        return;
    applyPen();
    applyBrush();
    // Qt's outline covers one pixel more than the rectangle it is given; without a pen the fill
    // then ends a pixel short on the right and bottom, as with a clear pen in the class library.
    m_painter->drawRect(rect.adjusted(0, 0, -1, -1));
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::Ellipse(const QRect& rect)
{
    if (!active() || rect.isEmpty())
        return;
    applyPen();
    applyBrush();
    m_painter->drawEllipse(rect.adjusted(0, 0, -1, -1));
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::TextOut(int x, int y, const QString& text)
{
    const QFont& font = currentFont();
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    m_penPos = QPoint(x + width, y);
    if (!active() || text.isEmpty())
        return;
    if (Brush.Style != BrushStyle::Clear)
        m_painter->fillRect(QRect(x, y, width, metrics.height()), toQColor(Brush.Color));
    m_painter->setFont(font);
    m_painter->setPen(toQColor(Font.Color));
    m_painter->drawText(QPoint(x, y + metrics.ascent()), text);
}

int Canvas::TextWidth(const QString& text) const
{
    return QFontMetrics(currentFont()).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString& text) const
{
    Q_UNUSED(text); // one line: every text is as high as the font
    return QFontMetrics(currentFont()).height();
}

void Canvas::DrawText(const QRect& rect, const QString& text, unsigned flags)
{
    if (!active() || text.isEmpty() || (rect.isEmpty() && !(flags & DT_NOCLIP)))
        return;
    const QFontMetrics metrics(currentFont());
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    int x = rect.left();
    if (flags & DT_CENTER)
        x = rect.left() + (rect.width() - width) / 2;
    else if (flags & DT_RIGHT)
        x = rect.left() + rect.width() - width;
    int y = rect.top();
    if (flags & DT_VCENTER)
        y = rect.top() + (rect.height() - height) / 2;
    else if (flags & DT_BOTTOM)
        y = rect.top() + rect.height() - height;

    const QPoint penPos = m_penPos;
    m_painter->save();
    if (!(flags & DT_NOCLIP))
        m_painter->setClipRect(rect, Qt::IntersectClip);
    TextOut(x, y, text);
    m_painter->restore();
    m_penPos = penPos;
}

} // namespace platform
