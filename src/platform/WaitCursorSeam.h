// The program-wide mouse pointer: busy (hourglass) or default. Shown as an
// application override cursor when a GUI application exists; the state is
// kept either way so that windows and tests can ask it. UI thread only.
#pragma once

class WaitCursorSeam {
public:
    static void setBusy(bool busy);
    static bool isBusy();
};
