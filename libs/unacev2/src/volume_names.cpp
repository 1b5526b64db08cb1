#include "volume_names.h"

#include <cctype>
#include <cstdio>

namespace unacev2 {

std::vector<std::string> NextVolumeNames(const std::string& path, unsigned volumeNumber) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExtension ? path.substr(0, dot) : path;
    const bool upper = hasExtension && dot + 1 < path.size() &&
                       std::isupper(static_cast<unsigned char>(path[dot + 1]));

    char digits[16];
    if (volumeNumber < 100) {
        std::snprintf(digits, sizeof digits, "%02u", volumeNumber);
        const std::string lower = stem + ".c" + digits;
        const std::string capital = stem + ".C" + digits;
        return upper ? std::vector<std::string>{capital, lower}
                     : std::vector<std::string>{lower, capital};
    }
    std::snprintf(digits, sizeof digits, "%03u", volumeNumber);
    return {stem + "." + digits};
}

} // namespace unacev2
