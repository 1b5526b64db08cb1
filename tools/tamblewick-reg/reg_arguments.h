#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A parsed command line of tamblewick-reg, in the style of the Windows reg command.
struct RegArguments {
    enum class Operation { Query, Add, Delete, Help };
    Operation operation = Operation::Help;
    platform::registry::Root root = platform::registry::Root::LocalMachine;
    std::string keyPath;    // below the root, "\" between names
    std::string displayKey; // the root's full name and the path, for messages
    std::optional<std::string> valueName;
    std::uint32_t type = platform::registry::REG_SZ;
    std::optional<std::string> data;
    bool force = false;
};

// Either the arguments or the reason they make no sense.
struct RegParseResult {
    std::optional<RegArguments> arguments;
    std::string error;
};

RegParseResult ParseRegArguments(const std::vector<std::string>& args);
