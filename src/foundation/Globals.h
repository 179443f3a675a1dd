// Program-wide state of the foundation services and the state they read
// from the wizard: set at start-up or by the runs, read for the rest of the
// run. Everything starts empty (or 0). UI thread only.
#pragma once

#include <QString>

// The installed Professional version text ("" until read at start-up).
extern QString g_InstalledVersion;

// The server connection string with "[AcctNo]" where the database name goes.
extern QString g_ConnectStringTemplate;
// The template for the account-control database AcctCtl.
extern QString g_AcctCtlConnectString;
// The decoded server login of the server configuration file.
extern QString g_ServerUser;
extern QString g_ServerPassword;
// The login part of account-set connection strings (SetLoginPart).
extern QString g_LoginPart;
// The template with the new account number (set by account creation).
extern QString g_NewAcctConnectString;

// The wizard's current step 0 to 4 (set by the wizard). The upgrade log and
// the report read it: step 2 is the data check.
extern int g_WizardStep;
// Step code of the running stage 0 to 6 (set by the runs; GetStepName).
extern int g_CurrentModule;

// Paths of the last check report and the last upgrade report.
extern QString g_CheckReportPath;
extern QString g_UpgradeReportPath;
