#pragma once

#include "chained_stream.h"
#include "entry_header.h"

#include <archive.h>
#include <archive_entry.h>
#include <functional>
#include <memory>
#include <string>

namespace unrar {

// libarchive's RAR and RAR 5 readers over the volumes from one volume on. Entries are found by
// moving forward to the next one of the same name, so a session serves every entry after it in
// turn (solid archives need that) until libarchive gives up; then a new session starts.
class ArchiveSession {
public:
    using Sink = std::function<int(const void* data, std::size_t size)>;

    ArchiveSession(const std::vector<ResolvedVolume>& volumes, std::size_t firstVolume);
    ~ArchiveSession();
    ArchiveSession(const ArchiveSession&) = delete;
    ArchiveSession& operator=(const ArchiveSession&) = delete;

    std::size_t FirstVolume() const { return firstVolume_; }
    bool Usable() const { return archive_ != nullptr && !broken_; }

    // ERAR_SUCCESS once positioned on the entry, else an error code.
    int Seek(const EntryHeader& entry);
    // Every block of the entry's data, in order; the sink's nonzero result stops and is returned.
    int Read(const Sink& sink);
    // The target of the symbolic link the session is positioned on, or empty.
    std::string LinkTarget() const;

private:
    int Failure();

    std::size_t firstVolume_;
    std::unique_ptr<ChainedStream> stream_;
    struct archive* archive_ = nullptr;
    struct archive_entry* entry_ = nullptr;
    bool broken_ = false;
};

} // namespace unrar
