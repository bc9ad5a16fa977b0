// Drag and drop in the statistics program's tree, done with the mouse: a press on a node, moves that
// start the drag, then moves and a release inside the drag's own event loop. The offscreen platform
// ends a drag at once, so this test runs on the minimal platform, whose drag follows the mouse events.
#include <QApplication>
#include <QDrag>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "hoopledger/Teamlist.h"
#include "support/Ledger.h"
#include "support/Season.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;

class tst_ledger_drag : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_season;
    std::unique_ptr<Ledger> m_ledger;

    TMainForm& form() { return m_ledger->form(); }
    QStringList teamNames() const { return m_ledger->teamNames(); }
    // Drags one node onto another with the left button. False when no drag started.
    bool dragWithTheMouse(const QStringList& dragged, const QStringList& target)
    {
        QTreeWidget* tree = form().TreeView1;
        QTreeWidgetItem* from = m_ledger->node(dragged);
        QTreeWidgetItem* to = m_ledger->node(target);
        if (!from || !to)
            return false;
        QWidget* viewport = tree->viewport();
        const QPoint start = tree->visualItemRect(from).center();
        const QPoint end = tree->visualItemRect(to).center();
        bool dragging = false;
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        // Runs inside the drag's event loop, which the moves below start: the first move makes the
        // view ready to drag, the second, far enough, starts it. Without a drag it only lets go.
        QTimer::singleShot(0, tree, [&] {
            dragging = tree->findChild<QDrag*>() != nullptr;
            if (dragging) {
                QTest::mouseMove(viewport, (start + end) / 2);
                QTest::mouseMove(viewport, end);
            }
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, dragging ? end : start);
        });
        const QPoint step(0, 2 * QApplication::startDragDistance());
        QTest::mouseMove(viewport, start + step);
        QTest::mouseMove(viewport, start + 2 * step);
        QTest::qWait(20);
        return dragging;
    }

private slots:
    void initTestCase() { writeSampleSeason(m_season.path()); }

    void init()
    {
        m_ledger = std::make_unique<Ledger>();
        m_ledger->start(u"[Option]\nFilePath="_s + m_season.path() + u"\nActiveRead=1"_s);
        form().resize(1000, 700);
        form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        for (const QString& team : {kOsaka, kKobe, kTokyo})
            m_ledger->node({kRoot, team})->setExpanded(true);
    }

    void cleanup() { m_ledger.reset(); }

    void drops_data()
    {
        QTest::addColumn<QStringList>("dragged");
        QTest::addColumn<QStringList>("target");
        QTest::addColumn<QString>("question"); // empty: none asked
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("teams");
        QTest::addColumn<QStringList>("tokyo"); // Tokyo's children afterwards

        const QStringList four = {kKobe, kOsaka, kNagoya, kTokyo};
        const QStringList tokyo = {kTotals, u"佐藤[4]"_s, u"鈴木[7]"_s, u"高橋[10]"_s, u"佐藤[14]"_s};
        QTest::newRow("member onto a member")
            << QStringList{kRoot, kTokyo, u"佐藤[14]"_s} << QStringList{kRoot, kTokyo, u"佐藤[4]"_s}
            << u"佐藤[14]を佐藤[4]に合体します\nよろしいですか？ [プレイヤーの合体]"_s << int(platform::mrOk)
            << four << tokyo.mid(0, 4);
        QTest::newRow("team onto a team")
            << QStringList{kRoot, kKobe} << QStringList{kRoot, kOsaka}
            << u"Kobe StarsをOsaka Bearsに合体します\nよろしいですか？ [チームの合体]"_s << int(platform::mrOk)
            << QStringList{kOsaka, kNagoya, kTokyo} << tokyo;
        QTest::newRow("team onto a team, cancelled")
            << QStringList{kRoot, kKobe} << QStringList{kRoot, kOsaka} << u"チームの合体"_s
            << int(platform::mrCancel) << four << tokyo;
        QTest::newRow("member onto a member of another team")
            << QStringList{kRoot, kOsaka, u"山田[8]"_s} << QStringList{kRoot, kKobe, u"山田[8]"_s} << QString()
            << 0 << four << tokyo;
        QTest::newRow("team onto a member") << QStringList{kRoot, kTokyo} << QStringList{kRoot, kOsaka, u"伊藤[5]"_s}
                                            << QString() << 0 << four << tokyo;
        QTest::newRow("member onto the totals node")
            << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << QStringList{kRoot, kTokyo, kTotals} << QString() << 0
            << four << tokyo;
    }

    void drops()
    {
        QFETCH(QStringList, dragged);
        QFETCH(QStringList, target);
        QFETCH(QString, question);
        QFETCH(int, answer);
        QFETCH(QStringList, teams);
        QFETCH(QStringList, tokyo);
        if (!question.isEmpty())
            m_ledger->dialogs().expectMessage(question, answer);
        QVERIFY(dragWithTheMouse(dragged, target));
        QVERIFY(m_ledger->dialogs().allAnswered());
        QCOMPARE(m_ledger->dialogs().shown().size(), question.isEmpty() ? 0 : 1);
        QCOMPARE(teamNames(), teams);
        QCOMPARE(m_ledger->childTexts({kRoot, kTokyo}), tokyo);
        // The view itself moved no node: every team node left stands under the root.
        QCOMPARE(m_ledger->childTexts({kRoot}), teams);
    }
};

int main(int argc, char** argv)
{
    // Before the application: the offscreen platform that the suite sets has no drag loop.
    qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    QApplication app(argc, argv);
    tst_ledger_drag test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ledger_drag.moc"
