#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace unrar {

// One archive file opened for reading at explicit offsets.
class VolumeFile {
public:
    VolumeFile() = default;
    ~VolumeFile();
    VolumeFile(const VolumeFile&) = delete;
    VolumeFile& operator=(const VolumeFile&) = delete;

    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    std::uint64_t Size() const { return size_; }
    // Reads up to `size` bytes at `offset`; returns the count (short only at the end) or -1.
    long long ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace unrar
