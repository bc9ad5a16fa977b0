#include "platform/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {

TColor paletteColor(QPalette::ColorRole role)
{
    return fromQColor(QGuiApplication::palette().color(QPalette::Active, role));
}

} // namespace

QColor toQColor(TColor color)
{
    const auto value = static_cast<std::uint32_t>(color);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

TColor fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<TColor>(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

TColor clBtnFace()
{
    return paletteColor(QPalette::Button);
}

TColor clBtnShadow()
{
    return paletteColor(QPalette::Dark);
}

TColor clHighlight()
{
    return paletteColor(QPalette::Highlight);
}

TColor clHighlightText()
{
    return paletteColor(QPalette::HighlightedText);
}

TColor clWindow()
{
    return paletteColor(QPalette::Base);
}

TColor clWindowText()
{
    return paletteColor(QPalette::Text);
}

} // namespace platform
