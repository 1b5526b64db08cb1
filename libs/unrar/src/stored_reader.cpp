#include "stored_reader.h"

#include <algorithm>
#include <vector>

namespace unrar {

int ReadStoredData(const std::vector<ResolvedVolume>& volumes, const std::vector<DataPart>& parts,
                   const std::function<int(const void*, std::size_t)>& sink) {
    constexpr std::size_t kBlock = 256 * 1024;
    std::vector<unsigned char> buffer;
    for (const DataPart& part : parts) {
        VolumeFile file;
        if (part.volume >= volumes.size() || !file.Open(volumes[part.volume].path))
            return ERAR_EOPEN;
        if (part.size > file.Size() || part.offset > file.Size() - part.size)
            return ERAR_BAD_DATA;
        buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(part.size, kBlock)));
        for (std::uint64_t done = 0; done < part.size;) {
            const auto want =
                static_cast<std::size_t>(std::min<std::uint64_t>(part.size - done, kBlock));
            const long long got = file.ReadAt(part.offset + done, buffer.data(), want);
            if (got < 0)
                return ERAR_EREAD;
            if (static_cast<std::size_t>(got) != want)
                return ERAR_BAD_DATA;
            if (const int stop = sink(buffer.data(), want))
                return stop;
            done += want;
        }
    }
    return ERAR_SUCCESS;
}

} // namespace unrar
