#include "wizard/WizardGlobals.h"

QString g_MinServerVersion = QStringLiteral("13.0");
int g_StdVoucherGroupID = 1;
QString g_StdVoucherGroupName = QStringLiteral("记");

QString g_ConnectStringTemplate;
QString g_AcctCtlConnectString;
QString g_ServerUser;
QString g_ServerPassword;

PnwList g_UpgradeSettings;
int g_WizardStep = 0;
int g_CurrentModule = 0;
bool g_CancelRequested = false;
QString g_SourceEdition;

bool VersionAtLeast(const QString &version, const QString &minimum) {
    return QString::compare(version, minimum, Qt::CaseSensitive) >= 0;
}
bool g_ProgramEnding = false;
