#include "hoopledger/Tgteam.h"

#include <QHash>

namespace hoopledger {

void TGTeam::AddGame(TGame* game)
{
    m_games.InsertByDate(game);
}

void TGTeam::AddSideMembers(const TGameSide& side)
{
    bool added = false;
    for (const TStatPlayer* player : side.Players())
        added = m_members.AddMember(*player) || added;
    // The list is kept sorted: a stable sort of it changes nothing unless something was added.
    if (added)
        m_members.Sort();
}

void TGTeam::AddMembersOf(const TGTeam& other)
{
    if (&other == this)
        return;
    for (const TStatPlayer* member : other.Members())
        m_members.AddMember(*member);
    m_members.Sort();
}

void TGTeam::MergePlayer(const TStatPlayer& a, const TStatPlayer& b)
{
    if (&a == &b)
        return;
    // A copy: `a` may be the very entry of a side that is changed below.
    const TStatPlayer target = a;
    for (const TTeamGame& listing : Listings()) {
        if (!listing.us)
            continue;
        if (TStatPlayer* entry = listing.us->Players().FindMember(b))
            entry->SetIdentity(target.number, target.name, kIdentityKind, target.starter, target.position);
    }
    m_members.DeleteMember(b);
}

void TGTeam::Rename(const QString& newName)
{
    // Looked up by the old name each time, so a game that stands twice renames side A, then side B.
    for (TGame* game : m_games) {
        if (TGameSide* side = game->FindSide(m_name))
            side->SetName(newName);
    }
    m_name = newName;
}

std::vector<TTeamGame> TGTeam::Listings() const
{
    std::vector<TTeamGame> listings;
    listings.reserve(m_games.Count());
    QHash<const TGame*, int> seen;
    for (TGame* game : m_games) {
        const int occurrence = seen[game]++;
        TTeamGame listing{game, nullptr, nullptr};
        const bool aIsOurs = game->sideA.GetName() == m_name;
        const bool bIsOurs = game->sideB.GetName() == m_name;
        if (aIsOurs && (occurrence == 0 || !bIsOurs))
            listing = {game, &game->sideA, &game->sideB};
        else if (bIsOurs)
            listing = {game, &game->sideB, &game->sideA};
        listings.push_back(listing);
    }
    return listings;
}

} // namespace hoopledger
