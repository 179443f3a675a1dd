// The installed Professional edition's version, as its registry key holds it.
// UI thread only.
#pragma once

#include <QString>

// The value "Version" under "HKEY_LOCAL_MACHINE\SOFTWARE\Vantora\VEQPRODUCT"
// of the registry store, "" when absent. A store that cannot be read raises
// PnwError -1.
QString GetProductVersion();
