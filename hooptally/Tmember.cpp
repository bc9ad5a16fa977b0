#include "hooptally/Tmember.h"

#include <algorithm>

#include <QFileInfo>

#include "hooptally/Common.h"
#include "hooptally/GameFileFormat.h"
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

// Jersey numbers order by their length in bytes, then byte by byte ("4" before "10").
int compareNumbers(const QString& a, const QString& b)
{
    const int lengthA = platform::Codec::byteLength(a);
    const int lengthB = platform::Codec::byteLength(b);
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    return platform::Codec::compareBytes(a, b);
}

bool outOfOrder(const TPlayer& reference, const TPlayer& next, int mode)
{
    if (mode == 0) {
        if (reference.status != next.status)
            return reference.status > next.status;
        return compareNumbers(reference.number, next.number) > 0;
    }
    return !next.IsCoach() && compareNumbers(reference.number, next.number) > 0;
}

} // namespace

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
    for (int candidate = 1;; ++candidate) {
        if (!FindPlayerById(candidate))
            return candidate;
    }
}

void TMemberList::SortPlayers(int mode)
{
    // Exchange passes until one changes nothing: equal keys keep their order.
    bool exchanged = m_players.size() > 1;
    while (exchanged) {
        exchanged = false;
        TPlayer* reference = m_players[0].get();
        for (std::size_t i = 1; i < m_players.size(); ++i) {
            TPlayer* next = m_players[i].get();
            if (outOfOrder(*reference, *next, mode)) {
                std::swap(m_players[i], m_players[i - 1]);
                exchanged = true;
            }
            reference = next;
        }
    }
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
        if (player->id == id)
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

RosterSaveResult TMemberList::SaveRoster(const QString& path)
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
    if (!lines.saveToFile(path))
        return RosterSaveResult::Failed;
    filePath = path;
    return RosterSaveResult::Written;
}

bool TMemberList::LoadRoster(const QString& path, const QString& prefix)
{
    filePath = path;
    platform::StringList lines;
    if (!lines.loadFromFile(path))
        return false;
    loaded = 1;
    ClearPlayers();
    if (lines.isEmpty())
        return false;
    bool read = false;
    if (lines[0] == gamefile::kMagic) {
        const QString start = prefix + gamefile::kStartTag;
        const QString end = prefix + gamefile::kEndTag;
        bool inSection = false;
        for (int i = 1; i < lines.size(); ++i) {
            if (!inSection) {
                inSection = lines[i].startsWith(start);
                continue;
            }
            read = true;
            if (lines[i].startsWith(end))
                break;
            ParseRosterLine(lines[i]);
        }
    } else if (lines[0] == kRosterMagic) {
        for (int i = 1; i < lines.size(); ++i) {
            ParseRosterLine(lines[i]);
            read = true;
        }
    }
    return read;
}

void TMemberList::ParseRosterLine(const QString& line)
{
    QStringList fields;
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
    player->id = std::max(0, platform::StrToIntDef(fields[1], 0));
    // A player ID must name one player of the team.
    if (player->id != 0 && FindPlayerById(player->id))
        player->id = 0;
    if (fields.size() >= kRosterFields && fields[7] == gamefile::kOfficialText)
        player->official = 1;
    player->SetPlayerIdentity(fields[2], fields[3], status, starter, fields[4]);
    AddPlayer(std::move(player));
}

void SplitCommaLine(const QString& line, QStringList& fields)
{
    if (line.startsWith(QLatin1Char('#')))
        return;
    QStringView rest(line);
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

} // namespace hooptally
