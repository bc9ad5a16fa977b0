#include "hooptally/Tsplaying.h"

#include <algorithm>
#include <cstring>

#include <QLineEdit>
#include <QPushButton>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TPlayinModify.h"
#include "hooptally/Tteam.h"
#include "platform/Codec.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"

namespace hooptally {

namespace {

constexpr int kFixedColumns = 4;
constexpr int kPointColumn = 3;
constexpr platform::TColor kSelectedRowColor = 0xFF0000;
// Room beside a cell's text.
constexpr int kTextMargin = 5;

int sideOf(const TPlayer* player)
{
    return player->team ? player->team->side : 0;
}

// The keys tie an entry to a sheet box only while the program runs: they are no part of the game.
bool sameAction(const GameAction& a, const GameAction& b)
{
    return a.side == b.side && a.category == b.category && a.code == b.code && a.freeThrows == b.freeThrows &&
           a.foulKind == b.foulKind && a.command == b.command && a.player == b.player &&
           a.period == b.period && a.minutes == b.minutes && a.seconds == b.seconds;
}

// Whether the log still holds the same actions, in the same order.
bool sameActions(const PlayLogEntries& entries, const std::vector<GameAction>& actions)
{
    return std::equal(
        entries.begin(), entries.end(), actions.begin(), actions.end(),
        [](const auto& entry, const GameAction& action) { return sameAction(entry->action, action); });
}

QString scoreText()
{
    const TTeam* teamA = GetTeam(kSideA);
    const TTeam* teamB = GetTeam(kSideB);
    return platform::Format("%02d - %02d", teamA ? teamA->TeamPoints(-1) : 0,
                            teamB ? teamB->TeamPoints(-1) : 0);
}

} // namespace

void AssignLogEntry(PlayLogEntry& target, const PlayLogEntry& source)
{
    target.teamName = source.teamName;
    target.playerName = source.playerName;
    target.number = source.number;
    target.action = source.action;
    target.onCourt = source.onCourt;
}

QString PeriodLabel(int period)
{
    static const QStringList labels = {QStringLiteral("1st.Q"),       QStringLiteral("2nd.Q"),
                                       QStringLiteral("3rd.Q"),       QStringLiteral("4th.Q"),
                                       QStringLiteral("OverTime1st"), QStringLiteral("OverTime2nd"),
                                       QStringLiteral("OverTime3rd"), QStringLiteral("OverTime4th")};
    return period >= 0 && period < labels.size() ? labels[period] : QStringLiteral("その他");
}

QString ActionLabel(const GameAction& action)
{
    static const QStringList playerLabels = {
        QStringLiteral("２Point 成功"),     QStringLiteral("２Point 失敗"), QStringLiteral("３Point 成功"),
        QStringLiteral("３Point 失敗"),     QStringLiteral("ﾌﾘｰｽﾛｰ 成功"),  QStringLiteral("ﾌﾘｰｽﾛｰ 失敗"),
        QStringLiteral("ファール"),         QStringLiteral("ｵﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ"), QStringLiteral("ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ"),
        QStringLiteral("ターンオーバー"),   QStringLiteral("アシスト"),     QStringLiteral("スチール"),
        QStringLiteral("ブロックショット"), QStringLiteral("コートイン！"), QStringLiteral("ベンチへ")};
    if (action.category == kPlayerAction)
        return playerLabels.value(action.code);
    if (action.category == kCommand) {
        switch (action.command) {
        case kPeriodEnd:
            return QStringLiteral("ピリオド終了");
        case kTimeout:
            return QStringLiteral("タイムアウト");
        case kGameEnd:
            return QStringLiteral("Game終了");
        default:
            break;
        }
    }
    return {};
}

TPlayLog::TPlayLog(THooptallyForm* form, platform::StringGrid* grid) : m_form(form), m_grid(grid)
{
    ResetPlayLogGrid(true);
}

TPlayLog::~TPlayLog() = default;

void TPlayLog::ResetPlayLogGrid(bool clearAll)
{
    if (clearAll) {
        ClearPlayLog();
        m_playerColumns.clear();
        m_slots.clear();
        m_nextSlot = 0;
        m_whoTexts.clear();
    }
    m_grid->SetColCount(kFixedColumns);
    m_grid->SetRowCount(2);
    m_grid->ClearRow(0);
    m_grid->ClearRow(1);
    const QStringList headers = {QStringLiteral("Time"), QStringLiteral("Who"), QStringLiteral("Execute"),
                                 QStringLiteral("Point")};
    for (int col = 0; col < kFixedColumns; ++col)
        m_grid->SetCells(col, 0, headers[col]);
    m_seeded = false;
}

void TPlayLog::ClearPlayLog()
{
    m_entries.clear();
    entriesChanged();
}

PlayLogEntries TPlayLog::TakeEntries()
{
    PlayLogEntries taken;
    taken.swap(m_entries);
    entriesChanged();
    return taken;
}

void TPlayLog::entriesChanged()
{
    m_periodEnds.fill(PeriodEnds{});
    m_periodEndsScanned = 0;
}

bool TPlayLog::PeriodClosed(int period)
{
    // Only the entries appended since the last question are looked at.
    for (; m_periodEndsScanned < m_entries.size(); ++m_periodEndsScanned) {
        const GameAction& action = m_entries[m_periodEndsScanned]->action;
        PeriodEnds& ends = m_periodEnds[std::uint8_t(action.period)];
        const bool periodEnd = action.category == kCommand && action.command == kPeriodEnd;
        const bool gameEnd = action.category == kCommand && action.command == kGameEnd;
        if (periodEnd)
            ends.ended = true;
        else if (ends.ended && !gameEnd)
            ends.reopened = true;
    }
    const PeriodEnds& ends = m_periodEnds[std::uint8_t(period)];
    return ends.ended && !ends.reopened;
}

std::vector<TPlayer*> TPlayLog::PlayerColumns() const
{
    std::vector<TPlayer*> players;
    for (const PlayerColumn& column : m_playerColumns)
        players.push_back(column.player);
    return players;
}

std::vector<TPlayer*> TPlayLog::OnCourtOf(const PlayLogEntry& entry) const
{
    std::vector<TPlayer*> players;
    for (const PlayerColumn& column : m_playerColumns) {
        if (column.slot < entry.onCourt.size() && entry.onCourt.testBit(column.slot))
            players.push_back(column.player);
    }
    return players;
}

bool TPlayLog::WasOnCourt(const PlayLogEntry& entry, const TPlayer* player) const
{
    const int slot = m_slots.value(player, -1);
    return slot >= 0 && slot < entry.onCourt.size() && entry.onCourt.testBit(slot);
}

void TPlayLog::BuildLogRowTexts(const PlayLogEntry& entry, QString& execute, QString& who,
                                QString& time) const
{
    const GameAction& action = entry.action;
    execute = ActionLabel(action);
    if (action.category == kCommand && action.command == kTimeout)
        who = action.side == kSideA ? QStringLiteral("TeamA") : QStringLiteral("TeamB");
    else if (action.category == kCommand)
        who.clear();
    else
        who = whoText(entry);
    QString clock;
    if (action.minutes != -1 && action.seconds != -1)
        clock = platform::Format("%02d:%02d", action.minutes, action.seconds);
    time = PeriodLabel(action.period) + QLatin1Char('(') + clock + QLatin1Char(')');
}

QString TPlayLog::whoText(const PlayLogEntry& entry) const
{
    // Made once for each player's name and number and shared by his rows: a long log names the same
    // players again and again, and a name may be long.
    WhoText& who = m_whoTexts[entry.action.player];
    if (who.text.isNull() || who.name != entry.playerName || who.number != entry.number)
        who = {entry.playerName, entry.number,
               entry.playerName + QLatin1Char('(') + entry.number + QLatin1Char(')')};
    return who.text;
}

void TPlayLog::fillRow(int row, const PlayLogEntry& entry, const QString& point)
{
    QString execute, who, time;
    BuildLogRowTexts(entry, execute, who, time);
    const QString texts[kFixedColumns] = {time, who, execute, point};
    for (int col = 0; col < kFixedColumns; ++col) {
        m_grid->SetCells(col, row, texts[col]);
        fitColumn(col, texts[col]);
    }
}

void TPlayLog::LogAction(const GameAction& action)
{
    if ((action.category == kPlayerAction &&
         (action.code == kRemoveFromOfficial || action.code == kSetStarter || action.code == kEditPlayer ||
          action.code == kDeletePlayer)) ||
        (action.category == kCommand && action.command > kGameEnd) || action.category > kCommand)
        return;
    auto entry = std::make_unique<PlayLogEntry>();
    entry->action = action;
    if (TPlayer* player = action.player) {
        entry->teamName = player->TeamNameOf();
        entry->playerName = player->name;
        entry->number = player->number;
        AddPlayerColumn(player);
    }
    entry->onCourt.resize(m_nextSlot);
    for (const PlayerColumn& column : m_playerColumns) {
        if (column.player->status == kOnCourt)
            entry->onCourt.setBit(column.slot);
    }
    m_entries.push_back(std::move(entry));

    int row = m_grid->RowCount();
    if (m_grid->RowCount() == 2 && m_grid->Cells(0, 1).isEmpty())
        row = 1;
    else
        m_grid->SetRowCount(row + 1);
    fillRow(row, *m_entries.back(), scoreText());
    m_grid->SetTopRow(std::max(m_grid->FixedRows(), row - m_grid->VisibleRowCount() + 1));
    m_grid->SetRow(row);
    RefreshIfEnabled(m_grid);
}

void TPlayLog::AddPlayerColumn(TPlayer* player)
{
    if (!m_seeded) {
        m_seeded = true;
        for (TTeam* team : {GetTeam(kSideA), GetTeam(kSideB)}) {
            for (int i = 0; team && i < team->Count(); ++i) {
                if (team->PlayerAt(i)->status == kOnCourt)
                    AddPlayerColumn(team->PlayerAt(i));
            }
        }
        return;
    }
    if (m_slots.contains(player))
        return;
    m_slots.insert(player, m_nextSlot);
    m_playerColumns.push_back({player, m_nextSlot++});
    // Numbers may have changed since the columns were placed: all are sorted and their headers written
    // again. A column is named anew only when it is new, or its number or the grid's font changed.
    const bool otherFont = m_grid->CanvasFont() != m_headerWidths.font();
    for (PlayerColumn& column : m_playerColumns) {
        if (otherFont || column.header.isNull() || column.number != column.player->number)
            nameColumn(column);
    }
    std::stable_sort(m_playerColumns.begin(), m_playerColumns.end(), columnBefore);
    const int needed = static_cast<int>(m_playerColumns.size()) + kFixedColumns;
    if (m_grid->ColCount() < needed)
        m_grid->SetColCount(needed);
    for (std::size_t k = 0; k < m_playerColumns.size(); ++k) {
        const int col = static_cast<int>(k) + kFixedColumns;
        m_grid->SetCells(col, 0, m_playerColumns[k].header);
        m_grid->SetColWidths(col, m_playerColumns[k].width);
    }
}

bool TPlayLog::columnBefore(const PlayerColumn& a, const PlayerColumn& b)
{
    // Team A first, then by the number's length in CP932 bytes, then its bytes.
    if (sideOf(a.player) != sideOf(b.player))
        return sideOf(a.player) < sideOf(b.player);
    if (a.bytes.size() != b.bytes.size())
        return a.bytes.size() < b.bytes.size();
    return std::memcmp(a.bytes.constData(), b.bytes.constData(), std::size_t(a.bytes.size())) < 0;
}

void TPlayLog::nameColumn(PlayerColumn& column)
{
    column.number = column.player->number;
    column.bytes = platform::Codec::toCp932(column.number);
    column.header = QLatin1Char('[') + column.number + QLatin1Char(']');
    // A player column holds no text below its header: the room beside an empty cell is its least width.
    column.width = std::max(m_headerWidths.width(m_grid->CanvasFont(), column.header) + 2, kTextMargin);
}

void TPlayLog::RedrawPlayLog(int row)
{
    ResetPlayLogGrid(false);
    if (!m_entries.empty())
        m_grid->SetRowCount(Count() + 1);
    for (int i = 0; i < Count(); ++i)
        fillRow(i + 1, *m_entries[i], QString());
    row = std::clamp(row, 1, m_grid->RowCount() - 1);
    const int visible = std::max(1, m_grid->VisibleRowCount());
    if (Count() > visible && row > Count() - visible)
        m_grid->SetTopRow(Count() - visible + 1);
    else
        m_grid->SetTopRow(1);
    m_grid->SetRow(row);
    m_grid->Invalidate();
}

void TPlayLog::DropPlayerLogEntries(const TPlayer* player)
{
    const auto dropped =
        std::erase_if(m_entries, [player](const auto& entry) { return entry->action.player == player; });
    if (dropped > 0)
        entriesChanged();
    // Without its slot the player is on court in no entry.
    m_slots.remove(player);
    const auto columns = std::erase_if(
        m_playerColumns, [player](const PlayerColumn& column) { return column.player == player; });
    if (dropped > 0 || columns > 0)
        RedrawPlayLog(m_grid->Row());
}

void TPlayLog::ReplayPlayLog(ClockAfterReplay clock)
{
    const int minutes = m_form->ClockMinutes();
    const int seconds = m_form->ClockSeconds();
    m_form->StopClock();
    PlayLogEntries old = TakeEntries();
    ResetPlayLogGrid(false);
    m_form->ReplayActions(old);
    if (clock == ClockAfterReplay::AsBefore)
        m_form->SetClock(minutes, seconds);
}

void TPlayLog::DeleteSelectedLogEntry()
{
    const int row = m_grid->Row();
    if (m_entries.empty() || row < 1 || row > Count())
        return;
    m_entries.erase(m_entries.begin() + (row - 1));
    entriesChanged();
    m_form->MarkGameChanged();
    ReplayPlayLog(ClockAfterReplay::AsBefore);
}

void TPlayLog::DeleteLogEntryByKey(int keyA, int keyB)
{
    // A key of -1 belongs to every action not chosen on a sheet: it identifies nothing.
    if (keyA == -1 || keyB == -1)
        return;
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [keyA, keyB](const auto& entry) {
        return entry->action.keyA == keyA && entry->action.keyB == keyB;
    });
    if (it == m_entries.end())
        return;
    m_entries.erase(it);
    entriesChanged();
    if (m_grid->Row() > 1)
        m_grid->SetRow(m_grid->Row() - 1);
    m_form->MarkGameChanged();
    ReplayPlayLog(ClockAfterReplay::AsBefore);
}

bool TPlayLog::singleRowSelected() const
{
    const platform::GridRect selection = m_grid->Selection();
    return selection.Top == selection.Bottom;
}

void TPlayLog::EditPlayLog(int mode)
{
    const int row = m_grid->Row();
    const bool hasEntry = row >= 1 && row <= Count();
    if (!hasEntry && (mode == kModifyEntry || mode == kDeleteEntry))
        return;
    const KeyInputOff keysOff;
    const platform::GridRect selection = m_grid->Selection();
    const int first = selection.Top - 1;
    const int last = std::min(selection.Bottom - 1, Count() - 1);
    const bool range = !singleRowSelected() && first >= 0 && first < last;
    std::unique_ptr<TPlayinModify> dialog =
        range ? std::make_unique<TPlayinModify>(mode, first, last, &m_entries, m_form)
              : std::make_unique<TPlayinModify>(mode, hasEntry ? m_entries[row - 1].get() : nullptr, m_form);
    if (platform::dialogs().showModal(*dialog) == platform::mrOk) {
        std::vector<GameAction> before;
        for (const auto& entry : m_entries)
            before.push_back(entry->action);
        const int index = row - 1;
        switch (mode) {
        case kDeleteEntry:
            if (range) {
                m_entries.erase(m_entries.begin() + first, m_entries.begin() + last + 1);
            } else {
                m_entries.erase(m_entries.begin() + index);
                if (row > 1)
                    m_grid->SetRow(row - 1);
            }
            break;
        case kInsertEntry:
            if (auto entry = dialog->BuildLogEntry(-1, 0)) {
                // Without a selected entry, inserting appends.
                const int at = hasEntry ? index : Count();
                m_entries.insert(m_entries.begin() + at, std::move(entry));
            }
            break;
        case kAppendEntry:
            if (auto entry = dialog->BuildLogEntry(-1, 0))
                m_entries.push_back(std::move(entry));
            break;
        default:
            if (!range) {
                if (auto entry = dialog->BuildLogEntry(-1, 0))
                    m_entries[index] = std::move(entry);
            } else {
                respaceRange(*dialog, first, last);
            }
            break;
        }
        entriesChanged();
        // An edit that changed nothing leaves the game as saved.
        if (!sameActions(m_entries, before))
            m_form->MarkGameChanged();
        ReplayPlayLog(ClockAfterReplay::AsBefore);
    }
    if (row < m_grid->RowCount())
        m_grid->SetRow(row);
}

void TPlayLog::respaceRange(TPlayinModify& dialog, int first, int last)
{
    int t = 0;
    int step = 0;
    if (dialog.RadioGroup1->ItemIndex() == 1) {
        const int startMinutes = platform::StrToIntDef(dialog.Edit3->text(), -1);
        const int startSeconds = platform::StrToIntDef(dialog.Edit4->text(), -1);
        const int endMinutes = platform::StrToIntDef(dialog.Edit1->text(), -1);
        const int endSeconds = platform::StrToIntDef(dialog.Edit2->text(), -1);
        const int start = startMinutes * 60 + startSeconds;
        const int end = endMinutes * 60 + endSeconds;
        QString problem;
        if (startMinutes < 0 || startSeconds < 0 || endMinutes < 0 || endSeconds < 0 ||
            startSeconds > kMaxClockSeconds || endSeconds > kMaxClockSeconds)
            problem = QStringLiteral("Timeに誤りがあります");
        else if (start < end)
            problem = QStringLiteral("開始Timeと終了Timeが逆転しています。");
        else if (last - first + 1 <= 2)
            problem = QStringLiteral("２行の場合はTime変更ができません。");
        if (!problem.isEmpty()) {
            platform::dialogs().messageBox(problem, kCaption, platform::Buttons::Ok);
            return;
        }
        t = start;
        step = (end - start) / (last - first);
    }
    for (int index = first; index <= last; ++index) {
        if (auto entry = dialog.BuildLogEntry(index, t))
            m_entries[index] = std::move(entry);
        t += step;
    }
}

void TPlayLog::PlayLogDrawCell(int col, int row, const QRect& rect)
{
    platform::Canvas* canvas = m_grid->GridCanvas();
    if (!canvas)
        return;
    if (row == 0) {
        m_grid->DefaultDrawCell(col, row, rect, platform::gdFixed);
        return;
    }
    const platform::GridRect selection = m_grid->Selection();
    platform::TColor color = platform::clWhite;
    // The empty row of an empty log stays white even while it is the selected row.
    if (row - 1 >= Count()) {
        color = platform::clWhite;
    } else if (row >= selection.Top && row <= selection.Bottom) {
        color = kSelectedRowColor;
    } else {
        const PlayLogEntry& entry = *m_entries[row - 1];
        const TPlayer* actor = entry.action.player;
        if (actor && actor->team) {
            if (col < kPointColumn) {
                color = actor->team->color;
            } else if (col > kPointColumn) {
                const std::size_t k = static_cast<std::size_t>(col - kFixedColumns);
                const TPlayer* columnPlayer =
                    k < m_playerColumns.size() ? m_playerColumns[k].player : nullptr;
                if (columnPlayer == actor)
                    color = actor->team->color;
                else if (columnPlayer && columnPlayer->team && WasOnCourt(entry, columnPlayer))
                    color = columnPlayer->team->color;
            }
        }
    }
    canvas->Brush.Color = color;
    canvas->Brush.Style = platform::BrushStyle::Solid;
    canvas->FillRect(rect);
    const QString text = m_grid->Cells(col, row);
    canvas->Font.Color = platform::clBlack;
    canvas->Brush.Style = platform::BrushStyle::Clear;
    canvas->TextOut(rect.left(), rect.top(), text);
}

void TPlayLog::updateEditButtons()
{
    // Inserting and appending take one row.
    const bool single = singleRowSelected();
    m_form->PInsertBtn->setEnabled(single);
    m_form->PAddBtn->setEnabled(single);
}

int TPlayLog::textWidth(const QString& text)
{
    // In the font the cells are drawn in, made once for each font of the grid.
    const QFont gridFont = m_grid->CanvasFont();
    if (gridFont != m_gridFont) {
        m_gridFont = gridFont;
        m_cellFont = platform::CanvasFont::fromQFont(gridFont).toQFont();
    }
    return m_cellWidths.width(*m_cellFont, text);
}

void TPlayLog::fitColumn(int col, const QString& text)
{
    // Columns only ever grow; a hidden one stays hidden. The player columns got their room with their
    // headers: rows hold no text there.
    const int needed = (text.isEmpty() ? 0 : textWidth(text)) + kTextMargin;
    if (m_grid->ColWidths(col) > 0 && m_grid->ColWidths(col) < needed)
        m_grid->SetColWidths(col, needed);
}

void TPlayLog::PlayLogKeyDown(int& key)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || m_editByEnter)
        return;
    m_editByEnter = true;
    EditPlayLog(kModifyEntry);
    m_editByEnter = false;
}

bool TPlayLog::PlayLogPopup()
{
    return singleRowSelected();
}

void TPlayLog::PlayLogSelectCell(int, int, bool&)
{
    // Every cell may be selected.
}

} // namespace hooptally
