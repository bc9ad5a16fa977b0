#include "hooptally/Tmember.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_set>

#include <QFileInfo>

#include "gamefile/GameFileFormat.h"
#include "hooptally/Common.h"
#include "hooptally/TPlayerExec.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tgridctrl.h"
#include "platform/Codec.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/StringList.h"

namespace hooptally {

namespace {

const QString kRosterMagic = QStringLiteral("#Hooproster");
// The team sections of game files hold the same lines.
constexpr int kRosterFields = gamefile::kTeamLineFields;
constexpr int kRequiredFields = 5;

// A player's sort key, taken once per sort. Jersey numbers order by their length in CP932 bytes, then
// byte by byte as unsigned ("4" before "10"). `head` holds the length and the first six bytes, so that
// most comparisons are one of two integers; longer numbers with equal heads compare their bytes.
struct SortKey
{
    explicit SortKey(const TPlayer& player)
        : number(platform::Codec::toCp932(player.number)), status(player.status), coach(player.IsCoach())
    {
        head = std::uint64_t(std::min<qsizetype>(number.size(), 0xFFFF)) << 48;
        for (qsizetype i = 0; i < 6 && i < number.size(); ++i)
            head |= std::uint64_t(std::uint8_t(number[i])) << (40 - 8 * i);
    }

    int compareNumber(const SortKey& other) const
    {
        if (head != other.head)
            return head < other.head ? -1 : 1;
        if (number.size() <= 6)
            return 0;
        if (number.size() != other.number.size())
            return number.size() < other.number.size() ? -1 : 1;
        return std::memcmp(number.constData(), other.number.constData(), std::size_t(number.size()));
    }

    QByteArray number;
    std::uint64_t head = 0;
    std::uint8_t status;
    bool coach;
};

// The fields of a line, split at every comma; an empty field after the last comma is dropped.
void splitFields(QStringView rest, QStringList& fields)
{
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma < 0) {
            fields << rest.toString();
            break;
        }
        fields << rest.left(comma).toString();
        rest = rest.mid(comma + 1);
    }
}

bool outOfOrder(const SortKey& reference, const SortKey& next, SortMode mode)
{
    if (mode == SortMode::ByStatus) {
        if (reference.status != next.status)
            return reference.status > next.status;
        return reference.compareNumber(next) > 0;
    }
    return !next.coach && reference.compareNumber(next) > 0;
}

using KeyedPlayers = std::vector<std::pair<SortKey, std::unique_ptr<TPlayer>>>;

// Exchange passes until one changes nothing, so equal keys keep their order. After an exchange the pass
// goes on comparing with the player that moved down, which decides the order where the test is no
// order (a coach is never passed, so players behind him stay there): kept as it is.
void exchangePasses(KeyedPlayers& keyed, SortMode mode)
{
    bool exchanged = keyed.size() > 1;
    while (exchanged) {
        exchanged = false;
        std::size_t reference = 0;
        for (std::size_t i = 1; i < keyed.size(); ++i) {
            if (outOfOrder(keyed[reference].first, keyed[i].first, mode)) {
                std::swap(keyed[i], keyed[i - 1]);
                exchanged = true;
                reference = i - 1;
            } else {
                reference = i;
            }
        }
    }
}

} // namespace

// The IDs a roster uses. The smallest free one only grows while IDs are taken, so giving IDs to a
// whole file is linear.
class RosterIds
{
public:
    explicit RosterIds(const std::vector<std::unique_ptr<TPlayer>>& players)
    {
        for (const auto& player : players)
            m_used.insert(player->id);
    }
    // The wanted ID when it is positive and free, else the smallest free one; taken either way.
    int take(int wanted)
    {
        const int id = wanted > 0 && !m_used.contains(wanted) ? wanted : smallestFree();
        m_used.insert(id);
        return id;
    }
    int smallestFree()
    {
        while (m_used.contains(m_next))
            ++m_next;
        return m_next;
    }

private:
    std::unordered_set<int> m_used;
    int m_next = 1;
};

TMemberList::~TMemberList() = default;

void TMemberList::ClearPlayers()
{
    m_players.clear();
}

bool TMemberList::RemovePlayer(const TPlayer* player)
{
    const auto it = std::find_if(m_players.begin(), m_players.end(),
                                 [player](const auto& owned) { return owned.get() == player; });
    if (it == m_players.end())
        return false;
    m_players.erase(it);
    return true;
}

TPlayer* TMemberList::AddPlayer(std::unique_ptr<TPlayer> player)
{
    if (player->id == 0)
        player->id = NextFreePlayerId();
    m_players.push_back(std::move(player));
    return m_players.back().get();
}

int TMemberList::NextFreePlayerId() const
{
    return RosterIds(m_players).smallestFree();
}

void TMemberList::SortPlayers(SortMode mode)
{
    // Each key is taken once.
    KeyedPlayers keyed;
    keyed.reserve(m_players.size());
    for (auto& player : m_players)
        keyed.emplace_back(SortKey(*player), std::move(player));
    if (mode == SortMode::ByStatus) {
        // A strict weak order: the exchange passes would end in the stable sort.
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
            return outOfOrder(b.first, a.first, SortMode::ByStatus);
        });
    } else {
        exchangePasses(keyed, mode);
    }
    for (std::size_t i = 0; i < keyed.size(); ++i)
        m_players[i] = std::move(keyed[i].second);
}

void TMemberList::OpenPlayer(TPlayer* player)
{
    if (!player)
        return;
    if (player->status == kBlankRow) {
        PostGameAction(kPlayerAction, kEditPlayer, player, kNone, kNone, kNone);
        return;
    }
    const KeyInputOff keysOff;
    TPlayerExec dialog(player);
    platform::dialogs().showModal(dialog);
}

TPlayer* TMemberList::PlayerAt(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_players[index].get();
}

TPlayer* TMemberList::FindPlayerById(int id) const
{
    for (const auto& player : m_players) {
        if (player->id == id && player->status != kBlankRow)
            return player.get();
    }
    return nullptr;
}

bool TMemberList::HasNoBlankRow() const
{
    return std::none_of(m_players.begin(), m_players.end(),
                        [](const auto& player) { return player->status == kBlankRow; });
}

int TMemberList::TeamPoints(int period) const
{
    int points = 0;
    for (const auto& player : m_players)
        points += player->StatValue(period, kPointsStat, true);
    return points;
}

int TMemberList::CountOnCourt() const
{
    return static_cast<int>(std::count_if(m_players.begin(), m_players.end(),
                                          [](const auto& player) { return player->status == kOnCourt; }));
}

int TMemberList::IndexOf(const TPlayer* player) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_players[i].get() == player)
            return i;
    }
    return -1;
}

RosterSaveResult TMemberList::SaveRoster(const QString& path, QString* reason)
{
    if (QFileInfo::exists(path) &&
        platform::dialogs().messageBox(kAskOverwrite, kCaption, platform::Buttons::YesNo) != platform::mrYes)
        return RosterSaveResult::Declined;
    platform::StringList lines;
    lines << kRosterMagic;
    for (const auto& player : m_players) {
        if (player->status == kBlankRow)
            continue;
        lines << QStringList{name,
                             QString::number(player->id),
                             player->number,
                             player->name,
                             player->position,
                             player->StarterText(),
                             player->CoachText(),
                             OfficialTextOfPlayer(player.get(), owningTeam())}
                     .join(QLatin1Char(','));
    }
    // A file no team read would take again is not written.
    QString refusal;
    const QByteArray bytes = platform::Codec::toCp932(lines.text());
    if (lines.size() - 1 > gamefile::kMaxTeamLines)
        refusal = TooManyMembersText();
    else
        refusal = BytesBoundText(bytes, gamefile::kMaxMemberFileBytes);
    if (!refusal.isEmpty()) {
        if (reason)
            *reason = refusal;
        return RosterSaveResult::Failed;
    }
    if (!platform::writeFileAtomically(path, bytes, reason))
        return RosterSaveResult::Failed;
    filePath = path;
    return RosterSaveResult::Written;
}

bool IsRosterText(const QStringList& lines, QString* refusal)
{
    if (lines.isEmpty() || lines[0] != kRosterMagic)
        return false;
    // Every line after the header may be a member.
    if (lines.size() - 1 <= gamefile::kMaxTeamLines)
        return true;
    if (refusal)
        *refusal = TooManyMembersText();
    return false;
}

QString TooManyMembersText()
{
    return QStringLiteral("メンバーが上限（1 チーム %1 人）を超えています").arg(gamefile::kMaxTeamLines);
}

bool TMemberList::LoadRosterLines(const QStringList& lines)
{
    const bool roster = !lines.isEmpty() && lines[0] == kRosterMagic;
    // The lines after the header are a team section's; read or not, the roster is cleared.
    LoadTeamLines(roster ? std::span<const QString>(lines).subspan(1) : std::span<const QString>());
    return roster && lines.size() > 1;
}

void TMemberList::LoadTeamLines(std::span<const QString> lines)
{
    loaded = 1;
    ClearPlayers();
    RosterIds ids(m_players);
    for (const QString& line : lines)
        parseRosterLine(line, ids);
}

void TMemberList::parseRosterLine(const QString& line, RosterIds& ids)
{
    QStringList fields;
    // A team name may begin with "#": a line of all eight fields, as the writer writes every record,
    // is a record all the same and no comment.
    if (line.count(QLatin1Char(',')) >= kRosterFields - 1)
        splitFields(line, fields);
    else
        SplitCommaLine(line, fields);
    // The number, name and position are needed; a shorter line is damaged and left out.
    if (fields.size() < kRequiredFields)
        return;
    name = fields[0];
    std::uint8_t status = kNotListed;
    std::uint8_t starter = 0;
    if (fields.size() >= 6 && fields[5] == gamefile::kStarterText) {
        starter = 1;
        status = kOnCourt;
    }
    if (fields.size() >= 7 && fields[6] == gamefile::kCoachText)
        status = fields[4] == kHeadCoachText ? kHeadCoach : kAssistantCoach;
    auto player = std::make_unique<TPlayer>(owningTeam());
    // A player ID must name one player of the team: a missing or taken one gets the smallest free.
    player->id = ids.take(platform::StrToIntDef(fields[1], 0));
    if (fields.size() >= kRosterFields && fields[7] == gamefile::kOfficialText)
        player->official = 1;
    player->SetPlayerIdentity(fields[2], fields[3], status, starter, fields[4]);
    AddPlayer(std::move(player));
}

void SplitCommaLine(const QString& line, QStringList& fields)
{
    if (line.startsWith(QLatin1Char('#')))
        return;
    splitFields(line, fields);
}

} // namespace hooptally
