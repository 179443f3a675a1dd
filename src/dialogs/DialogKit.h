// What the mapping dialogs share besides the frame: the message title, the
// two message kinds they show, the placement of their drawn buttons and the
// set-up of a grid's header cell and column.
#pragma once

#include <QString>

#include "foundation/Messages.h"
#include "controls/SpreadsheetGrid.h"

class QWidget;
class zqbutton;

namespace DialogKit {

// A refusal: the information icon (64).
void tell(const QString &prompt);
// A question with Yes and No (68); true for Yes.
bool askYes(const QString &prompt);

// A dialog button with its fixed caption at (x, y), 80 x 26 pixels.
zqbutton *button(const QString &caption, QWidget *parent, int x, int y, int width = 80);

// Header text of row 0, the width (a negative width keeps the grid's
// default), and the whole column's cell type and alignment.
void setUpColumn(SpreadsheetGrid *grid, int col, const QString &header, double width, SpreadsheetGrid::CellType type,
                 SpreadsheetGrid::HAlign align = SpreadsheetGrid::HAlign::Left);

}  // namespace DialogKit
