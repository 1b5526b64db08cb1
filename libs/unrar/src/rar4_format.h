#pragma once

#include "header_block.h"
#include "volume_file.h"

namespace unrar {

// RAR 1.5 to 4.x: blocks of a 7-byte base (CRC-16, type, flags, size) and an optional data area.
// Results are ERAR_* codes; ERAR_END_ARCHIVE when the volume ends exactly at `offset`.
int ReadRar4Main(const VolumeFile& file, std::uint64_t offset, ArchiveInfo& info);
int ReadRar4Block(const VolumeFile& file, std::uint64_t offset, HeaderBlock& block);

} // namespace unrar
