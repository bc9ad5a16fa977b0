#pragma once

#include <QFont>
#include <QString>

namespace platform {

// The programs' font names mapped to installed fonts: "ＭＳ Ｐゴシック" IPAPGothic,
// "ＭＳ ゴシック" IPAGothic, "ＭＳ 明朝" IPAMincho, "ＭＳ Ｐ明朝" IPAPMincho; other names as given.
QString mapFontName(const QString& name);

// Sizes in points at 96 dpi, so a font looks the same on every screen and in every picture.
int pointsToPixels(int points);
QFont makeFont(const QString& name, int points, bool bold = false, bool italic = false);
// A font of the given pixel height (forms give "12 pixels").
QFont makeFontPixels(const QString& name, int pixels);

// The default font of the programs' forms: "ＭＳ Ｐゴシック", 12 pixels.
QFont defaultFormFont();

} // namespace platform
