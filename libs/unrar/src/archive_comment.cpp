#include "archive_comment.h"

#include "stored_reader.h"
#include "volume_reader.h"

#include <algorithm>

namespace unrar {

std::optional<std::string> ReadArchiveComment(const std::string& volumePath, std::size_t limit) {
    VolumeReader reader;
    if (reader.Open(volumePath) != ERAR_SUCCESS)
        return std::nullopt;
    HeaderBlock block;
    while (reader.Next(block) == ERAR_SUCCESS && block.kind != BlockKind::File) {
        if (block.kind != BlockKind::Service || block.entry.rawName != "CMT")
            continue;
        if (block.entry.method != 0x30 || block.entry.encrypted)
            return std::nullopt;
        const std::vector<ResolvedVolume> volumes = {{volumePath, reader.ArchiveStart()}};
        const std::vector<DataPart> parts = {
            {0, block.dataStart, std::min<std::uint64_t>(block.entry.packSize, limit)}};
        std::string text;
        const int result = ReadStoredData(volumes, parts, [&](const void* data, std::size_t size) {
            text.append(static_cast<const char*>(data), size);
            return ERAR_SUCCESS;
        });
        if (result != ERAR_SUCCESS)
            return std::nullopt;
        return text.substr(0, text.find('\0'));
    }
    return std::nullopt;
}

} // namespace unrar
