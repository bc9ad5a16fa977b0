// The HTML save dialog: its start from the settings file and the game, the commentary switch, the
// remembered file name, and the settings it keeps.
#include <QCheckBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/TSaveHtmlDlg.h"
#include "hooptally/Tteam.h"
#include "platform/Colors.h"
#include "platform/IniFile.h"
#include "platform/RadioGroup.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

QList<bool> checks(const QListWidget& list)
{
    QList<bool> states;
    for (int i = 0; i < list.count(); ++i)
        states << (list.item(i)->checkState() == Qt::Checked);
    return states;
}

QStringList texts(const QListWidget& list)
{
    QStringList result;
    for (int i = 0; i < list.count(); ++i)
        result << list.item(i)->text();
    return result;
}

} // namespace

class tst_savehtmldlg : public QObject
{
    Q_OBJECT
private slots:
    void firstUse()
    {
        Program program;
        program.teamA().name = QStringLiteral("東京");
        program.teamB().name = QStringLiteral("大阪");
        program.form().Senhyou->setPlainText(QStringLiteral("一行目\n二行目"));
        program.form().DateTimePicker1->setDate(QDate(2024, 6, 1));
        program.form().DateTimePicker2->setTime(QTime(9, 5, 30));
        QString last;
        TSaveHtmlDlg dialog(&program.form(), last);

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Htmlで保存"));
        QCOMPARE(dialog.size(), QSize(411, 478));
        QCOMPARE(texts(*dialog.KojinList),
                 (QStringList{"２ﾎﾟｲﾝﾄ成功", "２ﾎﾟｲﾝﾄ失敗", "３ﾎﾟｲﾝﾄ成功", "３ﾎﾟｲﾝﾄ失敗", "ﾌﾘｰｽﾛｰ成功",
                              "ﾌﾘｰｽﾛｰ失敗", "ﾌｧｰﾙ", "ｵﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ", "ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ", "ﾀｰﾝｵｰﾊﾞｰ", "ｱｼｽﾄ",
                              "ｽﾁｰﾙ", "ﾌﾞﾛｯｸｼｮｯﾄ", "ﾌﾟﾚｲﾀｲﾑ"}));
        QCOMPARE(checks(*dialog.KojinList), QList<bool>(14, true));
        // The settings keep their own thirteen switches.
        QCOMPARE(program.option().KojinList->count(), 13);
        QCOMPARE(dialog.KojinDispRGp->ItemIndex(), 0);
        QCOMPARE(dialog.KojinDispRGp->Items(),
                 (QStringList{"全員表示する", "ベンチメンバーまで表示する", "プレイした人のみ表示する"}));
        QVERIFY(!dialog.PeriodDispChk->isChecked());
        QVERIFY(dialog.TimeGraph->isChecked());
        QVERIFY(dialog.CheckBox2->isChecked());
        QVERIFY(dialog.CheckBox1->isChecked());
        QVERIFY(dialog.RichEdit1->isEnabled());
        QCOMPARE(texts(*dialog.TeamListBox1), (QStringList{"東京", "大阪"}));
        QCOMPARE(checks(*dialog.TeamListBox1), (QList<bool>{true, true}));
        QCOMPARE(dialog.RichEdit1->toPlainText(), QStringLiteral("一行目\n二行目"));
        QCOMPARE(dialog.LabeledEdit1->text(), program.path(QStringLiteral("202406010905.html")));

        const HtmlReportOptions options = dialog.ReportOptions();
        QCOMPARE(options.commentaryLines, (QStringList{"一行目", "二行目"}));
        QVERIFY(options.commentary && options.graph && !options.periodColumns);
        QCOMPARE(options.teams, (std::array<bool, 2>{true, true}));
    }

    void fromSettings_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QList<int>>("unchecked");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("periods");
        QTest::newRow("stored choices") << "[HtmlKojin]\n3=0\n13=0\n6=1\n[Html]\nPlayerDisp=2\nPeriodDisp=1"
                                        << QList<int>{3, 13} << 2 << true;
        QTest::newRow("any non-zero checks") << "[HtmlKojin]\n0=5\n1=-1\n2=x" << QList<int>{} << 0 << false;
        QTest::newRow("row choice too large") << "[Html]\nPlayerDisp=7" << QList<int>{} << 0 << false;
        QTest::newRow("row choice negative") << "[Html]\nPlayerDisp=-1" << QList<int>{} << 0 << false;
    }
    void fromSettings()
    {
        QFETCH(QString, ini);
        QFETCH(QList<int>, unchecked);
        QFETCH(int, rows);
        QFETCH(bool, periods);
        Program program(ini);
        QString last;
        TSaveHtmlDlg dialog(&program.form(), last);
        QList<bool> expected(14, true);
        for (const int item : unchecked)
            expected[item] = false;
        QCOMPARE(checks(*dialog.KojinList), expected);
        QCOMPARE(dialog.KojinDispRGp->ItemIndex(), rows);
        QCOMPARE(dialog.ReportOptions().playerRows, rows);
        QCOMPARE(dialog.PeriodDispChk->isChecked(), periods);
    }

    void emptyGameFolderMeansProgramFolder()
    {
        Program program;
        program.option().Edit2->clear();
        program.form().DateTimePicker1->setDate(QDate(2023, 12, 25));
        program.form().DateTimePicker2->setTime(QTime(23, 55));
        QString last;
        TSaveHtmlDlg dialog(&program.form(), last);
        QCOMPARE(dialog.LabeledEdit1->text(), program.path(QStringLiteral("202312252355.html")));
        program.dialogs().expectSaveFile(std::nullopt);
        dialog.BitBtn2Click();
        QCOMPARE(program.dialogs().lastFileOptions().initialDir, program.folder());
    }

    void commentarySwitch()
    {
        Program program;
        QString last;
        TSaveHtmlDlg dialog(&program.form(), last);
        dialog.RichEdit1->setPlainText(QStringLiteral("戦評"));
        dialog.CheckBox1->click();
        QVERIFY(!dialog.RichEdit1->isEnabled());
        QVERIFY(dialog.RichEdit1->palette().color(QPalette::Disabled, QPalette::Base) !=
                platform::toQColor(platform::clWindow()));
        QVERIFY(!dialog.ReportOptions().commentary);
        // The other two boxes on the same handler leave it as the commentary box says.
        dialog.TimeGraph->click();
        QVERIFY(!dialog.RichEdit1->isEnabled());
        dialog.CheckBox1->click();
        QVERIFY(dialog.RichEdit1->isEnabled());
        QCOMPARE(dialog.RichEdit1->palette().color(QPalette::Active, QPalette::Base),
                 platform::toQColor(platform::clWindow()));
        QVERIFY(dialog.ReportOptions().commentary);
        QVERIFY(!dialog.ReportOptions().graph);
    }

    void pickedFileIsOfferedAgain()
    {
        QTemporaryDir elsewhere;
        const QString picked = elsewhere.filePath(QStringLiteral("決勝.html"));
        {
            Program program;
            auto open = [&](std::function<void(TSaveHtmlDlg&)> check) {
                program.dialogs().expectModal("SaveHtmlDlg", [&](QDialog& dialog) {
                    check(static_cast<TSaveHtmlDlg&>(dialog));
                    return int(platform::mrCancel);
                });
                program.form().FileSaveAsItemClick();
            };
            const QString offered =
                program.path(program.form().DateTimePicker1->date().toString("yyyyMMdd") +
                             program.form().DateTimePicker2->time().toString("hhmm") + ".html");
            open([&](TSaveHtmlDlg& dialog) {
                QCOMPARE(dialog.LabeledEdit1->text(), offered);
                program.dialogs().expectSaveFile(std::nullopt);
                dialog.BitBtn2Click();
                QCOMPARE(dialog.LabeledEdit1->text(), offered);
                const platform::FileDialogOptions& options = program.dialogs().lastFileOptions();
                QCOMPARE(options.defaultExt, QStringLiteral("html"));
                QCOMPARE(options.filter, QStringLiteral("html(*.html)|*.html|すべてのファイル (*.*)|*.*"));
                QCOMPARE(options.initialDir, program.option().GameDataFolder());
                // Typed by hand: not remembered.
                dialog.LabeledEdit1->setText(elsewhere.filePath("typed.html"));
            });
            open([&](TSaveHtmlDlg& dialog) {
                QCOMPARE(dialog.LabeledEdit1->text(), offered);
                program.dialogs().expectSaveFile(picked);
                dialog.BitBtn2Click();
                QCOMPARE(dialog.LabeledEdit1->text(), picked);
            });
            open([&](TSaveHtmlDlg& dialog) { QCOMPARE(dialog.LabeledEdit1->text(), picked); });
        }
        // After a restart the name from the game's date and time comes back.
        Program restarted;
        QString last;
        TSaveHtmlDlg dialog(&restarted.form(), last);
        QVERIFY(dialog.LabeledEdit1->text().startsWith(restarted.folder()));
    }

    void settingsWrittenOnOkOnly()
    {
        Program program("[Html]\nPlayerDisp=1");
        const QByteArray before = readBytes(program.iniPath());
        {
            QString last;
            TSaveHtmlDlg dialog(&program.form(), last);
            dialog.KojinList->item(2)->setCheckState(Qt::Unchecked);
            dialog.KojinDispRGp->SetItemIndex(2);
            dialog.PeriodDispChk->setChecked(true);
            dialog.CancelBtn->click();
            QCOMPARE(dialog.result(), int(platform::mrCancel));
        }
        QCOMPARE(readBytes(program.iniPath()), before);
        {
            QString last;
            TSaveHtmlDlg dialog(&program.form(), last);
            dialog.KojinList->item(2)->setCheckState(Qt::Unchecked);
            dialog.KojinList->item(13)->setCheckState(Qt::Unchecked);
            dialog.KojinDispRGp->SetItemIndex(2);
            dialog.PeriodDispChk->setChecked(true);
            dialog.OKBtn->click();
            QCOMPARE(dialog.result(), int(platform::mrOk));
        }
        platform::IniFile ini(program.iniPath());
        for (int i = 0; i < 14; ++i)
            QCOMPARE(ini.readString("HtmlKojin", QString::number(i), "?"),
                     QString(i == 2 || i == 13 ? "0" : "1"));
        QCOMPARE(ini.readString("Html", "PlayerDisp", "?"), QStringLiteral("2"));
        QCOMPARE(ini.readString("Html", "PeriodDisp", "?"), QStringLiteral("1"));
        // The next dialog starts from them.
        QString last;
        TSaveHtmlDlg next(&program.form(), last);
        QCOMPARE(checks(*next.KojinList).count(false), 2);
        QCOMPARE(next.KojinDispRGp->ItemIndex(), 2);
        QVERIFY(next.PeriodDispChk->isChecked());
    }
};

QTEST_MAIN(tst_savehtmldlg)
#include "tst_savehtmldlg.moc"
