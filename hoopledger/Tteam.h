#pragma once

#include <memory>

#include <QString>

#include "hoopledger/Tmemlist.h"

namespace hoopledger {

// One team as it played one game: the name of its block in the game file and its players, which
// the side owns.
class TGameSide
{
public:
    const QString& GetName() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    const TMemList& Players() const { return m_players; }

    // A player with the name and number of one already listed is dropped (and released).
    void AddPlayer(std::unique_ptr<TStatPlayer> player);
    // Made points and free throws of every player; a player whose own sum is negative adds nothing.
    qint64 Score() const;

private:
    QString m_name;
    TMemList m_players;
};

} // namespace hoopledger
