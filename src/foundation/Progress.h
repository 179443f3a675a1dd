// How a step reports progress on the bar and label it was given, and a
// pause that keeps the window alive. InitProgress, SetProgress and
// DelayWithEvents let pending window events run (a cancel click gets in
// there), so callers must expect any handler of the window to run inside
// them. A null bar or label raises PnwError 91. UI thread only.
#pragma once

#include <QString>

class ProgressBar;
class QLabel;

// Sets the label's caption; runs no events.
void SetStatusCaption(QLabel *label, const QString &text);

// Min 0 and Max max (the bar raises a max below 1 to 1); with reset, Value
// 0 and the right-hand text "0%". Then lets pending events run once.
void InitProgress(ProgressBar *bar, int max, bool reset);

// Moves the bar to value with the right-hand text value / Max x 100 as the
// nearest whole number (halves to even) and "%"; "100%" and a full bar at
// or above Max. Then lets pending events run once.
void SetProgress(ProgressBar *bar, int value);

// Lets pending window events run, where a long task lets a cancel click in
// (does nothing without an application object).
void LetEventsRun();

// Waits milliseconds while window events run; sleeps between events rather
// than polling. 0 or less returns at once.
void DelayWithEvents(int milliseconds);
