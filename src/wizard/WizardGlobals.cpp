#include "wizard/WizardGlobals.h"

QString g_MinServerVersion = QStringLiteral("13.0");
int g_StdVoucherGroupID = 1;
QString g_StdVoucherGroupName = QStringLiteral("记");

PnwList g_UpgradeSettings;
bool g_CancelRequested = false;
QString g_SourceEdition;

bool g_ProgramEnding = false;
