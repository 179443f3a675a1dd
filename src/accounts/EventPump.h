// Lets pending window events run, where a long task lets a cancel click in
// (does nothing without an application object). UI thread only.
#pragma once

void LetEventsRun();
