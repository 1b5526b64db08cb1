#include "volume_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace unrar {

VolumeFile::~VolumeFile() {
    Close();
}

bool VolumeFile::Open(const std::string& path) {
    Close();
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return false;
    struct stat info {};
    if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        Close();
        return false;
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    return true;
}

void VolumeFile::Close() {
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    size_ = 0;
}

long long VolumeFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            pread(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

} // namespace unrar
