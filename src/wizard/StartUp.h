// What the program sets up before its first step, shared by the main window
// and the headless runner: the program-wide defaults and the version gate.
// UI thread only.
#pragma once

// g_MinServerVersion "13.0" and the standard voucher group 1 "记".
void ApplyProgramDefaults();

// Reads the installed version; when it is at least g_MinServerVersion
// (compared as text), builds g_ConnectStringTemplate and
// g_AcctCtlConnectString from the server configuration and gives true.
bool PassVersionGate();
