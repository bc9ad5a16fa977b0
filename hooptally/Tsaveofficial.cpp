#include "hooptally/Tsaveofficial.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QImageWriter>
#include <QLabel>
#include <QPixmap>
#include <QSaveFile>
#include <QScrollArea>
#include <QVBoxLayout>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tsplaying.h"
#include "hooptally/Tteam.h"
#include "platform/Canvas.h"
#include "platform/Convert.h"

namespace hooptally {

namespace {

constexpr double kSecondsPerDay = 86400.0;
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
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1);
}

int TSaveOfficial::Render(int mode)
{
    try {
        if (mode == kOfficialSheet)
            return RenderOfficialSheet();
        if (mode != kScoreGraph || !m_teamA || !m_teamB || !MainForm())
            return 0;
        m_picture = QImage(kGraphSize, QImage::Format_RGB32);
        m_picture.fill(Qt::white);
        {
            platform::Canvas canvas(&m_picture);
            DrawScoreGraph(canvas);
        }
        Image1->setPixmap(QPixmap::fromImage(m_picture));
        Image1->adjustSize();
        return SaveJpeg() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int TSaveOfficial::RenderOfficialSheet()
{
    // The official score sheet is painted through the sheet grid painters, which are not there yet.
    return 0;
}

bool TSaveOfficial::SaveJpeg() const
{
    // Written beside the target and renamed over it: a failure leaves no half-written picture.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(m_picture)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void TSaveOfficial::DrawScoreGraph(platform::Canvas& canvas)
{
    const int right = m_picture.width() - kRightMargin;
    const int bottom = kGraphTop + kPlotHeight;
    canvas.Font.Size = 12;
    const int cw = canvas.TextWidth(QStringLiteral("100"));
    const int ch = canvas.TextHeight(QStringLiteral("100"));

    const double elapsed = m_teamA->PeriodElapsed(kAllPeriods) * kSecondsPerDay;
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

    // Without any elapsed time there is no time scale to plot the game against.
    if (elapsed <= 0.0)
        return;

    std::array<Trace, 2> traces{Trace{m_teamA, 0, {x0, bottom}}, Trace{m_teamB, 0, {x0, bottom}}};
    auto xAt = [&](double seconds) { return pixel(x0 + sx * seconds); };
    auto yAt = [&](int score) { return pixel(bottom - score * sy); };
    auto secondsAt = [this](const GameAction& action, int minutes, int seconds) {
        return m_teamA->ElapsedGameTime(action.period, minutes, seconds) * kSecondsPerDay;
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
