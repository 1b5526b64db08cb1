#pragma once

#include "support/rar_writer.h"
#include "unrar.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tw::test {

// What a run of the library over one archive gave: the open result, every header with the
// result of processing it, the end result and every volume callback.
struct ListedEntry {
    std::string volume;
    std::string name;
    unsigned flags = 0;
    unsigned packSize = 0;
    unsigned unpSize = 0;
    unsigned hostOs = 0;
    unsigned crc = 0;
    unsigned fileTime = 0;
    unsigned attributes = 0;
    int processResult = -1;
};

struct VolumeCall {
    std::string name;
    int mode = 0;
    bool operator==(const VolumeCall&) const = default;
};

inline void PrintTo(const VolumeCall& call, std::ostream* out) {
    *out << call.name << " (mode " << call.mode << ")";
}

struct RunResult {
    unsigned openResult = 0;
    std::vector<ListedEntry> entries;
    int endResult = 0;
    std::vector<VolumeCall> volumeCalls;
    std::string data; // what the data callback received
};

struct RunOptions {
    unsigned openMode = RAR_OM_EXTRACT;
    int operation = RAR_SKIP;
    std::optional<std::filesystem::path> destination;
    std::optional<std::string> password;
    bool dataCallback = false;
    bool stopData = false; // the data callback answers 0
    // Answers to RAR_VOL_ASK in turn (then 0); a path given is put into the name buffer.
    std::vector<std::pair<int, std::string>> askAnswers;
};

// Names the format in parameterised test names.
std::string RarFormatName(const testing::TestParamInfo<RarFormat>& info);

RunResult RunArchive(const std::filesystem::path& archive, const RunOptions& options = {});

std::vector<std::string> Names(const RunResult& result);

} // namespace tw::test
