#include "entry_processor.h"

#include <climits>
#include <optional>
#include <twlib/safe_path.h>

namespace unrar {
namespace {

struct Target {
    std::string folder;
    std::string relative;
};

std::optional<Target> TargetOf(const WalkedEntry& entry, const char* destFolder,
                               const char* destName) {
    if (destName != nullptr && *destName != 0) {
        const std::string path = destName;
        const auto slash = path.rfind('/');
        if (slash == std::string::npos)
            return Target{"", path};
        if (slash + 1 == path.size())
            return std::nullopt;
        return Target{path.substr(0, slash + 1), path.substr(slash + 1)};
    }
    auto relative = twlib::SafeRelativePath(entry.header.name);
    if (!relative)
        return std::nullopt;
    return Target{destFolder ? destFolder : "", *relative};
}

// The destination refuses ".." over folders that do not exist yet, so a link that stays inside
// by its text gets its own folders first.
int CreateLink(twlib::DestinationFolder& destination, const std::string& relative,
               std::string target) {
    for (auto& c : target)
        if (c == '\\')
            c = '/';
    if (!twlib::LinkTargetStaysInside(relative, target))
        return ERAR_ECREATE;
    const auto slash = relative.rfind('/');
    if (slash != std::string::npos && destination.MakeFolders(relative.substr(0, slash)))
        return ERAR_ECREATE;
    return destination.CreateSymlink(relative, target, true) ? ERAR_ECREATE : ERAR_SUCCESS;
}

} // namespace

twlib::DestinationFolder& EntryProcessor::DestinationFor(const std::string& folder) {
    if (!destination_ || destinationPath_ != folder || destination_->OpenError()) {
        destination_ = std::make_unique<twlib::DestinationFolder>(folder);
        destinationPath_ = folder;
    }
    return *destination_;
}

int EntryProcessor::Forward(const void* data, std::size_t size) const {
    if (dataCallback_ == nullptr)
        return ERAR_SUCCESS;
    auto* bytes = static_cast<unsigned char*>(const_cast<void*>(data));
    while (size > 0) {
        const int piece = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
        if (dataCallback_(bytes, piece) == 0)
            return ERAR_UNKNOWN;
        bytes += piece;
        size -= static_cast<std::size_t>(piece);
    }
    return ERAR_SUCCESS;
}

int EntryProcessor::Test(const WalkedEntry& entry) {
    if (entry.header.folder)
        return ERAR_SUCCESS;
    if (const int result = decoder_.Prepare(entry))
        return result;
    if (entry.header.link) {
        std::string target;
        return decoder_.LinkTarget(entry, target);
    }
    if (entry.header.otherLink)
        return ERAR_SUCCESS;
    return decoder_.Decode(
        entry, [this](const void* data, std::size_t size) { return Forward(data, size); });
}

int EntryProcessor::Extract(const WalkedEntry& entry, const char* destFolder,
                            const char* destName) {
    const auto target = TargetOf(entry, destFolder, destName);
    if (!target)
        return ERAR_ECREATE;
    twlib::DestinationFolder& destination = DestinationFor(target->folder);
    if (destination.OpenError())
        return ERAR_ECREATE;
    if (entry.header.folder)
        return destination.MakeFolders(target->relative) ? ERAR_ECREATE : ERAR_SUCCESS;
    if (entry.header.otherLink)
        return ERAR_ECREATE;
    if (const int result = decoder_.Prepare(entry))
        return result;
    if (entry.header.link) {
        std::string linkTarget;
        if (const int result = decoder_.LinkTarget(entry, linkTarget))
            return result;
        return CreateLink(destination, target->relative, linkTarget);
    }
    twlib::OutputFile output;
    if (destination.BeginFile(target->relative, true, output))
        return ERAR_ECREATE;
    const int result = decoder_.Decode(entry, [&](const void* data, std::size_t size) {
        if (const int stop = Forward(data, size))
            return stop;
        return output.Write(data, size) ? ERAR_EWRITE : ERAR_SUCCESS;
    });
    if (result != ERAR_SUCCESS) {
        output.Discard();
        return result;
    }
    return output.Commit(entry.header.mtime) ? ERAR_ECLOSE : ERAR_SUCCESS;
}

} // namespace unrar
