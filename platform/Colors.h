#pragma once

#include <cstdint>

#include <QColor>

// Class-library colour values: 0x00BBGGRR (red in the low byte).
namespace platform {

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clYellow = 0x00FFFF;

// Only the low 24 bits count: a value carried past them (team colour + 0xF97) is masked.
QColor toQColor(TColor color);
TColor fromQColor(const QColor& color);

// The system colours the programs name, taken from the application palette.
TColor clBtnFace();
TColor clBtnShadow();
TColor clHighlight();
TColor clHighlightText();
TColor clWindow();
TColor clWindowText();

} // namespace platform
