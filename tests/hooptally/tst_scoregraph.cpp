// The score-over-time graph of the HTML report: the JPEG file and what it shows where the drawing
// rules put it.
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPlainTextEdit>
#include <QTest>

#include <cstdlib>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Tsaveofficial.h"
#include "hooptally/Tteam.h"
#include "platform/Canvas.h"
#include "support/ActionPathHelpers.h"
#include "support/PictureHelpers.h"
#include "support/Program.h"
#include "support/ReportGame.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

constexpr int kBottom = 320;
constexpr int kRight = 610;

// The left edge of the plot: after the value labels, as wide as "100" at size 12.
int plotLeft()
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    platform::Canvas canvas(&scratch);
    canvas.Font.Size = 12;
    return 10 + canvas.TextWidth(QStringLiteral("100")) + 5;
}

// Whether a pixel of that colour lies within two pixels of (x, y): lines are thin and JPEG blurs.
bool colourAround(const QImage& image, int x, int y, QColor colour)
{
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            if (image.valid(x + dx, y + dy) && near(image.pixelColor(x + dx, y + dy), colour))
                return true;
        }
    }
    return false;
}

int pixelsOfColour(const QImage& image, const QRect& area, QColor colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += near(image.pixelColor(x, y), colour, 24) ? 1 : 0;
    }
    return count;
}

QImage renderGraph(Program& program, const QString& name = QStringLiteral("graph.jpeg"))
{
    TSaveOfficial picture(program.path(name));
    if (picture.Render(TSaveOfficial::kScoreGraph) != 1)
        return {};
    return QImage(program.path(name));
}

const QColor kTeamA = platform::toQColor(kDefaultTeamAColor);

} // namespace

class tst_scoregraph : public QObject
{
    Q_OBJECT
private slots:
    void jpegWriterAvailable() { QVERIFY(QImageWriter::supportedImageFormats().contains("jpeg")); }

    // Nothing played: the axes, the grid lines 10 to 50 and nothing else.
    void noPlay()
    {
        Program program;
        const QImage image = renderGraph(program);
        QCOMPARE(image.size(), QSize(640, 480));
        const int x0 = plotLeft();
        QVERIFY(image.pixelColor(x0, 170).lightness() < 80);
        QVERIFY(image.pixelColor(300, kBottom).lightness() < 80);
        // Fallback top value 50: six points per pixel... six pixels per point.
        for (const int y : {260, 200, 140, 80, 20})
            QVERIFY2(darkPixelsInRow(image, y, x0 + 10, kRight - 10) > 100, qPrintable(QString::number(y)));
        for (const int y : {230, 170, 110, 50})
            QCOMPARE(darkPixelsInRow(image, y, x0 + 10, kRight - 10), 0);
        QCOMPARE(pixelsOfColour(image, QRect(0, 0, 640, 480), kTeamA), 0);
        // Nothing below the plot: no timeout marks.
        QCOMPARE(darkPixelsInRow(image, kBottom + 10, 0, 639), 0);
    }

    // 57 points: the top value is 67, grid lines up to 60; the game has no elapsed time, so every score
    // stands at the start, on the axis.
    void highestTotalSetsTheScale()
    {
        Program program;
        loadRosters(program, {"東京,1,10,佐藤,F,Starter,,"}, {"大阪,1,5,田中,F,Starter,,"});
        TPlayer* sato = playerNamed(program.teamA(), "佐藤");
        for (int i = 0; i < 19; ++i)
            program.act(sato, kThreePointMade);
        const QImage image = renderGraph(program);
        const int x0 = plotLeft();
        const double sy = 300.0 / 67.0;
        QVERIFY(darkPixelsInRow(image, int(kBottom - 60 * sy), x0 + 10, kRight - 10) > 100);
        QVERIFY(darkPixelsInRow(image, int(kBottom - 10 * sy), x0 + 10, kRight - 10) > 100);
        // Right of the team names, where no line above 60 runs.
        QCOMPARE(darkPixelsInRow(image, int(kBottom - 65 * sy), x0 + 120, kRight - 10), 0);
        QCOMPARE(pixelsOfColour(image, QRect(x0 + 5, 70, kRight - x0 - 5, kBottom - 75), kTeamA), 0);
    }

    void teamLineAndPeriodEnd_data()
    {
        QTest::addColumn<bool>("periodEnded");
        QTest::newRow("the period ended") << true;
        // No period stopped yet: the scale falls back to 360 seconds, and the line is drawn.
        QTest::newRow("the first period still running") << false;
    }
    void teamLineAndPeriodEnd()
    {
        QFETCH(bool, periodEnded);
        Program program;
        loadRosters(program, {"東京,1,10,佐藤,F,Starter,,"}, {"大阪,1,5,田中,F,Starter,,"});
        program.setClock(5, 0);
        program.act(playerNamed(program.teamA(), "佐藤"), kTwoPointMade);
        program.setClock(0, 0);
        if (periodEnded)
            program.command(kPeriodEnd);
        const QImage image = renderGraph(program);
        const int x0 = plotLeft();
        // 360 seconds across the plot, 2 points make the top value 12: 25 pixels a point.
        const int x1 = int(x0 + (kRight - x0) * 60.0 / 360.0);
        const int y1 = kBottom - 2 * 25;
        QVERIFY(colourAround(image, (x0 + x1) / 2, (kBottom + y1) / 2, kTeamA));
        QCOMPARE(colourAround(image, (x1 + kRight) / 2, y1, kTeamA), periodEnded);
        if (!periodEnded)
            return;
        // The period end: a black line across the plot at its right edge.
        QVERIFY(image.pixelColor(kRight - 1, 150).lightness() < 100);
    }

    // A score without a clock reading counts but is not placed on the time axis.
    void entryWithoutClockIsSkipped()
    {
        Program program;
        loadRosters(program, {"東京,1,10,佐藤,F,Starter,,"}, {"大阪,1,5,田中,F,Starter,,"});
        GameAction action;
        action.side = kSideA;
        action.category = kPlayerAction;
        action.code = kTwoPointMade;
        action.player = playerNamed(program.teamA(), "佐藤");
        action.period = 0;
        sendAction(program.form(), action);
        program.setClock(0, 0);
        program.command(kPeriodEnd);
        const QImage image = renderGraph(program);
        const int x0 = plotLeft();
        // The axis stays black where a line to the start of the game would have covered it.
        QVERIFY(!colourAround(image, x0, kBottom - 25, kTeamA));
        QVERIFY(image.pixelColor(x0, kBottom - 25).lightness() < 100);
        // The score still counts: the period end draws the line up to it.
        QVERIFY(colourAround(image, (x0 + kRight) / 2, kBottom - 25, kTeamA));
    }

    void timeoutLabels_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("label");
        QTest::newRow("whole") << 125.0 << "02:05";
        QTest::newRow("a hair short of six minutes") << 359.99999999 << "06:00";
        QTest::newRow("below half a second") << 59.4 << "00:59";
        QTest::newRow("from half a second") << 59.5 << "01:00";
        QTest::newRow("start") << 0.0 << "00:00";
    }
    void timeoutLabels()
    {
        QFETCH(double, seconds);
        QFETCH(QString, label);
        QCOMPARE(TimeoutLabel(seconds), label);
    }

    void timeoutMark()
    {
        Program program;
        loadRosters(program, {"東京,1,10,佐藤,F,Starter,,"}, {"大阪,1,5,田中,F,Starter,,"});
        program.setClock(3, 0);
        program.command(kTimeout, kSideA);
        program.setClock(0, 0);
        program.command(kPeriodEnd);
        const QImage image = renderGraph(program);
        const int x0 = plotLeft();
        const int x = int(x0 + (kRight - x0) * 180.0 / 360.0);
        // Dashed: no score line was drawn before it.
        int blue = 0;
        for (int y = 30; y < kBottom - 10; ++y) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QColor pixel = image.pixelColor(x + dx, y);
                blue += pixel.blue() - pixel.red() > 60 && pixel.blue() - pixel.green() > 60 ? 1 : 0;
            }
        }
        QVERIFY2(blue > 100, qPrintable(QString::number(blue)));
        // Its time below the axis.
        QVERIFY(darkPixelsInRow(image, kBottom + 12, x - 30, x + 30) > 0);
    }

    void writtenAtQuality90()
    {
        Program program;
        playReportGame(program);
        TSaveOfficial picture(program.path(QStringLiteral("quality.jpeg")));
        QCOMPARE(picture.Render(TSaveOfficial::kScoreGraph), 1);
        QByteArray expected;
        QBuffer buffer(&expected);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(90);
        QVERIFY(writer.write(picture.Picture()));
        QCOMPARE(readBytes(program.path(QStringLiteral("quality.jpeg"))), expected);
    }

    void unwritableTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder missing") << "missing/graph.jpeg";
        QTest::newRow("a folder") << "folder";
    }
    void unwritableTarget()
    {
        QFETCH(QString, target);
        Program program;
        QVERIFY(QDir(program.folder()).mkdir(QStringLiteral("folder")));
        TSaveOfficial picture(program.path(target));
        // No message here: the caller says it once.
        QCOMPARE(picture.Render(TSaveOfficial::kScoreGraph), 0);
        QVERIFY(program.dialogs().shown().isEmpty());
        QVERIFY(DbgForm()->Memo1->toPlainText().contains(program.path(target) + QStringLiteral(": ")));
        QVERIFY(!QFileInfo(program.path(target)).isFile());
        QCOMPARE(QDir(program.folder()).entryList({"*.jpeg"}, QDir::Files), QStringList());
    }
};

QTEST_MAIN(tst_scoregraph)
#include "tst_scoregraph.moc"
