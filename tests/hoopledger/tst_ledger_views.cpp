// The statistics views over a season recorded and written by the scoring program's own code, checked
// against totals worked out by hand; then the date range, the switches, sorting and the search.
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "hoopledger/TPlayerTouroku.h"
#include "hoopledger/Teamlist.h"
#include "platform/Colors.h"
#include "platform/DateTime.h"
#include "platform/StringGrid.h"
#include "support/Ledger.h"
#include "support/Season.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;

namespace {

const QString kStatHeader =
    u"2P(M)|2P(A)|2P(%)|3P(M)|3P(A)|3P(%)|FP(M)|FP(A)|FP(%)|F|OR|DR|TO|AS|ST|BS|TIME"_s;

} // namespace

class tst_ledger_views : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_season;
    std::unique_ptr<Ledger> m_ledger;

    TMainForm& form() { return m_ledger->form(); }
    QStringList rows() { return gridRows(*form().GridAll); }
    TGTeam* team(const QString& name)
    {
        for (TGTeam* t : *form().Teams()) {
            if (t->GetName() == name)
                return t;
        }
        return nullptr;
    }
    void press(int col)
    {
        const QRect cell = form().GridAll->CellRect(col, 0);
        form().GridAllMouseUp(Qt::LeftButton, {}, cell.center().x(), cell.center().y());
    }

private slots:
    void initTestCase() { writeSampleSeason(m_season.path()); }

    void init()
    {
        m_ledger = std::make_unique<Ledger>();
        m_ledger->start(u"[Option]\nFilePath="_s + m_season.path() + u"\nActiveRead=1"_s);
        form().GridAll->resize(1200, 400);
    }

    void cleanup() { m_ledger.reset(); }

    void gameListAndTree()
    {
        QCOMPARE(rows(),
                 (QStringList{
                     u"大会名|場所|日付|時間|得点"_s,
                     u"春季リーグ|市民体育館|24/05/01|14:00|東京ホークス(6) - Osaka Bears(5)"_s,
                     u"春季リーグ|北体育館|24/05/03|10:00|名古屋ドルフィンズ(3) - Kobe Stars(4)"_s,
                     u"春季リーグ|市民体育館|24/05/10|18:30|東京ホークス(5) - 名古屋ドルフィンズ(5)"_s,
                     u"夏季大会|港アリーナ|24/06/01|13:00|Osaka Bears(4) - Kobe Stars(2)"_s,
                     u"夏季大会|港アリーナ|24/06/15|11:00|Kobe Stars(4) - 東京ホークス(2)"_s, u"||||"_s}));
        QCOMPARE(form().Label3->text(), u"全5試合中5試合を表示"_s);
        QCOMPARE(m_ledger->treeTexts(), (QStringList{kRoot,
                                                     u"  Kobe Stars"_s,
                                                     u"    個人ﾄｰﾀﾙ一覧"_s,
                                                     u"    山田[8]"_s,
                                                     u"    吉田[11]"_s,
                                                     u"    井上[23]"_s,
                                                     u"  Osaka Bears"_s,
                                                     u"    個人ﾄｰﾀﾙ一覧"_s,
                                                     u"    伊藤[5]"_s,
                                                     u"    山田[8]"_s,
                                                     u"    中村[12]"_s,
                                                     u"  名古屋ドルフィンズ"_s,
                                                     u"    個人ﾄｰﾀﾙ一覧"_s,
                                                     u"    小林[6]"_s,
                                                     u"    加藤[9]"_s,
                                                     u"  東京ホークス"_s,
                                                     u"    個人ﾄｰﾀﾙ一覧"_s,
                                                     u"    佐藤[4]"_s,
                                                     u"    鈴木[7]"_s,
                                                     u"    高橋[10]"_s,
                                                     u"    佐藤[14]"_s}));
        QCOMPARE(form().DateTimePicker1->date(), QDate(2024, 5, 1));
        QCOMPARE(form().DateTimePicker2->date(), QDate(2024, 6, 15));
    }

    void teamResults()
    {
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(form().Label1->text(), u"東京ホークス【チーム成績一覧】"_s);
        QCOMPARE(rows(), (QStringList{u"日付|大会名|場所|対戦相手|得点|勝敗"_s,
                                      u"24/05/01|春季リーグ|市民体育館|Osaka Bears|06 - 05|勝"_s,
                                      u"24/05/10|春季リーグ|市民体育館|名古屋ドルフィンズ|05 - 05|--"_s,
                                      u"24/06/15|夏季大会|港アリーナ|Kobe Stars|02 - 04|負"_s,
                                      u"合計||||13 - 14|1勝1敗1引き分け"_s}));
        QCOMPARE(form().Label3->text(), u"全3試合 1勝1敗1引き分け"_s);
        QCOMPARE(form().GridAll->Objects(0, 1), form().Games()->At(0));
        QCOMPARE(form().GridAll->Objects(0, 4), nullptr);

        m_ledger->show({kRoot, kKobe});
        QCOMPARE(rows().mid(1), (QStringList{u"24/05/03|春季リーグ|北体育館|名古屋ドルフィンズ|04 - 03|勝"_s,
                                             u"24/06/01|夏季大会|港アリーナ|Osaka Bears|02 - 04|負"_s,
                                             u"24/06/15|夏季大会|港アリーナ|東京ホークス|04 - 02|勝"_s,
                                             u"合計||||10 - 09|2勝1敗"_s}));
        QCOMPARE(form().Label3->text(), u"全3試合 2勝1敗"_s);
    }

    void personalTotals()
    {
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(form().Label1->text(), u"東京ホークス【個人トータル一覧】"_s);
        QCOMPARE(rows(), (QStringList{u"名前|番号|得点|"_s + kStatHeader,
                                      u"佐藤|4|8|2|2|100.0%|1|1|100.0%|1|2|50.0%|0|0|0|0|0|0|0|00:20:00"_s,
                                      u"鈴木|7|2|1|2|50.0%|0|0|--|0|0|--|0|1|0|1|1|1|0|00:30:00"_s,
                                      u"高橋|10|0|0|0|--|0|0|--|0|0|--|0|0|0|0|0|0|0|00:00:00"_s,
                                      u"佐藤|14|3|0|0|--|1|1|100.0%|0|0|--|1|0|0|0|0|0|0|00:10:00"_s,
                                      u"合計||13|3|4|75.0%|2|2|100.0%|1|2|50.0%|1|1|0|1|1|1|0|01:00:00"_s}));
        QCOMPARE(form().Label3->text(), u"全3試合 全得点13"_s);
        QCOMPARE(form().GridAll->Objects(0, 1), team(kTokyo)->Members().At(0));
        // One player, two teams: each team counts its own games.
        m_ledger->show({kRoot, kOsaka, kTotals});
        QCOMPARE(rows()[2], u"山田|8|5|1|1|100.0%|1|1|100.0%|0|0|--|1|0|0|1|0|0|1|00:20:00"_s);
        m_ledger->show({kRoot, kKobe, kTotals});
        QCOMPARE(rows()[1], u"山田|8|2|1|2|50.0%|0|0|--|0|0|--|0|0|0|0|0|0|0|00:20:00"_s);
    }

    void memberGames()
    {
        m_ledger->show({kRoot, kTokyo, u"鈴木[7]"_s});
        QCOMPARE(form().Label1->text(), u"鈴木[7]東京ホークス【個人成績一覧】"_s);
        QCOMPARE(
            rows(),
            (QStringList{
                u"ｹﾞｰﾑ名|日付|相手|得点|"_s + kStatHeader,
                u"春季リーグ|24/05/01|Osaka Bears|00|00|01|0.0%|00|00|--|00|00|--|00|01|00|00|01|01|00|00:10:00"_s,
                u"春季リーグ|24/05/10|名古屋ドルフィンズ|02|01|01|100.0%|00|00|--|00|00|--|00|00|00|00|00|00|00|00:10:00"_s,
                u"夏季大会|24/06/15|Kobe Stars|00|00|00|--|00|00|--|00|00|--|00|00|00|01|00|00|00|00:10:00"_s,
                u"合計|||02|01|02|50.0%|00|00|--|00|00|--|00|01|00|01|01|01|00|00:30:00"_s}));
        QCOMPARE(form().Label3->text(), u"全3試合 全得点2"_s);
        QCOMPARE(form().GridMember(), team(kTokyo)->Members().At(1));
        // No time on court: no game listed, although the personal totals count him.
        m_ledger->show({kRoot, kTokyo, u"高橋[10]"_s});
        QCOMPARE(rows().size(), 2);
        QCOMPARE(form().Label3->text(), u"全0試合 全得点0"_s);
    }

    void rangeSwitchesAndDisabledGames()
    {
        form().DateTimePicker2->setDate(QDate(2024, 5, 31));
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(form().Label3->text(), u"全2試合 1勝0敗1引き分け"_s);
        form().DateTimePicker2->setDate(QDate(2024, 6, 30));
        form().Games()->At(0)->enabled = 0;
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(form().Label3->text(), u"全2試合 0勝1敗1引き分け"_s);
        m_ledger->show({kRoot});
        QCOMPARE(form().Label3->text(), u"全5試合中5試合を表示"_s);
        form().Games()->At(0)->enabled = 1;

        for (int item = 0; item < kKojinItemCount; ++item)
            m_ledger->option().SetKojinItem(item, item == 1 || item == kTimeItem);
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows()[0], u"名前|番号|得点|2P(A)|2P(%)|TIME"_s);
        QCOMPARE(rows()[5], u"合計||13|4|75.0%|01:00:00"_s);
        for (int item = 0; item < kKojinItemCount; ++item)
            m_ledger->option().SetKojinItem(item, false);
        m_ledger->show({kRoot, kTokyo, u"佐藤[4]"_s});
        QCOMPARE(rows(), (QStringList{u"ｹﾞｰﾑ名|日付|相手|得点"_s, u"春季リーグ|24/05/01|Osaka Bears|06"_s,
                                      u"夏季大会|24/06/15|Kobe Stars|02"_s, u"合計|||08"_s}));
    }

    void hiddenMembersStillCount()
    {
        team(kTokyo)->Members().At(0)->visible = 0;
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows().size(), 5);
        QVERIFY(rows()[4].startsWith(u"合計||13|"_s));
        // The tree follows at the next click on the expanded team.
        m_ledger->node({kRoot, kTokyo})->setExpanded(true);
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(m_ledger->node({kRoot, kTokyo})->childCount(), 4);
        QCOMPARE(m_ledger->node({kRoot, kTokyo})->child(1)->text(0), u"鈴木[7]"_s);
        QCOMPARE(form().TreeView1->currentItem(), m_ledger->node({kRoot, kTokyo}));
    }

    void search()
    {
        form().DateTimePicker1->setDate(QDate(2024, 6, 1));
        QTreeWidgetItem* tokyo = m_ledger->node({kRoot, kTokyo});
        tokyo->setExpanded(true);
        m_ledger->show({kRoot, kTokyo, u"鈴木[7]"_s});
        form().Button1Click();
        // Only the June game's players stay; the view is shown again with the member still chosen.
        QStringList children;
        for (int i = 0; i < tokyo->childCount(); ++i)
            children << tokyo->child(i)->text(0);
        QCOMPARE(children, (QStringList{kTotals, u"佐藤[4]"_s, u"鈴木[7]"_s}));
        QCOMPARE(form().TreeView1->currentItem()->text(0), u"鈴木[7]"_s);
        QCOMPARE(form().Label3->text(), u"全1試合 全得点0"_s);
        // Other teams follow when next clicked while expanded.
        QCOMPARE(m_ledger->node({kRoot, kOsaka})->childCount(), 4);
        m_ledger->node({kRoot, kOsaka})->setExpanded(true);
        m_ledger->show({kRoot, kOsaka});
        QCOMPARE(m_ledger->node({kRoot, kOsaka})->childCount(), 3);
    }

    void sortByColumn()
    {
        m_ledger->show({kRoot, kTokyo, kTotals});
        TStatPlayer* sato4 = team(kTokyo)->Members().At(0);
        auto names = [this] {
            QStringList column;
            for (int row = 1; row < form().GridAll->RowCount(); ++row)
                column << form().GridAll->Cells(1, row);
            return column;
        };
        press(2);
        QCOMPARE(names(), (QStringList{u"4"_s, u"14"_s, u"7"_s, u"10"_s, QString()}));
        QCOMPARE(form().GridAll->Objects(0, 1), sato4);
        QCOMPARE(form().SortDirection(), 1);
        press(2);
        QCOMPARE(names(), (QStringList{u"10"_s, u"7"_s, u"14"_s, u"4"_s, QString()}));
        QCOMPARE(form().GridAll->Objects(0, 4), sato4);
        QCOMPARE(form().SortDirection(), 0);
        // Texts read as -1 everywhere: the order stays; a new column starts descending.
        press(0);
        QCOMPARE(names(), (QStringList{u"10"_s, u"7"_s, u"14"_s, u"4"_s, QString()}));
        QCOMPARE(form().SortColumn(), 0);
        QCOMPARE(form().SortDirection(), 1);
        // The game list keeps its empty last row last.
        m_ledger->show({kRoot});
        press(0);
        QCOMPARE(form().GridAll->Cells(0, form().GridAll->RowCount() - 1), QString());
        // A press below the header sorts nothing.
        const QRect cell = form().GridAll->CellRect(0, 1);
        form().GridAllMouseUp(Qt::LeftButton, {}, cell.center().x(), cell.center().y());
        QCOMPARE(form().SortColumn(), 0);
    }

    void columnWidthsFitTheTexts()
    {
        m_ledger->show({kRoot});
        const platform::StringGrid& grid = *form().GridAll;
        const QFontMetrics metrics(grid.CanvasFont());
        for (int col = 0; col < grid.ColCount(); ++col) {
            // "3P(M)" is the least width; the header counts with the cell's text inset on both sides.
            int widest = std::max(metrics.horizontalAdvance(u"3P(M)"_s),
                                  metrics.horizontalAdvance(grid.Cells(col, 0)) +
                                      2 * platform::StringGrid::kTextInset);
            for (int row = 1; row < grid.RowCount(); ++row)
                widest = std::max(widest, metrics.horizontalAdvance(grid.Cells(col, row)) + 15);
            QCOMPARE(grid.ColWidths(col), widest);
        }
        QVERIFY(grid.ColWidths(4) > metrics.horizontalAdvance(u"東京ホークス(5) - 名古屋ドルフィンズ(5)"_s));
    }

    // Every header shows whole, drawn at the cell's text inset, also over columns with short or no lines.
    void headersFit_data()
    {
        QTest::addColumn<QStringList>("node");
        QTest::addColumn<QDate>("until");
        const QDate all(2024, 6, 15);
        QTest::newRow("game list") << QStringList{kRoot} << all;
        QTest::newRow("team results") << QStringList{kRoot, kTokyo} << all;
        QTest::newRow("personal totals") << QStringList{kRoot, kTokyo, kTotals} << all;
        QTest::newRow("member's games") << QStringList{kRoot, kTokyo, u"佐藤[4]"_s} << all;
        QTest::newRow("member without games") << QStringList{kRoot, kTokyo, u"高橋[10]"_s} << all;
        QTest::newRow("team without games in the range") << QStringList{kRoot, kTokyo} << QDate(2024, 4, 30);
        QTest::newRow("totals without games in the range")
            << QStringList{kRoot, kTokyo, kTotals} << QDate(2024, 4, 30);
    }

    void headersFit()
    {
        QFETCH(QStringList, node);
        QFETCH(QDate, until);
        form().DateTimePicker2->setDate(until);
        m_ledger->show(node);
        const platform::StringGrid& grid = *form().GridAll;
        const QFontMetrics metrics(grid.CanvasFont());
        QVERIFY(grid.ColCount() > 0);
        for (int col = 0; col < grid.ColCount(); ++col) {
            const QString header = grid.Cells(col, 0);
            QVERIFY2(grid.ColWidths(col) >=
                         metrics.horizontalAdvance(header) + 2 * platform::StringGrid::kTextInset,
                     qPrintable(header));
        }
    }

    // Hand-written games: a game of two sides of one name, attempts from points that are no multiple
    // of 2 or 3 (the totals lines divide each part), and sums beyond 32 bits.
    void handWrittenEdgeCases()
    {
        cleanup();
        Ledger ledger;
        const QString tenMinutes = u"0.00694444444444444"_s;
        writeText(ledger.gamePath(u"h1.game"_s),
                  gameFile(u"45413"_s, u"Owls"_s, playerBlock(u"Sato"_s, u"4"_s, {0, 0, 4}, tenMinutes),
                           u"Owls"_s, playerBlock(u"Ito"_s, u"5"_s, {0, 0, 2}, tenMinutes)));
        for (const QString& file : {u"h2.game"_s, u"h3.game"_s})
            writeText(ledger.gamePath(file),
                      gameFile(u"45414"_s, u"Big"_s,
                               playerBlock(u"Max"_s, u"9"_s, {0, 0, 2147483647}, tenMinutes), u"Small"_s,
                               {}));
        writeText(ledger.gamePath(u"h4.game"_s),
                  gameFile(u"45415"_s, u"Odd"_s, playerBlock(u"Kato"_s, u"1"_s, {4, 4, 3, 3}, tenMinutes),
                           u"Even"_s, {}));
        ledger.start(ledger.iniFor());

        ledger.show({kRoot, u"Owls"_s});
        QCOMPARE(gridRows(*ledger.form().GridAll).mid(1),
                 (QStringList{u"24/05/01|大会|体育館|Owls|04 - 02|勝"_s,
                              u"24/05/01|大会|体育館|Owls|02 - 04|負"_s, u"合計||||06 - 06|1勝1敗"_s}));
        ledger.show({kRoot, u"Owls"_s, kTotals});
        QCOMPARE(gridRows(*ledger.form().GridAll)[1].section(u'|', 0, 2), u"Sato|4|4"_s);
        QCOMPARE(gridRows(*ledger.form().GridAll)[2].section(u'|', 0, 2), u"Ito|5|2"_s);
        QCOMPARE(ledger.form().Label3->text(), u"全2試合 全得点6"_s);
        ledger.show({kRoot, u"Owls"_s, u"Ito[5]"_s});
        QCOMPARE(gridRows(*ledger.form().GridAll)[1].section(u'|', 2, 3), u"Owls|02"_s);

        ledger.show({kRoot, u"Big"_s});
        QCOMPARE(gridRows(*ledger.form().GridAll).last(), u"合計||||4294967294 - 00|2勝0敗"_s);
        ledger.show({kRoot, u"Big"_s, kTotals});
        QCOMPARE(gridRows(*ledger.form().GridAll)[1].section(u'|', 0, 4),
                 u"Max|9|4294967294|2147483647|2147483647"_s);
        QCOMPARE(ledger.form().Label3->text(), u"全2試合 全得点4294967294"_s);

        ledger.show({kRoot, u"Odd"_s, kTotals});
        QCOMPARE(gridRows(*ledger.form().GridAll).mid(1),
                 (QStringList{u"Kato|1|7|1|3|33.3%|1|2|50.0%|0|0|--|0|0|0|0|0|0|0|00:10:00"_s,
                              u"合計||7|1|2|50.0%|1|2|50.0%|0|0|--|0|0|0|0|0|0|0|00:10:00"_s}));
        ledger.show({kRoot, u"Odd"_s, u"Kato[1]"_s});
        QCOMPARE(
            gridRows(*ledger.form().GridAll).mid(1),
            (QStringList{
                u"大会|24/05/03|Even|07|01|03|33.3%|01|02|50.0%|00|00|--|00|00|00|00|00|00|00|00:10:00"_s,
                u"合計|||07|01|02|50.0%|01|02|50.0%|00|00|--|00|00|00|00|00|00|00|00:10:00"_s}));
    }

    void screenshots()
    {
        const QString folder = qEnvironmentVariable("HOOP_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("set HOOP_SCREENSHOTS to a folder to save the main window's pictures");
        form().resize(1100, 560);
        form().show();
        m_ledger->node({kRoot, kTokyo})->setExpanded(true);
        m_ledger->show({kRoot});
        QVERIFY(form().grab().save(QDir(folder).filePath(u"ledger_gamelist.png"_s)));
        m_ledger->show({kRoot, kTokyo, kTotals});
        QVERIFY(form().grab().save(QDir(folder).filePath(u"ledger_totals.png"_s)));
        m_ledger->show({kRoot, kTokyo, u"鈴木[7]"_s});
        QVERIFY(form().grab().save(QDir(folder).filePath(u"ledger_member.png"_s)));
        QVERIFY(m_ledger->option().grab().save(QDir(folder).filePath(u"ledger_option.png"_s)));
        QVERIFY(m_ledger->aboutBox().grab().save(QDir(folder).filePath(u"ledger_about.png"_s)));
        TPlayerTouroku dialog(team(kTokyo)->Members().At(1));
        team(kTokyo)->Members().At(1)->kind = 0;
        dialog.FormActivate();
        QVERIFY(dialog.grab().save(QDir(folder).filePath(u"ledger_player.png"_s)));
    }
};

QTEST_MAIN(tst_ledger_views)
#include "tst_ledger_views.moc"
