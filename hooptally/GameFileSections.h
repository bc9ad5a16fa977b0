#pragma once

#include <optional>

#include <QString>
#include <QStringList>

namespace hooptally {

// The parts of a game file, taken in the order the writer puts them: the header, the officials, team A,
// team B, the options, the period length, the log, the commentary and the statistics block. Texts the
// user typed (names, officials, commentary) are never taken for section markers, so they read back as
// typed. Files of older writers, without game number and officials or without commentary, read too.
struct GameFileSections
{
    bool magic = false;  // line 1 begins with the magic
    bool header = false; // lines 3 to 6 hold the tournament, the place, the date and the time
    QString tournament;
    QString place;
    QString date;
    QString time;
    QString gameNumber; // empty in files written without one
    // Each section's lines between its markers; nothing when the file has no such section.
    std::optional<QStringList> officials;
    std::optional<QStringList> teamA;
    std::optional<QStringList> teamB;
    std::optional<QStringList> options;
    std::optional<QStringList> periodTime;
    std::optional<QStringList> log;
    std::optional<QStringList> commentary;
    // The most entries one team of the whole statistics block has; 0 without a block.
    qsizetype statsEntries = 0;
    // A file of the current writer that ends before the end of its log: a log without its end marker,
    // or none, and neither commentary nor a whole statistics block after it. The writer always writes
    // every section up to the log, closes it and adds the statistics block, so the file was cut short.
    bool cutShort = false;

    static GameFileSections split(const QStringList& lines);

    // Which bound of what one file may hold the file is past, as the user is told; empty when it is
    // within them all. The reader refuses such a file and the writer never writes one.
    QString pastBound() const;
};

} // namespace hooptally
