// The nested busy pointer: BeginWaitCursor / EndWaitCursor in pairs around
// work that makes the operator wait. The hourglass shows from the first
// Begin until the matching last End. A surplus End is ignored (the count
// never drops below 0), so the next Begin shows the hourglass again.
// UI thread only.
#pragma once

void BeginWaitCursor();
void EndWaitCursor();
// The current nesting count (0 when the default pointer shows).
int WaitCursorDepth();
