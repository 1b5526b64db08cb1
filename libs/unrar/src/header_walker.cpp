#include "header_walker.h"

namespace unrar {

int HeaderWalker::NextBlock(HeaderBlock& block) {
    if (pending_) {
        block = std::move(*pending_);
        pending_.reset();
        return ERAR_SUCCESS;
    }
    for (;;) {
        const int result = chain_.Current().Next(block);
        if (result != ERAR_END_ARCHIVE)
            return result;
        if (!chain_.Current().NextVolumeFollows())
            return ERAR_END_ARCHIVE;
        if (const int advanced = chain_.Advance())
            return advanced;
    }
}

int HeaderWalker::NextEntry(bool includeLaterParts, WalkedEntry& entry) {
    HeaderBlock block;
    for (;;) {
        if (const int result = NextBlock(block))
            return result;
        if (block.kind != BlockKind::File || (block.entry.splitBefore && !includeLaterParts))
            continue;
        entry = WalkedEntry{};
        entry.header = std::move(block.entry);
        entry.volume = chain_.CurrentIndex();
        entry.finalCrc = entry.header.crc;
        entry.finalHasCrc = entry.header.hasCrc && !entry.header.splitAfter;
        entry.followed = !entry.header.splitAfter;
        entry.parts.push_back({entry.volume, block.dataStart, entry.header.packSize});
        return ERAR_SUCCESS;
    }
}

int HeaderWalker::FollowSplit(WalkedEntry& entry) {
    HeaderBlock block;
    while (!entry.followed) {
        const int result = NextBlock(block);
        if (result == ERAR_END_ARCHIVE)
            return ERAR_BAD_DATA;
        if (result != ERAR_SUCCESS)
            return result;
        if (block.kind != BlockKind::File)
            continue;
        if (!block.entry.splitBefore) {
            pending_ = std::move(block);
            return ERAR_BAD_DATA;
        }
        entry.followed = !block.entry.splitAfter;
        entry.parts.push_back({chain_.CurrentIndex(), block.dataStart, block.entry.packSize});
        entry.finalCrc = block.entry.crc;
        entry.finalHasCrc = block.entry.hasCrc && entry.followed;
    }
    return ERAR_SUCCESS;
}

} // namespace unrar
