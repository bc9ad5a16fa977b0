#include "platform/testing/ScriptedDialogs.h"

#include <QDialog>
#include <QTest>

namespace platform::testing {

namespace {

QString kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message:
        return QStringLiteral("message");
    case ScriptedDialogs::Kind::Input:
        return QStringLiteral("input");
    case ScriptedDialogs::Kind::OpenFile:
        return QStringLiteral("open file");
    case ScriptedDialogs::Kind::SaveFile:
        return QStringLiteral("save file");
    case ScriptedDialogs::Kind::Folder:
        return QStringLiteral("folder");
    case ScriptedDialogs::Kind::Color:
        return QStringLiteral("colour");
    case ScriptedDialogs::Kind::Modal:
        return QStringLiteral("modal");
    }
    return {};
}

void fail(const QString& text)
{
    QTest::qFail(qPrintable(text), __FILE__, __LINE__);
}

} // namespace

ScriptedDialogs::ScriptedDialogs()
{
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    setDialogs(nullptr);
    if (!m_queue.empty()) {
        const Answer& next = m_queue.front();
        fail(QStringLiteral("expected %1 prompt never came: %2").arg(kindName(next.kind), next.match));
    }
}

ScriptedDialogs& ScriptedDialogs::expectMessage(const QString& textPart, int answer,
                                                std::function<void()> whileShown)
{
    m_queue.push_back({Kind::Message, textPart, answer, {}, {}, {}, std::move(whileShown)});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectInput(std::optional<QString> answer)
{
    m_queue.push_back({Kind::Input, {}, answer ? mrOk : mrCancel, answer, {}, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectOpenFile(std::optional<QString> path)
{
    m_queue.push_back({Kind::OpenFile, {}, path ? mrOk : mrCancel, path, {}, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectSaveFile(std::optional<QString> path)
{
    m_queue.push_back({Kind::SaveFile, {}, path ? mrOk : mrCancel, path, {}, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectFolder(std::optional<QString> path)
{
    m_queue.push_back({Kind::Folder, {}, path ? mrOk : mrCancel, path, {}, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectColor(std::optional<int> color)
{
    m_queue.push_back({Kind::Color, {}, color ? mrOk : mrCancel, {}, color, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectModal(const QString& objectName, std::function<int(QDialog&)> driver)
{
    m_queue.push_back({Kind::Modal, objectName, mrOk, {}, {}, std::move(driver), {}});
    return *this;
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(Kind kind, const QString& description)
{
    m_shown << kindName(kind) + QStringLiteral(": ") + description;
    if (m_queue.empty()) {
        fail(QStringLiteral("unexpected %1 prompt: %2").arg(kindName(kind), description));
        return std::nullopt;
    }
    const Answer& next = m_queue.front();
    const bool matches = next.kind == kind &&
                         (kind != Kind::Message || description.contains(next.match)) &&
                         (kind != Kind::Modal || description == next.match);
    if (!matches) {
        fail(QStringLiteral("unexpected %1 prompt: %2 (expected %3: %4)")
                 .arg(kindName(kind), description, kindName(next.kind), next.match));
        return std::nullopt;
    }
    Answer answer = next;
    m_queue.pop_front();
    return answer;
}

int ScriptedDialogs::messageBox(const QString& text, const QString& caption, Buttons buttons, int)
{
    const auto answer = take(Kind::Message, text + QStringLiteral(" [") + caption + QLatin1Char(']'));
    if (answer) {
        if (answer->whileShown)
            answer->whileShown();
        return answer->result;
    }
    return buttons == Buttons::Ok ? mrOk : (buttons == Buttons::YesNo ? mrNo : mrCancel);
}

std::optional<QString> ScriptedDialogs::inputQuery(const QString& caption, const QString& prompt,
                                                   const QString& initial)
{
    const auto answer = take(Kind::Input, prompt + QStringLiteral(" [") + caption + QStringLiteral("] ") + initial);
    return answer ? answer->text : std::nullopt;
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogOptions& options)
{
    m_lastFileOptions = options;
    const auto answer = take(Kind::OpenFile, options.filter);
    return answer ? answer->text : std::nullopt;
}

std::optional<QString> ScriptedDialogs::saveFile(const FileDialogOptions& options)
{
    m_lastFileOptions = options;
    const auto answer = take(Kind::SaveFile, options.filter);
    return answer ? answer->text : std::nullopt;
}

std::optional<QString> ScriptedDialogs::selectDirectory(const QString& caption, const QString& start)
{
    const auto answer = take(Kind::Folder, caption + QLatin1Char(' ') + start);
    return answer ? answer->text : std::nullopt;
}

std::optional<int> ScriptedDialogs::chooseColor(int initial)
{
    const auto answer = take(Kind::Color, QString::number(initial, 16));
    return answer ? answer->color : std::nullopt;
}

int ScriptedDialogs::showModal(QDialog& dialog)
{
    const auto answer = take(Kind::Modal, dialog.objectName());
    if (!answer || !answer->driver)
        return mrCancel;
    // Shown (not run modally) so that the form sets itself up as it does when it appears.
    dialog.setResult(mrNone);
    dialog.show();
    const int result = answer->driver(dialog);
    dialog.hide();
    return result;
}

RecordingShell::RecordingShell()
{
    setShell(this);
}

RecordingShell::~RecordingShell()
{
    setShell(nullptr);
}

bool RecordingShell::ShellOpen(const QString& path)
{
    opened << path;
    return opens;
}

bool RecordingShell::StartProgram(const QString& program, const QStringList& arguments, const QString& workingDir)
{
    started << program + QLatin1Char('|') + arguments.join(QLatin1Char(' ')) + QLatin1Char('|') + workingDir;
    return true;
}

} // namespace platform::testing
