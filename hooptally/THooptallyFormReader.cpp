// Opening a game file: the game is rebuilt by replaying its log through the live action path.
#include "hooptally/THooptallyForm.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimeEdit>

#include "gamefile/GameFileFormat.h"
#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/Tgridctrl.h"
#include "platform/Canvas.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Dialogs.h"
#include "platform/WaitCursor.h"

namespace hooptally {

void THooptallyForm::ReplayActions(const PlayLogEntries& entries)
{
    platform::WaitCursor wait;
    SetRefreshEnabled(false);
    m_replaying = true;
    const int page = PageControl1->currentIndex();
    PageControl1->setCurrentIndex(0);
    StopClock();
    m_teamA->SortPlayers(SortMode::ByStatus);
    m_teamB->SortPlayers(SortMode::ByStatus);
    ResetGame(true, true);
    SetRefreshEnabled(false);
    FillStatsGrid(m_teamA.get(), StringGrid1);
    FillStatsGrid(m_teamB.get(), StringGrid2);
    FillTeamGrid(this, m_teamA.get());
    FillTeamGrid(this, m_teamB.get());
    for (const auto& entry : entries) {
        const GameAction& action = entry->action;
        // An entry without a clock reading leaves the clock as it stands.
        if (action.minutes >= 0 && action.seconds >= 0)
            SetClock(action.minutes, action.seconds);
        SetPeriod(action.period);
        ShowOvertimeLabels(GetCurrentPeriod());
        ReceiveAction(&action);
    }
    m_replaying = false;
    UpdateScorePanel();
    SetRefreshEnabled(true);
    PageControl1->setCurrentIndex(page);
}

} // namespace hooptally

namespace hooptally {

namespace {

// Byte fields of a log line: a number that fits the field, or the fallback for a non-number.
int byteField(const QStringList& fields, int index, int absent, int notNumber)
{
    if (index >= fields.size())
        return absent;
    return platform::StrToIntDef(fields[index], notNumber);
}

bool inByteRange(int value, int low, int high)
{
    return (value >= low && value <= high) || value == kNone;
}

// What the clock can show, or -1 for no reading.
bool isClockReading(int value, int high)
{
    return value == -1 || (value >= 0 && value <= high);
}

// Why a file cannot be opened as a game; empty when it can.
QString checkGameFile(const GameFile& file)
{
    const QStringList& lines = file.lines;
    if (!file.sections.magic)
        return QStringLiteral("ゲームファイルではありません");
    if (!file.sections.header)
        return QStringLiteral("ゲームファイルが途中で切れています");
    if (!platform::StrToFloat(lines[gamefile::kDateLine]) ||
        !platform::StrToFloat(lines[gamefile::kTimeOfDayLine]))
        return QStringLiteral("ゲームファイルの日付または時間が読めません");
    return PastBoundText(file.sections.pastBound());
}

// The people read into the team's roster, its blank row left out.
int membersRead(const TTeam& team)
{
    int read = 0;
    for (int i = 0; i < team.Count(); ++i)
        read += team.PlayerAt(i)->status != kBlankRow ? 1 : 0;
    return read;
}

} // namespace

std::unique_ptr<PlayLogEntry> THooptallyForm::ParseLogLine(const QStringList& fields)
{
    // The side, the player ID and the period are needed.
    if (fields.size() <= gamefile::kPeriodField)
        return nullptr;
    // Only an action without a player leaves the side empty; "?" names a player of neither team.
    const QString& letter = fields[gamefile::kSideField];
    if (letter != gamefile::kLetterA && letter != gamefile::kLetterB &&
        !(letter.isEmpty() && fields[gamefile::kPlayerIdField].isEmpty()))
        return nullptr;
    TTeam* team = letter == gamefile::kLetterA ? m_teamA.get() : m_teamB.get();
    auto entry = std::make_unique<PlayLogEntry>();
    GameAction& action = entry->action;
    entry->teamName = team->name;
    action.side = team->side;
    const int id = platform::StrToIntDef(fields[gamefile::kPlayerIdField], -1);
    if (TPlayer* player = id == -1 ? nullptr : team->FindPlayerById(id)) {
        action.player = player;
        entry->playerName = player->name;
        entry->number = player->number;
    }
    const int period = platform::StrToIntDef(fields[gamefile::kPeriodField], -1);
    action.minutes = byteField(fields, gamefile::kMinutesField, -1, -1);
    action.seconds = byteField(fields, gamefile::kSecondsField, -1, -1);
    const int category = byteField(fields, gamefile::kCategoryField, kNoCategory, kNoCategory);
    const int code = byteField(fields, gamefile::kCodeField, kNone, kNone);
    const int foulKind = byteField(fields, gamefile::kFoulKindField, 0, kNone);
    const int freeThrows = byteField(fields, gamefile::kFreeThrowsField, 0, kNone);
    const int command = byteField(fields, gamefile::kCommandField, kNone, kNone);
    action.side = fields.size() > gamefile::kTeamNumberField
                      ? platform::StrToIntDef(fields[gamefile::kTeamNumberField], 1)
                      : team->side;

    // Only what the executor can replay is kept.
    const bool playerAction = category == kPlayerAction && code >= 0 && code <= kToBench && action.player;
    const bool command03 = category == kCommand && command >= 0 && command <= kGameEnd;
    if (!(playerAction || command03) || period < -1 || period > 5 || !inByteRange(freeThrows, 0, 3) ||
        !inByteRange(foulKind, 0, kBenchFoul) || !isClockReading(action.minutes, kMaxClockMinutes) ||
        !isClockReading(action.seconds, kMaxClockSeconds))
        return nullptr;
    action.period = static_cast<std::int8_t>(period);
    action.category = static_cast<std::uint8_t>(category);
    action.code = static_cast<std::uint8_t>(code);
    action.foulKind = static_cast<std::uint8_t>(foulKind);
    action.freeThrows = static_cast<std::uint8_t>(freeThrows);
    action.command = static_cast<std::uint8_t>(command);
    return entry;
}

void THooptallyForm::FileOpen1Execute(bool withDialog)
{
    if (withDialog) {
        if (!AskToSaveChanges())
            return;
        platform::FileDialogOptions options;
        options.filter = kGameFilter;
        options.initialDir = Option() ? Option()->GameDataFolder() : QString();
        const auto chosen = platform::dialogs().openFile(options);
        // A name that names nothing opens nothing; a folder or a file without permission is reported.
        if (!chosen || !QFileInfo::exists(*chosen))
            return;
        OpenGameFile(*chosen);
        return;
    }
    // A file that has gone away opens nothing, silently; anything else there is opened or refused aloud.
    if (!QFileInfo::exists(m_currentGameFile))
        return;
    OpenGameFile(m_currentGameFile);
}

bool THooptallyForm::OpenRequestedGame(const QString& path)
{
    // A file that cannot be opened is said at once: there is nothing to offer saving for.
    if (!readGameFile(path) || !AskToSaveChanges())
        return false;
    // Read again: the answer may have taken a while, or saved onto this very file.
    return OpenGameFile(path);
}

std::optional<GameFile> THooptallyForm::readGameFile(const QString& path)
{
    auto lines = readChosenFile(path, gamefile::kMaxGameFileBytes);
    if (!lines)
        return std::nullopt;
    GameFile file;
    file.lines = std::move(*lines);
    file.sections = gamefile::GameFileSections::split(file.lines);
    const QString problem = checkGameFile(file);
    if (!problem.isEmpty()) {
        platform::dialogs().messageBox(problem + QStringLiteral("\n") + path, kCaption,
                                       platform::Buttons::Ok);
        return std::nullopt;
    }
    return file;
}

bool THooptallyForm::OpenGameFile(const QString& path)
{
    // The file is checked before anything changes: a refused file leaves the game as it is.
    const auto read = readGameFile(path);
    if (!read)
        return false;
    const GameFile& file = *read;
    m_currentGameFile = path;
    LogRead log;
    {
        platform::WaitCursor wait;
        SetGridUpdate(false);
        ResetGame(false, false);
        LoadTeamSection(file.linesOf(file.sections.teamA), m_teamA.get());
        LoadTeamSection(file.linesOf(file.sections.teamB), m_teamB.get());
        ShowTeamNames(m_teamA.get(), m_teamB.get());
        // The period length and switches are in force before the replay clocks the starters in.
        ReadTimeAndOptionSections(file);
        log = ReadLogSection(file);
        ReadGameHeader(file);
        ReadSenhyouSection(file);
        ReadOfficialSection(file);
        TimeClearBClick();
        FillStatsGrid(m_teamA.get(), StringGrid1);
        FillStatsGrid(m_teamB.get(), StringGrid2);
        SetGridUpdate(true);
    }
    if (file.sections.cutShort) {
        // Half a game must not pass for the whole one: the scorer is told, and closing asks to save.
        MarkGameChanged();
        platform::dialogs().messageBox(
            QStringLiteral("ファイルが途中で終わっています（メンバー %1 人、ログ %2 件を読み込みました）\n")
                    .arg(membersRead(*m_teamA) + membersRead(*m_teamB))
                    .arg(log.read) +
                path,
            kCaption, platform::Buttons::Ok);
    }
    if (log.unreadable > 0)
        platform::dialogs().messageBox(QString::number(log.unreadable) +
                                           QStringLiteral("行のログを読み込めませんでした"),
                                       kCaption, platform::Buttons::Ok);
    return true;
}

bool THooptallyForm::LoadTeamRoster(const QString& fileName, const QStringList& lines, TTeam* team)
{
    // The team's file is the roster file last read or written.
    team->filePath = fileName;
    const bool read = team->LoadRosterLines(lines);
    // Reading clears the roster even when nothing is read: the team keeps its row for new players.
    EnsureAddRow(team);
    return read;
}

void THooptallyForm::LoadTeamSection(std::span<const QString> lines, TTeam* team)
{
    // Writing the roster over a game file would destroy the game.
    team->filePath.clear();
    team->LoadTeamLines(lines);
    EnsureAddRow(team);
}

void THooptallyForm::ShowTeamNames(TTeam* teamA, TTeam* teamB)
{
    if (teamA) {
        ShowNameInLabel(TeamAName, teamA->name);
        TeamALabel->setText(teamA->name);
    }
    if (teamB) {
        ShowNameInLabel(TeamBName, teamB->name);
        TeamBLabel->setText(teamB->name);
    }
}

void THooptallyForm::ShowNameInLabel(QLabel* label, const QString& name)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    platform::Canvas canvas(&scratch);
    label->setText(name);
    platform::CanvasFont font;
    font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    font.Size = 14;
    font.Bold = true;
    canvas.Font = font;
    FitCanvasFont(name, canvas, font, label->width(), -1);
    label->setFont(font.toQFont());
}

THooptallyForm::LogRead THooptallyForm::ReadLogSection(const GameFile& file)
{
    StopClock();
    if (!file.sections.magic)
        return {};
    InitStatsGrids();
    PlayLogEntries entries;
    int unreadable = 0;
    for (const QString& line : file.linesOf(file.sections.log)) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        QStringList fields;
        SplitCommaLine(line, fields);
        if (auto entry = ParseLogLine(fields))
            entries.push_back(std::move(entry));
        else if (!line.trimmed().isEmpty())
            ++unreadable;
    }
    ReplayActions(entries);
    return {int(entries.size()), unreadable};
}

void THooptallyForm::ReadGameHeader(const GameFile& file)
{
    if (!file.sections.header)
        return;
    const QStringList& lines = file.lines;
    const QString& tournament = lines[gamefile::kTournamentLine];
    Taikaimei->setText(tournament);
    setWindowTitle(QStringLiteral("フープタリ[") + tournament + QLatin1Char(']'));
    Basho->setText(lines[gamefile::kPlaceLine]);
    if (const auto date = platform::StrToFloat(lines[gamefile::kDateLine]))
        DateTimePicker1->setDate(platform::DateTime::toQDateTime(*date).date());
    if (const auto time = platform::StrToFloat(lines[gamefile::kTimeOfDayLine]))
        DateTimePicker2->setTime(platform::DateTime::toQDateTime(*time).time());
    TaikaiNo->setText(file.sections.gameNumber ? lines[gamefile::kGameNumberLine] : QString());
}

void THooptallyForm::ReadTimeAndOptionSections(const GameFile& file)
{
    StopClock();
    if (!file.sections.magic || !Option())
        return;
    for (const QString& line : file.linesOf(file.sections.periodTime)) {
        if (!line.startsWith(gamefile::kTimeKey))
            continue;
        Option()->SetPeriodLength(
            platform::StrToIntDef(line.mid(gamefile::kTimeKey.size()), kDefaultPeriodMinutes));
        break;
    }
    TimeClearBClick();
    for (const QString& line : file.linesOf(file.sections.options)) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || equals + 1 >= line.size())
            break;
        const auto key = platform::StrToInt(line.left(equals));
        const QChar value = line.at(equals + 1);
        // One ASCII digit: a full-width "０" is no 0 and must not switch an item on.
        if (!key || *key < 0 || *key >= Option()->StatSwitchCount() || value < u'0' || value > u'9')
            break;
        Option()->SetStatSwitch(*key, value != QLatin1Char('0'));
    }
}

void THooptallyForm::ReadSenhyouSection(const GameFile& file)
{
    StopClock();
    if (!file.sections.magic)
        return;
    Senhyou->clear();
    const std::span<const QString> commentary = file.linesOf(file.sections.commentary);
    if (!commentary.empty())
        Senhyou->setPlainText(QStringList(commentary.begin(), commentary.end()).join(QLatin1Char('\n')));
}

void THooptallyForm::ReadOfficialSection(const GameFile& file)
{
    StopClock();
    if (!file.sections.magic || !file.sections.officials)
        return;
    QLineEdit* fields[] = {shushin, fukusin, Scorekeeper, AScorekeeper, TimeKeeper, Operator, TO_Team};
    const std::span<const QString> officials = file.linesOf(file.sections.officials);
    for (std::size_t i = 0; i < officials.size() && i < std::size(fields); ++i)
        fields[i]->setText(officials[i]);
}

} // namespace hooptally
