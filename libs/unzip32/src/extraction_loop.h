#pragma once

#include "options.h"
#include "unzip32.h"

namespace unzip32 {

// One whole call: opens the archive, walks its entries in the chosen mode, and gives the result.
int RunArchive(const RunOptions& options, USERFUNCTIONS* functions);

} // namespace unzip32
