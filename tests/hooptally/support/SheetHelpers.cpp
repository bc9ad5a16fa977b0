#include "support/SheetHelpers.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include "hooptally/THooptallyForm.h"
#include "hooptally/Tgridctrl.h"
#include "hooptally/Tteam.h"
#include "platform/StringGrid.h"
#include "support/Program.h"

namespace hooptally::testing {

namespace {

QString edgeText(const EdgeStyle& edge)
{
    return QStringLiteral("%1/%2").arg(edge.color, 0, 16).arg(edge.width);
}

QString playerText(const TPlayer* player)
{
    return player ? QStringLiteral("%1:%2").arg(player->id).arg(player->number) : QStringLiteral("-");
}

} // namespace

QStringList sheetCells(const SheetGridControl& control)
{
    QStringList lines;
    for (int row = 0; row < control.rows; ++row) {
        for (int column = 0; column < control.columns; ++column) {
            const TCell& cell = *control.CellAt(column, row);
            const GameAction& a = cell.action;
            lines << QStringLiteral(
                         "%1,%2 '%3' k%4 [%5,%6-%7,%8] %9 act=%10/%11/%12/%13/%14/%15/p%16/key%17,%18 "
                         "pc%19 sides=%20 %21 %22 %23")
                         .arg(column)
                         .arg(row)
                         .arg(control.grid->Cells(column, row))
                         .arg(cell.kind)
                         .arg(cell.firstColumn)
                         .arg(cell.firstRow)
                         .arg(cell.lastColumn)
                         .arg(cell.lastRow)
                         .arg(playerText(cell.player))
                         .arg(a.category)
                         .arg(a.code)
                         .arg(a.freeThrows)
                         .arg(a.foulKind)
                         .arg(a.command)
                         .arg(playerText(a.player))
                         .arg(a.period)
                         .arg(a.keyA)
                         .arg(a.keyB)
                         .arg(cell.periodColour)
                         .arg(edgeText(cell.top), edgeText(cell.bottom), edgeText(cell.left),
                              edgeText(cell.right));
        }
    }
    return lines;
}

QStringList sheetSnapshot(THooptallyForm& form)
{
    QStringList lines;
    for (const SheetGridControl* control :
         {form.TeamGrids().Team(1), form.TeamGrids().Team(2), form.TeamGrids().Run()})
        lines << sheetCells(*control);
    return lines;
}

void showSheets(Program& program)
{
    THooptallyForm& form = program.form();
    form.resize(1400, 1200);
    form.show();
    form.PageControl1->setCurrentIndex(1);
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

QImage renderGrid(platform::StringGrid& grid)
{
    return grid.viewport()->grab().toImage();
}

QPoint cellCentre(const platform::StringGrid& grid, int column, int row)
{
    return grid.CellRect(column, row).center();
}

QColor pixelAt(const QImage& image, QPoint point)
{
    return image.pixelColor(point);
}

void rightClickCell(platform::StringGrid& grid, int column, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, cellCentre(grid, column, row));
}

void leftClickCell(platform::StringGrid& grid, int column, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, column, row));
}

void doubleClickCell(platform::StringGrid& grid, int column, int row)
{
    // As the window system delivers it: a click, then the second press as a double click.
    const QPoint centre = cellCentre(grid, column, row);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, centre);
}

void contextClickCell(platform::StringGrid& grid, int column, int row)
{
    rightClickCell(grid, column, row);
    const QPoint centre = cellCentre(grid, column, row);
    QContextMenuEvent request(QContextMenuEvent::Mouse, centre, grid.viewport()->mapToGlobal(centre));
    QApplication::sendEvent(grid.viewport(), &request);
}

QMenu* openPopup(THooptallyForm& form)
{
    QMenu* open = nullptr;
    for (QMenu* menu : form.findChildren<QMenu*>()) {
        // The last one opened is on top.
        if (menu->isVisible() && menu->parent() == &form)
            open = menu;
    }
    return open;
}

bool chooseItem(THooptallyForm& form, const QString& text)
{
    QMenu* menu = openPopup(form);
    if (!menu)
        return false;
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            menu->hide();
            action->trigger();
            return true;
        }
    }
    return false;
}

void closePopups(THooptallyForm& form)
{
    for (QMenu* menu : form.findChildren<QMenu*>())
        menu->hide();
}

void recordSheetGame(Program& program)
{
    program.teamA().name = QStringLiteral("東京ホークス");
    program.teamB().name = QStringLiteral("大阪ベアーズ");
    QList<TPlayer*> a;
    QList<TPlayer*> b;
    for (int i = 0; i < 8; ++i) {
        a << program.addPlayer(1, QString::number(4 + i), QStringLiteral("選手Ａ%1").arg(4 + i), i < 5);
        b << program.addPlayer(2, QString::number(4 + i), QStringLiteral("選手Ｂ%1").arg(4 + i), i < 5);
    }
    TPlayer* coachA = program.addPlayer(1, {}, QStringLiteral("山本 監督"), false, true, kHeadCoachText);
    program.addPlayer(1, {}, QStringLiteral("井上"), false, true, kAssistantCoachText);
    TPlayer* coachB = program.addPlayer(2, {}, QStringLiteral("中村 監督"), false, true, kHeadCoachText);
    // As the team-name command shows them.
    for (TTeam* team : {&program.teamA(), &program.teamB()})
        ShowTeamName(&program.form(), team->name, team);

    auto at = [&program](int minutes, int seconds) { program.setClock(minutes, seconds); };
    // First period.
    at(9, 40);
    program.act(a[0], kTwoPointMade);
    at(9, 10);
    program.act(b[2], kThreePointMade);
    at(8, 30);
    program.act(a[1], kFoul, kPersonalFoul, 2);
    program.act(b[0], kFreeThrowMade);
    program.act(b[0], kFreeThrowMissed);
    at(7, 0);
    program.command(kTimeout, 1);
    program.act(a[4], kThreePointMade);
    at(6, 10);
    program.act(coachB, kFoul, kCoachTechnicalFoul, 1);
    program.act(a[0], kFreeThrowMade);
    at(5, 0);
    program.act(a[0], kToBench);
    program.act(a[5], kCourtIn);
    program.act(b[1], kTwoPointMade);
    at(0, 0);
    program.command(kPeriodEnd);
    // Second period.
    at(9, 0);
    program.act(a[1], kFoul, kPersonalFoul, 0);
    program.act(a[1], kFoul, kUnsportsmanlikeFoul, 2);
    program.act(b[3], kFreeThrowMade);
    program.act(b[3], kFreeThrowMade);
    program.command(kTimeout, 2);
    program.act(a[5], kTwoPointMade);
    program.act(b[4], kFoul, kTechnicalFoul, 1);
    program.act(a[3], kFreeThrowMade);
    at(0, 0);
    program.command(kPeriodEnd);
    // Third period.
    at(8, 0);
    program.act(b[2], kThreePointMade);
    program.act(a[2], kFoul, kPersonalFoul, 0);
    program.act(a[3], kFoul, kPersonalFoul, 0);
    program.act(a[4], kFoul, kPersonalFoul, 0);
    program.act(coachA, kFoul, kBenchFoul, 2);
    program.act(b[0], kFreeThrowMade);
    program.act(b[0], kFreeThrowMade);
    at(0, 0);
    program.command(kPeriodEnd);
    // Fourth period and the game end.
    at(7, 30);
    program.act(a[1], kFoul, kPersonalFoul, 1);
    program.act(b[1], kFreeThrowMade);
    program.act(a[3], kTwoPointMade);
    program.act(b[4], kFoul, kDisqualifyingFoul, 0);
    at(0, 0);
    program.command(kGameEnd);
}

} // namespace hooptally::testing
