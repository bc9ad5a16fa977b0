#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {

namespace {

class DesktopShell : public Shell
{
public:
    bool ShellOpen(const QString& path) override
    {
        if (path.isEmpty())
            return false;
        // A one-letter scheme would be a drive letter, not a URL.
        const QUrl url(path, QUrl::StrictMode);
        if (url.isValid() && url.scheme().size() > 1)
            return QDesktopServices::openUrl(url);
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    }

    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& workingDir) override
    {
        if (program.isEmpty())
            return false;
        return QProcess::startDetached(program, arguments, workingDir);
    }
};

Shell* g_replacement = nullptr;

} // namespace

Shell& shell()
{
    static DesktopShell desktop;
    return g_replacement ? *g_replacement : desktop;
}

void setShell(Shell* replacement)
{
    g_replacement = replacement;
}

} // namespace platform
