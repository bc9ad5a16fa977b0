#pragma once

#include <QImage>
#include <QRect>
#include <QStringList>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;
class QScrollArea;

namespace platform {
class Canvas;
}

namespace hooptally {

class TTeam;
class THooptallyForm;

// The hidden form that draws the game's pictures into its image and saves them as JPEG files:
// mode 0 the official score sheet, mode 1 the score-over-time graph of the HTML report.
class TSaveOfficial : public QWidget
{
    Q_OBJECT
public:
    enum Mode { kOfficialSheet = 0, kScoreGraph = 1 };
    static constexpr QSize kSheetSize{672, 950};
    static constexpr QSize kGraphSize{640, 480};
    static constexpr int kJpegQuality = 90;

    explicit TSaveOfficial(const QString& fileName);

    // Draws the picture and writes the file: 1 when written, 0 on any failure, which leaves no file
    // behind (an existing one stays as it was) and shows nothing: the caller tells the user.
    int Render(int mode);
    const QImage& Picture() const { return m_picture; }

    QScrollArea* ScrollBox1;
    QLabel* Image1;

private:
    // False when the main window has no score sheets to paint.
    bool DrawOfficialSheet(platform::Canvas& canvas);
    void DrawScoreGraph(platform::Canvas& canvas);
    bool SaveJpeg(QString& reason) const;

    QString m_fileName;
    TTeam* m_teamA; // not owned
    TTeam* m_teamB; // not owned
    QImage m_picture;
};

// Sets the canvas font to the size at which the text fits the rectangle (at most 19 points when it
// grows, at least 1 when it shrinks; a size above 19 that fits stays).
void FitText(platform::Canvas& canvas, const QRect& rect, const QString& text);

// The points after which a team name is cut into `lines` lines: each cut lies at the first
// character boundary at or after its share of the name's Shift-JIS bytes.
QStringList SplitTeamName(const QString& name, int lines);

// The game time of a timeout mark, "mm:ss", rounded to the nearest second.
QString TimeoutLabel(double seconds);

} // namespace hooptally
