#include "dos_time.h"

namespace unrar {

std::time_t DosTimeToUnix(std::uint32_t dosTime) {
    std::tm parts{};
    parts.tm_sec = static_cast<int>((dosTime & 0x1F) * 2);
    parts.tm_min = static_cast<int>((dosTime >> 5) & 0x3F);
    parts.tm_hour = static_cast<int>((dosTime >> 11) & 0x1F);
    parts.tm_mday = static_cast<int>((dosTime >> 16) & 0x1F);
    parts.tm_mon = static_cast<int>((dosTime >> 21) & 0x0F) - 1;
    parts.tm_year = static_cast<int>(dosTime >> 25) + 80;
    parts.tm_isdst = -1;
    if (parts.tm_mday == 0 || parts.tm_mon < 0 || parts.tm_mon > 11)
        return -1;
    return std::mktime(&parts);
}

std::uint32_t UnixToDosTime(std::time_t time) {
    std::tm parts{};
    if (time < 0 || localtime_r(&time, &parts) == nullptr)
        return 0;
    const int year = parts.tm_year + 1900;
    if (year < 1980)
        return (1u << 21) | (1u << 16);
    if (year > 2107)
        return 0xFF9FBF7Du;
    return (static_cast<std::uint32_t>(year - 1980) << 25) |
           (static_cast<std::uint32_t>(parts.tm_mon + 1) << 21) |
           (static_cast<std::uint32_t>(parts.tm_mday) << 16) |
           (static_cast<std::uint32_t>(parts.tm_hour) << 11) |
           (static_cast<std::uint32_t>(parts.tm_min) << 5) |
           static_cast<std::uint32_t>(parts.tm_sec / 2);
}

std::time_t FileTimeToUnix(std::uint64_t fileTime) {
    constexpr std::uint64_t kEpochDifference = 11644473600ull;
    const std::uint64_t seconds = fileTime / 10000000ull;
    if (seconds < kEpochDifference)
        return 0;
    return static_cast<std::time_t>(seconds - kEpochDifference);
}

} // namespace unrar
