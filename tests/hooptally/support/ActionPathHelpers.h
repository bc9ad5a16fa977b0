#pragma once

#include <cstdint>
#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "hooptally/Texecute.h"
#include "platform/Messages.h"

namespace platform {
class StringGrid;
}

namespace hooptally {
class THooptallyForm;
class TTeam;
} // namespace hooptally

namespace hooptally::testing {

class Program;

// Records every message the main window dispatches while it lives, with what `probe` reads at that
// moment (before the receiver runs, so records passed in the message are still alive).
class MessageSpy
{
public:
    using Probe = std::function<QString(const platform::Message&)>;
    explicit MessageSpy(THooptallyForm& form, Probe probe = {});
    ~MessageSpy();
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

    struct Seen
    {
        unsigned msg;
        platform::WPARAM wParam;
        QString probed;
    };
    QList<Seen> seen;

    // "+4(1)", "+1", "+2", ... for the private messages, in order; `only` keeps those numbers.
    QStringList names(const QList<unsigned>& only = {}) const;
    void clear() { seen.clear(); }

private:
    THooptallyForm& m_form;
};

// Every row of the grid, its cells joined by "|".
QStringList gridRows(const platform::StringGrid& grid);

// A member file ("#Hooproster") with the given entry lines.
void writeMemberFile(const QString& path, const QStringList& entries);

// Sends a copy of the action to the main window as WM_APP+8.
void sendAction(THooptallyForm& form, const GameAction& action);

// The cells of the log's rows as the user reads them: Time|Who|Execute|Point.
QStringList logTexts(THooptallyForm& form);

// Everything a replay must rebuild: per player (by ID) status, flags, counters and court times of
// every period; per team fouls and period clocks; every log entry with its on-court players; and
// the rows of GridPlaying.
QStringList gameSnapshot(THooptallyForm& form);

// Records a game through the live action path: two rosters of twelve players (five starters) and a
// head coach each, shots, rebounds, fouls with free throws, substitutions and timeouts over four
// periods, each closed by a period end. Stops at exactly `loggedActions` log entries.
void recordSyntheticGame(Program& program, int loggedActions);

} // namespace hooptally::testing
