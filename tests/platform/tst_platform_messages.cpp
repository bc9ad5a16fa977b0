#include <QTest>

#include <memory>
#include <vector>

#include "platform/Messages.h"

using namespace platform;

namespace {

constexpr unsigned kCountDown = WM_APP + 1;  // wParam levels still to go; result = levels below + 1
constexpr unsigned kTakeRecord = WM_APP + 2; // lParam: a heap record handed over to the receiver
constexpr unsigned kAnswer = WM_APP + 3;     // result = wParam * 2
constexpr unsigned kUnknown = WM_APP + 99;

struct Record
{
    QString name;
    std::vector<int> values;
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
            std::unique_ptr<Record> record(fromLParam<Record>(message.lParam));
            taken = record->name;
            message.result = 1;
            break;
        }
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
        auto record = std::make_unique<Record>(Record{QStringLiteral("rebound"), {1, 2, 3}});
        QCOMPARE(SendMessage(&window, kTakeRecord, 0, toLParam(record.release())), 1);
        QCOMPARE(window.taken, QStringLiteral("rebound"));
    }
};

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_platform_messages.moc"
