#pragma once

#include <cstdint>
#include <ctime>

namespace unrar {

// MS-DOS date and time words (local time, two-second steps), as in the header record.
std::time_t DosTimeToUnix(std::uint32_t dosTime);
std::uint32_t UnixToDosTime(std::time_t time);
// Windows FILETIME (100 ns since 1601) to Unix seconds.
std::time_t FileTimeToUnix(std::uint64_t fileTime);

} // namespace unrar
