#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace twlib {

class OutputFile;

// Everything a library writes goes through here. Every path is a SafeRelativePath result, and
// every step opens one component relative to the one before without following symbolic links,
// so neither a hostile name nor a link planted by an earlier entry can lead a write outside.
// Results are 0 or an errno value.
class DestinationFolder {
public:
    explicit DestinationFolder(const std::string& path);
    ~DestinationFolder();
    DestinationFolder(const DestinationFolder&) = delete;
    DestinationFolder& operator=(const DestinationFolder&) = delete;

    // 0 when the destination folder could be opened, else its errno.
    int OpenError() const { return openError_; }

    int MakeFolders(std::string_view relPath);
    bool Exists(std::string_view relPath) const;
    // Modification time of an existing entry, or -1.
    std::time_t ModificationTime(std::string_view relPath) const;

    // Starts writing relPath: the data goes to a temporary file beside it that Commit puts in
    // place, so a failed or damaged entry never leaves half a file over a good one. With
    // overwrite false an existing entry gives EEXIST. A directory in the way gives EISDIR.
    int BeginFile(std::string_view relPath, bool overwrite, OutputFile& out);

    // Creates a symbolic link; targets that could resolve outside the destination give EPERM.
    int CreateSymlink(std::string_view relPath, std::string_view target, bool overwrite);

private:
    // Opens the folder that holds relPath's last part; creates missing folders when asked.
    int OpenParent(std::string_view relPath, bool create, int& parentFd, std::string& leaf) const;
    bool TargetStaysPhysicallyInside(std::string_view relPath, std::string_view target) const;

    int rootFd_ = -1;
    int openError_ = 0;
};

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Write(const void* data, std::size_t size);
    // Sets the modification time (when not -1) and moves the file into place.
    int Commit(std::time_t modificationTime);
    // Removes the temporary file; also done by the destructor when not committed.
    void Discard();

private:
    friend class DestinationFolder;
    int parentFd_ = -1;
    int fd_ = -1;
    std::string tempName_;
    std::string leaf_;
    bool overwrite_ = false;
};

} // namespace twlib
