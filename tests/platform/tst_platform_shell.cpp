#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

#include "platform/Shell.h"
#include "platform/WaitCursor.h"

using namespace platform;

namespace {

class LocalShell : public Shell
{
public:
    bool ShellOpen(const QString& path) override
    {
        calls << QStringLiteral("open ") + path;
        return true;
    }
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& workingDir) override
    {
        calls << QStringLiteral("start %1 %2 in %3").arg(program, arguments.join(u' '), workingDir);
        return true;
    }
    QStringList calls;
};

// The shape on top of the override stack; -1 when no override is set.
int overrideShape()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : -1;
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void replacementIsUsedAndRemoved()
    {
        Shell* desktop = &shell();
        LocalShell local;
        setShell(&local);
        QCOMPARE(&shell(), &local);
        QVERIFY(shell().ShellOpen(QStringLiteral("/tmp/report.html")));
        QVERIFY(
            shell().StartProgram(QStringLiteral("Hoopledger"), {QStringLiteral("-a")}, QStringLiteral("/w")));
        QCOMPARE(local.calls, (QStringList{QStringLiteral("open /tmp/report.html"),
                                           QStringLiteral("start Hoopledger -a in /w")}));
        setShell(nullptr);
        QCOMPARE(&shell(), desktop);
    }

    // The desktop shell really starts the program, with its arguments, in the working folder.
    void startProgramRuns()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString script = QStringLiteral("pwd > out.txt; printf '%s|%s' \"$1\" \"$2\" >> out.txt");
        QVERIFY(shell().StartProgram(QStringLiteral("/bin/sh"),
                                     {QStringLiteral("-c"), script, QStringLiteral("sh"),
                                      QStringLiteral("two words"), QStringLiteral("日本語")},
                                     dir.path()));
        const QString expected = QDir(dir.path()).canonicalPath() + QStringLiteral("\ntwo words|日本語");
        QFile out(dir.filePath(QStringLiteral("out.txt")));
        QTRY_VERIFY_WITH_TIMEOUT(out.exists() && out.size() >= expected.toUtf8().size(), 10000);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(out.readAll()), expected);
    }

    void startProgramFailures_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("missing program") << QStringLiteral("/nonexistent/hoop-no-such-program");
        QTest::newRow("no program") << QString();
    }

    void startProgramFailures()
    {
        QFETCH(QString, program);
        QVERIFY(!shell().StartProgram(program, {}, QDir::tempPath()));
    }

    void waitCursorScopes()
    {
        QCOMPARE(overrideShape(), -1);
        {
            WaitCursor outer;
            QCOMPARE(overrideShape(), int(Qt::WaitCursor));
            {
                WaitCursor inner;
                QCOMPARE(overrideShape(), int(Qt::WaitCursor));
            }
            QCOMPARE(overrideShape(), int(Qt::WaitCursor));
        }
        QCOMPARE(overrideShape(), -1);
    }

    // Leaving by an exception restores the cursor someone else had set, and only that.
    void waitCursorOnException()
    {
        QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
        try {
            WaitCursor outer;
            WaitCursor inner;
            QCOMPARE(overrideShape(), int(Qt::WaitCursor));
            throw std::runtime_error("leaving the scope");
        } catch (const std::runtime_error&) {
        }
        QCOMPARE(overrideShape(), int(Qt::PointingHandCursor));
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(overrideShape(), -1);
    }
};

QTEST_MAIN(TestShell)
#include "tst_platform_shell.moc"
