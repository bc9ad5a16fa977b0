#include "hoopledger/Teamlist.h"

#include <algorithm>

#include <QCollator>
#include <QHash>

namespace hoopledger {

TeamList::TeamList(TGameList* games) : m_gameList(games)
{
    build();
}

void TeamList::build()
{
    m_teams.clear();
    if (!m_gameList)
        return;
    // Names are unique while the list is built, so a look-up by name finds what a scan would.
    QHash<QString, TGTeam*> byName;
    for (TGame* game : *m_gameList) {
        for (const TGameSide* side : {&game->sideA, &game->sideB}) {
            TGTeam*& team = byName[side->GetName()];
            if (team) {
                team->AddGame(game);
                team->AddSideMembers(*side);
                continue;
            }
            m_store.push_back(std::make_unique<TGTeam>(*side));
            team = m_store.back().get();
            team->AddSideMembers(*side);
            team->AddGame(game);
            m_teams.push_back(team);
        }
    }
}

void TeamList::SortByName()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Compared, not sort keys: the keys of the C locale ignore the case setting.
    std::stable_sort(m_teams.begin(), m_teams.end(), [&collator](const TGTeam* a, const TGTeam* b) {
        return collator.compare(a->GetName(), b->GetName()) < 0;
    });
}

bool TeamList::Contains(const TGTeam* team) const
{
    return std::find(m_teams.begin(), m_teams.end(), team) != m_teams.end();
}

void TeamList::MergeTeams(TGTeam* a, TGTeam* b)
{
    // Merging a team into itself would add to the list it walks.
    if (a == b || !Contains(a) || !Contains(b))
        return;
    const QString oldName = b->GetName();
    for (TGame* game : b->Games()) {
        for (TGameSide* side : {&game->sideA, &game->sideB}) {
            if (side->GetName() == oldName)
                side->SetName(a->GetName());
        }
        a->AddGame(game);
    }
    a->AddMembersOf(*b);
    m_teams.erase(std::find(m_teams.begin(), m_teams.end(), b));
}

void TeamList::DeleteTeam(TGTeam* team)
{
    const auto it = std::find(m_teams.begin(), m_teams.end(), team);
    if (it != m_teams.end())
        m_teams.erase(it);
}

} // namespace hoopledger
