#include "foundation/Globals.h"

QString g_InstalledVersion;
QString g_ConnectStringTemplate;
QString g_AcctCtlConnectString;
QString g_ServerUser;
QString g_ServerPassword;
QString g_LoginPart;
QString g_NewAcctConnectString;
int g_WizardStep = 0;
int g_CurrentModule = 0;
QString g_CheckReportPath;
QString g_UpgradeReportPath;
