#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include <QString>
#include <QStringList>

#include "hooptally/Tplayer.h"

namespace hooptally {

class TTeam;
class RosterIds;

// Whether the lines are a member file that a team's read takes: a team's read takes its roster from
// nothing else (a game file's team sections are read only when the game is opened), and not from one
// of more members than a team may list; of such a file, `refusal` gets what to say.
bool IsRosterText(const QStringList& lines, QString* refusal = nullptr);
// What to say of a roster past the bound of members, in a member file or a game file.
QString TooManyMembersText();

// The orders SortPlayers knows.
enum class SortMode {
    ByStatus, // by status, then number: the game's order, players on court first
    ByNumber, // by number, never moving a player before a coach
};

// What SaveRoster did.
enum class RosterSaveResult { Written, Declined, Failed };

// A team's roster: its name and its player records, which it owns.
class TMemberList
{
public:
    TMemberList() = default;
    virtual ~TMemberList();
    TMemberList(const TMemberList&) = delete;
    TMemberList& operator=(const TMemberList&) = delete;

    void ClearPlayers();
    bool RemovePlayer(const TPlayer* player);
    TPlayer* AddPlayer(std::unique_ptr<TPlayer> player);
    // The smallest positive ID that no record of the roster has, the blank row's included.
    int NextFreePlayerId() const;
    void SortPlayers(SortMode mode);
    void OpenPlayer(TPlayer* player);
    TPlayer* PlayerAt(int index) const;
    // The player with that ID; never the blank row, which is nobody yet.
    TPlayer* FindPlayerById(int id) const;
    bool HasNoBlankRow() const;
    int TeamPoints(int period) const;
    int CountOnCourt() const;
    int Count() const { return static_cast<int>(m_players.size()); }
    int IndexOf(const TPlayer* player) const;

    // Member files (*.member) and the team sections of game files.
    // Failed gives why in `reason` when given: the system's reason, or the bound the file would be past.
    RosterSaveResult SaveRoster(const QString& path, QString* reason = nullptr);
    // The roster of a member file's lines, the header first; true when a line follows the header. The
    // path is the caller's to set.
    bool LoadRosterLines(const QStringList& lines);
    // The roster of a game file's team section: the lines between its markers. Replaces the roster.
    void LoadTeamLines(std::span<const QString> lines);

    QString name;
    QString filePath;
    std::uint8_t loaded = 0;

protected:
    // The team that new records of this roster belong to.
    virtual TTeam* owningTeam() = 0;

private:
    void parseRosterLine(const QString& line, RosterIds& ids);

    std::vector<std::unique_ptr<TPlayer>> m_players;
};

// Appends the comma-separated fields of a line; a line beginning with "#" has none, and an empty
// field after the last comma is dropped.
void SplitCommaLine(const QString& line, QStringList& fields);

} // namespace hooptally
