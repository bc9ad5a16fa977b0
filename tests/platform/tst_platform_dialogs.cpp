#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/Dialogs.h"
#include "platform/testing/ScriptedDialogs.h"

using namespace platform;
using platform::testing::ScriptedDialogs;

namespace {

// Set in the child process that runs one test expected to fail.
bool isChild()
{
    return qEnvironmentVariableIsSet("HOOP_DIALOGS_CHILD");
}

// Runs one test function of this executable in a child process; returns its exit code and output.
std::pair<int, QString> runChild(const QString& function)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOOP_DIALOGS_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {function});
    child.waitForFinished(30000);
    return {child.exitCode(), QString::fromUtf8(child.readAll())};
}

class ProbeDialog : public QDialog
{
public:
    ProbeDialog()
    {
        setObjectName(QStringLiteral("Probe"));
        ok = new QPushButton(QStringLiteral("OK"), this);
        connect(ok, &QPushButton::clicked, this, [this] { done(mrOk); });
    }
    QPushButton* ok;
    bool shownWhenDriven = false;
};

} // namespace

class tst_platform_dialogs : public QObject
{
    Q_OBJECT
private slots:
    void answersComeInOrder()
    {
        ScriptedDialogs scripted;
        scripted.expectMessage(QStringLiteral("上書き"), mrYes)
            .expectInput(QStringLiteral("大会"))
            .expectInput(std::nullopt)
            .expectOpenFile(QStringLiteral("/tmp/a.game"))
            .expectSaveFile(std::nullopt)
            .expectColor(0x4A73F7);
        QCOMPARE(dialogs().messageBox(QStringLiteral("上書きしますよろしいですか？"), QStringLiteral("Quillmarsh"),
                                      Buttons::YesNo),
                 int(mrYes));
        QCOMPARE(dialogs().inputQuery(QStringLiteral("Quillmarsh"), QStringLiteral("大会名"), QString()),
                 std::optional<QString>(QStringLiteral("大会")));
        QVERIFY(!dialogs().inputQuery(QStringLiteral("Quillmarsh"), QStringLiteral("場所"), QString()));
        FileDialogOptions options;
        options.filter = QStringLiteral("game(*.game)|*.game");
        QCOMPARE(*dialogs().openFile(options), QStringLiteral("/tmp/a.game"));
        QVERIFY(!dialogs().saveFile(options));
        QCOMPARE(*dialogs().chooseColor(0), 0x4A73F7);
        QVERIFY(scripted.allAnswered());
        QCOMPARE(scripted.shown().size(), 6);
        QVERIFY(scripted.shown().first().contains(QStringLiteral("上書きしますよろしいですか？")));
        QCOMPARE(scripted.lastFileOptions().filter, options.filter);
    }

    void modalDriverWorksTheShownForm()
    {
        ScriptedDialogs scripted;
        ProbeDialog dialog;
        scripted.expectModal(QStringLiteral("Probe"), [](QDialog& shown) {
            auto& probe = static_cast<ProbeDialog&>(shown);
            probe.shownWhenDriven = probe.isVisible();
            probe.ok->click();
            return probe.result();
        });
        QCOMPARE(dialogs().showModal(dialog), int(mrOk));
        QVERIFY(dialog.shownWhenDriven);
        QVERIFY(!dialog.isVisible());
    }

    void installedOnlyForItsLifetime()
    {
        {
            ScriptedDialogs scripted;
            QCOMPARE(&dialogs(), static_cast<Dialogs*>(&scripted));
        }
        QVERIFY(dynamic_cast<ScriptedDialogs*>(&dialogs()) == nullptr);
    }

    void failuresNameThePrompt_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unexpected prompt") << QStringLiteral("childUnexpectedPrompt")
                                           << QStringLiteral("unexpected message prompt: 保存に失敗しました");
        QTest::newRow("wrong kind") << QStringLiteral("childWrongKind")
                                    << QStringLiteral("unexpected input prompt: チーム名");
        QTest::newRow("answer never used") << QStringLiteral("childUnusedAnswer")
                                           << QStringLiteral("expected message prompt never came: 削除");
    }

    void failuresNameThePrompt()
    {
        if (isChild())
            QSKIP("runs in the parent only");
        QFETCH(QString, function);
        QFETCH(QString, expected);
        const auto [exitCode, output] = runChild(function);
        QVERIFY2(exitCode != 0, qPrintable(output));
        QVERIFY2(output.contains(expected), qPrintable(output));
    }

    void childUnexpectedPrompt()
    {
        if (!isChild())
            QSKIP("fails on purpose in a child process");
        ScriptedDialogs scripted;
        dialogs().messageBox(QStringLiteral("保存に失敗しました"), QStringLiteral("Quillmarsh"), Buttons::Ok);
    }

    void childWrongKind()
    {
        if (!isChild())
            QSKIP("fails on purpose in a child process");
        ScriptedDialogs scripted;
        scripted.expectMessage(QStringLiteral("x"));
        dialogs().inputQuery(QStringLiteral("Quillmarsh"), QStringLiteral("チーム名"), QString());
    }

    void childUnusedAnswer()
    {
        if (!isChild())
            QSKIP("fails on purpose in a child process");
        ScriptedDialogs scripted;
        scripted.expectMessage(QStringLiteral("削除"));
    }

    // The settings dialogs' folder chooser: a typed new folder is created only after the question.
    void chooseFolder_data()
    {
        QTest::addColumn<QString>("chosen");       // relative to a temporary folder; "<cancel>" cancels
        QTest::addColumn<QStringList>("messages"); // expected message texts, in order
        QTest::addColumn<int>("answer");           // to the question
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("exists");
        const QString ask = QStringLiteral("このフォルダは存在しません。作成しますか？");
        const QString cannot = QStringLiteral("フォルダを作成できませんでした");
        QTest::newRow("existing folder") << QStringLiteral("old") << QStringList() << 0 << true << true;
        QTest::newRow("new folder, yes")
            << QStringLiteral("new") << QStringList{ask} << int(mrYes) << true << true;
        QTest::newRow("new nested folders, yes")
            << QStringLiteral("new/sub/dir") << QStringList{ask} << int(mrYes) << true << true;
        QTest::newRow("new folder, no")
            << QStringLiteral("new") << QStringList{ask} << int(mrNo) << false << false;
        QTest::newRow("cannot be created")
            << QStringLiteral("file.txt/sub") << QStringList{ask, cannot} << int(mrYes) << false << false;
        QTest::newRow("a file, not a folder")
            << QStringLiteral("file.txt") << QStringList{cannot} << 0 << false << true;
        QTest::newRow("cancelled") << QStringLiteral("<cancel>") << QStringList() << 0 << false << false;
    }

    void chooseFolder()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, messages);
        QFETCH(int, answer);
        QFETCH(bool, taken);
        QFETCH(bool, exists);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("old")));
        QFile file(dir.filePath(QStringLiteral("file.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString path = dir.filePath(chosen);
        ScriptedDialogs scripted;
        scripted.expectFolder(chosen == QLatin1String("<cancel>") ? std::nullopt : std::optional(path));
        for (const QString& message : messages)
            scripted.expectMessage(message, message == messages.constFirst() && answer ? answer : mrOk);
        const std::optional<QString> result =
            platform::chooseFolder(dir.path(), QStringLiteral("Quillmarsh"));
        QVERIFY(scripted.allAnswered());
        QCOMPARE(result.has_value(), taken);
        if (taken)
            QCOMPARE(*result, path);
        if (chosen != QLatin1String("<cancel>"))
            QCOMPARE(QFileInfo::exists(path), exists);
        for (const QString& shown : scripted.shown().mid(1)) {
            QVERIFY2(shown.startsWith(QStringLiteral("message: ") + path + QLatin1Char('\n')),
                     qPrintable(shown));
            QVERIFY2(shown.endsWith(QStringLiteral("[Quillmarsh]")), qPrintable(shown));
        }
    }

    // Qt's own folder dialog takes a typed folder that does not exist yet (it refuses one by default).
    void qtFolderDialogTakesATypedNewFolder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("new folder") << QStringLiteral("neu");
        QTest::newRow("existing folder") << QStringLiteral("old");
    }

    void qtFolderDialogTakesATypedNewFolder()
    {
        QFETCH(QString, typed);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("old")));
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!edit) {
                dialog->reject();
                return;
            }
            edit->setText(typed);
            driven = true;
            QTest::keyClick(edit, Qt::Key_Return);
        });
        const std::optional<QString> folder = dialogs().selectDirectory(QString(), dir.path());
        QVERIFY(driven);
        QVERIFY(folder);
        QCOMPARE(QDir::cleanPath(*folder), QDir(dir.path()).filePath(typed));
    }

    void filtersBecomeQtFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("game") << QStringLiteral("game(*.game)|*.game|すべてのファイル (*.*)|*.*")
                              << QStringLiteral("game(*.game);;すべてのファイル (*.*)");
        QTest::newRow("name without pattern") << QStringLiteral("jpeg|*.jpeg") << QStringLiteral("jpeg (*.jpeg)");
        QTest::newRow("odd part ignored") << QStringLiteral("a(*.a)|*.a|b") << QStringLiteral("a(*.a)");
    }

    void filtersBecomeQtFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(toQtFilter(filter), expected);
    }
};

QTEST_MAIN(tst_platform_dialogs)
#include "tst_platform_dialogs.moc"
