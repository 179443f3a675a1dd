// Where the program's own message boxes and dialogs appear: centred on the
// program's main window (the active window, else the largest visible
// top-level window), kept on its screen, whatever widget had the focus.
#pragma once

class QWidget;

// The window a dialog belongs to, or nullptr when none is visible.
QWidget *ProgramMainWindow(QWidget *except = nullptr);
// Moves the dialog (sized already) to the centre of the main window; leaves
// it where it is when there is no main window.
void CentreOnMainWindow(QWidget *dialog);
