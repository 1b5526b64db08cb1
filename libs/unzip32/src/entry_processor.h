#pragma once

#include "central_directory.h"
#include "run_context.h"
#include "zip_reader.h"

namespace unzip32 {

// How the loop goes on after one entry.
enum class AfterEntry {
    Continue,
    Reopen, // libarchive gave up on the archive inside this entry's data
    Stop,
};

// Tests or extracts one selected entry whose header the reader has just read.
AfterEntry ProcessEntry(RunContext& run, ZipReader& reader, const EntryInfo& entry,
                        const CentralRecord* record);

} // namespace unzip32
