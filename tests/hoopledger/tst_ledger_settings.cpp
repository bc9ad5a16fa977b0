// The statistics program's settings, player dialog and About box.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "hoopledger/TPlayerTouroku.h"
#include "hoopledger/Tplayer.h"
#include "platform/IniFile.h"
#include "platform/testing/NonRegularFiles.h"
#include "support/Ledger.h"
#include "support/Program.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;

namespace {

QString checks(const TOption& option)
{
    QString marks;
    for (int i = 0; i < kKojinItemCount; ++i)
        marks += option.KojinItem(i) ? u'1' : u'0';
    return marks;
}

} // namespace

class tst_ledger_settings : public QObject
{
    Q_OBJECT

private slots:
    void readAtStart_data()
    {
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("scoring");
        QTest::addColumn<QStringList>("expected"); // game folder, output folder, read at start, checks
        const QString scoring = u"[Option]\nFilePath=/rosters\nLogPath=/data/試合\n[Kojin]\n6=0\n12=0"_s;
        QTest::newRow("taken from the scoring program")
            << QString() << scoring
            << QStringList{u"/data/試合"_s, u"/data/試合"_s, u"1"_s, u"11111101111101"_s};
        QTest::newRow("defaults") << QString() << QString()
                                  << QStringList{QString(), QString(), u"1"_s, u"11111111111111"_s};
        QTest::newRow("own file wins")
            << u"[Option]\nFilePath=/g\nSaveFilePath=/s\nActiveRead=0\n[Kojin]\n0=0\n12=0\n13=0"_s << scoring
            << QStringList{u"/g"_s, u"/s"_s, u"0"_s, u"01111111111100"_s};
        QTest::newRow("own file without item 13 shows the time")
            << u"[Kojin]\n0=1\nActiveRead=1"_s << scoring
            << QStringList{QString(), QString(), u"1"_s, u"11111111111111"_s};
        QTest::newRow("values that are no whole numbers give the defaults")
            << u"[Option]\nActiveRead=yes\n[Kojin]\n3=x\n4=2"_s << QString()
            << QStringList{QString(), QString(), u"1"_s, u"11111111111111"_s};
    }

    void readAtStart()
    {
        QFETCH(QString, own);
        QFETCH(QString, scoring);
        QFETCH(QStringList, expected);
        Ledger ledger;
        if (!scoring.isEmpty())
            writeText(ledger.path(u"Hooptally.ini"_s), scoring.split(u'\n'));
        ledger.start(own, Scorer::None, false);
        TOption& option = ledger.option();
        QCOMPARE((QStringList{option.GameFileFolder(), option.SaveFolder(),
                              option.ReadAtStart() ? u"1"_s : u"0"_s, checks(option)}),
                 expected);
        QCOMPARE(option.KojinList->item(kTimeItem)->text(), u"時間"_s);
        QCOMPARE(option.KojinList->item(0)->text(), u"２ﾎﾟｲﾝﾄ成功"_s);
        // Reading writes nothing.
        QCOMPARE(QFile::exists(ledger.path(u"Hoopledger.ini"_s)), !own.isEmpty());
    }

    void okWritesCancelKeeps()
    {
        Ledger ledger;
        ledger.start(QString(), Scorer::None, false);
        TOption& option = ledger.option();
        option.SaveFilePath->setText(u"/出力"_s);
        option.CancelBtn->click();
        QCOMPARE(option.result(), int(platform::mrCancel));
        QCOMPARE(option.SaveFolder(), u"/出力"_s);
        QVERIFY(!QFile::exists(option.IniPath()));

        const QString games = ledger.path(u"ゲーム"_s);
        QVERIFY(QDir().mkdir(games));
        ledger.dialogs().expectFolder(games).expectFolder(std::nullopt);
        option.SpeedButton1->click();
        option.SpeedButton2->click();
        QCOMPARE(option.GameFileFolder(), games);
        QCOMPARE(option.SaveFolder(), u"/出力"_s);
        option.ChkGameFileRead->setChecked(false);
        option.SetKojinItem(5, false);
        option.OKBtn->click();
        QCOMPARE(option.result(), int(platform::mrOk));
        QCOMPARE(option.IniPath(), ledger.path(u"Hoopledger.ini"_s));
        const platform::IniFile ini(option.IniPath());
        QCOMPARE(ini.readString(u"Option"_s, u"FilePath"_s, {}), games);
        QCOMPARE(ini.readString(u"Option"_s, u"SaveFilePath"_s, {}), u"/出力"_s);
        QCOMPARE(ini.readString(u"Option"_s, u"ActiveRead"_s, {}), u"0"_s);
        QCOMPARE(ini.readString(u"Kojin"_s, u"5"_s, {}), u"0"_s);
        QCOMPARE(ini.readString(u"Kojin"_s, u"13"_s, {}), u"1"_s);
        // CP932 on disk.
        QVERIFY(hooptally::testing::readBytes(option.IniPath()).contains("\x83\x51\x81\x5b\x83\x80"));
    }

    // Both folder buttons let a new folder be typed; it is created after the question, or the field stays.
    void folderButtonsCreateANewFolder_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("game files, yes") << u"SpeedButton1"_s << int(platform::mrYes);
        QTest::newRow("game files, no") << u"SpeedButton1"_s << int(platform::mrNo);
        QTest::newRow("output, yes") << u"SpeedButton2"_s << int(platform::mrYes);
        QTest::newRow("output, no") << u"SpeedButton2"_s << int(platform::mrNo);
    }

    void folderButtonsCreateANewFolder()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        Ledger ledger;
        ledger.start(QString(), Scorer::None, false);
        TOption& option = ledger.option();
        QLineEdit* edit = button == u"SpeedButton1"_s ? option.FilePath : option.SaveFilePath;
        edit->setText(ledger.folder());
        const QString typed = ledger.path(u"新しい/試合"_s);
        ledger.dialogs().expectFolder(typed).expectMessage(u"このフォルダは存在しません。作成しますか？"_s,
                                                           answer);
        option.show();
        QTest::mouseClick(option.findChild<QPushButton*>(button), Qt::LeftButton);
        QVERIFY(ledger.dialogs().allAnswered());
        const bool yes = answer == platform::mrYes;
        QCOMPARE(edit->text(), yes ? typed : ledger.folder());
        QCOMPARE(QFileInfo(typed).isDir(), yes);
    }

    // OK changes its own keys only: what a person added to the file meanwhile stays.
    void okKeepsWhatElseTheFileHolds()
    {
        Ledger ledger;
        ledger.start(u"[Option]\nFilePath=/g\n[Kojin]\n3=0"_s, Scorer::None, false);
        TOption& option = ledger.option();
        writeBytes(option.IniPath(), "; by hand\r\n[Option]\r\nFilePath=/g\r\nMemo=\x83\x81\x83\x82\r\n"
                                     "[Kojin]\r\n3=0\r\n[Other]\r\nKey=1\r\n");
        option.SaveFilePath->setText(u"/s"_s);
        option.OKBtn->click();
        const QByteArray bytes = hooptally::testing::readBytes(option.IniPath());
        QVERIFY2(bytes.startsWith("; by hand\r\n[Option]\r\nFilePath=/g\r\nMemo=\x83\x81\x83\x82\r\n"
                                  "SaveFilePath=/s\r\nActiveRead=1\r\n[Kojin]\r\n3=0\r\n"),
                 bytes.constData());
        QVERIFY(bytes.contains("\r\n[Other]\r\nKey=1\r\n"));
    }

    // A settings file that cannot be read is said at start and never replaced; the scoring program's is
    // only read.
    void unreadableSettingsFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind"); // what stands in its place
        for (const char* kind : {"folder", "fifo", "zero", "past the bound"}) {
            QTest::addRow("own, %s", kind) << u"Hoopledger.ini"_s << QString::fromLatin1(kind);
            QTest::addRow("scoring program's, %s", kind) << u"Hooptally.ini"_s << QString::fromLatin1(kind);
        }
    }

    void unreadableSettingsFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        Ledger ledger;
        ledger.start(QString(), Scorer::None, false);
        const QString path = ledger.path(u"sub/"_s + file);
        QVERIFY(QDir().mkpath(kind == u"folder"_s ? path : ledger.path(u"sub"_s)));
        if (kind == u"past the bound"_s) {
            QFile sparse(path);
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(platform::kMaxIniFileSize + 1));
        } else {
            QVERIFY(kind == u"folder"_s || platform::testing::makeNonRegularFile(path, kind));
        }
        const auto standing = [&path] {
            const QFileInfo info(path);
            return std::pair(info.isFile(), info.size());
        };
        const auto before = standing();
        // Nothing is said while the forms are made: the main window says it at its first activation.
        TOption option(nullptr, ledger.path(u"sub/Hoopledger"_s));
        QVERIFY(ledger.dialogs().shown().isEmpty());
        ledger.dialogs().expectMessage(u"ファイルを読み込めません\n"_s + path, platform::mrOk,
                                       [&ledger] { QVERIFY(ledger.form().Activated()); });
        ledger.form().FormActivate();
        QVERIFY(ledger.dialogs().allAnswered());
        if (file == u"Hoopledger.ini"_s) {
            ledger.dialogs().expectMessage(u"保存に失敗しました\n"_s + path);
            QTest::ignoreMessage(
                QtWarningMsg, qPrintable(u"保存に失敗しました: "_s + path + u": the file cannot be read"_s));
        }
        option.OKBtn->click();
        QCOMPARE(standing(), before);
    }

    void playerDialogFills()
    {
        TStatPlayer player;
        player.SetIdentity(u"7"_s, u"田中"_s, kIdentityKind, 1, u"C"_s);
        {
            TPlayerTouroku dialog(&player);
            dialog.FormActivate();
            QCOMPARE(dialog.windowTitle(), u"プレイヤー登録"_s);
            QCOMPARE(dialog.LabeledEdit1->text(), QString()); // kind 6 fills nothing
        }
        player.kind = 0;
        TPlayerTouroku dialog(&player);
        dialog.FormActivate();
        QCOMPARE(dialog.LabeledEdit1->text(), u"7"_s);
        QCOMPARE(dialog.LabeledEdit2->text(), u"田中"_s);
        QCOMPARE(dialog.LabeledEdit3->text(), u"C"_s);
        QVERIFY(dialog.CheckBox1->isChecked());
    }

    void playerDialogChecks_data()
    {
        QTest::addColumn<QStringList>("input"); // number, name, position
        QTest::addColumn<QString>("message");
        QTest::newRow("empty number") << QStringList{QString(), u"A"_s, u"B"_s} << u"背番号は必須です"_s;
        QTest::newRow("comma in the number")
            << QStringList{u"1,2"_s, u"A"_s, u"B"_s} << u"カンマ(,)は使用できません"_s;
        QTest::newRow("comma in the name")
            << QStringList{u"1"_s, u"A,"_s, u"B"_s} << u"カンマ(,)は使用できません"_s;
        QTest::newRow("comma in the position")
            << QStringList{u"1"_s, u"A"_s, u",B"_s} << u"カンマ(,)は使用できません"_s;
        QTest::newRow("number 0") << QStringList{u"0"_s, u"A"_s, u"B"_s} << QString();
        QTest::newRow("full-width comma") << QStringList{u"4"_s, u"佐藤，一郎"_s, QString()} << QString();
    }

    void playerDialogChecks()
    {
        QFETCH(QStringList, input);
        QFETCH(QString, message);
        platform::testing::ScriptedDialogs dialogs;
        TStatPlayer player;
        player.SetIdentity(u"9"_s, u"Old"_s, 0, 0, u"F"_s);
        TPlayerTouroku dialog(&player);
        dialog.LabeledEdit1->setText(input[0]);
        dialog.LabeledEdit2->setText(input[1]);
        dialog.LabeledEdit3->setText(input[2]);
        dialog.CheckBox1->setChecked(true);
        if (!message.isEmpty())
            dialogs.expectMessage(message);
        dialog.OKBtn->click();
        if (!message.isEmpty()) {
            QCOMPARE(dialog.result(), 0); // still open
            QCOMPARE(player.GetNumber(), u"9"_s);
            QCOMPARE(dialog.LabeledEdit1->text(), input[0]);
            return;
        }
        QCOMPARE(dialog.result(), int(platform::mrOk));
        QCOMPARE((QStringList{player.GetNumber(), player.GetName(), player.GetPosition()}), input);
        QCOMPARE(player.kind, kIdentityKind);
        QCOMPARE(player.StarterText(), u"Starter"_s);
    }

    void aboutBox()
    {
        Ledger ledger;
        ledger.start(QString(), Scorer::None, false);
        ledger.aboutBox().Button1->click();
        QCOMPARE(ledger.shell().opened, QStringList{kHomePage});
        ledger.dialogs().expectModal(u"AboutBox"_s, [](QDialog& dialog) {
            static_cast<TAboutBox&>(dialog).OKButton->click();
            return dialog.result();
        });
        ledger.form().HelpAbout1->trigger();
        QVERIFY(ledger.dialogs().allAnswered());
    }
};

QTEST_MAIN(tst_ledger_settings)
#include "tst_ledger_settings.moc"
