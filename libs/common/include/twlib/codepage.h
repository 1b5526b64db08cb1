#pragma once

#include <string>
#include <string_view>

namespace twlib {

// Entry names of DOS-era archives are stored in an OEM code page; the file system wants UTF-8.
std::string Cp437ToUtf8(std::string_view text);
std::string Cp850ToUtf8(std::string_view text);

} // namespace twlib
