#pragma once

#include "entry_header.h"

#include <cstdint>

namespace unrar {

// Attributes in Windows form for the header record. Folders get the folder bit alone and files
// never have it and always have some other bit, so that "attributes without the folder bit are
// not 0" and "the folder bit is set" tell files from folders alike.
std::uint32_t WindowsAttributes(const EntryHeader& entry);

} // namespace unrar
