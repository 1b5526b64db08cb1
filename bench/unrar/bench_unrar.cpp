// Extracts the same archives with libunrar and with bsdtar and prints the best time of several
// runs for each. Archives are stored ones made by the test writer (bound by headers and I/O)
// and, when present, the shared real archives (bound by decompression).
#include "support/fixtures.h"
#include "support/rar_writer.h"
#include "unrar.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using tw::test::RarFormat;
using tw::test::RarTestEntry;

namespace {

struct Case {
    std::string label;
    fs::path archive;        // first volume
    std::string bsdtarInput; // shell words feeding bsdtar
    std::uint64_t bytes = 0; // unpacked size
    int runs = 5;
};

double BestSeconds(int runs, const std::function<void()>& prepare,
                   const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

bool ExtractWithLibrary(const fs::path& archive, const fs::path& dest) {
    std::string name = archive.string();
    std::string folder = dest.string() + "/";
    RAROpenArchiveData open{};
    open.ArcName = name.data();
    open.OpenMode = RAR_OM_EXTRACT;
    void* handle = RAROpenArchive(&open);
    if (handle == nullptr)
        return false;
    RARHeaderData header{};
    bool ok = true;
    while (RARReadHeader(handle, &header) == ERAR_SUCCESS)
        ok = RARProcessFile(handle, RAR_EXTRACT, folder.data(), nullptr) == ERAR_SUCCESS && ok;
    RARCloseArchive(handle);
    return ok;
}

std::vector<RarTestEntry> Files(int count, std::size_t size) {
    std::vector<RarTestEntry> entries(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto& entry = entries[static_cast<std::size_t>(i)];
        entry.name = "dir" + std::to_string(i % 10) + "/file" + std::to_string(i) + ".bin";
        entry.data.assign(size, static_cast<char>('a' + i % 26));
    }
    return entries;
}

std::uint64_t Total(const std::vector<RarTestEntry>& entries) {
    std::uint64_t total = 0;
    for (const auto& entry : entries)
        total += entry.data.size();
    return total;
}

} // namespace

int main() {
    char base[] = "/tmp/bench-unrar-XXXXXX";
    if (mkdtemp(base) == nullptr)
        return 1;
    const fs::path root = base;
    std::vector<Case> cases;

    const auto big = Files(64, 1 << 20);
    tw::test::WriteFile(root / "big5.rar", tw::test::MakeRar(big, {RarFormat::Rar5}));
    cases.push_back({"RAR5 stored, 64 x 1 MiB", root / "big5.rar", root / "big5.rar", Total(big)});

    const auto many = Files(3000, 4096);
    tw::test::WriteFile(root / "many4.rar", tw::test::MakeRar(many, {RarFormat::Rar4}));
    cases.push_back(
        {"RAR4 stored, 3000 x 4 KiB", root / "many4.rar", root / "many4.rar", Total(many)});

    const auto spanning = Files(4, 16 << 20);
    const auto volumes =
        tw::test::WriteRarVolumes(root / "set", "set", spanning, 8 << 20, {RarFormat::Rar4});
    std::string catVolumes = "cat";
    for (const auto& volume : volumes)
        catVolumes += " " + volume.string();
    cases.push_back({"RAR4 stored set, " + std::to_string(volumes.size()) + " volumes",
                     volumes.front(), catVolumes + " | bsdtar -xf - -C", Total(spanning)});

    const auto shared = tw::test::SharedFixtures("rar");
    if (!shared.empty()) {
        const auto multi = shared / "read_format_rar5_multiarchive.part01.rar";
        std::string catMulti = "cat";
        for (int i = 1; i <= 8; ++i)
            catMulti += " " + (shared /
                               ("read_format_rar5_multiarchive.part0" + std::to_string(i) + ".rar"))
                                  .string();
        cases.push_back({"RAR5 compressed set (shared)", multi, catMulti + " | bsdtar -xf - -C",
                         144608 + 365672, 20});
        const auto files = shared / "read_format_rar5_multiple_files.rar";
        cases.push_back({"RAR5 compressed, 4 files (shared)", files, files.string(), 4 * 4096, 50});
    }

    std::printf("%-36s %12s %12s %12s\n", "archive", "libunrar ms", "bsdtar ms", "libunrar MB/s");
    const fs::path dest = root / "out";
    const auto fresh = [&] {
        fs::remove_all(dest);
        fs::create_directories(dest);
    };
    for (const auto& c : cases) {
        bool ok = true;
        const double ours =
            BestSeconds(c.runs, fresh, [&] { ok = ExtractWithLibrary(c.archive, dest) && ok; });
        const bool piped = c.bsdtarInput.find('|') != std::string::npos;
        const std::string command = piped ? c.bsdtarInput + " " + dest.string()
                                          : "bsdtar -xf " + c.bsdtarInput + " -C " + dest.string();
        const double theirs = BestSeconds(c.runs, fresh, [&] {
            if (std::system(command.c_str()) != 0)
                std::fprintf(stderr, "bsdtar failed: %s\n", command.c_str());
        });
        std::printf("%-36s %12.1f %12.1f %12.1f%s\n", c.label.c_str(), ours * 1000, theirs * 1000,
                    static_cast<double>(c.bytes) / ours / 1e6, ok ? "" : "  (errors)");
    }
    fs::remove_all(root);
    return 0;
}
