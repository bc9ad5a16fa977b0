#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

class QMenu;

namespace platform {
class StringGrid;
}

namespace hooptally {
class SheetGridControl;
class THooptallyForm;
class TPlayer;
} // namespace hooptally

namespace hooptally::testing {

class Program;

// One line per cell of the control: text, kind, area, player, mark, period colour and sides.
QStringList sheetCells(const SheetGridControl& control);
// The cells of both team sheets and the running score.
QStringList sheetSnapshot(THooptallyForm& form);

// The main window shown and active on its page "Official".
void showSheets(Program& program);
// The grid as it is painted now (all of it: the sheet grids are as large as their cells).
QImage renderGrid(platform::StringGrid& grid);
// The centre of a cell in the grid's viewport.
QPoint cellCentre(const platform::StringGrid& grid, int column, int row);
QColor pixelAt(const QImage& image, QPoint point);

// Mouse and keyboard as the user works them.
void rightClickCell(platform::StringGrid& grid, int column, int row);
void leftClickCell(platform::StringGrid& grid, int column, int row);
void doubleClickCell(platform::StringGrid& grid, int column, int row);
// A right click as the window system ends it for a grid with a pop-up menu: the context-menu request.
void contextClickCell(platform::StringGrid& grid, int column, int row);
// The pop-up menu of the main window that is open now, or null.
QMenu* openPopup(THooptallyForm& form);
// Triggers the item of the open menu with that text; false when no menu is open or has it.
bool chooseItem(THooptallyForm& form, const QString& text);
void closePopups(THooptallyForm& form);

// A game recorded through the action path: both rosters, baskets of all kinds, fouls with free
// throws, a coach foul, time-outs, substitutions, three period ends and the game end.
void recordSheetGame(Program& program);

} // namespace hooptally::testing
