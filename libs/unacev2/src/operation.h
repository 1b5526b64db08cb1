#pragma once

#include "unacev2.h"

#include <cstdint>
#include <string>

namespace unacev2 {

// What ACEInitDll keeps for the operations.
struct LibrarySettings {
    std::uint64_t headerSearchSize = 512 * 1024;
    AceCallbackRoutine info = nullptr;
    AceCallbackRoutine error = nullptr;
    AceCallbackRoutine request = nullptr;
    AceCallbackRoutine state = nullptr;
};

enum class OperationKind { List, Test, Extract };

struct OperationRequest {
    OperationKind kind = OperationKind::List;
    std::string archive;
    const AceFileSelection* files = nullptr;
    const char* destination = nullptr;
    bool leaveOutPaths = false;
    const char* password = nullptr;
};

// Runs one whole-archive operation with its callbacks; returns an ACE_RESULT_... code.
std::int32_t RunOperation(const LibrarySettings& settings, const OperationRequest& request);

// Fills info from the archive's main header; an ACE_RESULT_... code.
std::int32_t ReadArchiveInfo(const LibrarySettings& settings, const std::string& archive,
                             AceArchiveInfo& info);

} // namespace unacev2
