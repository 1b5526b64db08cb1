#pragma once

#include "unrar.h"
#include "volume_reader.h"

#include <memory>
#include <string>
#include <vector>

namespace unrar {

struct ResolvedVolume {
    std::string path;
    std::uint64_t start = 0; // where the archive begins in the file
};

// The volumes of a set as far as they have been reached, and the one being read now. Moving on
// names the next volume by the first volume's numbering, asks the volume callback while it is
// missing and announces it once it is open.
class VolumeChain {
public:
    void SetCallback(CHANGEVOLPROC callback) { callback_ = callback; }
    int OpenFirst(const std::string& path);
    VolumeReader& Current() { return *current_; }
    const ArchiveInfo& FirstInfo() const { return firstInfo_; }
    const std::vector<ResolvedVolume>& Volumes() const { return volumes_; }
    std::size_t CurrentIndex() const { return volumes_.size() - 1; }

    // ERAR_SUCCESS, ERAR_EOPEN (missing and the callback said stop, or it said stop to the
    // announcement) or the error of opening the new volume.
    int Advance();

private:
    CHANGEVOLPROC callback_ = nullptr;
    bool stopped_ = false; // once told to stop, the set ends there
    std::unique_ptr<VolumeReader> current_;
    ArchiveInfo firstInfo_;
    std::vector<ResolvedVolume> volumes_;
};

} // namespace unrar
