#include "wizard/StartUp.h"

#include <exception>

#include "foundation/Globals.h"
#include "foundation/ServerConfig.h"
#include "foundation/VersionText.h"
#include "wizard/WizardHooks.h"

void ApplyProgramDefaults() {
    g_MinServerVersion = QStringLiteral("13.0");
    g_StdVoucherGroupName = QStringLiteral("记");
    g_StdVoucherGroupID = 1;
}

bool PassVersionGate() {
    try {
        g_InstalledVersion = GetProductVersion();
    } catch (const std::exception &) {
        g_InstalledVersion.clear();  // an unreadable store counts as no installation
    }
    const bool passed = VersionAtLeast(g_InstalledVersion, g_MinServerVersion);
    if (passed) {
        g_ConnectStringTemplate = WizardHooks::GetServerConnectionTemplate(g_ServerUser, g_ServerPassword);
        g_AcctCtlConnectString =
            QString(g_ConnectStringTemplate).replace(QStringLiteral("[AcctNo]"), QStringLiteral("AcctCtl"));
    }
    return passed;
}
