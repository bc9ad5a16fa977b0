// The official score-sheet picture: the JPEG file, where its lines and marks stand, the live sheets
// left as they were, failures, and the command that saves it.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTest>

#include <cstdlib>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tsaveofficial.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/StringGrid.h"
#include "support/PictureHelpers.h"
#include "support/Program.h"
#include "support/ReportGame.h"

using namespace hooptally;
using namespace hooptally::testing;
using namespace Qt::StringLiterals;

namespace {

constexpr int kSheetLeft = 13;
constexpr int kPitch = 17;

// The bottom of the game information block: three rows as high as a caption at 14 points and a
// name at 11 points, below the title.
int infoBottom()
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    platform::Canvas canvas(&scratch);
    canvas.Font.Size = 14;
    const int top = 20 + canvas.TextHeight(u"BASKET BALL SCORE"_s) + 1;
    const int h14 = canvas.TextHeight(u"Referee"_s);
    canvas.Font.Size = 11;
    const int a = h14 + canvas.TextHeight(u"審判員氏名"_s);
    return top + 3 * a + 13;
}

int darkInColumn(const QImage& image, int x, int from, int to)
{
    int dark = 0;
    for (int y = from; y <= to; ++y)
        dark += image.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    return dark;
}

// Lines may fall one pixel either side of their place: the widest run of the three rows.
int darkNearRow(const QImage& image, int y, int from, int to)
{
    int most = 0;
    for (int dy = -1; dy <= 1; ++dy)
        most = std::max(most, darkPixelsInRow(image, y + dy, from, to, 100));
    return most;
}

QImage renderSheet(Program& program, const QString& name = u"sheet.jpeg"_s)
{
    TSaveOfficial picture(program.path(name));
    if (picture.Render(TSaveOfficial::kOfficialSheet) != 1)
        return {};
    return QImage(program.path(name));
}

} // namespace

class tst_officialsheet : public QObject
{
    Q_OBJECT
private slots:
    void pictureSizeAndLook()
    {
        Program program;
        playReportGame(program);
        TSaveOfficial picture(program.path(u"sheet.jpeg"_s));
        QCOMPARE(picture.Render(TSaveOfficial::kOfficialSheet), 1);
        const QImage image(program.path(u"sheet.jpeg"_s));
        QCOMPARE(image.size(), QSize(672, 950));
        // For a look at the picture.
        picture.Picture().save(QCoreApplication::applicationDirPath() + u"/officialsheet.png"_s);
    }

    void linesWhereTheLayoutPutsThem()
    {
        Program program;
        playReportGame(program);
        const QImage image = renderSheet(program);
        const int y3 = infoBottom();
        // The information block's frame: 10 to 642 wide, down to y3.
        QVERIFY(darkInColumn(image, 10, 40, y3 - 5) > y3 - 50);
        QVERIFY(darkInColumn(image, 641, 40, y3 - 5) > y3 - 50);
        QVERIFY(darkNearRow(image, y3, 20, 630) > 580);
        // Team A's sheet from 13 across, 20 rows of 17 pixels; team B's 21
        // pitches and 10 pixels lower.
        const int top = y3 + 13;
        const int teamBTop = top + 21 * kPitch + 10;
        for (const int sheetTop : {top, teamBTop}) {
            QVERIFY(darkInColumn(image, kSheetLeft, sheetTop + 5, sheetTop + 19 * kPitch) > 15 * kPitch);
            QVERIFY(darkNearRow(image, sheetTop + 20 * kPitch, kSheetLeft + 2, kSheetLeft + 20 * kPitch - 2) >
                    15 * kPitch);
        }
        // Nothing between the sheets.
        QCOMPARE(darkPixelsInRow(image, top + 20 * kPitch + 5, kSheetLeft, kSheetLeft + 20 * kPitch, 100), 0);
        // The running score beside team B's sheet, as high as 41 rows.
        const int runLeft = kSheetLeft + 20 * kPitch + 3;
        QVERIFY(darkInColumn(image, runLeft, top + 5, top + 40 * kPitch) > 35 * kPitch);
    }

    void scoredPointIsSlashedInItsPeriodColour()
    {
        Program program;
        playReportGame(program);
        const QImage image = renderSheet(program);
        const int top = infoBottom() + 13;
        const int runLeft = kSheetLeft + 20 * kPitch + 3;
        const SheetGridControl* run = program.form().TeamGrids().Run();
        // 佐藤's two points in the first period: the first slashed number of team A's numbers.
        const int column = 1;
        int row = -1;
        for (int r = 0; r < run->rows && row < 0; ++r) {
            const TCell* area = run->SheetGridCellAt(column, r);
            if (area && area->kind == kScoreNumberColumn && HasAction(area->action))
                row = r;
        }
        QCOMPARE(row, 2);
        const QColor period = platform::toQColor(GetPeriodColor(0));
        // The slash runs from the top right to the bottom left of the cell: its middle is on it.
        const QPoint middle(runLeft + column * kPitch + 1 + 8, top + row * kPitch + 1 + 8);
        bool found = false;
        for (int d = -1; d <= 1 && !found; ++d)
            found = near(image.pixelColor(middle + QPoint(d, d)), period, 60);
        QVERIFY2(found, qPrintable(image.pixelColor(middle).name()));
        // The top left corner of the same cell is not on it.
        QVERIFY(!near(image.pixelColor(middle - QPoint(6, 6)), period, 60));
    }

    void liveSheetsLeftAsTheyWere()
    {
        Program program;
        playReportGame(program);
        platform::StringGrid* run = program.form().GridRun;
        platform::StringGrid* teamA = program.form().GridTeamA;
        QList<int> before;
        for (int c = 0; c < run->ColCount(); ++c)
            before << run->ColWidths(c);
        const int rowHeight = teamA->DefaultRowHeight();
        const int colWidth = teamA->DefaultColWidth();
        QVERIFY(!renderSheet(program).isNull());
        QList<int> after;
        for (int c = 0; c < run->ColCount(); ++c)
            after << run->ColWidths(c);
        QCOMPARE(after, before);
        QCOMPARE(run->ColWidths(4), 10);
        QCOMPARE(teamA->DefaultRowHeight(), rowHeight);
        QCOMPARE(teamA->DefaultColWidth(), colWidth);
    }

    void unwritableTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder missing") << "missing/sheet.jpeg";
        QTest::newRow("a folder") << "folder";
    }
    void unwritableTarget()
    {
        QFETCH(QString, target);
        Program program;
        playReportGame(program);
        QVERIFY(QDir(program.folder()).mkdir(u"folder"_s));
        const qsizetype prompts = program.dialogs().shown().size();
        TSaveOfficial picture(program.path(target));
        QCOMPARE(picture.Render(TSaveOfficial::kOfficialSheet), 0);
        // No message here: the caller says it once.
        QCOMPARE(program.dialogs().shown().size(), prompts);
        QVERIFY(!QFileInfo(program.path(target)).isFile());
        QCOMPARE(QDir(program.folder()).entryList({"*.jpeg"}, QDir::Files), QStringList());
    }

    void splitTeamName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("single-byte halves") << u"ABCDEFGH"_s << 2 << QStringList{u"ABCD"_s, u"EFGH"_s};
        QTest::newRow("cut at a character's end") << u"東京AB"_s << 2 << QStringList{u"東京"_s, u"AB"_s};
        QTest::newRow("cut inside a character moves on") << u"A東京"_s << 2 << QStringList{u"A東"_s, u"京"_s};
        QTest::newRow("three lines") << u"ABC東京"_s << 3 << QStringList{u"AB"_s, u"C東"_s, u"京"_s};
        QTest::newRow("three lines of kanji") << u"東京大阪名古屋"_s << 3
                                              << QStringList{u"東京"_s, u"大阪"_s, u"名古屋"_s};
    }
    void splitTeamName()
    {
        QFETCH(QString, name);
        QFETCH(int, lines);
        QFETCH(QStringList, parts);
        QCOMPARE(SplitTeamName(name, lines), parts);
    }

    void fitText_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("expected");
        QTest::newRow("grows to 19 at most") << 8 << QRect(0, 0, 600, 300) << 19;
        QTest::newRow("20 or more that fits stays") << 22 << QRect(0, 0, 600, 300) << 22;
        QTest::newRow("nothing fits gives 1") << 12 << QRect(0, 0, 2, 2) << 1;
    }
    void fitText()
    {
        QFETCH(int, start);
        QFETCH(QRect, rect);
        QFETCH(int, expected);
        QImage scratch(10, 10, QImage::Format_RGB32);
        platform::Canvas canvas(&scratch);
        canvas.Font.Size = start;
        FitText(canvas, rect, u"大会名"_s);
        QCOMPARE(canvas.Font.Size, expected);
    }

    // The command: the game file's name with ".jpeg" in its folder, the overwrite question, the
    // failure said once.
    void saveCommand()
    {
        Program program;
        playReportGame(program);
        program.form().SetCurrentGameFile(program.path(u"final.2024.game"_s));
        const QString target = program.path(u"final.2024.jpeg"_s);
        program.dialogs().expectSaveFile(target);
        program.form().OfficialSaveClick();
        const auto& options = program.dialogs().lastFileOptions();
        QCOMPARE(options.fileName, u"final.2024.jpeg"_s);
        QCOMPARE(options.defaultExt, u"jpeg"_s);
        QCOMPARE(options.filter, u"jpeg(*.jpeg)|*.jpeg|すべてのファイル (*.*)|*.*"_s);
        QCOMPARE(QFileInfo(options.initialDir).canonicalFilePath(), QFileInfo(program.folder()).canonicalFilePath());
        QCOMPARE(QImage(target).size(), QSize(672, 950));
    }

    void existingFileAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(platform::mrYes);
        QTest::newRow("no") << int(platform::mrNo);
    }
    void existingFileAsksFirst()
    {
        QFETCH(int, answer);
        Program program;
        playReportGame(program);
        const QString target = program.path(u"old.jpeg"_s);
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        program.dialogs().expectSaveFile(target).expectMessage(u"上書きしますよろしいですか？"_s, answer);
        program.form().OfficialSaveClick();
        QCOMPARE(QImage(target).isNull(), answer != platform::mrYes);
    }

    void failureSaidOnce()
    {
        Program program;
        playReportGame(program);
        program.dialogs().expectSaveFile(program.path(u"missing/sheet.jpeg"_s)).expectMessage(u"保存に失敗しました"_s);
        program.command(kSaveOfficial);
        QCOMPARE(program.dialogs().shown().filter(u"保存に失敗しました"_s).size(), 1);
    }
};

QTEST_MAIN(tst_officialsheet)
#include "tst_officialsheet.moc"
