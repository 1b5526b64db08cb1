#pragma once

#include "header_block.h"
#include "volume_file.h"

namespace unrar {

// RAR 5.0: blocks of CRC-32, a variable-length size, type and flags, optional extra and data
// areas. Results are ERAR_* codes; ERAR_END_ARCHIVE when the volume ends exactly at `offset`.
int ReadRar5Main(const VolumeFile& file, std::uint64_t offset, ArchiveInfo& info);
int ReadRar5Block(const VolumeFile& file, std::uint64_t offset, HeaderBlock& block);

} // namespace unrar
