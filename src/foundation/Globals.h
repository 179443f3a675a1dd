// Program-wide state of the foundation services and the state they read
// from the wizard: set at start-up or by the runs, read for the rest of the
// run. Everything starts empty (or 0). UI thread only.
#pragma once

#include <QString>

#include "platform/PnwList.h"

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
// The connection string of the new account set ("" until account creation
// has finished); a stage given "" works on it.
extern QString g_TargetConnectString;
// The source's current year and period (from its options row, set by
// account creation).
extern short g_SourceCurrYear;
extern short g_SourceCurrPeriod;

// The wizard's current step 0 to 4 (set by the wizard). The upgrade log and
// the report read it: step 2 is the data check.
extern int g_WizardStep;
// Step code of the running stage 0 to 6 (set by the runs; GetStepName).
extern int g_CurrentModule;

// Paths of the last check report and the last upgrade report.
extern QString g_CheckReportPath;
extern QString g_UpgradeReportPath;

// "13.0": the lowest installed Professional version the wizard works with.
extern QString g_MinServerVersion;
// The standard voucher group, 1 and "记" until a step reloads it.
extern int g_StdVoucherGroupID;
extern QString g_StdVoucherGroupName;

// The settings record list (item 1 a PnwDictionary with Source, AcctNum,
// AcctName, DBDir, Option); empty until the settings step is left.
extern PnwList g_UpgradeSettings;
// The operator asked to stop; cleared on entering any step.
extern bool g_CancelRequested;
// "标准版" or "迷你版", set by account creation.
extern QString g_SourceEdition;

// Set once the program is ending (a close answered, "完  成"): a run that is
// still going stops at its next test, like after a cancel.
extern bool g_ProgramEnding;
// What the runs test between stages: a cancel or the end of the program.
inline bool RunMustStop() { return g_CancelRequested || g_ProgramEnding; }

// Back to the start of a run of the wizard: no settings, step 0, no stage
// running, no cancel; what start-up and account creation set stays.
void ResetRunState();
// Everything above back to its start value, start-up's readings and the
// target included (tests end with it).
void ResetProgramState();
