#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace platform::registry {

// The SQLite side of the registry: one connection per thread, opened on first use.
class SqliteStore {
public:
    static std::string DefaultPath();
    // The connection of the calling thread for DefaultPath(), or null when the store cannot be
    // opened; a store file that is not a sound database is moved aside and started afresh.
    static SqliteStore* ForThisThread();

    explicit SqliteStore(sqlite3* db) : db_(db) {}
    ~SqliteStore();
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    // Runs `work` in one write transaction; commits when it returns true, else rolls back.
    bool InWriteTransaction(const std::function<bool()>& work);

    std::optional<std::int64_t> ChildKey(std::int64_t parent, std::string_view name);
    std::optional<std::int64_t> InsertKey(std::int64_t parent, std::string_view name);
    std::vector<std::string> ChildNames(std::int64_t key);
    bool RemoveKeyTree(std::int64_t key);

    std::optional<Value> GetValue(std::int64_t key, std::string_view name);
    std::vector<Value> AllValues(std::int64_t key);
    bool PutValue(std::int64_t key, std::string_view name, std::uint32_t type,
                  const std::vector<std::uint8_t>& data);
    bool RemoveValue(std::int64_t key, std::string_view name);

private:
    bool Exec(const char* sql);

    sqlite3* db_;
};

} // namespace platform::registry
