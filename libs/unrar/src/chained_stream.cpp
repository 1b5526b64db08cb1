#include "chained_stream.h"

#include <algorithm>
#include <cerrno>

namespace unrar {

la_ssize_t ChainedStream::Read(struct archive* archive, void* self, const void** block) {
    return static_cast<ChainedStream*>(self)->ReadBlock(archive, block);
}

la_int64_t ChainedStream::Skip(struct archive*, void* self, la_int64_t request) {
    return static_cast<ChainedStream*>(self)->SkipBytes(request);
}

la_ssize_t ChainedStream::ReadBlock(struct archive* archive, const void** block) {
    for (;;) {
        if (!file_.IsOpen()) {
            if (next_ >= volumes_.size())
                return 0;
            const ResolvedVolume& volume = volumes_[next_++];
            if (!file_.Open(volume.path)) {
                failure_ = ERAR_EOPEN;
                archive_set_error(archive, errno, "cannot open %s", volume.path.c_str());
                return -1;
            }
            position_ = volume.start;
        }
        const long long got = file_.ReadAt(position_, buffer_.data(), buffer_.size());
        if (got < 0) {
            failure_ = ERAR_EREAD;
            archive_set_error(archive, errno, "read error");
            return -1;
        }
        if (got == 0) {
            file_.Close();
            continue;
        }
        position_ += static_cast<std::uint64_t>(got);
        *block = buffer_.data();
        return static_cast<la_ssize_t>(got);
    }
}

la_int64_t ChainedStream::SkipBytes(la_int64_t request) {
    if (!file_.IsOpen() || request <= 0 || position_ >= file_.Size())
        return 0;
    const auto step =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(request), file_.Size() - position_);
    position_ += step;
    return static_cast<la_int64_t>(step);
}

} // namespace unrar
