#include "platform/Fonts.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

struct FontAlias
{
    const char16_t* name;
    const char16_t* installed;
};

constexpr FontAlias kAliases[] = {
    {u"ＭＳ Ｐゴシック", u"IPAPGothic"},
    {u"ＭＳ ゴシック", u"IPAGothic"},
    {u"ＭＳ 明朝", u"IPAMincho"},
    {u"ＭＳ Ｐ明朝", u"IPAPMincho"},
};

} // namespace

QString mapFontName(const QString& name)
{
    for (const FontAlias& alias : kAliases) {
        if (name == QStringView(alias.name))
            return QString::fromUtf16(alias.installed);
    }
    return name;
}

int pointsToPixels(int points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont makeFont(const QString& name, int points, bool bold, bool italic)
{
    QFont font = makeFontPixels(name, pointsToPixels(points));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont makeFontPixels(const QString& name, int pixels)
{
    QFont font(mapFontName(name));
    // Pixel sizes keep a picture independent of the screen's dpi; Qt refuses sizes below one pixel.
    font.setPixelSize(std::max(1, pixels));
    return font;
}

QFont defaultFormFont()
{
    return makeFontPixels(QStringLiteral("ＭＳ Ｐゴシック"), 12);
}

} // namespace platform
