// Quote doubling lives with the other SQL text helpers of the foundation.
#pragma once

#include "foundation/SqlText.h"
