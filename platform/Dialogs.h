#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

// Every prompt, file dialog and modal form of the programs goes through here, so that tests can
// answer them with the scripted double (platform/testing/ScriptedDialogs.h).
namespace platform {

// Results as the class library numbers them (message box and modal results alike).
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

struct FileDialogOptions
{
    QString title;
    QString filter;      // class-library form: "name(*.ext)|*.ext|すべてのファイル (*.*)|*.*"
    QString defaultExt;  // without the dot; added when the typed name has no extension
    QString initialDir;
    QString fileName;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // defaultButton is one of the ModalResult values of the button set (mrNone: the first button).
    virtual int messageBox(const QString& text, const QString& caption, Buttons buttons,
                           int defaultButton = mrNone) = 0;
    // The input query: the answer on OK, nothing on cancel.
    virtual std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                              const QString& initial) = 0;
    // Open and save dialogs answer a full path; no built-in overwrite prompt.
    virtual std::optional<QString> openFile(const FileDialogOptions& options) = 0;
    virtual std::optional<QString> saveFile(const FileDialogOptions& options) = 0;
    // The open dialog that lets several files be chosen at once, in the dialog's order. Without an
    // override it asks for one file through openFile.
    virtual std::optional<QStringList> openFiles(const FileDialogOptions& options);
    // The folder chooser: an existing folder, or a new one typed by the user (not created here; see
    // chooseFolder).
    virtual std::optional<QString> selectDirectory(const QString& caption, const QString& start) = 0;
    // Colours are class-library values 0x00BBGGRR.
    virtual std::optional<int> chooseColor(int initial) = 0;
    // Shows one of the programs' own forms modally; returns its modal result.
    virtual int showModal(QDialog& dialog) = 0;
};

// The folder chooser of the settings dialogs: a typed folder that does not exist yet is created after
// the question, with the programs' message caption; nothing when the user cancels or declines, or when
// the folder cannot be created (which is said).
std::optional<QString> chooseFolder(const QString& start, const QString& messageCaption);

// The dialogs in force: the Qt ones unless a test installed its double.
Dialogs& dialogs();
// Installs a replacement (not owned); nullptr restores the Qt dialogs.
void setDialogs(Dialogs* replacement);

// Loads Qt's own Japanese texts (qtbase_ja.qm), so message boxes show "はい", "いいえ", "キャンセル".
bool installQtTranslations();

// Splits a class-library filter "a|b|c|d" into Qt's "a;;c" form (the patterns come from the pairs).
QString toQtFilter(const QString& filter);

} // namespace platform
