#pragma once

#include <deque>
#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "platform/Dialogs.h"
#include "platform/Shell.h"

// Test doubles of the platform's dialogs and shell. A test queues the answers it expects, in order;
// a prompt that was not queued, or of another kind than the next answer, fails the running test
// with the prompt's text and gets a cancel. Installed for its lifetime; on destruction an answer
// left unused fails the test too.
namespace platform::testing {

class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder, Color, Modal };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Expect a message box whose text contains `textPart`, answered with `answer` (mrOk, mrYes, ...);
    // `whileShown` runs while it is on screen, for tests of what stands meanwhile.
    ScriptedDialogs& expectMessage(const QString& textPart, int answer = mrOk,
                                   std::function<void()> whileShown = {});
    // Expect an input query; nothing = cancel.
    ScriptedDialogs& expectInput(std::optional<QString> answer);
    ScriptedDialogs& expectOpenFile(std::optional<QString> path);
    ScriptedDialogs& expectSaveFile(std::optional<QString> path);
    ScriptedDialogs& expectFolder(std::optional<QString> path);
    ScriptedDialogs& expectColor(std::optional<int> color);
    // Expect a modal form with that objectName; the driver works its controls and returns the
    // modal result.
    ScriptedDialogs& expectModal(const QString& objectName, std::function<int(QDialog&)> driver);

    // Every prompt shown, as "kind: text" lines, for tests that check what was asked.
    const QStringList& shown() const { return m_shown; }
    // The last options given to a file dialog.
    const FileDialogOptions& lastFileOptions() const { return m_lastFileOptions; }
    bool allAnswered() const { return m_queue.empty(); }

    int messageBox(const QString& text, const QString& caption, Buttons buttons, int defaultButton) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& initial) override;
    std::optional<QString> openFile(const FileDialogOptions& options) override;
    std::optional<QString> saveFile(const FileDialogOptions& options) override;
    std::optional<QString> selectDirectory(const QString& caption, const QString& start) override;
    std::optional<int> chooseColor(int initial) override;
    int showModal(QDialog& dialog) override;

private:
    struct Answer
    {
        Kind kind;
        QString match; // text part (messages) or objectName (modal forms)
        int result = mrCancel;
        std::optional<QString> text;
        std::optional<int> color;
        std::function<int(QDialog&)> driver;
        std::function<void()> whileShown;
    };

    // The next answer when it is of that kind; otherwise records the failure and gives nothing.
    std::optional<Answer> take(Kind kind, const QString& description);

    std::deque<Answer> m_queue;
    QStringList m_shown;
    FileDialogOptions m_lastFileOptions;
};

// Records what the programs would open or start instead of doing it.
class RecordingShell : public Shell
{
public:
    RecordingShell();
    ~RecordingShell() override;
    bool ShellOpen(const QString& path) override;
    bool StartProgram(const QString& program, const QStringList& arguments, const QString& workingDir) override;

    QStringList opened;  // paths given to ShellOpen
    bool opens = true;   // what ShellOpen answers: false as where no program can show the file
    QStringList started; // "program|arg1 arg2|workingDir"
};

} // namespace platform::testing
