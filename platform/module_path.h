#pragma once

#include <string>

namespace platform {

// The full path of the running executable, links resolved, so an installed program found
// through PREFIX/bin still finds the folder that holds its libraries and data files.
std::string ModuleFilePath();

} // namespace platform
