#include "volume_chain.h"

#include "volume_naming.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace unrar {
namespace {

// Room the callback gets to write another path into.
constexpr std::size_t kCallbackNameSize = 2048;
// A callback that keeps saying "look again" while nothing appears would never end the call.
constexpr int kMaxFruitlessAsks = 100;

// Anything at the path counts, also what cannot be read: opening it then gives the error.
bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 || errno == EACCES;
}

int Call(CHANGEVOLPROC callback, std::string& name, int mode) {
    char buffer[kCallbackNameSize] = {};
    std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
    const int answer = callback(buffer, mode);
    buffer[sizeof buffer - 1] = 0;
    name = buffer;
    return answer;
}

} // namespace

int VolumeChain::OpenFirst(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    const std::string full = error ? path : absolute.lexically_normal().string();
    current_ = std::make_unique<VolumeReader>();
    if (const int result = current_->Open(full))
        return result;
    firstInfo_ = current_->Info();
    volumes_.push_back({full, current_->ArchiveStart()});
    return ERAR_SUCCESS;
}

int VolumeChain::Advance() {
    if (stopped_)
        return ERAR_EOPEN;
    std::string name = NextVolumeName(volumes_.back().path, firstInfo_.newNumbering);
    for (int asks = 0; !Exists(name); ++asks) {
        if (callback_ == nullptr || asks == kMaxFruitlessAsks ||
            Call(callback_, name, RAR_VOL_ASK) == 0) {
            stopped_ = true;
            return ERAR_EOPEN;
        }
    }
    auto next = std::make_unique<VolumeReader>();
    if (const int result = next->Open(name))
        return result;
    if (callback_ != nullptr && Call(callback_, name, RAR_VOL_NOTIFY) == 0) {
        stopped_ = true;
        return ERAR_EOPEN;
    }
    current_ = std::move(next);
    volumes_.push_back({name, current_->ArchiveStart()});
    return ERAR_SUCCESS;
}

} // namespace unrar
