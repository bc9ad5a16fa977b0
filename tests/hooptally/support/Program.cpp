#include "support/Program.h"

#include <QFile>
#include <QTest>

#include "platform/StringList.h"

namespace hooptally::testing {

Program::Program(const QString& iniText, bool activate)
{
    if (!iniText.isEmpty())
        writeLines(iniPath(), iniText.split(QLatin1Char('\n')));
    m_form = std::make_unique<THooptallyForm>();
    m_option = std::make_unique<TOption>(m_form.get(), m_dir.filePath(QStringLiteral("Hooptally")));
    m_dbg = std::make_unique<TDbgForm>();
    m_fkey = std::make_unique<TFKey>(m_form.get());
    if (activate)
        m_form->FormActivate();
}

Program::~Program()
{
    m_fkey.reset();
    m_dbg.reset();
    m_option.reset();
    m_form.reset();
}

TPlayer* Program::addPlayer(int side, const QString& number, const QString& name, bool starter, bool coach,
                            const QString& position)
{
    TTeam& team = side == 1 ? teamA() : teamB();
    TPlayer* blank = nullptr;
    for (int i = 0; i < team.Count(); ++i) {
        if (team.PlayerAt(i)->status == kBlankRow)
            blank = team.PlayerAt(i);
    }
    if (!blank)
        blank = team.AddPlayer(std::make_unique<TPlayer>(&team));
    auto registration = std::make_unique<PlayerRegistration>();
    registration->player = blank;
    registration->number = number;
    registration->name = name;
    registration->position = position;
    registration->coach = coach ? 1 : 0;
    registration->starter = starter ? 1 : 0;
    platform::SendMessage(&form(), kRegistrationMessage, 0, std::move(registration));
    form().EnsureAddRow(&team);
    return blank;
}

void Program::act(TPlayer* player, std::uint8_t code, std::uint8_t foulKind, std::uint8_t freeThrows)
{
    auto action = std::make_unique<GameAction>();
    action->side = player && player->team ? player->team->side : 0;
    action->category = kPlayerAction;
    action->code = code;
    action->foulKind = foulKind;
    action->freeThrows = freeThrows;
    action->player = player;
    action->period = static_cast<std::int8_t>(GetCurrentPeriod());
    action->minutes = form().ClockMinutes();
    action->seconds = form().ClockSeconds();
    platform::SendMessage(&form(), kActionMessage, 0, std::move(action));
}

void Program::command(std::uint8_t code, int side)
{
    auto action = std::make_unique<GameAction>();
    action->side = side;
    action->category = kCommand;
    action->command = code;
    action->period = static_cast<std::int8_t>(GetCurrentPeriod());
    action->minutes = form().ClockMinutes();
    action->seconds = form().ClockSeconds();
    platform::SendMessage(&form(), kActionMessage, 0, std::move(action));
}

void writeLines(const QString& path, const QStringList& lines)
{
    QVERIFY(platform::StringList(lines).saveToFile(path));
}

void startWithRefusedRoster(const QString& path, const QString& said)
{
    Program program(QStringLiteral("[Initialize]\nTeamA=") + path, false);
    program.dialogs().expectMessage(said);
    program.form().FormActivate();
    QVERIFY(program.dialogs().allAnswered());
    QCOMPARE(program.teamA().Count(), 1);
    QCOMPARE(program.teamA().filePath, QString());
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace hooptally::testing
