#include "attributes.h"

#include "unrar.h"

namespace unrar {

std::uint32_t WindowsAttributes(const EntryHeader& entry) {
    if (entry.folder)
        return RAR_ATTR_DIRECTORY;
    std::uint32_t attributes = 0;
    if (entry.hostOs == RAR_HOST_UNIX || entry.hostOs == RAR_HOST_BEOS ||
        entry.hostOs == RAR_HOST_MACOS) {
        constexpr std::uint32_t kOwnerWrite = 0200;
        attributes = RAR_ATTR_ARCHIVE;
        if ((entry.attributes & kOwnerWrite) == 0)
            attributes |= RAR_ATTR_READONLY;
    } else {
        attributes = entry.attributes & ~static_cast<std::uint32_t>(RAR_ATTR_DIRECTORY);
        if (attributes == 0)
            attributes = RAR_ATTR_ARCHIVE;
    }
    return attributes;
}

} // namespace unrar
