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

void ResetRunState() {
    g_UpgradeSettings = PnwList();
    g_WizardStep = 0;
    g_CurrentModule = 0;
    g_CancelRequested = false;
    g_ProgramEnding = false;
}

void ResetProgramState() {
    ResetRunState();
    g_NewAcctConnectString.clear();
    g_TargetConnectString.clear();
    g_SourceCurrYear = 0;
    g_SourceCurrPeriod = 0;
    g_SourceEdition.clear();
    g_CheckReportPath.clear();
    g_UpgradeReportPath.clear();
    g_StdVoucherGroupID = 1;
    g_StdVoucherGroupName = QStringLiteral("记");
    g_InstalledVersion.clear();
    g_ConnectStringTemplate.clear();
    g_AcctCtlConnectString.clear();
    g_ServerUser.clear();
    g_ServerPassword.clear();
    g_LoginPart.clear();
    g_MinServerVersion = QStringLiteral("13.0");
}
