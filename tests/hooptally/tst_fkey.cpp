// The function-key panel: its pages, keys, colours, paging and history, the actions it sends, and a
// whole game recorded through it.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/TPlayerTouroku.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tfkey.h"
#include "hooptally/Tteam.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"
#include "support/UserInput.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

constexpr std::chrono::milliseconds kNoFlash{0};

// Team A: 青木 on court, 石井 on the bench, 高橋 off the official list, a head coach, the add row;
// team B: 上田 on court and the add row.
struct Roster
{
    TPlayer* aoki;
    TPlayer* ishii;
    TPlayer* takahashi;
    TPlayer* coach;
    TPlayer* ueda;
    explicit Roster(Program& program)
    {
        FKey()->SetFlashDuration(kNoFlash);
        aoki = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        ishii = program.addPlayer(1, QStringLiteral("5"), QStringLiteral("石井"));
        takahashi = program.addPlayer(1, QStringLiteral("6"), QStringLiteral("高橋"));
        coach = program.addPlayer(1, QString(), QStringLiteral("監督"), false, true, kHeadCoachText);
        ueda = program.addPlayer(2, QStringLiteral("10"), QStringLiteral("上田"), true);
        program.act(ishii, kToBench);
        program.act(takahashi, kToBench);
        program.act(takahashi, kRemoveFromOfficial);
    }
};

void click(int key)
{
    QTest::mouseClick(FKey()->Panels[key - 1], Qt::LeftButton);
}

void walk(const QList<int>& keys)
{
    for (int key : keys)
        click(key);
}

// The virtual key through the main window's key hook, as the keyboard sends it.
void keyboard(THooptallyForm& form, Qt::Key key)
{
    QTest::keyClick(&form, key);
}

QStringList captions()
{
    QStringList texts;
    for (const QLabel* panel : FKey()->Panels)
        texts << panel->text();
    return texts;
}

QString enabledKeys()
{
    QString keys;
    for (const QLabel* panel : FKey()->Panels)
        keys += panel->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return keys;
}

platform::TColor panelColor(int key)
{
    return platform::fromQColor(FKey()->Panels[key - 1]->palette().color(QPalette::Window));
}

platform::TColor captionColor(int key)
{
    return platform::fromQColor(
        FKey()->Panels[key - 1]->palette().color(QPalette::Active, QPalette::WindowText));
}

// "category/code/free throws/foul kind/command/side/player" of every action sent to the main window.
MessageSpy::Probe panelActions()
{
    return [](const platform::Message& message) {
        if (message.msg != kActionMessage)
            return QString();
        const auto* action = platform::RecordOf<GameAction>(message);
        return QStringLiteral("%1/%2/%3/%4/%5/%6/%7")
            .arg(action->category)
            .arg(action->code)
            .arg(action->freeThrows)
            .arg(action->foulKind)
            .arg(action->command)
            .arg(action->side)
            .arg(action->player ? action->player->name : QStringLiteral("-"));
    };
}

QStringList sent(const MessageSpy& spy)
{
    QStringList actions;
    for (const MessageSpy::Seen& seen : spy.seen) {
        if (seen.msg == kActionMessage)
            actions << seen.probed;
    }
    return actions;
}

const QStringList kRootCaptions = {"青木(4)[F1]",  "石井(5)[F2]",  "高橋(6)[F3]",  "監督()[F4]",
                                   "選手追加[F5]", "他の選手[F6]", "上田(10)[F7]", "選手追加[F8]",
                                   "[F9]",         "[F10]",        "[F11]",        "その他[F12]"};

// Enters a player through the add key: the registration dialog, typed into and confirmed.
void registerThroughAddKey(Program& program, int key, const QString& number, const QString& name,
                           bool starter)
{
    program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [&](QDialog& dialog) {
        auto& touroku = static_cast<TPlayerTouroku&>(dialog);
        typeText(touroku.LabeledEdit1, number);
        typeText(touroku.LabeledEdit2, name);
        touroku.CheckBox1->setChecked(starter);
        QTest::mouseClick(touroku.OKBtn, Qt::LeftButton);
        return touroku.result();
    });
    click(key);
}

// Keys a whole game on the panel alone and saves it through the panel; `saved` gets the file.
void keyWholeGame(QByteArray& saved)
{
    Program program;
    FKey()->SetFlashDuration(kNoFlash);
    // Five players a side, entered on the add keys.
    for (int i = 0; i < 5; ++i)
        registerThroughAddKey(program, i + 1, QString::number(4 + i), QStringLiteral("A%1").arg(4 + i), true);
    for (int i = 0; i < 5; ++i)
        registerThroughAddKey(program, i + 7, QString::number(4 + i), QStringLiteral("B%1").arg(4 + i), true);
    TTeam& a = program.teamA();
    TTeam& b = program.teamB();
    QCOMPARE(a.CountOnCourt(), 5);
    QCOMPARE(b.CountOnCourt(), 5);
    program.setClock(5, 30);
    walk({1, 1});       // A4 two
    walk({7, 3});       // B4 three
    walk({8, 7, 3});    // B5 personal foul, two free throws
    walk({1, 5, 1, 6}); // A4 one made, one missed
    walk({9, 9});       // B6 defensive rebound
    walk({2, 11});      // A5 assist
    walk({12, 2});      // time-out A
    walk({5, 12, 4});   // A8 to the bench
    program.setClock(0, 0);
    walk({12, 1}); // period end
    QCOMPARE(GetCurrentPeriod(), 1);
    program.setClock(4, 0);
    walk({5, 12, 3});  // A8 back onto the court
    walk({7, 12, 1});  // B4 steal
    walk({3, 3});      // A6 three
    walk({10, 12, 2}); // B7 block
    walk({12, 3});     // time-out B
    walk({11, 10});    // B8 turnover
    program.setClock(0, 0);
    walk({12, 1});
    program.setClock(3, 0);
    walk({1, 7, 9}); // A4 unsportsmanlike, no free throws
    walk({2, 2});    // A5 two missed
    walk({2, 8});    // A5 offensive rebound
    program.setClock(0, 0);
    walk({12, 1});
    program.setClock(2, 0);
    walk({4, 4}); // A7 three missed
    walk({7, 1}); // B4 two
    program.setClock(0, 0);
    walk({12, 1});
    QCOMPARE(GetCurrentPeriod(), 3); // the game is not tied: no overtime
    program.form().GameEnd->click();

    QCOMPARE(a.TeamPoints(-1), 2 + 1 + 3);
    QCOMPARE(b.TeamPoints(-1), 3 + 2);
    const QString path = program.path(QStringLiteral("keyed.game"));
    program.dialogs().expectSaveFile(path);
    walk({12, 8, 7});
    QVERIFY(!program.form().IsGameModified());
    saved = readBytes(path);
}

} // namespace

class tst_fkey : public QObject
{
    Q_OBJECT
private slots:
    void pages_data()
    {
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("root") << QList<int>{} << int(FKeyPage::Root) << kRootCaptions;
        QTest::newRow("actions of a player")
            << QList<int>{1} << int(FKeyPage::Action1)
            << QStringList{"2Point成功[F1]",     "2Point失敗[F2]", "3Point成功[F3]", "3Point失敗[F4]",
                           "ﾌﾘｰｽﾛｰ成功[F5]",     "ﾌﾘｰｽﾛｰ失敗[F6]", "ﾌｧｳﾙ[F7]",       "ｵﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ[F8]",
                           "ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ[F9]", "ﾀｰﾝｵｰﾊﾞｰ[F10]",  "ｱｼｽﾄ[F11]",      "他の動作[F12]"};
        QTest::newRow("other actions")
            << QList<int>{1, 12} << int(FKeyPage::Action2)
            << QStringList{
                   "ｽﾁｰﾙ[F1]",     "ﾌﾞﾛｯｸｼｮｯﾄ[F2]", "コートへ[F3]", "ベンチへ[F4]", "ﾍﾞﾝﾁから削除[F5]",
                   "選手修正[F6]", "[F7]",          "[F8]",         "[F9]",         "[F10]",
                   "[F11]",        "その他[F12]"};
        QTest::newRow("fouls") << QList<int>{1, 7} << int(FKeyPage::Foul1)
                               << QStringList{"ﾊﾟｰｿﾅﾙ(FT0)[F1]", "ﾊﾟｰｿﾅﾙ(FT1)[F2]", "ﾊﾟｰｿﾅﾙ(FT2)[F3]",
                                              "ﾊﾟｰｿﾅﾙ(FT3)[F4]", "ﾃｸﾆｶﾙ(FT0)[F5]",  "ﾃｸﾆｶﾙ(FT1)[F6]",
                                              "ﾃｸﾆｶﾙ(FT2)[F7]",  "ﾃｸﾆｶﾙ(FT3)[F8]",  "ｱﾝｽﾎﾟ(FT0)[F9]",
                                              "ｱﾝｽﾎﾟ(FT1)[F10]", "ｱﾝｽﾎﾟ(FT2)[F11]", "他ﾌｧｳﾙ[F12]"};
        QTest::newRow("coach") << QList<int>{4} << int(FKeyPage::Coach)
                               << QStringList{"ﾃｸﾆｶﾙ(FT0)[F1]",
                                              "ﾃｸﾆｶﾙ(FT1)[F2]",
                                              "ﾃｸﾆｶﾙ(FT2)[F3]",
                                              "ﾃｸﾆｶﾙ(FT3)[F4]",
                                              "ﾃｸﾆｶﾙ以外(FT0)[F5]",
                                              "ﾃｸﾆｶﾙ以外(FT1)[F6]",
                                              "ﾃｸﾆｶﾙ以外(FT2)[F7]",
                                              "ﾃｸﾆｶﾙ以外(FT3)[F8]",
                                              "修正[F9]",
                                              "[F10]",
                                              "[F11]",
                                              "その他[F12]"};
        QTest::newRow("others")
            << QList<int>{12} << int(FKeyPage::Others)
            << QStringList{"ﾋﾟﾘｵﾄﾞ終了[F1]", "TeamATimeOut[F2]", "TeamBTimeOut[F3]", "[F4]",         "[F5]",
                           "[F6]",           "大会情報[F7]",     "Ｆｉｌｅ[F8]",     "新規Game[F9]", "[F10]",
                           "[F11]",          "オプション[F12]"};
        QTest::newRow("other fouls") << QList<int>{1, 7, 12} << int(FKeyPage::Foul2)
                                     << QStringList{"ｱﾝｽﾎﾟ(FT3)[F1]", "ﾃﾞｨｽｸｵﾘ[F2]", "[F3]",  "[F4]",
                                                    "[F5]",           "[F6]",        "[F7]",  "[F8]",
                                                    "[F9]",           "[F10]",       "[F11]", "[F12]"};
        QTest::newRow("file") << QList<int>{12, 8} << int(FKeyPage::File)
                              << QStringList{"新規Game[F1]",       "TeamARead[F2]",     "TeamBRead[F3]",
                                             "TeamAWrite[F4]",     "TeamBWrite[F5]",    "GameRead[F6]",
                                             "GameWrite[F7]",      "GameWite(Html)[F8]", "GameWite(Off)[F9]",
                                             "[F10]",              "[F11]",             "[F12]"};
        QTest::newRow("game information")
            << QList<int>{12, 7} << int(FKeyPage::GameInfo)
            << QStringList{"大会名[F1]", "Ａﾁｰﾑ名[F2]", "Ｂﾁｰﾑ名[F3]", "Ｎｏ．[F4]",  "場所[F5]", "日付[F6]",
                           "時間[F7]",   "戦評[F8]",    "審判[F9]",    "[F10]",       "[F11]",    "[F12]"};
        QTest::newRow("officials")
            << QList<int>{12, 7, 9} << int(FKeyPage::Officials)
            << QStringList{"主審[F1]",       "副審[F2]",          "ｽｺｱｷｰﾊﾟｰ[F3]", "A.ｽｺｱｷｰﾊﾟｰ[F4]",
                           "ﾀｲﾑｷｰﾊﾟｰ[F5]",   "24秒ｵﾍﾟﾚｰﾀ[F6]",    "TO担当ﾁｰﾑ[F7]", "[F8]",
                           "[F9]",           "[F10]",             "[F11]",        "[F12]"};
        QTest::newRow("a key without a player is refused")
            << QList<int>{9} << int(FKeyPage::Root) << kRootCaptions;
        QTest::newRow("an empty key is refused")
            << QList<int>{12, 4} << int(FKeyPage::Others)
            << QStringList{"ﾋﾟﾘｵﾄﾞ終了[F1]", "TeamATimeOut[F2]", "TeamBTimeOut[F3]", "[F4]",         "[F5]",
                           "[F6]",           "大会情報[F7]",     "Ｆｉｌｅ[F8]",     "新規Game[F9]", "[F10]",
                           "[F11]",          "オプション[F12]"};
    }
    void pages()
    {
        QFETCH(QList<int>, path);
        QFETCH(int, page);
        QFETCH(QStringList, texts);
        Program program;
        Roster roster(program);
        MessageSpy spy(program.form(), panelActions());
        walk(path);
        QCOMPARE(int(FKey()->CurrentPage()), page);
        QCOMPARE(captions(), texts);
        QVERIFY(sent(spy).isEmpty());
    }

    void colours_data()
    {
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("panel"); // -1: the button face
        QTest::addColumn<int>("caption");
        const int face = -1;
        QTest::newRow("player on court: team colour") << QList<int>{} << 1 << 0xFFBF7F << 0;
        QTest::newRow("bench: white") << QList<int>{} << 2 << 0xFFFFFF << 0;
        QTest::newRow("not listed") << QList<int>{} << 3 << 0xE0DFE3 << 0;
        QTest::newRow("coach: dark grey") << QList<int>{} << 4 << 0x595959 << 0;
        QTest::newRow("add key") << QList<int>{} << 5 << face << 0x0000FF;
        QTest::newRow("team B on court") << QList<int>{} << 7 << 0x4A73F7 << 0;
        QTest::newRow("no player: dark grey") << QList<int>{} << 9 << 0x595959 << 0;
        QTest::newRow("more players") << QList<int>{} << 6 << face << 0;
        QTest::newRow("made: blue caption") << QList<int>{1} << 1 << face << 0xFF0000;
        QTest::newRow("missed: purple caption") << QList<int>{1} << 2 << face << 0x800080;
        QTest::newRow("foul: red caption") << QList<int>{1} << 7 << face << 0x0000FF;
        QTest::newRow("disabled: grey") << QList<int>{1, 12} << 3 << 0x808080 << 0;
        QTest::newRow("personal FT2") << QList<int>{1, 7} << 3 << 0x8086FF << 0;
        QTest::newRow("technical FT3") << QList<int>{1, 7} << 8 << 0x707606 << 0;
        QTest::newRow("unsportsmanlike FT0") << QList<int>{1, 7} << 9 << 0xD2D5FF << 0;
        QTest::newRow("unsportsmanlike FT3") << QList<int>{1, 7, 12} << 1 << 0x5B64FF << 0;
        QTest::newRow("disqualifying") << QList<int>{1, 7, 12} << 2 << 0xD2D506 << 0;
        QTest::newRow("coach technical FT1") << QList<int>{4} << 2 << 0xACB006 << 0;
        QTest::newRow("coach other FT0") << QList<int>{4} << 5 << 0xD2D5FF << 0;
        QTest::newRow("timeout of team A") << QList<int>{12} << 2 << 0x00FF00 << 0;
        QTest::newRow("timeout of team B") << QList<int>{12} << 3 << 0x00FFFF << 0;
        QTest::newRow("game information: blue caption") << QList<int>{12} << 7 << face << 0xFF0000;
        QTest::newRow("roster read of team B") << QList<int>{12, 8} << 3 << 0x00FFFF << 0;
        QTest::newRow("roster write of team A") << QList<int>{12, 8} << 4 << 0x00FF00 << 0;
        QTest::newRow("name of team A") << QList<int>{12, 7} << 2 << 0x00FF00 << 0;
    }
    void colours()
    {
        QFETCH(QList<int>, path);
        QFETCH(int, key);
        QFETCH(int, panel);
        QFETCH(int, caption);
        Program program;
        Roster roster(program);
        // The team items take the colours of the settings as they are when the page is shown.
        SetTeamColor(1, 0x00FF00);
        SetTeamColor(2, 0x00FFFF);
        walk(path);
        SetTeamColor(1, kDefaultTeamAColor);
        SetTeamColor(2, kDefaultTeamBColor);
        QCOMPARE(panelColor(key), panel == -1 ? platform::clBtnFace() : panel);
        QCOMPARE(captionColor(key), caption);
    }

    // What is painted is what the palette says; a pressed key has its colour back after the flash.
    void painted()
    {
        Program program;
        Roster roster(program);
        FKey()->SetFlashDuration(std::chrono::milliseconds(1));
        QLabel* panel = FKey()->Panels[0];
        QCOMPARE(panel->grab().toImage().pixelColor(panel->width() / 2, 4), platform::toQColor(0xFFBF7F));
        click(1);
        click(12);
        QCOMPARE(FKey()->CurrentPage(), FKeyPage::Action2);
        QCOMPARE(panelColor(1), platform::clBtnFace());
        QCOMPARE(panel->grab().toImage().pixelColor(panel->width() / 2, 4),
                 platform::toQColor(platform::clBtnFace()));
    }

    void screenshots()
    {
        const QString folder = qEnvironmentVariable("HOOP_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("set HOOP_SCREENSHOTS to a folder to save the panel's pictures");
        Program program;
        Roster roster(program);
        FKey()->show();
        FKey()->grab().save(QDir(folder).filePath(QStringLiteral("fkey_root.png")));
        click(1);
        FKey()->grab().save(QDir(folder).filePath(QStringLiteral("fkey_actions.png")));
        click(7);
        FKey()->grab().save(QDir(folder).filePath(QStringLiteral("fkey_fouls.png")));
    }

    void actionKeys_data()
    {
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<QList<int>>("switchesOff");
        QTest::addColumn<QString>("enabled"); // F1 to F12
        QTest::newRow("on court") << QList<int>{1} << QList<int>{} << "111111111111";
        QTest::newRow("on court, assists off") << QList<int>{1} << QList<int>{10} << "111111111101";
        QTest::newRow("on court, rebounds off") << QList<int>{1} << QList<int>{7, 8} << "111111100111";
        QTest::newRow("on court, page 2") << QList<int>{1, 12} << QList<int>{} << "110111111111";
        QTest::newRow("on court, page 2, steals off")
            << QList<int>{1, 12} << QList<int>{11} << "010111111111";
        QTest::newRow("bench") << QList<int>{2} << QList<int>{} << "000000100001";
        QTest::newRow("bench, fouls off") << QList<int>{2} << QList<int>{6} << "000000000001";
        QTest::newRow("bench, page 2") << QList<int>{2, 12} << QList<int>{} << "001011111111";
        QTest::newRow("not listed") << QList<int>{3} << QList<int>{} << "000000000001";
        QTest::newRow("not listed, page 2") << QList<int>{3, 12} << QList<int>{} << "000100000000";
    }
    void actionKeys()
    {
        QFETCH(QList<int>, path);
        QFETCH(QList<int>, switchesOff);
        QFETCH(QString, enabled);
        Program program;
        Roster roster(program);
        for (int index : switchesOff)
            program.option().SetStatSwitch(index, false);
        walk(path);
        QCOMPARE(enabledKeys(), enabled);
        // A greyed key does nothing, clicked or keyed.
        const int greyed = enabled.indexOf(QLatin1Char('0'));
        if (greyed < 0)
            return;
        const FKeyPage page = FKey()->CurrentPage();
        MessageSpy spy(program.form(), panelActions());
        click(greyed + 1);
        keyboard(program.form(), Qt::Key(Qt::Key_F1 + greyed));
        QCOMPARE(FKey()->CurrentPage(), page);
        QVERIFY(sent(spy).isEmpty());
    }

    void leafActions_data()
    {
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<int>("page"); // after the last key
        const int root = int(FKeyPage::Root);
        QTest::newRow("2Point成功") << QList<int>{1, 1} << QStringList{"0/0/255/255/255/1/青木"} << root;
        QTest::newRow("2Point失敗") << QList<int>{1, 2} << QStringList{"0/1/255/255/255/1/青木"} << root;
        QTest::newRow("3Point成功") << QList<int>{1, 3} << QStringList{"0/2/255/255/255/1/青木"} << root;
        QTest::newRow("3Point失敗") << QList<int>{1, 4} << QStringList{"0/3/255/255/255/1/青木"} << root;
        QTest::newRow("ﾌﾘｰｽﾛｰ成功") << QList<int>{1, 5} << QStringList{"0/4/255/255/255/1/青木"} << root;
        QTest::newRow("ﾌﾘｰｽﾛｰ失敗") << QList<int>{1, 6} << QStringList{"0/5/255/255/255/1/青木"} << root;
        QTest::newRow("ｵﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ") << QList<int>{1, 8} << QStringList{"0/7/255/255/255/1/青木"} << root;
        QTest::newRow("ﾃﾞｨﾌｪﾝｽﾘﾊﾞｳﾝﾄﾞ") << QList<int>{1, 9} << QStringList{"0/8/255/255/255/1/青木"} << root;
        QTest::newRow("ﾀｰﾝｵｰﾊﾞｰ") << QList<int>{1, 10} << QStringList{"0/9/255/255/255/1/青木"} << root;
        QTest::newRow("ｱｼｽﾄ of team B")
            << QList<int>{7, 11} << QStringList{"0/10/255/255/255/2/上田"} << root;
        QTest::newRow("ｽﾁｰﾙ") << QList<int>{1, 12, 1} << QStringList{"0/11/255/255/255/1/青木"} << root;
        QTest::newRow("ﾌﾞﾛｯｸｼｮｯﾄ") << QList<int>{1, 12, 2} << QStringList{"0/12/255/255/255/1/青木"} << root;
        QTest::newRow("ベンチへ") << QList<int>{1, 12, 4} << QStringList{"0/14/255/255/255/1/青木"} << root;
        QTest::newRow("コートへ from the bench")
            << QList<int>{2, 12, 3} << QStringList{"0/13/255/255/255/1/石井"} << root;
        QTest::newRow("ﾍﾞﾝﾁから削除")
            << QList<int>{2, 12, 5} << QStringList{"0/15/255/255/255/1/石井"} << root;
        QTest::newRow("bench foul ﾊﾟｰｿﾅﾙ(FT0)")
            << QList<int>{2, 7, 1} << QStringList{"0/6/0/0/255/1/石井"} << root;
        QTest::newRow("ﾃｸﾆｶﾙ(FT2)") << QList<int>{1, 7, 7} << QStringList{"0/6/2/1/255/1/青木"} << root;
        QTest::newRow("ｱﾝｽﾎﾟ(FT1)") << QList<int>{1, 7, 10} << QStringList{"0/6/1/2/255/1/青木"} << root;
        QTest::newRow("ｱﾝｽﾎﾟ(FT3)") << QList<int>{1, 7, 12, 1} << QStringList{"0/6/3/2/255/1/青木"} << root;
        QTest::newRow("ﾃﾞｨｽｸｵﾘ") << QList<int>{1, 7, 12, 2} << QStringList{"0/6/0/3/255/1/青木"} << root;
        QTest::newRow("coach ﾃｸﾆｶﾙ(FT3)") << QList<int>{4, 4} << QStringList{"0/6/3/4/255/1/監督"} << root;
        QTest::newRow("coach ﾃｸﾆｶﾙ以外(FT1)")
            << QList<int>{4, 6} << QStringList{"0/6/1/5/255/1/監督"} << root;
        QTest::newRow("ﾋﾟﾘｵﾄﾞ終了 has no player")
            << QList<int>{12, 1} << QStringList{"1/255/255/255/0/0/-"} << root;
        QTest::newRow("TeamATimeOut") << QList<int>{12, 2} << QStringList{"1/255/255/255/1/1/-"} << root;
        QTest::newRow("TeamBTimeOut") << QList<int>{12, 3} << QStringList{"1/255/255/255/1/2/-"} << root;
        QTest::newRow("その他 on the second action page sends nothing")
            << QList<int>{1, 12, 12} << QStringList{} << root;
        QTest::newRow("その他 on the coach page sends nothing") << QList<int>{4, 12} << QStringList{} << root;
        QTest::newRow("two actions in a row")
            << QList<int>{1, 1, 7, 11} << QStringList{"0/0/255/255/255/1/青木", "0/10/255/255/255/2/上田"}
            << root;
    }
    void leafActions()
    {
        QFETCH(QList<int>, path);
        QFETCH(QStringList, actions);
        QFETCH(int, page);
        Program program;
        Roster roster(program);
        MessageSpy spy(program.form(), panelActions());
        walk(path);
        QCOMPARE(sent(spy), actions);
        QCOMPARE(int(FKey()->CurrentPage()), page);
        QCOMPARE(FKey()->HistoryCount(), 1);
        QCOMPARE(captions()[0].endsWith(QStringLiteral("[F1]")), true);
    }

    // Every command item of the menu and what it sends; keys that send nothing send category 2.
    void commandItems_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("side");
        const int others = int(FKeyPage::Others), file = int(FKeyPage::File), info = int(FKeyPage::GameInfo),
                  officials = int(FKeyPage::Officials);
        QTest::newRow("新規Game on the others page") << others << 9 << 8 << 0;
        QTest::newRow("オプション") << others << 12 << 20 << 0;
        QTest::newRow("新規Game") << file << 1 << 8 << 0;
        QTest::newRow("TeamARead") << file << 2 << 9 << 0;
        QTest::newRow("TeamBRead") << file << 3 << 10 << 0;
        QTest::newRow("TeamAWrite") << file << 4 << 11 << 0;
        QTest::newRow("TeamBWrite") << file << 5 << 12 << 0;
        QTest::newRow("GameRead") << file << 6 << 13 << 0;
        QTest::newRow("GameWrite") << file << 7 << 14 << 0;
        QTest::newRow("GameWite(Html)") << file << 8 << 15 << 0;
        QTest::newRow("GameWite(Off)") << file << 9 << 16 << 0;
        QTest::newRow("大会名") << info << 1 << 21 << 0;
        QTest::newRow("Ａﾁｰﾑ名") << info << 2 << 17 << 1;
        QTest::newRow("Ｂﾁｰﾑ名") << info << 3 << 18 << 2;
        QTest::newRow("Ｎｏ．") << info << 4 << 22 << 0;
        QTest::newRow("場所") << info << 5 << 23 << 0;
        QTest::newRow("日付") << info << 6 << 24 << 0;
        QTest::newRow("時間") << info << 7 << 25 << 0;
        QTest::newRow("戦評") << info << 8 << 26 << 0;
        QTest::newRow("主審") << officials << 1 << 28 << 0;
        QTest::newRow("24秒ｵﾍﾟﾚｰﾀ") << officials << 6 << 33 << 0;
        QTest::newRow("TO担当ﾁｰﾑ") << officials << 7 << 34 << 0;
        QTest::newRow("empty key") << officials << 8 << -1 << 0;
    }
    void commandItems()
    {
        QFETCH(int, page);
        QFETCH(int, key);
        QFETCH(int, command);
        QFETCH(int, side);
        Program program;
        const FKeyMenuItem& item = FKeyMenu(FKeyPage(page)).items[key - 1];
        const auto action = BuildFKeyAction(item, nullptr);
        QCOMPARE(int(action->category), command < 0 ? int(kNoCategory) : int(kCommand));
        if (command >= 0)
            QCOMPARE(int(action->command), command);
        QCOMPARE(action->side, side);
        QCOMPARE(action->player, nullptr);
        QCOMPARE(action->keyA, -1);
        QCOMPARE(action->keyB, -1);
    }

    // What is keyed shows on the score panel at once: the total, the period's score, the team fouls.
    void scorePanelFollowsTheKeys()
    {
        Program program;
        Roster roster(program);
        THooptallyForm& form = program.form();
        form.PageControl1->setCurrentIndex(0);
        keyboard(form, Qt::Key_F1);
        keyboard(form, Qt::Key_F3); // 青木 3Point成功
        QCOMPARE(form.TeamATotalCnt->text(), QStringLiteral("003"));
        QCOMPARE(form.LaCount1st->text(), QStringLiteral("03  -  00"));
        walk({7, 7, 1}); // 上田 ﾊﾟｰｿﾅﾙ(FT0)
        QCOMPARE(form.TeamBFoulCnt->text(), QStringLiteral("ﾁｰﾑﾌｧｳﾙ(1)"));
        QCOMPARE(form.TeamBTotalCnt->text(), QStringLiteral("000"));
    }

    // A command asks as it does from the menu: the game-information prompt through the panel.
    void commandFromThePanel()
    {
        Program program;
        Roster roster(program);
        program.dialogs().expectInput(QStringLiteral("春季大会"));
        walk({12, 7, 1});
        QCOMPARE(program.form().Taikaimei->text(), QStringLiteral("春季大会"));
        QCOMPARE(FKey()->CurrentPage(), FKeyPage::Root);
        QVERIFY(IsKeyInputEnabled());
    }

    void escapeAndBackspace_data()
    {
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<QList<int>>("keys"); // Qt keys through the key hook
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("history");
        const int esc = Qt::Key_Escape, back = Qt::Key_Backspace;
        QTest::newRow("Esc on the root shows the others page")
            << QList<int>{} << QList<int>{esc} << int(FKeyPage::Others) << 1;
        QTest::newRow("a second Esc returns to the root")
            << QList<int>{} << QList<int>{esc, esc} << int(FKeyPage::Root) << 1;
        QTest::newRow("Esc from an action page returns to the root")
            << QList<int>{1, 12} << QList<int>{esc} << int(FKeyPage::Root) << 1;
        QTest::newRow("Esc after F12 returns to the root")
            << QList<int>{12} << QList<int>{esc} << int(FKeyPage::Root) << 1;
        QTest::newRow("Backspace on the root does nothing")
            << QList<int>{} << QList<int>{back} << int(FKeyPage::Root) << 1;
        QTest::newRow("Backspace after a player key")
            << QList<int>{1} << QList<int>{back} << int(FKeyPage::Root) << 1;
        QTest::newRow("Backspace from the fouls")
            << QList<int>{1, 7} << QList<int>{back} << int(FKeyPage::Action1) << 2;
        QTest::newRow("Backspace twice")
            << QList<int>{1, 12} << QList<int>{back, back} << int(FKeyPage::Root) << 1;
        QTest::newRow("Backspace after Esc")
            << QList<int>{} << QList<int>{esc, back} << int(FKeyPage::Others) << 1;
        QTest::newRow("a leaf clears the Esc toggle")
            << QList<int>{} << QList<int>{esc, Qt::Key_F2, esc} << int(FKeyPage::Others) << 1;
    }
    void escapeAndBackspace()
    {
        QFETCH(QList<int>, path);
        QFETCH(QList<int>, keys);
        QFETCH(int, page);
        QFETCH(int, history);
        Program program;
        Roster roster(program);
        walk(path);
        for (int key : keys)
            keyboard(program.form(), Qt::Key(key));
        QCOMPARE(int(FKey()->CurrentPage()), page);
        QCOMPARE(FKey()->HistoryCount(), history);
        // Backspace back to the player page shows the same players.
        if (FKey()->CurrentPage() == FKeyPage::Root)
            QCOMPARE(captions(), kRootCaptions);
    }

    void paging()
    {
        Program program;
        FKey()->SetFlashDuration(kNoFlash);
        for (int i = 0; i < 12; ++i)
            program.addPlayer(1, QString::number(4 + i), QStringLiteral("A%1").arg(4 + i));
        program.addPlayer(2, QStringLiteral("7"), QStringLiteral("B7"));
        click(6);
        QCOMPARE(FKey()->PageNumber(), 1);
        QCOMPARE(captions().mid(0, 5),
                 (QStringList{"A9(9)[F1]", "A10(10)[F2]", "A11(11)[F3]", "A12(12)[F4]", "A13(13)[F5]"}));
        QCOMPARE(captions().mid(6, 5), (QStringList{"[F7]", "[F8]", "[F9]", "[F10]", "[F11]"}));
        // The third page has two players and the add key; there is no fourth.
        click(6);
        QCOMPARE(FKey()->PageNumber(), 2);
        QCOMPARE(captions().mid(0, 4), (QStringList{"A14(14)[F1]", "A15(15)[F2]", "選手追加[F3]", "[F4]"}));
        click(6);
        QCOMPARE(FKey()->PageNumber(), 2);
        QCOMPARE(FKey()->HistoryCount(), 3);
        // A paged player's key is accepted; Backspace returns to the same five players.
        click(2);
        QCOMPARE(FKey()->CurrentPage(), FKeyPage::Action1);
        keyboard(program.form(), Qt::Key_Backspace);
        QCOMPARE(FKey()->PageNumber(), 2);
        QCOMPARE(captions()[1], QStringLiteral("A15(15)[F2]"));
        MessageSpy spy(program.form(), panelActions());
        walk({2, 7, 1});
        QCOMPARE(sent(spy), QStringList{"0/6/0/0/255/1/A15"});
        QCOMPARE(FKey()->PageNumber(), 0);
    }

    void pagingNeedsAPlayer_data()
    {
        QTest::addColumn<int>("playersA");
        QTest::addColumn<int>("playersB");
        QTest::addColumn<bool>("pages");
        QTest::newRow("five and the add row") << 5 << 3 << false;
        QTest::newRow("a sixth of team A") << 6 << 0 << true;
        QTest::newRow("a sixth of team B") << 2 << 6 << true;
    }
    void pagingNeedsAPlayer()
    {
        QFETCH(int, playersA);
        QFETCH(int, playersB);
        QFETCH(bool, pages);
        Program program;
        FKey()->SetFlashDuration(kNoFlash);
        for (int i = 0; i < playersA; ++i)
            program.addPlayer(1, QString::number(i + 4), QStringLiteral("A"));
        for (int i = 0; i < playersB; ++i)
            program.addPlayer(2, QString::number(i + 4), QStringLiteral("B"));
        click(6);
        QCOMPARE(FKey()->PageNumber(), pages ? 1 : 0);
        QCOMPARE(FKey()->HistoryCount(), pages ? 2 : 1);
    }

    // The add key of an empty team row enters a player through the registration dialog.
    void addKey()
    {
        Program program;
        FKey()->SetFlashDuration(kNoFlash);
        QCOMPARE(captions()[0], QStringLiteral("選手追加[F1]"));
        QCOMPARE(captions()[6], QStringLiteral("選手追加[F7]"));
        TPlayer* blank = program.teamB().PlayerAt(0);
        MessageSpy spy(program.form(), panelActions());
        registerThroughAddKey(program, 7, QStringLiteral("8"), QStringLiteral("森"), true);
        QCOMPARE(sent(spy), QStringList{"0/17/255/255/255/2/"});
        QCOMPARE(blank->name, QStringLiteral("森"));
        QCOMPARE(blank->status, std::uint8_t(kOnCourt));
        QCOMPARE(captions()[6], QStringLiteral("森(8)[F7]"));
        QCOMPARE(captions()[7], QStringLiteral("選手追加[F8]"));
        QVERIFY(IsKeyInputEnabled());
    }

    // Keys that arrive while an action of the panel runs a dialog are refused; the pages are rebuilt
    // only once the handler is done with them.
    void keysWhileTheActionRuns()
    {
        Program program;
        Roster roster(program);
        MessageSpy spy(program.form(), panelActions());
        FKeyPage pageMeanwhile = FKeyPage::None;
        program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [&](QDialog& dialog) {
            click(1);
            FKey()->PressKey(12);
            platform::SendMessage(&program.form(), kFunctionKeyMessage, 0x1B, 0);
            platform::SendMessage(&program.form(), kFunctionKeyMessage, 0x08, 0);
            // An action executed meanwhile asks for a rebuild, which waits.
            program.act(roster.ueda, kAssist);
            pageMeanwhile = FKey()->CurrentPage();
            auto& touroku = static_cast<TPlayerTouroku&>(dialog);
            QTest::mouseClick(touroku.CancelBtn, Qt::LeftButton);
            return touroku.result();
        });
        walk({1, 12, 6});
        QCOMPARE(pageMeanwhile, FKeyPage::Action2);
        // The edit key's action, and inside it the assist sent meanwhile; nothing of the refused keys.
        QCOMPARE(sent(spy), (QStringList{"0/17/255/255/255/1/青木", "0/10/255/255/255/2/上田"}));
        QCOMPARE(FKey()->CurrentPage(), FKeyPage::Root);
        QCOMPARE(FKey()->HistoryCount(), 1);
    }

    // A player deleted from the panel's own edit key: nothing touches the freed record.
    void deleteThroughThePanel()
    {
        Program program;
        Roster roster(program);
        program.act(roster.ishii, kFoul, kPersonalFoul, 0);
        program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [&](QDialog& dialog) {
            auto& touroku = static_cast<TPlayerTouroku&>(dialog);
            QTest::mouseClick(touroku.DeleteB, Qt::LeftButton);
            return touroku.result();
        });
        program.dialogs().expectMessage(QStringLiteral("選手を削除します、よろしいですか？"),
                                        platform::mrYes);
        walk({2, 12, 6});
        QCOMPARE(program.teamA().Count(), 4);
        const QStringList log = logTexts(program.form());
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].section(QLatin1Char('|'), 1, 2), QStringLiteral("高橋(6)|ベンチへ"));
        QCOMPARE(captions()[1], QStringLiteral("高橋(6)[F2]"));
        QCOMPARE(FKey()->HistoryCount(), 1);
    }

    // A new game from the panel replaces both teams while the key is handled.
    void newGameThroughThePanel()
    {
        Program program;
        Roster roster(program);
        program.form().MarkGameSaved();
        walk({12, 9});
        QCOMPARE(program.teamA().Count(), 1);
        QCOMPARE(captions()[0], QStringLiteral("選手追加[F1]"));
        QCOMPARE(captions()[6], QStringLiteral("選手追加[F7]"));
        QCOMPARE(FKey()->CurrentPage(), FKeyPage::Root);
    }

    void closeOnlyHides()
    {
        Program program;
        QVERIFY(FKey()->isVisible());
        QVERIFY(!FKey()->close());
        QVERIFY(FKey()->isHidden());
        program.form().findChild<QAction*>(QStringLiteral("FKeyF1"))->trigger();
        QVERIFY(FKey()->isVisible());
    }

    // The placement under [FKey]: read at the first activation, written when the panel goes.
    void placement()
    {
        Program program(QStringLiteral("[FKey]\nTop=40\nLeft=30\nHeight=56\nWidth=662"));
        QCOMPARE(FKey()->geometry().topLeft(), QPoint(30, 40));
        auto second = std::make_unique<TFKey>();
        second->show();
        QCOMPARE(second->geometry().topLeft(), QPoint(30, 40));
        second->move(50, 60);
        const QRect frame = second->geometry();
        second.reset();
        const auto stored = program.option().LoadWindowPlacement(QStringLiteral("FKey"));
        QVERIFY(stored);
        QCOMPARE(QRect(stored->left, stored->top, stored->width, stored->height), frame);
    }

    // A damaged placement neither sizes the panel beyond the desktop nor puts its corner off it.
    void damagedPlacement()
    {
        Program program(
            QStringLiteral("[FKey]\nTop=2147483000\nLeft=-2147483000\nHeight=100000\nWidth=100000"));
        const QRect desktop = FKey()->screen()->availableVirtualGeometry();
        const QRect frame = FKey()->geometry();
        QVERIFY(desktop.contains(frame.topLeft()));
        QVERIFY(frame.width() <= 2 * desktop.width());
        QVERIFY(frame.height() <= 2 * desktop.height());
    }

    // A whole game keyed on the panel alone, saved and reopened.
    void wholeGame()
    {
        QByteArray saved;
        keyWholeGame(saved);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!saved.isEmpty());

        Program program;
        const QString path = program.path(QStringLiteral("reopened.game"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(saved);
        file.close();
        program.dialogs().expectOpenFile(path);
        program.form().FileOpen1Execute(true);
        TTeam& a = program.teamA();
        TTeam& b = program.teamB();
        auto stat = [](TTeam& team, const QString& name, int type) {
            for (int i = 0; i < team.Count(); ++i) {
                if (team.PlayerAt(i)->name == name)
                    return team.PlayerAt(i)->StatValue(-1, static_cast<std::uint8_t>(type), true);
            }
            return -1;
        };
        QCOMPARE(stat(a, QStringLiteral("A4"), kPointsStat), 3);
        QCOMPARE(stat(a, QStringLiteral("A4"), kFoul), 1);
        QCOMPARE(stat(a, QStringLiteral("A4"), kFreeThrowMissed), 1);
        QCOMPARE(stat(a, QStringLiteral("A5"), kAssist), 1);
        QCOMPARE(stat(a, QStringLiteral("A5"), kTwoPointMissed), 2);
        QCOMPARE(stat(a, QStringLiteral("A5"), kOffensiveRebound), 1);
        QCOMPARE(stat(a, QStringLiteral("A6"), kPointsStat), 3);
        QCOMPARE(stat(a, QStringLiteral("A7"), kThreePointMissed), 3);
        QCOMPARE(stat(b, QStringLiteral("B4"), kPointsStat), 5);
        QCOMPARE(stat(b, QStringLiteral("B4"), kSteal), 1);
        QCOMPARE(stat(b, QStringLiteral("B5"), kFoul), 1);
        QCOMPARE(stat(b, QStringLiteral("B6"), kDefensiveRebound), 1);
        QCOMPARE(stat(b, QStringLiteral("B7"), kBlockedShot), 1);
        QCOMPARE(stat(b, QStringLiteral("B8"), kTurnover), 1);
        QCOMPARE(a.TeamFouls(2), 1);
        QCOMPARE(b.TeamFouls(0), 1);
        QCOMPARE(a.PlayerAt(0)->status == kOnCourt, true);
        // The reopened game saves to the same bytes.
        const QString again = program.path(QStringLiteral("again.game"));
        program.dialogs().expectSaveFile(again);
        program.form().FileSave1Execute();
        QCOMPARE(readBytes(again), readBytes(path));
    }
};

QTEST_MAIN(tst_fkey)
#include "tst_fkey.moc"
