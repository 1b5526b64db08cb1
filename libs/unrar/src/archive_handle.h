#pragma once

#include "entry_decoder.h"
#include "entry_processor.h"
#include "header_walker.h"
#include "unrar.h"

#include <optional>

namespace unrar {

// What a handle of the C interface holds: the volume chain, the walk through its headers, the
// entry read last, and the decoding and writing of entries.
class ArchiveHandle {
public:
    explicit ArchiveHandle(unsigned openMode)
        : openMode_(openMode), walker_(chain_), decoder_(chain_), processor_(decoder_) {}

    int Open(const std::string& path) { return chain_.OpenFirst(path); }
    const std::string& FirstVolume() const { return chain_.Volumes().front().path; }
    int ReadHeader(RARHeaderData& record);
    int ProcessFile(int operation, const char* destFolder, const char* destName);

    void SetVolumeCallback(CHANGEVOLPROC callback) { chain_.SetCallback(callback); }
    void SetDataCallback(PROCESSDATAPROC callback) { processor_.SetDataCallback(callback); }
    void SetPassword(const char* password) {
        decoder_.SetPassword(password ? std::optional<std::string>(password) : std::nullopt);
    }

private:
    bool ListsOnly() const { return openMode_ != RAR_OM_EXTRACT; }

    unsigned openMode_;
    VolumeChain chain_;
    HeaderWalker walker_;
    EntryDecoder decoder_;
    EntryProcessor processor_;
    std::optional<WalkedEntry> current_;
};

} // namespace unrar
