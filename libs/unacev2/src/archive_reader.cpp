#include "archive_reader.h"

#include "crc32.h"
#include "volume_names.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace unacev2 {
namespace {

constexpr char kSignature[] = "**ACE**";
constexpr std::size_t kSignatureOffset = 7; // from the block's start

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

VolumeFile::~VolumeFile() {
    Close();
}

void VolumeFile::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

ReadStatus VolumeFile::Open(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadStatus::NotFound : ReadStatus::CannotOpen;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        return ReadStatus::CannotOpen;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    return ReadStatus::Ok;
}

std::ptrdiff_t VolumeFile::ReadAt(std::uint64_t offset, std::uint8_t* dst, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, dst + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::ptrdiff_t>(done);
}

ReadStatus ArchiveReader::ReadBlock(std::uint64_t offset, Block& block) const {
    std::uint8_t head[4];
    const std::ptrdiff_t got = file_.ReadAt(offset, head, 4);
    if (got < 0)
        return ReadStatus::ReadError;
    if (got == 0)
        return ReadStatus::End;
    if (got < 4)
        return ReadStatus::Broken;
    const std::uint16_t crc = static_cast<std::uint16_t>(head[0] | (head[1] << 8));
    const std::size_t size = static_cast<std::size_t>(head[2] | (head[3] << 8));
    if (size < 3)
        return ReadStatus::Broken;
    const std::ptrdiff_t body = file_.ReadAt(offset + 4, block.body, size);
    if (body < 0)
        return ReadStatus::ReadError;
    if (static_cast<std::size_t>(body) < size || AceHeaderCrc(block.body, size) != crc)
        return ReadStatus::Broken;
    const auto frame = ParseBlockHeader(block.body, size);
    if (!frame)
        return ReadStatus::Broken;
    block.frame = *frame;
    block.bodySize = size;
    block.dataOffset = offset + 4 + size;
    if (block.frame.dataSize > file_.Size() - std::min(file_.Size(), block.dataOffset))
        return ReadStatus::Broken;
    return ReadStatus::Ok;
}

ReadStatus ArchiveReader::OpenVolume(const std::string& path, std::uint64_t searchWindow) {
    const ReadStatus opened = file_.Open(path);
    if (opened != ReadStatus::Ok)
        return opened;
    volumePath_ = path;

    auto tryAt = [&](std::uint64_t offset) {
        if (ReadBlock(offset, block_) != ReadStatus::Ok || block_.frame.type != kBlockMain)
            return false;
        const auto main = ParseMainHeader(block_.body, block_.bodySize);
        if (!main)
            return false;
        main_ = *main;
        offset_ = block_.dataOffset;
        return true;
    };
    if (tryAt(0))
        return ReadStatus::Ok;

    // A self-extracting module in front: look for the signature and check each candidate.
    const std::uint64_t window = std::min<std::uint64_t>(searchWindow, file_.Size());
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(window));
    const std::ptrdiff_t got = file_.ReadAt(0, buf.data(), buf.size());
    if (got < 0)
        return ReadStatus::ReadError;
    const std::size_t n = static_cast<std::size_t>(got);
    for (std::size_t i = kSignatureOffset; i + 7 <= n; ++i) {
        if (buf[i] == '*' && std::memcmp(buf.data() + i, kSignature, 7) == 0 &&
            tryAt(i - kSignatureOffset))
            return ReadStatus::Ok;
    }
    return ReadStatus::NotAce;
}

ReadStatus ArchiveReader::Open(const std::string& path, std::uint64_t searchWindow) {
    inEntry_ = false;
    return OpenVolume(path, searchWindow);
}

ReadStatus ArchiveReader::AdvanceVolume(bool required) {
    if (!(main_.flags & kMainMultiVolume)) {
        if (required)
            return ReadStatus::Broken;
        return ReadStatus::End;
    }
    const auto names = NextVolumeNames(volumePath_, main_.volumeNumber);
    const auto found = std::find_if(names.begin(), names.end(), FileExists);
    if (found == names.end()) {
        if (!required)
            return ReadStatus::End;
        events_.VolumeMissing(names.front());
        return ReadStatus::VolumeMissing;
    }
    if (!events_.EnterVolume(*found))
        return ReadStatus::Cancelled;
    const std::uint8_t previous = main_.volumeNumber;
    const ReadStatus st = OpenVolume(*found, 0);
    if (st == ReadStatus::NotAce || (st == ReadStatus::Ok && main_.volumeNumber != previous + 1))
        return ReadStatus::Broken;
    return st == ReadStatus::NotFound ? ReadStatus::VolumeMissing : st;
}

ReadStatus ArchiveReader::Next(FileHeader& entry) {
    if (inEntry_) {
        const ReadStatus st = FinishEntry();
        if (st != ReadStatus::Ok)
            return st;
    }
    for (;;) {
        ReadStatus st = ReadBlock(offset_, block_);
        if (st == ReadStatus::End) {
            st = AdvanceVolume(false);
            if (st == ReadStatus::Ok)
                continue;
            return st;
        }
        if (st != ReadStatus::Ok)
            return st;
        offset_ = block_.dataOffset + block_.frame.dataSize;
        const std::uint8_t type = block_.frame.type;
        if (type != kBlockFile32 && type != kBlockFile64)
            continue; // recovery records and blocks of unknown kinds
        const auto file = ParseFileHeader(block_.body, block_.bodySize);
        if (!file)
            return ReadStatus::Broken;
        if (file->flags & kFileContinuedFromPrevious)
            continue; // the tail of a file that began in a volume before this one
        entry = *file;
        part_ = *file;
        partOffset_ = block_.dataOffset;
        partLeft_ = file->packedSize;
        inEntry_ = true;
        dataStatus_ = ReadStatus::Ok;
        return ReadStatus::Ok;
    }
}

ReadStatus ArchiveReader::NextContinuation() {
    const std::string name = part_.rawName;
    ReadStatus st = AdvanceVolume(true);
    if (st != ReadStatus::Ok)
        return st;
    for (;;) {
        st = ReadBlock(offset_, block_);
        if (st == ReadStatus::End)
            return ReadStatus::Broken;
        if (st != ReadStatus::Ok)
            return st;
        offset_ = block_.dataOffset + block_.frame.dataSize;
        const std::uint8_t type = block_.frame.type;
        if (type != kBlockFile32 && type != kBlockFile64)
            continue;
        const auto file = ParseFileHeader(block_.body, block_.bodySize);
        if (!file || !(file->flags & kFileContinuedFromPrevious) || file->rawName != name)
            return ReadStatus::Broken;
        part_ = *file;
        partOffset_ = block_.dataOffset;
        partLeft_ = file->packedSize;
        return ReadStatus::Ok;
    }
}

std::ptrdiff_t ArchiveReader::ReadData(std::uint8_t* dst, std::size_t size) {
    if (!inEntry_ || dataStatus_ != ReadStatus::Ok)
        return dataStatus_ == ReadStatus::Ok ? 0 : -1;
    while (partLeft_ == 0) {
        if (!(part_.flags & kFileContinuesInNext))
            return 0;
        dataStatus_ = NextContinuation();
        if (dataStatus_ != ReadStatus::Ok)
            return -1;
    }
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, partLeft_));
    const std::ptrdiff_t got = file_.ReadAt(partOffset_, dst, want);
    if (got < 0 || static_cast<std::size_t>(got) < want) {
        dataStatus_ = got < 0 ? ReadStatus::ReadError : ReadStatus::Broken;
        return -1;
    }
    partOffset_ += want;
    partLeft_ -= want;
    return got;
}

ReadStatus ArchiveReader::FinishEntry() {
    if (!inEntry_)
        return ReadStatus::Ok;
    inEntry_ = false;
    if (dataStatus_ != ReadStatus::Ok)
        return dataStatus_;
    while (part_.flags & kFileContinuesInNext) {
        const ReadStatus st = NextContinuation();
        if (st != ReadStatus::Ok)
            return st;
    }
    partLeft_ = 0;
    return ReadStatus::Ok;
}

} // namespace unacev2
