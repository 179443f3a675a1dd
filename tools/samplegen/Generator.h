// Builds a whole account set for a profile and writes it as table text.
#pragma once

#include <string>

#include "Profile.h"
#include "TableSet.h"

namespace samplegen {

TableSet generate(const Profile &profile);

}  // namespace samplegen
