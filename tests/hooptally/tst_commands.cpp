// The main window's commands as the scorer reaches them: the menu bar, the tool bar, the shortcut
// keys, the team pop-up and the play-by-play pop-up, the executor's command codes, and what each
// command leaves behind (the game, the files, the question about unsaved changes).
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/Tdbgform.h"
#include "hooptally/Texecute.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "hooptally/Ttourokumenber.h"
#include "platform/IniFile.h"
#include "platform/StringGrid.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"
#include "support/SheetHelpers.h"
#include "support/UserInput.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

const QString kQuestion = QStringLiteral("変更されています、ゲーム情報を保存しますか？");

QAction* action(Program& program, const char* name)
{
    auto* found = program.form().findChild<QAction*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no action %s", name);
    return found;
}

// The main window shown and active, so that its shortcuts work.
void showActive(Program& program)
{
    program.form().show();
    program.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&program.form()));
}

// Two teams with starters and one logged basket: a game with unsaved changes.
TPlayer* changedGame(Program& program)
{
    TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
    program.addPlayer(2, QStringLiteral("5"), QStringLiteral("田中"), true);
    program.act(a4, kTwoPointMade);
    return a4;
}

// How the close question is answered before a command that replaces the game.
enum Answer { NoChanges, AnswerNo, AnswerCancel, AnswerYesSaveCancelled, AnswerYesSaved };

void expectCloseQuestion(Program& program, int answer)
{
    switch (Answer(answer)) {
    case NoChanges:
        break;
    case AnswerNo:
        program.dialogs().expectMessage(kQuestion, platform::mrNo);
        break;
    case AnswerCancel:
        program.dialogs().expectMessage(kQuestion, platform::mrCancel);
        break;
    case AnswerYesSaveCancelled:
        program.dialogs().expectMessage(kQuestion, platform::mrYes).expectSaveFile(std::nullopt);
        break;
    case AnswerYesSaved:
        program.dialogs()
            .expectMessage(kQuestion, platform::mrYes)
            .expectSaveFile(program.path("saved.game"));
        break;
    }
}

// "button:caption" clicks the tool button with that caption; any other name triggers that action.
void clickToolButtonOrTrigger(Program& program, const QString& item)
{
    if (!item.startsWith(QStringLiteral("button:"))) {
        action(program, qPrintable(item))->trigger();
        return;
    }
    for (QAction* button : program.form().ToolBar1->actions()) {
        if (button->iconText() == item.mid(7)) {
            qobject_cast<QToolButton*>(program.form().ToolBar1->widgetForAction(button))->click();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no tool button ") + item));
}

bool commandGoesOn(int answer)
{
    return answer == NoChanges || answer == AnswerNo || answer == AnswerYesSaved;
}

void addCloseQuestionRows()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("nothing changed: no question") << int(NoChanges);
    QTest::newRow("No: goes on unsaved") << int(AnswerNo);
    QTest::newRow("Cancel: nothing happens") << int(AnswerCancel);
    QTest::newRow("Yes, save dialog cancelled: nothing happens") << int(AnswerYesSaveCancelled);
    QTest::newRow("Yes, saved: goes on") << int(AnswerYesSaved);
}

// Ticks the players of the court-players dialog by their numbers, the starter box as given.
std::function<int(QDialog&)> tickCourt(const QStringList& numbers, bool starters, int result = platform::mrOk)
{
    return [numbers, starters, result](QDialog& dialog) {
        auto& court = static_cast<TTourokuMember&>(dialog);
        for (int i = 0; i < court.CheckListBox1->count(); ++i) {
            const bool tick = numbers.contains(court.ItemPlayer(i)->number);
            court.CheckListBox1->item(i)->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
        }
        court.StarterChkBx->setChecked(starters);
        return result;
    };
}

QStringList onCourt(const TTeam& team)
{
    QStringList numbers;
    for (int i = 0; i < team.Count(); ++i) {
        if (team.PlayerAt(i)->status == kOnCourt)
            numbers << team.PlayerAt(i)->number;
    }
    return numbers;
}

QStringList starters(const TTeam& team)
{
    QStringList numbers;
    for (int i = 0; i < team.Count(); ++i) {
        if (team.PlayerAt(i)->starter == 1 && team.PlayerAt(i)->status != kBlankRow)
            numbers << team.PlayerAt(i)->number;
    }
    return numbers;
}

} // namespace

class tst_commands : public QObject
{
    Q_OBJECT
private slots:
    // Every command is on the menu bar; the tool bar carries the buttons of the layout.
    void menuBarAndToolBar()
    {
        Program program;
        QStringList titles;
        for (QAction* menu : program.form().menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"ファイル(&F)", "編集(&E)", "チーム(&T)", "試合(&G)", "表示(&V)",
                                      "ツール(&L)", "ヘルプ(&H)"}));
        const std::tuple<const char*, QString, QKeySequence> actions[] = {
            {"FileNew1", "新規作成(&N)", QKeySequence("Ctrl+N")},
            {"FileOpen1", "開く(&O)...", QKeySequence("Ctrl+O")},
            {"OpenItem", "試合結果を開く(&O)...", QKeySequence("Ctrl+O")},
            {"FileSave1", "上書き保存(&S)", QKeySequence("Ctrl+S")},
            {"SaveItem", "試合結果を保存(&S)...", QKeySequence("Ctrl+S")},
            {"FileSaveAs1", "名前をつけて保存(&A)...", QKeySequence()},
            {"SaveHtml", "試合結果をHtmlで保存...(&h)", QKeySequence("Ctrl+H")},
            {"OfficialSave", "試合結果をｵﾌｨｼｬﾙで保存..(&F)", QKeySequence("Ctrl+F")},
            {"FileExit1", "終了(&X)", QKeySequence()},
            {"ctrlZ1", "元に戻す(&U)", QKeySequence("Ctrl+Z")},
            {"EditCut1", "切り取り(&T)", QKeySequence("Ctrl+X")},
            {"EditCopy1", "コピー(&C)", QKeySequence("Ctrl+C")},
            {"EditPaste1", "貼り付け(&P)", QKeySequence("Ctrl+V")},
            {"R1", "再読み込み(&R)", QKeySequence()},
            {"ReadTeamA", "Ｒｅａｄ(&R)", QKeySequence()},
            {"WriteTeamA", "Write(&W)", QKeySequence()},
            {"N4", "チーム名(&N)", QKeySequence()},
            {"ReadTeamB", "Read(&R)", QKeySequence()},
            {"N5", "チーム名(&N)", QKeySequence()},
            {"CoatPlayerTeamA", "TeamA(&A)", QKeySequence()},
            {"CoatPlayerTeamB", "TeamB(&B)", QKeySequence()},
            {"MenuPeriodEnd", "ﾋﾟﾘｵﾄﾞ終了(&P)", QKeySequence()},
            {"MenuGameEnd", "試合終了(&G)", QKeySequence()},
            {"Optiono2", "Option(&O)", QKeySequence()},
            {"Hoopledger1", "Hoopledger起動", QKeySequence()},
            {"HelpAbout1", "バージョン情報(&A)...", QKeySequence()},
        };
        for (const auto& [name, text, keys] : actions) {
            QAction* found = action(program, name);
            QVERIFY2(found, name);
            QCOMPARE(found->text(), text);
            QCOMPARE(found->shortcut(), keys);
            QVERIFY2(!found->statusTip().isEmpty(), name);
        }
        QStringList buttons;
        for (QAction* button : program.form().ToolBar1->actions()) {
            if (!button->isSeparator())
                buttons << button->iconText();
        }
        QCOMPARE(buttons.size(), 17);
        for (const char* caption : {"シート保存", "ﾌﾟﾚｲﾔｰ選択(A)", "ﾌﾟﾚｲﾔｰ選択(B)", "再読み込み", "元に戻す"})
            QVERIFY2(buttons.contains(caption), caption);
        QCOMPARE(action(program, "R1")->statusTip(), QStringLiteral("再読み込み & プレイヤーのソート"));
        QCOMPARE(action(program, "Hoopledger1")->toolTip(), QStringLiteral("Hoopledger起動"));
    }

    // The status bar shows the hint of the item or button under the pointer.
    void statusBarShowsHints()
    {
        Program program;
        showActive(program);
        QWidget* reload = program.form().ToolBar1->widgetForAction(action(program, "R1"));
        QVERIFY(reload);
        QTest::mouseMove(reload);
        QTRY_COMPARE(program.form().StatusBar->currentMessage(),
                     QStringLiteral("再読み込み & プレイヤーのソート"));
        action(program, "FileNew1")->showStatusText(&program.form());
        QCOMPARE(program.form().StatusBar->currentMessage(), QStringLiteral("新規作成"));
    }

    // The shortcut keys reach their commands from anywhere in the main window.
    void shortcutKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("Ctrl+O opens") << int(Qt::Key_O) << "open file:";
        QTest::newRow("Ctrl+S saves") << int(Qt::Key_S) << "save file:";
        QTest::newRow("Ctrl+H writes the report") << int(Qt::Key_H) << "modal: SaveHtmlDlg";
        QTest::newRow("Ctrl+F saves the picture") << int(Qt::Key_F) << "save file:";
    }
    void shortcutKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, prompt);
        Program program;
        showActive(program);
        if (prompt == "open file:")
            program.dialogs().expectOpenFile(std::nullopt);
        else if (prompt == "save file:")
            program.dialogs().expectSaveFile(std::nullopt);
        else
            program.dialogs().expectModal(QStringLiteral("SaveHtmlDlg"),
                                          [](QDialog&) { return platform::mrCancel; });
        program.form().GridPlaying->setFocus();
        QTest::keyClick(&program.form(), Qt::Key(key), Qt::ControlModifier);
        QVERIFY(program.dialogs().allAnswered());
        QVERIFY(program.dialogs().shown().value(0).startsWith(prompt));
    }

    // Ctrl+N and Ctrl+Z as the scorer presses them.
    void newGameAndUndoKeys()
    {
        Program program;
        showActive(program);
        TPlayer* a4 = changedGame(program);
        program.act(a4, kThreePointMade);
        program.form().GridPlaying->setFocus();
        program.form().GridPlaying->SetRow(2);
        QTest::keyClick(program.form().GridPlaying, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(program.teamA().TeamPoints(-1), 2);
        QCOMPARE(program.form().PlayLog().Count(), 1);
        // In a text field Ctrl+Z undoes the typing; the log stays.
        program.form().PageControl1->setCurrentIndex(0);
        program.form().Basho->setFocus();
        QTest::keyClicks(program.form().Basho, QStringLiteral("ab"));
        QTest::keyClick(program.form().Basho, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(program.form().PlayLog().Count(), 1);
        QCOMPARE(program.form().Basho->text(), QString());
        program.dialogs().expectMessage(kQuestion, platform::mrNo);
        QTest::keyClick(&program.form(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.form().PlayLog().Count(), 0);
        QCOMPARE(program.teamA().Count(), 1);
        // Undo on an empty log does nothing.
        program.form().GridPlaying->setFocus();
        QTest::keyClick(program.form().GridPlaying, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(program.form().PlayLog().Count(), 0);
    }

    // A new game empties the teams and their names, the tournament and the place; the rest of the game
    // information and the current game file stay.
    void newGame_data() { addCloseQuestionRows(); }
    void newGame()
    {
        QFETCH(int, answer);
        Program program;
        THooptallyForm& form = program.form();
        if (answer != NoChanges)
            changedGame(program);
        form.TeamAName->setText(QStringLiteral("東京"));
        form.TeamBName->setText(QStringLiteral("大阪"));
        program.teamA().name = QStringLiteral("東京");
        form.Taikaimei->setText(QStringLiteral("大会"));
        form.Basho->setText(QStringLiteral("体育館"));
        form.TaikaiNo->setText(QStringLiteral("12"));
        form.shushin->setText(QStringLiteral("主審"));
        form.Senhyou->setPlainText(QStringLiteral("戦評"));
        form.SetCurrentGameFile(program.path("old.game"));
        expectCloseQuestion(program, answer);
        action(program, "FileNew1")->trigger();
        QVERIFY(program.dialogs().allAnswered());
        const bool goesOn = commandGoesOn(answer);
        QCOMPARE(form.PlayLog().Count(), goesOn ? 0 : 1);
        QCOMPARE(program.teamA().name, goesOn ? QString() : QStringLiteral("東京"));
        QCOMPARE(program.teamB().name, QString());
        QCOMPARE(form.TeamAName->text(), goesOn ? QString() : QStringLiteral("東京"));
        if (goesOn)
            QCOMPARE(form.TeamALabel->text(), QString());
        QCOMPARE(form.Taikaimei->text(), goesOn ? QString() : QStringLiteral("大会"));
        QCOMPARE(form.Basho->text(), goesOn ? QString() : QStringLiteral("体育館"));
        QCOMPARE(form.TaikaiNo->text(), QStringLiteral("12"));
        QCOMPARE(form.shushin->text(), QStringLiteral("主審"));
        QCOMPARE(form.Senhyou->toPlainText(), QStringLiteral("戦評"));
        QCOMPARE(form.CurrentGameFile(), program.path(answer == AnswerYesSaved ? QStringLiteral("saved.game")
                                                                               : QStringLiteral("old.game")));
        QCOMPARE(QFileInfo::exists(program.path("saved.game")), answer == AnswerYesSaved);
        if (answer != NoChanges)
            QCOMPARE(form.LaCount1st->text(), goesOn ? QStringLiteral("00  -  00") : QStringLiteral("02  -  00"));
        QCOMPARE(form.TeamATotalCnt->text(), QString(goesOn || answer == NoChanges ? "000" : "002"));
    }

    // The next save after a new game proposes the old file's name and folder.
    void newGameKeepsTheCurrentFile()
    {
        Program program;
        changedGame(program);
        const QString path = program.path(QStringLiteral("first.game"));
        program.dialogs().expectSaveFile(path);
        QVERIFY(program.form().SaveGame());
        action(program, "FileNew1")->trigger();
        program.dialogs().expectSaveFile(std::nullopt);
        action(program, "FileSave1")->trigger();
        QCOMPARE(program.dialogs().lastFileOptions().fileName, QStringLiteral("first.game"));
        QCOMPARE(program.dialogs().lastFileOptions().initialDir, program.folder());
        QCOMPARE(program.dialogs().lastFileOptions().defaultExt, QStringLiteral("game"));
    }

    // Save and save as both show the dialog; a declined overwrite writes nothing and keeps the name.
    void saveAsAnExistingName_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("overwrite");
        QTest::newRow("save, overwrite declined") << "FileSave1" << int(platform::mrNo);
        QTest::newRow("save as, overwrite declined") << "FileSaveAs1" << int(platform::mrNo);
        QTest::newRow("menu item, overwritten") << "SaveItem" << int(platform::mrYes);
    }
    void saveAsAnExistingName()
    {
        QFETCH(QString, item);
        QFETCH(int, overwrite);
        Program program;
        changedGame(program);
        const QString existing = program.path(QStringLiteral("exists.game"));
        writeLines(existing, {QStringLiteral("old")});
        program.form().SetCurrentGameFile(program.path(QStringLiteral("current.game")));
        program.dialogs().expectSaveFile(existing).expectMessage(
            QStringLiteral("上書きしますよろしいですか？"), overwrite);
        action(program, qPrintable(item))->trigger();
        QVERIFY(program.dialogs().allAnswered());
        const bool written = overwrite == platform::mrYes;
        QCOMPARE(readBytes(existing) == QByteArray("old\r\n"), !written);
        QCOMPARE(program.form().CurrentGameFile(),
                 written ? existing : program.path(QStringLiteral("current.game")));
        QCOMPARE(program.form().IsGameModified(), !written);
    }

    // A save that fails says so; the chosen name is already the current game file, nothing is saved.
    void saveFailure()
    {
        Program program;
        changedGame(program);
        const QString path = program.path(QStringLiteral("missing/x.game"));
        program.dialogs().expectSaveFile(path).expectMessage(QStringLiteral("保存に失敗しました"));
        program.command(kSaveGame);
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.form().CurrentGameFile(), path);
        QVERIFY(program.form().IsGameModified());
        // Why, for whoever diagnoses it: the file and the system's reason.
        const QString logged = DbgForm()->Memo1->toPlainText();
        QVERIFY2(logged.contains(path + QStringLiteral(": ")) && logged.contains(QStringLiteral("No such file")),
                 qPrintable(logged));
    }

    // Reading a roster from the menus, the tool bar, the Stats buttons or the team pop-up asks first
    // when the game has unsaved changes.
    void readRosterAsksFirst_data() { addCloseQuestionRows(); }
    void readRosterAsksFirst()
    {
        QFETCH(int, answer);
        const char* const sources[] = {"menu", "button", "image", "pop-up", "executor"};
        for (const char* source : sources) {
            Program program;
            if (answer != NoChanges)
                changedGame(program);
            const int logged = program.form().PlayLog().Count();
            const QString path = program.path(QStringLiteral("a.member"));
            writeMemberFile(path, {QStringLiteral("東京,1,7,佐藤,F,Starter,,")});
            expectCloseQuestion(program, answer);
            if (commandGoesOn(answer))
                program.dialogs().expectOpenFile(path);
            if (QByteArray(source) == "menu") {
                action(program, "ReadTeamA")->trigger();
            } else if (QByteArray(source) == "button") {
                program.form().BitBtn1->click();
            } else if (QByteArray(source) == "image") {
                showActive(program);
                QTest::mouseClick(program.form().OpenA, Qt::LeftButton);
            } else if (QByteArray(source) == "pop-up") {
                showSheets(program);
                const SheetArea& name = program.form().TeamGrids().areas.teamName;
                rightClickCell(*program.form().GridTeamA, name.lastColumn, name.lastRow);
                QVERIFY(chooseItem(program.form(), QStringLiteral("ﾁｰﾑRead")));
            } else {
                program.command(kReadRosterA);
            }
            QVERIFY2(program.dialogs().allAnswered(), source);
            QCOMPARE(program.teamA().name, commandGoesOn(answer) ? QStringLiteral("東京") : QString());
            if (!commandGoesOn(answer))
                QCOMPARE(program.form().PlayLog().Count(), logged);
            else
                QVERIFY(program.form().IsGameModified());
        }
    }

    // A file that is no roster is refused before anything changes, by the menu's team read and as the
    // start-up roster of the settings alike: it never becomes the team's roster file.
    void readRosterRefusesOtherFiles_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("atStartUp");
        const QList<std::pair<const char*, QStringList>> files{
            {"empty file", {}},
            {"text file", {"東京,1,7,佐藤,F,Starter,,"}},
            {"picture bytes", {"\xff\xd8\xff\xe0"}},
            // A team's read takes no section of a game file: it would empty the team and restart the game.
            {"game file",
             {"#Hooptally", "02.03.01", "TeamA-Start", "東京,1,7,佐藤,F,Starter,,", "TeamA-End"}}};
        for (const auto& [name, lines] : files) {
            QTest::addRow("%s", name) << lines << false;
            QTest::addRow("%s at start-up", name) << lines << true;
        }
    }
    void readRosterRefusesOtherFiles()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, atStartUp);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("other.member"));
        writeLines(path, lines);
        const QString refusal = QStringLiteral("ファイルを読み込めません\n") + path;
        if (atStartUp) {
            startWithRefusedRoster(path, refusal);
            return;
        }
        Program program;
        TPlayer* a4 = changedGame(program);
        program.dialogs().expectOpenFile(path).expectMessage(refusal);
        program.form().BitBtn1Click();
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.teamA().PlayerAt(0), a4);
        QCOMPARE(program.teamA().TeamPoints(-1), 2);
        QCOMPARE(program.form().PlayLog().Count(), 1);
        QVERIFY(IsGridUpdateOn());
    }

    // The team name: asked with the current name, refused and asked again when a file could not hold
    // it, shown on the score panel, the Stats bar and the team sheet.
    void teamName_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("answers"); // "" = cancel
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("name");
        QTest::newRow("click on the label") << "click" << QStringList{"東京"} << ""
                                            << "東京";
        QTest::newRow("menu of team B") << "N5" << QStringList{"大阪"} << ""
                                        << "大阪";
        QTest::newRow("executor command 17") << "17" << QStringList{"名古屋"} << ""
                                             << "名古屋";
        QTest::newRow("comma refused, asked again")
            << "N4" << QStringList{"Tokyo, A", "Tokyo A"} << "カンマ(,)は使用できません"
            << "Tokyo A";
        QTest::newRow("leading # refused") << "click" << QStringList{"#1", "No1"} << "先頭に#は使用できません"
                                           << "No1";
        QTest::newRow("character CP932 cannot hold")
            << "N4" << QStringList{"😀", ""} << "使用できない文字が含まれています"
            << "旧名";
        QTest::newRow("cancelled") << "N4" << QStringList{""} << ""
                                   << "旧名";
        QTest::newRow("same name again") << "N4" << QStringList{"旧名"} << ""
                                         << "旧名";
    }
    void teamName()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, answers);
        QFETCH(QString, refusal);
        QFETCH(QString, name);
        Program program;
        THooptallyForm& form = program.form();
        const int side = source == "N5" || source == "18" ? 2 : 1;
        TTeam& team = side == 1 ? program.teamA() : program.teamB();
        QLabel* label = side == 1 ? form.TeamAName : form.TeamBName;
        label->setText(QStringLiteral("旧名"));
        team.name = QStringLiteral("旧名");
        for (int i = 0; i < answers.size(); ++i) {
            program.dialogs().expectInput(answers[i].isEmpty() ? std::nullopt
                                                               : std::optional<QString>(answers[i]));
            if (i == 0 && !refusal.isEmpty())
                program.dialogs().expectMessage(refusal);
        }
        if (source == "click") {
            showActive(program);
            QTest::mouseClick(label, Qt::LeftButton);
        } else if (source == "17" || source == "18") {
            program.command(std::uint8_t(source.toInt()));
        } else {
            action(program, qPrintable(source))->trigger();
        }
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.dialogs().shown().value(0),
                 QStringLiteral("input: チーム名を入力してください [Quillmarsh] 旧名"));
        // Asked again from what was typed.
        if (answers.size() > 1)
            QVERIFY(program.dialogs().shown().value(2).endsWith(answers[0]));
        QCOMPARE(team.name, name);
        QCOMPARE(label->text(), name);
        QCOMPARE((side == 1 ? form.TeamALabel : form.TeamBLabel)->text(), name == "旧名" ? QString() : name);
        QVERIFY(IsKeyInputEnabled());
        QCOMPARE(form.IsGameModified(), name != "旧名");
        if (name != "旧名") {
            const SheetArea& area = form.TeamGrids().areas.teamName;
            QCOMPARE((side == 1 ? form.GridTeamA : form.GridTeamB)->Cells(area.firstColumn, area.firstRow),
                     name);
        }
    }

    // The team pop-up's "新規": a new empty team for the sheet it opened on; the other team keeps its
    // roster and its starters are back on court.
    void newTeamFromTheSheet_data() { addCloseQuestionRows(); }
    void newTeamFromTheSheet()
    {
        QFETCH(int, answer);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("田中"), true);
        program.addPlayer(2, QStringLiteral("6"), QStringLiteral("中村"));
        program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"), true);
        form.TeamAName->setText(QStringLiteral("東京"));
        program.teamA().name = QStringLiteral("東京");
        if (answer != NoChanges)
            program.act(b5, kThreePointMade);
        else
            form.MarkGameSaved();
        showSheets(program);
        const SheetArea& name = form.TeamGrids().areas.teamName;
        rightClickCell(*form.GridTeamA, name.lastColumn, name.lastRow);
        expectCloseQuestion(program, answer);
        QVERIFY(chooseItem(form, QStringLiteral("新規")));
        QVERIFY(program.dialogs().allAnswered());
        if (!commandGoesOn(answer)) {
            QCOMPARE(program.teamA().Count(), 2);
            QCOMPARE(program.teamB().TeamPoints(-1), 3);
            return;
        }
        QCOMPARE(program.teamA().Count(), 1);
        QCOMPARE(program.teamA().PlayerAt(0)->status, std::uint8_t(kBlankRow));
        QCOMPARE(program.teamA().name, QString());
        QCOMPARE(form.TeamAName->text(), QString());
        QCOMPARE(program.teamB().PlayerAt(0), b5);
        QCOMPARE(program.teamB().TeamPoints(-1), 0);
        QCOMPARE(form.TeamBTotalCnt->text(), QStringLiteral("000"));
        QCOMPARE(onCourt(program.teamB()), QStringList{"5"});
        QCOMPARE(form.PlayLog().Count(), 0);
        QVERIFY(form.IsGameModified());
    }

    // "チーム名" asks for the name of the team whose sheet the pop-up opened on.
    void teamNameFromTheSheet()
    {
        Program program;
        showSheets(program);
        const SheetArea& name = program.form().TeamGrids().areas.teamName;
        rightClickCell(*program.form().GridTeamB, name.lastColumn, name.lastRow);
        program.dialogs().expectInput(QStringLiteral("大阪"));
        QVERIFY(chooseItem(program.form(), QStringLiteral("チーム名")));
        QCOMPARE(program.teamB().name, QStringLiteral("大阪"));
        QCOMPARE(program.teamA().name, QString());
    }

    // Writing a roster says how it went for both teams; a declined overwrite says nothing.
    void writeRosterFromTheMenus_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("report");
        QTest::newRow("team A written") << "WriteTeamA"
                                        << "a.member"
                                        << "保存が完了しました";
        QTest::newRow("team B written") << "WriteTeamB"
                                        << "b.member"
                                        << "保存が完了しました";
        QTest::newRow("team A failed") << "WriteTeamA"
                                       << "missing/a.member"
                                       << "保存に失敗しました";
        QTest::newRow("team B failed") << "WriteTeamB"
                                       << "missing/b.member"
                                       << "保存に失敗しました";
        QTest::newRow("team A overwrite declined") << "WriteTeamA"
                                                   << "old.member"
                                                   << "";
    }
    void writeRosterFromTheMenus()
    {
        QFETCH(QString, item);
        QFETCH(QString, target);
        QFETCH(QString, report);
        Program program;
        writeLines(program.path("old.member"), {QStringLiteral("#Hooproster")});
        program.addPlayer(item.endsWith('A') ? 1 : 2, QStringLiteral("4"), QStringLiteral("青木"), true);
        program.dialogs().expectSaveFile(program.path(target));
        if (report.isEmpty())
            program.dialogs().expectMessage(QStringLiteral("上書きしますよろしいですか？"), platform::mrNo);
        else
            program.dialogs().expectMessage(report);
        action(program, qPrintable(item))->trigger();
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.dialogs().shown().size(), 2);
    }

    // Writing a roster proposes the roster file last read or written; a game file is none, so that the
    // roster is not written over the game.
    void writeRosterProposesTheLastRosterFile_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("after a roster read") << "read roster" << "a.member";
        QTest::newRow("after a roster write") << "write roster" << "w.member";
        QTest::newRow("after opening a game") << "open game" << "";
        QTest::newRow("after a roster read and opening a game") << "read roster, open game" << "";
    }
    void writeRosterProposesTheLastRosterFile()
    {
        QFETCH(QString, before);
        QFETCH(QString, proposed);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = changedGame(program);
        program.act(a4, kThreePointMade);
        const QString game = program.path(QStringLiteral("g.game"));
        program.dialogs().expectSaveFile(game);
        action(program, "FileSave1")->trigger();
        const QByteArray saved = readBytes(game);
        if (before.startsWith("read roster")) {
            writeMemberFile(program.path("a.member"), {QStringLiteral("東京,1,7,佐藤,F,Starter,,")});
            program.dialogs().expectOpenFile(program.path("a.member"));
            action(program, "ReadTeamA")->trigger();
        }
        if (before == "write roster") {
            program.dialogs()
                .expectSaveFile(program.path("w.member"))
                .expectMessage(QStringLiteral("保存が完了しました"));
            action(program, "WriteTeamA")->trigger();
        }
        if (before.endsWith("open game")) {
            if (form.IsGameModified())
                program.dialogs().expectMessage(kQuestion, platform::mrNo);
            program.dialogs().expectOpenFile(game);
            action(program, "FileOpen1")->trigger();
            QCOMPARE(program.teamA().PlayerAt(0)->name, QStringLiteral("青木"));
        }
        QVERIFY(program.dialogs().allAnswered());
        program.dialogs().expectSaveFile(std::nullopt);
        action(program, "WriteTeamA")->trigger();
        QVERIFY(program.dialogs().allAnswered());
        const platform::FileDialogOptions& options = program.dialogs().lastFileOptions();
        QCOMPARE(options.fileName, proposed.isEmpty() ? QString() : program.path(proposed));
        QCOMPARE(options.initialDir, program.option().TeamFileFolder());
        QCOMPARE(readBytes(game), saved);
    }

    // Settings: OK saves and applies them and replays; a changed mini-basket switch asks to restart.
    void settings_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("toggleMini");
        QTest::addColumn<int>("restart"); // answer to the restart question, 0 = none asked
        QTest::newRow("cancelled") << int(platform::mrCancel) << true << 0;
        QTest::newRow("OK, switch unchanged") << int(platform::mrOk) << false << 0;
        QTest::newRow("switch changed, No puts it back")
            << int(platform::mrOk) << true << int(platform::mrNo);
        QTest::newRow("switch changed, Yes ends the program")
            << int(platform::mrOk) << true << int(platform::mrYes);
    }
    void settings()
    {
        QFETCH(int, result);
        QFETCH(bool, toggleMini);
        QFETCH(int, restart);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = changedGame(program);
        program.setClock(3, 0);
        int quits = 0;
        form.quitProgram = [&quits] { ++quits; };
        const bool mini = program.option().bMiniBasket->isChecked();
        bool keysOff = false;
        program.dialogs().expectModal(QStringLiteral("Option"), [&](QDialog&) {
            keysOff = !IsKeyInputEnabled();
            if (toggleMini)
                program.option().bMiniBasket->setChecked(!mini);
            return result;
        });
        if (restart != 0)
            program.dialogs().expectMessage(
                QStringLiteral("Official表示が変更されました。終了しますので再起動して下さい。\r\n"
                               "よろしいですか？\r\n"
                               "保存していなければ、情報が失われる可能性があります。"),
                restart);
        if (restart == platform::mrNo)
            program.dialogs().expectMessage(QStringLiteral("Official表示の変更が無効になりました"));
        action(program, "Optiono2")->trigger();
        QVERIFY(program.dialogs().allAnswered());
        QVERIFY(keysOff);
        QVERIFY(IsKeyInputEnabled());
        QCOMPARE(quits, restart == platform::mrYes ? 1 : 0);
        const bool ok = result == platform::mrOk;
        // OK resets the clock to the period length.
        QCOMPARE(form.ClockMinutes() == 3, !ok);
        if (restart == platform::mrNo) {
            QCOMPARE(program.option().bMiniBasket->isChecked(), mini);
            platform::IniFile ini(program.iniPath());
            QCOMPARE(ini.readBool(QStringLiteral("Initialize"), QStringLiteral("MiniBasket"), !mini), mini);
        }
        if (ok && restart != platform::mrYes) {
            QCOMPARE(a4->CourtTimeOf(0).onCourt, std::uint8_t(1));
            QCOMPARE(program.teamA().TeamPoints(-1), 2);
        }
        if (toggleMini && result == platform::mrCancel)
            program.option().bMiniBasket->setChecked(mini);
    }

    // The court-players dialog: ticks become court-ins and to-bench actions; with the starter box
    // the starter flags follow the ticks.
    void courtPlayers_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<bool>("starterBox");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("court");
        QTest::addColumn<QStringList>("starters");
        QTest::addColumn<bool>("modified");
        const QStringList five = {"4", "5", "6", "8", "9"};
        const QStringList swapped = {"4", "5", "6", "7", "8"};
        QTest::newRow("substitution")
            << "CoatPlayerTeamA" << swapped << false << int(platform::mrOk) << swapped << five << true;
        QTest::newRow("new starters")
            << "CoatPlayerTeamA" << swapped << true << int(platform::mrOk) << swapped << swapped << true;
        QTest::newRow("nothing changed")
            << "CoatPlayerTeamA" << five << true << int(platform::mrOk) << five << five << false;
        QTest::newRow("cancelled") << "CoatPlayerTeamA" << swapped << true << int(platform::mrCancel) << five
                                   << five << false;
        QTest::newRow("team B, from the tool bar")
            << "button:ﾌﾟﾚｲﾔｰ選択(B)" << QStringList{"11"} << false << int(platform::mrOk)
            << QStringList{"11"} << QStringList() << true;
    }
    void courtPlayers()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, ticked);
        QFETCH(bool, starterBox);
        QFETCH(int, result);
        QFETCH(QStringList, court);
        QFETCH(QStringList, starters);
        QFETCH(bool, modified);
        Program program;
        THooptallyForm& form = program.form();
        for (const char* number : {"4", "5", "6", "8", "9"})
            program.addPlayer(1, QString::fromLatin1(number), QStringLiteral("先発") + number, true);
        program.addPlayer(1, QStringLiteral("7"), QStringLiteral("控え"));
        // Team B: one player, off the court.
        TPlayer* b11 = program.addPlayer(2, QStringLiteral("11"), QStringLiteral("相手"));
        program.act(b11, kToBench);
        form.MarkGameSaved();
        form.PageControl1->setCurrentIndex(3);
        int page = -1;
        bool keysOff = false;
        program.dialogs().expectModal(QStringLiteral("TourokuMember"), [&](QDialog& dialog) {
            page = form.PageControl1->currentIndex();
            keysOff = !IsKeyInputEnabled();
            return tickCourt(ticked, starterBox, result)(dialog);
        });
        clickToolButtonOrTrigger(program, item);
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(page, 0);
        QVERIFY(keysOff);
        QCOMPARE(form.PageControl1->currentIndex(), 3);
        QVERIFY(IsKeyInputEnabled());
        TTeam& team = item.endsWith("(B)") ? program.teamB() : program.teamA();
        QCOMPARE(onCourt(team), court);
        QCOMPARE(::starters(team), starters);
        QCOMPARE(form.IsGameModified(), modified);
    }

    // Undo deletes the entry of the selected row; reload rebuilds the game from the log.
    void undoAndReload_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("clock"); // where the stopped clock stands afterwards
        QTest::newRow("undo the last basket") << "ctrlZ1" << 2 << 2 << 1 << "03:21";
        QTest::newRow("tool button of undo") << "button:元に戻す" << 1 << 3 << 1 << "03:21";
        QTest::newRow("reload") << "R1" << 1 << 5 << 2 << "05:40";
        QTest::newRow("button データの再読み込み") << "PDataReloadBtn" << 1 << 5 << 2 << "05:40";
    }
    void undoAndReload()
    {
        QFETCH(QString, item);
        QFETCH(int, row);
        QFETCH(int, points);
        QFETCH(int, entries);
        QFETCH(QString, clock);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = changedGame(program);
        program.setClock(5, 40);
        program.act(a4, kThreePointMade);
        form.MarkGameSaved();
        form.GridPlaying->SetRow(row);
        program.setClock(3, 21);
        form.TimeStartStopBClick();
        if (item == "PDataReloadBtn")
            form.PDataReloadBtn->click();
        else
            clickToolButtonOrTrigger(program, item);
        QCOMPARE(program.teamA().TeamPoints(-1), points);
        QCOMPARE(form.PlayLog().Count(), entries);
        QCOMPARE(form.IsGameModified(), entries != 2);
        QCOMPARE(form.TimerMin->text() + u':' + form.TimerSec->text(), clock);
        QVERIFY(!form.Timer1->isActive());
        QCOMPARE(form.TimeStartStopB->text(), QStringLiteral("Start"));
        QCOMPARE(form.TimeStartStopB->palette().color(QPalette::ButtonText), QColor(Qt::blue));
        QVERIFY(form.TimerModifyB->isEnabled());
    }

    // The play-by-play pop-up as a right click opens it: its three items, "挿入(&I)" only for one selected
    // row, each opening the log-edit dialog in its mode (the single form, or the range form for rows).
    void playLogPopup_data()
    {
        QTest::addColumn<int>("lastRow"); // 0: the clicked row alone; else rows 1 to lastRow selected
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("insertEnabled");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("group"); // the title of the dialog's RadioGroup1
        QTest::newRow("modify one row") << 0 << "修正(&M)" << true << "修正" << "ﾁｰﾑ選択";
        QTest::newRow("delete one row") << 0 << "削除(&D)" << true << "削除" << "ﾁｰﾑ選択";
        QTest::newRow("insert before one row") << 0 << "挿入(&I)" << true << "挿入" << "ﾁｰﾑ選択";
        QTest::newRow("modify a range") << 2 << "修正(&M)" << false << "修正" << "動作";
        QTest::newRow("delete a range") << 2 << "削除(&D)" << false << "削除" << "削除";
    }
    void playLogPopup()
    {
        QFETCH(int, lastRow);
        QFETCH(QString, item);
        QFETCH(bool, insertEnabled);
        QFETCH(QString, caption);
        QFETCH(QString, group);
        Program program;
        TPlayer* a4 = changedGame(program);
        program.act(a4, kThreePointMade);
        THooptallyForm& form = program.form();
        QCOMPARE(form.GridPlaying->PopupMenu(), form.PopupMenu1);
        QStringList items;
        for (QAction* menuItem : form.PopupMenu1->actions())
            items << menuItem->text();
        QCOMPARE(items, (QStringList{"修正(&M)", "削除(&D)", "挿入(&I)"}));
        showActive(program);
        form.PageControl1->setCurrentIndex(3);
        leftClickCell(*form.GridPlaying, 1, 2);
        if (lastRow > 0)
            form.GridPlaying->SetSelection({0, 1, form.GridPlaying->ColCount() - 1, lastRow});
        contextClickCell(*form.GridPlaying, 1, 2);
        QCOMPARE(openPopup(form), form.PopupMenu1);
        QCOMPARE(form.PopupMenu1->actions().at(2)->isEnabled(), insertEnabled);
        QString shownCaption;
        QString shownGroup;
        program.dialogs().expectModal(QStringLiteral("PlayinModify"), [&](QDialog& dialog) {
            dialog.show();
            shownCaption = dialog.windowTitle();
            shownGroup = dialog.findChild<QGroupBox*>(QStringLiteral("RadioGroup1"))->title();
            return int(platform::mrCancel);
        });
        QVERIFY(chooseItem(form, item));
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(shownCaption, caption);
        QCOMPARE(shownGroup, group);
        QCOMPARE(form.PlayLog().Count(), 2);
    }

    // The period and game end of the menus are those of the clock bar.
    void periodAndGameEndMenus()
    {
        Program program;
        changedGame(program);
        program.dialogs().expectMessage(QStringLiteral("ピリオド終了が押されました、本当によろしいですか？"),
                                        platform::mrYes);
        action(program, "MenuPeriodEnd")->trigger();
        QCOMPARE(GetCurrentPeriod(), 1);
        const int logged = program.form().PlayLog().Count();
        action(program, "MenuGameEnd")->trigger();
        QCOMPARE(program.form().PlayLog().Count(), logged + 1);
        QCOMPARE(program.form().PlayLog().Entries().back()->action.command, std::uint8_t(kGameEnd));
    }

    // The statistics program is started from beside the scoring program, or missed with a message.
    void statisticsProgram_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("present") << true;
        QTest::newRow("missing") << false;
    }
    void statisticsProgram()
    {
        QFETCH(bool, present);
        Program program;
        const QString path = program.path(QStringLiteral("Hoopledger"));
        if (present)
            writeLines(path, {QStringLiteral("x")});
        else
            program.dialogs().expectMessage(QStringLiteral("Hoopledgerが見つかりません"));
        action(program, "Hoopledger1")->trigger();
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(program.shell().started,
                 present ? QStringList{path + QStringLiteral("||") + program.folder()} : QStringList());
    }

    // Leaving the tournament field names the window after it.
    void tournamentCaption()
    {
        Program program;
        showActive(program);
        program.form().PageControl1->setCurrentIndex(0);
        program.form().Taikaimei->setFocus();
        QTest::keyClicks(program.form().Taikaimei, QStringLiteral("Cup"));
        program.form().Basho->setFocus();
        QCOMPARE(program.form().windowTitle(), QStringLiteral("フープタリ[Cup]"));
    }

    // About runs modally with the shortcut keys off; exit closes with the close question.
    void aboutAndExit()
    {
        Program program;
        bool keysOff = false;
        program.dialogs().expectModal(QStringLiteral("AboutBox"), [&keysOff](QDialog&) {
            keysOff = !IsKeyInputEnabled();
            return platform::mrOk;
        });
        action(program, "HelpAbout1")->trigger();
        QVERIFY(keysOff);
        QVERIFY(IsKeyInputEnabled());
        showActive(program);
        changedGame(program);
        program.dialogs().expectMessage(kQuestion, platform::mrCancel);
        action(program, "FileExit1")->trigger();
        QVERIFY(program.form().isVisible());
        program.dialogs().expectMessage(kQuestion, platform::mrNo);
        action(program, "FileExit1")->trigger();
        QVERIFY(!program.form().isVisible());
    }

    // Cut, copy and paste work on the focused edit control, and on nothing else.
    void cutCopyPaste()
    {
        Program program;
        showActive(program);
        THooptallyForm& form = program.form();
        form.PageControl1->setCurrentIndex(0);
        QGuiApplication::clipboard()->clear();
        form.Taikaimei->setText(QStringLiteral("春季大会"));
        form.Taikaimei->setFocus();
        form.Taikaimei->selectAll();
        action(program, "EditCopy1")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("春季大会"));
        action(program, "EditCut1")->trigger();
        QCOMPARE(form.Taikaimei->text(), QString());
        form.Senhyou->setFocus();
        action(program, "EditPaste1")->trigger();
        QCOMPARE(form.Senhyou->toPlainText(), QStringLiteral("春季大会"));
        form.GridPlaying->setFocus();
        action(program, "EditPaste1")->trigger();
        QCOMPARE(form.Senhyou->toPlainText(), QStringLiteral("春季大会"));
        // From the keyboard menu, which takes the focus while it is open: Alt+E, then C or T.
        form.Basho->setText(QStringLiteral("体育館"));
        form.Basho->setFocus();
        form.Basho->selectAll();
        const auto menuKeys = [&form](Qt::Key item) {
            QTest::keyClick(&form, Qt::Key_E, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), item);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        };
        menuKeys(Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("体育館"));
        menuKeys(Qt::Key_T);
        QCOMPARE(form.Basho->text(), QString());
    }

    // The executor's command codes 8 to 20 reach the same handlers as the menus.
    void executorCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("8 new game asks first") << int(kNewGame) << "message: " + kQuestion;
        QTest::newRow("9 read A") << int(kReadRosterA) << "message: " + kQuestion;
        QTest::newRow("10 read B") << int(kReadRosterB) << "message: " + kQuestion;
        QTest::newRow("11 write A") << int(kWriteRosterA) << "save file:";
        QTest::newRow("12 write B") << int(kWriteRosterB) << "save file:";
        QTest::newRow("14 save") << int(kSaveGame) << "save file:";
        QTest::newRow("15 report") << int(kSaveHtml) << "modal: SaveHtmlDlg";
        QTest::newRow("16 picture") << int(kSaveOfficial) << "save file:";
        QTest::newRow("17 name A") << int(kTeamNameA) << "input: チーム名を入力してください";
        QTest::newRow("18 name B") << int(kTeamNameB) << "input: チーム名を入力してください";
        QTest::newRow("20 settings") << int(kSettings) << "modal: Option";
    }
    void executorCommands()
    {
        QFETCH(int, command);
        QFETCH(QString, prompt);
        Program program;
        changedGame(program);
        if (prompt.startsWith("message:"))
            program.dialogs().expectMessage(kQuestion, platform::mrCancel);
        else if (prompt == "save file:")
            program.dialogs().expectSaveFile(std::nullopt);
        else if (prompt.startsWith("input:"))
            program.dialogs().expectInput(std::nullopt);
        else
            program.dialogs().expectModal(prompt.mid(7), [](QDialog&) { return platform::mrCancel; });
        program.command(std::uint8_t(command));
        QVERIFY(program.dialogs().allAnswered());
        QVERIFY2(program.dialogs().shown().value(0).startsWith(prompt),
                 qPrintable(program.dialogs().shown().value(0)));
        QCOMPARE(program.form().PlayLog().Count(), 1);
    }

    // The main window with a recorded game as the scorer sees it: the menu bar above the tool bar, every
    // tool button inside the window's width.
    void screenshotOfTheMainWindow()
    {
        Program program;
        THooptallyForm& form = program.form();
        recordSheetGame(program);
        form.resize(1280, 800);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.PageControl1->setCurrentIndex(1);
        QApplication::processEvents();
        QVERIFY(form.ToolBar1->geometry().top() >= form.menuBar()->geometry().bottom());
        for (QAction* button : form.ToolBar1->actions()) {
            if (QWidget* widget = form.ToolBar1->widgetForAction(button))
                QVERIFY2(widget->isVisible() && widget->geometry().right() < form.width(),
                         qPrintable(button->iconText()));
        }
        const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/mainwindow.png");
        QVERIFY(form.grab().save(path));
        qInfo("main window: %s", qPrintable(path));
    }

    // One counter of changes: each kind of change is seen by the close question, each save clears it.
    void modifiedAfterEachChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("modified");
        QTest::newRow("an action") << "action" << true;
        QTest::newRow("undo") << "undo" << true;
        QTest::newRow("team name") << "team name" << true;
        QTest::newRow("roster read") << "roster" << true;
        QTest::newRow("prompt answered") << "prompt" << true;
        QTest::newRow("prompt answered with the same text") << "same prompt" << false;
        QTest::newRow("typed officials") << "referee" << true;
        QTest::newRow("typed field kept through a same answer") << "typed then same prompt" << true;
        QTest::newRow("date after the save") << "date" << true;
        QTest::newRow("commentary alone") << "commentary" << false;
        QTest::newRow("registration that changes nothing") << "same registration" << false;
        QTest::newRow("registration with a new name") << "new name" << true;
        QTest::newRow("reload") << "reload" << false;
        QTest::newRow("new team") << "new team" << true;
    }
    void modifiedAfterEachChange()
    {
        QFETCH(QString, change);
        QFETCH(bool, modified);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* a4 = changedGame(program);
        program.dialogs().expectSaveFile(program.path("m.game"));
        QVERIFY(form.SaveGame());
        QVERIFY(!form.IsGameModified());
        QVERIFY(form.FormCloseQuery());
        if (change == "action") {
            program.act(a4, kAssist);
        } else if (change == "undo") {
            form.GridPlaying->SetRow(1);
            action(program, "ctrlZ1")->trigger();
        } else if (change == "team name") {
            program.dialogs().expectInput(QStringLiteral("東京"));
            action(program, "N4")->trigger();
        } else if (change == "roster") {
            writeMemberFile(program.path("r.member"), {QStringLiteral("東京,1,7,佐藤,F,Starter,,")});
            program.dialogs().expectOpenFile(program.path("r.member"));
            form.BitBtn1Click();
        } else if (change == "prompt" || change == "same prompt") {
            form.Taikaimei->setText(QStringLiteral("大会"));
            form.MarkGameSaved();
            program.dialogs().expectInput(change == "prompt" ? QStringLiteral("新大会")
                                                             : QStringLiteral("大会"));
            program.command(kAskTournament);
        } else if (change == "referee") {
            form.PageControl1->setCurrentIndex(0);
            typeText(form.shushin, QStringLiteral("山田"));
        } else if (change == "typed then same prompt") {
            typeText(form.Taikaimei, QStringLiteral("大会"));
            program.dialogs().expectInput(QStringLiteral("大会"));
            program.command(kAskTournament);
        } else if (change == "date") {
            form.DateTimePicker1->setDate(form.DateTimePicker1->date().addDays(1));
        } else if (change == "commentary") {
            form.Senhyou->setPlainText(QStringLiteral("好試合"));
        } else if (change == "same registration" || change == "new name") {
            auto registration = std::make_unique<PlayerRegistration>();
            registration->player = a4;
            registration->number = a4->number;
            registration->name = change == "new name" ? QStringLiteral("青木二郎") : a4->name;
            registration->position = a4->position;
            registration->starter = a4->starter;
            platform::SendMessage(&form, kRegistrationMessage, 0, std::move(registration));
        } else if (change == "reload") {
            action(program, "R1")->trigger();
        } else if (change == "new team") {
            form.ClearTeam(&program.teamB());
        }
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(form.IsGameModified(), modified);
        if (modified)
            program.dialogs().expectMessage(kQuestion, platform::mrCancel);
        QCOMPARE(form.FormCloseQuery(), !modified);
        QVERIFY(program.dialogs().allAnswered());
        program.dialogs()
            .expectSaveFile(program.path("m.game"))
            .expectMessage(QStringLiteral("上書き"), platform::mrYes);
        action(program, "FileSave1")->trigger();
        QVERIFY(!form.IsGameModified());
    }
};

QTEST_MAIN(tst_commands)
#include "tst_commands.moc"
