// The merge dialog "合体・削除": team and member modes, the check rules, the automatic pairings, merging
// and deleting, checked against the tree and the views.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "hoopledger/TMarge.h"
#include "hoopledger/Teamlist.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"
#include "support/Ledger.h"
#include "support/Season.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;

namespace {

const QString kOwls = u"Owls"_s;
const QString kTenMinutes = u"0.00694444444444444"_s;

using Driver = std::function<void(TMarge&)>;

QStringList texts(const QListWidget* list)
{
    QStringList all;
    for (int row = 0; row < list->count(); ++row)
        all << list->item(row)->text();
    return all;
}

// The rows checked in a list, by their texts.
QStringList checked(const QListWidget* list)
{
    QStringList all;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked)
            all << list->item(row)->text();
    }
    return all;
}

int rowOf(const QListWidget* list, const QString& text)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text() == text)
            return row;
    }
    return -1;
}

// What a click on a row's check box does.
void click(QListWidget* list, const QString& text)
{
    const int row = rowOf(list, text);
    QVERIFY2(row >= 0, qPrintable(text));
    QListWidgetItem* item = list->item(row);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void chooseMethod(TMarge& dialog, int method)
{
    const QList<QRadioButton*> buttons = dialog.RadioGroup1->findChildren<QRadioButton*>();
    QVERIFY(method < buttons.size());
    buttons[method]->click();
}

} // namespace

class tst_ledger_mergedialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_season;
    std::unique_ptr<Ledger> m_ledger;

    TMainForm& form() { return m_ledger->form(); }
    platform::testing::ScriptedDialogs& dialogs() { return m_ledger->dialogs(); }
    QStringList rows() { return gridRows(*form().GridAll); }
    QStringList children(const QString& team) { return m_ledger->childTexts({kRoot, team}); }
    void select(const QStringList& path) { m_ledger->select(path); }
    // Runs the dialog through a command; the driver works it, then it is closed with "Close".
    void run(QAction* command, const Driver& driver)
    {
        dialogs().expectModal(u"Marge"_s, [&driver](QDialog& dialog) {
            auto& marge = static_cast<TMarge&>(dialog);
            if (Marge() != &marge) {
                QTest::qFail("Marge() is not the dialog shown", __FILE__, __LINE__);
                return int(platform::mrNone);
            }
            driver(marge);
            marge.CancelBtn->click();
            return marge.result();
        });
        command->trigger();
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(Marge(), nullptr);
    }
    // Owls: three Satos, three ways of writing Ito Jun, two players wearing 9, across three games.
    void startOwls()
    {
        m_ledger = std::make_unique<Ledger>();
        const QStringList owls[] = {playerBlock(u"Sato"_s, u"4"_s, {0, 0, 2}, kTenMinutes) +
                                        playerBlock(u"Ito Jun"_s, u"5"_s, {0, 0, 2}, kTenMinutes) +
                                        playerBlock(u"Kato"_s, u"9"_s, {0, 0, 4}, kTenMinutes),
                                    playerBlock(u"Sato"_s, u"14"_s, {3}, kTenMinutes) +
                                        playerBlock(u"Ito　Jun"_s, u"6"_s, {3}, kTenMinutes) +
                                        playerBlock(u"Mori"_s, u"9"_s, {0, 0, 2}, kTenMinutes),
                                    playerBlock(u"Sato"_s, u"24"_s, {0, 0, 2}, kTenMinutes) +
                                        playerBlock(u"ItoJun"_s, u"7"_s, {}, kTenMinutes) +
                                        playerBlock(u"梶@"_s, u"8"_s, {0, 0, 0, 0, 1}, kTenMinutes)};
        for (int i = 0; i < 3; ++i)
            writeText(m_ledger->gamePath(u"o%1.game"_s.arg(i + 1)),
                      gameFile(QString::number(45413 + i), kOwls, owls[i], u"Hawks"_s,
                               playerBlock(u"Aoki"_s, u"1"_s, {}, kTenMinutes)));
        m_ledger->start(m_ledger->iniFor());
        m_ledger->node({kRoot, kOwls})->setExpanded(true);
    }
    QStringList owlsTotals()
    {
        m_ledger->show({kRoot, kOwls, kTotals});
        QStringList lines;
        for (const QString& line : rows().mid(1))
            lines << line.section(u'|', 0, 2);
        return lines;
    }

private slots:
    void initTestCase() { writeSampleSeason(m_season.path()); }

    void init()
    {
        m_ledger = std::make_unique<Ledger>();
        m_ledger->start(u"[Option]\nFilePath="_s + m_season.path() + u"\nActiveRead=1"_s);
    }

    void cleanup() { m_ledger.reset(); }

    void teamMode()
    {
        select({kRoot, kTokyo});
        run(form().T1, [this](TMarge& dialog) {
            QCOMPARE(dialog.GetMode(), int(TMarge::kTeams));
            QVERIFY(!dialog.ComboBox1->isVisible());
            QVERIFY(!dialog.Button1->isVisible());
            QVERIFY(!dialog.Panel2->isVisible());
            QCOMPARE(dialog.Label2->text(), u"合体元"_s);
            QCOMPARE(dialog.Panel1->y(), 0);
            QCOMPARE(dialog.height(), dialog.Panel1->height());
            QCOMPARE(texts(dialog.CheckListBox1),
                     (QStringList{u"Kobe Stars"_s, kOsaka, u"名古屋ドルフィンズ"_s, kTokyo}));
            QCOMPARE(texts(dialog.CheckListBox2), texts(dialog.CheckListBox1));
            // The selected team starts as the source.
            QCOMPARE(checked(dialog.CheckListBox1), QStringList{kTokyo});
            QCOMPARE(checked(dialog.CheckListBox2), QStringList());
            click(dialog.CheckListBox2, kOsaka);
            dialog.BitBtn1->click();
            QCOMPARE(texts(dialog.CheckListBox1),
                     (QStringList{u"Kobe Stars"_s, kOsaka, u"名古屋ドルフィンズ"_s}));
            QCOMPARE(checked(dialog.CheckListBox1) + checked(dialog.CheckListBox2), QStringList());
        });
        QVERIFY(!m_ledger->node({kRoot, kTokyo}));
        QCOMPARE(children(kOsaka), (QStringList{kTotals, u"佐藤[4]"_s, u"伊藤[5]"_s, u"鈴木[7]"_s,
                                                u"山田[8]"_s, u"高橋[10]"_s, u"中村[12]"_s, u"佐藤[14]"_s}));
        m_ledger->show({kRoot, kOsaka});
        QCOMPARE(rows().mid(1),
                 (QStringList{u"24/05/01|春季リーグ|市民体育館|Osaka Bears|06 - 05|勝"_s,
                              u"24/05/01|春季リーグ|市民体育館|Osaka Bears|05 - 06|負"_s,
                              u"24/05/10|春季リーグ|市民体育館|名古屋ドルフィンズ|05 - 05|--"_s,
                              u"24/06/01|夏季大会|港アリーナ|Kobe Stars|04 - 02|勝"_s,
                              u"24/06/15|夏季大会|港アリーナ|Kobe Stars|02 - 04|負"_s,
                              u"合計||||22 - 22|2勝2敗1引き分け"_s}));
        m_ledger->show({kRoot, kOsaka, kTotals});
        QCOMPARE(form().Label3->text(), u"全5試合 全得点22"_s);
    }

    // Two sources into one target in one go, from the tree's pop-up on the root; both nodes go.
    void teamModeSeveralSources()
    {
        select({kRoot});
        run(form().M3, [](TMarge& dialog) {
            QCOMPARE(dialog.GetMode(), int(TMarge::kTeams));
            QCOMPARE(checked(dialog.CheckListBox1), QStringList());
            click(dialog.CheckListBox1, u"Kobe Stars"_s);
            click(dialog.CheckListBox1, kNagoya);
            click(dialog.CheckListBox2, kOsaka);
            dialog.BitBtn1->click();
            QCOMPARE(texts(dialog.CheckListBox1), (QStringList{kOsaka, kTokyo}));
            QCOMPARE(texts(dialog.CheckListBox2), texts(dialog.CheckListBox1));
        });
        QCOMPARE(m_ledger->childTexts({kRoot}), (QStringList{kOsaka, kTokyo}));
        QCOMPARE(children(kOsaka), (QStringList{kTotals, u"伊藤[5]"_s, u"小林[6]"_s, u"山田[8]"_s, u"加藤[9]"_s,
                                                u"吉田[11]"_s, u"中村[12]"_s, u"井上[23]"_s}));
        // A game between two of the merged teams stands twice, once for each side: 5/3 and 6/1.
        m_ledger->show({kRoot, kOsaka});
        QCOMPARE(rows().size(), 9);
        QCOMPARE(rows().last(), u"合計||||27 - 26|3勝3敗1引き分け"_s);
        m_ledger->show({kRoot, kTokyo});
        QCOMPARE(rows().mid(1, 3).join(u'\n').count(kOsaka), 3);
    }

    // Which command opens which mode, by the node selected.
    void commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<int>("mode"); // 0: no dialog
        QTest::newRow("menu team, root") << u"T1"_s << QStringList{kRoot} << int(TMarge::kTeams);
        QTest::newRow("menu player, member")
            << u"P1"_s << QStringList{kRoot, kTokyo, u"鈴木[7]"_s} << int(TMarge::kMembers);
        QTest::newRow("menu player, root") << u"P1"_s << QStringList{kRoot} << 0;
        QTest::newRow("tree pop-up, root") << u"M3"_s << QStringList{kRoot} << int(TMarge::kTeams);
        QTest::newRow("tree pop-up, totals")
            << u"M3"_s << QStringList{kRoot, kTokyo, kTotals} << int(TMarge::kMembers);
        QTest::newRow("tool button team")
            << u"ToolButton5"_s << QStringList{kRoot, kTokyo} << int(TMarge::kTeams);
        QTest::newRow("tool button player")
            << u"ToolButton6"_s << QStringList{kRoot, kTokyo} << int(TMarge::kMembers);
        QTest::newRow("tool button delete") << u"ToolButton4"_s << QStringList{kRoot, kTokyo} << 0;
    }

    void commands()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, selected);
        QFETCH(int, mode);
        select(selected);
        auto* action = form().findChild<QAction*>(command);
        QVERIFY(action);
        const QStringList tree = m_ledger->treeTexts();
        if (mode == 0) {
            action->trigger();
            QCOMPARE(dialogs().shown(), QStringList());
            QCOMPARE(m_ledger->treeTexts(), tree);
            return;
        }
        run(action, [mode](TMarge& dialog) {
            QCOMPARE(dialog.GetMode(), mode);
            QCOMPARE(dialog.ComboBox1->isVisible(), mode == TMarge::kMembers);
            if (mode == TMarge::kMembers) {
                QCOMPARE(dialog.ComboBox1->currentText(), u"東京ホークス"_s);
                QCOMPARE(texts(dialog.CheckListBox1).size(), 4);
                QCOMPARE(dialog.Label2->text(), u"合体元/削除"_s);
            }
        });
        QCOMPARE(m_ledger->treeTexts(), tree);
    }

    void manualCheckRules()
    {
        select({kRoot, kTokyo, u"鈴木[7]"_s});
        run(form().P1, [](TMarge& dialog) {
            QListWidget* sources = dialog.CheckListBox1;
            QListWidget* targets = dialog.CheckListBox2;
            QCOMPARE(checked(sources) + checked(targets), QStringList());
            click(targets, u"佐藤[4]"_s);
            click(targets, u"鈴木[7]"_s);
            QCOMPARE(checked(targets), QStringList{u"鈴木[7]"_s});
            QCOMPARE(dialog.LastTargetRow(), rowOf(targets, u"鈴木[7]"_s));
            // The source wins in the source list, the target in the target list.
            click(sources, u"鈴木[7]"_s);
            QCOMPARE(checked(targets), QStringList());
            click(targets, u"鈴木[7]"_s);
            QCOMPARE(checked(sources), QStringList());
            click(targets, u"鈴木[7]"_s);
            QCOMPARE(checked(targets), QStringList());
            QCOMPARE(dialog.LastTargetRow(), -1);
            // No target: "⇒" does nothing.
            click(sources, u"佐藤[14]"_s);
            dialog.BitBtn1->click();
            QCOMPARE(texts(sources).size(), 4);
            click(targets, u"佐藤[4]"_s);
            dialog.BitBtn1->click();
            QCOMPARE(texts(sources), (QStringList{u"佐藤[4]"_s, u"鈴木[7]"_s, u"高橋[10]"_s}));
        });
        QCOMPARE(children(kTokyo), (QStringList{kTotals, u"佐藤[4]"_s, u"鈴木[7]"_s, u"高橋[10]"_s}));
        m_ledger->show({kRoot, kTokyo, kTotals});
        QCOMPARE(rows()[1], u"佐藤|4|11|2|2|100.0%|2|2|100.0%|1|2|50.0%|1|0|0|0|0|0|0|00:30:00"_s);
    }

    // Each automatic method proposes its groups, the last row of each the target; one "⇒" merges them.
    void automaticMethods_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<QStringList>("group");
        QTest::addColumn<int>("remaining"); // members after the merge
        QTest::addColumn<QStringList>("totalsAfter");
        QTest::newRow("name") << int(TMarge::kByName)
                              << QStringList{u"Sato[4]"_s, u"Sato[14]"_s, u"Sato[24]"_s} << 7
                              << QStringList{u"Sato|4|7"_s,   u"Ito Jun|5|2"_s, u"Ito　Jun|6|3"_s,
                                             u"ItoJun|7|0"_s, u"梶@|8|1"_s,     u"Kato|9|4"_s,
                                             u"Mori|9|2"_s};
        // The Satos pair here too.
        QTest::newRow("name without spaces")
            << int(TMarge::kByNameWithoutSpaces)
            << QStringList{u"Ito Jun[5]"_s, u"Ito　Jun[6]"_s, u"ItoJun[7]"_s} << 5 << QStringList{};
        QTest::newRow("number") << int(TMarge::kByNumber) << QStringList{u"Kato[9]"_s, u"Mori[9]"_s} << 8
                                << QStringList{};
    }

    void automaticMethods()
    {
        QFETCH(int, method);
        QFETCH(QStringList, group);
        QFETCH(int, remaining);
        QFETCH(QStringList, totalsAfter);
        startOwls();
        QCOMPARE(owlsTotals(), (QStringList{u"Sato|4|2"_s, u"Ito Jun|5|2"_s, u"Ito　Jun|6|3"_s,
                                            u"ItoJun|7|0"_s, u"梶@|8|1"_s, u"Kato|9|4"_s, u"Mori|9|2"_s,
                                            u"Sato|14|3"_s, u"Sato|24|2"_s, u"合計||19"_s}));
        select({kRoot, kOwls, kTotals});
        QString target;
        run(form().P1, [&](TMarge& dialog) {
            chooseMethod(dialog, method);
            QCOMPARE(dialog.RadioGroup1->ItemIndex(), method);
            // The group's last row in the lists is the target, the others are sources.
            QStringList inOrder;
            for (const QString& text : texts(dialog.CheckListBox1)) {
                if (group.contains(text))
                    inOrder << text;
            }
            target = inOrder.takeLast();
            QVERIFY(checked(dialog.CheckListBox2).contains(target));
            for (const QString& source : inOrder) {
                QVERIFY(checked(dialog.CheckListBox1).contains(source));
                QVERIFY(!checked(dialog.CheckListBox2).contains(source));
            }
            QVERIFY(!checked(dialog.CheckListBox1).contains(u"梶@[8]"_s));
            QVERIFY(!checked(dialog.CheckListBox2).contains(u"梶@[8]"_s));
            dialog.BitBtn1->click();
            QCOMPARE(checked(dialog.CheckListBox1) + checked(dialog.CheckListBox2), QStringList());
            QCOMPARE(texts(dialog.CheckListBox1).size(), remaining);
            QVERIFY(texts(dialog.CheckListBox1).contains(target));
        });
        for (const QString& member : group)
            QCOMPARE(children(kOwls).contains(member), member == target);
        const QStringList totals = owlsTotals();
        QCOMPARE(totals.size(), remaining + 1);
        QCOMPARE(totals.last(), u"合計||19"_s);
        if (!totalsAfter.isEmpty())
            QCOMPARE(totals.mid(0, remaining), totalsAfter);
    }

    void autoMergeLeavesUnmatchedSources()
    {
        startOwls();
        select({kRoot, kOwls});
        run(form().M3, [](TMarge& dialog) {
            chooseMethod(dialog, TMarge::kByNumber);
            // A source of its own: no target shares its number.
            click(dialog.CheckListBox1, u"梶@[8]"_s);
            dialog.BitBtn1->click();
            QVERIFY(texts(dialog.CheckListBox1).contains(u"梶@[8]"_s));
            QVERIFY(!texts(dialog.CheckListBox1).contains(u"Kato[9]"_s));
            QCOMPARE(texts(dialog.CheckListBox1).size(), 8);
        });
    }

    void changingTheMethodAsksFirst()
    {
        startOwls();
        select({kRoot, kOwls});
        run(form().P1, [this](TMarge& dialog) {
            chooseMethod(dialog, TMarge::kByName);
            const QStringList sources = checked(dialog.CheckListBox1);
            const QStringList targets = checked(dialog.CheckListBox2);
            dialogs().expectMessage(u"全てのチェックを初期化します。よろしいですか？"_s, platform::mrNo);
            chooseMethod(dialog, TMarge::kByNumber);
            // The checks and the method they were made for stay.
            QCOMPARE(checked(dialog.CheckListBox1), sources);
            QCOMPARE(checked(dialog.CheckListBox2), targets);
            QCOMPARE(dialog.RadioGroup1->ItemIndex(), int(TMarge::kByName));
            // The hint: a target may be changed by hand, several targets stay checked.
            click(dialog.CheckListBox2, u"Kato[9]"_s);
            QCOMPARE(checked(dialog.CheckListBox2).size(), 2);
            dialogs().expectMessage(u"全てのチェックを初期化します"_s, platform::mrYes);
            chooseMethod(dialog, TMarge::kManual);
            QCOMPARE(checked(dialog.CheckListBox1) + checked(dialog.CheckListBox2), QStringList());
            // Nothing checked: no question.
            chooseMethod(dialog, TMarge::kByNumber);
            QCOMPARE(checked(dialog.CheckListBox2), QStringList{u"Mori[9]"_s});
        });
    }

    void deleteMembers()
    {
        startOwls();
        select({kRoot, kOwls, u"Kato[9]"_s});
        run(form().P1, [](TMarge& dialog) {
            click(dialog.CheckListBox1, u"Kato[9]"_s);
            click(dialog.CheckListBox1, u"Sato[24]"_s);
            click(dialog.CheckListBox2, u"Mori[9]"_s);
            dialog.Button1->click();
            // The selected node is gone: the lists show the team the dialog shows.
            QCOMPARE(texts(dialog.CheckListBox1).size(), 7);
            QVERIFY(!texts(dialog.CheckListBox1).contains(u"Kato[9]"_s));
            QVERIFY(texts(dialog.CheckListBox1).contains(u"Mori[9]"_s));
        });
        QVERIFY(!m_ledger->node({kRoot, kOwls, u"Kato[9]"_s}));
        QVERIFY(!m_ledger->node({kRoot, kOwls, u"Sato[24]"_s}));
        QCOMPARE(owlsTotals().last(), u"合計||13"_s);
    }

    void anotherTeamAndEscape()
    {
        select({kRoot, kTokyo, u"鈴木[7]"_s});
        int escaped = -1;
        dialogs().expectModal(u"Marge"_s, [&escaped](QDialog& dialog) {
            auto& marge = static_cast<TMarge&>(dialog);
            [&marge] {
                marge.ComboBox1->setFocus();
                QTest::keyClick(marge.ComboBox1, Qt::Key_Home);
                QCOMPARE(marge.ComboBox1->currentText(), u"Kobe Stars"_s);
                QCOMPARE(texts(marge.CheckListBox1),
                         (QStringList{u"井上[23]"_s, u"吉田[11]"_s, u"山田[8]"_s}));
            }();
            marge.setResult(platform::mrNone);
            QTest::keyClick(&marge, Qt::Key_Escape);
            escaped = marge.result();
            return escaped;
        });
        form().P1->trigger();
        QVERIFY(dialogs().allAnswered());
        QCOMPARE(escaped, int(platform::mrCancel));
    }

    void stripSpaces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("half-width") << u" Ito  Jun "_s << u"ItoJun"_s;
        QTest::newRow("full-width") << u"　伊藤　純　"_s << u"伊藤純"_s;
        // 梶 ends in the byte 0x81 and @ is 0x40: together they are no full-width space.
        QTest::newRow("no pair across characters") << u"梶@"_s << u"梶@"_s;
        QTest::newRow("other blanks stay") << u"Ito\tJun"_s << u"Ito\tJun"_s;
    }

    void stripSpaces()
    {
        QFETCH(QString, text);
        QFETCH(QString, stripped);
        QCOMPARE(TMarge::StripSpaces(text), stripped);
    }

    void screenshots()
    {
        const QString folder = qEnvironmentVariable("HOOP_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("set HOOP_SCREENSHOTS to a folder to save the merge dialog's pictures");
        select({kRoot, kTokyo, u"鈴木[7]"_s});
        run(form().P1, [&folder](TMarge& dialog) {
            chooseMethod(dialog, TMarge::kByName);
            QVERIFY(dialog.grab().save(QDir(folder).filePath(u"ledger_marge_members.png"_s)));
        });
        select({kRoot, kTokyo});
        run(form().T1, [&folder](TMarge& dialog) {
            click(dialog.CheckListBox2, kOsaka);
            QVERIFY(dialog.grab().save(QDir(folder).filePath(u"ledger_marge_teams.png"_s)));
            dialog.BitBtn1->click();
        });
        form().resize(1100, 560);
        form().show();
        m_ledger->show({kRoot, kOsaka, kTotals});
        QVERIFY(form().grab().save(QDir(folder).filePath(u"ledger_after_merge.png"_s)));
    }
};

QTEST_MAIN(tst_ledger_mergedialog)
#include "tst_ledger_mergedialog.moc"
