#include "support/PictureHelpers.h"

#include <cstdlib>

namespace hooptally::testing {

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

int darkPixelsInRow(const QImage& image, int y, int from, int to, int lightness)
{
    int dark = 0;
    for (int x = from; x <= to; ++x)
        dark += image.pixelColor(x, y).lightness() < lightness ? 1 : 0;
    return dark;
}

} // namespace hooptally::testing
