// Merging and deleting in the statistics program: the tree's drag and drop, renaming, editing and
// deleting, the grid's pop-up commands and double click, and undoing it all by a reload, checked
// against figures worked out by hand over a season written by the scoring program's own code.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "hoopledger/TMarge.h"
#include "hoopledger/TPlayerTouroku.h"
#include "hoopledger/Teamlist.h"
#include "platform/StringGrid.h"
#include "support/Ledger.h"
#include "support/Season.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;

namespace {

// Hand-worked lines of the sample season (see tst_ledger_views for the plays).
const QString kSato4 = u"佐藤|4|8|2|2|100.0%|1|1|100.0%|1|2|50.0%|0|0|0|0|0|0|0|00:20:00"_s;
const QString kSuzuki7 = u"鈴木|7|2|1|2|50.0%|0|0|--|0|0|--|0|1|0|1|1|1|0|00:30:00"_s;
const QString kTakahashi10 = u"高橋|10|0|0|0|--|0|0|--|0|0|--|0|0|0|0|0|0|0|00:00:00"_s;
const QString kSato14 = u"佐藤|14|3|0|0|--|1|1|100.0%|0|0|--|1|0|0|0|0|0|0|00:10:00"_s;
const QString kTokyoTotal = u"合計||13|3|4|75.0%|2|2|100.0%|1|2|50.0%|1|1|0|1|1|1|0|01:00:00"_s;
const QStringList kTokyoResults = {u"24/05/01|春季リーグ|市民体育館|Osaka Bears|06 - 05|勝"_s,
                                   u"24/05/10|春季リーグ|市民体育館|名古屋ドルフィンズ|05 - 05|--"_s,
                                   u"24/06/15|夏季大会|港アリーナ|Kobe Stars|02 - 04|負"_s,
                                   u"合計||||13 - 14|1勝1敗1引き分け"_s};

} // namespace

class tst_ledger_editing : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_season;
    std::unique_ptr<Ledger> m_ledger;

    TMainForm& form() { return m_ledger->form(); }
    platform::testing::ScriptedDialogs& dialogs() { return m_ledger->dialogs(); }
    QStringList rows() { return gridRows(*form().GridAll); }
    QTreeWidgetItem* node(const QStringList& path) { return m_ledger->node(path); }
    QStringList children(const QString& team) { return m_ledger->childTexts({kRoot, team}); }
    QStringList teamNames() const { return m_ledger->teamNames(); }
    void select(const QStringList& path) { m_ledger->select(path); }
    // Drags the selected node onto another through the events the tree's viewport receives: the
    // offscreen platform's drag loop ends at once, so mouse events cannot drive one. Answers whether
    // the tree took the drop while moving over the target.
    bool drop(const QStringList& target)
    {
        QTreeWidgetItem* item = node(target);
        if (!item)
            return false;
        QTreeWidget* tree = form().TreeView1;
        tree->scrollToItem(item);
        const QPointF at = tree->visualItemRect(item).center();
        std::unique_ptr<QMimeData> data(tree->model()->mimeData(tree->selectionModel()->selectedIndexes()));
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(tree->viewport(), &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(tree->viewport(), &move);
        QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(tree->viewport(), &dropped);
        return move.isAccepted();
    }
    // Asks for the grid's pop-up menu over a cell, as a right click does.
    void popUp(int col, int row)
    {
        const QRect cell = form().GridAll->CellRect(col, row);
        const QPoint at = cell.isEmpty() ? QPoint(form().GridAll->viewport()->width() - 1,
                                                  form().GridAll->viewport()->height() - 1)
                                         : cell.center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, form().GridAll->viewport()->mapToGlobal(at));
        QApplication::sendEvent(form().GridAll->viewport(), &event);
    }
    // The scripted answers to a reload through the settings dialog.
    void reload()
    {
        dialogs().expectModal(u"Option"_s, [](QDialog&) { return int(platform::mrOk); });
        dialogs().expectMessage(u"初期状態に戻します"_s, platform::mrYes);
        form().OptionO2->trigger();
        QVERIFY(dialogs().allAnswered());
    }

private slots:
    void initTestCase() { writeSampleSeason(m_season.path()); }

    void init()
    {
        m_ledger = std::make_unique<Ledger>();
        m_ledger->start(u"[Option]\nFilePath="_s + m_season.path() + u"\nActiveRead=1"_s);
        form().resize(1100, 600);
        form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
    }

    void cleanup() { m_ledger.reset(); }

    void mergeMembersByDropThenReload()
    {
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows().mid(1), (QStringList{kSato4, kSuzuki7, kTakahashi10, kSato14, kTokyoTotal}));
        select({kRoot, kTokyo, u"佐藤[14]"_s});
        dialogs().expectMessage(u"佐藤[14]を佐藤[4]に合体します\nよろしいですか？"_s, platform::mrOk);
        QVERIFY(drop({kRoot, kTokyo, u"佐藤[4]"_s}));
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(children(kTokyo), (QStringList{kTotals, u"佐藤[4]"_s, u"鈴木[7]"_s, u"高橋[10]"_s}));
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows().mid(1),
                 (QStringList{u"佐藤|4|11|2|2|100.0%|2|2|100.0%|1|2|50.0%|1|0|0|0|0|0|0|00:30:00"_s, kSuzuki7,
                              kTakahashi10, kTokyoTotal}));
        m_ledger->show({kRoot, kTokyo, u"佐藤[4]"_s});
        QCOMPARE(form().Label3->text(), u"全3試合 全得点11"_s);

        reload();
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows().mid(1), (QStringList{kSato4, kSuzuki7, kTakahashi10, kSato14, kTokyoTotal}));
    }

    void mergeTeamsByDropThenReload()
    {
        select({kRoot, kKobe});
        dialogs().expectMessage(u"Kobe StarsをOsaka Bearsに合体します\nよろしいですか？"_s, platform::mrOk);
        QVERIFY(drop({kRoot, kOsaka}));
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(teamNames(), (QStringList{kOsaka, u"名古屋ドルフィンズ"_s, kTokyo}));
        QCOMPARE(children(kOsaka), (QStringList{kTotals, u"伊藤[5]"_s, u"山田[8]"_s, u"吉田[11]"_s,
                                                u"中村[12]"_s, u"井上[23]"_s}));
        QCOMPARE(form().TreeView1->currentItem(), node({kRoot, kOsaka, kTotals}));
        // The grid keeps showing what it showed.
        QCOMPARE(form().GridKind(), int(kGameListView));

        // The game the two teams played stands twice: once for each side.
        m_ledger->show({kRoot, kOsaka});
        QCOMPARE(rows().mid(1), (QStringList{u"24/05/01|春季リーグ|市民体育館|東京ホークス|05 - 06|負"_s,
                                             u"24/05/03|春季リーグ|北体育館|名古屋ドルフィンズ|04 - 03|勝"_s,
                                             u"24/06/01|夏季大会|港アリーナ|Osaka Bears|04 - 02|勝"_s,
                                             u"24/06/01|夏季大会|港アリーナ|Osaka Bears|02 - 04|負"_s,
                                             u"24/06/15|夏季大会|港アリーナ|東京ホークス|04 - 02|勝"_s,
                                             u"合計||||19 - 17|3勝2敗"_s}));
        m_ledger->show({kRoot, kOsaka, kTotals});
        QCOMPARE(rows()[2], u"山田|8|7|2|3|66.7%|1|1|100.0%|0|0|--|1|0|0|1|0|0|1|00:40:00"_s);
        QCOMPARE(form().Label3->text(), u"全5試合 全得点19"_s);
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(rows().mid(1, 3).last(), u"24/06/15|夏季大会|港アリーナ|Osaka Bears|02 - 04|負"_s);

        reload();
        QCOMPARE(teamNames(), (QStringList{kKobe, kOsaka, u"名古屋ドルフィンズ"_s, kTokyo}));
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(rows().mid(1), kTokyoResults);
    }

    // Two members who played in one game, merged: the game's side holds two entries of the one
    // member, and both count.
    void mergeMembersOfOneGame()
    {
        cleanup();
        Ledger ledger;
        const QString tenMinutes = u"0.00694444444444444"_s;
        writeText(ledger.gamePath(u"o.game"_s),
                  gameFile(u"45413"_s, u"Owls"_s,
                           playerBlock(u"Sato"_s, u"4"_s, {0, 0, 2}, tenMinutes) +
                               playerBlock(u"Sato"_s, u"14"_s, {3, 0, 0, 0, 1, 1}, tenMinutes),
                           u"Hawks"_s, {}));
        ledger.start(ledger.iniFor());
        ledger.node({kRoot, u"Owls"_s})->setExpanded(true);
        ledger.select({kRoot, u"Owls"_s, u"Sato[14]"_s});
        ledger.dialogs().expectMessage(u"Sato[14]をSato[4]に合体します"_s, platform::mrOk);
        const QPoint at =
            ledger.form().TreeView1->visualItemRect(ledger.node({kRoot, u"Owls"_s, u"Sato[4]"_s})).center();
        ledger.form().TreeView1DragDrop(at.x(), at.y());
        ledger.show({kRoot, u"Owls"_s, kTotals});
        QCOMPARE(gridRows(*ledger.form().GridAll).mid(1),
                 (QStringList{u"Sato|4|6|1|1|100.0%|1|1|100.0%|1|2|50.0%|0|0|0|0|0|0|0|00:20:00"_s,
                              u"合計||6|1|1|100.0%|1|1|100.0%|1|2|50.0%|0|0|0|0|0|0|0|00:20:00"_s}));
        ledger.show({kRoot, u"Owls"_s, u"Sato[4]"_s});
        QCOMPARE(
            gridRows(*ledger.form().GridAll)[1],
            u"大会|24/05/01|Hawks|06|01|01|100.0%|01|01|100.0%|01|02|50.0%|00|00|00|00|00|00|00|00:20:00"_s);
    }

    // Pairs that take no drop, and an answer of Cancel: nothing changes and nothing is asked.
    void dropsThatDoNothing_data()
    {
        QTest::addColumn<QStringList>("dragged");
        QTest::addColumn<QStringList>("target");
        QTest::addColumn<bool>("asked");
        QTest::newRow("team on itself") << QStringList{kRoot, kTokyo} << QStringList{kRoot, kTokyo} << false;
        QTest::newRow("team on the root") << QStringList{kRoot, kTokyo} << QStringList{kRoot} << false;
        QTest::newRow("team on a member")
            << QStringList{kRoot, kTokyo} << QStringList{kRoot, kOsaka, u"伊藤[5]"_s} << false;
        QTest::newRow("member on the totals node")
            << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << QStringList{kRoot, kTokyo, kTotals} << false;
        QTest::newRow("member on a member of another team")
            << QStringList{kRoot, kOsaka, u"山田[8]"_s} << QStringList{kRoot, kKobe, u"山田[8]"_s} << false;
        QTest::newRow("member on itself")
            << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << false;
        QTest::newRow("members, cancelled")
            << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << QStringList{kRoot, kTokyo, u"高橋[10]"_s} << true;
        QTest::newRow("teams, cancelled") << QStringList{kRoot, kTokyo} << QStringList{kRoot, kOsaka} << true;
        QTest::newRow("totals node on a totals node")
            << QStringList{kRoot, kTokyo, kTotals} << QStringList{kRoot, kOsaka, kTotals} << false;
        QTest::newRow("root on a team") << QStringList{kRoot} << QStringList{kRoot, kOsaka} << false;
    }

    void dropsThatDoNothing()
    {
        QFETCH(QStringList, dragged);
        QFETCH(QStringList, target);
        QFETCH(bool, asked);
        const QStringList tree = m_ledger->treeTexts();
        select(dragged);
        if (asked)
            dialogs().expectMessage(u"に合体します"_s, platform::mrCancel);
        // Only a pair that merges takes the drop while the node is moved over it.
        QCOMPARE(drop(target), asked);
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(m_ledger->treeTexts(), tree);
        QCOMPARE(form().Teams()->Count(), 4);
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows().mid(1), (QStringList{kSato4, kSuzuki7, kTakahashi10, kSato14, kTokyoTotal}));
    }

    void dragOverScrollsAtTheEdges()
    {
        form().show();
        QTreeWidget* tree = form().TreeView1;
        tree->resize(tree->width(), 120);
        for (int i = 0; i < tree->topLevelItem(0)->childCount(); ++i)
            tree->topLevelItem(0)->child(i)->setExpanded(true);
        select({kRoot, kTokyo});
        bool accept = true;
        const int height = tree->viewport()->height();
        tree->verticalScrollBar()->setValue(0);
        form().TreeView1DragOver(10, height - 5, accept);
        QCOMPARE(tree->verticalScrollBar()->value(), tree->verticalScrollBar()->singleStep());
        form().TreeView1DragOver(10, 5, accept);
        QCOMPARE(tree->verticalScrollBar()->value(), 0);
        // A team is taken only over another team.
        const QPoint osaka = tree->visualItemRect(node({kRoot, kOsaka})).center();
        form().TreeView1DragOver(osaka.x(), osaka.y(), accept);
        QVERIFY(accept);
        const QPoint ito = tree->visualItemRect(node({kRoot, kOsaka, u"伊藤[5]"_s})).center();
        form().TreeView1DragOver(ito.x(), ito.y(), accept);
        QVERIFY(!accept);
    }

    void renameTeam()
    {
        select({kRoot, kTokyo});
        dialogs().expectInput(u"東京H"_s);
        form().M1->trigger();
        QVERIFY(dialogs().allAnswered());
        QVERIFY(dialogs().shown().last().contains(u"チーム名を入力してください"_s));
        QVERIFY(node({kRoot, u"東京H"_s}));
        m_ledger->show({kRoot, kKobe});
        QCOMPARE(rows()[3], u"24/06/15|夏季大会|港アリーナ|東京H|04 - 02|勝"_s);
        m_ledger->show({kRoot, u"東京H"_s});
        QCOMPARE(rows().last(), kTokyoResults.last());
        // F2 in the tree does the same; a cancelled box changes nothing.
        dialogs().expectInput(std::nullopt);
        QTest::keyClick(form().TreeView1, Qt::Key_F2);
        QVERIFY(dialogs().allAnswered());
        QVERIFY(node({kRoot, u"東京H"_s}));
        reload();
        QVERIFY(node({kRoot, kTokyo}));
    }

    // The name of another team, also of an opponent deleted from the list, would merge silently.
    void renameToATakenName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("deleteOsakaFirst");
        QTest::newRow("another team") << kKobe << false;
        QTest::newRow("a deleted opponent") << kOsaka << true;
    }

    void renameToATakenName()
    {
        QFETCH(QString, name);
        QFETCH(bool, deleteOsakaFirst);
        if (deleteOsakaFirst) {
            select({kRoot, kOsaka});
            form().D1->trigger();
        }
        select({kRoot, kTokyo});
        dialogs().expectInput(name).expectMessage(u"同じ名前のチームが既にあります"_s);
        form().M1->trigger();
        QVERIFY(dialogs().allAnswered());
        QVERIFY(node({kRoot, kTokyo}));
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(rows().mid(1), kTokyoResults);
    }

    void editMember_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("children");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("line");
        QTest::newRow("new number") << u"24"_s << u"佐藤"_s
                                    << QStringList{kTotals, u"佐藤[4]"_s, u"鈴木[7]"_s, u"高橋[10]"_s,
                                                   u"佐藤[24]"_s}
                                    << u"佐藤[24]"_s << u"佐藤|24|3|"_s;
        // Another member's identity: the entries go to that member, whose node shows them.
        QTest::newRow("identity of another member")
            << u"4"_s << u"佐藤"_s << QStringList{kTotals, u"佐藤[4]"_s, u"鈴木[7]"_s, u"高橋[10]"_s}
            << kTotals << u"佐藤|4|11|"_s;
    }

    void editMember()
    {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QStringList, children);
        QFETCH(QString, selected);
        QFETCH(QString, line);
        select({kRoot, kTokyo, u"佐藤[14]"_s});
        dialogs().expectModal(u"PlayerTouroku"_s, [&](QDialog& dialog) {
            auto& player = static_cast<TPlayerTouroku&>(dialog);
            // The member's own fields are offered.
            if (player.LabeledEdit1->text() != u"14"_s || player.LabeledEdit2->text() != u"佐藤"_s)
                return int(platform::mrCancel);
            player.LabeledEdit1->setText(number);
            player.LabeledEdit2->setText(name);
            player.OKBtn->click();
            return player.result();
        });
        form().M1->trigger();
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(this->children(kTokyo), children);
        QCOMPARE(form().TreeView1->currentItem()->text(0), selected);
        m_ledger->show({kRoot, kTokyo, kTotals});
        QVERIFY2(rows().join(u'\n').contains(line), qPrintable(rows().join(u'\n')));
        QCOMPARE(rows().last(), kTokyoTotal);
    }

    void editMemberCancelled()
    {
        select({kRoot, kTokyo, u"佐藤[14]"_s});
        dialogs().expectModal(u"PlayerTouroku"_s, [](QDialog&) { return int(platform::mrCancel); });
        QTest::keyClick(form().TreeView1, Qt::Key_F2);
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(children(kTokyo),
                 (QStringList{kTotals, u"佐藤[4]"_s, u"鈴木[7]"_s, u"高橋[10]"_s, u"佐藤[14]"_s}));
        QCOMPARE(form().Teams()->At(3)->Members().Count(), 4);
    }

    void deleteInTheTree()
    {
        select({kRoot, kTokyo, u"高橋[10]"_s});
        form().D1->trigger();
        QCOMPARE(children(kTokyo), (QStringList{kTotals, u"佐藤[4]"_s, u"鈴木[7]"_s, u"佐藤[14]"_s}));
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows().mid(1), (QStringList{kSato4, kSuzuki7, kSato14, kTokyoTotal}));
        // A team: gone from the tree, its games stay with the other teams and in the game list.
        select({kRoot, kOsaka});
        form().D1->trigger();
        QCOMPARE(teamNames(), (QStringList{kKobe, u"名古屋ドルフィンズ"_s, kTokyo}));
        QVERIFY(!node({kRoot, kOsaka}));
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(rows().mid(1), kTokyoResults);
        m_ledger->show({kRoot});
        QCOMPARE(form().Label3->text(), u"全5試合中5試合を表示"_s);
        // The root and no selection: nothing.
        const QStringList tree = m_ledger->treeTexts();
        form().D1->trigger();
        form().TreeView1->clearSelection();
        form().D1->trigger();
        form().M1->trigger();
        QCOMPARE(m_ledger->treeTexts(), tree);
        reload();
        QCOMPARE(teamNames().size(), 4);
        QCOMPARE(children(kTokyo).size(), 5);
    }

    void deleteAGameFromTheGrid()
    {
        m_ledger->show({kRoot, kTokyo});
        // The tree's selection moves on; the grid's commands still act on the team results it holds.
        select({kRoot, kKobe, u"山田[8]"_s});
        popUp(0, 1);
        QVERIFY(form().PopupMenu2->isVisible());
        QVERIFY(form().GameDelM->isEnabled());
        QVERIFY(!form().MemDelM->isEnabled());
        form().PopupMenu2->hide();
        dialogs().expectMessage(u"東京ホークスvsOsaka Bearsの試合を削除しますよろしいですか？"_s,
                                platform::mrYes);
        form().GameDelM->trigger();
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(rows().mid(1),
                 (QStringList{u"24/05/10|春季リーグ|市民体育館|名古屋ドルフィンズ|05 - 05|--"_s,
                              u"24/06/15|夏季大会|港アリーナ|Kobe Stars|02 - 04|負"_s,
                              u"合計||||07 - 09|0勝1敗1引き分け"_s}));
        QCOMPARE(form().Label3->text(), u"全2試合 0勝1敗1引き分け"_s);
        // Gone from both teams' views, still in the game list.
        m_ledger->show({kRoot, kOsaka});
        QCOMPARE(rows().mid(1), (QStringList{u"24/06/01|夏季大会|港アリーナ|Kobe Stars|04 - 02|勝"_s,
                                             u"合計||||04 - 02|1勝0敗"_s}));
        m_ledger->show({kRoot});
        QCOMPARE(form().Label3->text(), u"全5試合中5試合を表示"_s);
        reload();
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(rows().mid(1), kTokyoResults);
    }

    void deleteAMemberFromTheGrid()
    {
        m_ledger->show({kRoot, kTokyo, kTotals});
        select({kRoot});
        popUp(1, 4);
        QVERIFY(!form().GameDelM->isEnabled());
        QVERIFY(form().MemDelM->isEnabled());
        form().PopupMenu2->hide();
        dialogs().expectMessage(u"佐藤[14]を削除しますよろしいですか？"_s, platform::mrYes);
        form().MemDelM->trigger();
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(rows().mid(1),
                 (QStringList{kSato4, kSuzuki7, kTakahashi10,
                              u"合計||10|3|4|75.0%|1|1|100.0%|1|2|50.0%|0|1|0|1|1|1|0|00:50:00"_s}));
        // Its node stays until the team's nodes are listed again.
        QVERIFY(node({kRoot, kTokyo, u"佐藤[14]"_s}));
    }

    // Each question with its caption; the refusing answer changes neither the model nor the tree.
    void questionsRefused_data()
    {
        QTest::addColumn<QStringList>("view");
        QTest::addColumn<QStringList>("dragged"); // empty: a grid command on row 1 of the view
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("answer");
        QTest::newRow("game delete") << QStringList{kRoot, kTokyo} << QStringList{} << u"GameDelM"_s
                                     << u"東京ホークスvsOsaka Bearsの試合を削除しますよろしいですか？ [quillmarsh]"_s
                                     << int(platform::mrNo);
        QTest::newRow("member delete") << QStringList{kRoot, kTokyo, kTotals} << QStringList{} << u"MemDelM"_s
                                       << u"佐藤[4]を削除しますよろしいですか？ [quillmarsh]"_s
                                       << int(platform::mrNo);
        QTest::newRow("team drop") << QStringList{kRoot, kTokyo} << QStringList{kRoot, kTokyo} << kOsaka
                                   << u"東京ホークスをOsaka Bearsに合体します\nよろしいですか？ [チームの合体]"_s
                                   << int(platform::mrCancel);
        QTest::newRow("member drop") << QStringList{kRoot, kTokyo, kTotals}
                                     << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << u"高橋[10]"_s
                                     << u"鈴木[7]を高橋[10]に合体します\nよろしいですか？ [プレイヤーの合体]"_s
                                     << int(platform::mrCancel);
    }

    void questionsRefused()
    {
        QFETCH(QStringList, view);
        QFETCH(QStringList, dragged);
        QFETCH(QString, target);
        QFETCH(QString, question);
        QFETCH(int, answer);
        m_ledger->show(view);
        const QStringList before = rows();
        const QStringList tree = m_ledger->treeTexts();
        dialogs().expectMessage(question, answer);
        if (dragged.isEmpty()) {
            popUp(0, 1);
            form().PopupMenu2->hide();
            form().findChild<QAction*>(target)->trigger();
        } else {
            select(dragged);
            QStringList onto = dragged.mid(0, dragged.size() - 1);
            onto << target;
            QVERIFY(drop(onto));
        }
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(dialogs().shown(), QStringList{u"message: "_s + question});
        QCOMPARE(rows(), before);
        QCOMPARE(m_ledger->treeTexts(), tree);
        QCOMPARE(form().Teams()->Count(), 4);
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows().mid(1), (QStringList{kSato4, kSuzuki7, kTakahashi10, kSato14, kTokyoTotal}));
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(rows().mid(1), kTokyoResults);
    }

    // Where the pop-up has nothing to act on, nothing is asked and nothing changes.
    void gridCommandsWithoutARow_data()
    {
        QTest::addColumn<QStringList>("view");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("menu");
        QTest::newRow("team results, totals line") << QStringList{kRoot, kTokyo} << 4 << true;
        QTest::newRow("team results, header") << QStringList{kRoot, kTokyo} << 0 << true;
        QTest::newRow("team results, below the rows") << QStringList{kRoot, kTokyo} << -1 << true;
        QTest::newRow("personal totals, totals line") << QStringList{kRoot, kTokyo, kTotals} << 5 << true;
        QTest::newRow("game list") << QStringList{kRoot} << 1 << false;
        QTest::newRow("member's games") << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << 1 << false;
    }

    void gridCommandsWithoutARow()
    {
        QFETCH(QStringList, view);
        QFETCH(int, row);
        QFETCH(bool, menu);
        m_ledger->show(view);
        const QStringList before = rows();
        popUp(0, row);
        QCOMPARE(form().PopupMenu2->isVisible(), menu);
        QCOMPARE(form().PopupRow(), row);
        form().PopupMenu2->hide();
        // Both commands, whichever the menu enabled: a row object of the wrong kind is never taken.
        form().GameDelMClick();
        form().MemDelMClick();
        QCOMPARE(rows(), before);
        QCOMPARE(dialogs().shown(), QStringList());
    }

    // Commands on what a delete left behind: the grid still holds the deleted team's results.
    void commandsAfterDeletes()
    {
        m_ledger->show({kRoot, kTokyo});
        select({kRoot, kTokyo});
        form().D1->trigger();
        QVERIFY(!node({kRoot, kTokyo}));
        popUp(0, 1);
        form().PopupMenu2->hide();
        dialogs().expectMessage(u"の試合を削除しますよろしいですか？"_s, platform::mrYes);
        form().GameDelM->trigger();
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(rows().last(), u"合計||||07 - 09|0勝1敗1引き分け"_s);
        form().Button1->click();
        QCOMPARE(form().TreeView1->currentItem(), node({kRoot}));
        // Nothing loaded: no tree, no grid.
        cleanup();
        Ledger empty;
        empty.start(empty.iniFor(false));
        empty.form().Button1->click();
        for (QAction* action :
             {empty.form().M1, empty.form().D1, empty.form().GameDelM, empty.form().MemDelM})
            action->trigger();
        empty.form().GridAllDblClick();
        empty.form().RefreshMemberNodes(nullptr, true);
        QCOMPARE(empty.dialogs().shown(), QStringList());
    }

    void treePopUp()
    {
        QTreeWidget* tree = form().TreeView1;
        const QPoint at = tree->visualItemRect(node({kRoot, kTokyo})).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &event);
        QVERIFY(form().PopupMenu1->isVisible());
        QCOMPARE(form().PopupMenu1->actions(), (QList<QAction*>{form().M1, form().D1, form().M3}));
        form().PopupMenu1->hide();
    }

    void startTheScoringProgram_data()
    {
        QTest::addColumn<QStringList>("view");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("game"); // the file started on, none when nothing starts
        QTest::newRow("team results") << QStringList{kRoot, kTokyo} << 3 << u"g5.game"_s;
        QTest::newRow("game list") << QStringList{kRoot} << 2 << u"g2.game"_s;
        QTest::newRow("member's games") << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << 2 << u"g3.game"_s;
        QTest::newRow("totals line") << QStringList{kRoot, kTokyo} << 4 << QString();
        QTest::newRow("personal totals") << QStringList{kRoot, kTokyo, kTotals} << 1 << QString();
    }

    void startTheScoringProgram()
    {
        QFETCH(QStringList, view);
        QFETCH(int, row);
        QFETCH(QString, game);
        m_ledger->show(view);
        form().GridAll->SetRow(row);
        // Through the grid's double click.
        const QRect cell = form().GridAll->CellRect(0, row);
        QTest::mouseDClick(form().GridAll->viewport(), Qt::LeftButton, {}, cell.center());
        const QString program = m_ledger->path(u"Hooptally"_s);
        QCOMPARE(m_ledger->shell().started,
                 game.isEmpty() ? QStringList()
                                : QStringList{program + u'|' + QDir(m_season.path()).filePath(game) + u'|' +
                                              m_ledger->folder()});
        QVERIFY(!form().Label1IsRed());
        QCOMPARE(dialogs().shown(), QStringList());
    }

    void oldScoringProgram()
    {
        cleanup();
        Ledger ledger;
        ledger.start(u"[Option]\nFilePath="_s + m_season.path() + u"\nActiveRead=1"_s, Scorer::Old);
        ledger.show({kRoot, kTokyo});
        for (const int row : {1, 4}) {
            ledger.form().GridAll->SetRow(row);
            ledger.form().GridAllDblClick();
            QVERIFY(ledger.form().Label1IsRed());
            QCOMPARE(ledger.form().Label1->text(),
                     u"フープタリソフトのバージョンが古いか、同じフォルダに入っていません"_s);
            QCOMPARE(ledger.shell().started, QStringList());
        }
    }
};

QTEST_MAIN(tst_ledger_editing)
#include "tst_ledger_editing.moc"
