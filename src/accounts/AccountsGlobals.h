// Program-wide state that account creation leaves for the later stages.
// Set before it is read; lives for one run of the program. UI thread only.
#pragma once

#include <QString>

// The connection string of the new account set ("" until account creation
// has finished); a stage given "" works on it.
extern QString g_TargetConnectString;
// The source's current year and period (from its options row).
extern short g_SourceCurrYear;
extern short g_SourceCurrPeriod;
