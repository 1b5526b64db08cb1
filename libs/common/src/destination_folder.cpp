#include "twlib/destination_folder.h"

#include "twlib/safe_path.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <random>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace twlib {
namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::vector<std::string> Split(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

int RenameNoReplace(int fromDir, const char* from, int toDir, const char* to) {
    if (syscall(SYS_renameat2, fromDir, from, toDir, to, RENAME_NOREPLACE) == 0)
        return 0;
    return errno;
}

std::string TempNameFor(const std::string& leaf) {
    static thread_local std::mt19937 random{std::random_device{}()};
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return ".tw-" + leaf.substr(0, 200) + "." + suffix;
}

} // namespace

DestinationFolder::DestinationFolder(const std::string& path) {
    rootFd_ = open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd_ < 0)
        openError_ = errno;
}

DestinationFolder::~DestinationFolder() {
    if (rootFd_ >= 0)
        close(rootFd_);
}

int DestinationFolder::OpenParent(std::string_view relPath, bool create, int& parentFd,
                                  std::string& leaf) const {
    if (rootFd_ < 0)
        return openError_;
    auto parts = Split(relPath);
    if (parts.empty())
        return EINVAL;
    leaf = parts.back();
    parts.pop_back();
    int fd = dup(rootFd_);
    if (fd < 0)
        return errno;
    for (const auto& part : parts) {
        int next = openat(fd, part.c_str(), kDirFlags);
        if (next < 0 && errno == ENOENT && create) {
            if (mkdirat(fd, part.c_str(), 0777) != 0 && errno != EEXIST) {
                const int error = errno;
                close(fd);
                return error;
            }
            next = openat(fd, part.c_str(), kDirFlags);
        }
        const int error = errno;
        close(fd);
        if (next < 0)
            return error == ELOOP ? ENOTDIR : error;
        fd = next;
    }
    parentFd = fd;
    return 0;
}

int DestinationFolder::MakeFolders(std::string_view relPath) {
    int parent = -1;
    std::string leaf;
    if (const int error = OpenParent(relPath, true, parent, leaf))
        return error;
    int result = 0;
    if (mkdirat(parent, leaf.c_str(), 0777) != 0) {
        struct stat info {};
        if (errno != EEXIST || fstatat(parent, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISDIR(info.st_mode))
            result = errno == EEXIST ? ENOTDIR : errno;
    }
    close(parent);
    return result;
}

bool DestinationFolder::Exists(std::string_view relPath) const {
    return ModificationTime(relPath) != -1;
}

std::time_t DestinationFolder::ModificationTime(std::string_view relPath) const {
    int parent = -1;
    std::string leaf;
    if (OpenParent(relPath, false, parent, leaf) != 0)
        return -1;
    struct stat info {};
    const bool found = fstatat(parent, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    close(parent);
    return found ? info.st_mtime : -1;
}

int DestinationFolder::BeginFile(std::string_view relPath, bool overwrite, OutputFile& out) {
    out.Discard();
    int parent = -1;
    std::string leaf;
    if (const int error = OpenParent(relPath, true, parent, leaf))
        return error;
    struct stat info {};
    if (fstatat(parent, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : (overwrite ? 0 : EEXIST);
        if (error) {
            close(parent);
            return error;
        }
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temp = TempNameFor(leaf);
        const int fd = openat(parent, temp.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            out.parentFd_ = parent;
            out.fd_ = fd;
            out.tempName_ = temp;
            out.leaf_ = leaf;
            out.overwrite_ = overwrite;
            return 0;
        }
        if (errno != EEXIST) {
            const int error = errno;
            close(parent);
            return error;
        }
    }
    close(parent);
    return EEXIST;
}

bool DestinationFolder::TargetStaysPhysicallyInside(std::string_view relPath,
                                                    std::string_view target) const {
    // Lexical ".." is only sound over real folders: every part a ".." steps back over must be a
    // folder that exists now (folders are never replaced by links later).
    auto resolved = Split(relPath);
    resolved.pop_back();
    for (const auto& part : Split(std::string(target))) {
        if (part == ".") {
            continue;
        }
        if (part != "..") {
            resolved.push_back(part);
            continue;
        }
        std::string prefix;
        for (const auto& p : resolved)
            prefix += (prefix.empty() ? "" : "/") + p;
        int parent = -1;
        std::string leaf;
        if (prefix.empty() || OpenParent(prefix, false, parent, leaf) != 0)
            return false;
        struct stat info {};
        const bool isFolder =
            fstatat(parent, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
        close(parent);
        if (!isFolder)
            return false;
        resolved.pop_back();
    }
    return true;
}

int DestinationFolder::CreateSymlink(std::string_view relPath, std::string_view target,
                                     bool overwrite) {
    std::string normalisedTarget(target);
    for (auto& c : normalisedTarget)
        if (c == '\\')
            c = '/';
    if (!LinkTargetStaysInside(relPath, normalisedTarget) ||
        !TargetStaysPhysicallyInside(relPath, normalisedTarget))
        return EPERM;
    int parent = -1;
    std::string leaf;
    if (const int error = OpenParent(relPath, true, parent, leaf))
        return error;
    struct stat info {};
    int result = 0;
    if (fstatat(parent, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(info.st_mode))
            result = EISDIR;
        else if (!overwrite)
            result = EEXIST;
        else if (unlinkat(parent, leaf.c_str(), 0) != 0)
            result = errno;
    }
    if (result == 0 && symlinkat(normalisedTarget.c_str(), parent, leaf.c_str()) != 0)
        result = errno;
    close(parent);
    return result;
}

OutputFile::~OutputFile() {
    Discard();
}

int OutputFile::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd_, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int OutputFile::Commit(std::time_t modificationTime) {
    if (fd_ < 0)
        return EBADF;
    if (modificationTime != -1) {
        const timespec times[2] = {{0, UTIME_NOW}, {modificationTime, 0}};
        futimens(fd_, times);
    }
    int result = close(fd_) == 0 ? 0 : errno;
    fd_ = -1;
    if (result == 0) {
        result =
            overwrite_
                ? (renameat(parentFd_, tempName_.c_str(), parentFd_, leaf_.c_str()) == 0 ? 0
                                                                                         : errno)
                : RenameNoReplace(parentFd_, tempName_.c_str(), parentFd_, leaf_.c_str());
    }
    if (result != 0)
        unlinkat(parentFd_, tempName_.c_str(), 0);
    close(parentFd_);
    parentFd_ = -1;
    tempName_.clear();
    return result;
}

void OutputFile::Discard() {
    if (fd_ >= 0)
        close(fd_);
    if (parentFd_ >= 0) {
        unlinkat(parentFd_, tempName_.c_str(), 0);
        close(parentFd_);
    }
    fd_ = -1;
    parentFd_ = -1;
    tempName_.clear();
}

} // namespace twlib
