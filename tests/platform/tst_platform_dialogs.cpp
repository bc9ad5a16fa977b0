#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QTest>

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
