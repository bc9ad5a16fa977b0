#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPalette>
#include <QTest>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Fonts.h"

using namespace platform;

namespace {

QImage whiteImage(int width = 40, int height = 30)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box and number of the pixels that match a test.
struct Ink
{
    QRect bounds;
    int count = 0;
};

template <typename Match> Ink findInk(const QImage& image, Match match)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixelColor(x, y))) {
                ink.bounds |= QRect(x, y, 1, 1);
                ++ink.count;
            }
        }
    }
    return ink;
}

Ink inkOf(const QImage& image, const QColor& color)
{
    return findInk(image, [&](const QColor& c) { return c == color; });
}

// Antialiased text in red on white: pixels clearly more red than anything else.
Ink reddish(const QImage& image)
{
    return findInk(image,
                   [](const QColor& c) { return c.red() > c.green() + 60 && c.red() > c.blue() + 60; });
}

Ink nonWhite(const QImage& image)
{
    return findInk(image, [](const QColor& c) { return c != QColor(Qt::white); });
}

} // namespace

class TestCanvas : public QObject
{
    Q_OBJECT
private slots:
    void toQColorMasks_data();
    void toQColorMasks();
    void systemColorsFollowPalette();
    void mapFontName_data();
    void mapFontName();
    void pointsToPixels_data();
    void pointsToPixels();
    void mappedFontsAreInstalled();
    void fillRectIsExclusive_data();
    void fillRectIsExclusive();
    void lineToSkipsEndPixel_data();
    void lineToSkipsEndPixel();
    void rectangleAndEllipse();
    void penModes_data();
    void penModes();
    void textOut();
    void textDoesNotDependOnDpi();
    void drawTextAlignment_data();
    void drawTextAlignment();
    void drawTextClips();
    void japaneseTextRenders();
    void inactiveCanvasIsHarmless();
};

void TestCanvas::toQColorMasks_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("red is the low byte") << int(clRed) << QColor(255, 0, 0);
    QTest::newRow("blue is the high byte") << int(clBlue) << QColor(0, 0, 255);
    QTest::newRow("mixed") << 0x123456 << QColor(0x56, 0x34, 0x12);
    QTest::newRow("team colour plus offset carries into green")
        << 0x4A73F7 + 0xF97 << QColor(0x8E, 0x83, 0x4A);
    QTest::newRow("bits above 24 dropped") << 0x7F123456 << QColor(0x56, 0x34, 0x12);
    QTest::newRow("negative") << -1 << QColor(255, 255, 255);
}

void TestCanvas::toQColorMasks()
{
    QFETCH(int, color);
    QFETCH(QColor, expected);
    QCOMPARE(toQColor(color), expected);
    QCOMPARE(fromQColor(toQColor(color)), color & 0xFFFFFF);
}

void TestCanvas::systemColorsFollowPalette()
{
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Highlight, QColor(4, 5, 6));
    palette.setColor(QPalette::HighlightedText, QColor(7, 8, 9));
    palette.setColor(QPalette::Base, QColor(10, 11, 12));
    QApplication::setPalette(palette);
    QCOMPARE(clBtnFace(), 0x030201);
    QCOMPARE(clHighlight(), 0x060504);
    QCOMPARE(clHighlightText(), 0x090807);
    QCOMPARE(clWindow(), 0x0C0B0A);
    QApplication::setPalette(saved);
}

void TestCanvas::mapFontName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("proportional gothic") << u"ＭＳ Ｐゴシック"_qs << u"IPAPGothic"_qs;
    QTest::newRow("gothic") << u"ＭＳ ゴシック"_qs << u"IPAGothic"_qs;
    QTest::newRow("mincho") << u"ＭＳ 明朝"_qs << u"IPAMincho"_qs;
    QTest::newRow("proportional mincho") << u"ＭＳ Ｐ明朝"_qs << u"IPAPMincho"_qs;
    QTest::newRow("half-width spelling is not ours") << u"MS Gothic"_qs << u"MS Gothic"_qs;
    QTest::newRow("other names pass") << u"DejaVu Sans"_qs << u"DejaVu Sans"_qs;
}

void TestCanvas::mapFontName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(platform::mapFontName(name), expected);
}

void TestCanvas::pointsToPixels_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("pixels");
    QTest::newRow("9 pt") << 9 << 12;
    QTest::newRow("12 pt") << 12 << 16;
    QTest::newRow("10 pt rounds down") << 10 << 13;
    QTest::newRow("11 pt rounds up") << 11 << 15;
    QTest::newRow("8 pt") << 8 << 11;
}

void TestCanvas::pointsToPixels()
{
    QFETCH(int, points);
    QFETCH(int, pixels);
    QCOMPARE(platform::pointsToPixels(points), pixels);
    QCOMPARE(makeFont(u"ＭＳ 明朝"_qs, points).pixelSize(), pixels);
}

void TestCanvas::mappedFontsAreInstalled()
{
    QVERIFY(QFontInfo(makeFont(u"ＭＳ Ｐゴシック"_qs, 9)).family().startsWith(u"IPAPGothic"_qs));
    QVERIFY(QFontInfo(makeFont(u"ＭＳ 明朝"_qs, 9)).family().startsWith(u"IPAMincho"_qs));
    const QFont form = defaultFormFont();
    QCOMPARE(form.pixelSize(), 12);
    QVERIFY(QFontInfo(form).family().startsWith(u"IPAPGothic"_qs));
    QVERIFY(makeFont(u"ＭＳ ゴシック"_qs, 9, true).bold());
}

void TestCanvas::fillRectIsExclusive_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::newRow("at origin") << QRect(0, 0, 10, 10);
    QTest::newRow("offset") << QRect(3, 4, 5, 2);
    QTest::newRow("from edges") << Rect(5, 6, 25, 7);
    QTest::newRow("single pixel") << Rect(7, 7, 8, 8);
}

void TestCanvas::fillRectIsExclusive()
{
    QFETCH(QRect, rect);
    QImage image = whiteImage();
    {
        Canvas canvas(&image);
        canvas.Brush.Color = clRed;
        canvas.FillRect(rect);
        canvas.Brush.Style = BrushStyle::Clear;
        canvas.FillRect(QRect(0, 20, 10, 10)); // a clear brush paints nothing
    }
    const Ink ink = nonWhite(image);
    QCOMPARE(ink.bounds, rect);
    QCOMPARE(ink.count, rect.width() * rect.height());
    QCOMPARE(image.pixelColor(rect.topLeft()), QColor(Qt::red));
}

void TestCanvas::lineToSkipsEndPixel_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("rightwards") << QPoint(2, 5) << QPoint(8, 5) << QRect(2, 5, 6, 1);
    QTest::newRow("leftwards") << QPoint(8, 5) << QPoint(2, 5) << QRect(3, 5, 6, 1);
    QTest::newRow("downwards") << QPoint(4, 1) << QPoint(4, 9) << QRect(4, 1, 1, 8);
    QTest::newRow("upwards") << QPoint(4, 9) << QPoint(4, 1) << QRect(4, 2, 1, 8);
    QTest::newRow("one pixel long") << QPoint(6, 6) << QPoint(7, 6) << QRect(6, 6, 1, 1);
}

void TestCanvas::lineToSkipsEndPixel()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRect, pixels);
    QImage image = whiteImage();
    {
        Canvas canvas(&image);
        canvas.MoveTo(from.x(), from.y());
        canvas.LineTo(to.x(), to.y());
        QCOMPARE(canvas.PenPos(), to);
    }
    const Ink ink = inkOf(image, Qt::black);
    QCOMPARE(ink.bounds, pixels);
    QCOMPARE(ink.count, pixels.width() * pixels.height());
    QCOMPARE(nonWhite(image).count, ink.count); // no antialiased fringe
}

void TestCanvas::rectangleAndEllipse()
{
    QImage image = whiteImage();
    {
        Canvas canvas(&image);
        canvas.Brush.Color = clRed;
        canvas.Rectangle(QRect(2, 2, 6, 5));
        canvas.Brush.Style = BrushStyle::Clear;
        canvas.Rectangle(QRect(12, 2, 6, 5));
        canvas.Brush.Style = BrushStyle::Solid;
        canvas.Pen.Style = PenStyle::Clear;
        canvas.Ellipse(QRect(20, 10, 11, 11));
    }
    QCOMPARE(nonWhite(image.copy(0, 0, 10, 10)).bounds, QRect(2, 2, 6, 5));
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::black));
    QCOMPARE(image.pixelColor(7, 6), QColor(Qt::black));
    QCOMPARE(image.pixelColor(4, 4), QColor(Qt::red));
    QCOMPARE(image.pixelColor(14, 4), QColor(Qt::white)); // clear brush leaves the inside
    QCOMPARE(image.pixelColor(17, 6), QColor(Qt::black));
    QCOMPARE(image.pixelColor(25, 15), QColor(Qt::red));   // ellipse centre
    QCOMPARE(image.pixelColor(20, 10), QColor(Qt::white)); // and not its corner
}

void TestCanvas::penModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("copy") << int(PenMode::Copy) << QColor(Qt::white) << QColor(Qt::red);
    QTest::newRow("xor on white") << int(PenMode::Xor) << QColor(Qt::white) << QColor(Qt::cyan);
    QTest::newRow("xor twice restores") << int(PenMode::Xor) << QColor(Qt::red) << QColor(Qt::black);
    QTest::newRow("not ignores the colour") << int(PenMode::Not) << QColor(Qt::white) << QColor(Qt::black);
}

void TestCanvas::penModes()
{
    QFETCH(int, mode);
    QFETCH(QColor, background);
    QFETCH(QColor, expected);
    QImage image = whiteImage();
    image.fill(background);
    {
        Canvas canvas(&image);
        canvas.Pen.Color = clRed;
        canvas.Pen.Mode = static_cast<PenMode>(mode);
        canvas.MoveTo(0, 3);
        canvas.LineTo(10, 3);
        canvas.Pen.Mode = PenMode::Copy;
        canvas.Brush.Color = clBlue;
        canvas.FillRect(QRect(0, 10, 2, 2)); // fills ignore the pen mode afterwards
    }
    QCOMPARE(image.pixelColor(5, 3), expected);
    QCOMPARE(image.pixelColor(5, 4), background);
    QCOMPARE(image.pixelColor(1, 11), QColor(Qt::blue));
}

void TestCanvas::textOut()
{
    QImage image = whiteImage(120, 40);
    QRect box;
    {
        Canvas canvas(&image);
        canvas.Font.Color = clRed;
        canvas.Font.Size = 12;
        canvas.Brush.Style = BrushStyle::Clear;
        canvas.TextOut(10, 8, u"Hoop 42"_qs);
        box = QRect(10, 8, canvas.TextWidth(u"Hoop 42"_qs), canvas.TextHeight(u"Hoop 42"_qs));
        QCOMPARE(canvas.PenPos(), QPoint(box.right() + 1, 8));
        // Size is in points at 96 dpi: 12 points are 16 pixels.
        QCOMPARE(box.height(), QFontMetrics(makeFontPixels(canvas.Font.Name, 16)).height());
    }
    const Ink ink = reddish(image);
    QVERIFY(ink.count > 20);
    QVERIFY2(box.contains(ink.bounds), qPrintable(u"ink outside the text box"_qs));
    QCOMPARE(nonWhite(image).bounds | box, box);

    // An opaque brush fills the whole text box behind the letters.
    QImage opaque = whiteImage(120, 40);
    {
        Canvas canvas(&opaque);
        canvas.Font.Size = 12;
        canvas.Brush.Color = clYellow;
        canvas.TextOut(10, 8, u"Hoop 42"_qs);
    }
    QCOMPARE(opaque.pixelColor(box.topLeft()), QColor(Qt::yellow));
    QCOMPARE(opaque.pixelColor(box.bottomRight()), QColor(Qt::yellow));
    QCOMPARE(nonWhite(opaque).bounds, box);
}

void TestCanvas::textDoesNotDependOnDpi()
{
    QImage normal = whiteImage(120, 40);
    QImage dense = whiteImage(120, 40);
    dense.setDotsPerMeterX(11811); // 300 dpi
    dense.setDotsPerMeterY(11811);
    for (QImage* image : {&normal, &dense}) {
        Canvas canvas(image);
        canvas.Brush.Style = BrushStyle::Clear;
        canvas.TextOut(2, 2, u"Quarter 4"_qs);
    }
    QCOMPARE(nonWhite(dense).bounds, nonWhite(normal).bounds);
}

void TestCanvas::drawTextAlignment_data()
{
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<int>("horizontal"); // 0 left, 1 centre, 2 right
    QTest::addColumn<int>("vertical");   // 0 top, 1 centre, 2 bottom
    QTest::newRow("left top") << unsigned(DT_LEFT) << 0 << 0;
    QTest::newRow("centre") << unsigned(DT_CENTER) << 1 << 0;
    QTest::newRow("right") << unsigned(DT_RIGHT) << 2 << 0;
    QTest::newRow("vertically centred") << unsigned(DT_CENTER | DT_VCENTER | DT_SINGLELINE) << 1 << 1;
    QTest::newRow("bottom right") << unsigned(DT_RIGHT | DT_BOTTOM) << 2 << 2;
}

void TestCanvas::drawTextAlignment()
{
    QFETCH(unsigned, flags);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    const QRect rect(10, 5, 160, 50);
    const QString text = u"Foul 3"_qs;
    QImage image = whiteImage(200, 70);
    QSize size;
    {
        Canvas canvas(&image);
        canvas.Font.Color = clRed;
        canvas.Brush.Style = BrushStyle::Clear;
        canvas.DrawText(rect, text, flags);
        size = QSize(canvas.TextWidth(text), canvas.TextHeight(text));
    }
    const int x = rect.left() + horizontal * (rect.width() - size.width()) / 2;
    const int y = rect.top() + vertical * (rect.height() - size.height()) / 2;
    const QRect box(QPoint(x, y), size);
    const Ink ink = reddish(image);
    QVERIFY(ink.count > 10);
    QVERIFY2(box.contains(ink.bounds), qPrintable(QString(u"ink %1,%2 %3x%4"_qs)
                                                      .arg(ink.bounds.x())
                                                      .arg(ink.bounds.y())
                                                      .arg(ink.bounds.width())
                                                      .arg(ink.bounds.height())));
}

void TestCanvas::drawTextClips()
{
    const QString text = u"Substitution"_qs;
    QImage clipped = whiteImage(120, 30);
    QImage unclipped = whiteImage(120, 30);
    {
        Canvas canvas(&clipped);
        canvas.DrawText(QRect(0, 0, 20, 20), text, DT_LEFT);
    }
    {
        Canvas canvas(&unclipped);
        canvas.DrawText(QRect(0, 0, 20, 20), text, DT_LEFT | DT_NOCLIP);
    }
    QVERIFY(QRect(0, 0, 20, 20).contains(nonWhite(clipped).bounds));
    QVERIFY(nonWhite(unclipped).bounds.right() > 40);
}

void TestCanvas::japaneseTextRenders()
{
    const QString text = u"東京ﾌｧｳﾙ"_qs;
    QImage image = whiteImage(120, 30);
    QRect box;
    {
        Canvas canvas(&image);
        canvas.Font.Name = u"ＭＳ Ｐゴシック"_qs;
        canvas.Font.Color = clRed;
        canvas.Brush.Style = BrushStyle::Clear;
        canvas.TextOut(4, 4, text);
        box = QRect(4, 4, canvas.TextWidth(text), canvas.TextHeight(text));
    }
    const Ink ink = reddish(image);
    QVERIFY(ink.count > 40);
    QVERIFY(box.contains(ink.bounds));
    QVERIFY(ink.bounds.width() > box.width() / 2); // all six glyphs, not just the first
}

void TestCanvas::inactiveCanvasIsHarmless()
{
    Canvas canvas(static_cast<QPaintDevice*>(nullptr));
    canvas.MoveTo(1, 1);
    canvas.LineTo(5, 5);
    canvas.FillRect(QRect(0, 0, 5, 5));
    canvas.Rectangle(QRect(0, 0, 5, 5));
    canvas.TextOut(0, 0, u"x"_qs);
    canvas.DrawText(QRect(0, 0, 5, 5), u"x"_qs, DT_CENTER);
    QCOMPARE(canvas.PenPos(), QPoint(canvas.TextWidth(u"x"_qs), 0));
    QVERIFY(canvas.TextHeight(u"x"_qs) > 0);
}

QTEST_MAIN(TestCanvas)
#include "tst_platform_canvas.moc"
