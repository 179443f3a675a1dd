// Program-wide state that the wizard sets and the runs and stages read. It
// lives for one run of the program. UI thread only.
#pragma once

#include <QString>

#include "foundation/Globals.h"
#include "platform/PnwList.h"

// "13.0": the lowest installed Professional version the wizard works with.
extern QString g_MinServerVersion;
// The standard voucher group, 1 and "记" until a step reloads it.
extern int g_StdVoucherGroupID;
extern QString g_StdVoucherGroupName;

// Built at start-up once the version gate passed.
extern QString g_ConnectStringTemplate;  // holds "[AcctNo]" for the database
extern QString g_AcctCtlConnectString;
extern QString g_ServerUser;
extern QString g_ServerPassword;

// The settings record list (item 1 a PnwDictionary with Source, AcctNum,
// AcctName, DBDir, Option); empty until step 1 is left.
extern PnwList g_UpgradeSettings;
// Current wizard step 0 to 4.
extern int g_WizardStep;
// Step code of the running stage, 0 to 6.
extern int g_CurrentModule;
// The operator asked to stop; cleared on entering any step.
extern bool g_CancelRequested;
// "标准版" or "迷你版", set by account creation.
extern QString g_SourceEdition;

// Whether a version text is at or above another, compared as plain text
// code unit by code unit (so "9.0" is above "13.0", "" below everything).
bool VersionAtLeast(const QString &version, const QString &minimum);

// Set once the program is ending (a close answered, "完  成"): a run that is
// still going stops at its next test, like after a cancel.
extern bool g_ProgramEnding;
// What the runs test between stages: a cancel or the end of the program.
inline bool RunMustStop() { return g_CancelRequested || g_ProgramEnding; }
