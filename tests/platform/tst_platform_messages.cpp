#include <QTest>

#include <memory>
#include <vector>

#include "platform/Messages.h"

using namespace platform;

namespace {

constexpr unsigned kCountDown = WM_APP + 1;  // wParam levels still to go; result = levels below + 1
constexpr unsigned kTakeRecord = WM_APP + 2; // lParam: a heap record handed over to the receiver
constexpr unsigned kAnswer = WM_APP + 3;     // result = wParam * 2
constexpr unsigned kReadRecord = WM_APP + 4; // reads the record, tries to take it; result 1 when taken
constexpr unsigned kUnknown = WM_APP + 99;

struct Record
{
    QString name;
    std::vector<int> values;
    int* destroyed = nullptr;
    ~Record()
    {
        if (destroyed)
            ++*destroyed;
    }
};

std::unique_ptr<Record> makeRecord(const QString& name, int* destroyed)
{
    auto record = std::make_unique<Record>();
    record->name = name;
    record->values = {1, 2, 3};
    record->destroyed = destroyed;
    return record;
}

struct OtherRecord
{
    int value = 0;
};

class TestWindow : public MessageWindow
{
public:
    void Dispatch(Message& message) override
    {
        switch (message.msg) {
        case kCountDown:
            message.result =
                message.wParam == 0 ? 1 : SendMessage(this, kCountDown, message.wParam - 1, 0) + 1;
            levelResults.push_back(message.result);
            break;
        case kTakeRecord: {
            const std::unique_ptr<Record> record = TakeRecord<Record>(message);
            taken = record ? record->name : QString();
            destroyedBeforeReturn = record && record->destroyed ? *record->destroyed : -1;
            message.result = record ? 1 : 0;
            break;
        }
        case kReadRecord:
            read = RecordOf<Record>(message) ? RecordOf<Record>(message)->name : QString();
            wrongType = RecordOf<OtherRecord>(message) != nullptr;
            message.result = TakeRecord<Record>(message) != nullptr;
            break;
        case kAnswer:
            message.result = static_cast<LRESULT>(message.wParam * 2);
            break;
        default:
            MessageWindow::Dispatch(message);
        }
    }

    std::vector<LRESULT> levelResults;
    std::vector<unsigned> defaulted;
    QString taken;
    QString read;
    bool wrongType = false;
    int destroyedBeforeReturn = -1;

protected:
    void DefaultHandler(Message& message) override
    {
        defaulted.push_back(message.msg);
        MessageWindow::DefaultHandler(message);
    }
};

} // namespace

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void results_data()
    {
        QTest::addColumn<unsigned>("msg");
        QTest::addColumn<qulonglong>("wParam");
        QTest::addColumn<qlonglong>("expected");
        QTest::addColumn<bool>("reachesDefault");

        QTest::newRow("handled message returns its result") << kAnswer << 21ULL << 42LL << false;
        QTest::newRow("unknown message reaches the default handler") << kUnknown << 5ULL << 0LL << true;
    }

    void results()
    {
        QFETCH(unsigned, msg);
        QFETCH(qulonglong, wParam);
        QFETCH(qlonglong, expected);
        QFETCH(bool, reachesDefault);

        TestWindow window;
        QCOMPARE(SendMessage(&window, msg, wParam, 0), expected);
        QCOMPARE(window.defaulted, reachesDefault ? std::vector<unsigned>{msg} : std::vector<unsigned>{});
    }

    void nullWindowReturnsZero() { QCOMPARE(SendMessage(nullptr, kAnswer, 21, 0), 0); }

    void nestedSendsReturnAtEachLevel()
    {
        TestWindow window;
        QCOMPARE(SendMessage(&window, kCountDown, 3, 0), 4);
        // The innermost send finishes first; each outer level keeps its own result.
        QCOMPARE(window.levelResults, (std::vector<LRESULT>{1, 2, 3, 4}));
        QVERIFY(window.defaulted.empty());
    }

    void receiverTakesOwnershipOfRecord()
    {
        TestWindow window;
        int destroyed = 0;
        auto record = makeRecord(QStringLiteral("rebound"), &destroyed);
        QCOMPARE(SendMessage(&window, kTakeRecord, 0, std::move(record)), 1);
        QCOMPARE(window.taken, QStringLiteral("rebound"));
        // Freed once, by the receiver, while it handled the message.
        QCOMPARE(window.destroyedBeforeReturn, 0);
        QCOMPARE(destroyed, 1);
    }

    // Whoever ends up with a handed-over record, it is freed exactly once; a lent one never.
    void recordsAreFreedExactlyOnce_data()
    {
        QTest::addColumn<bool>("toWindow");
        QTest::addColumn<unsigned>("msg");
        QTest::addColumn<bool>("lent");
        QTest::addColumn<qlonglong>("result");
        QTest::addColumn<QString>("read");

        QTest::newRow("no window") << false << kTakeRecord << false << 0LL << QString();
        QTest::newRow("message nobody handles") << true << kUnknown << false << 0LL << QString();
        QTest::newRow("read, then taken") << true << kReadRecord << false << 1LL << QStringLiteral("steal");
        QTest::newRow("lent: read, never taken")
            << true << kReadRecord << true << 0LL << QStringLiteral("steal");
        QTest::newRow("lent to no window") << false << kReadRecord << true << 0LL << QString();
    }

    void recordsAreFreedExactlyOnce()
    {
        QFETCH(bool, toWindow);
        QFETCH(unsigned, msg);
        QFETCH(bool, lent);
        QFETCH(qlonglong, result);
        QFETCH(QString, read);

        TestWindow window;
        int destroyed = 0;
        auto record = makeRecord(QStringLiteral("steal"), &destroyed);
        MessageWindow* target = toWindow ? &window : nullptr;
        const LRESULT answer = lent ? SendMessage(target, msg, 0, Lend(record.get()))
                                    : SendMessage(target, msg, 0, std::move(record));
        QCOMPARE(answer, result);
        QCOMPARE(window.read, read);
        QVERIFY(!window.wrongType);
        QCOMPARE(destroyed, lent ? 0 : 1);
        record.reset();
        QCOMPARE(destroyed, 1);
    }

    void plainSendCarriesNoRecord()
    {
        TestWindow window;
        Record record;
        record.name = QStringLiteral("block");
        QCOMPARE(SendMessage(&window, kReadRecord, 0, reinterpret_cast<LPARAM>(&record)), 0);
        QCOMPARE(window.read, QString());
    }
};

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_platform_messages.moc"
