// Statistics snapshot and open requests from other programs, sent to the running main window's
// local server as docs/statistics-requests.md describes them: frames written by hand in this test,
// and once through the platform's client from a second process.
#include <QApplication>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QtEndian>

#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "hooptally/Common.h"
#include "hooptally/Tsavefile.h"
#include "hooptally/Tstats.h"
#include "hooptally/Tteam.h"
#include "platform/Codec.h"
#include "platform/CopyData.h"
#include "platform/testing/NonRegularFiles.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"
#include "support/ReportGame.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

constexpr int kTimeoutMs = 10000;

struct Reply
{
    quint64 dwData = 0;
    QByteArray data;
};

// What came back on the connection: the replies, and whether the server said it was done.
struct Exchange
{
    QList<Reply> replies;
    bool done = false;
};

void appendBigEndian32(QByteArray& bytes, quint32 value)
{
    char buffer[4];
    qToBigEndian(value, buffer);
    bytes.append(buffer, 4);
}

QByteArray requestFrame(const QString& requester, quint64 dwData, const QByteArray& data)
{
    QByteArray body(1, '\x01');
    appendBigEndian32(body, quint32(requester.size() * 2));
    for (const QChar c : requester) {
        body.append(char(c.unicode() >> 8));
        body.append(char(c.unicode() & 0xFF));
    }
    char number[8];
    qToBigEndian(dwData, number);
    body.append(number, 8);
    appendBigEndian32(body, quint32(data.size()));
    body += data;
    QByteArray frame(4, '\0');
    qToLittleEndian(quint32(body.size()), frame.data());
    return frame + body;
}

// Sends one request as another program would and reads until the server is done with it, keeping
// this thread's event loop (which serves the main window) running meanwhile.
Exchange exchange(const QString& handle, quint64 dwData, const QByteArray& data)
{
    Exchange result;
    QLocalSocket socket;
    socket.connectToServer(handle);
    if (!socket.waitForConnected(kTimeoutMs))
        return result;
    socket.write(requestFrame(QStringLiteral("test-client"), dwData, data));
    socket.flush();
    QByteArray buffer;
    const QDeadlineTimer deadline(kTimeoutMs);
    while (!result.done && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        socket.waitForReadyRead(5);
        buffer += socket.readAll();
        while (buffer.size() >= 4) {
            const quint32 size = qFromLittleEndian<quint32>(buffer.constData());
            if (buffer.size() < 4 + qsizetype(size))
                break;
            const QByteArray body = buffer.mid(4, size);
            buffer.remove(0, 4 + size);
            if (body.at(0) == 3) {
                result.done = true;
            } else if (body.at(0) == 2 && body.size() >= 13) {
                Reply reply;
                reply.dwData = qFromBigEndian<quint64>(body.constData() + 1);
                const quint32 length = qFromBigEndian<quint32>(body.constData() + 9);
                reply.data = length == 0xFFFFFFFF ? QByteArray() : body.mid(13, length);
                result.replies << reply;
            }
        }
    }
    return result;
}

QString expectedHandle()
{
    return QDir(StatsRequestFolder())
        .filePath(QStringLiteral("Hooptally.%1").arg(QCoreApplication::applicationPid()));
}

qint32 int32At(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

double doubleAt(const QByteArray& bytes, int offset)
{
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData() + offset);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The text a reference field points at: zero-terminated CP932 after the block; "" for 0.
QString textAt(const QByteArray& bytes, int field)
{
    const qint32 offset = int32At(bytes, field);
    if (offset == 0)
        return {};
    const qsizetype end = bytes.indexOf('\0', offset);
    return platform::Codec::fromCp932(bytes.mid(offset, end - offset));
}

QStringList rosterLines(const QString& team, int players, int starters)
{
    QStringList lines;
    for (int i = 0; i < players; ++i)
        lines << QStringLiteral("%1,%2,%3,選手%3,%4,%5,,")
                     .arg(team)
                     .arg(i + 1)
                     .arg(4 + i)
                     .arg(i % 2 ? QStringLiteral("G") : QStringLiteral("F"))
                     .arg(i < starters ? QStringLiteral("Starter") : QString());
    return lines;
}

platform::LRESULT handleDirectly(THooptallyForm& form, platform::CopyDataStruct& request)
{
    QString requester; // nobody to answer
    return platform::SendMessage(&form, platform::WM_COPYDATA, reinterpret_cast<platform::WPARAM>(&requester),
                                 platform::Lend(&request));
}

} // namespace

class tst_statsrequest : public QObject
{
    Q_OBJECT
private slots:
    void serverOnlyAfterFirstActivation()
    {
        Program program({}, false);
        QVERIFY(!QFileInfo::exists(expectedHandle()));
        program.form().FormActivate();
        QVERIFY(QFileInfo::exists(expectedHandle()));
        // Only this user may reach it.
        struct stat info
        {
        };
        QCOMPARE(::lstat(QFile::encodeName(StatsRequestFolder()).constData(), &info), 0);
        QVERIFY(S_ISDIR(info.st_mode));
        QCOMPARE(info.st_uid, ::getuid());
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
    }

    void requestFolderIsPrivate_data()
    {
        QTest::addColumn<QString>("prepared");
        QTest::addColumn<bool>("usable");
        QTest::newRow("created") << "" << true;
        QTest::newRow("too open, tightened") << "open" << true;
        QTest::newRow("a link is refused") << "link" << false;
        QTest::newRow("a file is refused") << "file" << false;
    }
    void requestFolderIsPrivate()
    {
        QFETCH(QString, prepared);
        QFETCH(bool, usable);
        QTemporaryDir runtime;
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const QString folder = runtime.filePath(QStringLiteral("hooptally-%1").arg(::getuid()));
        const QByteArray path = QFile::encodeName(folder);
        if (prepared == "open") {
            QCOMPARE(::mkdir(path.constData(), 0777), 0);
            QCOMPARE(::chmod(path.constData(), 0777), 0);
        } else if (prepared == "link") {
            QVERIFY(QDir(runtime.path()).mkdir("elsewhere"));
            QCOMPARE(
                ::symlink(QFile::encodeName(runtime.filePath("elsewhere")).constData(), path.constData()), 0);
        } else if (prepared == "file") {
            writeLines(folder, {"x"});
        }
        const QString result = StatsRequestFolder();
        qputenv("XDG_RUNTIME_DIR", saved);
        QCOMPARE(result, usable ? folder : QString());
        if (usable) {
            struct stat info
            {
            };
            QCOMPARE(::lstat(path.constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, mode_t(0700));
        }
    }

    void snapshotOfTwelveEntries()
    {
        Program program;
        loadRosters(program, rosterLines("東京", 11, 5), rosterLines("大阪", 3, 2));
        THooptallyForm& form = program.form();
        form.Taikaimei->setText(QStringLiteral("春季大会"));
        form.Basho->setText(QStringLiteral("体育館"));
        form.DateTimePicker1->setDate(QDate(2024, 6, 1));
        form.DateTimePicker2->setTime(QTime(18, 30, 5));
        TPlayer* first = program.teamA().PlayerAt(0);
        QCOMPARE(first->number, QStringLiteral("4"));
        const std::pair<std::uint8_t, int> actions[] = {{kTwoPointMade, 2},
                                                        {kTwoPointMissed, 1},
                                                        {kThreePointMade, 1},
                                                        {kThreePointMissed, 2},
                                                        {kFreeThrowMade, 1},
                                                        {kFreeThrowMissed, 3},
                                                        {kFoul, 1},
                                                        {kAssist, 2},
                                                        {kOffensiveRebound, 1},
                                                        {kDefensiveRebound, 3},
                                                        {kBlockedShot, 1},
                                                        {kTurnover, 2},
                                                        {kSteal, 4}};
        for (const auto& [code, times] : actions) {
            for (int i = 0; i < times; ++i)
                program.act(first, code, code == kFoul ? std::uint8_t(kPersonalFoul) : kNone,
                            code == kFoul ? 0 : kNone);
        }
        program.setClock(4, 0);
        program.act(first, kToBench);

        const Exchange answer = exchange(expectedHandle(), kSnapshotRequest, {});
        QVERIFY(answer.done);
        QCOMPARE(answer.replies.size(), 1);
        QCOMPARE(answer.replies[0].dwData, quint64(3));
        const QByteArray block = answer.replies[0].data;
        QCOMPARE(block, BuildStatsSnapshot());

        // Texts follow the block in the order of their fields.
        QCOMPARE(int32At(block, 0), 3240);
        QCOMPARE(textAt(block, 0), QStringLiteral("春季大会"));
        QCOMPARE(int32At(block, 4), 3240 + 9);
        QCOMPARE(textAt(block, 4), QStringLiteral("体育館"));
        QCOMPARE(doubleAt(block, 8), 45444.0);
        QCOMPARE(doubleAt(block, 16), 66605.0 / 86400.0);
        QCOMPARE(int32At(block, 24), 3240 + 9 + 7);
        QCOMPARE(textAt(block, 24), QStringLiteral("東京"));
        QCOMPARE(int32At(block, 28), 12);

        // Slot 0 of team A at 32: the player with every counter.
        QCOMPARE(int32At(block, 32), first->id);
        QCOMPARE(textAt(block, 36), QStringLiteral("選手4"));
        QCOMPARE(textAt(block, 40), QStringLiteral("4"));
        QCOMPARE(textAt(block, 44), QStringLiteral("F"));
        QCOMPARE(block.at(48), '\x01');
        QCOMPARE(block.mid(49, 3), QByteArray(3, '\0'));
        const qint32 values[] = {4, 2, 3, 6, 1, 3, 1, 2, 1, 3, 1, 2, 4};
        for (int i = 0; i < 13; ++i)
            QCOMPARE(int32At(block, 52 + 4 * i), values[i]);
        QCOMPARE(doubleAt(block, 104), 120.0 / 86400.0);

        // Slots 1 to 11 hold the other entries, the blank add row last; 12 to 19 are zero.
        for (int slot = 1; slot < 12; ++slot)
            QCOMPARE(int32At(block, 32 + 80 * slot), program.teamA().PlayerAt(slot)->id);
        QCOMPARE(textAt(block, 32 + 80 * 11 + 4), QString());
        QCOMPARE(block.mid(32 + 80 * 12, 80 * 8), QByteArray(80 * 8, '\0'));
        // Team B starts at 1632 with its three entries.
        QCOMPARE(textAt(block, 1632), QStringLiteral("大阪"));
        QCOMPARE(int32At(block, 1636), 4);
        QCOMPARE(textAt(block, 1640 + 4), program.teamB().PlayerAt(0)->name);
        QCOMPARE(block.mid(1640 + 80 * 4, 80 * 16), QByteArray(80 * 16, '\0'));
        QVERIFY(block.endsWith('\0'));
    }

    void fullTeams_data()
    {
        QTest::addColumn<int>("players");
        QTest::newRow("20 entries") << 19;
        QTest::newRow("21 entries") << 20;
    }
    void fullTeams()
    {
        QFETCH(int, players);
        Program program;
        loadRosters(program, {}, rosterLines("大阪", players, 5));
        const QByteArray block = BuildStatsSnapshot();
        QCOMPARE(int32At(block, 1636), players + 1);
        for (int slot = 0; slot < 20; ++slot)
            QCOMPARE(int32At(block, 1640 + 80 * slot), program.teamB().PlayerAt(slot)->id);
        // The last slot ends the block; no 21st is sent.
        const int lastSlotName = 1640 + 80 * 19 + 4;
        QCOMPARE(textAt(block, lastSlotName), program.teamB().PlayerAt(19)->name);
        // Team A: its blank add row only.
        QCOMPARE(int32At(block, 28), 1);
        QCOMPARE(int32At(block, 24), 0);
    }

    void requestCodes_data()
    {
        QTest::addColumn<quint64>("dwData");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("replyCode"); // -1: no reply
        QTest::newRow("snapshot") << quint64(2) << 0 << 3;
        QTest::newRow("only the low byte counts") << quint64(258) << 0 << 3;
        QTest::newRow("code 1") << quint64(1) << 0 << -1;
        QTest::newRow("code 3") << quint64(3) << 0 << -1;
        QTest::newRow("64 KiB") << quint64(2) << 64 * 1024 << 3;
        QTest::newRow("larger than 64 KiB") << quint64(2) << 64 * 1024 + 1 << -1;
    }
    void requestCodes()
    {
        QFETCH(quint64, dwData);
        QFETCH(int, size);
        QFETCH(int, replyCode);
        Program program;
        const Exchange answer = exchange(expectedHandle(), dwData, QByteArray(size, 'x'));
        QVERIFY(answer.done);
        QCOMPARE(answer.replies.size(), replyCode < 0 ? 0 : 1);
        if (replyCode >= 0)
            QCOMPARE(answer.replies[0].dwData, quint64(replyCode));
    }

    void handlerResultAndRecord_data()
    {
        QTest::addColumn<quint64>("dwData");
        QTest::addColumn<int>("result");
        QTest::newRow("open") << quint64(0) << 1;
        QTest::newRow("snapshot") << quint64(2) << 1;
        QTest::newRow("snapshot, high bits") << quint64(0x1202) << 1;
        QTest::newRow("other") << quint64(5) << 0;
    }
    void handlerResultAndRecord()
    {
        QFETCH(quint64, dwData);
        QFETCH(int, result);
        Program program;
        platform::CopyDataStruct request{static_cast<std::uintptr_t>(dwData), {}};
        QCOMPARE(handleDirectly(program.form(), request), platform::LRESULT(result));
        QCOMPARE(request.dwData, std::uintptr_t(0));
    }

    void openRequest_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("tail"); // after the path: "zero", "none", "garbage"
        QTest::newRow("zero-terminated") << "game.game"
                                         << "zero";
        QTest::newRow("no terminating zero") << "game.game"
                                             << "none";
        QTest::newRow("bytes after the zero") << "game.game"
                                              << "garbage";
        QTest::newRow("Japanese name") << "春季大会・決勝.game"
                                       << "zero";
    }
    void openRequest()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, tail);
        Program program;
        playReportGame(program);
        const QString path = program.path(fileName);
        QVERIFY(TSaveFile(path).Save(SaveKind::Game));
        program.form().FileNew1Execute();
        program.form().MarkGameSaved();
        QVERIFY(program.teamA().name.isEmpty());

        QByteArray data = platform::Codec::toCp932(path);
        if (tail == "zero")
            data += '\0';
        if (tail == "garbage")
            data += QByteArray("\0/elsewhere.game\0", 17);
        const Exchange answer = exchange(expectedHandle(), kOpenGameRequest, data);
        QVERIFY(answer.done);
        QCOMPARE(answer.replies.size(), 1);
        QCOMPARE(answer.replies[0].dwData, quint64(1));
        QCOMPARE(answer.replies[0].data, QByteArray("\x01\0\0\0", 4));
        QCOMPARE(program.teamA().name, QStringLiteral("東京"));
        QCOMPARE(program.form().CurrentGameFile(), path);
    }

    void openRefusals_data()
    {
        QTest::addColumn<QString>("refusal");
        QTest::newRow("file missing") << "missing";
        QTest::newRow("empty path") << "empty";
        // Refused at once: opening a pipe must not wait for a writer, nor reading a device go on for ever.
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("link to /dev/zero") << "zero";
    }
    void openRefusals()
    {
        QFETCH(QString, refusal);
        Program program;
        playReportGame(program);
        const QString saved = program.path(QStringLiteral("saved.game"));
        QVERIFY(TSaveFile(saved).Save(SaveKind::Game));
        program.form().SetCurrentGameFile(saved);
        // Unsaved changes too: a file that cannot be opened asks nothing about them.
        program.form().Taikaimei->setText(QStringLiteral("変更"));
        program.form().Taikaimei->setModified(true);
        const QStringList before = gameSnapshot(program.form());

        QString target = saved;
        if (refusal != "empty") {
            target = program.path(QStringLiteral("other.game"));
            if (refusal != "missing")
                QVERIFY(platform::testing::makeNonRegularFile(target, refusal));
            // The open command's own report.
            program.dialogs().expectMessage(QStringLiteral("ファイルを読み込めません\n") + target);
        }
        if (refusal == "empty")
            target.clear();
        const Exchange answer =
            exchange(expectedHandle(), kOpenGameRequest, platform::Codec::toCp932(target) + '\0');
        QVERIFY(answer.done);
        QCOMPARE(answer.replies.size(), 1);
        QCOMPARE(answer.replies[0].dwData, quint64(1));
        QCOMPARE(answer.replies[0].data, QByteArray(4, '\0'));
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(gameSnapshot(program.form()), before);
        QCOMPARE(program.form().CurrentGameFile(), saved);
        QCOMPARE(exchange(expectedHandle(), kSnapshotRequest, {}).replies.size(), 1);
    }

    void openAsksToSaveChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("cancel") << int(platform::mrCancel) << false;
        QTest::newRow("no") << int(platform::mrNo) << true;
        QTest::newRow("yes") << int(platform::mrYes) << true;
    }
    // A game just opened counts as changed: a request asks about it as the menu's Open does, and the
    // reply says whether the file was opened.
    void openAsksToSaveChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, opened);
        Program program;
        playReportGame(program);
        const QString first = program.path(QStringLiteral("first.game"));
        QVERIFY(TSaveFile(first).Save(SaveKind::Game));
        const QString second = program.path(QStringLiteral("second.game"));
        QVERIFY(TSaveFile(second).Save(SaveKind::Game));
        QVERIFY(program.form().OpenGameFile(first));
        const QString kept = program.path(QStringLiteral("kept.game"));
        program.dialogs().expectMessage(kAskSaveChanges, answer);
        if (answer == platform::mrYes)
            program.dialogs().expectSaveFile(kept);
        const Exchange reply =
            exchange(expectedHandle(), kOpenGameRequest, platform::Codec::toCp932(second) + '\0');
        QCOMPARE(reply.replies.value(0).data, opened ? QByteArray("\x01\0\0\0", 4) : QByteArray(4, '\0'));
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.form().CurrentGameFile(), opened ? second : first);
        QCOMPARE(QFileInfo::exists(kept), answer == platform::mrYes);
    }

    // A dialog runs its own event loop inside the program's: the game must not change under it.
    void openRefusedWhileADialogRuns()
    {
        Program program;
        playReportGame(program);
        const QString path = program.path(QStringLiteral("game.game"));
        QVERIFY(TSaveFile(path).Save(SaveKind::Game));
        program.form().FileNew1Execute();
        program.form().MarkGameSaved();
        Exchange answer;
        QEventLoop programLoop;
        QTimer::singleShot(0, &programLoop, [&] {
            QEventLoop dialogLoop;
            QTimer::singleShot(0, &dialogLoop, [&] {
                answer = exchange(expectedHandle(), kOpenGameRequest, platform::Codec::toCp932(path));
                dialogLoop.quit();
            });
            dialogLoop.exec();
            programLoop.quit();
        });
        programLoop.exec();
        QCOMPARE(answer.replies.size(), 1);
        QCOMPARE(answer.replies[0].data, QByteArray(4, '\0'));
        QVERIFY(program.teamA().name.isEmpty());
        // Once the dialog is closed the same request opens the game.
        answer = exchange(expectedHandle(), kOpenGameRequest, platform::Codec::toCp932(path));
        QCOMPARE(answer.replies.value(0).data, QByteArray("\x01\0\0\0", 4));
    }

    // Another process asks through the platform's client.
    void requestFromAnotherProcess()
    {
        Program program;
        playReportGame(program);
        QProcess client;
        client.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--request"), expectedHandle(), QStringLiteral("2")});
        QVERIFY(client.waitForStarted(kTimeoutMs));
        QTRY_VERIFY_WITH_TIMEOUT(client.state() == QProcess::NotRunning, kTimeoutMs);
        QCOMPARE(client.exitCode(), 0);
        const QList<QByteArray> output = client.readAllStandardOutput().trimmed().split(' ');
        QCOMPARE(output.size(), 2);
        QCOMPARE(output[0], QByteArray("3"));
        QCOMPARE(QByteArray::fromHex(output[1]), BuildStatsSnapshot());
    }
};

// Run with "--request <handle> <dwData>" the executable is the other program: it sends one request
// through the platform's client and prints the reply as "<dwData> <hex data>".
int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--request") == 0) {
        QCoreApplication app(argc, argv);
        const auto reply =
            platform::RequestCopyData(QString::fromLocal8Bit(argv[2]),
                                      std::uintptr_t(std::strtoull(argv[3], nullptr, 10)), {}, kTimeoutMs);
        if (!reply)
            return 1;
        const QByteArray line = QByteArray::number(quint64(reply->dwData)) + ' ' + reply->data.toHex() + '\n';
        return std::fwrite(line.constData(), 1, line.size(), stdout) == size_t(line.size()) ? 0 : 1;
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_statsrequest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_statsrequest.moc"
