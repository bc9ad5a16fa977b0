// The statistics main window: start-up, the scoring program's probe, loading, the tree, the game list
// and the date range.
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "hoopledger/Teamlist.h"
#include "hoopledger/Tgamelist.h"
#include "platform/Colors.h"
#include "platform/DateTime.h"
#include "platform/StringGrid.h"
#include "platform/testing/NonRegularFiles.h"
#include "support/Ledger.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(hoopledger::testing::Scorer)

namespace {

const QString kProbeWarning =
    u"フープタリーソフトに問題があります【バージョンアップが古い】【同じフォルダに入ってない】"_s;
const QString kOldFileWarning = u"古いバージョンのフープタリで、書き込まれたgameファイルがあります"_s;
const QString kResetQuestion = u"初期状態に戻しますよろしいですか？"_s;

double serial(int year, int month, int day)
{
    return platform::DateTime::encodeDate(year, month, day);
}

QString dateLine(int year, int month, int day)
{
    return QString::number(serial(year, month, day));
}

// A game of two teams with one scoring player each.
void writeGame(Ledger& ledger, const QString& file, const QString& date, const QString& a, const QString& b,
               int pointsA = 2, int pointsB = 0)
{
    writeText(ledger.gamePath(file),
              gameFile(date, a, playerBlock(u"Sato"_s, u"4"_s, {0, 0, pointsA}, u"0.01"_s), b,
                       playerBlock(u"Ito"_s, u"5"_s, {0, 0, pointsB}, u"0.01"_s), u"大会 "_s + file));
}

// A game file of an older version: no statistics block.
void writeOldGame(Ledger& ledger, const QString& file, const QString& date)
{
    QStringList lines = gameFile(date, u"A"_s, {}, u"B"_s, {});
    lines[1] = u"02.02.08"_s;
    writeText(ledger.gamePath(file), lines.mid(0, lines.indexOf(u"#STATS-START"_s)));
}

// The scripted dialogs with an open dialog that answers several files at once.
class MultiOpen : public platform::testing::ScriptedDialogs
{
public:
    std::optional<QStringList> answer;
    std::optional<QStringList> openFiles(const platform::FileDialogOptions&) override { return answer; }
};

} // namespace

class tst_ledger_mainwindow : public QObject
{
    Q_OBJECT

private slots:
    void probeVersions_data()
    {
        QTest::addColumn<QList<int>>("version");
        QTest::addColumn<int>("result");
        QTest::newRow("2.2.8.0") << QList<int>{2, 2, 8, 0} << 0;
        QTest::newRow("2.2.8.9") << QList<int>{2, 2, 8, 9} << 0;
        QTest::newRow("2.2.7.99") << QList<int>{2, 2, 7, 99} << 1;
        QTest::newRow("2.3.0.0") << QList<int>{2, 3, 0, 0} << 0;
        QTest::newRow("2.1.9.9") << QList<int>{2, 1, 9, 9} << 1;
        QTest::newRow("1.9.9.9") << QList<int>{1, 9, 9, 9} << 1;
        QTest::newRow("3.0.0.0") << QList<int>{3, 0, 0, 0} << 0;
    }

    void probeVersions()
    {
        QFETCH(QList<int>, version);
        QFETCH(int, result);
        Ledger ledger;
        const QString path = ledger.path(u"Hooptally"_s);
        writeVersionFile(path, version[0], version[1], version[2], version[3]);
        QCOMPARE(TMainForm::CheckScoreProgram(path), result);
    }

    void probeAtStart_data()
    {
        QTest::addColumn<Scorer>("scorer");
        QTest::addColumn<int>("probe");
        QTest::newRow("the built scoring program") << Scorer::Real << 0;
        QTest::newRow("no file") << Scorer::None << 1;
        QTest::newRow("no version block") << Scorer::WithoutVersion << 1;
        QTest::newRow("older version") << Scorer::Old << 1;
    }

    // The warning stays in sight after the start-up load; a failed probe does not stop the load.
    void probeAtStart()
    {
        QFETCH(Scorer, scorer);
        QFETCH(int, probe);
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        ledger.start(ledger.iniFor(), scorer);
        TMainForm& form = ledger.form();
        QCOMPARE(form.ScoreProgramPath(), ledger.path(u"Hooptally"_s));
        QCOMPARE(form.ProbeResult(), probe);
        QCOMPARE(form.Label1->text(), probe ? kProbeWarning : u"全試合情報"_s);
        QCOMPARE(form.Label1IsRed(), probe == 1);
        QCOMPARE(form.Games()->Count(), 1);
        // A team view turns the heading black again.
        ledger.show({u"全試合"_s, u"A"_s});
        QVERIFY(!form.Label1IsRed());
        QCOMPARE(form.Label1->text(), u"A【チーム成績一覧】"_s);
    }

    void probeWarningWithOldFile()
    {
        Ledger ledger;
        writeOldGame(ledger, u"old.game"_s, dateLine(2024, 5, 1));
        ledger.start(ledger.iniFor(), Scorer::None);
        QCOMPARE(ledger.form().Label1->text(), kProbeWarning + u"　"_s + kOldFileWarning);
    }

    void startUpLoad()
    {
        Ledger ledger;
        writeGame(ledger, u"b.game"_s, dateLine(2024, 6, 2), u"Hawks"_s, u"Owls"_s, 4, 2);
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"Owls"_s, u"eagles"_s, 3, 5);
        writeGame(ledger, u"C.GAME"_s, dateLine(2024, 5, 20) + u".75"_s, u"Eagles"_s, u"Hawks"_s);
        writeText(ledger.gamePath(u"roster.game"_s), {u"#Hooproster"_s, u"A,1,4,Sato,PG,Starter,,"_s});
        writeText(ledger.gamePath(u"notes.txt"_s), {u"#Hooptally"_s});
        writeText(ledger.gamePath(u"cut.game"_s), {u"#Hooptally"_s, u"02.03.01"_s, u"大会"_s});
        QVERIFY(QDir(ledger.gamesFolder()).mkdir(u"folder.game"_s));
        // Named with the damaged files, at once: no wait for a writer of the pipe, no endless read.
        QVERIFY(platform::testing::makeNonRegularFile(ledger.gamePath(u"x.game"_s), u"fifo"_s));
        QVERIFY(platform::testing::makeNonRegularFile(ledger.gamePath(u"z.game"_s), u"zero"_s));
        ledger.start(ledger.iniFor(), Scorer::Real, false);
        ledger.dialogs().expectMessage(u"壊れているため読み込めなかったgameファイルがあります\n"_s +
                                       QStringList{ledger.gamePath(u"cut.game"_s),
                                                   ledger.gamePath(u"x.game"_s), ledger.gamePath(u"z.game"_s)}
                                           .join(u'\n'));
        ledger.form().FormActivate();
        TMainForm& form = ledger.form();
        QCOMPARE(form.Games()->Count(), 3);
        QCOMPARE(ledger.treeTexts(),
                 (QStringList{u"全試合"_s, u"  Eagles"_s, u"    個人ﾄｰﾀﾙ一覧"_s, u"    Sato[4]"_s,
                              u"  eagles"_s, u"    個人ﾄｰﾀﾙ一覧"_s, u"    Ito[5]"_s, u"  Hawks"_s,
                              u"    個人ﾄｰﾀﾙ一覧"_s, u"    Sato[4]"_s, u"    Ito[5]"_s, u"  Owls"_s,
                              u"    個人ﾄｰﾀﾙ一覧"_s, u"    Sato[4]"_s, u"    Ito[5]"_s}));
        QVERIFY(ledger.node({u"全試合"_s})->isExpanded());
        QCOMPARE(form.TreeView1->currentItem(), ledger.node({u"全試合"_s}));
        QCOMPARE(gridRows(*form.GridAll),
                 (QStringList{u"大会名|場所|日付|時間|得点"_s,
                              u"大会 a.game|体育館|24/05/01|00:00|Owls(3) - eagles(5)"_s,
                              u"大会 C.GAME|体育館|24/05/20|18:00|Eagles(2) - Hawks(0)"_s,
                              u"大会 b.game|体育館|24/06/02|00:00|Hawks(4) - Owls(2)"_s, u"||||"_s}));
        QCOMPARE(form.GridKind(), int(kGameListView));
        QCOMPARE(form.GridAll->Objects(0, 1), form.Games()->At(0));
        QCOMPARE(form.GridAll->Objects(0, 4), nullptr);
        QCOMPARE(form.Label3->text(), u"全3試合中3試合を表示"_s);
        // The range narrows to the loaded games, whole days.
        QCOMPARE(form.DateTimePicker1->date(), QDate(2024, 5, 1));
        QCOMPARE(form.DateTimePicker2->date(), QDate(2024, 6, 2));
        QCOMPARE(form.RangeFrom(), serial(2024, 5, 1));
        QCOMPARE(form.RangeTo(), serial(2024, 6, 2) + platform::DateTime::encodeTime(23, 59, 59));
    }

    void noLoad_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("treeBuilt");
        QTest::newRow("reading at start off") << u"[Option]\nFilePath=GAMES\nActiveRead=0"_s << false;
        QTest::newRow("empty folder setting") << u"[Option]\nFilePath=\nActiveRead=1"_s << true;
        QTest::newRow("missing folder") << u"[Option]\nFilePath=GAMES/none\nActiveRead=1"_s << true;
    }

    void noLoad()
    {
        QFETCH(QString, ini);
        QFETCH(bool, treeBuilt);
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        // Where an empty folder setting would point if it were taken as the working folder.
        writeGame(ledger, u"../cwd.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(ledger.folder());
        ledger.start(QString(ini).replace(u"GAMES"_s, ledger.gamesFolder()));
        QDir::setCurrent(previous);
        TMainForm& form = ledger.form();
        QCOMPARE(form.Games() ? form.Games()->Count() : 0, 0);
        QCOMPARE(ledger.treeTexts(), treeBuilt ? QStringList{u"全試合"_s} : QStringList{});
        if (treeBuilt) {
            QCOMPARE(gridRows(*form.GridAll), (QStringList{u"大会名|場所|日付|時間|得点"_s, u"||||"_s}));
            QCOMPARE(form.Label3->text(), u"全0試合中0試合を表示"_s);
        }
        QCOMPARE(form.DateTimePicker1->date(), QDate(1990, 1, 1));
        QCOMPARE(form.DateTimePicker2->date(), QDate(2099, 1, 1));
    }

    void listGameFiles()
    {
        Ledger ledger;
        writeText(ledger.gamePath(u"b.game"_s), {u"x"_s});
        writeText(ledger.gamePath(u"a.Game"_s), {u"x"_s});
        writeText(ledger.gamePath(u"c.games"_s), {u"x"_s});
        QVERIFY(QDir(ledger.gamesFolder()).mkpath(u"sub.game/inner"_s));
        writeText(ledger.gamePath(u"sub.game/inner/d.game"_s), {u"x"_s});
        ledger.start(QString(), Scorer::None, false);
        const QStringList expected = {ledger.gamePath(u"a.Game"_s), ledger.gamePath(u"b.game"_s)};
        QCOMPARE(ledger.form().ListGameFiles(ledger.gamesFolder()), expected);
        QCOMPARE(ledger.form().ListGameFiles(ledger.gamesFolder() + u'/'), expected);
        QCOMPARE(ledger.form().ListGameFiles(ledger.gamesFolder() + u'\\'), expected);
        QCOMPARE(ledger.form().ListGameFiles(QString()), QStringList());
    }

    void gameListAndRange()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        writeGame(ledger, u"b.game"_s, dateLine(2024, 5, 1), u"C"_s, u"D"_s);
        writeOldGame(ledger, u"old.game"_s, dateLine(2024, 7, 1));
        ledger.start(ledger.iniFor());
        TMainForm& form = ledger.form();
        QCOMPARE(form.Label1->text(), kOldFileWarning);
        QCOMPARE(form.DateTimePicker2->date(), QDate(2024, 7, 1));
        // Games after the end: counted as loaded, no row. The old file is still noted.
        form.DateTimePicker2->setDate(QDate(2024, 6, 30));
        ledger.show({u"全試合"_s});
        QCOMPARE(form.Label3->text(), u"全3試合中2試合を表示"_s);
        QCOMPARE(form.Label1->text(), kOldFileWarning);
        QCOMPARE(form.GridAll->RowCount(), 4);
        // Both ends belong to the range.
        form.DateTimePicker1->setDate(QDate(2024, 5, 1));
        form.DateTimePicker2->setDate(QDate(2024, 5, 1));
        ledger.show({u"全試合"_s});
        QCOMPARE(form.Label3->text(), u"全3試合中2試合を表示"_s);
        form.DateTimePicker1->setDate(QDate(2024, 5, 2));
        ledger.show({u"全試合"_s});
        QCOMPARE(form.Label3->text(), u"全3試合中0試合を表示"_s);
        // The old file's two empty-named sides make one team with an empty name.
        QVERIFY(ledger.node({u"全試合"_s, u"A"_s}));
        QCOMPARE(form.Teams()->Count(), 5);
    }

    void openChosenFiles()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        writeGame(ledger, u"b.game"_s, dateLine(2024, 8, 1), u"C"_s, u"D"_s);
        writeGame(ledger, u"c.game"_s, dateLine(2025, 1, 1), u"E"_s, u"F"_s);
        ledger.start(ledger.iniFor(false), Scorer::Real);
        TMainForm& form = ledger.form();

        ledger.dialogs().expectOpenFile(std::nullopt);
        form.FileOpen1->trigger();
        QVERIFY(!form.Games());

        // Nothing loaded: no question. The dialog starts in the game folder with the game filter.
        ledger.dialogs().expectOpenFile(ledger.gamePath(u"c.game"_s));
        form.FileOpen1->trigger();
        QCOMPARE(ledger.dialogs().lastFileOptions().initialDir, ledger.gamesFolder());
        QCOMPARE(ledger.dialogs().lastFileOptions().filter,
                 u"game(*.game)|*.game|すべてのファイル (*.*)|*.*"_s);
        QCOMPARE(form.Games()->Count(), 1);
        // The range stays as it was after the first activation.
        QCOMPARE(form.DateTimePicker1->date(), QDate(1990, 1, 1));

        ledger.dialogs()
            .expectOpenFile(ledger.gamePath(u"a.game"_s))
            .expectMessage(kResetQuestion, platform::mrNo);
        form.FileOpen1->trigger();
        QCOMPARE(form.Games()->At(0)->path, ledger.gamePath(u"c.game"_s));
        ledger.dialogs()
            .expectOpenFile(ledger.gamePath(u"a.game"_s))
            .expectMessage(kResetQuestion, platform::mrYes);
        form.FileOpen1->trigger();
        QCOMPARE(form.Games()->Count(), 1);
        QCOMPARE(form.Games()->At(0)->path, ledger.gamePath(u"a.game"_s));
    }

    void openSeveralFiles()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        writeGame(ledger, u"b.game"_s, dateLine(2024, 8, 1), u"C"_s, u"D"_s);
        ledger.start(ledger.iniFor(false));
        MultiOpen dialogs; // installed over the fixture's for its lifetime
        dialogs.answer = QStringList{ledger.gamePath(u"b.game"_s), ledger.gamePath(u"a.game"_s)};
        ledger.form().FileOpen1Execute();
        QCOMPARE(ledger.form().Games()->Count(), 2);
        QCOMPARE(ledger.treeTexts().size(), 1 + 4 * 3);
    }

    void settingsReload()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        ledger.start(ledger.iniFor(false));
        TMainForm& form = ledger.form();
        auto ok = [](QDialog& dialog) {
            static_cast<TOption&>(dialog).OKBtn->click();
            return dialog.result();
        };
        ledger.dialogs().expectModal(u"Option"_s, [](QDialog&) { return int(platform::mrCancel); });
        form.OptionO2->trigger();
        QVERIFY(!form.Games());
        ledger.dialogs().expectModal(u"Option"_s, ok).expectMessage(kResetQuestion, platform::mrNo);
        form.OptionO2->trigger();
        QVERIFY(!form.Games());
        // Reloads from the folder although reading at start is off.
        ledger.dialogs().expectModal(u"Option"_s, ok).expectMessage(kResetQuestion, platform::mrYes);
        form.OptionO2->trigger();
        QCOMPARE(form.Games()->Count(), 1);
        QCOMPARE(ledger.treeTexts().size(), 1 + 2 * 3);
    }

    // Every view is cleared before the records go, whichever view was up; the sanitizers watch.
    void reloadUnderEveryView()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        ledger.start(ledger.iniFor());
        TMainForm& form = ledger.form();
        for (const QStringList& node :
             {QStringList{u"全試合"_s, u"A"_s}, QStringList{u"全試合"_s, u"A"_s, u"個人ﾄｰﾀﾙ一覧"_s},
              QStringList{u"全試合"_s, u"A"_s, u"Sato[4]"_s}}) {
            ledger.show(node);
            QVERIFY(form.GridKind() != kNoView);
            ledger.dialogs()
                .expectOpenFile(ledger.gamePath(u"a.game"_s))
                .expectMessage(kResetQuestion, platform::mrYes);
            form.FileOpen1Execute();
            QCOMPARE(form.GridKind(), int(kGameListView));
            QCOMPARE(form.GridTeam(), nullptr);
            form.GridAll->Repaint();
        }
    }

    void viewKinds()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        ledger.start(ledger.iniFor());
        TMainForm& form = ledger.form();
        QTreeWidgetItem* team = ledger.node({u"全試合"_s, u"A"_s});
        QTreeWidgetItem* member = ledger.node({u"全試合"_s, u"A"_s, u"Sato[4]"_s});
        QCOMPARE(form.GetViewKind(ledger.node({u"全試合"_s})), int(kGameListView));
        QCOMPARE(form.GetViewKind(team), int(kTeamView));
        QCOMPARE(form.GetViewKind(team->child(0)), int(kPersonalTotalsView));
        QCOMPARE(form.GetViewKind(member), int(kMemberView));
        TGTeam* out = nullptr;
        QCOMPARE(form.GetSelectedPlayer(out), nullptr);
        QCOMPARE(out, nullptr);
        form.TreeView1->setCurrentItem(member);
        QCOMPARE(form.GetViewKind(), int(kMemberView));
        QVERIFY(form.GetSelectedPlayer(out));
        QCOMPARE(out, form.Teams()->At(0));
        form.TreeView1->clearSelection();
        QCOMPARE(form.GetViewKind(), int(kNoView));
        form.TreeView1DblClick(); // nothing selected: nothing happens
    }

    void clickChoosesTheView()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        ledger.start(ledger.iniFor());
        TMainForm& form = ledger.form();
        form.show();
        QTreeWidgetItem* team = ledger.node({u"全試合"_s, u"A"_s});
        const QRect rect = form.TreeView1->visualItemRect(team);
        QTest::mouseClick(form.TreeView1->viewport(), Qt::LeftButton, {}, rect.center());
        QTRY_COMPARE(form.GridKind(), int(kTeamView));
        QCOMPARE(form.GridTeam(), form.Teams()->At(0));
        // Expanded: the member nodes are listed again, the same nodes kept.
        team->setExpanded(true);
        QTreeWidgetItem* member = team->child(1);
        QTest::mouseClick(form.TreeView1->viewport(), Qt::LeftButton, {},
                          form.TreeView1->visualItemRect(member).center());
        QTRY_COMPARE(form.GridKind(), int(kMemberView));
        QCOMPARE(team->child(1), member);
        QCOMPARE(form.TreeView1->currentItem(), member);
        QCOMPARE(form.Label1->text(), u"Sato[4]A【個人成績一覧】"_s);
    }

    // Games without a statistics block are greyed in the game list and the team results only.
    void oldGamesAreGreyed()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        writeOldGame(ledger, u"old.game"_s, dateLine(2024, 5, 2));
        ledger.start(ledger.iniFor(), Scorer::None);
        TMainForm& form = ledger.form();
        form.resize(900, 500);
        form.show();
        if (const QString folder = qEnvironmentVariable("HOOP_SCREENSHOTS"); !folder.isEmpty())
            form.grab().save(QDir(folder).filePath(u"ledger_warnings.png"_s));
        const QColor grey = platform::toQColor(platform::clBtnShadow());
        auto pixel = [&form](int col, int row) {
            const QRect cell = form.GridAll->CellRect(col, row);
            return form.GridAll->viewport()->grab().toImage().pixelColor(cell.right() - 2, cell.bottom() - 2);
        };
        QCOMPARE(pixel(1, 2), grey);
        QVERIFY(pixel(1, 1) != grey);
        ledger.show({u"全試合"_s, QString()});
        QCOMPARE(form.GridKind(), int(kTeamView));
        QCOMPARE(pixel(1, 1), grey);
        ledger.show({u"全試合"_s, QString(), u"個人ﾄｰﾀﾙ一覧"_s});
        QVERIFY(pixel(0, 1) != grey);
    }

    void menusAndHarmlessEntryPoints()
    {
        Ledger ledger;
        writeGame(ledger, u"a.game"_s, dateLine(2024, 5, 1), u"A"_s, u"B"_s);
        ledger.start(ledger.iniFor());
        TMainForm& form = ledger.form();
        // The delete tool button does nothing and asks nothing, whatever is selected.
        for (const QStringList& node : {QStringList{u"全試合"_s}, QStringList{u"全試合"_s, u"A"_s},
                                        QStringList{u"全試合"_s, u"A"_s, u"Sato[4]"_s}}) {
            ledger.show(node);
            const QStringList before = gridRows(*form.GridAll);
            form.ToolBar1->actions().at(3)->trigger(); // the delete button
            QCOMPARE(gridRows(*form.GridAll), before);
            QCOMPARE(ledger.treeTexts().size(), 7);
        }
        form.show();
        form.FileExit1->trigger();
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(tst_ledger_mainwindow)
#include "tst_ledger_mainwindow.moc"
