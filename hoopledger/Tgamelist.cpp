#include "hoopledger/Tgamelist.h"

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QFileInfo>

#include "gamefile/GameFileFormat.h"
#include "gamefile/GameFileSections.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/StringList.h"

namespace hoopledger {

namespace {

constexpr QByteArrayView kMagic = gamefile::asBytes(gamefile::kMagic);
constexpr qsizetype kHeaderLines = gamefile::kHeaderLines;

bool dateBefore(const TGame* a, const TGame* b)
{
    return a->date < b->date;
}

// The game of a file that passed the magic test; none when the scoring program would refuse the file
// or it cannot be read whole.
std::unique_ptr<TGame> readGame(const QString& path, const QList<QByteArrayView>& lines)
{
    if (lines.size() < kHeaderLines)
        return nullptr;
    // Finite numbers only, so that sorting and the date range always work.
    const auto date = platform::StrToFloat(LineText(lines[gamefile::kDateLine]));
    const auto time = platform::StrToFloat(LineText(lines[gamefile::kTimeOfDayLine]));
    if (!date || !time)
        return nullptr;
    const auto sections = gamefile::GameFileSections::split(lines);
    if (sections.pastBound() != gamefile::Bound::None || sections.statsCut())
        return nullptr;
    auto game = std::make_unique<TGame>(path);
    game->tournament = LineText(lines[gamefile::kTournamentLine]);
    game->place = LineText(lines[gamefile::kPlaceLine]);
    game->date = *date;
    game->time = *time;
    if (sections.gameNumber)
        game->gameNumber = LineText(lines[gamefile::kGameNumberLine]);
    if (sections.stats && !game->ReadStats(lines, *sections.stats))
        return nullptr;
    return game;
}

bool isMagic(QByteArrayView firstLine)
{
    return firstLine == kMagic;
}

} // namespace

TGameList::LoadResult TGameList::AddGameFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return LoadResult::NotAGame;
    // A pipe or a device is named with the files that cannot be read; opening it must not wait.
    QFile file;
    if (!platform::openRegularFile(file, path))
        return LoadResult::Damaged;
    // A game file past the bound is one the scoring program refuses: named, and not read.
    if (file.size() > gamefile::kMaxGameFileBytes) {
        const QByteArray head = file.read(kMagic.size() + 2);
        const QList<QByteArrayView> first = SplitLines(head, 1);
        return !first.isEmpty() && isMagic(first[gamefile::kMagicLine]) ? LoadResult::Damaged
                                                                        : LoadResult::NotAGame;
    }
    const std::optional<QByteArray> read = platform::readAtMost(file, gamefile::kMaxGameFileBytes);
    if (!read)
        return LoadResult::Damaged;
    const QList<QByteArrayView> lines = SplitLines(*read);
    if (lines.isEmpty() || !isMagic(lines[gamefile::kMagicLine]))
        return LoadResult::NotAGame;
    if (gamefile::longestLine(*read) > gamefile::kMaxLineBytes)
        return LoadResult::Damaged;
    std::unique_ptr<TGame> game = readGame(path, lines);
    if (!game)
        return LoadResult::Damaged;
    m_games.push_back(game.get());
    m_owned.push_back(std::move(game));
    return LoadResult::Added;
}

void TGameList::FreeGames()
{
    m_games.clear();
    m_owned.clear();
}

void TGameList::InsertByDate(TGame* game)
{
    m_games.insert(std::upper_bound(m_games.begin(), m_games.end(), game, dateBefore), game);
}

void TGameList::SortByDate()
{
    std::stable_sort(m_games.begin(), m_games.end(), dateBefore);
}

int PeriodCount()
{
    return kPeriodCount;
}

QString FormatPlayTime(double dayFraction)
{
    // Beyond this a total is garbage from a damaged file; it still must not overflow.
    constexpr double kMaxSeconds = 1e15;
    double seconds = std::round(platform::DateTime::daysToSeconds(dayFraction));
    if (!std::isfinite(seconds) || std::fabs(seconds) > kMaxSeconds)
        seconds = std::copysign(kMaxSeconds, std::isnan(seconds) ? 1.0 : seconds);
    qint64 total = qint64(seconds);
    const QString sign = total < 0 ? QStringLiteral("-") : QString();
    total = std::abs(total);
    return sign + QStringLiteral("%1:%2:%3")
                      .arg(total / 3600, 2, 10, QLatin1Char('0'))
                      .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
                      .arg(total % 60, 2, 10, QLatin1Char('0'));
}

} // namespace hoopledger
