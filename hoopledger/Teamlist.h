#pragma once

#include <memory>
#include <vector>

#include "hoopledger/Tgteam.h"

namespace hoopledger {

// The season teams built from a game list: one per distinct side name.
//
// Teams merged away or deleted leave the list but stay alive until the list is destroyed, so that
// no tree node or grid row that still points at one of them, or at one of its members, dangles.
class TeamList
{
public:
    explicit TeamList(TGameList* games);
    TeamList(const TeamList&) = delete;
    TeamList& operator=(const TeamList&) = delete;

    // By name, ignoring letter case, in the locale's order; stable.
    void SortByName();
    // Team B is merged into team A and leaves the list.
    void MergeTeams(TGTeam* a, TGTeam* b);
    void DeleteTeam(TGTeam* team);
    bool Contains(const TGTeam* team) const;

    int Count() const { return int(m_teams.size()); }
    TGTeam* At(int index) const { return m_teams[index]; }
    auto begin() const { return m_teams.begin(); }
    auto end() const { return m_teams.end(); }

private:
    void build();

    TGameList* m_gameList;
    std::vector<TGTeam*> m_teams;
    std::vector<std::unique_ptr<TGTeam>> m_store;
};

} // namespace hoopledger
