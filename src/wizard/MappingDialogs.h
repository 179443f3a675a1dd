// Points the upgrade steps' questions at the mapping dialogs: the account
// natures, the quantity accounts' units, the business units, the new pay
// items' data types and the bank account numbers. The windowed program and
// the headless runner install them (the runner answers the dialogs from its
// answers file); the tests keep the steps' default answers (or their
// scripted ones). UI thread only.
#pragma once

void InstallMappingDialogs();
