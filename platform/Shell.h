#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Opening files with the desktop and starting the other program.
class Shell
{
public:
    virtual ~Shell() = default;
    // The "OPEN" verb: a page in the browser, a file with its program. False when it failed.
    virtual bool ShellOpen(const QString& path) = 0;
    // Starts a program as a new process with arguments and a working folder.
    virtual bool StartProgram(const QString& program, const QStringList& arguments,
                              const QString& workingDir) = 0;
};

Shell& shell();
void setShell(Shell* replacement); // not owned; nullptr restores the desktop shell

} // namespace platform
