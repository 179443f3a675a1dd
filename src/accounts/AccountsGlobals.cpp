#include "accounts/AccountsGlobals.h"

QString g_TargetConnectString;
short g_SourceCurrYear = 0;
short g_SourceCurrPeriod = 0;
