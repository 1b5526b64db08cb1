#include "entry_decoder.h"

#include "crc32.h"
#include "stored_reader.h"

namespace unrar {
namespace {

constexpr std::uint32_t kMethodStore = 0x30;
// A link target longer than any path is damage, not a name.
constexpr std::size_t kMaxLinkTarget = 4096;

} // namespace

bool EntryDecoder::IsStored(const WalkedEntry& entry) {
    return entry.header.method == kMethodStore;
}

int EntryDecoder::SeekFrom(std::size_t volume, const WalkedEntry& entry) {
    session_ = std::make_unique<ArchiveSession>(chain_.Volumes(), volume);
    return session_->Seek(entry.header);
}

int EntryDecoder::Prepare(const WalkedEntry& entry) {
    if (entry.header.encrypted)
        return password_ ? ERAR_BAD_PASSWORD : ERAR_MISSING_PASSWORD;
    if (IsStored(entry) || (entry.header.link && !entry.header.linkTarget.empty()))
        return ERAR_SUCCESS;
    if (session_ && session_->Usable() && session_->FirstVolume() <= entry.volume) {
        const int result = session_->Seek(entry.header);
        // libarchive ends a session at a volume's end; the entry's own volume gets a new one.
        if (result == ERAR_SUCCESS || session_->FirstVolume() == entry.volume)
            return result;
    }
    return SeekFrom(entry.volume, entry);
}

int EntryDecoder::Decode(const WalkedEntry& entry, const ArchiveSession::Sink& sink) {
    std::uint32_t crc = 0;
    const auto checked = [&](const void* data, std::size_t size) {
        crc = Crc32(crc, data, size);
        return sink(data, size);
    };
    const int result = IsStored(entry) ? ReadStoredData(chain_.Volumes(), entry.parts, checked)
                                       : session_->Read(checked);
    if (result != ERAR_SUCCESS)
        return result;
    if (entry.finalHasCrc && crc != entry.finalCrc)
        return ERAR_BAD_DATA;
    return ERAR_SUCCESS;
}

int EntryDecoder::LinkTarget(const WalkedEntry& entry, std::string& target) {
    if (!entry.header.linkTarget.empty()) {
        target = entry.header.linkTarget;
        return ERAR_SUCCESS;
    }
    if (!IsStored(entry)) {
        target = session_->LinkTarget();
        return target.empty() ? ERAR_BAD_DATA : ERAR_SUCCESS;
    }
    target.clear();
    const int result = Decode(entry, [&](const void* data, std::size_t size) {
        if (target.size() + size > kMaxLinkTarget)
            return ERAR_BAD_DATA;
        target.append(static_cast<const char*>(data), size);
        return ERAR_SUCCESS;
    });
    return result != ERAR_SUCCESS ? result : target.empty() ? ERAR_BAD_DATA : ERAR_SUCCESS;
}

} // namespace unrar
