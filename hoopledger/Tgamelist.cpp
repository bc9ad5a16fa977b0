#include "hoopledger/Tgamelist.h"

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QFileInfo>

#include "platform/Codec.h"
#include "platform/Convert.h"

namespace hoopledger {

namespace {

const QString kMagic = QStringLiteral("#Hooptally");
const QString kTeamAStart = QStringLiteral("TeamA-Start");
constexpr qsizetype kHeaderLines = 7;
// A game file of a long game is some tens of kilobytes; anything this big is not one.
constexpr qint64 kMaxGameFileBytes = 64LL << 20;

bool dateBefore(const TGame* a, const TGame* b)
{
    return a->date < b->date;
}

// The game of a file that passed the magic test; none when the file cannot be read whole.
std::unique_ptr<TGame> readGame(const QString& path, const QList<QStringView>& lines)
{
    if (lines.size() < kHeaderLines)
        return nullptr;
    // Finite numbers only, so that sorting and the date range always work.
    const auto date = platform::StrToFloat(lines[4].toString());
    const auto time = platform::StrToFloat(lines[5].toString());
    if (!date || !time)
        return nullptr;
    auto game = std::make_unique<TGame>(path);
    game->tournament = lines[2].toString();
    game->place = lines[3].toString();
    game->date = *date;
    game->time = *time;
    // Files of an older format have no game-number line.
    if (lines[6] != kTeamAStart)
        game->gameNumber = lines[6].toString();
    if (game->ReadStats(lines) == TGame::StatsResult::Damaged)
        return nullptr;
    return game;
}

} // namespace

QList<QStringView> SplitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    return lines;
}

TGameList::LoadResult TGameList::AddGameFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return LoadResult::NotAGame;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadResult::Damaged;
    if (file.size() > kMaxGameFileBytes) {
        const QByteArray head = file.read(kMagic.size() + 2);
        const bool magic =
            head.startsWith(kMagic.toLatin1()) &&
            (head.size() == kMagic.size() || head[kMagic.size()] == '\r' || head[kMagic.size()] == '\n');
        return magic ? LoadResult::Damaged : LoadResult::NotAGame;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return LoadResult::Damaged;
    const QString text = platform::Codec::fromCp932(bytes);
    const QList<QStringView> lines = SplitLines(text);
    if (lines.isEmpty() || lines[0] != kMagic)
        return LoadResult::NotAGame;
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
    double seconds = std::round(dayFraction * 86400.0);
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
