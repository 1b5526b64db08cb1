#include "archive_session.h"

#include <cstring>
#include <vector>

namespace unrar {
namespace {

std::string WithoutTrailingSlash(const char* name) {
    std::string text = name ? name : "";
    while (!text.empty() && text.back() == '/')
        text.pop_back();
    return text;
}

bool SameEntry(struct archive_entry* found, const EntryHeader& wanted) {
    const std::string name = WithoutTrailingSlash(wanted.name.c_str());
    const char* utf8 = archive_entry_pathname_utf8(found);
    if (utf8 != nullptr && WithoutTrailingSlash(utf8) == name)
        return true;
    const char* narrow = archive_entry_pathname(found);
    return narrow != nullptr &&
           WithoutTrailingSlash(narrow) == WithoutTrailingSlash(wanted.rawName.c_str());
}

} // namespace

ArchiveSession::ArchiveSession(const std::vector<ResolvedVolume>& volumes, std::size_t firstVolume)
    : firstVolume_(firstVolume), stream_(std::make_unique<ChainedStream>(volumes, firstVolume)) {
    archive_ = archive_read_new();
    if (archive_ == nullptr)
        return;
    archive_read_support_format_rar(archive_);
    archive_read_support_format_rar5(archive_);
    archive_read_set_read_callback(archive_, &ChainedStream::Read);
    archive_read_set_skip_callback(archive_, &ChainedStream::Skip);
    archive_read_set_callback_data(archive_, stream_.get());
    if (archive_read_open1(archive_) != ARCHIVE_OK)
        broken_ = true;
}

ArchiveSession::~ArchiveSession() {
    if (archive_ != nullptr)
        archive_read_free(archive_);
}

int ArchiveSession::Failure() {
    broken_ = true;
    entry_ = nullptr;
    return stream_->Failure() ? stream_->Failure() : ERAR_BAD_DATA;
}

int ArchiveSession::Seek(const EntryHeader& wanted) {
    if (!Usable())
        return ERAR_BAD_DATA;
    for (;;) {
        struct archive_entry* found = nullptr;
        const int result = archive_read_next_header(archive_, &found);
        if (result == ARCHIVE_EOF || result == ARCHIVE_FATAL)
            return Failure();
        if (!SameEntry(found, wanted))
            continue;
        if (result == ARCHIVE_FAILED)
            return ERAR_BAD_DATA;
        entry_ = found;
        return ERAR_SUCCESS;
    }
}

int ArchiveSession::Read(const Sink& sink) {
    if (entry_ == nullptr)
        return ERAR_BAD_DATA;
    std::vector<unsigned char> zeros;
    la_int64_t expected = 0;
    for (;;) {
        const void* block = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int result = archive_read_data_block(archive_, &block, &size, &offset);
        if (result == ARCHIVE_EOF)
            return ERAR_SUCCESS;
        if (result < ARCHIVE_WARN)
            return Failure();
        // Holes of sparse entries arrive as a jump of the offset.
        while (offset > expected) {
            zeros.assign(static_cast<std::size_t>(std::min<la_int64_t>(offset - expected, 65536)),
                         0);
            if (const int stop = sink(zeros.data(), zeros.size()))
                return stop;
            expected += static_cast<la_int64_t>(zeros.size());
        }
        if (size > 0) {
            if (const int stop = sink(block, size))
                return stop;
        }
        expected = offset + static_cast<la_int64_t>(size);
    }
}

std::string ArchiveSession::LinkTarget() const {
    if (entry_ == nullptr)
        return {};
    if (const char* target = archive_entry_symlink_utf8(entry_))
        return target;
    if (const char* target = archive_entry_symlink(entry_))
        return target;
    return {};
}

} // namespace unrar
