// Program-wide state that the wizard sets and the runs and stages read. It
// lives for one run of the program. UI thread only.
#pragma once

#include <QString>

#include "foundation/Globals.h"
#include "foundation/VersionText.h"
#include "platform/PnwList.h"

// "13.0": the lowest installed Professional version the wizard works with.
extern QString g_MinServerVersion;
// The standard voucher group, 1 and "记" until a step reloads it.
extern int g_StdVoucherGroupID;
extern QString g_StdVoucherGroupName;

// The settings record list (item 1 a PnwDictionary with Source, AcctNum,
// AcctName, DBDir, Option); empty until step 1 is left.
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
