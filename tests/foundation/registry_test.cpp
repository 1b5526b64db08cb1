#include "platform/registry.h"
#include "platform/sqlite_store.h"
#include "support/fixtures.h"
#include "support/temp_home.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace registry = platform::registry;
using registry::Root;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

mode_t PermissionsOf(const std::filesystem::path& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(Registry, NamesCompareCaseInsensitivelyAndKeepTheirSpelling) {
    ASSERT_TRUE(registry::SetValue(Root::LocalMachine, "Software\\Tamblewick", "Last View",
                                   registry::REG_DWORD, {3, 0, 0, 0}));
    const auto value =
        registry::QueryValue(Root::LocalMachine, "SOFTWARE\\tamblewick", "LAST VIEW");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->name, "Last View");
    EXPECT_EQ(value->type, registry::REG_DWORD);
    EXPECT_EQ(value->data, (std::vector<std::uint8_t>{3, 0, 0, 0}));

    ASSERT_TRUE(registry::SetValue(Root::LocalMachine, "software\\TAMBLEWICK", "last view",
                                   registry::REG_SZ, Bytes(std::string("x\0", 2))));
    const auto values = registry::Values(Root::LocalMachine, "Software\\Tamblewick");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "Last View");
    EXPECT_EQ(values[0].type, registry::REG_SZ);
    EXPECT_EQ(values[0].data.size(), 2u);
    EXPECT_EQ(registry::SubKeys(Root::LocalMachine, "software"),
              std::vector<std::string>{"Tamblewick"});
}

TEST(Registry, RootsAreSeparateAndDataIsKeptByteForByte) {
    const std::vector<std::uint8_t> binary = {0, 1, 2, 255, 0};
    ASSERT_TRUE(registry::SetValue(Root::ClassesRoot, ".zip", "", registry::REG_BINARY, binary));
    ASSERT_TRUE(registry::SetValue(Root::ClassesRoot, ".zip", "Empty", registry::REG_SZ, {}));
    EXPECT_FALSE(registry::KeyExists(Root::LocalMachine, ".zip"));
    EXPECT_EQ(registry::QueryValue(Root::ClassesRoot, ".zip", "")->data, binary);
    EXPECT_TRUE(registry::QueryValue(Root::ClassesRoot, ".zip", "empty")->data.empty());
}

TEST(Registry, DeletionsReportWhetherSomethingWasThere) {
    ASSERT_TRUE(
        registry::SetValue(Root::LocalMachine, "A\\B\\C", "v", registry::REG_DWORD, {1, 0, 0, 0}));
    ASSERT_TRUE(
        registry::SetValue(Root::LocalMachine, "A\\B2", "w", registry::REG_DWORD, {1, 0, 0, 0}));
    EXPECT_FALSE(registry::DeleteValue(Root::LocalMachine, "A\\B\\C", "missing"));
    EXPECT_FALSE(registry::DeleteValue(Root::LocalMachine, "A\\Missing", "v"));
    EXPECT_FALSE(registry::DeleteTree(Root::LocalMachine, "A\\Missing"));
    EXPECT_FALSE(registry::DeleteTree(Root::LocalMachine, ""));
    EXPECT_TRUE(registry::DeleteTree(Root::LocalMachine, "a\\b"));
    EXPECT_FALSE(registry::KeyExists(Root::LocalMachine, "A\\B\\C"));
    EXPECT_FALSE(registry::KeyExists(Root::LocalMachine, "A\\B"));
    EXPECT_TRUE(registry::QueryValue(Root::LocalMachine, "A\\B2", "w"));
    EXPECT_TRUE(registry::DeleteValue(Root::LocalMachine, "A\\B2", "W"));
    EXPECT_FALSE(registry::QueryValue(Root::LocalMachine, "A\\B2", "w"));
}

TEST(Registry, StoreIsCreatedForTheUserOnlyUnderXdgConfigHome) {
    ASSERT_TRUE(registry::CreateKey(Root::LocalMachine, "Software\\Tamblewick"));
    const auto file = tw::test::CurrentHome().config / "tamblewick" / "registry.sqlite3";
    EXPECT_EQ(registry::StorePath(), file.string());
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(PermissionsOf(file), 0600u);
    EXPECT_EQ(PermissionsOf(file.parent_path()), 0700u);
}

TEST(Registry, ADamagedStoreIsMovedAsideAndReplaced) {
    const auto folder = tw::test::CurrentHome().config / "tamblewick";
    std::filesystem::create_directories(folder);
    const std::string garbage(8192, 'x');
    std::ofstream(folder / "registry.sqlite3", std::ios::binary) << garbage;

    testing::internal::CaptureStderr();
    EXPECT_TRUE(registry::CreateKey(Root::LocalMachine, "Software\\Tamblewick"));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("damaged"), std::string::npos) << message;

    int asideFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("registry.sqlite3.damaged-", 0) == 0) {
            ++asideFiles;
            EXPECT_EQ(tw::test::ReadFile(entry.path()), garbage);
        }
    }
    EXPECT_EQ(asideFiles, 1);
    EXPECT_TRUE(registry::KeyExists(Root::LocalMachine, "Software\\Tamblewick"));
}

TEST(Registry, AProcessKilledInsideAWriteLeavesTheStoreAsItWas) {
    ASSERT_TRUE(
        registry::SetValue(Root::LocalMachine, "K", "kept", registry::REG_DWORD, {7, 0, 0, 0}));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A connection must not cross fork(): the child writes from a thread of its own.
        std::thread([] {
            auto* store = registry::SqliteStore::ForThisThread();
            store->InWriteTransaction([&] {
                store->PutValue(1, "half", registry::REG_DWORD, {1, 0, 0, 0});
                _exit(0); // dies with the transaction open
                return true;
            });
        }).join();
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_FALSE(registry::QueryValue(Root::LocalMachine, "", "half"));
    EXPECT_EQ(registry::QueryValue(Root::LocalMachine, "K", "kept")->data[0], 7);
    EXPECT_TRUE(
        registry::SetValue(Root::LocalMachine, "K", "after", registry::REG_DWORD, {2, 0, 0, 0}));
}

TEST(Registry, ThreadsWritingAtOnceLoseNothing) {
    constexpr int kThreads = 4;
    constexpr int kValues = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kValues; ++i)
                registry::SetValue(Root::LocalMachine, "Shared",
                                   "t" + std::to_string(t) + "-" + std::to_string(i),
                                   registry::REG_DWORD, {1, 0, 0, 0});
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(registry::Values(Root::LocalMachine, "Shared").size(),
              static_cast<std::size_t>(kThreads * kValues));
}

} // namespace
