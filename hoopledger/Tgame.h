#pragma once

#include <cstdint>

#include <QByteArrayView>
#include <QList>
#include <QString>

#include "gamefile/GameFileSections.h"
#include "hoopledger/Tteam.h"

namespace hoopledger {

// One loaded game file: its header and the two sides of its statistics block. Created only by
// TGameList::AddGameFile.
class TGame
{
public:
    explicit TGame(const QString& path) : path(path) {}
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    // Reads the whole statistics block that the file's lines hold into the two sides and marks the
    // game as having statistics. False when a playing time is not a finite number: the caller then
    // drops the whole game.
    bool ReadStats(const QList<QByteArrayView>& lines, const gamefile::StatsBlock& block);
    // Side A when its name equals the given one, else side B when its does, else none.
    TGameSide* FindSide(const QString& teamName);

    QString path;
    QString tournament;
    QString place;
    QString gameNumber;
    double date = 0.0; // a day serial
    double time = 0.0; // its fraction is the time of day
    TGameSide sideA;
    TGameSide sideB;
    std::uint8_t hasStats = 0;
    std::uint8_t enabled = 1;
};

// The lines of a file's CP932 bytes, split as the programs read files: at CRLF, LF or CR (bytes that
// are never part of a two-byte character), no empty last line; at most maxLines when it is not -1.
QList<QByteArrayView> SplitLines(QByteArrayView bytes, qsizetype maxLines = -1);
// One line's text. The loader decodes only the lines it keeps, not the whole file.
QString LineText(QByteArrayView line);

} // namespace hoopledger
