#include "hooptally/Tsavefile.h"

#include <exception>

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>

#include "gamefile/GameFileFormat.h"
#include "gamefile/GameFileSections.h"
#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/Codec.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/WaitCursor.h"

namespace hooptally {

namespace {

// A single-line text must not break the line structure of the file.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// From the fields, not through a local date-time: a time that a clock change skips is still written.
double serialOf(const QDate& date, const QTime& time)
{
    return platform::DateTime::encodeDate(date.year(), date.month(), date.day()) +
           platform::DateTime::encodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

// The action whose count a count line of the statistics block holds.
std::uint8_t codeOf(gamefile::Stat stat)
{
    switch (stat) {
    case gamefile::Stat::ThreePointsMade:
        return kThreePointMade;
    case gamefile::Stat::ThreePointsMissed:
        return kThreePointMissed;
    case gamefile::Stat::TwoPointsMade:
        return kTwoPointMade;
    case gamefile::Stat::TwoPointsMissed:
        return kTwoPointMissed;
    case gamefile::Stat::FreeThrowsMade:
        return kFreeThrowMade;
    case gamefile::Stat::FreeThrowsMissed:
        return kFreeThrowMissed;
    case gamefile::Stat::Fouls:
        return kFoul;
    case gamefile::Stat::Assists:
        return kAssist;
    case gamefile::Stat::OffensiveRebounds:
        return kOffensiveRebound;
    case gamefile::Stat::DefensiveRebounds:
        return kDefensiveRebound;
    case gamefile::Stat::BlockedShots:
        return kBlockedShot;
    case gamefile::Stat::Turnovers:
        return kTurnover;
    case gamefile::Stat::Steals:
        return kSteal;
    }
    return kNone;
}

} // namespace

QString ByteToText(std::uint8_t value)
{
    return QString::number(value);
}

TSaveFile::TSaveFile(const QString& fileName) : m_fileName(fileName) {}

TSaveFile::~TSaveFile() = default;

bool TSaveFile::Save(SaveKind kind)
{
    platform::WaitCursor wait;
    m_failure.clear();
    m_refusal.clear();
    bool written = false;
    if (!MainForm() || (kind == SaveKind::Game && !Option()) || (kind == SaveKind::Html && !m_htmlOptions)) {
        m_failure = QStringLiteral("nothing to write from");
    } else if (kind == SaveKind::Game) {
        WriteGameFile();
        // A file the program would refuse to open again is not written: the old one stays.
        m_refusal = PastBoundText(gamefile::GameFileSections::split(*m_lines).pastBound());
        QByteArray bytes;
        if (m_refusal.isEmpty()) {
            bytes = platform::Codec::toCp932(m_lines->text());
            m_refusal = BytesBoundText(bytes, gamefile::kMaxGameFileBytes);
        }
        if (!m_refusal.isEmpty())
            m_failure = m_refusal;
        else
            written = platform::writeFileAtomically(m_fileName, bytes, &m_failure);
    } else {
        try {
            written = WriteHtmlFile();
        } catch (const std::exception& error) {
            m_failure = QString::fromLocal8Bit(error.what());
        } catch (...) {
            m_failure = QStringLiteral("unknown error");
        }
    }
    m_lines.reset();
    // The caller says the save failed; why, goes to the debug window.
    if (!written)
        LogSaveFailure(m_fileName, m_failure);
    return written;
}

void TSaveFile::WriteGameFile()
{
    THooptallyForm* form = MainForm();
    m_lines = std::make_unique<platform::StringList>();
    platform::StringList& lines = *m_lines;
    // The time picker's value is its date with the time of day as the fraction, like the date's.
    const QDate date = form->DateTimePicker1->date();
    QStringList header(gamefile::kHeaderLines);
    header[gamefile::kMagicLine] = gamefile::kMagic;
    header[gamefile::kVersionLine] = gamefile::kVersion;
    header[gamefile::kTournamentLine] = oneLine(form->Taikaimei->text());
    header[gamefile::kPlaceLine] = oneLine(form->Basho->text());
    header[gamefile::kDateLine] = platform::FloatToStr(serialOf(date, QTime(0, 0)));
    header[gamefile::kTimeOfDayLine] = platform::FloatToStr(serialOf(date, form->DateTimePicker2->time()));
    header[gamefile::kGameNumberLine] = oneLine(form->TaikaiNo->text());
    lines << header;
    lines << gamefile::kOfficialSection.start;
    QStringList officials;
    GetOfficialsLines(officials);
    for (const QString& official : officials)
        lines << oneLine(official);
    lines << gamefile::kOfficialSection.end;
    lines << gamefile::kTeamASection.start;
    WriteTeamLines(*GetTeam(kSideA));
    lines << gamefile::kTeamASection.end << gamefile::kTeamBSection.start;
    WriteTeamLines(*GetTeam(kSideB));
    lines << gamefile::kTeamBSection.end;
    lines << gamefile::kOptionSection.start;
    for (int i = 0; i < Option()->StatSwitchCount(); ++i)
        lines << QString::number(i) + (Option()->StatSwitch(i) ? QStringLiteral("=1") : QStringLiteral("=0"));
    lines << gamefile::kOptionSection.end << gamefile::kTimeSection.start
          << QString(gamefile::kTimeKey) + QString::number(Option()->PeriodLength())
          << gamefile::kTimeSection.end;
    lines << gamefile::kLogSection.start;
    WriteLogLines();
    lines << gamefile::kLogSection.end;
    const QString commentary = form->Senhyou->toPlainText();
    if (!commentary.isEmpty()) {
        lines << gamefile::kCommentarySection.start;
        lines << commentary.split(QLatin1Char('\n'));
        lines << gamefile::kCommentarySection.end;
    }
    WriteStatsBlock(lines);
}

void TSaveFile::WriteTeamLines(const TTeam& team)
{
    for (int i = 0; i < team.Count(); ++i) {
        const TPlayer* player = team.PlayerAt(i);
        if (player->status == kBlankRow)
            continue;
        *m_lines << QStringList{oneLine(team.name),        QString::number(player->id),
                                oneLine(player->number),   oneLine(player->name),
                                oneLine(player->position), player->StarterText(),
                                player->CoachText(),       OfficialTextOfPlayer(player, &team)}
                        .join(QLatin1Char(','));
    }
}

void TSaveFile::WriteLogLines()
{
    const TTeam* teamA = GetTeam(kSideA);
    const TTeam* teamB = GetTeam(kSideB);
    for (const auto& entry : MainForm()->PlayLog().Entries()) {
        const GameAction& action = entry->action;
        QStringList fields(gamefile::kLogFields);
        if (const TPlayer* player = action.player) {
            fields[gamefile::kSideField] = player->team == teamA   ? gamefile::kLetterA
                                           : player->team == teamB ? gamefile::kLetterB
                                                                   : gamefile::kLetterOfNoTeam;
            fields[gamefile::kPlayerIdField] = QString::number(player->id);
        }
        fields[gamefile::kPeriodField] = QString::number(action.period);
        if (action.minutes != -1 && action.seconds != -1) {
            fields[gamefile::kMinutesField] = QString::number(action.minutes);
            fields[gamefile::kSecondsField] = QString::number(action.seconds);
        }
        fields[gamefile::kCategoryField] = QString::number(static_cast<std::int8_t>(action.category));
        fields[gamefile::kCodeField] = QString::number(action.code);
        fields[gamefile::kFoulKindField] = QString::number(action.foulKind);
        fields[gamefile::kFreeThrowsField] = QString::number(action.freeThrows);
        fields[gamefile::kCommandField] = QString::number(action.command);
        fields[gamefile::kTeamNumberField] = QString::number(action.side);
        *m_lines << fields.join(QLatin1Char(','));
    }
}

void TSaveFile::WriteStatsBlock(platform::StringList& lines)
{
    lines << gamefile::kStatsStart;
    for (const TTeam* team : {GetTeam(kSideA), GetTeam(kSideB)}) {
        QStringList head(gamefile::kStatsFirstEntryLine);
        head[gamefile::kStatsTeamStartLine] = gamefile::kStatsTeamStart;
        head[gamefile::kStatsTeamNameLine] = oneLine(team->name);
        head[gamefile::kStatsEntryCountLine] = QString::number(team->Count());
        lines << head;
        for (int i = 0; i < team->Count(); ++i) {
            const TPlayer* player = team->PlayerAt(i);
            QStringList entry(gamefile::kStatsLinesPerPlayer);
            entry[gamefile::kStatsPlayerIdLine] = QString::number(player->id);
            entry[gamefile::kStatsNameLine] = oneLine(player->name);
            entry[gamefile::kStatsNumberLine] = oneLine(player->number);
            entry[gamefile::kStatsPositionLine] = oneLine(player->position);
            entry[gamefile::kStatsStarterLine] = ByteToText(player->starter);
            // Counted whatever the display switches say.
            qsizetype line = gamefile::kStatsFirstCountLine;
            for (const gamefile::Stat stat : gamefile::kStatsCountLines)
                entry[line++] = QString::number(player->StatValue(-1, codeOf(stat), true));
            entry[gamefile::kStatsPlayTimeLine] = platform::FloatToStr(player->TotalCourtTime());
            lines << entry;
        }
        lines << gamefile::kStatsTeamEnd;
    }
    lines << gamefile::kStatsEnd;
}

} // namespace hooptally
