#include "foundation/WaitCursor.h"

#include "platform/WaitCursorSeam.h"

namespace {
int g_depth = 0;
}  // namespace

void BeginWaitCursor() {
    if (++g_depth == 1) WaitCursorSeam::setBusy(true);
}

void EndWaitCursor() {
    if (g_depth == 0) return;  // an End without its Begin changes nothing
    if (--g_depth == 0) WaitCursorSeam::setBusy(false);
}

int WaitCursorDepth() { return g_depth; }
