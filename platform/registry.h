#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A registry with Windows semantics on one SQLite database per user:
// $XDG_CONFIG_HOME/tamblewick/registry.sqlite3. Key paths are relative to a root, use "\" between
// key names, and compare case-insensitively while keeping their spelling. Any thread and any
// number of processes may use it at once; every change is one transaction.
namespace platform::registry {

enum class Root { LocalMachine, ClassesRoot };

enum ValueType : std::uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
};

struct Value {
    std::string name;
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
};

std::string_view RootName(Root root);
std::optional<Root> ParseRoot(std::string_view name);

// The database file this process uses now (it follows XDG_CONFIG_HOME).
std::string StorePath();

bool KeyExists(Root root, std::string_view path);
bool CreateKey(Root root, std::string_view path);
// Creates the key when missing, then sets the value.
bool SetValue(Root root, std::string_view path, std::string_view name, std::uint32_t type,
              const std::vector<std::uint8_t>& data);
std::optional<Value> QueryValue(Root root, std::string_view path, std::string_view name);
bool DeleteValue(Root root, std::string_view path, std::string_view name);
// Deletes the key with all its subkeys and values; false when the key does not exist.
bool DeleteTree(Root root, std::string_view path);

// Sorted by name, case-insensitively; empty for a missing key.
std::vector<Value> Values(Root root, std::string_view path);
std::vector<std::string> SubKeys(Root root, std::string_view path);

} // namespace platform::registry
