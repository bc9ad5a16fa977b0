#pragma once

#include <vector>

#include <QString>

#include "hoopledger/Tgamelist.h"
#include "hoopledger/Tmemlist.h"

namespace hoopledger {

// One listing of a game in a season team's game list, with the side the team played on.
struct TTeamGame
{
    TGame* game = nullptr;
    TGameSide* us = nullptr; // none when no side carries the team's name
    TGameSide* them = nullptr;
};

// A season team: every game in which a side carries its name (not owned), and its members, which
// are identity copies of the players of those sides.
class TGTeam
{
public:
    explicit TGTeam(const TGameSide& side) : m_name(side.GetName()) {}
    TGTeam(const TGTeam&) = delete;
    TGTeam& operator=(const TGTeam&) = delete;

    const QString& GetName() const { return m_name; }
    TGameList& Games() { return m_games; }
    const TGameList& Games() const { return m_games; }
    TMemList& Members() { return m_members; }
    const TMemList& Members() const { return m_members; }

    void AddGame(TGame* game); // kept in date order
    void AddSideMembers(const TGameSide& side);
    void AddMembersOf(const TGTeam& other);
    // Player B's entries in the team's games take player A's identity; B leaves the members.
    void MergePlayer(const TStatPlayer& a, const TStatPlayer& b);
    void Rename(const QString& newName);

    // The game list with the team's own side of each game. A game whose two sides both carry the
    // team's name stands twice in the list: its first listing is side A, its second side B.
    std::vector<TTeamGame> Listings() const;

private:
    QString m_name;
    TGameList m_games;
    TMemList m_members;
};

} // namespace hoopledger
