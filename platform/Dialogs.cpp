#include "platform/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include "platform/Colors.h"

namespace platform {

namespace {

QMessageBox::StandardButton toStandard(int result)
{
    switch (result) {
    case mrOk:
        return QMessageBox::Ok;
    case mrCancel:
        return QMessageBox::Cancel;
    case mrYes:
        return QMessageBox::Yes;
    case mrNo:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

int fromStandard(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return mrOk;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    default:
        return mrCancel;
    }
}

QString withDefaultExt(const QString& path, const QString& defaultExt)
{
    if (path.isEmpty() || defaultExt.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + defaultExt;
}

QString startPath(const FileDialogOptions& options)
{
    if (options.fileName.isEmpty())
        return options.initialDir;
    if (options.initialDir.isEmpty() || QFileInfo(options.fileName).isAbsolute())
        return options.fileName;
    return QDir(options.initialDir).filePath(options.fileName);
}

// Qt's folder dialog refuses a folder that does not exist; this one hands a typed new folder back, to be
// created after asking.
class FolderDialog : public QFileDialog
{
public:
    FolderDialog(QWidget* parent, const QString& caption, const QString& start)
        : QFileDialog(parent, caption, start)
    {
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
        setOption(QFileDialog::DontUseNativeDialog);
    }

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if (chosen.size() == 1 && !chosen.constFirst().isEmpty() && !QFileInfo::exists(chosen.constFirst())) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

class QtDialogs : public Dialogs
{
public:
    int messageBox(const QString& text, const QString& caption, Buttons buttons, int defaultButton) override
    {
        QMessageBox::StandardButtons set;
        switch (buttons) {
        case Buttons::Ok:
            set = QMessageBox::Ok;
            break;
        case Buttons::OkCancel:
            set = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case Buttons::YesNo:
            set = QMessageBox::Yes | QMessageBox::No;
            break;
        case Buttons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        }
        const QMessageBox::Icon icon = buttons == Buttons::Ok ? QMessageBox::Information : QMessageBox::Question;
        QMessageBox box(icon, caption, text, set, QApplication::activeWindow());
        if (defaultButton != mrNone)
            box.setDefaultButton(toStandard(defaultButton));
        const int answer = box.exec();
        // Closing a box without Cancel (Esc, the window's close box) counts as its only or last button.
        if (answer == QMessageBox::NoButton || box.clickedButton() == nullptr)
            return buttons == Buttons::Ok ? mrOk : (buttons == Buttons::YesNo ? mrNo : mrCancel);
        return fromStandard(answer);
    }

    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& initial) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(QApplication::activeWindow(), caption, prompt,
                                                   QLineEdit::Normal, initial, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

    std::optional<QString> openFile(const FileDialogOptions& options) override
    {
        const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), options.title,
                                                          startPath(options), toQtFilter(options.filter));
        if (path.isEmpty())
            return std::nullopt;
        return path;
    }

    std::optional<QStringList> openFiles(const FileDialogOptions& options) override
    {
        const QStringList paths = QFileDialog::getOpenFileNames(QApplication::activeWindow(), options.title,
                                                                startPath(options), toQtFilter(options.filter));
        if (paths.isEmpty())
            return std::nullopt;
        return paths;
    }

    std::optional<QString> saveFile(const FileDialogOptions& options) override
    {
        // The programs ask before overwriting themselves.
        const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), options.title,
                                                          startPath(options), toQtFilter(options.filter),
                                                          nullptr, QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return std::nullopt;
        return withDefaultExt(path, options.defaultExt);
    }

    std::optional<QString> selectDirectory(const QString& caption, const QString& start) override
    {
        FolderDialog dialog(QApplication::activeWindow(), caption, start);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString path = dialog.selectedFiles().constFirst();
        if (path.isEmpty())
            return std::nullopt;
        return QDir::toNativeSeparators(path);
    }

    std::optional<int> chooseColor(int initial) override
    {
        const QColor color = QColorDialog::getColor(toQColor(initial), QApplication::activeWindow());
        if (!color.isValid())
            return std::nullopt;
        return fromQColor(color);
    }

    // Forms close with done(mrXxx); accept() is mrOk and reject() is mrCancel.
    int showModal(QDialog& dialog) override
    {
        const int result = dialog.exec();
        return result == QDialog::Rejected ? mrCancel : result;
    }
};

Dialogs* g_replacement = nullptr;

} // namespace

std::optional<QStringList> Dialogs::openFiles(const FileDialogOptions& options)
{
    const std::optional<QString> path = openFile(options);
    if (!path)
        return std::nullopt;
    return QStringList{*path};
}

std::optional<QString> chooseFolder(const QString& start, const QString& messageCaption)
{
    const std::optional<QString> folder = dialogs().selectDirectory(QString(), start);
    if (!folder || folder->trimmed().isEmpty())
        return std::nullopt;
    const QFileInfo info(*folder);
    if (info.isDir())
        return folder;
    if (!info.exists() &&
        dialogs().messageBox(*folder + QStringLiteral("\nこのフォルダは存在しません。作成しますか？"),
                             messageCaption, Buttons::YesNo) != mrYes)
        return std::nullopt;
    if (info.exists() || !QDir().mkpath(*folder)) {
        dialogs().messageBox(*folder + QStringLiteral("\nフォルダを作成できませんでした"), messageCaption,
                             Buttons::Ok);
        return std::nullopt;
    }
    return folder;
}

Dialogs& dialogs()
{
    static QtDialogs qtDialogs;
    return g_replacement ? *g_replacement : qtDialogs;
}

void setDialogs(Dialogs* replacement)
{
    g_replacement = replacement;
}

bool installQtTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList qtParts;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!name.contains(QLatin1Char('(')))
            name += QStringLiteral(" (") + patterns + QLatin1Char(')');
        qtParts << name;
    }
    return qtParts.join(QStringLiteral(";;"));
}

} // namespace platform
