// Pictures of the mapping dialogs, each opened with a few sample rows as a
// step would open it (the unit dialog lists the units of the target that
// g_TargetConnectString names, if any).
#pragma once

#include <QString>

// Saves dialog-<name>.png for every mapping dialog into out; the number of
// pictures that could not be written.
int SaveDialogShots(const QString &out);
