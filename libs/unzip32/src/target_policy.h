#pragma once

#include "options.h"
#include "twlib/destination_folder.h"

#include <ctime>
#include <string>

namespace unzip32 {

// What to do with an entry whose output path may already exist.
enum class TargetDecision { Write, Replace, KeepExisting, KeepNewer, SkipQuietly };

TargetDecision DecideTarget(const RunOptions& options, const twlib::DestinationFolder& destination,
                            const std::string& outputPath, std::time_t entryModified,
                            USERFUNCTIONS* functions, const std::string& entryName);

} // namespace unzip32
