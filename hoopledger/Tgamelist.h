#pragma once

#include <memory>
#include <vector>

#include <QString>

#include "hoopledger/Tgame.h"

namespace hoopledger {

// A list of games in a chosen order. The main window's list owns the games it loaded (AddGameFile,
// released by FreeGames); a season team's list refers to those same games.
class TGameList
{
public:
    TGameList() = default;
    TGameList(const TGameList&) = delete;
    TGameList& operator=(const TGameList&) = delete;

    enum class LoadResult {
        Added,
        NotAGame, // no file there, or its first line is not the magic: skipped without a word
        Damaged,  // a game file that cannot be read whole or that the scoring program refuses: skipped,
                  // and the user is told
    };
    // Loads one game file and appends the game; nothing is appended unless the whole file was read.
    LoadResult AddGameFile(const QString& path);
    void FreeGames();

    void Append(TGame* game) { m_games.push_back(game); }
    // Where a sort by date puts it: after the games of the same date.
    void InsertByDate(TGame* game);
    void SortByDate(); // stable: games of one date keep their order

    int Count() const { return int(m_games.size()); }
    TGame* At(int index) const { return m_games[index]; }
    auto begin() const { return m_games.begin(); }
    auto end() const { return m_games.end(); }

private:
    std::vector<TGame*> m_games;
    std::vector<std::unique_ptr<TGame>> m_owned;
};

int PeriodCount();
// Hours, minutes and seconds of a day fraction, "%02d:%02d:%02d", rounded to the second (a time
// written with 15 digits lies a hair below the whole second it stands for); hours go past 24.
QString FormatPlayTime(double dayFraction);

} // namespace hoopledger
