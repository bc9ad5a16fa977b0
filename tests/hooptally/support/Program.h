#pragma once

#include <memory>

#include <QString>
#include <QTemporaryDir>

#include "hooptally/THooptallyForm.h"
#include "hooptally/TOption.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tfkey.h"
#include "platform/testing/ScriptedDialogs.h"

namespace hooptally::testing {

// The scoring program as main() starts it, with its executable (and so its settings file and
// folder default) in a temporary folder. The scripted dialogs fail the test on any unexpected prompt.
class Program
{
public:
    // iniText: the settings file's contents before start-up (empty: no file).
    explicit Program(const QString& iniText = {}, bool activate = true);
    ~Program();

    THooptallyForm& form() { return *m_form; }
    TOption& option() { return *m_option; }
    platform::testing::ScriptedDialogs& dialogs() { return m_dialogs; }
    platform::testing::RecordingShell& shell() { return m_shell; }
    QString folder() const { return m_dir.path(); }
    QString iniPath() const { return m_dir.path() + QStringLiteral("/Hooptally.ini"); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    TTeam& teamA() { return *m_form->TeamA(); }
    TTeam& teamB() { return *m_form->TeamB(); }

    // A player entered on a blank row of the team, as the registration dialog enters one.
    TPlayer* addPlayer(int side, const QString& number, const QString& name, bool starter = false,
                       bool coach = false, const QString& position = {});

    // Sends one action to the main window as WM_APP+8 at the current period and clock.
    void act(TPlayer* player, std::uint8_t code, std::uint8_t foulKind = kNone,
             std::uint8_t freeThrows = kNone);
    void command(std::uint8_t command, int side = 0);
    void setClock(int minutes, int seconds) { m_form->SetClock(minutes, seconds); }
    void setPeriod(int period) { m_form->SetPeriod(period); }

private:
    QTemporaryDir m_dir;
    platform::testing::ScriptedDialogs m_dialogs;
    platform::testing::RecordingShell m_shell;
    std::unique_ptr<THooptallyForm> m_form;
    std::unique_ptr<TOption> m_option;
    std::unique_ptr<TDbgForm> m_dbg;
    std::unique_ptr<TFKey> m_fkey;
};

// Writes a CP932 text file with CRLF line ends.
void writeLines(const QString& path, const QStringList& lines);
QByteArray readBytes(const QString& path);
// Starts a program whose team A start-up roster is `path`: `said` is shown and the team is left with
// its blank row and no roster file.
void startWithRefusedRoster(const QString& path, const QString& said);

} // namespace hooptally::testing
