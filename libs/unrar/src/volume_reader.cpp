#include "volume_reader.h"

#include "rar4_format.h"
#include "rar5_format.h"
#include "signature_search.h"
#include "unrar.h"

namespace unrar {

int VolumeReader::ReadMain(std::uint64_t offset, int generation) {
    info_ = ArchiveInfo{};
    return generation == 4 ? ReadRar4Main(file_, offset, info_)
                           : ReadRar5Main(file_, offset, info_);
}

int VolumeReader::Open(const std::string& path) {
    if (!file_.Open(path))
        return ERAR_EOPEN;
    bool unknownVersion = false;
    bool brokenAtStart = false;
    std::uint64_t from = 0;
    while (auto signature = FindSignature(file_, from)) {
        from = signature->offset + 1;
        if (signature->generation == 0) {
            unknownVersion = true;
            continue;
        }
        const int result = ReadMain(signature->offset + signature->size, signature->generation);
        if (result == ERAR_EREAD)
            return result;
        if (result == ERAR_SUCCESS) {
            if (info_.encryptedHeaders)
                return ERAR_MISSING_PASSWORD;
            start_ = signature->offset;
            cursor_ = info_.firstBlock;
            return ERAR_SUCCESS;
        }
        brokenAtStart = brokenAtStart || signature->offset == 0;
    }
    if (brokenAtStart)
        return ERAR_BAD_DATA;
    if (unknownVersion || HasRar14Signature(file_))
        return ERAR_UNKNOWN_FORMAT;
    return ERAR_BAD_ARCHIVE;
}

int VolumeReader::Next(HeaderBlock& block) {
    if (ended_)
        return ERAR_END_ARCHIVE;
    const int result = info_.generation == 4 ? ReadRar4Block(file_, cursor_, block)
                                             : ReadRar5Block(file_, cursor_, block);
    if (result == ERAR_END_ARCHIVE) {
        ended_ = true;
        nextVolume_ = info_.volume && lastSplitAfter_;
        return result;
    }
    if (result != ERAR_SUCCESS)
        return result;
    cursor_ = block.next;
    if (block.kind == BlockKind::End) {
        ended_ = true;
        nextVolume_ = block.nextVolume;
        return ERAR_END_ARCHIVE;
    }
    if (block.kind == BlockKind::File)
        lastSplitAfter_ = block.entry.splitAfter;
    return ERAR_SUCCESS;
}

} // namespace unrar
