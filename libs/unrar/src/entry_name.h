#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace unrar {

// The RAR 3.x name field with the Unicode flag: either plain UTF-8, or the narrow name, a NUL
// and the compact UTF-16 encoding that refers back to the narrow name. Gives UTF-8.
std::string DecodeRar4UnicodeName(std::string_view field);

// A RAR 4 name without the Unicode flag, in the code page of the system that made it.
std::string DecodeRar4NarrowName(std::string_view field, std::uint32_t hostOs);

// Backslashes become "/", the separator of names handed out.
std::string WithSlashes(std::string name);

} // namespace unrar
