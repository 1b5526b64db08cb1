// Usage: bench_unzip32 [work folder]. Writes two archives (1,000 small files; two 100 MB files),
// extracts each through the library and with `bsdtar -xf`, and prints the times and their ratio.
#include "support/zip_fixtures.h"
#include "unzip32.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 3;

int Quiet(char*, std::uint32_t length) {
    return static_cast<int>(length);
}

// Text that compresses like ordinary documents rather than like zeros.
std::string Filler(std::size_t size, unsigned seed) {
    std::string text;
    text.reserve(size);
    unsigned state = seed;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += "word" + std::to_string((state >> 16) % 5000) + ' ';
    }
    text.resize(size);
    return text;
}

double BestSeconds(const std::function<void()>& prepare, const std::function<void()>& run) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        prepare();
        const auto start = Clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void Compare(const char* label, const fs::path& archive, const fs::path& work) {
    const fs::path destination = work / "out";
    const auto fresh = [&] {
        fs::remove_all(destination);
        fs::create_directories(destination);
    };
    std::string archivePath = archive.string();
    std::string destinationPath = destination.string();
    const double library = BestSeconds(fresh, [&] {
        UZOPTIONS options{};
        options.recreateFolders = 1;
        options.archivePath = archivePath.data();
        options.destination = destinationPath.data();
        USERFUNCTIONS functions{};
        functions.print = &Quiet;
        if (const int result = Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions))
            std::fprintf(stderr, "library result %d\n", result);
    });
    const std::string command = "bsdtar -xf '" + archivePath + "' -C '" + destinationPath + "'";
    const double bsdtar = BestSeconds(fresh, [&] {
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "bsdtar failed\n");
    });
    std::printf("%-24s libunzip32 %8.3f s   bsdtar %8.3f s   ratio %.2f\n", label, library, bsdtar,
                library / bsdtar);
    fs::remove_all(destination);
}

} // namespace

int main(int argc, char** argv) {
    const fs::path work =
        (argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path()) / "bench-unzip32";
    fs::remove_all(work);
    fs::create_directories(work);

    std::vector<tw::test::ZipEntry> many;
    for (int i = 0; i < 1000; ++i)
        many.push_back({"files/" + std::to_string(i / 100) + "/f" + std::to_string(i) + ".txt",
                        Filler(8 * 1024, static_cast<unsigned>(i))});
    tw::test::WriteZip(work / "many.zip", many);
    many.clear();

    std::vector<tw::test::ZipEntry> big;
    big.push_back({"big1.txt", Filler(100u << 20, 1)});
    big.push_back({"big2.txt", Filler(100u << 20, 2)});
    tw::test::WriteZip(work / "big.zip", big);
    big.clear();

    Compare("1,000 files of 8 KiB", work / "many.zip", work);
    Compare("2 files of 100 MiB", work / "big.zip", work);
    fs::remove_all(work);
    return 0;
}
