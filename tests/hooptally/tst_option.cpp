// The settings dialog and its file, window placements, the About box and the debug window.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/TAboutBox.h"
#include "hooptally/TOption.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tstats.h"
#include "platform/Colors.h"
#include "platform/IniFile.h"
#include "platform/StringGrid.h"
#include "platform/testing/NonRegularFiles.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

const QString kProgramFolder = QStringLiteral("<folder>");

QList<int> uncheckedSwitches(const TOption& option)
{
    QList<int> off;
    for (int i = 0; i < option.StatSwitchCount(); ++i) {
        if (!option.StatSwitch(i))
            off << i;
    }
    return off;
}

QByteArray kojinBlock(const QList<int>& off)
{
    QByteArray block = "[Kojin]\r\n";
    for (int i = 0; i < 13; ++i)
        block += QByteArray::number(i) + (off.contains(i) ? "=0\r\n" : "=1\r\n");
    return block;
}

QString widgetText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return {};
}

// Direct children lie inside their parent, do not overlap one another, show their whole text in a
// font that has every glyph of it, and so on down the tree.
void checkLayout(const QWidget* parent)
{
    const QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QList<const QWidget*> placed;
    for (const QWidget* child : children) {
        if (child->isHidden() || child->isWindow())
            continue;
        const QString what = child->objectName() + QLatin1Char(' ') + widgetText(child);
        QVERIFY2(parent->rect().contains(child->geometry()),
                 qPrintable(what + QStringLiteral(" outside its parent")));
        for (const QWidget* other : placed) {
            QVERIFY2(!child->geometry().intersects(other->geometry()),
                     qPrintable(what + QStringLiteral(" overlaps ") + other->objectName() + QLatin1Char(' ') +
                                widgetText(other)));
        }
        placed << child;
        const QString text = widgetText(child);
        if (qobject_cast<const QPushButton*>(child)) {
            // A button's size hint asks for a minimum width beyond its text.
            QVERIFY2(child->fontMetrics().horizontalAdvance(text) + 6 <= child->width(),
                     qPrintable(what + QStringLiteral(" is cut")));
        } else if (!text.isEmpty() && !qobject_cast<const QGroupBox*>(child)) {
            QVERIFY2(child->sizeHint().width() <= child->width(),
                     qPrintable(what + QStringLiteral(" is cut")));
            QVERIFY2(child->sizeHint().height() <= child->height() + 2,
                     qPrintable(what + QStringLiteral(" is cut")));
        }
        const QFontMetrics metrics(child->font());
        for (const QChar c : text)
            QVERIFY2(c.isSpace() || metrics.inFont(c),
                     qPrintable(what + QStringLiteral(" has no glyph for ") + c));
        // Abstract scroll areas and compound widgets have private children of their own.
        if (qobject_cast<const QGroupBox*>(child) || child->objectName().startsWith(QLatin1String("Panel")))
            checkLayout(child);
    }
}

void saveShot(QWidget& widget, const QString& name)
{
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    const QString path = QStringLiteral("/tmp/hooptally_") + name + QStringLiteral(".png");
    QVERIFY(widget.grab().save(path));
}

} // namespace

class tst_option : public QObject
{
    Q_OBJECT
private slots:
    void load_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("filePath");
        QTest::addColumn<QString>("logPath");
        QTest::addColumn<int>("playTime");
        QTest::addColumn<bool>("miniBasket");
        QTest::addColumn<int>("colorA");
        QTest::addColumn<int>("colorB");
        QTest::addColumn<QList<int>>("off");
        QTest::addColumn<QString>("teamA");
        const int a = kDefaultTeamAColor;
        const int b = kDefaultTeamBColor;
        QTest::newRow("no file") << QString() << kProgramFolder << kProgramFolder << 5 << false << a << b
                                 << QList<int>{} << QString();
        QTest::newRow("empty folder keys")
            << QStringLiteral("[Option]\nFilePath=\nLogPath=   ") << kProgramFolder << kProgramFolder << 5
            << false << a << b << QList<int>{} << QString();
        QTest::newRow("stored values")
            << QStringLiteral("[option]\nFilePath=C:\\data\\ﾁｰﾑ\nLogPath=/games\nPlayTime=0\n"
                              "[Initialize]\nTeamA=東京.member\nMiniBasket=1\nTeamAColor=255\nTeamBColor=-1\n"
                              "[Kojin]\n3=0\n7=2\n12=0")
            << QStringLiteral("C:\\data\\ﾁｰﾑ") << QStringLiteral("/games") << 0 << true << 255 << b
            << QList<int>{3, 12} << QStringLiteral("東京.member");
        QTest::newRow("last period length")
            << QStringLiteral("[Option]\nPlayTime=19") << kProgramFolder << kProgramFolder << 19 << false << a
            << b << QList<int>{} << QString();
        QTest::newRow("period length below the list")
            << QStringLiteral("[Option]\nPlayTime=-1") << kProgramFolder << kProgramFolder << 5 << false << a
            << b << QList<int>{} << QString();
        QTest::newRow("period length past the list")
            << QStringLiteral("[Option]\nPlayTime=20") << kProgramFolder << kProgramFolder << 5 << false << a
            << b << QList<int>{} << QString();
        QTest::newRow("period length at the largest integer")
            << QStringLiteral("[Option]\nPlayTime=2147483647") << kProgramFolder << kProgramFolder << 5 << false
            << a << b << QList<int>{} << QString();
        QTest::newRow("period length not a number")
            << QStringLiteral("[Option]\nPlayTime=sechs") << kProgramFolder << kProgramFolder << 5 << false
            << a << b << QList<int>{} << QString();
        QTest::newRow("colour not a number")
            << QStringLiteral("[Initialize]\nTeamAColor=red\nTeamBColor=0") << kProgramFolder
            << kProgramFolder << 5 << false << a << 0 << QList<int>{} << QString();
    }
    void load()
    {
        QFETCH(QString, ini);
        QFETCH(QString, filePath);
        QFETCH(QString, logPath);
        QFETCH(bool, miniBasket);
        QFETCH(int, colorA);
        QFETCH(int, colorB);
        QFETCH(QList<int>, off);
        QFETCH(QString, teamA);
        QFETCH(int, playTime);
        Program program(ini);
        TOption& option = program.option();
        auto folder = [&](const QString& expected) {
            return expected == kProgramFolder ? QDir(program.folder()).absolutePath() : expected;
        };
        QCOMPARE(option.Edit1->text(), folder(filePath));
        QCOMPARE(option.Edit2->text(), folder(logPath));
        QVERIFY(!option.Edit1->text().endsWith(QLatin1Char('/')));
        QCOMPARE(option.ComboPeriodTime->currentIndex(), playTime);
        QCOMPARE(option.PeriodLength(), playTime + 1);
        QCOMPARE(option.ComboPeriodTime->count(), 20);
        QCOMPARE(option.ComboPeriodTime->itemText(19), QStringLiteral("20分"));
        QCOMPARE(option.MiniBasket(), miniBasket);
        QCOMPARE(GetTeamColor(1), colorA);
        QCOMPARE(GetTeamColor(2), colorB);
        QCOMPARE(option.LabeledEdit3->palette().color(QPalette::Base), platform::toQColor(GetTeamColor(1)));
        QCOMPARE(option.LabeledEdit4->palette().color(QPalette::Base), platform::toQColor(GetTeamColor(2)));
        QCOMPARE(uncheckedSwitches(option), off);
        QCOMPARE(option.StartupRosterA(), teamA);
        QCOMPARE(option.StartupRosterB(), QString());
        QCOMPARE(option.KojinList->item(0)->text(), QStringLiteral("２ﾎﾟｲﾝﾄ成功"));
        QCOMPARE(option.KojinList->item(12)->text(), QStringLiteral("ﾌﾞﾛｯｸｼｮｯﾄ"));
        // The clock takes the period length from here.
        program.form().TimeClearBClick();
        QCOMPARE(program.form().ClockMinutes(), playTime + 1);
    }

    void programInTheRootFolder()
    {
        if (QFile::exists(QStringLiteral("/Hooptally.ini")))
            QSKIP("a settings file lies in the root folder");
        {
            TOption option(nullptr, QStringLiteral("/Hooptally"));
            QCOMPARE(option.Edit1->text(), QStringLiteral("/"));
            QCOMPARE(option.Edit2->text(), QStringLiteral("/"));
            QCOMPARE(option.IniFile().fileName(), QStringLiteral("/Hooptally.ini"));
        }
        // Reading alone never creates the file.
        QVERIFY(!QFile::exists(QStringLiteral("/Hooptally.ini")));
    }

    void freshSaveBytes()
    {
        QByteArray folder;
        QByteArray expected;
        {
            Program program;
            TOption& option = program.option();
            folder = QDir(program.folder()).absolutePath().toLatin1();
            option.LabeledEdit1->setText(QStringLiteral("ﾁｰﾑ東京.member"));
            option.ComboPeriodTime->setCurrentIndex(9);
            option.bMiniBasket->setChecked(true);
            option.SetStatSwitch(7, false);
            QVERIFY(option.SaveSettings());
            expected =
                "[Option]\r\nFilePath=" + folder + "\r\nLogPath=" + folder +
                "\r\nPlayTime=9\r\n"
                "[Initialize]\r\nTeamA=\xC1\xB0\xD1\x93\x8C\x8B\x9E.member\r\nTeamB=\r\nMiniBasket=1\r\n"
                "TeamAColor=16760703\r\nTeamBColor=4879351\r\n" +
                kojinBlock({7});
            QCOMPARE(readBytes(program.iniPath()), expected);

            // A later save changes values in place.
            option.ComboPeriodTime->setCurrentIndex(0);
            QVERIFY(option.SaveSettings());
            expected.replace("PlayTime=9", "PlayTime=0");
            QCOMPARE(readBytes(program.iniPath()), expected);
        }
    }

    void okKeepsTwoPointAndFreeThrow_data()
    {
        QTest::addColumn<QList<int>>("unchecked");
        QTest::addColumn<bool>("message");
        QTest::addColumn<QList<int>>("savedOff");
        QTest::newRow("two-point made") << QList<int>{0} << true << QList<int>{};
        QTest::newRow("free throw made") << QList<int>{4, 9} << true << QList<int>{9};
        QTest::newRow("both") << QList<int>{0, 4} << true << QList<int>{};
        QTest::newRow("others only") << QList<int>{1, 6} << false << QList<int>{1, 6};
    }
    void okKeepsTwoPointAndFreeThrow()
    {
        QFETCH(QList<int>, unchecked);
        QFETCH(bool, message);
        QFETCH(QList<int>, savedOff);
        Program program;
        TOption& option = program.option();
        for (int item : unchecked)
            option.SetStatSwitch(item, false);
        if (message)
            program.dialogs().expectMessage(QStringLiteral("２ポイント成功とフリースロー成功は必須です"));
        option.show();
        QTest::mouseClick(option.OKBtn, Qt::LeftButton);
        QCOMPARE(option.result(), int(platform::mrOk));
        QVERIFY(option.isHidden());
        QVERIFY(program.dialogs().allAnswered());
        // What the main window does after OK.
        QVERIFY(option.SaveSettings());
        QVERIFY(readBytes(program.iniPath()).endsWith(kojinBlock(savedOff)));
    }

    void cancelKeepsChangesForTheRun_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("colour chosen") << true;
        QTest::newRow("colour dialog cancelled") << false;
    }
    void cancelKeepsChangesForTheRun()
    {
        QFETCH(bool, chosen);
        Program program(QStringLiteral("[Initialize]\nTeamAColor=255\nTeamBColor=65280"));
        TOption& option = program.option();
        const QByteArray before = readBytes(program.iniPath());
        program.dialogs().expectColor(chosen ? std::optional<int>(0x123456) : std::nullopt);
        option.show();
        QTest::mouseClick(option.BitBtn5, Qt::LeftButton);
        QCOMPARE(program.dialogs().shown().last(), QStringLiteral("colour: ff"));
        const int colour = chosen ? 0x123456 : 255;
        QCOMPARE(GetTeamColor(1), colour);
        QCOMPARE(option.LabeledEdit3->palette().color(QPalette::Base), platform::toQColor(colour));
        option.ComboPeriodTime->setCurrentIndex(2);
        QTest::mouseClick(option.CancelBtn, Qt::LeftButton);
        QCOMPARE(option.result(), int(platform::mrCancel));
        QCOMPARE(GetTeamColor(1), colour);
        QCOMPARE(GetTeamColor(2), 65280);
        QCOMPARE(option.PeriodLength(), 3);
        QCOMPARE(readBytes(program.iniPath()), before);
        // A later OK writes what then stands.
        QVERIFY(option.SaveSettings());
        QVERIFY(readBytes(program.iniPath()).contains("TeamAColor=" + QByteArray::number(colour) + "\r\n"));
    }

    void unwritableFile_data()
    {
        QTest::addColumn<QString>("kind"); // what stands in the file's place
        QTest::addColumn<bool>("fromStart");
        QTest::newRow("folder put in its place while running") << QStringLiteral("folder") << false;
        QTest::newRow("folder in its place from the start") << QStringLiteral("folder") << true;
        QTest::newRow("pipe in its place from the start") << QStringLiteral("fifo") << true;
        QTest::newRow("device in its place from the start") << QStringLiteral("zero") << true;
        // Sparse: it takes no room on the disk.
        QTest::newRow("past the bound from the start") << QStringLiteral("large") << true;
    }
    void unwritableFile()
    {
        QFETCH(QString, kind);
        QFETCH(bool, fromStart);
        Program program(QString(), false);
        std::unique_ptr<TOption> own;
        TOption* option = &program.option();
        const QString ini = fromStart ? program.path(QStringLiteral("sub/Hooptally.ini")) : program.iniPath();
        QVERIFY(QDir().mkpath(kind == QLatin1String("folder") ? ini : program.path(QStringLiteral("sub"))));
        if (kind == QLatin1String("large")) {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(platform::kMaxIniFileSize + 1));
        } else if (kind != QLatin1String("folder")) {
            QVERIFY(platform::testing::makeNonRegularFile(ini, kind));
        }
        const auto standing = [&ini] {
            const QFileInfo info(ini);
            return std::pair(info.isFile(), info.size());
        };
        const auto before = standing();
        if (fromStart) {
            // Nothing is said while the forms are made: the main window is not up, no request is answered.
            own = std::make_unique<TOption>(nullptr, program.path(QStringLiteral("sub/Hooptally")));
            option = own.get();
            QVERIFY(program.dialogs().shown().isEmpty());
            program.dialogs().expectMessage(
                QStringLiteral("ファイルを読み込めません\n") + ini + QStringLiteral(" [Quillmarsh]"),
                platform::mrOk, [] {
                    QLocalSocket requester;
                    requester.connectToServer(
                        QDir(StatsRequestFolder())
                            .filePath(
                                QStringLiteral("Hooptally.%1").arg(QCoreApplication::applicationPid())));
                    QVERIFY2(requester.waitForConnected(5000), "said before the requests are answered");
                });
        }
        program.form().FormActivate();
        QVERIFY(program.dialogs().allAnswered());
        option->ComboPeriodTime->setCurrentIndex(11);
        program.dialogs().expectMessage(QStringLiteral("保存に失敗しました\n") + ini +
                                        QStringLiteral(" [Quillmarsh]"));
        QVERIFY(!option->SaveSettings());
        QVERIFY(program.dialogs().allAnswered());
        QVERIFY(DbgForm()->Memo1->toPlainText().contains(ini + QStringLiteral(": the file cannot be read")));
        // Once a run: later failures pass silently, the settings stay in force.
        option->SetStatSwitch(8, false);
        QVERIFY(!option->SaveSettings());
        QVERIFY(!option->SaveWindowPlacement(QStringLiteral("Main"), 1, 2, 3, 4));
        QCOMPARE(option->PeriodLength(), 12);
        QCOMPARE(option->IniFile().readInteger(QStringLiteral("Option"), QStringLiteral("PlayTime"), -1), 11);
        QVERIFY(!option->StatSwitch(8));
        QCOMPARE(standing(), before); // nothing replaced what stands there
    }

    // Every write of the running program changes its own keys only: what another program or a person put
    // into the file meanwhile stays, byte for byte.
    void writesKeepWhatChangedMeanwhile_data()
    {
        QTest::addColumn<QString>("write");
        QTest::newRow("settings confirmed") << QStringLiteral("settings");
        QTest::newRow("panel placement") << QStringLiteral("placement");
        QTest::newRow("main window closed") << QStringLiteral("close");
    }
    void writesKeepWhatChangedMeanwhile()
    {
        QFETCH(QString, write);
        Program program(QStringLiteral("[Option]\nPlayTime=3\nFilePath=/teams"));
        const QByteArray added =
            "[Html]\r\nPlayerDisp=1\r\nPeriodDisp=0\r\n; \x83\x81\x83\x82\r\n[HtmlKojin]\r\n0=0\r\n";
        QByteArray before = readBytes(program.iniPath());
        before.replace("PlayTime=3", "PlayTime=7");
        {
            QFile file(program.iniPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(before + added);
        }
        TOption& option = program.option();
        if (write == QLatin1String("settings")) {
            option.Edit1->setText(QStringLiteral("/rosters"));
            QVERIFY(option.SaveSettings());
        } else if (write == QLatin1String("placement")) {
            QVERIFY(option.SaveWindowPlacement(QStringLiteral("FKey"), 1, 2, 3, 4));
        } else {
            program.form().FormClose();
        }
        const QByteArray after = readBytes(program.iniPath());
        QVERIFY2(after.contains(added), after.constData());
        const platform::IniFile file(program.iniPath());
        if (write == QLatin1String("settings")) {
            // The dialog's own keys are written as the dialog stands.
            QCOMPARE(file.readString(QStringLiteral("Option"), QStringLiteral("FilePath"), {}),
                     QStringLiteral("/rosters"));
            QCOMPARE(file.readInteger(QStringLiteral("Option"), QStringLiteral("PlayTime"), -1), 3);
        } else {
            // Keys that this write does not name keep what was put there meanwhile.
            QCOMPARE(file.readInteger(QStringLiteral("Option"), QStringLiteral("PlayTime"), -1), 7);
            QCOMPARE(file.readString(QStringLiteral("Option"), QStringLiteral("FilePath"), {}),
                     QStringLiteral("/teams"));
        }
        if (write == QLatin1String("placement"))
            QCOMPARE(file.readInteger(QStringLiteral("FKey"), QStringLiteral("Width"), -1), 4);
        if (write == QLatin1String("close"))
            QVERIFY(file.readInteger(QStringLiteral("Main"), QStringLiteral("Top"), -1) != -1);
    }

    // The folder buttons let a new folder be typed: it is created after the question, or the field stays.
    void folderButtonsCreateANewFolder_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("team files, yes") << QStringLiteral("BitBtn1") << int(platform::mrYes);
        QTest::newRow("team files, no") << QStringLiteral("BitBtn1") << int(platform::mrNo);
        QTest::newRow("game data, yes") << QStringLiteral("BitBtn4") << int(platform::mrYes);
        QTest::newRow("game data, no") << QStringLiteral("BitBtn4") << int(platform::mrNo);
    }
    void folderButtonsCreateANewFolder()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        Program program;
        TOption& option = program.option();
        QLineEdit* edit = button == QLatin1String("BitBtn1") ? option.Edit1 : option.Edit2;
        const QString before = edit->text();
        const QString typed = program.path(QStringLiteral("新しい/ﾁｰﾑ"));
        program.dialogs().expectFolder(typed).expectMessage(
            typed + QStringLiteral("\nこのフォルダは存在しません。作成しますか？ [Quillmarsh]"), answer);
        option.show();
        QTest::mouseClick(option.findChild<QPushButton*>(button), Qt::LeftButton);
        QVERIFY(program.dialogs().allAnswered());
        const bool yes = answer == platform::mrYes;
        QCOMPARE(edit->text(), yes ? typed : before);
        QCOMPARE(QFileInfo(typed).isDir(), yes);
    }

    void windowPlacement_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QList<int>>("values"); // top, left, height, width
        QTest::newRow("no section") << QString() << false << QList<int>{};
        QTest::newRow("no Top") << QStringLiteral("[Main]\nLeft=5\nHeight=6\nWidth=7") << false
                                << QList<int>{};
        QTest::newRow("Top -1") << QStringLiteral("[Main]\nTop=-1\nLeft=5") << false << QList<int>{};
        QTest::newRow("Top not a number") << QStringLiteral("[Main]\nTop=x\nLeft=5") << false << QList<int>{};
        QTest::newRow("Top without Left")
            << QStringLiteral("[Main]\nTop=10\nHeight=300") << true << QList<int>{10, -1, 300, -1};
        QTest::newRow("all four") << QStringLiteral("[main]\ntop=0\nLeft=-20\nHeight=300\nWidth=400") << true
                                  << QList<int>{0, -20, 300, 400};
        QTest::newRow("other section") << QStringLiteral("[FKey]\nTop=10\nLeft=5") << false << QList<int>{};
    }
    void windowPlacement()
    {
        QFETCH(QString, ini);
        QFETCH(bool, found);
        QFETCH(QList<int>, values);
        Program program(ini, false);
        const auto placement = program.option().LoadWindowPlacement(QStringLiteral("Main"));
        QCOMPARE(placement.has_value(), found);
        if (placement)
            QCOMPARE((QList<int>{placement->top, placement->left, placement->height, placement->width}),
                     values);
    }

    void windowPlacementRoundTrip()
    {
        Program program(QString(), false);
        QVERIFY(program.option().SaveWindowPlacement(QStringLiteral("FKey"), 12, 34, 90, 640));
        const auto placement = program.option().LoadWindowPlacement(QStringLiteral("FKey"));
        QVERIFY(placement);
        QCOMPARE((QList<int>{placement->top, placement->left, placement->height, placement->width}),
                 (QList<int>{12, 34, 90, 640}));
        QCOMPARE(readBytes(program.iniPath()),
                 QByteArray("[FKey]\r\nTop=12\r\nLeft=34\r\nHeight=90\r\nWidth=640\r\n"));
    }

    void aboutBox()
    {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About"));
        QCOMPARE(box.ProductName->text(), QStringLiteral("Hooptally"));
        QCOMPARE(box.Version->text(), QStringLiteral("02.03.01"));
        QCOMPARE(box.size(), QSize(286, 232));
        QVERIFY(box.OKButton->isDefault());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QApplication::setActiveWindow(&box);
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTRY_COMPARE(QApplication::focusWidget(), box.OKButton);
        QTest::keyClick(box.OKButton, Qt::Key_Return);
        QCOMPARE(box.result(), int(platform::mrOk));
        QVERIFY(box.isHidden());
    }

    void debugWindow_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("text");
        QTest::newRow("debug level") << int(TDbgForm::kDebugLevel) << QStringLiteral("Memo1\n記録 1");
        QTest::newRow("team level") << 4 << QStringLiteral("Memo1");
        QTest::newRow("sheet level") << 0 << QStringLiteral("Memo1");
    }
    void debugWindow()
    {
        QFETCH(int, level);
        QFETCH(QString, text);
        TDbgForm form;
        QCOMPARE(DbgForm(), &form);
        QCOMPARE(form.windowTitle(), QStringLiteral("DbgForm"));
        QCOMPARE(form.geometry(), QRect(1, 464, 395, 309));
        QVERIFY(form.isHidden());
        form.Append(QStringLiteral("記録 1"), level);
        QCOMPARE(form.Memo1->toPlainText(), text);
    }

    void formsLayOutTheirTexts()
    {
        Program program;
        TOption& option = program.option();
        QCOMPARE(option.size(), QSize(424, 422));
        QVERIFY(QFontInfo(option.font()).family().startsWith(QLatin1String("IPA")));
        saveShot(option, QStringLiteral("option"));
        checkLayout(&option);
        // Every statistic switch can be seen without scrolling.
        const QRect list = option.KojinList->viewport()->rect();
        for (int i = 0; i < option.KojinList->count(); ++i) {
            QVERIFY2(list.contains(option.KojinList->visualItemRect(option.KojinList->item(i))),
                     qPrintable(option.KojinList->item(i)->text()));
        }
        option.hide();

        TAboutBox box;
        saveShot(box, QStringLiteral("about"));
        checkLayout(&box);

        THooptallyForm& form = program.form();
        form.PageControl1->setCurrentWidget(form.TabSheet2);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("佐藤 太郎"), true);
        TPlayer* b7 = program.addPlayer(2, QStringLiteral("7"), QStringLiteral("ﾀﾅｶ"), true);
        program.addPlayer(2, QString(), QStringLiteral("森"), false, true, kHeadCoachText);
        form.TeamAName->setText(QStringLiteral("東京ﾌｧｲﾀｰｽﾞ"));
        form.TeamBName->setText(QStringLiteral("大阪"));
        form.SyncTeamLabels();
        program.act(a4, kTwoPointMade);
        program.act(b7, kThreePointMade);
        program.setPeriod(1);
        program.act(a4, kFoul, kPersonalFoul, 1);
        program.act(a4, kFreeThrowMade);
        form.StringGrid2->SetRow(1);
        saveShot(form, QStringLiteral("main"));
        checkLayout(form.PanelCount);
    }
};

QTEST_MAIN(tst_option)
#include "tst_option.moc"
