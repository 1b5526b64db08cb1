#pragma once

#include "byte_io.h"
#include "headers.h"

#include <cstdint>
#include <string>

namespace unacev2 {

enum class ReadStatus {
    Ok,
    End,
    NotFound,      // the archive file does not exist
    CannotOpen,    // it exists but cannot be opened
    NotAce,        // no main header in the search window
    Broken,        // a header fails its check, does not fit, or the file ends early
    ReadError,     // the file system failed a read
    VolumeMissing, // a split file continues in a volume that is not there
    Cancelled,     // the caller declined the next volume
};

// What the reader tells its caller about volumes.
class VolumeEvents {
public:
    virtual ~VolumeEvents() = default;
    // The next volume of the set was found at path; false stops the operation.
    virtual bool EnterVolume(const std::string& path) = 0;
    virtual void VolumeMissing(const std::string& path) = 0;
};

// One volume file, read with pread.
class VolumeFile {
public:
    VolumeFile() = default;
    ~VolumeFile();
    VolumeFile(const VolumeFile&) = delete;
    VolumeFile& operator=(const VolumeFile&) = delete;

    ReadStatus Open(const std::string& path);
    void Close();
    // Bytes read (fewer only at the end of the file), or -1.
    std::ptrdiff_t ReadAt(std::uint64_t offset, std::uint8_t* dst, std::size_t size) const;
    std::uint64_t Size() const { return size_; }

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Walks the blocks of an archive, volume after volume: finds the main header (also behind a
// self-extracting module), hands out the entries, and gives each entry's packed data as one
// stream over all the parts a volume set split it into.
class ArchiveReader {
public:
    explicit ArchiveReader(VolumeEvents& events) : events_(events), data_(*this) {}

    // searchWindow: how far into the file a main header is looked for.
    ReadStatus Open(const std::string& path, std::uint64_t searchWindow);
    const MainHeader& Main() const { return main_; }
    const std::string& VolumePath() const { return volumePath_; }

    // The next entry (the first part of a file). Skips what is left of the previous one.
    ReadStatus Next(FileHeader& entry);
    // The current entry's packed bytes over all its parts. A read of -1 leaves its reason in
    // DataStatus.
    ByteSource& Data() { return data_; }
    ReadStatus DataStatus() const { return dataStatus_; }
    // Skips the rest of the entry; afterwards LastPart is the header of its final part, which
    // carries the CRC of the whole file.
    ReadStatus FinishEntry();
    const FileHeader& LastPart() const { return part_; }

private:
    class EntryData final : public ByteSource {
    public:
        explicit EntryData(ArchiveReader& reader) : reader_(reader) {}
        std::ptrdiff_t Read(std::uint8_t* dst, std::size_t size) override {
            return reader_.ReadData(dst, size);
        }

    private:
        ArchiveReader& reader_;
    };

    struct Block {
        BlockHeader frame;
        std::uint8_t body[65536];
        std::size_t bodySize = 0;
        std::uint64_t dataOffset = 0;
    };

    ReadStatus ReadBlock(std::uint64_t offset, Block& block) const;
    ReadStatus OpenVolume(const std::string& path, std::uint64_t searchWindow);
    ReadStatus AdvanceVolume(bool required);
    ReadStatus NextContinuation();
    std::ptrdiff_t ReadData(std::uint8_t* dst, std::size_t size);

    VolumeEvents& events_;
    EntryData data_;
    VolumeFile file_;
    std::string volumePath_;
    MainHeader main_;
    std::uint64_t offset_ = 0; // next block in the current volume
    Block block_;

    bool inEntry_ = false;
    FileHeader part_;
    std::uint64_t partOffset_ = 0; // the current part's unread data
    std::uint64_t partLeft_ = 0;
    ReadStatus dataStatus_ = ReadStatus::Ok;
};

} // namespace unacev2
