#include "support/fixtures.h"
#include "support/temp_home.h"
#include "unrar_client.h"

#include <QCryptographicHash>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using tw::test::RunArchive;

// MANIFEST.txt: "[archive]" sections of "md5 size path", "- dir path" (a folder, or a link the
// reference extraction followed), "ERROR path: reason" and "warn: ..." lines.
struct Reference {
    std::map<std::string, std::string> files; // path -> md5
    std::vector<std::string> folders;
    std::vector<std::string> failing;
};

std::map<std::string, Reference> ReadManifest(const fs::path& file) {
    std::map<std::string, Reference> manifest;
    std::ifstream in(file);
    std::string line;
    Reference* current = nullptr;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            current = &manifest[line.substr(1, line.find(']') - 1)];
            continue;
        }
        if (current == nullptr || line.rfind("warn:", 0) == 0)
            continue;
        std::istringstream fields(line);
        std::string first, second;
        fields >> first;
        if (first == "ERROR") {
            fields >> second;
            current->failing.push_back(second.substr(0, second.size() - 1));
            continue;
        }
        fields >> second;
        std::string path;
        std::getline(fields >> std::ws, path);
        if (second == "dir")
            current->folders.push_back(path);
        else
            current->files[path] = first;
    }
    return manifest;
}

std::string Md5(const fs::path& file) {
    const std::string bytes = tw::test::ReadFile(file);
    return QCryptographicHash::hash(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Md5)
        .toHex()
        .toStdString();
}

TEST(UnrarRealArchives, ExtractAsTheReferenceSays) {
    TW_REQUIRE_SHARED_FIXTURES(fixtures, "rar");
    const auto manifest = ReadManifest(fixtures / "MANIFEST.txt");
    ASSERT_FALSE(manifest.empty());
    int index = 0;
    for (const auto& [archive, reference] : manifest) {
        SCOPED_TRACE(archive);
        const fs::path dest = tw::test::CurrentHome().root / ("out" + std::to_string(index++));
        fs::create_directories(dest);
        const auto result = RunArchive(fixtures / archive, {RAR_OM_EXTRACT, RAR_EXTRACT, dest});
        if (reference.files.empty() && reference.folders.empty() && reference.failing.empty()) {
            // Only a warning: the headers themselves are encrypted.
            EXPECT_EQ(result.openResult, unsigned{ERAR_MISSING_PASSWORD});
            continue;
        }
        ASSERT_EQ(result.openResult, 0u);
        std::size_t expectedEntries =
            reference.files.size() + reference.folders.size() + reference.failing.size();
        EXPECT_EQ(result.entries.size(), expectedEntries);
        for (const auto& entry : result.entries) {
            const bool failing = std::find(reference.failing.begin(), reference.failing.end(),
                                           entry.name) != reference.failing.end();
            if (!failing) {
                EXPECT_EQ(entry.processResult, 0) << entry.name;
                continue;
            }
            const int expected =
                (entry.flags & RHDF_ENCRYPTED) ? ERAR_MISSING_PASSWORD : ERAR_BAD_DATA;
            EXPECT_EQ(entry.processResult, expected) << entry.name;
            EXPECT_FALSE(fs::exists(fs::symlink_status(dest / entry.name))) << entry.name;
        }
        for (const auto& [path, md5] : reference.files)
            EXPECT_EQ(Md5(dest / path), md5) << path;
        for (const auto& path : reference.folders) {
            const auto status = fs::symlink_status(dest / path);
            EXPECT_TRUE(fs::is_directory(status) || fs::is_symlink(status)) << path;
        }
    }
}

TEST(UnrarRealArchives, ListAVolumeSetByItsFirstVolume) {
    TW_REQUIRE_SHARED_FIXTURES(fixtures, "rar");
    const auto result =
        RunArchive(fixtures / "read_format_rar5_multiarchive.part01.rar", {RAR_OM_LIST});
    ASSERT_EQ(result.openResult, 0u);
    EXPECT_EQ(result.endResult, ERAR_END_ARCHIVE);
    EXPECT_EQ(result.entries.size(), 2u);
    ASSERT_EQ(result.volumeCalls.size(), 7u);
    EXPECT_EQ(result.volumeCalls.back().name,
              (fixtures / "read_format_rar5_multiarchive.part08.rar").string());
}

} // namespace
