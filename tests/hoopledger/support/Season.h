#pragma once

#include <cstdint>

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

namespace hoopledger::testing {

// One game recorded with the scoring program's own code: both rosters (starters are on court from
// the period's start), the plays, then a period end at 0:00 of the first period, all with 10-minute
// periods. A starter who stays on court plays 10:00; a substitution at 5:00 gives 5:00 each.
struct GamePlan
{
    struct Player
    {
        QString number;
        QString name;
        bool starter = true;
    };
    struct Play
    {
        int minutes;
        int seconds;
        int side;  // 1 team A, 2 team B
        int index; // into that side's players
        std::uint8_t code;
        std::uint8_t foulKind = 255;
        std::uint8_t freeThrows = 255;
    };

    QString tournament;
    QString place;
    QDate date;
    QTime time;
    QString teamA;
    QString teamB;
    QList<Player> playersA;
    QList<Player> playersB;
    QList<Play> plays;
};

// Records the game through the scoring program's action path and saves it with its game-file writer.
// Must not run while a statistics program fixture lives (the scoring program installs its own dialogs).
void writeRecordedGame(const QString& path, const GamePlan& plan);

// Five games between four teams in May and June 2024, whose views the tests work out by hand.
QList<GamePlan> sampleSeason();
// Writes the sample season into the folder as g1.game to g5.game.
void writeSampleSeason(const QString& folder);
inline const QString kTokyo = QStringLiteral("東京ホークス");
inline const QString kOsaka = QStringLiteral("Osaka Bears");
inline const QString kNagoya = QStringLiteral("名古屋ドルフィンズ");
inline const QString kKobe = QStringLiteral("Kobe Stars");

} // namespace hoopledger::testing
