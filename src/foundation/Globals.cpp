#include "foundation/Globals.h"

QString g_InstalledVersion;
QString g_ConnectStringTemplate;
QString g_AcctCtlConnectString;
QString g_ServerUser;
QString g_ServerPassword;
QString g_LoginPart;
QString g_NewAcctConnectString;
QString g_TargetConnectString;
short g_SourceCurrYear = 0;
short g_SourceCurrPeriod = 0;
int g_WizardStep = 0;
int g_CurrentModule = 0;
QString g_CheckReportPath;
QString g_UpgradeReportPath;

QString g_MinServerVersion = QStringLiteral("13.0");
int g_StdVoucherGroupID = 1;
QString g_StdVoucherGroupName = QStringLiteral("记");

PnwList g_UpgradeSettings;
bool g_CancelRequested = false;
QString g_SourceEdition;

bool g_ProgramEnding = false;
