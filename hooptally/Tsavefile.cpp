#include "hooptally/Tsavefile.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>

#include "hooptally/Common.h"
#include "hooptally/THooptallyForm.h"
#include "hooptally/TAboutBox.h"
#include "hooptally/TOption.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
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

} // namespace

QString ByteToText(std::uint8_t value)
{
    return QString::number(value);
}

TSaveFile::TSaveFile(const QString& fileName) : m_fileName(fileName) {}

TSaveFile::~TSaveFile() = default;

int TSaveFile::Save(const QString& kind)
{
    platform::WaitCursor wait;
    if (kind == QStringLiteral("game")) {
        if (!MainForm() || !Option())
            return 0;
        WriteGameFile();
        const bool written = m_lines->saveToFile(m_fileName);
        m_lines.reset();
        return written ? 1 : 0;
    }
    if (kind == QStringLiteral("html")) {
        if (!MainForm() || !m_htmlOptions)
            return 0;
        try {
            const bool written = WriteHtmlFile();
            m_lines.reset();
            return written ? 1 : 0;
        } catch (...) {
            m_lines.reset();
            return 0;
        }
    }
    return 1;
}

void TSaveFile::WriteGameFile()
{
    THooptallyForm* form = MainForm();
    m_lines = std::make_unique<platform::StringList>();
    platform::StringList& lines = *m_lines;
    // The time picker's value is its date with the time of day as the fraction, like the date's.
    const QDate date = form->DateTimePicker1->date();
    lines << QStringLiteral("#Hooptally") << kFormatVersion << oneLine(form->Taikaimei->text())
          << oneLine(form->Basho->text()) << platform::FloatToStr(serialOf(date, QTime(0, 0)))
          << platform::FloatToStr(serialOf(date, form->DateTimePicker2->time()))
          << oneLine(form->TaikaiNo->text());
    lines << QStringLiteral("Official-Start");
    QStringList officials;
    GetOfficialsLines(officials);
    for (const QString& official : officials)
        lines << oneLine(official);
    lines << QStringLiteral("Official-End");
    lines << QStringLiteral("TeamA-Start");
    WriteTeamLines(*GetTeam(1));
    lines << QStringLiteral("TeamA-End") << QStringLiteral("TeamB-Start");
    WriteTeamLines(*GetTeam(2));
    lines << QStringLiteral("TeamB-End");
    lines << QStringLiteral("Option-Start");
    for (int i = 0; i < Option()->StatSwitchCount(); ++i)
        lines << QString::number(i) + (Option()->StatSwitch(i) ? QStringLiteral("=1") : QStringLiteral("=0"));
    lines << QStringLiteral("Option-End") << QStringLiteral("Time-Start")
          << QStringLiteral("Time=") + QString::number(Option()->ComboPeriodTime->currentIndex() + 1)
          << QStringLiteral("Time-End");
    lines << QStringLiteral("Log-Start");
    WriteLogLines();
    lines << QStringLiteral("Log-End");
    const QString commentary = form->Senhyou->toPlainText();
    if (!commentary.isEmpty()) {
        lines << QStringLiteral("Senhyou-Start");
        lines << commentary.split(QLatin1Char('\n'));
        lines << QStringLiteral("Senhyou-End");
    }
    WriteStatsBlock(lines);
}

void TSaveFile::WriteTeamLines(const TTeam& team)
{
    for (int i = 0; i < team.Count(); ++i) {
        const TPlayer* player = team.PlayerAt(i);
        if (player->status == kBlankRow)
            continue;
        *m_lines << QStringList{oneLine(team.name),
                                QString::number(player->id),
                                oneLine(player->number),
                                oneLine(player->name),
                                oneLine(player->position),
                                player->StarterText(),
                                player->CoachText(),
                                OfficialTextOfPlayer(player, &team)}
                        .join(QLatin1Char(','));
    }
}

void TSaveFile::WriteLogLines()
{
    const TTeam* teamA = GetTeam(1);
    const TTeam* teamB = GetTeam(2);
    for (const auto& entry : MainForm()->PlayLog().Entries()) {
        const GameAction& action = entry->action;
        QString line;
        if (const TPlayer* player = action.player) {
            const QString letter = player->team == teamA   ? QStringLiteral("A")
                                   : player->team == teamB ? QStringLiteral("B")
                                                           : QStringLiteral("?");
            line = letter + QLatin1Char(',') + QString::number(player->id);
        } else {
            line = QStringLiteral(",");
        }
        line += QLatin1Char(',') + QString::number(action.period);
        if (action.minutes == -1 || action.seconds == -1)
            line += QStringLiteral(",,");
        else
            line += QLatin1Char(',') + QString::number(action.minutes) + QLatin1Char(',') + QString::number(action.seconds);
        for (const int value : {static_cast<int>(static_cast<std::int8_t>(action.category)), int(action.code),
                                int(action.foulKind), int(action.freeThrows), int(action.command), int(action.side)})
            line += QLatin1Char(',') + QString::number(value);
        *m_lines << line;
    }
}

void TSaveFile::WriteStatsBlock(platform::StringList& lines)
{
    // Counted whatever the display switches say.
    static const std::uint8_t codes[] = {kThreePointMade,  kThreePointMissed, kTwoPointMade, kTwoPointMissed,
                                         kFreeThrowMade,   kFreeThrowMissed,  kFoul,         kAssist,
                                         kOffensiveRebound, kDefensiveRebound, kBlockedShot, kTurnover,
                                         kSteal};
    lines << QStringLiteral("#STATS-START");
    for (const TTeam* team : {GetTeam(1), GetTeam(2)}) {
        lines << QStringLiteral("#TEAM-START") << oneLine(team->name) << QString::number(team->Count());
        for (int i = 0; i < team->Count(); ++i) {
            const TPlayer* player = team->PlayerAt(i);
            lines << QString::number(player->id) << oneLine(player->name) << oneLine(player->number)
                  << oneLine(player->position) << ByteToText(player->starter);
            for (const std::uint8_t code : codes)
                lines << QString::number(player->StatValue(-1, code, true));
            lines << platform::FloatToStr(player->TotalCourtTime());
        }
        lines << QStringLiteral("#TEAM-END");
    }
    lines << QStringLiteral("#STATS-END");
}

} // namespace hooptally
