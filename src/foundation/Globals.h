// Program-wide state of the foundation services: set at start-up, read for
// the rest of the run. UI thread only.
#pragma once

#include <QString>

// The installed Professional version text ("" until read at start-up).
extern QString g_InstalledVersion;
