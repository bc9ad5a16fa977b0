#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/CopyData.h"

using namespace platform;

namespace {

constexpr std::uintptr_t kEcho = 1;       // replies "echo:" + data with dwData 101
constexpr std::uintptr_t kTwoReplies = 2; // replies twice; the requester gets the first
constexpr std::uintptr_t kUnknown = 3;    // not handled: reaches the default handler
constexpr std::uintptr_t kModal = 4;      // runs an event loop, as a modal form does, before replying
constexpr int kClientTimeoutMs = 5000;
// Far below the client's timeout: an answer this fast did not come from waiting it out.
constexpr qint64 kPromptMs = 2000;

struct Received
{
    QString requester;
    std::uintptr_t dwData;
    QByteArray data;
};

class ScoringWindow : public MessageWindow
{
public:
    void Dispatch(Message& message) override
    {
        if (message.msg != WM_COPYDATA) {
            MessageWindow::Dispatch(message);
            return;
        }
        const QString& requester = *reinterpret_cast<const QString*>(message.wParam);
        const CopyDataStruct& request = *RecordOf<CopyDataStruct>(message);
        received.push_back({requester, request.dwData, request.data});
        switch (request.dwData) {
        case kEcho:
            message.result = SendCopyData(requester, kEcho + 100, "echo:" + request.data);
            break;
        case kTwoReplies:
            SendCopyData(requester, 201, "first");
            SendCopyData(requester, 202, "second");
            message.result = 1;
            break;
        case kModal: {
            QEventLoop loop;
            QTimer::singleShot(modalMs, &loop, &QEventLoop::quit);
            loop.exec();
            message.result = SendCopyData(requester, kModal + 100, "after the form");
            break;
        }
        default:
            MessageWindow::Dispatch(message);
        }
    }

    std::vector<Received> received;
    int defaulted = 0;
    int modalMs = 0;

protected:
    void DefaultHandler(Message& message) override
    {
        ++defaulted;
        MessageWindow::DefaultHandler(message);
    }
};

QString uniqueHandle()
{
    static int counter = 0;
    return QStringLiteral("hoop-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Runs a blocking client call in its own thread while this thread's event loop serves the server.
template <typename Call> auto runClient(Call call, qint64* elapsedMs = nullptr)
{
    using Result = decltype(call());
    Result result{};
    std::atomic<bool> done = false;
    QElapsedTimer timer;
    timer.start();
    std::thread client([&] {
        result = call();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    client.join();
    if (elapsedMs)
        *elapsedMs = timer.elapsed();
    return result;
}

QByteArray frame(const QByteArray& body)
{
    QByteArray header(4, '\0');
    qToLittleEndian<quint32>(quint32(body.size()), header.data());
    return header + body;
}

// A frame body as the wire format has it: kind, then the fields given.
template <typename... Fields> QByteArray body(quint8 kind, const Fields&... fields)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kind;
    (out << ... << fields);
    return bytes;
}

} // namespace

class TestCopyData : public QObject
{
    Q_OBJECT

private slots:
    void requests_data()
    {
        QTest::addColumn<quint64>("dwData");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("reaches");
        QTest::addColumn<std::optional<CopyDataStruct>>("reply");

        const QByteArray binary("\0\x01\xff\r\n", 5);
        const QByteArray largest(kMaxCopyDataSize - 5, 'L');
        const std::optional<CopyDataStruct> none;
        QTest::newRow("echo") << quint64(kEcho) << QByteArray("abc") << true
                              << std::optional(CopyDataStruct{101, "echo:abc"});
        QTest::newRow("empty data") << quint64(kEcho) << QByteArray() << true
                                    << std::optional(CopyDataStruct{101, "echo:"});
        QTest::newRow("binary data") << quint64(kEcho) << binary << true
                                     << std::optional(CopyDataStruct{101, "echo:" + binary});
        QTest::newRow("largest data")
            << quint64(kEcho) << largest << true << std::optional(CopyDataStruct{101, "echo:" + largest});
        QTest::newRow("first of two replies")
            << quint64(kTwoReplies) << QByteArray("x") << true << std::optional(CopyDataStruct{201, "first"});
        QTest::newRow("unknown request gets nothing at once")
            << quint64(kUnknown) << QByteArray("?") << true << none;
        QTest::newRow("oversized data is not sent")
            << quint64(kEcho) << QByteArray(kMaxCopyDataSize + 1, 'O') << false << none;
    }

    void requests()
    {
        QFETCH(quint64, dwData);
        QFETCH(QByteArray, data);
        QFETCH(bool, reaches);
        QFETCH(std::optional<CopyDataStruct>, reply);

        ScoringWindow window;
        CopyDataServer server(&window, uniqueHandle());
        QVERIFY(server.isListening());
        qint64 elapsed = 0;
        const auto result = runClient(
            [&] { return RequestCopyData(server.handle(), dwData, data, kClientTimeoutMs); }, &elapsed);
        QCOMPARE(result.has_value(), reply.has_value());
        if (reply) {
            QCOMPARE(result->dwData, reply->dwData);
            QCOMPARE(result->data, reply->data);
        }
        QVERIFY2(elapsed < kPromptMs, qPrintable(QString::number(elapsed)));
        QCOMPARE(window.received.size(), reaches ? 1u : 0u);
        if (reaches) {
            QVERIFY(!window.received[0].requester.isEmpty());
            QCOMPARE(window.received[0].dwData, dwData);
            QCOMPARE(window.received[0].data, data);
        }
    }

    // A request that arrives while a handler shows a form is served inside it; each reply still
    // reaches its own requester.
    void requestDuringModalHandler()
    {
        ScoringWindow window;
        window.modalMs = 500;
        CopyDataServer server(&window, uniqueHandle());
        std::optional<CopyDataStruct> modalReply;
        std::optional<CopyDataStruct> echoReply;
        std::atomic<int> finished = 0;
        std::thread first([&] {
            modalReply = RequestCopyData(server.handle(), kModal, "form", kClientTimeoutMs);
            ++finished;
        });
        // Not QTRY: a failed check must not leave a thread unjoined.
        while (window.received.empty() && finished == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::thread second([&] {
            echoReply = RequestCopyData(server.handle(), kEcho, "meanwhile", kClientTimeoutMs);
            ++finished;
        });
        while (finished < 2)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        first.join();
        second.join();
        QVERIFY(modalReply && echoReply);
        QCOMPARE(modalReply->data, QByteArray("after the form"));
        QCOMPARE(echoReply->data, QByteArray("echo:meanwhile"));
        QCOMPARE(window.received.size(), 2u);
    }

    void absentServer()
    {
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(RequestCopyData(uniqueHandle(), kEcho, "abc", kClientTimeoutMs).has_value(), false);
        QVERIFY(timer.elapsed() < kPromptMs);
    }

    void malformedFrames_data()
    {
        QTest::addColumn<QByteArray>("bytes");

        const QString handle = QStringLiteral("raw");
        QTest::newRow("length beyond the cap") << QByteArray("\xff\xff\xff\xff garbage");
        QTest::newRow("zero length") << QByteArray(4, '\0') + "more";
        QTest::newRow("garbage body") << frame(QByteArray(8, '\xab'));
        QTest::newRow("unknown kind") << frame(body(9, handle, quint64(kEcho), QByteArray("abc")));
        QTest::newRow("reply sent to the server") << frame(body(2, quint64(kEcho), QByteArray("abc")));
        QTest::newRow("data longer than its frame")
            << frame(body(1, handle, quint64(kEcho)) + QByteArray("\x7f\xff\xff\xff", 4) + "abc");
        QTest::newRow("trailing bytes") << frame(body(1, handle, quint64(kEcho), QByteArray("abc")) + "tail");
    }

    // A bad frame costs only its own connection; the server carries on with the next client.
    void malformedFrames()
    {
        QFETCH(QByteArray, bytes);

        ScoringWindow window;
        CopyDataServer server(&window, uniqueHandle());
        QVERIFY(server.isListening());
        QLocalSocket raw;
        raw.connectToServer(server.handle());
        QVERIFY(raw.waitForConnected(1000));
        raw.write(bytes);
        QTRY_COMPARE(raw.state(), QLocalSocket::UnconnectedState);
        QVERIFY(window.received.empty());

        const auto reply =
            runClient([&] { return RequestCopyData(server.handle(), kEcho, "ok", kClientTimeoutMs); });
        QVERIFY(reply);
        QCOMPARE(reply->data, QByteArray("echo:ok"));
    }

    // A client that sends requests and reads none of the replies loses its connection once more than a
    // frame's worth waits for it, instead of the program keeping every reply; the others are served.
    void clientReadingNoReplies()
    {
        ScoringWindow window;
        CopyDataServer server(&window, uniqueHandle());
        QLocalSocket silent;
        silent.setReadBufferSize(1); // takes next to nothing off the connection
        silent.connectToServer(server.handle());
        QVERIFY(silent.waitForConnected(1000));
        // Each echo comes back as large as it went: far more than the cap, were none dropped.
        constexpr int kRequests = 200;
        for (int i = 0; i < kRequests; ++i)
            silent.write(
                frame(body(1, QStringLiteral("silent"), quint64(kEcho), QByteArray(64 * 1024, 'x'))));
        QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState, 20000);
        QVERIFY(window.received.size() < size_t(kRequests));

        const auto reply =
            runClient([&] { return RequestCopyData(server.handle(), kEcho, "next", kClientTimeoutMs); });
        QVERIFY(reply);
        QCOMPARE(reply->data, QByteArray("echo:next"));
    }

    void sendToWindow()
    {
        ScoringWindow window;
        CopyDataServer server(&window, uniqueHandle());
        // From another process (here: thread) it goes over the connection and waits for the window.
        QVERIFY(runClient([&] { return SendCopyData(server.handle(), kUnknown, "from afar"); }));
        // A window of the calling thread gets it at once, without the event loop.
        QVERIFY(SendCopyData(server.handle(), kUnknown, "nearby"));
        QCOMPARE(window.received.size(), 2u);
        QCOMPARE(window.received[0].data, QByteArray("from afar"));
        QCOMPARE(window.received[1].data, QByteArray("nearby"));
        QCOMPARE(window.defaulted, 2);

        QVERIFY(!SendCopyData(uniqueHandle(), kUnknown, "nobody"));
    }

    void staleNameIsReused()
    {
        const QString handle = uniqueHandle();
        // A socket file nobody listens on, as a crashed program leaves it.
        const QByteArray path = QFile::encodeName(QDir::temp().filePath(handle));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
        QVERIFY(QFile::exists(QFile::decodeName(path)));

        ScoringWindow window;
        CopyDataServer server(&window, handle);
        QVERIFY(server.isListening());
        QVERIFY(runClient([&] { return RequestCopyData(handle, kEcho, "a", kClientTimeoutMs); }));
    }

    void liveNameIsKept()
    {
        ScoringWindow first;
        ScoringWindow second;
        CopyDataServer owner(&first, uniqueHandle());
        CopyDataServer intruder(&second, owner.handle());
        QVERIFY(owner.isListening());
        QVERIFY(!intruder.isListening());
        QVERIFY(runClient([&] { return RequestCopyData(owner.handle(), kEcho, "a", kClientTimeoutMs); }));
        QCOMPARE(first.received.size(), 1u);
        QVERIFY(second.received.empty());
    }
};

QTEST_GUILESS_MAIN(TestCopyData)
#include "tst_platform_copydata.moc"
