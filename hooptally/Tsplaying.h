#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include <QBitArray>
#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>

#include "hooptally/Common.h"
#include "hooptally/Texecute.h"

namespace platform {
class StringGrid;
}

namespace hooptally {

class TPlayinModify;

class THooptallyForm;
class TPlayer;

// One entry of the play-by-play log.
struct PlayLogEntry
{
    QString teamName;
    QString playerName;
    QString number;
    GameAction action;
    // The players on court right after the action, a bit for each player column's slot (see
    // TPlayLog::OnCourtOf): a long game of many players stays small.
    QBitArray onCourt;
};

using PlayLogEntries = std::vector<std::unique_ptr<PlayLogEntry>>;

// Copies the texts, the action and the on-court players of one entry into another.
void AssignLogEntry(PlayLogEntry& target, const PlayLogEntry& source);
QString PeriodLabel(int period);
QString ActionLabel(const GameAction& action);

// Log-edit modes.
enum LogEditMode { kModifyEntry = 0, kDeleteEntry = 1, kInsertEntry = 2, kAppendEntry = 3 };

// The play-by-play log: the record of the game, shown in GridPlaying. Every edit rebuilds the game
// by replaying it.
class TPlayLog
{
public:
    TPlayLog(THooptallyForm* form, platform::StringGrid* grid); // CreatePlayLog
    ~TPlayLog();

    void ResetPlayLogGrid(bool clearAll);
    void ClearPlayLog();
    void LogAction(const GameAction& action);
    void BuildLogRowTexts(const PlayLogEntry& entry, QString& execute, QString& who, QString& time) const;
    void RedrawPlayLog(int row);
    // Every pointer to the player is dropped: its entries, its column and its place in on-court lists.
    void DropPlayerLogEntries(const TPlayer* player);
    // A replay stops the clock. After an edit it stands where it stood, as the edit does not move the
    // game on; a reload or an open leaves it at the last entry's reading.
    enum class ClockAfterReplay { FromLog, AsBefore };
    void ReplayPlayLog(ClockAfterReplay clock = ClockAfterReplay::FromLog);
    void DeleteSelectedLogEntry();
    void DeleteLogEntryByKey(int keyA, int keyB);
    void EditPlayLog(int mode);
    // Draws only: what the log shows is settled where the log or the selection changes.
    void PlayLogDrawCell(int col, int row, const QRect& rect);
    // On every change of the selection.
    void updateEditButtons();
    void PlayLogKeyDown(int& key);
    bool PlayLogPopup(); // whether "挿入(&I)" is enabled
    void PlayLogSelectCell(int col, int row, bool& canSelect);

    const PlayLogEntries& Entries() const { return m_entries; }
    int Count() const { return static_cast<int>(m_entries.size()); }
    // The players of the player columns, in the columns' order.
    std::vector<TPlayer*> PlayerColumns() const;
    // The players of the player columns that were on court right after the entry's action, in the
    // columns' order.
    std::vector<TPlayer*> OnCourtOf(const PlayLogEntry& entry) const;
    bool WasOnCourt(const PlayLogEntry& entry, const TPlayer* player) const;
    // Whether the log has closed the period: its first period end is followed only by period ends and
    // game ends of that period.
    bool PeriodClosed(int period);
    // For the game-file reader: entries are replayed from a list it owns.
    PlayLogEntries TakeEntries();

private:
    struct PlayerColumn
    {
        TPlayer* player = nullptr;
        int slot = 0; // the player's bit in the entries' on-court sets
        // As the column was named: the number, its bytes in CP932, the header and the column's width.
        QString number;
        QByteArray bytes;
        QString header;
        int width = 0;
    };
    struct WhoText
    {
        QString name;
        QString number;
        QString text;
    };
    struct PeriodEnds
    {
        bool ended = false;    // a period end was logged
        bool reopened = false; // something other than a period or game end followed the first
    };

    void AddPlayerColumn(TPlayer* player);
    static bool columnBefore(const PlayerColumn& a, const PlayerColumn& b);
    void nameColumn(PlayerColumn& column);
    QString whoText(const PlayLogEntry& entry) const;
    // Columns 0 to 3 of a row, each column widened to its text.
    void fillRow(int row, const PlayLogEntry& entry, const QString& point);
    int textWidth(const QString& text);
    void fitColumn(int col, const QString& text);
    // After any change of the log but an appended entry.
    void entriesChanged();
    bool singleRowSelected() const;
    void respaceRange(TPlayinModify& dialog, int first, int last);

    THooptallyForm* m_form;
    platform::StringGrid* m_grid;
    PlayLogEntries m_entries;
    std::vector<PlayerColumn> m_playerColumns; // sorted by columnBefore
    QHash<const TPlayer*, int> m_slots;        // the slot of each player with a column
    int m_nextSlot = 0;                        // slots are never reused until the columns are reset
    bool m_seeded = false;
    bool m_editByEnter = false;
    mutable QHash<const TPlayer*, WhoText> m_whoTexts;
    std::optional<QFont> m_gridFont;
    std::optional<QFont> m_cellFont;
    TextWidths m_cellWidths;
    TextWidths m_headerWidths;
    // Per period (its signed byte as unsigned), from the first m_periodEndsScanned entries.
    std::array<PeriodEnds, 256> m_periodEnds{};
    std::size_t m_periodEndsScanned = 0;
};

} // namespace hooptally
