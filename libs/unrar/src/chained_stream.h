#pragma once

#include "volume_chain.h"
#include "volume_file.h"

#include <archive.h>
#include <vector>

namespace unrar {

// The volumes of a set as one byte stream for libarchive, each volume from its archive start,
// beginning at a chosen volume and ending after the last volume reached so far.
class ChainedStream {
public:
    ChainedStream(const std::vector<ResolvedVolume>& volumes, std::size_t first)
        : volumes_(volumes), next_(first), buffer_(kBlockSize) {}

    static la_ssize_t Read(struct archive* archive, void* self, const void** block);
    static la_int64_t Skip(struct archive* archive, void* self, la_int64_t request);
    // ERAR_EOPEN or ERAR_EREAD after a failed read, else ERAR_SUCCESS.
    int Failure() const { return failure_; }

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    la_ssize_t ReadBlock(struct archive* archive, const void** block);
    la_int64_t SkipBytes(la_int64_t request);

    const std::vector<ResolvedVolume>& volumes_;
    std::size_t next_;
    VolumeFile file_;
    std::uint64_t position_ = 0;
    std::vector<unsigned char> buffer_;
    int failure_ = 0;
};

} // namespace unrar
