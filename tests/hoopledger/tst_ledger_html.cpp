// The statistics pages: a page of every view read back with libxml2's HTML parser and compared with
// the grid and with values written out by hand; the save-all into an empty folder and over existing
// files with each answer to the question; write failures.
#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "hoopledger/TSaveHtmlDlg.h"
#include "hoopledger/Tsavehtmlx.h"
#include "hooptally/Texecute.h"
#include "platform/Codec.h"
#include "platform/DateTime.h"
#include "platform/StringGrid.h"
#include "support/HtmlPage.h"
#include "support/Ledger.h"
#include "support/Season.h"

using namespace hoopledger;
using namespace hoopledger::testing;
using namespace Qt::StringLiterals;
using hooptally::testing::HtmlNode;
using hooptally::testing::ParsedHtml;
using hooptally::testing::parseHtmlFile;

namespace {

const QString kStars = u"R&B/<Stars>"_s;
const QString kHtmlOsaka = u"Osaka"_s;
const QString kSuzuki = u"<b>鈴木</b>[7]"_s;
const QString kOld = u"old"_s;

// Two games. The stars' members in member order: 井上 3 (second game only), 佐藤 4, <b>鈴木</b> 7,
// 田中① 1/2. Their names carry markup, a CP932 extension and a number with a slash.
QList<GamePlan> season()
{
    using P = GamePlan::Play;
    return {GamePlan{u"春季リーグ"_s,
                     u"市民体育館"_s,
                     QDate(2024, 5, 1),
                     QTime(14, 0),
                     kStars,
                     kTokyo,
                     {{u"1/2"_s, u"田中①"_s}, {u"4"_s, u"佐藤"_s}, {u"7"_s, u"<b>鈴木</b>"_s}},
                     {{u"8"_s, u"山田"_s}, {u"5"_s, u"伊藤"_s}},
                     {P{9, 0, 1, 0, hooptally::kTwoPointMade}, P{8, 0, 1, 1, hooptally::kThreePointMade},
                      P{7, 0, 2, 0, hooptally::kTwoPointMade}, P{6, 0, 1, 2, hooptally::kFreeThrowMade}}},
            GamePlan{u"夏季大会"_s,
                     u"港アリーナ"_s,
                     QDate(2024, 6, 1),
                     QTime(13, 0),
                     kHtmlOsaka,
                     kStars,
                     {{u"9"_s, u"加藤"_s}},
                     {{u"4"_s, u"佐藤"_s}, {u"3"_s, u"井上"_s}},
                     {P{9, 0, 1, 0, hooptally::kThreePointMade}, P{8, 0, 2, 1, hooptally::kTwoPointMade}}}};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The parsed page's table as "a|b|c" lines.
QStringList tableRows(const ParsedHtml& page)
{
    QStringList rows;
    const auto tables = page.topTables();
    if (tables.empty())
        return rows;
    for (const HtmlNode* row : tables.front()->rows())
        rows << row->cellTexts().join(u'|');
    return rows;
}

// The font elements of the page with that size attribute, by their texts.
QStringList fontTexts(const ParsedHtml& page, const QString& size)
{
    QStringList texts;
    for (const HtmlNode* font : page.root->descendants(u"font"_s)) {
        if (font->attributes.value(u"size"_s) == size)
            texts << font->innerText();
    }
    return texts;
}

void checkAsk(TSaveHtmlDlg& dialog, const QString& path)
{
    QCOMPARE(dialog.windowTitle(), u"Html作成"_s);
    QCOMPARE(dialog.Label1->text(), u"ファイルが存在します上書きしますか？"_s);
    QVERIFY(dialog.Edit1->isVisible());
    QVERIFY(dialog.Edit1->isReadOnly());
    QCOMPARE(dialog.Edit1->text(), path);
    QVERIFY(!dialog.Memo1->isVisible());
    for (QPushButton* button : {dialog.YesBtn, dialog.NoBtn, dialog.AllBtn, dialog.CancelBtn, dialog.FileBtn})
        QVERIFY(button->isVisible());
}

} // namespace

class tst_ledger_html : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_season;
    std::unique_ptr<Ledger> m_ledger;
    QStringList m_list; // what the last list of written files showed

    TMainForm& form() { return m_ledger->form(); }
    QString out(const QString& name = {}) const
    {
        return name.isEmpty() ? m_ledger->path(u"out"_s) : m_ledger->path(u"out/"_s + name);
    }

    // Saves the current view through the command, answering the file dialog with that path and the
    // message that follows, if one is given.
    void saveView(const QString& path, const QString& message = {}, int answer = platform::mrOk)
    {
        m_ledger->dialogs().expectSaveFile(path);
        if (!message.isEmpty())
            m_ledger->dialogs().expectMessage(message, answer);
        form().FileSave1Execute();
    }

    ParsedHtml parse(const QString& path)
    {
        ParsedHtml page = parseHtmlFile(path);
        [&] {
            QVERIFY2(page.errors.isEmpty(), qPrintable(page.errors));
            QVERIFY(page.root);
        }();
        return page;
    }

    // The grid as the page shows it: empty cells as the page fills them.
    QStringList gridAsPage(const QString& blank)
    {
        QStringList rows;
        const platform::StringGrid& grid = *form().GridAll;
        for (int row = 0; row < grid.RowCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < grid.ColCount(); ++col)
                cells << (grid.Cells(col, row).isEmpty() ? blank : grid.Cells(col, row));
            rows << cells.join(u'|');
        }
        return rows;
    }

    // Queues the answer to one question of the save-all about an existing file.
    void answer(const QString& path, QPushButton* TSaveHtmlDlg::*button, const QString& renameTo = {})
    {
        m_ledger->dialogs().expectModal(u"SaveHtmlDlg"_s, [path, button, renameTo](QDialog& dialog) {
            auto& ask = static_cast<TSaveHtmlDlg&>(dialog);
            checkAsk(ask, path);
            if (!renameTo.isEmpty()) {
                ask.FileBtn->click();
                [&] {
                    QCOMPARE(ask.FileName(), renameTo);
                    QCOMPARE(ask.Edit1->text(), renameTo);
                    QCOMPARE(ask.Label1->text(), QFile::exists(renameTo)
                                                     ? u"ファイルが存在します上書きしますか？"_s
                                                     : u"下記ファイル名に書き込みますか？"_s);
                }();
            }
            (ask.*button)->click();
            return dialog.result();
        });
        if (!renameTo.isEmpty())
            m_ledger->dialogs().expectSaveFile(renameTo);
    }

    // Expects the list of written files and keeps its lines.
    void expectList()
    {
        m_list.clear();
        m_ledger->dialogs().expectModal(u"SaveHtmlDlg"_s, [this](QDialog& dialog) {
            auto& list = static_cast<TSaveHtmlDlg&>(dialog);
            [&] {
                QCOMPARE(list.Label1->text(), u"書き込みファイル一覧"_s);
                QVERIFY(!list.Edit1->isVisible());
                QVERIFY(list.Memo1->isVisible());
                QVERIFY(list.Memo1->isReadOnly());
                for (QPushButton* button :
                     {list.YesBtn, list.NoBtn, list.AllBtn, list.CancelBtn, list.FileBtn})
                    QVERIFY(!button->isVisible());
            }();
            m_list = list.Memo1->toPlainText().split(u'\n');
            return int(platform::mrCancel);
        });
    }

    // Selects the node and queues the answer to the prefix question; the test queues what follows and
    // runs the command.
    void prepareSaveAll(const QStringList& node, const std::optional<QString>& prefix)
    {
        m_ledger->show(node);
        m_ledger->dialogs().expectInput(prefix);
    }

    // 'n' for a page written anew, 'o' for a file left as it was, '-' for none.
    QChar state(const QString& path)
    {
        const QByteArray bytes = readAll(path);
        if (!QFile::exists(path))
            return u'-';
        return bytes == kOld.toLatin1() ? u'o' : (bytes.startsWith("<html>\r\n") ? u'n' : u'?');
    }

private slots:
    void initTestCase()
    {
        const QList<GamePlan> games = season();
        for (int i = 0; i < games.size(); ++i)
            writeRecordedGame(m_season.filePath(u"g%1.game"_s.arg(i + 1)), games[i]);
        platform::DateTime::setNowProvider([] { return platform::DateTime::encodeDate(2026, 12, 9) + 0.5; });
    }

    void cleanupTestCase() { platform::DateTime::setNowProvider({}); }

    void init()
    {
        m_ledger = std::make_unique<Ledger>();
        QDir(m_ledger->folder()).mkpath(u"out/elsewhere"_s);
        m_ledger->start(u"[Option]\nFilePath="_s + m_season.path() + u"\nSaveFilePath="_s + out() +
                        u"\nActiveRead=1"_s);
    }

    void cleanup() { m_ledger.reset(); }

    void pageOfEveryView_data()
    {
        QTest::addColumn<QStringList>("node");
        QTest::addColumn<QString>("defaultName");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("blank");
        QTest::addColumn<QStringList>("headings");

        QTest::newRow("game list") << QStringList{kRoot} << u"AllGame_.html"_s
                                   << u"大会名|場所|日付|時間|得点"_s << u"　"_s
                                   << QStringList{u"【全試合情報】"_s};
        QTest::newRow("team results")
            << QStringList{kRoot, kStars} << u"Team_.html"_s << u"日付|大会名|場所|対戦相手|得点|勝敗"_s
            << u"　"_s << QStringList{u"【R&B/<Stars>【チーム成績一覧】】"_s};
        QTest::newRow("personal totals")
            << QStringList{kRoot, kStars, kTotals} << u"AllKojin_.html"_s
            << u"名前|番号|得点|2P(M)|2P(A)|2P(%)|3P(M)|3P(A)|3P(%)|FP(M)|FP(A)|FP(%)|F|OR|DR|TO|AS|ST|BS|TIME"_s
            << u"--"_s << QStringList{u"【R&B/<Stars>【個人トータル一覧】】"_s};
        QTest::newRow("member's games")
            << QStringList{kRoot, kStars, u"田中①[1/2]"_s} << u"1_2_.html"_s
            << u"ｹﾞｰﾑ名|日付|相手|得点|2P(M)|2P(A)|2P(%)|3P(M)|3P(A)|3P(%)|FP(M)|FP(A)|FP(%)|F|OR|DR|TO|AS|ST|BS|TIME"_s
            << u"　"_s << QStringList{u"【R&B/<Stars>】"_s};
    }

    void pageOfEveryView()
    {
        QFETCH(QStringList, node);
        QFETCH(QString, defaultName);
        QFETCH(QString, header);
        QFETCH(QString, blank);
        QFETCH(QStringList, headings);

        m_ledger->show(node);
        const QString path = out(u"page.html"_s);
        saveView(path);
        const platform::FileDialogOptions& options = m_ledger->dialogs().lastFileOptions();
        QCOMPARE(options.fileName, defaultName);
        QCOMPARE(options.initialDir, out());
        QCOMPARE(options.defaultExt, u"html"_s);
        QCOMPARE(m_ledger->shell().opened, QStringList{path});

        const ParsedHtml page = parse(path);
        QVERIFY(page.root);
        QCOMPARE(page.root->descendants(u"title"_s).at(0)->innerText(), form().Label1->text());
        QCOMPARE(fontTexts(page, u"1"_s), QStringList{u"Update:2026/12/09"_s});
        QCOMPARE(fontTexts(page, u"4"_s), headings);
        const QStringList rows = tableRows(page);
        QCOMPARE(rows.value(0), header);
        QCOMPARE(rows, gridAsPage(blank));
        // A single page links no member.
        QCOMPARE(page.topTables().at(0)->descendants(u"a"_s).size(), size_t(0));

        // What the files hold stays text: nothing of it became markup.
        const QString text = platform::Codec::fromCp932(readAll(path));
        QVERIFY(text.contains(u"charset=Windows-31J"_s));
        QVERIFY(!text.contains(u"<Stars>"_s));
        QVERIFY(!text.contains(u"<b>"_s));
    }

    void escapedValues()
    {
        m_ledger->show({kRoot});
        saveView(out(u"games.html"_s));
        QCOMPARE(tableRows(parse(out(u"games.html"_s))).mid(1),
                 (QStringList{u"春季リーグ|市民体育館|24/05/01|14:00|R&B/<Stars>(6) - 東京ホークス(2)"_s,
                              u"夏季大会|港アリーナ|24/06/01|13:00|Osaka(3) - R&B/<Stars>(2)"_s,
                              u"　|　|　|　|　"_s}));

        m_ledger->show({kRoot, kStars, kSuzuki});
        saveView(out(u"suzuki.html"_s));
        const ParsedHtml page = parse(out(u"suzuki.html"_s));
        QCOMPARE(fontTexts(page, u"6"_s), QStringList{u"<b>鈴木</b>(7)"_s});
        QCOMPARE(
            tableRows(page).mid(1),
            (QStringList{
                u"春季リーグ|24/05/01|東京ホークス|01|00|00|--|00|00|--|01|01|100.0%|00|00|00|00|00|00|00|00:10:00"_s,
                u"合計|　|　|01|00|00|--|00|00|--|01|01|100.0%|00|00|00|00|00|00|00|00:10:00"_s}));
        const QString text = platform::Codec::fromCp932(readAll(out(u"suzuki.html"_s)));
        QVERIFY(text.contains(u"<font size=6>&lt;b&gt;鈴木&lt;/b&gt;(7)</font>"_s));
        QCOMPARE(HtmlEscaped(u"a&b<c>\"d\"\x01\te"_s), u"a&amp;b&lt;c&gt;&quot;d&quot; \te"_s);
    }

    // The page line by line as the format gives it: one game of Osaka, and its personal totals with
    // every statistic switched off, saved by the save-all so that the name links to the member page.
    void pageLines()
    {
        for (int item = 0; item < kKojinItemCount; ++item)
            m_ledger->option().SetKojinItem(item, false);
        prepareSaveAll({kRoot, kHtmlOsaka}, u"o-"_s);
        expectList();
        form().FileSaveAsItemClick();
        QCOMPARE(m_ledger->dialogs().shown().at(0),
                 u"input: 先頭に付加するファイル名を入力してください [Quillmarsh] Osaka"_s);

        const QString head =
            u"<html>\r\n<head>\r\n<title>%1</title>\r\n"
            u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-31J\">\r\n"
            u"<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">\r\n"
            u"</head>\r\n<body>\r\n<center>\r\n"
            u"<div align=\"right\" ><font size=1>Update:2026/12/09</font></DIV><br>\n\r\n"
            u"<font size=4>【%1】</font><br>\n\r\n"
            u"\t<table  border=\"1\" cellspacing=\"1\" cellpadding=\"0\" >\r\n"_s;
        const QString foot =
            u"\t</table>\r\n"
            u"<br>--<a href=\"https://hoopledger.example.org/\">Hoopledger Summary</a>--<br>\r\n"
            u"</center>\r\n</body>\r\n</html>\r\n"_s;
        const QStringList results = {
            u"日付"_s,    u"大会名"_s,   u"場所"_s,     u"対戦相手"_s,   u"得点"_s,
            u"勝敗"_s,    u"24/06/01"_s, u"夏季大会"_s, u"港アリーナ"_s, u"R&amp;B/&lt;Stars&gt;"_s,
            u"03 - 02"_s, u"勝"_s,       u"合計"_s,     u"　"_s,         u"　"_s,
            u"　"_s,      u"03 - 02"_s,  u"1勝0敗"_s};
        QString table;
        for (int i = 0; i < results.size(); ++i) {
            table += (i % 6 == 0 ? u"<tr>\r\n"_s : QString()) + u"<td>"_s + results[i] + u"</td>\r\n"_s;
            table += i % 6 == 5 ? u"</tr>\r\n"_s : QString();
        }
        QCOMPARE(platform::Codec::fromCp932(readAll(out(u"o-Team_.html"_s))),
                 head.arg(u"Osaka【チーム成績一覧】"_s) + table + foot);
        QCOMPARE(platform::Codec::fromCp932(readAll(out(u"o-AllKojin_.html"_s))),
                 head.arg(u"Osaka【個人トータル一覧】"_s) +
                     u"<tr>\r\n<td>名前</td>\r\n\r\n<td>番号</td>\r\n\r\n<td>得点</td>\r\n\r\n</tr>\r\n"
                     u"<tr>\r\n<td><a "
                     u"href=\"./o-1_.html\">加藤</a></td>\r\n\r\n<td>9</td>\r\n\r\n<td>3</td>\r\n\r\n"
                     u"</tr>\r\n"
                     u"<tr>\r\n<td>合計</td>\r\n\r\n<td>--</td>\r\n\r\n<td>3</td>\r\n\r\n</tr>\r\n"_s +
                     foot);
        QVERIFY(platform::Codec::fromCp932(readAll(out(u"o-1_.html"_s)))
                    .contains(u"<font size=4>【Osaka】<br></font><font size=6>加藤(9)</font><br>\n\r\n"_s));
        QCOMPARE(m_list,
                 (QStringList{u"Write Folder : "_s + out(), u"WriteFile:  o-Team_.html"_s,
                              u"WriteFile:  o-AllKojin_.html"_s, u"WriteFile:  o-1_.html"_s, QString()}));
    }

    // The personal totals of a save-all link each member to the page written for that member, also
    // when a search has hidden a member while the team's node was closed.
    void linksReachTheMemberPages_data()
    {
        QTest::addColumn<bool>("narrowed");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("every member")
            << false << QStringList{u"井上(3)"_s, u"佐藤(4)"_s, u"<b>鈴木</b>(7)"_s, u"田中①(1/2)"_s};
        QTest::newRow("井上 hidden by the search")
            << true << QStringList{u"佐藤(4)"_s, u"<b>鈴木</b>(7)"_s, u"田中①(1/2)"_s};
    }

    void linksReachTheMemberPages()
    {
        QFETCH(bool, narrowed);
        QFETCH(QStringList, members);
        if (narrowed) {
            form().DateTimePicker2->setDate(QDate(2024, 5, 31));
            form().Button1Click();
            QVERIFY(!m_ledger->node({kRoot, kStars})->isExpanded());
            QVERIFY(m_ledger->node({kRoot, kStars, u"井上[3]"_s}));
        }
        prepareSaveAll({kRoot, kStars, kSuzuki}, u"R&B_<Stars>"_s);
        expectList();
        form().FileSaveAsItemClick();
        QCOMPARE(m_ledger->dialogs().shown().at(0),
                 u"input: 先頭に付加するファイル名を入力してください [Quillmarsh] R&B_<Stars>"_s);

        const ParsedHtml totals = parse(out(u"R&B_<Stars>AllKojin_.html"_s));
        const auto rows = totals.topTables().at(0)->rows();
        QCOMPARE(int(rows.size()), members.size() + 2);
        QStringList linked;
        for (size_t row = 0; row < rows.size(); ++row) {
            const auto links = rows[row]->descendants(u"a"_s);
            if (row == 0 || row == rows.size() - 1) {
                QCOMPARE(links.size(), size_t(0));
                continue;
            }
            QCOMPARE(links.size(), size_t(1));
            const QString href = links[0]->attributes.value(u"href"_s);
            QCOMPARE(href, u"./R&B_<Stars>%1_.html"_s.arg(row));
            const ParsedHtml member = parse(out(href.mid(2)));
            QCOMPARE(fontTexts(member, u"4"_s), QStringList{u"【R&B/<Stars>】"_s});
            QCOMPARE(rows[row]->cellTexts().mid(0, 2).join(u'|') + u'|',
                     fontTexts(member, u"6"_s).value(0).replace(u'(', u'|').replace(u')', u'|'));
            linked << fontTexts(member, u"6"_s).value(0);
        }
        QCOMPARE(linked, members);
        QVERIFY(!QFile::exists(out(u"R&B_<Stars>%1_.html"_s.arg(members.size() + 1))));
        QCOMPARE(m_list.size(), members.size() + 4);
        QCOMPARE(form().TreeView1->currentItem()->text(0),
                 members.last().replace(u'(', u'[').replace(u')', u']'));
    }

    void saveAllAnswers_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("answers");
        // Team_, AllKojin_, 1_ to 4_ and the renamed file afterwards: n new, o old, - none.
        QTest::addColumn<QString>("states");
        QTest::addColumn<QStringList>("list"); // after the folder line; empty: no list

        const QStringList all = {u"Team_"_s, u"AllKojin_"_s, u"1_"_s, u"2_"_s, u"3_"_s, u"4_"_s};
        const QString renamed = u"elsewhere/renamed.html"_s;
        auto written = [](const QStringList& names) {
            QStringList lines;
            for (const QString& name : names)
                lines << u"WriteFile:  s"_s + name + u".html"_s;
            return lines;
        };
        QTest::newRow("empty folder") << QStringList{} << QStringList{} << u"nnnnnn-"_s << written(all);
        QTest::newRow("yes to each") << all << QStringList(6, u"yes"_s) << u"nnnnnn-"_s << written(all);
        QTest::newRow("no to the team page")
            << QStringList{u"Team_"_s} << QStringList{u"no"_s} << u"onnnnn-"_s
            << QStringList{u"NotWritten:  sTeam_.html"_s} + written(all.mid(1));
        QTest::newRow("no, then files not there")
            << QStringList{u"Team_"_s, u"2_"_s} << QStringList{u"no"_s, u"no"_s} << u"onnonn-"_s
            << QStringList{u"NotWritten:  sTeam_.html"_s, u"WriteFile:  sAllKojin_.html"_s,
                           u"WriteFile:  s1_.html"_s,     u"NotWritten:  s2_.html"_s,
                           u"WriteFile:  s3_.html"_s,     u"WriteFile:  s4_.html"_s};
        QTest::newRow("no to each") << all << QStringList(6, u"no"_s) << u"oooooo-"_s << QStringList{};
        QTest::newRow("all at the second")
            << all << QStringList{u"yes"_s, u"all"_s} << u"nnnnnn-"_s << written(all);
        QTest::newRow("cancel at the second")
            << all << QStringList{u"yes"_s, u"cancel"_s} << u"nooooo-"_s << written({u"Team_"_s});
        QTest::newRow("cancel at the first")
            << all << QStringList{u"cancel"_s} << u"oooooo-"_s << QStringList{};
        QTest::newRow("renamed, then all")
            << all << QStringList{u"rename all"_s} << u"onnnnnn"_s
            << QStringList{u"WriteFile:  %1"_s.arg(renamed)} + written(all.mid(1));
        QTest::newRow("renamed onto a file there, then all")
            << QStringList{u"Team_"_s, u"renamed"_s} << QStringList{u"rename all"_s} << u"onnnnnn"_s
            << QStringList{u"WriteFile:  %1"_s.arg(renamed)} + written(all.mid(1));
        QTest::newRow("renamed, then yes")
            << all << QStringList{u"rename yes"_s, u"no"_s, u"no"_s, u"no"_s, u"no"_s, u"no"_s}
            << u"oooooon"_s
            << QStringList{u"WriteFile:  %1"_s.arg(renamed), u"NotWritten:  sAllKojin_.html"_s,
                           u"NotWritten:  s1_.html"_s,       u"NotWritten:  s2_.html"_s,
                           u"NotWritten:  s3_.html"_s,       u"NotWritten:  s4_.html"_s};
    }

    void saveAllAnswers()
    {
        QFETCH(QStringList, existing);
        QFETCH(QStringList, answers);
        QFETCH(QString, states);
        QFETCH(QStringList, list);

        const QStringList names = {u"sTeam_.html"_s, u"sAllKojin_.html"_s, u"s1_.html"_s,
                                   u"s2_.html"_s,    u"s3_.html"_s,        u"s4_.html"_s};
        const QString renamed = out(u"elsewhere/renamed.html"_s);
        for (const QString& name : existing)
            writeBytes(name == u"renamed"_s ? renamed : out(u"s"_s + name + u".html"_s), kOld.toLatin1());

        prepareSaveAll({kRoot, kStars}, u"s"_s);
        int asked = 0;
        for (int i = 0; i < names.size() && asked < answers.size(); ++i) {
            if (!existing.contains(names[i].mid(1).chopped(5)))
                continue;
            const QString& a = answers[asked++];
            const QString renameTo = a.startsWith(u"rename"_s) ? renamed : QString();
            answer(out(names[i]),
                   a.endsWith(u"yes"_s)   ? &TSaveHtmlDlg::YesBtn
                   : a.endsWith(u"all"_s) ? &TSaveHtmlDlg::AllBtn
                   : a == u"no"_s         ? &TSaveHtmlDlg::NoBtn
                                          : &TSaveHtmlDlg::CancelBtn,
                   renameTo);
        }
        if (!list.isEmpty())
            expectList();
        form().FileSaveAsItemClick();
        QVERIFY(m_ledger->dialogs().allAnswered());

        QString found;
        for (const QString& name : names)
            found += state(out(name));
        found += state(renamed);
        QCOMPARE(found, states);
        if (!list.isEmpty()) {
            QStringList expected = QStringList{u"Write Folder : "_s + out()} + list;
            expected.replaceInStrings(u"  elsewhere/"_s, u"  "_s + out(u"elsewhere/"_s));
            QCOMPARE(m_list, expected + QStringList{QString()});
        }
        for (const QString& name : names) {
            if (state(out(name)) == u'n')
                parse(out(name));
        }
    }

    void saveAllRefusals()
    {
        // Nothing selected that stands for a team.
        m_ledger->show({kRoot});
        m_ledger->dialogs().expectMessage(u"TreeViewでチームを選択してください"_s);
        form().FileSaveAsItemClick();
        form().TreeView1->clearSelection();
        m_ledger->dialogs().expectMessage(u"TreeViewでチームを選択してください"_s);
        form().FileSaveAsItemClick();
        // The prefix cancelled.
        prepareSaveAll({kRoot, kHtmlOsaka, kTotals}, std::nullopt);
        form().FileSaveAsItemClick();
        QCOMPARE(QDir(out()).entryList(QDir::Files), QStringList{});
        // An empty prefix writes the bare names.
        prepareSaveAll({kRoot, kHtmlOsaka, u"加藤[9]"_s}, QString());
        expectList();
        form().FileSaveAsItemClick();
        QCOMPARE(QDir(out()).entryList(QDir::Files, QDir::Name),
                 (QStringList{u"1_.html"_s, u"AllKojin_.html"_s, u"Team_.html"_s}));
    }

    void singleSaveQuestions()
    {
        m_ledger->show({kRoot, kHtmlOsaka});
        // The file dialog cancelled.
        m_ledger->dialogs().expectSaveFile(std::nullopt);
        form().FileSave1Execute();
        // Overwriting refused, then allowed.
        const QString path = out(u"osaka.html"_s);
        writeBytes(path, kOld.toLatin1());
        saveView(path, u"上書きしてもよろしいですか？"_s, platform::mrCancel);
        QCOMPARE(state(path), u'o');
        QVERIFY(m_ledger->shell().opened.isEmpty());
        saveView(path, u"上書きしてもよろしいですか？"_s, platform::mrOk);
        QCOMPARE(state(path), u'n');
        QCOMPARE(m_ledger->shell().opened, QStringList{path});
        // Saved, but no program can show it.
        m_ledger->shell().opens = false;
        const QString unshown = out(u"unshown.html"_s);
        saveView(unshown, u"保存しましたが、ブラウザで表示できませんでした\n"_s + unshown);
        QCOMPARE(state(unshown), u'n');
        // A grid that holds no view.
        form().ClearGrid();
        saveView(out(u"none.html"_s), u"選択されていません"_s);
        QCOMPARE(m_ledger->dialogs().lastFileOptions().fileName, QString());
        QVERIFY(!QFile::exists(out(u"none.html"_s)));
    }

    // A node reached with the keys has not shown its view: the page is the view that the grid holds.
    void pageFollowsTheGrid()
    {
        m_ledger->show({kRoot, kStars});
        form().TreeView1->setCurrentItem(m_ledger->node({kRoot, kStars, kTotals}));
        saveView(out(u"grid.html"_s));
        QCOMPARE(m_ledger->dialogs().lastFileOptions().fileName, u"Team_.html"_s);
        QCOMPARE(tableRows(parse(out(u"grid.html"_s))).value(0), u"日付|大会名|場所|対戦相手|得点|勝敗"_s);
    }

    void writeFailures()
    {
        const QString plain = out(u"plain"_s);
        writeBytes(plain, "x");
        // A single page under a regular file.
        m_ledger->show({kRoot});
        // Why, on the warning output: the file and the system's reason.
        QTest::ignoreMessage(
            QtWarningMsg, qPrintable(u"保存に失敗しました: "_s + plain + u"/page.html: Not a directory"_s));
        saveView(plain + u"/page.html"_s, u"保存に失敗しました"_s);
        QVERIFY(m_ledger->shell().opened.isEmpty());

        // A save-all stops at the first page it cannot write; what it wrote before is listed.
        QDir(out()).mkpath(u"f1_.html"_s);
        prepareSaveAll({kRoot, kStars}, u"f"_s);
        answer(out(u"f1_.html"_s), &TSaveHtmlDlg::YesBtn);
        m_ledger->dialogs().expectMessage(u"保存に失敗しました"_s);
        expectList();
        form().FileSaveAsItemClick();
        QCOMPARE(m_list,
                 (QStringList{u"Write Folder : "_s + out(), u"WriteFile:  fTeam_.html"_s,
                              u"WriteFile:  fAllKojin_.html"_s, u"WriteError:  f1_.html"_s, QString()}));
        QVERIFY(!QFile::exists(out(u"f2_.html"_s)));

        // An output folder under a regular file: nothing written, nothing listed.
        m_ledger->option().SaveFilePath->setText(plain);
        prepareSaveAll({kRoot, kHtmlOsaka}, u"g"_s);
        m_ledger->dialogs().expectMessage(u"保存に失敗しました"_s);
        form().FileSaveAsItemClick();
        QVERIFY(m_ledger->dialogs().allAnswered());
    }

    // The menu items, the tool buttons and the keys reach the two commands.
    void commandsFromTheWindow()
    {
        m_ledger->show({kRoot, kHtmlOsaka});
        form().show();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        auto* saveButton = form().findChild<QAction*>(u"ToolButton2"_s);
        auto* saveAllButton = form().findChild<QAction*>(u"ToolButton3"_s);
        QVERIFY(saveButton && saveAllButton);
        const std::function<void()> saves[] = {
            [&] { form().FileSave1->trigger(); }, [&] { saveButton->trigger(); },
            [&] { QTest::keyClick(form().TreeView1, Qt::Key_S, Qt::ControlModifier); }};
        for (const auto& save : saves) {
            m_ledger->dialogs().expectSaveFile(std::nullopt);
            save();
        }
        const std::function<void()> saveAlls[] = {
            [&] { form().FileSaveAsItem->trigger(); }, [&] { saveAllButton->trigger(); },
            [&] { QTest::keyClick(form().TreeView1, Qt::Key_A, Qt::ControlModifier); }};
        for (const auto& saveAll : saveAlls) {
            m_ledger->dialogs().expectInput(std::nullopt);
            saveAll();
        }
        QVERIFY(m_ledger->dialogs().allAnswered());
        QCOMPARE(m_ledger->dialogs().shown().size(), 6);
    }

    // The question about an existing file and the list of written files, as a save-all shows them.
    void screenshots()
    {
        const QString folder = qEnvironmentVariable("HOOP_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("set HOOP_SCREENSHOTS to a folder to save the HTML save dialog's pictures");
        writeBytes(out(u"sTeam_.html"_s), kOld.toLatin1());
        prepareSaveAll({kRoot, kStars}, u"s"_s);
        QStringList saved;
        // Each picture, then the answer: "全て上書き" to the question, the close box to the list.
        auto shoot = [&folder, &saved](const QString& name, int answer) {
            return [&folder, &saved, name, answer](QDialog& dialog) {
                dialog.show();
                if (dialog.grab().save(QDir(folder).filePath(name)))
                    saved << name;
                return answer;
            };
        };
        m_ledger->dialogs().expectModal(u"SaveHtmlDlg"_s, shoot(u"ledger_html_ask.png"_s, mrAll));
        m_ledger->dialogs().expectModal(u"SaveHtmlDlg"_s,
                                        shoot(u"ledger_html_list.png"_s, platform::mrCancel));
        form().FileSaveAsItemClick();
        QVERIFY(m_ledger->dialogs().allAnswered());
        QCOMPARE(saved, (QStringList{u"ledger_html_ask.png"_s, u"ledger_html_list.png"_s}));
    }

    void unsetOutputFolder()
    {
        // Never the root of the file system: the program's own folder.
        m_ledger->option().SaveFilePath->setText(QString());
        QCOMPARE(HtmlOutputFolder(), m_ledger->folder());
        m_ledger->option().SaveFilePath->setText(out() + u"/"_s);
        QCOMPARE(HtmlOutputFolder(), out());
    }
};

QTEST_MAIN(tst_ledger_html)
#include "tst_ledger_html.moc"
