#include "support/fixtures.h"
#include "support/rar_writer.h"
#include "support/temp_home.h"
#include "unrar_client.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using tw::test::MakeRar;
using tw::test::RarFormat;
using tw::test::RarTestEntry;
using tw::test::RarTestOptions;
using tw::test::RunArchive;
using tw::test::RunOptions;

fs::path Write(const std::string& name, const std::string& bytes) {
    const auto path = tw::test::CurrentHome().work / name;
    tw::test::WriteFile(path, bytes);
    return path;
}

RarTestEntry File(const std::string& name, const std::string& data) {
    RarTestEntry entry;
    entry.name = name;
    entry.data = data;
    return entry;
}

fs::path Destination() {
    const auto dest = tw::test::CurrentHome().root / "out";
    fs::create_directories(dest);
    return dest;
}

std::vector<std::string> Tree(const fs::path& root) {
    std::vector<std::string> paths;
    for (const auto& item : fs::recursive_directory_iterator(root))
        paths.push_back(item.path().lexically_relative(root).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

class UnrarExtract : public testing::TestWithParam<RarFormat> {
protected:
    RarTestOptions Options() const { return {GetParam()}; }
};

TEST_P(UnrarExtract, WritesFilesAndFoldersWithTheirTimes) {
    std::vector<RarTestEntry> entries = {File("top.txt", "top"),
                                         File("deep/er/inner.bin", std::string(300000, '\7'))};
    entries.emplace_back();
    entries.back().name = "empty dir";
    entries.back().folder = true;
    entries[0].mtime = 1500000000;
    const auto dest = Destination();
    const auto result = RunArchive(Write("x.rar", MakeRar(entries, Options())),
                                   {RAR_OM_EXTRACT, RAR_EXTRACT, dest});
    ASSERT_EQ(result.entries.size(), 3u);
    for (const auto& entry : result.entries)
        EXPECT_EQ(entry.processResult, 0) << entry.name;
    EXPECT_EQ(tw::test::ReadFile(dest / "top.txt"), "top");
    EXPECT_EQ(tw::test::ReadFile(dest / "deep/er/inner.bin"), entries[1].data);
    EXPECT_TRUE(fs::is_directory(dest / "empty dir"));
    struct stat info {};
    ASSERT_EQ(stat((dest / "top.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1500000000);
}

TEST_P(UnrarExtract, ReplacesAnExistingFile) {
    const auto dest = Destination();
    tw::test::WriteFile(dest / "a.txt", "old contents");
    const auto result = RunArchive(Write("r.rar", MakeRar({File("a.txt", "new")}, Options())),
                                   {RAR_OM_EXTRACT, RAR_EXTRACT, dest});
    ASSERT_EQ(result.entries.size(), 1u);
    EXPECT_EQ(result.entries[0].processResult, 0);
    EXPECT_EQ(tw::test::ReadFile(dest / "a.txt"), "new");
}

TEST_P(UnrarExtract, ChecksTheCrcAndKeepsNothingOfADamagedEntry) {
    auto bad = File("bad.txt", "these bytes do not match");
    bad.wrongCrc = true;
    const auto archive = Write("c.rar", MakeRar({bad, File("good.txt", "fine")}, Options()));
    const auto dest = Destination();
    for (const int operation : {RAR_TEST, RAR_EXTRACT}) {
        SCOPED_TRACE(operation);
        const auto result = RunArchive(archive, {RAR_OM_EXTRACT, operation, dest});
        ASSERT_EQ(result.entries.size(), 2u);
        EXPECT_EQ(result.entries[0].processResult, ERAR_BAD_DATA);
        EXPECT_EQ(result.entries[1].processResult, 0);
    }
    EXPECT_EQ(Tree(dest), std::vector<std::string>{"good.txt"});
    // Listing handles read no data, so nothing is checked there.
    const auto listed = RunArchive(archive, {RAR_OM_LIST, RAR_TEST});
    EXPECT_EQ(listed.entries[0].processResult, 0);
}

TEST_P(UnrarExtract, HandsEveryDataBlockToTheCallback) {
    const std::string big(200000, 'q');
    const auto archive = Write("d.rar", MakeRar({File("a", "first,"), File("b", big)}, Options()));
    RunOptions options{RAR_OM_EXTRACT, RAR_TEST};
    options.dataCallback = true;
    const auto tested = RunArchive(archive, options);
    EXPECT_EQ(tested.data, "first," + big);
    options.stopData = true;
    const auto stopped = RunArchive(archive, options);
    ASSERT_EQ(stopped.entries.size(), 2u);
    EXPECT_EQ(stopped.entries[0].processResult, ERAR_UNKNOWN);
}

TEST_P(UnrarExtract, RefusesEncryptedEntriesWithoutWritingAnything) {
    auto secret = File("sub/secret.txt", "not really secret");
    secret.encrypted = true;
    const auto archive = Write("e.rar", MakeRar({secret, File("open.txt", "open")}, Options()));
    const auto dest = Destination();
    RunOptions options{RAR_OM_EXTRACT, RAR_EXTRACT, dest};
    const auto withoutPassword = RunArchive(archive, options);
    ASSERT_EQ(withoutPassword.entries.size(), 2u);
    EXPECT_EQ(withoutPassword.entries[0].processResult, ERAR_MISSING_PASSWORD);
    options.password = "guess";
    for (const int operation : {RAR_TEST, RAR_EXTRACT}) {
        options.operation = operation;
        const auto withPassword = RunArchive(archive, options);
        ASSERT_EQ(withPassword.entries.size(), 2u);
        EXPECT_EQ(withPassword.entries[0].processResult, ERAR_BAD_PASSWORD);
        EXPECT_EQ(withPassword.entries[1].processResult, 0);
    }
    EXPECT_EQ(Tree(dest), std::vector<std::string>{"open.txt"});
}

TEST_P(UnrarExtract, RefusesEntriesThatWouldLeaveTheDestination) {
    std::vector<RarTestEntry> entries = {File("../escape.txt", "x"), File("/abs/olute.txt", "x"),
                                         File("C:/drive.txt", "x"), File("a/../../up.txt", "x")};
    auto outLink = File("link-out", "");
    outLink.linkTarget = "../../outside";
    auto absoluteLink = File("link-abs", "");
    absoluteLink.linkTarget = "/etc/passwd";
    auto inLink = File("dir/link-in", "");
    inLink.linkTarget = "../safe.txt";
    entries.insert(entries.end(), {outLink, absoluteLink, File("safe.txt", "safe"), inLink});
    const auto dest = Destination() / "inner";
    fs::create_directories(dest);
    const auto result = RunArchive(Write("h.rar", MakeRar(entries, Options())),
                                   {RAR_OM_EXTRACT, RAR_EXTRACT, dest});
    ASSERT_EQ(result.entries.size(), entries.size());
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(result.entries[i].processResult, ERAR_ECREATE) << result.entries[i].name;
    EXPECT_EQ(result.entries[6].processResult, 0);
    EXPECT_EQ(result.entries[7].processResult, 0);
    EXPECT_EQ(
        Tree(dest.parent_path()),
        (std::vector<std::string>{"inner", "inner/dir", "inner/dir/link-in", "inner/safe.txt"}));
    EXPECT_EQ(fs::read_symlink(dest / "dir/link-in"), "../safe.txt");
}

TEST_P(UnrarExtract, WritesToTheGivenNameWhenAsked) {
    const auto archive = Write("n.rar", MakeRar({File("inside/name.txt", "data")}, Options()));
    std::string name = archive.string();
    RAROpenArchiveData open{};
    open.ArcName = name.data();
    open.OpenMode = RAR_OM_EXTRACT;
    void* handle = RAROpenArchive(&open);
    ASSERT_NE(handle, nullptr);
    RARHeaderData header{};
    ASSERT_EQ(RARReadHeader(handle, &header), 0);
    std::string target = (Destination() / "renamed.txt").string();
    EXPECT_EQ(RARProcessFile(handle, RAR_EXTRACT, nullptr, target.data()), 0);
    EXPECT_EQ(RARProcessFile(handle, RAR_EXTRACT, nullptr, target.data()), ERAR_UNKNOWN);
    EXPECT_EQ(RARReadHeader(handle, &header), ERAR_END_ARCHIVE);
    EXPECT_EQ(RARCloseArchive(handle), 0);
    EXPECT_EQ(tw::test::ReadFile(target), "data");
}

INSTANTIATE_TEST_SUITE_P(Formats, UnrarExtract, testing::Values(RarFormat::Rar4, RarFormat::Rar5),
                         tw::test::RarFormatName);

} // namespace
