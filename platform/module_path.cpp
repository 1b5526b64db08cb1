#include "platform/module_path.h"

#include <climits>
#include <unistd.h>

namespace platform {

std::string ModuleFilePath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

} // namespace platform
