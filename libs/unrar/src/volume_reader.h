#pragma once

#include "header_block.h"
#include "volume_file.h"

#include <string>

namespace unrar {

// One volume: finds the archive in it (also behind a self-extracting module), reads its main
// header and then hands out its blocks in order, up to the end block or the end of the file.
class VolumeReader {
public:
    // ERAR_SUCCESS, ERAR_EOPEN, ERAR_BAD_ARCHIVE, ERAR_UNKNOWN_FORMAT, ERAR_BAD_DATA,
    // ERAR_MISSING_PASSWORD (encrypted headers), ERAR_EREAD.
    int Open(const std::string& path);
    const ArchiveInfo& Info() const { return info_; }
    std::uint64_t ArchiveStart() const { return start_; }

    // ERAR_SUCCESS with the next block, ERAR_END_ARCHIVE when the volume is over, or an error.
    int Next(HeaderBlock& block);
    // After the end: whether the set goes on in another volume.
    bool NextVolumeFollows() const { return nextVolume_; }

private:
    int ReadMain(std::uint64_t offset, int generation);

    VolumeFile file_;
    ArchiveInfo info_;
    std::uint64_t start_ = 0;
    std::uint64_t cursor_ = 0;
    bool ended_ = false;
    bool nextVolume_ = false;
    bool lastSplitAfter_ = false;
};

} // namespace unrar
