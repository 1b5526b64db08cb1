#pragma once

#include "volume_chain.h"

#include <optional>

namespace unrar {

// Where one part of an entry's data lies.
struct DataPart {
    std::size_t volume = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// An entry as the walker met it: its first header, where that lies, and what the later parts
// of a split entry have added once they were followed.
struct WalkedEntry {
    EntryHeader header;
    std::size_t volume = 0;
    std::uint32_t finalCrc = 0; // the last part's CRC covers the whole entry
    bool finalHasCrc = false;
    bool followed = false;
    std::vector<DataPart> parts;
};

// Walks the file headers of an archive or a whole volume set, in order, moving on through the
// volumes as their end blocks say.
class HeaderWalker {
public:
    explicit HeaderWalker(VolumeChain& chain) : chain_(chain) {}

    // The next entry; later parts of split entries only when asked for. ERAR_SUCCESS,
    // ERAR_END_ARCHIVE or an error code.
    int NextEntry(bool includeLaterParts, WalkedEntry& entry);
    // Reads through the later parts of a split entry, so that all its volumes are known.
    int FollowSplit(WalkedEntry& entry);

private:
    int NextBlock(HeaderBlock& block);

    VolumeChain& chain_;
    std::optional<HeaderBlock> pending_;
};

} // namespace unrar
