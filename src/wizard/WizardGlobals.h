// The program-wide state the wizard reads and sets lives with the
// foundation services, so that account creation and the steps below the
// wizard reach it too.
#pragma once

#include "foundation/Globals.h"
#include "foundation/VersionText.h"
