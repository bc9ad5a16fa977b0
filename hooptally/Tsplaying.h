#pragma once

#include <memory>
#include <vector>

#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>

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
    std::vector<TPlayer*> onCourt; // the players on court right after the action; not owned
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
    const std::vector<TPlayer*>& PlayerColumns() const { return m_playerColumns; }
    // For the game-file reader: entries are replayed from a list it owns.
    PlayLogEntries TakeEntries();

private:
    void AddPlayerColumn(TPlayer* player);
    void fillRowTexts(int row, const PlayLogEntry& entry);
    int textWidth(const QString& text);
    void fitColumns(int firstRow, int lastRow);
    bool singleRowSelected() const;
    void respaceRange(TPlayinModify& dialog, int first, int last);

    THooptallyForm* m_form;
    platform::StringGrid* m_grid;
    PlayLogEntries m_entries;
    std::vector<TPlayer*> m_playerColumns;
    bool m_seeded = false;
    bool m_editByEnter = false;
    QFont m_measuredFont;
    QHash<QString, int> m_textWidths;
};

} // namespace hooptally
