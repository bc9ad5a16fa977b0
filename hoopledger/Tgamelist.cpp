#include "hoopledger/Tgamelist.h"

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QFileInfo>

#include "gamefile/GameFileFormat.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/StringList.h"

namespace hoopledger {

namespace {

constexpr QByteArrayView kMagic = gamefile::asBytes(gamefile::kMagic);
constexpr QByteArrayView kTeamAStart = gamefile::asBytes(gamefile::kTeamASection.start);
constexpr qsizetype kHeaderLines = gamefile::kHeaderLines;
// A game file of a long game is some tens of kilobytes; anything this big is not one.
constexpr qint64 kMaxGameFileBytes = platform::kMaxReadFileSize;
// The lines of a statistics block of two teams at the bound of entries. A block runs no further, so
// the lines after them are left unsplit: short lines would make a list of millions.
constexpr qsizetype kMaxStatsBlockLines =
    2 + 2 * (gamefile::kStatsFirstEntryLine +
             qsizetype(gamefile::kMaxStatsEntries) * gamefile::kStatsLinesPerPlayer + 1);

bool dateBefore(const TGame* a, const TGame* b)
{
    return a->date < b->date;
}

// Where the scan for the statistics block finds its first line: the first line after the first
// that begins with the marker; -1 when there is none. The bytes of a line end and of "#" are never
// part of a two-byte character, so a match after a line end is a line's beginning.
qsizetype statsBlockStart(QByteArrayView bytes, qsizetype secondLine)
{
    constexpr QByteArrayView marker = gamefile::asBytes(gamefile::kStatsStart);
    for (qsizetype at = bytes.indexOf(marker, secondLine); at >= 0; at = bytes.indexOf(marker, at + 1)) {
        if (at == secondLine || bytes[at - 1] == '\n' || bytes[at - 1] == '\r')
            return at;
    }
    return -1;
}

// The game of a file that passed the magic test; none when the file cannot be read whole.
std::unique_ptr<TGame> readGame(const QString& path, QByteArrayView bytes,
                                const QList<QByteArrayView>& header)
{
    if (header.size() < kHeaderLines)
        return nullptr;
    // Finite numbers only, so that sorting and the date range always work.
    const auto date = platform::StrToFloat(LineText(header[gamefile::kDateLine]));
    const auto time = platform::StrToFloat(LineText(header[gamefile::kTimeOfDayLine]));
    if (!date || !time)
        return nullptr;
    auto game = std::make_unique<TGame>(path);
    game->tournament = LineText(header[gamefile::kTournamentLine]);
    game->place = LineText(header[gamefile::kPlaceLine]);
    game->date = *date;
    game->time = *time;
    // Files of an older format have no game-number line.
    if (header[gamefile::kGameNumberLine] != kTeamAStart)
        game->gameNumber = LineText(header[gamefile::kGameNumberLine]);
    // Only the block is split and decoded: the log before it is most of the file.
    const qsizetype block = statsBlockStart(bytes, header[gamefile::kVersionLine].data() - bytes.data());
    if (block >= 0 &&
        game->ReadStats(SplitLines(bytes.sliced(block), kMaxStatsBlockLines)) == TGame::StatsResult::Damaged)
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
    if (file.size() > kMaxGameFileBytes) {
        const QByteArray head = file.read(kMagic.size() + 2);
        const QList<QByteArrayView> first = SplitLines(head, 1);
        return !first.isEmpty() && isMagic(first[0]) ? LoadResult::Damaged : LoadResult::NotAGame;
    }
    const std::optional<QByteArray> read = platform::readAtMost(file, kMaxGameFileBytes);
    if (!read)
        return LoadResult::Damaged;
    const QByteArray& bytes = *read;
    const QList<QByteArrayView> header = SplitLines(bytes, kHeaderLines);
    if (header.isEmpty() || !isMagic(header[0]))
        return LoadResult::NotAGame;
    std::unique_ptr<TGame> game = readGame(path, bytes, header);
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
