#include "unzip32.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int Print(char*, std::uint32_t length) {
    return static_cast<int>(length);
}

int Password(char* buffer, int size, const char*, const char*) {
    std::snprintf(buffer, static_cast<std::size_t>(size), "%s", "password");
    return UZ_PW_ENTERED;
}

const fs::path& Folder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "fuzz-unzip32-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return fs::path(pattern);
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path archive = Folder() / "input.zip";
    const fs::path destination = Folder() / "out";
    if (std::FILE* file = std::fopen(archive.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    std::string archivePath = archive.string();
    std::string destinationPath = destination.string();
    for (int mode = 0; mode < 3; ++mode) {
        fs::remove_all(destination);
        fs::create_directories(destination);
        UZOPTIONS options{};
        options.list = mode != 2;
        options.test = mode == 1;
        options.recreateFolders = 1;
        options.alwaysOverwrite = 1;
        options.archivePath = archivePath.data();
        options.destination = destinationPath.data();
        USERFUNCTIONS functions{};
        functions.print = &Print;
        functions.password = &Password;
        const int result = Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions);
        if (result < 0)
            std::abort();
    }
    // Whatever the input, nothing may appear beside the archive and the destination.
    for (const auto& item : fs::directory_iterator(Folder()))
        if (item.path() != archive && item.path() != destination)
            std::abort();
    return 0;
}
