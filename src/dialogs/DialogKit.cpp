#include "dialogs/DialogKit.h"

#include "controls/WizardControls.h"
#include "controls/zqbutton.h"
#include "foundation/Messages.h"

namespace DialogKit {

void tell(const QString &prompt) { ShowMessage(prompt, MsgBox::Information, kMessageTitle); }

bool askYes(const QString &prompt) {
    return ShowMessage(prompt, MsgBox::YesNo + MsgBox::Information, kMessageTitle) == MsgBox::Yes;
}

zqbutton *button(const QString &caption, QWidget *parent, int x, int y, int width) {
    zqbutton *b = WizardControls::makeButton(WizardControls::ButtonKind::Dialog, caption, parent);
    b->setGeometry(x, y, width, 26);
    return b;
}

void setUpColumn(SpreadsheetGrid *grid, int col, const QString &header, double width, SpreadsheetGrid::CellType type,
                 SpreadsheetGrid::HAlign align) {
    grid->setCol(col);
    grid->setRow(0);
    grid->setText(header);
    if (width >= 0) grid->setColWidth(col, width);
    grid->setRow(-1);
    grid->setCellType(type);
    grid->setHAlign(align);
}

}  // namespace DialogKit
