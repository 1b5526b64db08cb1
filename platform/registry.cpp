#include "platform/registry.h"

#include "platform/sqlite_store.h"

#include <algorithm>

namespace platform::registry {
namespace {

std::int64_t RootId(Root root) {
    return root == Root::LocalMachine ? 1 : 2;
}

std::vector<std::string> KeyNames(std::string_view path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::optional<std::int64_t> FindKey(SqliteStore& store, Root root, std::string_view path) {
    std::int64_t id = RootId(root);
    for (const auto& name : KeyNames(path)) {
        auto child = store.ChildKey(id, name);
        if (!child)
            return std::nullopt;
        id = *child;
    }
    return id;
}

std::optional<std::int64_t> FindOrCreateKey(SqliteStore& store, Root root, std::string_view path) {
    std::int64_t id = RootId(root);
    for (const auto& name : KeyNames(path)) {
        auto child = store.ChildKey(id, name);
        if (!child)
            child = store.InsertKey(id, name);
        if (!child)
            return std::nullopt;
        id = *child;
    }
    return id;
}

bool CaseLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string_view RootName(Root root) {
    return root == Root::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CLASSES_ROOT";
}

std::optional<Root> ParseRoot(std::string_view name) {
    auto equals = [&](std::string_view other) {
        return std::equal(name.begin(), name.end(), other.begin(), other.end(), [](char a, char b) {
            return std::toupper(static_cast<unsigned char>(a)) == b;
        });
    };
    if (equals("HKLM") || equals("HKEY_LOCAL_MACHINE"))
        return Root::LocalMachine;
    if (equals("HKCR") || equals("HKEY_CLASSES_ROOT"))
        return Root::ClassesRoot;
    return std::nullopt;
}

std::string StorePath() {
    return SqliteStore::DefaultPath();
}

bool KeyExists(Root root, std::string_view path) {
    auto* store = SqliteStore::ForThisThread();
    return store && FindKey(*store, root, path).has_value();
}

bool CreateKey(Root root, std::string_view path) {
    auto* store = SqliteStore::ForThisThread();
    return store && store->InWriteTransaction(
                        [&] { return FindOrCreateKey(*store, root, path).has_value(); });
}

bool SetValue(Root root, std::string_view path, std::string_view name, std::uint32_t type,
              const std::vector<std::uint8_t>& data) {
    auto* store = SqliteStore::ForThisThread();
    return store && store->InWriteTransaction([&] {
        const auto key = FindOrCreateKey(*store, root, path);
        return key && store->PutValue(*key, name, type, data);
    });
}

std::optional<Value> QueryValue(Root root, std::string_view path, std::string_view name) {
    auto* store = SqliteStore::ForThisThread();
    if (!store)
        return std::nullopt;
    const auto key = FindKey(*store, root, path);
    return key ? store->GetValue(*key, name) : std::nullopt;
}

bool DeleteValue(Root root, std::string_view path, std::string_view name) {
    auto* store = SqliteStore::ForThisThread();
    return store && store->InWriteTransaction([&] {
        const auto key = FindKey(*store, root, path);
        return key && store->RemoveValue(*key, name);
    });
}

bool DeleteTree(Root root, std::string_view path) {
    if (KeyNames(path).empty())
        return false; // a root cannot be deleted
    auto* store = SqliteStore::ForThisThread();
    return store && store->InWriteTransaction([&] {
        const auto key = FindKey(*store, root, path);
        return key && store->RemoveKeyTree(*key);
    });
}

std::vector<Value> Values(Root root, std::string_view path) {
    auto* store = SqliteStore::ForThisThread();
    if (!store)
        return {};
    const auto key = FindKey(*store, root, path);
    auto values = key ? store->AllValues(*key) : std::vector<Value>{};
    std::sort(values.begin(), values.end(),
              [](const Value& a, const Value& b) { return CaseLess(a.name, b.name); });
    return values;
}

std::vector<std::string> SubKeys(Root root, std::string_view path) {
    auto* store = SqliteStore::ForThisThread();
    if (!store)
        return {};
    const auto key = FindKey(*store, root, path);
    auto names = key ? store->ChildNames(*key) : std::vector<std::string>{};
    std::sort(names.begin(), names.end(), CaseLess);
    return names;
}

} // namespace platform::registry
