#include "hooptally/Tsaveofficial.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <functional>
#include <vector>

#include <QImageWriter>
#include <QLabel>
#include <QPixmap>
#include <QSaveFile>
#include <QScrollArea>
#include <QVBoxLayout>

#include "hooptally/Common.h"
#include "hooptally/Runscore.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tsplaying.h"
#include "hooptally/Tteam.h"
#include "platform/Canvas.h"
#include "platform/Codec.h"
#include "platform/Colors.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Named.h"
#include "platform/StringGrid.h"

namespace hooptally {

using platform::named;

namespace {

// The time scale of a game whose periods have not run yet.
constexpr double kFallbackSeconds = 360.0;
constexpr int kFallbackPoints = 40;
constexpr int kGraphLeft = 10;
constexpr int kGraphTop = 20;
constexpr int kRightMargin = 30;
constexpr int kPlotHeight = 300;
constexpr int kGridStep = 10;
constexpr platform::TColor kTimeoutColor = 0xFF0000;
constexpr unsigned kCentredAtBottom = platform::DT_CENTER | platform::DT_BOTTOM | platform::DT_SINGLELINE;
constexpr unsigned kLeftAtBottom = platform::DT_LEFT | platform::DT_BOTTOM | platform::DT_SINGLELINE;
constexpr unsigned kRightAtBottom = platform::DT_RIGHT | platform::DT_BOTTOM | platform::DT_SINGLELINE;
constexpr int kLargestFitPoints = 19;

// The official score sheet.
constexpr int kSheetCellSize = 16;
constexpr int kSpacerWidth = 3;
constexpr int kSheetLeft = 13;
constexpr int kBlockGap = 10;
constexpr int kTeamNamePoints = 12;
constexpr platform::TColor kScoreColumnColor = 0xD8E9EC;
// Team B's sheet starts this many pitches below team A's in either layout.
constexpr int kTeamSheetRowsApart = 21;
const QString kTitle = QStringLiteral("BASKET BALL SCORE");
const QString kFiveWideName = QStringLiteral("審判員氏名");
const QString kPeriodScoreSample = QStringLiteral("00 - 00");
const QString kFooter = QStringLiteral("Hooptally  BASKET BALL SCORE SHEET");

// A score-over-time line of one team: its running score and where its pen stands.
struct Trace
{
    const TTeam* team;
    int score = 0;
    QPoint position;
};

int pointsOf(const GameAction& action)
{
    if (action.category != kPlayerAction)
        return 0;
    switch (action.code) {
    case kTwoPointMade:
        return 2;
    case kThreePointMade:
        return 3;
    case kFreeThrowMade:
        return 1;
    default:
        return 0;
    }
}

bool hasPeriod(const GameAction& action)
{
    return action.period >= 0 && action.period < kMaxPeriods;
}

// An entry without a clock reading or a period has no place on the time axis.
bool hasClock(const GameAction& action)
{
    return hasPeriod(action) && action.minutes >= 0 && action.seconds >= 0;
}

// A computed coordinate truncated to a pixel; far-off values are kept within what a pixel can hold.
int pixel(double value)
{
    constexpr double kFar = 1e6;
    return static_cast<int>(std::clamp(value, -kFar, kFar));
}

void drawLine(platform::Canvas& canvas, QPoint from, QPoint to)
{
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
}

} // namespace

QString TimeoutLabel(double seconds)
{
    // Day fractions come back a hair short of whole seconds: truncating would show 05:59 for 06:00.
    const long long whole = std::max(0LL, std::llround(seconds));
    return platform::Format("%02d:%02d", static_cast<int>(whole / 60), static_cast<int>(whole % 60));
}

TSaveOfficial::TSaveOfficial(const QString& fileName)
    : QWidget(nullptr), m_fileName(fileName), m_teamA(GetTeam(kSideA)), m_teamB(GetTeam(kSideB))
{
    setObjectName(QStringLiteral("SaveOfficial"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = named(new QScrollArea(this), "ScrollBox1");
    Image1 = named(new QLabel, "Image1");
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1);
}

int TSaveOfficial::Render(int mode)
{
    QString reason;
    try {
        if ((mode != kOfficialSheet && mode != kScoreGraph) || !m_teamA || !m_teamB || !MainForm()) {
            reason = QStringLiteral("nothing to draw");
        } else {
            m_picture = QImage(mode == kOfficialSheet ? kSheetSize : kGraphSize, QImage::Format_RGB32);
            m_picture.fill(Qt::white);
            bool drawn = true;
            {
                platform::Canvas canvas(&m_picture);
                if (mode == kScoreGraph)
                    DrawScoreGraph(canvas);
                else
                    drawn = DrawOfficialSheet(canvas);
            }
            if (!drawn) {
                reason = QStringLiteral("no score sheets");
            } else {
                Image1->setPixmap(QPixmap::fromImage(m_picture));
                Image1->adjustSize();
                if (SaveJpeg(reason))
                    return 1;
            }
        }
    } catch (const std::exception& error) {
        reason = QString::fromLocal8Bit(error.what());
    } catch (...) {
        reason = QStringLiteral("unknown error");
    }
    LogSaveFailure(m_fileName, reason);
    return 0;
}

void FitText(platform::Canvas& canvas, const QRect& rect, const QString& text)
{
    const int width = rect.width() - 1;
    const int height = rect.height() - 1;
    auto fitsAt = [&](int size) {
        canvas.Font.Size = size;
        return canvas.TextWidth(text) < width && canvas.TextHeight(text) < height;
    };
    const int current = canvas.Font.Size;
    if (fitsAt(current)) {
        int chosen = current;
        for (int size = current + 1; size <= kLargestFitPoints; ++size) {
            if (!fitsAt(size))
                break;
            chosen = size;
        }
        canvas.Font.Size = chosen;
        return;
    }
    for (int size = current - 1; size >= 2; --size) {
        if (fitsAt(size))
            return;
    }
    canvas.Font.Size = 1;
}

QStringList SplitTeamName(const QString& name, int lines)
{
    const int total = platform::Codec::byteLength(name);
    QStringList parts;
    int start = 0;
    int bytes = 0;
    int index = 0;
    for (int line = 1; line < lines; ++line) {
        const int cut = line * (total / lines);
        while (index < name.size() && bytes < cut) {
            // A surrogate pair is one character: never cut between its halves.
            const int length = name.at(index).isHighSurrogate() && index + 1 < name.size() ? 2 : 1;
            bytes += platform::Codec::byteLength(name.mid(index, length));
            index += length;
        }
        parts << name.mid(start, index - start);
        start = index;
    }
    parts << name.mid(start);
    return parts;
}

bool TSaveOfficial::SaveJpeg(QString& reason) const
{
    // Written beside the target and renamed over it: a failure leaves no half-written picture.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(m_picture)) {
        reason = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

namespace {

QRect shrunk(const QRect& rect)
{
    return rect.adjusted(1, 1, -1, -1);
}

void drawFitted(platform::Canvas& canvas, const QRect& rect, const QString& text, unsigned flags)
{
    FitText(canvas, rect, text);
    canvas.DrawText(rect, text, flags);
}

void drawTeamName(platform::Canvas& canvas, const QRect& rect, const QString& name)
{
    const platform::CanvasBrush brush = canvas.Brush;
    canvas.Brush = platform::CanvasBrush{platform::clWhite, platform::BrushStyle::Solid};
    canvas.FillRect(rect);
    canvas.Brush.Style = platform::BrushStyle::Clear;
    canvas.Font.Size = kTeamNamePoints;
    FitText(canvas, rect, name);
    QStringList lines{name};
    for (int count = 2; count <= 3 && canvas.Font.Size < kTeamNamePoints; ++count) {
        lines = SplitTeamName(name, count);
        canvas.Font.Size = kTeamNamePoints;
        FitText(canvas, rect, lines.first());
    }
    const int h = canvas.TextHeight(name);
    const std::array<int, 3> bandTops{rect.top() + 2, rect.top() + h + 2, rect.top() + 2 * h + 4};
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const QRect band =
            platform::Rect(rect.left(), bandTops[i], rect.left() + rect.width(), bandTops[i] + h);
        drawFitted(canvas, band, lines[i], kLeftAtBottom);
    }
    canvas.Brush = brush;
}

// Paints a sheet through its control's painters at picture cell sizes, without touching the live
// grid; returns the sheet's rectangle.
QRect drawSheet(platform::Canvas& canvas, THooptallyForm* form, const SheetGridControl& control,
                QPoint origin, const std::function<int(int)>& columnWidth, bool sidesOverText)
{
    const int line = control.grid->GridLineWidth();
    std::vector<int> lefts{origin.x()};
    for (int column = 0; column < control.columns; ++column)
        lefts.push_back(lefts.back() + columnWidth(column) + line);
    const int pitch = kSheetCellSize + line;
    canvas.Font.Size = 12;
    canvas.Pen = platform::CanvasPen{platform::clBlack, 1};
    for (int column = 0; column < control.columns; ++column) {
        for (int row = 0; row < control.rows; ++row) {
            const TCell* area = control.SheetGridCellAt(column, row);
            if (!area)
                continue;
            // The cell as the live grid has it: its grid line after it, where the next cell's side
            // falls on the same pixels.
            const QRect cell(lefts[column] + line, origin.y() + row * pitch + line, columnWidth(column),
                             kSheetCellSize);
            QRect bounds = cell;
            control.SheetGridAreaBounds(bounds, column, row, columnWidth, kSheetCellSize);
            const platform::CanvasFont font = canvas.Font;
            const platform::CanvasPen pen = canvas.Pen;
            const platform::CanvasBrush brush = canvas.Brush;
            const platform::TColor back =
                area->kind == kScoreNumberColumn ? kScoreColumnColor : platform::clWindow();
            control.PaintAreaCell(column, row, cell, bounds, canvas, back, sidesOverText);
            const int period = TeamFoulBoxPeriod(form, column, row, &control, control.grid);
            if (period >= 0 && period != kNone)
                control.SheetGridDrawPeriodCross(column, row, &bounds, period, canvas);
            canvas.Font = font;
            canvas.Pen = pen;
            canvas.Brush = brush;
        }
    }
    return QRect(origin, QPoint(lefts.back(), origin.y() + control.rows * pitch));
}

} // namespace

bool TSaveOfficial::DrawOfficialSheet(platform::Canvas& canvas)
{
    THooptallyForm* form = MainForm();
    const TeamGridControls& grids = form->TeamGrids();
    const SheetGridControl* sheetA = grids.Team(kSideA);
    const SheetGridControl* sheetB = grids.Team(kSideB);
    const SheetGridControl* run = grids.Run();
    if (!sheetA || !sheetB || !run || !sheetA->grid || !sheetB->grid || !run->grid)
        return false;
    canvas.Brush.Style = platform::BrushStyle::Clear;
    const int x0 = 10;
    const int x5 = m_picture.width() - kRightMargin;

    canvas.Font.Size = 14;
    const int titleBottom = kGraphTop + canvas.TextHeight(kTitle);
    canvas.DrawText(platform::Rect(x0, kGraphTop, x5, titleBottom), kTitle, kCentredAtBottom);

    // The game information block.
    const int y0 = titleBottom + 1;
    canvas.Font.Size = 14;
    const int h14 = canvas.TextHeight(QStringLiteral("Referee"));
    canvas.Font.Size = 11;
    const int a = h14 + canvas.TextHeight(kFiveWideName);
    canvas.Font.Size = 12;
    const int x1 = x0 + canvas.TextWidth(QStringLiteral(" 大会名 ")) + 2;
    const int x2 = x1 + canvas.TextWidth(QStringLiteral(" 2007年12月25日 23:55 ")) + 1;
    const int nameWidth = canvas.TextWidth(QLatin1Char(' ') + kFiveWideName + QLatin1Char(' '));
    const int x4 = x5 - nameWidth - 2;
    const int x3 = x4 - nameWidth - 1;
    const std::array<int, 4> ys{y0, y0 + a + 5, y0 + 2 * a + 9, y0 + 3 * a + 13};
    const int y3 = ys[3];

    canvas.Pen = platform::CanvasPen{platform::clBlack, 2};
    canvas.Rectangle(platform::Rect(x0, y0, x5, y3));
    canvas.Pen.Width = 1;
    for (const int y : {ys[1], ys[2]}) {
        drawLine(canvas, {x0, y}, {x2, y});
        drawLine(canvas, {x3, y}, {x5, y});
    }
    for (const int x : {x1, x2, x3, x4})
        drawLine(canvas, {x, y0}, {x, y3});

    QStringList info;
    GetGameInfoLines(info);
    info.resize(4);
    canvas.Font.Size = 12;
    const QRect firstLabel = shrunk(platform::Rect(x0 + 2, y0 + 2, x1 - 1, ys[1]));
    drawFitted(canvas, firstLabel, QStringLiteral("大会名"), kCentredAtBottom);
    const int labelSize = canvas.Font.Size;
    const std::array<QString, 3> labels{QString(), QStringLiteral("No.") + info[2], QStringLiteral("場所")};
    const std::array<QString, 3> values{info[0], info[3], info[1]};
    for (int row = 0; row < 3; ++row) {
        const int top = row == 0 ? y0 : ys[row] + 1;
        if (row > 0) {
            canvas.Font.Size = labelSize;
            canvas.DrawText(shrunk(platform::Rect(x0, top, x1, ys[row + 1])), labels[row], kCentredAtBottom);
        }
        canvas.Font.Size = 12;
        drawFitted(canvas, shrunk(platform::Rect(x1 + 1, top, x2 - 1, ys[row + 1])), values[row],
                   kCentredAtBottom);
    }

    QStringList officials;
    GetOfficialsLines(officials);
    officials.resize(6);
    static const std::array<QString, 6> captions{
        QStringLiteral("Referee:"),       QStringLiteral("Umpire:"),     QStringLiteral("Scorekeeper:"),
        QStringLiteral("A.Scorekeeper:"), QStringLiteral("Timekeeper:"), QStringLiteral("24'Operator:")};
    for (int i = 0; i < 6; ++i) {
        const int left = i < 3 ? x3 : x4;
        const int right = i < 3 ? x4 : x5;
        const QRect cell = shrunk(platform::Rect(left + 1, ys[i % 3] + 1, right - 1, ys[i % 3 + 1]));
        canvas.Font.Size = 7;
        canvas.DrawText(cell, captions[i], platform::DT_SINGLELINE);
        canvas.Font.Size = 11;
        canvas.DrawText(cell, officials[i], kCentredAtBottom);
    }

    // The period scores, centred in the middle column.
    canvas.Font.Size = 10;
    const int w = canvas.TextWidth(kPeriodScoreSample);
    const int h = canvas.TextHeight(kPeriodScoreSample);
    const int c = x2 + (x3 - x2) / 2;
    const int scoreLeft = c - w / 2;
    const int scoreRight = scoreLeft + w;
    QStringList periodScores;
    for (const QLabel* label : {form->LaCount1st, form->LaCount2nd, form->LaCount3rd, form->LaCount4th,
                                form->LaCountOT1, form->LaCountOT2}) {
        if (!label || label->isHidden())
            break;
        periodScores << label->text();
    }
    int scoreTop = y0 + (y3 - y0 - static_cast<int>(periodScores.size()) * (h + 2)) / 2;
    for (const QString& score : periodScores) {
        canvas.Font.Size = 10;
        drawFitted(canvas, shrunk(platform::Rect(scoreLeft, scoreTop, scoreRight, scoreTop + h)), score,
                   kCentredAtBottom);
        scoreTop += h + 2;
    }

    canvas.Font.Size = 9;
    const QString teamA = QStringLiteral("TeamA");
    const int tw = canvas.TextWidth(teamA);
    const int th = canvas.TextHeight(teamA);
    drawFitted(canvas, shrunk(platform::Rect(x2 + 1, y0 + 1, x2 + 1 + tw, y0 + 1 + th)), teamA,
               kLeftAtBottom);
    canvas.Font.Size = 9;
    drawFitted(canvas, shrunk(platform::Rect(x3 - 1 - tw, y0 + 1, x3 - 1, y0 + 1 + th)),
               QStringLiteral("TeamB"), kRightAtBottom);

    canvas.Font.Size = 22;
    const QString totalA = form->TeamATotalCnt ? form->TeamATotalCnt->text() : QString();
    const QString totalB = form->TeamBTotalCnt ? form->TeamBTotalCnt->text() : QString();
    const int th22 = canvas.TextHeight(totalA);
    const int totalsTop = y3 - th22 - 2;
    drawFitted(canvas, shrunk(platform::Rect(x2, totalsTop, scoreLeft, y3 - 2)), totalA, kCentredAtBottom);
    canvas.Font.Size = 22;
    drawFitted(canvas, shrunk(platform::Rect(scoreRight, totalsTop, x3, y3 - 2)), totalB, kCentredAtBottom);

    drawTeamName(canvas, shrunk(platform::Rect(x2 + 1, y0 + 1 + th, scoreLeft, totalsTop)), m_teamA->name);
    drawTeamName(canvas, shrunk(platform::Rect(scoreRight, y0 + 1 + th, x3 - 1, totalsTop)), m_teamB->name);

    // The sheets: team B's stands 21 pitches and a gap below team A's, the running score beside it.
    const int sheetTop = y3 + kBlockGap + 3;
    const auto teamColumns = [](int) { return kSheetCellSize; };
    const int pitch = kSheetCellSize + sheetA->grid->GridLineWidth();
    drawSheet(canvas, form, *sheetA, {kSheetLeft, sheetTop}, teamColumns, true);
    const QRect sheetRectB =
        drawSheet(canvas, form, *sheetB, {kSheetLeft, sheetTop + kTeamSheetRowsApart * pitch + kBlockGap},
                  teamColumns, true);
    const auto runColumns = [](int column) {
        return IsRunSpacerColumn(column) ? kSpacerWidth : kSheetCellSize;
    };
    drawSheet(canvas, form, *run, {sheetRectB.right() + 3, sheetTop}, runColumns, false);

    canvas.Font.Size = 8;
    const int footerTop = sheetRectB.bottom() + 3;
    canvas.DrawText(platform::Rect(x0, footerTop, x5, footerTop + canvas.TextHeight(kFooter)), kFooter,
                    kCentredAtBottom);
    return true;
}

void TSaveOfficial::DrawScoreGraph(platform::Canvas& canvas)
{
    const int right = m_picture.width() - kRightMargin;
    const int bottom = kGraphTop + kPlotHeight;
    canvas.Font.Size = 12;
    const int cw = canvas.TextWidth(QStringLiteral("100"));
    const int ch = canvas.TextHeight(QStringLiteral("100"));

    const double elapsed = platform::DateTime::daysToSeconds(m_teamA->PeriodElapsed(kAllPeriods));
    const double totalSeconds = elapsed > 0.0 ? elapsed : kFallbackSeconds;
    int highest = std::max(m_teamA->TeamPoints(-1), m_teamB->TeamPoints(-1));
    if (highest == 0)
        highest = kFallbackPoints;
    const double topValue = highest + kGridStep;
    const int x0 = kGraphLeft + cw + 5;
    const double sy = kPlotHeight / topValue;
    const double sx = (right - x0) / totalSeconds;

    canvas.Pen.Width += 2;
    drawLine(canvas, {x0, kGraphTop}, {x0, bottom});
    drawLine(canvas, {x0, bottom}, {right, bottom});
    canvas.Pen.Width -= 2;
    canvas.Pen.Style = platform::PenStyle::Dash;

    for (int value = kGridStep; value <= topValue; value += kGridStep) {
        const int y = pixel(bottom - value * sy);
        drawLine(canvas, {x0, y}, {right, y});
        canvas.DrawText(platform::Rect(kGraphLeft, y - ch, kGraphLeft + cw + 5, y), QString::number(value),
                        kCentredAtBottom);
    }

    canvas.Font.Size = 14;
    canvas.Font.Bold = true;
    int bandTop = 24;
    const int bandHeight = canvas.TextHeight(m_teamA->name);
    for (const TTeam* team : {m_teamA, m_teamB}) {
        canvas.Font.Color = team->color;
        canvas.DrawText(platform::Rect(x0 + 8, bandTop, right, bandTop + bandHeight), team->name,
                        platform::DT_SINGLELINE);
        bandTop += bandHeight + 4;
    }
    canvas.Font.Bold = false;
    canvas.Font.Color = platform::clBlack;

    std::array<Trace, 2> traces{Trace{m_teamA, 0, {x0, bottom}}, Trace{m_teamB, 0, {x0, bottom}}};
    auto xAt = [&](double seconds) { return pixel(x0 + sx * seconds); };
    auto yAt = [&](int score) { return pixel(bottom - score * sy); };
    auto secondsAt = [this](const GameAction& action, int minutes, int seconds) {
        return platform::DateTime::daysToSeconds(m_teamA->ElapsedGameTime(action.period, minutes, seconds));
    };

    for (const auto& entry : MainForm()->PlayLog().Entries()) {
        const GameAction& action = entry->action;
        // Team A's entries are its own; every other side is team B's.
        Trace& trace = action.side == m_teamA->side ? traces[0] : traces[1];
        if (const int points = pointsOf(action)) {
            trace.score += points;
            if (!hasClock(action))
                continue;
            const QPoint next(xAt(secondsAt(action, action.minutes, action.seconds)), yAt(trace.score));
            canvas.Pen.Width += 1;
            canvas.Pen.Style = platform::PenStyle::Solid;
            canvas.Pen.Color = GetTeamColor(trace.team->side);
            drawLine(canvas, trace.position, next);
            canvas.Pen.Width -= 1;
            trace.position = next;
            continue;
        }
        if (action.category != kCommand)
            continue;
        if ((action.command == kPeriodEnd || action.command == kGameEnd) && hasPeriod(action)) {
            const int x = xAt(secondsAt(action, 0, 0));
            canvas.Pen.Width += 1;
            canvas.Pen.Color = platform::clBlack;
            drawLine(canvas, {x, bottom}, {x, kGraphTop});
            canvas.Pen.Width -= 1;
            for (Trace& line : traces) {
                canvas.Pen.Width += 1;
                canvas.Pen.Style = platform::PenStyle::Solid;
                canvas.Pen.Color = GetTeamColor(line.team->side);
                const QPoint end(x, yAt(line.score));
                drawLine(canvas, line.position, end);
                line.position = end;
                canvas.Font.Size = 14;
                canvas.Font.Color = platform::clBlack;
                const int textBottom = end.y() + (ch + 2) / 2;
                canvas.DrawText(platform::Rect(x + 2, textBottom - ch - 2, x + cw + 4, textBottom),
                                platform::Format("%02d", line.score), kCentredAtBottom);
                canvas.Pen.Width -= 1;
            }
        } else if (action.command == kTimeout && hasClock(action)) {
            const double seconds = secondsAt(action, action.minutes, action.seconds);
            const int x = xAt(seconds);
            canvas.Pen.Color = kTimeoutColor;
            canvas.Pen.Width = 1;
            drawLine(canvas, {x, bottom}, {x, kGraphTop});
            const QString text = TimeoutLabel(seconds);
            const int tw = canvas.TextWidth(text);
            const int th = canvas.TextHeight(text);
            const int left = pixel(x0 + sx * seconds - (tw + 2) / 2);
            canvas.DrawText(platform::Rect(left, bottom + 2, left + tw + 2, bottom + th + 2), text,
                            kCentredAtBottom);
        }
    }
}

} // namespace hooptally
