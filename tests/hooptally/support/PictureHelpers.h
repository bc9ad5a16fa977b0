#pragma once

#include <QColor>
#include <QImage>

namespace hooptally::testing {

// Colours of a JPEG are near, not equal, to what was drawn.
bool near(QColor a, QColor b, int tolerance = 48);

// Pixels darker than `lightness` in row y from x `from` to `to`, both included.
int darkPixelsInRow(const QImage& image, int y, int from, int to, int lightness = 128);

} // namespace hooptally::testing
