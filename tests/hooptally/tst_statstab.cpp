// The "Stats" page: statistic columns, the add row, opening rows, row colours and the labels.
#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include "hooptally/Common.h"
#include "hooptally/TOption.h"
#include "hooptally/TPlayerExec.h"
#include "hooptally/TPlayerTouroku.h"
#include "hooptally/Texecute.h"
#include "platform/Colors.h"
#include "platform/StringGrid.h"
#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;

namespace {

void showStatsPage(THooptallyForm& form)
{
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}

int headerWidth(const platform::StringGrid* grid, int col)
{
    return QFontMetrics(grid->CanvasFont()).horizontalAdvance(grid->Cells(col, 0));
}

QList<int> visibleColumns(const platform::StringGrid* grid)
{
    QList<int> columns;
    for (int col = 0; col < grid->ColCount(); ++col) {
        if (grid->ColWidths(col) > 0)
            columns << col;
    }
    return columns;
}

// What a user's double click sends: a click, then the double click.
void doubleClick(platform::StringGrid* grid, int col, int row)
{
    const QPoint point = grid->CellRect(col, row).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, point);
}

QColor pixelOfCell(platform::StringGrid* grid, int col, int row)
{
    const QRect rect = grid->CellRect(col, row);
    if (rect.isEmpty())
        return {};
    // Away from the text, which starts at the cell's top-left corner.
    return grid->viewport()->grab().toImage().pixelColor(rect.right() - 2, rect.bottom() - 2);
}

} // namespace

class tst_statstab : public QObject
{
    Q_OBJECT
private slots:
    void switchedColumns_data()
    {
        QTest::addColumn<QList<int>>("uncheckedItems");
        QTest::addColumn<QList<int>>("visible");
        QTest::newRow("all on") << QList<int>{} << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        QTest::newRow("fouls off") << QList<int>{6} << QList<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12};
        QTest::newRow("blocked shots off")
            << QList<int>{12} << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
        QTest::newRow("scoring switches leave columns")
            << QList<int>{1, 2, 3, 5} << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        QTest::newRow("6 to 12 off") << QList<int>{6, 7, 8, 9, 10, 11, 12} << QList<int>{0, 1, 2, 3, 4, 12};
    }
    void switchedColumns()
    {
        QFETCH(QList<int>, uncheckedItems);
        QFETCH(QList<int>, visible);
        Program program;
        THooptallyForm& form = program.form();
        for (int item : uncheckedItems)
            program.option().SetStatSwitch(item, false);
        form.ApplyStatsColumns();
        QCOMPARE(visibleColumns(form.StringGrid1), visible);
        QCOMPARE(visibleColumns(form.StringGrid2), visible);
        // A new game and a refill keep them so.
        form.FileNew1Execute();
        program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"));
        QCOMPARE(visibleColumns(form.StringGrid1), visible);
        QCOMPARE(visibleColumns(form.StringGrid2), visible);

        // Switched on again: at least as wide as the points column, a wider column keeps its width.
        form.StringGrid2->SetColWidths(11, 300);
        for (int item = 0; item < kStatSwitchCount; ++item)
            program.option().SetStatSwitch(item, true);
        form.ApplyStatsColumns();
        for (platform::StringGrid* grid : {form.StringGrid1, form.StringGrid2}) {
            for (int col = 5; col <= 11; ++col)
                QVERIFY(grid->ColWidths(col) >= grid->ColWidths(2));
        }
        QCOMPARE(form.StringGrid2->ColWidths(11), 300);
    }

    void columnsAreAsWideAsHeaderAndText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("position");
        QTest::newRow("no player yet") << QString() << QString();
        QTest::newRow("short texts") << QStringLiteral("林") << QStringLiteral("C");
        QTest::newRow("long texts") << QStringLiteral("ｱﾚｸｻﾝﾀﾞｰ・ﾌｫﾝ・ﾌﾝﾎﾞﾙﾄ")
                                    << QStringLiteral("ﾎﾟｲﾝﾄｶﾞｰﾄﾞ/ﾌｫﾜｰﾄﾞ");
    }
    void columnsAreAsWideAsHeaderAndText()
    {
        QFETCH(QString, name);
        QFETCH(QString, position);
        Program program;
        THooptallyForm& form = program.form();
        if (!name.isEmpty())
            program.addPlayer(1, QStringLiteral("4"), name, false, false, position);
        form.FillStatsGrid(&program.teamA(), form.StringGrid1);
        const QFontMetrics metrics(form.StringGrid1->CanvasFont());
        for (const auto& [col, text] : {std::pair{1, name}, std::pair{12, position}}) {
            const int width = form.StringGrid1->ColWidths(col);
            QVERIFY2(width >= headerWidth(form.StringGrid1, col), qPrintable(QString::number(col)));
            QVERIFY2(width >= metrics.horizontalAdvance(text), qPrintable(QString::number(col)));
        }
    }

    void fillTexts()
    {
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* b7 = program.addPlayer(2, QStringLiteral("7"), QStringLiteral("馬場"), true, false,
                                        QStringLiteral("F"));
        TPlayer* coach = program.addPlayer(2, QString(), QStringLiteral("森"), false, true, kHeadCoachText);
        for (std::uint8_t code :
             {kTwoPointMade, kTwoPointMade, kTwoPointMissed, kThreePointMade, kThreePointMissed,
              kFreeThrowMade, kFreeThrowMissed, kFreeThrowMissed, kOffensiveRebound, kDefensiveRebound,
              kDefensiveRebound, kTurnover, kAssist, kSteal, kBlockedShot})
            program.act(b7, code);
        program.act(b7, kFoul, kPersonalFoul, 0);
        program.act(coach, kFoul, kCoachTechnicalFoul, 2);
        const QStringList first = {QStringLiteral("7"),   QStringLiteral("馬場"), QStringLiteral("8"),
                                   QStringLiteral("3/5"), QStringLiteral("1/3"),  QStringLiteral("1"),
                                   QStringLiteral("1"),   QStringLiteral("2"),    QStringLiteral("1"),
                                   QStringLiteral("1"),   QStringLiteral("1"),    QStringLiteral("1"),
                                   QStringLiteral("F")};
        const QStringList second = {QString(),
                                    QStringLiteral("森"),
                                    QStringLiteral("0"),
                                    QStringLiteral("0/0"),
                                    QStringLiteral("0/0"),
                                    QStringLiteral("1"),
                                    QStringLiteral("0"),
                                    QStringLiteral("0"),
                                    QStringLiteral("0"),
                                    QStringLiteral("0"),
                                    QStringLiteral("0"),
                                    QStringLiteral("0"),
                                    kHeadCoachText};
        platform::StringGrid* grid = form.StringGrid2;
        QCOMPARE(program.teamB().PlayerAt(0), b7);
        QCOMPARE(grid->RowCount(), program.teamB().Count() + 1);
        for (int col = 0; col < 13; ++col) {
            QCOMPARE(grid->Cells(col, 1), first[col]);
            QCOMPARE(grid->Cells(col, 2), second[col]);
        }
        QCOMPARE(grid->Cells(0, 0), QStringLiteral("番号"));
        QCOMPARE(grid->Cells(12, 0), QStringLiteral("ﾎﾟｼﾞｼｮﾝ"));
    }

    void teamWithoutPlayersShowsOneAddRow()
    {
        Program program;
        THooptallyForm& form = program.form();
        for (TTeam* team : {&program.teamA(), &program.teamB()}) {
            QCOMPARE(team->Count(), 1);
            QCOMPARE(team->PlayerAt(0)->status, std::uint8_t(kBlankRow));
            platform::StringGrid* grid = team->side == 1 ? form.StringGrid1 : form.StringGrid2;
            form.FillStatsGrid(team, grid);
            QCOMPARE(grid->RowCount(), 2);
        }
        // Giving the add row twice adds nothing.
        form.EnsureAddRow(&program.teamA());
        QCOMPARE(program.teamA().Count(), 1);
    }

    void openAddRow_data()
    {
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("col"); // where a double click lands
        QTest::newRow("double click, team A") << false << 1 << 1;
        QTest::newRow("double click, team B") << false << 2 << 1;
        QTest::newRow("double click on 追加, team A") << false << 1 << 0;
        QTest::newRow("Enter, team A") << true << 1 << 1;
        QTest::newRow("Enter, team B") << true << 2 << 1;
    }
    void openAddRow()
    {
        QFETCH(bool, byEnter);
        QFETCH(int, side);
        QFETCH(int, col);
        Program program;
        THooptallyForm& form = program.form();
        TTeam& team = side == 1 ? program.teamA() : program.teamB();
        platform::StringGrid* grid = side == 1 ? form.StringGrid1 : form.StringGrid2;
        TPlayer* first = program.addPlayer(side, QStringLiteral("4"), QStringLiteral("青木"));
        program.addPlayer(side, QStringLiteral("5"), QStringLiteral("馬場"));
        QCOMPARE(first->id, 1);
        program.act(first, kDeletePlayer);
        TPlayer* blank = team.PlayerAt(team.Count() - 1);
        QCOMPARE(blank->status, std::uint8_t(kBlankRow));
        QVERIFY(blank->id != 1);
        const int row = team.Count();
        showStatsPage(form);
        program.dialogs().expectModal(QStringLiteral("PlayerTouroku"), [&](QDialog& dialog) {
            auto& registration = static_cast<TPlayerTouroku&>(dialog);
            [&] {
                QCOMPARE(registration.Player(), blank);
                QCOMPARE(registration.Player()->id, 1); // the smallest free ID
            }();
            return int(platform::mrCancel);
        });
        if (byEnter) {
            grid->SetRow(row);
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Return);
        } else {
            doubleClick(grid, col, row);
        }
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(team.Count(), 2);
        QVERIFY(IsKeyInputEnabled());
    }

    void openPlayerRow_data()
    {
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("col"); // where a double click lands
        QTest::newRow("Enter, team A") << true << 1 << 1;
        QTest::newRow("Enter, team B") << true << 2 << 1;
        QTest::newRow("double click, team A") << false << 1 << 1;
        // The number column is no fixed column: a click there selects the row like any other.
        QTest::newRow("double click on the number, team A") << false << 1 << 0;
        QTest::newRow("double click on the number, team B") << false << 2 << 0;
    }
    void openPlayerRow()
    {
        QFETCH(bool, byEnter);
        QFETCH(int, side);
        QFETCH(int, col);
        Program program;
        THooptallyForm& form = program.form();
        platform::StringGrid* grid = side == 1 ? form.StringGrid1 : form.StringGrid2;
        program.addPlayer(side, QStringLiteral("4"), QStringLiteral("青木"));
        TPlayer* second = program.addPlayer(side, QStringLiteral("5"), QStringLiteral("馬場"));
        showStatsPage(form);
        bool keysOffMeanwhile = false;
        TPlayer* opened = nullptr;
        program.dialogs().expectModal(QStringLiteral("PlayerExec"), [&](QDialog& dialog) {
            keysOffMeanwhile = !IsKeyInputEnabled();
            opened = static_cast<TPlayerExec&>(dialog).Player();
            return int(platform::mrOk);
        });
        if (byEnter) {
            grid->SetRow(2);
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Return);
        } else {
            doubleClick(grid, col, 2);
        }
        QVERIFY(program.dialogs().allAnswered());
        QCOMPARE(opened, second);
        QVERIFY(keysOffMeanwhile);
        QVERIFY(IsKeyInputEnabled());
    }

    void headerDoubleClickDoesNothing()
    {
        Program program;
        THooptallyForm& form = program.form();
        program.addPlayer(1, QStringLiteral("4"), QStringLiteral("青木"));
        showStatsPage(form);
        form.StringGrid1->SetRow(1);
        doubleClick(form.StringGrid1, 1, 0);
        QCOMPARE(form.StringGrid1->Row(), 1);
        // A later double click on a row still opens it.
        program.dialogs().expectModal(QStringLiteral("PlayerExec"),
                                      [](QDialog&) { return int(platform::mrOk); });
        doubleClick(form.StringGrid1, 1, 1);
        QVERIFY(program.dialogs().allAnswered());
    }

    void rowColours_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("teamColor");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("expected");
        QTest::newRow("on court") << int(kOnCourt) << 0x4A73F7 << false << 0x4A73F7;
        QTest::newRow("bench") << int(kOnBench) << 0x4A73F7 << false << 0xFFFFFF;
        QTest::newRow("not listed") << int(kNotListed) << 0x4A73F7 << false << 0xE0DFE3;
        QTest::newRow("head coach") << int(kHeadCoach) << 0x4A73F7 << false << 0xAE45BC;
        QTest::newRow("assistant coach") << int(kAssistantCoach) << 0x4A73F7 << false << 0xAE45BC;
        QTest::newRow("add row") << int(kBlankRow) << 0x4A73F7 << false << 0x595959;
        // 0x4A73F7 + 0xF97 carries from the red into the green byte.
        QTest::newRow("selected") << int(kOnCourt) << 0x4A73F7 << true << 0x4A838E;
        QTest::newRow("selected bench row") << int(kOnBench) << 0x4A73F7 << true << 0x4A838E;
        QTest::newRow("selected, sum past 24 bits") << int(kOnCourt) << 0xFFFFFF << true << 0x000F96;
    }
    void rowColours()
    {
        QFETCH(int, status);
        QFETCH(int, teamColor);
        QFETCH(bool, selected);
        QFETCH(int, expected);
        Program program;
        THooptallyForm& form = program.form();
        TPlayer* b5 = program.addPlayer(2, QStringLiteral("5"), QStringLiteral("馬場"));
        QCOMPARE(program.teamB().PlayerAt(0), b5);
        b5->status = static_cast<std::uint8_t>(status);
        program.teamB().color = teamColor;
        showStatsPage(form);
        platform::StringGrid* grid = form.StringGrid2;
        grid->SetRow(selected ? 1 : 2);
        QCOMPARE(pixelOfCell(grid, 2, 1), platform::toQColor(expected));
    }

    void syncTeamLabels()
    {
        Program program;
        THooptallyForm& form = program.form();
        for (const QString& number : {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")})
            program.addPlayer(2, number, QStringLiteral("選手") + number);
        platform::StringGrid* grid = form.StringGrid2;
        QVERIFY(grid->RowCount() > form.StringGrid1->RowCount());
        for (int row = 1; row < grid->RowCount(); ++row) {
            for (int col = 2; col <= 6; ++col)
                grid->SetCells(col, row, QStringLiteral("9"));
        }
        grid->SetTag(3);
        form.TeamAName->setText(QStringLiteral("東京"));
        form.TeamBName->setText(QStringLiteral("大阪ﾌｧｲﾀｰｽﾞ"));
        form.SyncTeamLabels();
        QCOMPARE(form.TeamALabel->text(), QStringLiteral("東京"));
        QCOMPARE(form.TeamBLabel->text(), QStringLiteral("大阪ﾌｧｲﾀｰｽﾞ"));
        QCOMPARE(program.teamA().name, QStringLiteral("東京"));
        QCOMPARE(program.teamB().name, QStringLiteral("大阪ﾌｧｲﾀｰｽﾞ"));
        QCOMPARE(grid->Tag(), 0);
        // Every row of each grid, however many rows the other grid has.
        for (int row = 1; row < grid->RowCount(); ++row) {
            QCOMPARE(grid->Cells(2, row), QStringLiteral("0"));
            QCOMPARE(grid->Cells(3, row), QStringLiteral("0/0"));
            QCOMPARE(grid->Cells(4, row), QStringLiteral("0/0"));
            QCOMPARE(grid->Cells(5, row), QStringLiteral("0"));
            QCOMPARE(grid->Cells(6, row), QStringLiteral("9"));
        }
    }
};

QTEST_MAIN(tst_statstab)
#include "tst_statstab.moc"
