#include "foundation/Globals.h"

QString g_InstalledVersion;
