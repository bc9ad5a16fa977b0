#pragma once

#include <memory>
#include <vector>

#include "hoopledger/Tplayer.h"

namespace hoopledger {

// A list of player records with the identity rule of the season model: two records are the same
// player when their names and their numbers are equal, byte for byte. (An empty name is an ordinary
// name: it matches only another empty name.)
//
// Every record the list ever took or made stays alive as long as the list, also after DeleteMember
// took it out: tree nodes and grid rows may still point at it until the views are rebuilt.
class TMemList
{
public:
    TMemList() = default;
    TMemList(const TMemList&) = delete;
    TMemList& operator=(const TMemList&) = delete;

    static bool SamePlayer(const TStatPlayer& a, const TStatPlayer& b);

    // Self mode: the record itself is appended; when the same player is already listed it is
    // released at once and nothing is added (null returned).
    TStatPlayer* AddMember(std::unique_ptr<TStatPlayer> player);
    // Copy mode: a new record with the identity of the given one (kind 6, visible, no statistics);
    // null when the same player is already listed.
    TStatPlayer* AddMember(const TStatPlayer& player);
    TStatPlayer* FindMember(const TStatPlayer& player) const;
    // Takes the first entry that is the same player out of the list (it stays alive, see above).
    void DeleteMember(const TStatPlayer& player);
    void SetVisibleAll(std::uint8_t flag);
    // By jersey number: whole numbers first, as integers; the other numbers after them by their
    // CP932 bytes. Stable, so equal numbers keep their order.
    void Sort();

    int Count() const { return int(m_entries.size()); }
    TStatPlayer* At(int index) const { return m_entries[index]; }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

private:
    TStatPlayer* keep(std::unique_ptr<TStatPlayer> player);

    std::vector<TStatPlayer*> m_entries;
    std::vector<std::unique_ptr<TStatPlayer>> m_store;
};

// The member order: negative, zero or positive. A strict weak order, unlike comparing two numbers
// as integers when both are and as text otherwise (2 < 10 < 1a < 2 would go round in a circle).
int CompareNumbers(const QString& a, const QString& b);

} // namespace hoopledger
