#pragma once

#include "entry_decoder.h"
#include "unrar.h"

#include <memory>
#include <twlib/destination_folder.h>

namespace unrar {

// Test and extraction of one entry: where it goes, what may be written, and in which order, so
// that a refused or damaged entry leaves nothing behind.
class EntryProcessor {
public:
    explicit EntryProcessor(EntryDecoder& decoder) : decoder_(decoder) {}
    void SetDataCallback(PROCESSDATAPROC callback) { dataCallback_ = callback; }

    int Test(const WalkedEntry& entry);
    // destFolder may be null (the current folder); destName, when given, is the file's path.
    int Extract(const WalkedEntry& entry, const char* destFolder, const char* destName);

private:
    int Forward(const void* data, std::size_t size) const;
    // The destination folder of the previous entry is kept open while entries go to the same one.
    twlib::DestinationFolder& DestinationFor(const std::string& folder);

    EntryDecoder& decoder_;
    PROCESSDATAPROC dataCallback_ = nullptr;
    std::string destinationPath_;
    std::unique_ptr<twlib::DestinationFolder> destination_;
};

} // namespace unrar
